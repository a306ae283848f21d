// The start events of rules as display texts.
#include <string>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/com/com_rbld_fld.h"
#include "client/oab/oab_main.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long kColSlots = 10;
constexpr long kEq = 4;  // the store's "equal to"
constexpr long kFldKind = 1;
constexpr long kFldValue = 3;
constexpr long kOrderById = 0;

long start_events(dbs_ty_lobj* rule, std::string* text) {
  text->clear();
  obj_id id{};
  if (long st = dbs_obj_oid_get(rule, &id)) return st;
  utl_ty_col* found = nullptr;
  if (long st = utl_col_make("com_rbld_make_start_ev_strs", CMN_TYP_VOID_P, kColSlots, kColSlots, 0, 0, &found))
    return st;
  dbs_ty_qry_cond cond{kFldKind, kEq, COM_COND_START_EVENT};
  dbs_ty_qry_desc target{COM_COND_TYPE, 1, &cond, kOrderById};
  long st = dbs_qry_relation(oab_db_con_id, &id, COM_RULE2COND, &target, nullptr, nullptr, found);
  for (long i = 0; st == 0 && i < found->count; ++i)
    *text += (i ? ", " : "") + com_rbld_text_of(reinterpret_cast<dbs_ty_lobj**>(found->array)[i], kFldValue);
  dbs_obj_free_local_col(nullptr, found);
  return st;
}

}  // namespace

long com_rbld_make_start_ev_strs(utl_ty_col* rules, std::vector<std::string>* out) {
  out->clear();
  for (long i = 0; rules != nullptr && i < rules->count; ++i) {
    std::string text;
    if (long st = start_events(reinterpret_cast<dbs_ty_lobj**>(rules->array)[i], &text)) return st;
    out->push_back(text);
  }
  return 0;
}
