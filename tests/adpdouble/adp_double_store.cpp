// The store's adapter calls, answering from the double's state.
#include "adpdouble/adp_double_store.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_mem.h"
#include "core/clk/clk_seam.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace adp_store {

state& st() {
  static state s;
  return s;
}

void reset() { st() = state{}; }

}  // namespace adp_store

using adp_double::record;
using adp_store::st;

namespace {

std::string num(long n) { return std::to_string(n); }
std::string txt(const char* t) { return t ? t : "null"; }

adp_db_dhead head_record;  // the connection's header, in step with st().current

// The adapter's own message texts that the store raises or reads.
const char* adp_texts[132];
const loc_ty_arg_table<132> adp_args(0);

long register_adp_list() {
  adp_texts[0x06] = "Type %ld is not in the type cache.\n";
  adp_texts[0x20] = "Retrieving result from the sql buffer failed.\n";
  adp_texts[0x29] = "%s\n";
  adp_texts[0x35] = "Cannot generate new object ID's for Object type %ld as Objid range is used up.\n";
  if (long s = cmn_list_install_res_table(2000, 132, adp_texts)) return s;
  return loc_str_init_list("adp", 6, 2000, 2131, 132, adp_args.bytes);
}

// The server's clock is the local one.
long time_get(clktime* out) {
  if (st().fixed_time) {
    *out = st().server_time;
    return 0;
  }
  struct tm t{};
  if (long s = clk_seam_local_time(&t)) return s;
  clk_ty_cmp c{};
  c.year = t.tm_year + 1900L;
  c.yday = t.tm_yday + 1L;
  c.hour = t.tm_hour;
  c.minute = t.tm_min;
  c.second = t.tm_sec;
  return clk_time_cmp_to_time_adj(0, &c, out);
}
long gmt_diff(void*) { return st().current.gmt_diff * 60; }
// The connection the clock reads the server time on.
void* clock_con = nullptr;
void* get_clock_con() { return clock_con; }
long set_clock_con(void* con) {
  clock_con = con;
  return 0;
}

adp_ty_oid_get_proc oid_get_proc = nullptr;

}  // namespace

// Module and server.
long adp_main_init() {
  long s = record("adp_main_init", {});
  if (s) return s;
  clk_ty_seams seams{};
  seams.time_get = time_get;
  seams.db_get_gmt_diff = gmt_diff;
  seams.db_get_conn = get_clock_con;
  seams.db_set_conn = set_clock_con;
  seams.str_to_clk = adp_time_str_to_clk;
  clk_seam_install(&seams);
  return register_adp_list();
}
long adp_main_term() { return record("adp_main_term", {}); }
long adp_main_server_type() { return st().server_type; }
long adp_main_is_remote() { return st().is_remote; }
const char* adp_main_get_remote_id(void*) { return st().remote_id.c_str(); }
long adp_db_set_log_last_sql() { return record("adp_db_set_log_last_sql", {}); }
long adp_sce_defer_col_init(long on, const char* file) {
  return record("adp_sce_defer_col_init", {num(on), txt(file)});
}
namespace {
FILE* sql_log = nullptr;
}
long adp_sql_log_sql(FILE* stream) {
  sql_log = stream;
  return record("adp_sql_log_sql", {stream ? "stream" : "null"});
}
long adp_sql_get_log(FILE** out) {
  *out = sql_log;
  return 0;
}
long adp_sql_print_out(KAdpConnId*, const char* text) {
  st().printed.push_back(txt(text));
  return record("adp_sql_print_out", {txt(text)});
}
long adp_sql_set_client_charset() { return record("adp_sql_set_client_charset", {}); }

// Transactions.
long adp_trn_begin(KAdpConnId*) {
  long s = record("adp_trn_begin", {num(st().trn_level)});
  if (!s) ++st().trn_level;
  if (!s && adp_mem::on()) adp_mem::trn_begin();
  return s;
}
long adp_trn_commit(KAdpConnId*) {
  long s = record("adp_trn_commit", {num(st().trn_level)});
  if (!s && st().trn_level > 0) --st().trn_level;
  if (!s && adp_mem::on()) adp_mem::trn_commit();
  return s;
}
long adp_trn_rollback(KAdpConnId*) {
  long s = record("adp_trn_rollback", {num(st().trn_level)});
  st().trn_level = 0;
  if (adp_mem::on()) adp_mem::trn_rollback();
  return s;
}
long adp_trn_appl_level(long* out) {
  *out = st().trn_level;
  return 0;
}

// Login and databases.
long adp_db_login(const char* server, const char* login, const char* password, const char*, long, KAdpConnId** cid,
                  char) {
  long s = record("adp_db_login", {txt(server), txt(login), txt(password)});
  if (s) return s;
  if (password && st().accepted_password == password) {
    static long connection = 0;
    if (cid) *cid = reinterpret_cast<KAdpConnId*>(&connection);
    return 0;
  }
  cmn_alrt_push(nullptr, "adp_db_login", 0x600029, 1, "login refused");
  return 0x600029;
}
long adp_db_fast_reconnect(KAdpConnId*, const char* password, long, char) {
  long s = record("adp_db_fast_reconnect", {txt(password)});
  if (s) return s;
  if (password && st().accepted_password == password) return 0;
  cmn_alrt_push(nullptr, "adp_db_fast_reconnect", 0x600029, 1, "login refused");
  return 0x600029;
}
long adp_db_logout(KAdpConnId*) { return record("adp_db_logout", {}); }
long adp_db_cid_user(KAdpConnId*, const char** user) {
  *user = st().cid_user.c_str();
  return record("adp_db_cid_user", {});
}
long adp_db_info_set(KAdpConnId*, const char* db, const char* login, const char* password, const char* server) {
  return record("adp_db_info_set", {txt(db), txt(login), txt(password), txt(server)});
}
long adp_db_open(KAdpConnId*, const char* name) { return record("adp_db_open", {txt(name)}); }
long adp_db_check(KAdpConnId*, const char* name) { return record("adp_db_check", {txt(name)}); }
long adp_db_close(KAdpConnId*) { return record("adp_db_close", {}); }
long adp_db_create(KAdpConnId*, const char* name, long, long, long, long) {
  return record("adp_db_create", {txt(name)});
}
long adp_db_trunc_log(KAdpConnId*) { return record("adp_db_trunc_log", {}); }
long adp_db_cr_header(KAdpConnId*, long) { return record("adp_db_cr_header", {}); }
long adp_db_init_header(KAdpConnId*) {
  st().current.gmt_diff = 0;
  st().current.flags = 0;
  return record("adp_db_init_header", {});
}
long adp_db_assert_revs(KAdpConnId*, long a, long b) { return record("adp_db_assert_revs", {num(a), num(b)}); }
long adp_db_is_schema_cached() { return st().schema_cached; }
long adp_db_add_comment(KAdpConnId*, const char* format, long a1, long a2, long, long, long) {
  char line[256];
  if (format && std::strstr(format, "%s"))
    std::snprintf(line, sizeof line, "%s|%s", format, reinterpret_cast<const char*>(a1));
  else
    std::snprintf(line, sizeof line, "%s|%ld|%ld", txt(format).c_str(), a1, a2);
  return record("adp_db_add_comment", {line});
}
long adp_db_convert_db(KAdpConnId*, const char* name, adp_db_dhead*, long target) {
  return record("adp_db_convert_db", {txt(name), num(target)});
}
long adp_db_check_objid() { return record("adp_db_check_objid", {}); }
long adp_db_is_db_oracle() { return (st().server_type & 1) ? 0 : 1; }

// The header.
adp_db_dhead* adp_db_get_head_addr() { return &head_record; }
long adp_db_get_header(KAdpConnId*, adp_db_dhead*) {
  long s = record("adp_db_get_header", {});
  if (s) return s;
  if (st().fail_get_header) {
    cmn_alrt_push(nullptr, "adp_db_get_header", 0x600029, 1, "no header");
    return 0x600029;
  }
  st().current = st().stored;
  st().head_read = 1;
  return 0;
}
long adp_db_put_header(KAdpConnId*, adp_db_dhead*) {
  long s = record("adp_db_put_header", {});
  if (!s) st().stored = st().current;
  return s;
}
char adp_db_get_head_read() { return static_cast<char>(st().head_read); }
long adp_db_set_head_read(char read) {
  st().head_read = read;
  return 0;
}
long adp_db_get_db_rev() { return st().current.db_rev; }
long adp_db_set_db_rev(long rev) {
  st().current.db_rev = rev;
  return 0;
}
long adp_db_get_schema_rev() { return st().current.schema_rev; }
long adp_db_set_schema_rev(long rev) {
  st().current.schema_rev = rev;
  return 0;
}
long adp_db_get_cust_int_sch_rev() { return st().current.cust_int_rev; }
long adp_db_set_cust_int_sch_rev(long rev) {
  st().current.cust_int_rev = rev;
  return 0;
}
char* adp_db_get_cust_schema_rev() { return st().current.cust_rev; }
long adp_db_set_cust_rev(const char* text) {
  std::snprintf(st().current.cust_rev, sizeof st().current.cust_rev, "%.64s", text ? text : "");
  return 0;
}
long adp_db_get_flags() { return st().current.flags; }
long adp_db_set_flags(long flags) {
  st().current.flags = flags;
  return 0;
}
long adp_db_get_site_id() { return st().current.site_id; }
long adp_db_set_site_id(long site) {
  st().current.site_id = site;
  return 0;
}
long adp_db_set_site_id_offline(long site) {
  st().current.site_offline = site;
  return 0;
}
long adp_db_set_init_dates(KAdpConnId*, const clktime* time) {
  st().current.created = *time;
  st().current.last_modify = *time;
  return 0;
}
clktime* adp_db_get_last_modify() { return &st().current.last_modify; }
long adp_db_set_last_modify(const clktime* time) {
  st().current.last_modify = *time;
  return 0;
}
char* adp_db_get_db_name() { return st().current.db_name; }
long adp_db_set_db_name(const char* name) {
  std::snprintf(st().current.db_name, sizeof st().current.db_name, "%.63s", name ? name : "");
  return 0;
}
long adp_db_get_gmt_diff(KAdpConnId*) { return st().current.gmt_diff; }

// The server's clock text: "D<day> T<ticks>".
long adp_time_clk_to_str(const clktime* time, char* out) {
  std::sprintf(out, "D%ld T%ld", time->day, time->ticks);
  return 0;
}
long adp_time_str_to_clk(const char* text, clktime* out) {
  long d = 0, t = 0;
  if (!text || std::sscanf(text, "D%ld T%ld", &d, &t) != 2) {
    cmn_alrt_push(nullptr, "adp_time_str_to_clk", 0x600029, 1, "bad time text");
    return 0x600029;
  }
  *out = {d, t};
  return 0;
}

// Objects.
long adp_obj_create(KAdpConnId*, obj_id* id, dbs_ty_lobj* object) {
  long s = record("adp_obj_create", {num(id->type) + "/" + num(id->num) + "/" + num(id->sub)});
  if (!s && adp_mem::on()) return adp_mem::obj_create(*id, object);
  if (!s) st().rows.push_back({*id, id->type});
  return s;
}
long adp_obj_get(KAdpConnId*, long type, long number, long option, dbs_ty_lobj* object) {
  long s = record("adp_obj_get", {num(type), num(number), num(option)});
  if (!s && adp_mem::on()) return adp_mem::obj_get(type, number, object);
  return s;
}
long adp_obj_put_options(KAdpConnId*, dbs_ty_lobj* object, long options) {
  long s = record("adp_obj_put_options", {num(options)});
  if (!s && adp_mem::on()) return adp_mem::obj_put(object);
  return s;
}
long adp_obj_delete(KAdpConnId*, obj_id* id, long force) {
  long s = record("adp_obj_delete", {num(id->type) + "/" + num(id->num), num(force)});
  if (!s && adp_mem::on()) return adp_mem::obj_delete(*id);
  return s;
}
long adp_obj_exist(KAdpConnId*, long type, long number, long, char* out) {
  *out = 0;
  for (const auto& r : st().rows)
    if (r.id.type == type && r.id.num == number) *out = 1;
  if (adp_mem::on()) *out = adp_mem::has_row({type, number, 0}) ? 1 : 0;
  return record("adp_obj_exist", {num(type), num(number)});
}
long adp_obj_valid_number(long type, long) { return record("adp_obj_valid_number", {num(type)}); }
long adp_obj_incr_field(KAdpConnId*, long type_id, const char* key, const char* key_column, long number,
                        const char* field, long* out) {
  long s = record("adp_obj_incr_field", {num(type_id), txt(key), txt(key_column), num(number), txt(field)}, {out});
  if (!s && adp_mem::on()) return adp_mem::incr_field(type_id, number, field ? field : "", out);
  return s;
}
long adp_obj_not_unique_fields(long* type_id, const char** fields) {
  if (type_id) *type_id = -1;
  if (fields) *fields = "";
  return record("adp_obj_not_unique_fields", {});
}
long adp_obj_get_multi_fk_cols_sql(...) { return record("adp_obj_get_multi_fk_cols_sql", {}); }
long adp_obj_subnumber(KAdpConnId*, long* out) {
  *out = ++st().subnumber;
  return record("adp_obj_subnumber", {});
}

long adp_obj_number_batch(KAdpConnId*, long n, const long* types, long* last, const long* counts) {
  std::string args;
  for (long i = 0; i < n; ++i) args += num(types[i]) + ":" + num(counts[i]) + " ";
  long s = record("adp_obj_number_batch", {num(n), args});
  if (s) return s;
  for (long i = 0; i < n; ++i) {
    long& c = st().counters[types[i]];
    c += counts[i];
    last[i] = c;
  }
  return 0;
}
long adp_obj_atou_init(KAdpConnId*, utl_ty_col* col) {
  long s = record("adp_obj_atou_init", {});
  if (s) return s;
  std::map<long, long> counts;
  for (const auto& r : st().unused) counts[r.type_id] += r.count;
  for (auto& [type, count] : counts) {
    adp_ty_oid_range rec{type, count, 0};
    utl_col_push(col, &rec, nullptr);
  }
  return 0;
}
long adp_obj_numbers_atou(KAdpConnId*, utl_ty_col* col) {
  long s = record("adp_obj_numbers_atou", {});
  if (s) return s;
  long n = 0;
  utl_col_num(col, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    auto* rec = static_cast<adp_ty_oid_range*>(e);
    auto& rows = st().unused;
    auto best = rows.end();
    for (auto it = rows.begin(); it != rows.end(); ++it)
      if (it->type_id == rec->type_id && (best == rows.end() || it->base < best->base)) best = it;
    if (best == rows.end()) continue;
    rec->base = best->base;
    rec->count = best->count;
    rows.erase(best);
  }
  return 0;
}
long adp_obj_return_cache(KAdpConnId*, utl_ty_col* col) {
  long n = 0;
  utl_col_num(col, &n);
  std::string args;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    auto* rec = static_cast<adp_ty_oid_range*>(e);
    st().unused.push_back({rec->type_id, rec->base, rec->count});
    args += num(rec->type_id) + ":" + num(rec->base) + ":" + num(rec->count) + " ";
  }
  return record("adp_obj_return_cache", {args});
}
long adp_obj_set_negative_number(KAdpConnId*, long type, long last, long gap, long site) {
  return record("adp_obj_set_negative_number", {num(type), num(last), num(gap), num(site)});
}
long adp_obj_oid_init(KAdpConnId*, long type, long argument) {
  return record("adp_obj_oid_init", {num(type), num(argument)});
}
long adp_obj_set_oid_get_proc(adp_ty_oid_get_proc proc) {
  oid_get_proc = proc;
  return 0;
}
long adp_usr_admin_login_get(const char** login) {
  *login = st().admin_login.c_str();
  return 0;
}

long adp_obj_get_col(KAdpConnId*, long type, utl_ty_col* ids, long count, long options, utl_ty_col* objects,
                     long flag) {
  long n = 0;
  utl_col_num(objects, &n);
  return record("adp_obj_get_col", {num(type), num(count), num(options), num(n), num(flag)}, {ids, objects});
}
long adp_obj_put_col(KAdpConnId*, utl_ty_col* objects) {
  long n = 0;
  utl_col_num(objects, &n);
  return record("adp_obj_put_col", {num(n)});
}

// Plain calls the store forwards.
long adp_db_exist(KAdpConnId*, const char* name, char* out) {
  *out = name && std::strcmp(name, st().current.db_name) == 0;
  return record("adp_db_exist", {txt(name)});
}
long adp_db_delete(KAdpConnId*, const char* name) { return record("adp_db_delete", {txt(name)}); }
long adp_db_info_get(KAdpConnId*, adp_db_dhead** header, const char** login, const char**, const char**) {
  if (header) *header = &head_record;
  if (login) *login = st().cid_user.c_str();
  return record("adp_db_info_get", {});
}
long adp_db_fast_disconnect(KAdpConnId*) { return record("adp_db_fast_disconnect", {}); }
long adp_db_upgrade() { return record("adp_db_upgrade", {}); }
long adp_db_set_db_codepage(const char* name) { return record("adp_db_set_db_codepage", {txt(name)}); }
long adp_db_set_user_locale(void*, long id) { return record("adp_db_set_user_locale", {num(id)}); }
long adp_db_get_globalc_charset_name(long id, const char** out) {
  *out = "UTF8";
  return record("adp_db_get_globalc_charset_name", {num(id)});
}
long adp_db_get_globalc_locale_name(long id, const char** out) {
  *out = "en_US";
  return record("adp_db_get_globalc_locale_name", {num(id)});
}
long adp_db_get_code_page_from_lcid(long id, long* out) {
  *out = 1252;
  return record("adp_db_get_code_page_from_lcid", {num(id)});
}
long adp_db_get_lcid_from_code_page(long cp, long* out) {
  *out = 1033;
  return record("adp_db_get_lcid_from_code_page", {num(cp)});
}
long adp_sch_is_db_unicode_enabled(char* out) {
  *out = (st().current.flags & 0x40) ? 1 : 0;
  return record("adp_sch_is_db_unicode_enabled", {});
}
long adp_rel_set_max_per_batch(long count) { return record("adp_rel_set_max_per_batch", {num(count)}); }
long adp_qry_no_optimize_create() { return record("adp_qry_no_optimize_create", {}); }
long adp_qry_set_dlg_error(adp_ty_dlg_error_proc) { return record("adp_qry_set_dlg_error", {}); }

namespace {
long user_codepage = 0;
}
long adp_main_user_codepage_id_get() { return user_codepage; }
long adp_main_is_codepage_sys_default(char* out) {
  *out = user_codepage == 0;
  return 0;
}
long adp_main_set_user_codepage_id(long code_page) {
  user_codepage = code_page;
  return record("adp_main_set_user_codepage_id", {num(code_page)});
}
