// Compile state of the schema compiler, the remembered schema revisions
// and the binary-array tables.
#include <cstdio>
#include <cstring>

#include "adapter/adp_db.h"
#include "core/utl/utl_col.h"
#include "schema/typ_bld.h"
#include "schema/typ_lex.h"

unsigned long typ_bld_options = 0;
utl_ty_col* typ_bld_array_col = nullptr;
utl_ty_pool* typ_bld_temp_pl = nullptr;
typ_sch_saved* typ_bld_saved_schema = nullptr;
KAdpConnId* typ_bld_con = nullptr;

namespace {
long g_saved_rev = -1;
char g_saved_cust_rev[TYP_LEX_TEXT_MAX + 1] = "";
}  // namespace

long typ_bld_init() {
  ddout = stdout;
  return 0;
}

long typ_bld_remember_schema_rev(long revision) {
  g_saved_rev = revision;
  return 0;
}

long typ_bld_remember_cust_rev(const char* text) {
  snprintf(g_saved_cust_rev, sizeof g_saved_cust_rev, "%s", text ? text : "");
  return 0;
}

long typ_bld_get_saved_schema_rev(long* revision, char* text, long reset) {
  if (revision) *revision = g_saved_rev;
  if (text) memcpy(text, g_saved_cust_rev, sizeof g_saved_cust_rev);
  if (reset) {
    g_saved_rev = -1;
    g_saved_cust_rev[0] = 0;
  }
  return 0;
}

long typ_bld_get_read_sch_rev(long* revision) {
  *revision = g_saved_rev;
  return 0;
}

long typ_bld_write_arrays(KAdpConnId* con, utl_ty_col* list) {
  long n = 0;
  if (list) utl_col_num(list, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(list, i, &e);
    const auto* a = static_cast<const typ_bld_array*>(e);
    if (long st = adp_bar_create(con, a->type_id, a->gen_id)) return st;
  }
  return 0;
}
