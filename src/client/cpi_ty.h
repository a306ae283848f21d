// Records of the client interface: object ids, traversal-map levels with
// their conditions and sort orders, query results and session options.
//
// Handles: a connection id and a state are longs (0 = none); an object is an
// opaque pointer of the object store.
#pragma once

#include <cstdint>

// An object id: word 0 holds the object type id in its low 17 bits, word 1
// the database id number (0 = never saved), word 2 a further id part.
struct cpi_ty_objid {
  int32_t type_word;
  int32_t id_number;
  int32_t id_ext;
};

constexpr int32_t CPI_OBJID_TYPE_MASK = 0x1ffff;

// Query operators used by callers of the interface (the full list belongs to
// the core runtime's query operators).
constexpr int32_t CPI_OP_EQUAL = 4;
constexpr int32_t CPI_OP_STARTS_WITH = 6;
constexpr int32_t CPI_OP_IN = 9;

// One condition of a level: operator, field name or dotted field path of the
// level's type, value as text (an in-list for CPI_OP_IN).
struct cpi_ty_fcond {
  int32_t op;
  const char* field;
  const char* value;
};

// One sort order: field name or dotted path, and a direction byte.
struct cpi_ty_forder {
  const char* field;
  char direction;
};

// Level kinds.
constexpr int32_t CPI_KIND_ROOT_REL = 1;   // related to the root through the relation
constexpr int32_t CPI_KIND_TYPE = 4;       // all objects of the named type
constexpr int32_t CPI_KIND_OPTION = 32;    // extra option handed down

struct cpi_ty_level_entry;

// One level of a traversal map; the pointers stay the caller's.
struct cpi_ty_trav_map {
  const char* rel_name;         // kind 1 or parent-related levels
  const char* type_name;        // kind 4: the type queried
  int32_t parent;               // -1 = none
  int32_t kind;
  int32_t cond_count;
  cpi_ty_fcond* conds;
  char flag;                    // set by callers; not read by the query
  int32_t order_count;
  cpi_ty_forder* orders;
  cpi_ty_level_entry* result;   // output: this level's entry in the result
};

// A level of a query result: object count, two words of the community fetch,
// the array of object handles.
struct cpi_ty_level_entry {
  int32_t count;
  int32_t fetch_word1;
  int32_t fetch_word2;
  void** objects;
};

// The result handle of a traversal-map query (freed by cpi_qry_free_results).
struct cpi_ty_qry_result {
  void* objects_col;            // the object collection of the whole query
  long levels;
  cpi_ty_level_entry* entries;
  char no_state;                // 1: the collection belongs to the community fetch
};

// Session options: 1 SQL log to a file, 2 SQL log to standard output,
// 3 message mode.
constexpr long CPI_OPT_SQL_LOG_FILE = 1;
constexpr long CPI_OPT_SQL_LOG_STDOUT = 2;
constexpr long CPI_OPT_MSG_MODE = 3;
constexpr int CPI_OPT_FILE_NAME_SIZE = 100;

struct cpi_ty_opt_value {
  int32_t word;
  int16_t short_word;
  char flag;
  char file_name[CPI_OPT_FILE_NAME_SIZE];  // zero-ended
};
