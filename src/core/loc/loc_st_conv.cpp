// Formatting through the class library's printf engine, conversion between
// code pages, and the conversions with wide text (which the library does not
// make: every result is 0).
#include <cstdarg>
#include <cstdio>
#include <cwchar>

#include "core/loc/loc_kc.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_print.h"
#include "kclassic/kc_mb.h"

namespace {

void report(const char* proc, long error) { osl_print_mes("%s: failed (error 0x%lx)\n", proc, error); }

}  // namespace

long loc_st_sprintf(char* out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  long error = 0;
  long n = loc_kc_call([&] { return static_cast<long>(KCLASSIC::kvsprintf(out, format, args)); },
                       [] { return -1L; }, &error);
  va_end(args);
  if (n < 0 && out != nullptr) out[0] = '\0';
  if (error != 0) report("loc_st_sprintf", error);
  return n;
}

long loc_st_strconvert(char* out, const char* text, long length, long size, const char* to_cp, const char* from_cp) {
  long error = 0;
  long n = loc_kc_call([&] { return KCLASSIC::kstrconvert(out, text, length, size, to_cp, from_cp); },
                       [] { return -1L; }, &error);
  if (error != 0) report("loc_st_strconvert", error);
  return n;
}

long loc_st_mb_to_wide(void* out, const char* text, long size) {
  return loc_kc_call([&] { return KCLASSIC::kmbstowcsz(static_cast<wchar_t*>(out), text, size); },
                     [] { return 0L; });
}

long loc_st_wide_to_mb(char* out, const void* wide, long size) {
  return loc_kc_call([&] { return KCLASSIC::kwcstombcsz(out, static_cast<const wchar_t*>(wide), size); },
                     [] { return 0L; });
}

long loc_st_mb_to_wide_size(const char* text) {
  return loc_kc_call([&] { return KCLASSIC::kmbstowcs(nullptr, text, 0); }, [] { return 0L; });
}

long loc_st_wide_to_mb_size(const void* wide) {
  return loc_kc_call([&] { return KCLASSIC::kwcstombcsz(nullptr, static_cast<const wchar_t*>(wide), 0); },
                     [] { return 0L; });
}
