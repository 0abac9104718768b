// Text for the JSON output of celvane-ephem.
#pragma once

#include <cstdio>
#include <string>

#include "data/platform.h"

// A JSON string: quotes, backslashes and control characters escaped; the
// text as UTF-8.
inline std::string JsonText(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

inline std::string JsonText(const std::u16string& text) { return JsonText(PL::ToUtf8(text)); }
