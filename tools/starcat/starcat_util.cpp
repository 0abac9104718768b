#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>

#include "starcat.h"

namespace StarCat {

using namespace Data;

// --- reading ------------------------------------------------------------------------------

std::vector<std::string> ReadLines(const std::string& path) {
    // gzopen reads plain files unchanged as well.
    gzFile f = gzopen(path.c_str(), "rb");
    if (!f) throw BuildError{"cannot open " + path};
    std::vector<std::string> lines;
    std::string current;
    char buf[65536];
    int got;
    while ((got = gzread(f, buf, sizeof buf)) > 0) {
        for (int i = 0; i < got; ++i) {
            if (buf[i] == '\n') {
                if (!current.empty() && current.back() == '\r') current.pop_back();
                lines.push_back(current);
                current.clear();
            } else {
                current += buf[i];
            }
        }
    }
    int err = 0;
    const char* msg = gzerror(f, &err);
    const bool bad = got < 0 || (err != Z_OK && err != Z_STREAM_END);
    const std::string why = bad && msg ? msg : "";
    gzclose(f);
    if (bad) throw BuildError{"cannot read " + path + ": " + why};
    if (!current.empty()) lines.push_back(current);
    return lines;
}

std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<std::map<std::string, std::string>> ReadCsv(const std::string& path,
                                                        const std::vector<std::string>& columns) {
    const std::vector<std::string> lines = ReadLines(path);
    if (lines.empty()) throw BuildError{path + ": empty"};
    const std::vector<std::string> names = SplitCsv(lines[0]);
    for (const std::string& c : columns)
        if (std::find(names.begin(), names.end(), c) == names.end()) throw BuildError{path + ": no column " + c};
    std::vector<std::map<std::string, std::string>> rows;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const std::vector<std::string> f = SplitCsv(lines[i]);
        if (f.size() != names.size())
            throw BuildError{path + " line " + std::to_string(i + 1) + ": " + std::to_string(f.size()) +
                             " fields, expected " + std::to_string(names.size())};
        std::map<std::string, std::string> row;
        for (size_t k = 0; k < names.size(); ++k) row[names[k]] = f[k];
        rows.push_back(std::move(row));
    }
    return rows;
}

// --- single values ------------------------------------------------------------------------

Q15Vector ToQ15(double raDeg, double decDeg) {
    const double kDeg = 3.14159265358979323846 / 180.0;
    const double ra = raDeg * kDeg, dec = decDeg * kDeg;
    Q15Vector v;
    v.x = static_cast<int16_t>(std::lround(std::cos(dec) * std::cos(ra) * 32767.0));
    v.y = static_cast<int16_t>(std::lround(std::cos(dec) * std::sin(ra) * 32767.0));
    v.z = static_cast<int16_t>(std::lround(std::sin(dec) * 32767.0));
    if (v.x == 0 && v.y <= 0) v.x = 1;
    return v;
}

uint16_t MagnitudeCode(double v) {
    const long code = std::lround(v * 100.0) + kMagnitudeOffset;
    return static_cast<uint16_t>(code < 0 ? 0 : (code > kMaxMagnitudeCode ? kMaxMagnitudeCode : code));
}

int ColourClass(double bv, bool known) {
    if (!known) return 9;
    // Upper B-V bounds of classes 15 (bluest) .. 1; class 0 above the last.
    // Each class's tint in the sky map's colour table is that of a black body
    // of some temperature; the bounds are the midpoints between the B-V
    // indexes of main-sequence stars of adjacent class temperatures
    // (Pecaut & Mamajek 2013, Table 5): 15 ~35000 K (B-V -0.31), 14 ~16700 K
    // (-0.18), 13 ~11600 K (-0.08), 12 ~9150 K (0.03), 11 ~7800 K (0.20),
    // 10 ~7100 K (0.32), 9 (white) ~6600 K (0.42), 8 ~6200 K (0.51),
    // 7 ~5650 K (0.66), 6 ~5100 K (0.84), 5 ~4650 K (1.02), 4 ~4250 K (1.20),
    // 3 ~3900 K (1.38), 2 ~3550 K (1.50), 1 ~3250 K (1.60), 0 ~2800 K.
    static const double kUpper[15] = {-0.25, -0.13, -0.03, 0.11, 0.26, 0.37, 0.46, 0.58,
                                      0.75,  0.93,  1.11,  1.29, 1.44, 1.55, 1.70};
    for (int i = 0; i < 15; ++i)
        if (bv < kUpper[i]) return 15 - i;
    return 0;
}

uint8_t ParallaxCode(double mas, bool known) {
    if (!known || !(mas >= 0.5)) return 0;
    const long p = std::lround(mas);
    if (p <= 230) return static_cast<uint8_t>(p);
    int best = 0;
    for (int i = 1; i < kNearStarCount; ++i)
        if (std::fabs(kNearStarParallax[i] - mas) < std::fabs(kNearStarParallax[best] - mas)) best = i;
    return static_cast<uint8_t>(kFirstNearStarCode + best);
}

uint8_t HipCode(uint32_t hip, int16_t x, int16_t y) {
    if (hip == 0) return 0;
    for (int k = 0; k < kHighHipCount; ++k)
        if (kHighHipTable[k] == hip) return static_cast<uint8_t>(k + 1);
    const int64_t code = int64_t(hip) - HipPrediction(x, y);
    if (code < kHighHipCount + 1 || code > 255) return 0;
    return static_cast<uint8_t>(code);
}

// --- pair-coded text -----------------------------------------------------------------------

Bytes EncodePairText(const std::vector<std::string>& texts, std::map<std::string, uint16_t>& offsets,
                     int* literalCount, int* pairCount) {
    const std::set<std::string> distinct(texts.begin(), texts.end());
    std::set<unsigned char> alphabet;
    for (const std::string& t : distinct)
        for (unsigned char c : t) {
            if (c == 0) throw BuildError{"a text holds a zero byte"};
            alphabet.insert(c);
        }
    if (alphabet.size() > 255) throw BuildError{"more than 255 distinct characters"};
    const int L = static_cast<int>(alphabet.size());
    int literalCode[256] = {};
    Bytes literals;
    for (unsigned char c : alphabet) {
        literals.push_back(c);
        literalCode[c] = static_cast<int>(literals.size());
    }

    std::vector<std::vector<int>> seqs;
    std::vector<std::string> order(distinct.begin(), distinct.end());
    for (const std::string& t : order) {
        std::vector<int> s;
        for (unsigned char c : t) s.push_back(literalCode[c]);
        seqs.push_back(std::move(s));
    }

    // Greedy pairing: each new code stands for the most frequent adjacent
    // pair (the smallest pair on a tie); a pair used n times saves n - 2 bytes.
    std::vector<std::pair<int, int>> pairs;
    while (L + static_cast<int>(pairs.size()) < 255) {
        std::vector<int> count(256 * 256, 0);
        for (const auto& s : seqs)
            for (size_t i = 0; i + 1 < s.size(); ++i) ++count[s[i] * 256 + s[i + 1]];
        std::pair<int, int> best{0, 0};
        int bestCount = 0;
        for (int k = 0; k < 256 * 256; ++k)
            if (count[k] > bestCount) {
                best = {k / 256, k % 256};
                bestCount = count[k];
            }
        if (bestCount < 3) break;
        pairs.push_back(best);
        const int code = L + static_cast<int>(pairs.size());
        for (auto& s : seqs) {
            std::vector<int> out;
            for (size_t i = 0; i < s.size(); ++i) {
                if (i + 1 < s.size() && s[i] == best.first && s[i + 1] == best.second) {
                    out.push_back(code);
                    ++i;
                } else {
                    out.push_back(s[i]);
                }
            }
            s.swap(out);
        }
    }
    const int P = static_cast<int>(pairs.size());

    Bytes table;
    table.push_back(static_cast<uint8_t>(L & 0xFF));
    table.push_back(static_cast<uint8_t>(L >> 8));
    table.push_back(static_cast<uint8_t>(P & 0xFF));
    table.push_back(static_cast<uint8_t>(P >> 8));
    table.insert(table.end(), literals.begin(), literals.end());
    for (const auto& p : pairs) {
        table.push_back(static_cast<uint8_t>(p.first));
        table.push_back(static_cast<uint8_t>(p.second));
    }

    // Longest first, so that a text that ends a longer one points into it.
    std::vector<size_t> idx(seqs.size());
    for (size_t i = 0; i < idx.size(); ++i) idx[i] = i;
    std::sort(idx.begin(), idx.end(), [&](size_t a, size_t b) {
        if (seqs[a].size() != seqs[b].size()) return seqs[a].size() > seqs[b].size();
        return seqs[a] < seqs[b];
    });
    std::map<std::vector<int>, size_t> placed;  // every placed tail -> its offset
    for (size_t i : idx) {
        const std::vector<int>& s = seqs[i];
        auto it = placed.find(s);
        size_t at;
        if (it != placed.end()) {
            at = it->second;
        } else {
            at = table.size();
            for (int c : s) table.push_back(static_cast<uint8_t>(c));
            table.push_back(0);
            for (size_t k = 0; k <= s.size(); ++k)
                placed.emplace(std::vector<int>(s.begin() + static_cast<long>(k), s.end()), at + k);
        }
        if (at > 0xFFFF) throw BuildError{"the text table exceeds 65535 bytes"};
        offsets[order[i]] = static_cast<uint16_t>(at);
    }
    if (literalCount) *literalCount = L;
    if (pairCount) *pairCount = P;
    return table;
}

// --- the tree ---------------------------------------------------------------------------------

namespace {

struct Item {
    TreeKey key;
    int32_t id;  // the star's index; padding items follow the stars
};

struct TreeBuilder {
    std::vector<Item> items;
    std::vector<uint64_t> blockSlots;  // records in the subtree of each block
    std::vector<int32_t> slots;
    uint32_t blocks = 0;

    uint64_t ChildBlockSlots(uint32_t block, int c) const {
        const uint64_t child = uint64_t(block) * 64 + static_cast<uint64_t>(c - 62);
        return child < blocks ? blockSlots[child] : 0;
    }

    static bool Less(const Item& a, const Item& b, int axis) {
        int d;
        switch (axis) {
            case kAxisRa: d = CompareRa(a.key.x, a.key.y, b.key.x, b.key.y); break;
            case kAxisZ: d = a.key.z - b.key.z; break;
            default: d = int(a.key.magCode) - int(b.key.magCode); break;
        }
        return d != 0 ? d < 0 : a.id < b.id;
    }

    void Block(uint32_t block, size_t lo, size_t hi) {
        uint64_t size[kStarsPerBlock];
        for (int j = kStarsPerBlock - 1; j >= 0; --j) {
            const int l = 2 * j + 1, r = 2 * j + 2;
            size[j] = 1 + (l < kStarsPerBlock ? size[l] : ChildBlockSlots(block, l)) +
                      (r < kStarsPerBlock ? size[r] : ChildBlockSlots(block, r));
        }
        if (hi - lo != size[0]) throw BuildError{"tree shape mismatch"};
        Node(block, 0, lo, hi, size);
    }

    void Node(uint32_t block, int j, size_t lo, size_t hi, const uint64_t* size) {
        const int axis = TreeSplitAxis(block, j);
        const int l = 2 * j + 1;
        const size_t leftSize = static_cast<size_t>(l < kStarsPerBlock ? size[l] : ChildBlockSlots(block, l));
        const auto cmp = [axis](const Item& a, const Item& b) { return Less(a, b, axis); };
        std::nth_element(items.begin() + static_cast<long>(lo), items.begin() + static_cast<long>(lo + leftSize),
                         items.begin() + static_cast<long>(hi), cmp);
        slots[size_t(block) * kStarsPerBlock + static_cast<size_t>(j)] = items[lo + leftSize].id;
        Child(block, l, lo, lo + leftSize, size);
        Child(block, l + 1, lo + leftSize + 1, hi, size);
    }

    void Child(uint32_t block, int c, size_t lo, size_t hi, const uint64_t* size) {
        if (c < kStarsPerBlock) {
            Node(block, c, lo, hi, size);
        } else if (hi > lo) {
            Block(static_cast<uint32_t>(uint64_t(block) * 64 + static_cast<uint64_t>(c - 62)), lo, hi);
        }
    }
};

}  // namespace

std::vector<int32_t> BuildTree(const std::vector<TreeKey>& keys, TreeKey* paddingKey) {
    TreeBuilder t;
    const size_t n = keys.size();
    t.blocks = static_cast<uint32_t>((n + kStarsPerBlock - 1) / kStarsPerBlock);
    const size_t total = size_t(t.blocks) * kStarsPerBlock;
    t.slots.assign(total, -1);
    if (n == 0) return t.slots;

    // Padding copies the faintest star's key, so it sorts into the tree like
    // a real star and never breaks the order the walk relies on.
    size_t faintest = 0;
    for (size_t i = 1; i < n; ++i)
        if (keys[i].magCode >= keys[faintest].magCode) faintest = i;
    for (size_t i = 0; i < total; ++i)
        t.items.push_back(Item{i < n ? keys[i] : keys[faintest], static_cast<int32_t>(i)});
    if (paddingKey) *paddingKey = keys[faintest];

    t.blockSlots.assign(t.blocks, 0);
    for (uint32_t b = t.blocks; b-- > 0;) {
        uint64_t s = kStarsPerBlock;
        for (int c = 1; c <= 64; ++c) {
            const uint64_t child = uint64_t(b) * 64 + static_cast<uint64_t>(c);
            if (child < t.blocks) s += t.blockSlots[child];
        }
        t.blockSlots[b] = s;
    }
    t.Block(0, 0, total);
    for (int32_t& s : t.slots)
        if (s >= static_cast<int32_t>(n)) s = -1;
    return t.slots;
}

// --- Tycho-2 -------------------------------------------------------------------------------------

namespace {

// Columns are 1-based and inclusive, as the catalogue's ReadMe gives them.
std::string Field(const std::string& line, size_t from, size_t to) {
    if (line.size() < to) return std::string();
    std::string f = line.substr(from - 1, to - from + 1);
    const size_t a = f.find_first_not_of(' ');
    if (a == std::string::npos) return std::string();
    const size_t b = f.find_last_not_of(' ');
    return f.substr(a, b - a + 1);
}

bool ToDouble(const std::string& s, double& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return end && *end == 0 && std::isfinite(v);
}

bool ToInt(const std::string& s, long& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    v = std::strtol(s.c_str(), &end, 10);
    return end && *end == 0;
}

}  // namespace

bool ParseTycho2Line(const std::string& line, Tycho2Star& out) {
    if (line.size() < 177 || line[12] != '|' || line[14] != '|' || line[27] != '|' || line[40] != '|' ||
        line[151] != '|' || line[164] != '|')
        return false;
    long t1, t2, t3;
    if (!ToInt(Field(line, 1, 4), t1) || !ToInt(Field(line, 6, 10), t2) || !ToInt(Field(line, 12, 12), t3))
        return false;
    if (t1 < 1 || t1 > 9537 || t2 < 1 || t2 > 65535 || t3 < 1 || t3 > 9) return false;
    out = Tycho2Star();
    out.tyc.tyc1 = static_cast<uint16_t>(t1);
    out.tyc.tyc2 = static_cast<uint16_t>(t2);
    out.tyc.tyc3 = static_cast<uint8_t>(t3);
    double ra, dec;
    const std::string meanRa = Field(line, 16, 27), meanDec = Field(line, 29, 40);
    if (!meanRa.empty() || !meanDec.empty()) {
        if (!ToDouble(meanRa, ra) || !ToDouble(meanDec, dec)) return false;
        out.raDeg = ra;
        out.decDeg = dec;
    } else if (ToDouble(Field(line, 153, 164), ra) && ToDouble(Field(line, 166, 177), dec)) {
        out.raDeg = ra;  // no mean position: the observed one (epoch about 1991)
        out.decDeg = dec;
    } else {
        return false;
    }
    if (ra < 0 || ra >= 360 || dec < -90 || dec > 90) return false;
    double bt, vt;
    const bool hasBt = ToDouble(Field(line, 111, 116), bt);
    const bool hasVt = ToDouble(Field(line, 124, 129), vt);
    if (hasBt && hasVt) {
        out.v = vt - 0.090 * (bt - vt);
        out.bv = 0.850 * (bt - vt);
        out.hasBv = true;
    } else if (hasVt) {
        out.v = vt;
    } else if (hasBt) {
        out.v = bt;
    } else {
        return false;
    }
    long hip;
    if (ToInt(Field(line, 143, 148), hip) && hip > 0) out.hip = static_cast<uint32_t>(hip);
    return true;
}

// --- PDB ----------------------------------------------------------------------------------------

Bytes WritePdb(const std::string& name, const std::vector<Bytes>& records) {
    const size_t headerSize = 78, entrySize = 8;
    Bytes out(headerSize + entrySize * records.size() + 2, 0);  // 2 bytes of the conventional gap
    for (size_t i = 0; i < name.size() && i < 31; ++i) out[i] = static_cast<uint8_t>(name[i]);
    PutU16(&out[34], 1);                     // version
    std::memcpy(&out[60], "Star", 4);        // type
    std::memcpy(&out[64], "Cvne", 4);        // creator
    PutU16(&out[76], static_cast<uint16_t>(records.size()));
    size_t offset = out.size();
    for (size_t r = 0; r < records.size(); ++r) {
        if (offset > 0xFFFFFFFFu) throw BuildError{"stars.dat exceeds 4 GB"};
        uint8_t* e = &out[headerSize + entrySize * r];
        PutU32(e, static_cast<uint32_t>(offset));
        e[5] = static_cast<uint8_t>(r >> 16);  // unique id
        e[6] = static_cast<uint8_t>(r >> 8);
        e[7] = static_cast<uint8_t>(r);
        offset += records[r].size();
    }
    for (const Bytes& rec : records) out.insert(out.end(), rec.begin(), rec.end());
    return out;
}

}  // namespace StarCat
