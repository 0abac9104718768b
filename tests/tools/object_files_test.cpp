// The shipped user-object and orbit files are reproducible from the
// catalogues (the object-model tests read them through the program's reader).
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

using namespace tooltest;

namespace {

const char* const kFiles[] = {"Messier.puo", "Caldwell.puo", "Asteroids.pco", "Comets.pco"};

std::string Shipped(const char* name) { return std::string(CELVANE_SOURCE_DIR) + "/resources/data/" + name; }

}  // namespace

TEST(ObjectFilesTool, GeneratorReproducesTheCommittedFilesAndRejectsDamagedInput) {
    const std::string out = Scratch("object_files_regenerated");
    ASSERT_EQ(Python("make_object_files.py", "--output '" + out + "'"), 0);
    for (const char* name : kFiles) {
        const std::string committed = ReadAll(Shipped(name));
        ASSERT_FALSE(committed.empty()) << name;
        EXPECT_TRUE(ReadAll(out + "/" + name) == committed) << name << " differs from the generator's output";
    }
    RemoveAll(out);

    // M 13 loses its declination: nothing is written.
    const std::string dir = Scratch("object_files_damaged");
    std::system(("mkdir -p '" + dir + "/deepsky' '" + dir + "/out'").c_str());
    WriteAll(dir + "/deepsky/caldwell.csv", ReadAll(kSource + "/catalogs/deepsky/caldwell.csv"));
    std::string messier = ReadAll(kSource + "/catalogs/deepsky/messier.csv");
    const size_t at = messier.find("16.694861,36.46083");
    ASSERT_NE(at, std::string::npos);
    WriteAll(dir + "/deepsky/messier.csv", messier.replace(at, 18, "16.694861,north"));
    EXPECT_NE(Python("make_object_files.py", "--deepsky '" + dir + "/deepsky' --output '" + dir + "/out'"), 0);
    for (const char* name : kFiles) EXPECT_TRUE(ReadAll(dir + "/out/" + name).empty()) << name;
    RemoveAll(dir);
}
