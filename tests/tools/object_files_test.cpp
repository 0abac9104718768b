// The shipped user-object and orbit files: reproducible from the catalogues,
// and readable by the program's own reader.
#include "data/native/test_platform.h"
#include "data/objectfiles.h"

#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

using namespace tooltest;

namespace {

const char* const kFiles[] = {"Messier.puo", "Caldwell.puo", "Asteroids.pco", "Comets.pco"};

std::string Shipped(const char* name) { return std::string(CELVANE_SOURCE_DIR) + "/resources/data/" + name; }

class ShippedFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.language = 0x409;
        // The program finds the shipped files in its own folder.
        Data::ObjectFileManagerBase::SetFolders(PL::FromUtf8(kSource + "/resources/data"),
                                                u"/nonexistent-data-folder");
    }
    void TearDown() override { Data::ObjectFileManagerBase::UseDefaultFolders(); }

    PL::TestPlatform platform;
    PL::ScopedPlatform scope{platform};
};

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

TEST_F(ShippedFilesTest, EveryShippedFileLoadsThroughTheProgramsReader) {
    Data::ObjectFileManager<Data::UserObj> objects(u".puo");
    Data::ObjectFileManager<Data::Comet> comets(u".pco");
    for (const char16_t* name : {u"Messier", u"Caldwell"}) {
        EXPECT_EQ(objects.Load(name, false), u"") << PL::ToUtf8(name);
        EXPECT_TRUE(objects.FindManaged(name)->inProgramFolder);
    }
    for (const char16_t* name : {u"Asteroids", u"Comets"}) EXPECT_EQ(comets.Load(name, false), u"");

    const auto& messier = objects.FindStore(u"Messier");
    const auto& caldwell = objects.FindStore(u"Caldwell");
    ASSERT_EQ(messier.size(), 110u);
    ASSERT_EQ(caldwell.size(), 109u);
    // Object n - 1 is M n; positions to the catalogue's precision.
    EXPECT_EQ(messier[41]->name, u"M 42");
    EXPECT_NEAR(messier[41]->ra, 5.588083f, 0.5f / 36000);
    EXPECT_NEAR(messier[41]->dec, -5.39028f, 1.0f / 3600);
    EXPECT_EQ(messier[41]->symbol, 3);  // bright nebula
    EXPECT_EQ(messier[30]->symbol, 1);  // M 31, a galaxy
    EXPECT_NEAR(messier[30]->magnitude, 3.4f, 1e-6f);
    EXPECT_EQ(caldwell[13]->name, u"C 14");
    EXPECT_EQ(caldwell[98]->magnitude, -1000.0f);  // the Coalsack has no magnitude

    const auto& asteroids = comets.FindStore(u"Asteroids");
    const auto& cometList = comets.FindStore(u"Comets");
    EXPECT_GE(asteroids.size(), 200u);
    EXPECT_LE(asteroids.size(), 1000u);
    EXPECT_GE(cometList.size(), 30u);
    EXPECT_EQ(asteroids[0]->name, u"1 Ceres");
    EXPECT_EQ(asteroids[0]->typ, 0);
    EXPECT_EQ(asteroids[0]->orbit.epoch, (Calc::AstroTime{61200, 0}));
    bool halley = false;
    for (const auto& c : cometList) {
        EXPECT_EQ(c->typ, 1);
        if (c->name == u"1P/Halley") {
            halley = true;
            EXPECT_NEAR(c->orbit.distance, 0.571135f, 1e-6f);
            EXPECT_EQ(c->orbit.epoch.day, 74041);  // JD 2474041.6781 = MJD 74041.1781
        }
    }
    EXPECT_TRUE(halley);
    for (const auto& a : asteroids) EXPECT_EQ(a->typ, 0);
}
