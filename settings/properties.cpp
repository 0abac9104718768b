#include "settings/properties.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace Data {

// --- SectionStore -----------------------------------------------------------------------

PropertySection& SectionStore::Section(const std::u16string& name) { return sections_[name]; }

bool SectionStore::Has(const std::u16string& section, const std::u16string& key) const {
    auto s = sections_.find(section);
    return s != sections_.end() && s->second.count(key) != 0;
}

std::u16string SectionStore::Get(const std::u16string& section, const std::u16string& key,
                                 const std::u16string& fallback) const {
    auto s = sections_.find(section);
    if (s == sections_.end()) return fallback;
    auto k = s->second.find(key);
    return k == s->second.end() ? fallback : k->second;
}

void SectionStore::RemoveSection(const std::u16string& name) { sections_.erase(name); }

void SectionStore::Clear() {
    sections_.clear();
    current_.clear();
}

void SectionStore::ParseLine(const std::u16string& line) {
    if (line.empty() || line[0] == u';') return;
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
        current_ = line.substr(1, line.size() - 2);
        return;
    }
    if (current_.empty()) return;
    const size_t eq = line.find(u'=');
    if (eq == std::u16string::npos) return;
    sections_[current_][line.substr(0, eq)] = line.substr(eq + 1);
}

bool SectionStore::Write(std::basic_ostream<char16_t>& out) const {
    for (const auto& section : sections_) {
        out << u'[' << section.first << u']' << u'\n';
        for (const auto& kv : section.second) out << kv.first << u'=' << kv.second << u'\n';
        if (!out) return false;
    }
    return static_cast<bool>(out);
}

// --- accessors ----------------------------------------------------------------------------

PropertyReader::~PropertyReader() = default;
PropertyWriter::~PropertyWriter() = default;

bool SectionPropertyReader::Has(const std::u16string& key) const { return section_->count(key) != 0; }

bool SectionPropertyReader::Get(const std::u16string& key, std::u16string& value) const {
    auto it = section_->find(key);
    if (it == section_->end()) return false;
    value = it->second;
    return true;
}

void SectionPropertyWriter::Set(const std::u16string& key, const std::u16string& value) { (*section_)[key] = value; }

// --- number text ---------------------------------------------------------------------------

namespace {

// White space as the classic locale's ctype knows it.
bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

void SkipSpace(const std::u16string& text, size_t& pos) {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
}

// Collects the characters of a decimal floating-point number at `pos` (after
// white space) into `out` as ASCII. False when they do not form a number.
bool CollectFloat(const std::u16string& text, size_t& pos, std::string& out) {
    size_t p = pos;
    SkipSpace(text, p);
    out.clear();
    if (p < text.size() && (text[p] == u'+' || text[p] == u'-')) {
        if (text[p] == u'-') out += '-';
        ++p;
    }
    size_t digits = 0;
    while (p < text.size() && IsDigit(text[p])) {
        out += static_cast<char>(text[p++]);
        ++digits;
    }
    if (p < text.size() && text[p] == u'.') {
        out += '.';
        ++p;
        while (p < text.size() && IsDigit(text[p])) {
            out += static_cast<char>(text[p++]);
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (p < text.size() && (text[p] == u'e' || text[p] == u'E')) {
        // The stream takes the exponent letter and its sign before it knows
        // whether digits follow; without them the number is rejected.
        out += 'e';
        ++p;
        if (p < text.size() && (text[p] == u'+' || text[p] == u'-')) out += static_cast<char>(text[p++]);
        size_t exp = 0;
        while (p < text.size() && IsDigit(text[p])) {
            out += static_cast<char>(text[p++]);
            ++exp;
        }
        if (exp == 0) return false;
    }
    pos = p;
    return true;
}

template <class T>
bool ScanReal(const std::u16string& text, size_t& pos, T& value) {
    size_t p = pos;
    std::string s;
    if (!CollectFloat(text, p, s)) return false;
    T v{};
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return false;
    value = v;
    pos = p;
    return true;
}

std::u16string Widen(const char* s, size_t n) { return std::u16string(s, s + n); }

}  // namespace

bool ScanLong(const std::u16string& text, size_t& pos, long long& value) {
    size_t p = pos;
    SkipSpace(text, p);
    bool negative = false;
    if (p < text.size() && (text[p] == u'+' || text[p] == u'-')) negative = text[p++] == u'-';
    if (p >= text.size() || !IsDigit(text[p])) return false;
    // Accumulated as a negative number, which reaches the type's minimum.
    const long long min = std::numeric_limits<long long>::min();
    long long v = 0;
    bool overflow = false;
    while (p < text.size() && IsDigit(text[p])) {
        const int d = text[p++] - u'0';
        if (v < (min + d) / 10) overflow = true;
        else v = v * 10 - d;
    }
    if (overflow || (!negative && v == min)) return false;
    value = negative ? v : -v;
    pos = p;
    return true;
}

bool ScanUnsigned(const std::u16string& text, size_t& pos, unsigned long long max, unsigned long long& value) {
    size_t p = pos;
    SkipSpace(text, p);
    if (p < text.size() && text[p] == u'+') ++p;
    if (p >= text.size() || !IsDigit(text[p])) return false;
    unsigned long long v = 0;
    bool overflow = false;
    while (p < text.size() && IsDigit(text[p])) {
        const unsigned d = text[p++] - u'0';
        if (v > (max - d) / 10) overflow = true;
        else v = v * 10 + d;
    }
    if (overflow) return false;
    value = v;
    pos = p;
    return true;
}

bool ScanFloat(const std::u16string& text, size_t& pos, float& value) { return ScanReal(text, pos, value); }
bool ScanDouble(const std::u16string& text, size_t& pos, double& value) { return ScanReal(text, pos, value); }

std::u16string IntText(long long value) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return Widen(buf, static_cast<size_t>(r.ptr - buf));
}

std::u16string GeneralText(double value, int digits) {
    if (std::isnan(value)) return u"nan";
    if (std::isinf(value)) return value < 0 ? u"-inf" : u"inf";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    return Widen(buf, static_cast<size_t>(r.ptr - buf));
}

// --- typed conversions ------------------------------------------------------------------------

bool ReadInt(const PropertyReader& r, const std::u16string& key, int32_t& value) {
    std::u16string text;
    if (!r.Get(key, text)) return false;
    size_t pos = 0;
    long long v;
    if (!ScanLong(text, pos, v) || v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool ReadUInt16(const PropertyReader& r, const std::u16string& key, uint16_t& value) {
    std::u16string text;
    if (!r.Get(key, text)) return false;
    size_t pos = 0;
    unsigned long long v;
    if (!ScanUnsigned(text, pos, 0xFFFF, v)) return false;
    value = static_cast<uint16_t>(v);
    return true;
}

bool ReadBool(const PropertyReader& r, const std::u16string& key, bool& value) {
    std::u16string text;
    if (!r.Get(key, text)) return false;
    size_t pos = 0;
    long long v;
    if (!ScanLong(text, pos, v) || (v != 0 && v != 1)) return false;
    value = v == 1;
    return true;
}

bool ReadFloat(const PropertyReader& r, const std::u16string& key, float& value) {
    std::u16string text;
    if (!r.Get(key, text)) return false;
    size_t pos = 0;
    return ScanFloat(text, pos, value);
}

bool ReadDouble(const PropertyReader& r, const std::u16string& key, double& value) {
    std::u16string text;
    if (!r.Get(key, text)) return false;
    size_t pos = 0;
    return ScanDouble(text, pos, value);
}

bool ReadText(const PropertyReader& r, const std::u16string& key, std::u16string& value) { return r.Get(key, value); }

void WriteInt(PropertyWriter& w, const std::u16string& key, int32_t value) { w.Set(key, IntText(value)); }
void WriteUInt16(PropertyWriter& w, const std::u16string& key, uint16_t value) { w.Set(key, IntText(value)); }
void WriteBool(PropertyWriter& w, const std::u16string& key, bool value) { w.Set(key, value ? u"1" : u"0"); }
void WriteFloat(PropertyWriter& w, const std::u16string& key, float value) {
    w.Set(key, GeneralText(static_cast<double>(value), 16));
}
void WriteDouble(PropertyWriter& w, const std::u16string& key, double value) { w.Set(key, GeneralText(value, 20)); }
void WriteText(PropertyWriter& w, const std::u16string& key, const std::u16string& value) { w.Set(key, value); }

}  // namespace Data
