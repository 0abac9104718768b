// The user-object and comet file reader on any bytes: never crashes, and
// either loads every line as one object or names a line of the file.
#include "data/native/test_platform.h"
#include "data/objectfiles.h"
#include "data/utf8stream.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

namespace {

// Files are the fuzz input itself.
class MemoryPlatform : public PL::TestPlatform {
public:
    const uint8_t* data = nullptr;
    size_t size = 0;
    std::FILE* OpenFile(const std::u16string&, const char*) override {
        return fmemopen(const_cast<uint8_t*>(data), size, "rb");
    }
};

// The number of records in the input: the lines of its text, a last one
// without line end included.
size_t Lines() {
    PL::specialbuffer_istream<PL::utf8wfbuf> in(u"input");
    std::u16string text(std::istreambuf_iterator<char16_t>(in), {});
    size_t lines = 0;
    for (char16_t c : text) lines += c == u'\n';
    return lines + (!text.empty() && text.back() != u'\n' ? 1 : 0);
}

template <class T>
void Check() {
    Data::ConfigObjStore<T> store;
    const std::u16string error = Data::ReadObjectFile(u"input", store);
    if (error.empty()) {
        // Every line became one object.
        if (store.Size() != Lines()) std::abort();
        for (size_t i = 0; i < store.Size(); ++i) {
            std::u16string line;
            store.WriteLine(i, line);
            Data::FieldReader again(line);
            T::FromRecord(again);  // what was read can be written and read back
        }
    } else if (error.rfind(u"Error in file input on line ", 0) != 0 && error != u"Error reading file input.") {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen wants a buffer
    MemoryPlatform platform;
    platform.data = data;
    platform.size = size;
    platform.language = 0x409;
    PL::ScopedPlatform scope(platform);
    Check<Data::UserObj>();
    Check<Data::Comet>();
    return 0;
}
