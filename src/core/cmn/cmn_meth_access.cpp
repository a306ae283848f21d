// Typed field access of the built-in types: get (method 7), set (9) and
// address of (8), and the object-type name conversion of type 630.
//
// A char pointer or decimal cell holds a pointer to the text (a decimal's text
// starts its record), as cmn_typ_convert reads them: get as text hands out
// the pointer, set from text copies the text into the storage it points to
// (or, when it is null, stores the text's pointer).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"

namespace {

long unexpected(const char* proc, long type) {
  cmn_alrt_push(nullptr, proc, CMN_TYP_UNEXPECTED, 1, type);
  return CMN_TYP_UNEXPECTED;
}

long not_numeric(const char* proc, const char* text) {
  cmn_alrt_push(nullptr, proc, CMN_TYP_NOT_NUMERIC, 1, text != nullptr ? text : "");
  return CMN_TYP_NOT_NUMERIC;
}

// Storage of at least need bytes behind the slot: the slot's own storage when
// the size given reaches max(need, minimum), else a new block of that size.
long storage(void* slot, long size, long need, long minimum, long type, long* allocated, void** out) {
  void** p = static_cast<void**>(slot);
  const long bytes = need > minimum ? need : minimum;
  if (size < bytes || *p == nullptr) {
    void* block = nullptr;
    if (long rc = cmn_typ_alloc("cmn_typ_get", 1, &type, &bytes, &block)) return rc;
    std::memset(block, 0, static_cast<size_t>(bytes));
    *p = block;
    if (allocated != nullptr) *allocated = 1;
  }
  *out = *p;
  return 0;
}

// A text, measured first, into the slot's storage.
long put_text(void* slot, long size, long minimum, long* allocated, const std::string& text) {
  void* out = nullptr;
  long need = static_cast<long>(text.size()) + 1;
  if (long rc = storage(slot, size, need, minimum, CMN_TYP_CHAR_P, allocated, &out)) return rc;
  std::memcpy(out, text.c_str(), static_cast<size_t>(need));
  return 0;
}

template <class T>
long put_value(void* slot, long size, long type, long* allocated, T value) {
  void* out = nullptr;
  const long need = static_cast<long>(sizeof(T));
  if (long rc = storage(slot, size, need, need, type, allocated, &out)) return rc;
  std::memcpy(out, &value, sizeof value);
  return 0;
}

std::string format_long(long v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%ld", v);
  return buf;
}

std::string format_double(const char* fmt, double v) {
  int n = std::snprintf(nullptr, 0, fmt, v);
  std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
  std::snprintf(s.data(), s.size() + 1, fmt, v);
  return s;
}

// A "%ld" reading of a text: leading blanks, a sign and digits; the rest is
// ignored. No digits, or a value beyond the long's range, is refused.
bool scan_long(const char* text, long* value) {
  if (text == nullptr) return false;
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE) return false;
  *value = v;
  return true;
}

// A whole integer text between blanks.
bool integer_text(const char* text, long* value) {
  if (text == nullptr) return false;
  std::string s(text);
  size_t b = s.find_first_not_of(" \t");
  size_t e = s.find_last_not_of(" \t");
  if (b == std::string::npos) return false;
  s = s.substr(b, e - b + 1);
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (end == s.c_str() || *end != '\0' || errno == ERANGE) return false;
  *value = v;
  return true;
}

const char* text_cell(const void* value) {
  return value != nullptr ? *static_cast<const char* const*>(value) : nullptr;
}

// Converts a text into the field storage dest of type `type`.
long convert_text_into(const char* proc, void* value, long type, void* dest, long size) {
  void* slot = dest;
  long allocated = 0;
  long rc = cmn_typ_convert(-1, CMN_TYP_CHAR_P, value, type, &slot, size, &allocated);
  if (allocated == 1) {
    if (rc == 0) std::memcpy(dest, slot, static_cast<size_t>(size));
    cmn_typ_dealloc(proc, slot);
  }
  return rc;
}

// Room of a text field: a decimal's text, or unbounded for a char pointer
// field (its room is the caller's).
size_t text_room(const long* spec) {
  return spec[CMN_SPEC_FIELD_TYPE] == CMN_TYP_DECIMAL ? sizeof(cmn_ty_decimal::text) : 0;
}

void copy_text(void* dest, const long* spec, const char* text) {
  char*& target = *static_cast<char**>(dest);
  if (target == nullptr) {
    target = const_cast<char*>(text);
    return;
  }
  if (text == nullptr) text = "";
  size_t room = text_room(spec);
  if (room == 0) {
    std::strcpy(target, text);
  } else {
    std::snprintf(target, room, "%s", text);
  }
}

long address_of(void* element, void** address, long* spec, long second) {
  *address = element;
  spec[CMN_SPEC_ADDR1] = 1;
  spec[CMN_SPEC_ADDR2] = second;
  return 0;
}

}  // namespace

long cmn_typ_long_get(void* cell, long* spec, long size, void* dest, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  const long req = spec[CMN_SPEC_REQUESTED];
  const long v = *static_cast<const long*>(cell);
  if (req == CMN_TYP_LONG) return put_value(dest, size, CMN_TYP_LONG, allocated, v);
  if (req == CMN_TYP_CHAR_P) return put_text(dest, size, 11, allocated, format_long(v));
  const long field = spec[CMN_SPEC_FIELD_TYPE];
  if (field != CMN_TYP_LONG && field != CMN_TYP_CHAR_P) {
    return cmn_typ_convert(field, CMN_TYP_LONG, cell, req, dest, size, allocated);
  }
  return unexpected("cmn_typ_long_get", req);
}

long cmn_typ_long_set(void* dest, long* spec, void* value) {
  const long req = spec[CMN_SPEC_REQUESTED];
  if (req == CMN_TYP_LONG) {
    *static_cast<long*>(dest) = *static_cast<const long*>(value);
    return 0;
  }
  if (req == CMN_TYP_CHAR_P) {
    const char* text = text_cell(value);
    long v = 0;
    if (!integer_text(text, &v)) return not_numeric("cmn_typ_long_set", text);
    *static_cast<long*>(dest) = v;
    return 0;
  }
  return unexpected("cmn_typ_long_set", req);
}

long cmn_typ_long_gaddr(void* element, void*, void** address, long* spec) {
  return address_of(element, address, spec, 11);
}

long cmn_typ_char_p_get(void* cell, long* spec, long size, void* dest, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  const long req = spec[CMN_SPEC_REQUESTED];
  char* text = *static_cast<char**>(cell);
  if (req == CMN_TYP_CHAR_P) {
    *static_cast<char**>(dest) = text;
    return 0;
  }
  if (req == CMN_TYP_LONG) {
    long v = 0;
    if (!scan_long(text, &v)) return not_numeric("cmn_typ_char_p_get", text);
    return put_value(dest, size, CMN_TYP_LONG, allocated, v);
  }
  return unexpected("cmn_typ_char_p_get", req);
}

long cmn_typ_char_p_set(void* dest, long* spec, void* value) {
  const long req = spec[CMN_SPEC_REQUESTED];
  if (req == CMN_TYP_CHAR_P) {
    copy_text(dest, spec, text_cell(value));
    return 0;
  }
  if (req == CMN_TYP_LONG) {
    if (*static_cast<char**>(dest) == nullptr) return unexpected("cmn_typ_char_p_set", req);
    copy_text(dest, spec, format_long(*static_cast<const long*>(value)).c_str());
    return 0;
  }
  return unexpected("cmn_typ_char_p_set", req);
}

long cmn_typ_char_p_gaddr(void* element, void*, void** address, long* spec) {
  return address_of(element, address, spec, -1);
}

long cmn_typ_long_arr_get(void* cell, long* spec, long size, void* dest, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  const long req = spec[CMN_SPEC_REQUESTED];
  long* element = static_cast<long*>(cell) + spec[CMN_SPEC_INDEX];
  if (req == CMN_TYP_LONG) {
    *static_cast<long**>(dest) = element;  // the slot points at the element itself
    return 0;
  }
  if (req == CMN_TYP_CHAR_P) return put_text(dest, size, 11, allocated, format_long(*element));
  (void)size;
  return unexpected("cmn_typ_long_arr_get", req);
}

long cmn_typ_long_arr_set(void* dest, long* spec, void* value) {
  const long req = spec[CMN_SPEC_REQUESTED];
  long* element = static_cast<long*>(dest) + spec[CMN_SPEC_INDEX];
  if (req == CMN_TYP_LONG) {
    *element = *static_cast<const long*>(value);
    return 0;
  }
  if (req == CMN_TYP_CHAR_P) {
    const char* text = text_cell(value);
    long v = 0;
    if (!scan_long(text, &v)) return not_numeric("cmn_typ_long_arr_set", text);
    *element = v;
    return 0;
  }
  return unexpected("cmn_typ_long_arr_set", req);
}

long cmn_typ_long_arr_gaddr(void* element, void*, void** address, long* spec) {
  return address_of(static_cast<long*>(element) + spec[CMN_SPEC_INDEX], address, spec, -1);
}

long cmn_typ_float_get(void* cell, long* spec, long size, void* dest, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  const long req = spec[CMN_SPEC_REQUESTED];
  const float v = *static_cast<const float*>(cell);
  if (req == CMN_TYP_FLOAT) return put_value(dest, size, CMN_TYP_FLOAT, allocated, v);
  if (req == CMN_TYP_CHAR_P) return put_text(dest, size, 40, allocated, format_double("%.2f", v));
  return unexpected("cmn_typ_float_get", req);
}

long cmn_typ_float_set(void* dest, long* spec, void* value) {
  const long req = spec[CMN_SPEC_REQUESTED];
  if (req == CMN_TYP_FLOAT) {
    std::memcpy(dest, value, sizeof(float));
    return 0;
  }
  if (req == CMN_TYP_CHAR_P) return convert_text_into("cmn_typ_float_set", value, CMN_TYP_FLOAT, dest, sizeof(float));
  return unexpected("cmn_typ_float_set", req);
}

long cmn_typ_float_gaddr(void* element, void*, void** address, long* spec) {
  return address_of(element, address, spec, 20);
}

long cmn_typ_double_get(void* cell, long* spec, long size, void* dest, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  const long req = spec[CMN_SPEC_REQUESTED];
  const double v = *static_cast<const double*>(cell);
  if (req == CMN_TYP_DOUBLE) return put_value(dest, size, CMN_TYP_DOUBLE, allocated, v);
  if (req == CMN_TYP_CHAR_P) return put_text(dest, size, 40, allocated, format_double("%f", v));
  return unexpected("cmn_typ_double_get", req);
}

long cmn_typ_double_set(void* dest, long* spec, void* value) {
  const long req = spec[CMN_SPEC_REQUESTED];
  if (req == CMN_TYP_DOUBLE) {
    std::memcpy(dest, value, sizeof(double));
    return 0;
  }
  if (req == CMN_TYP_CHAR_P) {
    return convert_text_into("cmn_typ_double_set", value, CMN_TYP_DOUBLE, dest, sizeof(double));
  }
  return unexpected("cmn_typ_double_set", req);
}

long cmn_typ_obj_type_convert(long, long src_type, void* src, long dst_type, void* dst_slot, long, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  if (src_type == CMN_TYP_LONG && dst_type == CMN_TYP_CHAR_P) {
    *static_cast<const char**>(dst_slot) = cmn_typ_name(*static_cast<const long*>(src));
    return 0;
  }
  return unexpected("cmn_typ_obj_type_convert", dst_type);
}
