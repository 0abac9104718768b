// Dialogs that carry their title inside: a strip of text with a rule under it
// at the top of the dialog, and clickable link texts.
#pragma once

#include "winlib/mwcl.h"

#include <string>
#include <utility>
#include <vector>

namespace UI {

// WM_NOTIFY record of a tap on the title strip: code 1, and the button
// message (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, ...).
struct TitleTapNotification {
    NMHDR hdr;
    UINT message;
};
constexpr UINT kTitleTapCode = 1;

class DialogTitleControl : public mwcl::Control {
public:
    // Creates the strip at the top of a dialog; returns its height in pixels.
    int Create(HWND dialog, int id, const std::u16string& title);
    void SetTitle(const std::u16string& title);
    const std::u16string& Title() const { return title_; }
    int RuleY() const { return ruleY_; }
    const RECT& TextRect() const { return textRect_; }

    void HandleMessage(mwcl::MessageRecord& m) override;

private:
    void Paint();
    using mwcl::Control::Create;

    std::u16string title_;
    RECT margins_{};   // left, top, right, bottom
    RECT textRect_{};
    int ruleY_ = 0;
};

class TitledDialog : public mwcl::Dialog {
public:
    explicit TitledDialog(const mwcl::ResourceName& templateName, HINSTANCE instance = nullptr);
    ~TitledDialog() override;

    // A title of the program's own instead of the template's caption.
    void SetTitle(const std::u16string& title);
    const std::u16string& Title() const { return title_; }
    // The strip's height: the dialog's own controls go below it.
    int TitleHeight() const { return titleHeight_; }
    HWND TitleControl() const { return titleControl_.GetHandle(); }
    // The static controls shown as links in this run of the dialog.
    size_t LinkCount() const { return links_.size(); }

    // Shows a static control as a link: its font underlined, its text in the
    // link colour; it reports taps (STN_CLICKED). The underlined fonts live
    // until the dialog closes.
    void MakeLink(HWND control);
    // Moves every control down so that the highest starts below the strip,
    // growing the dialog by as much (for templates drawn from the top edge).
    void MoveControlsBelowTitle();

    void OnCreate() override;
    void OnDestroy() override;
    void HandleMessage(mwcl::MessageRecord& m) override;

protected:
    std::u16string title_;
    bool titleSet_ = false;
    DialogTitleControl titleControl_;
    int titleHeight_ = 0;

private:
    struct Link {
        HWND control;
        HFONT original;  // given back when the dialog closes
    };
    void DropCaption();
    bool IsLink(HWND control) const;
    void ReleaseLinks();

    std::vector<Link> links_;
    std::vector<std::pair<HFONT, HFONT>> linkFonts_;  // a link's own font, its underlined twin
};

}  // namespace UI
