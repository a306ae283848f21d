// Run-time record types: named record layouts with typed fields at byte
// offsets, defined while the process runs. A type gets an id from 10000 up
// (10000 + its row) and can then be kept in collections, printed, read and
// written field by field or by field name, copied, and converted into another
// run-time type through a field-name map.
//
// Every call returns 0, an alert code that it pushed, or 1 where said. The id
// 999999 names the undetermined type: it passes cmn_dyn_check_type, the name
// look-ups and cmn_dyn_find_f, and every other look-up refuses it with
// 0x10000F.
//
// Threads: the table of run-time types is process-wide and unguarded: one thread
// at a time.
#pragma once

#include <cstdio>

#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_val.h"
#include "orb_api.h"

constexpr long CMN_DYN_NAME_LEN = 32;        // with the NUL
constexpr long CMN_DYN_FIELD_NAME_LEN = 20;  // not NUL-ended when full
constexpr long CMN_DYN_MAX_EXTENT = 65000;   // largest offset and size
constexpr long CMN_DYN_UNDETERMINED = 999999;
constexpr long CMN_DYN_FIXED = 1;  // flag bit of a fixed type

constexpr long CMN_DYN_TYPE_DEF = 729;
constexpr long CMN_DYN_FIELD_DEF = 730;

constexpr long CMN_DYN_NO_CONV = 0x10000C;      // source type, destination type
constexpr long CMN_DYN_NO_MEMORY = 0x10000E;    // byte count
constexpr long CMN_DYN_BAD_TYPE = 0x10000F;     // id
constexpr long CMN_DYN_BAD_FIELD = 0x100010;    // field number, type name
constexpr long CMN_DYN_NOT_NUMERIC = 0x100011;  // text
constexpr long CMN_DYN_NO_FIELD = 0x100022;     // field name, type name
constexpr long CMN_DYN_UNSUPPORTED = 0x100023;  // field name, type name, field type name

// A field: offset -n marks a field whose value is a pointer word held at
// byte n.
struct cmn_ty_dyn_field {
  char name[CMN_DYN_FIELD_NAME_LEN];
  unsigned short reserved;  // 0
  long offset;
  long size;
  long type;
};

// Conversion procedure of a type; the arguments of cmn_typ_convert.
using cmn_ty_dyn_conv_proc = long (*)(long owner, long src_type, void* src, long dst_type, void* dst_slot,
                                      long dst_size, long* allocated);

struct cmn_ty_dyn_type {
  char name[CMN_DYN_NAME_LEN];
  long size;              // record size
  void* default_record;   // the caller's, or null
  long num_fields;
  cmn_ty_dyn_field* fields;  // owned copy
  cmn_ty_dyn_conv_proc conv;
  long id;
  long flags;
};

// Procedure of a field map: (source record, source size, source offset,
// value, target record, target size, target offset, result value).
using cmn_ty_dyn_map_proc = long (*)(void* src, long src_size, long src_offset, cmn_ty_value* value, void* dst,
                                     long dst_size, long dst_offset, cmn_ty_value* result);

struct cmn_ty_dyn_rename {
  const char* src_name;
  const char* dst_name;
  cmn_ty_dyn_map_proc proc;
};

struct cmn_ty_dyn_fmap {
  long src_offset;
  long src_size;
  long src_type;
  long dst_offset;  // -1: no target
  long dst_size;
  long dst_type;    // -1: no target
  cmn_ty_dyn_map_proc proc;
  cmn_ty_dyn_fmap* next;  // a further target of the same source field
};

struct cmn_ty_dyn_map {
  long src_type;
  long num_src_fields;
  long dst_type;
  long num_dst_fields;
  cmn_ty_dyn_fmap* fields;  // one per source field
};

// Field questions of the compiled-in object types (ids below 10000),
// answered by the schema module.
using cmn_ty_dyn_fproc = long (*)(long id, const char* name, long* index, long* type);
using cmn_ty_dyn_all_fproc = long (*)(long id, long* count, void** fields);

ORB_API long cmn_dyn_init();
ORB_API long cmn_dyn_term();

// Definition and look-up.
ORB_API long cmn_dyn_define(const char* name, const cmn_ty_dyn_type* description, long* id);
ORB_API long cmn_dyn_define_type(const char* name, long size, void* default_record, long num_fields,
                                 const cmn_ty_dyn_field* fields, long* id);
ORB_API long cmn_dyn_define_field(const char* name, long offset, long size, long type, cmn_ty_dyn_field* field);
ORB_API long cmn_dyn_check_type(const char* proc, long id);
ORB_API long cmn_dyn_check_field(const char* proc, long id, long number);
ORB_API long cmn_dyn_find_type(const char* name, long* id);
ORB_API long cmn_dyn_find_type_info(long id, cmn_ty_dyn_type** type);
ORB_API long cmn_dyn_types_get(long* count, cmn_ty_dyn_type** table);
ORB_API long cmn_dyn_get_conv_proc(long id, cmn_ty_dyn_conv_proc* proc);
ORB_API long cmn_dyn_get_name(long id, const char** name);
ORB_API const char* cmn_dyn_name(long id);
ORB_API long cmn_dyn_find_f(long id, const char* name, long* index, long* type, long* size, long* offset);
ORB_API long cmn_dyn_find_field(long id, const char* name, long* index);
ORB_API long cmn_dyn_find_foffset(long id, const char* name, long* offset, long* type, long* size);
ORB_API long cmn_dyn_find_finfo(long id, const char* name, long* index, long* type);
ORB_API long cmn_dyn_find_all_finfo(long id, long* count, void** fields);
ORB_API long cmn_dyn_get_cmp_info(long id, const char* name, long number, long* offset, long* type,
                                  cmn_ty_compare_proc* compare);
ORB_API long cmn_dyn_install_fproc(cmn_ty_dyn_fproc proc);
ORB_API long cmn_dyn_install_all_fproc(cmn_ty_dyn_all_fproc proc);

// Flags.
ORB_API long cmn_dyn_fixed_type(long id);
ORB_API long cmn_dyn_is_fixed_type(long id);
ORB_API long cmn_dyn_set_flag(long id, long bits);
ORB_API long cmn_dyn_reset_flag(long id, long bits);
ORB_API long cmn_dyn_is_flag_set(long id, long bits);
ORB_API long cmn_dyn_reset_type(long id, const char* name, long new_type);

// Records.
ORB_API long cmn_dyn_set_default(const cmn_ty_dyn_type* type, void* record);
ORB_API long cmn_dyn_default_val(long id, void* record);
ORB_API long cmn_dyn_init_method(long id, void** record);
ORB_API long cmn_dyn_term_method(long id);
// request: field number (word 0), requested or source type (word 3); the
// address-of call marks word 4 (direct access).
ORB_API long cmn_dyn_gaddr_method(void* record, long id, void** address, long* request);
// Get: text requests (515, 516) write the text pointer into *dest; other
// requests go to the field type's get method with dest as its slot.
ORB_API long cmn_dyn_get_method(void* record, long id, long* request, long size, void* dest, long* allocated);
// Set: value is the text itself for sources 515 and 516, the address of the
// long for source 512.
ORB_API long cmn_dyn_set_method(void* record, long id, long* request, const void* value);
ORB_API long cmn_dyn_extract_val(const void* record, long offset, long size, long type, cmn_ty_value* value);
ORB_API long cmn_dyn_assign_val(void* record, long offset, long size, long type, const cmn_ty_value* value);
ORB_API long cmn_dyn_get_val(const void* record, const char* type_name, const char* field_name,
                             cmn_ty_value* value);
ORB_API long cmn_dyn_get_values(long id, const void* record, long n, const long* offsets, const long* sizes,
                                const long* types, cmn_ty_value* values);
ORB_API long cmn_dyn_set_values(long id, void* record, long n, const long* offsets, const long* sizes,
                                const cmn_ty_value* values);
ORB_API long cmn_dyn_get_named_values(long id, const void* record, long n, const char* const* names,
                                      cmn_ty_value* values);
ORB_API long cmn_dyn_set_named_values(long id, void* record, long n, const char* const* names,
                                      const cmn_ty_value* values);
ORB_API long cmn_dyn_set_one_named_value(long id, void* record, const char* name, const cmn_ty_value* value);
// Converts field `number` to the wanted type into the slot output (see
// cmn_typ_convert); *allocated tells whether the result was allocated.
ORB_API long cmn_dyn_get_field(long id, const void* record, long number, long wanted, long size, void* output,
                               long* allocated);
// Converts the value in the cell `value` of type src_type into the field.
ORB_API long cmn_dyn_set_field(long id, void* record, long number, long src_type, void* value);
ORB_API long cmn_dyn_copy(long id, const void* source, void* target);

// Maps between types.
ORB_API long cmn_dyn_map_two_types(long src, long dst, long n, const cmn_ty_dyn_rename* renames,
                                   cmn_ty_dyn_map** map);
ORB_API long cmn_dyn_map_types(long src, long dst, cmn_ty_dyn_map** map);
ORB_API long cmn_dyn_map_register(long a, long b, long n_ab, const cmn_ty_dyn_rename* ab, long n_ba,
                                  const cmn_ty_dyn_rename* ba);
ORB_API cmn_ty_dyn_map* cmn_dyn_find_map(long src, long dst);
ORB_API long cmn_dyn_map_values(long src, const void* src_record, long dst, void* dst_record,
                                const cmn_ty_dyn_map* map);
ORB_API long cmn_dyn_map_free(cmn_ty_dyn_map* map);

// Printing (stream null: standard output).
ORB_API long cmn_dyn_print(FILE* stream, long indent, const void* record, long id, long number);
ORB_API long cmn_dyn_dump_obj(FILE* stream, long indent, const void* record, long id, long number);
ORB_API long cmn_dyn_obj_dump(FILE* stream, long indent, const void* record, long id, long number);
ORB_API long cmn_dyn_dump_one(FILE* stream, long indent, long id);
ORB_API long cmn_dyn_dump_all(FILE* stream, long indent);
