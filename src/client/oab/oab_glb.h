// Session globals: one process-wide table of numbered facts of the logged-in
// session (numbers 2 to 80), read and written by number with the type code
// of the global.
//
// Value conventions of get (out) and set (value):
//   512 long          long*              / const long*
//   516 text          char** (buffer)    / const char* (copied, 127 at most)
//   518 collection    utl_ty_col**       / utl_ty_col*
//   594 object id     obj_id*            / const obj_id*
//   609 clock time    clktime*           / const clktime*
//   517 object        dbs_ty_lobj** (a fresh copy, or null) / dbs_ty_lobj*
//   15 (pointer array) and 27 (no type): the word, as void** / void*
//
// Threads: one process-wide table, no guard; one caller at a time.
#pragma once

constexpr long OAB_GLB_LONG = 512;
constexpr long OAB_GLB_TEXT = 516;
constexpr long OAB_GLB_OBJ = 517;
constexpr long OAB_GLB_COL = 518;
constexpr long OAB_GLB_OID = 594;
constexpr long OAB_GLB_TIME = 609;
constexpr long OAB_GLB_TEXT_MAX = 127;  // characters kept of a text global

constexpr long OAB_GLB_FIRST = 2;
constexpr long OAB_GLB_LAST = 80;
constexpr long OAB_GLB_LOGIN = 2;
constexpr long OAB_GLB_QUEUE = 5;
constexpr long OAB_GLB_DLG_KEYS = 7;
constexpr long OAB_GLB_DLG_VALUES = 8;
constexpr long OAB_GLB_USER_ID = 9;
constexpr long OAB_GLB_PASSWORD = 17;
constexpr long OAB_GLB_DATABASE = 18;
constexpr long OAB_GLB_EMPLOYEE_ID = 22;
constexpr long OAB_GLB_USER_RELATIVE = 23;
constexpr long OAB_GLB_USER = 26;
constexpr long OAB_GLB_SWITCHED = 32;    // acting as another user
constexpr long OAB_GLB_REAL_LOGIN = 33;  // the login the session was opened with
constexpr long OAB_GLB_REAL_USER_ID = 34;
constexpr long OAB_GLB_EMPLOYEE = 35;
constexpr long OAB_GLB_CLASS_ID = 36;
constexpr long OAB_GLB_CLASS = 39;
constexpr long OAB_GLB_ENCRYPTED = 43;
constexpr long OAB_GLB_SERVER = 44;
constexpr long OAB_GLB_ALT_USER = 79;

long oab_glb_init();
long oab_glb_main_term();
long oab_glb_main_get_variable(long number, long type_code, void* out);
long oab_glb_main_set_variable(long number, long type_code, const void* value);
long oab_glb_set_dlg_inst_id(long key, long value);
long oab_glb_find_dlg_inst_id(long key, long* value);
long oab_glb_current_q_is_shared(long* flag);
long oab_glb_set_altuser();
