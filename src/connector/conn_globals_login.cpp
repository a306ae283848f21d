// OrbisanGlobals: CRM login, and the start-up reset of events left in
// progress by an earlier run.
#include <cstdio>
#include <cstring>

#include "client/cpi_obj.h"
#include "client/cpi_qry.h"
#include "client/cpi_sess.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_msg.h"
#include "connector/conn_util.h"

namespace {

void conn_alerts_flush() {
  cpi_alert_print(nullptr, 0);
  cpi_alert_clear();
}

}  // namespace

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

  long state = 0;
  long status = cpi_state_create(connectionId, 0, &state);
  if (status != 0) {
    utility->log_error(status);
    return -1;
  }
  cpi_ty_fcond cond{CPI_OP_EQUAL, "event_status", "1"};
  cpi_ty_forder orders[2] = {{"event_priority", 1}, {"objid", 1}};
  cpi_ty_trav_map maps[2] = {};
  cpi_qry_trav_map_init(2, maps);
  maps[0].type_name = eventTableName.c_str();
  maps[0].kind = CPI_KIND_TYPE;
  maps[0].flag = 1;
  maps[0].cond_count = 1;
  maps[0].conds = &cond;
  maps[0].order_count = 2;
  maps[0].orders = orders;
  cpi_ty_qry_result* result = nullptr;
  status = cpi_qry_traverse_map(connectionId, state, nullptr, 1, maps, 0, &result);
  if (status != 0) {
    conn_alerts_flush();
    utility->log_error(status);
    cpi_state_rollback(state);
    connectionId = 0;
    logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_FATAL, 1,
               CONN_NAME);
    return -2;
  }
  long count = 0;
  void** objects = nullptr;
  status = cpi_qry_get_result(result, 0, 0, &count, &objects);
  bool released = false;
  if (status != 0) {
    utility->log_error(status);
  } else if (count > 0) {
    long i = 0;
    for (; i < count; ++i) {
      if (cpi_obj_set_field(objects[i], "event_status", "0", 0) != 0) {
        logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_RESET_FIELD, KzMsgFormat::ORB_ERROR, 1,
                   eventTableName.c_str());
        break;
      }
      if (cpi_obj_update(state, objects[i], 0) != 0) {
        logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_RESET_UPDATE, KzMsgFormat::ORB_ERROR, 1,
                   eventTableName.c_str());
        cpi_state_rollback(state);
        released = true;
        break;
      }
    }
    if (i == count && cpi_state_commit(state) != 0) {
      logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_RESET_COMMIT, KzMsgFormat::ORB_ERROR, 1,
                 eventTableName.c_str());
      cpi_state_rollback(state);
      released = true;
    }
  }
  cpi_qry_free_results(result);
  // The state is released here also after a commit, which leaves it in place.
  if (!released) cpi_state_rollback(state);
  return 0;
}

long OrbisanGlobals::lostConnection(long ping_status) {
  conn_alerts_flush();
  logMessage(KzMsgFormat::ORB_FATAL, CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_FATAL, 1,
             CONN_NAME);
  if (connectionId != 0) {
    conn_alerts_flush();
    utility->log_error(ping_status);
    connectionId = 0;
    logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_FATAL, 1,
               CONN_NAME);
  }
  return -2;
}

int OrbisanGlobals::pollForEvents() {
  // Event polling follows with its own change; until then a poll reports the
  // connection state and finds no events.
  if (restartWanted) {
    logMessage(KzMsgFormat::ORB_INFO, CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_INFO, 1,
               CONN_NAME);
    return -2;
  }
  long ping_status = connectionId == 0 ? 0 : ping(connectionId);
  if (connectionId == 0 || ping_status != 0) return static_cast<int>(lostConnection(ping_status));
  return 0;
}
