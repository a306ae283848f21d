// Operations over whole collections: union and intersection of a collection
// of collections, removal of adjacent duplicates, merging, the difference of
// two collections, list texts such as (1, 2, 3) or ('a', "b") parsed into a
// typed collection and a normalised SQL list text, and the printed form of a
// collection. Elements compare with their type's compare procedure.
//
// A collection of collections holds collection handles in its slots (type
// 598, "Collection", or any pointer-sized in-slot type).
//
// Threads: as utl_col.h: a collection is used by one caller at a time.
#pragma once

#include <cstdio>

#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "orb_api.h"

constexpr long UTL_COL_SUMMARY_TYPE = 595;
constexpr long UTL_COL_OF_COLS_TYPE = 598;
constexpr long UTL_DIFFERENT_TYPES = 0x400000 + 32;   // returned, not pushed
constexpr long UTL_DIFF_TYPES = 0x400000 + 34;        // type names of a and b
constexpr long UTL_LIST_ITEM = 0x400000 + 50;         // item, type name
constexpr long UTL_LIST_TEXT_MAX = 519;
constexpr long UTL_LIST_ITEM_MAX = 511;
constexpr long UTL_LIST_KEEP_QUOTES = 1;

// One member collection while a union or intersection runs (type 595).
struct utl_ty_col_summary {
  long position;  // index of the member's current element
  long count;     // number of elements of the member
  void* current;  // address of the current element
  cmn_ty_compare_proc compare;
  utl_ty_col* member;
};

// Registers type 595 (run by utl_col_init).
long utl_col1_init();
ORB_API long utl_col_summarycmp(const void* a, const void* b);
ORB_API long utl_col_summary_shortest_cmp(const void* a, const void* b);

ORB_API long utl_col_union(utl_ty_col* cols, utl_ty_col** result);
ORB_API long utl_col_union_merge_sort_style(utl_ty_col* cols, utl_ty_col** result);
ORB_API long utl_col_intersection(utl_ty_col* cols, utl_ty_col** result);
ORB_API long utl_col_eliminate_duplicates(utl_ty_col* col);
ORB_API long utl_col_merge_col(utl_ty_col* source, utl_ty_col* target);
ORB_API long utl_col_copy_all_collections(utl_ty_col* cols, utl_ty_col* target);
// summaries may be null (only type and count are wanted); is_union 1 for a
// union, 0 for an intersection.
ORB_API long utl_col_extract_summaries(utl_ty_col* cols, utl_ty_col** summaries, long* type, long* count,
                                       long is_union);

// Each output collection pointer may be null (not wanted); a wanted output
// that holds null is made like a.
ORB_API long utl_col_diff(utl_ty_col* a, utl_ty_col* b, long sort_first, utl_ty_col** only_a, long* num_only_a,
                          utl_ty_col** only_b, long* num_only_b, utl_ty_col** common, long* num_common);

// Parses a list text. result (may be null) receives the normalised list text
// within result_size bytes; col (may be null) a new collection of the element
// type (516 for type -1); number the count of accepted items.
ORB_API long utl_col_convert_to_list(const char* text, long type, char* result, long result_size, utl_ty_col** col,
                                     long* number);
ORB_API long utl_col_convert_to_list_opt(const char* text, long type, long options, char* result, long result_size,
                                         utl_ty_col** col, long* number);

// Prints the collection as a list text: appended to estr when given, else
// written to stream, else to the OS layer's message stream.
ORB_API long utl_col_dump_list(FILE* stream, utl_ty_estr* estr, utl_ty_col* col, long unused);
