// celvane-ephem --place and --places, run as a user would, with a data
// folder of its own.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tool_run.h"

using namespace tooltest;

namespace {

class EphemPlaces : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/celvane-ephem-places-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        home_ = tmpl;
        ASSERT_EQ(::mkdir((home_ + "/celvane").c_str(), 0755), 0);
    }
    void TearDown() override { std::system(("rm -rf '" + home_ + "'").c_str()); }

    void UserPlaces(const std::string& lines) {
        std::ofstream(home_ + "/celvane/places.dat", std::ios::binary) << "\xEF\xBB\xBF" << lines;
    }
    RunResult Ephem(const std::string& args) const { return tooltest::Ephem(args, "XDG_DATA_HOME='" + home_ + "'"); }

    std::string home_;
};

}  // namespace

TEST_F(EphemPlaces, ListsTheBuiltInPlacesAsJson) {
    RunResult r = Ephem("--places --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.compare(0, 11, "{\"places\":["), 0);
    EXPECT_EQ(Count(r.out, "{\"name\":"), 608u);
    EXPECT_NE(r.out.find("{\"name\":\"Zurich\",\"region\":\"Europe\",\"lat\":47.4,\"lon_west\":-8.5,\"zone_min\":60}"),
              std::string::npos);

    r = Ephem("--places Carribean --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(Count(r.out, "{\"name\":"), Count(r.out, "\"region\":\"Carribean\""));
    EXPECT_GT(Count(r.out, "{\"name\":"), 25u);
}

TEST_F(EphemPlaces, UserPlacesJoinAndReplaceBuiltInOnes) {
    UserPlaces("47.37,-8.54,408,60,User defined,Zurich\r\n10,-15,0,60,User defined,Home, \"sweet\" home\r\n");
    RunResult r = Ephem("--places \"User defined\" --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out,
              "{\"places\":[{\"name\":\"Home, \\\"sweet\\\" home\",\"region\":\"User defined\",\"lat\":10,\"lon_west\":-15,"
              "\"zone_min\":60},{\"name\":\"Zurich\",\"region\":\"User defined\",\"lat\":47.37,\"lon_west\":-8.54,"
              "\"zone_min\":60}]}\n");
    EXPECT_EQ(Count(Ephem("--places --json").out, "{\"name\":"), 609u);

    // The place's longitude moves the local sidereal time: 15 degrees east, one hour.
    r = Ephem("--place 'Home, \"sweet\" home' --utc 2024-06-21T12:00:00 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    double diff = Number(r.out, "lst_h") - Number(r.out, "gmst_h");
    if (diff < 0) diff += 24;
    EXPECT_NEAR(diff, 1.0, 1e-4);
}

TEST_F(EphemPlaces, PlaceNamesAndConflicts) {
    RunResult exact = Ephem("--place 'New York, NY' --utc 2024-01-01T00:00:00 --json");
    ASSERT_EQ(exact.status, 0) << exact.out;
    double diff = Number(exact.out, "lst_h") - Number(exact.out, "gmst_h");
    if (diff > 12) diff -= 24;
    EXPECT_NEAR(diff, -74.0 / 15.0, 1e-3);
    // Letter case does not matter when it names one place.
    RunResult lower = Ephem("--place 'new york, ny' --utc 2024-01-01T00:00:00 --json");
    EXPECT_EQ(lower.out, exact.out);
    EXPECT_EQ(Ephem("--place Atlantis").status, 1);
}
