// Number, angle and date text of the program's own, independent of the C
// library's locale.
#pragma once

#include <string>

namespace Data {

// Reads "[+-]digits[.digits][(e|E)[+-]digits]"; spaces anywhere are ignored.
// At least one digit before or after the point; at most 18 digits in the
// integer part and in the fraction; the exponent needs a digit.
bool ParseNumber(const std::u16string& text, double& value);

}  // namespace Data
