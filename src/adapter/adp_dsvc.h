// The data-service interface: what a run-time loaded data-service library
// gives the adapter (tagPpmDataSvc, made by its factory ClassicCreateDataSvc)
// and what the adapter gives it (tagLpmConfig, the connection's settings and
// trace sink).
//
// A service holds no copy of the class library or the adapter: KErr,
// KZString, KStringArray and KAdpUtlRecord are resolved from the process that
// loads it, so the KErr* it throws is caught by type on the adapter's side.
// Every failure of a service is a KErr thrown by pointer carrying the
// service's error number (ErrorNum), the server's message (m_strText1) and
// the detailed description (m_strText2). Return values are never read.
#pragma once

#include "kclassic/kc_array.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

class KAdpUtlRecord;

namespace KCLASSIC {

class tagPpmDataSvc;

// Three counters the adapter zeroes before a call and does not read.
struct tagPpmStats {
  long n0 = 0;
  long n1 = 0;
  long n2 = 0;
};

// The settings object handed to the factory (the adapter's KAdpConfig).
class ORB_API tagLpmConfig {
 public:
  // Trace events of the service: "SQL Batch started", "----BindVariables--",
  // "SQL Batch Execution", "*** Begin Transaction ***", "*** Commit
  // Transaction ***", "*** Rollback Transaction ***", any other name.
  virtual void Trace(const char* event, const char* text);
  // Does nothing here; the adapter's configuration adds an overload that throws.
  virtual void Throw(long code, const char* where, const char* detail, long number, int flag);
  // Loads a service library; only the adapter's configuration implements it.
  virtual tagPpmDataSvc* LoadService(const char* library, void*& handle);

 protected:
  tagLpmConfig() = default;
  tagLpmConfig(const tagLpmConfig&) = default;
  tagLpmConfig& operator=(const tagLpmConfig&) = default;
  ~tagLpmConfig() = default;
};

// The service object. Slot order is fixed: the destructor, then the
// operations in the order below.
class tagPpmDataSvc {
 public:
  virtual ~tagPpmDataSvc() = default;
  // Finishes the service object (it deletes itself); the adapter forgets it.
  virtual long Release(long flag) = 0;
  // Logs in to the server named by configuration string 2.
  virtual long Connect(const char* login, const char* password, const char* third) = 0;
  // The server's current time as an OLE Automation date.
  virtual double GetServerTime() = 0;
  // Stores the statements and bind values; nothing runs until FetchNextSet.
  virtual long StartBatch(KStringArray* statements, KAdpUtlRecord* binds, tagPpmStats* stats) = 0;
  virtual long EndBatch() = 0;
  virtual long BeginTransaction() = 0;
  virtual long EndTransaction(char commit, char second) = 0;
  // Result columns are bound to the record's declared columns.
  virtual long SetBindInfo(KAdpUtlRecord& record) = 0;
  // Runs the next non-empty statement of the batch; rows receives its row
  // count (or the rows affected). A failure is thrown here.
  virtual long FetchNextSet(char flag, long& rows) = 0;
  // Gives all rows of the current result into the record.
  virtual long MoveRowset(KAdpUtlRecord& record, long first, long second) = 0;
  virtual long ExecQuery(tagPpmStats* stats, const char* text, KAdpUtlRecord& record) = 0;
  virtual long ExecStatement(tagPpmStats* stats, const char* text, long* rows) = 0;
  // Never called by the adapter.
  virtual long Reserved1() { return 0; }
  virtual long Reserved2() { return 0; }
  // Fills the record's id columns.
  virtual long GenerateObjids(KAdpUtlRecord& record) = 0;
  // Runs a procedure; output parameters come back in the record.
  virtual long ExecProc(KAdpUtlRecord& params, KZString name, long flag) = 0;
  // Moves the next row of the current result into row 0 of the record (its
  // columns declared as MoveRowset declares them): 1 when a row was moved, 0
  // when none is left. A service that hands out whole rowsets only answers
  // -1 (MoveRowset is used instead).
  virtual long MoveNextRow(KAdpUtlRecord& record) {
    (void)record;
    return -1;
  }
};

}  // namespace KCLASSIC

// The factory every service library exports.
using ClassicCreateDataSvcProc = KCLASSIC::tagPpmDataSvc* (*)(KCLASSIC::tagLpmConfig* config);
extern "C" KCLASSIC::tagPpmDataSvc* ClassicCreateDataSvc(KCLASSIC::tagLpmConfig* config);
