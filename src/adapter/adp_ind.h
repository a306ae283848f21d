// Catalogue index records (type 758) the index calls hand between the
// adapter and its dialects.
#pragma once

#include <cstdio>

#include "orb_api.h"

class KAdpConnId;
struct typ_sch_srec;
struct utl_ty_col;
struct utl_ty_estr;

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
// Prints a record (its name, columns and the dialect's attributes) indented
// by indent blanks.
ORB_API long adp_ind_print_ind_info(FILE* stream, long indent, const void* element, long type_id, long number);

// The index calls the table-change engine does not make (the others are in
// adp_sce.h). Rows of adp_sch_index are found by lower-case name.

// The columns of a declared index (its field_names split at ":", appended
// to fields) and whether it is unique; a type without the index leaves both.
ORB_API long adp_ind_get_index(KAdpConnId* con, long type_id, const char* name, utl_ty_col* fields,
                               char* unique);
// adp_ind_drop_an_index without a script, its row deleted.
ORB_API long adp_ind_drop_index(KAdpConnId* con, long type_id, const char* name);
// DROP INDEX of a physical index of table; with options bit 0 the statement
// is only prepared. The failure is returned.
ORB_API long adp_ind_drop_named_index(KAdpConnId* con, const char* table, const char* name, long unused,
                                      long options);
// 1 when the server has an index of that name (any case); 0 when not or
// when the question fails.
ORB_API long adp_ind_exists(KAdpConnId* con, const char* name);
// Drops one physical index of the type's table when the server has it; a
// failing DROP is forgotten (0).
ORB_API long adp_ind_do_drop_an_index(KAdpConnId* con, typ_sch_srec* type, const char* name, FILE* stream,
                                      long options);
// The CREATE INDEX texts of the records, appended to text (the current
// connection's dialect).
ORB_API long adp_ind_sql_build_table_index(const char* table, utl_ty_col* records, utl_ty_estr* text);
// Oracle: fits the records to the columns the table has now. renamed holds
// pairs of field names (old, new); a column that is gone takes its new name
// or leaves the index, and an index left without columns is dropped with
// its row and its record. Other servers: nothing.
ORB_API long adp_ind_check_columns(KAdpConnId* con, const char* table, typ_sch_srec* type, utl_ty_col* records,
                                   utl_ty_col* renamed, FILE* stream, long options);
