// ParseSexagesimal and FormatSexagesimal on any text: never crash; accepted
// values are finite; what the formatter writes with a valid format code
// reads back close to the value.
#include "data/numtext.h"
#include "fuzz_text.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::u16string text = data[0] & 1 ? fuzz::Units(data + 1, size - 1) : fuzz::Alphabet(data + 1, size - 1);
    float v = 12345;
    if (Data::ParseSexagesimal(text, v)) {
        if (!std::isfinite(v)) std::abort();
        const double x = std::fmod(static_cast<double>(v), 1e6);
        float back = 0;
        for (const char16_t* spec : {u"hm1", u"hms2", u"hm0", u"ms0", u"s3"}) {
            const std::u16string s = Data::FormatSexagesimal(x, spec, Data::kDegreeUnits);
            if (!Data::ParseSexagesimal(s, back)) std::abort();
            if (std::fabs(back - x) > 0.5 / 60 + std::fabs(x) * 1e-6) std::abort();
        }
        const std::u16string a = Data::FormatDegreesAuto(x);
        if (!Data::ParseSexagesimal(a, back)) std::abort();
    } else if (v != 12345) {
        std::abort();
    }
    // The text as a format code (and the first byte as a value).
    const double x = (static_cast<int>(data[0]) - 128) / 7.0;
    Data::FormatSexagesimal(x, text, Data::kHourUnits);
    Data::FormatSexagesimal(x * 1e-4, text, u"");
    return 0;
}
