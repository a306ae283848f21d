// Client interface: alerts and utilities.
#pragma once

#include <cstdio>

#include "client/cpi_ty.h"
#include "orb_api.h"

// Module alert codes: 0x2c00000 + row of the module's message table.
constexpr long CPI_ALRT_BASE = 0x2c00000;
constexpr long CPI_ALRT_BAD_PARAMS = 0x2c00000;
constexpr long CPI_ALRT_BAD_TYPE = 0x2c00001;
constexpr long CPI_ALRT_BAD_STATE = 0x2c00002;
constexpr long CPI_ALRT_NOT_PERMANENT = 0x2c00003;
constexpr long CPI_ALRT_BAD_CON_ID = 0x2c00004;
constexpr long CPI_ALRT_SESSION_EXISTS = 0x2c00005;
constexpr long CPI_ALRT_CIRCULAR_MAP = 0x2c00006;
constexpr long CPI_ALRT_BAD_PARENT = 0x2c00007;
constexpr long CPI_ALRT_BAD_RESULTS = 0x2c00008;
constexpr long CPI_ALRT_BAD_PARAM = 0x2c00009;
constexpr long CPI_ALRT_NO_SESSION = 0x2c0000a;
constexpr long CPI_ALRT_OPTION_NOT_SET = 0x2c0000b;
constexpr long CPI_ALRT_NULL_INPUT = 0x2c0000c;
constexpr long CPI_ALRT_BAD_OBJECT = 0x2c0000d;
constexpr long CPI_ALRT_BAD_OBJID = 0x2c0000e;
constexpr long CPI_ALRT_TYPE_CODE = 0x2c0000f;
constexpr long CPI_ALRT_NO_FIELD = 0x2c00018;
constexpr long CPI_ALRT_APP_ERROR = 0x2c00019;
constexpr long CPI_ALRT_NULL_IN_MAP = 0x2c0001a;
constexpr long CPI_ALRT_BAD_OBJ_INDEX = 0x2c0001b;
constexpr long CPI_ALRT_NULL_STATE = 0x2c0001c;
constexpr long CPI_ALRT_DELETE_UNSAVED = 0x2c0001d;
constexpr long CPI_ALRT_BAD_RELATION = 0x2c0001e;
constexpr long CPI_ALRT_NO_EMPLOYEE = 0x2c0001f;
constexpr long CPI_ALRT_NO_LOGIN = 0x2c00020;

// The module's 33 messages (ids 10600 to 10632, subsystem 44): compiled
// texts and argument descriptors registered with the message lists.
constexpr long CPI_SUBSYS = 44;
constexpr long CPI_FIRST_MSG = 10600;
constexpr long CPI_NUM_MSGS = 33;
ORB_API long cpi_str_init();

// Argument checks (param: 1-based position in the public call, name: its
// name as text); each returns 0 or a pushed code.
ORB_API long cpi_utl_obj_check(void* object, long param, const char* name);
ORB_API long cpi_utl_objid_check(const cpi_ty_objid* objid, long param, const char* name);
ORB_API long cpi_utl_state_check(long state, long param, const char* name);
ORB_API long cpi_utl_conid_check(long con_id);
ORB_API long cpi_utl_type_code_check(long given, long expected);

// Alerts of the current alert stack. Option bit 0 set: the top alert's text
// verbatim; clear: every alert. A null stream is the OS layer's standard output.
ORB_API long cpi_alert_print(FILE* stream, long options);
ORB_API long cpi_alert_clear();
ORB_API long cpi_alert_push(const char* proc_name, long code, long argc, ...);
ORB_API long cpi_alert_push_message(const char* text);
ORB_API long cpi_utl_get_msg(long code, long ignored, const char** out_text);
ORB_API long cpi_utl_set_msg_mode(long mode);
ORB_API long cpi_utl_set_stdout(FILE* stream);

// Utilities.
struct clktime;
// out_text holds CPI_TIME_TEXT_SIZE bytes.
constexpr long CPI_TIME_TEXT_SIZE = 64;
ORB_API long cpi_utl_current_time(char* out_text);
ORB_API long cpi_utl_current_time_bin(clktime* out_clktime);
ORB_API long cpi_utl_num_gen(const char* scheme_name, long size, char* out_buffer);
ORB_API long cpi_utl_id_assign(const cpi_ty_objid* from, cpi_ty_objid* to);
// arg: the address of the site's id whose calendar is asked when the user
// has none of its own (0: none).
ORB_API long cpi_utl_empl_available(const cpi_ty_objid* user_objid, long arg, const char* time_text,
                                    long* out_flag);
ORB_API long cpi_utl_site_in_business(const cpi_ty_objid* site_objid, const char* time_text,
                                      long* out_flag);
ORB_API long cpi_utl_copy(void* dst, const void* src, long n);
ORB_API long cpi_utl_zero(void* p, long n);
ORB_API long cpi_utl_match_field_in_col(void* col, const char* field_name, const void* value,
                                        long* out_index, void** out_object);
ORB_API long cpi_utl_sort_col_by_field(void* col, const char* field_name);
ORB_API long cpi_utl_mem_alloc(const char* proc_name, long size, void** out_block);
ORB_API long cpi_utl_mem_free(const char* proc_name, void* block);
ORB_API long cpi_utl_get_connection_id(long* out_con_id);
