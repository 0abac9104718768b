// What the tools tests share: running a program as a user would, reading its
// JSON output, and the files the generators read and write.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace tooltest {

const std::string kSource = CELVANE_SOURCE_DIR;
const std::string kBinary = CELVANE_BINARY_DIR;

struct RunResult {
    int status = -1;  // the exit status; -1 when the program did not exit
    std::string out;
};

// Runs a shell command and collects what it writes to its standard output.
inline RunResult Run(const std::string& command) {
    RunResult r;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

// celvane-ephem with `args`, its error output with the rest unless
// `withStderr` is false; `env` goes in front (variable assignments).
inline RunResult Ephem(const std::string& args, const std::string& env = "", bool withStderr = true) {
    return Run(env + " " + kBinary + "/tools/celvane-ephem " + args + (withStderr ? " 2>&1" : " 2>/dev/null"));
}

// The number or text of "key" in a JSON text (the first occurrence); -1e30
// and "<none>" when it is not there.
inline double Number(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\":(-?[0-9.eE+-]+)"))) return -1e30;
    return std::stod(m[1]);
}
inline std::string Text(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\":\"([^\"]*)\""))) return "<none>";
    return m[1];
}

// The objects of a JSON array of flat objects, e.g. "events":[{...},{...}].
inline std::vector<std::string> Items(const std::string& json, const std::string& key) {
    std::vector<std::string> items;
    size_t at = json.find("\"" + key + "\":[");
    if (at == std::string::npos) return items;
    at = json.find('[', at) + 1;
    while (at < json.size() && json[at] == '{') {
        const size_t end = json.find('}', at);
        items.push_back(json.substr(at, end - at + 1));
        at = end + 1;
        if (json[at] == ',') ++at;
    }
    return items;
}

// How often `what` occurs in `text`.
inline size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

inline bool Has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

// --- files ------------------------------------------------------------------------------

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline bool Exists(const std::string& path) { return std::ifstream(path).good(); }

// An empty folder of the build tree for one test.
inline std::string Scratch(const std::string& what) {
    const std::string dir = kBinary + "/" + what + "_" + std::to_string(::getpid());
    std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
    return dir;
}

inline void RemoveAll(const std::string& dir) { std::system(("rm -rf '" + dir + "'").c_str()); }

// Runs tools/<script> with `args` (error output dropped); its exit status.
inline int Python(const std::string& script, const std::string& args) {
    return std::system(("python3 \"" + kSource + "/tools/" + script + "\" " + args + " >/dev/null 2>&1").c_str());
}

inline uint32_t Le32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

}  // namespace tooltest
