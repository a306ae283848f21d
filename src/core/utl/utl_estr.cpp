#include "core/utl/utl_estr.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_mem_std.h"
#include "core/utl/utl_alrt.h"
#include "core/utl/utl_live.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"

namespace {

constexpr long kTypeEstrHeader = 522;
constexpr long kFormatBufSize = 41000;

long g_checking = 1;
utl_live_list<utl_ty_estr> g_live;
char g_format_buf[kFormatBufSize];

// True when p points into the string's own buffer (which may move as it
// grows).
bool inside(const utl_ty_estr* e, const void* p) {
  auto a = reinterpret_cast<uintptr_t>(p);
  auto s = reinterpret_cast<uintptr_t>(e->text);
  return a >= s && a < s + static_cast<uintptr_t>(e->size);
}

// Makes room for `need` bytes; growth is at least `piece` and the extend-by
// count, but not past the maximum.
long grow(utl_ty_estr* e, long need, long piece) {
  if (need <= e->size) return 0;
  if (need > std::numeric_limits<long>::max() / 2) return utl_alrt(UTL_TOO_LARGE, need);
  long step = piece > e->extend ? piece : e->extend;
  long nsize = e->size + step;
  if (e->max >= 1 && nsize > e->max) nsize = e->max;
  if (nsize < need) nsize = need;
  void* addr = e->text;
  if (long st = utl_mem_realloc(utl_mem_name(), 1, &nsize, &addr)) return st;
  e->text = static_cast<char*>(addr);
  e->size = nsize;
  return 0;
}

// True when the format asks for %n (never honoured).
bool has_n_conversion(const char* f) {
  for (const char* p = f; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0'123456789.*$hlLqjzt", *p)) ++p;
    if (*p == 'n') return true;
    if (!*p) break;
  }
  return false;
}

long format_into(utl_ty_estr* e, bool replace, const char* format, va_list args) {
  if (long st = utl_estr_check(e)) return st;
  if (!format || has_n_conversion(format)) return UTL_BAD_ARG;
  int n = std::vsnprintf(g_format_buf, sizeof g_format_buf, format, args);
  if (n < 0) return UTL_BAD_ARG;
  if (n > UTL_ESTR_MAX_FORMAT) return utl_alrt(UTL_ESTR_TOO_LONG, UTL_ESTR_MAX_FORMAT);
  if (replace) utl_estr_reset(e);
  return utl_estr_append_option(e, g_format_buf, 0);
}

}  // namespace

long utl_estr_check(utl_ty_estr* estr) {
  if (!estr || (g_checking && !g_live.contains(estr)))
    return utl_alrt(UTL_BAD_ESTR, reinterpret_cast<long>(estr));
  return 0;
}

long utl_estr_set_checking(long flag) {
  g_checking = flag ? 1 : 0;
  return 0;
}

long utl_estr_get_checking() { return g_checking; }

long utl_estr_create(const char* owner, const char* text, long size, long extend,
                     utl_ty_estr** estr) {
  if (extend != -1 && extend < 1) return UTL_BAD_ARG;
  long len = 0;
  if (text) {
    len = static_cast<long>(std::strlen(text));
    size = len + 1;
  } else if (size < 1) {
    return UTL_BAD_ARG;
  }
  const long htype = kTypeEstrHeader;
  const long hsize = sizeof(utl_ty_estr);
  void* haddr = nullptr;
  if (long st = utl_mem_alloc(owner, 1, &htype, &hsize, &haddr)) return st;
  const long ttype = CMN_TYP_CHAR;
  void* taddr = nullptr;
  if (long st = utl_mem_alloc(owner, 1, &ttype, &size, &taddr)) {
    utl_mem_free(owner, haddr);
    return st;
  }
  auto* e = static_cast<utl_ty_estr*>(haddr);
  e->length = len;
  e->size = size;
  e->extend = extend;
  e->owner = owner;
  e->text = static_cast<char*>(taddr);
  if (text) std::memcpy(e->text, text, len);
  e->text[len] = '\0';
  e->max = -1;
  e->flags = 0;
  g_live.link(e);
  *estr = e;
  return 0;
}

long utl_estr_free(const char* owner, utl_ty_estr* estr) {
  if (!estr) return 0;
  if (long st = utl_estr_check(estr)) return st;
  g_live.unlink(estr);
  utl_mem_free(owner, estr->text);
  utl_mem_free(owner, estr);
  return 0;
}

long utl_estr_reset(utl_ty_estr* estr) {
  if (long st = utl_estr_check(estr)) return st;
  estr->length = 0;
  estr->text[0] = '\0';
  estr->flags &= ~UTL_ESTR_CUT;
  return 0;
}

const char* utl_estr_get(utl_ty_estr* estr) {
  if (utl_estr_check(estr)) return nullptr;
  return estr->length == 0 ? "" : estr->text;
}

long utl_estr_get_size(utl_ty_estr* estr, const char** text, long* length) {
  if (long st = utl_estr_check(estr)) return st;
  if (text) *text = estr->text;
  if (length) *length = estr->length;
  return 0;
}

long utl_estr_get_length(utl_ty_estr* estr, long* length) {
  return utl_estr_get_size(estr, nullptr, length);
}

long utl_estr_append(utl_ty_estr* estr, const char* text) {
  return utl_estr_append_option(estr, text, 0);
}

namespace {

// Appends text (not inside the string) as utl_estr_append_option does.
long append_text(utl_ty_estr* estr, const char* text, long option) {
  const long k = static_cast<long>(std::strlen(text));
  long p = option ? k + 2 : k + 1;
  const long L = estr->length;
  bool cut = false;
  if (estr->max >= 1) {
    if (L >= estr->max) {
      estr->flags |= UTL_ESTR_CUT;
      return 0;
    }
    if (L + p > estr->max) {
      p = estr->max - L;
      cut = true;
    }
  }
  if (long st = grow(estr, L + p, p)) return st;
  char* t = estr->text;
  if (cut) {
    std::memmove(t + L, text, p - 1);
    t[L + p - 1] = '\0';
    // In zero-separated mode the last kept character gives way to the
    // piece's terminator (never a character of an earlier piece).
    if (option && p >= 2) t[L + p - 2] = '\0';
    estr->flags |= UTL_ESTR_CUT;
  } else {
    std::memmove(t + L, text, k);
    t[L + k] = '\0';
    if (option) t[L + k + 1] = '\0';
  }
  estr->length = L + p - 1;
  return 0;
}

}  // namespace

long utl_estr_append_option(utl_ty_estr* estr, const char* text, long option) {
  if (long st = utl_estr_check(estr)) return st;
  if (!text) return UTL_BAD_ARG;
  if (inside(estr, text)) {
    // A piece of the string's own text is copied aside before it may move.
    return osl_mem_guard(
        [&] {
          const osl_string own(text);
          return append_text(estr, own.c_str(), option);
        },
        [&] { return utl_alrt(UTL_NO_MEMORY, static_cast<long>(std::strlen(text)) + 1, utl_mem_name()); });
  }
  return append_text(estr, text, option);
}

namespace {

// Appends n bytes (not inside the string) and a terminator.
long append_bytes(utl_ty_estr* estr, const void* bytes, long n) {
  if (long st = grow(estr, estr->length + n + 1, n + 1)) return st;
  std::memmove(estr->text + estr->length, bytes, n);
  estr->length += n;
  estr->text[estr->length] = '\0';
  return 0;
}

}  // namespace

long utl_estr_append_binary(utl_ty_estr* estr, const void* bytes, long n) {
  if (long st = utl_estr_check(estr)) return st;
  if (n < 0 || (n > 0 && !bytes)) return UTL_BAD_ARG;
  if (n == 0) return 0;
  if (inside(estr, bytes)) {
    // Bytes of the string's own text are copied aside before they may move.
    return osl_mem_guard(
        [&] {
          const osl_string own(static_cast<const char*>(bytes), static_cast<size_t>(n));
          return append_bytes(estr, own.data(), n);
        },
        [&] { return utl_alrt(UTL_NO_MEMORY, n, utl_mem_name()); });
  }
  return append_bytes(estr, bytes, n);
}

long utl_estr_vsprintf(utl_ty_estr* estr, const char* format, va_list args) {
  return format_into(estr, true, format, args);
}

long utl_estr_vaprintf(utl_ty_estr* estr, const char* format, va_list args) {
  return format_into(estr, false, format, args);
}

long utl_estr_sprintf(utl_ty_estr* estr, const char* format, ...) {
  va_list args;
  va_start(args, format);
  long st = format_into(estr, true, format, args);
  va_end(args);
  return st;
}

long utl_estr_aprintf(utl_ty_estr* estr, const char* format, ...) {
  va_list args;
  va_start(args, format);
  long st = format_into(estr, false, format, args);
  va_end(args);
  return st;
}

long utl_estr_cpy(utl_ty_estr* estr, const char* text) {
  if (long st = utl_estr_check(estr)) return st;
  if (!text) return UTL_BAD_ARG;
  long n = 0;
  for (const char* p = text; *p && n <= UTL_ESTR_MAX_FORMAT; ++p, ++n) {
    g_format_buf[n] = *p;
    if (p[0] == '%' && p[1] == '%') ++p;
  }
  if (n > UTL_ESTR_MAX_FORMAT) return utl_alrt(UTL_ESTR_TOO_LONG, UTL_ESTR_MAX_FORMAT);
  g_format_buf[n] = '\0';
  utl_estr_reset(estr);
  return utl_estr_append_option(estr, g_format_buf, 0);
}

long utl_estr_set_max(utl_ty_estr* estr, long maximum) {
  if (long st = utl_estr_check(estr)) return st;
  estr->max = maximum < 1 ? -1 : maximum;
  return 0;
}

long utl_estr_get_max(utl_ty_estr* estr, long* maximum, char* cut) {
  if (long st = utl_estr_check(estr)) return st;
  if (maximum) *maximum = estr->max;
  if (cut) *cut = (estr->flags & UTL_ESTR_CUT) ? 1 : 0;
  return 0;
}

long utl_estr_write_at(utl_ty_estr* estr, long offset, const void* bytes, long n) {
  if (long st = utl_estr_check(estr)) return st;
  if (offset < 0 || n < 0 || offset > estr->length - n) return 1;
  if (n > 0) std::memmove(estr->text + offset, bytes, n);
  return 0;
}

long utl_estr_truncate(utl_ty_estr* estr, long n, long option) {
  if (long st = utl_estr_check(estr)) return st;
  if (n < 0) return 1;
  if (option == 0) {
    if (n > estr->length) return 1;
    estr->length = n;
    estr->text[n] = '\0';
    return 0;
  }
  if (n + 1 > estr->length) return 1;
  estr->length = n;
  estr->text[n] = '\0';
  estr->text[n + 1] = '\0';
  return 0;
}

long utl_estr_verify(utl_ty_estr* estr) { return estr ? utl_estr_check(estr) : 0; }
long utl_estr_verify_one(utl_ty_estr* estr) { return estr ? utl_estr_check(estr) : 0; }
long utl_estr_dump(utl_ty_estr*) { return 0; }
long utl_estr_dump_all() { return 0; }
long utl_estr_init() { return 0; }
long utl_estr_term() { return 0; }
