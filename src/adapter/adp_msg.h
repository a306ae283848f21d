// The adapter's message list (subsystem 6, message ids 2000..2131: the text
// of alert 0x600000 + n is message 2000 + n) and the alert codes the adapter
// core pushes or returns, with the object store's codes it produces.
#pragma once

#include "orb_api.h"

constexpr long ADP_SUBSYS = 6;
constexpr long ADP_FIRST_ID = 2000;
constexpr long ADP_LAST_ID = 2131;
constexpr long ADP_NUM_MSGS = 132;

constexpr long ADP_ALREADY_INIT = 0x600000;       // none
constexpr long ADP_BAD_CONN = 0x600001;           // connection handle
constexpr long ADP_NO_HEADER = 0x600003;          // none
constexpr long ADP_SQL_NEXTROW_FAIL = 0x600004;   // none
constexpr long ADP_BAD_VALUE_TYPE = 0x600006;     // the type id
constexpr long ADP_BAD_SCHEMA = 0x600007;         // the schema record's address
constexpr long ADP_BAD_SCHEMA_FLAGS = 0x600008;   // the type id
constexpr long ADP_FIELD_MISPLACED = 0x600009;    // field name, type name (server log only)
constexpr long ADP_REL_MISPLACED = 0x60000B;      // spec id, relation name, type name
constexpr long ADP_REL_BAD_SIDE = 0x60000A;       // relation index, type name
constexpr long ADP_NO_SUCH_DB = 0x60000C;         // database name
constexpr long ADP_BAD_DB_REV = 0x60000D;         // the target revision
constexpr long ADP_BAD_DATE_TEXT = 0x600013;      // none
constexpr long ADP_NO_LOGIN = 0x600014;           // returned, not pushed
constexpr long ADP_QRY_NO_COUNT = 0x600019;       // none
constexpr long ADP_REL_NOT_JOINING = 0x60001A;    // from type name, relation id, target type name
constexpr long ADP_QRY_BAD_RANGE = 0x60001B;      // first, last
constexpr long ADP_PWR_NO_SELECT = 0x60001D;      // none
constexpr long ADP_PWR_NO_FROM = 0x60001E;        // none
constexpr long ADP_PWR_TOO_LONG = 0x600022;       // the text's limit
constexpr long ADP_PASSWD_FAIL = 0x600024;        // none
constexpr long ADP_REL_MTM_EXTRA = 0x600026;      // the relation's primary-side name
constexpr long ADP_NO_SUCH_SERVER = 0x600025;     // three (or two) texts
constexpr long ADP_NOT_BUILT = 0x600029;          // the call's name
constexpr long ADP_SEQUENCE = 0x60002B;           // none
constexpr long ADP_NOT_UNIQUE = 0x60002C;         // field names, table name
constexpr long ADP_INDEX_NO_COLUMNS = 0x600023;   // table name, index name
constexpr long ADP_TRN_END_FAIL = 0x60002D;
constexpr long ADP_LOGIN_FAIL = 0x60002E;         // none: a login or database user was refused
constexpr long ADP_VIEW_MTM_OUTER = 0x60002F;    // two sides with their id fields, the view
constexpr long ADP_QRY_REFUSED = 0x600030;        // the refused text
constexpr long ADP_PWR_UNBALANCED = 0x600034;     // none
constexpr long ADP_ID_RANGE_USED_UP = 0x600035;   // the type id
constexpr long ADP_DB_ERROR = 0x600036;           // two texts
constexpr long ADP_LOAD_FAIL = 0x60004C;          // the library name
constexpr long ADP_TRN_REFUSED = 0x60004D;
constexpr long ADP_LOGIN_NAME = 0x600050;         // one text
constexpr long ADP_NOT_UNIQUE_TEXT = 0x600057;    // the server's message
constexpr long ADP_PROC_COLUMNS = 0x60005F;       // procedure, outputs, columns
constexpr long ADP_SEQUENCE_NAME = 0x600082;      // one text
constexpr long ADP_PWR_KEYWORD_ORACLE = 0x600083; // none

constexpr long DBS_DEADLOCK = 0x70002B;
constexpr long DBS_NOT_UNIQUE = 0x70002C;         // type name, field names
constexpr long DBS_SERVER_CONNECTION_FAIL = 0x70002E;

// Registers the adapter's message list with its compiled-in texts and the
// argument descriptors (count, and the flag 1 of ids 2097..2099 and 2101).
ORB_API long adp_str_init();
// The compiled-in text of message 2000 + n (null outside 0..131).
ORB_API const char* adp_str_text(long n);
// Argument count of message 2000 + n (-1 outside).
ORB_API long adp_str_nargs(long n);
// Flag byte of message 2000 + n (1 for ids 2097..2099 and 2101; -1 outside).
ORB_API long adp_str_flag(long n);
