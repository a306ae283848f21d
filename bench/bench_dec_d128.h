// The _Decimal128 reference (compiled as C, where the type is available).
// Values are kept in opaque 16-byte cells.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
  unsigned char bytes[16];
} __attribute__((aligned(16))) d128_cell;

// sign * (hi * 10^15 + lo) / 10^scale
void d128_make(d128_cell* out, int negative, long long hi, long long lo, int scale);
void d128_add(const d128_cell* a, const d128_cell* b, d128_cell* r);
void d128_mul(const d128_cell* a, const d128_cell* b, d128_cell* r);
void d128_div(const d128_cell* a, const d128_cell* b, d128_cell* r);
// Rounds to `places` (0..8) decimal places, to nearest.
void d128_round(const d128_cell* a, int places, d128_cell* r);
// The value times 10^scale as a double (for checks).
double d128_to_double(const d128_cell* a);

#ifdef __cplusplus
}
#endif
