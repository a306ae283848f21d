// KAdpUtlRecord: result rows into object ids, local objects and schema
// column declarations.
#include <cstring>

#include "adapter/adp_batch.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_rec.h"
#include "adapter/adp_rec_store.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "kclassic/kc_bstr.h"
#include "schema/typ_rec.h"
#include "store/dbs_oid.h"

namespace {

constexpr long kTypeMask = 0x1FFFF;  // type id bits of an object id's type word
constexpr long kMoneyDbType = 5;     // declared as a double column
constexpr long kLastDbType = 11;

}  // namespace

long KAdpUtlRecord::FillObjidCollection(void* collection, long type, long maximum) {
  auto* col = static_cast<utl_ty_col*>(collection);
  long elem_type = 0, n = 0, cap = 0, ext = 0, slot = 0, flags = 0;
  if (long st = utl_col_info(col, &elem_type, &n, &cap, &ext, &slot, &flags)) return st;
  long rows = GetRows();
  for (long i = 0; i < rows && i != maximum; ++i) {
    long id = 0;
    if (long st = GetDataValue(i, 0, id)) return st;
    if (id == 0) continue;
    if (type == -1) {
      if (long st = utl_col_insert(col, &id, nullptr)) return st;
    } else {
      obj_id oid{type & kTypeMask, id, 0};
      if (long st = utl_col_insert(col, &oid, nullptr)) return st;
    }
  }
  return 0;
}

long KAdpUtlRecord::FillObjectCollection(void* collection, typ_sch_srec* schema, long first, long maximum) {
  auto* col = static_cast<utl_ty_col*>(collection);
  long rows = GetRows();
  for (long r = 0; r < rows && r != maximum; ++r) {
    void* elem = nullptr;
    if (long st = utl_col_ith(col, r + first, &elem)) return st;
    auto* object = *static_cast<dbs_ty_lobj**>(elem);
    for (long j = 0; j < schema->nfields; ++j) {
      const typ_sch_frec& f = schema->fields[j];
      // The store takes an integer as a long and every other value through
      // a pointer to it.
      long lv = 0;
      float fv = 0;
      double dv = 0;
      char* bytes = nullptr;
      clktime tv{-53690, 0};
      cmn_ty_decimal decv{};
      const char* text = nullptr;
      const void* boxed = nullptr;
      void* value = &boxed;
      long st = 0;
      switch (f.data_type) {
        case ADP_VT_LONG:
        case ADP_VT_SHORT:
          st = GetDataValue(r, j, lv);
          value = &lv;
          break;
        case ADP_VT_FLOAT: st = GetDataValue(r, j, fv); boxed = &fv; break;
        case ADP_VT_DOUBLE:
        case ADP_VT_MONEY: st = GetDataValue(r, j, dv); boxed = &dv; break;
        case ADP_VT_BINARY: st = GetDataValue(r, j, static_cast<char>(0), &bytes); value = &bytes; break;
        case ADP_VT_CLK: st = GetDataValue(r, j, tv, nullptr); boxed = &tv; break;
        case ADP_VT_DECIMAL:
          std::strcpy(decv.text, "0.0");
          st = GetDataValue(r, j, decv, nullptr);
          boxed = &decv;
          break;
        case ADP_VT_STRING:
        case 515:
          st = GetDataValue(r, j, &text, nullptr);
          value = &text;
          break;
        default: {
          long rc = cmn_alrt_push(nullptr, nullptr, ADP_BAD_VALUE_TYPE, 1, f.data_type);
          (void)rc;
          return ADP_BAD_VALUE_TYPE;
        }
      }
      if (st == 0) st = dbs_fld_set_local(object, j, value, 1);
      if (bytes != nullptr) KCLASSIC::KBinSysFreeString(bytes);
      if (st != 0) return st;
    }
    if (long st = dbs_obj_mark_dirty(object, 0)) return st;
  }
  return 0;
}

long KAdpUtlRecord::SetColTypesFromSchema(typ_sch_srec* schema) {
  for (long j = 0; j < schema->nfields; ++j) {
    long db = schema->fields[j].db_type;
    if (db < 0 || db > kLastDbType) continue;
    if (db == kMoneyDbType) db = 4;
    if (long st = SetColType(j, 0, nullptr, db)) return st;
  }
  return 0;
}
