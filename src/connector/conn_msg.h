// Broker message numbers of the connector (their texts live in the broker's
// message file), and the rule that builds every broker message: over-long
// argument texts are left out of the message and traced line by line.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstring>

constexpr int CONN_MSG_LOST_CONNECTION = 20018;
constexpr int CONN_MSG_NO_KEY = 20024;
constexpr int CONN_MSG_NO_PARENT_ID = 20025;
constexpr int CONN_MSG_EVENT_LOST = 22002;
constexpr int CONN_MSG_NO_ARCHIVE_ROW = 22003;
constexpr int CONN_MSG_ARCHIVE_FIELD = 22004;
constexpr int CONN_MSG_ARCHIVE_UPDATE = 22005;
constexpr int CONN_MSG_ARCHIVE_COMMIT = 22006;
constexpr int CONN_MSG_OTHER_FIELDS = 22013;
constexpr int CONN_MSG_FIND_QUERY = 22014;
constexpr int CONN_MSG_FIND_RESULT = 22015;
constexpr int CONN_MSG_FIND_ID = 22016;
constexpr int CONN_MSG_NO_REL_ATTR = 22017;
constexpr int CONN_MSG_NO_ANCESTOR = 22018;
constexpr int CONN_MSG_NO_REL_TARGET = 22019;
constexpr int CONN_MSG_RELATE = 22020;
constexpr int CONN_MSG_LOAD_LEVEL = 22024;
constexpr int CONN_MSG_CHILD_ID = 22025;
constexpr int CONN_MSG_UNRELATE_FAILED = 22026;
constexpr int CONN_MSG_UNRELATED = 22027;
constexpr int CONN_MSG_NOT_FOUND = 22028;
constexpr int CONN_MSG_RETRIEVE_FAILED = 22030;
constexpr int CONN_MSG_TWO_MATCHES = 22034;
constexpr int CONN_MSG_DELIVERED = 22045;
constexpr int CONN_MSG_DELIVERY_FAILED = 22046;
constexpr int CONN_MSG_RELATE_IDS = 22051;
constexpr int CONN_MSG_FOREIGN_KEY = 22056;
constexpr int CONN_MSG_PARENT_INDEX = 22058;
constexpr int CONN_MSG_NUM_GEN = 22100;
constexpr int CONN_MSG_FOUND = 22101;
constexpr int CONN_MSG_NO_PARENT_ATTR = 22102;
constexpr int CONN_MSG_UPDATE_WRITE = 22103;
constexpr int CONN_MSG_CONDITION = 22109;
constexpr int CONN_MSG_INIT_MAP = 22111;
constexpr int CONN_MSG_EVENT_RETRIEVE = 22115;
constexpr int CONN_MSG_UPDATE_MISSING = 22116;
constexpr int CONN_MSG_TAKE_FIELD = 22120;
constexpr int CONN_MSG_TAKE_UPDATE = 22121;
constexpr int CONN_MSG_TAKE_COMMIT = 22122;
constexpr int CONN_MSG_BAD_VERB = 20027;
constexpr int CONN_MSG_REQUEST_START = 20053;
constexpr int CONN_MSG_REQUEST_END = 20060;
constexpr int CONN_MSG_EXCEPTION = 22010;
constexpr int CONN_MSG_COMMIT_FAILED = 22012;
constexpr int CONN_MSG_RUN_QUERY = 22046;  // run_query's trace
constexpr int CONN_MSG_QRY_RESULT = 22022;
constexpr int CONN_MSG_QRY_TRAVERSE = 22023;
constexpr int CONN_MSG_SET_FIELD = 22035;
constexpr int CONN_MSG_LOAD_FIELD = 22043;
constexpr int CONN_MSG_NO_VAL_ATTR = 22044;
constexpr int CONN_MSG_QRY_READ = 22047;
constexpr int CONN_MSG_QRY_READ_FIELD = 22048;
constexpr int CONN_MSG_QRY_MODE = 22049;
constexpr int CONN_MSG_QRY_FREE = 22050;
constexpr int CONN_MSG_SUB_REQUEST = 22053;
constexpr int CONN_MSG_EMPTY_TABLE = 22054;
constexpr int CONN_MSG_EMPTY_FIELD = 22055;
constexpr int CONN_MSG_NO_COND_VALUE = 22105;
constexpr int CONN_MSG_NO_APP_TEXT = 22106;
constexpr int CONN_MSG_DELETE_MAP = 22108;
constexpr int CONN_MSG_LOOKUP = 22110;
constexpr int CONN_MSG_LOOKUP_FIELD = 22112;
constexpr int CONN_MSG_LOOKUP_COND = 22113;
constexpr int CONN_MSG_LOOKUP_VALUE = 22114;
constexpr int CONN_MSG_RESET_FIELD = 22117;
constexpr int CONN_MSG_RESET_UPDATE = 22118;
constexpr int CONN_MSG_RESET_COMMIT = 22119;

// Argument texts whose lengths add up to this or more are not handed to the
// framework's message builder.
constexpr size_t CONN_MSG_ARG_LIMIT = 450;

// The shared rule. `full` builds the message with its arguments, `bare`
// without any, `dbg` writes one trace line at the given level; `line` (of
// line_size bytes) receives each "Value of argument %i: %s" line, cut to fit.
template <class Full, class Bare, class Dbg>
char* conn_msg_generate(int level, char* line, size_t line_size, int count, va_list args,
                        Full full, Bare bare, Dbg dbg) {
  size_t total = 0;
  va_list scan;
  va_copy(scan, args);
  for (int i = 0; i < count; ++i) {
    const char* t = va_arg(scan, const char*);
    total += t ? strlen(t) : 0;
  }
  va_end(scan);
  if (total < CONN_MSG_ARG_LIMIT) return full(args);
  char* text = bare();
  dbg("Argument length(s) exceeded limit of generateMsg", level);
  for (int i = 1; i <= count; ++i) {
    const char* t = va_arg(args, const char*);
    snprintf(line, line_size, "Value of argument %i: %s", i, t ? t : "");
    dbg(line, level);
  }
  return text;
}
