// celvane-mpc: the Minor Planet Center's comet elements ("CometEls.txt")
// or minor-planet elements ("MPCORB.DAT") as a comet/asteroid file (.pco)
// that Celvane loads.
//
//   celvane-mpc CometEls.txt -o ~/.local/share/celvane/Mpc.pco
//
// Every line is read on its own, in whichever of the two formats it is
// written, so one input may hold both. A line that cannot be read is
// reported with its number and left out; a text before a line of dashes
// (the header of MPCORB.DAT) is skipped. An input with no line of either
// format is refused. The output is written beside its final name and put in
// place only when complete: an old file of that name stays as it was until
// then, and no half-written file is ever left.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "data/native/posix_platform.h"
#include "data/objects.h"
#include "data/platform.h"
#include "mpc_elements.h"
#include "settings/safefile.h"

namespace {

const char kUsage[] =
    "usage: celvane-mpc INPUT -o OUTPUT.pco\n"
    "  INPUT   the MPC's comet elements (CometEls.txt) or minor-planet elements\n"
    "          (MPCORB.DAT or an extract of it); - reads standard input\n"
    "  -o, --output FILE  the comet/asteroid file to write (.pco is added when\n"
    "          the name does not end in it)\n"
    "Lines that cannot be read are reported by number and left out. Exit status 0\n"
    "when the file was written, 1 when nothing was written, 2 for a usage error.\n";

// Lines longer than this belong to neither format; only this much is kept.
constexpr size_t kLongestLine = 1000;

[[noreturn]] void Usage(const std::string& message) {
    std::fprintf(stderr, "celvane-mpc: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

// Text of the input shown in a message: control and non-ASCII bytes as "?".
std::string Printable(const std::string& s) {
    std::string out;
    for (char c : s) out += (c >= 0x20 && c < 0x7F) ? c : '?';
    return out;
}

// Lines ending in LF, CR LF or CR; false at the end of the input.
class LineReader {
public:
    explicit LineReader(std::FILE* f) : f_(f) {}

    bool Next(std::string& line, bool& tooLong) {
        line.clear();
        tooLong = false;
        for (;;) {
            if (pos_ == len_) {
                len_ = std::fread(buf_, 1, sizeof buf_, f_);
                pos_ = 0;
                if (len_ == 0) {
                    error_ = std::ferror(f_) ? errno : 0;
                    break;
                }
            }
            const char c = buf_[pos_++];
            if (pendingCr_) {
                pendingCr_ = false;
                if (c == '\n') continue;  // the LF of a CR LF
            }
            if (c == '\n') return true;
            if (c == '\r') {
                pendingCr_ = true;
                return true;
            }
            if (line.size() < kLongestLine)
                line += c;
            else
                tooLong = true;
        }
        return !line.empty() || tooLong;
    }

    // The error number when reading failed, else 0.
    int Error() const { return error_; }

private:
    std::FILE* f_;
    char buf_[1 << 16];
    size_t pos_ = 0, len_ = 0;
    bool pendingCr_ = false;
    int error_ = 0;
};

bool EndsWithPco(const std::string& s) {
    if (s.size() < 4) return false;
    std::string tail = s.substr(s.size() - 4);
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return tail == ".pco";
}

bool IsDashLine(const std::string& line) {
    size_t dashes = 0;
    for (char c : line) {
        if (c == '-')
            ++dashes;
        else if (c != ' ')
            return false;
    }
    return dashes >= 20;
}

}  // namespace

int main(int argc, char** argv) {
    PL::PosixPlatform platform;
    PL::SetCurrent(&platform);

    std::string input, output;
    bool haveInput = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "-o" || a == "--output") {
            if (i + 1 >= argc) Usage("option " + a + " needs a file name");
            output = argv[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            Usage("unknown option '" + a + "'");
        } else if (!haveInput) {
            input = a;
            haveInput = true;
        } else {
            Usage("more than one input file ('" + input + "' and '" + a + "')");
        }
    }
    if (!haveInput) Usage("no input file");
    if (output.empty()) Usage("no output file (-o OUTPUT.pco)");
    if (output.back() == '/') Usage("the output '" + output + "' names a folder, not a file");
    if (!EndsWithPco(output)) output += ".pco";

    std::FILE* in = input == "-" ? stdin : std::fopen(input.c_str(), "rb");
    if (!in) {
        std::fprintf(stderr, "celvane-mpc: cannot read %s: %s\n", input.c_str(), std::strerror(errno));
        return 1;
    }
    const std::string shownInput = input == "-" ? "standard input" : input;

    // Problems are held back until the first object: lines before a line of
    // dashes are a header, not bad lines.
    std::vector<std::string> held;
    bool heldUnknownOnly = true;
    long comets = 0, planets = 0, skipped = 0, lineNumber = 0;
    long emptyKeys = 0, sharedKeys = 0;
    std::string keyExample;
    std::set<std::u16string> keys;
    LineReader reader(in);
    // The records go to a twin of the output that replaces it only when
    // complete: an old file of that name stays as it was until then.
    bool opened = false;
    const auto convert = [&](std::basic_ostream<char16_t>& out) {
        opened = true;
        std::string line;
        bool tooLong = false;
        while (reader.Next(line, tooLong)) {
            ++lineNumber;
            if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
            const bool started = comets + planets > 0;
            if (!started && IsDashLine(line) && heldUnknownOnly) {
                skipped -= static_cast<long>(held.size());
                held.clear();
                continue;
            }
            mpc::LineResult r;
            if (tooLong) {
                r.kind = mpc::LineResult::kUnknown;
                r.error = "the line is longer than " + std::to_string(kLongestLine) + " characters";
            } else {
                r = mpc::ConvertLine(line);
            }
            if (r.kind == mpc::LineResult::kBlank) continue;
            if (r.kind != mpc::LineResult::kRecord) {
                ++skipped;
                const char* what =
                    r.kind == mpc::LineResult::kUnknown ? "" : r.asteroid ? " (minor planet)" : " (comet)";
                std::string message = shownInput + ": line " + std::to_string(lineNumber) + what + ": " +
                                      Printable(r.error) + "; line skipped";
                if (started) {
                    std::fprintf(stderr, "celvane-mpc: %s\n", message.c_str());
                } else {
                    held.push_back(message);
                    heldUnknownOnly = heldUnknownOnly && r.kind == mpc::LineResult::kUnknown;
                }
                continue;
            }
            if (!started) {
                for (const std::string& m : held) std::fprintf(stderr, "celvane-mpc: %s\n", m.c_str());
                held.clear();
            }
            (r.asteroid ? planets : comets) += 1;
            out << PL::FromUtf8(r.record) << u"\r\n";
            if (!out) return false;
            // The program keeps a selected comet or asteroid by a short key of
            // its name (its number or designation); bodies without a key of
            // their own cannot be told apart after a restart.
            const std::u16string key = Data::CometKey(PL::FromUtf8(r.name));
            if (key.empty() || !keys.insert(key).second) {
                (key.empty() ? emptyKeys : sharedKeys) += 1;
                if (keyExample.empty()) keyExample = r.name;
            }
        }
        return reader.Error() == 0 && comets + planets > 0;
    };
    const bool written = Data::WriteReplacing(PL::FromUtf8(output), PL::FromUtf8(output + ".tmp"), convert);
    if (in != stdin) std::fclose(in);

    if (!opened) {
        std::fprintf(stderr, "celvane-mpc: cannot write %s.tmp; nothing written\n", output.c_str());
        return 1;
    }
    if (reader.Error()) {
        std::fprintf(stderr, "celvane-mpc: error reading %s: %s; nothing written\n", shownInput.c_str(),
                     std::strerror(reader.Error()));
        return 1;
    }
    if (comets + planets == 0) {
        std::fprintf(stderr,
                     "celvane-mpc: %s holds no line of the MPC's comet (CometEls.txt) or minor-planet (MPCORB) "
                     "format; nothing written\n",
                     shownInput.c_str());
        const size_t shown = held.size() < 5 ? held.size() : 5;
        for (size_t i = 0; i < shown; ++i) std::fprintf(stderr, "celvane-mpc:   %s\n", held[i].c_str());
        return 1;
    }
    if (!written) {
        std::fprintf(stderr, "celvane-mpc: cannot write %s; nothing written\n",
                     output.c_str());
        return 1;
    }

    std::printf("%s: %ld comet%s and %ld minor planet%s from %s", output.c_str(), comets, comets == 1 ? "" : "s",
                planets, planets == 1 ? "" : "s", shownInput.c_str());
    if (skipped) std::printf("; %ld line%s skipped", skipped, skipped == 1 ? "" : "s");
    std::printf("\n");
    if (emptyKeys + sharedKeys) {
        std::fprintf(stderr,
                     "celvane-mpc: note: %ld object%s (e.g. \"%s\") %s no number or designation that tells "
                     "%s apart from the others; a selection of %s may come back as another object after a "
                     "restart\n",
                     emptyKeys + sharedKeys, emptyKeys + sharedKeys == 1 ? "" : "s", Printable(keyExample).c_str(),
                     emptyKeys + sharedKeys == 1 ? "has" : "have", emptyKeys + sharedKeys == 1 ? "it" : "them",
                     emptyKeys + sharedKeys == 1 ? "it" : "one of them");
    }
    return 0;
}
