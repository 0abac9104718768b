// The generated sources and resources: each is exactly what its generator
// makes of the committed inputs, and a damaged input stops the generator with
// a message and writes nothing.
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

using namespace tooltest;

namespace {

// `text` with its first `from` replaced by `to`; empty when `from` is missing.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    return at == std::string::npos ? std::string() : text.replace(at, from.size(), to);
}

// The generator run on the damaged inputs of `dir` fails and leaves `out` unwritten.
void ExpectRefused(const std::string& script, const std::string& args, const std::string& out) {
    std::remove(out.c_str());
    EXPECT_NE(Python(script, args), 0) << script;
    EXPECT_TRUE(ReadAll(out).empty()) << script;
}

}  // namespace

TEST(Generators, ReproduceTheCommittedFiles) {
    const std::string out = Scratch("regenerated");
    const std::string catalogs = "'" + kSource + "/catalogs/";
    const struct {
        const char* script;
        std::string args;
        const char* made;
        const char* committed;
    } cases[] = {
        {"make_constellation_lines.py", "--source " + catalogs + "constellations' --output '" + out + "/lines.cpp'",
         "lines.cpp", "skymap/constellation_lines.cpp"},
        {"make_constellation_tables.py", "--source " + catalogs + "constellations' --output '" + out + "/tables.cpp'",
         "tables.cpp", "engine/constellation_tables.cpp"},
        {"make_places.py", "--source " + catalogs + "places' --output '" + out + "/places.cpp'", "places.cpp",
         "settings/places_table.cpp"},
        {"make_moon_bitmap.py",
         "--input " + catalogs + "images/moon_fullmoon_128_gray.png' --output '" + out + "/moon.bmp'", "moon.bmp",
         "resources/skymap/moon.bmp"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Python(c.script, c.args), 0) << c.script;
        const std::string committed = ReadAll(kSource + "/" + c.committed);
        ASSERT_FALSE(committed.empty()) << c.committed;
        EXPECT_TRUE(ReadAll(out + "/" + c.made) == committed) << c.committed << " differs from the generator's output";
    }
    RemoveAll(out);
}

TEST(Generators, RejectDamagedInput) {
    const std::string dir = Scratch("generators_damaged"), out = dir + "/out";
    const std::string catalogs = kSource + "/catalogs/";
    const std::string source = " --source '" + dir + "' --output '" + out + "'";

    // Figures: an HR number out of range, an unknown constellation.
    const std::string lines = ReadAll(catalogs + "constellations/lines_hr.csv");
    const std::string first = "Aql,7602 7557 7525";
    ASSERT_EQ(lines.find(first), lines.find('\n') + 1);
    for (const char* replacement : {"Aql,7602 7557 17525", "Xyz,7602 7557 7525"}) {
        WriteAll(dir + "/lines_hr.csv", Replaced(lines, first, replacement));
        ExpectRefused("make_constellation_lines.py", source, out);
    }

    // Boundaries: one vertex of Andromeda moved off its neighbours, so that
    // the edge no longer runs along a meridian.
    for (const char* name : {"roman1987.csv", "centres.csv"})
        WriteAll(dir + "/" + name, ReadAll(catalogs + "constellations/" + name));
    const std::string boundaries = Replaced(ReadAll(catalogs + "constellations/boundaries_b1875.csv"),
                                            "1,And,1,22.86666666,52.5000000,Lac", "1,And,1,22.90000000,52.5000000,Lac");
    ASSERT_FALSE(boundaries.empty());
    WriteAll(dir + "/boundaries_b1875.csv", boundaries);
    ExpectRefused("make_constellation_tables.py", source, out);

    // Places: a latitude with a letter O for a zero.
    for (const char* name : {"cities.csv", "cities_stellarium.csv"})
        WriteAll(dir + "/" + name, ReadAll(catalogs + "places/" + name));
    const std::string geonames =
        Replaced(ReadAll(catalogs + "places/cities_geonames.csv"), "Kathmandu,Province 3,NP,Nepal,Asia,Southern Asia,27.70169,",
                 "Kathmandu,Province 3,NP,Nepal,Asia,Southern Asia,27.7O169,");
    ASSERT_FALSE(geonames.empty());
    WriteAll(dir + "/cities_geonames.csv", geonames);
    ExpectRefused("make_places.py", source, out);

    // The Moon image with a byte of its compressed data changed: the chunk
    // checksum fails.
    std::string png = ReadAll(catalogs + "images/moon_fullmoon_128_gray.png");
    ASSERT_GT(png.size(), 200u);
    png[150] = char(png[150] ^ 0x55);
    WriteAll(dir + "/moon.png", png);
    ExpectRefused("make_moon_bitmap.py", "--input '" + dir + "/moon.png' --output '" + out + "'", out);
    RemoveAll(dir);
}
