// Callbacks over query results: a procedure (or a print) per object of each
// level, then a procedure per field of each object.
#include <cstdio>

#include "client/cpi/cpi_int.h"
#include "client/cpi_qry.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_loc.h"
#include "schema/typ_sch.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kApplyArgs = 1;   // apply type bit 0
constexpr long kApplyProcs = 2;  // apply type bit 1
constexpr long kPrintOptions = 7;

struct levels_view {
  const cpi_ty_level_entry* entries;
  long count;
};

levels_view levels_of(cpi_ty_qry_result* result, cpi_ty_level_entry* level_entry) {
  if (level_entry) return {level_entry, 1};
  return {result->entries, result->levels};
}

long print_object(void* object, void* obj_args) {
  FILE* stream = obj_args ? *static_cast<FILE**>(obj_args) : nullptr;
  if (!stream) stream = osl_file_stdout();
  std::fputs(osl_loc_newline(), stream);
  std::fputs(osl_loc_newline(), stream);
  return dbs_obj_print(cpi_obj_of(object), kPrintOptions, stream);
}

long fields_of(void* object, long level, long index, cpi_ty_field_proc field_proc, void* field_arg, long* stop) {
  long type = 0;
  if (long st = dbs_obj_type(cpi_obj_of(object), &type)) return st;
  long nfields = 0;
  if (long st = typ_sch_get_all_finfo(type, &nfields, nullptr)) return st;
  for (long f = 0; f < nfields && *stop != 1; ++f) {
    const char* type_name = nullptr;
    const char* field_name = nullptr;
    if (long st = typ_sch_id_to_name(type, f, &type_name, &field_name)) return st;
    long value = 0;
    long value_type = 0;
    if (long st = dbs_fld_get(cpi_obj_of(object), f, &value, &value_type)) return st;
    if (long st = field_proc(object, level, index, field_arg, field_name, reinterpret_cast<void*>(value), value_type,
                             stop))
      return st;
  }
  return 0;
}

long cpi_qry_object_apply_do(cpi_ty_qry_result* result, cpi_ty_level_entry* level_entry, void*, long apply_type,
                             cpi_ty_obj_proc obj_proc, void* obj_args, cpi_ty_field_proc field_proc,
                             void* field_arg) {
  if (!result && !level_entry) return cpi_bad_param(1, "results_col");
  if ((apply_type & kApplyArgs) && !obj_args) return cpi_bad_param(6, "obj_args");
  if (!(apply_type & (kApplyArgs | kApplyProcs))) return cpi_bad_param(4, "apply_type");
  if ((apply_type & kApplyProcs) && !obj_proc) return cpi_bad_param(5, "obj_proc");
  levels_view v = levels_of(result, level_entry);
  long stop = 0;
  for (long l = 0; l < v.count && stop != 1; ++l)
    for (long i = 0; i < v.entries[l].count && stop != 1; ++i) {
      void* object = v.entries[l].objects[i];
      long st = (apply_type & kApplyProcs) ? obj_proc(object, l, i, obj_args, &stop) : print_object(object, obj_args);
      if (st) return st;
    }
  if (!(apply_type & kApplyProcs) || !field_proc) return 0;
  stop = 0;
  for (long l = 0; l < v.count && stop != 1; ++l)
    for (long i = 0; i < v.entries[l].count && stop != 1; ++i)
      if (long st = fields_of(v.entries[l].objects[i], l, i, field_proc, field_arg, &stop)) return st;
  return 0;
}

long cpi_qry_field_apply_do(void* object, void*, cpi_ty_field_proc field_proc, void* field_arg) {
  if (long st = cpi_utl_obj_check(object, 1, "object")) return st;
  long stop = 0;
  return fields_of(object, -1, -1, field_proc, field_arg, &stop);
}

}  // namespace

long cpi_qry_object_apply(cpi_ty_qry_result* result, cpi_ty_level_entry* level_entry, void* user_arg, long apply_type,
                          cpi_ty_obj_proc obj_proc, void* obj_args, cpi_ty_field_proc field_proc, void* field_arg) {
  return cpi_qry_object_apply_do(result, level_entry, user_arg, apply_type, obj_proc, obj_args, field_proc, field_arg);
}
long cpi_qry_field_apply(void* object, void* user_arg, cpi_ty_field_proc field_proc, void* field_arg) {
  return cpi_qry_field_apply_do(object, user_arg, field_proc, field_arg);
}
