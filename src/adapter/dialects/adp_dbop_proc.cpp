#include "adapter/dialects/adp_dbop_proc.h"

#include <cstring>

#include "core/osl/osl_mem.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_msg.h"
#include "core/utl/utl_pl.h"

namespace {

constexpr const char kOwner[] = "adp_sql_execute_proc";

char* value_ptr(const cmn_ty_value* v) { return reinterpret_cast<char*>(v->value); }

}  // namespace

long adp_dbop_proc_alloc(utl_ty_pool* pool, long size, void** out) {
  if (pool != nullptr) return utl_pl_alloc(pool, size, out);
  *out = osl_mem_alloc(kOwner, size);
  if (*out != nullptr) return 0;
  long rc = cmn_alrt_push(nullptr, nullptr, UTL_NO_MEMORY, 2, size, kOwner);
  return rc != 0 ? rc : UTL_NO_MEMORY;
}

long adp_dbop_proc_text_cap(const long* out_lengths, long k) {
  return out_lengths != nullptr && out_lengths[k] > 0 ? out_lengths[k] : ADP_PROC_TEXT_CAP;
}

long adp_dbop_proc_text_out(cmn_ty_value* v, const char* text, long cap, utl_ty_pool* pool) {
  if (text == nullptr) text = "";
  size_t n = std::strlen(text);
  if (n > static_cast<size_t>(cap)) n = static_cast<size_t>(cap);
  char* buffer = value_ptr(v);
  if (buffer == nullptr) {
    void* fresh = nullptr;
    if (long st = adp_dbop_proc_alloc(pool, static_cast<long>(n) + 1, &fresh)) return st;
    buffer = static_cast<char*>(fresh);
    v->value = reinterpret_cast<long>(buffer);
  }
  std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return 0;
}

long adp_dbop_proc_clk_out(cmn_ty_value* v, const clktime& t, utl_ty_pool* pool) {
  if (value_ptr(v) == nullptr) {
    void* fresh = nullptr;
    if (long st = adp_dbop_proc_alloc(pool, sizeof(clktime), &fresh)) return st;
    v->value = reinterpret_cast<long>(fresh);
  }
  std::memcpy(value_ptr(v), &t, sizeof t);
  return 0;
}

void adp_dbop_proc_float_out(cmn_ty_value* v, float f) {
  v->value = 0;
  std::memcpy(&v->value, &f, sizeof f);
}

float adp_dbop_proc_float_in(const cmn_ty_value& v) {
  float f = 0;
  std::memcpy(&f, &v.value, sizeof f);
  return f;
}
