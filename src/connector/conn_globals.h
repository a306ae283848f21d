// OrbisanGlobals: the connector's one process-wide object. The broker finds
// it through JToCPPVeneer::theAppGlobPtr and drives the connector through its
// virtual operations: properties and CRM login (init), the one business-object
// handler, event polling, logout (terminate) and the version.
#pragma once

#include <cstdarg>
#include <string>

#include "kl_connector.h"
#include "orb_api.h"

class GenBOHandler;
class OrbisanUtilityFn;

constexpr const char* CONN_VERSION = "4.8.3";
constexpr const char* CONN_DEFAULT_EVENT_TABLE = "orbisan_events";
constexpr const char* CONN_NAME = "OrbisanConnector";

class ORB_API OrbisanGlobals : public GenGlobals {
 public:
  OrbisanGlobals();
  ~OrbisanGlobals() override;

  BOHandlerCPP* getBOHandlerforBO(char* name) override;
  int init(KzVersion* version) override;
  int pollForEvents() override;
  int terminate() override;
  char* getVersion() override;

  // The globals object the broker knows (JToCPPVeneer::theAppGlobPtr).
  static OrbisanGlobals* current();

  // 0 on success, -1 when the login or the state creation failed, -2 when
  // the connection is lost.
  long login();
  // Nonzero: the connection is lost. The argument is not read.
  long ping(long con_id);
  long logout(long con_id);

  // Builds broker message `number` with `count` text arguments; the empty
  // text when "AgentTraceLevel" is 0 and the type is neither error nor fatal.
  char* generateTraceMsg(int number, int type, const char* info, int count, ...);
  char* vgenerateTraceMsg(int number, int type, const char* info, int count, va_list args);
  void dbgMsg(const char* text, int level);

  // Builds a message and logs it with log_type; an empty message is not
  // written.
  void logMessage(int log_type, int number, int type, int count, ...);

  // Members, all zero or empty until init.
  int traceLevel = 0;
  int memoryRefreshInterval = 0;
  int restartCount = -1;
  bool restartWanted = false;
  char msgBuf[2048] = {};
  long connectionId = 0;
  OrbisanUtilityFn* utility = nullptr;
  std::string eventTableName;
  std::string archiveTableName;
  std::string applicationUserName;
  std::string applicationPassword;
  std::string serverName;
  std::string databaseName;
  const char* stateDumpFileName() const { return hasStateDump_ ? stateDump_.c_str() : nullptr; }
  const char* sqlDumpFileName() const { return hasSqlDump_ ? sqlDump_.c_str() : nullptr; }
  int floatPrecision = 6;
  int doublePrecision = 15;
  std::string pollFrequency;

  // The event filling rules: 0, or -1 when an attribute refuses its value.
  int HandleObjectSpecific(const char* object_name, const char* object_key, BusinessObject* bo,
                           const char* verb);
  int HandleSiteSpecific(const char* object_name, const char* object_key, BusinessObject* bo);
  int HandleContactSpecific(const char* object_name, BusinessObject* bo, const char* verb);
  int HandleGenericObject(const char* object_name, BusinessObject* bo);

  // The connection is gone: its session id is kept until terminate or the
  // next init logs it out, and polls and requests answer -2 meanwhile.
  void keepLostSession();
  long lostSessionId() const { return lostSession_; }

 private:
  void readProperties();
  std::string readProp(const char* name, int size);
  // Puts events left in progress back to ready: 0, -1 (nothing changed),
  // -2 (the connection is lost).
  long resetEventsInProgress();
  long lostConnection(long ping_status);
  // A query or commit failed on the CRM: -2 after the lost-connection
  // steps when the connection is gone, else -1.
  long failedOrLost(long status);
  void connectionGone(long status, int number, const char* table);
  void logoutLostSession();
  // A new state and the one-level query of an event step: 0, -1 (no state)
  // or -2 (the connection is lost; the state is released).
  int openEventStep(struct conn_ty_event_query& q, const char* table, long* state,
                    struct cpi_ty_qry_result** result);
  // One event of a poll: true to go on; false ends the poll with *answer.
  // *result is the poll's result R.
  bool pollEvent(long number, int* result, int* answer);
  // Fills, retrieves and delivers an event's object. *status receives the
  // archive status, or null when the row must stay (the poll then ends with
  // the answer returned); *set_result says whether the answer becomes R.
  int deliverEvent(long number, struct conn_ty_event& event, const char** status,
                   bool* set_result);
  bool archiveEvent(long number, const char* status, int* result, int* answer);

  std::string stateDump_;
  bool hasStateDump_ = false;
  std::string sqlDump_;
  bool hasSqlDump_ = false;
  GenBOHandler* handler_ = nullptr;
  long lostSession_ = 0;
};

// The globals object made when the library is loaded.
extern ORB_API OrbisanGlobals* global_handle;
extern ORB_API OrbisanGlobals* theGlob;

extern "C" ORB_API void gcInitialize(int enable);
