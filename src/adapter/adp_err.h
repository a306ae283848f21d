// KAdpProcessError: the bridge from a thrown KErr* (or any other exception)
// to an alert code. It pushes the alert the user sees, writes an entry into
// the server log (a plain text file for the database administrator) and
// returns the code the procedural caller passes on. It also owns the server
// log's name and stream.
//
// Every operation is static and returns a long; nothing here throws. The
// state is process-wide and unguarded (one thread drives the adapter).
#pragma once

#include "kclassic/kc_err.h"
#include "orb_api.h"

class ORB_API KAdpProcessError {
 public:
  KAdpProcessError() = delete;

  // The whole conversion of a thrown KErr; context is not used.
  static long ProcessError(const char* context, const KCLASSIC::KErr* err);
  // Any other exception: pushes 0x600036 "Memory Exception", "_" and logs.
  static long ProcessError(const char* context);
  // Pushes the alert of the service's own numbers and logs the description;
  // returns the error number (or a failing push's or log's code).
  static long ProcessPPOMSError(const char* context, const KCLASSIC::KErr* err);
  // Error number to alert code (0x600036 for a number not in the map).
  static long GetConvErrNo(long number);
  // Pushes the final alert and writes the entry; returns the code.
  static long ProcessConvError(long code, const char* text1, const char* text2);

  static long SetSqlHint(char flag);
  static long SetServerLogFileName(const char* name);
  // Copies the name into out (at most size - 1 bytes and a NUL).
  static long GetServerLogFileName(char* out, long size);
  static const char* GetServerLogFileName();
  static long OpenServerLogFile();
  static long AppendServerLogFile();
  static long CloseServerLogFile();
  static bool IsServerLogOpen();
  // One formatted entry: into file when given (opened "a", closed after),
  // else into the open server log (flushed), else into "server.log" (or the
  // "dbcache" value followed by "server.log") opened for the entry.
  static long AddToServerLog(const char* file, const char* format, ...)
      __attribute__((format(printf, 2, 3)));
  // An error message entry (the top alert's text when text is null) and,
  // when asked for, the last SQL statement of the connection.
  static long AddToServerLogWithHint(const char* text);
  // The server log back to its start state (name "server.log", closed, no hint).
  static long Reset();
};

// The two handlers every class operation the procedural code calls puts
// around its body: a KErr* becomes ProcessError's code (and is deleted), any
// other exception the code of the one-argument ProcessError.
template <class F>
long adp_err_guard(F&& body) {
  try {
    return body();
  } catch (KCLASSIC::KErr* e) {
    long rc = KAdpProcessError::ProcessError(nullptr, e);
    delete e;
    return rc;
  } catch (...) {
    return KAdpProcessError::ProcessError(nullptr);
  }
}
