// The places database: vocabularies, the built-in table, the line format
// of "places.dat", and the user places with their safe rewriting.
#include "settings/places.h"

#include <gtest/gtest.h>

#include <cmath>

#include "settings_fixture.h"

using namespace Data;
using settings_test::Exists;
using settings_test::FolderTest;
using settings_test::kBom;
using settings_test::UserPlace;
using settings_test::ReadBytes;
using settings_test::WriteBytes;

namespace {

const BuiltinPlace* FindBuiltin(const std::u16string& name) {
    for (const BuiltinPlace& row : kBuiltinPlaces)
        if (name == row.name) return &row;
    return nullptr;
}

}  // namespace

// --- the built-in table -----------------------------------------------------------------------

TEST(BuiltinPlaces, OrderedUniqueAndPlausible) {
    std::u16string previous;
    for (size_t i = 0; i < kBuiltinPlaceCount; ++i) {
        const BuiltinPlace& row = kBuiltinPlaces[i];
        const std::u16string name = row.name;
        // Strictly ascending: ordered and unique.
        EXPECT_TRUE(!name.empty() && (i == 0 || previous < name)) << "row " << i;
        previous = name;
        EXPECT_LT(row.region, kRegionUserDefined) << i;
        EXPECT_TRUE(std::abs(row.latitude10) <= 900 && std::abs(row.longitude10) <= 1800) << i;
        // Every zone of the world: whole quarter hours, UTC-12 .. UTC+14.
        EXPECT_TRUE(row.timeZone % 15 == 0 && row.timeZone >= -720 && row.timeZone <= 840) << i;
        for (const char16_t* c = row.name; *c; ++c) EXPECT_TRUE(*c >= 0x20 && *c < 0x7F) << i;
    }
}

TEST(BuiltinPlaces, ZonesFollowPresentLaw) {
    // Offsets that changed in the last decades, as the tz database has them.
    struct Row {
        const char16_t* name;
        int zone;
    };
    const Row rows[] = {{u"Istanbul", 180}, {u"Casablanca", 60}, {u"Windhoek", 120}, {u"Colombo", 330},
                        {u"Almaty", 300},   {u"Nuuk", -120},     {u"Amman", 180},    {u"Ciudad Juarez", -420}};
    for (const Row& r : rows) {
        const BuiltinPlace* row = FindBuiltin(r.name);
        EXPECT_TRUE(row && row->timeZone == r.zone) << PL::ToUtf8(r.name);
    }
}

// --- the line format ----------------------------------------------------------------------------

TEST(PlaceLine, ReadsTheFields) {
    Place p;
    ASSERT_TRUE(ParsePlaceLine(u"47.37,-8.54,408,60,User defined,Home", p));
    EXPECT_EQ(p, UserPlace(u"Home", 47.37f, -8.54f, 408.0f, 60));

    // The region is always the text before the first comma.
    ASSERT_TRUE(ParsePlaceLine(u"1,2,3,4,User defined,Paris, Texas, USA", p));
    EXPECT_EQ(p.name, u"Paris, Texas, USA");
    // Without a comma the rest is all name.
    ASSERT_TRUE(ParsePlaceLine(u"1,2,3,-210,St. John's", p));
    EXPECT_EQ(p, UserPlace(u"St. John's", 1, 2, 3, -210));
    // Any single character separates the numbers, spaces before them are skipped.
    ASSERT_TRUE(ParsePlaceLine(u" -33.9; 151.2; 0e0; 600;User defined,Sydney", p));
    EXPECT_EQ(p, UserPlace(u"Sydney", -33.9f, 151.2f, 0, 600));
    // A fuzz finding: a separator outside the Basic Multilingual Plane is one
    // character too; taking half of it left a lone surrogate in the region,
    // written back as bytes no UTF-8 reader takes, and the next load read
    // the line as Windows-1252, garbling region and name.
    ASSERT_TRUE(ParsePlaceLine(u"5,6,7,8\U00102082-8.,Els'", p));
    EXPECT_EQ(p.region, u"-8.");
    EXPECT_EQ(p.name, u"Els'");
}

TEST(PlaceLine, RefusesMalformedLines) {
    Place p = DefaultPlace();
    const char16_t* bad[] = {
        u"",  u"Home", u"47.37,-8.54,408", u"47.37,-8.54,408,60", u"47.37,-8.54,408,60,",
        u"47.37,-8.54,408,60,User defined,",  // no name
        u"x,0,0,0,User defined,A",  u"1,,0,0,User defined,A", u"1e,0,0,0,User defined,A",
        u"91,0,0,0,User defined,A",  // beyond the pole
        u"0,181,0,0,User defined,A", u"0,0,1e99,0,User defined,A", u"0,0,2e7,0,User defined,A", u"0,0,0,99999999999999999999,User defined,A",
        u"0,0,0,1441,User defined,A",
    };
    for (const char16_t* line : bad) EXPECT_FALSE(ParsePlaceLine(line, p)) << PL::ToUtf8(line);
    EXPECT_EQ(p, DefaultPlace());  // untouched by the failures
}

TEST(PlaceLine, WritesStreamFloatsAndReadsThemBack) {
    // Six significant digits.
    EXPECT_EQ(FormatPlaceLine(UserPlace(u"A", 47.123456f, 0.0f, 1234567.0f, -300)),
              u"47.1235,0,1.23457e+06,-300,User defined,A");
    const Place in = UserPlace(u"  Home, sweet home \u6771\u4eac", 89.9999f, -180.0f, -12.25f, 345);
    Place out;
    ASSERT_TRUE(ParsePlaceLine(FormatPlaceLine(in), out));
    EXPECT_EQ(out, in);
}

// --- the user places --------------------------------------------------------------------------------

class UserPlacesTest : public FolderTest {
protected:
    std::string DatPath() const { return Path("places.dat"); }
};

TEST_F(UserPlacesTest, NoFileMeansOnlyBuiltinPlacesAndAUserPlaceReplacesACity) {
    UserPlaceStore store(folder_);
    PlaceMap all;
    store.AllPlaces(all);
    EXPECT_TRUE(all.size() == kBuiltinPlaceCount && !store.Loaded() && !Exists(DatPath()));
    EXPECT_EQ(all.at(u"Zurich").region, u"Europe");

    ASSERT_TRUE(store.Save(UserPlace(u"Zurich", 47.3769f, -8.5417f, 408.0f, 60)));
    store.AllPlaces(all);
    EXPECT_EQ(all.size(), kBuiltinPlaceCount);
    EXPECT_EQ(all[u"Zurich"], UserPlace(u"Zurich", 47.3769f, -8.5417f, 408.0f, 60));
}

TEST_F(UserPlacesTest, SavingWritesOneLinePerPlaceInNameOrder) {
    UserPlaceStore store(folder_);
    ASSERT_TRUE(store.Save(UserPlace(u"Home", 47.37f, -8.54f, 408.0f, 60)));
    ASSERT_TRUE(store.Save(UserPlace(u"Cabin", -1.5f, 2.25f, 0.0f, -300)));
    EXPECT_TRUE(store.LastWriteOk());
    EXPECT_EQ(ReadBytes(DatPath()), std::string(kBom) + "-1.5,2.25,0,-300,User defined,Cabin\r\n"
                                                        "47.37,-8.54,408,60,User defined,Home\r\n");
    EXPECT_FALSE(Exists(Path("places.tmp")));
    // A second store (the next run) reads them back.
    UserPlaceStore next(folder_);
    ASSERT_TRUE(next.EnsureLoaded());
    ASSERT_EQ(next.Places().size(), 2u);
    EXPECT_EQ(next.Places().at(u"Home"), UserPlace(u"Home", 47.37f, -8.54f, 408.0f, 60));
    // Deleting rewrites the file; a name that is not there changes nothing.
    EXPECT_TRUE(next.Remove(u"Home"));
    EXPECT_EQ(ReadBytes(DatPath()), std::string(kBom) + "-1.5,2.25,0,-300,User defined,Cabin\r\n");
    EXPECT_FALSE(next.Remove(u"Home"));
}

TEST_F(UserPlacesTest, OnlyNamedUserDefinedPlacesAreKept) {
    UserPlaceStore store(folder_);
    // A city, no name, a line break that would split the file's line, and
    // numbers the file could not give back.
    for (const Place& p : {MakePlace(*FindBuiltin(u"Tokyo")), UserPlace(u"", 1, 2, 3, 0),
                           UserPlace(u"Two\r\nlines", 1, 2, 3, 0), UserPlace(u"Moon", 91, 2, 3, 0),
                           UserPlace(u"Orbit", 1, 2, 3.4e38f, 0), UserPlace(u"Nowhere", 1, 2, 3, 24 * 60 + 1)})
        EXPECT_FALSE(store.Save(p)) << PL::ToUtf8(p.name);
    EXPECT_FALSE(store.Remove(u"Tokyo"));  // a city cannot be deleted
    EXPECT_FALSE(Exists(DatPath()));
    EXPECT_TRUE(store.Places().empty());
}

// Foreign line ends and blank lines are no damage; of a repeated name the
// later line wins.
TEST_F(UserPlacesTest, AMalformedLineCostsOnlyItself) {
    const std::string original = std::string(kBom) +
                                 "1,2,3,4,User defined,A\n\n  \r"
                                 "garbage line\r\n"
                                 "9,6,7,8,User defined,A\r"
                                 "5,6,7,8,Elsewhere,C";
    WriteBytes(DatPath(), original);
    UserPlaceStore store(folder_);
    PlaceMap all;
    store.AllPlaces(all);
    EXPECT_TRUE(store.Loaded());
    EXPECT_EQ(store.SkippedLines(), 1u);
    EXPECT_EQ(all.at(u"A").latitude, 9.0f);
    EXPECT_EQ(all.at(u"C").region, u"Elsewhere");
    EXPECT_EQ(ReadBytes(DatPath()), original);  // unchanged until a place is saved
    EXPECT_FALSE(Exists(Path("places.bak")));

    ASSERT_TRUE(store.Save(UserPlace(u"B", 0, 0, 0, 0)));
    EXPECT_TRUE(store.LastWriteOk());
    EXPECT_EQ(ReadBytes(Path("places.bak")), original);
    EXPECT_EQ(ReadBytes(DatPath()), std::string(kBom) +
                                        "9,6,7,8,User defined,A\r\n"
                                        "0,0,0,0,User defined,B\r\n"
                                        "5,6,7,8,Elsewhere,C\r\n");
}

// Lines written by a Latin-1 editor are not UTF-8: dropping their bytes
// would merge "Zürich" and "Zörich" into one "Zrich" and lose the other.
TEST_F(UserPlacesTest, LinesThatAreNotUtf8KeepTheirLettersAndTheFile) {
    const std::string original = "47.37,-8.54,408,60,User defined,Z\xFCrich\r\n"
                                  "1,2,3,0,User defined,Z\xF6rich \x80\x93\r\n"
                                  "5,6,7,8,User defined,Gen\xC3\xA8ve\r\n";
    WriteBytes(DatPath(), original);
    UserPlaceStore store(folder_);
    ASSERT_TRUE(store.EnsureLoaded());
    ASSERT_EQ(store.Places().size(), 3u);
    EXPECT_EQ(store.Places().count(u"Z\u00fcrich"), 1u);
    EXPECT_EQ(store.Places().count(u"Z\u00f6rich \u20ac\u201c"), 1u);  // Windows-1252 beyond Latin-1
    EXPECT_EQ(store.Places().count(u"Gen\u00e8ve"), 1u);               // a sound UTF-8 line as it is
    ASSERT_TRUE(store.Save(UserPlace(u"Home", 0, 0, 0, 0)));
    EXPECT_EQ(ReadBytes(Path("places.bak")), original);
    UserPlaceStore next(folder_);
    ASSERT_TRUE(next.EnsureLoaded());
    EXPECT_EQ(next.Places().size(), 4u);
    EXPECT_EQ(next.Places().at(u"Z\u00fcrich").latitude, 47.37f);
}

TEST_F(UserPlacesTest, AFileThatCannotBeReadIsNeverOverwritten) {
    const std::string original = std::string(kBom) + "1,2,3,4,User defined,A\r\n";
    WriteBytes(DatPath(), original);
    settings_test::UnreadableFile unreadable(u"places.dat");
    PL::ScopedPlatform scope(unreadable);
    UserPlaceStore store(folder_);
    EXPECT_FALSE(store.EnsureLoaded());
    EXPECT_TRUE(store.Save(UserPlace(u"B", 0, 0, 0, 0)));
    EXPECT_FALSE(store.LastWriteOk());
    EXPECT_EQ(ReadBytes(DatPath()), original);
    EXPECT_FALSE(store.Remove(u"A"));  // not known: nothing written
    EXPECT_EQ(ReadBytes(DatPath()), original);
}

// Every way the rewrite can fail leaves the old file as it was.
TEST_F(UserPlacesTest, AFailedRewriteKeepsTheOldFile) {
    UserPlaceStore store(folder_);
    ASSERT_TRUE(store.Save(UserPlace(u"Home", 47.37f, -8.54f, 408.0f, 60)));
    const std::string before = ReadBytes(DatPath());
    auto expectKept = [&](const char* what) {
        EXPECT_TRUE(store.Save(UserPlace(u"Away", 10, 20, 30, 0))) << what;
        EXPECT_FALSE(store.LastWriteOk()) << what;
        EXPECT_EQ(ReadBytes(DatPath()), before) << what;
        store.Remove(u"Away");
    };
    platform_.writeLimit = 20;  // the byte-order mark and part of the first line
    platform_.writeLimitSuffix = u"places.tmp";
    expectKept("write cut off");
    EXPECT_FALSE(Exists(Path("places.tmp")));
    platform_.writeLimit.reset();

    platform_.failReplace = true;
    expectKept("replace failed");
    // The old file wins over the twin at the next start.
    UserPlaceStore next(folder_);
    ASSERT_TRUE(next.EnsureLoaded());
    EXPECT_EQ(next.Places().size(), 1u);
}

TEST_F(UserPlacesTest, ACompleteTwinStandsInForAMissingFile) {
    // A twin cut off part-way is not used.
    WriteBytes(Path("places.tmp"), std::string(kBom) + "1,2,3,4,User defined,A\r\n5,6,7,8,User def");
    EXPECT_FALSE(UserPlaceStore(folder_).EnsureLoaded());
    // A crash between writing the twin and moving it into place.
    WriteBytes(Path("places.tmp"), std::string(kBom) + "1,2,3,4,User defined,A\r\n");
    UserPlaceStore store(folder_);
    ASSERT_TRUE(store.EnsureLoaded());
    ASSERT_EQ(store.Places().count(u"A"), 1u);
    ASSERT_TRUE(store.Save(UserPlace(u"B", 0, 0, 0, 0)));
    EXPECT_EQ(ReadBytes(DatPath()), std::string(kBom) + "1,2,3,4,User defined,A\r\n0,0,0,0,User defined,B\r\n");
    EXPECT_FALSE(Exists(Path("places.tmp")));
}

// --- the current place in the preferences --------------------------------------------------------------

TEST(PlaceProperties, WrittenWithSixKeysAndReadOverTheBlankPlace) {
    PropertySection s;
    SectionPropertyWriter w(s);
    Place zurich = MakePlace(*FindBuiltin(u"Zurich"));
    WritePlace(w, zurich);
    EXPECT_EQ(s, (PropertySection{{u"Name", u"Zurich"}, {u"Region", u"Europe"},
                                  {u"Latitude", u"47.40000152587891"},  // the float's 16 digits
                                  {u"Longitude", u"-8.5"}, {u"Elevation", u"0"}, {u"Timezone", u"60"}}));
    Place back = DefaultPlace();
    ReadPlace(SectionPropertyReader(s), back);
    EXPECT_EQ(back, zurich);

    // Missing or unreadable keys keep the blank place's values.
    s.erase(u"Region");
    s[u"Latitude"] = u"north";
    ReadPlace(SectionPropertyReader(s), back);
    EXPECT_EQ(back, UserPlace(u"Zurich", 0.0f, -8.5f, 0.0f, 60));
    // A section with none of the keys names no place: the place stays.
    EXPECT_FALSE(ReadPlace(SectionPropertyReader(PropertySection{{u"DstAdjust", u"1"}}), back));
    EXPECT_EQ(back.name, u"Zurich");
}
