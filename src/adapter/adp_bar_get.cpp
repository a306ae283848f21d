// Binary arrays: reading the arrays of a list of objects, a chunk of ids per
// query, with row locks when asked.
#include <map>
#include <string>
#include <vector>

#include "adapter/adp_bar.h"
#include "adapter/adp_bar_int.h"
#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/osl/osl_print.h"
#include "core/utl/utl_col.h"
#include "kclassic/kc_bstr.h"
#include "store/dbs_main.h"

namespace {

constexpr long kChunkNumber = 8;
constexpr long kNoRowLocks = 8;  // the store's super flag

// Gathers the rows of one object at a time; the row numbered 32767 ends the
// object's array.
class array_reader {
 public:
  array_reader(const std::string& table, long options, utl_ty_col* set)
      : m_table(table), m_options(options), m_set(set) {}

  void expect(const obj_id& id) { m_ids[id.num] = id; }

  long row(long id_number, long seq_num, const char* data) {
    if (id_number != m_current) {
      end_object();
      m_current = id_number;
    }
    if (data != nullptr) m_bytes.append(data, KCLASSIC::KBinSysStringByteLen(data));
    m_open = true;
    if (seq_num != ADP_BAR_LAST_ROW) return 0;
    m_open = false;
    obj_id id = m_ids.count(id_number) != 0 ? m_ids[id_number] : obj_id{0, id_number, 0};
    const long count = static_cast<long>(m_bytes.size()) / ADP_BAR_WORD_BYTES;
    long st = adp_bar_add_to_array(m_set, &id, count, m_bytes.data(), m_options | ADP_BAR_OPT_BIG_ENDIAN);
    m_bytes.clear();
    if (st != 0) osl_print_mes("%s: Cannot add array to array collection\n", m_table.c_str());
    return st;
  }

  // An object whose rows did not end with the last row gives no array.
  void end_object() {
    if (m_open) {
      adp_db_log_msg("%s: the array of object %ld has no last row and is not read\n", m_table.c_str(), m_current);
    }
    m_open = false;
    m_bytes.clear();
  }

 private:
  const std::string& m_table;
  long m_options;
  utl_ty_col* m_set;
  std::map<long, obj_id> m_ids;
  long m_current = 0;
  bool m_open = false;
  std::string m_bytes;
};

std::string query_text(const std::string& table, const std::vector<long>& numbers, bool lock) {
  const bool mssql = adp_db_is_db_mssql() != 0;
  std::string text = "select objid, seq_num, data from " + table + (lock && mssql ? " HOLDLOCK" : "") +
                     " where objid in (";
  for (size_t i = 0; i < numbers.size(); ++i) text += (i == 0 ? "" : ",") + std::to_string(numbers[i]);
  text += ") order by objid, seq_num";
  if (lock && !mssql) text += " for update";
  return text;
}

long read_chunk(KAdpConnId* con, const std::string& text, array_reader& reader) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  if (long st = b->AppendSql(text.c_str())) return st;
  long id_number = 0;
  long seq_num = 0;
  char* data = nullptr;
  if (long st = adp_sql_parse(con, b)) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(id_number))) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(seq_num))) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(static_cast<char>(0), &data))) return st;
  char more = 0;
  long st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    st = reader.row(id_number, seq_num, data);
    KCLASSIC::KBinSysFreeString(data);
    data = nullptr;
    if (st == 0) st = adp_sql_nextrow(con, nullptr, &more);
  }
  KCLASSIC::KBinSysFreeString(data);
  reader.end_object();
  if (st != 0) return st;
  return adp_sql_free(con, b);
}

}  // namespace

long adp_bar_get(KAdpConnId* con, long type_id, long array_number, utl_ty_col* ids, long options,
                 utl_ty_col** set, long flags) {
  std::string table;
  if (long st = adp_bar_side_table(con, type_id, array_number, table); st != 0 && st != ADP_BAR_NAME_TOO_LONG) {
    return st;
  }
  if (*set == nullptr) {
    if (long st = adp_bar_make_set(options, set)) return st;
  }
  const long chunk =
      con->GetDbOperation()->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(kChunkNumber));
  const bool lock = (flags & ADP_BAR_GET_LOCK) != 0 && (dbs_main_get_super_flag() & kNoRowLocks) == 0;
  array_reader reader(table, options, *set);
  long n = 0;
  if (ids != nullptr) {
    if (long st = utl_col_num(ids, &n)) return st;
  }
  std::vector<long> numbers;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (long st = utl_col_ith(ids, i, &e)) return st;
    const obj_id& id = *static_cast<const obj_id*>(e);
    reader.expect(id);
    numbers.push_back(id.num);
    if (static_cast<long>(numbers.size()) < chunk && i + 1 < n) continue;
    if (long st = read_chunk(con, query_text(table, numbers, lock), reader)) return st;
    numbers.clear();
  }
  return 0;
}
