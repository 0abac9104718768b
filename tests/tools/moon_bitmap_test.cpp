#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

uint32_t Le32(const std::string& s, size_t at) {
    return uint8_t(s[at]) | uint8_t(s[at + 1]) << 8 | uint8_t(s[at + 2]) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

std::string MoonCommand(const std::string& input, const std::string& output) {
    const std::string source = CELVANE_SOURCE_DIR;
    return "python3 \"" + source + "/tools/make_moon_bitmap.py\" --input \"" + input + "\" --output \"" + output +
           "\" 2>/dev/null";
}

}  // namespace

// The committed Moon picture is exactly what the tool makes of the committed
// image, and it has the form the sky map reads: 128 x 128, 8 bits, grey
// palette, the disc bright in the middle and black in the corners.
TEST(MoonBitmap, GeneratorReproducesTheCommittedFile) {
    const std::string source = CELVANE_SOURCE_DIR;
    const std::string out = std::string(CELVANE_BINARY_DIR) + "/moon.regenerated.bmp";
    std::remove(out.c_str());
    ASSERT_EQ(std::system(MoonCommand(source + "/catalogs/images/moon_fullmoon_128_gray.png", out).c_str()), 0);
    const std::string committed = ReadAll(source + "/resources/skymap/moon.bmp");
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(ReadAll(out) == committed) << "resources/skymap/moon.bmp differs from the tool's output";
    std::remove(out.c_str());

    ASSERT_EQ(committed.size(), 14u + 40 + 1024 + 128 * 128);
    EXPECT_EQ(Le32(committed, 18), 128u);  // width
    EXPECT_EQ(Le32(committed, 22), 128u);  // height, bottom-up
    EXPECT_EQ(uint8_t(committed[28]), 8);  // bits per pixel
    EXPECT_EQ(Le32(committed, 54 + 4 * 200), 0x00C8C8C8u);
    const size_t pixels = Le32(committed, 10);
    EXPECT_EQ(uint8_t(committed[pixels]), 0);                   // a corner
    EXPECT_GT(uint8_t(committed[pixels + 64 * 128 + 64]), 60);  // the middle of the disc
}

// A damaged image stops the tool with a message and leaves no output.
TEST(MoonBitmap, GeneratorRejectsDamagedInput) {
    const std::string source = CELVANE_SOURCE_DIR;
    const std::string dir = CELVANE_BINARY_DIR;
    std::string png = ReadAll(source + "/catalogs/images/moon_fullmoon_128_gray.png");
    ASSERT_GT(png.size(), 200u);
    png[150] = char(png[150] ^ 0x55);  // inside the compressed data: the chunk checksum fails
    const std::string bad = dir + "/moon_damaged.png", out = dir + "/moon_damaged.bmp";
    std::ofstream(bad, std::ios::binary) << png;
    std::remove(out.c_str());
    EXPECT_NE(std::system(MoonCommand(bad, out).c_str()), 0);
    EXPECT_TRUE(ReadAll(out).empty());
    std::remove(bad.c_str());
}
