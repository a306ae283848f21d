#include "mbtext/gc_cp_utf8_int.h"

int gcUtf8Decode(const uint8_t* p, int32_t avail, uint32_t* cp) {
  *cp = 0xFFFD;
  if (avail == 0) return 0;
  uint8_t b0 = p[0];
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  }
  int n;
  uint32_t v;
  uint8_t lo = 0x80, hi = 0xBF; // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
    v = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    v = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;      // overlong below U+0800
    else if (b0 == 0xED) hi = 0x9F; // surrogates U+D800..U+DFFF
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    v = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;      // overlong below U+10000
    else if (b0 == 0xF4) hi = 0x8F; // beyond U+10FFFF
  } else {
    return 1; // continuation byte, C0/C1 overlong leads, F5..FF
  }
  for (int i = 1; i < n; ++i) {
    if (avail >= 0 && i >= avail) return 0; // cut by the end of the text
    uint8_t b = p[i];
    uint8_t l = i == 1 ? lo : 0x80, h = i == 1 ? hi : 0xBF;
    if (b < l || b > h) return 1;
    v = (v << 6) | (b & 0x3F);
  }
  *cp = v;
  return n;
}

int gcUtf8Encode(uint32_t cp, uint8_t out[4]) {
  if (cp < 0x80) {
    out[0] = uint8_t(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = uint8_t(0xC0 | (cp >> 6));
    out[1] = uint8_t(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = uint8_t(0xE0 | (cp >> 12));
    out[1] = uint8_t(0x80 | ((cp >> 6) & 0x3F));
    out[2] = uint8_t(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = uint8_t(0xF0 | (cp >> 18));
  out[1] = uint8_t(0x80 | ((cp >> 12) & 0x3F));
  out[2] = uint8_t(0x80 | ((cp >> 6) & 0x3F));
  out[3] = uint8_t(0x80 | (cp & 0x3F));
  return 4;
}
