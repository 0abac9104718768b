// The object chooser: the user picks a category of objects (a "set"), maybe
// one of its sub-lists (a star list, an object file), types a filter and
// picks a row of a virtual list. The sky view searches objects with it, the
// compass view and its object dialog choose targets, the info dialog
// another object to show.
#pragma once

#include "data/objects.h"
#include "data/starlookup.h"
#include "winlib/controls.h"
#include "winlib/titled_dialog.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace UI {

// Control ids of "ASTROOBJ_CHOOSE_DIALOG".
enum AstroObjChooseControl : int {
    kIdChooseList = 1024,    // the matching objects (virtual list view)
    kIdChooseSet = 1025,     // the sets offered
    kIdChooseSubList = 1026, // the current set's sub-lists
    kIdChooseFilter = 1027,  // the filter text
    kIdChooseFilterLabel = 1028,
};
constexpr int kChooseFilterMaxChars = 40;

namespace AstroObjChooseInternals {

// Lower-cases (the platform's lower-casing), folds à ä -> a, è é -> e,
// ö -> o, ü -> u and drops tabs, line ends, spaces and hyphens, so that
// "Ursa-Major", "ursa major" and "URSAMAJOR" compare equal.
std::u16string NormaliseName(const std::u16string& text);
// Whether a candidate's normalised name contains the normalised filter
// (an empty filter matches everything).
bool NameMatches(const std::u16string& normalisedName, const std::u16string& normalisedFilter);

// One category of objects. Each set keeps the rows of its last filter.
class ChooseSet {
public:
    virtual ~ChooseSet() = default;
    // Whether the object belongs to this set.
    virtual bool Accepts(const Data::AstroObjRef& object) const = 0;
    virtual std::u16string Name() const = 0;
    // Sub-list entry `index`; an empty text ends the list.
    virtual std::u16string SubListEntry(int index) const { return std::u16string(); }
    // Relative column widths, ended by 0.
    virtual std::vector<int> ColumnWidths() const = 0;
    // The icon strip of the rows, or none (the set owns it).
    virtual HIMAGELIST ImageList() { return nullptr; }
    // The rows matching a filter in a sub-list: their count, or -n for n
    // rows of explanatory text (the list is then disabled).
    virtual int Filter(int subList, const std::u16string& filter) = 0;
    // The row of an object among the last filter's rows, or -1.
    virtual int IndexOf(const Data::AstroObjRef& object) const = 0;
    // The sub-list that holds an object.
    virtual int SubListOf(const Data::AstroObjRef& object) const { return 0; }
    virtual std::u16string RowText(int row, int column) const = 0;
    virtual int RowImage(int row) const { return -1; }
    virtual Data::AstroObjRef RowObject(int row) const = 0;
};

// The Sun, the Moon, the planets and Pluto.
class ChooseSetPlanets : public ChooseSet {
public:
    ~ChooseSetPlanets() override;
    bool Accepts(const Data::AstroObjRef& object) const override;
    std::u16string Name() const override;
    std::vector<int> ColumnWidths() const override { return {1, 0}; }
    HIMAGELIST ImageList() override;
    int Filter(int subList, const std::u16string& filter) override;
    int IndexOf(const Data::AstroObjRef& object) const override;
    std::u16string RowText(int row, int column) const override;
    int RowImage(int row) const override;
    Data::AstroObjRef RowObject(int row) const override;

private:
    std::vector<int> rows_;  // body indexes
    HIMAGELIST images_ = nullptr;
};

// The named bright stars: proper names, Bayer and Flamsteed designations.
class ChooseSetStars : public ChooseSet {
public:
    static constexpr int kMaxRows = 3000;
    bool Accepts(const Data::AstroObjRef& object) const override;
    std::u16string Name() const override;
    std::u16string SubListEntry(int index) const override;
    std::vector<int> ColumnWidths() const override { return {3, 3, 4, 16, 0}; }
    int Filter(int subList, const std::u16string& filter) override;
    int IndexOf(const Data::AstroObjRef& object) const override;
    int SubListOf(const Data::AstroObjRef& object) const override;
    std::u16string RowText(int row, int column) const override;
    Data::AstroObjRef RowObject(int row) const override;

    // One star of a list, its designations decoded once.
    struct Entry {
        Data::StarNumber star = Data::kNoStar;
        uint8_t letter = 0, digit = 0, flamsteed = 0, constellation = 0;
        uint16_t properName = 0;
        std::u16string match;  // the normalised match text
    };
    // The stars of sub-list 0..2, built on first use.
    const std::vector<Entry>& List(int subList) const;

private:
    std::vector<const Entry*> rows_;
    mutable std::vector<Entry> lists_[3];
    mutable bool built_[3] = {};
};

// One star found by its HR, HIP or TYC number.
class ChooseSetStarsByNumber : public ChooseSet {
public:
    bool Accepts(const Data::AstroObjRef&) const override { return false; }
    std::u16string Name() const override;
    std::vector<int> ColumnWidths() const override { return {1, 0}; }
    int Filter(int subList, const std::u16string& filter) override;
    int IndexOf(const Data::AstroObjRef& object) const override;
    std::u16string RowText(int row, int column) const override;
    Data::AstroObjRef RowObject(int row) const override;

private:
    Data::StarNumberList list_;
    int count_ = 0;
};

// The 88 constellations, by Latin or common name.
class ChooseSetConstellations : public ChooseSet {
public:
    bool Accepts(const Data::AstroObjRef& object) const override;
    std::u16string Name() const override;
    std::vector<int> ColumnWidths() const override { return {1, 0}; }
    int Filter(int subList, const std::u16string& filter) override;
    int IndexOf(const Data::AstroObjRef& object) const override;
    std::u16string RowText(int row, int column) const override;
    Data::AstroObjRef RowObject(int row) const override;

private:
    std::vector<int> rows_;
};

// The objects of the active user-object files (kind 5) or comet files
// (kind 6), one file per sub-list.
class ChooseSetFileObjects : public ChooseSet {
public:
    explicit ChooseSetFileObjects(uint32_t kind) : kind_(kind) {}
    ~ChooseSetFileObjects() override;
    bool Accepts(const Data::AstroObjRef& object) const override;
    std::u16string SubListEntry(int index) const override;
    std::vector<int> ColumnWidths() const override { return {1, 0}; }
    HIMAGELIST ImageList() override;
    int Filter(int subList, const std::u16string& filter) override;
    int IndexOf(const Data::AstroObjRef& object) const override;
    int SubListOf(const Data::AstroObjRef& object) const override;
    std::u16string RowText(int row, int column) const override;
    int RowImage(int row) const override;
    Data::AstroObjRef RowObject(int row) const override;

protected:
    // The active files, in order.
    std::vector<std::u16string> Files() const;
    virtual const char16_t* StripName() const = 0;

    uint32_t kind_;
    std::u16string file_;
    std::vector<int> rows_;
    HIMAGELIST images_ = nullptr;
};

class ChooseSetUserObjects : public ChooseSetFileObjects {
public:
    ChooseSetUserObjects() : ChooseSetFileObjects(Data::kObjUser) {}
    std::u16string Name() const override;

protected:
    const char16_t* StripName() const override { return u"objects"; }
};

class ChooseSetComets : public ChooseSetFileObjects {
public:
    ChooseSetComets() : ChooseSetFileObjects(Data::kObjComet) {}
    std::u16string Name() const override;

protected:
    const char16_t* StripName() const override { return u"asteroidsComets"; }
};

// The six sets of the process, made on first use, in their order: planets,
// stars, stars by number, constellations, user objects, comets.
constexpr int kChooseSetCount = 6;
constexpr int kConstellationSetOrder = 3;
ChooseSet& ChooseSetAt(int order);

}  // namespace AstroObjChooseInternals

class AstroObjChooseDialog : public TitledDialog {
public:
    explicit AstroObjChooseDialog(bool withConstellations = true);
    ~AstroObjChooseDialog() override;

    // The selection; while the dialog is open this also switches to the set
    // that accepts it.
    void SetSelection(const Data::AstroObjRef& object);
    const Data::AstroObjRef& Selection() const { return selection_; }
    // Runs the dialog; 1 for OK.
    INT_PTR Run(HWND owner) { return DoModal(owner); }

    // For tests and the sky view: the state of the open dialog.
    int CurrentSetOrder() const;
    int RowCount() const { return rowCount_; }
    size_t OfferedSetCount() const { return sets_.size(); }

    void OnCreate() override;
    void OnDestroy() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

private:
    void SelectSetFor(const Data::AstroObjRef& object);
    void Rebuild();
    void Refilter();
    void LayOut();
    void Activate(int row);

    std::vector<AstroObjChooseInternals::ChooseSet*> sets_;
    AstroObjChooseInternals::ChooseSet* current_ = nullptr;
    Data::AstroObjRef selection_;
    int rowCount_ = 0;
    bool listEnabled_ = true;
    bool filling_ = false;  // the dialog changes the controls itself
    std::u16string buffers_[4];
    int nextBuffer_ = 0;
    mwcl::ComboBox setBox_;
    mwcl::ComboBox subListBox_;
    mwcl::EditControl filter_;
    mwcl::ListView list_;
};

// The chooser for an object: offers the constellations or not; true (and
// the object replaced) only on OK with something chosen.
bool ChooseAstroObject(HWND owner, Data::AstroObjRef& object, bool withConstellations);

}  // namespace UI
