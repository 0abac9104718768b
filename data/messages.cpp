#include "data/messages.h"

#include "data/errors.h"
#include "data/platform.h"

namespace Data {

const MessagePair* Message::end() const {
    size_t n = 0;
    while (n < kMaxPairs && pairs_[n].language != 0) ++n;
    return pairs_ + n;
}

namespace {

uint16_t g_userLangId = 0;  // 0: follow the platform

std::u16string TextOf(const MessagePair& p) { return p.text ? std::u16string(p.text) : std::u16string(); }

}  // namespace

uint16_t UserLangId() { return g_userLangId != 0 ? g_userLangId : PL::UserLanguage(); }

void SetUserLangId(uint16_t id) { g_userLangId = id; }

std::u16string MessageText(const Message& message) { return MessageText(message, UserLangId()); }

std::u16string MessageText(const Message& message, uint16_t language) {
    const auto primary = [](uint16_t id) { return id & 0x3FF; };
    const MessagePair* candidate = nullptr;
    int candidateRank = 0;
    bool first = true;
    for (const MessagePair& p : message) {
        if (p.language == language) return TextOf(p);
        int rank = 0;
        if (primary(p.language) == primary(language) && primary(language) != 0)
            rank = p.language < 0x400 ? 4 : 3;
        else if (primary(p.language) == 0)
            rank = 2;
        else if (first)
            rank = 1;
        first = false;
        if (rank > candidateRank) {
            candidate = &p;
            candidateRank = rank;
        }
    }
    return candidate ? TextOf(*candidate) : std::u16string(u"<<<Missing message text>>>");
}

MessageFormat::MessageFormat(const Message& message, std::u16string first) : format_(MessageText(message)) {
    Arg(std::move(first));
}

MessageFormat::MessageFormat(std::u16string formatText) : format_(std::move(formatText)) {}

MessageFormat& MessageFormat::Arg(std::u16string text) {
    argLength_ += text.size();
    args_.push_back(std::move(text));
    return *this;
}

std::u16string MessageFormat::Format() const {
    static const std::u16string kMissing = u"<<<Missing parameter>>>";
    std::u16string out;
    out.reserve(format_.size() + argLength_);
    const size_t n = format_.size();
    size_t i = 0;
    while (i < n) {
        const char16_t c = format_[i];
        if (c != u'{') {
            out += c;
            ++i;
            continue;
        }
        size_t j = i + 1;
        size_t index = 0;
        bool huge = false;  // more digits than any argument list can have
        while (j < n && format_[j] >= u'0' && format_[j] <= u'9') {
            if (index > 100000) huge = true;
            else index = index * 10 + (format_[j] - u'0');
            ++j;
        }
        if (j < n && format_[j] == u'}') {
            out += (!huge && index < args_.size()) ? args_[index] : kMissing;
            i = j + 1;
        } else {
            ++i;  // the brace is dropped; what follows it is copied as text
        }
    }
    return out;
}

// --- file messages -------------------------------------------------------------

const Message kMsgErrorReadingFile{{0x409, u"Error reading file {0}."},
                                   {0x407, u"Fehler beim Lesen von Datei {0}."}};
const Message kMsgErrorWritingFile{{0x409, u"Error writing file {0}."},
                                   {0x407, u"Fehler beim Schreiben von Datei {0}."}};
const Message kMsgErrorInFile{{0x409, u"Error in file {0} on line {1}: {2}"},
                              {0x407, u"Fehler in Datei {0} auf Zeile {1}: {2}"}};
const Message kMsgInvalidValueFor{{0x409, u"Invalid value for {0}"},
                                  {0x407, u"Ung\u00fcltiger Wert f\u00fcr {0}"}};

}  // namespace Data
