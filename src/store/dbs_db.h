// Database login, open and header: log a session in, open a database (its
// structure and schema revisions checked, the schema model loaded from the
// dictionary or the schema cache file), create a database, and read and
// change the header's revisions and flags. The header itself is the
// adapter's; this module holds the application's expected revisions.
#pragma once

#include <cstdio>

#include "orb_api.h"

class KAdpConnId;
struct adp_db_dhead;

constexpr long DBS_DB_REV = 15;
// Header flag bits.
constexpr long DBS_HDR_CREATED = 2;
constexpr long DBS_HDR_ZEZ = 4;
constexpr long DBS_HDR_SECURE = 8;
constexpr long DBS_HDR_ROAMER = 32;

ORB_API long dbs_db_init();
ORB_API long dbs_db_term();

ORB_API long dbs_db_login(const char* server, const char* login, const char* password, const char* app_name,
                          long timeout, KAdpConnId** cid, KAdpConnId* session_info, char utf8);
ORB_API long dbs_db_fast_reconnect(KAdpConnId* cid, const char* password, long timeout, char utf8);
ORB_API long dbs_db_logout(KAdpConnId* cid);
ORB_API long dbs_db_open(KAdpConnId* cid, const char* name, char use_cache);
ORB_API long dbs_db_close(KAdpConnId* cid);
ORB_API long dbs_db_create(KAdpConnId* cid, const char* name, long a, long b, long c, long d, long site_id,
                           long offline_site_id, unsigned long options);

ORB_API long dbs_db_assert_schema_rev(void* ignored, long revision);
ORB_API long dbs_db_get_schema_rev(KAdpConnId* cid, long* revision);
ORB_API long dbs_db_change_schema_rev(KAdpConnId* cid, long revision);
ORB_API long dbs_db_get_cust_int_sch_rev(KAdpConnId* cid, long* out);
ORB_API long dbs_db_change_cust_int_sch_rev(KAdpConnId* cid, long value);
ORB_API long dbs_db_assert_cust_schema_rev(void* ignored, const char* text);
ORB_API long dbs_db_get_cust_schema_rev(void* ignored, const char** text);
ORB_API long dbs_db_change_cust_schema_rev(KAdpConnId* cid, const char* text);
ORB_API long dbs_db_get_header(KAdpConnId* cid, adp_db_dhead** header);
ORB_API long dbs_db_find_header(KAdpConnId* cid);
ORB_API long dbs_db_put_header(KAdpConnId* cid, adp_db_dhead* header);
ORB_API long dbs_db_convert(KAdpConnId* cid, const char* argument);

ORB_API long dbs_db_get_flags(KAdpConnId* cid, long* flags);
ORB_API long dbs_db_set_flags(KAdpConnId* cid, long flags, char write);
ORB_API long dbs_db_if_zez_enabled(KAdpConnId* cid, char* out);
ORB_API long dbs_db_if_roamer_enabled(KAdpConnId* cid, char* out);
ORB_API long dbs_db_if_secure_enabled(KAdpConnId* cid, char* out);
ORB_API long dbs_db_get_site_id(KAdpConnId* cid, long* site_id);
ORB_API long dbs_db_check();
ORB_API long dbs_db_set_client_charset();

// The cache file name of a database and schema revision ("dbcache" in
// front when set) into out (size bytes).
ORB_API long dbs_db_cache_name(const char* db_name, long schema_rev, char* out, long size);

// Forwarders to the adapter.
ORB_API long dbs_db_exist(KAdpConnId* cid, const char* name, char* out);
ORB_API long dbs_db_delete(KAdpConnId* cid, const char* name);
ORB_API long dbs_db_info_get(KAdpConnId* cid, adp_db_dhead** header, const char** login, const char** password,
                             const char** server);
ORB_API long dbs_db_fast_disconnect(KAdpConnId* cid);
ORB_API long dbs_db_name_get(const char** name);
ORB_API long dbs_db_upgrade(long flag);
ORB_API long dbs_db_set_dbcodepage(const char* code_page);
ORB_API long dbs_db_is_db_unicode_enabled(char* out);
ORB_API long dbs_db_set_user_locale(void* ignored, long locale_id);
ORB_API long dbs_db_get_globalc_charset_name(long locale_id, const char** out);
ORB_API long dbs_db_get_globalc_locale_name(long locale_id, const char** out);
ORB_API long dbs_db_get_code_page_from_lcid(long locale_id, long* out);
ORB_API long dbs_db_get_lcid_from_code_page(long code_page, long* out);
ORB_API long dbs_db_add_comment(KAdpConnId* cid, const char* format, long a1, long a2, long a3, long a4, long a5);
ORB_API long dbs_db_reset_fail_num();
ORB_API long dbs_db_test_fired();
ORB_API long dbs_db_disable_fail_mode();
// Whether the named table has a trigger of the system's own (never: 0 in *out).
ORB_API long dbs_db_check_trigger(KAdpConnId* cid, const char* name, char* out);
ORB_API long dbs_db_set_no_dump_tran();
ORB_API long dbs_db_set_timeout();
ORB_API long dbs_db_set_textlimit();
ORB_API long dbs_db_disable_ansi_to_oem();
ORB_API long dbs_db_set_db_driver(const char* name);
// The current connection's character-set names; *lcids its locale ids.
ORB_API char* const* dbs_db_get_lcid_charactersetname_list(long** lcids);
ORB_API FILE* dbs_db_get_log();
ORB_API long dbs_db_log_sql(FILE* stream);
