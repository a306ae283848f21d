// The object-state engine's message list "ost" (subsystem 32, ids 7200 to
// 7232; alert code 0x2000000 plus the index).
#pragma once

constexpr long OST_SUBSYS = 32;
constexpr long OST_FIRST_ID = 7200;
constexpr long OST_LAST_ID = 7232;
constexpr long OST_NUM_MSGS = OST_LAST_ID - OST_FIRST_ID + 1;

constexpr long OST_BAD_APP_SIZE = 0x2000000;     // size
constexpr long OST_BAD_NAME = 0x2000001;         // state
constexpr long OST_BAD_OBJ_COL = 0x2000002;      // state
constexpr long OST_BAD_NUM_OBJS = 0x2000003;     // state
constexpr long OST_BAD_OBJ_ARRAY = 0x2000004;    // state
constexpr long OST_BAD_REL_COL = 0x2000005;      // state
constexpr long OST_BAD_NUM_RELS = 0x2000006;     // state
constexpr long OST_BAD_REL_ARRAY = 0x2000007;    // state
constexpr long OST_BAD_PARENT = 0x2000008;       // state
constexpr long OST_BAD_CHILD = 0x2000009;        // state
constexpr long OST_BAD_SIBLING = 0x200000a;      // state
constexpr long OST_BAD_NEXT = 0x200000b;         // state
constexpr long OST_BAD_APP_DATA = 0x200000c;     // state
constexpr long OST_RESET_NEW = 0x200000d;
constexpr long OST_REMOVE_CKPT = 0x200000e;
constexpr long OST_BAD_STATE = 0x200000f;
constexpr long OST_BAD_CALLBACK = 0x2000011;     // slot
constexpr long OST_ONLY_ALL_HNDLS = 0x2000013;
constexpr long OST_NULL_OBJID = 0x2000015;
constexpr long OST_DUP_OBJECT = 0x2000020;       // id word 0, id word 1, state

// Registers the list and its compiled-in texts.
long ost_str_init();
// Pushes code with its arguments on the current alert stack; returns code.
long ost_alrt(const char* proc, long code, ...);
