// Catalogue index records (type 758) the index calls hand between the
// adapter and its dialects.
#pragma once

#include <cstdio>

#include "orb_api.h"

struct utl_ty_col;

constexpr long ADP_TY_INDEX_INFO = 758;
constexpr long ADP_IND_TEXT = 128;  // characters of each text field

// One catalogue index of a table.
struct adp_ty_index_info {
  char name[ADP_IND_TEXT + 1];      // the index's physical name
  utl_ty_col* fields;               // its columns in key order
  char in_schema;                   // 1: the schema declares it
  long dialect_word;                // kept for the dialect
  char location[ADP_IND_TEXT + 1];  // SQL Server file group
  long attributes;                  // SQL Server status bits
  char uniqueness[ADP_IND_TEXT + 1];  // Oracle's uniqueness value
  long ini_trans, max_trans, pct_free;
  char tablespace[ADP_IND_TEXT + 1];  // Oracle tablespace
  long pct_increase, initial_extent, next_extent, min_extents, max_extents;
};

// Registers record type 758.
ORB_API long adp_ind_init();
ORB_API long adp_ind_print_ind_info(FILE* stream, long indent, const void* element, long type_id, long number);
