// The scripted data service (libScriptDataSvc.so): a stand-in for a database
// server that records every call, statement and bind value, returns prepared
// results, counts, times, ids and procedure outputs, and throws a prepared
// error at a chosen call. Tests script it through these functions; the
// adapter loads it by name ("ScriptDataSvc.DLL") like any data service.
//
// The script is process-wide (one service library per process); one thread
// drives it.
#pragma once

#include <string>
#include <vector>

namespace ds_script {

// One result cell: a long, a text, or bytes that reach the record as
// upper-case hexadecimal text.
struct cell {
  enum kind_t { LONG, TEXT, BINARY, NUL } kind = TEXT;
  long number = 0;
  std::string text;

  static cell l(long v) { return cell{LONG, v, std::to_string(v)}; }
  static cell t(std::string s) { return cell{TEXT, 0, std::move(s)}; }
  static cell b(std::string bytes) { return cell{BINARY, 0, std::move(bytes)}; }
  static cell null() { return cell{NUL, 0, ""}; }
};

// A prepared result: column names and rows (for a query), or the rows
// affected (for a statement: rows empty, count set).
struct result {
  std::vector<std::string> columns;
  std::vector<std::vector<cell>> rows;
  long count = -1;  // rows affected; -1: the number of rows
};

// A prepared failure: at the nth call (from 1) of the named operation, a KErr
// with the number and both texts (or, with foreign set, an exception that is
// no KErr).
struct failure {
  std::string call;
  long nth = 1;
  long number = 0;
  std::string text1;  // the server's message
  std::string text2;  // the detailed description
  bool foreign = false;
};

// Forgets calls, results, failures and settings; services already made stay
// alive and see the new script.
void reset();

// Every call in order: "Connect login password", "StartBatch 2",
// "Statement <text>", "Bind <row>,<col>=<text>", "FetchNextSet <text>",
// "MoveRowset <first> <second>", "ExecQuery <text>", "ExecStatement <text>",
// "BeginTransaction", "EndTransaction <commit> <second>", "GetServerTime",
// "SetBindInfo <columns>", "GenerateObjids <rows>" (for the id procedure's
// record of five longs then "ObjidRequest <type> <count> <site> <roaming>"
// per row), "ExecProc <name> <flag>",
// "EndBatch", "Release <flag>", "Create".
const std::vector<std::string>& calls();
// Number of calls whose text starts with prefix.
long count(const std::string& prefix);

// Results handed out in order by the statements that run.
void push_result(result r);
// The server time (OLE Automation date) GetServerTime answers.
void set_server_time(double when);
// Ids GenerateObjids writes into the rows, in order: into the output column 2
// of the id procedure's record, else into column 0. A row left without an id
// keeps what it held; so does a row whose pushed entry is kNoId.
constexpr long kNoId = -2147483647L - 1;
void push_ids(std::vector<long> ids);
// Output parameters ExecProc writes into row 0: column and text.
void set_proc_outputs(std::vector<std::pair<long, std::string>> outputs);
void fail(failure f);
// Number of live service objects.
long live();

}  // namespace ds_script
