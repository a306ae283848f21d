// Searches in multibyte text: a character, a substring, spans of a set of
// characters, tokens, and the validity of a character.
#include <cstring>

#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_len_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_nav.h"
#include "mbtext/gc_str.h"
#include "mbtext/gc_str_int.h"

namespace {

// One character of a text read either up to a byte count or up to its NUL.
struct Reader {
  const GCLocale* loc;
  const uint8_t* s;
  int32_t len; // negative: up to the NUL
  int32_t pos = 0;

  // Length of the next character, 0 at the end. A character that a
  // non-negative length cuts is taken with its shorter length when
  // cutShort is set, else it ends the text.
  int next(bool cutShort) const {
    if (len < 0) return GCValidChar(const_cast<GCLocale*>(loc), reinterpret_cast<const char*>(s + pos));
    if (pos >= len) return 0;
    int n = gcStrCharLen(loc, s + pos, len - pos);
    if (n > 0) return n;
    return cutShort ? int(len - pos) : 0;
  }
};

bool inSet(const GCLocale* loc, const uint8_t* c, int n, const uint8_t* set, int32_t setLen) {
  Reader r{loc, set, setLen};
  for (;;) {
    int m = r.next(true);
    if (m < 1) return false;
    if (m == n && std::memcmp(set + r.pos, c, size_t(n)) == 0) return true;
    r.pos += m;
  }
}

int32_t span(GCLocale* locale, const char* str, int32_t len, const char* set, int32_t setLen,
             uint32_t flags, bool inside) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (!str) return 0;
  const bool chars = (flags & GC_FL_CHARS) != 0;
  gcStrPairToBytes(loc, str, &len, set, &setLen, &flags);
  if (len < 0 && gcTextLen(str) < 0) { // a span could not be counted
    loc->status = GC_E_ARG;
    return 0;
  }
  int32_t result;
  if (len < 0 && setLen < 0 && gcStrSingle(loc)) {
    result = int32_t(inside ? std::strspn(str, set) : std::strcspn(str, set));
  } else {
    const auto* s = reinterpret_cast<const uint8_t*>(str);
    Reader r{loc, s, len};
    for (;;) {
      int n = r.next(false);
      if (n < 1) break;
      bool found = inSet(loc, s + r.pos, n, reinterpret_cast<const uint8_t*>(set), setLen);
      if (found != inside) break;
      r.pos += n;
    }
    result = r.pos;
  }
  if (chars) {
    result = GCNumChars(loc, str, result, 0);
    loc->status = GC_OK;
  }
  return result;
}

} // namespace

int GCValidChar(GCLocale* locale, const char* p) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (!p || *p == 0) return 0;
  const auto* s = reinterpret_cast<const uint8_t*>(p);
  int L;
  if (gcStrSingle(loc)) {
    L = 1;
  } else if (gcCpIsUtf8(loc->codepage)) {
    L = gcStrLeadLen(loc, s);
  } else {
    L = gcCpLeadLen(loc->codepage, s[0]);
    if (L > 4) L = 4;
  }
  int n = 0;
  while (n < L && s[n] != 0) ++n;
  return n;
}

int32_t GCStrcspn(GCLocale* locale, const char* s, int32_t len, const char* set, int32_t setLen,
                  uint32_t flags) {
  return span(locale, s, len, set, setLen, flags, false);
}

int32_t GCStrspn(GCLocale* locale, const char* s, int32_t len, const char* set, int32_t setLen,
                 uint32_t flags) {
  return span(locale, s, len, set, setLen, flags, true);
}

const char* GCStrchr(GCLocale* locale, const char* str, int32_t len, const char* ch, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if ((flags & GC_FL_CHARS) && str && len > 0) len = gcStrCharsToBytes(loc, str, len);
  flags &= ~GC_FL_CHARS;
  if ((flags != 0 && flags != GC_CHR_LAST) || !ch) {
    loc->status = GC_E_ARG;
    return nullptr;
  }
  loc->status = GC_OK;
  if (!str) return nullptr;
  if (len < 0) {
    if ((len = gcTextLen(str)) < 0) {
      loc->status = GC_E_ARG;
      return nullptr;
    }
    ++len;
  }
  if (len == 0) return nullptr;
  const auto* s = reinterpret_cast<const uint8_t*>(str);
  const auto* c = reinterpret_cast<const uint8_t*>(ch);
  const int L = *c == 0 ? 1 : gcStrLeadLen(loc, c);
  const char* found = nullptr;
  int32_t pos = 0;
  while (pos < len) {
    int n = gcStrCharLen(loc, s + pos, len - pos);
    if (n < 1) break;
    if (n == L && std::memcmp(s + pos, c, size_t(L)) == 0) {
      found = str + pos;
      if (flags == 0) break;
    }
    pos += n;
  }
  return found;
}

const char* GCStrstr(GCLocale* locale, const char* str, int32_t len, const char* sub, int32_t subLen,
                     uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (!str) return nullptr;
  if (!sub) return str;
  gcStrPairToBytes(loc, str, &len, sub, &subLen, &flags);
  if ((len < 0 && (len = gcTextLen(str)) < 0) || (subLen < 0 && (subLen = gcTextLen(sub)) < 0)) {
    loc->status = GC_E_ARG;
    return nullptr;
  }
  if (subLen == 0) return str;
  if (len < subLen) return nullptr;
  const auto* s = reinterpret_cast<const uint8_t*>(str);
  if (gcStrSingle(loc)) {
    for (int32_t at = 0; at <= len - subLen; ++at)
      if (std::memcmp(s + at, sub, size_t(subLen)) == 0) return str + at;
    return nullptr;
  }
  subLen = gcStrWhole(loc, reinterpret_cast<const uint8_t*>(sub), subLen);
  int32_t at = 0;
  while (at <= len - subLen) {
    if (std::memcmp(s + at, sub, size_t(subLen)) == 0) return str + at;
    int n = gcStrCharLen(loc, s + at, len - at);
    if (n < 1) break;
    at += n;
  }
  return nullptr;
}

char* GCStrtok(GCLocale* locale, char* str, int32_t* remaining, const char* delims, int32_t delimLen,
               char** next, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  loc->status = GC_OK;
  if (next) *next = nullptr;
  if (!remaining) {
    loc->status = GC_E_ARG;
    return nullptr;
  }
  if (!str) {
    *remaining = 0;
    return nullptr;
  }
  const bool chars = (flags & GC_FL_CHARS) != 0;
  int32_t rem = *remaining;
  gcStrPairToBytes(loc, str, &rem, delims, &delimLen, &flags);
  if ((rem < 0 && (rem = gcTextLen(str)) < 0) || (delimLen < 0 && (delimLen = gcTextLen(delims)) < 0)) {
    loc->status = GC_E_ARG;
    return nullptr;
  }

  char* token = str;
  char* after = nullptr;
  int32_t n = GCStrcspn(loc, token, rem, delims, delimLen, 0);
  if (n == 0 && rem > 0) {
    int32_t skip = GCStrspn(loc, token, rem, delims, delimLen, 0);
    rem -= skip;
    if (rem >= 1) {
      token += skip;
      n = GCStrcspn(loc, token, rem, delims, delimLen, 0);
    } else {
      token = nullptr;
      rem = 0;
    }
  }
  if (token && n >= rem) {
    rem = 0;
  } else if (token) {
    int L = gcStrSingle(loc) ? 1 : gcStrLeadLen(loc, reinterpret_cast<uint8_t*>(token + n));
    if (L > rem - n) L = rem - n;
    rem -= n + L;
    std::memset(token + n, 0, size_t(L));
    after = rem >= 1 ? token + n + L : nullptr;
  }
  if (next) *next = after;
  if (chars && after) rem = GCNumChars(loc, after, rem, 0);
  *remaining = rem < 0 ? 0 : rem;
  loc->status = GC_OK;
  return token;
}

char* GCPutEol(GCLocale* locale, char* out, uint32_t flags) {
  GCLocale* loc = gcLocaleOrDefault(locale);
  if ((flags & ~uint32_t(GC_EOL_CODE1 | GC_EOL_CRLF | GC_EOL_CODE3 | GC_EOL_CODE4 | GC_EOL_LINE)) ||
      !out) {
    loc->status = GC_E_ARG;
    return nullptr;
  }
  loc->status = GC_OK;
  if (flags == 0) flags = GC_EOL_LINE;
  const GCObj* cp = loc->codepage;
  if (flags & GC_EOL_CODE4) *out++ = char(gcCpEol(cp, 3));
  if (flags & GC_EOL_CODE3) *out++ = char(gcCpEol(cp, 2));
  if (flags & GC_EOL_CODE1) *out++ = char(gcCpEol(cp, 0));
  if (flags & GC_EOL_CRLF) *out++ = char(gcCpEol(cp, 1));
  if (flags & (GC_EOL_CRLF | GC_EOL_LINE)) *out++ = char(gcCpEol(cp, 0));
  return out;
}
