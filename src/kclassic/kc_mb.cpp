// The k wrappers over the multibyte text library, in the calling thread's
// locale.
#include "kclassic/kc_mb.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kclassic/kc_err.h"
#include "kclassic/kc_loc.h"
#include "kclassic/kc_loc_int.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_conv.h"
#include "mbtext/gc_cp.h"
#include "mbtext/gc_ctype.h"
#include "mbtext/gc_fmt.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_nav.h"
#include "mbtext/gc_str.h"
#include "mbtext/gc_strto.h"
#include "mbtext/gc_uni2str.h"
#include "mbtext/gc_ucs2.h"

namespace KCLASSIC {

namespace {

constexpr uint32_t kCmpNoCase = 0x80000040u;
constexpr uint32_t kCmpNoCaseSimple = 0x80002040u;
constexpr uint32_t kMapUpperOne = 0x80006025u;
constexpr uint32_t kMapLowerOne = 0x80006024u;

// A packed character as NUL-terminated bytes.
struct Packed {
  char bytes[6];
  explicit Packed(unsigned ch) { *kputchr(bytes, ch) = 0; }
};

GCLocale* L() { return kcThreadLocale(); }

long text_len(const char* s, long n) { return n < 0 ? long(std::strlen(s)) : n; }

} // namespace

GCLocale* GetLocaleFromCP(const char* cp) {
  if (!cp) return L();
  if (!*cp) return UtlGetLocale("").GetHandle();
  KZString name;
  name.Format("_.%s@", cp);
  return UtlGetLocale(name).GetHandle();
}

size_t kstrlen(const char* s) { return std::strlen(s); }
long kchrlen(const char* s) { return GCByteLength(L(), s, 0); }
unsigned kstrnextc(const char* s) { return GCGetChar(L(), s, 0); }
char* kstrinc(const char* s) { return const_cast<char*>(GCNextChar(L(), s, 0)); }
char* kstrdec(const char* start, const char* s) { return const_cast<char*>(GCPrevChar(L(), start, s, 0)); }

unsigned klastchr(const char* s) {
  if (!s || !*s) return 0;
  return kstrnextc(kstrdec(s, s + std::strlen(s)));
}

char* kputchr(char* p, unsigned ch) {
  if (ch >> 24) *p++ = char(ch >> 24);
  if (ch >> 16) *p++ = char(ch >> 16);
  if (ch >> 8) *p++ = char(ch >> 8);
  *p++ = char(ch);
  return p;
}

char* kstrcpy(char* d, const char* s) { return std::strcpy(d, s); }

char* kstrncpyz(char* d, const char* s, size_t n) {
  if (!d || !s) return nullptr;
  std::strncpy(d, s, n);
  d[n] = 0;
  return d;
}

char* kstrcat(char* d, const char* s) {
  GCStrcat(L(), d, s, -1, 0);
  return d;
}

char* kstrncat(char* d, const char* s, size_t n) {
  GCStrcat(L(), d, s, int32_t(n), 0);
  return d;
}

int kstrcmp(const char* a, const char* b) { return GCStrcmp(L(), a, -1, b, -1, 0); }
int kstrncmp(const char* a, const char* b, size_t n) { return GCStrcmp(L(), a, int32_t(n), b, int32_t(n), 0); }

int kstricmp(const char* a, const char* b) {
  if (!a) return b ? -1 : 0;
  if (!b) return 1;
  return GCStrcmp(L(), a, -1, b, -1, kCmpNoCaseSimple);
}

int kstrnicmp(const char* a, const char* b, size_t n) {
  return GCStrcmp(L(), a, int32_t(n), b, int32_t(n), kCmpNoCase);
}

int kstrcoll(const char* a, const char* b) { return GCStrcoll(L(), a, -1, b, -1, 0); }
int kstricoll(const char* a, const char* b) { return GCStrcoll(L(), a, -1, b, -1, kCmpNoCase); }
int kstrnicoll(const char* a, const char* b, size_t n) {
  return GCStrcoll(L(), a, int32_t(n), b, int32_t(n), kCmpNoCase);
}

char* kstrchr(const char* s, unsigned ch) {
  Packed c(ch);
  return const_cast<char*>(GCStrchr(L(), s, -1, c.bytes, 0));
}

char* kstrrchr(const char* s, unsigned ch) {
  Packed c(ch);
  return const_cast<char*>(GCStrchr(L(), s, -1, c.bytes, GC_CHR_LAST));
}

char* kstrpbrk(const char* s, const char* set) {
  int32_t n = GCNumChars(L(), set, -1, 0);
  const char* c = set;
  for (int32_t i = 0; i < n && *c; ++i, c = kstrinc(c)) {
    unsigned ch = kstrnextc(c);
    if (char* hit = kstrchr(s, ch)) return hit;
  }
  return nullptr;
}

size_t kstrspn(const char* s, const char* set) { return size_t(GCStrspn(L(), s, -1, set, -1, 0)); }
size_t kstrcspn(const char* s, const char* set) { return size_t(GCStrcspn(L(), s, -1, set, -1, 0)); }
char* kstrstr(const char* s, const char* sub) { return const_cast<char*>(GCStrstr(L(), s, -1, sub, -1, 0)); }

namespace {

thread_local char* t_strtok_rest = nullptr;

char* strtok_step(char* s, const char* delims, char** rest) {
  int32_t remaining = -1;
  char* next = nullptr;
  char* token = GCStrtok(L(), s, &remaining, delims, -1, &next, 0);
  *rest = next;
  return token;
}

} // namespace

char* kstrtok(char* s, const char* delims) {
  if (!s) s = t_strtok_rest;
  if (!s) return nullptr;
  return strtok_step(s, delims, &t_strtok_rest);
}

char* kstrtok_r(char** s, const char* delims) {
  if (!s || !*s) return nullptr;
  return strtok_step(*s, delims, s);
}

int ksprintf(char* buf, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  int n = kvsprintf(buf, fmt, args);
  va_end(args);
  return n;
}

namespace {

// The Windows size prefix I64 written as ll, which the formatter reads.
struct Format {
  std::string text;
  const char* fmt;
  explicit Format(const char* f) : fmt(f) {
    if (!f || !std::strstr(f, "I64")) return;
    for (const char* p = f; *p;) {
      if (*p != '%') {
        text += *p++;
        continue;
      }
      text += *p++;
      if (*p == '%') {
        text += *p++;
        continue;
      }
      // Flags, width, precision and size up to the conversion letter.
      while (*p && !std::strchr("diouxXeEfFgGaAcCsSpn%", *p)) {
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
          text += "ll";
          p += 3;
        } else {
          text += *p++;
        }
      }
    }
    fmt = text.c_str();
  }
};

} // namespace

int kvsprintf(char* buf, const char* fmt, va_list args) {
  Format f(fmt);
  va_list ap;
  va_copy(ap, args);
  int n = GCVsprintf(L(), buf, -1, f.fmt, -1, GC_FL_NUL, ap);
  va_end(ap);
  return n > 0 ? n - 1 : -1;
}

int kvsnprintf(char* buf, size_t size, const char* fmt, va_list args) {
  if (!buf || size == 0) return -2;
  GCLocale* loc = L();
  Format f(fmt);
  va_list ap;
  va_copy(ap, args);
  int n = GCVsprintf(loc, buf, int32_t(size > 0x7FFFFFFF ? 0x7FFFFFFF : size), f.fmt, -1, GC_FL_NUL, ap);
  va_end(ap);
  const auto error = GCGetError(loc);
  if (error == GC_E_BUFFER) return -2;
  if (error != GC_OK) return -1;  // refused (a precision beyond the largest, a bad format)
  return n > 0 ? n - 1 : -1;
}

namespace {

unsigned map_one(unsigned ch, uint32_t flags) {
  Packed in(ch);
  char out[8] = {};
  int32_t n = GCMapString(L(), out, 1, in.bytes, 1, flags);
  if (n != 1) return ch;
  return kstrnextc(out);
}

char* map_text(char* d, long dn, const char* s, long sn, long* written, uint32_t flags, const char* method) {
  int32_t n = GCMapString(L(), d, int32_t(dn), s, int32_t(sn), flags);
  if (n == -1) throw new KErr(KERR_INTERNAL, method);
  if (written) *written = n;
  return d;
}

bool char_type(unsigned ch, uint32_t bits) {
  Packed c(ch);
  return (GCGetCharType(L(), c.bytes, GC_CT_TYPE) & bits) != 0;
}

} // namespace

unsigned ktoupper(unsigned ch) { return map_one(ch, kMapUpperOne); }
unsigned ktolower(unsigned ch) { return map_one(ch, kMapLowerOne); }

char* kstrupper(char* d, long dn, const char* s, long sn, long* written) {
  return map_text(d, dn, s, sn, written, GC_MAP_UPPER_SIMPLE, "kstrupper");
}

char* kstrlower(char* d, long dn, const char* s, long sn, long* written) {
  return map_text(d, dn, s, sn, written, GC_MAP_LOWER_SIMPLE, "kstrlower");
}

int kisalpha(unsigned ch) { return char_type(ch, GC_C_ALPHA); }
int kisupper(unsigned ch) { return char_type(ch, GC_C_UPPER); }
int kislower(unsigned ch) { return char_type(ch, GC_C_LOWER); }
int kisdigit(unsigned ch) { return char_type(ch, GC_C_DIGIT); }
int kisspace(unsigned ch) { return char_type(ch, GC_C_SPACE); }
int kisalnum(unsigned ch) { return char_type(ch, GC_C_ALPHA | GC_C_DIGIT); }

char* kitoa(long value, char* buf, long radix) {
  if (radix == 10) ksprintf(buf, "%ld", value);
  else if (radix == 16) ksprintf(buf, "%lx", value);
  return buf;
}

long katol(const char* s) { return GCStringToLong(L(), s, -1, nullptr, 10, 0); }
double katof(const char* s) { return GCStringToDouble(L(), s, -1, nullptr, 0); }

long katolerr(const char* s) {
  if (!s) throw new KErr(KERR_ILLEGAL_ARGUMENT, "katolerr", "Argument is NULL");
  const char* end = nullptr;
  long v = GCStringToLong(L(), s, -1, &end, 10, 0);
  if (v == 0 && end && *end) throw new KErr(KERR_ILLEGAL_ARGUMENT, "katolerr", s);
  return v;
}

double katoferr(const char* s) {
  if (!s) throw new KErr(KERR_ILLEGAL_ARGUMENT, "katoferr", "Argument is NULL");
  const char* end = nullptr;
  double v = GCStringToDouble(L(), s, -1, &end, 0);
  if (v == 0.0 && end && *end) throw new KErr(KERR_ILLEGAL_ARGUMENT, "katoferr", s);
  return v;
}

long kstrlclen(const char* s, const char* localeName) {
  GCLocale* loc = localeName ? UtlGetLocale(localeName).GetHandle() : L();
  return GCNumChars(loc, s, -1, 0);
}

long ktohalfwidth(char* d, const char* s, long n, long dn) {
  if (dn == 0) {
    std::vector<char> scratch(size_t(text_len(s, n)) + 10);
    return GCMapString(L(), scratch.data(), int32_t(scratch.size()), s, int32_t(n), GC_MAP_FULL_TO_HALF);
  }
  return GCMapString(L(), d, int32_t(dn), s, int32_t(n), GC_MAP_FULL_TO_HALF);
}

long kstrconvert(char* d, const char* s, long n, long dn, const char* toCP, const char* fromCP) {
  GCLocale* to = GetLocaleFromCP(toCP);
  GCLocale* from = GetLocaleFromCP(fromCP);
  uint32_t flags = n == -1 ? GC_FL_NUL : 0;
  if (dn == 0) {
    std::vector<char> scratch(4 * size_t(text_len(s, n)) + 10);
    return GCConvertString(to, scratch.data(), int32_t(scratch.size()), from, s, int32_t(n), flags);
  }
  return GCConvertString(to, d, int32_t(dn), from, s, int32_t(n), flags);
}

long kunicodetostr(char* d, const unsigned short* u, long n, long dn, const char* cp) {
  GCLocale* loc = GetLocaleFromCP(cp);
  if (dn == 0) {
    long units = n < 0 ? GCStrlenU(loc, u, 0) : n;
    std::vector<char> scratch(4 * size_t(units) + 10);
    return GCUnicodeToString(loc, scratch.data(), int32_t(scratch.size()), u, int32_t(n), GC_FL_NUL);
  }
  return GCUnicodeToString(loc, d, int32_t(dn), u, int32_t(n), GC_FL_NUL);
}

long kstrtounicode(unsigned short* u, const char* s, long n, long un, const char* cp) {
  GCLocale* loc = GetLocaleFromCP(cp);
  if (un == 0) {
    std::vector<unsigned short> scratch(size_t(text_len(s, n)) + 10);
    return GCStringToUnicode(scratch.data(), int32_t(scratch.size()), loc, s, int32_t(n), GC_FL_NUL);
  }
  return GCStringToUnicode(u, int32_t(un), loc, s, int32_t(n), GC_FL_NUL);
}

long kwcstombcsz(char*, const wchar_t*, long) { return 0; }
long kmbstowcs(wchar_t*, const char*, long) { return 0; }
long kmbstowcsz(wchar_t*, const char*, long) { return 0; }

} // namespace KCLASSIC
