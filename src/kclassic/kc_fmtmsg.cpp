// KFormatMessage and its helpers: inserts %1, %2, ... filled in order of
// appearance from an array of texts or from a va_list, or the system text of
// an error number.
#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

#include "kclassic/kc_err.h"
#include "kclassic/kc_mb.h"

namespace KCLASSIC {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// One marker of a format text: where its insert goes.
struct Marker {
  size_t at;  // offset in the literal text
};

// The format text split into literal text and markers; the refusals are
// those of KFilterFormatString, which runs first.
void split_format(const char* source, std::string& literal, std::vector<Marker>& markers) {
  for (const char* p = source; *p;) {
    if (*p != '%') {
      const char* next = kstrinc(p);
      if (next <= p) next = p + 1;
      literal.append(p, size_t(next - p));
      p = next;
      continue;
    }
    ++p;
    while (is_digit(*p)) ++p;
    markers.push_back({literal.size()});
    if (*p == '!') {
      const char* close = std::strchr(p + 1, '!');
      p = close ? close + 1 : p + std::strlen(p);
    }
  }
}

// The inserts 1..count from an array of texts or a va_list (each a const char*).
std::vector<const char*> gather_inserts(unsigned count, void** args, bool isArray) {
  std::vector<const char*> v(count, nullptr);
  if (!args) return v;
  if (isArray) {
    for (unsigned i = 0; i < count; ++i) v[i] = static_cast<const char*>(args[i]);
    return v;
  }
  va_list ap;
  va_copy(ap, *reinterpret_cast<va_list*>(args));
  for (unsigned i = 0; i < count; ++i) v[i] = va_arg(ap, const char*);
  va_end(ap);
  return v;
}

// Whole characters of text that fit in max bytes.
size_t whole_chars(const char* text, size_t len, size_t max) {
  if (len <= max) return len;
  size_t n = 0;
  for (const char* p = text; *p;) {
    const char* next = kstrinc(p);
    if (next <= p) next = p + 1;
    if (size_t(next - text) > max) break;
    n = size_t(next - text);
    p = next;
  }
  return n;
}

[[noreturn]] void refuse(long code, const char* method, const char* insert) { throw new KErr(code, method, insert); }

} // namespace

unsigned long KFilterFormatString(const char* source, char* out, long* count) {
  if (!source || !*source) return 0;
  unsigned long length = 0;
  for (const char* p = source; *p;) {
    if (*p != '%') {
      const char* next = kstrinc(p);
      if (next <= p) next = p + 1;
      size_t n = size_t(next - p);
      std::memcpy(out, p, n);
      out += n;
      length += n;
      p = next;
      continue;
    }
    ++p;
    if (!is_digit(*p)) throw new KErr(KERR_NOT_SUPPORTED, "KFilterFormatString");
    *out++ = '%';
    ++length;
    if (count) ++*count;
    *out++ = 's';
    while (is_digit(*p)) ++p;
    if (*p == '!') {
      const char* close = std::strchr(p + 1, '!');
      if (!close) throw new KErr(KERR_INVALID_FORMAT, "KFilterFormatString", "No matching ! in the string");
      p = close + 1;
    }
  }
  *out = 0;
  return length;
}

unsigned long KCalculateInsertLength(long count, void** args, int isArray) {
  if (count <= 0 || !args) return 0;
  unsigned long total = 0;
  for (const char* s : gather_inserts(unsigned(count), args, isArray != 0)) total += (s ? std::strlen(s) : 0) + 1;
  return total;
}

long KMakeCompleteString(char* out, const char* text, void** args) {
  if (!out || !text) return -1;
  size_t next = 0;
  for (const char* p = text; *p;) {
    if (p[0] == '%' && p[1] == 's') {
      const char* ins = args ? static_cast<const char*>(args[next++]) : nullptr;
      size_t n = ins ? std::strlen(ins) : 0;
      std::memcpy(out, ins ? ins : "", n);
      out += n;
      p += 2;
    } else {
      *out++ = *p++;
    }
  }
  *out = 0;
  return 0;
}

unsigned long KFormatMessage(unsigned long flags, const void* source, unsigned long messageId, char* buffer,
                             unsigned long size, void** args) {
  if ((flags & KFORMAT_MESSAGE_MAX_WIDTH_MASK) == 0xFF || (flags & KFORMAT_MESSAGE_IGNORE_INSERTS) ||
      (flags & KFORMAT_MESSAGE_FROM_HMODULE))
    throw new KErr(KERR_NOT_SUPPORTED, "KFormatMessage");
  const bool fromString = (flags & KFORMAT_MESSAGE_FROM_STRING) != 0;
  const bool fromSystem = (flags & KFORMAT_MESSAGE_FROM_SYSTEM) != 0;
  if (fromString && fromSystem) refuse(KERR_ILLEGAL_ARGUMENT, "KFormatMessage", "Mutually exclusive flags used");
  if (fromString && !source) refuse(KERR_ILLEGAL_ARGUMENT, "KFormatMessage", "Mutually exclusive values used");
  if (!buffer) refuse(KERR_ILLEGAL_ARGUMENT, "KFormatMessage", "lpBuffer");

  if (!fromString && !fromSystem) return 0; // no text to produce

  std::string text;
  if (fromSystem) {
    const char* sys = strerrordesc_np(int(messageId));
    if (!sys || messageId > 0x7FFFFFFF)
      refuse(KERR_ILLEGAL_ARGUMENT, "KFormatMessage", "nMessageId - Out of Range");
    text = sys;
  } else {
    const char* fmt = static_cast<const char*>(source);
    std::vector<char> filtered(std::strlen(fmt) + 2);
    long count = 0;
    if (KFilterFormatString(fmt, filtered.data(), &count) == 0)
      refuse(KERR_INVALID_FORMAT, "KFormatMessage", "Could not format input string");
    std::string literal;
    std::vector<Marker> markers;
    split_format(fmt, literal, markers);
    // Each marker, whatever its number, takes the next insert: the
    // markers become "%s" conversions (KFilterFormatString).
    std::vector<const char*> inserts =
        gather_inserts(unsigned(markers.size()), args, (flags & KFORMAT_MESSAGE_ARGUMENT_ARRAY) != 0);
    size_t at = 0;
    for (size_t k = 0; k < markers.size(); ++k) {
      text.append(literal, at, markers[k].at - at);
      at = markers[k].at;
      text += inserts[k] ? inserts[k] : "";
    }
    text.append(literal, at, std::string::npos);
  }

  const unsigned long length = text.size();
  if (flags & KFORMAT_MESSAGE_ALLOCATE_BUFFER) {
    char* out = new (std::nothrow) char[(size > length ? size : length) + 1];
    if (!out) KAfxThrowMemoryException();
    std::memcpy(out, text.c_str(), length + 1);
    *reinterpret_cast<char**>(buffer) = out;
    return length;
  }
  if (size == 0) return 0;
  size_t n = whole_chars(text.c_str(), length, size - 1);
  std::memcpy(buffer, text.c_str(), n);
  buffer[n] = 0;
  return n;
}

} // namespace KCLASSIC
