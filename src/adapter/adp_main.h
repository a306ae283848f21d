// The adapter's module start-up, server type, remote-service questions and
// the SQL layer's log calls that the object store makes. Implemented by the
// adapter; the store only declares them (they meet in liborbisan.so).
#pragma once

#include <cstdio>

#include "adapter/adp_sql_log.h"
#include "orb_api.h"

class KAdpConnId;

ORB_API long adp_main_init();
ORB_API long adp_main_term();
// Server-type bits (1 the SQL Server family, 2, 4, 0x20, 0x100, 0x400).
ORB_API long adp_main_server_type();
ORB_API long adp_main_is_remote();
ORB_API const char* adp_main_get_remote_id(void* ignored);

// The adapter keeps the text of the last SQL statement.
ORB_API long adp_db_set_log_last_sql();
// Column initialisation of an upgrade goes to a deferred script (on, file).
ORB_API long adp_sce_defer_col_init(long on, const char* file_name);
ORB_API long adp_sql_set_client_charset();

// Relation batches and query optimisation switches.
ORB_API long adp_rel_set_max_per_batch(long count);
ORB_API long adp_qry_no_optimize_create();
// The dialog-error procedure slot.
using adp_ty_dlg_error_proc = long (*)(const char* text);
ORB_API long adp_qry_set_dlg_error(adp_ty_dlg_error_proc proc);

// Code pages of the current connection.
ORB_API long adp_main_user_codepage_id_get();
ORB_API long adp_main_is_codepage_sys_default(char* out);
ORB_API long adp_main_set_user_codepage_id(long code_page);
// The user code page, made the default locale's when none is set (0
// without a connection).
ORB_API long adp_main_get_app_codepage();
// The first listed locale of that code page becomes the thread locale.
ORB_API long adp_main_set_globlac_codepage(long code_page);
// On a Unicode database: the locale of "-lcid", else UTF-8 for "-unicode"
// or a session started in UTF-8.
ORB_API long adp_main_set_cmdline_codepage();
ORB_API long adp_main_set_server_version(void* ignored);

// Properties of the current connection by number (0; 0x600001 without a
// current connection). The string is copied into the caller's buffer.
enum adp_conn_char_type : long {};
ORB_API long adp_main_set_conn_prop_str(long number, const char* value);
ORB_API long adp_main_get_conn_prop_str(long number, char* out);
ORB_API long adp_main_set_conn_prop_long(long number, long value);
ORB_API long adp_main_get_conn_prop_long(long number, long* out);
ORB_API long adp_main_set_conn_prop_bool(long number, char value);
ORB_API long adp_main_get_conn_prop_bool(long number, char* out);
ORB_API long adp_main_set_conn_prop_char(adp_conn_char_type number, char value);
ORB_API long adp_main_get_conn_prop_char(adp_conn_char_type number, char* out);
