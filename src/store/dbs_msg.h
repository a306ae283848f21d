// The object store's message list "dbs" (subsystem 7, ids 2200..2347; alert
// code 0x700000 plus the index) and the push helper of the store.
#pragma once

constexpr long DBS_SUBSYS = 7;
constexpr long DBS_FIRST_ID = 2200;
constexpr long DBS_LAST_ID = 2347;
constexpr long DBS_NUM_MSGS = DBS_LAST_ID - DBS_FIRST_ID + 1;

constexpr long DBS_BAD_NAME = 0x700001;          // name
constexpr long DBS_BAD_LOBJ = 0x700002;          // pointer
constexpr long DBS_NO_OBJECT = 0x700009;         // pointer
constexpr long DBS_OID_FIELD = 0x70000f;         // pointer
constexpr long DBS_OLD_DB_REV = 0x700013;        // name, revision, required
constexpr long DBS_SCHEMA_REV = 0x700014;        // name, revision, expected
constexpr long DBS_CLOCK_DIFF = 0x700015;
constexpr long DBS_NO_DEFAULT = 0x700018;        // type
constexpr long DBS_NO_DEFAULT_ADDR = 0x700019;   // type
constexpr long DBS_NULL_OBJECT = 0x70001d;
constexpr long DBS_BAD_ID_COL = 0x70001e;        // collection
constexpr long DBS_CMP_TYPES = 0x700028;         // type, type
constexpr long DBS_TOO_LONG = 0x700032;          // text, field, type
constexpr long DBS_BAD_FIELD_TYPE = 0x700033;    // type, field, type name
constexpr long DBS_BAD_PASSWORD = 0x700035;
constexpr long DBS_FREE_INVALID = 0x700077;      // caller
constexpr long DBS_TABLE_CHANGES = 0x70007a;
constexpr long DBS_INDEXES_DROPPED = 0x700089;   // index names
constexpr long DBS_NO_WIPBIN = 0x70008f;
constexpr long DBS_NO_USER = 0x700090;
constexpr long DBS_WRONG_NODE = 0x700091;        // node id

// The adapter's codes the store raises or prefetches.
constexpr long ADP_RANGE_USED_UP = 0x600035;     // type id
constexpr long ADP_SQL_RESULT = 0x600020;

// Registers the list and its compiled-in texts.
long dbs_str_init();

// Pushes code with its arguments on the current alert stack; returns code.
long dbs_alrt(const char* proc, long code, ...);
