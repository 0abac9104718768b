// The sectioned preferences text and the typed conversions over it.
#include "settings/properties.h"

#include <gtest/gtest.h>

#include <sstream>

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
        u" [Other]",          // not a header: a key of View, split at its "="
        u" [Spaced]=x",
        u"Mode=2",            // replaces the earlier value
        u"[]",
        u"Lost=1",
        u"[Empty]",
    });
    EXPECT_EQ(s.Get(u"View", u"Mode"), u"2");
    EXPECT_EQ(s.Get(u"View", u"mode"), u"3");
    EXPECT_EQ(s.Get(u"View", u"Formula"), u"a=b=c");
    EXPECT_FALSE(s.Has(u"View", u" [Other]"));
    EXPECT_EQ(s.Get(u"View", u" [Spaced]"), u"x");
    EXPECT_FALSE(s.Has(u"View", u";Mode"));
    EXPECT_FALSE(s.Has(u"", u"Lost"));
    EXPECT_FALSE(s.Has(u"", u"orphan"));
    EXPECT_EQ(s.AllSections().count(u"Other"), 0u);
    EXPECT_EQ(s.AllSections().count(u"Empty"), 0u);  // a header alone makes no section
    EXPECT_EQ(s.AllSections().size(), 1u);
    EXPECT_EQ(s.Get(u"Nowhere", u"x", u"fallback"), u"fallback");
}

TEST(SectionStore, KeysAndValuesAreVerbatim) {
    const SectionStore s = Parsed({u"[S]", u" padded key = padded value ", u"=empty key", u"empty value="});
    EXPECT_EQ(s.Get(u"S", u" padded key "), u" padded value ");
    EXPECT_EQ(s.Get(u"S", u""), u"empty key");
    EXPECT_TRUE(s.Has(u"S", u"empty value"));
    EXPECT_EQ(s.Get(u"S", u"empty value", u"x"), u"");
}

TEST(SectionStore, WritesSectionsAndKeysInCodeUnitOrder) {
    SectionStore s = Parsed({u"[b]", u"z=1", u"a=2", u"[A]", u"k=v", u"[B]", u"x=y"});
    EXPECT_EQ(Written(s), u"[A]\nk=v\n[B]\nx=y\n[b]\na=2\nz=1\n");
    s.RemoveSection(u"B");
    EXPECT_EQ(Written(s), u"[A]\nk=v\n[b]\na=2\nz=1\n");
    // Asking for a section creates it, and an empty section is written too.
    s.Section(u"New");
    EXPECT_EQ(Written(s), u"[A]\nk=v\n[New]\n[b]\na=2\nz=1\n");
    s.Clear();
    EXPECT_TRUE(s.AllSections().empty());
    s.ParseLine(u"k=v");  // the current section went with the clear
    EXPECT_TRUE(s.AllSections().empty());
}

TEST(SectionStore, ParseAndWriteRoundTrip) {
    const SectionStore s = Parsed({u"[Z]", u"b=2", u"a=1", u";comment", u"", u"[Y]", u"k=\u00e4=\u6771"});
    EXPECT_EQ(Written(s), u"[Y]\nk=\u00e4=\u6771\n[Z]\na=1\nb=2\n");
}

TEST(TypedProperties, IntegersReadTheLeadingNumber) {
    int32_t v = 7;
    EXPECT_TRUE(ReadInt(OneKey(u"3abc").reader, u"k", v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(ReadInt(OneKey(u"  -42").reader, u"k", v));
    EXPECT_EQ(v, -42);
    EXPECT_TRUE(ReadInt(OneKey(u"+5").reader, u"k", v));
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(ReadInt(OneKey(u"-2147483648").reader, u"k", v));
    EXPECT_EQ(v, INT32_MIN);
    v = 7;
    for (const char16_t* bad : {u"", u"abc", u"-", u"+ 1", u"2147483648", u"99999999999999999999999"}) {
        EXPECT_FALSE(ReadInt(OneKey(bad).reader, u"k", v)) << PL::ToUtf8(bad);
        EXPECT_EQ(v, 7);
    }
    EXPECT_FALSE(ReadInt(OneKey(u"1").reader, u"other", v));
    EXPECT_EQ(v, 7);
}

TEST(TypedProperties, UnsignedSixteenBit) {
    uint16_t v = 1;
    EXPECT_TRUE(ReadUInt16(OneKey(u"1031").reader, u"k", v));
    EXPECT_EQ(v, 0x407);
    EXPECT_TRUE(ReadUInt16(OneKey(u"65535").reader, u"k", v));
    EXPECT_EQ(v, 65535);
    v = 1;
    for (const char16_t* bad : {u"65536", u"-1", u"x"}) {
        EXPECT_FALSE(ReadUInt16(OneKey(bad).reader, u"k", v)) << PL::ToUtf8(bad);
        EXPECT_EQ(v, 1);
    }
}

TEST(TypedProperties, BoolsAreZeroOrOne) {
    bool v = false;
    EXPECT_TRUE(ReadBool(OneKey(u"1").reader, u"k", v));
    EXPECT_TRUE(v);
    EXPECT_TRUE(ReadBool(OneKey(u"0 trailing").reader, u"k", v));
    EXPECT_FALSE(v);
    for (const char16_t* bad : {u"2", u"-1", u"true", u""}) {
        v = true;
        EXPECT_FALSE(ReadBool(OneKey(bad).reader, u"k", v)) << PL::ToUtf8(bad);
        EXPECT_TRUE(v);
    }
}

TEST(TypedProperties, FloatsAndDoubles) {
    float f = -1;
    EXPECT_TRUE(ReadFloat(OneKey(u"0.5").reader, u"k", f));
    EXPECT_EQ(f, 0.5f);
    EXPECT_TRUE(ReadFloat(OneKey(u" 1.5e3x").reader, u"k", f));
    EXPECT_EQ(f, 1500.0f);
    EXPECT_TRUE(ReadFloat(OneKey(u".25").reader, u"k", f));
    EXPECT_EQ(f, 0.25f);
    EXPECT_TRUE(ReadFloat(OneKey(u"-7.").reader, u"k", f));
    EXPECT_EQ(f, -7.0f);
    EXPECT_TRUE(ReadFloat(OneKey(u"47.36999893188477").reader, u"k", f));
    EXPECT_EQ(f, 47.37f);
    f = -1;
    for (const char16_t* bad : {u".", u"e5", u"1e", u"1e+", u"nan", u"inf", u"1e39", u""}) {
        EXPECT_FALSE(ReadFloat(OneKey(bad).reader, u"k", f)) << PL::ToUtf8(bad);
        EXPECT_EQ(f, -1.0f);
    }
    double d = 0;
    EXPECT_TRUE(ReadDouble(OneKey(u"2460000.5").reader, u"k", d));
    EXPECT_EQ(d, 2460000.5);
    EXPECT_TRUE(ReadDouble(OneKey(u"1e39").reader, u"k", d));
    EXPECT_EQ(d, 1e39);
    EXPECT_FALSE(ReadDouble(OneKey(u"1e999").reader, u"k", d));
}

TEST(TypedProperties, WrittenForms) {
    PropertySection s;
    SectionPropertyWriter w(s);
    WriteFloat(w, u"a", 30.0f);
    WriteFloat(w, u"b", 0.5f);
    WriteFloat(w, u"c", 47.37f);  // the float's expansion to 16 digits
    WriteFloat(w, u"d", 657.0f);
    WriteDouble(w, u"e", 2460000.5);
    WriteDouble(w, u"f", 0.1);  // 20 digits show the double's error
    WriteBool(w, u"g", true);
    WriteBool(w, u"h", false);
    WriteInt(w, u"i", -300);
    WriteUInt16(w, u"j", 0x407);
    WriteText(w, u"k", u"a=b");
    WriteInt(w, u"i", 3600);  // replaces
    EXPECT_EQ(s[u"a"], u"30");
    EXPECT_EQ(s[u"b"], u"0.5");
    EXPECT_EQ(s[u"c"], u"47.36999893188477");
    EXPECT_EQ(s[u"d"], u"657");
    EXPECT_EQ(s[u"e"], u"2460000.5");
    EXPECT_EQ(s[u"f"], u"0.10000000000000000555");
    EXPECT_EQ(s[u"g"], u"1");
    EXPECT_EQ(s[u"h"], u"0");
    EXPECT_EQ(s[u"i"], u"3600");
    EXPECT_EQ(s[u"j"], u"1031");
    EXPECT_EQ(s[u"k"], u"a=b");
    // Everything written reads back to the same value.
    SectionPropertyReader r(s);
    float f;
    ASSERT_TRUE(ReadFloat(r, u"c", f));
    EXPECT_EQ(f, 47.37f);
    double d;
    ASSERT_TRUE(ReadDouble(r, u"f", d));
    EXPECT_EQ(d, 0.1);
}
