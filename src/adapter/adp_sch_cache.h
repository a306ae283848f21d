// The adapter's type cache of the schema dictionary: per object type its
// id, name, physical table, schema record, flags and, when descriptions
// were read, description, group and SQL view text. Every SQL-building call
// goes from a type id to its table through it. Also the finders, the
// physical-name helpers and the column-type tables of the dialects.
//
// Threads: the cache, its name pool, the read flags and the module buffers
// are process-wide and unguarded; one thread opens the database.
#pragma once

#include <cstdio>

#include "orb_api.h"

class KAdpConnId;
struct typ_sch_srec;

constexpr long ADP_TY_SCH_TYPE = 764;
constexpr unsigned long ADP_SCH_SQL_VIEW = 0x100000;  // type flag: a view defined by SQL text

struct adp_sch_type_entry {
  long type_id;
  char* type_name;      // in the name pool
  char* table_name;     // in the name pool
  typ_sch_srec* schema;  // null until linked
  long type_flags;
  char* description;     // local code page; null unless comments were read
  char* group;           // null unless comments were read
  char* sql;             // null unless comments were read and the flags carry 0x100000
};

// The cache in load order (republished after every change).
extern adp_sch_type_entry* adp_sch_types;
extern long adp_sch_num_types;

// Read flags (set by callers before the open, never cleared).
ORB_API long adp_sch_get_comment_flag();
ORB_API long adp_sch_set_to_use_snapshot();
ORB_API long adp_sch_use_snapshot();

// Index of the entry of a type id, -1 when none (never fails).
ORB_API long adp_sch_find_type(long type_id, long* index);
// The type whose physical table is exactly name, -1 when none.
ORB_API long adp_sch_type_find(const char* table_name, long* type_id);
ORB_API long adp_sch_type_name_find(long type_id, const char** name);
// Refreshes cache entry cache_index from schema record schema_index.
ORB_API long adp_sch_type_copy(long schema_index, long cache_index);
// The physical table of a type name by the current connection's mapper, in
// a module buffer the next call overwrites.
ORB_API long adp_sch_tbl_name_make(const char* type_name, const char** out);
// The name without SQL Server's owner prefix ("dbo."), into out (size bytes).
ORB_API long adp_sch_tbl_name_noprefix(KAdpConnId* con, const char* name, char* out, long size);
// SQL Server: the relation's physical column name into out; else untouched.
ORB_API long adp_sch_get_phys_relation_name(const char* name, char* out, long size);
// SQL Server: the column list of a type ("a.f, a.g" with the alias, and the
// "s_" search columns unless no_search is 1), valid until the next call.
ORB_API long adp_sch_list_columns(KAdpConnId* con, typ_sch_srec* schema, const char* alias, const char** out,
                                  char no_search);
// The db type of a catalogue type name through the current dialect.
ORB_API long adp_sch_convert_dbtype(const char* type_text);
// A copy of text in the cache's name pool (kept until the process ends).
ORB_API long adp_sch_name_copy(const char* text, char** out);
// The two passes of adp_sch_read_all, and the comment pass of the cache.
ORB_API long adp_sch_read_schemas(KAdpConnId* con, FILE* stream);
ORB_API long adp_sch_types_init_comment(KAdpConnId* con, FILE* stream);
