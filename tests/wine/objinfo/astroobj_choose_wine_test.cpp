// The object chooser driven by real messages: typing into the filter,
// choosing sets and sub-lists, pressing OK, and reading back the rows the
// list view shows and the object the dialog returns.
#include "tests/wine/winelib_gtest.h"

#include "app/astroobj_choose.h"
#include "data/messages.h"
#include "data/objectnames.h"
#include "data/starcatalog.h"
#include "data/starlookup.h"
#include "winlib/wstr.h"

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace UI::AstroObjChooseInternals;
using UI::AstroObjChooseDialog;

class ScopedLanguage {
public:
    explicit ScopedLanguage(uint16_t id) { Data::SetUserLangId(id); }
    ~ScopedLanguage() { Data::SetUserLangId(0); }
};

// The chooser with a script that runs once it is open; the script ends it.
class ScriptedChooser : public AstroObjChooseDialog {
public:
    using AstroObjChooseDialog::AstroObjChooseDialog;
    std::function<void(ScriptedChooser&)> script;
    void OnCreate() override {
        AstroObjChooseDialog::OnCreate();
        if (script) script(*this);
    }

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    void Type(const std::u16string& text) { SendMessageW(Item(UI::kIdChooseFilter), WM_SETTEXT, 0, (LPARAM)W(text.c_str())); }
    void ChooseSet(int index) {
        SendMessageW(Item(UI::kIdChooseSet), CB_SETCURSEL, index, 0);
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(UI::kIdChooseSet, CBN_SELCHANGE), (LPARAM)Item(UI::kIdChooseSet));
    }
    void ChooseSubList(int index) {
        SendMessageW(Item(UI::kIdChooseSubList), CB_SETCURSEL, index, 0);
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(UI::kIdChooseSubList, CBN_SELCHANGE),
                     (LPARAM)Item(UI::kIdChooseSubList));
    }
    int SubList() const { return (int)SendMessageW(Item(UI::kIdChooseSubList), CB_GETCURSEL, 0, 0); }
    bool SubListShown() const { return (GetWindowLongW(Item(UI::kIdChooseSubList), GWL_STYLE) & WS_VISIBLE) != 0; }
    int Rows() const { return (int)SendMessageW(Item(UI::kIdChooseList), LVM_GETITEMCOUNT, 0, 0); }
    bool ListEnabled() const { return IsWindowEnabled(Item(UI::kIdChooseList)) != FALSE; }
    int SelectedRow() const { return (int)SendMessageW(Item(UI::kIdChooseList), LVM_GETNEXTITEM, -1, LVNI_SELECTED); }
    // The text the list view shows in a cell (asked through the list, as it draws).
    std::u16string Cell(int row, int column) const {
        char16_t buf[256] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = W(buf);
        item.cchTextMax = 256;
        SendMessageW(Item(UI::kIdChooseList), LVM_GETITEMTEXTW, row, (LPARAM)&item);
        return buf;
    }
    std::vector<std::u16string> Column(int column) const {
        std::vector<std::u16string> v;
        for (int r = 0; r < Rows(); ++r) v.push_back(Cell(r, column));
        return v;
    }
    void ClickRow(int row) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(Item(UI::kIdChooseList), LVM_SETITEMSTATE, row, (LPARAM)&item);
    }
    void PressOk() { SendMessageW(Item(IDOK), BM_CLICK, 0, 0); }
};

bool Contains(const std::vector<std::u16string>& v, const std::u16string& s) {
    for (const auto& x : v) {
        if (x == s) return true;
    }
    return false;
}

TEST(ChooseMatching, NormalisationFoldsCaseAccentsSpacesAndHyphens) {
    EXPECT_EQ(NormaliseName(u"Ursa-Major"), NormaliseName(u"ursa major"));
    EXPECT_EQ(NormaliseName(u"B\u00f6\u00f6tes\tX\r\n"), u"bootesx");
    EXPECT_EQ(NormaliseName(u"\u00c0\u00e8\u00e9\u00fc\u00c4"), u"aeeua");  // upper case folds first
    EXPECT_EQ(NormaliseName(u"9 \u03b1 CMa|Sirius"), u"9\u03b1cma|sirius");  // other characters stay
    EXPECT_TRUE(NameMatches(u"saturn", u""));
    EXPECT_FALSE(NameMatches(u"mars", u"marsx"));
}

TEST(ChooseDialog, PlanetsFilterAndAnEmptyResultKeepsThePreviousChoice) {
    ScopedLanguage english(0x0409);
    ScriptedChooser d;
    std::vector<std::u16string> ur;
    int emptyRows = -1;
    bool emptyEnabled = false;
    d.script = [&](ScriptedChooser& c) {
        c.Type(u"ur");
        ur = c.Column(0);
        c.Type(u"zzz");
        emptyRows = c.Rows();
        emptyEnabled = c.ListEnabled();
        c.PressOk();
    };
    d.SetSelection(Data::AstroObjRef(Data::kObjBody, 4));  // Mars
    EXPECT_EQ(d.Run(nullptr), IDOK);
    EXPECT_EQ(ur, (std::vector<std::u16string>{u"Mercury", u"Saturn", u"Uranus"}));
    EXPECT_EQ(emptyRows, 0);
    EXPECT_TRUE(emptyEnabled);
    EXPECT_EQ(d.Selection(), Data::AstroObjRef(Data::kObjBody, 4));
    EXPECT_EQ(d.OfferedSetCount(), 6u);
}

TEST(ChooseDialog, StarListsFilterByNameAndConstellation) {
    ScopedLanguage english(0x0409);
    ScriptedChooser d;
    std::vector<std::u16string> names, bayerAbbr, bayerNames, bayerLetters;
    bool subShown = false;
    int betRows = 0;
    d.script = [&](ScriptedChooser& c) {
        c.ChooseSet(1);
        subShown = c.SubListShown();
        c.Type(u"bet");
        betRows = c.Rows();
        names = c.Column(3);
        c.ChooseSubList(1);
        c.Type(u"ori");
        bayerAbbr = c.Column(2);
        bayerNames = c.Column(3);
        bayerLetters = c.Column(1);
        SendMessageW(c.Item(IDCANCEL), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(d.Run(nullptr), IDCANCEL);
    EXPECT_TRUE(subShown);
    EXPECT_TRUE(Contains(names, u"Betelgeuse"));
    EXPECT_EQ(betRows, static_cast<int>(names.size()));
    // Every row found by "ori" is a star of Orion or one whose name holds it.
    ASSERT_GE(bayerAbbr.size(), 20u);
    int orion = 0;
    for (size_t i = 0; i < bayerAbbr.size(); ++i) {
        if (bayerAbbr[i] == u"Ori") {
            ++orion;
        } else {
            EXPECT_NE(NormaliseName(bayerNames[i]).find(u"ori"), std::u16string::npos) << i;
        }
    }
    EXPECT_GE(orion, 20);
    EXPECT_TRUE(Contains(bayerLetters, u"\u03b1"));  // Betelgeuse, alpha Ori
}

TEST(ChooseDialog, ConstellationsMatchLatinAndCommonNamesAndAccents) {
    ScopedLanguage german(0x0407);
    ScriptedChooser d;
    std::vector<std::u16string> uma, boo, bear;
    d.script = [&](ScriptedChooser& c) {
        c.ChooseSet(3);
        c.Type(u"Ursa-Major");
        uma = c.Column(0);
        c.Type(u"BOOTES");
        boo = c.Column(0);
        c.Type(u"grosserb\u00e4r");  // "Großer Bär": ß stays, ä folds
        bear = c.Column(0);
        c.PressOk();
    };
    EXPECT_EQ(d.Run(nullptr), IDOK);
    EXPECT_EQ(uma, std::vector<std::u16string>{u"Ursa Major (Gro\u00dfer B\u00e4r)"});
    EXPECT_EQ(boo, std::vector<std::u16string>{u"Bo\u00f6tes (B\u00e4renh\u00fcter)"});
    EXPECT_TRUE(bear.empty());
    // The one remaining row is chosen without a tap.
    EXPECT_EQ(d.Selection(), Data::AstroObjRef(Data::kObjConstellation, 8));
}

TEST(ChooseDialog, UserObjectsFilterTheChosenFileWithIcons) {
    ScopedLanguage english(0x0409);
    ScriptedChooser d;
    std::vector<std::u16string> rows, files;
    int image = -2;
    d.script = [&](ScriptedChooser& c) {
        c.ChooseSet(4);
        for (int i = 0; i < (int)SendMessageW(c.Item(UI::kIdChooseSubList), CB_GETCOUNT, 0, 0); ++i)
            files.push_back(c.SubList() == i ? u"*" : u"");
        c.Type(u"m42");  // the space of "M 42" does not count
        rows = c.Column(0);
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = 0;
        SendMessageW(c.Item(UI::kIdChooseList), LVM_GETITEMW, 0, (LPARAM)&item);
        image = item.iImage;
        c.PressOk();
    };
    EXPECT_EQ(d.Run(nullptr), IDOK);
    EXPECT_EQ(files.size(), 1u);  // one active user-object file: Messier
    EXPECT_EQ(rows, std::vector<std::u16string>{u"M 42"});
    EXPECT_EQ(image, 3);  // the symbol of its record
    EXPECT_EQ(d.Selection(), Data::AstroObjRef(Data::kObjUser, 41, u"Messier"));
}

TEST(ChooseDialog, StarsByNumberHelpRowsNotFoundAndAFoundStar) {
    ScopedLanguage english(0x0409);
    struct Look {
        int rows;
        bool enabled;
        std::u16string first, last;
    };
    std::vector<Look> looks;
    auto look = [&](ScriptedChooser& c) {
        looks.push_back({c.Rows(), c.ListEnabled(), c.Cell(0, 0), c.Cell(c.Rows() - 1, 0)});
    };
    ScriptedChooser d;
    int selected = -2;
    d.script = [&](ScriptedChooser& c) {
        c.ChooseSet(2);
        c.Type(u"HR");
        look(c);
        c.Type(u"HR 0");
        look(c);
        c.Type(u"TYC 5949--1");
        look(c);
        c.Type(u"hip 32349");
        look(c);
        selected = c.SelectedRow();
        c.PressOk();
    };
    EXPECT_EQ(d.Run(nullptr), IDOK);
    ASSERT_EQ(looks.size(), 4u);
    EXPECT_EQ(looks[0].rows, 4);
    EXPECT_FALSE(looks[0].enabled);
    EXPECT_EQ(looks[0].first, u"Enter star number like");
    EXPECT_EQ(looks[0].last, u"\"TYC 1234-12345-1\" for Tycho-2 Nr");
    for (int i : {1, 2}) {
        EXPECT_EQ(looks[i].rows, 6) << i;
        EXPECT_FALSE(looks[i].enabled) << i;
        EXPECT_EQ(looks[i].last, u"   Star not found") << i;
    }
    EXPECT_EQ(looks[3].rows, 1);
    EXPECT_TRUE(looks[3].enabled);
    EXPECT_EQ(looks[3].first, u"HR 2491, HIP 32349, TYC 5949-2777-1");
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(d.Selection(), Data::AstroObjRef(Data::kObjStar, Data::HrToStarIndex(2491)));

    // OK on the help rows is no choice: the dialog ends as Cancel.
    ScriptedChooser help;
    help.script = [](ScriptedChooser& c) {
        c.ChooseSet(2);
        c.Type(u"hr 9111");
        c.PressOk();
    };
    Data::AstroObjRef object(Data::kObjBody, 1);
    help.SetSelection(object);
    EXPECT_EQ(help.Run(nullptr), IDCANCEL);
    EXPECT_EQ(help.Selection(), object);
}

TEST(ChooseDialog, SelectionOpensTheSetAndSubListThatHoldIt) {
    ScopedLanguage english(0x0409);
    const Data::StarNumber sirius = Data::HrToStarIndex(2491);
    struct Seen {
        int set, sub, selectedRow;
        std::u16string selectedText;
    };
    auto open = [](const Data::AstroObjRef& o, bool constellations, Seen& seen,
                   std::function<void(ScriptedChooser&)> more = nullptr) {
        ScriptedChooser d(constellations);
        d.script = [&](ScriptedChooser& c) {
            seen.set = c.CurrentSetOrder();
            seen.sub = c.SubListShown() ? c.SubList() : -1;
            seen.selectedRow = c.SelectedRow();
            seen.selectedText = seen.selectedRow >= 0 ? c.Cell(seen.selectedRow, 0) : std::u16string();
            if (more) more(c);
            c.PressOk();
        };
        d.SetSelection(o);
        d.Run(nullptr);
        return d.Selection();
    };
    Seen s{};
    open(Data::AstroObjRef(Data::kObjStar, sirius), true, s);
    EXPECT_EQ(s.set, 1);
    EXPECT_EQ(s.sub, 0);  // a proper name
    EXPECT_GE(s.selectedRow, 0);

    // A comet of the second active file: the comet set, that file, its row.
    std::vector<std::u16string> files;
    Data::CometFiles().ListLoadedFiles(files);
    ASSERT_EQ(files.size(), 2u);
    const Data::AstroObjRef comet(Data::kObjComet, 1, files[1]);
    open(comet, true, s);
    EXPECT_EQ(s.set, 5);
    EXPECT_EQ(s.sub, 1);
    EXPECT_EQ(s.selectedRow, 1);
    EXPECT_EQ(s.selectedText, Data::ObjectName(comet));

    // A constellation offered without the constellation set opens the
    // first set, nothing selected; the choice is kept.
    EXPECT_EQ(open(Data::AstroObjRef(Data::kObjConstellation, 59), false, s), Data::AstroObjRef(Data::kObjConstellation, 59));
    EXPECT_EQ(s.set, 0);
    EXPECT_EQ(s.selectedRow, -1);

    // Setting the selection while open switches the set; tapping a row chooses it.
    Data::AstroObjRef chosen = open(Data::AstroObjRef(Data::kObjBody, 0), true, s, [&](ScriptedChooser& c) {
        c.SetSelection(Data::AstroObjRef(Data::kObjStar, sirius));
        EXPECT_EQ(c.CurrentSetOrder(), 1);
        EXPECT_EQ(c.SubList(), 0);
        c.ChooseSet(0);
        c.ClickRow(6);
    });
    EXPECT_EQ(chosen, Data::AstroObjRef(Data::kObjBody, 6));
}

}  // namespace
