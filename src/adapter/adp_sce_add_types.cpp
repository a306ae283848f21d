// The field types and relation kinds the interactive adders offer, their
// names for a chooser, and what the adders share.
#include <strings.h>

#include <cstdarg>
#include <cstdio>

#include "adapter/adp_sce.h"
#include "adapter/adp_sce_add_int.h"
#include "adapter/adp_sce_int.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

constexpr const char kOwner[] = "adp_sce_add";
constexpr long kTextType = 516;
constexpr long kNoLimit = -1;
constexpr long kLong = 512, kText = 516, kSmallFloat = 514, kLargeFloat = 613, kDate = 609, kElapsed = 610,
               kCurrency = 614;
constexpr long kOtm = 1, kMto = 2, kOtoPrimary = 3, kOtoSecondary = 4;

}  // namespace

const adp_sce_dtype adp_sce_dtypes[ADP_SCE_NUM_DTYPES] = {
    {"long integer", 0, kLong, 1, 1, 0},
    {"small fixed string", 6, kText, 1, 255, 0},
    {"small var string", 7, kText, 1, 255, 1},
    {"large var string", 8, kText, 1, kNoLimit, 1},
    {"small float", 3, kSmallFloat, 1, 1, 0},
    {"large float", 4, kLargeFloat, 1, 1, 0},
    {"date/time", 9, kDate, 1, 1, 0},
    {"elapsed time", 0, kElapsed, 1, 1, 0},
    {"currency", 2, kLong, 1, 1, 0},
    {"currency type", 5, kCurrency, 1, 1, 0},
};

const adp_sce_rel_kind adp_rel_types[ADP_SCE_NUM_REL_KINDS] = {
    {"OTO Primary", kOtoPrimary, kOtoSecondary},
    {"OTO Secondary", kOtoSecondary, kOtoPrimary},
    {"MTO", kMto, kOtm},
    {"OTM", kOtm, kMto},
};

long adp_sce_get_type_names(utl_ty_col* names) {
  for (const adp_sce_dtype& t : adp_sce_dtypes) {
    if (long st = utl_col_push(names, t.name, nullptr)) {
      osl_print_mes("%s: could not insert datatype into name collection\n", "adp_sce_get_type_names");
      return st;
    }
  }
  return 0;
}

long adp_sce_get_rel_type_names(utl_ty_col** names) {
  *names = nullptr;
  utl_ty_col* col = nullptr;
  if (long st = utl_col_make(kOwner, kTextType, ADP_SCE_NUM_REL_KINDS, ADP_SCE_NUM_REL_KINDS, 0, 0, &col)) return st;
  for (const adp_sce_rel_kind& k : adp_rel_types) {
    if (long st = utl_col_push(col, k.name, nullptr)) {
      utl_col_free(kOwner, col);
      return st;
    }
  }
  *names = col;
  return 0;
}

long adp_sce_refuse(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  osl_print_mes("%s", text);
  return ADP_SCE_REFUSED;
}

void adp_sce_drop_columns(KAdpConnId* con, const std::string& table, const std::vector<std::string>& columns) {
  for (const std::string& c : columns) adp_sce_run_ddl(con, "ALTER TABLE " + table + " DROP COLUMN " + c, nullptr, 0);
}

typ_sch_srec* adp_sce_schema_of(typ_sch_srec* given, long type_id, const char* name) {
  if (given != nullptr) return given;
  typ_sch_srec* found = nullptr;
  if (type_id != -1 || (name != nullptr && name[0] != '\0')) typ_sch_find_handle(type_id, name, &found);
  return found;
}

bool adp_sce_name_taken(const std::vector<std::string>& taken, const char* name) {
  for (const std::string& t : taken)
    if (strcasecmp(t.c_str(), name) == 0) return true;
  return false;
}
