// Integer angles for the catalogue, drawing and compass code: 65536 units a
// turn, Q15 vector components (x 32767). Bit-exact: the star catalogue's HIP
// codes and Tycho regions were computed with exactly these tables.
#pragma once

#include <cstdint>

namespace Calc {

uint16_t Isqrt(uint32_t n);
uint16_t AtanRatio(uint32_t a, uint32_t b);
uint16_t Atan2i(int16_t y, int16_t x);
int16_t Sin16(uint16_t a);
int16_t Cos16(uint16_t a);
void Rotate16(int32_t& u, int32_t& v, uint16_t a);

}  // namespace Calc
