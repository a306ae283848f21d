// The table-change engine: the change records (type 701) that turn a list
// of schema differences into table, column, view and index changes, and
// the calls that compute and carry them out. The entry points the upgrade
// applier calls are in dbs_upg.h.
#pragma once

#include "orb_api.h"

#include <cstdio>

class KAdpConnId;
struct typ_sch_srec;
struct utl_ty_col;
struct utl_ty_pool;

constexpr long DBS_TY_TBL_CHANGE = 701;

// Change operations.
enum : long {
  DBS_RDB_ADD_COLUMN = 0,
  DBS_RDB_DELETE_COLUMN = 1,
  DBS_RDB_MODIFY_COLUMN = 2,
  DBS_RDB_RENAME_COLUMN = 3,
  DBS_RDB_ADD_TABLE = 4,
  DBS_RDB_DELETE_TABLE = 5,
  DBS_RDB_MODIFY_TABLE = 6,
  DBS_RDB_RENAME_TABLE = 7,
  DBS_RDB_DEFINE_VIEW = 8,
  DBS_RDB_NO_OP = 9,
  DBS_RDB_READD_TABLE = 10,
  DBS_RDB_RECOMPILE_INDEXES = 11,
  DBS_RDB_ADD_ARRAYS = 12,
  DBS_RDB_DROP_VIEW = 13,
  DBS_RDB_CASE_INSENSITIVE = 14,
  DBS_RDB_CASE_SENSITIVE = 15,
  DBS_RDB_ADD_COLUMN2 = 16,
  DBS_RDB_RENAME_EXCL = 17,
  DBS_RDB_EXCL_BOTH = 18,
  DBS_RDB_EXCL_OLD = 19,
  DBS_RDB_EXCL_NEW = 20,
  DBS_RDB_TYPE_FLAGS = 21,
};

// The table-definition byte asking for the relation key columns too: a
// table the engine makes keeps the keys its type holds on the foreign side.
constexpr char DBS_RDB_WITH_RELATION_COLUMNS = 1;

// Longest table name made: "dbo.table_" and a 64-character type name.
constexpr long DBS_RDB_TABLE_NAME_MAX = 74;

// Change record (type 701). Texts live in the change list's pool.
struct dbs_ty_tbl_change {
  long op;
  typ_sch_srec* schema;                      // the type in the new model
  char table_name[DBS_RDB_TABLE_NAME_MAX + 1];  // database table name
  char* name;         // column, table definition (4, 10), view SQL (8), old table name (7)
  char* second_name;  // new column or table name (2, 3, 7) or a second operand
  long old_db_type;
  long new_db_type;
  long old_length;
  long new_length;
  char* default_text;  // SQL text of an added column's default
  unsigned long operand;   // type flags & 0x280000 (21), relation record (18-20)
  unsigned long operand2;  // the second relation record (18)
};

// Installs record type 701 with its print and compare procedures.
ORB_API long dbs_rdb_init();
// Prints one record as "<number + 1>) <table>: <operation text>".
ORB_API long dbs_rdb_print_change(FILE* stream, long indent, const void* record, long type_id, long number);
ORB_API long dbs_rdb_compare_change(const void* a, const void* b);

// (n & 0x0fffffff) | 0xffc00000, sign-extended: a temporary unique key.
ORB_API long dbs_rdb_temp_unique_key(long n);
// "table_%s", or "dbo.table_%s" with the owner prefix; out holds
// DBS_RDB_TABLE_NAME_MAX + 1 bytes.
ORB_API long dbs_rdb_make_table_name(const char* type_name, char* out);
// The first record of `table` with op `op` (-1: any); for op 3 the one
// whose name text is `name`. None leaves *out null.
ORB_API long dbs_rdb_find_change(utl_ty_col* list, const char* name, long op, dbs_ty_tbl_change** out);
ORB_API long dbs_rdb_add_rename_tbl(const char* old_name, const char* new_name, utl_ty_col* old_list,
                                    utl_ty_col* new_list);
ORB_API long dbs_rdb_free_textptr(void* p);

// One member list (type 516) per stored index of the type in *list (type
// 517): the index name, then its field names; extension word 1 for UNIQUE.
ORB_API long dbs_rdb_get_indexes(KAdpConnId* con, long type_id, utl_ty_col** list);
// Frees each member list, then the list.
ORB_API long dbs_rdb_free_ind_col(utl_ty_pool* pool, utl_ty_col* list);
ORB_API long dbs_rdb_create_indexes(KAdpConnId* con, typ_sch_srec* schema, FILE* stream, long options);
ORB_API long dbs_rdb_drop_indexes(KAdpConnId* con, typ_sch_srec* type, FILE* stream, long options);

// Rebuilds a table under a temporary name and copies its rows across.
ORB_API long dbs_rdb_modify_table(KAdpConnId* con, const char* type_name, typ_sch_srec* old_record,
                                  utl_ty_col* changes, FILE* stream, long options);
ORB_API long dbs_rdb_extend_table(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* changes, FILE* stream,
                                  long options);
ORB_API long dbs_rdb_rename_columns(KAdpConnId* con, typ_sch_srec* type, utl_ty_col* changes, FILE* stream,
                                    long options);
ORB_API const char* dbs_rdb_db_type_name(long db_type);
ORB_API long dbs_rdb_set_max_copy_size(long n);
