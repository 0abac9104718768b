#include "data/numtext.h"

#include <cmath>
#include <cstdint>

namespace Data {

bool ParseNumber(const std::u16string& text, double& value) {
    std::u16string s;
    for (char16_t c : text)
        if (c != u' ') s += c;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';

    auto isDigit = [&](size_t k) { return k < s.size() && s[k] >= u'0' && s[k] <= u'9'; };
    uint64_t integer = 0;
    int intDigits = 0;
    while (isDigit(i)) {
        if (++intDigits > 18) return false;
        integer = integer * 10 + (s[i++] - u'0');
    }
    uint64_t fraction = 0;
    int fracDigits = 0;
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (isDigit(i)) {
            if (++fracDigits > 18) return false;
            fraction = fraction * 10 + (s[i++] - u'0');
        }
    }
    if (intDigits == 0 && fracDigits == 0) return false;
    long exponent = 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) expNegative = s[i++] == u'-';
        if (!isDigit(i)) return false;
        while (isDigit(i)) {
            if (exponent < 100000) exponent = exponent * 10 + (s[i] - u'0');
            ++i;
        }
        if (expNegative) exponent = -exponent;
    }
    if (i != s.size()) return false;
    double v = static_cast<double>(integer) + static_cast<double>(fraction) / std::pow(10.0, fracDigits);
    if (exponent != 0) v *= std::pow(10.0, static_cast<double>(exponent));
    value = negative ? -v : v;
    return true;
}

}  // namespace Data
