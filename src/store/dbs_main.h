// The object store's module frame: one-time start-up and shut-down with the
// command-line switches, the mode word the adapter reads, the two global
// typed-value slots, the app-server test, the site-id helpers of object ids,
// the remote-service hooks and the transaction calls with their trace line.
//
// Threads: process-wide state without locks; one CRM session per process.
#pragma once

#include "core/cmn/cmn_val.h"
#include "orb_api.h"
#include "store/dbs_oid.h"

class KAdpConnId;

// Mode bits: 1 "-nolock_off", 2 "-deferinit"; initially 8.
ORB_API long dbs_main_get_super_flag();
ORB_API long dbs_main_set_super_flag(long flags);

// Starts the adapter and the store once; after dbs_main_term the next call
// starts them afresh.
ORB_API long dbs_main_init();
// Forgets that init and term ran and restores the mode word, so that a test
// program can run the start-up again (not for use by the library's callers).
long dbs_main_reset();
ORB_API long dbs_main_term();
ORB_API long dbs_db_str_init();

ORB_API long dbs_main_set_global(long slot, const cmn_ty_value* value);
ORB_API long dbs_main_get_global(long slot, cmn_ty_value* value);

ORB_API long dbs_main_is_appsrv();
ORB_API long dbs_main_is_remote();
ORB_API const char* dbs_main_remote_id();
ORB_API const char* dbs_main_get_remote_id();
ORB_API long dbs_main_server_type();

ORB_API long dbs_main_id_site_get();
ORB_API long dbs_main_id_site_set(obj_id* id, long site_id);
ORB_API long dbs_main_id_number_get(const obj_id* id);
ORB_API long dbs_main_id_number_set(obj_id* id, long number);

ORB_API long dbs_main_is_interesting_err(long code);
ORB_API long dbs_main_is_nonsense_err(long code);

// Remote-service hooks (installed by a host; nothing in the library does).
using dbs_ty_fpapi_proc = long (*)(long, long, long, long, long, long);
using dbs_ty_fpapi_new_proc = void* (*)(long, long, long, long, long, long);
ORB_API long dbs_main_fpapi_init(dbs_ty_fpapi_proc obj_get, dbs_ty_fpapi_proc svc_call,
                                 dbs_ty_fpapi_proc db_group, dbs_ty_fpapi_new_proc svc_new);
ORB_API long dbs_main_fpapi_obj_get(long* out, long a, long b, long c, long d, long e);
ORB_API long dbs_main_fpapi_svc_call(long a, long b, long c, long d, long e, long f);
ORB_API long dbs_main_fpapi_db_group(long a, long b, long c, long d, long e, long f);
ORB_API void* dbs_main_fpapi_svc_new(long a, long b, long c, long d, long e, long f);
ORB_API long fpa_cbr_exec();

ORB_API long dbs_trn_begin(KAdpConnId* con);
ORB_API long dbs_trn_commit(KAdpConnId* con);
ORB_API long dbs_trn_rollback(KAdpConnId* con);
ORB_API long dbs_trn_release(KAdpConnId* con);
ORB_API long dbs_trn_appl_level(long* out);

ORB_API long dbs_main_dlg_error_install(long (*proc)(const char* text));
ORB_API long dbs_main_set_max_per_batch(long count);
ORB_API long dbs_main_no_optimize_queries();
ORB_API long dbs_main_user_codepage_id_get();
ORB_API long dbs_main_is_codepage_sys_default(char* out);
ORB_API long dbs_main_set_user_codepage_id(long code_page);
