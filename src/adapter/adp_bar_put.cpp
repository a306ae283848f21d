// Binary arrays: writing arrays as rows (put, new, append), 50 row inserts
// to a batch. On Oracle a batch is one block whose statements each end with
// ";"; on SQL Server each insert is a statement of its own.
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_bar.h"
#include "adapter/adp_bar_int.h"
#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "kclassic/kc_bstr.h"

namespace {

constexpr const char kBlockOpen[] = " BEGIN\n";
constexpr const char kBlockClose[] = " ; END;\n";
constexpr const char kStatementEnd[] = ";\n";

bool is_oracle() { return adp_db_is_db_oracle() != 0; }

// Oracle: ends the block's previous statement, if any.
void next_in_block(KAdpSqlBatch* b) {
  const char* text = b->GetCurrentStmt();
  const size_t n = std::strlen(text);
  const size_t open = sizeof kBlockOpen - 1;
  if (n >= open && std::strcmp(text + n - open, kBlockOpen) == 0) return;
  *b << kStatementEnd;
}

// Rows cut from the arrays and not sent yet; owns their data.
class pending_rows {
 public:
  pending_rows() = default;
  pending_rows(const pending_rows&) = delete;
  pending_rows& operator=(const pending_rows&) = delete;
  ~pending_rows() { clear(); }

  void add(long id_number, long row, char* data) {
    m_ids.push_back(id_number);
    m_rows.push_back(row);
    m_data.push_back(data);
  }
  long size() const { return static_cast<long>(m_ids.size()); }
  const long* ids() const { return m_ids.data(); }
  const long* rows() const { return m_rows.data(); }
  char* const* data() const { return m_data.data(); }
  void clear() {
    for (char* d : m_data) KCLASSIC::KBinSysFreeString(d);
    m_ids.clear();
    m_rows.clear();
    m_data.clear();
  }

 private:
  std::vector<long> m_ids;
  std::vector<long> m_rows;
  std::vector<char*> m_data;
};

// The batches of one put: opened again after each send.
class array_writer {
 public:
  array_writer(KAdpConnId* con, const std::string& table) : m_con(con), m_table(table), m_oracle(is_oracle()) {}

  long open() {
    void* stmt = nullptr;
    if (long st = adp_sql_create(m_con, &stmt)) return st;
    m_batch = static_cast<KAdpSqlBatch*>(stmt);
    m_used = false;
    if (m_oracle) *m_batch << kBlockOpen;
    return m_batch->GetStatus();
  }

  // One statement deleting the rows of every object of the set.
  long delete_rows(utl_ty_col* set, long form) {
    std::string text = "delete from " + m_table + " where objid in (";
    if (long st = adp_bar_each(set, form, [&](const adp_bar_array& a) -> long {
          text += (a.index == 0 ? "" : ",") + std::to_string(a.id.num);
          return 0L;
        })) {
      return st;
    }
    text += ") \n";
    *m_batch << text.c_str();
    if (!m_oracle) *m_batch << KAdpSqlBatch::kEndStmt;
    m_used = true;
    return m_batch->GetStatus();
  }

  // Cuts one array into rows; every 50 rows go as one batch.
  long add_array(const obj_id& id, long count, const long* numbers) {
    for (long first = 0; first < count; first += ADP_BAR_ROW_NUMBERS) {
      const long left = count - first;
      const bool last = left <= ADP_BAR_ROW_NUMBERS;
      const long row = last ? ADP_BAR_LAST_ROW : first / ADP_BAR_ROW_NUMBERS + 1;
      m_rows.add(id.num, row, adp_bar_row_data(numbers + first, last ? left : ADP_BAR_ROW_NUMBERS));
      if (m_rows.size() == ADP_BAR_BATCH_ROWS) {
        if (long st = send()) return st;
        if (long st = open()) return st;
      }
    }
    return 0;
  }

  // Sends what the batch holds, if anything.
  long finish() { return m_used || m_rows.size() > 0 ? send() : 0; }

 private:
  long send() {
    long st = adp_bar_one_batch(m_con, m_batch, m_rows.size(), m_table.c_str(), m_rows.ids(), m_rows.rows(),
                                m_rows.data());
    m_rows.clear();
    m_used = false;
    return st;
  }

  KAdpConnId* m_con;
  const std::string& m_table;
  bool m_oracle;
  KAdpSqlBatch* m_batch = nullptr;
  bool m_used = false;  // the batch holds the delete statement
  pending_rows m_rows;
};

long write_arrays(array_writer& w, utl_ty_col* set, long form, bool replace) {
  if (long st = w.open()) return st;
  if (replace) {
    if (long st = w.delete_rows(set, form)) return st;
  }
  if (long st = adp_bar_each(set, form, [&](const adp_bar_array& a) { return w.add_array(a.id, a.count, a.numbers); })) {
    return st;
  }
  return w.finish();
}

// Writes the set's arrays, first deleting the objects' rows when replace.
// Every array's size is checked before anything is written.
long put_them(KAdpConnId* con, long type_id, long array_number, long options, utl_ty_col* set, bool replace) {
  std::string table;
  if (long st = adp_bar_side_table(con, type_id, array_number, table)) return st;
  if (adp_bar_set_size(set) == 0) return 0;
  const long form = adp_bar_form_of(options);
  if (long st = adp_bar_check_arrays(set, form, table.c_str())) return st;
  const bool own = (options & ADP_BAR_OPT_OWN_TRANSACTION) != 0;
  if (own) {
    if (long st = adp_trn_begin(con)) return st;
  }
  array_writer w(con, table);
  if (long st = write_arrays(w, set, form, replace)) return st;
  return own ? adp_trn_commit(con) : 0;
}

// The row's numbers as data: a new byte string the caller frees.
class row_data {
 public:
  row_data(const long* numbers, long count) : m_data(adp_bar_row_data(numbers, count)) {}
  row_data(const row_data&) = delete;
  row_data& operator=(const row_data&) = delete;
  ~row_data() { KCLASSIC::KBinSysFreeString(m_data); }
  const char* get() const { return m_data; }

 private:
  char* m_data;
};

// One array after an append of `appended` numbers: the new full rows are
// inserted, the last row inserted when the array is all new, else updated.
long append_one(KAdpConnId* con, const char* table, const obj_id& id, long count, const long* numbers,
                long appended) {
  const long first_new = (count - appended - 1) / ADP_BAR_ROW_NUMBERS + 1;
  const long last_full = (count - 1) / ADP_BAR_ROW_NUMBERS;
  for (long row = first_new; row <= last_full; ++row) {
    const row_data d(numbers + (row - 1) * ADP_BAR_ROW_NUMBERS, ADP_BAR_ROW_NUMBERS);
    if (long st = adp_bar_put_row(con, table, id.num, row, d.get(), 1)) return st;
  }
  const long start = last_full * ADP_BAR_ROW_NUMBERS;
  const row_data d(numbers + start, count - start);
  return adp_bar_put_row(con, table, id.num, ADP_BAR_LAST_ROW, d.get(), appended == count ? 1 : 0);
}

}  // namespace

long adp_bar_put(KAdpConnId* con, long type_id, long array_number, long options, utl_ty_col* set) {
  return put_them(con, type_id, array_number, options, set, true);
}

long adp_bar_new(KAdpConnId* con, long type_id, long array_number, long options, utl_ty_col* set) {
  return put_them(con, type_id, array_number, options, set, false);
}

long adp_bar_one_batch(KAdpConnId* con, KAdpSqlBatch* batch, long rows, const char* table, const long* id_numbers,
                       const long* row_numbers, char* const* data) {
  const bool oracle = is_oracle();
  for (long i = 0; i < rows; ++i) {
    if (oracle) next_in_block(batch);
    const char* bytes = data[i];
    *batch << "insert into " << table << " values ( " << KAdpBindParam(id_numbers[i]) << ", "
           << KAdpBindParam(row_numbers[i]) << ", " << KAdpBindParam(&bytes) << ")";
    if (!oracle) *batch << KAdpSqlBatch::kEndStmt;
  }
  if (oracle) *batch << kBlockClose;
  if (long st = batch->GetStatus()) return st;
  if (long st = adp_sql_parse(con, batch)) return st;
  if (long st = batch->ExecuteDMLBatch()) return st;
  return adp_sql_free(con, batch);
}

long adp_bar_put_row(KAdpConnId* con, const char* table, long id_number, long row, const char* data,
                     long insert) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  auto* b = static_cast<KAdpSqlBatch*>(stmt);
  const char* bytes = data;
  if (insert != 0) {
    *b << "insert into " << table << " values ( " << KAdpBindParam(id_number) << " ," << KAdpBindParam(row)
       << " ," << KAdpBindParam(&bytes) << ") ";
  } else {
    *b << "update " << table << " set data = " << KAdpBindParam(&bytes) << " where objid = "
       << KAdpBindParam(id_number) << " and seq_num = " << KAdpBindParam(row);
  }
  if (long st = b->GetStatus()) return st;
  if (long st = adp_sql_parse(con, b)) return st;
  if (long st = adp_sql_execute(con, b)) return st;
  return adp_sql_free(con, b);
}

long adp_bar_append(KAdpConnId* con, long type_id, long array_number, long options, long appended,
                    utl_ty_col* set) {
  std::string table;
  if (long st = adp_bar_side_table(con, type_id, array_number, table)) return st;
  const long form = adp_bar_form_of(options);
  if (long st = adp_bar_check_arrays(set, form, table.c_str())) return st;
  return adp_bar_each(set, form, [&](const adp_bar_array& a) {
    return a.count < 1 ? adp_bar_delete(con, type_id, array_number, &a.id)
                       : append_one(con, table.c_str(), a.id, a.count, a.numbers, appended);
  });
}
