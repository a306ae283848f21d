// Database login, open, create and the header.
#include "store/dbs_db.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_main.h"
#include "adapter/adp_sch_del.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_time.h"
#include "store/dbs_rdb.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_time.h"
#include "core/clk/clk_tz.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_val.h"
#include "core/loc/loc_reg.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_loc_region.h"
#include "core/osl/osl_sys_cfg.h"
#include "schema/typ_acc.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_fld.h"
#include "store/dbs_ids.h"
#include "store/dbs_main.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_rdf.h"
#include "store/dbs_usr.h"

namespace {

long appl_schema_rev = 0;
char cust_schema_rev[65];

constexpr long kCustRevMax = 64;

void apply_char_set() {
  char* arg = nullptr;
  if (osl_sys_has_arg("-char_set=*", 1, &arg)) adp_sql_set_client_charset();
}

long set_clock() {
  if (loc_ty_region* region = loc_reg_get_region()) clk_time_sdate_set(region->short_date);
  clktime local{}, server{};
  long diff = 0;
  if (long st = clk_time_diff_get(&local, &server, &diff)) return st;
  clk_time_diff_cache_set(diff / 300);
  clk_time_zone_diff_set(clk_time_zone_round(diff));
  return 0;
}

// A login call with the scrambled password, then, when scrambling changed
// it and the server refused, once more with the password as given.
template <class Call>
long with_fallback(const char* password, const std::string& scrambled, Call call) {
  long st = call(scrambled.c_str());
  if (st == 0 || scrambled == (password ? password : "")) return st;
  cmn_alrt_pop(nullptr, nullptr, nullptr);
  return call(password);
}

bool config_true(const char* name) {
  char* v = nullptr;
  return osl_sys_get_config_string(name, &v) == 0 && v && loc_st_strcmpi(v, "TRUE") == 0;
}

long read_from_db(KAdpConnId* cid, FILE* stream) {
  if (long st = adp_sch_types_init(cid, stream)) return st;
  return adp_sch_read_all(cid, stream);
}

// Reads the model from the cache file; 0 when it was current and loaded.
long read_cache(KAdpConnId* cid, const char* file, long db_rev, long sch_rev) {
  FILE* f = std::fopen(file, "r+");
  if (!f) return 1;
  std::fputs("Reading data schema from file...\n", stdout);
  long st = dbs_rdf_schema(cid, f, db_rev, sch_rev);
  std::fclose(f);
  if (st) return st;
  std::fputs("Checking relations...\n", stdout);
  if (long s2 = typ_sch_rel_check()) return s2;
  std::fputs("Optimizing schema...\n", stdout);
  if (long s2 = typ_sch_optimize()) return s2;
  std::fputs("Done with schema\n", stdout);
  return 0;
}

// Loads from the database and writes a new cache file. The file is written
// under a temporary name beside its own and renamed only after the load
// succeeded, so that a header never stands over a partial body.
long write_cache(KAdpConnId* cid, const char* file, long db_rev, long sch_rev) {
  std::string tmp = std::string(file) + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "w");
  if (!f) return read_from_db(cid, nullptr);
  char when[128] = "";
  adp_time_clk_to_str(adp_db_get_last_modify(), when);
  std::fprintf(f, "ORBISAN_SCHEMA: %ld %ld\n", db_rev, sch_rev);
  std::fprintf(f, "TIMESTAMP: '%s'\n", when);
  long st = read_from_db(cid, f);
  if (std::fclose(f) != 0 && st == 0) st = 1;
  if (st == 0 && std::rename(tmp.c_str(), file) == 0) return 0;
  std::remove(tmp.c_str());
  return st;
}

long load_schema(KAdpConnId* cid, const char* name, char use_cache, long db_rev, long sch_rev) {
  if (use_cache != 1 || config_true("SCHEMA_DOWNLOAD")) return read_from_db(cid, nullptr);
  char file[1024];
  if (long st = dbs_db_cache_name(name, sch_rev, file, sizeof file)) return st;
  if (read_cache(cid, file, db_rev, sch_rev) == 0) return 0;
  cmn_alrt_clear(nullptr);
  return write_cache(cid, file, db_rev, sch_rev);
}

long header_read(KAdpConnId* cid) {
  if (adp_db_get_head_read()) return 0;
  adp_db_dhead* h = nullptr;
  return dbs_db_get_header(cid, &h);
}

}  // namespace

long dbs_db_init() { return dbs_rdb_init(); }
long dbs_db_term() { return 0; }

long dbs_db_login(const char* server, const char* login, const char* password, const char* app_name, long timeout,
                  KAdpConnId** cid, KAdpConnId* session_info, char utf8) {
  const char* scr = nullptr;
  if (long st = dbs_usr_password_encrypt(nullptr, login, password, 0, &scr, nullptr)) return st;
  std::string scrambled = scr ? scr : "";
  long st = with_fallback(password, scrambled, [&](const char* pw) {
    return adp_db_login(server, login, pw, app_name, timeout, cid, utf8);
  });
  if (st) return st;
  adp_db_info_set(session_info ? session_info : (cid ? *cid : nullptr), nullptr, login, password, server);
  apply_char_set();
  return set_clock();
}

long dbs_db_fast_reconnect(KAdpConnId* cid, const char* password, long timeout, char utf8) {
  const char* user = nullptr;
  if (long st = adp_db_cid_user(cid, &user)) return st;
  const char* scr = nullptr;
  if (long st = dbs_usr_password_encrypt(cid, user, password, 0, &scr, nullptr)) return st;
  std::string scrambled = scr ? scr : "";
  long st = with_fallback(password, scrambled,
                          [&](const char* pw) { return adp_db_fast_reconnect(cid, pw, timeout, utf8); });
  if (st) return st;
  apply_char_set();
  return 0;
}

long dbs_db_logout(KAdpConnId* cid) {
  if (long st = dbs_obj_return_cache(cid)) return st;
  return adp_db_logout(cid);
}

long dbs_db_cache_name(const char* db_name, long schema_rev, char* out, long size) {
  char* prefix = nullptr;
  if (long st = osl_sys_get_config_string("dbcache", &prefix)) return st;
  std::snprintf(out, static_cast<size_t>(size), "%s%.8s.%3.3ld", prefix ? prefix : "", db_name ? db_name : "",
                schema_rev);
  return 0;
}

long dbs_db_open(KAdpConnId* cid, const char* name, char use_cache) {
  static const char* const kProc = "dbs_db_open";
  if (long st = typ_sch_alloc()) return st;
  if (long st = adp_sch_alloc()) return st;
  if (long st = adp_db_open(cid, name)) return st;
  adp_db_dhead* h = nullptr;
  if (long st = dbs_db_get_header(cid, &h)) return st;
  if (long st = adp_db_check(cid, name)) return st;
  long db_rev = adp_db_get_db_rev();
  long sch_rev = adp_db_get_schema_rev();
  if (db_rev < DBS_DB_REV) return dbs_alrt(kProc, DBS_OLD_DB_REV, name, db_rev, DBS_DB_REV);
  if (appl_schema_rev != -1 && appl_schema_rev != sch_rev)
    return dbs_alrt(kProc, DBS_SCHEMA_REV, name, sch_rev, appl_schema_rev);
  appl_schema_rev = sch_rev;
  if (long st = adp_db_assert_revs(cid, db_rev, sch_rev)) return st;
  if (!adp_db_is_schema_cached()) {
    if (long st = load_schema(cid, name, use_cache, db_rev, sch_rev)) return st;
  }
  if (long st = adp_sch_map_names(cid)) return st;
  clk_time_mzone_diff_set(adp_db_get_gmt_diff(cid) * 300);
  return 0;
}

long dbs_db_close(KAdpConnId* cid) {
  if (long st = adp_db_close(cid)) return st;
  return typ_sch_free();
}

long dbs_db_create(KAdpConnId* cid, const char* name, long a, long b, long c, long d, long site_id,
                   long offline_site_id, unsigned long options) {
  if (options & 0x400000) typ_sch_set_bld_options(options);
  if (long st = adp_db_create(cid, name, a, b, c, d)) return st;
  if (long st = adp_db_open(cid, name)) return st;
  if (options & 1) {
    if (long st = adp_db_trunc_log(cid)) return st;
  }
  if (long st = adp_db_cr_header(cid, 0)) return st;
  if (long st = adp_db_init_header(cid)) return st;
  adp_db_set_db_name(name);
  clktime now{};
  if (long st = clk_time_get(&now)) return st;
  adp_db_set_site_id(site_id);
  adp_db_set_site_id_offline(offline_site_id);
  adp_db_set_db_rev(DBS_DB_REV);
  adp_db_set_schema_rev(appl_schema_rev);
  adp_db_set_cust_rev(cust_schema_rev);
  adp_db_set_flags(DBS_HDR_CREATED);
  adp_db_set_init_dates(cid, &now);
  adp_db_set_head_read(1);
  if (long st = dbs_db_put_header(cid, adp_db_get_head_addr())) return st;
  adp_db_add_comment(cid, "Initially created new database %s.", reinterpret_cast<long>(name), 0, 0, 0, 0);
  return adp_db_close(cid);
}

long dbs_db_assert_schema_rev(void*, long revision) {
  appl_schema_rev = revision;
  return 0;
}

long dbs_db_get_schema_rev(KAdpConnId*, long* revision) {
  *revision = appl_schema_rev;
  return 0;
}

long dbs_db_change_schema_rev(KAdpConnId* cid, long revision) {
  if (long st = header_read(cid)) return st;
  appl_schema_rev = revision;
  long old = adp_db_get_schema_rev();
  if (revision != -1 && revision != -2 && revision != old)
    std::printf("Database %s has schema revision %ld; object schema file has revision %ld\n", adp_db_get_db_name(),
                old, revision);
  adp_db_set_schema_rev(revision);
  return dbs_db_put_header(cid, adp_db_get_head_addr());
}

long dbs_db_get_cust_int_sch_rev(KAdpConnId* cid, long* out) {
  if (long st = header_read(cid)) return st;
  *out = adp_db_get_cust_int_sch_rev();
  return 0;
}

long dbs_db_change_cust_int_sch_rev(KAdpConnId* cid, long value) {
  if (long st = header_read(cid)) return st;
  adp_db_set_cust_int_sch_rev(value);
  return dbs_db_put_header(cid, adp_db_get_head_addr());
}

long dbs_db_assert_cust_schema_rev(void*, const char* text) {
  std::snprintf(cust_schema_rev, sizeof cust_schema_rev, "%.64s", text ? text : "");
  return 0;
}

long dbs_db_get_cust_schema_rev(void*, const char** text) {
  *text = cust_schema_rev;
  return 0;
}

long dbs_db_change_cust_schema_rev(KAdpConnId* cid, const char* text) {
  if (long st = header_read(cid)) return st;
  dbs_db_assert_cust_schema_rev(nullptr, text);
  adp_db_set_cust_rev(cust_schema_rev);
  return dbs_db_put_header(cid, adp_db_get_head_addr());
}

long dbs_db_get_header(KAdpConnId* cid, adp_db_dhead** header) {
  adp_db_dhead* h = adp_db_get_head_addr();
  if (long st = adp_db_get_header(cid, h)) return st;
  if (header) *header = h;
  return 0;
}

long dbs_db_find_header(KAdpConnId* cid) { return header_read(cid); }

long dbs_db_put_header(KAdpConnId* cid, adp_db_dhead* header) {
  clktime now{};
  if (long st = clk_time_get(&now)) return st;
  adp_db_set_last_modify(&now);
  return adp_db_put_header(cid, header ? header : adp_db_get_head_addr());
}

long dbs_db_convert(KAdpConnId* cid, const char* argument) {
  if (long st = header_read(cid)) return st;
  long old = adp_db_get_db_rev();
  if (old != DBS_DB_REV) {
    if (long st = adp_db_convert_db(cid, argument, adp_db_get_head_addr(), DBS_DB_REV)) return st;
    adp_db_add_comment(cid, "Converted database from DB rev %ld to %ld", old, DBS_DB_REV, 0, 0, 0);
  }
  if (appl_schema_rev != -1 && appl_schema_rev != adp_db_get_schema_rev()) {
    std::printf("%s: no conversion procedure to go to schema revision %ld\n", adp_db_get_db_name(), appl_schema_rev);
    return 1;
  }
  return 0;
}

long dbs_db_get_flags(KAdpConnId* cid, long* flags) {
  if (!cid || !adp_db_get_head_read()) return 1;
  *flags = adp_db_get_flags();
  return 0;
}

long dbs_db_set_flags(KAdpConnId* cid, long flags, char write) {
  if (!cid || !adp_db_get_head_read()) return 1;
  adp_db_set_flags(flags);
  return write == 1 ? dbs_db_put_header(cid, adp_db_get_head_addr()) : 0;
}

namespace {
long flag_test(KAdpConnId* cid, long bit, char* out) {
  long flags = 0;
  if (long st = dbs_db_get_flags(cid, &flags)) return st;
  *out = (flags & bit) ? 1 : 0;
  return 0;
}
}  // namespace

long dbs_db_if_zez_enabled(KAdpConnId* cid, char* out) { return flag_test(cid, DBS_HDR_ZEZ, out); }
long dbs_db_if_roamer_enabled(KAdpConnId* cid, char* out) { return flag_test(cid, DBS_HDR_ROAMER, out); }
long dbs_db_if_secure_enabled(KAdpConnId* cid, char* out) { return flag_test(cid, DBS_HDR_SECURE, out); }

long dbs_db_get_site_id(KAdpConnId*, long* site_id) {
  if (!adp_db_get_head_read()) return 1;
  *site_id = adp_db_get_site_id();
  return 0;
}

long dbs_db_check() {
  static const char* const kProc = "dbs_db_check";
  cmn_ty_value user{}, wipbin{};
  dbs_main_get_global(1, &user);
  dbs_main_get_global(0, &wipbin);
  auto* u = reinterpret_cast<dbs_ty_lobj*>(user.value);
  if (!u) return dbs_alrt(kProc, DBS_NO_USER);
  if (dbs_main_is_remote()) {
    const char* remote = dbs_main_get_remote_id();
    long word = 0;
    if (long st = dbs_fld_get(u, 23, &word, nullptr)) return st;
    const char* node = reinterpret_cast<const char*>(word);
    if (!node || !remote || loc_st_strcmpi(node, remote) != 0)
      return dbs_alrt(kProc, DBS_WRONG_NODE, remote ? remote : "");
  }
  if (!wipbin.value) return dbs_alrt(kProc, DBS_NO_WIPBIN);
  return adp_db_check_objid();
}

long dbs_db_set_client_charset() { return (dbs_main_server_type() & 1) ? adp_sql_set_client_charset() : 0; }

long dbs_db_exist(KAdpConnId* cid, const char* name, char* out) { return adp_db_exist(cid, name, out); }
long dbs_db_delete(KAdpConnId* cid, const char* name) { return adp_db_delete(cid, name); }
long dbs_db_info_get(KAdpConnId* cid, adp_db_dhead** header, const char** login, const char** password,
                     const char** server) {
  return adp_db_info_get(cid, header, login, password, server);
}
long dbs_db_fast_disconnect(KAdpConnId* cid) { return adp_db_fast_disconnect(cid); }
long dbs_db_add_comment(KAdpConnId* cid, const char* format, long a1, long a2, long a3, long a4, long a5) {
  return adp_db_add_comment(cid, format, a1, a2, a3, a4, a5);
}
long dbs_db_reset_fail_num() { return adp_db_reset_fail_num(); }
long dbs_db_test_fired() { return adp_db_test_fired(); }
long dbs_db_disable_fail_mode() { return adp_db_disable_fail_mode(); }
long dbs_db_check_trigger(KAdpConnId* cid, const char* name, char* out) {
  char scratch = 0;
  return adp_sch_get_trigger(cid, name, 1, &scratch, out);
}
long dbs_db_set_no_dump_tran() { return adp_db_set_no_dump_tran(); }
long dbs_db_set_timeout() { return adp_db_set_timeout(); }
long dbs_db_set_textlimit() { return adp_db_set_textlimit(); }
long dbs_db_disable_ansi_to_oem() { return adp_db_disable_ansi_to_oem(); }
long dbs_db_set_db_driver(const char* name) { return adp_db_set_db_driver(name); }
char* const* dbs_db_get_lcid_charactersetname_list(long** lcids) { return adp_db_get_lcid_charactersetname_list(lcids); }
long dbs_db_name_get(const char** name) {
  *name = adp_db_get_db_name();
  return 0;
}
long dbs_db_upgrade(long flag) { return flag == 1 ? adp_db_upgrade() : 0; }
long dbs_db_set_dbcodepage(const char* code_page) {
  if (dbs_main_server_type() & 1) adp_db_set_db_codepage(code_page);
  return 0;
}
long dbs_db_is_db_unicode_enabled(char* out) {
  adp_sch_is_db_unicode_enabled(out);
  return 0;
}
long dbs_db_set_user_locale(void* ignored, long locale_id) { return adp_db_set_user_locale(ignored, locale_id); }
long dbs_db_get_globalc_charset_name(long id, const char** out) { return adp_db_get_globalc_charset_name(id, out); }
long dbs_db_get_globalc_locale_name(long id, const char** out) { return adp_db_get_globalc_locale_name(id, out); }
long dbs_db_get_code_page_from_lcid(long id, long* out) { return adp_db_get_code_page_from_lcid(id, out); }
long dbs_db_get_lcid_from_code_page(long cp, long* out) { return adp_db_get_lcid_from_code_page(cp, out); }
FILE* dbs_db_get_log() {
  FILE* log = nullptr;
  adp_sql_get_log(&log);
  return log;
}
long dbs_db_log_sql(FILE* stream) { return adp_sql_log_sql(stream); }
