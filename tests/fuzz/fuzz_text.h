// Helpers shared by the fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Input bytes as UTF-16 text: pairs of bytes, little-endian, so that every
// unit (digits, signs, units, surrogates, U+FFFF) can occur.
inline std::u16string Units(const uint8_t* data, size_t size) {
    std::u16string s;
    for (size_t i = 0; i + 1 < size; i += 2) s += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    return s;
}

// Input bytes as text of the readers' alphabet, one byte each: the bytes
// 0..15 stand for the characters that matter, others are taken as they are.
inline std::u16string Alphabet(const uint8_t* data, size_t size) {
    static const char16_t kMap[16] = {u'0', u'1', u'5', u'9', u'.', u'+', u'-', u'e',
                                      u' ', u'h', u'm', u's', u':', u'\'', u'"', u'\u00b0'};
    std::u16string s;
    for (size_t i = 0; i < size; ++i) s += data[i] < 16 ? kMap[data[i]] : static_cast<char16_t>(data[i]);
    return s;
}

}  // namespace fuzz
