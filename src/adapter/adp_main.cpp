// The adapter module: start-up and termination, the remote-service
// answers, the current connection's properties by number, and the record
// types of the index and query calls.
#include "adapter/adp_main.h"

#include <cstring>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_time.h"
#include "core/cmn/cmn_typ.h"

namespace {

constexpr long ADP_TY_QRY_REC = 794;  // the query record: three longs

// Runs f on the current connection's configuration under the exception
// boundary; 0x600001 without a current connection.
template <class F>
long with_config(F&& f) {
  KAdpConnId* c = adp_db_get_conn();
  if (c == nullptr) return adp_db_check_conn(c);
  return adp_err_guard([&]() -> long {
    f(c->GetConfig());
    return 0L;
  });
}

}  // namespace

long adp_main_init() {
  if (long st = adp_str_init()) return st;
  if (long st = adp_db_init()) return st;
  if (long st = adp_qry_init()) return st;
  if (long st = adp_ind_init()) return st;
  if (long st = adp_sch_init()) return st;
  return adp_time_install_clock();
}

long adp_main_term() {
  long st = adp_db_term();
  long sce = adp_sce_term();
  return st != 0 ? st : sce;
}

long adp_main_is_remote() { return 0; }
const char* adp_main_get_remote_id(void* /*ignored*/) { return ""; }
long adp_main_set_server_version(void* /*ignored*/) { return 0; }

long adp_main_set_conn_prop_str(long number, const char* value) {
  return with_config([&](KAdpConfig& c) {
    c.SetPropertyStr(static_cast<KAdpConfig::str_type>(number), value != nullptr ? value : "");
  });
}

long adp_main_get_conn_prop_str(long number, char* out) {
  return with_config([&](KAdpConfig& c) {
    KCLASSIC::KZString v = c.GetPropertyStr(static_cast<KAdpConfig::str_type>(number));
    if (out != nullptr) std::strcpy(out, v);
  });
}

long adp_main_set_conn_prop_long(long number, long value) {
  return with_config([&](KAdpConfig& c) { c.SetPropertyLong(static_cast<KAdpConfig::long_type>(number), value); });
}

long adp_main_get_conn_prop_long(long number, long* out) {
  return with_config([&](KAdpConfig& c) { *out = c.GetPropertyLong(static_cast<KAdpConfig::long_type>(number)); });
}

long adp_main_set_conn_prop_bool(long number, char value) {
  return with_config([&](KAdpConfig& c) { c.SetPropertyBool(static_cast<KAdpConfig::bool_type>(number), value); });
}

long adp_main_get_conn_prop_bool(long number, char* out) {
  return with_config([&](KAdpConfig& c) { *out = c.GetPropertyBool(static_cast<KAdpConfig::bool_type>(number)); });
}

long adp_main_set_conn_prop_char(adp_conn_char_type number, char value) {
  return with_config([&](KAdpConfig& c) { c.SetPropertyChar(static_cast<KAdpConfig::char_type>(number), value); });
}

long adp_main_get_conn_prop_char(adp_conn_char_type number, char* out) {
  return with_config([&](KAdpConfig& c) { *out = c.GetPropertyChar(static_cast<KAdpConfig::char_type>(number)); });
}

long adp_qry_init() { return cmn_typ_install(ADP_TY_QRY_REC, -1, -1, nullptr, 3 * sizeof(long), nullptr, nullptr, nullptr, nullptr); }

long adp_ind_init() {
  return cmn_typ_install(ADP_TY_INDEX_INFO, -1, -1, nullptr, sizeof(adp_ty_index_info), nullptr, nullptr, nullptr,
                         adp_ind_print_ind_info);
}
