// The connector's reporting of CRM failures: the error-log file
// "orbisan.err", state and object dumps, and a helper for one-level
// queries.
#pragma once

#include "client/cpi_ty.h"

// Object-store alerts that mean the database connection is gone.
constexpr long CONN_ALRT_CONNECTION_LOST = 0x70002e;
constexpr long CONN_ALRT_SQL_FAILED = 0x70002f;

constexpr const char* CONN_ERROR_LOG = "orbisan.err";
constexpr long CONN_NOT_FOUND = -9999;

// A parameter record of setup_data: a type word, a size word (bytes) and a
// value pointer.
struct conn_ty_param {
  long type;
  long size;
  void* value;
};
// Type words of a parameter record.
constexpr long CONN_PARAM_LONG = 1;
constexpr long CONN_PARAM_FLOAT = 2;
constexpr long CONN_PARAM_POINTER = 3;
constexpr long CONN_PARAM_LONG_POINTER = 4;
constexpr long CONN_PARAM_TEXT = 5;

class OrbisanUtilityFn {
 public:
  // Reports a failed CRM call and returns its status unchanged: a lost
  // connection becomes broker message 20018, a status of 1 or below is
  // nothing, any other an entry in "orbisan.err".
  long log_error(long status, const char* ignored = nullptr);
  // Writes one error-log entry (time line, the CRM alert stack, "\n") and
  // clears the alert stack; buffer, when given, is emptied. 0.
  long get_error_string(char* buffer, const char* ignored = nullptr);
  // Dumps into the state dump file when one is configured and opens.
  void cpi_obj_dump(void* object);
  void cpi_state_dump(long state);
  // A one-level query whose first hit is read by mode: 1 several fields,
  // 2 its object id, 3 one field. -9999 when nothing is found, -1 on failure.
  long run_query(long con_id, long state, cpi_ty_trav_map* map, cpi_ty_qry_result** result,
                 void*** objects, long* count, const char* const* field_names,
                 void* const* values, long field_count, int mode, int keep);
  // Mode 1: from `start` on, each value goes into its record's value
  // pointer; -1 at the first record whose size word differs from sizes[i].
  // Mode 2: each record's size goes to sizes[i] and its value out into
  // values[i]: a long or float through the pointer values[i] holds, types 3
  // and 4 the pointer itself, a text copied into values[i] within the
  // record's size. Any other mode does nothing. 0 or -1.
  long setup_data(conn_ty_param* params, long count, void** values, long start, long* sizes,
                  int mode);
};

// Business objects whose identifiers come from a numbering scheme.
class numGen {
 public:
  numGen();
  int isGenerated(const char* bo_name) const;
  // Null when the object has no scheme.
  const char* getSchemeName(const char* bo_name) const;

 private:
  struct Pair {
    char bo_name[80];
    char scheme[80];
  };
  Pair pairs_[10];
  int count_ = 0;
};
