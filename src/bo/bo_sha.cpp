// The SHA-based password hash. It follows SHA-1's rounds, functions,
// constants and state, with departures that stored hashes rely on: bytes
// are packed into words least significant first, the message schedule has
// no w[t-16] term, the padding byte is 0x01, and the block's last word holds
// the length in bytes. The result is written in the crypt(3) alphabet.
#include <cstdint>
#include <cstring>
#include <vector>

#include "bo/bo_crypt.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {

constexpr int kBlockBytes = 64;
constexpr int kBlockWords = 16;
constexpr int kScheduleWords = 80;
constexpr int kStateWords = 5;
constexpr int kBytesPerWord = 4;
constexpr int kLengthWord = 15;
// The padding byte fits before the length word up to this many bytes.
constexpr long kLastPadPosition = 56;
constexpr unsigned char kPadByte = 0x01;
constexpr int kCharsPerWord = 6;
constexpr uint32_t kInitialState[kStateWords] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
constexpr uint32_t kRoundConstants[4] = {0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xCA62C1D6};

uint32_t word(long w) { return uint32_t(uint64_t(w)); }
uint32_t rotl(uint32_t x, int n) { return word(UtlCircularShiftLeft(x, n)); }

uint32_t round_function(int t, uint32_t b, uint32_t c, uint32_t d) {
  if (t < 20) return (b & c) | (~b & d);
  if (t < 40 || t >= 60) return b ^ c ^ d;
  return (b & c) | (b & d) | (c & d);
}

void put_byte(long* words, long position, unsigned char value) {
  long w = position / kBytesPerWord;
  int shift = 8 * int(position % kBytesPerWord);
  uint32_t v = word(words[w]);
  v = (v & ~(uint32_t(0xFF) << shift)) | (uint32_t(value) << shift);
  words[w] = long(v);
}

void compress_block(long (&w)[kScheduleWords], long* state) {
  UtlCreateShaImp(w, state);
  std::memset(w, 0, sizeof w);
}

} // namespace

void UtlBytesToLongs(long* words, unsigned char* bytes, long n, long start) {
  for (long i = 0; i < n; ++i) put_byte(words, start + i, bytes[i]);
}

void UtlLongSetByte(long* words, unsigned char value, long count, long start) {
  for (long i = 0; i < count; ++i) put_byte(words, start + i, value);
}

long UtlCircularShiftLeft(unsigned long x, long n) {
  long r = n % 32;
  uint32_t v = uint32_t(x);
  if (r < 1) return long(v);
  return long(uint32_t((v << r) | (v >> (32 - r))));
}

void UtlCreateShaImp(long* w, long* state) {
  for (int t = kBlockWords; t < kScheduleWords; ++t) w[t] = long(rotl(word(w[t - 3]) ^ word(w[t - 8]) ^ word(w[t - 14]), 1));
  uint32_t a = word(state[0]), b = word(state[1]), c = word(state[2]), d = word(state[3]), e = word(state[4]);
  for (int t = 0; t < kScheduleWords; ++t) {
    uint32_t temp = rotl(a, 5) + round_function(t, b, c, d) + e + word(w[t]) + kRoundConstants[t / 20];
    e = d;
    d = c;
    c = rotl(b, 30);
    b = a;
    a = temp;
  }
  const uint32_t add[kStateWords] = {a, b, c, d, e};
  for (int i = 0; i < kStateWords; ++i) state[i] = long(uint32_t(word(state[i]) + add[i]));
}

void UtlCreateSecureHash(unsigned char* data, long len, char* out) {
  long state[kStateWords];
  for (int i = 0; i < kStateWords; ++i) state[i] = long(kInitialState[i]);
  long w[kScheduleWords] = {};
  long full = len / kBlockBytes;
  for (long b = 0; b < full; ++b) {
    UtlBytesToLongs(w, data + b * kBlockBytes, kBlockBytes, 0);
    compress_block(w, state);
  }
  long rest = len % kBlockBytes;
  UtlBytesToLongs(w, data + full * kBlockBytes, rest, 0);
  UtlLongSetByte(w, kPadByte, 1, rest);
  if (rest + 1 > kLastPadPosition) compress_block(w, state);
  w[kLengthWord] = long(uint32_t(len));
  compress_block(w, state);
  for (int i = 0; i < kStateWords; ++i) {
    uint32_t v = word(state[i]);
    for (int k = 0; k < kCharsPerWord - 1; ++k) out[i * kCharsPerWord + k] = BO_ITOA64[(v >> (6 * k)) & 0x3F];
    out[i * kCharsPerWord + kCharsPerWord - 1] = BO_ITOA64[(int32_t(v) >> 30) & 0x3F];
  }
  out[BO_SHA_TEXT_LEN] = '\0';
}

char* UtlEncryptShaPassword(const char* password, char* out, char prefix, long outLen) {
  char* hash = prefix ? out + 1 : out;
  if (prefix) out[0] = prefix;
  const char* text = password ? password : "";
  std::vector<unsigned char> bytes(text, text + kstrlen(text));
  UtlCreateSecureHash(bytes.data(), long(bytes.size()), hash);
  if (outLen >= 1 && outLen <= BO_SHA_TEXT_LEN - 1) out[outLen] = '\0';
  return out;
}

} // namespace KCLASSIC
