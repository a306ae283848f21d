// The type-registry procedures of type 634 ("any object"): field access with
// conversion, default values and formatted fields.
#include <cstdio>
#include <cstring>

#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/loc/loc_st.h"
#include "schema/typ_fld.h"
#include "schema/typ_sch.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"

namespace {

const clktime kNullDate{-53690, 0};
const double kZeroDouble = 0.0;
const long kZeroLong = 0;
const float kZeroFloat = 0.0f;
const char kEmptyText[1] = {'\0'};
const char* const kEmptyTextPtr = kEmptyText;

// The format's output buffer and the texts of its arguments.
char format_out[DBS_MTH_FMT_SIZE];
char format_args[DBS_MTH_FMT_ARGS][DBS_MTH_FMT_SIZE];

bool missing_field(long code) { return code == 0x50000a || code == 0x50000b; }

// Ends text at the last whole character (a cut may have split one).
void cut_at_char(char* text) {
  long len = static_cast<long>(std::strlen(text));
  long at = 0;
  while (at < len) {
    long n = loc_st_get_char_length(static_cast<unsigned char>(text[at]));
    if (n < 1) n = 1;
    if (at + n > len) break;
    at += n;
  }
  text[at] = '\0';
}

// The caller's format with every conversion but %s (flags, width and
// precision as digits allowed) and %% written as a literal percent sign, so
// that only the text arguments are ever read.
void safe_format(const char* in, char* out, long size) {
  long o = 0;
  for (long i = 0; in[i] && o < size - 3; ++i) {
    if (in[i] != '%') {
      out[o++] = in[i];
      continue;
    }
    long j = i + 1;
    while (in[j] && std::strchr("-+ #0123456789.", in[j])) ++j;
    if (in[j] == 's' || (in[j] == '%' && j == i + 1)) {
      for (long k = i; k <= j && o < size - 1; ++k) out[o++] = in[k];
      i = j;
    } else {
      out[o++] = '%';
      out[o++] = '%';
    }
  }
  out[o] = '\0';
}

}  // namespace

long dbs_mth_init() {
  cmn_ty_type_info info;
  cmn_typ_init_info(&info);
  info.size = sizeof(void*);
  info.get = cmn_typ_proc(dbs_mth_ofld_get);
  info.set = cmn_typ_proc(dbs_mth_ofld_set);
  info.address_of = cmn_typ_proc(dbs_mth_ofld_get_addr);
  info.compare = cmn_typ_proc(dbs_mth_compare_gen_obj);
  info.print = cmn_typ_proc(dbs_mth_print_gen_obj);
  info.get_name = cmn_typ_proc(typ_sch_id_to_name);
  info.name_to_id = cmn_typ_proc(typ_sch_name_to_id);
  if (long st = cmn_typ_install_info(DBS_TY_ANY_OBJECT, &info)) return st;
  if (long st = cmn_typ_construct_object(0, 511, &info)) return st;
  if (long st = cmn_typ_construct_object(2000, 9999, &info)) return st;
  return cmn_typ_construct_object(100000, 109999, &info);
}

long dbs_mth_compare_gen_obj(const void* a, const void* b) {
  obj_id x{}, y{};
  auto* oa = const_cast<dbs_ty_lobj*>(static_cast<const dbs_ty_lobj*>(a));
  auto* ob = const_cast<dbs_ty_lobj*>(static_cast<const dbs_ty_lobj*>(b));
  if (!oa || !ob || dbs_obj_oid_get(oa, &x) != 0 || dbs_obj_oid_get(ob, &y) != 0) return 1;
  return (x.type & DBS_OID_TYPE_MASK) == (y.type & DBS_OID_TYPE_MASK) && x.num == y.num && x.sub == y.sub ? 0 : 1;
}

long dbs_mth_print_gen_obj(FILE* stream, long, const void* object, long, long) {
  return dbs_obj_print(const_cast<dbs_ty_lobj*>(static_cast<const dbs_ty_lobj*>(object)), 3, stream);
}

long dbs_mth_default_value(long type, void* value, long size, long* allocated) {
  // value is a slot: the address of a pointer to the caller's storage.
  auto* slot = static_cast<void**>(value);
  long need = 0;
  const void* from = nullptr;
  switch (type) {
    case 609: need = sizeof(clktime); from = &kNullDate; break;
    case 613: need = sizeof(double); from = &kZeroDouble; break;
    case 512: need = sizeof(long); from = &kZeroLong; break;
    case 514: need = sizeof(float); from = &kZeroFloat; break;
    case 516: need = sizeof(char*); from = &kEmptyTextPtr; break;
    default: return dbs_alrt("dbs_mth_default_value", DBS_NO_DEFAULT, type);
  }
  if (size < need || !*slot) {
    const long types[1] = {type};
    const long sizes[1] = {need};
    void* block = nullptr;
    if (long st = cmn_typ_alloc("dbs_mth_default_value", 1, types, sizes, &block)) return st;
    *slot = block;
    if (allocated) *allocated = 1;
  }
  std::memcpy(*slot, from, static_cast<size_t>(need));
  return 0;
}

long dbs_mth_default_value_addr(long type_id, long field_id, void** address, char* inline_value, long* max_length) {
  if (field_id == DBS_FLD_TYPE_ID) {
    static long type_word;
    type_word = type_id;
    *address = &type_word;
    *inline_value = 1;
    *max_length = -1;
    return 0;
  }
  long type = 0;
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type_id, nullptr, &s);
  if (s) {
    long index = 0;
    if (long st = typ_sch_map(s, field_id, &index)) return st;
    type = s->fields[index].data_type;
  }
  *inline_value = 0;
  *max_length = -1;
  switch (type) {
    case 609: *address = const_cast<clktime*>(&kNullDate); return 0;
    case 613: *address = const_cast<double*>(&kZeroDouble); return 0;
    case 512: *address = const_cast<long*>(&kZeroLong); *inline_value = 1; return 0;
    case 514: *address = const_cast<float*>(&kZeroFloat); return 0;
    case 516: *address = const_cast<const char**>(&kEmptyTextPtr); return 0;
    default: return dbs_alrt("dbs_mth_default_value_addr", DBS_NO_DEFAULT_ADDR, type);
  }
}

long dbs_mth_ofld_get(dbs_ty_lobj* o, dbs_ty_fld_desc* desc, long size, void* value, long* allocated) {
  if (desc->format) {
    const char* text = nullptr;
    if (long st = dbs_mth_format(o, desc->format, &text)) return st;
    long st = cmn_typ_convert(-1, 516, &text, desc->wanted_type, value, size, allocated);
    return st;
  }
  void* address = nullptr;
  long type = 0;
  char inl = 0;
  long max = 0;
  long st = dbs_fld_get_addr(o, desc->field_id, &address, &type, &inl, &max);
  if (st) {
    if (!missing_field(st)) return st;
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    return dbs_mth_default_value(desc->wanted_type, value, size, allocated);
  }
  // The cell of the field's value: the slot for inline values, texts and
  // decimals, else the boxed value the slot points to.
  void* cell = address;
  if (!inl && type != 516 && type != 512 && type != 766) cell = *static_cast<void**>(address);
  return cmn_typ_convert(-1, type, cell, desc->wanted_type, value, size, allocated);
}

long dbs_mth_ofld_set(dbs_ty_lobj* o, dbs_ty_fld_desc* desc, void* value) {
  if (desc->format) {
    std::printf("%s: cannot set object fields from a formatted string\n", "dbs_mth_ofld_set");
    return 1;
  }
  if (!o) return dbs_alrt("dbs_mth_ofld_set", DBS_NULL_OBJECT);
  long index = 0;
  if (long st = typ_sch_map(o->schema, desc->field_id, &index)) return st;
  long type = o->schema->fields[index].data_type;
  alignas(16) char buffer[64];
  void* storage = buffer;
  long allocated = 0;
  long st = cmn_typ_convert(-1, desc->source_type, value, type, &storage, sizeof buffer, &allocated);
  if (st == 0) {
    bool inl = (o->schema->fields[index].flags & 0x10) || type == 512;
    if (inl)
      st = dbs_fld_set(o, desc->field_id, storage);
    else
      st = dbs_fld_set(o, desc->field_id, &storage);
  }
  if (allocated) cmn_typ_dealloc("dbs_mth_ofld_set", storage);
  return st;
}

long dbs_mth_ofld_get_addr(dbs_ty_lobj* o, long type_id, void** address, dbs_ty_fld_desc* desc) {
  char inl = 0;
  long type = 0;
  long st = o ? dbs_fld_get_addr(o, desc->field_id, address, &type, &inl, &desc->max_length)
              : dbs_mth_default_value_addr(type_id, desc->field_id, address, &inl, &desc->max_length);
  desc->inline_value = inl;
  return st;
}

long dbs_mth_format(dbs_ty_lobj* o, dbs_ty_fmt_desc* fmt, const char** text) {
  const char* args[DBS_MTH_FMT_ARGS];
  for (long i = 0; i < DBS_MTH_FMT_ARGS; ++i) {
    format_args[i][0] = '\0';
    args[i] = format_args[i];
  }
  long n = fmt->count < DBS_MTH_FMT_ARGS ? fmt->count : DBS_MTH_FMT_ARGS;
  for (long i = 0; i < n; ++i) {
    dbs_ty_fld_desc d = fmt->args[i];
    d.format = nullptr;
    d.wanted_type = 516;
    char* got = nullptr;
    long allocated = 0;
    void* slot = &got;
    if (long st = dbs_mth_ofld_get(o, &d, 0, slot, &allocated)) return st;
    if (got) {
      std::snprintf(format_args[i], DBS_MTH_FMT_SIZE, "%s", got);
      cut_at_char(format_args[i]);
    }
    if (allocated) cmn_typ_dealloc("dbs_mth_format", got);
  }
  // Bounded: the output never runs past its buffer, and the format reads
  // nothing but its twenty texts.
  static char format_safe[2 * DBS_MTH_FMT_SIZE];
  safe_format(fmt->format ? fmt->format : "", format_safe, sizeof format_safe);
  std::snprintf(format_out, sizeof format_out, format_safe, args[0], args[1], args[2], args[3],
                args[4], args[5], args[6], args[7], args[8], args[9], args[10], args[11], args[12], args[13],
                args[14], args[15], args[16], args[17], args[18], args[19]);
  cut_at_char(format_out);
  *text = format_out;
  return 0;
}
