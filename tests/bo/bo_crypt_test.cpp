// Encryption and hashing: DES on standard vectors, crypt against the
// system's crypt(3), the reversible text encryption, the printable
// encodings, the SHA-based hash on independently computed vectors, and the
// scrambler.
#include <crypt.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bo/bo_crypt.h"
#include "bo_fixture.h"

using botest::BoTest;
using KCLASSIC::KUtlCrSync;
using KCLASSIC::KZString;

namespace {

std::string hex_bytes(const char* p, int n) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (int i = 0; i < n; ++i) {
    auto b = static_cast<unsigned char>(p[i]);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::string bytes_of(const char* hex) {
  std::string out;
  for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) out += char(std::stoi(std::string(hex + i, 2), nullptr, 16));
  return out;
}

struct DesVector {
  const char* key;
  const char* plain;
  const char* cipher;
};
const DesVector kDesVectors[] = {
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
    {"0101010101010101", "95F8A5E5DD31D900", "8000000000000000"},
    {"0101010101010101", "0000000000000000", "8CA64DE9C1B123A7"},
};

TEST_F(BoTest, DesOnStandardVectors) {
  KUtlCrSync lock(KCLASSIC::bo_crypt_lock());
  for (const DesVector& v : kDesVectors) {
    std::string key = bytes_of(v.key), plain = bytes_of(v.plain);
    char out[8];
    KCLASSIC::des_setkey(key.data());
    KCLASSIC::des_cipher(plain.data(), out, 0, 1);
    EXPECT_EQ(hex_bytes(out, 8), v.cipher) << v.key;
    char back[8];
    KCLASSIC::des_cipher(out, back, 0, -1);
    EXPECT_EQ(hex_bytes(back, 8), v.plain) << v.key;
    // A salt perturbs; the same salt undoes.
    KCLASSIC::des_cipher(plain.data(), out, 0x5A5A5A, 3);
    EXPECT_NE(hex_bytes(out, 8), v.cipher);
    KCLASSIC::des_cipher(out, back, 0x5A5A5A, -3);
    EXPECT_EQ(hex_bytes(back, 8), v.plain);
  }
}

TEST_F(BoTest, EncryptWorksOnBitArrays) {
  KUtlCrSync lock(KCLASSIC::bo_crypt_lock());
  const DesVector& v = kDesVectors[0];
  std::string key = bytes_of(v.key), plain = bytes_of(v.plain);
  KCLASSIC::des_setkey(key.data());
  char bits[64];
  for (int i = 0; i < 64; ++i) bits[i] = (static_cast<unsigned char>(plain[i / 8]) >> (7 - i % 8)) & 1;
  EXPECT_EQ(KCLASSIC::encrypt(bits, 0), 0);
  char packed[8] = {};
  for (int i = 0; i < 64; ++i) packed[i / 8] = char(packed[i / 8] | (bits[i] << (7 - i % 8)));
  EXPECT_EQ(hex_bytes(packed, 8), v.cipher);
  EXPECT_EQ(KCLASSIC::encrypt(bits, 1), 0);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(bits[i], (static_cast<unsigned char>(plain[i / 8]) >> (7 - i % 8)) & 1);
}

TEST_F(BoTest, CryptAgreesWithTheSystemsCrypt) {
  const char* keys[] = {"password", "a", "longer than eight", "Zz9./", "\x7F\x01", "12345678", "x y"};
  const char* salts[] = {"ab", "..", "zz", "./", "A9", "Zq", "9/"};
  KUtlCrSync lock(KCLASSIC::bo_crypt_lock());
  for (const char* key : keys) {
    for (const char* salt : salts) {
      std::string ours = KCLASSIC::crypt(key, salt);
      const char* system = ::crypt(key, salt);
      ASSERT_NE(system, nullptr);
      EXPECT_EQ(ours, system) << key << " / " << salt;
    }
  }
}

TEST_F(BoTest, PasswordHashes) {
  EXPECT_STREQ(KCLASSIC::UtlEncrypt("", "ab"), "");
  EXPECT_STREQ(KCLASSIC::UtlEncrypt(nullptr, nullptr), "");
  KZString salted = KCLASSIC::UtlEncrypt("secret", "xY");
  EXPECT_STREQ(salted, ::crypt("secret", "xY"));
  KZString made = KCLASSIC::UtlEncrypt("secret", nullptr);
  ASSERT_EQ(made.GetLength(), 13);
  std::string salt(static_cast<const char*>(made), 2);
  EXPECT_STREQ(made, ::crypt("secret", salt.c_str())); // its own salt leads
}

TEST_F(BoTest, To64WritesLowBitsFirst) {
  char out[5] = "????";
  KCLASSIC::Orbn_web_adm_to64(out, 0 + (1 << 6) + (63 << 12), 3);
  EXPECT_STREQ(out, "./z?");
}

TEST_F(BoTest, CipherBlockTextRoundTrip) {
  const unsigned char blocks[][8] = {
      {0, 0, 0, 0, 0, 0, 0, 0},
      {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
      {0x80, 0x40, 0xC0, 0x3F, 0x01, 0x7E, 0x81, 0xC2},
  };
  const char* texts[] = {"...........", "zzzzzzzzzzw", "...z/y/0b/g"};
  for (size_t i = 0; i < std::size(blocks); ++i) {
    char text[12];
    KCLASSIC::CipherBlockToChar(blocks[i], text);
    EXPECT_STREQ(text, texts[i]);
    unsigned char back[8];
    KCLASSIC::CharToCipherBlock(text, back);
    EXPECT_EQ(std::memcmp(back, blocks[i], 8), 0) << i;
  }
}

TEST_F(BoTest, TextEncryptionLengthsAndRoundTrips) {
  struct Case {
    const char* plain;
    const char* salt;
    size_t length;
  };
  const Case cases[] = {
      {"12345678", nullptr, 4 + 11}, {"123456789", nullptr, 4 + 22}, {"a", nullptr, 4 + 11},
      {"12345678", "AbC1", 11},      {"x", "", 11},                  {"text of some length", "q", 33},
  };
  for (const Case& c : cases) {
    KZString enc = KCLASSIC::UtlDesEncrypt(c.plain, c.salt);
    EXPECT_EQ(size_t(enc.GetLength()), c.length) << c.plain;
    for (int i = 0; i < enc.GetLength(); ++i) ASSERT_NE(std::strchr(KCLASSIC::BO_ITOA64, enc[i]), nullptr);
    EXPECT_STREQ(KCLASSIC::UtlDesDecrypt(enc, c.salt), c.plain) << c.plain;
  }
  // A given salt changes the cipher text; the built-in key makes it
  // repeatable.
  EXPECT_STREQ(KCLASSIC::UtlDesEncrypt("abc", "AB.."), KCLASSIC::UtlDesEncrypt("abc", "AB.."));
  EXPECT_STRNE(KCLASSIC::UtlDesEncrypt("abc", "AB.."), KCLASSIC::UtlDesEncrypt("abc", "AC.."));
  // Only the first four salt characters count.
  EXPECT_STREQ(KCLASSIC::UtlDesEncrypt("abc", "AB..x"), KCLASSIC::UtlDesEncrypt("abc", "AB.."));
  // Bytes keep their low 7 bits.
  EXPECT_STREQ(KCLASSIC::UtlDesDecrypt(KCLASSIC::UtlDesEncrypt("\xC1\xE2z", "salt"), "salt"), "Abz");
}

TEST_F(BoTest, DecryptionRefusesWhatItCannotRead) {
  KZString good = KCLASSIC::UtlDesEncrypt("12345678abc", nullptr); // 4 + 22
  std::string g(static_cast<const char*>(good));
  struct Case {
    std::string in;
    unsigned long size;
  };
  const Case cases[] = {
      {"abc", 64},                                   // shorter than a salt
      {g.substr(0, g.size() - 1), 64},               // not whole groups
      {g.substr(0, 10) + "!" + g.substr(11), 64},    // outside the alphabet
      {g, 25},                                       // less room than text
      {g, 5},
  };
  for (const Case& c : cases) {
    std::vector<char> out(c.size + 8, 'Q');
    EXPECT_EQ(KCLASSIC::UtlEncryptDecrypt(c.in.c_str(), nullptr, out.data(), c.size, 0), nullptr) << c.in;
    for (size_t i = c.size; i < out.size(); ++i) ASSERT_EQ(out[i], 'Q'); // nothing beyond the room
  }
  EXPECT_STREQ(KCLASSIC::UtlDesDecrypt("ab", nullptr), "");
  std::vector<char> exact(26 + 8, 'Q');
  ASSERT_NE(KCLASSIC::UtlEncryptDecrypt(g.c_str(), nullptr, exact.data(), 26, 0), nullptr);
  EXPECT_STREQ(exact.data(), "12345678abc");
  char small[8];
  EXPECT_EQ(KCLASSIC::UtlEncryptDecrypt("abc", "AB", small, sizeof small, 1), nullptr); // needs 2 x 3 + 16
  EXPECT_EQ(KCLASSIC::UtlEncryptDecrypt("", "AB", small, sizeof small, 1), nullptr);
}

TEST_F(BoTest, ShaHashOnIndependentVectors) {
  // From tests/bo/bo_sha_vectors.py, a separate implementation.
  struct Case {
    std::string text;
    const char* hash;
  };
  const std::string fox = "The quick brown fox jumps over the lazy dog";
  const Case cases[] = {
      {"", "ZgFXm/Q6HVmyt4jFKziy34MygW8ld."},
      {"a", "kPSpJyGVHTeyFpIkR/4kQJn.O4Cjs."},
      {"abc", "eBlkpyjjE/GzOFDAg.6n5hb/Izbw2/"},
      {"password", "ml50H/hWflz/Fq7y.yo3SYZ.Ot7Blz"},
      {std::string(55, 'x'), "2DHYXzQ0Rc8zO86du/sCvl7/jIBOdz"},
      {std::string(56, 'x'), "Cy7RM/sf/pJyhFboT/6uIo0.1cGbLy"},
      {std::string(63, 'y'), "AdRp0zI7BPu.VaES5z4jFWSy2r7dI/"},
      {std::string(64, 'z'), "QWCLmzSFEYXzKoiFU.QVH5u/tpNxp."},
      {std::string(65, 'q'), "TlqhTymIY.L/RLPl6/NdbL5zFzkd5/"},
      {fox + fox + fox, "M/HVSz9.cUjyS8YzOy7ENlfyjtrbEz"},
      {"\xC3\xA9\x80\xFF", "OEjupybmU7JzdnzYS/qt2qjz7EzIQz"},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> data(c.text.begin(), c.text.end());
    char out[32];
    std::memset(out, '#', sizeof out);
    KCLASSIC::UtlCreateSecureHash(data.data(), long(data.size()), out);
    EXPECT_STREQ(out, c.hash) << c.text.size();
  }
}

TEST_F(BoTest, ShaPasswordWithPrefixAndCut) {
  char out[32];
  EXPECT_STREQ(KCLASSIC::UtlEncryptShaPassword("password", out, '{', 0), "{ml50H/hWflz/Fq7y.yo3SYZ.Ot7Blz");
  EXPECT_STREQ(KCLASSIC::UtlEncryptShaPassword("password", out, '{', 10), "{ml50H/hWf");
  EXPECT_STREQ(KCLASSIC::UtlEncryptShaPassword("password", out, 0, 5), "ml50H");
  EXPECT_STREQ(KCLASSIC::UtlEncryptShaPassword("abc", out, 0, 30), "eBlkpyjjE/GzOFDAg.6n5hb/Izbw2/");
}

TEST_F(BoTest, ShaHelpers) {
  long words[3] = {0x7FFFFFFF, 0, 0};
  unsigned char bytes[] = {0x11, 0x22, 0x33, 0x44, 0x55};
  KCLASSIC::UtlBytesToLongs(words, bytes, 5, 2);
  EXPECT_EQ(words[0], 0x2211FFFF);
  EXPECT_EQ(words[1], 0x00554433);
  KCLASSIC::UtlLongSetByte(words, 0xAB, 2, 3);
  EXPECT_EQ(words[0], long(0xAB11FFFFu));
  EXPECT_EQ(words[1], 0x005544AB);
  KCLASSIC::UtlBytesToLongs(words, bytes, 0, 0);
  EXPECT_EQ(words[1], 0x005544AB);
  struct Case {
    unsigned long x;
    long n;
    long out;
  };
  const Case cases[] = {
      {0x80000001u, 1, 0x00000003}, {0x12345678u, 32, 0x12345678}, {0x12345678u, -1, 0x12345678},
      {0x12345678u, 0, 0x12345678}, {0x12345678u, 36, 0x23456781}, {0xF0000000u, 4, 0x0000000F},
  };
  for (const Case& c : cases) EXPECT_EQ(KCLASSIC::UtlCircularShiftLeft(c.x, c.n), c.out) << c.n;
}

TEST_F(BoTest, ScramblerCases) {
  struct Case {
    std::string in;
    const char* out;
  };
  const Case cases[] = {
      {"abc", "efg3456701"},
      {"!!!!!", "3456701234"},
      {"AZaz09", "HVes383456"},
      {std::string(40, 'a'), "eeeeeeeeeeeeeeeeeeeeeeeeeeeeee"},
      {"", "3456701234"},
  };
  for (const Case& c : cases) {
    char out[31];
    char* end = Orbn_dbs_password_encrypt(c.in.c_str(), out);
    EXPECT_STREQ(out, c.out) << c.in;
    EXPECT_EQ(end, out + std::strlen(c.out));
  }
  EXPECT_STREQ(KCLASSIC::UtlOrbnClntEncryptPwd("abc"), "efg3456701");
  EXPECT_STREQ(KCLASSIC::UtlOrbnClntEncryptPwd(""), "");
  EXPECT_STREQ(KCLASSIC::UtlOrbnClntEncryptPwd(nullptr), "");
}

} // namespace
