// crypt(3), the bit-array encrypt, the printable encodings, the password
// hash UtlEncrypt and the reversible text encryption under the built-in key.
#include "bo/bo_crypt.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {

constexpr const char* g_KeyBase = "k7.Rw4Hd";
constexpr int kCryptIterations = 25;
constexpr int kCryptSaltLen = 2;
constexpr int kSaltCharBits = 6;
constexpr uint32_t kSixBits = 0x3F;
constexpr int kBitBlock = 64;
// Extra room UtlEncryptDecrypt needs: the salt, the last group's padding
// and the NUL.
constexpr unsigned long kEncryptSlack = 16;
constexpr int kSaltDiscardModulus = 7;

KUtlCrSect g_CryptCrSect;
char g_cryptresult[BO_CRYPT_LEN + 1];

// The value of an alphabet character; 0 for any other.
uint32_t a64toi(unsigned char c) {
  const char* p = c ? std::strchr(BO_ITOA64, c) : nullptr;
  return p ? uint32_t(p - BO_ITOA64) : 0;
}

bool in_alphabet(char c) { return c && std::strchr(BO_ITOA64, c); }

// The salt's value, read from its last character to its first; only the
// first four characters reach the 24 bits DES takes.
long salt_value(const char* salt) {
  uint32_t v = 0;
  for (size_t i = salt ? std::strlen(salt) : 0; i > 0; --i) v = (v << kSaltCharBits) + a64toi(salt[i - 1]);
  return long(v & 0xFFFFFF);
}

// Salts come from a generator of our own (never the C library's shared
// one), seeded once; it runs under g_CryptCrSect.
uint32_t next_random() {
  static std::mt19937 gen([] {
    std::random_device rd;
    std::seed_seq seq{rd(), rd(), uint32_t(std::time(nullptr))};
    return std::mt19937(seq);
  }());
  return uint32_t(gen());
}

void generated_salt(const char* plain, char* salt) {
  uint32_t sum = 0;
  for (const char* p = plain; *p; ++p) sum += uint32_t(int32_t(static_cast<signed char>(*p)));
  for (uint32_t i = 0; i < sum % kSaltDiscardModulus; ++i) next_random();
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04lX", (unsigned long)(next_random() & 0xFFFF));
  std::memcpy(salt, hex, BO_SALT_LEN);
  salt[BO_SALT_LEN] = '\0';
}

char* encrypt_text(const char* in, const char* salt, char* out, unsigned long outSize) {
  size_t len = std::strlen(in);
  if (len == 0 || outSize < 2 * len + kEncryptSlack) return nullptr;
  char made[BO_SALT_LEN + 1];
  char* cipher = out;
  if (!salt) {
    generated_salt(in, made);
    std::memcpy(out, made, BO_SALT_LEN);
    cipher = out + BO_SALT_LEN;
    salt = made;
  }
  for (size_t off = 0, g = 0; off < len; off += BO_DES_BLOCK, ++g)
    if (!EncodeCipherBlock(in + off, salt, cipher + BO_CIPHER_TEXT_LEN * g)) return nullptr;
  return out;
}

char* decrypt_text(const char* in, const char* salt, char* out, unsigned long outSize) {
  size_t len = std::strlen(in);
  if (len < BO_SALT_LEN || outSize < len) return nullptr;
  char taken[BO_SALT_LEN + 1] = {};
  const char* cipher = in;
  if (!salt) {
    std::memcpy(taken, in, BO_SALT_LEN);
    salt = taken;
    cipher = in + BO_SALT_LEN;
  }
  size_t clen = std::strlen(cipher);
  size_t groups = clen / BO_CIPHER_TEXT_LEN;
  // Whole groups of the alphabet only, and room for 8 bytes a group and the NUL.
  if (clen % BO_CIPHER_TEXT_LEN != 0 || outSize < BO_DES_BLOCK * groups + 1) return nullptr;
  for (size_t i = 0; i < clen; ++i)
    if (!in_alphabet(cipher[i])) return nullptr;
  out[0] = '\0';
  for (size_t g = 0; g < groups; ++g)
    if (!DecodeCipherBlock(cipher + BO_CIPHER_TEXT_LEN * g, salt, out + BO_DES_BLOCK * g)) return nullptr;
  return out;
}

} // namespace

KUtlCrSect& bo_crypt_lock() { return g_CryptCrSect; }

char* crypt(const char* key, const char* setting) {
  char keyBytes[BO_DES_BLOCK] = {};
  for (int i = 0; i < BO_DES_BLOCK && key[i]; ++i) keyBytes[i] = static_cast<char>(key[i] << 1);
  if (des_setkey(keyBytes) != 0) return nullptr;
  // The first two characters of setting; a NUL counts as '.'.
  char salt[kCryptSaltLen];
  salt[0] = setting[0] ? setting[0] : '.';
  salt[1] = setting[0] && setting[1] ? setting[1] : '.';
  uint32_t saltBits = a64toi(static_cast<unsigned char>(salt[0])) |
                      (a64toi(static_cast<unsigned char>(salt[1])) << kSaltCharBits);
  char block[BO_DES_BLOCK] = {};
  if (des_cipher(block, block, long(saltBits), kCryptIterations) != 0) return nullptr;
  g_cryptresult[0] = salt[0];
  g_cryptresult[1] = salt[1];
  // 64 bits and two zero bits, 6 bits a character from the top.
  uint64_t v = 0;
  for (int i = 0; i < BO_DES_BLOCK; ++i) v = (v << 8) | static_cast<unsigned char>(block[i]);
  for (int i = 0; i < BO_CIPHER_TEXT_LEN; ++i) {
    int shift = 58 - 6 * i;
    uint32_t six = shift >= 0 ? uint32_t(v >> shift) & kSixBits : uint32_t(v << -shift) & kSixBits;
    g_cryptresult[kCryptSaltLen + i] = BO_ITOA64[six];
  }
  g_cryptresult[BO_CRYPT_LEN] = '\0';
  return g_cryptresult;
}

int encrypt(char* block, int flag) {
  char packed[BO_DES_BLOCK] = {};
  for (int i = 0; i < kBitBlock; ++i)
    if (block[i] & 1) packed[i / 8] = static_cast<char>(packed[i / 8] | (0x80 >> (i % 8)));
  if (des_cipher(packed, packed, 0, flag == 0 ? 1 : -1) != 0) return 1;
  for (int i = 0; i < kBitBlock; ++i) block[i] = (static_cast<unsigned char>(packed[i / 8]) >> (7 - i % 8)) & 1;
  return 0;
}

void Orbn_web_adm_to64(char* out, unsigned long v, int n) {
  for (int i = 0; i < n; ++i, v >>= kSaltCharBits) out[i] = BO_ITOA64[v & kSixBits];
}

void CipherBlockToChar(const unsigned char* block, char* text) {
  for (int i = 0; i < BO_DES_BLOCK; ++i) text[i] = BO_ITOA64[block[i] & kSixBits];
  auto top = [&](int i) { return unsigned(block[i] >> 6); };
  text[8] = BO_ITOA64[(top(0) << 4) | (top(1) << 2) | top(2)];
  text[9] = BO_ITOA64[(top(3) << 4) | (top(4) << 2) | top(5)];
  text[10] = BO_ITOA64[(top(6) << 4) | (top(7) << 2)];
  text[BO_CIPHER_TEXT_LEN] = '\0';
}

void CharToCipherBlock(const char* text, unsigned char* block) {
  for (int i = 0; i < BO_DES_BLOCK; ++i) block[i] = static_cast<unsigned char>(a64toi(text[i] & 0x7F));
  uint32_t hi[3] = {a64toi(static_cast<unsigned char>(text[8])), a64toi(static_cast<unsigned char>(text[9])),
                    a64toi(static_cast<unsigned char>(text[10]))};
  for (int i = 0; i < BO_DES_BLOCK; ++i) {
    uint32_t bits = (hi[i / 3] >> (4 - 2 * (i % 3))) & 3;
    block[i] = static_cast<unsigned char>(block[i] | (bits << 6));
  }
}

KZString UtlEncrypt(const char* password, const char* salt) {
  if (!password || !*password) return KZString();
  KUtlCrSync lock(g_CryptCrSect);
  char made[kCryptSaltLen + 1] = {};
  if (!salt || !*salt) {
    Orbn_web_adm_to64(made, next_random(), kCryptSaltLen);
    salt = made;
  }
  const char* hash = crypt(password, salt);
  return KZString(hash ? hash : "");
}

char* EncodeCipherBlock(const char* text, const char* salt, char* out) {
  char block[BO_DES_BLOCK] = {};
  for (int i = 0; i < BO_DES_BLOCK && text[i]; ++i) block[i] = static_cast<char>(text[i] << 1);
  if (des_setkey(g_KeyBase) != 0) return nullptr;
  char result[BO_DES_BLOCK];
  if (des_cipher(block, result, salt_value(salt), kCryptIterations) != 0) return nullptr;
  CipherBlockToChar(reinterpret_cast<unsigned char*>(result), out);
  return out;
}

char* DecodeCipherBlock(const char* text, const char* salt, char* out) {
  if (des_setkey(g_KeyBase) != 0) return nullptr;
  unsigned char block[BO_DES_BLOCK];
  CharToCipherBlock(text, block);
  char result[BO_DES_BLOCK];
  if (des_cipher(reinterpret_cast<char*>(block), result, salt_value(salt), -kCryptIterations) != 0) return nullptr;
  for (int i = 0; i < BO_DES_BLOCK; ++i) out[i] = static_cast<char>(static_cast<unsigned char>(result[i]) >> 1);
  out[BO_DES_BLOCK] = '\0';
  return out;
}

char* UtlEncryptDecrypt(const char* in, const char* salt, char* out, unsigned long outSize, int encrypt) {
  if (!in || !out) return nullptr;
  KUtlCrSync lock(g_CryptCrSect);
  return encrypt ? encrypt_text(in, salt, out, outSize) : decrypt_text(in, salt, out, outSize);
}

namespace {

KZString des_text(const char* text, const char* salt, int encrypt) {
  if (!text) return KZString();
  std::vector<char> copy(text, text + std::strlen(text) + 1);
  std::vector<char> buffer(2 * (copy.size() - 1) + kEncryptSlack, '\0');
  const char* done = UtlEncryptDecrypt(copy.data(), salt, buffer.data(), buffer.size(), encrypt);
  return KZString(done ? done : "");
}

} // namespace

KZString UtlDesEncrypt(const char* text, const char* salt) { return des_text(text, salt, 1); }
KZString UtlDesDecrypt(const char* text, const char* salt) { return des_text(text, salt, 0); }

} // namespace KCLASSIC
