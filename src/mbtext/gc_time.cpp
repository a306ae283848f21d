// Time to text.
#include "mbtext/gc_time.h"

#include <algorithm>
#include <cstring>

#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_fmt_int.h"
#include "mbtext/gc_fmt_item_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"

namespace {

constexpr int kWork = 512;   // work buffer of the character mode
constexpr int kText = 132;   // item texts (names and formats)

// Locale formats that may be expanded inside one another.
constexpr unsigned kActiveTime = 1, kActiveShort = 2, kActiveLong = 4;

struct Ctx {
  GCLocale* loc;
  const struct tm* t;
  bool ascii;
  bool single;
  uint32_t itemflag;
  uint32_t flags;
};

char cpSpace(bool ascii) { return ascii ? ' ' : static_cast<char>(0x40); }
char cpTab(bool ascii) { return ascii ? '\t' : static_cast<char>(0x05); }
char cpPercent(bool ascii) { return ascii ? '%' : static_cast<char>(0x6C); }
char cpZero(bool ascii) { return ascii ? '0' : static_cast<char>(0xF0); }

// Modifiers a directive refuses: 1 = 'E', 2 = 'O'; -1 = not a directive.
int refused(unsigned char c) {
  switch (c) {
    case 'a': case 'A': case 'b': case 'h': case 'B': case 'D': case 'j': case 'k': case 'l': case 'n':
    case 'p': case 'R': case 't': case 'T': case 'u': case 'V': case 'z': case 'Z': case '%':
      return 3;
    case 'c': case 'C': case 'r': case 'x': case 'X': case 'Y':
      return 2;
    case 'd': case 'e': case 'H': case 'I': case 'm': case 'M': case 'S': case 'U': case 'w': case 'W':
      return 1;
    case 'y':
      return 0;
    default:
      return -1;
  }
}

uint32_t putByte(char* out, int32_t* pos, int32_t outlen, char c) {
  if (*pos >= outlen) return GC_E_BUFFER;
  out[(*pos)++] = c;
  return GC_OK;
}

// At least width digits of a value that may be negative or above the width
// (years): nothing is dropped.
uint32_t writeWide(char* out, int32_t* pos, int32_t outlen, long long value, int width, bool ascii,
                   bool suppress) {
  if (value < 0) {
    uint32_t s = putByte(out, pos, outlen, ascii ? '-' : static_cast<char>(0x60));
    if (s) return s;
  }
  unsigned long long mag = value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>(cpZero(ascii) + static_cast<int>(mag % 10));
    mag /= 10;
  } while (mag);
  while (!suppress && n < width) digits[n++] = cpZero(ascii);
  while (n > 0)
    if (putByte(out, pos, outlen, digits[--n])) return GC_E_BUFFER;
  return GC_OK;
}

bool isLeap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Weekday (0 = Sunday) of 1 January of the time's year.
int jan1Weekday(const struct tm* t) { return ((t->tm_wday - t->tm_yday % 7) % 7 + 7) % 7; }

// Weeks of an ISO year whose 1 January falls on weekday jan1 (0 = Sunday).
int isoWeeks(long long year, int jan1) { return (jan1 == 4 || (isLeap(year) && jan1 == 3)) ? 53 : 52; }

int isoWeek(const struct tm* t) {
  long long year = static_cast<long long>(t->tm_year) + 1900;
  int wdayMon = (t->tm_wday + 6) % 7;  // Monday = 0
  int week = (t->tm_yday - wdayMon + 10) / 7;
  int jan1 = jan1Weekday(t);
  if (week < 1) {
    int prevJan1 = ((jan1 - (isLeap(year - 1) ? 366 : 365)) % 7 + 7) % 7;
    return isoWeeks(year - 1, prevJan1);
  }
  if (week > isoWeeks(year, jan1)) return 1;
  return week;
}

uint32_t walk(Ctx& c, char* out, int32_t* pos, int32_t outlen, const char* fmt, int32_t fmtlen, unsigned active);

// Expands a locale format item (79, 80, 81) in place.
uint32_t expandItem(Ctx& c, char* out, int32_t* pos, int32_t outlen, int item, unsigned active) {
  unsigned bit = item == GC_ITEM_TIME_FMT ? kActiveTime : (item == GC_ITEM_SDATE_FMT ? kActiveShort : kActiveLong);
  if (active & bit) return GC_E_FORMAT;  // the format names itself
  char fmt[kText];
  if (gcfmtTextItem(c.loc, item, fmt, sizeof fmt, c.itemflag) < 0) return GC_E_NO_ITEM;
  return walk(c, out, pos, outlen, fmt, static_cast<int32_t>(std::strlen(fmt)), active | bit);
}

uint32_t expandBuiltin(Ctx& c, char* out, int32_t* pos, int32_t outlen, const char* ascii, unsigned active) {
  char fmt[24];
  const size_t n = std::strlen(ascii);
  for (size_t i = 0; i <= n; ++i) fmt[i] = gcfmt::pageChar(ascii[i], c.ascii);
  return walk(c, out, pos, outlen, fmt, static_cast<int32_t>(n), active);
}

uint32_t expand(Ctx& c, char* out, int32_t* pos, int32_t outlen, const char* fmt, int32_t* fpos, int32_t fmtlen,
                unsigned active) {
  const unsigned char* f = reinterpret_cast<const unsigned char*>(fmt);
  int32_t i = *fpos + 1;  // past the '%'
  auto at = [&](int32_t k) { return gcfmt::parseByte(f[k], c.ascii); };
  bool alt = false;
  int modifier = 0;
  if (i < fmtlen && at(i) == '#') {
    alt = true;
    ++i;
  }
  if (i < fmtlen && (at(i) == 'E' || at(i) == 'O')) {
    modifier = at(i) == 'E' ? 1 : 2;
    ++i;
  }
  if (i >= fmtlen) {
    *fpos = i;
    return GC_E_FORMAT;
  }
  unsigned char d = at(i);
  *fpos = i + 1;
  int refuse = refused(d);
  if (d == 'E' || d == 'O' || refuse < 0) return GC_E_FORMAT;
  if (modifier & refuse) return GC_E_FORMAT;

  const struct tm* t = c.t;
  const bool wdayOk = t->tm_wday >= 0 && t->tm_wday <= 6;
  const bool monOk = t->tm_mon >= 0 && t->tm_mon <= 11;
  const bool hourOk = t->tm_hour >= 0 && t->tm_hour <= 23;
  const bool ydayOk = t->tm_yday >= 0 && t->tm_yday <= 365;
  const bool mdayOk = t->tm_mday >= 0 && t->tm_mday <= 31;
  const long long year = static_cast<long long>(t->tm_year) + 1900;
  auto num = [&](long value, int width) {
    return GCStrWriteNumber(out, pos, outlen, static_cast<uint32_t>(value), width, c.ascii, alt);
  };
  auto spaced = [&](int value) {
    if (value < 10) {
      uint32_t s = putByte(out, pos, outlen, cpSpace(c.ascii));
      if (s) return s;
      return GCStrWriteNumber(out, pos, outlen, static_cast<uint32_t>(value), 1, c.ascii, 0);
    }
    return GCStrWriteNumber(out, pos, outlen, static_cast<uint32_t>(value), 2, c.ascii, 0);
  };
  switch (d) {
    case 'a':
      if (!wdayOk) return GC_E_NOT_FOUND;
      return GCStrWriteWord(c.loc, out, pos, outlen, GC_ITEM_ABDAY + t->tm_wday, c.itemflag);
    case 'A':
      if (!wdayOk) return GC_E_NOT_FOUND;
      return GCStrWriteWord(c.loc, out, pos, outlen, GC_ITEM_DAY + t->tm_wday, c.itemflag);
    case 'b':
    case 'h':
      if (!monOk) return GC_E_NOT_FOUND;
      return GCStrWriteWord(c.loc, out, pos, outlen, GC_ITEM_ABMONTH + t->tm_mon, c.itemflag);
    case 'B':
      if (!monOk) return GC_E_NOT_FOUND;
      return GCStrWriteWord(c.loc, out, pos, outlen, GC_ITEM_MONTH + t->tm_mon, c.itemflag);
    case 'c': {
      // A date that fills the output leaves no room for the time: the text
      // is cut, not complete.
      uint32_t s = expandItem(c, out, pos, outlen, alt ? GC_ITEM_LDATE_FMT : GC_ITEM_SDATE_FMT, active);
      if (s) return s;
      s = putByte(out, pos, outlen, cpSpace(c.ascii));
      if (s) return s;
      return expandItem(c, out, pos, outlen, GC_ITEM_TIME_FMT, active);
    }
    case 'C': {
      long long century = year / 100;
      if (year < 0 || century < 1 || century > 99) return GC_E_NOT_FOUND;
      return num(static_cast<long>(century), 2);
    }
    case 'd':
      if (!mdayOk) return GC_E_NOT_FOUND;
      return num(t->tm_mday, 2);
    case 'D':
      return expandBuiltin(c, out, pos, outlen, alt ? "%#m/%#d/%y" : "%m/%d/%y", active);
    case 'e':
      if (!mdayOk) return GC_E_NOT_FOUND;
      return spaced(t->tm_mday);
    case 'H':
      if (!hourOk) return GC_E_NOT_FOUND;
      return num(t->tm_hour, 2);
    case 'I':
      if (!hourOk) return GC_E_NOT_FOUND;
      return num(t->tm_hour % 12 == 0 ? 12 : t->tm_hour % 12, 2);
    case 'j':
      if (!ydayOk) return GC_E_NOT_FOUND;
      return num(t->tm_yday, 3);
    case 'k':
      if (!hourOk) return GC_E_NOT_FOUND;
      return spaced(t->tm_hour);
    case 'l':
      if (!hourOk) return GC_E_NOT_FOUND;
      return spaced(t->tm_hour % 12 == 0 ? 12 : t->tm_hour % 12);
    case 'm':
      if (!monOk) return GC_E_NOT_FOUND;
      return num(t->tm_mon + 1, 2);
    case 'M':
      if (t->tm_min < 0 || t->tm_min > 59) return GC_E_NOT_FOUND;
      return num(t->tm_min, 2);
    case 'n': {
      char eol[8];
      int n = gcfmtEol(c.loc, c.flags & 0xF00, eol);
      if (*pos + n > outlen) return GC_E_BUFFER;
      std::memcpy(out + *pos, eol, static_cast<size_t>(n));
      *pos += n;
      return GC_OK;
    }
    case 'p':
      if (!hourOk) return GC_E_NOT_FOUND;
      return GCStrWriteWord(c.loc, out, pos, outlen, t->tm_hour < 12 ? GC_ITEM_AM : GC_ITEM_PM, c.itemflag);
    case 'r':
    case 'X':
      return expandItem(c, out, pos, outlen, GC_ITEM_TIME_FMT, active);
    case 'R':
      return expandBuiltin(c, out, pos, outlen, alt ? "%#H:%#M" : "%H:%M", active);
    case 'S':
      if (t->tm_sec < 0 || t->tm_sec > 59) return GC_E_NOT_FOUND;
      return num(t->tm_sec, 2);
    case 't':
      return putByte(out, pos, outlen, cpTab(c.ascii));
    case 'T':
      return expandBuiltin(c, out, pos, outlen, alt ? "%#H:%#M:%#S" : "%H:%M:%S", active);
    case 'u':
      if (!wdayOk) return GC_E_NOT_FOUND;
      return num(t->tm_wday + 1, 1);
    case 'U':
      if (!wdayOk || !ydayOk) return GC_E_NOT_FOUND;
      return num(t->tm_yday / 7 + (t->tm_yday % 7 >= t->tm_wday ? 1 : 0), 2);
    case 'V':
      if (!wdayOk || !ydayOk) return GC_E_NOT_FOUND;
      return num(isoWeek(t), 2);
    case 'w':
      if (!wdayOk) return GC_E_NOT_FOUND;
      return num(t->tm_wday, 1);
    case 'W': {
      if (!wdayOk || !ydayOk) return GC_E_NOT_FOUND;
      int from = t->tm_wday == 0 ? 6 : t->tm_wday - 1;
      return num(t->tm_yday / 7 + (t->tm_yday % 7 >= from ? 1 : 0), 2);
    }
    case 'x':
      return expandItem(c, out, pos, outlen, alt ? GC_ITEM_LDATE_FMT : GC_ITEM_SDATE_FMT, active);
    case 'y':
      return num(static_cast<long>(((year % 100) + 100) % 100), 2);
    case 'Y':
      return writeWide(out, pos, outlen, year, 4, c.ascii, alt);
    case 'z':
    case 'Z':
      return GC_OK;
    case '%':
      return putByte(out, pos, outlen, cpPercent(c.ascii));
    default:
      return GC_E_FORMAT;
  }
}

uint32_t walk(Ctx& c, char* out, int32_t* pos, int32_t outlen, const char* fmt, int32_t fmtlen, unsigned active) {
  const unsigned char* f = reinterpret_cast<const unsigned char*>(fmt);
  int32_t i = 0;
  uint32_t status = GC_OK;
  GCFmtWalk walk;
  gcfmtWalkInit(&walk, c.loc);
  while (i < fmtlen && *pos < outlen) {
    int len = c.single ? 1 : gcfmtWalkLen(&walk, f[i]);
    if (len > 1) {
      if (i + len > fmtlen) {
        i = fmtlen;  // the format ends before the cut character
        break;
      }
      if (*pos + len > outlen) {
        status = GC_E_BUFFER;
        break;
      }
      std::memcpy(out + *pos, fmt + i, static_cast<size_t>(len));
      *pos += len;
      i += len;
      continue;
    }
    if (gcfmt::parseByte(f[i], c.ascii) == '%') {
      status = expand(c, out, pos, outlen, fmt, &i, fmtlen, active);
      if (status) break;
      continue;
    }
    out[(*pos)++] = fmt[i++];
  }
  if (status == GC_OK && i < fmtlen && *pos >= outlen) status = GC_E_BUFFER;
  return status;
}

}  // namespace

uint32_t GCStrWriteNumber(char* out, int32_t* pos, int32_t outlen, uint32_t value, int width, int ascii,
                          int suppress) {
  char digits[16];
  int n = 0;
  if (width > 10) width = 10;
  if (value == 0 && suppress) {
    digits[n++] = cpZero(ascii != 0);
  } else {
    while (n < width && (!suppress || value != 0)) {
      digits[n++] = static_cast<char>(cpZero(ascii != 0) + static_cast<int>(value % 10));
      value /= 10;
    }
  }
  while (n > 0) {
    if (*pos >= outlen) return GC_E_BUFFER;
    out[(*pos)++] = digits[--n];
  }
  return GC_OK;
}

uint32_t GCStrWriteWord(GCLocale* locale, char* out, int32_t* pos, int32_t outlen, int item, uint32_t itemflag) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  char word[kText];
  if (gcfmtTextItem(loc, item, word, sizeof word, itemflag) < 0) return GC_E_NO_ITEM;
  int32_t room = outlen - *pos;
  int32_t len = static_cast<int32_t>(std::strlen(word));
  if (len <= room) {
    std::memcpy(out + *pos, word, static_cast<size_t>(len));
    *pos += len;
    return GC_OK;
  }
  int32_t i = 0;
  while (i < len) {
    int l = gcfmtCharLen(loc, static_cast<unsigned char>(word[i]));
    if (i + l > room) break;
    i += l;
  }
  std::memcpy(out + *pos, word, static_cast<size_t>(i));
  *pos += i;
  return GC_E_BUFFER;
}

uint32_t GCStrExpandTime(GCLocale* locale, const struct tm* time, char* out, int32_t* pos, int32_t outlen,
                         const char* format, int32_t* fpos, int32_t fmtlen, uint32_t itemflag, int ascii,
                         uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  Ctx c{loc, time, ascii != 0, (loc->flags & GC_LF_SINGLEBYTE) != 0, itemflag, flags};
  return expand(c, out, pos, outlen, format, fpos, fmtlen, 0);
}

int GCTimeToString(GCLocale* locale, const struct tm* time, char* buffer, int32_t length, const char* format,
                   int32_t fmtlen, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  const bool chars = (flags & GC_FL_CHARS) != 0;
  flags &= ~GC_FL_CHARS;
  if ((flags & ~uint32_t(0xF09)) || length < 0 || !time || !format) {
    loc->status = GC_E_ARG;
    return -1;
  }
  if (length == 0 || !buffer) {
    loc->status = GC_E_BUFFER;
    return 0;
  }
  const bool nul = (flags & GC_FL_NUL) != 0;
  if (chars && fmtlen > 0) fmtlen = gcfmtCharsToBytes(loc, format, fmtlen);
  if (fmtlen < 0 && (fmtlen = gcTextLen(format)) < 0) {
    loc->status = GC_E_ARG;
    return -1;
  }

  Ctx c{loc, time, gcfmtAscii(loc), (loc->flags & GC_LF_SINGLEBYTE) != 0, flags & GC_FL_ITEM, flags};
  char work[kWork];
  char* out = chars ? work : buffer;
  int32_t outlen = chars ? (length > kWork / 6 ? kWork : length * 6) : length;
  if (nul) --outlen;
  int32_t pos = 0;
  uint32_t status = outlen > 0 ? walk(c, out, &pos, outlen, format, fmtlen, 0) : (fmtlen > 0 ? GC_E_BUFFER : GC_OK);
  if (status != GC_OK && status != GC_E_BUFFER) {
    loc->status = status;
    return -1;
  }
  if (!chars) {
    if (nul) buffer[pos++] = '\0';
    loc->status = status;
    return pos;
  }
  // Whole characters of the work buffer, as many as the caller's length allows.
  // The bytes are bounded as the string conversion bounds them: length
  // characters of the code page's longest form, one byte kept for the NUL.
  int32_t room = nul ? length - 1 : length;
  const int32_t byteCap = gcfmtByteBound(loc, length) - (nul ? 1 : 0);
  const int32_t end = std::min(pos, byteCap);
  int32_t bytes = 0, count = 0;
  while (count < room && bytes < end) {
    int l = gcfmtCharLen(loc, static_cast<unsigned char>(work[bytes]));
    if (bytes + l > end) break;
    bytes += l;
    ++count;
  }
  if (bytes < pos) status = GC_E_BUFFER;
  std::memcpy(buffer, work, static_cast<size_t>(bytes));
  if (nul) {
    buffer[bytes] = '\0';
    ++count;
  }
  loc->status = status;
  return count;
}
