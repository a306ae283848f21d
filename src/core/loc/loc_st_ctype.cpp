// Character classes and the plain string covers of the locale layer, through
// the class library's functions in the calling thread's locale. When the
// library fails (it could not start), the C library's functions of the byte
// answer instead.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "core/loc/loc_kc.h"
#include "core/loc/loc_st.h"
#include "kclassic/kc_mb.h"

namespace {

int low(long c) { return static_cast<unsigned char>(c); }

long cls(int (*k)(unsigned), int (*c)(int), long ch) {
  return loc_kc_call([&] { return k(static_cast<unsigned>(low(ch))) != 0 ? 1L : 0L; },
                     [&] { return c(low(ch)) != 0 ? 1L : 0L; });
}

}  // namespace

long loc_st_isalnum(long c) { return cls(KCLASSIC::kisalnum, std::isalnum, c); }
long loc_st_isalpha(long c) { return cls(KCLASSIC::kisalpha, std::isalpha, c); }
long loc_st_isdigit(long c) { return cls(KCLASSIC::kisdigit, std::isdigit, c); }
long loc_st_islower(long c) { return cls(KCLASSIC::kislower, std::islower, c); }
long loc_st_isupper(long c) { return cls(KCLASSIC::kisupper, std::isupper, c); }
long loc_st_isspace(long c) { return cls(KCLASSIC::kisspace, std::isspace, c); }
// The library has no tests of these classes: the byte's class in the C
// library's tables.
long loc_st_iscntrl(long c) { return std::iscntrl(low(c)) ? 1 : 0; }
long loc_st_isgraph(long c) { return std::isgraph(low(c)) ? 1 : 0; }
long loc_st_isprint(long c) { return std::isprint(low(c)) ? 1 : 0; }
long loc_st_ispunct(long c) { return std::ispunct(low(c)) ? 1 : 0; }
long loc_st_isxdigit(long c) { return std::isxdigit(low(c)) ? 1 : 0; }
long loc_st_isascii(long c) { return (c & 0x80) == 0 ? 1 : 0; }

char* loc_st_strcpy(char* dst, const char* src) { return KCLASSIC::kstrcpy(dst, src); }

char* loc_st_strcat(char* dst, const char* src) {
  return loc_kc_call([&] { return KCLASSIC::kstrcat(dst, src); }, [&] { return std::strcat(dst, src); });
}

long loc_st_strlen(const char* text) { return static_cast<long>(KCLASSIC::kstrlen(text)); }

long loc_st_strcoll(const char* a, const char* b) {
  return loc_kc_call([&] { return static_cast<long>(KCLASSIC::kstrcoll(a, b)); },
                     [&] { return static_cast<long>(std::strcmp(a, b)); });
}

long loc_st_strcmp(const char* a, const char* b) {
  return loc_kc_call([&] { return static_cast<long>(KCLASSIC::kstrcmp(a, b)); },
                     [&] { return static_cast<long>(std::strcmp(a, b)); });
}

double loc_st_atof(const char* text) {
  return loc_kc_call([&] { return KCLASSIC::katof(text); }, [&] { return std::atof(text); });
}

long loc_st_atol(const char* text) {
  return loc_kc_call([&] { return KCLASSIC::katol(text); }, [&] { return std::strtol(text, nullptr, 10); });
}

long loc_st_atoi(const char* text) { return loc_st_atol(text); }

char* loc_st_strncpy(char* dst, const char* src, long n) {
  return std::strncpy(dst, src, static_cast<size_t>(n));
}
char* loc_st_strncat(char* dst, const char* src, long n) {
  return std::strncat(dst, src, static_cast<size_t>(n));
}
long loc_st_strncmp(const char* a, const char* b, long n) {
  return std::strncmp(a, b, static_cast<size_t>(n));
}
long loc_st_strtol(const char* text, char** end, long base) {
  return std::strtol(text, end, static_cast<int>(base));
}

// The searches step over whole characters, so a byte inside a multibyte
// character is never taken for a character of its own.
char* loc_st_strchr(const char* text, long c) {
  unsigned ch = loc_kc_char(c);
  if (ch == 0) return const_cast<char*>(text + std::strlen(text));
  return loc_kc_call([&] { return KCLASSIC::kstrchr(text, ch); }, [] { return static_cast<char*>(nullptr); });
}

char* loc_st_strrchr(const char* text, long c) {
  unsigned ch = loc_kc_char(c);
  if (ch == 0) return const_cast<char*>(text + std::strlen(text));
  return loc_kc_call([&] { return KCLASSIC::kstrrchr(text, ch); }, [] { return static_cast<char*>(nullptr); });
}

char* loc_st_strstr(const char* text, const char* part) {
  if (*part == '\0') return const_cast<char*>(text);
  return loc_kc_call([&] { return KCLASSIC::kstrstr(text, part); }, [] { return static_cast<char*>(nullptr); });
}
