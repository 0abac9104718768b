// celvane-magtables: the committed engine/magnetic_tables.cpp is exactly what
// the tool makes from catalogs/magnetic/, and damaged inputs are refused with
// a message, leaving the old output alone.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_run.h"

using namespace tooltest;

namespace {

const std::string kCatalog = kSource + "/catalogs/magnetic/";
const std::string kWork = kBinary + "/magtables_test/";

// Runs the tool; returns its exit code and leaves its error output in *err.
int RunTool(const std::string& output, const std::vector<std::string>& inputs, std::string* err = nullptr) {
    std::string cmd = "'" + std::string(CELVANE_MAGTABLES) + "' '" + output + "'";
    for (const std::string& in : inputs) cmd += " '" + in + "'";
    const RunResult r = Run(cmd + " 2>&1");
    if (err) *err = r.out;
    return r.status;
}

const std::vector<std::string> kShipped = {kCatalog + "WMM2010.COF", kCatalog + "WMM2015v2.COF",
                                           kCatalog + "WMM2020.COF", kCatalog + "WMM2025.COF"};

class MagTablesTool : public ::testing::Test {
protected:
    void SetUp() override { std::system(("mkdir -p '" + kWork + "'").c_str()); }
};

TEST_F(MagTablesTool, RegeneratesTheCommittedTableByteForByte) {
    const std::string out = kWork + "magnetic_tables.cpp";
    std::remove(out.c_str());
    ASSERT_EQ(RunTool(out, kShipped), 0);
    const std::string made = ReadAll(out);
    const std::string committed = ReadAll(kSource + "/engine/magnetic_tables.cpp");
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(made == committed) << "re-run tools/magtables.cpp (catalogs/magnetic/README.md)";
    // The published first values survive the normalisation (factor 1 for n = 1).
    EXPECT_NE(made.find("{-29496.6f, 0.0f, 11.6f, 0.0f},  // 1 0"), std::string::npos);
    EXPECT_NE(made.find("{-1586.3f, 4944.4f, 16.5f, -25.9f},  // 1 1"), std::string::npos);
}

TEST_F(MagTablesTool, DamagedInputsAreRefusedAndTheOutputKept) {
    const std::string cof = ReadAll(kCatalog + "WMM2020.COF");
    ASSERT_FALSE(cof.empty());
    const std::string row22 = "  2  2  ";
    size_t at = cof.find(row22);
    ASSERT_NE(at, std::string::npos);
    size_t eol = cof.find('\n', at);
    const std::string rowText = cof.substr(at, eol + 1 - at);

    std::string noEnd = cof.substr(0, cof.find("9999"));
    std::string badOrder = cof;
    badOrder.replace(at, 8, "  2  3  ");  // m > n
    struct Case {
        const char* what;
        std::string text;
        const char* message;
    } const cases[] = {
        {"row missing", cof.substr(0, at) + cof.substr(eol + 1), "89 terms, expected 90"},
        {"row twice", cof.substr(0, eol + 1) + rowText + cof.substr(eol + 1), "given twice"},
        {"order above degree", badOrder, "out of range"},
        {"no end line", noEnd, "missing end line"},
        {"binary", std::string("\x01\x02\xff\xfe\x00zz", 7), "expected epoch"},
    };
    const std::string out = kWork + "kept.cpp";
    const std::string bad = kWork + "bad.COF";
    for (const Case& c : cases) {
        WriteAll(out, "previous contents");
        WriteAll(bad, c.text);
        std::string err;
        EXPECT_EQ(RunTool(out, {kCatalog + "WMM2010.COF", bad}, &err), 1) << c.what;
        EXPECT_NE(err.find(c.message), std::string::npos) << c.what << ": " << err;
        EXPECT_EQ(ReadAll(out), "previous contents") << c.what;
    }

    // A missing file, and epochs out of order.
    WriteAll(out, "previous contents");
    std::string err;
    EXPECT_EQ(RunTool(out, {kWork + "no-such.COF"}, &err), 1);
    EXPECT_NE(err.find("cannot open"), std::string::npos) << err;
    EXPECT_EQ(RunTool(out, {kCatalog + "WMM2020.COF", kCatalog + "WMM2010.COF"}, &err), 1);
    EXPECT_NE(err.find("epochs must increase"), std::string::npos) << err;
    EXPECT_EQ(ReadAll(out), "previous contents");
    EXPECT_EQ(RunTool(out, {}), 2);  // usage
}

}  // namespace
