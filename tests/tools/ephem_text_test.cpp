// celvane-ephem's text output in English and German: the place, the moment
// and every body's position are written by the program's own formatters.
#include "data/native/test_platform.h"
#include "data/messages.h"
#include "data/numtext.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tool_run.h"

using namespace tooltest;

namespace {

// The row of a body in the text table (after its heading), split at runs of blanks.
std::vector<std::string> Row(const std::string& text, const std::string& name) {
    std::smatch m;
    std::vector<std::string> cells;
    const size_t table = text.find("\n\n");
    if (table == std::string::npos) return cells;
    const std::string rows = text.substr(table);
    if (!std::regex_search(rows, m, std::regex("\n" + name + " [^\n]*"))) return cells;
    const std::string row = m[0].str().substr(1);
    std::regex blanks("\\S+");
    for (auto it = std::sregex_iterator(row.begin(), row.end(), blanks); it != std::sregex_iterator(); ++it)
        cells.push_back(it->str());
    return cells;
}

class EphemText : public ::testing::Test {
protected:
    void Language(uint16_t id) {
        platform.language = id;
        Data::SetUserLangId(0);
    }
    PL::TestPlatform platform;
    PL::ScopedPlatform scope{platform};
};

TEST_F(EphemText, GermanLabelsPlaceAndMoment) {
    const std::string de = Ephem("--utc 2024-03-05T14:07:09 --lat 48.2 --lon 16.37 --lang de").out;
    EXPECT_NE(de.find("Zeitpunkt (UT)   05.03.2024 14:07"), std::string::npos) << de;
    EXPECT_NE(de.find("Ort              48\u00b012'N, 16\u00b022'O"), std::string::npos) << de;
    EXPECT_NE(de.find("\nNeptun "), std::string::npos) << de;
    EXPECT_NE(de.find(" AE"), std::string::npos) << de;  // the German unit

    const std::string en = Ephem("--utc 2024-03-05T14:07:09 --lat -33.9 --lon -70.65 --lang en").out;
    EXPECT_NE(en.find("Moment (UT)      3/5/2024 2:07 PM"), std::string::npos) << en;
    EXPECT_NE(en.find("Place            33\u00b054'S, 70\u00b039'W"), std::string::npos) << en;
}

TEST_F(EphemText, PositionsAreTheJsonValuesInSexagesimalText) {
    const std::string args = "--utc 2000-01-01T12:00:00 --lat 51.48 --lon 0";
    const std::string json = Ephem(args + " --json").out;
    for (uint16_t lang : {uint16_t(0x409), uint16_t(0x407)}) {
        Language(lang);
        const std::string text = Ephem(args + (lang == 0x407 ? " --lang de" : " --lang en")).out;
        const char* names[] = {"Moon", "Mars"};
        const char* namesDe[] = {"Mond", "Mars"};
        const int index[] = {1, 4};
        for (int k = 0; k < 2; ++k) {
            const size_t at = json.find("{\"index\":" + std::to_string(index[k]) + ",");
            ASSERT_NE(at, std::string::npos);
            const std::string body = json.substr(at, json.find('}', at) - at);
            const std::vector<std::string> row = Row(text, lang == 0x407 ? namesDe[k] : names[k]);
            ASSERT_GE(row.size(), 7u) << text;
            EXPECT_EQ(row[1], PL::ToUtf8(Data::FormatRightAscension(Number(body, "ra_h"))));
            EXPECT_EQ(row[2], PL::ToUtf8(Data::FormatDegrees(Number(body, "dec_deg"))));
            EXPECT_EQ(row[3], PL::ToUtf8(Data::FormatHourAngle(Number(body, "ha_h"))));
            EXPECT_EQ(row[5], PL::ToUtf8(Data::FormatDegrees(Number(body, "alt_deg"))));
        }
    }
}

}  // namespace
