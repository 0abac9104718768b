#include "settings/safefile.h"

#include "data/platform.h"
#include "data/utf8stream.h"

#include <cstdio>

namespace Data {

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
    if (folder.empty()) return name;
    const char16_t last = folder.back();
    const char16_t sep = PL::Current().PathSeparator();
    if (last == sep || last == u'/' || last == u'\\') return folder + name;
    return folder + sep + name;
}

namespace {

// True when the file exists, is not empty and its last byte ends a line.
bool EndsWithLineEnd(const std::u16string& path) {
    std::FILE* f = PL::Current().OpenFile(path, "rb");
    if (!f) return false;
    bool ok = false;
    if (std::fseek(f, -1, SEEK_END) == 0) {
        const int c = std::fgetc(f);
        ok = c == '\n' || c == '\r';
    }
    std::fclose(f);
    return ok;
}

}  // namespace

std::u16string FileToRead(const std::u16string& path, const std::u16string& twin) {
    PL::Platform& pl = PL::Current();
    if (pl.FileExists(path)) return path;
    if (pl.FileExists(twin) && EndsWithLineEnd(twin)) return twin;
    return std::u16string();
}

bool WriteReplacing(const std::u16string& path, const std::u16string& twin,
                    const std::function<bool(std::basic_ostream<char16_t>&)>& write) {
    bool ok;
    {
        PL::specialbuffer_ostream<PL::utf8wfbuf> out(twin);
        ok = static_cast<bool>(out) && write(out);
        ok = out.close() && ok;
    }
    PL::Platform& pl = PL::Current();
    if (!ok) {
        pl.DeleteFile(twin);
        return false;
    }
    return pl.ReplaceFile(twin, path);
}

bool CopyFileBytes(const std::u16string& from, const std::u16string& to) {
    PL::Platform& pl = PL::Current();
    std::FILE* in = pl.OpenFile(from, "rb");
    if (!in) return false;
    std::FILE* out = pl.OpenFile(to, "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    char buf[8192];
    bool ok = true;
    size_t n;
    while (ok && (n = std::fread(buf, 1, sizeof buf, in)) > 0) ok = std::fwrite(buf, 1, n, out) == n;
    ok = ok && !std::ferror(in);
    std::fclose(in);
    ok = std::fclose(out) == 0 && ok;
    if (!ok) pl.DeleteFile(to);
    return ok;
}

}  // namespace Data
