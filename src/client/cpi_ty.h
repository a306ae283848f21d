// Records of the client interface: object ids, traversal-map levels with
// their conditions and sort orders, query results and session options.
//
// Handles: a connection id and a state are longs (0 = none); an object is an
// opaque pointer of the object store.
#pragma once

#include <cstdint>

// An object id, laid out as the object store's id record (three longs):
// word 0 holds the object type id in its low 17 bits, word 1 the database id
// number (0 = never saved), word 2 a further id part.
struct cpi_ty_objid {
  long type_word;
  long id_number;
  long id_ext;
};

constexpr int32_t CPI_OBJID_TYPE_MASK = 0x1ffff;

// Query operators of a condition: the core runtime's 26 query operators
// (0 to 25). A query hands the store the comparisons 0 to 5 and "is in" (9)
// as they are, the wildcard forms as LIKE / NOT LIKE patterns and "sounds
// like" as the store's sound-alike test; every other operator is refused.
constexpr int32_t CPI_OP_GREATER = 0;
constexpr int32_t CPI_OP_GREATER_EQUAL = 1;
constexpr int32_t CPI_OP_LESS = 2;
constexpr int32_t CPI_OP_LESS_EQUAL = 3;
constexpr int32_t CPI_OP_EQUAL = 4;
constexpr int32_t CPI_OP_NOT_EQUAL = 5;
constexpr int32_t CPI_OP_STARTS_WITH = 6;
constexpr int32_t CPI_OP_ENDS_WITH = 7;
constexpr int32_t CPI_OP_CONTAINS = 8;
constexpr int32_t CPI_OP_IN = 9;
constexpr int32_t CPI_OP_BETWEEN = 10;
constexpr int32_t CPI_OP_NOT_STARTS_WITH = 11;
constexpr int32_t CPI_OP_NOT_ENDS_WITH = 12;
constexpr int32_t CPI_OP_NOT_CONTAINS = 13;
constexpr int32_t CPI_OP_NOT_BETWEEN = 14;
constexpr int32_t CPI_OP_NOT_IN = 15;
constexpr int32_t CPI_OP_SOUNDS_LIKE = 16;
constexpr int32_t CPI_OP_COUNT = 26;

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

// A level of a query result, laid out as the community fetch's level record:
// object count, index of the level's first object in the result collection,
// done flag, the array of object handles.
struct cpi_ty_level_entry {
  long count;
  long fetch_word1;  // first index
  long fetch_word2;  // done flag
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
