// What the login reset and the event poll share: the one-level query over
// the event or archive table, and the event record read from a row.
#pragma once

#include <string>

#include "client/cpi_ty.h"

// Level count a poll's map is initialised for, and the count it runs with.
constexpr long CONN_EVENT_MAP_LEVELS = 2;
constexpr long CONN_EVENT_RUN_LEVELS = 1;
// cpi_obj_delete's flags for an event row.
constexpr long CONN_EVENT_DELETE_FLAGS = 2;

constexpr const char* CONN_EVENT_READY = "0";
constexpr const char* CONN_EVENT_TAKEN = "1";

// One level over a table with up to two equality conditions, optionally
// ordered by "event_priority" then "objid".
struct conn_ty_event_query {
  cpi_ty_trav_map levels[CONN_EVENT_MAP_LEVELS];
  cpi_ty_fcond conds[2];
  cpi_ty_forder orders[2];
  std::string values[2];
};
void conn_event_query(conn_ty_event_query& q, const char* table, const char* field1,
                      const std::string& value1, const char* field2, const char* value2,
                      bool ordered);

// The fields a poll reads from an event row.
struct conn_ty_event {
  long objid = 0;
  std::string name;
  std::string verb;
  std::string key;
};
// Reads the five fields of an event row; 0 or the failed call's status.
long conn_event_read(void* row, conn_ty_event& event);
