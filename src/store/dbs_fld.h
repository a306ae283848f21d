// Field values of local objects: the one writer with its write flags, the
// readers, dirty marks, comparisons and the procedures through which the
// type registry treats local objects as values of type 634 ("any object").
//
// A value argument points to a slot word: to the long of an inline field
// (field flag 16), else to the pointer to the value (for texts, to the text
// pointer).
#pragma once

#include <cstdio>

#include "orb_api.h"

class KAdpConnId;
struct dbs_ty_lobj;

// Write flags of dbs_fld_set_it.
constexpr long DBS_FLD_OID_OK = 1;     // may write the object-id field
constexpr long DBS_FLD_MARK2 = 2;      // also dirty mark 2
constexpr long DBS_FLD_MARK4 = 4;      // also dirty mark 4
constexpr long DBS_FLD_CUT = 8;        // cut an over-long text to its limit
constexpr long DBS_FLD_NO_CHECK = 16;  // no length check
constexpr long DBS_FLD_UNLIMITED = 2000000;
constexpr long DBS_FLD_TYPE_ID = 0x1000005;  // pseudo field: the object's type id

ORB_API long dbs_fld_set_it(dbs_ty_lobj* object, long field_id, const void* value, long flags);
ORB_API long dbs_fld_set_local(dbs_ty_lobj* object, long field_id, const void* value, char oid_ok);
ORB_API long dbs_fld_set_relative(dbs_ty_lobj* object, long field_id, const void* value, char mark2);
ORB_API long dbs_fld_set(dbs_ty_lobj* object, long field_id, const void* value);
ORB_API long dbs_fld_set_trunc(dbs_ty_lobj* object, long field_id, const void* value);
ORB_API long dbs_fld_set_by_name(dbs_ty_lobj* object, const char* name, const void* value);
ORB_API long dbs_fld_set_by_name_trunc(dbs_ty_lobj* object, const char* name, const void* value);
ORB_API long dbs_fld_set_mult(dbs_ty_lobj* object, long n, const long* field_ids, const void* const* values);
ORB_API long dbs_fld_copy(dbs_ty_lobj* from, long field_id, dbs_ty_lobj* to, long to_field_id);

ORB_API long dbs_fld_get(dbs_ty_lobj* object, long field_id, long* value, long* type);
ORB_API long dbs_fld_get_by_name(dbs_ty_lobj* object, const char* name, long* value, long* type);
ORB_API long dbs_fld_get_mult(dbs_ty_lobj* object, long n, const long* field_ids, long* values);
ORB_API long dbs_fld_get_addr(dbs_ty_lobj* object, long field_id, void** address, long* type, char* inline_value,
                              long* max_length);
using dbs_ty_fld_proc = long (*)(dbs_ty_lobj* object, long spec_id, long spec_id2, long type, void* slot,
                                 void* user, char* stop);
ORB_API long dbs_fld_for_all(dbs_ty_lobj* object, dbs_ty_fld_proc proc, void* user, unsigned long mask);
ORB_API long dbs_fld_set_dirty(dbs_ty_lobj* object, long field_id, char dirty);
ORB_API long dbs_fld_is_dirty(dbs_ty_lobj* object, long field_id, char* dirty);
ORB_API long dbs_fld_exist(dbs_ty_lobj* object, const char* name, long* spec_id);
ORB_API long dbs_fld_verify(dbs_ty_lobj* object, long field_id, char* maps);
ORB_API long dbs_fld_id_get_by_name(dbs_ty_lobj* object, const char* name, long* spec_id);
ORB_API long dbs_fld_id_get_by_name_for_genid(dbs_ty_lobj* object, const char* name, long* spec_id, char* has_locale);
ORB_API long dbs_fld_is_currency_field(long type_id, long field_id, char* out);

ORB_API long dbs_fld_val_cmp(dbs_ty_lobj* a, long field_a, dbs_ty_lobj* b, long field_b, long* result);
ORB_API long dbs_fld_obj_cmp(const void* a, const void* b, long field_id);

// Type 634 procedures.
struct dbs_ty_fmt_desc;
struct dbs_ty_fld_desc {
  long field_id;
  long source_type;
  dbs_ty_fmt_desc* format;
  long wanted_type;
  long inline_value;  // filled by dbs_mth_ofld_get_addr
  long max_length;    // filled by dbs_mth_ofld_get_addr
};
struct dbs_ty_fmt_desc {
  long count;
  dbs_ty_fld_desc* args;
  const char* format;
};
constexpr long DBS_MTH_FMT_SIZE = 1024;
constexpr long DBS_MTH_FMT_ARGS = 20;

ORB_API long dbs_mth_init();
ORB_API long dbs_mth_compare_gen_obj(const void* a, const void* b);
ORB_API long dbs_mth_print_gen_obj(FILE* stream, long ignored, const void* object, long, long);
ORB_API long dbs_mth_ofld_get(dbs_ty_lobj* object, dbs_ty_fld_desc* desc, long size, void* value, long* allocated);
ORB_API long dbs_mth_ofld_set(dbs_ty_lobj* object, dbs_ty_fld_desc* desc, void* value);
ORB_API long dbs_mth_ofld_get_addr(dbs_ty_lobj* object, long type_id, void** address, dbs_ty_fld_desc* desc);
ORB_API long dbs_mth_default_value(long type, void* value, long size, long* allocated);
ORB_API long dbs_mth_default_value_addr(long type_id, long field_id, void** address, char* inline_value,
                                        long* max_length);
ORB_API long dbs_mth_format(dbs_ty_lobj* object, dbs_ty_fmt_desc* format, const char** text);

ORB_API long dbs_fld_set_mult_by_name(dbs_ty_lobj* object, long n, const char* const* names,
                                      const void* const* values);
ORB_API long dbs_fld_get_mult_by_name(dbs_ty_lobj* object, long n, const char* const* names, long* values,
                                      long* types);
ORB_API long dbs_fld_val_cmp_mult(dbs_ty_lobj* a, const long* ids, dbs_ty_lobj* b, const long* ids_b, long n,
                                  long* result);
ORB_API long dbs_fld_val_cmp_obj2objs(dbs_ty_lobj* a, const long* ids, dbs_ty_lobj* const* objects,
                                      const long* ids_b, long n, long* result);
ORB_API long dbs_fld_check_case(KAdpConnId* con, long type_id, long field_id, char* out);
