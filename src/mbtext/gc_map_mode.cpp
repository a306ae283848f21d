#include "mbtext/gc_len_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"

#include <cstring>

#include "mbtext/gc_locale.h"

int32_t gcMapFail(GCLocale* loc) {
  loc->status = GC_E_ARG;
  return -1;
}

bool gcMapArgsOk(const GCMapMode& mode, const void* dst, int32_t dstLen, const void* src, int32_t srcLen) {
  if (mode.kind == GCMapKind::Invalid || dstLen < 0) return false;
  return !((src == nullptr && srcLen != 0) || (dst == nullptr && dstLen != 0));
}

int32_t gcMapTerminatedLength(const char* s) {
  const int32_t n = gcTextLen(s);
  return n < 0 ? -1 : n + 1;
}

GCMapMode gcMapMode(uint32_t flags) {
  GCMapMode mode;
  switch (flags & ~GC_FL_CHARS) {
  case GC_MAP_COPY:
  case GC_MAP_COPY_EX:
    mode.kind = GCMapKind::Copy;
    break;
  case GC_MAP_HALF_TO_FULL:
    mode.kind = GCMapKind::HalfToFull;
    break;
  case GC_MAP_FULL_TO_HALF:
    mode.kind = GCMapKind::FullToHalf;
    break;
  case GC_MAP_LOWER:
    mode.kind = GCMapKind::Lower;
    mode.special = true;
    mode.list = GC_SPECIAL_LOWER;
    break;
  case GC_MAP_UPPER:
    mode.kind = GCMapKind::Upper;
    mode.special = true;
    mode.list = GC_SPECIAL_UPPER;
    break;
  case GC_MAP_LOWER_SIMPLE:
    mode.kind = GCMapKind::Lower;
    break;
  case GC_MAP_UPPER_SIMPLE:
    mode.kind = GCMapKind::Upper;
    break;
  case GC_MAP_DIGITS:
    mode.kind = GCMapKind::Digits;
    break;
  default:
    break;
  }
  return mode;
}
