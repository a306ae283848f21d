// The upper-case copy of a string (case-insensitive parameters and query
// builders) and the connection's batch.
#include <cstring>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "core/loc/loc_st.h"
#include "core/loc/loc_st_case.h"
#include "core/utl/utl_pl.h"

namespace {

constexpr long kPoolSize = 1024;

utl_ty_pool*& str_pool() {
  static utl_ty_pool* pool = nullptr;
  return pool;
}

}  // namespace

long adp_qry_str_conv(char** text) {
  utl_ty_pool*& pool = str_pool();
  if (pool == nullptr) {
    if (long st = utl_pl_create(nullptr, kPoolSize, &pool)) return st;
  } else if (long st = utl_pl_reset(pool)) {
    return st;
  }
  const char* src = *text != nullptr ? *text : "";
  long n = static_cast<long>(std::strlen(src));
  void* mem = nullptr;
  if (long st = utl_pl_alloc(pool, n + 1, &mem)) return st;
  char* out = static_cast<char*>(mem);
  long i = 0;
  while (i < n) {
    // Character lengths come from the locale layer; a multibyte character
    // (or an invalid byte) is copied unchanged.
    long len = double_byte_enable == 1 ? loc_st_char_length_at(src + i) : 1;
    if (len <= 1) {
      out[i] = static_cast<char>(loc_st_toupper(static_cast<unsigned char>(src[i])));
      ++i;
      continue;
    }
    for (long k = 0; k < len && i < n; ++k, ++i) out[i] = src[i];
  }
  out[n] = '\0';
  *text = out;
  return 0;
}

KAdpSqlBatch* KAdpConnId::GetNewSqlId() { return new KAdpSqlBatch(this); }

KAdpSqlBatch* KAdpConnId::GetSqlBatch(char reset) {
  if (m_pBatch == nullptr) {
    m_pBatch = GetNewSqlId();
  } else if (reset == 1) {
    m_pBatch->Reset();
  }
  return m_pBatch;
}
