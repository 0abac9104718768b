// The preferences: defaults, the store, the two-pass load and the safe save.
#include "settings/preferences.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/messages.h"
#include "data/objectfiles.h"
#include "settings_fixture.h"

using namespace Data;
using settings_test::Exists;
using settings_test::kBom;
using settings_test::ReadBytes;
using settings_test::WriteBytes;

namespace {

// A data folder with the four shipped object files (small ones), and the
// file managers pointed at it.
class PrefsTest : public settings_test::FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        platform_.utc = PL::SystemTime{2024, 3, 0, 5, 14, 7, 9, 0};
        const std::string obj = "M 1;Crab Nebula;5h34.5m;22°01';1;3;8.4;6500\nM 2;Globular cluster;21h33.5m;-0°49';1;1;6.5;37500\n";
        WriteBytes(Path("Messier.puo"), obj);
        WriteBytes(Path("Caldwell.puo"), "C 1;Open cluster;0h44.3m;85°20';1;2;8.1;3300\n");
        WriteBytes(Path("Asteroids.pco"), "1 Ceres;Dwarf planet;0;0;2460000.5;60.0;2.77;0.079;73.4;80.3;10.6;3.3;0.12\n");
        WriteBytes(Path("Comets.pco"),
                   "2P/Encke;Periodic comet;0;1;2460000.5;0;0.336;0.847;187.0;334.2;11.8;11.5;6.0\n"
                   "1P/Halley;Periodic comet;0;1;2474041.6781;0;0.571135;0.968019;112.2465;59.3468;162.1805;5.5;8.0\n");
        ObjectFileManagerBase::SetFolders(PL::FromUtf8(Path("program")), folder_);
        UserObjectFiles().UnloadAll();
        CometFiles().UnloadAll();
    }
    void TearDown() override {
        UserObjectFiles().UnloadAll();
        CometFiles().UnloadAll();
        ObjectFileManagerBase::UseDefaultFolders();
        SetUserLangId(0);
        FolderTest::TearDown();
    }

    void WritePrefs(const std::string& text) { WriteBytes(Path("prefs.dat"), std::string(kBom) + text); }
    std::string Prefs() const { return ReadBytes(Path("prefs.dat")); }
    // Each part appears in the saved file.
    void ExpectSaved(std::initializer_list<std::string> parts) const {
        const std::string text = Prefs();
        for (const std::string& part : parts) EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
    }
    template <class T>
    static std::vector<std::u16string> LoadedNames(ObjectFileManager<T>& m) {
        std::vector<std::u16string> v;
        m.ListLoadedFiles(v);
        return v;
    }

    const Calc::AstroTime now_ = Calc::FromCalendar(2024, 3, 5, 14, 7, 9);
};

using Names = std::vector<std::u16string>;

}  // namespace

TEST_F(PrefsTest, FirstStartGivesTheDefaultsAndTheSavedFileEveryKey) {
    Preferences p;
    p.viewMode = 3;
    EXPECT_TRUE(p.Load(folder_));
    EXPECT_EQ(p.viewMode, 0);  // compass view
    EXPECT_EQ(p.time.time, now_);
    EXPECT_EQ(LoadedNames(UserObjectFiles()), (Names{u"Caldwell", u"Messier"}));
    EXPECT_EQ(LoadedNames(CometFiles()), (Names{u"Asteroids", u"Comets"}));
    EXPECT_FALSE(Exists(Path("prefs.dat")));  // nothing written at start

    p.time.time = Calc::FromCalendar(2024, 3, 5, 18, 0, 0);  // JD 2460375.25
    ASSERT_TRUE(p.Save(folder_));
    const std::string text = Prefs();
    ASSERT_EQ(text.compare(0, 3, kBom), 0);
    // Lists, the moment as a Julian Day, floats to 16 digits, object references by name.
    ExpectSaved({"[FORMAT]\r\nVersion=1\r\n", "[ActiveCometFiles]\r\n0=Asteroids\r\n1=Comets\r\n",
                 "Time=2460375.25\r\nUseCurrentTime=1\r\n", "Latitude=51.47999954223633\r\n", "Obj9=Pluto\r\n",
                 "Obj10=\r\n", "SelectedObj=\r\n"});
    // No language override, no star file: no such sections.
    EXPECT_TRUE(text.find("[Language]") == std::string::npos && text.find("[StarFiles]") == std::string::npos);
    EXPECT_FALSE(Exists(Path("prefs.tmp")));
}

TEST_F(PrefsTest, EverythingComesBack) {
    Preferences p;
    p.Load(folder_);
    p.place = settings_test::UserPlace(u"Home, sweet home", 47.37f, -8.54f, 408.0f, 60);
    p.dstAdjust = 2;
    p.time = {Calc::FromCalendar(1066, 10, 14, 9, 30, 1), false, 86400, 2};
    p.magnetic = 1;
    p.origin = true;
    p.viewMode = 1;
    p.display.raDecGrid = true;
    p.display.magFilter = 11.5f;
    p.display.starColour = 2;
    p.display.tapInfo = 3;
    p.skyView = {123.456f, -12.5f, 7.5f, 400.0f, 1, AstroObjRef(kObjStar, 2491), AstroObjRef(kObjConstellation, 19), true};
    p.compass[3].object = AstroObjRef(kObjUser, 1, u"Messier");
    p.compass[10].object = AstroObjRef(kObjComet, 1, u"Comets");  // 1P/Halley
    p.compassHide[10] = false;
    p.compassSelection = 10;
    p.compassDisplay = 2;
    p.starFile = u"/cards/stars.dat";
    ASSERT_TRUE(p.Save(folder_));
    const std::string saved = Prefs();

    UserObjectFiles().UnloadAll();
    CometFiles().UnloadAll();
    Preferences q;
    ASSERT_TRUE(q.Load(folder_));
    // The comet resolves only because its file is loaded between the passes
    // (a key that did not resolve would be written back as read, so the
    // comparison below would not see it).
    EXPECT_EQ(q.compass[10].object, AstroObjRef(kObjComet, 1, u"Comets"));
    // Every other field: a field that did not come back would be saved with
    // its default.
    ASSERT_TRUE(q.Save(folder_));
    EXPECT_EQ(Prefs(), saved);
}

// A file that does not load (a damaged line, a card that is not in) costs
// neither its place in the active lists nor the references into it.
TEST_F(PrefsTest, ReferencesIntoFilesThatFailedToLoadSurviveASave) {
    WritePrefs("[FORMAT]\r\nVersion=1\r\n"
               "[ActiveUserObjFiles]\r\n0=Messier\r\n1=NotThere\r\n"
               "[ActiveCometFiles]\r\n0=Gone\r\n1=Comets\r\n"
               "[CompassView]\r\nObj0=Obj3,NotThere\r\nObj1=AC1P,Gone\r\nObj2=Obj0,Messier\r\n"
               "[SkyView]\r\nSelectedObj=AC9P,Gone\r\nAngularDistRefObj=AC2P,Comets\r\n");
    Preferences p;
    p.Load(folder_);
    EXPECT_EQ(p.compass[0].object, AstroObjRef(kObjUser, 3, u"NotThere"));
    EXPECT_EQ(p.compass[1].object, AstroObjRef());  // nothing to show while the file is missing
    EXPECT_EQ(p.skyView.angularDistRefObj, AstroObjRef(kObjComet, 0, u"Comets"));
    ASSERT_TRUE(p.Save(folder_));
    ExpectSaved({"[ActiveUserObjFiles]\r\n0=Messier\r\n1=NotThere\r\n", "[ActiveCometFiles]\r\n0=Comets\r\n1=Gone\r\n",
                 "Obj0=Obj3,NotThere\r\n", "Obj1=AC1P,Gone\r\n", "SelectedObj=AC9P,Gone\r\n"});

    // Once the file is back, the references resolve.
    WriteBytes(Path("Gone.pco"), "1P/Halley;Periodic comet;0;1;2474041.6781;0;0.571135;0.968019;112.2465;59.3468;162.1805;5.5;8.0\n");
    Preferences q;
    q.Load(folder_);
    EXPECT_EQ(q.compass[1].object, AstroObjRef(kObjComet, 0, u"Gone"));
    // A slot the user changed is saved as it is now.
    q.compass[1].object = AstroObjRef();
    q.skyView.selectedObj = AstroObjRef(kObjBody, 4);
    ASSERT_TRUE(q.Save(folder_));
    ExpectSaved({"Obj1=\r\n", "SelectedObj=Mars\r\n"});
}

// A file without the current place keeps the default place (read key by
// key it would be "?" at 0, 0).
TEST_F(PrefsTest, FileListsEndAtTheFirstGapAndAFileWithoutThePlaceKeepsTheDefault) {
    WritePrefs("[FORMAT]\nVersion=1\n"
               "[ActiveCometFiles]\n0=Comets\n1=Asteroids\n3=Lost\n"
               "[ActiveUserObjFiles]\n1=Caldwell\n");
    Preferences p;
    p.Load(folder_);
    EXPECT_EQ(p.activeCometFiles, (Names{u"Comets", u"Asteroids"}));  // the gap at "2" ends the list
    EXPECT_TRUE(p.activeUserObjFiles.empty());                        // no "0"
    EXPECT_TRUE(LoadedNames(UserObjectFiles()).empty());
    EXPECT_EQ(p.place, DefaultPlace());
}

TEST_F(PrefsTest, ValuesOutOfRangeAreUnreadable) {
    WritePrefs("[FORMAT]\nVersion=1\n"
               "[CompassView]\nSelection=11\n"
               "[SkyView]\nViewAngle=0\nAlt=91\nMagThreshold=-5\nStarDisplayColor=7\n"
               "[DisplayTime]\nStep=0\nStepMode=5\nTime=1e300\nUseCurrentTime=2\n"
               "[CurrentLocation]\nLatitude=95\nLongitude=-200\nTimezone=99999\nDstAdjust=3\n");
    Preferences p;
    p.Load(folder_);
    EXPECT_TRUE(p.compassSelection == 0 && p.display.starColour == 1);
    EXPECT_TRUE(p.skyView.viewAngle == 90.0f && p.skyView.alt == 30.0f && p.skyView.magThreshold == 657.0f);
    EXPECT_TRUE(p.time.step == 3600 && p.time.stepMode == 1 && p.time.time == now_ && p.time.useCurrentTime);
    EXPECT_TRUE(p.place.latitude == 0.0f && p.place.longitude == 0.0f && p.place.timeZone == 0 && p.dstAdjust == 0);
}

// Records the program cannot show are read as the view it does show, and
// that is what is written back; a language the program does not have is
// no override.
TEST_F(PrefsTest, ViewModeAndLanguageOnlyTakeValuesTheProgramHas) {
    platform_.language = 0x409;
    for (const char* mode : {"-7", "2", "4", "1x"}) {  // "1x" reads as 1
        WritePrefs(std::string("[FORMAT]\nVersion=1\n[View]\nMode=") + mode + "\n[Language]\nlangid=1036\n");
        Preferences p;
        p.Load(folder_);
        const int expected = std::string(mode) == "1x" ? 1 : 0;
        EXPECT_EQ(p.viewMode, expected) << mode;
        EXPECT_EQ(p.languageOverride, 0) << mode;
        EXPECT_EQ(UserLangId(), 0x409);  // the device's language stays
        ASSERT_TRUE(p.Save(folder_));
        ExpectSaved({"[View]\r\nMode=" + std::to_string(expected) + "\r\n"});
    }
    // German (Switzerland) is German; the override comes from the file only,
    // and is written back.
    WritePrefs("[FORMAT]\nVersion=1\n[View]\nMode=3\n[Language]\nlangid=2055\n");
    Preferences p;
    p.Load(folder_);
    EXPECT_EQ(p.viewMode, 3);
    EXPECT_EQ(p.languageOverride, 0x0807);
    EXPECT_EQ(UserLangId(), 0x0807);
    ASSERT_TRUE(p.Save(folder_));
    ExpectSaved({"[Language]\r\nlangid=2055\r\n"});
}

// A prefs.dat edited in a Latin-1 editor: the line keeps its letters, and
// the file as it was is kept in prefs.bak before the first rewrite.
TEST_F(PrefsTest, LinesThatAreNotUtf8KeepTheirLettersAndTheFile) {
    const std::string original = "[FORMAT]\r\nVersion=1\r\n[CurrentLocation]\r\nName=Z\xFCrich\r\n"
                                 "Region=User defined\r\n[Notes]\r\na=Z\xF6rich\r\nb=Gen\xC3\xA8ve\r\n";
    WriteBytes(Path("prefs.dat"), original);
    Preferences p;
    p.Load(folder_);
    EXPECT_EQ(p.place.name, u"Z\u00fcrich");
    EXPECT_EQ(p.store.Get(u"Notes", u"a", u""), u"Z\u00f6rich");
    EXPECT_EQ(p.store.Get(u"Notes", u"b", u""), u"Gen\u00e8ve");
    ASSERT_TRUE(p.Save(folder_));
    EXPECT_EQ(ReadBytes(Path("prefs.bak")), original);
    ExpectSaved({"Name=Z\xC3\xBCrich\r\n", "a=Z\xC3\xB6rich\r\n"});
}

// A fuzz input: a file whose FORMAT header is damaged (bytes that are not
// UTF-8) is read as the defaults but keeps its records, among them a
// language record "1031" with a control character after it. The first save
// makes it a version 1 file; from the next load on the records are read and
// a load and save is a fixed point.
TEST_F(PrefsTest, AFileOfNoFormatVersionSettlesAfterOneSave) {
    const std::string bytes = ReadBytes(CELVANE_SOURCE_DIR "/tests/settings/fuzz/prefs_without_format_section.dat");
    ASSERT_FALSE(bytes.empty());
    WriteBytes(Path("prefs.dat"), bytes);
    Preferences p;
    p.Load(folder_);
    EXPECT_EQ(p.languageOverride, 0);  // not a version 1 file: the defaults
    ASSERT_TRUE(p.Save(folder_));
    EXPECT_EQ(ReadBytes(Path("prefs.bak")), bytes);  // lines that were not UTF-8
    Preferences q;
    q.Load(folder_);
    EXPECT_EQ(q.languageOverride, 0x407);
    ASSERT_TRUE(q.Save(folder_));
    EXPECT_EQ(ReadBytes(Path("prefs.bak")), bytes);  // a sound file makes no copy
    const std::string second = Prefs();
    Preferences r;
    r.Load(folder_);
    ASSERT_TRUE(r.Save(folder_));
    EXPECT_EQ(Prefs(), second);
}

TEST_F(PrefsTest, UnknownSectionsAndKeysSurviveASaveInSortedPlace) {
    // Sections and keys in code-unit order ("APPVERSION" before "Aardvark").
    WritePrefs("; a comment, lost on saving\r\n[FORMAT]\r\nVersion=1\r\n[zzz]\r\nb=2\r\na=1\r\n"
               "[Aardvark]\r\nx=y\r\n[View]\r\nMode=1\r\nExtra=kept\r\n");
    Preferences p;
    p.Load(folder_);
    ASSERT_TRUE(p.Save(folder_));
    ExpectSaved({"[View]\r\nExtra=kept\r\nMode=1\r\n[zzz]\r\na=1\r\nb=2\r\n",
                 "Last=0.1\r\n[Aardvark]\r\nx=y\r\n[AzimuthDisplay]"});
    EXPECT_EQ(Prefs().find("comment"), std::string::npos);
}

// The safe rewrite itself (a write cut off, the twin at the next start) is
// tested with the places file; here: Save reports a failed replace, and a
// file that cannot be read is not overwritten.
TEST_F(PrefsTest, AFailedReplaceOrAnUnreadableFileKeepsTheOldFile) {
    WritePrefs("[FORMAT]\r\nVersion=1\r\n[View]\r\nMode=3\r\n");
    const std::string before = Prefs();
    Preferences p;
    p.Load(folder_);
    platform_.failReplace = true;
    EXPECT_FALSE(p.Save(folder_));
    EXPECT_EQ(Prefs(), before);

    settings_test::UnreadableFile unreadable(u"prefs.dat");
    unreadable.utc = platform_.utc;
    PL::ScopedPlatform scope(unreadable);
    Preferences q;
    EXPECT_FALSE(q.Load(folder_));
    EXPECT_EQ(q.viewMode, 0);
    EXPECT_FALSE(q.Save(folder_));
    EXPECT_EQ(Prefs(), before);
}
