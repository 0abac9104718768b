// UTF-8 text files as UTF-16 streams.
//
// Every text file of the program (preferences, places, object and comet
// files) is UTF-8 on disk and UTF-16 (char16_t) in memory:
//  - reading accepts CR LF, CR and LF line ends and delivers each as one LF,
//    skips a leading byte-order mark, turns four-byte sequences into
//    surrogate pairs and drops malformed bytes (a lead byte whose
//    continuation bytes are missing or wrong, or whose sequence is overlong
//    or beyond U+10FFFF, is dropped on its own); U+FFFF, the stream's
//    end-of-file value, is read as U+FFFD;
//  - writing starts a new file with the byte-order mark EF BB BF and writes
//    every LF as CR LF (a CR already in front of it is not doubled);
//    appending adds no byte-order mark.
//
// Usage:
//     PL::specialbuffer_istream<PL::utf8wfbuf> in(path);
//     if (!in) throw PL::FileIOError::Reading(path);
//     std::u16string line;
//     while (PL::GetLine(in, line)) { ... }
//     if (in.bad()) throw PL::FileIOError::Reading(path);   // a read error, not the end
//
//     PL::specialbuffer_ostream<PL::utf8wfbuf> out(path);   // or (path, PL::utf8wfbuf::kAppendMode)
//     out << u"key=value" << u'\n';
//     if (!out.close()) throw PL::FileIOError::Writing(path);
//
// The C++ library has no character classification for char16_t, so use
// these streams for text only: write u'\n' (not std::endl), numbers as text
// made by FormatInt and friends, and read lines with PL::GetLine (std::getline
// without an explicit u'\n' delimiter throws std::bad_cast).
//
// Files are opened through PL::Current().OpenFile.
#pragma once

#include <cstdio>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace PL {

class utf8wfbuf : public std::basic_streambuf<char16_t> {
public:
    // Mode bits: read opens "rb", write "wb"; write + append opens "ab".
    // Read and write together are refused.
    static constexpr int kRead = 1;
    static constexpr int kWrite = 2;
    static constexpr int kAppend = 8;
    static constexpr int kAppendMode = kWrite | kAppend;

    // Characters of the wide buffer (at least 4); reading uses a byte buffer of
    // the same number of bytes, writing one of three times as many.
    static constexpr size_t kDefaultBufferChars = 2048;
    static constexpr size_t kMinBufferChars = 4;

    utf8wfbuf() = default;
    utf8wfbuf(const std::u16string& path, int mode, size_t bufferChars = kDefaultBufferChars);
    ~utf8wfbuf() override;
    utf8wfbuf(const utf8wfbuf&) = delete;
    utf8wfbuf& operator=(const utf8wfbuf&) = delete;

    // False when the mode is invalid, a file is already open or the file
    // cannot be opened.
    bool open(const std::u16string& path, int mode, size_t bufferChars = kDefaultBufferChars);
    bool is_open() const { return file_ != nullptr; }
    // Flushes (write modes) and closes; false when a write or the close
    // failed, or when a read error had happened. Closing a closed buffer is true.
    bool close();
    // A read or write of the file has failed.
    bool failed() const { return failed_; }

protected:
    int_type underflow() override;
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool FillWide();             // read mode: decodes the next characters; false at the end
    bool Decode(size_t& out);    // decodes bytes_ into wide_ from out on; false: needs more bytes
    bool WriteOut(bool all);     // write mode: encodes and writes the put area

    std::FILE* file_ = nullptr;
    int mode_ = 0;
    bool failed_ = false;
    std::vector<char16_t> wide_;
    std::vector<unsigned char> bytes_;
    // reading
    size_t bytePos_ = 0, byteEnd_ = 0;  // undecoded bytes are bytes_[bytePos_, byteEnd_)
    bool atEnd_ = false;                // the file has delivered its last byte
    bool afterCR_ = false;              // the last character read was a CR (shown as LF)
    bool atStart_ = true;               // no character decoded yet (byte-order mark check)
    // writing
    bool lastWasCR_ = false;            // the last unit written was a CR
};

template <class Buf>
class specialbuffer_istream : public std::basic_istream<char16_t> {
public:
    explicit specialbuffer_istream(const std::u16string& path, int mode = Buf::kRead,
                                   size_t bufferChars = Buf::kDefaultBufferChars)
        : std::basic_istream<char16_t>(nullptr) {
        this->init(&buf_);
        if (!buf_.open(path, mode, bufferChars)) this->setstate(std::ios_base::failbit);
    }
    Buf* rdbuf() const { return const_cast<Buf*>(&buf_); }
    bool is_open() const { return buf_.is_open(); }
    void close() {
        if (!buf_.close()) this->setstate(std::ios_base::failbit);
    }

private:
    Buf buf_;
};

template <class Buf>
class specialbuffer_ostream : public std::basic_ostream<char16_t> {
public:
    explicit specialbuffer_ostream(const std::u16string& path, int mode = Buf::kWrite,
                                   size_t bufferChars = Buf::kDefaultBufferChars)
        : std::basic_ostream<char16_t>(nullptr) {
        this->init(&buf_);
        if (!buf_.open(path, mode, bufferChars)) this->setstate(std::ios_base::failbit);
    }
    Buf* rdbuf() const { return const_cast<Buf*>(&buf_); }
    bool is_open() const { return buf_.is_open(); }
    // Flushes and closes the file; true when every character reached the file.
    bool close() {
        if (!buf_.close()) this->setstate(std::ios_base::badbit);
        return !this->fail();
    }

private:
    Buf buf_;
};

// Reads one line (up to an LF, which is consumed and not stored). True when
// a line was read -- also a last line without a line end.
bool GetLine(std::basic_istream<char16_t>& in, std::u16string& line);

// The files the program rewrites (prefs.dat, places.dat) are read whole, line
// by line, so that a line that is not UTF-8 (Latin-1 or Windows-1252 text
// from another editor) keeps its letters: such a line is decoded as
// Windows-1252 and counted as damaged, and the caller keeps a copy of the
// file before it rewrites it. Line ends, the byte-order mark and U+FFFF are
// treated as by utf8wfbuf. False when the file cannot be opened, a read
// fails or the file is too large; `lines` then holds nothing or what was read.
// A file larger than this is not read at all (taken as unreadable, so that
// it is never replaced): no settings file comes near it.
constexpr size_t kMaxTextLinesFileBytes = size_t(64) << 20;
struct TextLines {
    std::vector<std::u16string> lines;
    size_t damaged = 0;  // lines decoded as Windows-1252
};
bool ReadTextLines(const std::u16string& path, TextLines& text);

}  // namespace PL
