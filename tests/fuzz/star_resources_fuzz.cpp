// The bright-star resources and the spectral tables as the decoders read
// them: one resource replaced by the input (its first byte chooses which),
// the others as shipped. Loading, walking the bright-star tree, decoding
// stars, the HR, proper-name, Bayer and Flamsteed tables and the
// pair-coded spectral texts never crash or read outside a resource.
#include "data/starcatalog.h"
#include "data/starenum.h"
#include "data/starformat.h"
#include "memory_files.h"

#include <map>
#include <string>
#include <vector>

namespace {

const char* const kNames[] = {"starsBSC0", "starsBSC1", "starsBSC2", "starsBSC3", "starsBSC4", "starsBSC5",
                              "starsBSC6", "starsBSC7", "starsBSC8", "starsBSCHIP", "Tyc1List", "starNameNr",
                              "bayFlam",   "starBay",   "starFlam",  "bscSpecData"};
constexpr size_t kCount = sizeof kNames / sizeof kNames[0];

// The shipped resources, with one of them replaced.
class Resources : public fuzz::MemoryFiles {
public:
    Resources() : MemoryFiles(PL::FromUtf8(CELVANE_FUZZ_ROOT "/resources/catalog")) {
        for (const char* name : kNames) {
            const uint8_t* d;
            size_t n;
            if (MemoryFiles::Resource(PL::FromUtf8(name), d, n)) shipped[PL::FromUtf8(name)].assign(d, d + n);
        }
    }
    bool Resource(const std::u16string& name, const uint8_t*& data, size_t& size) override {
        const std::vector<uint8_t>& bytes = name == replaced ? replacement : shipped[name];
        // An empty resource is one the program does not have.
        if (name != replaced && bytes.empty()) return false;
        data = bytes.data();
        size = bytes.size();
        return true;
    }
    std::map<std::u16string, std::vector<uint8_t>> shipped;
    std::u16string replaced;
    std::vector<uint8_t> replacement;
};

class Walker : public Data::StarEnumerator {
public:
    void OnStar(Data::StarNumber n, const uint8_t* record, uint32_t) override {
        for (int i = 0; i < Data::kStarRecordSize; ++i) sum += record[i];
        if (++count % 97 == 0) Data::ReadStar(n);
    }
    unsigned sum = 0, count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static Resources res;
    PL::ScopedPlatform scope(res);
    const size_t which = data[0] % kCount;
    res.replaced = PL::FromUtf8(kNames[which]);
    // A copy of exactly the input's size, so that any read past its end is
    // seen by the address sanitizer.
    res.replacement.assign(data + 1, data + size);
    res.replacement.shrink_to_fit();
    Data::LoadStarResources();
    Data::SetStarFilePath(u"");

    Walker w;
    w.EnumerateBright(32767, 32767, 0, -1, -32768, 32767, -1000, 5000);
    // The stars the replaced resource describes, and samples of the rest.
    if (which < 9) {
        for (Data::StarNumber n = static_cast<Data::StarNumber>(which) * 1008; n < (which + 1) * 1008; ++n)
            Data::ReadStar(n);
    } else {
        for (Data::StarNumber n = 0; n < 9100; n += 7) Data::ReadStar(n);
    }
    // The reverse lookup scans the whole HR index: a sample of it (every
    // number would cost 9110 scans of 9110 entries an input).
    for (int hr = -1; hr <= Data::kMaxHr + 1; hr += which == 9 ? 1 : 13) {
        const Data::StarNumber n = Data::HrToStarIndex(hr);
        if (hr % 61 == 0) Data::StarIndexToHr(n);
        Data::BayerFlamsteedOf(hr);
        Data::HasProperName(hr);
    }
    Data::StarIndexToHr(static_cast<Data::StarNumber>(size % 9200));
    for (int k = -1; k <= Data::kProperNameCount + 1; ++k) Data::ProperNameStarHr(k);
    for (int i = -1; i <= Data::kBayerListCount + 1; i += which == 13 ? 1 : 5) Data::BayerListHr(i);
    for (int i = -1; i <= Data::kFlamsteedListCount + 1; i += which == 14 ? 1 : 5) Data::FlamsteedListHr(i);

    // The pair-coded text reader on the input itself, as a whole table and
    // as a header followed by code runs.
    Data::PairCodedText table(res.replacement.data(), res.replacement.size());
    if (table.Valid()) {
        for (size_t offset = 0; offset < res.replacement.size() && offset < 4096; offset += 1 + offset / 16)
            table.TextAt(offset);
        const size_t head = table.HeaderSize() < res.replacement.size() ? table.HeaderSize() : res.replacement.size();
        table.Expand(res.replacement.data() + head, res.replacement.size() - head);
    }
    // Forget the tables: they point into the replacement.
    res.replaced = u"-";
    Data::LoadStarResources();
    return 0;
}
