// The database password scrambler, shared with the object store.
#include <cstring>

#include "bo/bo_crypt.h"

namespace {

constexpr long kMinOut = 10;
constexpr long kMaxOut = 30;

}  // namespace

char* Orbn_dbs_password_encrypt(const char* in, char* out) {
  long filler = 3;
  long n = 0;
  auto fill = [&] { out[n++] = static_cast<char>('0' + filler++ % 8); };
  for (const char* p = in ? in : ""; *p && n < kMaxOut; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (c >= '0' && c <= '9') {
      int d = c + 3;
      out[n++] = static_cast<char>(d <= '9' ? d : d - 4);
    } else if (c >= 'A' && c <= 'Z') {
      int d = c + 7;
      out[n++] = static_cast<char>(d <= 'Z' ? d : d - 11);
    } else if (c >= 'a' && c <= 'z') {
      int d = c - 7;
      out[n++] = static_cast<char>(d >= 'a' ? d : d + 11);
    } else {
      fill();
    }
  }
  while (n < kMinOut) fill();
  out[n] = '\0';
  return out + n;
}

namespace KCLASSIC {

namespace {
constexpr size_t kScrambleBuffer = 32;
} // namespace

KZString UtlOrbnClntEncryptPwd(const char* password) {
  char buf[kScrambleBuffer] = {};
  if (password && *password) Orbn_dbs_password_encrypt(password, buf);
  return KZString(buf);
}

} // namespace KCLASSIC
