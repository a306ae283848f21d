#include "core/loc/loc_st_case.h"

#include <cctype>
#include <cstring>
#include <string>

#include "core/loc/loc_kc.h"
#include "core/osl/osl_print.h"
#include "kclassic/kc_mb.h"

namespace {

using map_text = char* (*)(char*, long, const char*, long, long*);

long one(unsigned (*k)(unsigned), int (*c)(int), long ch) {
  auto b = static_cast<unsigned char>(ch);
  unsigned r = loc_kc_call([&] { return k(b); }, [&] { return static_cast<unsigned>(c(b)); });
  return static_cast<signed char>(r & 0xFF);
}

// Maps the text character by character, keeping a character whose mapping
// has another byte length.
bool map_by_character(char* text, map_text map) {
  for (char* p = text; *p != '\0';) {
    long len = loc_kc_call([&] { return KCLASSIC::kchrlen(p); }, [] { return 1L; });
    if (len < 1 || len > 4) len = 1;
    char in[8] = {}, out[16] = {};
    std::memcpy(in, p, static_cast<size_t>(len));
    long error = 0;
    bool ok = loc_kc_call([&] { return map(out, sizeof out, in, len + 1, nullptr) != nullptr; }, [] { return false; },
                          &error);
    if (!ok) return false;
    if (static_cast<long>(std::strlen(out)) == len) std::memcpy(p, out, static_cast<size_t>(len));
    p += len;
  }
  return true;
}

char* map_in_place(char* text, map_text map, const char* proc) {
  if (text == nullptr) return text;
  long n = static_cast<long>(std::strlen(text)) + 1;
  std::string src(text, static_cast<size_t>(n));
  long written = 0, error = 0;
  bool ok = loc_kc_call([&] { return map(text, n, src.c_str(), n, &written) != nullptr; }, [] { return false; },
                        &error);
  if (ok && written == n && text[n - 1] == '\0') return text;
  // The mapped text does not fit its own bytes (or the library refused):
  // the original, mapped one character at a time.
  std::memcpy(text, src.data(), static_cast<size_t>(n));
  if (!map_by_character(text, map)) {
    std::memcpy(text, src.data(), static_cast<size_t>(n));
    osl_print_mes("%s: case mapping failed (error 0x%lx)\n", proc, error);
  }
  return text;
}

}  // namespace

long loc_st_toupper(long c) { return one(KCLASSIC::ktoupper, std::toupper, c); }
long loc_st_tolower(long c) { return one(KCLASSIC::ktolower, std::tolower, c); }

char* loc_st_strupper(char* text) {
  return map_in_place(text, [](char* d, long dn, const char* s, long sn, long* w) {
    return KCLASSIC::kstrupper(d, dn, s, sn, w);
  }, "loc_st_strupper");
}

char* loc_st_strlower(char* text) {
  return map_in_place(text, [](char* d, long dn, const char* s, long sn, long* w) {
    return KCLASSIC::kstrlower(d, dn, s, sn, w);
  }, "loc_st_strlower");
}
