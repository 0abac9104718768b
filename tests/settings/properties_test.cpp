// The sectioned preferences text and the typed conversions over it.
#include "settings/properties.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <utility>

#include "data/platform.h"

using namespace Data;

namespace {

SectionStore Parsed(std::initializer_list<const char16_t*> lines) {
    SectionStore s;
    for (const char16_t* l : lines) s.ParseLine(l);
    return s;
}

std::u16string Written(const SectionStore& s) {
    std::basic_ostringstream<char16_t> out;
    EXPECT_TRUE(s.Write(out));
    return out.str();
}

// A reader over one key with the given text.
struct OneKey {
    explicit OneKey(const std::u16string& text) { section[u"k"] = text; }
    PropertySection section;
    SectionPropertyReader reader{section};
};

}  // namespace

TEST(SectionStore, ParsesHeadersKeysAndComments) {
    const SectionStore s = Parsed({
        u"orphan=before any header",
        u"[View]",
        u"Mode=1",
        u"mode=3",  // keys are case-sensitive
        u";Mode=9",
        u"",
        u"no equals sign",
        u"Formula=a=b=c",
        u" [Other]",          // not a header, and no "=": nothing
        u" [Spaced]=x",       // not a header: a key of View
        u"Mode=2",            // replaces the earlier value
        u" padded key = padded value ",  // keys and values verbatim
        u"=empty key",
        u"empty value=",
        u"[]",
        u"Lost=1",
        u"[Empty]",
    });
    // Only View has keys: a header alone makes no section.
    ASSERT_EQ(s.AllSections().size(), 1u);
    EXPECT_EQ(s.AllSections().at(u"View"),
              (PropertySection{{u"Mode", u"2"}, {u"mode", u"3"}, {u"Formula", u"a=b=c"}, {u" [Spaced]", u"x"},
                               {u" padded key ", u" padded value "}, {u"", u"empty key"}, {u"empty value", u""}}));
    EXPECT_EQ(s.Get(u"Nowhere", u"x", u"fallback"), u"fallback");
    EXPECT_EQ(s.Get(u"View", u"empty value", u"fallback"), u"");  // present, though empty
}

// The preferences tests see sections and keys saved in code-unit order;
// here an empty section, and a clear that also forgets the current one.
TEST(SectionStore, WritesEmptySectionsAndClears) {
    SectionStore s = Parsed({u"[b]", u"k=\u00e4=\u6771"});
    s.Section(u"New");
    EXPECT_EQ(Written(s), u"[New]\n[b]\nk=\u00e4=\u6771\n");
    s.Clear();
    EXPECT_TRUE(s.AllSections().empty());
    s.ParseLine(u"k=v");  // the current section went with the clear
    EXPECT_TRUE(s.AllSections().empty());
}

// Each text read into a field that holds `start`: the value read, or no
// value when the text is refused (and the field keeps `start`).
template <class T>
void ExpectReads(bool (*read)(const PropertyReader&, const std::u16string&, T&), T start,
                 std::initializer_list<std::pair<const char16_t*, std::optional<T>>> cases) {
    for (const auto& c : cases) {
        T v = start;
        EXPECT_EQ(read(OneKey(c.first).reader, u"k", v), c.second.has_value()) << PL::ToUtf8(c.first);
        EXPECT_EQ(v, c.second.value_or(start)) << PL::ToUtf8(c.first);
    }
}

TEST(TypedProperties, NumbersReadTheLeadingNumber) {
    ExpectReads<int32_t>(ReadInt, 7,
                         {{u"3abc", 3}, {u"  -42", -42}, {u"+5", 5}, {u"-2147483648", INT32_MIN}, {u"", {}},
                          {u"abc", {}}, {u"-", {}}, {u"+ 1", {}}, {u"2147483648", {}},
                          {u"99999999999999999999999", {}}});
    ExpectReads<uint16_t>(ReadUInt16, 1, {{u"1031", 0x407}, {u"65535", 65535}, {u"65536", {}}, {u"-1", {}}, {u"x", {}}});
    ExpectReads<float>(ReadFloat, -1,
                       {{u"0.5", 0.5f}, {u" 1.5e3x", 1500.0f}, {u".25", 0.25f}, {u"-7.", -7.0f},
                        {u"47.36999893188477", 47.37f}, {u".", {}}, {u"e5", {}}, {u"1e", {}}, {u"1e+", {}},
                        {u"nan", {}}, {u"inf", {}}, {u"1e39", {}}, {u"", {}}});
    ExpectReads<double>(ReadDouble, 0, {{u"2460000.5", 2460000.5}, {u"1e39", 1e39}, {u"1e999", {}}});
    // Bools are 0 or 1, from either start.
    ExpectReads<bool>(ReadBool, false, {{u"1", true}, {u"2", {}}, {u"-1", {}}, {u"true", {}}, {u"", {}}});
    ExpectReads<bool>(ReadBool, true, {{u"0 trailing", false}, {u"2", {}}});
    // An absent key is refused too.
    int32_t v = 7;
    EXPECT_FALSE(ReadInt(OneKey(u"1").reader, u"other", v));
    EXPECT_EQ(v, 7);
}
