#include "data/platform.h"

#include <cstdlib>
#include <cstdio>

namespace PL {

Platform::~Platform() = default;

std::vector<std::u16string> Platform::StorageCards() { return {}; }

namespace {
Platform* g_platform = nullptr;
}

Platform& Current() {
    if (!g_platform) {
        // A programming error of the embedding program, not a user error.
        std::fputs("celvane: no platform layer installed\n", stderr);
        std::abort();
    }
    return *g_platform;
}

Platform* SetCurrent(Platform* p) {
    Platform* old = g_platform;
    g_platform = p;
    return old;
}

std::string ToUtf8(const std::u16string& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

size_t DecodeUtf8(const unsigned char* p, size_t n, uint32_t& c) {
    if (n == 0) return 0;
    const unsigned char b = p[0];
    size_t len;
    if (b < 0x80) { c = b; return 1; }
    else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; len = 2; }
    else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; len = 3; }
    else if ((b & 0xF8) == 0xF0) { c = b & 0x07; len = 4; }
    else return 0;  // a stray continuation byte or no UTF-8 byte at all
    if (n < len) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((p[k] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (p[k] & 0x3F);
    }
    // Overlong forms (an overlong NUL would cut a file name short),
    // surrogates and values past U+10FFFF are no characters.
    static const uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[len] || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) return 0;
    return len;
}

std::u16string FromUtf8(const std::string& s) {
    std::u16string out;
    out.reserve(s.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(s.data());
    for (size_t i = 0; i < s.size();) {
        uint32_t c;
        const size_t len = DecodeUtf8(bytes + i, s.size() - i, c);
        if (len == 0) {
            ++i;  // a broken sequence's bytes are dropped one by one
            continue;
        }
        i += len;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

}  // namespace PL
