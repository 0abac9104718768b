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

}  // namespace

// The committed tables are exactly what the generator makes of the
// committed catalogues.
TEST(ConstellationTables, GeneratorReproducesTheCommittedFile) {
    const std::string source = CELVANE_SOURCE_DIR;
    const std::string out = std::string(CELVANE_BINARY_DIR) + "/constellation_tables.regenerated.cpp";
    std::remove(out.c_str());
    const std::string cmd = "python3 \"" + source + "/tools/make_constellation_tables.py\" --source \"" + source +
                            "/catalogs/constellations\" --output \"" + out + "\"";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const std::string committed = ReadAll(source + "/engine/constellation_tables.cpp");
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(ReadAll(out) == committed) << "engine/constellation_tables.cpp differs from the generator's output";
    std::remove(out.c_str());
}

// A damaged catalogue stops the generator with a message and writes nothing.
TEST(ConstellationTables, GeneratorRejectsDamagedInput) {
    const std::string source = CELVANE_SOURCE_DIR;
    const std::string dir = std::string(CELVANE_BINARY_DIR) + "/constellation_damaged";
    const std::string out = dir + "/tables.cpp";
    ASSERT_EQ(std::system(("mkdir -p \"" + dir + "\"").c_str()), 0);
    for (const char* name : {"roman1987.csv", "centres.csv"}) {
        std::ofstream(dir + "/" + name, std::ios::binary) << ReadAll(source + "/catalogs/constellations/" + name);
    }
    // One vertex of Andromeda moved off its neighbours: the edge no longer
    // runs along a meridian.
    std::string boundaries = ReadAll(source + "/catalogs/constellations/boundaries_b1875.csv");
    const std::string vertex = "1,And,1,22.86666666,52.5000000,Lac";
    const size_t at = boundaries.find(vertex);
    ASSERT_NE(at, std::string::npos);
    boundaries.replace(at, vertex.size(), "1,And,1,22.90000000,52.5000000,Lac");
    std::ofstream(dir + "/boundaries_b1875.csv", std::ios::binary) << boundaries;
    std::remove(out.c_str());
    const std::string cmd = "python3 \"" + source + "/tools/make_constellation_tables.py\" --source \"" + dir +
                            "\" --output \"" + out + "\" 2>/dev/null";
    EXPECT_NE(std::system(cmd.c_str()), 0);
    EXPECT_TRUE(ReadAll(out).empty());
}
