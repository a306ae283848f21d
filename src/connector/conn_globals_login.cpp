// OrbisanGlobals: CRM login, the start-up reset of events left in progress
// by an earlier run, and what happens when the connection is lost.
#include <cstdio>
#include <cstring>

#include "client/cpi_obj.h"
#include "client/cpi_qry.h"
#include "client/cpi_sess.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_msg.h"
#include "connector/conn_poll.h"
#include "connector/conn_util.h"

namespace {

void conn_alerts_flush() {
  cpi_alert_print(nullptr, 0);
  cpi_alert_clear();
}

constexpr const char* CONN_EVENT_FIELDS[] = {"objid", "object_name", "object_verb", "object_key",
                                             "event_time"};

}  // namespace

void conn_event_query(conn_ty_event_query& q, const char* table, const char* field1,
                      const std::string& value1, const char* field2, const char* value2,
                      bool ordered) {
  cpi_qry_trav_map_init(CONN_EVENT_MAP_LEVELS, q.levels);
  q.values[0] = value1;
  q.conds[0] = cpi_ty_fcond{CPI_OP_EQUAL, field1, q.values[0].c_str()};
  int n = 1;
  if (field2) {
    q.values[1] = value2;
    q.conds[n++] = cpi_ty_fcond{CPI_OP_EQUAL, field2, q.values[1].c_str()};
  }
  q.levels[0].type_name = table;
  q.levels[0].kind = CPI_KIND_TYPE;
  q.levels[0].flag = 1;
  q.levels[0].cond_count = n;
  q.levels[0].conds = q.conds;
  if (ordered) {
    q.orders[0] = cpi_ty_forder{"event_priority", 1};
    q.orders[1] = cpi_ty_forder{"objid", 1};
    q.levels[0].order_count = 2;
    q.levels[0].orders = q.orders;
  }
}

long conn_event_read(void* row, conn_ty_event& event) {
  long objid = 0;
  const char* name = nullptr;
  const char* verb = nullptr;
  const char* key = nullptr;
  const char* time = nullptr;
  void* const slots[] = {&objid, &name, &verb, &key, &time};
  long status = cpi_obj_get_mult_fields(row, 5, CONN_EVENT_FIELDS, 0, slots, nullptr);
  if (status != 0) return status;
  event.objid = objid;
  event.name = name ? name : "";
  event.verb = verb ? verb : "";
  event.key = key ? key : "";
  return 0;
}

long OrbisanGlobals::login() {
  if (cpi_sess_login(serverName.c_str(), databaseName.c_str(), applicationUserName.c_str(),
                     applicationPassword.c_str(), 0, &connectionId) != 0) {
    conn_alerts_flush();
    connectionId = 0;
    return -1;
  }
  if (hasSqlDump_) {
    cpi_ty_opt_value option{};
    snprintf(option.file_name, sizeof option.file_name, "%s", sqlDump_.c_str());
    cpi_sess_set_option(connectionId, CPI_OPT_SQL_LOG_FILE, &option);
  }
  if (pollFrequency == "no") return 0;
  long ping_status = connectionId == 0 ? 0 : ping(connectionId);
  if (connectionId == 0 || ping_status != 0) return lostConnection(ping_status);
  long result = resetEventsInProgress();
  if (result == -1) {
    // A failed reset leaves no session behind.
    cpi_sess_logout(connectionId);
    connectionId = 0;
  }
  return result;
}

long OrbisanGlobals::resetEventsInProgress() {
  long state = 0;
  long status = cpi_state_create(connectionId, 0, &state);
  if (status != 0) {
    utility->log_error(status);
    return -1;
  }
  conn_ty_event_query q;
  conn_event_query(q, eventTableName.c_str(), "event_status", CONN_EVENT_TAKEN, nullptr, nullptr,
                   true);
  cpi_ty_qry_result* result = nullptr;
  status = cpi_qry_traverse_map(connectionId, state, nullptr, CONN_EVENT_RUN_LEVELS, q.levels, 0,
                                &result);
  if (status != 0) {
    cpi_state_rollback(state);
    connectionGone(status, CONN_MSG_LOST_CONNECTION, CONN_NAME);
    return -2;
  }
  long count = 0;
  void** objects = nullptr;
  status = cpi_qry_get_result(result, 0, 0, &count, &objects);
  if (status != 0) utility->log_error(status);
  int failed_msg = 0;
  for (long i = 0; status == 0 && i < count; ++i) {
    if ((status = cpi_obj_set_field(objects[i], "event_status", CONN_EVENT_READY, 0)) != 0)
      failed_msg = CONN_MSG_RESET_FIELD;
    else if ((status = cpi_obj_update(state, objects[i], 0)) != 0)
      failed_msg = CONN_MSG_RESET_UPDATE;
  }
  if (status == 0 && count > 0 && (status = cpi_state_commit(state)) != 0)
    failed_msg = CONN_MSG_RESET_COMMIT;
  if (failed_msg)
    logMessage(KzMsgFormat::ORB_ERROR, failed_msg, KzMsgFormat::ORB_ERROR, 1,
               eventTableName.c_str());
  cpi_qry_free_results(result);
  // Releases the state; after a failure nothing of it is written.
  cpi_state_rollback(state);
  return status == 0 ? 0 : failedOrLost(status);
}

long OrbisanGlobals::failedOrLost(long status) {
  if (status != CONN_ALRT_CONNECTION_LOST && (connectionId == 0 || ping(connectionId) == 0))
    return -1;
  connectionGone(status, CONN_MSG_LOST_CONNECTION, CONN_NAME);
  return -2;
}

void OrbisanGlobals::connectionGone(long status, int number, const char* table) {
  conn_alerts_flush();
  utility->log_error(status);
  keepLostSession();
  int type = number == CONN_MSG_LOST_CONNECTION ? KzMsgFormat::ORB_FATAL : KzMsgFormat::ORB_ERROR;
  logMessage(KzMsgFormat::ORB_ERROR, number, type, 1, table);
}

void OrbisanGlobals::keepLostSession() {
  if (connectionId != 0) lostSession_ = connectionId;
  connectionId = 0;
}

void OrbisanGlobals::logoutLostSession() {
  // Whatever a dead server answers, the client forgets the session.
  if (lostSession_ != 0) cpi_sess_logout(lostSession_);
  lostSession_ = 0;
}

long OrbisanGlobals::lostConnection(long ping_status) {
  conn_alerts_flush();
  logMessage(KzMsgFormat::ORB_FATAL, CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_FATAL, 1,
             CONN_NAME);
  if (connectionId != 0) {
    conn_alerts_flush();
    utility->log_error(ping_status);
    keepLostSession();
    logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_FATAL, 1,
               CONN_NAME);
  }
  return -2;
}
