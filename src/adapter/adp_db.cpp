// The connection list, the current connection, the driver and server type,
// and the header accessors of the current connection.
#include "adapter/adp_db.h"

#include <cstring>
#include <strings.h>

#include "adapter/adp_conn.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sess.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"

namespace {

KAdpConnId* cur_cid = nullptr;
KAdpConnId* adp_db_ccol = nullptr;
char szDbDriver[11] = "";

adp_db_dhead* head() { return cur_cid != nullptr ? cur_cid->GetHeader() : nullptr; }

long server_of_driver(const char* name) {
  if (name == nullptr) return 0;
  if (strcasecmp(name, "oracle") == 0) return ADP_SERVER_ORACLE;
  if (strcasecmp(name, "quill") == 0) return ADP_SERVER_QUILL;
  if (strcasecmp(name, "oledb") == 0) return ADP_SERVER_MSSQL;
  return 0;
}

template <class T>
long set_field(T adp_db_dhead::*field, const T& v) {
  if (adp_db_dhead* h = head()) h->*field = v;
  return 0;
}

template <class T>
T get_field(T adp_db_dhead::*field) {
  adp_db_dhead* h = head();
  return h != nullptr ? h->*field : T{};
}

clktime* date_field(clktime adp_db_dhead::*field) {
  adp_db_dhead* h = head();
  return h != nullptr ? &(h->*field) : nullptr;
}

long set_date(clktime adp_db_dhead::*field, const clktime* t) {
  if (t != nullptr) set_field(field, *t);
  return 0;
}

}  // namespace

long adp_db_set_db_driver(const char* name) {
  std::strncpy(szDbDriver, name != nullptr ? name : "", sizeof szDbDriver - 1);
  szDbDriver[sizeof szDbDriver - 1] = '\0';
  return 0;
}

const char* adp_sess_driver() {
  if (szDbDriver[0] != '\0') return szDbDriver;
  char* value = nullptr;
  osl_sys_get_config_string("db_driver", &value);
  return value;
}

long adp_db_list_add(KAdpConnId* cid) {
  if (cid == nullptr) return 0;
  adp_db_list_remove(cid);
  cid->SetNext(adp_db_ccol);
  adp_db_ccol = cid;
  return 0;
}

long adp_db_list_remove(KAdpConnId* cid) {
  KAdpConnId* prev = nullptr;
  for (KAdpConnId* c = adp_db_ccol; c != nullptr; prev = c, c = c->GetNext()) {
    if (c != cid) continue;
    if (prev == nullptr) {
      adp_db_ccol = c->GetNext();
    } else {
      prev->SetNext(c->GetNext());
    }
    c->SetNext(nullptr);
    break;
  }
  return 0;
}

KAdpConnId* adp_db_list_head() { return adp_db_ccol; }

KAdpConnId* adp_db_get_conn() { return cur_cid; }

long adp_db_set_conn(KAdpConnId* cid) {
  if (cid == cur_cid) return 0;
  if (long st = adp_db_check_conn(cid)) return st;
  cur_cid = cid;
  return 0;
}

long adp_db_clear_conn(KAdpConnId* cid) {
  if (cur_cid == cid) cur_cid = nullptr;
  return 0;
}

long adp_db_check_conn(KAdpConnId* cid) {
  if (cid != nullptr) {
    for (KAdpConnId* c = adp_db_ccol; c != nullptr; c = c->GetNext()) {
      if (c == cid) return 0;
    }
  }
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_BAD_CONN, 1, static_cast<void*>(cid));
  return rc != 0 ? rc : ADP_BAD_CONN;
}

long adp_main_server_type() {
  if (cur_cid != nullptr) {
    KAdpConfig::db_type t{};
    cur_cid->GetConfig().GetDbType(t);
    switch (static_cast<long>(t)) {
      case 0: return ADP_SERVER_ORACLE;
      case 1: return ADP_SERVER_QUILL;
      case 2: return ADP_SERVER_MSSQL;
      default: return 0;
    }
  }
  if (szDbDriver[0] != '\0') return server_of_driver(szDbDriver);
  char* value = nullptr;
  osl_sys_get_config_string("db_driver", &value);
  return server_of_driver(value);
}

long adp_db_is_db_mssql() {
  long t = adp_main_server_type();
  return (t & 0x200) != 0 && (t & 0x4) != 0 ? 1 : 0;
}

long adp_db_is_db_oracle() { return (adp_main_server_type() & 0x2) != 0 ? 1 : 0; }

long adp_db_is_header_flags_set(const adp_db_dhead* h, long bits, char* out) {
  if (h != nullptr && out != nullptr) *out = (h->flags & bits) != 0 ? 1 : 0;
  return 0;
}

adp_db_dhead* adp_db_get_head_addr() { return head(); }

char* adp_db_get_db_name() {
  adp_db_dhead* h = head();
  return h != nullptr ? h->db_name : nullptr;
}

long adp_db_set_db_name(const char* name) {
  if (adp_db_dhead* h = head()) {
    std::strncpy(h->db_name, name != nullptr ? name : "", 63);
    h->db_name[63] = '\0';
  }
  return 0;
}

long adp_db_get_site_id() { return get_field(&adp_db_dhead::site_id); }
long adp_db_set_site_id(long v) { return set_field(&adp_db_dhead::site_id, v); }
long adp_db_get_site_id_offline() { return get_field(&adp_db_dhead::site_id_offline); }
long adp_db_set_site_id_offline(long v) { return set_field(&adp_db_dhead::site_id_offline, v); }
long adp_db_get_schema_rev() { return get_field(&adp_db_dhead::schema_rev); }
long adp_db_set_schema_rev(long v) { return set_field(&adp_db_dhead::schema_rev, v); }
long adp_db_get_cust_int_sch_rev() { return get_field(&adp_db_dhead::cust_int_sch_rev); }
long adp_db_set_cust_int_sch_rev(long v) { return set_field(&adp_db_dhead::cust_int_sch_rev, v); }
long adp_db_get_db_rev() { return get_field(&adp_db_dhead::db_rev); }
long adp_db_set_db_rev(long v) { return set_field(&adp_db_dhead::db_rev, v); }
long adp_db_get_flags() { return get_field(&adp_db_dhead::flags); }
long adp_db_set_flags(long v) { return set_field(&adp_db_dhead::flags, v); }

char* adp_db_get_cust_schema_rev() {
  adp_db_dhead* h = head();
  return h != nullptr ? h->cust_schema_rev : nullptr;
}

long adp_db_set_cust_rev(const char* text) {
  if (adp_db_dhead* h = head()) {
    std::strncpy(h->cust_schema_rev, text != nullptr ? text : "", 64);
    h->cust_schema_rev[63] = '\0';
  }
  return 0;
}

clktime* adp_db_get_last_modify() { return date_field(&adp_db_dhead::last_modify); }
long adp_db_set_last_modify(const clktime* t) { return set_date(&adp_db_dhead::last_modify, t); }
clktime* adp_db_get_create_date() { return date_field(&adp_db_dhead::create_date); }
long adp_db_set_create_date(const clktime* t) { return set_date(&adp_db_dhead::create_date, t); }
clktime* adp_db_get_orb_schema_date() { return date_field(&adp_db_dhead::orb_schema_date); }
long adp_db_set_orb_schema_date(const clktime* t) { return set_date(&adp_db_dhead::orb_schema_date, t); }
clktime* adp_db_get_cust_schema_date() { return date_field(&adp_db_dhead::cust_schema_date); }
long adp_db_set_cust_schema_date(const clktime* t) { return set_date(&adp_db_dhead::cust_schema_date, t); }

long adp_db_get_gmt_diff(KAdpConnId* cid) {
  KAdpConnId* c = cid != nullptr ? cid : cur_cid;
  return c != nullptr ? c->GetHeader()->gmt_diff : 0;
}

char adp_db_get_head_read() { return cur_cid != nullptr ? cur_cid->GetHeaderRead() : 0; }

long adp_db_set_head_read(char v) {
  if (cur_cid != nullptr) cur_cid->SetHeaderRead(v);
  return 0;
}
