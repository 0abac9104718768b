#include "data/errors.h"
#include "data/messages.h"
#include "data/native/test_platform.h"

#include <gtest/gtest.h>

namespace {

using Data::Message;
using Data::MessageFormat;
using Data::MessageText;

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override { Data::SetUserLangId(0); }
    void TearDown() override { Data::SetUserLangId(0); }

    PL::TestPlatform platform;
    PL::ScopedPlatform scope{platform};
};

const Message kEnDe{{0x409, u"Sun"}, {0x407, u"Sonne"}};
const Message kEnDeFr{{0x409, u"Moon"}, {0x407, u"Mond"}, {0x40C, u"Lune"}};
const Message kEmpty{};

TEST_F(MessagesTest, LanguageChoiceAndFallbacks) {
    EXPECT_EQ(MessageText(kEnDeFr, 0x40C), u"Lune");
    // Other sublanguages fall back to their primary language.
    EXPECT_EQ(MessageText(kEnDeFr, 0xC07), u"Mond");  // Austria
    // A language the message lacks gets the first text, whatever its language.
    EXPECT_EQ(MessageText(kEnDe, 0x410), u"Sun");
    // neutral sublanguage of the primary language (4) > other sublanguage (3)
    // > language-neutral (2) > first (1); among equals the first stays.
    const Message m{{0x409, u"first"}, {0x0400, u"neutral"}, {0x0807, u"swiss"}, {0x0007, u"german"},
                    {0x0C07, u"austrian"}};
    EXPECT_EQ(MessageText(m, 0x407), u"german");
    EXPECT_EQ(MessageText(m, 0x0C07), u"austrian");  // exact match beats everything
    EXPECT_EQ(MessageText(m, 0x40C), u"neutral");
    EXPECT_EQ(MessageText(kEmpty, 0x409), u"<<<Missing message text>>>");
}

TEST_F(MessagesTest, Placeholders) {
    EXPECT_EQ(MessageFormat(u"{1} before {0}").Arg(u"a").Arg(u"b").Format(), u"b before a");
    // Argument text is not formatted again.
    EXPECT_EQ(MessageFormat(u"[{0}]").Arg(u"{1}").Arg(u"no").Format(), u"[{1}]");
    // Missing arguments are marked in place.
    platform.language = 0x409;
    EXPECT_EQ(MessageFormat(Data::kMsgErrorInFile, u"a.puo").Arg(u"3").Format(),
              u"Error in file a.puo on line 3: <<<Missing parameter>>>");
    EXPECT_EQ(MessageFormat(u"{99999999999999999999}").Arg(u"a").Format(), u"<<<Missing parameter>>>");
    // Braces that open no placeholder are dropped.
    EXPECT_EQ(MessageFormat(u"a{}b").Arg(u"X").Format(), u"aXb");  // no digits: argument 0
    EXPECT_EQ(MessageFormat(u"{1x}").Arg(u"X").Format(), u"1x}");
    EXPECT_EQ(MessageFormat(u"end{").Arg(u"X").Format(), u"end");
}

TEST_F(MessagesTest, FileErrorsInTheUsersLanguageAlsoAsUtf8) {
    platform.language = 0x409;
    EXPECT_EQ(PL::FileIOError::Writing(u"/d/prefs.tmp").Text(), u"Error writing file /d/prefs.tmp.");
    platform.language = 0x407;
    EXPECT_EQ(PL::FileIOError::Reading(u"/d/prefs.dat").Text(), u"Fehler beim Lesen von Datei /d/prefs.dat.");
    EXPECT_EQ(Data::DataError::InFile(u"/d/M.puo", 7, u"x").Text(), u"Fehler in Datei /d/M.puo auf Zeile 7: x");
    try {
        throw Data::DataFormatError::InvalidValue(u"Name");
    } catch (const Data::DataError& e) {  // a format error is a data error
        EXPECT_EQ(e.Text(), u"Ung\u00fcltiger Wert f\u00fcr Name");
        EXPECT_STREQ(e.what(), "Ung\xc3\xbcltiger Wert f\xc3\xbcr Name");
    }
    PL::FileIOError io(u"\u00e4");
    EXPECT_STREQ(io.what(), "\xc3\xa4");
}

}  // namespace
