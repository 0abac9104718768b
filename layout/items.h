// Items that draw themselves: texts, bitmaps, image-list glyphs and rules,
// and the walk that draws a whole tree.
#pragma once

#include "layout/core/layout.h"
#include "winlib/ui_style.h"
#include "winlib/win32.h"

#include <commctrl.h>

#include <string>

namespace UI {
namespace Layout {

// The colour that pictures drawn for bitmap items leave see-through: the
// same magenta as the toolbar's button strips.
constexpr COLORREF kMagenta = kButtonMask;

class DrawableItem : public virtual ILayoutItem {
public:
    virtual void Draw(HDC dc) = 0;
};

// A text in a font and colour; its wanted size is the text's extent, cut to
// the maximum width and height (0: no maximum).
class TextItem : public ItemBase, public DrawableItem {
public:
    TextItem(std::u16string text, HFONT font, COLORREF colour, int32_t maxWidth = 0, int32_t maxHeight = 0,
             UINT format = DT_NOPREFIX);

    void SetText(const std::u16string& text) { text_ = text; }
    const std::u16string& Text() const { return text_; }
    void SetColour(COLORREF colour) { colour_ = colour; }
    COLORREF Colour() const { return colour_; }

    void GetSize(int32_t& width, int32_t& height) override;
    void Draw(HDC dc) override;

private:
    std::u16string text_;
    HFONT font_;
    COLORREF colour_;
    int32_t maxWidth_;
    int32_t maxHeight_;
    UINT format_;
};

// The bitmap selected into a memory context. With `owns` the item deletes
// the bitmap and the context. Pixels of the transparent colour (CLR_NONE:
// none; pictures use kMagenta) let the background show through.
class BitmapItem : public ItemBase, public DrawableItem {
public:
    BitmapItem(HDC memoryDc, bool owns, COLORREF transparent = CLR_NONE);
    // A memory context of its own for a bitmap (deleted with the item when
    // `ownsBitmap`). A null bitmap gives an empty item that draws nothing.
    static BitmapItem* FromBitmap(HBITMAP bitmap, bool ownsBitmap, COLORREF transparent = CLR_NONE);
    ~BitmapItem() override;
    BitmapItem(const BitmapItem&) = delete;
    BitmapItem& operator=(const BitmapItem&) = delete;

    void SetTransparentColor(COLORREF colour) { transparent_ = colour; }
    COLORREF TransparentColor() const { return transparent_; }

    void GetSize(int32_t& width, int32_t& height) override;
    void Draw(HDC dc) override;

private:
    HDC dc_;
    HBITMAP bitmap_;
    bool owns_;
    bool ownsDc_ = false;
    COLORREF transparent_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// What makes an item act on a tap: pressed, it arms; the stylus leaving
// disarms it and coming back arms it again; lifted while armed, it fires
// (the item returns itself from HandleEvent, so the table control's
// notification names it, with its id). A lost capture fires nothing.
class Clickable {
public:
    explicit Clickable(int id) : id_(id) {}
    virtual ~Clickable() = default;
    int ClickId() const { return id_; }
    bool Armed() const { return state_ == kArmed; }

protected:
    // Follows one event; true when the item fires.
    bool FollowTap(int event);

private:
    enum { kIdle, kArmed, kOutside };
    int id_;
    int state_ = kIdle;
};

// A text that reports taps on itself (panel lines, links of a page). While
// pressed it is drawn highlighted.
class ClickableTextItem : public TextItem, public Clickable {
public:
    ClickableTextItem(int id, std::u16string text, HFONT font, COLORREF colour, int32_t maxWidth = 0,
                      int32_t maxHeight = 0, UINT format = DT_NOPREFIX);
    ILayoutItem* HandleEvent(const Position& p, int event) override;
    void Draw(HDC dc) override;
};

// Draws every drawable item of a tree that meets the clipping rectangle.
void DrawRecursive(LayoutManager& manager, HDC dc, const Rect& clip);

}  // namespace Layout

// One glyph of an image list (a monochrome strip's list draws it in its ink).
class MonochromeImageListItem : public Layout::ItemBase, public Layout::DrawableItem {
public:
    MonochromeImageListItem(HIMAGELIST list, int index) : list_(list), index_(index) {}
    void SetIndex(int index) { index_ = index; }
    void GetSize(int32_t& width, int32_t& height) override;
    void Draw(HDC dc) override;

private:
    HIMAGELIST list_;
    int index_;
};

namespace ObjInfo {

// A horizontal rule of a line width and colour (kDefaultColor: the window
// text colour), centred in its cell across the cell's whole width.
class SeparatorLineItem : public Layout::ItemBase, public Layout::DrawableItem {
public:
    explicit SeparatorLineItem(int32_t lineWidth = 1, COLORREF colour = kDefaultColor, int32_t minLength = 0)
        : lineWidth_(lineWidth < 1 ? 1 : lineWidth), colour_(colour), minLength_(minLength) {}
    void GetSize(int32_t& width, int32_t& height) override;
    void Draw(HDC dc) override;

private:
    int32_t lineWidth_;
    COLORREF colour_;
    int32_t minLength_;
};

}  // namespace ObjInfo
}  // namespace UI
