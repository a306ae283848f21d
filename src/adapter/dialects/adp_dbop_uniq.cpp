// Unique-key violations: from the server's message, the object type of the
// table, the index name and the index's columns. Oracle names the index in
// its message and asks the catalogue for its table and columns; SQL Server
// quotes the table and the index and keeps the columns in adp_sch_index.
#include <cctype>
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/cmn/cmn_alrt.h"

namespace {

constexpr long kTypeIdNumber = 10;           // dialect number: the violated table's type
constexpr long kColumnListSize = 256;        // 255 characters and the end
constexpr const char kOraUnique[] = "ORA-00001";
constexpr const char kUnknownColumn[] = "unknow column";
constexpr const char kTablePrefix[] = "table_";
constexpr const char kSearchPrefix[] = "S_";
constexpr const char kObjidIndex[] = "objindex";
constexpr const char kObjidColumn[] = "objid";
constexpr const char kMssqlProc[] = "KAdpMssqlOperation::ObjNotUniqueByMsg";

long push(long code, const char* proc, long nargs, const char* a = nullptr, const char* b = nullptr) {
  long rc = nargs == 0   ? cmn_alrt_push(nullptr, proc, code, 0)
            : nargs == 1 ? cmn_alrt_push(nullptr, proc, code, 1, a)
                         : cmn_alrt_push(nullptr, proc, code, 2, a, b);
  return rc != 0 ? rc : code;
}

// A text quoted for SQL: single quotes doubled.
std::string quoted(const std::string& text) {
  char* out = nullptr;
  adp_sql_escape_str(text.c_str(), &out);
  return out != nullptr ? out : "";
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Appends name and ":" to the list when the whole name fits its 255
// characters; false when it does not.
bool append_column(char* list, const char* name) {
  size_t used = std::strlen(list), n = std::strlen(name);
  if (used + n + 1 > static_cast<size_t>(kColumnListSize - 1)) return false;
  std::memcpy(list + used, name, n);
  list[used + n] = ':';
  list[used + n + 1] = '\0';
  return true;
}

// --- Oracle ---------------------------------------------------------------

// Owner and index of "ORA-00001: ... (OWNER.S_NAME)" or "(OWNER.NAME)"; the
// search prefix "S_" is not part of the index name. False when the message
// names none.
bool ora_index_of(const std::string& message, std::string* owner, std::string* index) {
  size_t open = message.find('(', std::strlen(kOraUnique));
  if (open == std::string::npos) return false;
  size_t dot = message.find('.', open + 1);
  size_t close = message.find(')', open + 1);
  if (dot == std::string::npos || close == std::string::npos || dot > close) return false;
  *owner = message.substr(open + 1, dot - open - 1);
  std::string name = message.substr(dot + 1, close - dot - 1);
  if (name.rfind(kSearchPrefix, 0) == 0 && name.size() > std::strlen(kSearchPrefix)) {
    name = name.substr(std::strlen(kSearchPrefix));
  }
  *index = name;
  return !owner->empty() && !index->empty();
}

// The first column of one row of a query (through the record's text).
long ora_fetch_text(KAdpConnId* con, const std::string& sql, std::string* out, char* found) {
  if (long st = adp_sql_parse_now(con, "%s", sql.c_str())) return st;
  char* text = nullptr;
  if (long st = adp_sql_define(con, KAdpBindCol(&text, 0))) return st;
  if (long st = adp_sql_exec_and_fetch(con, found)) return st;
  if (*found != 0 && text != nullptr) *out = text;
  return 0;
}

// The type of table_<name>, left at -1 when the name map has none.
long ora_type_of(KAdpConnId* con, const std::string& table, long* type_id) {
  size_t at = table.find(kTablePrefix);
  if (at == std::string::npos) return 0;
  std::string type_name = table.substr(at + std::strlen(kTablePrefix));
  std::string sql = "select type_id from adp_tbl_name_map \nwhere type_name = '" + quoted(type_name) + "'";
  if (long st = adp_sql_parse_now(con, "%s", sql.c_str())) return st;
  long sql_type = 0;
  if (long st = adp_sql_define_type_mapping(ADP_VT_LONG, &sql_type)) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(type_id, sql_type))) return st;
  char found = 0;
  return adp_sql_exec_and_fetch(con, &found);
}

// The index's columns into the list, in the catalogue's order.
long ora_columns_of(KAdpConnId* con, const std::string& owner, const std::string& index, const std::string& table,
                    char* list) {
  std::string sql = "select lower(column_name) from all_ind_columns \nwhere index_name = upper('" + quoted(index) +
                    "') and index_owner = upper('" + quoted(owner) + "')";
  if (long st = adp_sql_parse_now(con, "%s", sql.c_str())) return st;
  char* column = nullptr;
  if (long st = adp_sql_define(con, KAdpBindCol(&column, 0))) return st;
  char found = 0;
  if (long st = adp_sql_exec_and_fetch(con, &found)) return st;
  if (found == 0) return push(ADP_INDEX_NO_COLUMNS, nullptr, 2, table.c_str(), index.c_str());
  list[0] = '\0';
  for (bool fits = true; found != 0;) {
    if (fits && column != nullptr) fits = append_column(list, column);
    if (long st = adp_sql_nextrow(con, nullptr, &found)) return st;
  }
  size_t used = std::strlen(list);
  if (used > 0 && list[used - 1] == ':') list[used - 1] = '\0';
  return 0;
}

// --- SQL Server -----------------------------------------------------------

// The texts between the 1st and 2nd, and the 3rd and 4th single quotes.
bool mssql_names(const std::string& message, std::string* a, std::string* b) {
  size_t q[4];
  size_t from = 0;
  for (size_t& p : q) {
    p = message.find('\'', from);
    if (p == std::string::npos) return false;
    from = p + 1;
  }
  *a = message.substr(q[0] + 1, q[1] - q[0] - 1);
  *b = message.substr(q[2] + 1, q[3] - q[2] - 1);
  return true;
}

// A name without its owner prefix ("dbo.table_x" -> "table_x").
std::string without_owner(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(dot + 1);
}

}  // namespace

long KAdpOraOperation::ObjNotUniqueByMsg(char* message, long* type_id, char** columns, char** index_name) {
  static std::string index_buffer;
  return adp_err_guard([&]() -> long {
    char* list = phrase37();
    *type_id = -1;
    put_long(kTypeIdNumber, -1);
    std::strcpy(list, kUnknownColumn);
    *columns = list;
    index_buffer.clear();
    *index_name = index_buffer.data();
    std::string text = message != nullptr ? message : "";
    if (text.compare(0, std::strlen(kOraUnique), kOraUnique) != 0) return 0L;
    std::string owner, index;
    ora_index_of(text, &owner, &index);
    KAdpConnId* con = GetConnection();
    std::string table;
    char found = 0;
    std::string sql = "select table_name from all_indexes where index_name = '" + quoted(index) +
                      "' and owner = '" + quoted(owner) + "'";
    if (long st = ora_fetch_text(con, sql, &table, &found)) return st;
    table = lower(table);
    if (table.find(kTablePrefix) != std::string::npos) {
      index = lower(index);
      if (long st = ora_type_of(con, table, type_id)) return st;
    }
    index_buffer = index;
    *index_name = index_buffer.data();
    if (long st = ora_columns_of(con, owner, index, table, list)) return st;
    put_long(kTypeIdNumber, *type_id);
    return 0L;
  });
}

long KAdpMssqlOperation::ObjNotUniqueByMsg(char* message, long* type_id, char** columns, char** /*index_name*/) {
  static char list[kColumnListSize];
  return adp_err_guard([&]() -> long {
    list[0] = '\0';
    *columns = list;
    std::string text = message != nullptr ? message : "";
    std::string a, b;
    if (!mssql_names(text, &a, &b)) return push(ADP_NOT_UNIQUE_TEXT, kMssqlProc, 1, text.c_str());
    const char* prefixed = nullptr;
    if (long st = adp_sch_tbl_name_prefix(a.c_str(), &prefixed)) return st;
    std::string table = without_owner(prefixed != nullptr ? prefixed : a), index = without_owner(b);
    if (long st = adp_sch_type_find(table.c_str(), type_id)) return st;
    if (*type_id == -1) {
      std::swap(table, index);
      if (long st = adp_sch_type_find(table.c_str(), type_id)) return st;
    }
    if (*type_id == -1) return push(ADP_NOT_UNIQUE_TEXT, kMssqlProc, 1, text.c_str());
    if (index == kObjidIndex) {
      std::strcpy(list, kObjidColumn);
      return 0L;
    }
    KAdpSqlBatch& batch = *GetConnection()->GetSqlBatch(1);
    if (long st = batch.AppendSqlFormat("select field_names from adp_sch_index where type_id = %ld and index_name = '%s'",
                                        *type_id, quoted(index).c_str())) {
      return st;
    }
    batch << KAdpBindCol(list, kColumnListSize) << KAdpSqlBatch::kEndStmt;
    if (long st = batch.GetNextResult(nullptr)) return st;
    long row = batch.GetNextRow();
    if (long st = batch.GetStatus()) return st;
    if (row != 1) return push(ADP_NO_HEADER, nullptr, 0);
    batch.Reset();
    return 0L;
  });
}
