// The data-type registry: every record kept in collections, printed, compared
// or converted has a numeric type id that maps to one record (name, element
// size, flags) and a table of up to 33 methods indexed by method id.
//
// Ids: 512..811 built-in types (static table); object types in groups
// registered at run time (plus special classes for single ids of a group);
// 10000 and up run-time record types and composite classes.
//
// Threads: the registry (built-in records, groups, special and composite
// classes, method tables, the memory and seam procedures) is process-wide and
// no lock guards it: types are installed at start-up by one thread; later
// look-ups only read, but failures push alerts (see cmn_alrt.h), so callers
// keep to one thread at a time.
#pragma once

#include "orb_api.h"

#include <cstdio>

// Generic method pointer as kept in a method table; cast to the signature of
// the method id (below) with cmn_typ_proc_as before calling.
using cmn_ty_method_proc = void (*)();

template <class F>
inline cmn_ty_method_proc cmn_typ_proc(F f) { return reinterpret_cast<cmn_ty_method_proc>(f); }
template <class F>
inline F cmn_typ_proc_as(cmn_ty_method_proc p) { return reinterpret_cast<F>(p); }

// Method ids and their signatures.
constexpr long CMN_TYP_NUM_METHODS = 33;
constexpr long CMN_MTH_5 = 5;
constexpr long CMN_MTH_PRINT = 6;
constexpr long CMN_MTH_GET = 7;
constexpr long CMN_MTH_ADDRESS = 8;
constexpr long CMN_MTH_SET = 9;
constexpr long CMN_MTH_LENGTH = 10;
constexpr long CMN_MTH_COMPARE = 11;
constexpr long CMN_MTH_12 = 12;
constexpr long CMN_MTH_13 = 13;
constexpr long CMN_MTH_CONVERT = 14;
constexpr long CMN_MTH_GET_NAME = 31;
constexpr long CMN_MTH_NAME_TO_ID = 32;

// 10: the element's length, used instead of the fixed size.
using cmn_ty_length_proc = long (*)(const void* element);
// 11: <0, 0, >0.
using cmn_ty_compare_proc = long (*)(const void* a, const void* b);
// 6: prints one element.
using cmn_ty_print_proc = long (*)(FILE* stream, long indent, const void* element, long type_id,
                                   long number);
// 7, 9, 8: typed field access; field_spec is a record of longs (element
// index, field type, unused, requested type, two words written by address-of).
using cmn_ty_get_proc = long (*)(void* cell, long* field_spec, long size, void* dest,
                                 long* allocated);
using cmn_ty_set_proc = long (*)(void* dest, long* field_spec, void* value);
using cmn_ty_address_proc = long (*)(void* element, void* reserved, void** address,
                                     long* field_spec);
// 14: same arguments as cmn_typ_convert.
using cmn_ty_convert_proc = long (*)(long owner_type, long src_type, void* src, long dst_type,
                                     void* dst, long dst_size, long* allocated);
// 31: (id, -1, name out, null) and 32: (name, null, id out, null).
using cmn_ty_get_name_proc = long (*)(long id, long field, const char** name,
                                      const char** field_name);
using cmn_ty_name_to_id_proc = long (*)(const char* name, const char* field, long* id,
                                        long* field_number);

// Registry record.
struct cmn_ty_obj_info {
  long id;          // equals the type id except 670 (573)
  long class_code;  // grouping code, carried only
  long flags;       // see CMN_TYP_FLAG_*
  const char* name;
  long size;  // element size in bytes, 0 = not fixed
  cmn_ty_method_proc* methods;  // CMN_TYP_NUM_METHODS slots, or null
  long extra;
  long name_msg;  // alert code of the localised name (with flag 64)
};

constexpr long CMN_TYP_FLAG_1 = 1;
constexpr long CMN_TYP_FLAG_SCALAR = 2;
constexpr long CMN_TYP_FLAG_INTEGER = 4;
constexpr long CMN_TYP_FLAG_SHARED = 32;
constexpr long CMN_TYP_FLAG_LOCALISE = 64;

// Type-info record: procedures to install together. Zero procedure words leave
// the slot as it is; class_code and size -1 keep the record's values.
struct cmn_ty_type_info {
  long reserved;
  long class_code;
  long size;
  cmn_ty_method_proc length;      // 10
  cmn_ty_method_proc compare;     // 11
  cmn_ty_method_proc method5;     // 5
  cmn_ty_method_proc print;       // 6
  cmn_ty_method_proc get;         // 7
  cmn_ty_method_proc set;         // 9
  cmn_ty_method_proc address_of;  // 8
  cmn_ty_method_proc method12;    // 12
  cmn_ty_method_proc method13;    // 13
  cmn_ty_method_proc convert;     // 14
  long extra;                     // record word 6 (filled by cmn_typ_get_info)
  cmn_ty_method_proc get_name;    // 31
  cmn_ty_method_proc name_to_id;  // 32
};

struct cmn_ty_method {
  long id;
  cmn_ty_method_proc proc;
};

// Built-in type ids used across the library.
constexpr long CMN_TYP_LONG = 512;
constexpr long CMN_TYP_SHORT = 513;
constexpr long CMN_TYP_FLOAT = 514;
constexpr long CMN_TYP_CHAR = 515;
constexpr long CMN_TYP_CHAR_P = 516;
constexpr long CMN_TYP_VOID_P = 517;
constexpr long CMN_TYP_ALERT = 527;
constexpr long CMN_TYP_VALUE = 597;
constexpr long CMN_TYP_CLK_TIME = 609;
constexpr long CMN_TYP_ELAPSED = 610;
constexpr long CMN_TYP_DOUBLE = 613;
constexpr long CMN_TYP_MONEY = 614;
constexpr long CMN_TYP_ANY_OBJECT = 634;
constexpr long CMN_TYP_BOOLEAN = 746;
constexpr long CMN_TYP_DECIMAL = 766;
constexpr long CMN_TYP_FIRST_BUILTIN = 512;
constexpr long CMN_TYP_LAST_BUILTIN = 811;
constexpr long CMN_TYP_FIRST_RUNTIME = 10000;
// Composite classes are numbered apart from the run-time record types.
constexpr long CMN_TYP_FIRST_COMPOSITE = 20000;

// Alert codes of the registry.
constexpr long CMN_TYP_BAD_TYPE = 0x100000;        // "Invalid data type %ld."
constexpr long CMN_TYP_BAD_CALLBACK = 0x100001;    // callback number, type
constexpr long CMN_TYP_BAD_IDCODE = 0x100004;      // subsystem number
constexpr long CMN_TYP_BAD_CLASS = 0x100019;       // "Invalid class %ld."
constexpr long CMN_TYP_BAD_METHOD = 0x10001a;      // method id, type
constexpr long CMN_TYP_BAD_TRAIT = 0x10001b;       // trait id
constexpr long CMN_TYP_BAD_COMP = 0x10001c;        // composite id
constexpr long CMN_TYP_TWO_METHODS = 0x10001d;     // method id, class name
constexpr long CMN_TYP_NO_METHOD = 0x10001e;       // method id, class name

ORB_API long cmn_typ_init();
ORB_API long cmn_typ_term();

// Registers or amends a type: id word, flags, name and size are stored when
// not -1 (name: not null); non-null procedures become methods 10, 11, 5, 6.
ORB_API long cmn_typ_install(long id, long id_word, long flags, const char* name, long size,
                     cmn_ty_length_proc length, cmn_ty_compare_proc compare,
                     cmn_ty_method_proc method5, cmn_ty_print_proc print);
ORB_API void cmn_typ_init_info(cmn_ty_type_info* info);
ORB_API long cmn_typ_install_info(long id, const cmn_ty_type_info* info);
ORB_API long cmn_typ_install_same_as(long id, long other);
ORB_API long cmn_typ_install_methods(long id, long count, const cmn_ty_method* list);
ORB_API long cmn_typ_add_methods(long id, long count, const cmn_ty_method* list);
ORB_API long cmn_typ_install_callback(long id, long number, cmn_ty_method_proc proc);
ORB_API long cmn_typ_find_callback(long id, long number, cmn_ty_method_proc* proc);

ORB_API long cmn_typ_get_obj_info(long id, cmn_ty_obj_info* info);
ORB_API long cmn_typ_put_obj_info(long id, const cmn_ty_obj_info* info);
ORB_API void cmn_dtype_init_obj_info(cmn_ty_obj_info* info);
ORB_API void cmn_dtype_copy_obj_info(const cmn_ty_obj_info* from, cmn_ty_obj_info* to);

// Any output may be null.
ORB_API long cmn_typ_info(long id, long* id_word, long* flags, const char** name, long* size,
                  cmn_ty_length_proc* length, cmn_ty_compare_proc* compare,
                  cmn_ty_method_proc* method5, cmn_ty_print_proc* print);
ORB_API long cmn_typ_get_info(long id, cmn_ty_type_info* info);
// out: get, set, address of, 12, 13, convert, get name, name to id.
ORB_API long cmn_typ_access_methods(long id, cmn_ty_method_proc out[8]);
ORB_API long cmn_typ_find_single_method(long id, long method, cmn_ty_method_proc* proc,
                                long* trait_index);
// trait_procs points to a buffer that the next call overwrites.
ORB_API long cmn_typ_find_methods(long id, long method, cmn_ty_method_proc* own, long* count,
                          const long** trait_ids, const cmn_ty_method_proc** trait_procs);

ORB_API long cmn_typ_get_size(const void* element, long id, long* size);
ORB_API long cmn_typ_valcomp(long id, const void* a, const void* b, long* result);
ORB_API long cmn_typ_get_flags(long id);
ORB_API long cmn_typ_is_valid_type(long id);
ORB_API long cmn_typ_is_valid_db_type(long id);

ORB_API const char* cmn_typ_name(long id);
ORB_API long cmn_typ_name_id(long id);
ORB_API long cmn_typ_name_to_id(const char* name, long* id);
ORB_API const char* cmn_typ_class_name(long id);

// Object-type groups and composite classes.
ORB_API long cmn_typ_construct_object(long first, long last, const cmn_ty_type_info* info);
ORB_API long cmn_typ_construct_class(const char* name, long value_class, long trait_count,
                             const long* trait_ids, long* id);
ORB_API long cmn_typ_comp_value_class(long id, long* value_class);
ORB_API long cmn_typ_is_comp_class(long id);
ORB_API long cmn_typ_comp_traits(long id, long* count, const long** trait_ids);

// 0 for a subsystem number 1..164, else pushes 0x100004.
ORB_API long cmn_typ_chk_idcode(long n);
// True when the generic field code (bit 24 cleared) lies in 0..153.
ORB_API long cmn_gfld_check(long code);

// Memory for conversion results. The installed procedures have the shape of
// the utility layer's segmented allocator.
using cmn_ty_alloc_proc = long (*)(const char* owner, long count, const long* type_ids,
                                   const long* sizes, void** addresses);
using cmn_ty_free_proc = long (*)(const char* owner, void* block);
ORB_API long cmn_typ_install_mem_procs(cmn_ty_alloc_proc alloc, cmn_ty_free_proc free_proc);
ORB_API long cmn_typ_alloc(const char* owner, long count, const long* type_ids, const long* sizes,
                   void** addresses);
ORB_API long cmn_typ_dealloc(const char* owner, void* block);

// Seams filled by modules built on the registry.
// Run-time record types (ids 10000 and up): name, record size and print.
using cmn_ty_dyn_name_proc = long (*)(long id, const char** name);
using cmn_ty_dyn_size_proc = long (*)(long id, long* size);
ORB_API long cmn_typ_install_dyn_procs(cmn_ty_dyn_name_proc name, cmn_ty_dyn_size_proc size,
                               cmn_ty_print_proc print);
// Installer of the built-in types' method lists, run by cmn_typ_init.
using cmn_ty_init_proc = long (*)();
ORB_API long cmn_typ_install_builtin_methods_proc(cmn_ty_init_proc proc);
