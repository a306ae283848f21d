// KZString: printf-style formatting with the result measured first,
// message formatting and loading from the K-layer string table.
#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "kclassic/kc_err.h"
#include "kclassic/kc_mb.h"
#include "kclassic/kc_sys.h"
#include "kclassic/kc_zstr.h"

namespace KCLASSIC {

namespace {

int imax(int a, int b) { return a > b ? a : b; }

// Size prefixes of one conversion.
struct Prefix {
  bool wide = false;   // l: wide text or character
  bool narrow = false; // h
  int longs = 0;       // l count; I64 and ll: 64-bit
  bool i64 = false;
  bool ldouble = false; // L with a floating conversion
  bool sized = false;   // z, j, t
};

void consume_int(va_list& ap, const Prefix& px) {
  if (px.i64 || px.longs >= 2) (void)va_arg(ap, long long);
  else if (px.longs == 1 || px.sized) (void)va_arg(ap, long);
  else (void)va_arg(ap, int);
}

double take_double(va_list& ap, const Prefix& px) {
  if (px.ldouble) return double(va_arg(ap, long double));
  return va_arg(ap, double);
}

} // namespace

int KZString::MeasureFormat(const char* fmt, va_list args) {
  va_list ap;
  va_copy(ap, args);
  int total = 0;
  const char* p = fmt;
  while (*p) {
    if (*p != '%') {
      const char* next = kstrinc(p);
      total += next > p ? int(next - p) : 1;
      p = next > p ? next : p + 1;
      continue;
    }
    ++p;
    if (*p == '%') {
      total += 1;
      ++p;
      continue;
    }
    int width = 0, precision = 0;
    bool starWidth = false;
    for (;; ++p) {
      if (*p == '#') total += 2;
      else if (*p == '*') {
        width = va_arg(ap, int);
        if (width < 0) width = -width;
        starWidth = true;
      } else if (*p != '-' && *p != '+' && *p != '0' && *p != ' ') break;
    }
    if (!starWidth) {
      width = int(katol(p));
      while (*p >= '0' && *p <= '9') ++p;
    }
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        precision = va_arg(ap, int);
        if (precision < 0) precision = 0;
        ++p;
      } else {
        precision = int(katol(p));
        while (*p >= '0' && *p <= '9') ++p;
      }
    }
    Prefix px;
    for (;; ++p) {
      if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
        px.i64 = true;
        p += 2;
      } else if (*p == 'h') px.narrow = true;
      else if (*p == 'l') {
        px.wide = true;
        ++px.longs;
      } else if (*p == 'L') px.ldouble = true;
      else if (*p == 'z' || *p == 'j' || *p == 't') px.sized = true;
      else if (*p != 'F' && *p != 'N') break;
    }
    if (!*p) break;
    int item = -1; // text and character items
    switch (*p) {
      case 'c':
      case 'C':
        (void)va_arg(ap, int);
        item = 2;
        break;
      case 's':
      case 'S': {
        bool wideText = (*p == 'S' || px.wide) && !px.narrow;
        if (wideText) {
          const wchar_t* w = va_arg(ap, const wchar_t*);
          item = w ? imax(1, int(std::wcslen(w))) : 6;
        } else {
          const char* t = va_arg(ap, const char*);
          item = t ? imax(1, int(std::strlen(t))) : 6;
        }
        break;
      }
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'o':
        consume_int(ap, px);
        total += imax(32, width + precision);
        break;
      case 'e':
      case 'E':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
        (void)take_double(ap, px);
        total += imax(128, width + precision);
        break;
      case 'f':
      case 'F': {
        double d = take_double(ap, px);
        int n = std::snprintf(nullptr, 0, "%*.*f", width, precision + 6, d);
        total += n > 0 ? n : 0;
        break;
      }
      case 'p':
        (void)va_arg(ap, void*);
        total += imax(32, width + precision);
        break;
      case 'n':
        (void)va_arg(ap, void*);
        break;
      default:
        break;
    }
    if (item >= 0) {
      if (precision != 0 && precision < item) item = precision;
      total += imax(item, width);
    }
    ++p;
  }
  va_end(ap);
  return total;
}

void KZString::Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  try {
    FormatV(fmt, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}

// The text is written into a new buffer while the old one stays alive, so an
// argument may be this string's own text. A measure that falls short (wide
// text can take more bytes than characters) grows the buffer and retries.
void KZString::FormatV(const char* fmt, va_list args) {
  if (!fmt || !*fmt) {
    Empty();
    return;
  }
  // A text the formatter refuses, or one too long for a string, is an
  // error: the string never silently comes back empty.
  constexpr int kTooFull = -2;  // kvsnprintf: the buffer was too small
  int size = MeasureFormat(fmt, args) + 1;
  for (;;) {
    KZString out;
    out.AllocBuffer(size - 1 > 0 ? size - 1 : 1);
    va_list ap;
    va_copy(ap, args);
    int n = kvsnprintf(out.m_pchData, size_t(out.GetAllocLength()) + 1, fmt, ap);
    va_end(ap);
    if (n == kTooFull) {
      if (size > INT_MAX / 2) KAfxThrowMemoryException();
      size *= 2;
      continue;
    }
    if (n < 0) throw new KErr(KERR_INVALID_FORMAT, "KZString::FormatV", "Could not format input string");
    out.SetLength(int(std::strlen(out.m_pchData)));
    Release();
    m_pchData = out.m_pchData;
    out.Init();
    return;
  }
}

void KZString::FormatMessage(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  char* result = nullptr;
  try {
    KFormatMessage(KFORMAT_MESSAGE_ALLOCATE_BUFFER | KFORMAT_MESSAGE_FROM_STRING, fmt, 0,
                   reinterpret_cast<char*>(&result), 0, reinterpret_cast<void**>(&args));
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
  if (!result) KAfxThrowMemoryException();
  *this = result;
  KLocalFree(result);
}

int KZString::LoadString(unsigned id) {
  char scratch[256];
  int n = KAfxLoadString(id, scratch, 256);
  if (256 - n > 2) {
    *this = scratch;
    return n > 0 ? 1 : 0;
  }
  for (int size = 512;; size += 256) {
    n = KAfxLoadString(id, GetBuffer(size - 1), unsigned(size));
    if (size - n > 2) break;
  }
  ReleaseBuffer(-1);
  return n > 0 ? 1 : 0;
}

} // namespace KCLASSIC
