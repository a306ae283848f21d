// String conversion on one code-page object, and over the common code page.
#include <cstring>

#include "mbtext/gc_conv.h"
#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"

int32_t GCCpStrToUnicode(const GCObj* cp, const char* s, int32_t length, GCUChar* out) {
  if (!s || !out) return -1;
  if (length < 0) {
    length = gcTextLen(s);
    if (length <= 0) return -1;
  }
  GCConvReader r;
  gcConvReaderInit(&r, cp, gcCpMaxLen(cp) == 1 && !gcCpIsUtf8(cp), s, length);
  r.stopNul = true;
  return gcConvReadRun(&r, out, INT32_MAX);
}

int32_t GCCpUnicodeToStr(const GCObj* cp, const GCUChar* u, int state, int32_t length, char* out) {
  if (!u || !out) return 0;
  if (length < 0) {
    length = 0;
    while (u[length] != 0) ++length;
  }
  GCConvWriter w;
  gcConvWriterInit(&w, cp, state != 0);
  int32_t n = gcConvWriteRun(&w, u, length, reinterpret_cast<uint8_t*>(out));
  if (!w.shift) {
    out[n] = 0;
    return n;
  }
  // A shift-out code is always followed by its character, so an open
  // double-byte mode is closed with a shift-in code.
  if (w.dbcs) out[n++] = char(gcCpShiftIn(cp));
  return n;
}

namespace {

const GCObj* common_cp() {
  GCOctx* ocx = gcObjManager();
  if (!ocx) return nullptr;
  uint32_t st;
  return GCGetObjFromID(ocx, GC_CLASS_CODEPAGE, GC_CP_ID_ASCII, GC_FIND_LOAD, &st);
}

} // namespace

int32_t GCComStrToUnicode(const char* s, int32_t length, GCUChar* out) {
  const GCObj* cp = common_cp();
  if (!cp || !s || !out) return -1;
  bool counted = length >= 0;
  if (!counted) {
    length = gcTextLen(s);
    if (length < 1) return -1;
  }
  int32_t i = 0;
  for (; i < length && s[i] != 0; ++i) out[i] = gcCpByteToUcs2(cp, uint8_t(s[i]));
  out[i] = 0;
  return i;
}

int32_t GCComUnicodeToStr(const GCUChar* u, int32_t length, char* out) {
  const GCObj* cp = common_cp();
  if (!cp || !u || !out) return -1;
  if (length < 0) {
    length = 0;
    while (u[length] != 0) ++length;
    if (length < 1) return -1;
  }
  int32_t i = 0;
  for (; i < length && u[i] != 0; ++i) {
    char b[4];
    // One byte per unit: a value that needs more bytes takes the default
    // character.
    out[i] = GCCpUnicodeToChar(cp, u[i], b) == 1 ? b[0] : char(gcCpDefaultChar(cp));
  }
  out[i] = 0;
  return i;
}
