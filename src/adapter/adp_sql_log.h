// The SQL log: a stream handed in from outside (or opened by name), an echo
// to standard output for the "-sqlout" switch, and a debugger callback. The
// name "TempFile1234L" routes the lines to the debugger callback only.
//
// Threads: the log state is process-wide and unguarded; one thread drives
// the adapter at a time.
#pragma once

#include <cstdio>
#include <string>

#include "orb_api.h"

class KAdpConnId;

using adp_ty_sql_log_cb = void (*)(const char* text, long flag);

// The log stream (null switches the file log off); "-sqlout" on the command
// line turns on the echo to standard output. 0.
ORB_API long adp_sql_log_sql(FILE* stream);
// Opens the file (mode "w") and makes it the log; 1 when it cannot be opened.
ORB_API long adp_sql_log_file(const char* name);
ORB_API long adp_sql_get_log(FILE** out);
ORB_API long adp_sql_install_debugger_log_cb(adp_ty_sql_log_cb proc);
// Hands the text to the installed callback, if any. 0.
ORB_API long adp_sql_log_to_cb_debugger(const char* text, long flag);
// One log line: the callback (flag 1) when a log is set; unless the lines go
// to the debugger only, the text and a newline to the log and, with the echo
// on, to standard output. 0.
ORB_API long adp_sql_print_out(KAdpConnId* con, const char* text);
// As adp_sql_print_out without the echo's independence: nothing without a
// log (returns code); else the callback (flag 0), then the log line; returns
// the log's flush result, or code when the lines go to the debugger only.
ORB_API long adp_sql_alt_print_out(long code, const char* text);
// Hidden texts: every log line and the server log's SQL hint show each
// occurrence of a hidden secret (a password as its statement writes it) as
// its replacement, until adp_sql_log_unhide. An empty secret is ignored.
ORB_API void adp_sql_log_hide(const char* secret, const char* shown);
ORB_API void adp_sql_log_unhide();
// The text with the hidden secrets replaced.
ORB_API std::string adp_sql_log_masked(const char* text);
// Puts the module back to its start state (no log, no echo, no callback);
// the stream is not closed.
ORB_API long adp_sql_log_reset();
// 1 when the lines go to the debugger callback only ("TempFile1234L").
ORB_API char adp_sql_log_debugger_only();
