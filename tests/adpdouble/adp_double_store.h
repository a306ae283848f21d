// The store's part of the adapter double: a header, the transaction level,
// object rows and number ranges in memory, and a small dictionary from which
// adp_sch_types_init and adp_sch_read_all define the model and write the
// blocks of the schema cache file. Every call is recorded as the schema
// part's calls are (adp_double::calls).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/clk/clk_time.h"
#include "store/dbs_oid.h"

namespace adp_store {

struct header {
  long db_rev = 15;
  long schema_rev = 1;
  long cust_int_rev = 0;
  char cust_rev[65] = "";
  long flags = 0;
  long site_id = 0;
  long site_offline = 0;
  clktime last_modify{1000, 0};
  clktime created{0, 0};
  char db_name[64] = "";
  long gmt_diff = 0;  // minutes
};

struct dict_type {
  long type_id;
  long flags;
  std::string name;
};
struct dict_field {
  std::string name;
  long cmn_type, db_type, array_size, precision, scale, flags, gen_id, spec_id, type_id;
  std::string def;
};
struct dict_rel {
  std::string name;
  long rel_type;
  std::string target;
  long gen_id, spec_id;
  std::string inverse;
  long rel_flags;
  std::string phys_name, focus_field;
  long flags, type_id;
  std::string excl_set;
};

struct object_row {
  obj_id id;
  long type;
};

struct range {
  long type_id, base, count;
};

// Everything the double keeps; reset() gives a fresh one.
struct state {
  header stored;      // the header as the database holds it
  header current;     // the connection's header record
  long head_read = 0;
  bool fail_get_header = false;
  long trn_level = 0;
  long server_type = 2;  // Oracle-like
  long is_remote = 0;
  std::string remote_id;
  std::string admin_login = "sa";
  std::string accepted_password;  // adp_db_login accepts only this one
  std::string cid_user = "user1";
  long schema_cached = 0;
  std::vector<dict_type> types;
  std::vector<dict_field> fields;
  std::vector<dict_rel> rels;
  std::map<long, long> counters;  // last number handed out per type
  std::vector<range> unused;      // adp_tbl_oid_unused rows
  std::vector<object_row> rows;
  std::vector<std::string> printed;  // adp_sql_print_out texts
  std::map<long, std::pair<long, std::string>> type_cache;  // type id -> flags, name
  long subnumber = 0;
  bool fixed_time = false;   // the server's clock reads server_time
  clktime server_time{0, 0};
};

state& st();
void reset();

}  // namespace adp_store
