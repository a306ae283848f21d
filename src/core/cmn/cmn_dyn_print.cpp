// Run-time record types: printing records and definitions.
#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_dyn_int.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"

namespace {

constexpr long kNestStep = 3;
constexpr long kMaxDepth = 32;  // a type nested in itself stops here

long dump(FILE* out, long indent, const void* record, long id, long depth);

void field_line(FILE* out, int n, const cmn_ty_dyn_field& f, const void* record, long depth) {
  cmn_dyn_fname name(f);
  const long off = f.offset;
  cmn_ty_value v{};
  cmn_dyn_extract_val(record, f.offset, f.size, f.type, &v);
  if (f.offset < 0) {
    std::fprintf(out, "%*.*s%s @ %ld=%ld (Pointer)\n", n, n, "", name.text, off, v.value);
    return;
  }
  switch (f.type) {
    case CMN_TYP_LONG: std::fprintf(out, "%*.*s%s @ %ld=%ld (Long)\n", n, n, "", name.text, off, v.value); return;
    case CMN_TYP_SHORT: std::fprintf(out, "%*.*s%s @ %ld=%ld (Integer)\n", n, n, "", name.text, off, v.value); return;
    case CMN_TYP_FLOAT: {
      float x;
      std::memcpy(&x, &v.value, sizeof x);
      std::fprintf(out, "%*.*s%s @ %ld=%f (Single)\n", n, n, "", name.text, off, static_cast<double>(x));
      return;
    }
    case CMN_TYP_DOUBLE: {
      double x;
      std::memcpy(&x, &v.value, sizeof x);
      std::fprintf(out, "%*.*s%s @ %ld=%f (Double)\n", n, n, "", name.text, off, x);
      return;
    }
    case CMN_TYP_CHAR_P: {
      const char* text = reinterpret_cast<const char*>(v.value);
      if (text == nullptr) {
        std::fprintf(out, "%*.*s%s @ %ld = (NULL)\n", n, n, "", name.text, off);
      } else {
        std::fprintf(out, "%*.*s%s @ %ld='%s' (Variable length => %ld)\n", n, n, "", name.text, off, text,
                     static_cast<long>(std::strlen(text)));
      }
      return;
    }
    case CMN_TYP_CHAR: {
      const char* text = reinterpret_cast<const char*>(v.value);
      if (f.size <= 1) {
        std::fprintf(out, "%*.*s%s @ %ld='%c' (Single Char)\n", n, n, "", name.text, off, text[0]);
      } else {
        int len = static_cast<int>(strnlen(text, static_cast<size_t>(f.size)));
        std::fprintf(out, "%*.*s%s @ %ld=\"%.*s\" (Fixed length of %ld)\n", n, n, "", name.text, off, len, text,
                     f.size);
      }
      return;
    }
    case CMN_TYP_BOOLEAN: std::fprintf(out, "%*.*s%s @ %ld=%ld (Boolean)\n", n, n, "", name.text, off, v.value); return;
    case CMN_TYP_VOID_P: std::fprintf(out, "%*.*s%s @ %ld=%ld (Pointer)\n", n, n, "", name.text, off, v.value); return;
    default: break;
  }
  long rows = 0;
  cmn_dyn_types_get(&rows, nullptr);
  if (f.type >= CMN_TYP_FIRST_RUNTIME && f.type < CMN_TYP_FIRST_RUNTIME + rows) {
    std::fprintf(out, "%*.*s%s @ %ld=%ld :\n", n, n, "", name.text, off, f.size);
    if (depth < kMaxDepth) dump(out, n + kNestStep, reinterpret_cast<const void*>(v.value), f.type, depth + 1);
    return;
  }
  const void* cell = &v.value;
  if (f.type != CMN_TYP_VOID_P && f.type != 518 && f.type != 750) cell = reinterpret_cast<const void*>(v.value);
  std::fprintf(out, "%*.*s%s @ %ld=%s (%s)\n", n, n, "", name.text, off, cmn_typ_val(cell, f.type, 0),
               cmn_typ_name(f.type));
}

long dump(FILE* out, long indent, const void* record, long id, long depth) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_dump_obj", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  const int n = static_cast<int>(indent < 0 ? 0 : indent);
  if (record != nullptr) {
    for (long i = 0; i < t->num_fields; ++i) field_line(out, n, t->fields[i], record, depth);
  }
  std::fputc('\n', out);
  return 0;
}

}  // namespace

long cmn_dyn_dump_obj(FILE* stream, long indent, const void* record, long id, long) {
  return dump(stream != nullptr ? stream : stdout, indent, record, id, 0);
}

long cmn_dyn_obj_dump(FILE* stream, long indent, const void* record, long id, long number) {
  return cmn_dyn_dump_obj(stream, indent, record, id, number);
}

long cmn_dyn_print(FILE* stream, long indent, const void* record, long id, long number) {
  return cmn_dyn_dump_obj(stream, indent, record, id, number);
}

long cmn_dyn_dump_one(FILE* stream, long indent, long id) {
  FILE* out = stream != nullptr ? stream : stdout;
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_dump_one", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  const int n = static_cast<int>(indent < 0 ? 0 : indent);
  std::fprintf(out, "%*.*sTYPE #%ld='%s', num_fields=%ld\n", n, n, "", t->id, t->name, t->num_fields);
  for (long i = 0; i < t->num_fields; ++i) {
    const cmn_ty_dyn_field& f = t->fields[i];
    std::fprintf(out, "   %*.*s#%ld='%s', a '%s', size=%ld, offset=%ld\n", n, n, "", i, cmn_dyn_fname(f).text,
                 cmn_typ_name(f.type), f.size, f.offset);
  }
  return 0;
}

long cmn_dyn_dump_all(FILE* stream, long indent) {
  long rows = 0;
  cmn_dyn_types_get(&rows, nullptr);
  for (long i = 0; i < rows; ++i) {
    if (long rc = cmn_dyn_dump_one(stream, indent, CMN_TYP_FIRST_RUNTIME + i)) return rc;
  }
  return 0;
}
