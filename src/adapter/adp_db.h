// The adapter's connection, database and header calls that the object
// store makes. Implemented by the adapter. The header accessors act on the
// current connection's header record; getters of dates and texts return the
// field's address.
#pragma once

#include "core/clk/clk_time.h"
#include "orb_api.h"

class KAdpConnId;
struct adp_db_dhead;

// Log in (the connection is made afresh in *cid), reconnect, leave.
ORB_API long adp_db_login(const char* server, const char* login, const char* password,
                          const char* app_name, long timeout, KAdpConnId** cid, char utf8);
ORB_API long adp_db_fast_reconnect(KAdpConnId* cid, const char* password, long timeout, char utf8);
ORB_API long adp_db_logout(KAdpConnId* cid);
ORB_API long adp_db_cid_user(KAdpConnId* cid, const char** user);
ORB_API long adp_db_info_set(KAdpConnId* cid, const char* db_name, const char* login,
                             const char* password, const char* server);

// Databases.
ORB_API long adp_db_open(KAdpConnId* cid, const char* name);
ORB_API long adp_db_check(KAdpConnId* cid, const char* name);
ORB_API long adp_db_close(KAdpConnId* cid);
ORB_API long adp_db_create(KAdpConnId* cid, const char* name, long a, long b, long c, long d);
ORB_API long adp_db_trunc_log(KAdpConnId* cid);
ORB_API long adp_db_cr_header(KAdpConnId* cid, long argument);
ORB_API long adp_db_init_header(KAdpConnId* cid);
ORB_API long adp_db_assert_revs(KAdpConnId* cid, long db_rev, long schema_rev);
ORB_API long adp_db_is_schema_cached();
ORB_API long adp_db_add_comment(KAdpConnId* cid, const char* format, long a1, long a2, long a3,
                                long a4, long a5);
ORB_API long adp_db_convert_db(KAdpConnId* cid, const char* name, adp_db_dhead* header, long target);
ORB_API long adp_db_check_objid();
ORB_API long adp_db_is_db_oracle();

// The header record.
ORB_API adp_db_dhead* adp_db_get_head_addr();
ORB_API long adp_db_get_header(KAdpConnId* cid, adp_db_dhead* header);
ORB_API long adp_db_put_header(KAdpConnId* cid, adp_db_dhead* header);
ORB_API long adp_db_get_head_read();
ORB_API long adp_db_set_head_read(long read);
ORB_API long adp_db_get_db_rev();
ORB_API long adp_db_set_db_rev(long rev);
ORB_API long adp_db_get_schema_rev();
ORB_API long adp_db_set_schema_rev(long rev);
ORB_API long adp_db_get_cust_int_sch_rev();
ORB_API long adp_db_set_cust_int_sch_rev(long rev);
ORB_API char* adp_db_get_cust_schema_rev();
ORB_API long adp_db_set_cust_rev(const char* text);
ORB_API long adp_db_get_flags();
ORB_API long adp_db_set_flags(long flags);
ORB_API long adp_db_get_site_id();
ORB_API long adp_db_set_site_id(long site);
ORB_API long adp_db_set_site_id_offline(long site);
ORB_API long adp_db_set_init_dates(KAdpConnId* cid, const clktime* time);
ORB_API clktime* adp_db_get_last_modify();
ORB_API long adp_db_set_last_modify(const clktime* time);
ORB_API char* adp_db_get_db_name();
ORB_API long adp_db_set_db_name(const char* name);
// Minutes between the server's zone and GMT.
ORB_API long adp_db_get_gmt_diff(KAdpConnId* cid);

// The server's clock text, as written into and read from the cache file.
ORB_API long adp_time_clk_to_str(const clktime* time, char* out);
ORB_API long adp_time_str_to_clk(const char* text, clktime* out);

// Plain calls the store forwards.
ORB_API long adp_db_exist(KAdpConnId* cid, const char* name, char* out);
ORB_API long adp_db_delete(KAdpConnId* cid, const char* name);
ORB_API long adp_db_info_get(KAdpConnId* cid, adp_db_dhead** header, const char** login, const char** password,
                             const char** server);
ORB_API long adp_db_fast_disconnect(KAdpConnId* cid);
ORB_API long adp_db_upgrade();
ORB_API long adp_db_set_db_codepage(const char* name);
ORB_API long adp_db_set_user_locale(void* ignored, long locale_id);
ORB_API long adp_db_get_globalc_charset_name(long locale_id, const char** out);
ORB_API long adp_db_get_globalc_locale_name(long locale_id, const char** out);
ORB_API long adp_db_get_code_page_from_lcid(long locale_id, long* out);
ORB_API long adp_db_get_lcid_from_code_page(long code_page, long* out);
ORB_API long adp_sch_is_db_unicode_enabled(char* out);
