// The process-wide connection registry (the list of connections and the
// current one), the configured driver and the server type every dialect
// decision reads, and the database header each connection holds with its
// flag test and field accessors.
//
// Threads: the list, the current connection and the driver name are
// process-wide and unguarded; one thread drives the adapter at a time.
#pragma once

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

// Server type mask.
constexpr long ADP_SERVER_ORACLE = 2;
constexpr long ADP_SERVER_QUILL = 256;
constexpr long ADP_SERVER_MSSQL = 516;

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
ORB_API long adp_db_set_cust_schema_rev(const char* text);
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
