// The schema model's message list TYP (subsystem 5, ids 1800..1883; alert
// code 0x500000 plus the index) and the push helper of the module.
#pragma once

constexpr long TYP_SUBSYS = 5;
constexpr long TYP_FIRST_ID = 1800;
constexpr long TYP_LAST_ID = 1883;
constexpr long TYP_NUM_MSGS = TYP_LAST_ID - TYP_FIRST_ID + 1;

constexpr long TYP_NO_INVERSE = 0x500000;       // relation, type
constexpr long TYP_INV_MISMATCH = 0x500001;     // relation, type
constexpr long TYP_UNKNOWN_REL = 0x500002;      // relation, type
constexpr long TYP_BAD_GEN_REL = 0x500003;      // id
constexpr long TYP_BAD_SPEC_REL = 0x500004;     // id
constexpr long TYP_NOT_MODIFIABLE = 0x500005;   // schema name, record
constexpr long TYP_BAD_HANDLE = 0x500007;       // record
constexpr long TYP_NO_TYPE = 0x500008;          // type id, name
constexpr long TYP_BAD_GEN_FIELD = 0x500009;    // id, schema
constexpr long TYP_BAD_GEN_MAP = 0x50000a;      // id, schema
constexpr long TYP_BAD_SPEC_FIELD = 0x50000b;   // id, schema
constexpr long TYP_NOT_STORABLE = 0x50000c;     // data type, field, schema
constexpr long TYP_BAD_GEN_DEF = 0x50000d;      // generic id, schema
constexpr long TYP_BAD_GEN_REL_DEF = 0x50000e;  // generic id, schema
constexpr long TYP_BAD_REL = 0x50000f;          // relation, type
constexpr long TYP_MTM_TOO_LONG = 0x500010;     // type, type
constexpr long TYP_NO_FIELD = 0x500011;         // field, type
constexpr long TYP_VIEW_NO_TYPE = 0x500012;     // type, field, view
constexpr long TYP_VIEW_NO_FIELD = 0x500013;    // field, type, view
constexpr long TYP_NAME_EXISTS = 0x500014;      // name
constexpr long TYP_NO_FIELD_DELETE = 0x500016;  // field, type
constexpr long TYP_NO_REL_RENAME = 0x50001b;    // old, new, type
constexpr long TYP_OUTER_JOIN = 0x500041;       // table, view
constexpr long TYP_REL_FLAG_MISMATCH = 0x500047;  // relation, type
constexpr long TYP_REL_AFTER_USER = 0x500048;   // relation, type
constexpr long TYP_REL_DUPLICATE = 0x500049;    // relation, type
constexpr long TYP_TYPE_EXISTS = 0x50004a;      // type id

// Registers the TYP list and its compiled-in texts.
long typ_str_init();
// The compiled-in text of index n (0..83), or null.
const char* typ_str_text(long n);

// Pushes code with its arguments on the current alert stack; returns code.
long typ_alrt(const char* proc, long code, ...);

// Schema compiler messages.
constexpr long TYP_BLD_STR_LEN = 0x500015;       // field, type
constexpr long TYP_BLD_IDX_REL = 0x500017;       // relation
constexpr long TYP_BLD_IDX_FIELD = 0x500018;     // type, field, index, line
constexpr long TYP_BLD_IDX_EMPTY = 0x50001a;     // type, index, line
constexpr long TYP_BLD_OBJ_END = 0x50001c;       // line
constexpr long TYP_BLD_NO_UNIQUE = 0x50001d;     // line
constexpr long TYP_BLD_SUB_END = 0x50001e;       // line
constexpr long TYP_BLD_SUB_UNIQUE = 0x50001f;    // line
constexpr long TYP_BLD_ARRAY_GEN = 0x500020;     // line
constexpr long TYP_BLD_BAD_DTYPE = 0x500021;     // name, line
constexpr long TYP_BLD_VFIELD = 0x500022;        // field, type, line
constexpr long TYP_BLD_UNIQUE_GEN = 0x500023;    // field, line
constexpr long TYP_BLD_DB_TYPE = 0x500025;       // value, line, low, high
constexpr long TYP_BLD_GEN_RANGE = 0x500026;     // value, line, low, high
constexpr long TYP_BLD_SIZE_RANGE = 0x500027;    // value, line, low, high
constexpr long TYP_BLD_GEN_USED = 0x50003e;      // other field, field, type
constexpr long TYP_BLD_FILE = 0x50003f;          // line
constexpr long TYP_BLD_TWO_OUTER = 0x500040;
constexpr long TYP_BLD_GROUP_LONG = 0x500042;    // group, type
constexpr long TYP_BLD_GROUP_SIDE = 0x500043;    // group
constexpr long TYP_BLD_GROUP_TARGET = 0x500044;  // target, group
constexpr long TYP_BLD_DUP_FIELD = 0x50004f;     // field, type
constexpr long TYP_BLD_GROUP_CASE = 0x500050;    // field, expected, group
constexpr long TYP_BLD_GROUP_OBJID = 0x500051;   // field, group
constexpr long TYP_BLD_GROUP_TYPE = 0x500052;    // field, group
constexpr long TYP_BLD_GROUP_REOPEN = 0x500053;  // group

// Schema comparison messages.
constexpr long TYP_CMP_NO_FILE = 0x500024;        // file
constexpr long TYP_CMP_TITLE = 0x500028;
constexpr long TYP_CMP_EXCL_CHANGE = 0x500046;
constexpr long TYP_CMP_MTM_CHANGE = 0x50004b;     // relation, type
constexpr long TYP_CMP_USER_REL = 0x50004c;
