#include "data/starcatalog.h"

#include <string>

#include "data/platform.h"
#include "data/starfile.h"

namespace Data {

namespace {

constexpr int kBrightPieces = 9;
constexpr size_t kBlockBytes = kStarsPerBlock * kStarRecordSize;  // 882

struct Table {
    const uint8_t* data = nullptr;
    size_t size = 0;
    bool Has(size_t offset, size_t count) const { return data && offset + count <= size; }
};

struct StarTables {
    Table pieces[kBrightPieces];
    Table hrIndex;    // "starsBSCHIP"
    Table tyc1List;   // "Tyc1List"
    Table nameNr;     // "starNameNr"
    Table bayFlam;    // "bayFlam"
    Table bayer;      // "starBay"
    Table flamsteed;  // "starFlam"
    Table spectral;   // "bscSpecData"
    uint32_t brightBlocks = 0;
};

StarTables g_tables;
std::u16string g_starFile;

Table Locate(const std::u16string& name) {
    Table t;
    if (!PL::Current().Resource(name, t.data, t.size)) t = Table();
    return t;
}

// A record of the bright-star tree, or nullptr.
const uint8_t* BrightRecord(StarNumber n) {
    if (n < 0 || n >= kHipStarBase) return nullptr;
    const uint32_t block = static_cast<uint32_t>(n) / kStarsPerBlock;
    const uint8_t* b = BrightBlock(block);
    return b ? b + (static_cast<uint32_t>(n) % kStarsPerBlock) * kStarRecordSize : nullptr;
}

TycNumber TycFromEntry(const uint8_t* entry) {
    TycNumber t;
    t.tyc1 = GetU16(entry + 4);
    const uint16_t rest = GetU16(entry + 6);
    t.tyc2 = rest >> 2;
    t.tyc3 = rest & 3;
    return t;
}

// The spectral-type text at `offset` of record 1 of "stars.dat".
std::u16string HipSpectralText(StarPDBFileReader& file, uint16_t offset) {
    uint8_t head[4];
    if (file.Read(StarPDBFileReader::kSpectralRecord, 0, head, 4) != PDBFileReader::kOk) return std::u16string();
    const size_t literals = head[0] | (head[1] << 8);
    const size_t pairs = head[2] | (head[3] << 8);
    if (literals + pairs > 255) return std::u16string();
    uint8_t table[4 + 255 * 2];
    const size_t tableSize = 4 + literals + 2 * pairs;
    if (file.Read(StarPDBFileReader::kSpectralRecord, 0, table, static_cast<uint32_t>(tableSize)) !=
        PDBFileReader::kOk)
        return std::u16string();
    PairCodedText text(table, tableSize);
    // The codes, read a few at a time up to their terminator (a text of
    // kMaxSpectralText characters has at most as many codes).
    uint8_t codes[kMaxSpectralText + 1];
    size_t have = 0;
    while (have < kMaxSpectralText) {
        const size_t chunk = 16 < kMaxSpectralText - have ? 16 : kMaxSpectralText - have;
        if (file.Read(StarPDBFileReader::kSpectralRecord, offset + static_cast<uint32_t>(have), codes + have,
                      static_cast<uint32_t>(chunk)) != PDBFileReader::kOk)
            break;
        bool ended = false;
        for (size_t i = have; i < have + chunk; ++i) ended = ended || codes[i] == 0;
        have += chunk;
        if (ended) break;
    }
    return text.Expand(codes, have);
}

// Common decoding of the first ten bytes.
void DecodePosition(const uint8_t* r, StarInfo& info) {
    info.x = RecordX(r);
    info.y = RecordY(r);
    info.z = RecordZ(r);
    info.magnitude = static_cast<int16_t>(RecordMagCode(r) - kMagnitudeOffset);
    info.colourClass = static_cast<uint8_t>(RecordColourClass(r));
}

int ProperNameNumber(int hr) {
    if (hr < 1) return 0;
    const Table& t = g_tables.nameNr;
    for (int k = 0; k < kProperNameCount && t.Has(2 * k, 2); ++k)
        if (GetU16(t.data + 2 * k) == hr - 1) return k + 1;
    return 0;
}

}  // namespace

// Reads the first `count` bytes of the record of star n (10000 and above)
// from "stars.dat"; false when the number lies outside its section or the
// read fails.
bool ReadFileRecord(StarPDBFileReader& file, StarNumber n, uint8_t* out, int count) {
    const bool hip = n < kTycStarBase;
    const uint32_t position = static_cast<uint32_t>(n - (hip ? kHipStarBase : kTycStarBase));
    if (position >= (hip ? file.HipStars() : file.TycStars())) return false;
    const uint32_t perRecord = kStarsPerBlock * kBlocksPerRecord;  // 1008
    const uint32_t size = hip ? kStarRecordSize : kFaintStarRecordSize;
    return file.Read((hip ? file.HipRecord() : file.TycRecord()) + position / perRecord,
                     (position % perRecord) * size, out, static_cast<uint32_t>(count)) == PDBFileReader::kOk;
}

TycNumber RecordTycNumber(const uint8_t* r, StarNumber n, StarPDBFileReader* file) {
    const uint16_t link = RecordTychoLink(r);
    TycNumber t;
    if (link & 3) {
        t.tyc1 = TycRegionOf(RecordX(r), RecordY(r), RecordZ(r));
        t.tyc2 = link >> 2;
        t.tyc3 = link & 3;
        return t;
    }
    const uint32_t at = (link >> 2) * uint32_t(kTychoEntrySize);
    if (n >= 0 && n < kHipStarBase) {
        const Table& list = g_tables.tyc1List;
        if (list.Has(at, kTychoEntrySize)) t = TycFromEntry(list.data + at);
    } else if (n >= kHipStarBase && file && file->IsOpen()) {
        uint8_t entry[kTychoEntrySize];
        const uint32_t record =
            n < kTycStarBase ? StarPDBFileReader::kHipTychoRecord : StarPDBFileReader::kTycTychoRecord;
        if (file->Read(record, at, entry, kTychoEntrySize) == PDBFileReader::kOk) t = TycFromEntry(entry);
    }
    return t;
}

void LoadStarResources() {
    g_tables = StarTables();
    for (int p = 0; p < kBrightPieces; ++p) {
        g_tables.pieces[p] = Locate(u"starsBSC" + std::u16string(1, char16_t(u'0' + p)));
        const size_t blocks = g_tables.pieces[p].size / kBlockBytes;
        if (blocks > 0) {
            const uint32_t end = p * kBlocksPerRecord + static_cast<uint32_t>(blocks < 16 ? blocks : 16);
            if (end > g_tables.brightBlocks) g_tables.brightBlocks = end;
        }
    }
    g_tables.hrIndex = Locate(u"starsBSCHIP");
    g_tables.tyc1List = Locate(u"Tyc1List");
    g_tables.nameNr = Locate(u"starNameNr");
    g_tables.bayFlam = Locate(u"bayFlam");
    g_tables.bayer = Locate(u"starBay");
    g_tables.flamsteed = Locate(u"starFlam");
    g_tables.spectral = Locate(u"bscSpecData");
}

uint32_t BrightBlockCount() { return g_tables.brightBlocks; }

const uint8_t* BrightBlock(uint32_t b) {
    if (b >= g_tables.brightBlocks) return nullptr;
    const Table& piece = g_tables.pieces[b / kBlocksPerRecord];
    const size_t offset = (b % kBlocksPerRecord) * kBlockBytes;
    return piece.Has(offset, kBlockBytes) ? piece.data + offset : nullptr;
}

void SetStarFilePath(const std::u16string& path) { g_starFile = path; }
const std::u16string& StarFilePath() { return g_starFile; }

StarInfo ReadStar(StarNumber n) {
    StarInfo info;
    if (n < 0) return info;
    if (n < kHipStarBase) {
        const uint8_t* r = BrightRecord(n);
        if (!r) return info;
        DecodePosition(r, info);
        info.tyc = RecordTycNumber(r, n, nullptr);
        info.hip = HipOf(info.x, info.y, RecordHipCode(r));
        info.parallax = ParallaxOf(RecordParallaxCode(r));
        info.spectral = PairCodedText(g_tables.spectral.data, g_tables.spectral.size).TextAt(RecordSpectralOffset(r));
        info.hr = static_cast<uint16_t>(StarIndexToHr(n));
        info.properName = static_cast<uint16_t>(ProperNameNumber(info.hr));
        info.bayerFlamsteed = BayerFlamsteedOf(info.hr);
        return info;
    }

    StarPDBFileReader file(g_starFile);
    const bool hip = n < kTycStarBase;
    uint8_t r[kStarRecordSize];
    if (!file.IsOpen() || !ReadFileRecord(file, n, r, hip ? kStarRecordSize : kFaintStarRecordSize)) return info;
    DecodePosition(r, info);
    info.tyc = RecordTycNumber(r, n, &file);
    if (hip) {
        info.hip = HipOf(info.x, info.y, RecordHipCode(r));
        info.parallax = ParallaxOf(RecordParallaxCode(r));
        info.spectral = HipSpectralText(file, RecordSpectralOffset(r));
    }
    return info;
}

StarPosition ReadStarPosition(StarNumber n) {
    StarPosition pos;
    if (n < 0) return pos;
    if (n < kHipStarBase) {
        if (const uint8_t* r = BrightRecord(n))
            for (int i = 0; i < kFaintStarRecordSize; ++i) pos.bytes[i] = r[i];
        return pos;
    }
    StarPDBFileReader file(g_starFile);
    uint8_t r[kFaintStarRecordSize];
    if (file.IsOpen() && ReadFileRecord(file, n, r, kFaintStarRecordSize))
        for (int i = 0; i < kFaintStarRecordSize; ++i) pos.bytes[i] = r[i];
    return pos;
}

StarNumber HrToStarIndex(int hr) {
    if (hr < 1 || hr > kMaxHr) return kNoStar;
    const Table& t = g_tables.hrIndex;
    if (!t.Has(2 * size_t(hr - 1), 2)) return kNoStar;
    const uint16_t index = GetU16(t.data + 2 * (hr - 1));
    if (index == 0xFFFF || index >= kHipStarBase) return kNoStar;
    return index;
}

int StarIndexToHr(StarNumber index) {
    if (index < 0 || index >= kHipStarBase) return 0;
    const Table& t = g_tables.hrIndex;
    const int entries = static_cast<int>(t.data ? t.size / 2 : 0);
    for (int i = 0; i < entries; ++i) {
        if (GetU16(t.data + 2 * i) != index) continue;
        // A star listed under several consecutive HR numbers is named by the
        // last of them that carries a proper name, else by the first.
        int chosen = i + 1;
        for (int j = i; j < entries && GetU16(t.data + 2 * j) == index; ++j)
            if (ProperNameNumber(j + 1) != 0) chosen = j + 1;
        return chosen;
    }
    return 0;
}

int ProperNameStarHr(int k) {
    if (k < 1 || k > kProperNameCount) return 0;
    const Table& t = g_tables.nameNr;
    return t.Has(2 * size_t(k - 1), 2) ? GetU16(t.data + 2 * (k - 1)) + 1 : 0;
}

BayerFlamsteed BayerFlamsteedOf(int hr) {
    BayerFlamsteed bf;
    const Table& t = g_tables.bayFlam;
    if (hr < 0 || hr > kMaxBayerFlamsteedHr || !t.Has(3 * size_t(hr), 3)) return bf;
    const uint8_t* e = t.data + 3 * hr;
    bf.flamsteed = e[0];
    bf.letter = e[1] / 10;
    bf.digit = e[1] % 10;
    const int c = e[2] & 127;
    bf.constellation = static_cast<uint8_t>(c == 0 ? 0 : c - 1);
    return bf;
}

bool HasProperName(int hr) {
    const Table& t = g_tables.bayFlam;
    if (hr < 0 || hr > kMaxBayerFlamsteedHr || !t.Has(3 * size_t(hr), 3)) return false;
    return (t.data[3 * hr + 2] & 0x80) != 0;
}

int BayerListHr(int i) {
    const Table& t = g_tables.bayer;
    if (i < 0 || i >= kBayerListCount || !t.Has(2 * size_t(i), 2)) return 0;
    int hr = GetU16(t.data + 2 * i) & 0x1FFF;
    // The 14th bit of each entry lives in a bit map behind the list.
    const size_t word = 2 * (size_t(kBayerListCount) + 1 + i / 16);
    if (t.Has(word, 2) && (GetU16(t.data + word) >> (i % 16)) & 1) hr += 8192;
    return hr + 1;
}

int FlamsteedListHr(int i) {
    const Table& t = g_tables.flamsteed;
    if (i < 0 || i >= kFlamsteedListCount || !t.Has(2 * size_t(i), 2)) return 0;
    return (GetU16(t.data + 2 * i) & 0x3FFF) + 1;
}

}  // namespace Data
