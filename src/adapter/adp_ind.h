// Catalogue index records (type 758) the index calls hand between the
// adapter and its dialects.
#pragma once

#include <cstdio>

#include "orb_api.h"

struct utl_ty_col;

constexpr long ADP_TY_INDEX_INFO = 758;
constexpr long ADP_IND_TEXT = 128;  // characters of each text field; a longer catalogue value is refused

// Bits of null_storage: the Oracle storage values the catalogue left NULL.
constexpr unsigned long ADP_IND_NULL_INI_TRANS = 1;
constexpr unsigned long ADP_IND_NULL_MAX_TRANS = 2;
constexpr unsigned long ADP_IND_NULL_PCT_FREE = 4;
constexpr unsigned long ADP_IND_NULL_TABLESPACE = 8;
constexpr unsigned long ADP_IND_NULL_PCT_INCREASE = 16;
constexpr unsigned long ADP_IND_NULL_INITIAL = 32;
constexpr unsigned long ADP_IND_NULL_NEXT = 64;
constexpr unsigned long ADP_IND_NULL_MIN_EXTENTS = 128;
constexpr unsigned long ADP_IND_NULL_MAX_EXTENTS = 256;

// One catalogue index of a table.
struct adp_ty_index_info {
  char name[ADP_IND_TEXT + 1];      // the index's physical name
  long index_id;                    // SQL Server's index id (1: clustered)
  utl_ty_col* fields;               // its columns in key order
  char in_schema;                   // 1: the schema declares it
  long dialect_word;                // kept for the dialect
  char location[ADP_IND_TEXT + 1];  // SQL Server file group
  long fill_factor;                 // SQL Server, 0 when none
  long attributes;                  // SQL Server status bits
  char uniqueness[ADP_IND_TEXT + 1];  // Oracle's uniqueness value
  long ini_trans, max_trans, pct_free;
  char tablespace[ADP_IND_TEXT + 1];  // Oracle tablespace
  long pct_increase, initial_extent, next_extent, min_extents, max_extents;
  unsigned long null_storage;       // ADP_IND_NULL_* bits; their values read 0
};

// Registers record type 758.
ORB_API long adp_ind_init();
ORB_API long adp_ind_print_ind_info(FILE* stream, long indent, const void* element, long type_id, long number);
