#include <algorithm>
#include <cstring>

#include "mbtext/gc_conv_int.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_item_int.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_map_mb_int.h"
#include "mbtext/gc_str.h"

namespace {

// Up to this many first characters of the language's special list are
// looked at once per call; with more, every character asks the list.
constexpr int kSpecialFirsts = 16;

struct Mapper {
  GCLocale* loc;
  const GCObj* cp;
  GCMapMode mode;
  GCMapSpecialFn special;
  bool singleByte;
  bool utf8 = false;
  // The characters that start an entry of the language's special list (-1:
  // not known, every character asks the list).
  GCUChar firsts[kSpecialFirsts] = {};
  int firstCount = -1;

  // Only the language's own list is known ahead (other lists ask each time).
  void learnFirsts() {
    if (special == gcMapSpecial && loc->language)
      firstCount = gcLangSpecialFirsts(loc->language, int(mode.list), firsts, kSpecialFirsts);
  }
  bool mayBeSpecial(GCUChar c) const {
    if (firstCount < 0) return true;
    for (int i = 0; i < firstCount; ++i)
      if (firsts[i] == c) return true;
    return false;
  }

  // Ordinary mapping of the n-byte character at p (no special lists). A
  // single-byte locale has no width forms.
  void one(const uint8_t* p, int n, GCMapPiece* out) const {
    const bool width = mode.kind == GCMapKind::HalfToFull || mode.kind == GCMapKind::FullToHalf;
    gcMapChar(cp, singleByte && width ? GCMapKind::Copy : mode.kind, p, n, n > 1,
              [](const GCObj* page, const uint8_t* q, int m, bool) { return gcMapUcs2(page, q, m); }, out);
  }

  // Maps the whole source into the sink, character by character.
  void run(const uint8_t* src, int32_t srcLen, GCMapSink* sink) const {
    if (singleByte && !mode.special) {
      // One byte a character, and every mapping gives one byte.
      const int32_t n = std::min(srcLen, sink->cap);
      for (int32_t i = 0; i < n; ++i) {
        GCMapPiece piece;
        one(src + i, 1, &piece);
        sink->buf[i] = piece.bytes[0];
      }
      sink->len = n;
      return;
    }
    int32_t at = 0;
    while (at < srcLen) {
      const uint8_t* p = src + at;
      // An ASCII byte of UTF-8 is its own character and value.
      const bool ascii = utf8 && p[0] < 0x80;
      const int n = singleByte || ascii ? 1 : gcCpCharLen(cp, p, srcLen - at);
      if (n <= 0) break; // a character cut by the source length ends the mapping
      GCMapPiece piece;
      int32_t used = n;
      bool replaced = false;
      const GCUChar c = !mode.special ? 0 : ascii ? GCUChar(p[0]) : gcMapUcs2(cp, p, n);
      if (mode.special && mayBeSpecial(c)) {
        GCUChar r1 = 0;
        GCUChar r2 = 0;
        int found = special(loc, c, 0, &r1, &r2, mode.list);
        if (found == 0 && at + n < srcLen) {
          const int m = singleByte ? 1 : gcCpCharLen(cp, p + n, srcLen - at - n);
          if (m > 0) {
            found = special(loc, c, gcMapUcs2(cp, p + n, m), &r1, &r2, mode.list);
            if (found != 0) used = n + m;
          }
        }
        if (found == 1 || found == 2) {
          gcMapEncode(cp, r1, found == 2 ? r2 : 0, &piece);
          replaced = true;
        }
      }
      if (!replaced) one(p, n, &piece);
      if (!sink->put(piece.bytes, piece.len)) break;
      at += used;
    }
  }
};

} // namespace

int32_t gcMapStringWith(GCLocale* locale, char* dst, int32_t dstLen, const char* src,
                        int32_t srcLen, uint32_t flags, GCMapSpecialFn special) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  const GCMapMode mode = gcMapMode(flags);
  if (!gcMapArgsOk(mode, dst, dstLen, src, srcLen)) return gcMapFail(loc);
  const bool chars = (flags & GC_FL_CHARS) != 0;
  if (mode.kind == GCMapKind::Copy) {
    // Copy is the plain string copy, with the caller's lengths and unit.
    const int32_t copied = GCStrcpy(loc, dst, dstLen, src, srcLen, chars ? GC_FL_CHARS : 0);
    loc->status = GC_OK;
    return copied;
  }

  const GCObj* cp = loc->codepage;
  if (chars && srcLen > 0 && (loc->flags & GC_LF_SINGLEBYTE) == 0)
    srcLen = gcCpCharsToBytes(cp, src, 0, srcLen, false);
  if (srcLen < 0) {
    srcLen = gcMapTerminatedLength(src);
    if (srcLen < 0) return gcMapFail(loc);
  }

  Mapper mapper{loc, cp, mode, special, (loc->flags & GC_LF_SINGLEBYTE) != 0};
  if (mapper.special == nullptr) mapper.mode.special = false;
  mapper.utf8 = gcCpIsUtf8(cp);
  if (mapper.mode.special) mapper.learnFirsts();
  const auto* s = reinterpret_cast<const uint8_t*>(src);
  if (!chars) {
    GCMapSink sink{dst, dstLen};
    mapper.run(s, srcLen, &sink);
    loc->status = GC_OK;
    return sink.len;
  }

  // Lengths in characters: map into a bounded buffer, then hand over as many
  // whole characters as the destination length allows. The bytes stay within
  // dstLen of the code page's longest characters, as in the string conversion.
  char buffer[kGCMapCharBuffer];
  const int64_t room = std::min<int64_t>({int64_t(dstLen) * 6, kGCMapCharBuffer, gcConvByteBound(cp, dstLen)});
  GCMapSink sink{buffer, static_cast<int32_t>(room)};
  mapper.run(s, srcLen, &sink);
  int32_t at = 0;
  int32_t count = 0;
  while (at < sink.len && count < dstLen) {
    const int n = mapper.singleByte
                      ? 1
                      : gcCpCharLen(cp, reinterpret_cast<const uint8_t*>(buffer) + at, sink.len - at);
    if (n <= 0) break;
    at += n;
    ++count;
  }
  if (at > 0) std::memcpy(dst, buffer, static_cast<size_t>(at));
  loc->status = GC_OK;
  return count;
}

int32_t GCMapString(GCLocale* locale, char* dst, int32_t dstLen, const char* src, int32_t srcLen,
                    uint32_t flags) {
  return gcMapStringWith(locale, dst, dstLen, src, srcLen, flags, gcMapSpecial);
}
