// Databases and the header: open, close, check, options, the header read
// and written (with its change row while the offline feature is on), its
// initial values and flags, and the revision conversion.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <strings.h>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "store/dbs_db.h"

namespace {

constexpr long kFlagsLong = 8;    // long property: the header flags
constexpr long kDbNameStr = 15;   // string property: the open database (SQL Server)
constexpr long kMaxDbRev = 9;
constexpr long kTimeType = 609;
constexpr long kTextType = 516;
constexpr long kLongType = 512;

long push(long code, int nargs = 0, long arg = 0) {
  long rc = nargs > 0 ? cmn_alrt_push(nullptr, nullptr, code, 1, arg) : cmn_alrt_push(nullptr, nullptr, code, 0);
  return rc != 0 ? rc : code;
}

long push_text(long code, const char* arg) {
  long rc = cmn_alrt_push(nullptr, nullptr, code, 1, arg);
  return rc != 0 ? rc : code;
}

void copy_name(char* dst, const char* name) { std::snprintf(dst, 64, "%s", name != nullptr ? name : ""); }

void set_flags_prop(KAdpConnId* cid, long flags) {
  cid->GetConfig().SetPropertyLong(static_cast<KAdpConfig::long_type>(kFlagsLong), flags);
}

void clear_header(adp_db_dhead* h) {
  *h = adp_db_dhead{};
  for (clktime* t : {&h->create_date, &h->last_full_backup, &h->last_incr_backup, &h->up_since, &h->last_modify,
                     &h->orb_schema_date, &h->cust_schema_date})
    *t = clktime{CLK_NULL_DAY, 0};
}

// One header field for the change row and the update: its column, type and
// address.
struct head_field {
  const char* column;
  long type;
  const void* value;
};

std::vector<head_field> change_fields(const adp_db_dhead* h) {
  return {{"create_date", kTimeType, &h->create_date},
          {"db_name", kTextType, h->db_name},
          {"last_full_backup", kTimeType, &h->last_full_backup},
          {"last_incr_backup", kTimeType, &h->last_incr_backup},
          {"up_since", kTimeType, &h->up_since},
          {"last_modify", kTimeType, &h->last_modify},
          {"site_id", kLongType, &h->site_id},
          {"db_rev", kLongType, &h->db_rev},
          {"schema_rev", kLongType, &h->schema_rev},
          {"gmt_diff", kLongType, &h->gmt_diff},
          {"cust_schema_rev", kTextType, h->cust_schema_rev},
          {"flags", kLongType, &h->flags},
          {"orbisan_schema_date", kTimeType, &h->orb_schema_date},
          {"cust_schema_date", kTimeType, &h->cust_schema_date},
          {"site_id_offline", kLongType, &h->site_id_offline},
          {"cust_int_sch_rev", kLongType, &h->cust_int_sch_rev}};
}

KAdpBindParam param_of(const head_field& f) {
  if (f.type == kTimeType) return KAdpBindParam(*static_cast<const clktime*>(f.value));
  if (f.type == kTextType) return KAdpBindParam(static_cast<const char*>(f.value));
  return KAdpBindParam(*static_cast<const long*>(f.value));
}

// The change row of the header: "16", the columns with their value lengths,
// a blank, and the values one after another.
long write_change_row(KAdpConnId* cid, const adp_db_dhead* h) {
  std::string names, values;
  for (const head_field& f : change_fields(h)) {
    char length[32], value[128];
    adp_db_get_field_detail(f.type == kTextType ? static_cast<const void*>(&f.value) : f.value, f.type, length,
                            value);
    names += std::string(" ") + f.column + " " + length;
    values += value;
  }
  std::string detail = "16" + names + " " + values;
  void* stmt = nullptr;
  if (long st = adp_sql_create(cid, &stmt)) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  *b << "insert into de_updates(row_id, row_ver, prev_row_ver, table_name, tx_detail) select objid, dev+1, dev, "
        "'adp_db_header', "
     << KAdpBindParam(detail.c_str()) << " from adp_db_header \n";
  if (long st = adp_sql_parse(cid, stmt)) return st;
  if (long st = adp_sql_execute(cid, stmt)) return st;
  return adp_sql_free(cid, stmt);
}

bool roamer_on(KAdpConnId* cid) {
  char on = 0;
  dbs_db_if_roamer_enabled(cid, &on);
  return on != 0;
}

}  // namespace

long adp_db_open(KAdpConnId* cid, const char* name) {
  const char* n = name != nullptr ? name : "";
  osl_print_mes("Opening database '%s'... ", n);
  if (long st = adp_db_check_conn(cid)) return st;
  adp_db_dhead* h = cid->GetHeader();
  if (n[0] != '\0' && std::strcmp(n, h->db_name) == 0) {
    osl_print_mes("Done\n");
    return 0;
  }
  copy_name(h->db_name, n);
  if (adp_db_is_db_mssql()) {
    std::string use = std::string("use ") + n;
    if (long st = cid->ExecDmlStmt(nullptr, use.c_str(), nullptr)) return st;
    cid->GetConfig().SetPropertyStr(static_cast<KAdpConfig::str_type>(kDbNameStr), n);
  }
  osl_print_mes("Done\n");
  return 0;
}

long adp_db_close(KAdpConnId* cid) {
  if (long st = adp_db_check_conn(cid)) return st;
  cid->GetHeader()->db_name[0] = '\0';
  return 0;
}

long adp_db_exist(KAdpConnId* cid, const char* name, char* out) {
  if (long st = adp_db_check_conn(cid)) return st;
  if (out != nullptr) *out = strcasecmp(name != nullptr ? name : "", cid->GetHeader()->db_name) == 0 ? 1 : 0;
  return 0;
}

long adp_db_check(KAdpConnId* cid, const char* name) {
  char found = 0;
  if (long st = adp_db_exist(cid, name, &found)) return st;
  if (found) return 0;
  if (adp_db_is_db_mssql()) {
    copy_name(cid->GetHeader()->db_name, name);
    return adp_db_put_header(cid, cid->GetHeader());
  }
  if (adp_db_is_db_oracle()) return push_text(ADP_NO_SUCH_DB, name != nullptr ? name : "");
  return 0;
}

long adp_db_set_dboption(KAdpConnId* cid, const char* db_name, const char* option, char on) {
  if (!adp_db_is_db_mssql()) return 0;
  if (cid != nullptr) {
    if (long st = adp_db_check_conn(cid)) return st;
  } else {
    cid = adp_db_get_conn();
    if (long st = adp_db_check_conn(cid)) return st;
  }
  std::string name = cid->GetHeader()->db_name[0] != '\0' ? cid->GetHeader()->db_name : (db_name ? db_name : "");
  if (long st = adp_db_open(cid, "master")) return st;
  adp_sql_exec_query(cid, "sp_dboption %s, '%s', %s", name.c_str(), option != nullptr ? option : "",
                     on ? "true" : "false");
  if (long st = adp_db_open(cid, name.c_str())) return st;
  return cid->ExecDmlStmt(nullptr, "checkpoint", nullptr);
}

long adp_db_trunc_log(KAdpConnId* cid) {
  KAdpConnId* c = cid != nullptr ? cid : adp_db_get_conn();
  if (c == nullptr) return adp_db_check_conn(c);
  return adp_db_set_dboption(c, c->GetHeader()->db_name, "trunc. log on chkpt.", 1);
}

long adp_db_get_header(KAdpConnId* cid, adp_db_dhead* h) {
  if (long st = adp_db_check_conn(cid)) return st;
  KAdpSqlBatch* b = cid->GetSqlBatch(1);
  clear_header(h);
  KCLASSIC::KZString select = cid->GetDbOperation()->DbGetAdpDbHeader1();
  *b << static_cast<const char*>(select) << KAdpBindCol(h->db_name, sizeof h->db_name)
     << KAdpBindCol(h->create_date) << KAdpBindCol(h->last_full_backup) << KAdpBindCol(h->last_incr_backup)
     << KAdpBindCol(h->up_since) << KAdpBindCol(h->last_modify) << KAdpBindCol(h->site_id)
     << KAdpBindCol(h->db_rev) << KAdpBindCol(h->schema_rev) << KAdpBindCol(h->gmt_diff)
     << KAdpBindCol(h->cust_schema_rev, sizeof h->cust_schema_rev) << KAdpBindCol(h->flags)
     << KAdpBindCol(h->orb_schema_date) << KAdpBindCol(h->cust_schema_date) << KAdpBindCol(h->site_id_offline)
     << KAdpBindCol(h->cust_int_sch_rev);
  if (long st = b->GetStatus()) return st;
  if (long st = b->GetNextResult(nullptr)) return st;
  long row = b->GetNextRow();
  if (row == 0) return b->GetStatus();
  if (row != 1) {
    b->Reset();
    return push(ADP_NO_HEADER);
  }
  adp_sql_free(cid, b);
  b->Reset();
  cid->SetHeaderRead(1);
  set_flags_prop(cid, h->flags);
  return adp_main_set_cmdline_codepage();
}

long adp_db_put_header(KAdpConnId* cid, adp_db_dhead* h) {
  if (long st = adp_db_check_conn(cid)) return st;
  if (long st = adp_trn_begin(cid)) return st;
  const bool roamer = roamer_on(cid);
  if (roamer) {
    if (long st = write_change_row(cid, h)) return st;
  }
  KAdpSqlBatch* b = cid->GetSqlBatch(1);
  *b << "UPDATE adp_db_header SET create_date = " << KAdpBindParam(h->create_date);
  for (const head_field& f : change_fields(h)) {
    if (std::strcmp(f.column, "create_date") == 0 || std::strcmp(f.column, "gmt_diff") == 0) continue;
    std::string set = std::string(", ") + f.column + " = ";
    *b << set.c_str() << param_of(f);
  }
  if (roamer) *b << ", dev = dev+1";
  if (long st = b->GetStatus()) return st;
  if (long st = b->GetNextResult(nullptr)) return st;
  if (long st = adp_trn_commit(cid)) return st;
  b->Reset();
  set_flags_prop(cid, h->flags);
  return 0;
}

long adp_db_init_header(KAdpConnId* cid) {
  if (long st = adp_db_check_conn(cid)) return st;
  cid->GetHeader()->gmt_diff = 0;
  cid->GetHeader()->flags = 0;
  return 0;
}

long adp_db_header_init(adp_db_dhead* h, const clktime* time, char* /*ignored*/) {
  if (h == nullptr || time == nullptr) return 0;
  h->flags &= ~0xFFFFL;
  h->orb_schema_date = *time;
  h->cust_schema_date = *time;
  return 0;
}

long adp_db_set_init_dates(KAdpConnId* cid, const clktime* time) {
  if (long st = adp_db_check_conn(cid)) return st;
  adp_db_dhead* h = cid->GetHeader();
  h->create_date = h->last_modify = h->orb_schema_date = h->cust_schema_date = *time;
  h->last_full_backup = h->last_incr_backup = h->up_since = clktime{0, 0};
  return 0;
}

long adp_db_set_header_flags(KAdpConnId* cid, adp_db_dhead* h, long bits) {
  if (long st = adp_db_get_header(cid, h)) return st;
  h->flags |= bits;
  return adp_db_put_header(cid, h);
}

long adp_db_convert_db(KAdpConnId* cid, const char* name, adp_db_dhead* h, long target) {
  if (target < 0 || target > kMaxDbRev) return push(ADP_BAD_DB_REV, 1, target);
  while (h->db_rev < target) {
    long next = h->db_rev + 1;
    osl_print_mes("Converting database '%s' to database revision %ld\n", name != nullptr ? name : "", next);
    // No revision has a conversion step of its own.
    if (long st = adp_db_get_header(cid, h)) return st;
    h->db_rev = next;
    if (long st = adp_db_put_header(cid, h)) return st;
  }
  return 0;
}

long adp_db_get_field_detail(const void* value, long type, char* length_out, char* value_out) {
  value_out[0] = '\0';
  if (type == kTimeType) {
    clk_ty_cmp c{};
    clk_time_to_cmp_adj(0, static_cast<const clktime*>(value), &c);
    std::sprintf(value_out, "%.4ld-%.2ld-%.2ld %.2ld:%.2ld:%.2ld", c.year, c.month + 1, c.day, c.hour, c.minute,
                 c.second);
  } else if (type == kTextType) {
    std::sprintf(value_out, "%s", *static_cast<const char* const*>(value));
  } else if (type == kLongType) {
    std::sprintf(value_out, "%ld", *static_cast<const long*>(value));
  }
  std::sprintf(length_out, "%ld", static_cast<long>(std::strlen(value_out)));
  return 0;
}
