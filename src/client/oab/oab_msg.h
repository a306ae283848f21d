// The application services' message list "oab" (subsystem 14, ids 3600 to
// 3970; alert code 0xE00000 plus the index). Besides alert texts the list
// holds words the services show: activity names, status and list names,
// time units and module names.
#pragma once

constexpr long OAB_SUBSYS = 14;
constexpr long OAB_FIRST_ID = 3600;
constexpr long OAB_LAST_ID = 3970;
constexpr long OAB_NUM_MSGS = OAB_LAST_ID - OAB_FIRST_ID + 1;
constexpr long OAB_ALRT_BASE = 0xE00000;

constexpr long oab_code(long index) { return OAB_ALRT_BASE + index; }

constexpr long OAB_MANY_RELATIVES = 0xE00000;
constexpr long OAB_MANY_REL_COLS = 0xE00001;
constexpr long OAB_BAD_TYPE = 0xE00002;
constexpr long OAB_BAD_GEN_REL = 0xE00003;
constexpr long OAB_NO_SPEC_REL = 0xE00004;     // type, relation
constexpr long OAB_NO_SPEC_REL2 = 0xE00005;    // type, type, relation
constexpr long OAB_BAD_SPEC_INDEX = 0xE00006;
constexpr long OAB_NOT_PERM = 0xE00007;
constexpr long OAB_BAD_FLD_TYPE = 0xE00008;
constexpr long OAB_SUBJECT_NOT_IN_STATE = 0xE0000B;
constexpr long OAB_OBJECT_NOT_IN_STATE = 0xE0000C;
constexpr long OAB_NO_CONVERT = 0xE0000D;      // source, destination, conversion
constexpr long OAB_ACT_NUM = 0xE0000E;         // code
constexpr long OAB_ACT_NAME = 0xE0000F;        // name
constexpr long OAB_ACT_TO = 0xE00010;          // type
constexpr long OAB_ACT_FROM = 0xE00011;        // type
constexpr long OAB_COND_NUM = 0xE00012;        // code
constexpr long OAB_COND_NAME = 0xE00013;       // name
constexpr long OAB_COND_TO = 0xE00014;         // type
constexpr long OAB_COND_FROM = 0xE00015;       // type
constexpr long OAB_ACT_UNKNOWN = 0xE0001E;     // code
constexpr long OAB_REL_IN_MEMORY = 0xE0005B;
constexpr long OAB_COPY_TYPES = 0xE00060;      // type name, type name
constexpr long OAB_NO_DEFAULT = 0xE00095;      // name
constexpr long OAB_MANY_DEFAULTS = 0xE00096;   // count, name
constexpr long OAB_GLB_TYPE = 0xE00098;
constexpr long OAB_GLB_ID = 0xE00099;
constexpr long OAB_MANY_USERS = 0xE0009A;
constexpr long OAB_NO_USER = 0xE0009B;
constexpr long OAB_FLUSH = 0xE000AA;
constexpr long OAB_BAD_RESTRICTION = 0xE000C8;  // type name

// Registers the list with its compiled-in texts.
long oab_str_init();
// Pushes code with its arguments on the current alert stack; returns code.
long oab_alrt(const char* proc, long code, ...);
// The text of a message of the list (database text first), or "" when none.
const char* oab_msg_text(long code);
