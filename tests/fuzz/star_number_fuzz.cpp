// The typed star numbers of the "Stars by Number" list: StarFromNumberText
// and ParseTycNumber on any text, with the shipped bright-star resources
// and a stars.dat with HIP and TYC sections. Nothing crashes; a star found
// decodes to the number that was typed.
#include "data/starcatalog.h"
#include "data/starlookup.h"
#include "fuzz_text.h"
#include "memory_files.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::MemoryFiles files(PL::FromUtf8(CELVANE_FUZZ_ROOT "/resources/catalog"));
    PL::ScopedPlatform scope(files);
    static bool loaded = false;
    if (!loaded) {
        Data::LoadStarResources();
        loaded = true;
    }
    Data::SetStarFilePath(PL::FromUtf8(CELVANE_FUZZ_STARS_DAT));

    // Text of bytes, with the letters and separators that matter.
    std::u16string text;
    for (size_t i = 0; i < size; ++i) {
        static const char16_t kMap[16] = {u'h', u'r', u'i', u'p', u't', u'y', u'c', u'-',
                                          u' ', u'0', u'1', u'2', u'9', u'H', u'T', u'\t'};
        text += data[i] < 16 ? kMap[data[i]] : static_cast<char16_t>(data[i]);
    }
    const Data::TycNumber t = Data::ParseTycNumber(text);
    if (t.tyc1 > 9999 || t.tyc3 > 99) std::abort();
    const Data::StarNumber n = Data::StarFromNumberText(text);
    if (n >= 0) {
        const Data::StarInfo info = Data::ReadStar(n);
        Data::StarNumberRowText(n);
        // What was found carries the number asked for.
        std::u16string lower = text;
        for (char16_t& c : lower)
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
        if (lower.compare(0, 3, u"tyc") == 0) {
            const Data::TycNumber asked = Data::ParseTycNumber(lower.substr(3));
            if (info.tyc.tyc1 != asked.tyc1 || info.tyc.tyc2 != asked.tyc2 || info.tyc.tyc3 != asked.tyc3)
                std::abort();
        }
    }
    Data::StarNumberRowText(static_cast<Data::StarNumber>(size * 997));
    return 0;
}
