// "stars.dat" on any bytes: opening, the header, walking boxes of the HIP
// and TYC sections, finding stars by HIP and TYC number, the nearest star,
// and decoding star numbers never crash or read outside what the file holds
// (the sanitizers watch every access).
#include "data/starcatalog.h"
#include "data/starenum.h"
#include "data/starfile.h"
#include "memory_files.h"

#include <string>
#include <vector>

namespace {

const std::u16string kDat = u"mem/stars.dat";

class Collector : public Data::StarEnumerator {
public:
    using StarEnumerator::StarEnumerator;
    void OnStar(Data::StarNumber n, const uint8_t* record, uint32_t position) override {
        if (stars.size() < 4) stars.push_back(n);
        // Touch the whole record: a record cut short would show here.
        for (int i = 0; i < (n >= Data::kTycStarBase ? Data::kFaintStarRecordSize : Data::kStarRecordSize); ++i)
            sum += record[i];
        sum += position;
    }
    std::vector<Data::StarNumber> stars;
    unsigned sum = 0;
};

uint16_t U16(const uint8_t* data, size_t size, size_t at) {
    return size >= 2 && at + 1 < size ? static_cast<uint16_t>(data[at] << 8 | data[at + 1]) : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::MemoryFiles files(PL::FromUtf8(CELVANE_FUZZ_ROOT "/resources/catalog"));
    static bool loaded = false;
    PL::ScopedPlatform scope(files);
    if (!loaded) {
        Data::LoadStarResources();
        loaded = true;
    }
    files.files[kDat] = std::string(reinterpret_cast<const char*>(data), size);
    Data::SetStarFilePath(kDat);

    Data::StarPDBFileReader file(kDat);
    Collector c(&file);
    // The whole sky, then a box taken from the input's last bytes.
    c.EnumerateHip(32767, 32767, 0, -1, -32768, 32767, -1000, 5000);
    c.EnumerateTyc(32767, 32767, 0, -1, -32768, 32767, -1000, 5000);
    const size_t tail = size > 16 ? size - 16 : 0;
    const int16_t b[8] = {static_cast<int16_t>(U16(data, size, tail)),     static_cast<int16_t>(U16(data, size, tail + 2)),
                          static_cast<int16_t>(U16(data, size, tail + 4)), static_cast<int16_t>(U16(data, size, tail + 6)),
                          static_cast<int16_t>(U16(data, size, tail + 8)), static_cast<int16_t>(U16(data, size, tail + 10)),
                          static_cast<int16_t>(U16(data, size, tail + 12)), static_cast<int16_t>(U16(data, size, tail + 14))};
    c.EnumerateHip(b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);
    c.EnumerateTyc(b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);

    // Every star reported decodes, and its numbers are searched for.
    for (Data::StarNumber n : c.stars) {
        const Data::StarInfo info = Data::ReadStar(n);
        Data::ReadStarPosition(n);
        if (info.hip != 0) Data::FindStarByHip(info.hip);
        Data::FindStarByTyc(info.tyc);
    }
    for (uint32_t hip : {1u, 5000u, 32349u, 120416u, 120404u, static_cast<uint32_t>(U16(data, size, 0)) * 2u})
        Data::FindStarByHip(hip);
    Data::FindStarByTyc(Data::TycNumber{1, 8, 1});
    Data::FindStarByTyc(Data::TycNumber{static_cast<uint16_t>(U16(data, size, 2) % 10000), U16(data, size, 4), 1});
    Data::FindNearestStar(20000, 20000, 10000, 1200, 300);
    Data::FindNearestStar(0, 0, 32767, 5000, 2000);
    Data::FindNearestStar(b[0], b[2], b[4], b[6], static_cast<uint16_t>(b[7]));
    for (Data::StarNumber n : {Data::kHipStarBase, Data::kHipStarBase + 1000, Data::kHipStarBase + 118000,
                               Data::kTycStarBase, Data::kTycStarBase + 5, Data::kTycStarBase + 2500000})
        Data::ReadStar(n);
    Data::SetStarFilePath(u"");
    return 0;
}
