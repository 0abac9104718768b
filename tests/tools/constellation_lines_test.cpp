#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Command(const std::string& source, const std::string& out) {
    return "python3 \"" + std::string(CELVANE_SOURCE_DIR) + "/tools/make_constellation_lines.py\" --source \"" +
           source + "\" --output \"" + out + "\" 2>/dev/null";
}

}  // namespace

// The committed figure table is exactly what the generator makes of the
// committed catalogue.
TEST(ConstellationLines, GeneratorReproducesTheCommittedFile) {
    const std::string source = CELVANE_SOURCE_DIR;
    const std::string out = std::string(CELVANE_BINARY_DIR) + "/constellation_lines.regenerated.cpp";
    std::remove(out.c_str());
    ASSERT_EQ(std::system(Command(source + "/catalogs/constellations", out).c_str()), 0);
    const std::string committed = ReadAll(source + "/skymap/constellation_lines.cpp");
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(ReadAll(out) == committed) << "skymap/constellation_lines.cpp differs from the generator's output";
    // Andromeda comes first and opens with both marks: 0xC000 | HR 15 (Alpheratz).
    EXPECT_NE(committed.find("0xC00F,"), std::string::npos);
    std::remove(out.c_str());
}

// An HR number out of range, or a constellation without figure, stops the
// generator and writes nothing.
TEST(ConstellationLines, GeneratorRejectsDamagedInput) {
    const std::string source = CELVANE_SOURCE_DIR;
    const std::string dir = std::string(CELVANE_BINARY_DIR) + "/constellation_lines_damaged";
    const std::string out = dir + "/lines.cpp";
    ASSERT_EQ(std::system(("mkdir -p \"" + dir + "\"").c_str()), 0);
    const std::string good = ReadAll(source + "/catalogs/constellations/lines_hr.csv");
    const std::string first = "Aql,7602 7557 7525";
    ASSERT_EQ(good.find(first), good.find('\n') + 1);
    for (const std::string& replacement : {std::string("Aql,7602 7557 17525"), std::string("Xyz,7602 7557 7525")}) {
        std::string bad = good;
        bad.replace(bad.find(first), first.size(), replacement);
        std::ofstream(dir + "/lines_hr.csv", std::ios::binary) << bad;
        std::remove(out.c_str());
        EXPECT_NE(std::system(Command(dir, out).c_str()), 0) << replacement;
        EXPECT_TRUE(ReadAll(out).empty()) << replacement;
    }
    // Aquila's only figure lines gone: the constellation has no figure.
    std::string bad = good;
    size_t at;
    while ((at = bad.find("\nAql,")) != std::string::npos) bad.erase(at + 1, bad.find('\n', at + 1) - at);
    std::ofstream(dir + "/lines_hr.csv", std::ios::binary) << bad;
    EXPECT_NE(std::system(Command(dir, out).c_str()), 0);
}
