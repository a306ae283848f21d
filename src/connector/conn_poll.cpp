// OrbisanGlobals: event polling. A poll reads a batch of ready rows of the
// event table; each event in turn is taken (its row set in progress and
// committed), turned into a business object, retrieved through the handler,
// delivered, deleted and archived. Nothing is lost: a row is deleted only
// after its delivery or a decision not to deliver it, and a lost connection
// stops the poll before it touches another event.
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "client/cpi_obj.h"
#include "client/cpi_obj_take.h"
#include "client/cpi_qry.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"
#include "connector/conn_globals.h"
#include "connector/conn_msg.h"
#include "connector/conn_poll.h"
#include "connector/conn_util.h"

namespace {

constexpr int CONN_DEFAULT_BATCH = 1000;
constexpr const char* CONN_PHYSICAL_DELETE = "Physical Delete";
constexpr const char* CONN_SUCCESS = "Success";
constexpr const char* CONN_ERROR = "Error";
constexpr const char* CONN_SKIPPED = "Skipped";

// A state and a query result of one step, released on every way out.
struct conn_poll_scope {
  long state = 0;
  bool open = false;
  cpi_ty_qry_result* result = nullptr;
  // Frees the result; a failure is written to standard error and returned.
  long free_result() {
    long st = result ? cpi_qry_free_results(result) : 0;
    if (st != 0) fputs("pollForEvents: Error freeing results_col\n", stderr);
    result = nullptr;
    return st;
  }
  long release() {
    free_result();
    if (!open) return 0;
    open = false;
    return cpi_state_rollback(state);
  }
  ~conn_poll_scope() { release(); }
};

std::string conn_number_text(long number) {
  char buf[32];
  snprintf(buf, sizeof buf, "%ld", number);
  return buf;
}

}  // namespace

int OrbisanGlobals::pollForEvents() {
  if (restartWanted) {
    logMessage(KzMsgFormat::ORB_INFO, CONN_MSG_LOST_CONNECTION, KzMsgFormat::ORB_INFO, 1,
               CONN_NAME);
    return -2;
  }
  long ping_status = connectionId == 0 ? 0 : ping(connectionId);
  if (connectionId == 0 || ping_status != 0) return static_cast<int>(lostConnection(ping_status));
  std::string text = readProp("PollQuantity", 40);
  if (text.empty()) text = readProp("MaxEvents", 40);
  int batch = atoi(text.c_str()) > 0 ? atoi(text.c_str()) : CONN_DEFAULT_BATCH;

  conn_poll_scope scope;
  if (long st = cpi_state_create(connectionId, 0, &scope.state)) {
    utility->log_error(st);
    return -1;
  }
  scope.open = true;
  conn_ty_event_query q;
  conn_event_query(q, eventTableName.c_str(), "event_status", CONN_EVENT_READY, nullptr, nullptr,
                   true);
  if (long st = cpi_qry_traverse_map(connectionId, scope.state, nullptr, CONN_EVENT_RUN_LEVELS,
                                     q.levels, 0, &scope.result)) {
    scope.release();
    connectionGone(st, CONN_MSG_LOST_CONNECTION, CONN_NAME);
    return -2;
  }
  long count = 0;
  void** rows = nullptr;
  if (long st = cpi_qry_get_result(scope.result, 0, 0, &count, &rows)) {
    utility->log_error(st);
    return -1;
  }
  std::vector<long> numbers;
  for (long i = 0; i < count && i < batch; ++i) {
    conn_ty_event event;
    if (long st = conn_event_read(rows[i], event)) {
      utility->log_error(st);
      return -1;
    }
    numbers.push_back(event.objid);
  }
  if (numbers.empty()) {
    // No ready rows: nothing changes; a failure to let go of the query is -1.
    long freed = scope.free_result();
    long released = scope.release();
    if (freed == 0 && released == 0) return 0;
    utility->log_error(freed != 0 ? freed : released);
    return -1;
  }
  if (long st = scope.release()) {
    utility->log_error(st);
    return static_cast<int>(st);
  }
  int result = 0;
  for (long number : numbers) {
    int answer = 0;
    if (!pollEvent(number, &result, &answer)) return answer;
  }
  return result;
}

int OrbisanGlobals::openEventStep(conn_ty_event_query& q, const char* table, long* state,
                                  cpi_ty_qry_result** result) {
  if (long st = cpi_state_create(connectionId, 0, state)) {
    utility->log_error(st);
    return -1;
  }
  if (long st = cpi_qry_traverse_map(connectionId, *state, nullptr, CONN_EVENT_RUN_LEVELS, q.levels,
                                     0, result)) {
    cpi_state_rollback(*state);
    connectionGone(st, CONN_MSG_EVENT_LOST, table);
    return -2;
  }
  return 0;
}

bool OrbisanGlobals::pollEvent(long number, int* result, int* answer) {
  auto stop = [answer](int value) {
    *answer = value;
    return false;
  };
  // Taken: the row goes from ready to in progress, written and committed at
  // once, for this connector alone. Connectors sharing the table may all
  // have read it as ready; only one of them changes it. A row gone or taken
  // by another since the batch was read is passed over.
  long taken = 0;
  if (long st = cpi_obj_take_field(connectionId, eventTableName.c_str(), number, "event_status",
                                   CONN_EVENT_READY, CONN_EVENT_TAKEN, &taken)) {
    logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_TAKE_COMMIT, KzMsgFormat::ORB_ERROR, 1,
               eventTableName.c_str());
    if (failedOrLost(st) == -2) return stop(-2);
    utility->log_error(st);
    *result = -1;
    return true;
  }
  if (taken == 0) return true;
  // The row as taken; gone already (deleted by another), it is passed over.
  conn_ty_event_query q;
  conn_event_query(q, eventTableName.c_str(), "objid", conn_number_text(number), nullptr, nullptr,
                   false);
  conn_poll_scope scope;
  if (int r = openEventStep(q, eventTableName.c_str(), &scope.state, &scope.result)) return stop(r);
  scope.open = true;
  long count = 0;
  void** rows = nullptr;
  if (long st = cpi_qry_get_result(scope.result, 0, 0, &count, &rows)) {
    utility->log_error(st);
    *result = -1;
    return true;
  }
  if (count < 1) return true;
  void* row = rows[0];
  conn_ty_event event;
  if (long st = conn_event_read(row, event)) {
    utility->log_error(st);
    return stop(-1);
  }
  long st = 0;
  const char* status = nullptr;
  bool set_result = false;
  int delivered = deliverEvent(number, event, &status, &set_result);
  if (status == nullptr) return stop(delivered);  // not to be deleted: the poll ends
  // The row goes: delivered, skipped or failed for good.
  if ((st = cpi_obj_delete(scope.state, row, CONN_EVENT_DELETE_FLAGS)) != 0) {
    cpi_alert_print(nullptr, 0);
    cpi_alert_clear();
    scope.release();
    utility->log_error(st);
    return stop(-1);
  }
  if ((st = cpi_state_commit(scope.state)) != 0) {
    scope.release();
    utility->log_error(st);
    return stop(static_cast<int>(failedOrLost(st)));
  }
  if ((st = scope.release()) != 0) {
    utility->log_error(st);
    return stop(static_cast<int>(st));
  }
  if (set_result) *result = delivered;
  if (archiveTableName.empty()) return true;
  return archiveEvent(number, status, result, answer);
}

int OrbisanGlobals::deliverEvent(long number, conn_ty_event& event, const char** status,
                                 bool* set_result) {
  const bool physical = event.verb == CONN_PHYSICAL_DELETE;
  std::string type = event.name.substr(0, event.name.find(':'));
  std::string bo_name = "Orbisan_" + type;
  SubscriptionHandlerCPP* sub = JToCPPVeneer::getTheHandlerStuff()->getTheSubHandler();
  if (sub->checkSubscription(bo_name.c_str(), physical ? "Delete" : event.verb.c_str()) != 1) {
    *status = CONN_SKIPPED;
    return 0;
  }
  auto bo = std::make_unique<BusinessObject>(bo_name.c_str());
  std::string event_id = "Orbisan_" + conn_number_text(number);
  int filled = HandleObjectSpecific(event.name.c_str(), event.key.c_str(), bo.get(),
                                    event.verb.c_str());
  bo->setAttrValue("ObjectEventId", event_id.data(), bo->getAttrType("ObjectEventId"));
  if (filled == -1) {
    logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_EVENT_RETRIEVE, KzMsgFormat::ORB_ERROR, 2,
               event.name.c_str(), event.key.c_str());
    *status = CONN_ERROR;
    return 0;
  }
  if (!physical) {
    bo->setVerb("Retrieve");
    BusObjSpec* spec = bo->getSpecFor();
    const char* text = spec ? spec->getVerbAppText("Retrieve") : nullptr;
    bo->setAppVerb(text && strcasecmp(text, "RetrieveAll=False") == 0 ? "Retrieve" : "RetrieveAll");
    int r = bo->doVerbFor();
    if (r == -2) {
      // Cut short by a lost connection: neither delivered nor deleted.
      keepLostSession();
      *status = nullptr;
      return -2;
    }
    if (r != 1) {
      logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_EVENT_RETRIEVE, KzMsgFormat::ORB_ERROR, 2,
                 event.name.c_str(), event.key.c_str());
      *status = CONN_ERROR;
      *set_result = true;
      return -1;
    }
  }
  const char* verb = physical ? "Delete" : event.verb.c_str();
  bo->setVerb(verb);
  if (physical) bo->setAppVerb("Delete");
  std::string number_text = conn_number_text(number);
  if (sub->checkSubscription(bo_name.c_str(), verb) != 1) {
    *status = CONN_SKIPPED;
    return 0;
  }
  int code = sub->deliverEvent(bo.get());
  if (code != 0) {
    logMessage(KzMsgFormat::ORB_ERROR, CONN_MSG_DELIVERY_FAILED, KzMsgFormat::ORB_ERROR, 4,
               event.name.c_str(), event.key.c_str(), verb, number_text.c_str());
    *status = nullptr;
    return code;
  }
  char* msg = generateTraceMsg(CONN_MSG_DELIVERED, KzMsgFormat::ORB_INFO, nullptr, 4,
                               event.name.c_str(), event.key.c_str(), verb, number_text.c_str());
  if (*msg) traceWrite(Tracing::LEVEL5, msg, nullptr);
  *status = CONN_SUCCESS;
  *set_result = true;
  return 0;
}

bool OrbisanGlobals::archiveEvent(long number, const char* status, int* result, int* answer) {
  auto stop = [answer](int value) {
    *answer = value;
    return false;
  };
  conn_ty_event_query q;
  conn_event_query(q, archiveTableName.c_str(), "event_id", conn_number_text(number), nullptr,
                   nullptr, false);
  conn_poll_scope scope;
  if (int r = openEventStep(q, archiveTableName.c_str(), &scope.state, &scope.result))
    return stop(r);
  scope.open = true;
  long count = 0;
  void** rows = nullptr;
  auto failed = [&](int number_msg, long st) -> bool {
    if (number_msg)
      logMessage(KzMsgFormat::ORB_ERROR, number_msg, KzMsgFormat::ORB_ERROR, 1,
                 archiveTableName.c_str());
    if (st) utility->log_error(st);
    *result = -1;
    return true;
  };
  if (long st = cpi_qry_get_result(scope.result, 0, 0, &count, &rows)) return failed(0, st);
  if (count < 1) return failed(CONN_MSG_NO_ARCHIVE_ROW, 0);
  if (long st = cpi_obj_set_field(rows[0], "event_status", status, 0))
    return failed(CONN_MSG_ARCHIVE_FIELD, st);
  if (long st = cpi_obj_update(scope.state, rows[0], 0)) return failed(CONN_MSG_ARCHIVE_UPDATE, st);
  scope.free_result();
  if (long st = cpi_state_commit(scope.state)) {
    failed(CONN_MSG_ARCHIVE_COMMIT, st);
    scope.release();
    return failedOrLost(st) == -2 ? stop(-2) : true;
  }
  return true;
}
