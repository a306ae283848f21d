// Small utilities of the client interface: server time, number generation,
// ids, business-calendar answers, memory and collection search and sort.
#include <cstring>

#include "client/cpi/cpi_col.h"
#include "client/cpi/cpi_int.h"
#include "client/gen/gen_num.h"
#include "client/oab/oab_cln.h"
#include "client/oab/oab_obj.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_time.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kBadDateTime = 0x2200007;

// The moment a caller's text names; an invalid text means the server's now.
long moment_of(const char* time_text, clktime* moment) {
  long st = clk_time_str_to_clk(time_text, moment);
  if (st != kBadDateTime) return st;
  return clk_time_get(moment);
}

// The field id of a name on the type of a collection's first object; the
// collection is not empty.
long first_object_field(utl_ty_col* col, const char* field_name, long* field_id) {
  void* element = nullptr;
  if (long st = utl_col_ith(col, 0, &element)) return st;
  obj_id id{};
  if (long st = dbs_obj_oid_get(*static_cast<dbs_ty_lobj**>(element), &id)) return st;
  long data_type = 0;
  return typ_sch_get_field_info(id.type & CPI_OBJID_TYPE_MASK, field_name, field_id, &data_type);
}

long cpi_utl_num_gen_do(const char* scheme_name, long size, char* out_buffer) {
  return adm_num_gen(scheme_name, size, out_buffer);
}

long cpi_utl_empl_available_do(const cpi_ty_objid* user_objid, long arg, const char* time_text, long* out_flag) {
  *out_flag = 1;
  if (user_objid->id_number == 0) return 0;
  clktime moment{};
  if (long st = moment_of(time_text, &moment)) return st;
  obj_id user = cpi_to_oid(*user_objid);
  const auto* site_objid = reinterpret_cast<const cpi_ty_objid*>(arg);
  obj_id site = site_objid ? cpi_to_oid(*site_objid) : obj_id{};
  return oab_cln_is_user_available(&user, &site, &moment, out_flag);
}

long cpi_utl_site_in_business_do(const cpi_ty_objid* site_objid, const char* time_text, long* out_flag) {
  *out_flag = 1;
  if (site_objid->id_number == 0) return 0;
  clktime moment{};
  if (long st = moment_of(time_text, &moment)) return st;
  obj_id site = cpi_to_oid(*site_objid);
  return oab_cln_is_in_biz_hour(&site, &site, &moment, out_flag);
}

long cpi_utl_match_field_in_col_do(void* col, const char* field_name, const void* value, long* out_index,
                                   void** out_object) {
  *out_index = -1;
  *out_object = nullptr;
  auto* list = static_cast<utl_ty_col*>(col);
  if (cpi_col_count(list) == 0) return 0;
  long field = 0;
  if (long st = first_object_field(list, field_name, &field)) return st;
  dbs_ty_lobj* found = nullptr;
  long st = oab_obj_match_field_in_col(list, field, value, out_index, &found);
  *out_object = found;
  return st;
}

long cpi_utl_sort_col_by_field_do(void* col, const char* field_name) {
  auto* list = static_cast<utl_ty_col*>(col);
  if (cpi_col_count(list) == 0) return 0;
  long field = 0;
  if (long st = first_object_field(list, field_name, &field)) return st;
  return oab_obj_sort_col_by_field(list, field);
}

long cpi_utl_current_time_do(char* out_text) {
  clktime now{};
  if (long st = clk_time_get(&now)) return st;
  std::memset(out_text, 0, CPI_TIME_TEXT_SIZE);
  return clk_time_clk_to_str(&now, out_text, CPI_TIME_TEXT_SIZE);
}

long cpi_utl_id_assign_do(const cpi_ty_objid* from, cpi_ty_objid* to) {
  to->type_word = from->type_word;
  to->id_number = from->id_number;
  to->id_ext = from->id_ext;
  return 0;
}

long cpi_utl_zero_do(void* p, long n) {
  osl_mem_bzero(p, n);
  return 0;
}

long cpi_utl_mem_alloc_do(const char* proc_name, long size, void** out_block) {
  return utl_mem_alloc(proc_name, 1, nullptr, &size, out_block);
}

}  // namespace

long cpi_utl_current_time(char* out_text) { return cpi_utl_current_time_do(out_text); }
long cpi_utl_current_time_bin(clktime* out_clktime) { return clk_time_get(out_clktime); }

long cpi_utl_num_gen(const char* scheme_name, long size, char* out_buffer) {
  return cpi_utl_num_gen_do(scheme_name, size, out_buffer);
}

long cpi_utl_id_assign(const cpi_ty_objid* from, cpi_ty_objid* to) { return cpi_utl_id_assign_do(from, to); }

long cpi_utl_empl_available(const cpi_ty_objid* user_objid, long arg, const char* time_text, long* out_flag) {
  return cpi_utl_empl_available_do(user_objid, arg, time_text, out_flag);
}

long cpi_utl_site_in_business(const cpi_ty_objid* site_objid, const char* time_text, long* out_flag) {
  return cpi_utl_site_in_business_do(site_objid, time_text, out_flag);
}

long cpi_utl_copy(void* dst, const void* src, long n) { return osl_mem_cpy(dst, src, n); }

long cpi_utl_zero(void* p, long n) { return cpi_utl_zero_do(p, n); }

long cpi_utl_match_field_in_col(void* col, const char* field_name, const void* value, long* out_index,
                                void** out_object) {
  return cpi_utl_match_field_in_col_do(col, field_name, value, out_index, out_object);
}

long cpi_utl_sort_col_by_field(void* col, const char* field_name) {
  return cpi_utl_sort_col_by_field_do(col, field_name);
}

long cpi_utl_mem_alloc(const char* proc_name, long size, void** out_block) {
  return cpi_utl_mem_alloc_do(proc_name, size, out_block);
}

long cpi_utl_mem_free(const char* proc_name, void* block) { return utl_mem_free(proc_name, block); }
