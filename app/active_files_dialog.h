// The active files dialog: every user-object file (".puo") or comet and
// asteroid file (".pco") in the program folder and the data folder, with a
// check box that loads or unloads it at once.
#pragma once

#include "winlib/controls.h"
#include "winlib/titled_dialog.h"

#include <string>
#include <vector>

namespace UI {

class ActiveFilesDialog : public TitledDialog {
public:
    ActiveFilesDialog();

    void OnCreate() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

    // The file names in row order and whether the comet files are shown (tests).
    const std::vector<std::u16string>& Names() const { return names_; }
    bool ShowsComets() const { return comets_; }

private:
    void FillList();
    void Toggle(int row, bool checked);
    void Layout();

    bool comets_ = false;
    bool filling_ = false;
    std::vector<std::u16string> names_;
    mwcl::RadioButton objects_, cometsButton_;
    mwcl::ListView list_;
};

}  // namespace UI
