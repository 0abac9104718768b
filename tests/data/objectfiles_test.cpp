#include "data/objectfiles.h"

#include "data/errors.h"
#include "data/messages.h"
#include "data/native/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace Data;

namespace {

std::vector<std::u16string> Fields(const std::u16string& line) {
    FieldReader r(line);
    std::vector<std::u16string> out;
    std::u16string f;
    while (r.Next(f)) out.push_back(f);
    return out;
}

// The error text a record raises, or "" when it parses.
template <class T>
std::u16string RecordError(const std::u16string& line) {
    FieldReader r(line);
    try {
        T::FromRecord(r);
    } catch (const DataFormatError& e) {
        return e.Text();
    }
    return u"";
}

std::u16string Invalid(const char16_t* column) { return std::u16string(u"Invalid value for ") + column; }

// A record cut before each column fails with that column's name; the whole
// record parses.
template <class T>
void ExpectEveryColumnNamed(const std::u16string& full, std::initializer_list<const char16_t*> columns) {
    size_t at = 0;
    for (const char16_t* c : columns) {
        at = full.find(u';', at);
        ASSERT_NE(at, std::u16string::npos);
        EXPECT_EQ(RecordError<T>(full.substr(0, at)), Invalid(c));
        ++at;
    }
    EXPECT_EQ(RecordError<T>(full), u"");
}

const std::u16string kOrion = u"Orion Nebula;Diffuse nebula;5h35.3m;-5°23';1;3;4;1600";
const std::u16string kHalley =
    u"1P/Halley;Periodic comet;0;1;2474041.6781;0;0.571135;0.968019;112.2465;59.3468;162.1805;5.5;8.0";
const std::u16string kCeres =
    u"1 Ceres;Main-belt asteroid;0;0;2461200.5;274.41935;2.7655526;0.0796923;73.29420;80.24863;10.58803;3.34;0.15";

// Error texts need the user's language: English here.
class RecordsTest : public ::testing::Test {
protected:
    void SetUp() override { platform.language = 0x409; }
    PL::TestPlatform platform;
    PL::ScopedPlatform scope{platform};
};

}  // namespace

TEST(FieldReader, QuotingRules) {
    using V = std::vector<std::u16string>;
    const std::pair<std::u16string, V> cases[] = {
        // Leading spaces skipped, trailing spaces removed, inner spaces kept.
        {u"  a b  ; c", {u"a b", u"c"}},
        // A doubled quote inside quotes is one quote; ";" inside belongs to the field.
        {u"\"Say \"\"hi\"\"; now\";x", {u"Say \"hi\"; now", u"x"}},
        // After the closing quote the rest up to the next ";" is ignored.
        {u" \" q \" junk ;y", {u" q ", u"y"}},
        // A line ending with ";" or right after a quoted field has one more,
        // empty, field; a quote never closed runs to the end.
        {u"a;\"b\"", {u"a", u"b", u""}}, {u"\"open;x", {u"open;x", u""}},
        // A quote that does not start the field is an ordinary character.
        {u"5°23'10\";x", {u"5°23'10\"", u"x"}}};
    for (const auto& c : cases) EXPECT_EQ(Fields(c.first), c.second) << PL::ToUtf8(c.first);
}

TEST_F(RecordsTest, UserObjOrionNebulaAndItsDirection) {
    FieldReader r(kOrion);
    const UserObj o = UserObj::FromRecord(r);
    EXPECT_EQ(std::make_tuple(o.name, o.info, o.symbol, o.magnitude, o.distance),
              std::make_tuple(u"Orion Nebula", u"Diffuse nebula", 3, 4.0f, 1600.0f));
    // The stored direction points at 5h35.3m -5 23'.
    const double a = 5.58833333 * M_PI / 12, d = -5.38333333 * M_PI / 180;
    const Calc::Vec3 u = o.Direction();
    EXPECT_NEAR(u.x, std::cos(d) * std::cos(a), 1e-4);
    EXPECT_NEAR(u.y, std::cos(d) * std::sin(a), 1e-4);
    EXPECT_NEAR(u.z, std::sin(d), 1e-4);
}

TEST_F(RecordsTest, UserObjEveryColumnNamesItself) {
    ExpectEveryColumnNamed<UserObj>(kOrion, {Column::kInfo, Column::kRA, Column::kDec, Column::kShow,
                                             Column::kSymbol, Column::kMagn, Column::kDist});
    // Bad values, column by column.
    const std::pair<const char16_t*, const char16_t*> bad[] = {
        {u"n;i;5;12:30:15;1;3;4;1600", Column::kDec}, {u"n;i;5;-5;1;256;4;1600", Column::kSymbol},
        {u"n;i;5;-5;1;99999999999999999999;4;1600", Column::kSymbol}, {u"n;i;5;-5;1;3;1e39;1600", Column::kMagn}};
    for (const auto& b : bad) EXPECT_EQ(RecordError<UserObj>(b.first), Invalid(b.second)) << PL::ToUtf8(b.first);
    // Spaces and tabs around the symbol's digits; more fields than used.
    const std::u16string spaced = u"n;i;5;-5;1; \t7\t ;4;1600;extra;fields";
    FieldReader r(spaced);
    EXPECT_EQ(UserObj::FromRecord(r).symbol, 7);
}

TEST_F(RecordsTest, CometElementsInMemoryOrder) {
    FieldReader r(kCeres);
    const Comet c = Comet::FromRecord(r);
    EXPECT_EQ(std::make_tuple(c.name, c.symbol, c.orbit.kind, c.orbit.epoch),
              std::make_tuple(u"1 Ceres", 0, 0, Calc::AstroTime{61200, 0}));  // JD 2461200.5
    // The file's columns M, a, e, w, Node, i, H, G in the orbit's fields.
    const Calc::OrbitElements& o = c.orbit;
    EXPECT_EQ(std::vector<float>({o.meanAnomaly, o.distance, o.eccentricity, o.argPerihelion, o.node,
                                  o.inclination, o.absMagnitude, o.slope}),
              std::vector<float>({274.41935f, 2.7655526f, 0.0796923f, 73.29420f, 80.24863f, 10.58803f, 3.34f, 0.15f}));
}

TEST_F(RecordsTest, CometEveryColumnNamesItself) {
    ExpectEveryColumnNamed<Comet>(kHalley, {Column::kInfo, Column::kSymbol, Column::kTyp, Column::kJd, Column::kM,
                                            Column::kAQ, Column::kE, Column::kW, Column::kNode, Column::kI,
                                            Column::kH, Column::kG});
    // typ is tested before the epoch; the epoch is a Julian Day above 0 and
    // at most 2e9 that is a real moment, or an MJD; the elements must
    // describe an orbit (a hyperbola in the asteroid form is one).
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"X;i;2;2;bad", Column::kTyp},                      {u"X;i;0;1;2.1e9;0;1;0.5;0;0;0;5;4", Column::kJd},
        {u"X;i;0;1;200000;0;1;0.5;0;0;0;5;4", Column::kJd},
        {u"X;i;0;1;51544.5;0;1;0.5;0;0;0;5;4", nullptr},     {u"X;i;0;1;2451545;0;0;0.5;0;0;0;5;4", Column::kAQ},
        {u"X;i;0;0;2451545;0;2;1.0;0;0;0;5;4", Column::kE},  {u"X;i;0;0;2451545;0;-2;0.5;0;0;0;5;4", Column::kAQ},
        {u"X;i;0;0;2451545;0;-2;1.5;0;0;0;5;4", nullptr},    {u"X;i;0;1;2451545;0;1;0.5;0;0;0;5;nan", Column::kG}};
    for (const auto& c : cases)
        EXPECT_EQ(RecordError<Comet>(c.first), c.second ? Invalid(c.second) : u"") << PL::ToUtf8(c.first);
}

TEST_F(RecordsTest, WrittenFormReadsBack) {
    for (const std::u16string& line :
         {kOrion, std::u16string(u"\"A;b\"\"c\"\" \";  info with spaces ;23h59m59.99s;-89°59'59.9\";1;16;-1.5;0")}) {
        FieldReader r(line);
        const UserObj a = UserObj::FromRecord(r);
        ConfigObjStore<UserObj> store;
        const std::u16string record = a.ToRecord();
        FieldReader again(record);
        store.AddFromLine(again);
        const UserObj& b = *store.Objects().at(0);
        EXPECT_EQ(std::make_pair(b.name, b.info), std::make_pair(a.name, a.info));
        EXPECT_NEAR(b.ra, a.ra, 1e-5f);
        EXPECT_NEAR(b.dec, a.dec, 1e-5f);
        std::u16string written;
        store.WriteLine(0, written);
        EXPECT_EQ(written, record);
    }
    for (const std::u16string& line : {kHalley, kCeres}) {
        FieldReader r(line);
        const Comet a = Comet::FromRecord(r);
        const std::u16string record = a.ToRecord();
        FieldReader again(record);
        const Comet b = Comet::FromRecord(again);
        EXPECT_EQ(std::make_tuple(b.name, b.symbol, b.typ, b.orbit.epoch, b.orbit.distance, b.orbit.slope),
                  std::make_tuple(a.name, a.symbol, a.typ, a.orbit.epoch, a.orbit.distance, a.orbit.slope));
    }
}

// --- files and managers ---------------------------------------------------------------------

class ObjectFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = ::testing::TempDir() + "celvane_objfiles_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::system(("rm -rf '" + root + "'").c_str());
        ::mkdir(root.c_str(), 0777);
        ::mkdir((root + "/prog").c_str(), 0777);
        ::mkdir((root + "/data").c_str(), 0777);
        ObjectFileManagerBase::SetFolders(PL::FromUtf8(root + "/prog"), PL::FromUtf8(root + "/data"));
        SetUserLangId(0x409);
    }
    void TearDown() override {
        SetUserLangId(0);
        ObjectFileManagerBase::UseDefaultFolders();
        std::system(("rm -rf '" + root + "'").c_str());
    }
    void Write(const std::string& relative, const std::string& bytes) {
        std::ofstream f(root + "/" + relative, std::ios::binary);
        f << bytes;
    }
    std::u16string Path(const std::string& relative) { return PL::FromUtf8(root + "/" + relative); }
    std::u16string InFile(const std::string& relative, int line, const std::u16string& reason) {
        return u"Error in file " + Path(relative) + u" on line " + PL::FromUtf8(std::to_string(line)) + u": " +
               reason;
    }

    std::string root;
    PL::TestPlatform platform;
    PL::ScopedPlatform scope{platform};
    ObjectFileManager<UserObj> objects{u".puo"};
};

const std::string kBom = "\xEF\xBB\xBF";
const std::string kM31 = "M 31;Galaxy;0h42m44.3s;+41°16'08\";1;1;3.4;2500000";
const std::string kM42 = "M 42;Bright nebula;5h35m17.1s;-5°23'25\";1;3;4.0;1344";
const std::string kM45 = "M 45;Open cluster;3h47m00s;+24°07'00\";1;2;1.6;434";

TEST_F(ObjectFilesTest, LineEndsByteOrderMarkAndTheLastLine) {
    for (const std::string& sep : {std::string("\r\n"), std::string("\n"), std::string("\r")}) {
        // With and without a line end after the last record.
        for (bool finalEnd : {true, false}) {
            Write("data/Deep.puo", kBom + kM31 + sep + kM42 + sep + kM45 + (finalEnd ? sep : ""));
            EXPECT_EQ(objects.Load(u"Deep", true), u"");
            const auto& list = objects.FindStore(u"Deep");
            ASSERT_EQ(list.size(), 3u);
            EXPECT_EQ(list[0]->name, u"M 31");
            EXPECT_EQ(list[2]->name, u"M 45");
        }
    }
    // A file with only a byte-order mark loads empty.
    Write("data/Bom.puo", kBom);
    EXPECT_EQ(objects.Load(u"Bom", false), u"");
    EXPECT_TRUE(objects.IsLoaded(u"Bom"));
    EXPECT_TRUE(objects.FindStore(u"Bom").empty());
}

TEST_F(ObjectFilesTest, DamagedFilesNameTheLineAndKeepTheOldList) {
    Write("data/Deep.puo", kBom + kM31 + "\r\n" + kM42 + "\r\n");
    ASSERT_EQ(objects.Load(u"Deep", false), u"");
    const auto* managed = objects.FindManaged(u"Deep");
    ASSERT_NE(managed, nullptr);
    const auto first = objects.FindStore(u"Deep")[0];

    struct Case {
        std::string bytes;
        int line;
        const char16_t* column;
    };
    const std::string huge(10 * 1024 * 1024, 'x');
    const Case cases[] = {
        {kM31 + "\r\n" + "M 42;Bright nebula;5h35m", 2, Column::kDec},      // a truncated last line
        {kM31 + "\r\n" + kM42 + "\r\n\r\n", 3, Column::kInfo},               // a second line end at the end
        {kM31 + "\r\n" + kM42 + "\r\n" + huge + "\r\n", 3, Column::kName},  // a 10 MB line
        {kM31 + "\r\nM 42;" + huge + ";5h;1;1;3;4;5\r\n", 2, Column::kInfo},
        {kM31 + "\r\n\xFF\xFE\xC3\r\n", 2, Column::kInfo},                   // only invalid UTF-8
    };
    for (const Case& c : cases) {
        Write("data/Deep.puo", kBom + c.bytes);
        EXPECT_EQ(objects.Load(u"Deep", true), InFile("data/Deep.puo", c.line, Invalid(c.column)));
        // The loaded list stays as it was, in the same store.
        EXPECT_EQ(objects.FindManaged(u"Deep"), managed);
        ASSERT_EQ(objects.FindStore(u"Deep").size(), 2u);
        EXPECT_EQ(objects.FindStore(u"Deep")[0], first);
    }
    // A malformed byte inside a name is dropped; the record reads.
    Write("data/Deep.puo", kBom + "M\xFF 42;Bright nebula;5h35m17.1s;-5°23';1;3;4;1344\r\n");
    EXPECT_EQ(objects.Load(u"Deep", true), u"");
    EXPECT_EQ(objects.FindStore(u"Deep")[0]->name, u"M 42");
    EXPECT_EQ(objects.FindManaged(u"Deep"), managed);  // replaced in place

    // A missing file, and a folder in the file's place.
    EXPECT_EQ(objects.Load(u"Missing", false), u"Error reading file " + Path("data/Missing.puo") + u".");
    EXPECT_FALSE(objects.IsLoaded(u"Missing"));
    ::mkdir((root + "/data/Folder.puo").c_str(), 0777);
    EXPECT_EQ(objects.Load(u"Folder", false), u"Error reading file " + Path("data/Folder.puo") + u".");
    EXPECT_FALSE(objects.IsLoaded(u"Folder"));
}

TEST_F(ObjectFilesTest, ALoadedNameIsKeptUntilUnloaded) {
    Write("data/Deep.puo", kBom + kM31 + "\r\n");
    EXPECT_EQ(objects.Load(u"Deep", false), u"");
    // Without force a loaded name is left alone, even when the file changed.
    Write("data/Deep.puo", kBom + kM31 + "\r\n" + kM42 + "\r\n");
    EXPECT_EQ(objects.Load(u"Deep", false), u"");
    EXPECT_EQ(objects.FindStore(u"Deep").size(), 1u);
    objects.AddEmpty(u"Mine");
    EXPECT_EQ(objects.FindManaged(u"Mine")->path, Path("data/Mine.puo"));

    objects.Unload(u"Deep");
    EXPECT_TRUE(objects.FindStore(u"Deep").empty());
    std::vector<std::u16string> loaded;
    objects.ListLoadedFiles(loaded);
    EXPECT_EQ(loaded, std::vector<std::u16string>{u"Mine"});
}

TEST_F(ObjectFilesTest, PathResolution) {
    Write("prog/Both.puo", kBom + kM31 + "\r\n");
    Write("data/Both.puo", kBom + kM42 + "\r\n" + kM45 + "\r\n");
    Write("prog/ProgOnly.puo", kBom + kM45 + "\r\n");
    Write("data/Messier.puo", kBom + kM42 + "\r\n");
    Write("data/notes.txt", "not an object file");

    // The data folder wins over the program folder.
    EXPECT_EQ(objects.Load(u"Both", false), u"");
    EXPECT_EQ(objects.Load(u"ProgOnly", false), u"");
    EXPECT_EQ(std::make_pair(objects.FindManaged(u"Both")->path, objects.FindManaged(u"Both")->inProgramFolder),
              std::make_pair(Path("data/Both.puo"), false));
    EXPECT_EQ(std::make_pair(objects.FindManaged(u"ProgOnly")->path, objects.FindManaged(u"ProgOnly")->inProgramFolder),
              std::make_pair(Path("prog/ProgOnly.puo"), true));
    // The letter case of the file on the device wins.
    EXPECT_EQ(objects.Load(u"MESSIER", false), u"");
    EXPECT_TRUE(objects.IsLoaded(u"Messier"));
    EXPECT_FALSE(objects.IsLoaded(u"MESSIER"));

    // Names that could leave the folders are never looked up.
    Write("secret.puo", kBom + kM31 + "\r\n");
    for (const char16_t* bad : {u"../secret", u"..\\secret", u"Bo?h"}) {
        EXPECT_EQ(objects.Load(bad, false).rfind(u"Error reading file ", 0), 0u);
        EXPECT_FALSE(objects.IsLoaded(bad));
    }

    // Available files: the program folder's, then the data folder's; a name may come twice.
    std::vector<std::u16string> available;
    objects.ListAvailableFiles(available);
    ASSERT_EQ(available.size(), 4u);
    std::sort(available.begin(), available.begin() + 2);
    std::sort(available.begin() + 2, available.end());
    EXPECT_EQ(available, (std::vector<std::u16string>{u"Both", u"ProgOnly", u"Both", u"Messier"}));
}
