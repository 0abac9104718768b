// The object chooser driven by real messages: typing into the filter,
// choosing sets and sub-lists, pressing OK, and reading back the rows the
// list view shows and the object the dialog returns.
#include "tests/wine/ui/ui_test_util.h"

#include "app/astroobj_choose.h"
#include "data/messages.h"
#include "data/objectnames.h"
#include "data/starcatalog.h"
#include "data/starlookup.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace UI::AstroObjChooseInternals;
using UI::AstroObjChooseDialog;
using uitest::ScopedLanguage;

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
    void Choose(int id, int index) {
        SendMessageW(Item(id), CB_SETCURSEL, index, 0);
        SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)Item(id));
    }
    void ChooseSet(int index) { Choose(UI::kIdChooseSet, index); }
    int SubList() const { return (int)SendMessageW(Item(UI::kIdChooseSubList), CB_GETCURSEL, 0, 0); }
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
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(Item(UI::kIdChooseList), LVM_SETITEMSTATE, row, (LPARAM)&item);
    }
    void PressOk() { SendMessageW(Item(IDOK), BM_CLICK, 0, 0); }
};

TEST(ChooseMatching, NormalisationFoldsCaseAccentsSpacesAndHyphens) {
    EXPECT_EQ(NormaliseName(u"Ursa-Major"), NormaliseName(u"ursa major"));
    EXPECT_EQ(NormaliseName(u"B\u00f6\u00f6tes\tX\r\n"), u"bootesx");
    EXPECT_EQ(NormaliseName(u"\u00c0\u00e8\u00e9\u00fc\u00c4"), u"aeeua");  // upper case folds first
    EXPECT_EQ(NormaliseName(u"9 \u03b1 CMa|Sirius"), u"9\u03b1cma|sirius");  // other characters stay
    EXPECT_FALSE(NameMatches(u"mars", u"marsx"));
}

// The scripts check the rows as they go; each test also checks how the
// chooser ended, so that one that never opened fails.
TEST(ChooseDialog, StarListsFilterByNameAndConstellation) {
    ScopedLanguage english(0x0409);
    ScriptedChooser d;
    d.script = [](ScriptedChooser& c) {
        c.ChooseSet(1);
        c.Choose(UI::kIdChooseSubList, 1);
        c.Type(u"ori");
        // Every row found by "ori" is a star of Orion or one whose name holds it.
        const std::vector<std::u16string> abbr = c.Column(2), names = c.Column(3);
        const long orion = std::count(abbr.begin(), abbr.end(), u"Ori");
        EXPECT_GE(orion, 20);
        for (size_t i = 0; i < abbr.size(); ++i) {
            if (abbr[i] == u"Ori") continue;
            EXPECT_NE(NormaliseName(names[i]).find(u"ori"), std::u16string::npos) << i;
        }
        SendMessageW(c.Item(IDCANCEL), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(d.Run(nullptr), IDCANCEL);
}

TEST(ChooseDialog, ConstellationsMatchWithAccentsFoldedAndAnEmptyListKeepsTheChoice) {
    ScopedLanguage german(0x0407);
    ScriptedChooser d;
    d.script = [](ScriptedChooser& c) {
        c.ChooseSet(3);
        c.Type(u"BOOTES");
        EXPECT_EQ(c.Column(0), std::vector<std::u16string>{u"Bo\u00f6tes (B\u00e4renh\u00fcter)"});
        c.Type(u"grosserb\u00e4r");  // "Großer Bär": ß stays, ä folds
        EXPECT_EQ(c.Rows(), 0);
        c.PressOk();
    };
    EXPECT_EQ(d.Run(nullptr), IDOK);
    // The one remaining row is chosen without a tap, and an empty list keeps it.
    EXPECT_EQ(d.Selection(), Data::AstroObjRef(Data::kObjConstellation, 8));
}

TEST(ChooseDialog, UserObjectsFilterTheActiveFile) {
    ScopedLanguage english(0x0409);
    ScriptedChooser d;
    d.script = [](ScriptedChooser& c) {
        c.ChooseSet(4);
        EXPECT_EQ(SendMessageW(c.Item(UI::kIdChooseSubList), CB_GETCOUNT, 0, 0), 1);  // the active file: Messier
        c.Type(u"m42");  // the space of "M 42" does not count
        EXPECT_EQ(c.Column(0), std::vector<std::u16string>{u"M 42"});
        c.PressOk();
    };
    EXPECT_EQ(d.Run(nullptr), IDOK);
    EXPECT_EQ(d.Selection(), Data::AstroObjRef(Data::kObjUser, 41, u"Messier"));
}

TEST(ChooseDialog, StarsByNumberNotFoundAndAFoundStar) {
    ScopedLanguage english(0x0409);
    ScriptedChooser d;
    d.script = [](ScriptedChooser& c) {
        c.ChooseSet(2);
        for (const char16_t* number : {u"HR 0", u"TYC 5949--1"}) {
            c.Type(number);
            EXPECT_EQ(c.Rows(), 6) << PL::ToUtf8(number);
            EXPECT_FALSE(c.ListEnabled());
            EXPECT_EQ(c.Cell(5, 0), u"   Star not found") << PL::ToUtf8(number);
        }
        c.Type(u"hip 32349");
        EXPECT_EQ(c.Column(0), std::vector<std::u16string>{u"HR 2491, HIP 32349, TYC 5949-2777-1"});
        EXPECT_TRUE(c.ListEnabled());
        EXPECT_EQ(c.SelectedRow(), 0);
        c.PressOk();
    };
    EXPECT_EQ(d.Run(nullptr), IDOK);
    EXPECT_EQ(d.Selection(), Data::AstroObjRef(Data::kObjStar, Data::HrToStarIndex(2491)));

    // OK on the help rows is no choice: the dialog ends as Cancel.
    ScriptedChooser help;
    help.script = [](ScriptedChooser& c) {
        c.ChooseSet(2);
        c.Type(u"hr 9111");
        c.PressOk();
    };
    const Data::AstroObjRef moon(Data::kObjBody, 1);
    help.SetSelection(moon);
    EXPECT_EQ(help.Run(nullptr), IDCANCEL);
    EXPECT_EQ(help.Selection(), moon);
}

TEST(ChooseDialog, SelectionOpensTheSetAndSubListThatHoldIt) {
    ScopedLanguage english(0x0409);
    const Data::AstroObjRef sirius(Data::kObjStar, Data::HrToStarIndex(2491));
    // Opens the chooser on `o`; `look` sees it open, then OK.
    auto open = [](const Data::AstroObjRef& o, bool constellations, std::function<void(ScriptedChooser&)> look) {
        ScriptedChooser d(constellations);
        d.script = [&](ScriptedChooser& c) {
            look(c);
            c.PressOk();
        };
        d.SetSelection(o);
        EXPECT_EQ(d.Run(nullptr), IDOK);
        return d.Selection();
    };
    // A comet of the second active file: the comet set, that file, its row.
    std::vector<std::u16string> files;
    Data::CometFiles().ListLoadedFiles(files);
    ASSERT_EQ(files.size(), 2u);
    const Data::AstroObjRef comet(Data::kObjComet, 1, files[1]);
    open(comet, true, [&](ScriptedChooser& c) {
        EXPECT_EQ(c.CurrentSetOrder(), 5);
        EXPECT_EQ(c.SubList(), 1);
        EXPECT_EQ(c.SelectedRow(), 1);
        EXPECT_EQ(c.Cell(1, 0), Data::ObjectName(comet));
    });

    // A constellation offered without the constellation set opens the
    // first set, nothing selected; the choice is kept.
    const Data::AstroObjRef lyra(Data::kObjConstellation, 59);
    EXPECT_EQ(open(lyra, false, [](ScriptedChooser& c) {
        EXPECT_EQ(c.CurrentSetOrder(), 0);
        EXPECT_EQ(c.SelectedRow(), -1);
    }), lyra);

    // Setting the selection while open switches the set; tapping a row chooses it.
    EXPECT_EQ(open(Data::AstroObjRef(Data::kObjBody, 0), true, [&](ScriptedChooser& c) {
        c.SetSelection(sirius);
        EXPECT_EQ(c.CurrentSetOrder(), 1);
        EXPECT_EQ(c.SubList(), 0);  // a proper name
        EXPECT_GE(c.SelectedRow(), 0);
        c.ChooseSet(0);
        c.ClickRow(6);
    }), Data::AstroObjRef(Data::kObjBody, 6));
}

}  // namespace
