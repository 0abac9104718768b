#include <algorithm>
#include <cstdlib>
#include <set>

#include "data/starcatalog.h"
#include "starcat.h"

namespace StarCat {

using namespace Data;

namespace {

// Constellation abbreviations in the program's index order.
const char* const kConstellations[88] = {
    "And", "Ant", "Aps", "Aql", "Aqr", "Ara", "Ari", "Aur", "Boo", "Cae", "Cam", "Cap", "Car", "Cas", "Cen",
    "Cep", "Cet", "Cha", "Cir", "CMa", "CMi", "Cnc", "Col", "Com", "CrA", "CrB", "Crt", "Cru", "Crv", "CVn",
    "Cyg", "Del", "Dor", "Dra", "Equ", "Eri", "For", "Gem", "Gru", "Her", "Hor", "Hya", "Hyi", "Ind", "Lac",
    "Leo", "Lep", "Lib", "LMi", "Lup", "Lyn", "Lyr", "Men", "Mic", "Mon", "Mus", "Nor", "Oct", "Oph", "Ori",
    "Pav", "Peg", "Per", "Phe", "Pic", "PsA", "Psc", "Pup", "Pyx", "Ret", "Scl", "Sco", "Sct", "Ser", "Sex",
    "Sge", "Sgr", "Tau", "Tel", "TrA", "Tri", "Tuc", "UMa", "UMi", "Vel", "Vir", "Vol", "Vul"};

// The Greek letters as the Bright Star Catalogue abbreviates them, alpha .. omega.
const char* const kGreek[24] = {"Alp", "Bet", "Gam", "Del", "Eps", "Zet", "Eta", "The", "Iot", "Kap", "Lam", "Mu",
                                "Nu",  "Xi",  "Omi", "Pi",  "Rho", "Sig", "Tau", "Ups", "Phi", "Chi", "Psi", "Ome"};

// Columns are 1-based and inclusive, as the catalogue's ReadMe gives them;
// trailing blanks may have been stripped from the line.
std::string Field(const std::string& line, size_t from, size_t to) {
    if (line.size() < from) return std::string();
    std::string f = line.substr(from - 1, std::min(to, line.size()) - from + 1);
    const size_t a = f.find_first_not_of(' ');
    if (a == std::string::npos) return std::string();
    return f.substr(a, f.find_last_not_of(' ') - a + 1);
}

bool Number(const std::string& s, double& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return end && *end == 0;
}

long Integer(const std::string& s) {
    double v;
    return Number(s, v) ? static_cast<long>(v) : 0;
}

struct BscStar {
    int hr = 0;
    bool hasPosition = false;
    double raDeg = 0, decDeg = 0;
    double v = 0;
    bool hasV = false;
    double bv = 0;
    bool hasBv = false;
    std::string spectral;
    double parallaxMas = 0;
    bool hasParallax = false;
    BayerFlamsteed bf;
    bool hasConstellation = false;
};

BscStar ParseBsc(const std::string& line) {
    BscStar s;
    s.hr = static_cast<int>(Integer(Field(line, 1, 4)));
    double h, m, sec, d, dm, ds;
    if (Number(Field(line, 76, 77), h) && Number(Field(line, 78, 79), m) && Number(Field(line, 80, 83), sec) &&
        Number(Field(line, 85, 86), d) && Number(Field(line, 87, 88), dm) && Number(Field(line, 89, 90), ds)) {
        s.hasPosition = true;
        s.raDeg = (h + m / 60 + sec / 3600) * 15;
        s.decDeg = (d + dm / 60 + ds / 3600) * (line[83] == '-' ? -1 : 1);
    }
    s.hasV = Number(Field(line, 103, 107), s.v);
    s.hasBv = Number(Field(line, 110, 114), s.bv);
    s.spectral = Field(line, 128, 147);
    double plx;
    if (Field(line, 161, 161) != "D" && Number(Field(line, 162, 166), plx) && plx > 0) {
        s.parallaxMas = plx * 1000;  // trigonometric, arcseconds
        s.hasParallax = true;
    }
    const std::string flamsteed = Field(line, 5, 7);
    const std::string greek = Field(line, 8, 10);
    const std::string digit = Field(line, 11, 11);
    const std::string con = Field(line, 12, 14);
    if (!flamsteed.empty()) s.bf.flamsteed = static_cast<uint8_t>(Integer(flamsteed));
    for (int i = 0; i < 24; ++i)
        if (greek == kGreek[i]) s.bf.letter = static_cast<uint8_t>(i + 1);
    if (!digit.empty() && digit[0] >= '1' && digit[0] <= '9') s.bf.digit = static_cast<uint8_t>(digit[0] - '0');
    for (int i = 0; i < 88; ++i)
        if (con == kConstellations[i]) {
            s.bf.constellation = static_cast<uint8_t>(i);
            s.hasConstellation = true;
        }
    if (!s.hasConstellation) s.bf = BayerFlamsteed();  // a designation needs its constellation
    return s;
}

// The Tycho link of a record and, when TYC1 does not follow from the stored
// position, the entry to add to the store's Tycho list. Returns false when
// the number cannot be stored at all (TYC2 beyond 14 bits, TYC3 beyond 1..3).
bool TychoLink(const TycNumber& t, const Q15Vector& p, uint16_t& link, bool& needsEntry) {
    needsEntry = false;
    link = 0;
    if (IsNone(t)) return true;
    if (t.tyc2 > 0x3FFF || t.tyc3 < 1 || t.tyc3 > 3) return false;
    if (TycRegionOf(p.x, p.y, p.z) == t.tyc1) {
        link = static_cast<uint16_t>(t.tyc2 << 2 | t.tyc3);
    } else {
        needsEntry = true;
    }
    return true;
}

void PutEntry(Bytes& list, uint32_t owner, const TycNumber& t) {
    uint8_t e[kTychoEntrySize];
    PutU32(e, owner);
    PutU16(e + 4, t.tyc1);
    PutU16(e + 6, static_cast<uint16_t>(t.tyc2 << 2 | t.tyc3));
    list.insert(list.end(), e, e + kTychoEntrySize);
}

// Entry 0 of every Tycho list is the "no Tycho number" entry that a zero
// link points to.
Bytes NewTychoList() {
    Bytes list;
    PutEntry(list, 0xFFFFFFFFu, TycNumber());
    return list;
}

TycNumber ParseTyc(const std::string& t1, const std::string& t2, const std::string& t3) {
    TycNumber t;
    if (t1.empty() || t2.empty() || t3.empty()) return t;
    t.tyc1 = static_cast<uint16_t>(std::atol(t1.c_str()));
    t.tyc2 = static_cast<uint16_t>(std::atol(t2.c_str()));
    t.tyc3 = static_cast<uint8_t>(std::atol(t3.c_str()));
    return t;
}

void PutRecordHead(uint8_t* r, const Q15Vector& p, uint16_t magCode, int colour, uint16_t link) {
    PutU16(r, static_cast<uint16_t>(p.x));
    PutU16(r + 2, static_cast<uint16_t>(p.y));
    PutU16(r + 4, static_cast<uint16_t>(p.z));
    PutU16(r + 6, static_cast<uint16_t>(magCode | colour << 11));
    PutU16(r + 8, link);
}

void PutPadding(uint8_t* r, const TreeKey& k, int recordSize, uint16_t emptyText) {
    Q15Vector p;
    p.x = k.x;
    p.y = k.y;
    p.z = k.z;
    PutRecordHead(r, p, k.magCode, kPaddingColourClass, 0);
    if (recordSize == kStarRecordSize) {
        r[10] = 0;
        r[11] = 0;
        PutU16(r + 12, emptyText);
    }
}

std::string Path(const std::string& dir, const char* name) { return dir + "/" + name; }

// The columns the builder reads from the bright stars' Tycho list.
const std::vector<std::string> kBrightTycColumns = {"hr", "hip", "tyc1", "tyc2", "tyc3"};

// The HIP -> TYC cross-identifications of the bright stars; for a HIP number
// listed under several HR numbers, that of the lowest HR.
std::map<uint32_t, TycNumber> BrightHipTyc(const std::vector<std::map<std::string, std::string>>& rows) {
    std::map<uint32_t, std::pair<int, TycNumber>> best;
    for (const auto& r : rows) {
        const long hip = std::atol(r.at("hip").c_str());
        const int hr = std::atoi(r.at("hr").c_str());
        const TycNumber t = ParseTyc(r.at("tyc1"), r.at("tyc2"), r.at("tyc3"));
        if (hip <= 0 || IsNone(t)) continue;
        auto it = best.find(static_cast<uint32_t>(hip));
        if (it == best.end() || hr < it->second.first) best[static_cast<uint32_t>(hip)] = {hr, t};
    }
    std::map<uint32_t, TycNumber> out;
    for (const auto& kv : best) out[kv.first] = kv.second.second;
    return out;
}

}  // namespace

std::map<std::string, Bytes> BuildBrightResources(const std::string& dir, Report& report) {
    // --- inputs ---
    std::map<int, BscStar> bsc;
    for (const std::string& line : ReadLines(Path(dir, "bsc5.dat.gz"))) {
        if (line.empty()) continue;
        BscStar s = ParseBsc(line);
        if (s.hr < 1 || s.hr > kMaxHr) throw BuildError{"bsc5.dat: bad HR number in: " + line.substr(0, 14)};
        bsc[s.hr] = s;
    }
    if (bsc.size() != size_t(kMaxHr)) throw BuildError{"bsc5.dat: expected 9110 stars"};

    std::map<int, uint32_t> hipOfHr;
    std::map<int, TycNumber> tycOfHr;
    for (const auto& r : ReadCsv(Path(dir, "tyc_bright_stars.csv.gz"), kBrightTycColumns)) {
        const int hr = std::atoi(r.at("hr").c_str());
        const long hip = std::atol(r.at("hip").c_str());
        if (hip > 0) hipOfHr[hr] = static_cast<uint32_t>(hip);
        tycOfHr[hr] = ParseTyc(r.at("tyc1"), r.at("tyc2"), r.at("tyc3"));
    }
    // The Hipparcos cross-identifications fill the HIP numbers that the Tycho
    // list lacks (the first row of an HR number).
    for (const auto& r : ReadCsv(Path(dir, "hip_hr.csv"), {"hr", "hip"})) {
        const int hr = std::atoi(r.at("hr").c_str());
        const long hip = std::atol(r.at("hip").c_str());
        if (hr > 0 && hip > 0 && !hipOfHr.count(hr)) hipOfHr[hr] = static_cast<uint32_t>(hip);
    }
    std::map<uint32_t, std::pair<double, bool>> hipParallax;
    for (const auto& r : ReadCsv(Path(dir, "hipparcos.csv.gz"), {"hip", "plx_mas"})) {
        double plx;
        const bool known = Number(r.at("plx_mas"), plx);
        hipParallax[static_cast<uint32_t>(std::atol(r.at("hip").c_str()))] = {known ? plx : 0, known};
    }
    std::vector<int> nameHr;
    for (const auto& r : ReadCsv(Path(dir, "proper_names.csv"), {"hr"}))
        nameHr.push_back(std::atoi(r.at("hr").c_str()));
    if (nameHr.size() != size_t(kProperNameCount)) throw BuildError{"proper_names.csv: expected 291 names"};
    const std::set<int> named(nameHr.begin(), nameHr.end());

    // --- stars: HR numbers that share one HIP number are one star ---
    struct Group {
        std::vector<int> hrs;
        int primary = 0;
    };
    std::vector<Group> groups;
    std::map<uint32_t, size_t> groupOfHip;
    std::map<int, size_t> groupOfHr;
    for (const auto& kv : bsc) {
        const BscStar& s = kv.second;
        if (!s.hasPosition) continue;
        if (!s.hasV) throw BuildError{"bsc5.dat: HR " + std::to_string(s.hr) + " has no magnitude"};
        auto hip = hipOfHr.find(s.hr);
        size_t g;
        if (hip != hipOfHr.end() && groupOfHip.count(hip->second)) {
            g = groupOfHip[hip->second];
        } else {
            g = groups.size();
            groups.emplace_back();
            if (hip != hipOfHr.end()) groupOfHip[hip->second] = g;
        }
        groups[g].hrs.push_back(s.hr);
        groupOfHr[s.hr] = g;
    }
    // The brightest component (the lowest HR on a tie) gives the record.
    for (Group& g : groups) {
        g.primary = g.hrs[0];
        for (int hr : g.hrs)
            if (bsc[hr].v < bsc[g.primary].v) g.primary = hr;
    }
    for (int hr : nameHr)
        if (!groupOfHr.count(hr)) throw BuildError{"proper name of HR " + std::to_string(hr) + " has no star"};

    const size_t n = groups.size();
    const size_t capacity = size_t(9) * kBlocksPerRecord * kStarsPerBlock;
    if (n > capacity) throw BuildError{"more bright stars than nine resource pieces hold"};

    std::vector<TreeKey> keys(n);
    std::vector<Q15Vector> pos(n);
    for (size_t i = 0; i < n; ++i) {
        const BscStar& s = bsc[groups[i].primary];
        pos[i] = ToQ15(s.raDeg, s.decDeg);
        keys[i] = TreeKey{pos[i].x, pos[i].y, pos[i].z, MagnitudeCode(s.v)};
    }
    TreeKey padKey;
    const std::vector<int32_t> slots = BuildTree(keys, &padKey);

    // --- spectral texts ---
    std::vector<std::string> texts{""};
    for (const Group& g : groups) texts.push_back(bsc[g.primary].spectral);
    std::map<std::string, uint16_t> textAt;
    int literals = 0, pairs = 0;
    const Bytes spec = EncodePairText(texts, textAt, &literals, &pairs);

    // --- records, in tree order ---
    std::vector<StarNumber> indexOfGroup(n, kNoStar);
    Bytes tree(slots.size() * kStarRecordSize, 0);
    Bytes tyc1List = NewTychoList();
    int hipMissing = 0, hipUnencodable = 0, tycMissing = 0, tycUnencodable = 0;
    for (size_t slot = 0; slot < slots.size(); ++slot) {
        uint8_t* r = &tree[slot * kStarRecordSize];
        if (slots[slot] < 0) {
            PutPadding(r, padKey, kStarRecordSize, textAt[""]);
            continue;
        }
        const size_t gi = static_cast<size_t>(slots[slot]);
        indexOfGroup[gi] = static_cast<StarNumber>(slot);
        const Group& g = groups[gi];
        const BscStar& s = bsc[g.primary];
        TycNumber tyc = tycOfHr[g.primary];
        for (int hr : g.hrs)
            if (IsNone(tyc)) tyc = tycOfHr[hr];
        uint16_t link;
        bool needsEntry;
        if (IsNone(tyc)) ++tycMissing;
        if (!TychoLink(tyc, pos[gi], link, needsEntry)) {
            ++tycUnencodable;
            link = 0;
        } else if (needsEntry) {
            link = static_cast<uint16_t>((tyc1List.size() / kTychoEntrySize) << 2);
            PutEntry(tyc1List, static_cast<uint32_t>(slot), tyc);
        }
        PutRecordHead(r, pos[gi], keys[gi].magCode, ColourClass(s.bv, s.hasBv), link);
        const auto hip = hipOfHr.find(g.primary);
        uint32_t hipNumber = hip != hipOfHr.end() ? hip->second : 0;
        for (int hr : g.hrs)
            if (hipNumber == 0 && hipOfHr.count(hr)) hipNumber = hipOfHr[hr];
        const uint8_t code = HipCode(hipNumber, pos[gi].x, pos[gi].y);
        if (hipNumber == 0) ++hipMissing;
        else if (code == 0) ++hipUnencodable;
        r[10] = code;
        const auto plx = hipParallax.find(hipNumber);
        r[11] = hipNumber && plx != hipParallax.end() && plx->second.second
                    ? ParallaxCode(plx->second.first, true)
                    : ParallaxCode(s.parallaxMas, s.hasParallax);
        PutU16(r + 12, textAt[s.spectral]);
    }
    if (tyc1List.size() / kTychoEntrySize > 0x3FFF) throw BuildError{"Tyc1List exceeds 16383 entries"};

    std::map<std::string, Bytes> out;
    const size_t pieceBytes = size_t(kBlocksPerRecord) * kStarsPerBlock * kStarRecordSize;
    for (int p = 0; p < 9; ++p) {
        const size_t from = p * pieceBytes;
        const size_t to = std::min(tree.size(), from + pieceBytes);
        out["starsBSC" + std::to_string(p)] = from < to ? Bytes(tree.begin() + static_cast<long>(from),
                                                               tree.begin() + static_cast<long>(to))
                                                        : Bytes();
    }

    // --- HR tables ---
    Bytes hrIndex(2 * size_t(kMaxHr), 0xFF);
    int hrWithoutStar = 0;
    for (int hr = 1; hr <= kMaxHr; ++hr) {
        auto g = groupOfHr.find(hr);
        if (g == groupOfHr.end()) {
            ++hrWithoutStar;
            continue;
        }
        PutU16(&hrIndex[2 * size_t(hr - 1)], static_cast<uint16_t>(indexOfGroup[g->second]));
    }
    out["starsBSCHIP"] = hrIndex;
    out["Tyc1List"] = tyc1List;

    Bytes nameNr(2 * size_t(kProperNameCount));
    for (int k = 0; k < kProperNameCount; ++k) PutU16(&nameNr[2 * size_t(k)], static_cast<uint16_t>(nameHr[k] - 1));
    out["starNameNr"] = nameNr;

    Bytes bayFlam(3 * size_t(kMaxBayerFlamsteedHr + 2), 0);
    struct ListEntry {
        int a, b, c, hr;
        bool operator<(const ListEntry& o) const {
            if (a != o.a) return a < o.a;
            if (b != o.b) return b < o.b;
            if (c != o.c) return c < o.c;
            return hr < o.hr;
        }
    };
    std::vector<ListEntry> bayer, flamsteed;
    for (const auto& kv : bsc) {
        const BscStar& s = kv.second;
        const bool hasDesignation = s.bf.letter != 0 || s.bf.flamsteed != 0;
        if (s.hr <= kMaxBayerFlamsteedHr) {
            uint8_t* e = &bayFlam[3 * size_t(s.hr)];
            e[0] = s.bf.flamsteed;
            e[1] = static_cast<uint8_t>(s.bf.letter * 10 + s.bf.digit);
            e[2] = static_cast<uint8_t>((named.count(s.hr) ? 0x80 : 0) |
                                        (hasDesignation ? s.bf.constellation + 1 : 0));
        }
        if (!s.hasPosition || s.hr > kMaxBayerFlamsteedHr) continue;
        // Bayer list: by letter, superscript, constellation; Flamsteed list:
        // by number, then constellation.
        if (s.bf.letter) bayer.push_back({s.bf.letter, s.bf.digit, s.bf.constellation, s.hr});
        if (s.bf.flamsteed) flamsteed.push_back({s.bf.flamsteed, s.bf.constellation, 0, s.hr});
    }
    std::sort(bayer.begin(), bayer.end());
    std::sort(flamsteed.begin(), flamsteed.end());
    if (bayer.size() != size_t(kBayerListCount) || flamsteed.size() != size_t(kFlamsteedListCount))
        throw BuildError{"the Bayer and Flamsteed lists have " + std::to_string(bayer.size()) + " and " +
                         std::to_string(flamsteed.size()) + " entries; the program expects " +
                         std::to_string(kBayerListCount) + " and " + std::to_string(kFlamsteedListCount)};
    out["bayFlam"] = bayFlam;

    // Low 13 bits of HR-1 per entry, one unused word, then a bit map with the
    // 8192 bit of each entry.
    const size_t words = bayer.size() + 1 + (bayer.size() + 15) / 16;
    Bytes bay(2 * words, 0);
    for (size_t i = 0; i < bayer.size(); ++i) {
        const int v = bayer[i].hr - 1;
        PutU16(&bay[2 * i], static_cast<uint16_t>(v & 0x1FFF));
        if (v & 0x2000) {
            uint8_t* w = &bay[2 * (bayer.size() + 1 + i / 16)];
            PutU16(w, static_cast<uint16_t>(GetU16(w) | 1u << (i % 16)));
        }
    }
    out["starBay"] = bay;
    Bytes flam(2 * flamsteed.size());
    for (size_t i = 0; i < flamsteed.size(); ++i) PutU16(&flam[2 * i], static_cast<uint16_t>(flamsteed[i].hr - 1));
    out["starFlam"] = flam;
    out["bscSpecData"] = spec;

    report.Add("bright stars: " + std::to_string(n) + " records for " + std::to_string(kMaxHr - hrWithoutStar) +
               " HR numbers, " + std::to_string(slots.size() - n) + " padding records, " +
               std::to_string(slots.size() / kStarsPerBlock) + " blocks");
    report.Add("HR numbers without a star: " + std::to_string(hrWithoutStar));
    report.Add("bright stars without HIP number: " + std::to_string(hipMissing) +
               ", HIP number not encodable: " + std::to_string(hipUnencodable));
    report.Add("bright stars without TYC number: " + std::to_string(tycMissing) +
               ", TYC not encodable: " + std::to_string(tycUnencodable) +
               ", Tyc1List entries: " + std::to_string(tyc1List.size() / kTychoEntrySize) + " (entry 0 = none)");
    report.Add("Bayer list: " + std::to_string(bayer.size()) + ", Flamsteed list: " +
               std::to_string(flamsteed.size()));
    report.Add("bscSpecData: " + std::to_string(spec.size()) + " bytes, L = " + std::to_string(literals) +
               ", P = " + std::to_string(pairs));
    return out;
}

Bytes BuildStarsDat(const std::string& dir, const std::vector<std::string>& tycho2Files, Report& report) {
    struct HipStar {
        uint32_t hip;
        Q15Vector pos;
        uint16_t magCode;
        int colour;
        uint8_t plx;
        std::string spectral;
        TycNumber tyc;
    };
    std::vector<HipStar> stars;
    for (const auto& r :
         ReadCsv(Path(dir, "hipparcos.csv.gz"), {"hip", "ra_deg", "dec_deg", "vmag", "bv", "plx_mas", "sptype"})) {
        double ra, dec, v, bv, plx;
        if (!Number(r.at("ra_deg"), ra) || !Number(r.at("dec_deg"), dec) || !Number(r.at("vmag"), v))
            throw BuildError{"hipparcos.csv.gz: HIP " + r.at("hip") + " lacks a position or magnitude"};
        const bool hasBv = Number(r.at("bv"), bv);
        const bool hasPlx = Number(r.at("plx_mas"), plx);
        HipStar s;
        s.hip = static_cast<uint32_t>(std::atol(r.at("hip").c_str()));
        s.pos = ToQ15(ra, dec);
        s.magCode = MagnitudeCode(v);
        s.colour = ColourClass(hasBv ? bv : 0, hasBv);
        s.plx = ParallaxCode(hasPlx ? plx : 0, hasPlx);
        s.spectral = r.at("sptype");
        stars.push_back(s);
    }
    std::map<uint32_t, size_t> byHip;
    for (size_t i = 0; i < stars.size(); ++i) byHip[stars[i].hip] = i;

    // Tycho numbers of HIP stars: Tycho-2's own HIP column when the catalogue
    // is given (the brightest entry of a HIP number), else the bright stars'
    // cross-identifications.
    for (const auto& kv : BrightHipTyc(ReadCsv(Path(dir, "tyc_bright_stars.csv.gz"), kBrightTycColumns))) {
        auto it = byHip.find(kv.first);
        if (it != byHip.end()) stars[it->second].tyc = kv.second;
    }
    std::vector<Tycho2Star> tycho;
    for (const std::string& file : tycho2Files) {
        const std::vector<std::string> lines = ReadLines(file);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].empty()) continue;
            Tycho2Star t;
            if (!ParseTycho2Line(lines[i], t))
                throw BuildError{file + " line " + std::to_string(i + 1) + ": not a Tycho-2 record"};
            tycho.push_back(t);
        }
    }
    std::map<uint32_t, size_t> tychoOfHip;  // the brightest Tycho-2 entry per HIP star
    for (size_t i = 0; i < tycho.size(); ++i) {
        if (!tycho[i].hip || !byHip.count(tycho[i].hip)) continue;
        auto it = tychoOfHip.find(tycho[i].hip);
        if (it == tychoOfHip.end() || tycho[i].v < tycho[it->second].v) tychoOfHip[tycho[i].hip] = i;
    }
    for (const auto& kv : tychoOfHip) stars[byHip[kv.first]].tyc = tycho[kv.second].tyc;

    // --- HIP section ---
    std::vector<TreeKey> keys;
    for (const HipStar& s : stars) keys.push_back(TreeKey{s.pos.x, s.pos.y, s.pos.z, s.magCode});
    TreeKey padKey;
    const std::vector<int32_t> slots = BuildTree(keys, &padKey);
    std::vector<std::string> texts{""};
    for (const HipStar& s : stars) texts.push_back(s.spectral);
    std::map<std::string, uint16_t> textAt;
    int literals = 0, pairs = 0;
    const Bytes spec = EncodePairText(texts, textAt, &literals, &pairs);

    Bytes hipTree(slots.size() * kStarRecordSize, 0);
    Bytes hipTycho = NewTychoList();
    Bytes highHip(4 * size_t(kHighHipCount), 0xFF);
    int hipUnencodable = 0, withTyc = 0, tycUnencodable = 0, tycDropped = 0;
    for (size_t slot = 0; slot < slots.size(); ++slot) {
        uint8_t* r = &hipTree[slot * kStarRecordSize];
        if (slots[slot] < 0) {
            PutPadding(r, padKey, kStarRecordSize, textAt[""]);
            continue;
        }
        const HipStar& s = stars[static_cast<size_t>(slots[slot])];
        uint16_t link;
        bool needsEntry;
        if (!IsNone(s.tyc)) ++withTyc;
        if (!TychoLink(s.tyc, s.pos, link, needsEntry)) {
            ++tycUnencodable;
            link = 0;
        } else if (needsEntry) {
            if (hipTycho.size() / kTychoEntrySize > 0x3FFF) {
                ++tycDropped;
                link = 0;
            } else {
                link = static_cast<uint16_t>((hipTycho.size() / kTychoEntrySize) << 2);
                PutEntry(hipTycho, static_cast<uint32_t>(slot), s.tyc);
            }
        }
        PutRecordHead(r, s.pos, s.magCode, s.colour, link);
        r[10] = HipCode(s.hip, s.pos.x, s.pos.y);
        if (r[10] == 0) ++hipUnencodable;
        r[11] = s.plx;
        PutU16(r + 12, textAt[s.spectral]);
        for (int k = 0; k < kHighHipCount; ++k)
            if (kHighHipTable[k] == s.hip) {
                const uint32_t v = static_cast<uint32_t>(slot);
                highHip[4 * size_t(k)] = static_cast<uint8_t>(v);  // little-endian, unlike the rest
                highHip[4 * size_t(k) + 1] = static_cast<uint8_t>(v >> 8);
                highHip[4 * size_t(k) + 2] = static_cast<uint8_t>(v >> 16);
                highHip[4 * size_t(k) + 3] = static_cast<uint8_t>(v >> 24);
            }
    }

    // --- TYC section: the Tycho-2 stars that are not the HIP stars above ---
    std::set<size_t> usedForHip;
    for (const auto& kv : tychoOfHip) usedForHip.insert(kv.second);
    struct TycStar {
        Q15Vector pos;
        uint16_t magCode;
        int colour;
        TycNumber tyc;
    };
    std::vector<TycStar> faint;
    for (size_t i = 0; i < tycho.size(); ++i) {
        if (usedForHip.count(i)) continue;
        const Tycho2Star& t = tycho[i];
        faint.push_back(TycStar{ToQ15(t.raDeg, t.decDeg), MagnitudeCode(t.v), ColourClass(t.bv, t.hasBv), t.tyc});
    }
    std::vector<TreeKey> faintKeys;
    for (const TycStar& s : faint) faintKeys.push_back(TreeKey{s.pos.x, s.pos.y, s.pos.z, s.magCode});
    TreeKey faintPad;
    const std::vector<int32_t> faintSlots = BuildTree(faintKeys, &faintPad);
    Bytes tycTree(faintSlots.size() * kFaintStarRecordSize, 0);
    Bytes tycTycho = NewTychoList();
    int faintUnencodable = 0;
    for (size_t slot = 0; slot < faintSlots.size(); ++slot) {
        uint8_t* r = &tycTree[slot * kFaintStarRecordSize];
        if (faintSlots[slot] < 0) {
            PutPadding(r, faintPad, kFaintStarRecordSize, 0);
            continue;
        }
        const TycStar& s = faint[static_cast<size_t>(faintSlots[slot])];
        uint16_t link;
        bool needsEntry;
        if (!TychoLink(s.tyc, s.pos, link, needsEntry) ||
            (needsEntry && tycTycho.size() / kTychoEntrySize > 0x3FFF)) {
            // The number cannot be stored; the star stays, without its number.
            ++faintUnencodable;
            link = 0;
        } else if (needsEntry) {
            link = static_cast<uint16_t>((tycTycho.size() / kTychoEntrySize) << 2);
            PutEntry(tycTycho, static_cast<uint32_t>(slot), s.tyc);
        }
        PutRecordHead(r, s.pos, s.magCode, s.colour, link);
    }

    // --- the container ---
    const size_t perRecord = size_t(kBlocksPerRecord) * kStarsPerBlock;
    auto split = [&](const Bytes& tree, int recordSize, std::vector<Bytes>& records) {
        const size_t bytes = perRecord * recordSize;
        for (size_t from = 0; from < tree.size(); from += bytes)
            records.emplace_back(tree.begin() + static_cast<long>(from),
                                 tree.begin() + static_cast<long>(std::min(tree.size(), from + bytes)));
    };
    std::vector<Bytes> records(5);
    records[1] = spec;
    records[2] = hipTycho;
    records[3] = tycTycho;
    records[4] = highHip;
    const size_t hipFirst = records.size();
    split(hipTree, kStarRecordSize, records);
    const size_t tycFirst = records.size();
    split(tycTree, kFaintStarRecordSize, records);
    if (tycFirst > 0xFFFF || records.size() > 0xFFFF) throw BuildError{"too many PDB records"};
    Bytes header(14, 0);
    PutU16(&header[0], static_cast<uint16_t>(hipFirst));
    PutU16(&header[2], static_cast<uint16_t>(tycFirst));
    PutU32(&header[4], static_cast<uint32_t>(slots.size()));
    PutU32(&header[8], static_cast<uint32_t>(faintSlots.size()));
    records[0] = header;

    report.Add("stars.dat HIP section: " + std::to_string(stars.size()) + " stars, " +
               std::to_string(slots.size() - stars.size()) + " padding records, " +
               std::to_string(slots.size() / kStarsPerBlock) + " blocks");
    report.Add("HIP numbers not encodable: " + std::to_string(hipUnencodable));
    report.Add("HIP stars with a TYC number: " + std::to_string(withTyc) + ", Tycho entries: " +
               std::to_string(hipTycho.size() / kTychoEntrySize) + ", not encodable: " +
               std::to_string(tycUnencodable + tycDropped));
    report.Add("HIP spectral table: " + std::to_string(spec.size()) + " bytes, L = " + std::to_string(literals) +
               ", P = " + std::to_string(pairs));
    report.Add("stars.dat TYC section: " + std::to_string(faint.size()) + " stars from " +
               std::to_string(tycho.size()) + " Tycho-2 records, " + std::to_string(faintSlots.size() / kStarsPerBlock) +
               " blocks, Tycho entries: " + std::to_string(tycTycho.size() / kTychoEntrySize) +
               ", TYC numbers not storable: " + std::to_string(faintUnencodable));
    return WritePdb("CelvaneStars", records);
}

}  // namespace StarCat
