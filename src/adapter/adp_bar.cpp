// Binary arrays: the side tables (names, creation), deleting one object's
// array, and the helpers the array calls share.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "adapter/adp_bar.h"
#include "adapter/adp_bar_int.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_name.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_pl.h"
#include "kclassic/kc_bstr.h"

namespace {

constexpr long kArrayTableConvert = 6;
constexpr long kNameLimitNumber = 0;

// The array-table name of a type name: by the connection's mapper when
// there is one (the rule does not depend on the server).
std::string array_table_name(KAdpConnId* con, const char* type_name, long array_number) {
  const auto type = static_cast<KAdpNameMapper::convert_type>(kArrayTableConvert);
  if (con != nullptr) return static_cast<const char*>(con->GetPhys(type_name, type, array_number, nullptr));
  static const KAdpNameMapper mapper;
  return static_cast<const char*>(mapper.GetPhys(type_name, type, array_number, nullptr));
}

}  // namespace

long adp_bar_side_table(KAdpConnId* con, long type_id, long array_number, std::string& table) {
  if (long st = adp_db_check_conn(con)) return st;
  const char* type_name = nullptr;
  if (long st = adp_sch_type_name_find(type_id, &type_name)) return st;
  table = array_table_name(con, type_name, array_number);
  const long limit =
      con->GetDbOperation()->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(kNameLimitNumber));
  return static_cast<long>(table.size()) > limit ? ADP_BAR_NAME_TOO_LONG : 0;
}

long adp_bar_set_size(utl_ty_col* set) {
  long n = 0;
  if (set != nullptr && utl_col_num(set, &n) != 0) return 0;
  return n;
}

char* adp_bar_row_data(const long* numbers, long count) {
  std::vector<char> bytes(static_cast<size_t>(count * ADP_BAR_WORD_BYTES));
  for (long i = 0; i < count; ++i) {
    const auto word = static_cast<uint32_t>(numbers[i]);
    for (long k = 0; k < ADP_BAR_WORD_BYTES; ++k) {
      bytes[static_cast<size_t>(i * ADP_BAR_WORD_BYTES + k)] =
          static_cast<char>((word >> (8 * (ADP_BAR_WORD_BYTES - 1 - k))) & 0xFF);
    }
  }
  return KCLASSIC::KBinSysAllocStringByteLen(bytes.data(), static_cast<unsigned>(bytes.size()));
}

long adp_bar_word(const unsigned char* bytes) {
  uint32_t word = 0;
  for (long k = 0; k < ADP_BAR_WORD_BYTES; ++k) word = (word << 8) | bytes[k];
  return static_cast<int32_t>(word);
}

long adp_bar_each(utl_ty_col* set, long form, const std::function<long(const adp_bar_array&)>& visit) {
  const long n = adp_bar_set_size(set);
  for (long i = 0; i < n; ++i) {
    adp_bar_array a{i, {}, 0, nullptr};
    if (long st = adp_bar_array_at(set, form, i, &a.id, &a.count, &a.numbers)) return st;
    if (long st = visit(a)) return st;
  }
  return 0;
}

long adp_bar_check_numbers(const long* numbers, long count, const char* where) {
  for (long i = 0; i < count; ++i) {
    const long n = numbers[i];
    if (n >= INT32_MIN && n <= INT32_MAX) continue;
    osl_print_mes("%s: Binary array number %ld does not fit in 32 bits\n", where, n);
    return ADP_BAR_OUT_OF_RANGE;
  }
  return 0;
}

long adp_bar_check_arrays(utl_ty_col* set, long form, const char* table) {
  return adp_bar_each(set, form, [&](const adp_bar_array& a) -> long {
    if (a.count > ADP_BAR_MAX_NUMBERS) {
      osl_print_mes("%s: Binary array is too large (> %ld bytes)\n", table, ADP_BAR_MAX_NUMBERS);
      return ADP_BAR_TOO_LARGE;
    }
    return adp_bar_check_numbers(a.numbers, a.count, table);
  });
}

long adp_bar_init() { return 0; }
long adp_bar_term() { return 0; }

long adp_bar_create(KAdpConnId* cid, long type_id, long gen_id) {
  if (long st = adp_db_check_conn(cid)) return st;
  const char* type_name = nullptr;
  if (long st = adp_sch_type_name_find(type_id, &type_name)) return st;
  return adp_bar_create_with_name(cid, array_table_name(cid, type_name, gen_id).c_str(), gen_id);
}

long adp_bar_create_with_name(KAdpConnId* con, const char* name, long gen_id) {
  if (long st = adp_db_check_conn(con)) return st;
  std::string table = name != nullptr ? name : "";
  return con->GetDbOperation()->BarCreateWithName(table.data(), gen_id);
}

long adp_bar_table_name(const char* type_name, utl_ty_pool* pool, long gen_id, char** out) {
  void* buffer = nullptr;
  if (long st = utl_pl_alloc(pool, ADP_BAR_TABLE_NAME_SIZE, &buffer)) return st;
  const std::string name = array_table_name(adp_db_get_conn(), type_name != nullptr ? type_name : "", gen_id);
  const size_t n = std::min(name.size(), static_cast<size_t>(ADP_BAR_TABLE_NAME_SIZE - 1));
  auto* text = static_cast<char*>(buffer);
  name.copy(text, n);
  text[n] = '\0';
  *out = text;
  return 0;
}

long adp_bar_delete(KAdpConnId* con, long type_id, long array_number, const obj_id* id) {
  std::string table;
  if (long st = adp_bar_side_table(con, type_id, array_number, table)) return st;
  return adp_sql_exec_query(con, "delete from %s where objid = %ld", table.c_str(), id->num);
}
