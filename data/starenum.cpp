#include "data/starenum.h"

#include "data/starcatalog.h"
#include "engine/fixedangle.h"

namespace Data {

namespace {

// Depth of node j inside its block: floor(log2(j + 1)).
const uint8_t kNodeDepth[63] = {0, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4,
                                4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5,
                                5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5};

int MagCode(int16_t hundredths) {
    const int code = hundredths + kMagnitudeOffset;
    return code < 0 ? 0 : (code > kMaxMagnitudeCode ? kMaxMagnitudeCode : code);
}

int16_t ClampI16(int32_t v) { return static_cast<int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v)); }

}  // namespace

struct StarEnumerator::Walk {
    Section section;
    Box box;
    int recordSize;
    uint32_t blocks;
    StarNumber base;
};

StarEnumerator::StarEnumerator(StarPDBFileReader* file) : file_(file) {
    if (file_ && file_->IsOpen()) {
        hipRecord_ = file_->HipRecord();
        tycRecord_ = file_->TycRecord();
        hipBlocks_ = file_->HipBlocks();
        tycBlocks_ = file_->TycBlocks();
    }
}

StarEnumerator::~StarEnumerator() = default;

bool StarEnumerator::EnumerateBright(int16_t xFrom, int16_t xTo, int16_t yFrom, int16_t yTo, int16_t zMin,
                                     int16_t zMax, int16_t magMin, int16_t magMax) {
    return Enumerate(kBright, xFrom, xTo, yFrom, yTo, zMin, zMax, magMin, magMax);
}

bool StarEnumerator::EnumerateHip(int16_t xFrom, int16_t xTo, int16_t yFrom, int16_t yTo, int16_t zMin,
                                  int16_t zMax, int16_t magMin, int16_t magMax) {
    return Enumerate(kHip, xFrom, xTo, yFrom, yTo, zMin, zMax, magMin, magMax);
}

bool StarEnumerator::EnumerateTyc(int16_t xFrom, int16_t xTo, int16_t yFrom, int16_t yTo, int16_t zMin,
                                  int16_t zMax, int16_t magMin, int16_t magMax) {
    return Enumerate(kTyc, xFrom, xTo, yFrom, yTo, zMin, zMax, magMin, magMax);
}

bool StarEnumerator::Enumerate(Section s, int16_t xFrom, int16_t xTo, int16_t yFrom, int16_t yTo, int16_t zMin,
                               int16_t zMax, int16_t magMin, int16_t magMax) {
    Walk w;
    w.section = s;
    w.box = Box{xFrom, yFrom, xTo, yTo, zMin, zMax, MagCode(magMin), MagCode(magMax)};
    switch (s) {
        case kBright:
            w.recordSize = kStarRecordSize;
            w.blocks = BrightBlockCount();
            w.base = 0;
            break;
        case kHip:
            w.recordSize = kStarRecordSize;
            w.blocks = hipBlocks_;
            w.base = kHipStarBase;
            break;
        default:
            w.recordSize = kFaintStarRecordSize;
            w.blocks = tycBlocks_;
            w.base = kTycStarBase;
            break;
    }
    if (CompareRa(xFrom, yFrom, xTo, yTo) > 0) {
        // The box crosses 0h: up to the end of the circle, then from its start.
        Walk first = w;
        first.box.x1 = 32767;
        first.box.y1 = -1;
        if (!Run(first)) return false;
        w.box.x0 = 32767;
        w.box.y0 = 0;
    }
    return Run(w);
}

bool StarEnumerator::Run(Walk& w) { return VisitBlock(w, 0, 0, true); }

bool StarEnumerator::VisitBlock(Walk& w, uint32_t block, int level, bool leftmost) {
    if (block >= w.blocks) return true;  // beyond the section: empty
    if (w.section == kBright) {
        const uint8_t* data = BrightBlock(block);
        return data && VisitNode(w, data, block, 0, level, leftmost);
    }
    if (!file_ || !file_->IsOpen()) return false;
    const uint32_t first = w.section == kHip ? hipRecord_ : tycRecord_;
    const uint32_t bytes = kStarsPerBlock * static_cast<uint32_t>(w.recordSize);
    auto read = [&](uint8_t* dest) {
        return file_->Read(first + block / kBlocksPerRecord, (block % kBlocksPerRecord) * bytes, dest, bytes) ==
               PDBFileReader::kOk;
    };
    if (block == 0) {
        std::vector<uint8_t>& root = w.section == kHip ? hipRoot_ : tycRoot_;
        if (root.empty()) {
            std::vector<uint8_t> data(bytes);
            if (!read(data.data())) return false;
            root.swap(data);
        }
        return VisitNode(w, root.data(), block, 0, level, leftmost);
    }
    uint8_t data[kStarsPerBlock * kStarRecordSize];
    return read(data) && VisitNode(w, data, block, 0, level, leftmost);
}

bool StarEnumerator::VisitNode(Walk& w, const uint8_t* data, uint32_t block, int node, int level, bool leftmost) {
    const uint8_t* r = data + node * w.recordSize;
    const Box& b = w.box;
    const int32_t x = RecordX(r), y = RecordY(r), z = RecordZ(r);
    const int32_t m = RecordMagCode(r);
    if (!RecordIsPadding(r) && CompareRa(x, y, b.x0, b.y0) >= 0 && CompareRa(x, y, b.x1, b.y1) <= 0 && z >= b.z0 &&
        z <= b.z1 && m >= b.m0 && m <= b.m1) {
        const uint32_t position = block * kStarsPerBlock + static_cast<uint32_t>(node);
        OnStar(w.base + static_cast<StarNumber>(position), r, position);
    }

    // The split axis: magnitude on the leftmost path from the root, else
    // (depth + 2) mod 3.
    const int depth = level * 6 + kNodeDepth[node];
    const bool onLeftPath = leftmost && node == (1 << kNodeDepth[node]) - 1;
    const int axis = onLeftPath ? kAxisMagnitude : (depth + 2) % 3;
    int lowerVsNode, nodeVsUpper;  // sign of (lower - node) and (node - upper)
    switch (axis) {
        case kAxisRa:
            lowerVsNode = CompareRa(b.x0, b.y0, x, y);
            nodeVsUpper = CompareRa(x, y, b.x1, b.y1);
            break;
        case kAxisZ:
            lowerVsNode = b.z0 - z;
            nodeVsUpper = z - b.z1;
            break;
        default:
            lowerVsNode = b.m0 - m;
            nodeVsUpper = m - b.m1;
            break;
    }

    auto visitChild = [&](int c, bool leftChild) {
        if (c < kStarsPerBlock) return VisitNode(w, data, block, c, level, leftmost);
        // Leaves of a block lead to its 64 child blocks.
        const uint64_t child = uint64_t(block) * 64 + static_cast<uint64_t>(c - 62);
        if (child >= w.blocks) return true;
        return VisitBlock(w, static_cast<uint32_t>(child), level + 1, leftmost && leftChild && c == 63);
    };
    if (lowerVsNode <= 0 && !visitChild(2 * node + 1, onLeftPath)) return false;
    if (nodeVsUpper > 0) return true;
    return visitChild(2 * node + 2, false);
}

// --- finders -------------------------------------------------------------------------

StarFinder::StarFinder(StarPDBFileReader* file, int16_t x, int16_t y, int16_t z)
    : StarEnumerator(file), x_(x), y_(y), z_(z) {}

void StarFinder::OnStar(StarNumber n, const uint8_t* r, uint32_t) {
    const int64_t dx = RecordX(r) - x_, dy = RecordY(r) - y_, dz = RecordZ(r) - z_;
    const int64_t d = dx * dx + dy * dy + dz * dz;
    if (d < best_) {  // on a tie the first found stays
        best_ = static_cast<uint32_t>(d);
        result_ = n;
    }
}

HipFinder::HipFinder(StarPDBFileReader* file, uint32_t hip) : StarEnumerator(file), hip_(hip) {}

void HipFinder::OnStar(StarNumber n, const uint8_t* r, uint32_t) {
    // TYC records carry no HIP code.
    if (n >= kTycStarBase) return;
    if (HipOf(RecordX(r), RecordY(r), RecordHipCode(r)) == hip_) result_ = n;
}

TycFinder::TycFinder(StarPDBFileReader* file, TycNumber tyc) : StarEnumerator(file), tyc_(tyc) {}

void TycFinder::OnStar(StarNumber n, const uint8_t* r, uint32_t) {
    if (RecordTycNumber(r, n, File()) == tyc_) result_ = n;
}

// --- searches ---------------------------------------------------------------------------

StarNumber FindStarByHip(uint32_t hip) {
    if (hip < 1) return kNoStar;
    StarPDBFileReader file(StarFilePath());
    if (hip >= 120000) {
        int k = 0;
        while (k < kHighHipCount && kHighHipTable[k] != hip) ++k;
        if (k == kHighHipCount || !file.IsOpen()) return kNoStar;
        uint8_t entry[4];
        if (file.Read(StarPDBFileReader::kHighHipRecord, 4 * k, entry, 4) != PDBFileReader::kOk) return kNoStar;
        const uint32_t position = GetU32Le(entry);
        // A damaged table must not name a star outside the section, and a
        // star is found only when its record is there to read (a truncated
        // file keeps the table but loses the records) and carries the number.
        if (position >= file.HipStars()) return kNoStar;
        const StarNumber n = kHipStarBase + static_cast<StarNumber>(position);
        uint8_t r[kStarRecordSize];
        if (!ReadFileRecord(file, n, r, kStarRecordSize) || RecordIsPadding(r) ||
            HipOf(RecordX(r), RecordY(r), RecordHipCode(r)) != hip)
            return kNoStar;
        return n;
    }
    // Hipparcos numbers run in right ascension: search a window around the
    // predicted right ascension.
    const int32_t centre = static_cast<int32_t>((int64_t(hip) * 9075) / 16384);
    const uint16_t from = static_cast<uint16_t>(centre - 200 > 0 ? centre - 200 : 0);
    const uint16_t to = static_cast<uint16_t>(centre + 900 < 65535 ? centre + 900 : 65535);
    HipFinder finder(&file, hip);
    const int16_t xFrom = Calc::Cos16(from), yFrom = Calc::Sin16(from);
    const int16_t xTo = Calc::Cos16(to), yTo = Calc::Sin16(to);
    finder.EnumerateBright(xFrom, xTo, yFrom, yTo, -32767, 32767, -1000, 5000);
    if (finder.Result() < 0) finder.EnumerateHip(xFrom, xTo, yFrom, yTo, -32767, 32767, -1000, 5000);
    return finder.Result();
}

StarNumber FindStarByTyc(TycNumber tyc) {
    if (tyc.tyc1 == 0 || tyc.tyc2 == 0 || tyc.tyc3 == 0) return kNoStar;
    TycRegionBounds box;
    if (!TycRegionBox(tyc.tyc1, box)) return kNoStar;
    const uint16_t raFrom = static_cast<uint16_t>(box.raFrom), raTo = static_cast<uint16_t>(box.raTo);
    const int16_t xFrom = Calc::Cos16(raFrom), yFrom = Calc::Sin16(raFrom);
    const int16_t xTo = Calc::Cos16(raTo), yTo = Calc::Sin16(raTo);
    const int16_t zMin = ClampI16(Calc::Sin16(static_cast<uint16_t>(box.decFrom)) - 10);
    const int16_t zMax = ClampI16(Calc::Sin16(static_cast<uint16_t>(box.decTo)) + 10);
    StarPDBFileReader file(StarFilePath());
    TycFinder finder(&file, tyc);
    finder.EnumerateBright(xFrom, xTo, yFrom, yTo, zMin, zMax, -1000, 5000);
    if (finder.Result() < 0) finder.EnumerateHip(xFrom, xTo, yFrom, yTo, zMin, zMax, -1000, 5000);
    if (finder.Result() < 0) finder.EnumerateTyc(xFrom, xTo, yFrom, yTo, zMin, zMax, -1000, 5000);
    return finder.Result();
}

NearestStar FindNearestStar(int16_t vx, int16_t vy, int16_t vz, int16_t faintest, uint16_t radius) {
    const int32_t r = radius;
    const int32_t h = Calc::Isqrt(static_cast<uint32_t>(int32_t(vx) * vx + int32_t(vy) * vy));
    int16_t xFrom, yFrom, xTo, yTo, zMin, zMax;
    if (h < 2 * r || h < 200) {
        // Near a pole: the whole circle of right ascension, a cap in z.
        xFrom = 32767;
        yFrom = 0;
        xTo = 32767;
        yTo = -1;
        // The cap reaches down to where the horizontal length of a direction
        // is h plus the radius. The radius is an angle (65536 a turn): as a
        // Q15 length it is r x pi (r x 25736 / 8192); taken as a length
        // unchanged it would shrink the cap threefold and miss stars within
        // the radius. A radius reaching past the pole leaves no lower bound.
        const int64_t reach = int64_t(h) + (int64_t(r) * 25736 >> 13);
        const int64_t rest = (int64_t(1) << 30) - reach * reach;
        const int32_t e = rest > 0 ? Calc::Isqrt(static_cast<uint32_t>(rest)) : 0;
        if (vz >= 1) {
            zMin = ClampI16(e);
            zMax = 32767;
        } else {
            zMin = -32768;
            zMax = ClampI16(-e);
        }
    } else {
        int32_t u1 = h, v1 = vz, u2 = h, v2 = vz;
        Calc::Rotate16(u1, v1, static_cast<uint16_t>(-r));
        Calc::Rotate16(u2, v2, static_cast<uint16_t>(r));
        zMin = ClampI16((v1 < v2 ? v1 : v2) - 2);
        zMax = ClampI16((v1 < v2 ? v2 : v1) + 2);
        const int32_t nx = ClampI16(int32_t(vx) * 32768 / h);
        const int32_t ny = ClampI16(int32_t(vy) * 32768 / h);
        int32_t d = r * 32768 / (h > 30 ? h : 30);
        if (d > 32767) d = 32767;
        int32_t ax = nx, ay = ny, bx = nx, by = ny;
        Calc::Rotate16(ax, ay, static_cast<uint16_t>(-d));
        Calc::Rotate16(bx, by, static_cast<uint16_t>(d));
        xFrom = ClampI16(ax);
        yFrom = ClampI16(ay);
        xTo = ClampI16(bx);
        yTo = ClampI16(by);
    }
    StarPDBFileReader file(StarFilePath());
    StarFinder finder(&file, vx, vy, vz);
    finder.EnumerateBright(xFrom, xTo, yFrom, yTo, zMin, zMax, -1000, faintest);
    finder.EnumerateHip(xFrom, xTo, yFrom, yTo, zMin, zMax, -1000, faintest);
    finder.EnumerateTyc(xFrom, xTo, yFrom, yTo, zMin, zMax, -1000, faintest);
    NearestStar result;
    result.star = finder.Result();
    result.distance2 = finder.Distance2();
    return result;
}

}  // namespace Data
