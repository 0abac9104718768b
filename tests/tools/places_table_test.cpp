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

std::string Tool() { return std::string(CELVANE_SOURCE_DIR) + "/tools/make_places.py"; }

}  // namespace

// The committed table is exactly what the generator makes of the committed
// city lists.
TEST(PlacesTable, GeneratorReproducesTheCommittedFile) {
    const std::string source = CELVANE_SOURCE_DIR;
    const std::string out = std::string(CELVANE_BINARY_DIR) + "/places_table.regenerated.cpp";
    std::remove(out.c_str());
    const std::string cmd = "python3 \"" + Tool() + "\" --source \"" + source + "/catalogs/places\" --output \"" + out + "\"";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const std::string committed = ReadAll(source + "/settings/places_table.cpp");
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(ReadAll(out) == committed) << "settings/places_table.cpp differs from the generator's output";
    std::remove(out.c_str());
}

// A damaged city list stops the generator with a message and writes nothing.
TEST(PlacesTable, GeneratorRejectsDamagedInput) {
    const std::string source = std::string(CELVANE_SOURCE_DIR) + "/catalogs/places/";
    const std::string dir = std::string(CELVANE_BINARY_DIR) + "/places_damaged";
    const std::string out = dir + "/table.cpp";
    ASSERT_EQ(std::system(("mkdir -p \"" + dir + "\"").c_str()), 0);
    for (const char* name : {"cities.csv", "cities_stellarium.csv"})
        std::ofstream(dir + "/" + name, std::ios::binary) << ReadAll(source + name);
    std::string geonames = ReadAll(source + "cities_geonames.csv");
    const std::string row = "Kathmandu,Province 3,NP,Nepal,Asia,Southern Asia,27.70169,";
    const size_t at = geonames.find(row);
    ASSERT_NE(at, std::string::npos);
    geonames.replace(at, row.size(), "Kathmandu,Province 3,NP,Nepal,Asia,Southern Asia,27.7O169,");
    std::ofstream(dir + "/cities_geonames.csv", std::ios::binary) << geonames;
    std::remove(out.c_str());
    const std::string cmd = "python3 \"" + Tool() + "\" --source \"" + dir + "\" --output \"" + out + "\" 2>/dev/null";
    EXPECT_NE(std::system(cmd.c_str()), 0);
    EXPECT_TRUE(ReadAll(out).empty());
}
