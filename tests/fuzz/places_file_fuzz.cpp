// "places.dat" on any bytes: the reader never crashes; every line it keeps
// is written back and read again unchanged; the first rewrite keeps the
// original as "places.bak" exactly when lines were skipped or were not
// UTF-8.
#include "memory_files.h"
#include "settings/places.h"

#include <cstdlib>
#include <string>

namespace {

const std::u16string kDat = u"mem/places.dat";
const std::u16string kBak = u"mem/places.bak";

// Each place as the line the file holds for it.
std::u16string Lines(const Data::PlaceMap& places) {
    std::u16string s;
    for (const auto& kv : places) s += Data::FormatPlaceLine(kv.second) + u'\n';
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryFiles files;
    PL::ScopedPlatform scope(files);
    const std::string input(reinterpret_cast<const char*>(data), size);
    files.files[kDat] = input;

    Data::UserPlaceStore store(u"mem");
    if (!store.EnsureLoaded()) std::abort();  // in memory, reading cannot fail
    const Data::PlaceMap read = store.Places();
    for (const auto& kv : read) {
        Data::Place again;
        if (kv.first != kv.second.name || !Data::ParsePlaceLine(Data::FormatPlaceLine(kv.second), again)) std::abort();
        if (Data::FormatPlaceLine(again) != Data::FormatPlaceLine(kv.second)) std::abort();
    }
    if (files.files[kDat] != input) std::abort();  // reading changes nothing

    Data::Place extra = Data::BlankPlace();
    extra.name = u"\u00c9tape, 2";
    extra.latitude = 45.5f;
    extra.elevation = 1234.5f;
    if (!store.Save(extra) || !store.LastWriteOk()) std::abort();
    if ((store.SkippedLines() + store.DamagedLines() > 0) != (files.files.count(kBak) != 0)) std::abort();
    if (files.files.count(kBak) && files.files[kBak] != input) std::abort();
    if (files.files.count(u"mem/places.tmp")) std::abort();

    // The rewritten file gives back every place, the new one included.
    Data::UserPlaceStore next(u"mem");
    if (!next.EnsureLoaded() || next.SkippedLines() != 0) std::abort();
    Data::PlaceMap expected = read;
    expected[extra.name] = extra;
    if (Lines(next.Places()) != Lines(expected)) std::abort();
    return 0;
}
