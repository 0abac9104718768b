// ParseNumber on any text: never crashes, accepts only finite values, and
// what the decimal formatters write from an accepted value reads back.
#include "data/numtext.h"
#include "fuzz_text.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::u16string text = data[0] & 1 ? fuzz::Units(data + 1, size - 1) : fuzz::Alphabet(data + 1, size - 1);
    double v = 12345;
    if (!Data::ParseNumber(text, v)) {
        if (v != 12345) std::abort();  // a failed read changes nothing
        return 0;
    }
    if (!std::isfinite(v)) std::abort();
    const int digits = 1 + (data[0] >> 1) % 15;
    double back = 0;
    if (!Data::ParseNumber(Data::FormatSignificant(v, digits), back)) std::abort();
    // Half a unit of the last digit written, and the reading's own rounding
    // in double precision (a value halfway between two 15-digit texts comes
    // back a few units of the last bit further off).
    const double slack = std::fabs(v) * (0.5 * std::pow(10.0, 1 - digits) + 8 * DBL_EPSILON) + 1e-300;
    if (std::fabs(back - v) > slack) std::abort();
    if (!Data::ParseNumber(Data::FormatSignificant(v, -digits), back)) std::abort();
    const double r = std::pow(10.0, static_cast<int>(data[0] >> 4) - 8);
    const std::u16string res = Data::FormatResolution(v, data[0] & 2 ? r : -r);
    if (!Data::ParseNumber(res, back)) std::abort();
    if (std::fabs(back - v) > r * 0.51 + std::fabs(v) * 1e-14) std::abort();
    return 0;
}
