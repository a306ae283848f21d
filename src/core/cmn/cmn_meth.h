// The built-in types' methods: compare procedures, print procedures, typed
// field access (get, set, address of) and the object-type name conversion.
// cmn_meth_install_all installs the method lists in the registry; the core
// start-up hands it to cmn_typ_init.
//
// Element conventions: compare and print procedures take element addresses
// as the registry hands them out (a char pointer or decimal element is the
// text or record itself); cmn_typ_val and the get and set methods take a
// cell, the address of the stored value (for a char pointer or a decimal,
// the address of the pointer to it), as cmn_typ_convert does. Get methods write through a destination slot (the
// address of a pointer to the destination storage; see cmn_typ_conv.h).
//
// Threads: as cmn_typ.h (the methods are installed at start-up and read the
// registry; unguarded, one thread at a time).
#pragma once

#include <cstdio>

#include "orb_api.h"

// Records of the compared and printed core types.
struct cmn_ty_name_val {
  const char* name;
  long type;   // the value: a type id and a value word
  long value;
};

struct cmn_ty_tstruct {
  const char* name;
  long l1;
  long l2;
  long reserved;
};

struct cmn_ty_prop_map {
  long obj_type;
  const char* prop;
  const char* data_type;
  long length;
  const char* path;
  const char* extra_info;
  long subtype;
};

// One entry of an object-state traversal chain (type 704).
struct cmn_ty_trav_entry {
  long from;
  long rel_id;
  long num_conds;
  void* conds;
  long num_orders;
  void* orders;
  const cmn_ty_trav_entry* next;  // the next level, or null
  long reserved;
};

// Field spec words of the get, set and address-of methods.
constexpr long CMN_SPEC_INDEX = 0;
constexpr long CMN_SPEC_FIELD_TYPE = 1;
constexpr long CMN_SPEC_REQUESTED = 3;
constexpr long CMN_SPEC_ADDR1 = 4;
constexpr long CMN_SPEC_ADDR2 = 5;
constexpr long CMN_SPEC_WORDS = 6;

constexpr long CMN_TYP_UNEXPECTED = 0x10000d;   // "Data type %ld unexpected."
constexpr long CMN_TYP_NOT_NUMERIC = 0x100011;  // "Value '%s' must be a numeric value."

// Installs the 23 method lists in order; the first failure is returned.
ORB_API long cmn_meth_install_all();

ORB_API void cmn_typ_init_disp_ctx(long* context);

// Compare procedures.
ORB_API long cmn_typ_longcmp(const void* a, const void* b);
ORB_API long cmn_typ_shortcmp(const void* a, const void* b);
ORB_API long cmn_typ_charcmp(const void* a, const void* b);
ORB_API long cmn_typ_floatcmp(const void* a, const void* b);
ORB_API long cmn_typ_doublecmp(const void* a, const void* b);
ORB_API long cmn_typ_strcmp(const void* a, const void* b);
ORB_API long cmn_typ_compare_longpair(const void* a, const void* b);
ORB_API long cmn_typ_compare_longtriple(const void* a, const void* b);
ORB_API long cmn_typ_compare_oid(const void* a, const void* b);
ORB_API long cmn_typ_compare_oidpair(const void* a, const void* b);
ORB_API long cmn_typ_compare_longdozen(const void* a, const void* b);
ORB_API long cmn_typ_propmapcmp(const void* a, const void* b);
ORB_API long cmn_typ_name_val_cmp(const void* a, const void* b);
ORB_API long cmn_typ_compare_tstruct(const void* a, const void* b);
ORB_API long cmn_typ_value_cmp(const void* a, const void* b);
ORB_API long cmn_typ_str_len(const void* element);

// Print procedures (stream null: standard output).
ORB_API long cmn_typ_print_val(FILE* stream, long indent, const void* element, long id, long number);
ORB_API long cmn_typ_print_tstruct(FILE* stream, long indent, const void* element, long id, long number);
ORB_API long cmn_typ_print_trav(FILE* stream, long indent, const void* element, long id, long number);
// Text of the value in the cell, in a static 1024-byte buffer that each call
// overwrites; with label set a label precedes the value.
ORB_API const char* cmn_typ_val(const void* cell, long id, long label);

// Field access.
ORB_API long cmn_typ_long_get(void* cell, long* spec, long size, void* dest, long* allocated);
ORB_API long cmn_typ_long_set(void* dest, long* spec, void* value);
ORB_API long cmn_typ_long_gaddr(void* element, void* reserved, void** address, long* spec);
ORB_API long cmn_typ_char_p_get(void* cell, long* spec, long size, void* dest, long* allocated);
ORB_API long cmn_typ_char_p_set(void* dest, long* spec, void* value);
ORB_API long cmn_typ_char_p_gaddr(void* element, void* reserved, void** address, long* spec);
ORB_API long cmn_typ_long_arr_get(void* cell, long* spec, long size, void* dest, long* allocated);
ORB_API long cmn_typ_long_arr_set(void* dest, long* spec, void* value);
ORB_API long cmn_typ_long_arr_gaddr(void* element, void* reserved, void** address, long* spec);
ORB_API long cmn_typ_float_get(void* cell, long* spec, long size, void* dest, long* allocated);
ORB_API long cmn_typ_float_set(void* dest, long* spec, void* value);
ORB_API long cmn_typ_float_gaddr(void* element, void* reserved, void** address, long* spec);
ORB_API long cmn_typ_double_get(void* cell, long* spec, long size, void* dest, long* allocated);
ORB_API long cmn_typ_double_set(void* dest, long* spec, void* value);
ORB_API long cmn_typ_obj_type_convert(long owner, long src_type, void* src, long dst_type, void* dst_slot,
                                      long dst_size, long* allocated);
