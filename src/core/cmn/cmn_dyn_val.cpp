// Run-time record types: records, field values by offset, by name and by
// number, the registry methods and copies.
//
// Widths are natural: longs, pointers, floats and doubles at their sizes;
// integer fields (512, 513, 746) by their declared size (1, 2, 4 or 8).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_dyn_int.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/loc/loc_num.h"
#include "core/osl/osl_mem.h"

namespace {

char* at(void* record, long offset) { return static_cast<char*>(record) + (offset < 0 ? -offset : offset); }
const char* at(const void* record, long offset) {
  return static_cast<const char*>(record) + (offset < 0 ? -offset : offset);
}

// The width of an integer field of the declared size.
long int_width(long size) {
  if (size <= 0 || size >= 8) return 8;
  if (size >= 4) return 4;
  if (size >= 2) return 2;
  return 1;
}

long read_int(const char* p, long width) {
  switch (width) {
    case 1: return static_cast<signed char>(*p);
    case 2: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case 4: { int32_t v; std::memcpy(&v, p, 4); return v; }
    default: { long v; std::memcpy(&v, p, sizeof v); return v; }
  }
}

void write_int(char* p, long width, long v) {
  switch (width) {
    case 1: { auto b = static_cast<signed char>(v); std::memcpy(p, &b, 1); break; }
    case 2: { auto s = static_cast<int16_t>(v); std::memcpy(p, &s, 2); break; }
    case 4: { auto i = static_cast<int32_t>(v); std::memcpy(p, &i, 4); break; }
    default: std::memcpy(p, &v, sizeof v); break;
  }
}

long word_at(const char* p) {
  long w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

bool is_word_type(long type) {
  return type == CMN_TYP_CHAR_P || type == CMN_TYP_VOID_P || type == 518 || type == 750;
}

long unsupported(const char* proc, const cmn_ty_dyn_type* t, const cmn_ty_dyn_field* f) {
  cmn_alrt_push(nullptr, proc, CMN_DYN_UNSUPPORTED, 3, cmn_dyn_fname(*f).text, t->name, cmn_typ_name(f->type));
  return CMN_DYN_UNSUPPORTED;
}

long no_conv(const char* proc, long src, long dst) {
  cmn_alrt_push(nullptr, proc, CMN_DYN_NO_CONV, 2, src, dst);
  return CMN_DYN_NO_CONV;
}

// The field that lies at the offset, for its declared size.
long size_at(long id, long offset, long type) {
  cmn_ty_dyn_type* t = nullptr;
  if (id >= CMN_TYP_FIRST_RUNTIME && cmn_dyn_find_type_info(id, &t) == 0) {
    for (long i = 0; i < t->num_fields; ++i) {
      if (t->fields[i].offset == offset) return t->fields[i].size;
    }
  } else {
    cmn_alrt_clear(nullptr);
  }
  long size = 0;
  cmn_typ_info(type, nullptr, nullptr, nullptr, &size, nullptr, nullptr, nullptr, nullptr);
  return size;
}

// The source cell of a field's value for cmn_typ_convert, and its type.
void* value_cell(const cmn_ty_dyn_field& f, cmn_ty_value* v, long* src_type) {
  *src_type = f.type;
  if (f.offset < 0) return reinterpret_cast<void*>(v->value);
  switch (f.type) {
    case CMN_TYP_SHORT:
      *src_type = CMN_TYP_LONG;  // widened by the extraction
      return &v->value;
    case CMN_TYP_LONG:
    case CMN_TYP_BOOLEAN:
    case CMN_TYP_FLOAT:
    case CMN_TYP_DOUBLE:
    case CMN_TYP_CHAR:  // the value word holds the field's address: a text cell
      return &v->value;
    default:
      return is_word_type(f.type) ? &v->value : reinterpret_cast<void*>(v->value);
  }
}

// Copies at most size - 1 characters and ends them with a NUL; the rest of
// the field is cleared.
void put_fixed_text(char* p, long size, const char* text) {
  if (size <= 0) return;
  std::memset(p, 0, static_cast<size_t>(size));
  if (text == nullptr) return;
  size_t n = strnlen(text, static_cast<size_t>(size - 1));
  std::memcpy(p, text, n);
}

char cmn_dyn_num_buf[32];

long not_numeric(const char* text) {
  cmn_alrt_push(nullptr, "cmn_dyn_set_method", CMN_DYN_NOT_NUMERIC, 1, text);
  return CMN_DYN_NOT_NUMERIC;
}

}  // namespace

long cmn_dyn_set_default(const cmn_ty_dyn_type* type, void* record) {
  if (type->size <= 0) return 0;
  if (type->default_record != nullptr) {
    std::memmove(record, type->default_record, static_cast<size_t>(type->size));
  } else {
    std::memset(record, 0, static_cast<size_t>(type->size));
  }
  return 0;
}

long cmn_dyn_default_val(long id, void* record) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_default_val", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  return cmn_dyn_set_default(t, record);
}

long cmn_dyn_init_method(long id, void** record) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_init_method", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  long bytes = t->size > 0 ? t->size : 1;
  void* r = osl_mem_alloc("cmn_dyn_init_method", bytes);
  if (r == nullptr) return cmn_dyn_alert("cmn_dyn_init_method", CMN_DYN_NO_MEMORY, bytes);
  cmn_dyn_set_default(t, r);
  *record = r;
  return 0;
}

long cmn_dyn_term_method(long id) {
  return cmn_dyn_row("cmn_dyn_term_method", id) != nullptr ? 0 : CMN_DYN_BAD_TYPE;
}

long cmn_dyn_gaddr_method(void* record, long id, void** address, long* request) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_gaddr_method", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  cmn_ty_dyn_field* f = cmn_dyn_field_row("cmn_dyn_gaddr_method", t, request[CMN_SPEC_INDEX]);
  if (f == nullptr) return CMN_DYN_BAD_FIELD;
  *address = at(record, f->offset);
  request[CMN_SPEC_ADDR1] = 1;
  return 0;
}

long cmn_dyn_get_method(void* record, long id, long* request, long size, void* dest, long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_get_method", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  const long number = request[CMN_SPEC_INDEX];
  cmn_ty_dyn_field* f = cmn_dyn_field_row("cmn_dyn_get_method", t, number);
  if (f == nullptr) return CMN_DYN_BAD_FIELD;
  const long req = request[CMN_SPEC_REQUESTED];
  char* p = at(record, f->offset);
  if (req != CMN_TYP_CHAR && req != CMN_TYP_CHAR_P) {
    return cmn_dyn_get_field(id, record, number, req, size, dest, allocated);
  }
  switch (f->type) {
    case CMN_TYP_CHAR_P: *static_cast<char**>(dest) = reinterpret_cast<char*>(word_at(p)); return 0;
    case CMN_TYP_CHAR: *static_cast<char**>(dest) = p; return 0;
    case CMN_TYP_LONG:
    case CMN_TYP_SHORT: {
      long width = f->type == CMN_TYP_SHORT ? 2 : int_width(f->size);
      std::snprintf(cmn_dyn_num_buf, sizeof cmn_dyn_num_buf, "%ld", read_int(p, width));
      *static_cast<char**>(dest) = cmn_dyn_num_buf;
      return 0;
    }
    default: break;
  }
  cmn_ty_method_proc get = nullptr;
  cmn_typ_find_callback(f->type, CMN_MTH_GET, &get);
  if (get == nullptr) return no_conv("cmn_dyn_get_method", f->type, req);
  long spec[CMN_SPEC_WORDS] = {0, f->type, 0, req, 0, 0};
  return cmn_typ_proc_as<cmn_ty_get_proc>(get)(p, spec, size, dest, allocated);
}

long cmn_dyn_set_method(void* record, long id, long* request, const void* value) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_set_method", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  cmn_ty_dyn_field* f = cmn_dyn_field_row("cmn_dyn_set_method", t, request[CMN_SPEC_INDEX]);
  if (f == nullptr) return CMN_DYN_BAD_FIELD;
  const long src = request[CMN_SPEC_REQUESTED];
  char* p = at(record, f->offset);
  const long width = f->type == CMN_TYP_SHORT ? 2 : int_width(f->size);
  if (src == CMN_TYP_CHAR || src == CMN_TYP_CHAR_P) {
    const auto* text = static_cast<const char*>(value);
    switch (f->type) {
      case CMN_TYP_LONG:
      case CMN_TYP_SHORT: {
        long v = 0;
        if (text != nullptr) {
          errno = 0;
          if (loc_st_isinteger(text) == 0) return not_numeric(text);
          v = std::strtol(text, nullptr, 10);
          if (errno == ERANGE) return not_numeric(text);
        }
        write_int(p, width, v);
        return 0;
      }
      case CMN_TYP_FLOAT: {
        float v = 0;
        if (text != nullptr) {
          if (loc_st_isreal(text) == 0) return not_numeric(text);
          v = static_cast<float>(std::strtod(text, nullptr));
        }
        std::memcpy(p, &v, sizeof v);
        return 0;
      }
      case CMN_TYP_CHAR: put_fixed_text(p, f->size, text); return 0;
      case CMN_TYP_CHAR_P: {
        const char* ptr = text;
        std::memcpy(p, &ptr, sizeof ptr);
        return 0;
      }
      default: return unsupported("cmn_dyn_set_method", t, f);
    }
  }
  if (src == CMN_TYP_LONG) {
    const long v = *static_cast<const long*>(value);
    switch (f->type) {
      case CMN_TYP_LONG:
      case CMN_TYP_SHORT: write_int(p, width, v); return 0;
      case CMN_TYP_FLOAT: {
        auto fv = static_cast<float>(v);
        std::memcpy(p, &fv, sizeof fv);
        return 0;
      }
      default: return unsupported("cmn_dyn_set_method", t, f);
    }
  }
  return unsupported("cmn_dyn_set_method", t, f);
}

long cmn_dyn_extract_val(const void* record, long offset, long size, long type, cmn_ty_value* value) {
  const char* p = at(record, offset);
  value->type = type;
  if (offset < 0) {
    value->type = CMN_TYP_VOID_P;
    value->value = word_at(p);
    return 0;
  }
  switch (type) {
    case CMN_TYP_LONG: value->value = read_int(p, int_width(size)); return 0;
    case CMN_TYP_SHORT: value->value = read_int(p, 2); return 0;
    case CMN_TYP_BOOLEAN: value->value = read_int(p, 1); return 0;
    case CMN_TYP_FLOAT: {
      long w = 0;
      std::memcpy(&w, p, sizeof(float));
      value->value = w;
      return 0;
    }
    case CMN_TYP_DOUBLE: {
      static_assert(sizeof(double) <= sizeof(long), "a double travels in the value word");
      long w = 0;
      std::memcpy(&w, p, sizeof(double));
      value->value = w;
      return 0;
    }
    default:
      value->value = is_word_type(type) ? word_at(p) : reinterpret_cast<long>(p);
      return 0;
  }
}

long cmn_dyn_assign_val(void* record, long offset, long size, long type, const cmn_ty_value* value) {
  char* p = at(record, offset);
  if (type == -1) type = value->type;
  if (offset < 0) {
    std::memcpy(p, &value->value, sizeof value->value);
    return 0;
  }
  switch (type) {
    case CMN_TYP_CHAR: put_fixed_text(p, size, reinterpret_cast<const char*>(value->value)); return 0;
    case CMN_TYP_FLOAT: std::memcpy(p, &value->value, sizeof(float)); return 0;
    case CMN_TYP_DOUBLE: std::memcpy(p, &value->value, sizeof(double)); return 0;
    case CMN_TYP_LONG:
    case CMN_TYP_SHORT:
    case CMN_TYP_BOOLEAN: write_int(p, int_width(size), value->value); return 0;
    default:
      if (is_word_type(type)) {
        std::memcpy(p, &value->value, sizeof value->value);
      } else if (size > 0 && value->value != 0) {
        std::memmove(p, reinterpret_cast<const void*>(value->value), static_cast<size_t>(size));
      }
      return 0;
  }
}

long cmn_dyn_get_val(const void* record, const char* type_name, const char* field_name, cmn_ty_value* value) {
  long id = -1;
  cmn_dyn_find_type(type_name, &id);
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_get_val", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  cmn_ty_dyn_field* f = cmn_dyn_field_named(t, field_name);
  if (f == nullptr) return cmn_dyn_no_field("cmn_dyn_get_val", field_name, t->name);
  return cmn_dyn_extract_val(record, f->offset, f->size, f->type, value);
}

long cmn_dyn_get_values(long id, const void* record, long n, const long* offsets, const long* sizes,
                        const long* types, cmn_ty_value* values) {
  for (long i = 0; i < n; ++i) {
    long size = sizes != nullptr ? sizes[i] : size_at(id, offsets[i], types[i]);
    if (long rc = cmn_dyn_extract_val(record, offsets[i], size, types[i], &values[i])) return rc;
  }
  return 0;
}

long cmn_dyn_set_values(long, void* record, long n, const long* offsets, const long* sizes,
                        const cmn_ty_value* values) {
  for (long i = 0; i < n; ++i) {
    if (long rc = cmn_dyn_assign_val(record, offsets[i], sizes[i], -1, &values[i])) return rc;
  }
  return 0;
}

long cmn_dyn_get_named_values(long id, const void* record, long n, const char* const* names,
                              cmn_ty_value* values) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_get_named_values", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  for (long i = 0; i < n; ++i) {
    cmn_ty_dyn_field* f = cmn_dyn_field_named(t, names[i]);
    if (f == nullptr) return cmn_dyn_no_field("cmn_dyn_get_named_values", names[i], t->name);
    if (long rc = cmn_dyn_extract_val(record, f->offset, f->size, f->type, &values[i])) return rc;
  }
  return 0;
}

long cmn_dyn_set_named_values(long id, void* record, long n, const char* const* names,
                              const cmn_ty_value* values) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_set_named_values", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  for (long i = 0; i < n; ++i) {
    cmn_ty_dyn_field* f = cmn_dyn_field_named(t, names[i]);
    if (f == nullptr) return cmn_dyn_no_field("cmn_dyn_set_named_values", names[i], t->name);
    if (long rc = cmn_dyn_assign_val(record, f->offset, f->size, f->type, &values[i])) return rc;
  }
  return 0;
}

long cmn_dyn_set_one_named_value(long id, void* record, const char* name, const cmn_ty_value* value) {
  return cmn_dyn_set_named_values(id, record, 1, &name, value);
}

long cmn_dyn_get_field(long id, const void* record, long number, long wanted, long size, void* output,
                       long* allocated) {
  if (allocated != nullptr) *allocated = 0;
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_get_field", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  cmn_ty_dyn_field* f = cmn_dyn_field_row("cmn_dyn_get_field", t, number);
  if (f == nullptr) return CMN_DYN_BAD_FIELD;
  cmn_ty_value v{};
  cmn_dyn_extract_val(record, f->offset, f->size, f->type, &v);
  long src = 0;
  void* cell = value_cell(*f, &v, &src);
  long rc = cmn_typ_convert(id, src, cell, wanted, output, size, allocated);
  if (rc == CMN_TYP_NO_CONV_PROC) return no_conv("cmn_dyn_get_field", f->type, wanted);
  return rc;
}

long cmn_dyn_set_field(long id, void* record, long number, long src_type, void* value) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_set_field", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  cmn_ty_dyn_field* f = cmn_dyn_field_row("cmn_dyn_set_field", t, number);
  if (f == nullptr) return CMN_DYN_BAD_FIELD;
  char* p = at(record, f->offset);
  if (f->type == CMN_TYP_CHAR_P) {
    if (src_type != CMN_TYP_CHAR_P) return no_conv("cmn_dyn_set_field", src_type, f->type);
    const char* text = *static_cast<const char* const*>(value);
    std::memcpy(p, &text, sizeof text);
    return 0;
  }
  const long dst_type = f->type == CMN_TYP_CHAR ? CMN_TYP_CHAR_P : f->type;
  const long room = f->size > 64 ? f->size : 64;
  std::vector<long> tmp(static_cast<size_t>(room / static_cast<long>(sizeof(long)) + 1), 0);
  void* slot = tmp.data();
  long allocated = 0;
  long rc = cmn_typ_convert(id, src_type, value, dst_type, &slot, room, &allocated);
  if (rc == CMN_TYP_NO_CONV_PROC) rc = no_conv("cmn_dyn_set_field", src_type, f->type);
  if (rc == 0) {
    const char* r = static_cast<const char*>(slot);
    switch (f->type) {
      case CMN_TYP_CHAR: put_fixed_text(p, f->size, r); break;
      case CMN_TYP_LONG: write_int(p, int_width(f->size), word_at(r)); break;
      case CMN_TYP_SHORT: { int16_t s; std::memcpy(&s, r, 2); write_int(p, int_width(f->size), s); break; }
      case CMN_TYP_BOOLEAN: write_int(p, int_width(f->size), static_cast<signed char>(*r)); break;
      case CMN_TYP_FLOAT: std::memcpy(p, r, sizeof(float)); break;
      case CMN_TYP_DOUBLE: std::memcpy(p, r, sizeof(double)); break;
      default: std::memcpy(p, r, static_cast<size_t>(f->size)); break;
    }
  }
  if (allocated == 1) cmn_typ_dealloc("cmn_dyn_set_field", slot);
  return rc;
}

long cmn_dyn_copy(long id, const void* source, void* target) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_copy", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  cmn_dyn_set_default(t, target);
  for (long i = 0; i < t->num_fields; ++i) {
    const cmn_ty_dyn_field& f = t->fields[i];
    cmn_ty_value v{};
    if (long rc = cmn_dyn_extract_val(source, f.offset, f.size, f.type, &v)) return rc;
    if (long rc = cmn_dyn_assign_val(target, f.offset, f.size, f.type, &v)) return rc;
  }
  return 0;
}
