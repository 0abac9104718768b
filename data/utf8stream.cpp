#include "data/utf8stream.h"

#include "data/platform.h"

#include <algorithm>
#include <ios>

namespace PL {

utf8wfbuf::utf8wfbuf(const std::u16string& path, int mode, size_t bufferChars) { open(path, mode, bufferChars); }

utf8wfbuf::~utf8wfbuf() { close(); }

bool utf8wfbuf::open(const std::u16string& path, int mode, size_t bufferChars) {
    if (file_) return false;
    const char* how = nullptr;
    if (mode == kRead) how = "rb";
    else if (mode == kWrite) how = "wb";
    else if (mode == kAppendMode) how = "ab";
    else return false;  // read and write together, or unknown bits

    std::FILE* f = Current().OpenFile(path, how);
    if (!f) return false;
    file_ = f;
    mode_ = mode;
    failed_ = false;
    const size_t n = std::max(bufferChars, kMinBufferChars);
    wide_.assign(n, 0);
    if (mode == kRead) {
        bytes_.assign(n, 0);
        bytePos_ = byteEnd_ = 0;
        atEnd_ = afterCR_ = false;
        atStart_ = true;
        setg(wide_.data(), wide_.data(), wide_.data());
    } else {
        // Worst case three bytes per unit (a BMP character above U+07FF; LF
        // becomes two, a surrogate pair four for two units).
        bytes_.assign(3 * n, 0);
        lastWasCR_ = false;
        setp(wide_.data(), wide_.data() + n);
        if (mode == kWrite) sputc(u'\uFEFF');  // every written file starts with EF BB BF
    }
    return true;
}

bool utf8wfbuf::close() {
    if (!file_) return true;
    bool ok = !failed_;
    if (mode_ != kRead) {
        ok = WriteOut(true) && ok;
        ok = std::fflush(file_) == 0 && ok;
    }
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    setg(nullptr, nullptr, nullptr);
    setp(nullptr, nullptr);
    return ok;
}

// --- reading ----------------------------------------------------------------------

utf8wfbuf::int_type utf8wfbuf::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (!file_ || mode_ != kRead) return traits_type::eof();
    if (!FillWide()) return traits_type::eof();
    return traits_type::to_int_type(*gptr());
}

bool utf8wfbuf::FillWide() {
    size_t out = 0;
    for (;;) {
        const bool complete = Decode(out);
        if (out > 0) break;
        // At the end of the file Decode has used or dropped every byte.
        if (atEnd_) return false;
        if (complete) bytePos_ = byteEnd_ = 0;
        // Keep the cut sequence at the front, fill the rest from the file.
        const size_t kept = byteEnd_ - bytePos_;
        std::copy(bytes_.begin() + static_cast<long>(bytePos_), bytes_.begin() + static_cast<long>(byteEnd_), bytes_.begin());
        bytePos_ = 0;
        byteEnd_ = kept;
        const size_t want = bytes_.size() - kept;
        const size_t got = std::fread(bytes_.data() + kept, 1, want, file_);
        byteEnd_ += got;
        if (got < want) {
            if (std::ferror(file_)) {
                failed_ = true;
                atEnd_ = true;
                // The stream sets its bad bit: reading ended other than at the end.
                throw std::ios_base::failure("error reading file");
            }
            atEnd_ = true;
        }
    }
    setg(wide_.data(), wide_.data(), wide_.data() + out);
    return true;
}

bool utf8wfbuf::Decode(size_t& out) {
    const size_t cap = wide_.size();
    auto emit = [&](char16_t c) {
        if (atStart_) {
            atStart_ = false;
            if (c == 0xFEFF) return;  // the byte-order mark
        }
        wide_[out++] = c;
    };
    while (bytePos_ < byteEnd_) {
        if (out + 2 > cap) return true;  // room for a surrogate pair is kept
        const unsigned char b = bytes_[bytePos_];
        if (b < 0x80) {
            ++bytePos_;
            if (b == '\r') {
                emit(u'\n');
                afterCR_ = true;
            } else if (b == '\n' && afterCR_) {
                afterCR_ = false;  // CR LF is one line end
            } else {
                emit(static_cast<char16_t>(b));
                afterCR_ = false;
            }
            continue;
        }
        size_t len;
        uint32_t c;
        if ((b & 0xE0) == 0xC0) { len = 2; c = b & 0x1F; }
        else if ((b & 0xF0) == 0xE0) { len = 3; c = b & 0x0F; }
        else if ((b & 0xF8) == 0xF0) { len = 4; c = b & 0x07; }
        else { ++bytePos_; continue; }  // a continuation byte without lead, or no UTF-8 byte at all

        const size_t have = byteEnd_ - bytePos_;
        bool bad = false;
        for (size_t k = 1; k < len && k < have; ++k) {
            const unsigned char cb = bytes_[bytePos_ + k];
            if ((cb & 0xC0) != 0x80) { bad = true; break; }
            c = (c << 6) | (cb & 0x3F);
        }
        if (!bad && have < len) {
            if (!atEnd_) return false;  // cut by the end of the block: completed with the next one
            bad = true;                 // cut by the end of the file
        }
        // Overlong forms are malformed (they would let a CR or LF past the
        // line-end handling), and four bytes must give a character beyond
        // the BMP and within Unicode, else it would not fit a surrogate pair.
        if (!bad && have >= len &&
            ((len == 2 && c < 0x80) || (len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF))))
            bad = true;
        if (bad) {
            ++bytePos_;  // the lead byte alone is dropped
            continue;
        }
        bytePos_ += len;
        afterCR_ = false;
        if (c >= 0x10000) {
            c -= 0x10000;
            emit(static_cast<char16_t>(0xD800 + (c >> 10)));
            emit(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            // U+FFFF is a noncharacter, and as a char16_t it is the stream's
            // end-of-file value: it is read as the replacement character.
            emit(c == 0xFFFF ? char16_t(0xFFFD) : static_cast<char16_t>(c));
        }
    }
    return true;
}

// --- writing ----------------------------------------------------------------------

utf8wfbuf::int_type utf8wfbuf::overflow(int_type c) {
    if (!file_ || mode_ == kRead) return traits_type::eof();
    if (!WriteOut(false)) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int utf8wfbuf::sync() {
    if (!file_ || mode_ == kRead) return 0;
    if (!WriteOut(true)) return -1;
    if (std::fflush(file_) != 0) {
        failed_ = true;
        return -1;
    }
    return 0;
}

bool utf8wfbuf::WriteOut(bool all) {
    char16_t* const begin = pbase();
    char16_t* end = pptr();
    if (failed_) return false;
    // A high surrogate at the end of a full buffer waits for its partner.
    char16_t held = 0;
    if (!all && end > begin && end[-1] >= 0xD800 && end[-1] < 0xDC00) held = *--end;

    size_t n = 0;
    unsigned char* const o = bytes_.data();
    for (const char16_t* p = begin; p < end; ++p) {
        uint32_t c = *p == 0xFFFF ? 0xFFFD : *p;  // as the reader takes it
        if (c < 0x80) {
            if (c == u'\n' && !lastWasCR_) o[n++] = '\r';
            o[n++] = static_cast<unsigned char>(c);
            lastWasCR_ = c == u'\r';
            continue;
        }
        lastWasCR_ = false;
        if (c < 0x800) {
            o[n++] = static_cast<unsigned char>(0xC0 | (c >> 6));
            o[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c < 0xDC00 && p + 1 < end && p[1] >= 0xDC00 && p[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
            o[n++] = static_cast<unsigned char>(0xF0 | (c >> 18));
            o[n++] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            o[n++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            o[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            o[n++] = static_cast<unsigned char>(0xE0 | (c >> 12));
            o[n++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            o[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    const bool ok = n == 0 || std::fwrite(o, 1, n, file_) == n;
    setp(wide_.data(), wide_.data() + wide_.size());
    if (held) {
        *pptr() = held;
        pbump(1);
    }
    if (!ok) failed_ = true;
    return ok;
}

bool GetLine(std::basic_istream<char16_t>& in, std::u16string& line) {
    return !std::getline(in, line, u'\n').fail();
}

// --- whole files, line by line ------------------------------------------------------

namespace {

// One line of bytes (no line end) as UTF-16: false when it is not
// well-formed UTF-8.
bool DecodeUtf8Line(const unsigned char* bytes, size_t n, std::u16string& out) {
    out.clear();
    out.reserve(n);
    for (size_t i = 0; i < n;) {
        uint32_t c;
        const size_t len = DecodeUtf8(bytes + i, n - i, c);
        if (len == 0) return false;
        i += len;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += c == 0xFFFF ? char16_t(0xFFFD) : static_cast<char16_t>(c);
        }
    }
    return true;
}

// Windows-1252 to UTF-16; the five bytes it leaves undefined keep their
// value as C1 control characters.
std::u16string DecodeWindows1252(const unsigned char* bytes, size_t n) {
    // 0x80..0x9F; the rest of the code page is Latin-1.
    static const char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::u16string out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const unsigned char b = bytes[i];
        out += (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

}  // namespace

bool ReadTextLines(const std::u16string& path, TextLines& text) {
    text.lines.clear();
    text.damaged = 0;
    std::FILE* f = Current().OpenFile(path, "rb");
    if (!f) return false;
    std::vector<unsigned char> bytes;
    unsigned char buf[8192];
    size_t got;
    bool tooLarge = false;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) {
        bytes.insert(bytes.end(), buf, buf + got);
        if (bytes.size() > kMaxTextLinesFileBytes) {
            tooLarge = true;
            break;
        }
    }
    const bool ok = !std::ferror(f) && !tooLarge;
    std::fclose(f);
    if (tooLarge) return false;

    size_t i = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) i = 3;
    std::u16string line;
    while (i < bytes.size()) {
        size_t end = i;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        const unsigned char* begin = bytes.data() + i;
        if (!DecodeUtf8Line(begin, end - i, line)) {
            line = DecodeWindows1252(begin, end - i);
            ++text.damaged;
        }
        text.lines.push_back(line);
        // CR LF, CR and LF each end one line.
        if (end < bytes.size()) {
            if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
            ++end;
        }
        i = end;
    }
    return ok;
}

}  // namespace PL
