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
