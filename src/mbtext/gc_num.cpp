// Numbers to text.
#include "mbtext/gc_num.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "mbtext/gc_fmt_cp_int.h"
#include "mbtext/gc_fmt_int.h"
#include "mbtext/gc_fmt_item_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_strto.h"

namespace {

constexpr int kWork = 512;       // text of the integer work area
constexpr int kNoGroup = 512;    // group size that places no separator

char cpDigit(int d, bool ascii) { return static_cast<char>((ascii ? 0x30 : 0xF0) + d); }
char cpMinus(bool ascii) { return ascii ? '-' : static_cast<char>(0x60); }

// Walks the group sizes of a grouping text.
class Grouping {
 public:
  Grouping(GCLocale* loc, const char* text, bool active)
      : loc_(loc), next_(active && text[0] ? text : nullptr), remaining_(static_cast<int32_t>(std::strlen(text))) {}

  // The first size; kNoGroup when there is none or it is not positive.
  int first() {
    int s = read();
    if (s <= 0) {
      done_ = true;
      return kNoGroup;
    }
    size_ = s;
    return s;
  }
  // The size after a completed group.
  int following() {
    if (done_) return kNoGroup;
    if (repeat_) return size_;
    int s = read();
    if (s < 0) {
      done_ = true;
      return kNoGroup;
    }
    if (s == 0) {
      repeat_ = true;
      return size_;
    }
    size_ = s;
    return s;
  }

 private:
  int read() {
    if (!next_) return -1;
    const char* at = next_;
    return GCStrGroupingSize(loc_, at, &remaining_, &next_);
  }
  GCLocale* loc_;
  const char* next_;
  int32_t remaining_;
  int size_ = kNoGroup;
  bool repeat_ = false;
  bool done_ = false;
};

struct Common {
  GCLocale* loc;
  bool chars;
  bool ascii;
  int usable;
};

// Checks flags and length; returns false with *result set when the call ends.
bool begin(GCLocale* locale, int32_t length, uint32_t flags, uint32_t allowed, Common* c, int* result) {
  c->loc = gcLocaleOrDefault(locale);
  c->chars = (flags & GC_FL_CHARS) != 0;
  flags &= ~GC_FL_CHARS;
  if ((flags & ~allowed) || length < 0) {
    c->loc->status = GC_E_ARG;
    *result = -1;
    return false;
  }
  if (length == 0) {
    c->loc->status = GC_E_BUFFER;
    *result = 0;
    return false;
  }
  c->ascii = gcfmtAscii(c->loc);
  c->usable = (flags & GC_FL_NUL) ? length - 1 : length;
  return true;
}

// Copies the work area (least significant first) reversed behind what the
// buffer already holds, adds the NUL and sets the status and result.
int finish(const Common& c, const char* work, int wlen, char* buffer, int written, bool nul, bool cut) {
  int i = wlen;
  while (i > 0 && written < c.usable) buffer[written++] = work[--i];
  if (i > 0) cut = true;
  if (nul) buffer[written++] = '\0';
  c.loc->status = cut ? GC_E_BUFFER : GC_OK;
  if (c.chars && written > 0) return gcfmtNumChars(c.loc, buffer, written);
  return written;
}

}  // namespace

int GCLongToString(GCLocale* locale, int32_t value, char* buffer, int32_t length, uint32_t flags) {
  Common c{};
  int result = 0;
  if (!begin(locale, length, flags, 0x89, &c, &result)) return result;
  if (!buffer) {
    c.loc->status = GC_E_ARG;
    return -1;
  }
  flags &= ~GC_FL_CHARS;
  char sep[4] = {0};
  char grouping[32] = {0};
  const uint32_t itemflag = flags & GC_FL_ITEM;
  gcfmtTextItem(c.loc, GC_ITEM_THOUSANDS, sep, sizeof sep, itemflag);
  gcfmtTextItem(c.loc, GC_ITEM_GROUPING, grouping, sizeof grouping, itemflag);
  const bool isUnsigned = (flags & GC_NUM_UNSIGNED_VALUE) != 0;
  const bool negative = !isUnsigned && value < 0;
  uint32_t mag = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);

  int written = 0;
  if (negative && c.usable > 0) buffer[written++] = cpMinus(c.ascii);
  bool cut = negative && c.usable <= 0;

  char work[kWork];
  int wlen = 0;
  Grouping groups(c.loc, grouping, sep[0] != 0);
  int size = kNoGroup;
  int inGroup = 0;
  bool firstDigit = true;
  do {
    work[wlen++] = cpDigit(static_cast<int>(mag % 10), c.ascii);
    mag /= 10;
    if (firstDigit) {
      size = groups.first();
      firstDigit = false;
    }
    if (++inGroup == size && wlen < kWork) {
      work[wlen++] = sep[0];
      inGroup = 0;
      size = groups.following();
    }
  } while (mag > 0 && wlen < kWork);
  if (wlen > 0 && work[wlen - 1] == sep[0] && sep[0]) --wlen;  // no separator before the first digit
  return finish(c, work, wlen, buffer, written, (flags & GC_FL_NUL) != 0, cut);
}

int GCDoubleToString(GCLocale* locale, double value, char* buffer, int32_t length, uint32_t flags) {
  Common c{};
  int result = 0;
  if (!begin(locale, length, flags, 0x400009, &c, &result)) return result;
  if (!buffer) {
    c.loc->status = GC_E_ARG;
    return -1;
  }
  flags &= ~GC_FL_CHARS;
  char dec[5] = {0};
  char sep[5] = {0};
  char grouping[32] = {0};
  const uint32_t itemflag = flags & GC_FL_ITEM;
  gcfmtTextItem(c.loc, GC_ITEM_DECIMAL, dec, sizeof dec, itemflag);
  gcfmtTextItem(c.loc, GC_ITEM_THOUSANDS, sep, sizeof sep, itemflag);
  gcfmtTextItem(c.loc, GC_ITEM_GROUPING, grouping, sizeof grouping, itemflag);
  const bool nul = (flags & GC_FL_NUL) != 0;

  if (!std::isfinite(value)) {
    // Sign and word in the code page's form.
    const char* word = std::isnan(value) ? "nan" : "inf";
    char work[4];
    int wlen = 0;
    for (int i = 2; i >= 0; --i) work[wlen++] = gcfmt::pageChar(word[i], c.ascii);
    int written = 0;
    bool cut = false;
    if (std::signbit(value)) {
      if (c.usable > 0)
        buffer[written++] = cpMinus(c.ascii);
      else
        cut = true;
    }
    return finish(c, work, wlen, buffer, written, nul, cut);
  }

  char text[kWork];
  GCCLocaleScope cLocale;  // '.' and ASCII digits from the formatter
  int tlen = (flags & GC_NUM_PLAIN_FRACTION) ? std::snprintf(text, sizeof text, "%f", value)
                                             : std::snprintf(text, sizeof text, "%.*f", gcfmtDigits(c.loc, itemflag), value);
  if (tlen < 0 || tlen >= static_cast<int>(sizeof text)) {
    c.loc->status = GC_E_ARG;
    return -1;
  }
  const bool negative = text[0] == '-';

  char work[3 * kWork];
  int wlen = 0;
  const char* point = std::strchr(text, '.');
  int intEnd = point ? static_cast<int>(point - text) : tlen;
  if (point) {
    for (int i = tlen - 1; i > intEnd; --i) work[wlen++] = cpDigit(text[i] - '0', c.ascii);
    if (dec[0]) work[wlen++] = dec[0];
  }
  Grouping groups(c.loc, grouping, sep[0] != 0);
  int size = sep[0] && grouping[0] ? groups.first() : kNoGroup;
  int inGroup = 0;
  for (int i = intEnd - 1; i >= 1; --i) {
    work[wlen++] = cpDigit(text[i] - '0', c.ascii);
    if (++inGroup == size) {
      inGroup = 0;
      if (i - 1 >= 1 || (i - 1 == 0 && !negative)) {
        work[wlen++] = sep[0];
        size = groups.following();
      }
    }
  }
  if (!negative && intEnd >= 1) work[wlen++] = cpDigit(text[0] - '0', c.ascii);

  int written = 0;
  bool cut = false;
  if (negative) {
    if (c.usable > 0)
      buffer[written++] = cpMinus(c.ascii);
    else
      cut = true;
  }
  return finish(c, work, wlen, buffer, written, nul, cut);
}
