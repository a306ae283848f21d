#include "bench_dec_d128.h"

#include <string.h>

static _Decimal128 get(const d128_cell* c) {
  _Decimal128 v;
  memcpy(&v, c->bytes, sizeof v);
  return v;
}

static void put(d128_cell* c, _Decimal128 v) { memcpy(c->bytes, &v, sizeof v); }

static const _Decimal128 kPow10[9] = {1.DL, 10.DL, 100.DL, 1000.DL, 10000.DL, 100000.DL, 1000000.DL,
                                      10000000.DL, 100000000.DL};

void d128_make(d128_cell* out, int negative, long long hi, long long lo, int scale) {
  _Decimal128 v = (_Decimal128)hi * 1000000000000000.DL + (_Decimal128)lo;
  for (; scale > 0; scale -= 5) v /= scale >= 5 ? 100000.DL : kPow10[scale];
  put(out, negative ? -v : v);
}

void d128_add(const d128_cell* a, const d128_cell* b, d128_cell* r) { put(r, get(a) + get(b)); }
void d128_mul(const d128_cell* a, const d128_cell* b, d128_cell* r) { put(r, get(a) * get(b)); }
void d128_div(const d128_cell* a, const d128_cell* b, d128_cell* r) { put(r, get(a) / get(b)); }

void d128_round(const d128_cell* a, int places, d128_cell* r) {
  // Adding and taking away 10^33 leaves the integer part of a 34-digit
  // value, rounded to nearest.
  const _Decimal128 big = 1E33DL;
  _Decimal128 v = get(a) * kPow10[places];
  v = v < 0 ? (v - big) + big : (v + big) - big;
  put(r, v / kPow10[places]);
}

double d128_to_double(const d128_cell* a) { return (double)get(a); }
