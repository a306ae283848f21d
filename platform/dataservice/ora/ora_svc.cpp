// libOraDataSvc.so: the data service of the driver "oracle", running the
// adapter's Oracle-dialect SQL on MariaDB in its Oracle mode through
// MariaDB Connector/C.
//
// The server is configuration string 2: a socket path, or host:port. The
// database is configuration string 15; when that is empty, the process's
// configuration string "ORB_MARIADB_DATABASE" (so several CRM databases can
// share one server); else sa. When it is missing it is made and the set-up script (ora_setup.sql) creates the
// compatibility objects. Statements run through
// the rewrites of ora_rw.h; values are always bound. Outside
// BeginTransaction/EndTransaction the session autocommits; a block or a call
// runs all or nothing (its own transaction outside, a savepoint inside one).
#include <dlfcn.h>
#include <mysql.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "adapter/adp_cfg.h"
#include "adapter/adp_dsvc.h"
#include "adapter/adp_rec.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"
#include "orb_api.h"
#include "platform/dataservice/ora/ora_err.h"
#include "platform/dataservice/ora/ora_lift.h"
#include "platform/dataservice/ora/ora_rw.h"
#include "platform/dataservice/ora/ora_sel.h"
#include "platform/dataservice/ora/ora_setup_sql.h"

using KCLASSIC::KErr;
using KCLASSIC::KUtlRecord;
using KCLASSIC::KZString;

namespace {

constexpr const char kDatabase[] = "sa";
constexpr const char kDatabaseSetting[] = "ORB_MARIADB_DATABASE";
constexpr KAdpConfig::str_type kDatabaseString = static_cast<KAdpConfig::str_type>(15);
constexpr unsigned kUnknownDatabase = 1049;  // ER_BAD_DB_ERROR

// A name as a quoted identifier: in backquotes, a backquote in it doubled.
std::string quoted_name(const std::string& name) {
  std::string q = "`";
  for (char c : name) q += c == '`' ? std::string("``") : std::string(1, c);
  return q + "`";
}
// A configuration string of the process that loaded the service (the
// client's environment file, then the environment), read through the
// client's own reader; the environment alone in a process without one.
std::string config_string(const char* name) {
  using reader = long (*)(const char*, char**);
  if (auto read = reinterpret_cast<reader>(dlsym(RTLD_DEFAULT, "osl_sys_get_config_string"))) {
    char* value = nullptr;
    return read(name, &value) == 0 && value != nullptr ? value : "";
  }
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

constexpr size_t kStatementCache = 64;
// Rewritten texts kept by the text as it came (after lifting its literals).
constexpr size_t kRewriteCache = 256;

[[noreturn]] void raise(long number, const std::string& where, const std::string& text1, const std::string& text2) {
  auto* e = new KErr(number, ("OraDataSvc::" + where).c_str());
  e->m_strText1 = text1.c_str();
  e->m_strText2 = text2.c_str();
  throw e;
}

// One bound value: text (or bytes), a number lifted from the text (a whole
// number, or a decimal in bytes), or NULL.
struct bind_value {
  bool null = true;
  bool binary = false;
  bool integer = false;
  bool decimal = false;
  long long number = 0;
  long sql_type = 6;
  std::string bytes;
};
using bind_map = std::map<long, bind_value>;

// Raw slots of a record (a pointer cell has no typed reader).
struct rec_peek : KUtlRecord {
  static void* slot(const KUtlRecord& r, long row, long col) {
    if (row < 0 || row >= r.GetRows() || col < 0 || col >= r.GetColumns()) return nullptr;
    KCLASSIC::KPtrArray* KUtlRecord::*cells = &rec_peek::m_pCells;
    KCLASSIC::KPtrArray* a = r.*cells;
    long i = row * r.GetColumns() + col;
    if (a == nullptr || i >= a->GetSize()) return nullptr;
    return a->GetAt(static_cast<int>(i));
  }
};

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Bytes of a hexadecimal text (an optional "0x" first); stops at the first
// character that is no digit pair.
std::string from_hex(const char* text) {
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text += 2;
  std::string out;
  for (; text[0] != '\0' && text[1] != '\0'; text += 2) {
    int hi = hex_digit(text[0]), lo = hex_digit(text[1]);
    if (hi < 0 || lo < 0) break;
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

// The bind variables of one statement: rows of marker (col 0), pointer to
// the value (col 1), the batch's copy of the value text (col 2) and the
// value's record SQL type (col 3).
bind_map read_binds(const KUtlRecord& r) {
  bind_map out;
  if (r.GetColumns() < 3) return out;
  for (long i = 0; i < r.GetRows(); ++i) {
    bind_value v;
    const char* marker = r.GetColCellType(0) == KCLASSIC::UTL_CELL_STRING ? r.GetString(i, 0) : nullptr;
    long number = marker != nullptr ? ora_rw::marker_number(marker) : -1;
    if (number < 0) number = i;
    if (r.GetColumns() > 3 && r.GetColCellType(3) == KCLASSIC::UTL_CELL_LONG) v.sql_type = r.GetLongVal(i, 3);
    if (v.sql_type == KCLASSIC::UTL_DB_BSTR) {
      const char* bytes = static_cast<const char*>(rec_peek::slot(r, i, 1));
      v.binary = true;
      if (bytes != nullptr) {
        v.bytes.assign(bytes, KCLASSIC::KBinSysStringByteLen(bytes));
      } else if (r.GetColCellType(2) == KCLASSIC::UTL_CELL_STRING && r.GetString(i, 2) != nullptr) {
        v.bytes = from_hex(r.GetString(i, 2));  // only the hexadecimal text came
      }
    } else {
      const char* text = r.GetColCellType(2) == KCLASSIC::UTL_CELL_STRING ? r.GetString(i, 2) : nullptr;
      if (text == nullptr) text = static_cast<const char*>(rec_peek::slot(r, i, 1));
      if (text != nullptr) v.bytes = text;
    }
    // An empty text is NULL, as on Oracle.
    v.null = v.bytes.empty();
    out[number] = std::move(v);
  }
  return out;
}

// A text's rewrite and the form of it that reads its date items bare.
struct rewrite_entry {
  ora_rw::result rw;
  ora_rw::plain_dates dates;
};

// A result held in memory until MoveRowset hands it out.
struct column_info {
  std::string name;
  enum kind_t { integer, text, binary, date } kind = text;
};
// Rows are either copied (cell texts in the service's form) or, for the
// batch's queries, kept as the server sent them and read in place.
struct result_set {
  std::vector<column_info> columns;
  std::vector<std::vector<std::optional<std::string>>> rows;
  std::shared_ptr<MYSQL_RES> raw;
  std::vector<MYSQL_ROW> raw_rows;
  std::vector<unsigned long> raw_lengths;  // row by row, a length per column
  bool has_rows = false;
  long affected = 0;

  size_t count() const { return raw ? raw_rows.size() : rows.size(); }
};

column_info::kind_t kind_of(const MYSQL_FIELD& f) {
  switch (f.type) {
    case MYSQL_TYPE_TINY: case MYSQL_TYPE_SHORT: case MYSQL_TYPE_LONG: case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
      return column_info::integer;
    case MYSQL_TYPE_DECIMAL: case MYSQL_TYPE_NEWDECIMAL:
      // NUMBER(n): whole numbers read as longs (when they fit).
      return f.decimals == 0 ? column_info::integer : column_info::text;
    case MYSQL_TYPE_DATE: case MYSQL_TYPE_DATETIME: case MYSQL_TYPE_TIMESTAMP: case MYSQL_TYPE_NEWDATE:
      return column_info::date;
    case MYSQL_TYPE_TINY_BLOB: case MYSQL_TYPE_MEDIUM_BLOB: case MYSQL_TYPE_LONG_BLOB: case MYSQL_TYPE_BLOB:
    case MYSQL_TYPE_VAR_STRING: case MYSQL_TYPE_STRING: case MYSQL_TYPE_VARCHAR:
      return f.charsetnr == 63 ? column_info::binary : column_info::text;
    default:
      return column_info::text;
  }
}

// "YYYY-MM-DD[ HH:MI:SS[.f]]" as "MM/DD/YYYY HH24:MI:SS".
constexpr size_t kDateText = 10, kDateTimeText = 19;
void oracle_date(const char* s, size_t n, std::string& text) {
  if (n < kDateText) {
    text.assign(s, n);
    return;
  }
  char out[kDateTimeText];
  std::memcpy(out, s + 5, 2);
  out[2] = '/';
  std::memcpy(out + 3, s + 8, 2);
  out[5] = '/';
  std::memcpy(out + 6, s, 4);
  out[10] = ' ';
  std::memcpy(out + 11, n >= kDateTimeText ? s + 11 : "00:00:00", 8);
  text.assign(out, kDateTimeText);
}

std::string oracle_date(const char* s, size_t n) {
  std::string text;
  oracle_date(s, n, text);
  return text;
}

std::string upper_hex(const std::string& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string s;
  s.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    s += kHex[b >> 4];
    s += kHex[b & 0xF];
  }
  return s;
}

std::string cell_text(const column_info& c, const char* data, unsigned long length) {
  if (c.kind == column_info::date) return oracle_date(data, length);
  if (c.kind == column_info::binary) return upper_hex(std::string(data, length));
  return std::string(data, length);
}

// Cell (i, j) in the service's form (dates "MM/DD/YYYY HH24:MI:SS", bytes
// in upper-case hexadecimal) as a text ending in NUL; null for NULL. The text
// lives in the result or in scratch until the next call.
const char* cell_at(const result_set& rs, size_t i, size_t j, std::string& scratch) {
  if (!rs.raw) {
    const std::optional<std::string>& v = rs.rows[i][j];
    return v ? v->c_str() : nullptr;
  }
  const char* data = rs.raw_rows[i][j];
  if (data == nullptr) return nullptr;
  const unsigned long length = rs.raw_lengths[i * rs.columns.size() + j];
  if (rs.columns[j].kind == column_info::text && data[length] == '\0') return data;
  // A date is written into scratch in place, keeping its storage.
  if (rs.columns[j].kind == column_info::date)
    oracle_date(data, length, scratch);
  else
    scratch = cell_text(rs.columns[j], data, length);
  return scratch.c_str();
}

// An integer column the client library can give as a binary number.
bool binary_integer(const MYSQL_FIELD& f) {
  switch (f.type) {
    case MYSQL_TYPE_TINY: case MYSQL_TYPE_SHORT: case MYSQL_TYPE_LONG: case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
      return true;
    default:
      return false;
  }
}

std::string integer_text(long long v, bool is_unsigned) {
  char text[24];
  auto r = is_unsigned ? std::to_chars(text, text + sizeof text, static_cast<unsigned long long>(v))
                       : std::to_chars(text, text + sizeof text, v);
  return std::string(text, r.ptr);
}

// The whole text as a whole number (the common case of a number column,
// read without going through strtod).
bool whole_number(std::string_view s, long* v) {
  const char* end = s.data() + s.size();
  auto r = std::from_chars(s.data(), end, *v);
  return r.ec == std::errc() && r.ptr == end;
}

// An integer column holds a value beyond 32 bits.
bool wide_column(const result_set& rs, size_t j) {
  if (rs.columns[j].kind != column_info::integer) return false;
  std::string scratch;
  for (size_t i = 0; i < rs.count(); ++i) {
    const char* text = cell_at(rs, i, j, scratch);
    if (text == nullptr) continue;
    long v = 0;
    if (!whole_number(text, &v)) v = std::strtol(text, nullptr, 10);
    if (v > 0x7FFFFFFFL || v < -0x7FFFFFFFL) return true;
  }
  return false;
}

// A long cell: a value that does not fit 32 bits stops the move.
void set_long_cell(KAdpUtlRecord& rec, long row, long col, const char* v, const std::string& name) {
  long whole = 0;
  bool fits = false;
  if (whole_number(v, &whole)) {
    fits = whole <= 2147483647L && whole >= -2147483647L;
  } else {
    char* end = nullptr;
    double d = std::strtod(v, &end);
    fits = end != v && std::fabs(d) <= 2147483647.0;
    whole = std::strtol(v, nullptr, 10);
  }
  if (!fits) raise(0x8B00134, "MoveRowset", std::string("value does not fit a long: ") + v, "column " + name);
  rec.SetLongVal(row, col, whole);
}

// Declares the columns the record does not declare, by the result's types.
void declare_columns(KAdpUtlRecord& rec, const result_set& rs) {
  for (size_t j = 0; j < rs.columns.size(); ++j) {
    long col = static_cast<long>(j);
    if (col < rec.GetColumns() && rec.GetColCellType(col) != KCLASSIC::UTL_CELL_EMPTY) continue;
    const bool wide = wide_column(rs, j);
    long sql = rs.columns[j].kind == column_info::integer && !wide ? KCLASSIC::UTL_DB_LONG : KCLASSIC::UTL_DB_VARSTR;
    rec.KUtlRecord::SetColType(col, 0, rs.columns[j].name.c_str(), sql);
  }
}

// A text cell's new text: written over the cell's block when it fits (the
// rest of the block cleared), as a row read row by row mostly does; else a
// new block.
void set_text_cell(KAdpUtlRecord& rec, long row, long col, const char* v) {
  auto* block = static_cast<char*>(rec_peek::slot(rec, row, col));
  const size_t n = std::strlen(v);
  if (block != nullptr) {
    const size_t room = KCLASSIC::KBinSysStringByteLen(block);
    if (n + 2 <= room) {
      std::memcpy(block, v, n);
      std::memset(block + n, 0, room - n);
      return;
    }
  }
  rec.KUtlRecord::SetString(row, col, v);
}

// Writes result row i into record row `row` by the record's columns; a NULL
// leaves the cell empty (as a new cell).
void put_row(KAdpUtlRecord& rec, long row, const result_set& rs, size_t i, std::string& scratch) {
  for (size_t j = 0; j < rs.columns.size(); ++j) {
    long col = static_cast<long>(j);
    const char* v = cell_at(rs, i, j, scratch);
    long type = rec.GetColCellType(col);
    if (v == nullptr) {
      rec.ReleaseCell(rec.GetCellIndex(row, col, 0, 1));
    } else if (rec.GetColLetter(col) == 'A' + KCLASSIC::UTL_DB_FLOAT) {
      rec.SetFloat(row, col, static_cast<float>(std::strtod(v, nullptr)));
    } else if (type == KCLASSIC::UTL_CELL_LONG) {
      set_long_cell(rec, row, col, v, rs.columns[j].name);
    } else if (type == KCLASSIC::UTL_CELL_BSTR) {
      rec.SetKBstr(row, col, KCLASSIC::KBinSysAllocStringByteLen(v, static_cast<unsigned>(std::strlen(v))), 0);
    } else if (type == KCLASSIC::UTL_CELL_STRING) {
      set_text_cell(rec, row, col, v);
    } else {
      rec.ReleaseCell(rec.GetCellIndex(row, col, 0, 1));
    }
  }
}

// Writes the rows into the record: cells by its declared columns, columns it
// does not declare by the result's types.
void fill_record(KAdpUtlRecord& rec, const result_set& rs) {
  declare_columns(rec, rs);
  std::string scratch;
  for (size_t i = 0; i < rs.count(); ++i) put_row(rec, static_cast<long>(i), rs, i, scratch);
}

// Days since 30 December 1899 of a civil date.
long ole_day(long y, long m, long d) {
  y -= m <= 2 ? 1 : 0;
  long era = (y >= 0 ? y : y - 399) / 400;
  long yoe = y - era * 400;
  long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 25569;
}

class OraDataSvc final : public KCLASSIC::tagPpmDataSvc {
 public:
  explicit OraDataSvc(KCLASSIC::tagLpmConfig* config)
      : m_trace(config), m_config(dynamic_cast<KAdpConfig*>(config)) {}
  ~OraDataSvc() override { disconnect(); }

  long Release(long) override {
    delete this;
    return 0;
  }

  long Connect(const char* login, const char* password, const char*) override {
    disconnect();
    std::string server = m_config ? static_cast<const char*>(m_config->GetPropertyStr(static_cast<KAdpConfig::str_type>(2))) : "";
    bool utf8 = m_config != nullptr && m_config->GetUTF8Flag() != 0;
    m_db = mysql_init(nullptr);
    if (m_db == nullptr) raise(ora_err::ORACLE, "Connect", "out of memory", "mysql_init failed");
    unsigned timeout = 10;
    mysql_optionsv(m_db, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    mysql_optionsv(m_db, MYSQL_SET_CHARSET_NAME, utf8 ? "utf8mb4" : "latin1");
    std::string host, socket;
    unsigned port = 0;
    size_t colon = server.rfind(':');
    if (!server.empty() && server[0] != '/' && colon != std::string::npos) {
      host = server.substr(0, colon);
      port = static_cast<unsigned>(std::strtoul(server.c_str() + colon + 1, nullptr, 10));
      unsigned protocol = MYSQL_PROTOCOL_TCP;
      mysql_optionsv(m_db, MYSQL_OPT_PROTOCOL, &protocol);
    } else if (!server.empty()) {
      socket = server;
      unsigned protocol = MYSQL_PROTOCOL_SOCKET;
      mysql_optionsv(m_db, MYSQL_OPT_PROTOCOL, &protocol);
    }
    const char* user = login != nullptr && *login != '\0' ? login : nullptr;
    if (mysql_real_connect(m_db, host.empty() ? nullptr : host.c_str(), user, password, nullptr, port,
                           socket.empty() ? nullptr : socket.c_str(), CLIENT_MULTI_RESULTS) == nullptr) {
      fail("Connect", "connect to " + server);
    }
    const std::string database = database_name();
    if (mysql_select_db(m_db, database.c_str()) != 0) {
      if (mysql_errno(m_db) != kUnknownDatabase) fail("Connect", "use " + database);
      query("Connect", "CREATE DATABASE IF NOT EXISTS " + quoted_name(database) +
                           " CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin");
      if (mysql_select_db(m_db, database.c_str()) != 0) fail("Connect", "use " + database);
      run_setup();
    }
    // As on Oracle, a backslash in a literal is a plain character (a value
    // keeps it, and a LIKE pattern can escape with it).
    query("Connect", "SET SESSION sql_mode = 'ORACLE,STRICT_ALL_TABLES,NO_BACKSLASH_ESCAPES', autocommit = 1");
    m_in_txn = false;
    trace("Connect", server.c_str());
    return 0;
  }

  double GetServerTime() override {
    result_set rs = run_text("GetServerTime", "SELECT DATE_FORMAT(sysdate, '%Y %m %d %H %i %s') FROM dual");
    if (rs.rows.empty() || !rs.rows[0][0]) raise(ora_err::ORACLE, "GetServerTime", "no server time", "");
    long y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    std::sscanf(rs.rows[0][0]->c_str(), "%ld %ld %ld %ld %ld %ld", &y, &mo, &d, &h, &mi, &s);
    return static_cast<double>(ole_day(y, mo, d)) + (h * 3600 + mi * 60 + s) / 86400.0;
  }

  long StartBatch(KCLASSIC::KStringArray* statements, KAdpUtlRecord* binds, KCLASSIC::tagPpmStats*) override {
    m_statements.clear();
    m_binds.clear();
    m_next = 0;
    m_current = result_set{};
    long n = statements != nullptr ? statements->GetSize() : 0;
    std::string all;
    for (long i = 0; i < n; ++i) {
      m_statements.emplace_back(static_cast<const char*>((*statements)[static_cast<int>(i)]));
      all += m_statements.back() + "\n";
    }
    m_binds.resize(m_statements.size());
    if (binds != nullptr && binds->GetColumns() > 0) {
      if (binds->GetColCellType(0) == KCLASSIC::UTL_CELL_RECORD) {
        for (long r = 0; r < binds->GetRows() && r < n; ++r) {
          KUtlRecord* one = binds->GetRecordPtr(r, 0);
          if (one != nullptr) m_binds[static_cast<size_t>(r)] = read_binds(*one);
        }
      } else if (n > 0) {
        m_binds[0] = read_binds(*binds);
      }
    }
    trace("SQL Batch started", all.c_str());
    for (size_t i = 0; i < m_binds.size(); ++i) {
      for (const auto& [number, v] : m_binds[i]) {
        std::string line = ":B" + std::to_string(number) + " = " +
                           (v.null ? "NULL" : v.binary ? upper_hex(v.bytes) : v.bytes);
        trace("----BindVariables--", line.c_str());
      }
    }
    return 0;
  }

  long EndBatch() override {
    m_statements.clear();
    m_binds.clear();
    m_current = result_set{};
    return 0;
  }

  long BeginTransaction() override {
    query("BeginTransaction", "START TRANSACTION");
    m_in_txn = true;
    trace("*** Begin Transaction ***", "");
    return 0;
  }

  long EndTransaction(char commit, char) override {
    m_in_txn = false;
    query("EndTransaction", commit == 1 ? "COMMIT" : "ROLLBACK");
    trace(commit == 1 ? "*** Commit Transaction ***" : "*** Rollback Transaction ***", "");
    return 0;
  }

  long SetBindInfo(KAdpUtlRecord&) override { return 0; }

  long FetchNextSet(char, long& rows) override {
    while (m_next < m_statements.size() && m_statements[m_next].find_first_not_of(" \t\r\n") == std::string::npos) {
      ++m_next;
    }
    if (m_next >= m_statements.size()) {
      rows = -1;
      m_current = result_set{};
      return 0;
    }
    size_t at = m_next++;
    trace("SQL Batch Execution", m_statements[at].c_str());
    m_current = result_set{};
    m_moved = 0;
    m_raw_rows = true;
    try {
      m_current = run("FetchNextSet", m_statements[at], m_binds[at]);
    } catch (...) {
      m_raw_rows = false;
      throw;
    }
    m_raw_rows = false;
    rows = m_current.has_rows ? static_cast<long>(m_current.count()) : m_current.affected;
    return 0;
  }

  long MoveRowset(KAdpUtlRecord& record, long, long) override {
    fill_record(record, m_current);
    m_current = result_set{};
    return 0;
  }

  long MoveNextRow(KAdpUtlRecord& record) override {
    if (m_moved >= m_current.count()) return 0;
    if (m_moved == 0) declare_columns(record, m_current);
    put_row(record, 0, m_current, m_moved++, m_scratch);
    return 1;
  }

  long ExecQuery(KCLASSIC::tagPpmStats*, const char* text, KAdpUtlRecord& record) override {
    std::string s = text != nullptr ? text : "";
    if (s.find_first_not_of(" \t\r\n") == std::string::npos) return 0;
    trace("SQL Query", s.c_str());
    fill_record(record, run("ExecQuery", s, bind_map{}));
    return 0;
  }

  long ExecStatement(KCLASSIC::tagPpmStats*, const char* text, long* rows) override {
    std::string s = text != nullptr ? text : "";
    long n = 0;
    if (s.find_first_not_of(" \t\r\n") != std::string::npos) {
      trace("SQL Statement", s.c_str());
      result_set rs = run("ExecStatement", s, bind_map{});
      n = rs.has_rows ? static_cast<long>(rs.count()) : rs.affected;
    }
    if (rows != nullptr) *rows = n;
    return 0;
  }

  long GenerateObjids(KAdpUtlRecord&) override {
    raise(ora_err::METHOD, "GenerateObjids", "not offered by the Oracle service", "object ids come from adp_tbl_oid");
  }

  // The batch's next statement (the adapter's procedure block) runs with its
  // bound values; the OUT values come back as texts, value k in row k of
  // column 0. Without a statement waiting: CALL name(?, ...) with row 0 of
  // the record as arguments, the OUT values back into the columns of the
  // same names (else the last columns).
  long ExecProc(KAdpUtlRecord& params, KZString name, long) override {
    if (m_next < m_statements.size()) return exec_block(params);
    std::string sql = std::string("CALL ") + static_cast<const char*>(name) + "(";
    bind_map values;
    for (long c = 0; c < params.GetColumns(); ++c) {
      sql += c == 0 ? "?" : ", ?";
      bind_value v;
      KZString text;
      if (params.GetRows() > 0) params.GetStringVal(0, c, text);
      v.bytes = static_cast<const char*>(text);
      v.null = v.bytes.empty();
      values[c] = std::move(v);
    }
    sql += ")";
    trace("SQL Procedure", sql.c_str());
    result_set rs = guarded("ExecProc", sql, [&] { return execute_prepared("ExecProc", sql, values, marker_list(values)); }, true);
    if (rs.rows.empty()) return 0;
    const auto& row = rs.rows[0];
    for (size_t j = 0; j < rs.columns.size(); ++j) {
      long col = params.GetFieldCol(rs.columns[j].name.c_str());
      if (col < 0) col = params.GetColumns() - static_cast<long>(rs.columns.size()) + static_cast<long>(j);
      if (col < 0 || col >= params.GetColumns()) continue;
      params.SetStringVal(0, col, row[j] ? row[j]->c_str() : "");
    }
    return 0;
  }

 private:
  long exec_block(KAdpUtlRecord& record) {
    size_t at = m_next++;
    trace("SQL Procedure", m_statements[at].c_str());
    result_set rs = run("ExecProc", m_statements[at], m_binds[at]);
    if (rs.rows.empty() || record.GetColumns() == 0) return 0;
    const auto& row = rs.rows[0];
    for (size_t k = 0; k < row.size(); ++k) {
      record.SetStringVal(static_cast<long>(k), 0, row[k] ? row[k]->c_str() : "");
    }
    return 0;
  }

  static std::vector<long> marker_list(const bind_map& values) {
    std::vector<long> m;
    for (const auto& entry : values) m.push_back(entry.first);
    return m;
  }

  void trace(const char* event, const char* text) {
    if (m_trace != nullptr) m_trace->Trace(event, text);
  }

  void disconnect() {
    for (auto& [sql, stmt] : m_cache) mysql_stmt_close(stmt);
    m_cache.clear();
    m_cache_order.clear();
    if (m_db != nullptr) mysql_close(m_db);
    m_db = nullptr;
  }

  void need_connection(const std::string& where) {
    if (m_db == nullptr) raise(ora_err::LOST, where, "not connected", "the connection to the server is lost");
  }

  // Throws the connection's last error; a lost connection is dropped so the
  // next Connect starts afresh.
  [[noreturn]] void fail(const std::string& where, const std::string& what, unsigned e = 0, const char* msg = nullptr,
                         const char* state = nullptr) {
    if (e == 0) {
      e = mysql_errno(m_db);
      msg = mysql_error(m_db);
      state = mysql_sqlstate(m_db);
    }
    std::string message = msg != nullptr ? msg : "";
    std::string sqlstate = state != nullptr ? state : "";
    std::string owner = database_name();
    for (char& c : owner) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string text1 = ora_err::text(e, message, owner);
    std::string text2 = e == 1062 || e == 1586
                            ? text1
                            : "MariaDB error " + std::to_string(e) + " (" + sqlstate + "): " + message +
                                  (what.empty() ? "" : " [" + what + "]");
    long number = ora_err::number(e);
    if (number == ora_err::LOST || where == "Connect") {
      disconnect();
      m_in_txn = false;
    } else if (e == 1213 && m_in_txn) {
      // The server rolled the whole transaction back; a new one keeps what
      // follows from committing statement by statement until the caller
      // ends it.
      mysql_real_query(m_db, "START TRANSACTION", 17);
    }
    raise(number, where, text1, text2);
  }

  void query(const std::string& where, const std::string& sql) {
    need_connection(where);
    if (mysql_real_query(m_db, sql.data(), sql.size()) != 0) fail(where, sql);
    MYSQL_RES* res = mysql_store_result(m_db);
    if (res != nullptr) mysql_free_result(res);
    while (mysql_more_results(m_db)) {
      if (mysql_next_result(m_db) > 0) fail(where, sql);
      res = mysql_store_result(m_db);
      if (res != nullptr) mysql_free_result(res);
    }
  }

  // Configuration string 15, else the process's setting, else sa.
  std::string database_name() const {
    std::string name = m_config ? static_cast<const char*>(m_config->GetPropertyStr(kDatabaseString)) : "";
    if (name.empty()) name = config_string(kDatabaseSetting);
    return name.empty() ? kDatabase : name;
  }

  void run_setup() {
    std::string script = ora_setup_sql();
    size_t pos = 0;
    while (pos < script.size()) {
      size_t end = script.find("\n/\n", pos);
      std::string stmt = script.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
      pos = end == std::string::npos ? script.size() : end + 3;
      // Drop the comment lines at the head of a statement.
      while (stmt.rfind("--", 0) == 0) {
        size_t nl = stmt.find('\n');
        stmt = nl == std::string::npos ? "" : stmt.substr(nl + 1);
      }
      if (stmt.find_first_not_of(" \t\r\n/") == std::string::npos) continue;
      query("Connect", stmt);
    }
  }

  // A statement without markers through the text protocol; with raw, the rows
  // stay as the server sent them.
  result_set run_text(const std::string& where, const std::string& sql, bool raw = false) {
    need_connection(where);
    result_set rs;
    if (mysql_real_query(m_db, sql.data(), sql.size()) != 0) fail(where, sql);
    MYSQL_RES* res = mysql_store_result(m_db);
    if (res == nullptr) {
      if (mysql_field_count(m_db) != 0) fail(where, sql);
      rs.affected = static_cast<long>(mysql_affected_rows(m_db));
    } else {
      unsigned n = mysql_num_fields(res);
      MYSQL_FIELD* f = mysql_fetch_fields(res);
      rs.has_rows = true;
      for (unsigned j = 0; j < n; ++j) rs.columns.push_back(column_info{std::string(f[j].name, f[j].name_length), kind_of(f[j])});
      const auto count = static_cast<size_t>(mysql_num_rows(res));
      if (raw) {
        rs.raw.reset(res, mysql_free_result);
        rs.raw_rows.reserve(count);
        rs.raw_lengths.reserve(count * n);
      } else {
        rs.rows.reserve(count);
      }
      while (MYSQL_ROW row = mysql_fetch_row(res)) {
        unsigned long* len = mysql_fetch_lengths(res);
        if (raw) {
          rs.raw_rows.push_back(row);
          rs.raw_lengths.insert(rs.raw_lengths.end(), len, len + n);
          continue;
        }
        auto& out = rs.rows.emplace_back(n);
        for (unsigned j = 0; j < n; ++j) {
          if (row[j] != nullptr) out[j] = cell_text(rs.columns[j], row[j], len[j]);
        }
      }
      if (!raw) mysql_free_result(res);
    }
    // A block or call may leave further results (the call's status).
    while (mysql_more_results(m_db)) {
      if (mysql_next_result(m_db) > 0) fail(where, sql);
      MYSQL_RES* more = mysql_store_result(m_db);
      if (more != nullptr) mysql_free_result(more);
    }
    return rs;
  }

  MYSQL_STMT* prepared(const std::string& where, const std::string& sql) {
    auto it = m_cache.find(sql);
    if (it != m_cache.end()) return it->second;
    need_connection(where);
    MYSQL_STMT* stmt = mysql_stmt_init(m_db);
    if (stmt == nullptr) fail(where, sql);
    if (mysql_stmt_prepare(stmt, sql.data(), sql.size()) != 0) {
      unsigned e = mysql_stmt_errno(stmt);
      std::string msg = mysql_stmt_error(stmt), state = mysql_stmt_sqlstate(stmt);
      mysql_stmt_close(stmt);
      fail(where, sql, e, msg.c_str(), state.c_str());
    }
    my_bool update = 1;
    mysql_stmt_attr_set(stmt, STMT_ATTR_UPDATE_MAX_LENGTH, &update);
    if (m_cache.size() >= kStatementCache) {
      mysql_stmt_close(m_cache[m_cache_order.front()]);
      m_cache.erase(m_cache_order.front());
      m_cache_order.pop_front();
    }
    m_cache[sql] = stmt;
    m_cache_order.push_back(sql);
    return stmt;
  }

  [[noreturn]] void fail_stmt(const std::string& where, const std::string& sql, MYSQL_STMT* stmt) {
    unsigned e = mysql_stmt_errno(stmt);
    std::string msg = mysql_stmt_error(stmt), state = mysql_stmt_sqlstate(stmt);
    mysql_stmt_free_result(stmt);
    fail(where, sql, e, msg.c_str(), state.c_str());
  }

  result_set execute_prepared(const std::string& where, const std::string& sql, const bind_map& values,
                              const std::vector<long>& markers) {
    MYSQL_STMT* stmt = prepared(where, sql);
    if (mysql_stmt_param_count(stmt) != markers.size()) {
      raise(ora_err::ORACLE, where, "bind variables do not match the markers",
            "statement has " + std::to_string(mysql_stmt_param_count(stmt)) + " markers: " + sql);
    }
    std::vector<MYSQL_BIND> in(markers.size());
    std::vector<my_bool> nulls(markers.size());
    std::vector<unsigned long> lengths(markers.size());
    for (size_t i = 0; i < markers.size(); ++i) {
      auto it = values.find(markers[i]);
      MYSQL_BIND& b = in[i];
      std::memset(&b, 0, sizeof b);
      nulls[i] = it == values.end() || it->second.null;
      b.is_null = &nulls[i];
      b.buffer_type = MYSQL_TYPE_STRING;
      if (!nulls[i] && it->second.integer) {
        b.buffer_type = MYSQL_TYPE_LONGLONG;
        b.buffer = const_cast<long long*>(&it->second.number);
      } else if (!nulls[i]) {
        b.buffer_type = it->second.binary    ? MYSQL_TYPE_BLOB
                        : it->second.decimal ? MYSQL_TYPE_NEWDECIMAL
                                             : MYSQL_TYPE_STRING;
        b.buffer = const_cast<char*>(it->second.bytes.data());
        lengths[i] = it->second.bytes.size();
        b.buffer_length = lengths[i];
        b.length = &lengths[i];
      }
    }
    if (!in.empty() && mysql_stmt_bind_param(stmt, in.data()) != 0) fail_stmt(where, sql, stmt);
    if (mysql_stmt_execute(stmt) != 0) fail_stmt(where, sql, stmt);
    result_set rs;
    read_prepared(where, sql, stmt, rs);
    // A CALL answers with its OUT values (if any), then its status.
    while (mysql_stmt_more_results(stmt)) {
      int next = mysql_stmt_next_result(stmt);
      if (next > 0) fail_stmt(where, sql, stmt);
      if (next < 0) break;
      result_set more;
      read_prepared(where, sql, stmt, more);
      if (more.has_rows && !rs.has_rows) rs = std::move(more);
    }
    return rs;
  }

  void read_prepared(const std::string& where, const std::string& sql, MYSQL_STMT* stmt, result_set& rs) {
    MYSQL_RES* meta = mysql_stmt_result_metadata(stmt);
    if (meta == nullptr) {
      rs.affected = static_cast<long>(mysql_stmt_affected_rows(stmt));
      return;
    }
    if (mysql_stmt_store_result(stmt) != 0) {
      mysql_free_result(meta);
      fail_stmt(where, sql, stmt);
    }
    unsigned n = mysql_num_fields(meta);
    MYSQL_FIELD* f = mysql_fetch_fields(meta);
    rs.has_rows = true;
    rs.rows.reserve(static_cast<size_t>(mysql_stmt_num_rows(stmt)));
    std::vector<MYSQL_BIND> out(n);
    std::vector<std::vector<char>> buffers(n);
    std::vector<unsigned long> lengths(n);
    std::vector<my_bool> nulls(n);
    // Integer columns come as binary numbers (the client library's text
    // conversion of each is slow); their texts are written here.
    std::vector<long long> numbers(n);
    std::vector<bool> binary(n);
    for (unsigned j = 0; j < n; ++j) {
      rs.columns.push_back(column_info{std::string(f[j].name, f[j].name_length), kind_of(f[j])});
      std::memset(&out[j], 0, sizeof out[j]);
      binary[j] = binary_integer(f[j]);
      if (binary[j]) {
        out[j].buffer_type = MYSQL_TYPE_LONGLONG;
        out[j].is_unsigned = (f[j].flags & UNSIGNED_FLAG) != 0;
        out[j].buffer = &numbers[j];
        out[j].length = &lengths[j];
        out[j].is_null = &nulls[j];
        continue;
      }
      buffers[j].resize(std::max<unsigned long>(f[j].max_length, 64) + 1);
      out[j].buffer_type = MYSQL_TYPE_STRING;
      out[j].buffer = buffers[j].data();
      out[j].buffer_length = buffers[j].size();
      out[j].length = &lengths[j];
      out[j].is_null = &nulls[j];
    }
    mysql_free_result(meta);
    if (mysql_stmt_bind_result(stmt, out.data()) != 0) fail_stmt(where, sql, stmt);
    for (;;) {
      int r = mysql_stmt_fetch(stmt);
      if (r == MYSQL_NO_DATA) break;
      if (r == 1) fail_stmt(where, sql, stmt);
      auto& row = rs.rows.emplace_back(n);
      for (unsigned j = 0; j < n; ++j) {
        if (nulls[j]) continue;
        if (binary[j]) {
          row[j] = integer_text(numbers[j], out[j].is_unsigned != 0);
        } else if (lengths[j] > buffers[j].size()) {
          // Longer than the buffer: fetch the column again in full.
          std::vector<char> whole(lengths[j] + 1);
          MYSQL_BIND b;
          std::memset(&b, 0, sizeof b);
          unsigned long len = 0;
          b.buffer_type = MYSQL_TYPE_STRING;
          b.buffer = whole.data();
          b.buffer_length = whole.size();
          b.length = &len;
          if (mysql_stmt_fetch_column(stmt, &b, j, 0) != 0) fail_stmt(where, sql, stmt);
          row[j] = cell_text(rs.columns[j], whole.data(), len);
        } else {
          row[j] = cell_text(rs.columns[j], buffers[j].data(), lengths[j]);
        }
      }
    }
    mysql_stmt_free_result(stmt);
  }

  // Runs body so that a failure leaves nothing behind: a block or call gets
  // its own transaction outside one and a savepoint inside one; a single
  // statement is already all or nothing on the server.
  template <class Body>
  result_set guarded(const std::string& where, const std::string&, Body body, bool block) {
    if (!block) return body();
    bool own = !m_in_txn;
    query(where, own ? "START TRANSACTION" : "SAVEPOINT orb_stmt");
    try {
      result_set rs = body();
      if (own) query(where, "COMMIT");
      return rs;
    } catch (KErr*) {
      if (m_db != nullptr) undo_block(own);
      throw;
    }
  }

  // Undoes what a failed block left open. A COMMIT inside the block has
  // ended the caller's transaction with the savepoint: then what the block
  // did since goes, and the caller's transaction goes on in a new one.
  void undo_block(bool own) {
    auto send = [this](const char* text) { return mysql_real_query(m_db, text, std::strlen(text)) == 0; };
    if (own || !send("ROLLBACK TO SAVEPOINT orb_stmt")) send("ROLLBACK");
    unsigned int status = 0;
    if (!own && mariadb_get_infov(m_db, MARIADB_CONNECTION_SERVER_STATUS, &status) == 0 &&
        (status & SERVER_STATUS_IN_TRANS) == 0) {
      send("START TRANSACTION");
    }
  }

  // DDL (or a block's own COMMIT) ends the open transaction on the server;
  // as on Oracle, what follows belongs to a new one that the caller's
  // EndTransaction ends.
  void reopen_after_ddl(const std::string& where) {
    if (!m_in_txn || m_db == nullptr) return;
    unsigned int status = 0;
    if (mariadb_get_infov(m_db, MARIADB_CONNECTION_SERVER_STATUS, &status) != 0) return;
    if ((status & SERVER_STATUS_IN_TRANS) == 0) query(where, "START TRANSACTION");
  }

  // A SELECT INTO of a block that found no row leaves warning 1329; as on
  // Oracle it fails the block (ORA-01403).
  void no_data_found(const std::string& where, const std::string& sql) {
    if (mysql_warning_count(m_db) == 0) return;
    result_set w = run_text(where, "SHOW WARNINGS");
    for (const auto& row : w.rows) {
      if (row.size() > 1 && row[1] && *row[1] == "1329") {
        fail(where, sql, 1329, row.size() > 2 && row[2] ? row[2]->c_str() : "", "02000");
      }
    }
  }

  // "ALTER TABLE t MODIFY (c NULL)" with each column's type and default
  // read from the catalogue: "ALTER TABLE t MODIFY c <type> [DEFAULT d] NULL".
  // Empty when a column is not found (the text then goes as it came, and the
  // server's error comes back).
  std::string restate_nulls(const std::string& where, const ora_rw::result& rw) {
    std::string table = rw.table.substr(rw.table.rfind('.') == std::string::npos ? 0 : rw.table.rfind('.') + 1);
    std::string sql = "ALTER TABLE " + rw.table;
    const char* lookup =
        "SELECT column_type, column_default FROM information_schema.columns "
        "WHERE table_schema = DATABASE() AND table_name = ? AND column_name = ?";
    for (size_t i = 0; i < rw.nulls.size(); ++i) {
      bind_map values;
      values[0].null = false;
      values[0].bytes = table;
      values[1].null = false;
      values[1].bytes = rw.nulls[i].first;
      result_set rs = execute_prepared(where, lookup, values, {0, 1});
      if (rs.rows.size() != 1 || !rs.rows[0][0]) return "";
      sql += (i == 0 ? " MODIFY " : ", MODIFY ") + rw.nulls[i].first + " " + *rs.rows[0][0];
      if (rs.rows[0][1] && *rs.rows[0][1] != "NULL") sql += " DEFAULT " + *rs.rows[0][1];
      sql += rw.nulls[i].second ? " NOT NULL" : " NULL";
    }
    return sql;
  }

  // The table the catalogue gives for an index, quoted for MariaDB; empty
  // when it has none or several.
  std::string table_of_index(const std::string& where, const std::string& index) {
    const char* lookup =
        "SELECT DISTINCT table_name FROM information_schema.statistics "
        "WHERE table_schema = DATABASE() AND UPPER(index_name) = UPPER(?)";
    bind_map values;
    values[0].null = false;
    values[0].bytes = index;
    result_set rs = execute_prepared(where, lookup, values, {0});
    if (rs.rows.size() != 1 || !rs.rows[0][0]) return "";
    return quoted_name(*rs.rows[0][0]);
  }

  // "DROP INDEX i ON t" with the index's table; empty when the catalogue
  // names none (the text then goes as it came).
  std::string restate_drop_index(const std::string& where, const ora_rw::result& rw) {
    const std::string table = table_of_index(where, rw.drop_index);
    return table.empty() ? "" : "DROP INDEX " + quoted_name(rw.drop_index) + " ON " + table;
  }

  // "ALTER TABLE t RENAME INDEX i TO j" with the index's table; empty when
  // the catalogue names none (the text then goes as it came, and the
  // server's error comes back).
  std::string restate_rename_index(const std::string& where, const ora_rw::result& rw) {
    const std::string table = table_of_index(where, rw.rename_index.first);
    if (table.empty()) return "";
    return "ALTER TABLE " + table + " RENAME INDEX " + quoted_name(rw.rename_index.first) + " TO " +
           quoted_name(rw.rename_index.second);
  }

  // The rewrite of a text, kept for the next statement of the same text.
  std::shared_ptr<const rewrite_entry> rewritten(const std::string& text) {
    auto it = m_rewrites.find(text);
    if (it != m_rewrites.end()) return it->second;
    auto rw = std::make_shared<rewrite_entry>();
    rw->rw = ora_rw::rewrite(text);
    if (!rw->rw.skip && !rw->rw.block && rw->rw.what == ora_rw::kind::plain && rw->rw.nulls.empty()) {
      rw->dates = ora_rw::plain_date_items(rw->rw.sql);
    }
    if (m_rewrites.size() >= kRewriteCache) {
      m_rewrites.erase(m_rewrite_order.front());
      m_rewrite_order.pop_front();
    }
    m_rewrites.emplace(text, rw);
    m_rewrite_order.push_back(text);
    return rw;
  }

  // One statement of the caller: the numbers of its INSERT values lifted into
  // markers, rewritten, then run with its values bound.
  result_set run(const std::string& where, const std::string& text, const bind_map& values) {
    ora_rw::lifted lift;
    if (!ora_rw::lift_insert_numbers(text, lift)) return run_entry(where, *rewritten(text), values);
    bind_map all = values;
    for (size_t k = 0; k < lift.numbers.size(); ++k) {
      bind_value& v = all[ora_rw::kLiftedMarker + static_cast<long>(k)];
      v.null = false;
      v.integer = lift.numbers[k].whole;
      v.decimal = !v.integer;
      v.number = lift.numbers[k].value;
      v.bytes = std::move(lift.numbers[k].text);
    }
    return run_entry(where, *rewritten(lift.text), all);
  }

  // A query whose date items go as bare columns when every one of them comes
  // back as a date (else the text runs as written).
  result_set run_entry(const std::string& where, const rewrite_entry& e, const bind_map& values) {
    if (e.dates.items.empty()) return run_rewritten(where, e.rw, values);
    ora_rw::result plain = e.rw;
    plain.sql = e.dates.sql;
    result_set rs = run_rewritten(where, plain, values);
    for (const auto& [position, name] : e.dates.items) {
      if (position >= rs.columns.size() || rs.columns[position].kind != column_info::date) {
        return run_rewritten(where, e.rw, values);
      }
      rs.columns[position].name = name;
    }
    return rs;
  }

  result_set run_rewritten(const std::string& where, const ora_rw::result& rw, const bind_map& values) {
    if (rw.skip || rw.sql.empty()) return result_set{};
    need_connection(where);
    // A restated DDL statement ends the open transaction as any DDL does.
    auto restated_ddl = [&](const std::string& restated) {
      result_set rs = run_text(where, restated);
      reopen_after_ddl(where);
      return rs;
    };
    if (!rw.nulls.empty()) {
      std::string restated = restate_nulls(where, rw);
      if (!restated.empty()) return restated_ddl(restated);
    }
    if (!rw.drop_index.empty()) {
      std::string restated = restate_drop_index(where, rw);
      if (!restated.empty()) return restated_ddl(restated);
    }
    if (!rw.rename_index.first.empty()) {
      std::string restated = restate_rename_index(where, rw);
      if (!restated.empty()) return restated_ddl(restated);
    }
    switch (rw.what) {
      case ora_rw::kind::commit:
      case ora_rw::kind::rollback:
        m_in_txn = false;
        return run_text(where, rw.sql);
      case ora_rw::kind::savepoint:
        if (!m_in_txn) {
          query(where, "START TRANSACTION");
          m_in_txn = true;
        }
        return run_text(where, rw.sql);
      case ora_rw::kind::rollback_to:
        return run_text(where, rw.sql);
      default:
        break;
    }
    result_set rs = guarded(where, rw.sql, [&] {
      result_set one = rw.markers.empty() && rw.what != ora_rw::kind::block_call
                           ? run_text(where, rw.sql, m_raw_rows)
                           : execute_prepared(where, rw.sql, values, rw.markers);
      if (rw.block) no_data_found(where, rw.sql);
      return one;
    }, rw.block);
    reopen_after_ddl(where);
    return rs;
  }

  KCLASSIC::tagLpmConfig* m_trace;
  KAdpConfig* m_config;
  MYSQL* m_db = nullptr;
  bool m_in_txn = false;
  std::map<std::string, MYSQL_STMT*> m_cache;
  std::list<std::string> m_cache_order;
  std::unordered_map<std::string, std::shared_ptr<const rewrite_entry>> m_rewrites;
  std::list<std::string> m_rewrite_order;
  std::vector<std::string> m_statements;
  std::vector<bind_map> m_binds;
  size_t m_next = 0;
  result_set m_current;
  size_t m_moved = 0;      // rows of m_current moved by MoveNextRow
  bool m_raw_rows = false;  // the batch's query keeps its rows as sent
  std::string m_scratch;
};

}  // namespace

extern "C" ORB_API KCLASSIC::tagPpmDataSvc* ClassicCreateDataSvc(KCLASSIC::tagLpmConfig* config) {
  // The client library is set up once, before any thread makes a connection.
  static const int library = mysql_library_init(0, nullptr, nullptr);
  if (library != 0) raise(ora_err::ORACLE, "ClassicCreateDataSvc", "MariaDB client library failed", "");
  return new OraDataSvc(config);
}
