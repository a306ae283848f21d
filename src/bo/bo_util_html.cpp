// HTML escaping of wide text. A wide system string of n characters is a
// system byte string of 2n bytes holding 16-bit characters, followed by a
// 16-bit zero.
#include <cstring>
#include <vector>

#include "bo/bo_util.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {

struct HtmlReserved {
  uint16_t ch;
  const char* entity;
  long length;
};

const HtmlReserved gaHTMLReserved[] = {
    {0x0026, "&amp;", long(std::strlen("&amp;"))},   {0x003C, "&lt;", long(std::strlen("&lt;"))},
    {0x003E, "&gt;", long(std::strlen("&gt;"))},     {0x0022, "&quot;", long(std::strlen("&quot;"))},
    {0xFF1C, "&lt;", long(std::strlen("&lt;"))},     {0xFF1E, "&gt;", long(std::strlen("&gt;"))},
    {0xFF06, "&amp;", long(std::strlen("&amp;"))},   {0xFF02, "&quot;", long(std::strlen("&quot;"))},
};

constexpr size_t kPrefixBytes = sizeof(uint32_t);
constexpr size_t kCharBytes = sizeof(uint16_t);

const HtmlReserved* reserved(uint16_t ch) {
  for (const HtmlReserved& r : gaHTMLReserved) {
    if (r.ch == ch) return &r;
  }
  return nullptr;
}

uint16_t char_at(const char* text, long i) {
  uint16_t c;
  std::memcpy(&c, text + size_t(i) * kCharBytes, kCharBytes);
  return c;
}

void put_char(char* text, long i, uint16_t c) { std::memcpy(text + size_t(i) * kCharBytes, &c, kCharBytes); }

// A zeroed wide system string of n characters with room for the 16-bit zero
// after them; its recorded length is 2n bytes.
char* wide_alloc(long n) {
  auto bytes = uint32_t(size_t(n) * kCharBytes);
  char* p = KBinSysAllocStringByteLen(nullptr, bytes + 1);
  if (!p) KAfxThrowMemoryException();
  std::memcpy(p - kPrefixBytes, &bytes, kPrefixBytes);
  return p;
}

long wide_length(const char* text) {
  long n = 0;
  while (char_at(text, n) != 0) ++n;
  return n;
}

// Encoded length of the first n characters; found when any is reserved.
long encoded_length(const char* text, long n, int& found) {
  long len = 0;
  found = 0;
  for (long i = 0; i < n; ++i) {
    const HtmlReserved* r = reserved(char_at(text, i));
    if (r) found = 1;
    len += r ? r->length : 1;
  }
  return len;
}

// Writes the encoding of n characters into out (room for len characters).
void encode(const char* text, long n, char* out, long len) {
  long w = 0;
  for (long i = 0; i < n && w < len; ++i) {
    uint16_t c = char_at(text, i);
    const HtmlReserved* r = reserved(c);
    if (!r) {
      put_char(out, w++, c);
      continue;
    }
    for (long k = 0; k < r->length && w < len; ++k) put_char(out, w++, uint16_t(r->entity[k]));
  }
}

// The variant's text as 16-bit characters.
std::vector<char> wide_text_of(const tagKVARIANT& v) {
  if (v.vt == BO_VT_WIDESTR) {
    const char* p = v.bstrVal;
    return std::vector<char>(p, p + KBinSysStringByteLen(p));
  }
  KOleVariant text;
  tagKVARIANT src = v;
  if (KVariantChangeType(&text, &src, 0, KVT_KSTR) < 0)
    throw new KErr(KERR_ILLEGAL_ARGUMENT, "UtlHTMLEncode", "Unrecognized Variant Type");
  const char* bytes = text.bstrVal ? text.bstrVal : "";
  long n = kstrtounicode(nullptr, bytes, -1, 0, nullptr);
  std::vector<unsigned short> wide(size_t(n > 0 ? n : 0) + 1);
  long got = kstrtounicode(wide.data(), bytes, -1, long(wide.size()), nullptr);
  if (got < 0) got = 0;
  while (got > 0 && wide[size_t(got) - 1] == 0) --got; // the counted terminator
  std::vector<char> out(size_t(got) * kCharBytes);
  if (got > 0) std::memcpy(out.data(), wide.data(), out.size());
  return out;
}

} // namespace

char* UtlHTMLEncode(const tagKVARIANT& v) {
  std::vector<char> text = wide_text_of(v);
  long n = long(text.size() / kCharBytes);
  int found = 0;
  long len = encoded_length(text.data(), n, found);
  char* out = wide_alloc(len);
  if (!found) {
    if (n > 0) std::memcpy(out, text.data(), size_t(n) * kCharBytes);
    return out;
  }
  encode(text.data(), n, out, len);
  return out;
}

void UtlHTMLEncodePreProcess(char* text, int* found, long* len) {
  int any = 0;
  long n = text ? encoded_length(text, wide_length(text), any) : 0;
  if (found) *found = any;
  if (len) *len = n;
}

void UtlHTMLEncodeIt(char* text, char** out, long len) {
  if (!out) return;
  if (len < 0) len = 0;
  *out = wide_alloc(len);
  if (text) encode(text, wide_length(text), *out, len);
}

} // namespace KCLASSIC
