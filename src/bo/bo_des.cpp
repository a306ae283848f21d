// DES (the standard permutations and S-boxes) with crypt(3)'s salt
// perturbation of the expansion. Permutations run through tables built once
// (init_des): for each input byte position and value, the output bits it
// sets. Bits are numbered as the standard numbers them, 1 = most significant.
#include <cstdint>
#include <cstring>

#include "bo/bo_crypt.h"

namespace KCLASSIC {

namespace {

const uint8_t kIP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                         62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                         57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                         61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};
const uint8_t kFP[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                         38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                         36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                         34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};
const uint8_t kE[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                        12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                        22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};
const uint8_t kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                        2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
const uint8_t kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
                          35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
                          46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
const uint8_t kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                          26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                          51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
const uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};
const uint8_t kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,  0, 15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5,  3,  8,  4,  1,  14, 8,  13, 6, 2, 11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2,  4,  9,  1,  7,  5,  11, 3, 14, 10, 0, 6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0,  5,  10, 3,  13, 4,  7,  15, 2,
     8,  14, 12, 0,  1,  10, 6,  9,  11, 5, 0,  14, 7,  11, 10, 4,  13, 1,  5,  8,  12, 6,
     9,  3,  2,  15, 13, 8,  10, 1,  3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6,  3,  15, 5,  1, 13, 12, 7,  11, 4,  2,  8,  13, 7, 0, 9,  3, 4,
     6,  10, 2,  8,  5,  14, 12, 11, 15, 1,  13, 6,  4,  9,  8, 15, 3,  0,  11, 1,  2, 12,
     5,  10, 14, 7,  1,  10, 13, 0,  6,  9,  8,  7,  4,  15, 14, 3,  11, 5,  2,  12},
    {7, 13, 14, 3,  0,  6,  9,  10, 1,  2,  8,  5,  11, 12, 4,  15, 13, 8, 11, 5,  6,  15,
     0, 3,  4,  7,  2,  12, 1,  10, 14, 9,  10, 6,  9,  0,  12, 11, 7,  13, 15, 1,  3, 14,
     5, 2,  8,  4,  3,  15, 0,  6,  10, 1,  13, 8,  9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6, 8,  5,  3,  15, 13, 0, 14, 9,  14, 11, 2, 12, 4,  7,
     13, 1,  5,  0,  15, 10, 3,  9, 8,  6,  4,  2,  1,  11, 10, 13, 7, 8,  15, 9, 12, 5,
     6,  3,  0,  14, 11, 8,  12, 7, 1,  14, 2,  13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6,  8,  0,  13, 3,  4,  14, 7,  5, 11, 10, 15, 4,  2,  7, 12,
     9,  5,  6,  1,  13, 14, 0,  11, 3,  8,  9,  14, 15, 5,  2, 8,  12, 3,  7,  0,  4, 10,
     1,  13, 11, 6,  4,  3,  2,  12, 9,  5,  15, 10, 11, 14, 1, 7,  6,  0,  8,  13},
    {4, 11, 2,  14, 15, 0, 8,  13, 3,  12, 9,  7,  5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2, 15, 8,  6,  1,  4,  11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8, 1,  4,  10, 7,  9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2,  8, 4,  6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7, 1,  15, 13, 8,  10, 3,
     7,  4,  12, 5, 6,  11, 0,  14, 9,  2,  7,  11, 4,  1,  9,  12, 14, 2, 0,  6,  10, 13,
     15, 3,  5,  8, 2,  1,  14, 7,  4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11},
};

constexpr int kRounds = 16;
constexpr int kHalfBits = 28;
constexpr uint32_t kHalfMask = (1u << kHalfBits) - 1;
constexpr int kSaltBits = 24;
constexpr uint32_t kSaltMask = (1u << kSaltBits) - 1;
constexpr int kMaxInBytes = 8;

// A permutation from inBits to outBits as a table per input byte.
struct Perm {
  int inBytes = 0;
  uint64_t bits[kMaxInBytes][256] = {};
};

struct DesTables {
  bool ready = false;
  Perm ip, fp, e, p, pc1, pc2;
};

DesTables g_tables;
uint64_t g_subkeys[kRounds];

// Table of the permutation whose output bit k (1-based from the top of
// outBits) is input bit map[k - 1] (1-based from the top of inBits).
void init_perm(Perm& perm, const uint8_t* map, int outBits, int inBits) {
  perm.inBytes = (inBits + 7) / 8;
  for (int k = 0; k < outBits; ++k) {
    int in = map[k] - 1 + (perm.inBytes * 8 - inBits); // as a bit of the whole bytes
    int byte = in / 8;
    int bit = 7 - in % 8;
    for (int v = 0; v < 256; ++v)
      if (v & (1 << bit)) perm.bits[byte][v] |= uint64_t(1) << (outBits - 1 - k);
  }
}

// in holds the input's bytes in its low inBytes bytes, most significant first.
uint64_t permute(const Perm& perm, uint64_t in) {
  uint64_t out = 0;
  for (int i = 0; i < perm.inBytes; ++i) out |= perm.bits[i][(in >> (8 * (perm.inBytes - 1 - i))) & 0xFF];
  return out;
}

void init_des() {
  init_perm(g_tables.ip, kIP, 64, 64);
  init_perm(g_tables.fp, kFP, 64, 64);
  init_perm(g_tables.e, kE, 48, 32);
  init_perm(g_tables.p, kP, 32, 32);
  init_perm(g_tables.pc1, kPC1, 56, 64);
  init_perm(g_tables.pc2, kPC2, 48, 56);
  g_tables.ready = true;
}

uint32_t rotate28(uint32_t v, int n) { return ((v << n) | (v >> (kHalfBits - n))) & kHalfMask; }

uint64_t load_block(const char* in) {
  uint64_t v = 0;
  for (int i = 0; i < BO_DES_BLOCK; ++i) v = (v << 8) | static_cast<unsigned char>(in[i]);
  return v;
}

void store_block(uint64_t v, char* out) {
  for (int i = BO_DES_BLOCK - 1; i >= 0; --i, v >>= 8) out[i] = static_cast<char>(v & 0xFF);
}

// The expansion bits the salt swaps: salt bit i names expansion bits i and
// i + 24 (from the top), which sit at value bits 47 - i and 23 - i.
uint64_t swap_mask(uint32_t salt) {
  uint64_t m = 0;
  for (int i = 0; i < kSaltBits; ++i)
    if (salt & (1u << i)) m |= uint64_t(1) << (kSaltBits - 1 - i);
  return m;
}

uint32_t feistel(uint32_t r, uint64_t key, uint64_t saltSwap) {
  uint64_t e = permute(g_tables.e, r);
  uint64_t t = ((e >> kSaltBits) ^ e) & saltSwap;
  e ^= t | (t << kSaltBits);
  e ^= key;
  uint32_t s = 0;
  for (int g = 0; g < 8; ++g) {
    unsigned b = unsigned(e >> (42 - 6 * g)) & 0x3F;
    unsigned row = ((b >> 4) & 2) | (b & 1);
    unsigned col = (b >> 1) & 0xF;
    s |= uint32_t(kS[g][row * 16 + col]) << (28 - 4 * g);
  }
  return uint32_t(permute(g_tables.p, s));
}

uint64_t des_block(uint64_t block, uint64_t saltSwap, bool decrypt) {
  uint64_t v = permute(g_tables.ip, block);
  uint32_t l = uint32_t(v >> 32);
  uint32_t r = uint32_t(v);
  for (int i = 0; i < kRounds; ++i) {
    uint32_t next = l ^ feistel(r, g_subkeys[decrypt ? kRounds - 1 - i : i], saltSwap);
    l = r;
    r = next;
  }
  return permute(g_tables.fp, (uint64_t(r) << 32) | l);
}

} // namespace

int des_setkey(const char* key) {
  if (!g_tables.ready) init_des();
  uint64_t cd = permute(g_tables.pc1, load_block(key));
  uint32_t c = uint32_t(cd >> kHalfBits) & kHalfMask;
  uint32_t d = uint32_t(cd) & kHalfMask;
  for (int i = 0; i < kRounds; ++i) {
    c = rotate28(c, kShifts[i]);
    d = rotate28(d, kShifts[i]);
    g_subkeys[i] = permute(g_tables.pc2, (uint64_t(c) << kHalfBits) | d);
  }
  return 0;
}

int des_cipher(const char* in, char* out, long salt, int count) {
  if (!g_tables.ready) init_des();
  uint64_t saltSwap = swap_mask(uint32_t(salt) & kSaltMask);
  bool decrypt = count < 0;
  int rounds = decrypt ? -count : count;
  uint64_t block = load_block(in);
  for (int i = 0; i < rounds; ++i) block = des_block(block, saltSwap, decrypt);
  store_block(block, out);
  return 0;
}

} // namespace KCLASSIC
