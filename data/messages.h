// Multilingual message texts and the "{n}" message formatter.
//
// A message is constant data: a short list of (language id, text) pairs, the
// language id being a 16-bit Windows LANGID (0x409 English, 0x407 German,
// 0x40C French). Messages are referred to by the object:
//
//     const Data::Message kMsgNorth{{0x409, u"N"}, {0x407, u"N"}};
//     std::u16string n = Data::MessageText(kMsgNorth);
//
//     const Data::Message kMsgReadError{{0x409, u"Error reading file {0}."},
//                                       {0x407, u"Fehler beim Lesen von Datei {0}."}};
//     std::u16string t = Data::MessageFormat(kMsgReadError, path).Format();
//     std::u16string u = Data::MessageFormat(kMsgInFile, path).Arg(u"3").Arg(reason).Format();
//
// The text is picked for the process-wide user language (UserLangId), which
// start-up takes from the platform and the preferences may replace; it is
// read where needed, never passed around.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace Data {

// One (language, text) pair of a message. Language 0 ends a message.
struct MessagePair {
    uint16_t language = 0;
    const char16_t* text = nullptr;
};

// A read-only list of (language, text) pairs, ended by a pair with language
// 0. Declare messages `const` (or `constexpr`) at namespace scope; the texts
// must be string literals or otherwise live for the program's life.
class Message {
public:
    static constexpr size_t kMaxPairs = 8;

    constexpr Message() : pairs_{} {}
    constexpr Message(std::initializer_list<MessagePair> pairs) : pairs_{} {
        if (pairs.size() >= kMaxPairs) throw std::length_error("too many message texts");
        size_t i = 0;
        for (const MessagePair& p : pairs) {
            if (p.language == 0) break;  // an explicit end marker ends the list
            pairs_[i++] = p;
        }
    }

    // The pairs in order, up to (not including) the end marker.
    constexpr const MessagePair* begin() const { return pairs_; }
    const MessagePair* end() const;
    bool empty() const { return pairs_[0].language == 0; }

private:
    MessagePair pairs_[kMaxPairs];  // zero-filled tail = end marker
};

// --- the user's language ------------------------------------------------------

// The process-wide user-interface language id. Until SetUserLangId gives one
// (start-up: GetUserDefaultLangID; the preferences' override), it follows
// the platform's user language (PL::UserLanguage()).
uint16_t UserLangId();
// id 0 returns to following the platform.
void SetUserLangId(uint16_t id);

// --- picking and formatting -------------------------------------------------------

// The text of `message` for the user's language:
//  1. a pair of exactly that language wins at once;
//  2. otherwise the best-ranked pair, the first of equal rank: the same primary
//     language with neutral sublanguage (id < 0x400), then the same primary
//     language with another sublanguage, then a language-neutral pair
//     (primary language 0), then the first pair;
//  3. a message without pairs gives "<<<Missing message text>>>".
std::u16string MessageText(const Message& message);
// The same rule for an explicit language (tests, the dialog-language lookup).
std::u16string MessageText(const Message& message, uint16_t language);

// A message text with numbered placeholders "{0}", "{1}", ... and its
// argument texts. Numbers are turned into text by the caller (FormatInt,
// FormatSignificant, ...) before they are passed.
class MessageFormat {
public:
    // Picks the message's text for the user's language; `first` is argument 0.
    MessageFormat(const Message& message, std::u16string first);
    // A format text of one's own, no arguments yet.
    explicit MessageFormat(std::u16string formatText);

    // Appends the next argument.
    MessageFormat& Arg(std::u16string text);

    // Substitutes: text up to a "{" is copied; "{" digits "}" becomes argument
    // n ("{}" is argument 0), or "<<<Missing parameter>>>" when there are fewer
    // than n + 1 arguments. A "{" that does not open such a placeholder is
    // dropped and copying goes on right after it. There is no escape for a
    // literal brace.
    std::u16string Format() const;

private:
    std::u16string format_;
    std::vector<std::u16string> args_;
    size_t argLength_ = 0;  // running total, to reserve the result's size
};

// --- file messages ------------------------------------------------------------------

// "Error reading file {0}." -- {0} the file's full path.
extern const Message kMsgErrorReadingFile;
// "Error writing file {0}." -- {0} the file's full path.
extern const Message kMsgErrorWritingFile;
// "Error in file {0} on line {1}: {2}" -- path, line number from 1, the record's error text.
extern const Message kMsgErrorInFile;
// "Invalid value for {0}" -- {0} the column name.
extern const Message kMsgInvalidValueFor;

}  // namespace Data
