// Print procedures of the built-in types and the value text cmn_typ_val.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/cmn/cmn_typ_int.h"
#include "core/cmn/cmn_val.h"

namespace {

constexpr long kValSize = 1024;
char cmn_typ_val_buf[kValSize];

int ind(long indent) { return static_cast<int>(indent < 0 ? 0 : indent); }

const long* longs(const void* p) { return static_cast<const long*>(p); }

float float_of(long word) {
  float f = 0;
  std::memcpy(&f, &word, sizeof f);
  return f;
}

const char* safe(const char* s) { return s != nullptr ? s : "(null)"; }

// Prints a value record's value by its own type.
long print_value(FILE* out, long indent, const cmn_ty_value* v, long number) {
  switch (v->type) {
    case CMN_TYP_CHAR_P:
      return cmn_typ_print_val(out, indent, reinterpret_cast<const char*>(v->value), v->type, number);
    case CMN_TYP_FLOAT: {
      float f = float_of(v->value);
      return cmn_typ_print_val(out, indent, &f, v->type, number);
    }
    case CMN_TYP_SHORT: {
      short s = static_cast<short>(v->value);
      return cmn_typ_print_val(out, indent, &s, v->type, number);
    }
    case CMN_TYP_CHAR: {
      const char* text = reinterpret_cast<const char*>(v->value);
      char c = text != nullptr ? text[0] : '\0';
      return cmn_typ_print_val(out, indent, &c, v->type, number);
    }
    default:
      return cmn_typ_print_val(out, indent, &v->value, v->type, number);
  }
}

// Runs a registry query whose failure is an answer here, not an alert:
// whatever it pushed is taken off again.
template <class F>
long quietly(F query) {
  long before = 0, after = 0;
  cmn_alrt_num(nullptr, &before);
  long rc = query();
  cmn_alrt_num(nullptr, &after);
  for (; after > before; --after) cmn_alrt_pop(nullptr, nullptr, nullptr);
  return rc;
}

// The element's first word, read no further than the type's element size
// (a smaller integer is widened with its sign).
long first_word(const void* element, long id) {
  long size = 0;
  quietly([&] { return cmn_typ_info(id, nullptr, nullptr, nullptr, &size, nullptr, nullptr, nullptr, nullptr); });
  const auto* p = static_cast<const char*>(element);
  switch (size) {
    case 1: return static_cast<signed char>(p[0]);
    case 2: { int16_t v; std::memcpy(&v, p, sizeof v); return v; }
    case 4: { int32_t v; std::memcpy(&v, p, sizeof v); return v; }
    default: {
      long v = 0;
      std::memcpy(&v, p, size > 0 && size < static_cast<long>(sizeof v) ? static_cast<size_t>(size) : sizeof v);
      return v;
    }
  }
}

bool known_type(long id) {
  if (cmn_typ_is_valid_type(id) != 0 || cmn_typ_is_comp_class(id) != 0) return true;
  if (cmn_typ_is_runtime_id(id) != 0) {
    return quietly([&] {
             return cmn_typ_info(id, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
           }) == 0;
  }
  cmn_ty_obj_info info;
  return quietly([&] { return cmn_typ_get_obj_info(id, &info); }) == 0;
}

// The print method of a known type, when it has one of its own.
cmn_ty_print_proc own_print(long id) {
  cmn_ty_print_proc print = nullptr;
  quietly([&] { return cmn_typ_info(id, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &print); });
  return print == &cmn_typ_print_val ? nullptr : print;
}

// Converts the cell to text into the static buffer; false on failure.
bool convert_to_text(const void* cell, long id) {
  char* slot = cmn_typ_val_buf;
  long allocated = 0;
  long rc = cmn_typ_convert(id, id, const_cast<void*>(cell), CMN_TYP_CHAR_P, &slot, kValSize, &allocated);
  if (rc == 0 && slot != cmn_typ_val_buf && slot != nullptr) {
    std::snprintf(cmn_typ_val_buf, kValSize, "%s", slot);
  }
  if (allocated == 1) cmn_typ_dealloc("cmn_typ_val", slot);
  return rc == 0;
}

}  // namespace

void cmn_typ_init_disp_ctx(long* context) {
  if (context != nullptr) *context = 0;
}

long cmn_typ_print_val(FILE* stream, long indent, const void* element, long id, long number) {
  FILE* out = stream != nullptr ? stream : stdout;
  const int n = ind(indent);
  if (element == nullptr && id != CMN_TYP_CHAR_P) {
    if (!known_type(id)) {
      std::fprintf(out, "%*.*sINVALID DATA TYPE %ld = %ld\n", n, n, "", id, 0L);
    } else {
      std::fprintf(out, "%*.*s%s = NULL\n", n, n, "", cmn_typ_name(id));
    }
    return 0;
  }
  const long* l = longs(element);
  switch (id) {
    case CMN_TYP_LONG: std::fprintf(out, "%*.*sLong = %ld (0x%lx)\n", n, n, "", l[0], l[0]); return 0;
    case CMN_TYP_SHORT:
      std::fprintf(out, "%*.*sInteger = %ld\n", n, n, "", static_cast<long>(*static_cast<const short*>(element)));
      return 0;
    case CMN_TYP_FLOAT:
      std::fprintf(out, "%*.*sSingle = %f\n", n, n, "", static_cast<double>(*static_cast<const float*>(element)));
      return 0;
    case CMN_TYP_DOUBLE:
      std::fprintf(out, "%*.*sDouble = %f\n", n, n, "", *static_cast<const double*>(element));
      return 0;
    case CMN_TYP_MONEY:
      std::fprintf(out, "%*.*sCurrency = %f\n", n, n, "", *static_cast<const double*>(element));
      return 0;
    case CMN_TYP_CHAR: {
      char c = *static_cast<const char*>(element);
      std::fprintf(out, "%*.*sFixed String = '%c' (%ld)\n", n, n, "", c, static_cast<long>(c));
      return 0;
    }
    case CMN_TYP_CHAR_P:
      std::fprintf(out, "%*.*sString = '%s'\n", n, n, "", safe(static_cast<const char*>(element)));
      return 0;
    case CMN_TYP_VOID_P: std::fprintf(out, "%*.*sPointer = %ld\n", n, n, "", l[0]); return 0;
    case 596: {
      const auto* nv = static_cast<const cmn_ty_name_val*>(element);
      std::fprintf(out, "%*.*sNAME VAL PAIR name='%s'", n, n, "", safe(nv->name));
      cmn_ty_value v{nv->type, nv->value};
      return print_value(out, 1, &v, number);
    }
    case CMN_TYP_VALUE: return print_value(out, indent, static_cast<const cmn_ty_value*>(element), number);
    case 649:
      std::fprintf(out, "%*.*sLONG PAIR = %ld (0x%lx), %ld (0x%lx)\n", n, n, "", l[0], l[0], l[1], l[1]);
      return 0;
    case 689:
      std::fprintf(out,
                   "%*.*sLONG TRIPLE = %ld (0x%lx), %ld (0x%lx), %ld (0x%lx), %ld (0x%lx), %ld (0x%lx), %ld "
                   "(0x%lx)\n",
                   n, n, "", l[0], l[0], l[1], l[1], l[2], l[2], l[3], l[3], l[4], l[4], l[5], l[5]);
      return 0;
    case 738:
      std::fprintf(out, "%*.*sLONG DOZEN = %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld, %ld\n", n, n, "",
                   l[0], l[1], l[2], l[3], l[4], l[5], l[6], l[7], l[8], l[9], l[10], l[11]);
      return 0;
    case 688: {
      const auto* m = static_cast<const cmn_ty_prop_map*>(element);
      std::fprintf(out, "%*.*sPROP MAP objtype=%ld, prop='%s', datatype='%s'\n", n, n, "", m->obj_type,
                   safe(m->prop), safe(m->data_type));
      std::fprintf(out, "%*.*s  length=%ld, path='%s'\n", n, n, "", m->length, safe(m->path));
      std::fprintf(out, "%*.*s  extra_info='%s'\n", n, n, "", safe(m->extra_info));
      std::fprintf(out, "%*.*s  subtype=%ld\n", n, n, "", m->subtype);
      return 0;
    }
    case 735:
      std::fprintf(out,
                   "%*.*sOID PAIR = high_word, low_word, sub_id, (0x%lx, 0x%lx, 0x%lx), (0x%lx, 0x%lx, 0x%lx)\n",
                   n, n, "", l[0], l[1], l[2], l[3], l[4], l[5]);
      return 0;
    case CMN_TYP_DECIMAL:
      std::fprintf(out, "%*.*sDecimal = %s\n", n, n, "", static_cast<const cmn_ty_decimal*>(element)->text);
      return 0;
    default: break;
  }
  if (!known_type(id)) {
    std::fprintf(out, "%*.*sINVALID DATA TYPE %ld = %ld\n", n, n, "", id, l[0]);
    return 0;
  }
  if (cmn_ty_print_proc print = own_print(id)) return print(stream, indent, element, id, number);
  std::fprintf(out, "%*.*s%s = %ld\n", n, n, "", cmn_typ_name(id), first_word(element, id));
  return 0;
}

long cmn_typ_print_tstruct(FILE* stream, long indent, const void* element, long, long number) {
  FILE* out = stream != nullptr ? stream : stdout;
  const auto* t = static_cast<const cmn_ty_tstruct*>(element);
  const int n = ind(indent);
  std::fprintf(out, "%*.*sTest struct #%ld, name='%s', l1=%ld, l2=%ld\n", n, n, "", number, safe(t->name), t->l1,
               t->l2);
  return 0;
}

long cmn_typ_print_trav(FILE* stream, long indent, const void* element, long, long number) {
  FILE* out = stream != nullptr ? stream : stdout;
  long level = 0;
  for (const auto* e = static_cast<const cmn_ty_trav_entry*>(element); e != nullptr && level < 1000;
       e = e->next, ++level) {
    const int n = ind(indent + 2 * level);
    std::fprintf(out, "%*.*s%ld) from=%ld, rel_id=%ld, %ld conditions, %ld orders.\n", n, n, "", number, e->from,
                 e->rel_id, e->num_conds, e->num_orders);
  }
  return 0;
}

const char* cmn_typ_val(const void* cell, long id, long label) {
  char* buf = cmn_typ_val_buf;
  const auto put = [&](const char* tag, const char* fmt, auto value) {
    int used = label != 0 ? std::snprintf(buf, kValSize, "%s", tag) : 0;
    std::snprintf(buf + used, static_cast<size_t>(kValSize - used), fmt, value);
  };
  if (cell == nullptr && id != CMN_TYP_VALUE) {
    if (!known_type(id)) {
      std::snprintf(buf, kValSize, "INVALID DATA TYPE %ld = %ld\n", id, 0L);
    } else if (label != 0) {
      std::snprintf(buf, kValSize, "%s = <NULL>", cmn_typ_name(id));
    } else {
      std::snprintf(buf, kValSize, "<NULL>");
    }
    return buf;
  }
  switch (id) {
    case CMN_TYP_LONG: put("LONG INTEGER = ", "%ld", *longs(cell)); return buf;
    case CMN_TYP_SHORT:
      put("SHORT INTEGER = ", "%ld", static_cast<long>(*static_cast<const short*>(cell)));
      return buf;
    case CMN_TYP_FLOAT: put("FLOAT = ", "%f", static_cast<double>(*static_cast<const float*>(cell))); return buf;
    case CMN_TYP_CHAR: put("CHAR = ", "%c", *static_cast<const char*>(cell)); return buf;
    case CMN_TYP_CHAR_P: {
      const char* text = *static_cast<const char* const*>(cell);
      put("CHAR POINTER = ", "'%.950s'", text != nullptr ? text : "");
      return buf;
    }
    case CMN_TYP_VOID_P: put("VOID POINTER = ", "%ld", *longs(cell)); return buf;
    case CMN_TYP_DOUBLE: put("DOUBLE = ", "%f", *static_cast<const double*>(cell)); return buf;
    case CMN_TYP_MONEY: put("MONEY = ", "%f", *static_cast<const double*>(cell)); return buf;
    case CMN_TYP_VALUE: {
      if (cell == nullptr) break;
      const auto* v = static_cast<const cmn_ty_value*>(cell);
      if (v->type == CMN_TYP_VALUE) break;  // never recurse into itself
      if (v->type == CMN_TYP_CHAR) {
        const char* text = reinterpret_cast<const char*>(v->value);
        char c = text != nullptr ? text[0] : '\0';
        return cmn_typ_val(&c, CMN_TYP_CHAR, label);
      }
      return cmn_typ_val(&v->value, v->type, label);
    }
    default: break;
  }
  if (!known_type(id)) {
    std::snprintf(buf, kValSize, "INVALID DATA TYPE %ld = %ld\n", id, cell != nullptr ? *longs(cell) : 0L);
    return buf;
  }
  if (convert_to_text(cell, id)) {
    if (label != 0) {
      std::string text = std::string(cmn_typ_name(id)) + " = " + buf;
      std::snprintf(buf, kValSize, "%s", text.c_str());
    }
    return buf;
  }
  cmn_alrt_clear(nullptr);
  const long word = first_word(cell, id);
  if (label != 0) {
    std::snprintf(buf, kValSize, "%s = %ld", cmn_typ_name(id), word);
  } else {
    std::snprintf(buf, kValSize, "%ld", word);
  }
  return buf;
}
