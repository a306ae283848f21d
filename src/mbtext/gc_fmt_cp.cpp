// Code-page facts for the formatters, read from the code page's main table
// (section 0 of the code-page object) with bounds checks.
#include "mbtext/gc_fmt_cp.h"

namespace {

// Offsets in the main table.
constexpr uint32_t kLeadLen = 10;
constexpr uint32_t kByteToUcs = 778;
constexpr uint32_t kClassTable = 1292;
constexpr uint32_t kCpFlags = 4364;
constexpr uint16_t kCpFlagAscii = 0x0001;
constexpr uint32_t kClassSpace = 0x040;

const uint8_t* mainTable(const GCLocale* locale, uint32_t need) {
  if (!locale || !locale->codepage) return nullptr;
  const GCObj* cp = locale->codepage;
  if (!cp->sect[0] || cp->sect_size[0] < need) return nullptr;
  return cp->sect[0];
}

}  // namespace

bool gcfmtAscii(const GCLocale* locale) {
  const uint8_t* t = mainTable(locale, kCpFlags + 2);
  if (!t) return true;
  uint16_t flags = static_cast<uint16_t>((t[kCpFlags] << 8) | t[kCpFlags + 1]);
  return (flags & kCpFlagAscii) != 0;
}

int gcfmtCharLen(const GCLocale* locale, unsigned char b) {
  if (!locale || (locale->flags & GC_LF_SINGLEBYTE)) return 1;
  const uint8_t* t = mainTable(locale, kLeadLen + 256);
  if (!t) return 1;
  int len = t[kLeadLen + b];
  return len < 1 ? 1 : (len > 4 ? 4 : len);
}

GCUChar gcfmtByteToUcs(const GCLocale* locale, unsigned char b) {
  const uint8_t* t = mainTable(locale, kByteToUcs + 512);
  if (!t) return b < 0x80 ? b : GC_UCS2_INVALID;
  return static_cast<GCUChar>((t[kByteToUcs + 2 * b] << 8) | t[kByteToUcs + 2 * b + 1]);
}

bool gcfmtIsSpace(const GCLocale* locale, unsigned char b) {
  const uint8_t* t = mainTable(locale, kClassTable + 1024);
  if (!t) return b == ' ' || (b >= 0x09 && b <= 0x0D);
  const uint8_t* w = t + kClassTable + 4 * b;
  uint32_t cls = (uint32_t(w[0]) << 24) | (uint32_t(w[1]) << 16) | (uint32_t(w[2]) << 8) | w[3];
  return (cls & kClassSpace) != 0;
}

int gcfmtNumChars(const GCLocale* locale, const char* text, int nbytes) {
  int chars = 0;
  int i = 0;
  while (i < nbytes) {
    int len = gcfmtCharLen(locale, static_cast<unsigned char>(text[i]));
    if (i + len > nbytes) break;
    i += len;
    ++chars;
  }
  return chars;
}

int gcfmtCharsToBytes(const GCLocale* locale, const char* text, int nchars) {
  int i = 0;
  for (int c = 0; c < nchars && text[i]; ++c) {
    int len = gcfmtCharLen(locale, static_cast<unsigned char>(text[i]));
    int k = 1;
    while (k < len && text[i + k]) ++k;
    if (k < len) break;
    i += len;
  }
  return i;
}

int gcfmtUnpack(uint32_t packed, char* out) {
  int n = 0;
  if (packed >= 0x1000000u) out[n++] = static_cast<char>(packed >> 24);
  if (packed & 0xFF0000u) out[n++] = static_cast<char>(packed >> 16);
  if (packed & 0xFF00u) out[n++] = static_cast<char>(packed >> 8);
  out[n++] = static_cast<char>(packed);
  return n;
}
