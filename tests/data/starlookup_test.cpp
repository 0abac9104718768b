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
    EXPECT_TRUE(same(ParseTycNumber(u"5949-2777-1"), {5949, 2777, 1}));
    EXPECT_TRUE(same(ParseTycNumber(u"5949 - 2777 - 1"), {5949, 2777, 1}));
    EXPECT_TRUE(same(ParseTycNumber(u"5949/2777/1"), {5949, 2777, 1}));
    EXPECT_TRUE(same(ParseTycNumber(u"1234-12345-1"), {1234, 12345, 1}));  // the middle group is kept
    // Invalid: no third group, empty first group, empty middle group, nothing.
    EXPECT_TRUE(same(ParseTycNumber(u"5949-2777"), {}));
    EXPECT_TRUE(same(ParseTycNumber(u"5949-2777-"), {}));
    EXPECT_TRUE(same(ParseTycNumber(u"-2777-1"), {}));
    EXPECT_TRUE(same(ParseTycNumber(u"5949--1"), {}));
    EXPECT_TRUE(same(ParseTycNumber(u""), {}));
    EXPECT_TRUE(same(ParseTycNumber(u"5949"), {}));
    // Held to their limits: TYC1 at most 9999, TYC3 at most 99; the third
    // group is read up to its first non-digit.
    EXPECT_TRUE(same(ParseTycNumber(u"123456-1-1"), {9999, 1, 1}));
    EXPECT_TRUE(same(ParseTycNumber(u"1-1-123"), {1, 1, 99}));
    EXPECT_TRUE(same(ParseTycNumber(u"1-2-3x"), {1, 2, 3}));
    EXPECT_TRUE(same(ParseTycNumber(u"1-99999999999-3"), {1, 65535, 3}));
}

TEST(StarLookupText, Designations) {
    EXPECT_EQ(FormatHr(2491), u"HR 2491");
    EXPECT_EQ(FormatHip(32349), u"HIP 32349");
    EXPECT_EQ(FormatTyc(TycNumber{5949, 2777, 1}), u"TYC 5949-2777-1");
}

TEST_F(StarTest, StarFromNumberTextBright) {
    const StarNumber sirius = HrToStarIndex(2491);
    ASSERT_GE(sirius, 0);
    EXPECT_EQ(StarFromNumberText(u"HR 2491"), sirius);
    EXPECT_EQ(StarFromNumberText(u"hr2491"), sirius);
    EXPECT_EQ(StarFromNumberText(u"Hr 2491"), sirius);
    EXPECT_EQ(StarFromNumberText(u"HR   2491 and more"), sirius);
    EXPECT_EQ(StarFromNumberText(u"HR 0"), -1);
    EXPECT_EQ(StarFromNumberText(u"HR 9111"), -1);
    EXPECT_EQ(StarFromNumberText(u"HR 92"), -1);  // a nova: no star
    EXPECT_EQ(StarFromNumberText(u"HR -5"), -1);
    EXPECT_EQ(StarFromNumberText(u"HR 99999999999999"), -1);
    EXPECT_EQ(StarFromNumberText(u"HR"), -1);
    EXPECT_EQ(StarFromNumberText(u"HIP 32349"), sirius);
    EXPECT_EQ(StarFromNumberText(u"hip32349"), sirius);
    EXPECT_EQ(StarFromNumberText(u"HIP 0"), -1);
    EXPECT_EQ(StarFromNumberText(u"HIP -32349"), -1);
    EXPECT_EQ(StarFromNumberText(u"TYC 5949-2777-1"), sirius);
    EXPECT_EQ(StarFromNumberText(u"tyc5949 - 2777 - 1"), sirius);
    EXPECT_EQ(StarFromNumberText(u"TYC 5949/2777/1"), sirius);
    EXPECT_EQ(StarFromNumberText(u"TYC 5949-2777"), -1);
    EXPECT_EQ(StarFromNumberText(u"TYC -2777-1"), -1);
    EXPECT_EQ(StarFromNumberText(u"TYC 5949--1"), -1);
    EXPECT_EQ(StarFromNumberText(u"SAO 151881"), -1);
    EXPECT_EQ(StarFromNumberText(u""), -1);
}

TEST_F(StarTest, StarFromNumberTextNeedsStarsDatForFaintHipStars) {
    const StarNumber high = StarFromNumberText(u"HIP 120416");
    EXPECT_GE(high, kHipStarBase);
    const StarNumber faint = StarFromNumberText(u"HIP 1");
    EXPECT_GE(faint, kHipStarBase);
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
    EXPECT_EQ(list.RowText(0), u"Enter star number like");
    EXPECT_EQ(list.RowText(1), u"\"HR 1234\" for Yale Bright Star Cat. Nr");
    EXPECT_EQ(list.RowText(2), u"\"HIP 123456\" for Hipparcos Nr");
    EXPECT_EQ(list.RowText(3), u"\"TYC 1234-12345-1\" for Tycho-2 Nr");

    EXPECT_EQ(list.Refresh(u"HR 2491"), 1);
    EXPECT_EQ(list.Star(), HrToStarIndex(2491));
    EXPECT_EQ(list.RowText(0), u"HR 2491, HIP 32349, TYC 5949-2777-1");

    EXPECT_EQ(list.Refresh(u"HR 92"), -6);
    EXPECT_EQ(list.Star(), -1);
    EXPECT_EQ(list.RowText(4), u"");
    EXPECT_EQ(list.RowText(5), u"   Star not found");

    platform_->language = 0x407;
    EXPECT_EQ(list.RowText(0), u"Stern-Nummer eingeben");
    EXPECT_EQ(list.RowText(1), u"\"HR 1234\" f\u00fcr Yale Bright Star Cat. Nr");
    EXPECT_EQ(list.RowText(2), u"\"HIP 123456\" f\u00fcr Hipparcos Nr");
    EXPECT_EQ(list.RowText(3), u"\"TYC 1234-12345-1\" f\u00fcr Tycho-2 Nr");
    EXPECT_EQ(list.RowText(5), u"   Stern nicht gefunden");
    platform_->language.reset();
}

TEST_F(StarTest, RowTextShowsOnlyTheNumbersAStarHas) {
    // A HIP-section star has no HR number.
    const StarNumber hip1 = FindStarByHip(1);
    ASSERT_GE(hip1, kHipStarBase);
    EXPECT_EQ(StarNumberRowText(hip1), u"HIP 1");
    EXPECT_EQ(StarNumberRowText(FindStarByHip(32349)), u"HR 2491, HIP 32349, TYC 5949-2777-1");
    // A bright star without a Hipparcos number (HR 1704 has none in the
    // cross-identifications) shows its HR and TYC numbers only.
    const std::u16string row = StarNumberRowText(HrToStarIndex(1704));
    EXPECT_EQ(row.rfind(u"HR 1704", 0), 0u);
    EXPECT_EQ(row.find(u"HIP"), std::u16string::npos);
    EXPECT_EQ(StarNumberRowText(-1), u"");
}
