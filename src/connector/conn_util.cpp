// OrbisanUtilityFn: error log, dumps and the one-level query helper; numGen.
#include "connector/conn_util.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "client/cpi_obj.h"
#include "client/cpi_qry.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_msg.h"

long OrbisanUtilityFn::log_error(long status, const char* /*ignored*/) {
  if (status == CONN_ALRT_CONNECTION_LOST || status == CONN_ALRT_SQL_FAILED) {
    JToCPPVeneer* veneer = JToCPPVeneer::getTheHandlerStuff();
    char* text = veneer->generateKzMsg(CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_FATAL, nullptr,
                                       1, CONN_NAME);
    veneer->logMsg(text, KzMsgFormat::ORB_FATAL);
    return status;
  }
  if (status <= 1) return status;
  get_error_string(nullptr);
  return status;
}

long OrbisanUtilityFn::get_error_string(char* buffer, const char* /*ignored*/) {
  if (buffer) buffer[0] = '\0';
  if (FILE* f = fopen(CONN_ERROR_LOG, "a+")) {
    time_t now = time(nullptr);
    char when[64] = {};
    ctime_r(&now, when);
    fprintf(f, "%s:", when);
    fflush(f);
    cpi_alert_print(f, 0);
    fprintf(f, "\n");
    fclose(f);
  }
  // Cleared also when the file cannot be opened, so that the next entry does
  // not repeat these alerts.
  cpi_alert_clear();
  return 0;
}

namespace {

FILE* conn_open_state_dump() {
  OrbisanGlobals* globals = OrbisanGlobals::current();
  const char* name = globals ? globals->stateDumpFileName() : nullptr;
  return name ? fopen(name, "a") : nullptr;
}

}  // namespace

void OrbisanUtilityFn::cpi_obj_dump(void* object) {
  if (FILE* f = conn_open_state_dump()) {
    ::cpi_obj_dump(object, f);
    fclose(f);
  }
}

void OrbisanUtilityFn::cpi_state_dump(long state) {
  if (FILE* f = conn_open_state_dump()) {
    ::cpi_state_dump(state, f);
    fclose(f);
  }
}

long OrbisanUtilityFn::run_query(long con_id, long state, cpi_ty_trav_map* map,
                                 cpi_ty_qry_result** result, void*** objects, long* count,
                                 const char* const* field_names, void* const* values,
                                 long field_count, int mode, int keep) {
  JToCPPVeneer* veneer = JToCPPVeneer::getTheHandlerStuff();
  OrbisanGlobals* globals = OrbisanGlobals::current();
  auto report = [&](int number) {
    if (!globals) return;
    char* text = globals->generateTraceMsg(number, KzMsgFormat::ORB_ERROR, nullptr, 0);
    if (*text) veneer->logMsg(text, KzMsgFormat::ORB_ERROR);
  };
  if (globals) {
    char* text = globals->generateTraceMsg(CONN_MSG_RUN_QUERY, KzMsgFormat::ORB_INFO, nullptr, 0);
    if (*text) veneer->traceWrite(Tracing::LEVEL5, text, nullptr);
  }
  if (cpi_qry_traverse_map(con_id, state, nullptr, 1, map, 0, result) != 0) {
    cpi_alert_print(nullptr, 0);
    cpi_alert_clear();
    report(CONN_MSG_QRY_TRAVERSE);
    return -1;
  }
  if (cpi_qry_get_result(*result, 0, 0, count, objects) != 0) {
    report(CONN_MSG_QRY_RESULT);
    cpi_qry_free_results(*result);
    *result = nullptr;
    return -1;
  }
  long status = 0;
  if (*count < 1) {
    status = CONN_NOT_FOUND;
  } else if (mode == 1) {
    if (cpi_obj_get_mult_fields((*objects)[0], field_count, field_names, 0, values, nullptr)) {
      report(CONN_MSG_QRY_READ);
      status = -1;
    }
  } else if (mode == 2) {
    if (cpi_obj_id((*objects)[0], static_cast<cpi_ty_objid*>(values[0]), nullptr, nullptr,
                   nullptr)) {
      report(CONN_MSG_QRY_READ);
      status = -1;
    }
  } else if (mode == 3) {
    if (cpi_obj_get_field((*objects)[0], field_names[0], 0, values[0], nullptr)) {
      report(CONN_MSG_QRY_READ_FIELD);
      status = -1;
    }
  } else {
    report(CONN_MSG_QRY_MODE);
    status = -1;
  }
  if (keep != 1) {
    if (cpi_qry_free_results(*result) != 0) {
      report(CONN_MSG_QRY_FREE);
      status = -1;
    }
    *result = nullptr;
  }
  return status;
}

numGen::numGen() {
  snprintf(pairs_[0].bo_name, sizeof pairs_[0].bo_name, "%s", "site");
  snprintf(pairs_[0].scheme, sizeof pairs_[0].scheme, "%s", "Site ID");
  count_ = 1;
}

int numGen::isGenerated(const char* bo_name) const {
  return getSchemeName(bo_name) ? 1 : 0;
}

const char* numGen::getSchemeName(const char* bo_name) const {
  if (!bo_name) return nullptr;
  for (int i = 0; i < count_; ++i)
    if (strcmp(pairs_[i].bo_name, bo_name) == 0) return pairs_[i].scheme;
  return nullptr;
}
