// Message texts from the database's text table: the core's text callback.
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "core/cmn/cmn_subs.h"
#include "core/osl/osl_loc.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_sch.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"

namespace {

constexpr long k_text_type = 326;
constexpr long k_f_id = 1;
constexpr long k_f_text = 2;
constexpr long k_f_locale = 3;
constexpr long k_f_class_a = 3;
constexpr long k_f_class_b = 4;
constexpr long k_free_text = 0x70007f;
constexpr long k_out_of_sync = 0x70008a;
// The answer, pushed as no alert, when the schema has no text type: the
// message lists then serve their compiled-in texts.
constexpr long k_no_text_type = 1;
constexpr const char* k_busy_text = "Message could not be retrieved from database.";
constexpr const char* k_sync_text = "Cannot retrieve the message (Messages in database out of sync)\n";

struct res_state {
  bool busy = false;
  bool settled = false;
  bool has_type = false;
  bool has_locale = false;
  long locale_id = 0;
  long option = 0;
  long configured_locale = 1033;
};
res_state g_res;
// Every text handed out, kept until dbs_qry_free_res_strs.
std::vector<char*> g_handed;

// Clears the busy flag on every way out.
struct busy_guard {
  busy_guard() { g_res.busy = true; }
  ~busy_guard() { g_res.busy = false; }
};

char* copy_text(const char* text) {
  if (!text) text = "";
  size_t n = std::strlen(text) + 1;
  auto* out = static_cast<char*>(osl_mem_alloc("dbs_qry_list_res_str", static_cast<long>(n)));
  if (out) {
    std::memcpy(out, text, n);
    g_handed.push_back(out);
  }
  return out;
}

const char* text_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  if (dbs_fld_get(o, field, &v, nullptr) != 0) return "";
  return reinterpret_cast<const char*>(v);
}

long id_of(dbs_ty_lobj* o) {
  long v = 0;
  dbs_fld_get(o, k_f_id, &v, nullptr);
  return v;
}

void settle_locale() {
  if (g_res.settled) return;
  g_res.settled = true;
  typ_sch_srec* s = nullptr;
  long index = -1;
  g_res.has_type = typ_sch_find_handle(k_text_type, nullptr, &s) == 0 && s;
  g_res.has_locale = g_res.has_type && typ_sch_map(s, k_f_locale, &index) == 0 && index >= 0;
  g_res.locale_id = g_res.configured_locale == 1033 ? osl_loc_get_locale_info() : g_res.configured_locale;
}

long run_query(KAdpConnId* c, dbs_ty_qry_cond* conds, long n, utl_ty_col** out) {
  *out = nullptr;
  if (long st = utl_col_make("dbs_qry_list_res_str", 517, 16, 16, 0, 0, out)) return st;
  dbs_ty_qry_desc desc{k_text_type, n, conds, k_f_id};
  long st = dbs_qry_simple(c, &desc, nullptr, nullptr, *out);
  if (st && st != k_free_text) {
    dbs_obj_free_local_col(nullptr, *out);
    *out = nullptr;
  }
  return st;
}

// The name of the subsystem whose message ids hold a string id.
const char* subsystem_of(long id) { return cmn_subs_name_by_id(id); }

dbs_ty_lobj* ith(utl_ty_col* col, long i) {
  void* slot = nullptr;
  utl_col_ith(col, i, &slot);
  return slot ? *static_cast<dbs_ty_lobj**>(slot) : nullptr;
}

}  // namespace

long dbs_qry_free_res_strs() {
  for (char* text : g_handed) osl_mem_free("dbs_qry_free_res_strs", text);
  g_handed.clear();
  return 0;
}

long dbs_qry_set_res_str_option(long option) {
  g_res.option = option;
  return 0;
}

long dbs_qry_set_res_str_locale(long locale_id) {
  g_res.configured_locale = locale_id;
  g_res.settled = false;
  return 0;
}

long dbs_qry_list_res_str(long con, long first, long last, long* count, const char** texts) {
  if (first > last) std::swap(first, last);
  long n = last - first + 1;
  if (count) *count = n;
  if (g_res.busy) {
    for (long i = 0; i < n; ++i) texts[i] = copy_text(k_busy_text);
    return 0;
  }
  busy_guard guard;
  settle_locale();
  if (!g_res.has_type) return k_no_text_type;
  dbs_ty_qry_cond conds[3] = {{k_f_id, 1, first}, {k_f_id, 3, last}, {k_f_locale, 4, g_res.locale_id}};
  utl_ty_col* found = nullptr;
  long st = run_query(reinterpret_cast<KAdpConnId*>(con), conds, g_res.has_locale ? 3 : 2, &found);
  if (!found) return st;
  if (st) {
    dbs_obj_free_local_col(nullptr, found);
    return st;
  }
  long got = 0;
  utl_col_num(found, &got);
  if ((g_res.option & 1) && got != n) {
    dbs_obj_free_local_col(nullptr, found);
    return dbs_alrt("dbs_qry_list_res_str", k_out_of_sync);
  }
  // Each text goes to the entry of its own id, so that an id missing from
  // the table leaves its own entry out of sync rather than shifting the
  // texts after it onto the wrong ids.
  for (long i = 0; i < n; ++i) texts[i] = nullptr;
  for (long i = 0; i < got; ++i) {
    dbs_ty_lobj* o = ith(found, i);
    long at = o ? id_of(o) - first : -1;
    if (at >= 0 && at < n && !texts[at]) texts[at] = copy_text(text_of(o, k_f_text));
  }
  bool told = false;
  for (long i = 0; i < n; ++i) {
    if (texts[i]) continue;
    texts[i] = copy_text(k_sync_text);
    if (!told) {
      told = true;
      std::printf("Database string_db table is missing strings for subsystem '%s' (string id %ld)\n",
                  subsystem_of(first + i), first + i);
    }
  }
  dbs_obj_free_local_col(nullptr, found);
  return 0;
}

long dbs_qry_list_class_res_str(KAdpConnId* c, long first, long last, long class_a, long class_b, long* count,
                                const char** texts) {
  if (first > last) std::swap(first, last);
  long n = last - first + 1;
  if (count) *count = n;
  dbs_ty_qry_cond conds[4] = {{k_f_id, 1, first}, {k_f_id, 3, last}, {k_f_class_a, 4, class_a},
                              {k_f_class_b, 4, class_b}};
  utl_ty_col* found = nullptr;
  long st = run_query(c, conds, 4, &found);
  if (!found) return st;
  long got = 0;
  utl_col_num(found, &got);
  for (long i = 0; i < n; ++i) texts[i] = nullptr;
  for (long i = 0; i < got; ++i) {
    dbs_ty_lobj* o = ith(found, i);
    long at = id_of(o) - first;
    if (at >= 0 && at < n && !texts[at]) texts[at] = copy_text(text_of(o, k_f_text));
  }
  for (long i = 0; i < n; ++i) {
    if (texts[i]) continue;
    texts[i] = copy_text(k_sync_text);
    std::printf("dbs_qry_list_res_str: Error fetching literal string %ld\n", first + i);
  }
  // The texts are copies: the result objects are freed with their collection.
  dbs_obj_free_local_col(nullptr, found);
  return st;
}
