// Number generation by scheme: the scheme cache, the counter's increment
// with its deadlock retries, and the remote-node forms.
#include <algorithm>
#include <string>

#include "client/gen/gen_num.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_obj.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kColSlots = 10;
constexpr long kEq = 4;
constexpr long kMarkerLength = 10;
constexpr long kSubcaseSchemeName = 0x150002F;
constexpr const char* kCounter = "next_value";

utl_ty_col* g_schemes = nullptr;

const char* text_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (dbs_fld_get(o, field, &v, nullptr) != 0 || v == 0) return "";
  return reinterpret_cast<const char*>(v);
}

// The cached scheme of the name, read and cached when needed.
long find_scheme(const char* name, dbs_ty_lobj** scheme) {
  *scheme = nullptr;
  if (g_schemes == nullptr)
    if (long st = utl_col_make("gen_num_gen", CMN_TYP_VOID_P, kColSlots, kColSlots, 0, 0, &g_schemes)) return st;
  long index = -1;
  if (long st = oab_obj_match_field_in_col(g_schemes, GEN_SCHEME_NAME, name, &index, scheme)) return st;
  if (*scheme != nullptr) return 0;
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("gen_num_gen", CMN_TYP_VOID_P, kColSlots, kColSlots, 0, 0, &found)) return st;
  dbs_ty_qry_cond cond{GEN_SCHEME_NAME, kEq, reinterpret_cast<long>(name)};
  dbs_ty_qry_desc desc{GEN_SCHEME_TYPE, 1, &cond, 1};
  long st = dbs_qry_simple(oab_db_con_id, &desc, nullptr, nullptr, found);
  if (st == 0 && found->count == 0) st = (cmn_alrt_push(nullptr, "gen_num_gen", GEN_NO_SCHEME, 1, name), GEN_NO_SCHEME);
  if (st == 0) {
    *scheme = reinterpret_cast<dbs_ty_lobj**>(found->array)[0];
    st = utl_col_push(g_schemes, scheme, nullptr);
    if (st == 0) utl_col_remove(found, nullptr, 0);  // the cache keeps it
    else *scheme = nullptr;
  }
  dbs_obj_free_local_col(nullptr, found);
  return st;
}

// The remote forms: a marked template loses its marker and gets the node id
// in front; any other is cut at its first ':' and gets the node id behind.
long remote_form(const std::string& templ, long number, long zero_fill, long width, long size, char* output) {
  std::string node = gen_num_get_remote_id();
  bool marked = !templ.empty() && templ[0] == '<';
  std::string body = marked ? templ.substr(std::min<size_t>(kMarkerLength, templ.size()))
                            : templ.substr(0, templ.find(':'));
  std::string text(static_cast<size_t>(size > 0 ? size : 1), '\0');
  if (long st = gen_num_substitute(body.c_str(), number, zero_fill, width, size, text.data())) return st;
  std::string result = marked ? node + ":" + text.c_str() : std::string(text.c_str()) + ":" + node;
  if (result.size() >= static_cast<size_t>(size)) {
    cmn_alrt_push(nullptr, "gen_num_gen", GEN_NUM_TOO_LONG, 2, templ.c_str(), size);
    return GEN_NUM_TOO_LONG;
  }
  std::copy(result.c_str(), result.c_str() + result.size() + 1, output);
  return 0;
}

}  // namespace

long gen_num_gen_next_num(const obj_id* id, long type, const char* field, long* number) {
  long level = 0;
  if (long st = dbs_trn_appl_level(&level)) return st;
  long value = 0;
  long st = dbs_obj_incr_field(oab_db_con_id, type, "", "", id->num, field, &value);
  for (long tries = 0; st == GEN_DEADLOCK; ++tries) {
    osl_print_mes("gen_num_gen: deadlock generating new number\n");
    if (level != 0 || tries >= GEN_MAX_RETRIES) return GEN_DEADLOCK;
    osl_print_mes("TRYING number generation again (%ld)\n", tries);
    st = dbs_obj_incr_field(oab_db_con_id, type, "", "", id->num, field, &value);
  }
  if (st != 0) return st;
  *number = value - 1;
  return 0;
}

long gen_num_gen(const char* name, long size, char* output) {
  dbs_ty_lobj* scheme = nullptr;
  if (long st = find_scheme(name != nullptr ? name : "", &scheme)) return st;
  obj_id id{};
  if (long st = dbs_obj_oid_get(scheme, &id)) return st;
  long number = 0;
  if (long st = gen_num_gen_next_num(&id, GEN_SCHEME_TYPE, kCounter, &number)) return st;
  std::string templ = text_of(scheme, GEN_SCHEME_TEMPLATE);
  long zero_fill = 0;
  long width = 0;
  if (long st = dbs_fld_get(scheme, GEN_SCHEME_ZERO_FILL, &zero_fill, nullptr)) return st;
  if (zero_fill != 0)
    if (long st = dbs_fld_get(scheme, GEN_SCHEME_WIDTH, &width, nullptr)) return st;
  if (dbs_main_is_remote() != 0) return remote_form(templ, number, zero_fill, width, size, output);
  return gen_num_substitute(templ.c_str(), number, zero_fill, width, size, output);
}

long gen_num_term() {
  if (g_schemes != nullptr) dbs_obj_free_local_col(nullptr, g_schemes);
  g_schemes = nullptr;
  return 0;
}

long adm_num_gen(const char* name, long size, char* output) { return gen_num_gen(name, size, output); }

const char* gen_num_get_remote_id() {
  dbs_ty_lobj* item = nullptr;
  long value = 0;
  if (oab_db_get_config_item("NodeIdDisplay", &item, &value, nullptr, nullptr) != 0) cmn_alrt_clear(nullptr);
  return dbs_main_get_remote_id();
}

long gen_num_get_subcase_format(unsigned char* flag) {
  *flag = 1;
  const char* name = nullptr;
  cmn_alrt_get_msg(kSubcaseSchemeName, &name);
  dbs_ty_lobj* scheme = nullptr;
  if (long st = find_scheme(name != nullptr ? name : "", &scheme)) return st;
  *flag = text_of(scheme, GEN_SCHEME_TEMPLATE)[0] == '<' ? 0 : 1;
  return 0;
}
