// The UTF-8 reader on any bytes, at small and large block sizes: never
// crashes, gives the same text at every block size, and that text has no
// CR. The text must also equal a straightforward whole-file decoding.
#include "data/native/test_platform.h"
#include "data/utf8stream.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

// Files are the fuzz input itself.
class MemoryPlatform : public PL::PosixPlatform {
public:
    const uint8_t* data = nullptr;
    size_t size = 0;
    std::FILE* OpenFile(const std::u16string&, const char*) override {
        return fmemopen(const_cast<uint8_t*>(data), size, "rb");
    }
};

std::u16string ReadAll(size_t bufferChars) {
    PL::specialbuffer_istream<PL::utf8wfbuf> in(u"input", PL::utf8wfbuf::kRead, bufferChars);
    if (!in.is_open()) std::abort();
    std::u16string s(std::istreambuf_iterator<char16_t>(in), {});
    if (in.bad()) std::abort();
    return s;
}

// The reading rules applied to the whole input at once.
std::u16string Reference(const uint8_t* b, size_t n) {
    std::u16string out;
    bool afterCR = false;
    size_t i = 0;
    while (i < n) {
        const uint8_t c = b[i];
        if (c < 0x80) {
            ++i;
            if (c == '\r') { out += u'\n'; afterCR = true; }
            else if (c == '\n' && afterCR) afterCR = false;
            else { out += static_cast<char16_t>(c); afterCR = false; }
            continue;
        }
        size_t len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        uint32_t v = len == 2 ? c & 0x1F : len == 3 ? c & 0x0F : c & 0x07;
        bool ok = len != 0 && i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) {
            if ((b[i + k] & 0xC0) != 0x80) ok = false;
            else v = (v << 6) | (b[i + k] & 0x3F);
        }
        if (ok && ((len == 2 && v < 0x80) || (len == 3 && v < 0x800) || (len == 4 && (v < 0x10000 || v > 0x10FFFF))))
            ok = false;
        if (!ok) { ++i; continue; }
        i += len;
        afterCR = false;
        if (v >= 0x10000) {
            v -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (v >> 10));
            out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            out += v == 0xFFFF ? char16_t(0xFFFD) : static_cast<char16_t>(v);
        }
    }
    if (!out.empty() && out[0] == 0xFEFF) out.erase(0, 1);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen wants a buffer
    MemoryPlatform platform;
    platform.data = data;
    platform.size = size;
    PL::ScopedPlatform scope(platform);
    const std::u16string small = ReadAll(4);
    if (ReadAll(5) != small || ReadAll(7) != small || ReadAll(4096) != small) std::abort();
    if (small != Reference(data, size)) std::abort();
    if (small.find(u'\r') != std::u16string::npos) std::abort();
    return 0;
}
