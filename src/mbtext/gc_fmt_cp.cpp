// Code-page facts for the formatters, from the locale's code page.
#include "mbtext/gc_fmt_cp_int.h"

#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_nav.h"
#include "mbtext/gc_str.h"

namespace {

const GCObj* codePage(const GCLocale* locale) {
  if (!locale || !locale->codepage || !gcObjSection(locale->codepage) ||
      locale->codepage->sect_size[0] < GC_CP_MAIN_SIZE)
    return nullptr;
  return locale->codepage;
}

// Lengths of single-byte pages and of UTF-8 by rule.
constexpr auto makeLens(bool utf8) {
  struct T {
    uint8_t v[256];
  } t{};
  for (int b = 0; b < 256; ++b) {
    uint8_t n = 1;
    if (utf8 && b >= 0xC2 && b <= 0xDF) n = 2;
    else if (utf8 && b >= 0xE0 && b <= 0xEF) n = 3;
    else if (utf8 && b >= 0xF0 && b <= 0xF4) n = 4;
    t.v[b] = n;
  }
  return t;
}
constexpr auto kSingleLens = makeLens(false);
constexpr auto kUtf8Lens = makeLens(true);

}  // namespace

void gcfmtLensInit(GCFmtLens* lens, const GCLocale* locale) {
  const GCObj* cp = (!locale || (locale->flags & GC_LF_SINGLEBYTE)) ? nullptr : codePage(locale);
  lens->single = !cp;
  if (!cp) lens->lead = kSingleLens.v;
  else if (gcCpIsUtf8(cp)) lens->lead = kUtf8Lens.v;
  else lens->lead = gcCpMain(cp) + GC_CPM_LEADLEN;
}

bool gcfmtAscii(const GCLocale* locale) {
  const GCObj* cp = codePage(locale);
  return cp ? gcCpIsAsciiBased(cp) : true;
}

int32_t gcfmtByteBound(const GCLocale* locale, int32_t chars) {
  if (!locale || (locale->flags & GC_LF_SINGLEBYTE)) return chars;
  const GCObj* cp = codePage(locale);
  return cp ? gcConvByteBound(cp, chars) : chars;
}

int gcfmtCharLen(const GCLocale* locale, unsigned char b) {
  GCFmtLens lens;
  gcfmtLensInit(&lens, locale);
  return gcfmtLen(&lens, b);
}

GCUChar gcfmtByteToUcs(const GCLocale* locale, unsigned char b) {
  const GCObj* cp = codePage(locale);
  if (!cp) return b < 0x80 ? b : GC_UCS2_INVALID;
  return gcCpByteToUcs2(cp, b);
}

bool gcfmtIsSpace(const GCLocale* locale, unsigned char b) {
  const GCObj* cp = codePage(locale);
  if (!cp) return b == ' ' || (b >= 0x09 && b <= 0x0D);
  return (gcCpByteClass(cp, b) & GC_C_SPACE) != 0;
}

int gcfmtNumChars(const GCLocale* locale, const char* text, int nbytes) {
  if (!locale || nbytes <= 0) return 0;
  GCLocale* loc = const_cast<GCLocale*>(locale);
  const uint32_t keep = loc->status;
  int32_t n = GCNumChars(loc, text, nbytes, 0);
  loc->status = keep;
  return n < 0 ? 0 : n;
}

int gcfmtCharsToBytes(const GCLocale* locale, const char* text, int nchars) {
  const GCObj* cp = codePage(locale);
  if (!text || nchars <= 0) return 0;
  if (!cp) {
    int i = 0;
    while (i < nchars && text[i]) ++i;
    return i;
  }
  int32_t n = gcCpCharsToBytes(cp, text, 0, nchars, false);
  return n < 0 ? 0 : n;
}

int gcfmtUnpack(uint32_t packed, char* out) {
  int n = 0;
  if (packed >= 0x1000000u) out[n++] = static_cast<char>(packed >> 24);
  if (packed & 0xFF0000u) out[n++] = static_cast<char>(packed >> 16);
  if (packed & 0xFF00u) out[n++] = static_cast<char>(packed >> 8);
  out[n++] = static_cast<char>(packed);
  return n;
}

int gcfmtUcsToChar(const GCLocale* locale, GCUChar u, char* out) {
  const GCObj* cp = codePage(locale);
  if (!cp) {
    out[0] = u < 0x80 ? static_cast<char>(u) : '?';
    return 1;
  }
  return GCCpUnicodeToChar(cp, u, out);
}

int gcfmtEol(const GCLocale* locale, uint32_t flags, char* out) {
  GCLocale* loc = gcLocaleOrDefault(const_cast<GCLocale*>(locale));
  const uint32_t keep = loc->status;
  char* end = GCPutEol(loc, out, flags & 0xF00u);
  loc->status = keep;
  return end ? static_cast<int>(end - out) : 0;
}

locale_t gcfmtCLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

GCCLocaleScope::GCCLocaleScope() : old_(nullptr) {
  if (locale_t c = gcfmtCLocale()) old_ = uselocale(c);
}

GCCLocaleScope::~GCCLocaleScope() {
  if (old_) uselocale(old_);
}

void gcfmtWalkInit(GCFmtWalk* walk, const GCLocale* locale) {
  const GCObj* cp = codePage(locale);
  walk->loc = locale;
  gcfmtLensInit(&walk->lens, locale);
  walk->shift = cp && locale && (locale->flags & GC_LF_SHIFT) != 0 && !(locale->flags & GC_LF_SINGLEBYTE);
  walk->so = walk->shift ? gcCpShiftOut(cp) : 0;
  walk->si = walk->shift ? gcCpShiftIn(cp) : 0;
  int maxLen = cp ? gcCpMaxLen(cp) : 1;
  walk->maxLen = maxLen < 1 ? 1 : (maxLen > 4 ? 4 : maxLen);
  walk->state = 0;
}
