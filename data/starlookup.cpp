#include "data/starlookup.h"

#include "data/numtext.h"
#include "data/starcatalog.h"
#include "data/starenum.h"

namespace Data {

const Message kMsgStarNumberHelp{{0x409, u"Enter star number like"}, {0x407, u"Stern-Nummer eingeben"}};
const Message kMsgStarNumberHelpHr{{0x409, u"\"HR 1234\" for Yale Bright Star Cat. Nr"},
                                   {0x407, u"\"HR 1234\" f\u00fcr Yale Bright Star Cat. Nr"}};
const Message kMsgStarNumberHelpHip{{0x409, u"\"HIP 123456\" for Hipparcos Nr"},
                                    {0x407, u"\"HIP 123456\" f\u00fcr Hipparcos Nr"}};
const Message kMsgStarNumberHelpTyc{{0x409, u"\"TYC 1234-12345-1\" for Tycho-2 Nr"},
                                    {0x407, u"\"TYC 1234-12345-1\" f\u00fcr Tycho-2 Nr"}};
const Message kMsgStarNumberEmpty{{0x409, u""}, {0x407, u""}};
const Message kMsgStarNotFound{{0x409, u"   Star not found"}, {0x407, u"   Stern nicht gefunden"}};

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The decimal value at the start of s as _wtol reads it: leading white space,
// an optional sign, digits up to the first other character; no digits give
// 0. Values beyond the int32 range are held at its ends.
long long LeadingNumber(const std::u16string& s, size_t from) {
    size_t i = from;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t' || s[i] == u'\n' || s[i] == u'\r' || s[i] == u'\v' ||
                            s[i] == u'\f'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    long long v = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i)
        if (v <= 0x7FFFFFFFLL) v = v * 10 + (s[i] - u'0');
    if (v > 0x7FFFFFFFLL) v = 0x7FFFFFFFLL + (negative ? 1 : 0);
    return negative ? -v : v;
}

long long AtMost(long long v, long long limit) { return v > limit ? limit : v; }

}  // namespace

std::u16string FormatHr(int hr) { return u"HR " + FormatInt(hr); }

std::u16string FormatHip(uint32_t hip) { return u"HIP " + FormatInt(hip); }

std::u16string FormatTyc(const TycNumber& t) {
    return u"TYC " + FormatInt(t.tyc1) + u"-" + FormatInt(t.tyc2) + u"-" + FormatInt(t.tyc3);
}

TycNumber ParseTycNumber(const std::u16string& text) {
    std::u16string s;
    for (char16_t c : text)
        if (c != u' ') s += c;
    size_t first = 0;
    while (first < s.size() && IsDigit(s[first])) ++first;
    if (first == s.size() || first == 0) return TycNumber();
    size_t second = first + 1;
    while (second < s.size() && IsDigit(s[second])) ++second;
    if (second == s.size() || second == first + 1 || second + 1 == s.size()) return TycNumber();
    TycNumber t;
    t.tyc1 = static_cast<uint16_t>(AtMost(LeadingNumber(s.substr(0, first), 0), 9999));
    t.tyc2 = static_cast<uint16_t>(AtMost(LeadingNumber(s.substr(first + 1, second - first - 1), 0), 65535));
    const long long t3 = LeadingNumber(s, second + 1);
    t.tyc3 = static_cast<uint8_t>(t3 < 0 ? 0 : AtMost(t3, 99));
    return t;
}

StarNumber StarFromNumberText(const std::u16string& text) {
    std::u16string s = text;
    for (char16_t& c : s)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (s.compare(0, 2, u"hr") == 0) {
        const long long hr = LeadingNumber(s, 2);
        return hr < 1 || hr > kMaxHr ? kNoStar : HrToStarIndex(static_cast<int>(hr));
    }
    if (s.compare(0, 3, u"hip") == 0) {
        const long long hip = LeadingNumber(s, 3);
        return hip < 1 ? kNoStar : FindStarByHip(static_cast<uint32_t>(hip));
    }
    if (s.compare(0, 3, u"tyc") == 0) return FindStarByTyc(ParseTycNumber(s.substr(3)));
    return kNoStar;
}

std::u16string StarNumberRowText(StarNumber n) {
    const StarInfo info = ReadStar(n);
    std::u16string out;
    auto add = [&](const std::u16string& part) {
        if (!out.empty()) out += u", ";
        out += part;
    };
    if (info.hr != 0) add(FormatHr(info.hr));
    if (info.hip != 0) add(FormatHip(info.hip));
    if (info.tyc.tyc1 != 0) add(FormatTyc(info.tyc));
    return out;
}

int StarNumberList::Refresh(const std::u16string& text) {
    star_ = kNoStar;
    if (text.size() < 3) return -4;
    star_ = StarFromNumberText(text);
    return star_ < 0 ? -6 : 1;
}

std::u16string StarNumberList::RowText(int row) const {
    if (star_ >= 0) return row == 0 ? StarNumberRowText(star_) : std::u16string();
    switch (row) {
        case 0: return MessageText(kMsgStarNumberHelp);
        case 1: return MessageText(kMsgStarNumberHelpHr);
        case 2: return MessageText(kMsgStarNumberHelpHip);
        case 3: return MessageText(kMsgStarNumberHelpTyc);
        case 4: return MessageText(kMsgStarNumberEmpty);
        case 5: return MessageText(kMsgStarNotFound);
        default: return std::u16string();
    }
}

}  // namespace Data
