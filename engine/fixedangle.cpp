#include "engine/fixedangle.h"

namespace Calc {

namespace {

// floor(sqrt(n)) for n < 50.
const uint8_t kSmallRoots[50] = {0, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4,
                                 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7};

// round(atan(k / 32) * 32768 / pi), k = 0 .. 32.
const int32_t kAtanTable[33] = {0,    326,  651,  975,  1297, 1617, 1933, 2246, 2555, 2860, 3159,
                                3453, 3742, 4025, 4302, 4572, 4836, 5094, 5344, 5589, 5826, 6058,
                                6282, 6500, 6712, 6917, 7117, 7310, 7498, 7679, 7856, 8026, 8192};

// 32767 sin(k pi / 256), k = 0 .. 128, with the values the star catalogue's
// positions were encoded with (towards the quarter turn they lie up to 1.8
// units above the true sine).
const int32_t kSinTable[129] = {
    0,     402,   804,   1206,  1608,  2009,  2411,  2811,  3212,  3612,  4011,  4410,  4808,  5206,  5602,
    5998,  6393,  6787,  7180,  7571,  7962,  8352,  8740,  9127,  9512,  9896,  10279, 10660, 11039, 11417,
    11793, 12167, 12540, 12910, 13279, 13646, 14010, 14373, 14733, 15091, 15447, 15800, 16151, 16500, 16846,
    17190, 17531, 17869, 18205, 18538, 18868, 19196, 19520, 19842, 20160, 20476, 20788, 21097, 21403, 21706,
    22006, 22302, 22595, 22885, 23171, 23453, 23732, 24008, 24280, 24548, 24812, 25073, 25330, 25583, 25833,
    26078, 26320, 26557, 26791, 27020, 27246, 27467, 27684, 27897, 28106, 28311, 28511, 28707, 28899, 29086,
    29269, 29448, 29622, 29792, 29957, 30118, 30274, 30426, 30573, 30715, 30853, 30986, 31114, 31238, 31357,
    31472, 31581, 31686, 31786, 31882, 31972, 32058, 32139, 32215, 32286, 32352, 32414, 32470, 32522, 32569,
    32611, 32647, 32680, 32707, 32729, 32746, 32758, 32766, 32767};

int16_t NegateSaturated(int16_t v) { return v == -32768 ? int16_t(32767) : int16_t(-v); }

}  // namespace

uint16_t Isqrt(uint32_t n) {
    if (n < 50) return kSmallRoots[n];
    // Digit by digit, two bits of n for each bit of the root.
    uint32_t root = 0;
    uint32_t rem = 0;
    for (int i = 0; i < 16; ++i) {
        rem = (rem << 2) | (n >> 30);
        n <<= 2;
        root <<= 1;
        uint32_t trial = (root << 1) | 1;
        if (rem >= trial) {
            rem -= trial;
            root |= 1;
        }
    }
    return static_cast<uint16_t>(root);
}

uint16_t AtanRatio(uint32_t a, uint32_t b) {
    if (a > b) return static_cast<uint16_t>((16384 - AtanRatio(b, a)) & 0xFFFF);
    if (b == 0) return 0;
    if (a == b) return 8192;
    // The table arithmetic is defined for 16-bit divisors (Atan2i never passes
    // more than 32768); larger ones are scaled down instead of dividing by zero.
    while (b > 0xFFFF) {
        a >>= 1;
        b >>= 1;
    }
    if (a == b) return 8192;
    const uint32_t r = (a << 16) / (b & 0xFFFF);
    const uint32_t i = r >> 11;
    const int32_t f = static_cast<int32_t>(r & 0x7FF);
    return static_cast<uint16_t>((kAtanTable[i] + (((kAtanTable[i + 1] - kAtanTable[i]) * f) >> 11) + 1) & 0xFFFF);
}

uint16_t Atan2i(int16_t y, int16_t x) {
    int32_t r;
    if (x >= 0) {
        if (y >= 0) r = AtanRatio(static_cast<uint32_t>(y), static_cast<uint32_t>(x));
        else r = -static_cast<int32_t>(AtanRatio(static_cast<uint32_t>(NegateSaturated(y)), static_cast<uint32_t>(x)));
    } else {
        const uint32_t nx = static_cast<uint32_t>(NegateSaturated(x));
        if (y < 0) r = AtanRatio(static_cast<uint32_t>(NegateSaturated(y)), nx) + 32768;
        else r = 32768 - static_cast<int32_t>(AtanRatio(static_cast<uint32_t>(y), nx));
    }
    return static_cast<uint16_t>(r & 0xFFFF);
}

int16_t Sin16(uint16_t a) {
    const int q = a >> 14;
    const int p = a & 0x3FFF;
    int i = p / 128;
    int f = p % 128;
    if (q == 1 || q == 3) {
        i = 127 - i;
        f = 128 - f;
    }
    // The table rises over the quarter turn, so the product is never
    // negative and the division rounds half up.
    const int32_t v = kSinTable[i] + ((kSinTable[i + 1] - kSinTable[i]) * f + 64) / 128;
    return static_cast<int16_t>(q >= 2 ? 1 - v : v);
}

int16_t Cos16(uint16_t a) { return Sin16(static_cast<uint16_t>((a + 16384) & 0xFFFF)); }

void Rotate16(int32_t& u, int32_t& v, uint16_t a) {
    const int32_t s = Sin16(a);
    const int32_t c = Cos16(a);
    const int32_t nu = (u * c - v * s) >> 15;
    const int32_t nv = (v * c + u * s) >> 15;
    u = nu;
    v = nv;
}

}  // namespace Calc
