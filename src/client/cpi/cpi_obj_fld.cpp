// Field values at the client interface: one or several fields set and read
// by name. Dates cross as texts and decimals in the user's number form; a
// read date or decimal lives in a block of the object's own pool.
#include <cstring>

#include "client/cpi/cpi_fld.h"
#include "client/cpi/cpi_int.h"
#include "client/cpi_obj.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "core/loc/loc_num.h"
#include "store/dbs_fld.h"

namespace {

constexpr long kInfFlag = 1;
constexpr long kNoLengthCheck = 16;
constexpr size_t kDecimalTextMax = 44;

// A field's id, type and whether its slot holds the value itself.
struct field_info {
  long id = 0;
  long type = 0;
  bool inline_value = false;
};

long info_of(dbs_ty_lobj* object, const char* name, field_info* f) {
  long word = 0;
  if (long st = dbs_fld_get_by_name(object, name, &word, &f->type)) return st;
  if (long st = dbs_fld_id_get_by_name(object, name, &f->id)) return st;
  void* address = nullptr;
  long type = 0;
  char inl = 0;
  long max = 0;
  if (long st = dbs_fld_get_addr(object, f->id, &address, &type, &inl, &max)) return st;
  f->inline_value = inl != 0;
  return 0;
}

void put_decimal_text(cmn_ty_decimal* d, const char* text) {
  std::memset(d->text, 0, sizeof d->text);
  if (text) std::strncpy(d->text, text, kDecimalTextMax);
}

long set_date(dbs_ty_lobj* object, const char* name, const void* value, bool inf) {
  const auto* text = static_cast<const char*>(value);
  clktime time{};
  long st = inf ? clk_time_inf_str_to_clk(text, &time) : clk_time_str_to_clk(text, &time);
  if (st) return st;
  const clktime* slot = &time;
  return dbs_fld_set_by_name(object, name, &slot);
}

long set_decimal(dbs_ty_lobj* object, const char* name, const void* value) {
  cmn_ty_decimal copy = *static_cast<const cmn_ty_decimal*>(value);
  put_decimal_text(&copy, loc_st_delocalize_QBdecimal(copy.text));
  const cmn_ty_decimal* slot = &copy;
  return dbs_fld_set_by_name(object, name, &slot);
}

}  // namespace

long cpi_fld_set_one(dbs_ty_lobj* object, const char* name, const void* value, signed char inf_flag,
                     bool dates_as_text) {
  field_info f;
  if (long st = info_of(object, name, &f)) return st;
  if (f.type == CPI_FT_DATE || (dates_as_text && f.type == CPI_FT_DATE2))
    return set_date(object, name, value, inf_flag == kInfFlag && f.type == CPI_FT_DATE);
  if (f.type == CPI_FT_DECIMAL) return set_decimal(object, name, value);
  // The store takes the address of the slot word: the value itself for an
  // inline field, else the pointer to it.
  const void* slot = f.inline_value ? value : static_cast<const void*>(&value);
  if (inf_flag == kInfFlag) return dbs_fld_set_by_name(object, name, slot);
  return dbs_fld_set_it(object, f.id, slot, kNoLengthCheck);
}

long cpi_fld_get_one(dbs_ty_lobj* object, const char* name, void* out_value, long* out_type) {
  field_info f;
  if (long st = info_of(object, name, &f)) return st;
  long word = 0;
  if (long st = dbs_fld_get(object, f.id, &word, nullptr)) return st;
  if (f.type == CPI_FT_DATE || f.type == CPI_FT_DATE2) {
    const clktime null_date{CPI_NULL_DATE_DAY, 0};
    const auto* time = word ? reinterpret_cast<const clktime*>(word) : &null_date;
    void* block = nullptr;
    if (long st = cpi_obj_allocate(object, CPI_DATE_TEXT_SIZE, &block)) return st;
    if (long st = clk_time_clk_to_str(time, static_cast<char*>(block), CPI_DATE_TEXT_SIZE + 1)) return st;
    *static_cast<void**>(out_value) = block;
  } else if (f.type == CPI_FT_DECIMAL) {
    void* block = nullptr;
    if (long st = cpi_obj_allocate(object, sizeof(cmn_ty_decimal), &block)) return st;
    auto* d = static_cast<cmn_ty_decimal*>(block);
    if (word) *d = *reinterpret_cast<const cmn_ty_decimal*>(word);
    put_decimal_text(d, loc_st_localize_QBdecimal(d->text));
    *static_cast<void**>(out_value) = block;
  } else if (f.inline_value || f.type == CPI_FT_CHAR || f.type == CPI_FT_TEXT || !word) {
    *static_cast<long*>(out_value) = word;
  } else if (f.type == CPI_FT_FLOAT) {
    *static_cast<float*>(out_value) = *reinterpret_cast<const float*>(word);
  } else if (f.type == CPI_FT_DOUBLE || f.type == CPI_FT_DOUBLE2) {
    *static_cast<double*>(out_value) = *reinterpret_cast<const double*>(word);
  } else {
    *static_cast<long*>(out_value) = word;
  }
  if (out_type) *out_type = f.type;
  return 0;
}

namespace {

long cpi_obj_set_field_do_inf(void* object, const char* field_name, const void* value, long, long inf_flag) {
  if (long st = cpi_utl_obj_check(object, 1, "obj")) return st;
  return cpi_fld_set_one(cpi_obj_of(object), field_name, value, static_cast<signed char>(inf_flag), false);
}

long cpi_obj_set_mult_fields_do(void* object, long count, const char* const names[], void* const values[], long) {
  if (long st = cpi_utl_obj_check(object, 1, "obj")) return st;
  for (long i = 0; i < count; ++i)
    if (long st = cpi_fld_set_one(cpi_obj_of(object), names[i], values[i], 0, true)) return st;
  return 0;
}

long cpi_obj_get_field_do(void* object, const char* field_name, long, void* out_value, long* out_type) {
  if (long st = cpi_utl_obj_check(object, 1, "obj")) return st;
  return cpi_fld_get_one(cpi_obj_of(object), field_name, out_value, out_type);
}

long cpi_obj_get_mult_fields_do(void* object, long count, const char* const names[], long, void* const out_values[],
                                long* out_flags) {
  if (long st = cpi_utl_obj_check(object, 2, "obj")) return st;
  for (long i = 0; i < count; ++i)
    if (long st = cpi_fld_get_one(cpi_obj_of(object), names[i], out_values[i], out_flags ? &out_flags[i] : nullptr))
      return st;
  return 0;
}

}  // namespace

long cpi_obj_set_field(void* object, const char* field_name, const void* value, long reserved) {
  return cpi_obj_set_field_inf(object, field_name, value, reserved, 0);
}
long cpi_obj_set_field_inf(void* object, const char* field_name, const void* value, long reserved, long inf_flag) {
  return cpi_obj_set_field_do_inf(object, field_name, value, reserved, static_cast<signed char>(inf_flag));
}
long cpi_obj_set_mult_fields(void* object, long count, const char* const names[], void* const values[],
                             long reserved) {
  return cpi_obj_set_mult_fields_do(object, count, names, values, reserved);
}
long cpi_obj_get_field(void* object, const char* field_name, long reserved, void* out_value, long* out_type) {
  return cpi_obj_get_field_do(object, field_name, reserved, out_value, out_type);
}
long cpi_obj_get_mult_fields(void* object, long count, const char* const names[], long reserved,
                             void* const out_values[], long* out_flags) {
  return cpi_obj_get_mult_fields_do(object, count, names, reserved, out_values, out_flags);
}
