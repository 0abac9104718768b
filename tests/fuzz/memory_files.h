// A platform whose files live in memory, for the fuzz targets of the files
// the program rewrites: reading, writing, existence, delete and replace.
#pragma once

#include "data/native/test_platform.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace fuzz {

class MemoryFiles : public PL::TestPlatform {
public:
    using PL::TestPlatform::TestPlatform;  // a resource folder, when given
    std::map<std::u16string, std::string> files;

    std::FILE* OpenFile(const std::u16string& path, const char* mode) override {
        cookie_io_functions_t io{};
        if (mode[0] == 'r') {
            auto it = files.find(path);
            if (it == files.end()) return nullptr;
            io.read = [](void* c, char* buf, size_t n) -> ssize_t {
                Source* s = static_cast<Source*>(c);
                const size_t take = std::min(n, s->bytes.size() - s->pos);
                std::memcpy(buf, s->bytes.data() + s->pos, take);
                s->pos += take;
                return static_cast<ssize_t>(take);
            };
            io.seek = [](void* c, off64_t* offset, int whence) -> int {
                Source* s = static_cast<Source*>(c);
                const long long base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<long long>(s->pos)
                                                                                  : static_cast<long long>(s->bytes.size());
                const long long to = base + *offset;
                if (to < 0 || to > static_cast<long long>(s->bytes.size())) return -1;
                s->pos = static_cast<size_t>(to);
                *offset = to;
                return 0;
            };
            io.close = [](void* c) -> int {
                delete static_cast<Source*>(c);
                return 0;
            };
            return fopencookie(new Source{it->second, 0}, "r", io);
        }
        Sink* sink = new Sink{this, path, mode[0] == 'a' ? files[path] : std::string()};
        io.write = [](void* c, const char* buf, size_t n) -> ssize_t {
            static_cast<Sink*>(c)->bytes.append(buf, n);
            return static_cast<ssize_t>(n);
        };
        io.close = [](void* c) -> int {
            Sink* s = static_cast<Sink*>(c);
            s->owner->files[s->path] = s->bytes;
            delete s;
            return 0;
        };
        files[path] = sink->bytes;
        return fopencookie(sink, "w", io);
    }
    bool FileExists(const std::u16string& path) override { return files.count(path) != 0; }
    bool FolderExists(const std::u16string&) override { return false; }
    bool DeleteFile(const std::u16string& path) override { return files.erase(path) != 0; }
    bool MoveFile(const std::u16string& from, const std::u16string& to) override {
        if (files.count(to)) return false;
        return ReplaceFile(from, to);
    }
    bool ReplaceFile(const std::u16string& from, const std::u16string& to) override {
        auto it = files.find(from);
        if (it == files.end()) return false;
        std::string bytes = it->second;
        files.erase(it);
        files[to] = bytes;
        return true;
    }
    std::vector<PL::FileEntry> ListFolder(const std::u16string&, const std::u16string&) override { return {}; }

private:
    struct Source {
        std::string bytes;
        size_t pos;
    };
    struct Sink {
        MemoryFiles* owner;
        std::u16string path;
        std::string bytes;
    };
};

}  // namespace fuzz
