// The sectioned key/value text of the preferences, and typed access to it.
//
// A SectionStore holds a parsed file: sections in square brackets, one
// key "=" value per line. Everything read is kept, so sections and keys that
// this program does not know survive a save. Values travel between the
// store and typed fields through a PropertyReader or PropertyWriter over one
// section and the Read.../Write... conversions below.
//
// Number text follows the classic C++ stream conventions so that files of
// earlier versions read the same: a read skips leading white space, takes
// the longest number at the front and ignores what follows ("12abc" is 12);
// floats are written with 16 and doubles with 20 significant digits. None
// of it depends on the C library's locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>

namespace Data {

using PropertySection = std::map<std::u16string, std::u16string>;

class SectionStore {
public:
    using Sections = std::map<std::u16string, PropertySection>;

    // The section of that name, created empty when it does not exist.
    PropertySection& Section(const std::u16string& name);
    bool Has(const std::u16string& section, const std::u16string& key) const;
    // The value, or `fallback` when the section or key does not exist.
    std::u16string Get(const std::u16string& section, const std::u16string& key,
                       const std::u16string& fallback = std::u16string()) const;
    void RemoveSection(const std::u16string& name);
    const Sections& AllSections() const { return sections_; }

    // Forgets every section and the current section of the parse.
    void Clear();

    // Parses one line (without its line end):
    //  - an empty line and a line starting with ";" are skipped;
    //  - "[name]" makes name the current section; "[]" makes the following
    //    lines ignored up to the next header;
    //  - other lines count only while the current section has a name; they
    //    are split at their first "=" (a line without "=" is ignored) into
    //    key and value, both verbatim, and the key is set in the current
    //    section, replacing an earlier value.
    void ParseLine(const std::u16string& line);
    // Every section in order as "[name]", then its keys in order as
    // key=value, each followed by a line end. False when the stream failed.
    bool Write(std::basic_ostream<char16_t>& out) const;

private:
    Sections sections_;
    std::u16string current_;
};

// --- accessors over one section ---------------------------------------------------

class PropertyReader {
public:
    PropertyReader() = default;
    virtual ~PropertyReader();
    PropertyReader(const PropertyReader&) = delete;
    PropertyReader& operator=(const PropertyReader&) = delete;

    virtual bool Has(const std::u16string& key) const = 0;
    // False, `value` unchanged, when the key is absent.
    virtual bool Get(const std::u16string& key, std::u16string& value) const = 0;
};

class SectionPropertyReader : public PropertyReader {
public:
    // `section` must outlive the reader.
    explicit SectionPropertyReader(const PropertySection& section) : section_(&section) {}
    bool Has(const std::u16string& key) const override;
    bool Get(const std::u16string& key, std::u16string& value) const override;

private:
    const PropertySection* section_;
};

class PropertyWriter {
public:
    PropertyWriter() = default;
    virtual ~PropertyWriter();
    PropertyWriter(const PropertyWriter&) = delete;
    PropertyWriter& operator=(const PropertyWriter&) = delete;

    // Sets the key, replacing an existing value.
    virtual void Set(const std::u16string& key, const std::u16string& value) = 0;
};

class SectionPropertyWriter : public PropertyWriter {
public:
    explicit SectionPropertyWriter(PropertySection& section) : section_(&section) {}
    void Set(const std::u16string& key, const std::u16string& value) override;

private:
    PropertySection* section_;
};

// --- typed conversions ------------------------------------------------------------------
// A read succeeds when the key exists and its value starts (after white
// space) with a number of the type; on failure the target is unchanged.

bool ReadInt(const PropertyReader& r, const std::u16string& key, int32_t& value);
bool ReadUInt16(const PropertyReader& r, const std::u16string& key, uint16_t& value);
// "0" or "1" (a number that is neither fails).
bool ReadBool(const PropertyReader& r, const std::u16string& key, bool& value);
bool ReadFloat(const PropertyReader& r, const std::u16string& key, float& value);
bool ReadDouble(const PropertyReader& r, const std::u16string& key, double& value);
bool ReadText(const PropertyReader& r, const std::u16string& key, std::u16string& value);

void WriteInt(PropertyWriter& w, const std::u16string& key, int32_t value);
void WriteUInt16(PropertyWriter& w, const std::u16string& key, uint16_t value);
void WriteBool(PropertyWriter& w, const std::u16string& key, bool value);
// The float widened to double, 16 significant digits: 30 is "30", 0.5 "0.5".
void WriteFloat(PropertyWriter& w, const std::u16string& key, float value);
// 20 significant digits.
void WriteDouble(PropertyWriter& w, const std::u16string& key, double value);
void WriteText(PropertyWriter& w, const std::u16string& key, const std::u16string& value);

// --- number text -------------------------------------------------------------------------
// The scanners start at `pos`, skip white space and take the longest
// number there; on success `pos` is just after it.

// [+-]digits, within the range of the type.
bool ScanLong(const std::u16string& text, size_t& pos, long long& value);
// [+]digits (no sign for unsigned types), at most `max`.
bool ScanUnsigned(const std::u16string& text, size_t& pos, unsigned long long max, unsigned long long& value);
// [+-]digits[.digits][(e|E)[+-]digits] with at least one digit in the
// mantissa; an exponent letter must be followed by digits. A value beyond
// the type's range fails.
bool ScanFloat(const std::u16string& text, size_t& pos, float& value);
bool ScanDouble(const std::u16string& text, size_t& pos, double& value);

// Decimal text of an integer.
std::u16string IntText(long long value);
// printf's "%.*g": `digits` significant digits, trailing zeros removed, an
// exponent form for very large and small values.
std::u16string GeneralText(double value, int digits);

}  // namespace Data
