// The interface bitmaps as the program finds them: bitmap resources named
// after the strip and the screen resolution ("planets(96)", "planets(192)"),
// looked up through the Win32 resource functions. (Their sizes, palettes and
// pictures are checked on the files themselves, tests/tools/bitmaps_test.cpp.)
#include "tests/wine/winelib_gtest.h"

#include "data/platform.h"
#include "winlib/wstr.h"

#include <string>

namespace {

const char16_t* const kStrips[] = {u"arrows", u"planets", u"objects", u"asteroidsComets", u"buttons_normal",
                                   u"buttons_armed", u"buttons_disabled", u"test"};

bool HasBitmap(const std::u16string& name) {
    return FindResourceW(GetModuleHandleW(nullptr), W(name), MAKEINTRESOURCEW(2)) != nullptr;  // RT_BITMAP
}

}  // namespace

// Every strip is found by its resolution name; the plain name (the fallback
// when the resolution's is missing) exists exactly where no variant does: the
// two test arrows.
TEST(InterfaceBitmaps, EveryStripByItsResolutionNameOnlyTheTestArrowsWithout) {
    for (const char16_t* s : kStrips) {
        EXPECT_TRUE(HasBitmap(std::u16string(s) + u"(96)")) << PL::ToUtf8(s);
        EXPECT_TRUE(HasBitmap(std::u16string(s) + u"(192)")) << PL::ToUtf8(s);
        EXPECT_FALSE(HasBitmap(s)) << PL::ToUtf8(s);
    }
    // The names the resource script has to write instead are gone.
    EXPECT_FALSE(HasBitmap(u"PLANETS_96_"));
    EXPECT_FALSE(HasBitmap(u"buttons_normal_192_"));
    for (const char16_t* name : {u"test_bw", u"test_wb"}) {
        EXPECT_TRUE(HasBitmap(name)) << PL::ToUtf8(name);
        EXPECT_FALSE(HasBitmap(std::u16string(name) + u"(96)")) << PL::ToUtf8(name);
    }
}
