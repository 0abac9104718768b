#include "layout/items.h"

#include "winlib/mwcl.h"
#include "winlib/wstr.h"

#include <algorithm>

namespace UI {
namespace Layout {

// --- texts ----------------------------------------------------------------------------

TextItem::TextItem(std::u16string text, HFONT font, COLORREF colour, int32_t maxWidth, int32_t maxHeight, UINT format)
    : text_(std::move(text)), font_(font), colour_(colour), maxWidth_(maxWidth), maxHeight_(maxHeight), format_(format) {}

void TextItem::GetSize(int32_t& width, int32_t& height) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = font_ ? SelectObject(dc, font_) : nullptr;
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, W(text_), static_cast<int>(text_.size()), &r, (format_ & ~static_cast<UINT>(DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
    if (old) SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    width = r.right - r.left;
    height = r.bottom - r.top;
    if (maxWidth_ > 0) width = std::min(width, maxWidth_);
    if (maxHeight_ > 0) height = std::min(height, maxHeight_);
}

void TextItem::Draw(HDC dc) {
    RECT r{rect_.x, rect_.y, rect_.x + rect_.width, rect_.y + rect_.height};
    if (maxWidth_ > 0) r.right = std::min<LONG>(r.right, r.left + maxWidth_);
    if (maxHeight_ > 0) r.bottom = std::min<LONG>(r.bottom, r.top + maxHeight_);
    HGDIOBJ oldFont = font_ ? SelectObject(dc, font_) : nullptr;
    const COLORREF oldColour = SetTextColor(dc, colour_);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, W(text_), static_cast<int>(text_.size()), &r, format_);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
    if (oldFont) SelectObject(dc, oldFont);
}

// --- bitmaps --------------------------------------------------------------------------------

BitmapItem::BitmapItem(HDC memoryDc, bool owns, COLORREF transparent)
    : dc_(memoryDc), bitmap_(nullptr), owns_(owns), transparent_(transparent) {
    // Only a memory context holds a bitmap of its own to draw from (a screen
    // or window context answers with a stand-in, and so would a null one).
    if (!dc_ || GetObjectType(dc_) != OBJ_MEMDC) mwcl::FatalError(u"No bitmap selected in DC");
    bitmap_ = static_cast<HBITMAP>(GetCurrentObject(dc_, OBJ_BITMAP));
    BITMAP bm{};
    if (!GetObjectW(bitmap_, sizeof bm, &bm)) mwcl::FatalError(u"GetObject for bitmap failed.");
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
}

BitmapItem* BitmapItem::FromBitmap(HBITMAP bitmap, bool ownsBitmap, COLORREF transparent) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (bitmap) SelectObject(dc, bitmap);
    BitmapItem* item = new BitmapItem(dc, ownsBitmap && bitmap, transparent);
    item->ownsDc_ = true;
    if (!bitmap) item->width_ = item->height_ = 0;  // the context's stand-in is no picture
    return item;
}

BitmapItem::~BitmapItem() {
    if (owns_ || ownsDc_) {
        // Take the bitmap out before deleting either.
        HBITMAP stock = CreateBitmap(1, 1, 1, 1, nullptr);
        SelectObject(dc_, stock);
        if (owns_) DeleteObject(bitmap_);
        DeleteDC(dc_);
        DeleteObject(stock);
    }
}

void BitmapItem::GetSize(int32_t& width, int32_t& height) {
    width = width_;
    height = height_;
}

void BitmapItem::Draw(HDC dc) {
    const int w = std::min(rect_.width, width_), h = std::min(rect_.height, height_);
    if (w <= 0 || h <= 0) return;
    if (transparent_ == CLR_NONE)
        BitBlt(dc, rect_.x, rect_.y, w, h, dc_, 0, 0, SRCCOPY);
    else
        GdiTransparentBlt(dc, rect_.x, rect_.y, w, h, dc_, 0, 0, w, h, transparent_);
}

// --- clickable items ------------------------------------------------------------------------

bool Clickable::FollowTap(int event) {
    switch (event) {
    case kEventPress:
        state_ = kArmed;
        return false;
    case kEventLeave:
        if (state_ == kArmed) state_ = kOutside;
        return false;
    case kEventEnter:
        if (state_ == kOutside) state_ = kArmed;
        return false;
    case kEventRelease: {
        const bool fires = state_ == kArmed;
        state_ = kIdle;
        return fires;
    }
    case kEventCancel:
        state_ = kIdle;
        return false;
    default:
        return false;
    }
}

ClickableTextItem::ClickableTextItem(int id, std::u16string text, HFONT font, COLORREF colour, int32_t maxWidth,
                                     int32_t maxHeight, UINT format)
    : TextItem(std::move(text), font, colour, maxWidth, maxHeight, format), Clickable(id) {}

ILayoutItem* ClickableTextItem::HandleEvent(const Position&, int event) { return FollowTap(event) ? this : nullptr; }

void ClickableTextItem::Draw(HDC dc) {
    if (!Armed()) {
        TextItem::Draw(dc);
        return;
    }
    // Pressed: the selection colours, as a list shows a tapped line.
    RECT r{rect_.x, rect_.y, rect_.x + rect_.width, rect_.y + rect_.height};
    FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    const COLORREF own = Colour();
    SetColour(GetSysColor(COLOR_HIGHLIGHTTEXT));
    TextItem::Draw(dc);
    SetColour(own);
}

void DrawRecursive(LayoutManager& manager, HDC dc, const Rect& clip) {
    EnumItemsRecursive<DrawableItem>(manager, [&](DrawableItem* item) {
        Rect r;
        item->GetRect(r);
        const bool meets = r.x < clip.x + clip.width && clip.x < r.x + r.width && r.y < clip.y + clip.height &&
                           clip.y < r.y + r.height;
        if (meets) item->Draw(dc);
        return true;
    });
}

}  // namespace Layout

// --- image-list glyphs --------------------------------------------------------------------------

void MonochromeImageListItem::GetSize(int32_t& width, int32_t& height) {
    int w = 0, h = 0;
    if (list_) ImageList_GetIconSize(list_, &w, &h);
    width = w;
    height = h;
}

void MonochromeImageListItem::Draw(HDC dc) {
    if (!list_ || index_ < 0) return;
    int w = 0, h = 0;
    ImageList_GetIconSize(list_, &w, &h);
    ImageList_Draw(list_, index_, dc, rect_.x + (rect_.width - w) / 2, rect_.y + (rect_.height - h) / 2, ILD_TRANSPARENT);
}

namespace ObjInfo {

void SeparatorLineItem::GetSize(int32_t& width, int32_t& height) {
    width = minLength_;
    height = lineWidth_;
}

void SeparatorLineItem::Draw(HDC dc) {
    const int32_t top = rect_.y + (rect_.height - lineWidth_) / 2;
    RECT r{rect_.x, top, rect_.x + rect_.width, top + lineWidth_};
    const COLORREF colour = colour_ == kDefaultColor ? GetSysColor(COLOR_WINDOWTEXT) : colour_;
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}  // namespace ObjInfo
}  // namespace UI
