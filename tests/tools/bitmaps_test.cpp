// The interface bitmaps: reproducible from their generator, of the sizes and
// glyph counts the views index, and named in the resource script.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <tuple>
#include <cstdint>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>
#include <dirent.h>

#include "tool_run.h"

using namespace tooltest;

namespace {

std::set<std::string> FilesIn(const std::string& dir) {
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

const std::string kBitmaps = kSource + "/resources/bitmaps";

uint16_t U16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

// An uncompressed BMP read back independently of the generator: pixels as
// 0xRRGGBB, top row first.
struct Bmp {
    int width = 0, height = 0, bits = 0;
    std::vector<uint32_t> palette;
    std::vector<uint32_t> pixels;
    std::string error;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    explicit Bmp(const std::string& b) {
        if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') { error = "not a BMP"; return; }
        if (Le32(b, 2) != b.size()) { error = "file size field differs from the file"; return; }
        const uint32_t offset = Le32(b, 10);
        if (Le32(b, 14) != 40) { error = "not a BITMAPINFOHEADER"; return; }
        width = static_cast<int32_t>(Le32(b, 18));
        height = static_cast<int32_t>(Le32(b, 22));
        bits = U16(b, 28);
        if (U16(b, 26) != 1 || Le32(b, 30) != 0) { error = "planes or compression"; return; }
        if (width <= 0 || height <= 0) { error = "size (rows must run bottom-up)"; return; }
        if (bits != 1 && bits != 24) { error = "depth"; return; }
        const uint32_t colours = bits == 1 ? (Le32(b, 46) ? Le32(b, 46) : 2) : 0;
        if (offset != 54 + 4 * colours) { error = "pixel offset"; return; }
        for (uint32_t i = 0; i < colours; ++i) palette.push_back(Le32(b, 54 + 4 * i) & 0xFFFFFF);
        const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
        if (b.size() != offset + stride * height || Le32(b, 34) != stride * height) { error = "pixel data size"; return; }
        pixels.resize(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            const size_t row = offset + stride * (height - 1 - y);
            for (int x = 0; x < width; ++x) {
                uint32_t p;
                if (bits == 1) {
                    const int bit = (static_cast<unsigned char>(b[row + x / 8]) >> (7 - x % 8)) & 1;
                    p = palette.at(bit);
                } else {
                    const size_t at = row + 3 * x;
                    p = static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
                        static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
                        static_cast<unsigned char>(b[at]);
                }
                pixels[static_cast<size_t>(y) * width + x] = p;
            }
        }
    }

    // Glyph g of a strip of square glyphs, its pixels row by row.
    std::vector<uint32_t> Glyph(int g) const {
        std::vector<uint32_t> p;
        for (int y = 0; y < height; ++y)
            for (int x = g * height; x < (g + 1) * height; ++x) p.push_back(At(x, y));
        return p;
    }
};

struct Strip {
    const char* file;   // file base name; the resource name is its upper case
    int side96;
    int glyphs;
    int bits;
};

// The strips the views index: glyph side at 96 dots per inch (twice that at
// 192) and glyph count.
const Strip kStrips[] = {
    {"arrows", 13, 4, 1},
    {"planets", 11, 13, 1},
    {"objects", 9, 17, 1},
    {"asteroidsComets", 9, 8, 1},
    {"buttons_normal", 16, 16, 24},
    {"buttons_armed", 16, 16, 24},
    {"buttons_disabled", 16, 16, 24},
    {"test", 12, 3, 1},
};

const uint32_t kWhite = 0xFFFFFF, kBlack = 0;

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TEST(Bitmaps, GeneratorReproducesTheCommittedFiles) {
    const std::string out = Scratch("bitmaps_regenerated");
    ASSERT_EQ(Python("make_bitmaps.py", "--output '" + out + "'"), 0);
    const std::set<std::string> committed = FilesIn(kBitmaps);
    EXPECT_EQ(FilesIn(out), committed);
    ASSERT_EQ(committed.size(), 2 * (sizeof(kStrips) / sizeof(kStrips[0])) + 2);
    for (const std::string& name : committed)
        EXPECT_TRUE(ReadAll(out + "/" + name) == ReadAll(kBitmaps + "/" + name)) << name << " differs from the generator's output";
    RemoveAll(out);
}

TEST(Bitmaps, StripsHaveTheGlyphsTheViewsIndexDrawnForEachSize) {
    for (const Strip& s : kStrips) {
        const Bmp small(ReadAll(kBitmaps + "/" + s.file + "_96.bmp")), large(ReadAll(kBitmaps + "/" + s.file + "_192.bmp"));
        for (const Bmp* bmp : {&small, &large}) {
            ASSERT_EQ(bmp->error, "") << s.file;
            const int side = s.side96 * (bmp == &large ? 2 : 1);
            EXPECT_EQ(std::make_tuple(bmp->width, bmp->height, bmp->bits), std::make_tuple(side * s.glyphs, side, s.bits))
                << s.file;
            // Black glyphs on white; the glyphs are the set bits.
            if (s.bits == 1) {
                EXPECT_EQ(bmp->palette, (std::vector<uint32_t>{kWhite, kBlack})) << s.file;
            }
            // Every glyph is drawn, and no two glyphs of a strip are alike.
            std::set<std::vector<uint32_t>> seen;
            for (int g = 0; g < s.glyphs; ++g) {
                const std::vector<uint32_t> glyph = bmp->Glyph(g);
                EXPECT_NE(std::adjacent_find(glyph.begin(), glyph.end(), std::not_equal_to<uint32_t>()), glyph.end())
                    << s.file << " glyph " << g << " is empty";
                EXPECT_TRUE(seen.insert(glyph).second) << s.file << " glyph " << g << " repeats an earlier one";
            }
        }
    }
}

TEST(Bitmaps, ResourceScriptNamesEveryBitmapOnce) {
    // NAME BITMAP "bitmaps/file.bmp"; the build renames NAME_96_ to NAME(96).
    const std::string rc = ReadAll(kSource + "/resources/bitmaps.rc");
    std::map<std::string, std::string> expected = {{"TEST_BW", "test_bw.bmp"}, {"TEST_WB", "test_wb.bmp"}};
    for (const Strip& s : kStrips)
        for (const std::string dpi : {"96", "192"}) expected[Upper(s.file) + "_" + dpi + "_"] = s.file + ("_" + dpi + ".bmp");
    EXPECT_EQ(Count(rc, "BITMAP"), expected.size());
    for (const auto& e : expected) {
        EXPECT_TRUE(std::regex_search(rc, std::regex("\n\\s*" + e.first + "\\s+BITMAP\\s+\"bitmaps/" + e.second + "\"")))
            << e.first;
        EXPECT_TRUE(Exists(kBitmaps + "/" + e.second)) << e.second;
    }
}
