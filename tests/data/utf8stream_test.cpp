#include "data/utf8stream.h"
#include "data/native/test_platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Reader = PL::specialbuffer_istream<PL::utf8wfbuf>;
using Writer = PL::specialbuffer_ostream<PL::utf8wfbuf>;

class Utf8StreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = ::testing::TempDir() + "celvane_utf8_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::remove((dir + "/f.txt").c_str());
        ::mkdir(dir.c_str(), 0777);
    }
    void TearDown() override {
        std::remove((dir + "/f.txt").c_str());
        ::rmdir(dir.c_str());
    }

    std::u16string Path() const { return PL::FromUtf8(dir + "/f.txt"); }
    void WriteBytes(const std::string& bytes) {
        std::ofstream f(dir + "/f.txt", std::ios::binary);
        f << bytes;
    }
    std::string ReadBytes() {
        std::ifstream f(dir + "/f.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    // Everything the reader delivers, read with a wide buffer of `chars`.
    std::u16string ReadAll(size_t chars) {
        Reader in(Path(), PL::utf8wfbuf::kRead, chars);
        EXPECT_TRUE(in.is_open());
        std::u16string s(std::istreambuf_iterator<char16_t>(in), {});
        EXPECT_FALSE(in.bad());
        return s;
    }
    // The same text must come out at every block size, the smallest included,
    // so that sequences cut at block edges are covered.
    void ExpectText(const std::string& bytes, const std::u16string& text) {
        WriteBytes(bytes);
        for (size_t chars : {size_t(4), size_t(5), size_t(6), size_t(7), size_t(16), size_t(4096)})
            EXPECT_EQ(ReadAll(chars), text) << "buffer " << chars;
    }

    std::string dir;
    PL::PosixPlatform platform;
    PL::ScopedPlatform scope{platform};
};

TEST_F(Utf8StreamTest, LineEndsOfEveryStyleReadAsOneLf) {
    ExpectText("a\r\r\nb\n\rc\r", u"a\n\nb\n\nc\n");
    // CR LF cut by the block edge at every position.
    ExpectText("abc\r\ndefgh\r\nijklmno\r\n", u"abc\ndefgh\nijklmno\n");
}

TEST_F(Utf8StreamTest, MultiByteSequencesAndSurrogatePairs) {
    // A byte-order mark is skipped only at the start.
    ExpectText("\xEF\xBB\xBF\xEF\xBB\xBFx", u"\uFEFFx");
    ExpectText("x\xEF\xBB\xBF", u"x\uFEFF");
    ExpectText("M\xC3\xA4rz \xC2\xB0 \xE2\x82\xAC", u"M\u00e4rz \u00b0 \u20ac");
    ExpectText("\xF0\x9F\x8C\x8D|\xF4\x8F\xBF\xBF|\xF0\x90\x80\x80", u"\U0001F30D|\U0010FFFF|\U00010000");
    // As a char16_t, the noncharacter U+FFFF is the stream's end-of-file
    // value: it reads as the replacement character.
    ExpectText("a\xEF\xBF\xBF" "b\xEF\xBF\xBF", u"a\uFFFDb\uFFFD");
}

TEST_F(Utf8StreamTest, MalformedBytesAreDroppedOneByOne) {
    ExpectText("a\x80\xBF" "b", u"ab");                // continuation bytes without a lead
    ExpectText("a\xF8\xFF\xFE" "b", u"ab");            // bytes that never occur in UTF-8
    ExpectText("x\xC3", u"x");                         // cut by the end of the file
    ExpectText("\xF4\x90\x80\x80" "z", u"z");          // beyond U+10FFFF
    ExpectText("a\xC0\x8D" "b\xE0\x80\x8A" "c\xC1\xBF", u"abc");  // overlong CR, LF and DEL
    ExpectText("\xC2\x80\xE0\xA0\x80", u"\u0080\u0800");             // the smallest of each length
}

TEST_F(Utf8StreamTest, WrittenFilesHaveAByteOrderMarkAndCrLf) {
    {
        Writer out(Path(), PL::utf8wfbuf::kWrite, 4);
        ASSERT_TRUE(out.is_open());
        out << u"a\nb\r\nc\u00e4\u20ac\U0001F30D\n" << u'\n';
        EXPECT_TRUE(out.close());
    }
    EXPECT_EQ(ReadBytes(), "\xEF\xBB\xBF" "a\r\nb\r\nc\xC3\xA4\xE2\x82\xAC\xF0\x9F\x8C\x8D\r\n\r\n");
    EXPECT_EQ(ReadAll(4), u"a\nb\nc\u00e4\u20ac\U0001F30D\n\n");
}

TEST_F(Utf8StreamTest, WritingSurvivesEveryBufferEdge) {
    // Long text of mixed widths through small buffers: what is read back is
    // what was written, with LF line ends.
    std::u16string text;
    for (int i = 0; i < 200; ++i) {
        text += u"x\u00e4\u20ac\U0001F30D\n";
        text += static_cast<char16_t>(u'a' + i % 26);
        text += u"\r\n";
    }
    std::u16string expected;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == u'\r')) expected += text[i];
    {
        Writer out(Path(), PL::utf8wfbuf::kWrite, 5);
        for (char16_t c : text) out.put(c);  // one unit at a time: pairs split across flushes
        EXPECT_TRUE(out.close());
    }
    EXPECT_EQ(ReadAll(5), expected);
    const std::string bytes = ReadBytes();
    EXPECT_EQ(bytes.find("\r\r"), std::string::npos);
    EXPECT_EQ(bytes.find("\xED"), std::string::npos) << "a surrogate was written on its own";
}

TEST_F(Utf8StreamTest, AReadErrorIsNotTheEndOfTheFile) {
    // A folder opens as a stream on Linux, but reading it fails.
    Reader in(PL::FromUtf8(dir));
    ASSERT_TRUE(in.is_open());
    std::u16string line;
    EXPECT_FALSE(PL::GetLine(in, line));
    EXPECT_TRUE(in.bad());
    EXPECT_TRUE(in.rdbuf()->failed());
}

TEST_F(Utf8StreamTest, AShortWriteMakesTheFlushFail) {
    // /dev/full takes no byte.
    Writer out(u"/dev/full", PL::utf8wfbuf::kWrite, 4);
    ASSERT_TRUE(out.is_open());
    out << u"some text that does not fit";
    out.flush();
    EXPECT_TRUE(out.bad());
    EXPECT_FALSE(out.close());
    // Close reports the last flush too.
    Writer buffered(u"/dev/full", PL::utf8wfbuf::kWrite, 4096);
    buffered << u"short";  // still in the buffer
    EXPECT_TRUE(buffered.good());
    EXPECT_FALSE(buffered.close());
}

}  // namespace
