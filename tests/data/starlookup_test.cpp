#include "data/starlookup.h"

#include <gtest/gtest.h>

#include "data/messages.h"
#include "data/starcatalog.h"
#include "data/starenum.h"
#include "star_fixture.h"

using namespace Data;
using startest::StarTest;

TEST(StarLookupText, TycNumberParsing) {
    auto same = [](TycNumber a, TycNumber b) { return a == b; };
    EXPECT_TRUE(same(ParseTycNumber(u"1234-12345-1"), {1234, 12345, 1}));  // the middle group is kept
    // Invalid: no third group, empty first group, empty middle group, nothing.
    for (const char16_t* bad : {u"5949-2777-", u"-2777-1", u"5949--1", u""})
        EXPECT_TRUE(same(ParseTycNumber(bad), {})) << PL::ToUtf8(bad);
    // Held to their limits: TYC1 at most 9999, TYC3 at most 99; the third
    // group is read up to its first non-digit.
    EXPECT_TRUE(same(ParseTycNumber(u"123456-1-1"), {9999, 1, 1}));
    EXPECT_TRUE(same(ParseTycNumber(u"1-1-123"), {1, 1, 99}));
    EXPECT_TRUE(same(ParseTycNumber(u"1-99999999999-3"), {1, 65535, 3}));
}

TEST_F(StarTest, StarFromNumberTextBright) {
    const StarNumber sirius = HrToStarIndex(2491);
    ASSERT_GE(sirius, 0);
    for (const char16_t* text : {u"hr2491", u"HR   2491 and more", u"HIP 32349", u"tyc5949 - 2777 - 1", u"TYC 5949/2777/1"})
        EXPECT_EQ(StarFromNumberText(text), sirius) << PL::ToUtf8(text);
    // HR 92 is a nova: no star.
    for (const char16_t* text : {u"HR 9111", u"HR 92", u"HR -5", u"HR 99999999999999", u"HIP -32349", u"TYC 5949-2777",
                                 u"SAO 151881"})
        EXPECT_EQ(StarFromNumberText(text), -1) << PL::ToUtf8(text);
}

TEST_F(StarTest, StarFromNumberTextNeedsStarsDatForFaintHipStars) {
    EXPECT_GE(StarFromNumberText(u"HIP 120416"), kHipStarBase);
    EXPECT_GE(StarFromNumberText(u"HIP 1"), kHipStarBase);
    SetStarFilePath(u"");
    EXPECT_EQ(StarFromNumberText(u"HIP 120416"), -1);
    EXPECT_EQ(StarFromNumberText(u"HIP 1"), -1);
    EXPECT_EQ(StarFromNumberText(u"HIP 32349"), HrToStarIndex(2491));
}

TEST_F(StarTest, StarNumberListRows) {
    platform_->language = 0x409;
    StarNumberList list;
    EXPECT_EQ(list.Refresh(u"HR"), -4);
    EXPECT_EQ(list.Star(), -1);
    EXPECT_EQ(list.RowText(3), u"\"TYC 1234-12345-1\" for Tycho-2 Nr");

    EXPECT_EQ(list.Refresh(u"HR 2491"), 1);
    EXPECT_EQ(list.Star(), HrToStarIndex(2491));
    EXPECT_EQ(list.RowText(0), u"HR 2491, HIP 32349, TYC 5949-2777-1");

    EXPECT_EQ(list.Refresh(u"HR 92"), -6);
    EXPECT_EQ(list.Star(), -1);
    EXPECT_EQ(list.RowText(5), u"   Star not found");

    platform_->language = 0x407;
    EXPECT_EQ(list.RowText(5), u"   Stern nicht gefunden");
    platform_->language.reset();
}

TEST_F(StarTest, RowTextShowsOnlyTheNumbersAStarHas) {
    // A HIP-section star has no HR number.
    const StarNumber hip1 = FindStarByHip(1);
    ASSERT_GE(hip1, kHipStarBase);
    EXPECT_EQ(StarNumberRowText(hip1), u"HIP 1");
    // A bright star without a Hipparcos number (HR 1704 has none in the
    // cross-identifications) shows its HR and TYC numbers only.
    const std::u16string row = StarNumberRowText(HrToStarIndex(1704));
    EXPECT_EQ(row.rfind(u"HR 1704", 0), 0u);
    EXPECT_EQ(row.find(u"HIP"), std::u16string::npos);
    EXPECT_EQ(StarNumberRowText(-1), u"");
}
