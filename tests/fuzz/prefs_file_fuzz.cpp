// "prefs.dat" on any bytes: loading never crashes and every value it takes
// lies in its range; saving keeps every section and key that was read
// (the program's own keys aside); and what is saved is a fixed point: a
// further load and save gives the same bytes (from the second save on when
// the file was not of format version 1).
#include "memory_files.h"
#include "settings/preferences.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

const std::u16string kDat = u"mem/prefs.dat";

void CheckRanges(const Data::Preferences& p) {
    if (std::fabs(p.place.latitude) > 90 || std::fabs(p.place.longitude) > 180) std::abort();
    if (p.dstAdjust < 0 || p.dstAdjust > 2 || p.time.step < 1 || p.time.stepMode < 0 || p.time.stepMode > 2) std::abort();
    if (p.compassSelection < 0 || p.compassSelection >= Data::kCompassSlots) std::abort();
    if (!(p.skyView.viewAngle > 0 && p.skyView.viewAngle <= 180) || std::fabs(p.skyView.alt) > 90) std::abort();
    if (!std::isfinite(p.skyView.az) || !std::isfinite(p.display.magFilter)) std::abort();
    if (p.display.starColour < 0 || p.display.starColour > 2 || p.display.tapInfo < 0 || p.display.tapInfo > 3)
        std::abort();
    if (!p.time.time.IsValid()) std::abort();
    if (p.viewMode != 0 && p.viewMode != 1 && p.viewMode != 3) std::abort();
    const int language = p.languageOverride & 0x3FF;
    if (p.languageOverride != 0 && language != 0x07 && language != 0x09) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryFiles files;
    PL::SystemTime now;
    now.year = 2024;
    now.month = 3;
    now.day = 5;
    files.utc = now;
    files.appDataFolder = u"mem";
    files.programFolder = u"mem/program";
    PL::ScopedPlatform scope(files);
    Data::ObjectFileManagerBase::SetFolders(u"mem/program", u"mem");
    files.files[kDat] = std::string(reinterpret_cast<const char*>(data), size);

    Data::Preferences p;
    if (!p.Load(u"mem")) std::abort();  // in memory, reading cannot fail
    CheckRanges(p);
    const Data::SectionStore read = p.store;
    if (!p.Save(u"mem")) std::abort();
    const std::string first = files.files[kDat];

    // Sections and keys of other programs survive.
    for (const auto& section : read.AllSections()) {
        if (section.first == u"ActiveUserObjFiles" || section.first == u"ActiveCometFiles") continue;
        for (const auto& kv : section.second)
            if (!p.store.Has(section.first, kv.first)) std::abort();
    }

    // A file without FORMAT/Version 1 is read as the defaults and keeps its
    // records; the first save makes it a version 1 file, whose records the
    // next load reads. From then on a load and save change nothing.
    Data::Preferences q;
    if (!q.Load(u"mem")) std::abort();
    CheckRanges(q);
    if (!q.Save(u"mem")) std::abort();
    const std::string second = files.files[kDat];
    if (p.store.Get(u"FORMAT", u"Version") == u"1" && read.Get(u"FORMAT", u"Version") == u"1" && second != first)
        std::abort();
    Data::Preferences r;
    if (!r.Load(u"mem")) std::abort();
    CheckRanges(r);
    if (!r.Save(u"mem") || files.files[kDat] != second) std::abort();
    Data::SetUserLangId(0);
    return 0;
}
