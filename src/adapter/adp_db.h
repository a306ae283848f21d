// The process-wide connection registry (the list of connections and the
// current one), the configured driver and the server type every dialect
// decision reads, and the database header each connection holds with its
// flag test and field accessors.
//
// Threads: the list, the current connection and the driver name are
// process-wide and unguarded; one thread drives the adapter at a time.
#pragma once

#include <cstdio>

#include "core/clk/clk_time.h"
#include "orb_api.h"

class KAdpConnId;

// The database header as a connection holds it (columns of adp_db_header).
struct adp_db_dhead {
  char db_name[64];
  clktime create_date;
  clktime last_full_backup;
  clktime last_incr_backup;
  clktime up_since;
  clktime last_modify;
  long site_id;
  long db_rev;
  long schema_rev;
  long cust_int_sch_rev;
  long gmt_diff;
  char cust_schema_rev[64];
  long flags;
  clktime orb_schema_date;
  clktime cust_schema_date;
  long reserved;
  long site_id_offline;
};

constexpr long ADP_HEAD_UPPER_COLUMNS = 0x1;  // searchable upper-case "S_" columns
constexpr long ADP_HEAD_UNICODE = 0x40;       // Unicode-enabled database

// Server type mask: bit 1 marks the SQL Server family, 0x200 and 0x4 SQL
// Server itself.
constexpr long ADP_SERVER_MSSQL_FAMILY = 1;
constexpr long ADP_SERVER_ORACLE = 2;
constexpr long ADP_SERVER_QUILL = 256;
constexpr long ADP_SERVER_MSSQL = 0x200 | 0x4 | ADP_SERVER_MSSQL_FAMILY;

// Driver name for the server type before a connection exists (at most 10
// characters kept); empty: the configuration string "db_driver" decides.
ORB_API long adp_db_set_db_driver(const char* name);

// The list: new connections go to its head.
ORB_API long adp_db_list_add(KAdpConnId* cid);
// Unlists the connection; 0 whether or not it was listed.
ORB_API long adp_db_list_remove(KAdpConnId* cid);
ORB_API KAdpConnId* adp_db_list_head();
ORB_API KAdpConnId* adp_db_get_conn();
// Makes cid current unless it already is (checked first).
ORB_API long adp_db_set_conn(KAdpConnId* cid);
// Clears the current connection when it is cid.
ORB_API long adp_db_clear_conn(KAdpConnId* cid);
// 0 when cid is listed; else pushes 0x600001 with the cid and returns it.
ORB_API long adp_db_check_conn(KAdpConnId* cid);

// Server type: from the current connection's database type, else from the
// configured driver.
ORB_API long adp_main_server_type();
ORB_API long adp_db_is_db_mssql();
ORB_API long adp_db_is_db_oracle();

// Header of the current connection.
ORB_API long adp_db_is_header_flags_set(const adp_db_dhead* head, long bits, char* out);
ORB_API adp_db_dhead* adp_db_get_head_addr();
ORB_API char* adp_db_get_db_name();
ORB_API long adp_db_set_db_name(const char* name);
ORB_API long adp_db_get_site_id();
ORB_API long adp_db_set_site_id(long v);
ORB_API long adp_db_get_site_id_offline();
ORB_API long adp_db_set_site_id_offline(long v);
ORB_API long adp_db_get_schema_rev();
ORB_API long adp_db_set_schema_rev(long v);
ORB_API long adp_db_get_cust_int_sch_rev();
ORB_API long adp_db_set_cust_int_sch_rev(long v);
ORB_API long adp_db_get_db_rev();
ORB_API long adp_db_set_db_rev(long v);
ORB_API char* adp_db_get_cust_schema_rev();
ORB_API long adp_db_set_cust_rev(const char* text);
ORB_API clktime* adp_db_get_last_modify();
ORB_API long adp_db_set_last_modify(const clktime* t);
ORB_API long adp_db_get_flags();
ORB_API long adp_db_set_flags(long v);
ORB_API clktime* adp_db_get_create_date();
ORB_API long adp_db_set_create_date(const clktime* t);
ORB_API clktime* adp_db_get_orb_schema_date();
ORB_API long adp_db_set_orb_schema_date(const clktime* t);
ORB_API clktime* adp_db_get_cust_schema_date();
ORB_API long adp_db_set_cust_schema_date(const clktime* t);
// The connection's GMT difference (seconds); 0 without a connection.
ORB_API long adp_db_get_gmt_diff(KAdpConnId* cid);
ORB_API char adp_db_get_head_read();
ORB_API long adp_db_set_head_read(char v);

// Module: the pool of the sessions (0x600000 when it exists already) and
// the deletion of every connection.
ORB_API long adp_db_init();
ORB_API long adp_db_term();
using adp_ty_deadlock_proc = long (*)();
ORB_API long adp_db_deadlock_proc_set(adp_ty_deadlock_proc proc);

// A new listed connection of the configured driver; -1 without an alert
// for a driver other than "oracle" and "oledb".
ORB_API long adp_db_alloc_conn(const char* server, const char* login, const char* app_name, KAdpConnId** cid,
                               char utf8);
// Connects *cid (or a new connection when null): server log, service,
// login and session set-up. A failure leaves the connection current before
// it current.
ORB_API long adp_db_connect(const char* server, const char* login, const char* password, const char* app_name,
                            long timeout, KAdpConnId** cid, char utf8);
// Checks the credentials with a connection of its own that is released,
// unlisted and deleted again (*cid is left null); the connection current
// before stays current.
ORB_API long adp_db_bby_login(const char* server, const char* login, const char* password, const char* app_name,
                              long timeout, KAdpConnId** cid);

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
// A new database and its repository through the dialect: a names the data
// file (a text's address), b its size, c the log file (a text's address),
// d its size.
ORB_API long adp_db_create(KAdpConnId* cid, const char* name, long a, long b, long c, long d);
ORB_API long adp_db_trunc_log(KAdpConnId* cid);
// The header and comments tables with the header's first row for the
// database named by argument (a text's address), or, when it is 0, for the
// database the header names (the one just opened).
ORB_API long adp_db_cr_header(KAdpConnId* cid, long argument);
// The process-wide DDL output file, null when none is written.
extern FILE* adp_sch_ddl;
ORB_API long adp_db_init_header(KAdpConnId* cid);
ORB_API long adp_db_assert_revs(KAdpConnId* cid, long db_rev, long schema_rev);
ORB_API long adp_db_is_schema_cached();
ORB_API long adp_db_add_comment(KAdpConnId* cid, const char* format, long a1, long a2, long a3,
                                long a4, long a5);
ORB_API long adp_db_convert_db(KAdpConnId* cid, const char* name, adp_db_dhead* header, long target);
ORB_API long adp_db_check_objid();
ORB_API long adp_db_get_header(KAdpConnId* cid, adp_db_dhead* header);
ORB_API long adp_db_put_header(KAdpConnId* cid, adp_db_dhead* header);
ORB_API long adp_db_set_init_dates(KAdpConnId* cid, const clktime* time);

ORB_API long adp_db_set_dboption(KAdpConnId* cid, const char* db_name, const char* option, char on);
ORB_API long adp_db_header_init(adp_db_dhead* header, const clktime* time, char* ignored);
ORB_API long adp_db_set_header_flags(KAdpConnId* cid, adp_db_dhead* header, long bits);
// The comment log as one new text (type 516 memory, the caller's).
ORB_API long adp_db_get_hdr_comment(KAdpConnId* cid, char** out);
// The value text and its length text of one header field for a change row.
ORB_API long adp_db_get_field_detail(const void* value, long type, char* length_out, char* value_out);
ORB_API long adp_db_maintains_users();
ORB_API long adp_db_get_last_errmsg(void* ignored, const char** out);

// Stubs: 0 (the encryption calls 1).
ORB_API long adp_db_flush_log();
ORB_API long adp_db_set_timeout();
ORB_API long adp_db_set_textlimit();
ORB_API long adp_db_disable_ansi_to_oem();
ORB_API long adp_db_set_no_dump_tran();
ORB_API long adp_db_install_msg_handler();
ORB_API long adp_db_encrypt();
ORB_API long adp_db_LPBEncrypt();

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

// Creates the binary-array table of a type's generic field.
ORB_API long adp_bar_create(KAdpConnId* cid, long type_id, long gen_id);
