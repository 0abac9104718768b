// Items that draw themselves: texts, bitmaps, image-list glyphs and rules,
// and the walk that draws a whole tree.
#pragma once

#include "layout/core/layout.h"
#include "winlib/win32.h"

#include <commctrl.h>

#include <string>

namespace UI {
namespace Layout {

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
// the bitmap and the context.
class BitmapItem : public ItemBase, public DrawableItem {
public:
    BitmapItem(HDC memoryDc, bool owns);
    // A memory context of its own for a bitmap (deleted with the item when `ownsBitmap`).
    static BitmapItem* FromBitmap(HBITMAP bitmap, bool ownsBitmap);
    ~BitmapItem() override;
    BitmapItem(const BitmapItem&) = delete;
    BitmapItem& operator=(const BitmapItem&) = delete;

    void GetSize(int32_t& width, int32_t& height) override;
    void Draw(HDC dc) override;

private:
    HDC dc_;
    HBITMAP bitmap_;
    bool owns_;
    bool ownsDc_ = false;
    int32_t width_ = 0;
    int32_t height_ = 0;
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

// A horizontal rule across its cell, in the window-text colour.
class SeparatorLineItem : public Layout::ItemBase, public Layout::DrawableItem {
public:
    explicit SeparatorLineItem(int32_t minWidth = 0) : minWidth_(minWidth) {}
    void GetSize(int32_t& width, int32_t& height) override;
    void Draw(HDC dc) override;

private:
    int32_t minWidth_;
};

}  // namespace ObjInfo
}  // namespace UI
