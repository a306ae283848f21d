// Password and text protection: the crypt(3) DES password hash, reversible
// DES encryption of text into printable characters under a built-in key,
// the SHA-based password hash with its own input preparation and printable
// output, and the database password scrambler.
//
// Threads: the DES routines share one key schedule and crypt's result
// buffer; UtlEncrypt and UtlEncryptDecrypt (and so UtlDesEncrypt and
// UtlDesDecrypt) hold the process-wide lock of bo_crypt_lock() for their
// whole work, and a caller of the DES names below must hold it too. The
// SHA-based hash and the scrambler use no shared state.
#pragma once

#include "bo/bo_internal.h"
#include "kclassic/kc_sect.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

// Digits and letters shifted (ASCII classes, so a password scrambles alike
// under every locale), other characters written as filler digits; 10 to 30
// characters. out must hold 31 bytes; returns the address of the
// terminating NUL in out.
ORB_API char* Orbn_dbs_password_encrypt(const char* in, char* out);

namespace KCLASSIC {

// The printable alphabet of hashes and cipher blocks.
inline constexpr const char* BO_ITOA64 = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
inline constexpr int BO_CIPHER_TEXT_LEN = 11;
inline constexpr int BO_DES_BLOCK = 8;
inline constexpr int BO_CRYPT_LEN = 13;
inline constexpr int BO_SALT_LEN = 4;
inline constexpr int BO_SHA_TEXT_LEN = 30;

// The lock of the DES state (recursive).
BO_INTERNAL KUtlCrSect& bo_crypt_lock();

// DES with crypt(3)'s salt perturbation; callers hold bo_crypt_lock().
// The key schedule from the 8 key bytes (bit 0 of each ignored); 0.
BO_INTERNAL int des_setkey(const char* key);
// One block, count times (encrypting) or -count times (decrypting); each
// set bit i of the 24-bit salt swaps expansion bits i and i + 24. 0.
BO_INTERNAL int des_cipher(const char* in, char* out, long salt, int count);
// The traditional DES password hash: 13 characters in a static buffer.
BO_INTERNAL char* crypt(const char* key, const char* setting);
// 64 characters of 0 and 1, one DES pass (flag 0 encrypts); 0.
BO_INTERNAL int encrypt(char* block, int flag);

// crypt(3)'s to64: n characters of v, 6 bits each, low bits first; no NUL.
ORB_API void Orbn_web_adm_to64(char* out, unsigned long v, int n);
// A block to its 11-character cipher block text and a NUL, and back.
ORB_API void CipherBlockToChar(const unsigned char* block, char* text);
ORB_API void CharToCipherBlock(const char* text, unsigned char* block);

// The crypt(3) hash of password; a salt of our own generator when none.
ORB_API KZString UtlEncrypt(const char* password, const char* salt);

// One cipher block text of the first 8 bytes of text, and back (8 bytes
// and a NUL); NULL when DES fails.
ORB_API char* EncodeCipherBlock(const char* text, const char* salt, char* out);
ORB_API char* DecodeCipherBlock(const char* text, const char* salt, char* out);
// Encrypts (encrypt non-zero) or decrypts in into out (outSize bytes);
// NULL when the text or the room does not do.
ORB_API char* UtlEncryptDecrypt(const char* in, const char* salt, char* out, unsigned long outSize, int encrypt);
ORB_API KZString UtlDesEncrypt(const char* text, const char* salt);
ORB_API KZString UtlDesDecrypt(const char* text, const char* salt);

// The SHA-based hash. Words are 32-bit values in longs.
ORB_API void UtlBytesToLongs(long* words, unsigned char* bytes, long n, long start);
ORB_API void UtlLongSetByte(long* words, unsigned char value, long count, long start);
ORB_API long UtlCircularShiftLeft(unsigned long x, long n);
// w: 16 words of data with room for 80.
ORB_API void UtlCreateShaImp(long* w, long* state);
// 30 characters of BO_ITOA64 and a NUL.
ORB_API void UtlCreateSecureHash(unsigned char* data, long len, char* out);
// out must hold 32 bytes.
ORB_API char* UtlEncryptShaPassword(const char* password, char* out, char prefix, long outLen);

// The scrambled password ("" for none).
ORB_API KZString UtlOrbnClntEncryptPwd(const char* password);

} // namespace KCLASSIC
