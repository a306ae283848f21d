// The scripted data service.
#include "platform/dataservice/ds_script.h"

#include <cstdlib>
#include <deque>
#include <stdexcept>

#include "adapter/adp_cfg.h"
#include "adapter/adp_dsvc.h"
#include "adapter/adp_rec.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_err.h"

using KCLASSIC::KErr;
using KCLASSIC::KZString;

namespace {

struct script_state {
  std::vector<std::string> calls;
  std::deque<ds_script::result> results;
  std::deque<long> ids;
  std::vector<std::pair<long, std::string>> outputs;
  std::vector<ds_script::failure> failures;
  double server_time = 0.0;
  long live = 0;
};

script_state& state() {
  static script_state s;
  return s;
}

constexpr const char kHex[] = "0123456789ABCDEF";

std::string upper_hex(const std::string& bytes) {
  std::string s;
  for (unsigned char b : bytes) {
    s += kHex[b >> 4];
    s += kHex[b & 0xF];
  }
  return s;
}

// Writes one cell by the record's declared column, else by the cell's kind.
void put_cell(KAdpUtlRecord& rec, long row, long col, const ds_script::cell& c, const std::string& name) {
  using ds_script::cell;
  std::string text = c.kind == cell::BINARY ? upper_hex(c.text) : c.text;
  if (col >= rec.GetColumns() || rec.GetColCellType(col) == KCLASSIC::UTL_CELL_EMPTY) {
    long sql = c.kind == cell::LONG ? KCLASSIC::UTL_DB_LONG : KCLASSIC::UTL_DB_VARSTR;
    rec.KUtlRecord::SetColType(col, 0, name.c_str(), sql);
  }
  long type = rec.GetColCellType(col);
  if (c.kind == cell::NUL) {
    rec.GetCellIndex(row, col, 0, 1);
  } else if (type == KCLASSIC::UTL_CELL_LONG && rec.GetColLetter(col) - 'A' == 3) {
    // A float column holds the float's bits.
    rec.SetFloat(row, col, std::strtof(text.c_str(), nullptr));
  } else if (type == KCLASSIC::UTL_CELL_LONG) {
    rec.SetLongVal(row, col, c.kind == cell::LONG ? c.number : std::strtol(text.c_str(), nullptr, 10));
  } else if (type == KCLASSIC::UTL_CELL_BSTR) {
    rec.SetKBstr(row, col, KCLASSIC::KBinSysAllocStringByteLen(text.data(), static_cast<unsigned>(text.size())), 0);
  } else {
    rec.KUtlRecord::SetString(row, col, text.c_str());
  }
}

void fill(KAdpUtlRecord& rec, const ds_script::result& r) {
  for (size_t i = 0; i < r.rows.size(); ++i) {
    for (size_t j = 0; j < r.rows[i].size(); ++j) {
      std::string name = j < r.columns.size() ? r.columns[j] : "Col";
      put_cell(rec, static_cast<long>(i), static_cast<long>(j), r.rows[i][j], name);
    }
  }
}

std::string bind_text(KAdpUtlRecord& rec, long row, long col) {
  long type = rec.GetColCellType(col);
  if (type == KCLASSIC::UTL_CELL_LONG) return std::to_string(rec.GetLongVal(row, col));
  if (type == KCLASSIC::UTL_CELL_STRING || type == KCLASSIC::UTL_CELL_BSTR) {
    const char* t = rec.GetString(row, col);
    return t != nullptr ? t : "";
  }
  return "";
}

class ScriptDataSvc final : public KCLASSIC::tagPpmDataSvc {
 public:
  explicit ScriptDataSvc(KCLASSIC::tagLpmConfig* config) : m_config(config) {
    ++state().live;
    note("Create");
  }
  ~ScriptDataSvc() override { --state().live; }

  long Release(long flag) override {
    note("Release " + std::to_string(flag));
    delete this;
    return 0;
  }

  long Connect(const char* login, const char* password, const char*) override {
    note(std::string("Connect ") + (login ? login : "") + " " + (password ? password : ""));
    check("Connect");
    return 0;
  }

  double GetServerTime() override {
    note("GetServerTime");
    check("GetServerTime");
    return state().server_time;
  }

  long StartBatch(KCLASSIC::KStringArray* statements, KAdpUtlRecord* binds, KCLASSIC::tagPpmStats*) override {
    m_statements.clear();
    m_next = 0;
    long n = statements != nullptr ? statements->GetSize() : 0;
    note("StartBatch " + std::to_string(n));
    std::string all;
    for (long i = 0; i < n; ++i) {
      std::string s = static_cast<const char*>((*statements)[static_cast<int>(i)]);
      m_statements.push_back(s);
      note("Statement " + s);
      all += s;
      all += "\n";
    }
    if (m_config != nullptr) m_config->Trace("SQL Batch started", all.c_str());
    if (binds != nullptr) {
      for (long r = 0; r < binds->GetRows(); ++r) {
        for (long c = 0; c < binds->GetColumns(); ++c) {
          std::string b = std::to_string(r) + "," + std::to_string(c) + "=" + bind_text(*binds, r, c);
          note("Bind " + b);
          if (m_config != nullptr) m_config->Trace("----BindVariables--", b.c_str());
        }
      }
    }
    check("StartBatch");
    return 0;
  }

  long EndBatch() override {
    note("EndBatch");
    check("EndBatch");
    return 0;
  }

  long BeginTransaction() override {
    note("BeginTransaction");
    check("BeginTransaction");
    if (m_config != nullptr) m_config->Trace("*** Begin Transaction ***", "");
    return 0;
  }

  long EndTransaction(char commit, char second) override {
    note("EndTransaction " + std::to_string(commit) + " " + std::to_string(second));
    check("EndTransaction");
    if (m_config != nullptr) {
      m_config->Trace(commit == 1 ? "*** Commit Transaction ***" : "*** Rollback Transaction ***", "");
    }
    return 0;
  }

  long SetBindInfo(KAdpUtlRecord& record) override {
    note("SetBindInfo " + std::to_string(record.GetColumns()));
    check("SetBindInfo");
    return 0;
  }

  long FetchNextSet(char, long& rows) override {
    while (m_next < m_statements.size() && m_statements[m_next].empty()) ++m_next;
    if (m_next >= m_statements.size()) {
      rows = -1;
      m_current = ds_script::result{};
      return 0;
    }
    const std::string& s = m_statements[m_next++];
    note("FetchNextSet " + s);
    if (m_config != nullptr) m_config->Trace("SQL Batch Execution", s.c_str());
    check("FetchNextSet");
    m_current = next_result();
    rows = m_current.count >= 0 ? m_current.count : static_cast<long>(m_current.rows.size());
    return 0;
  }

  long MoveRowset(KAdpUtlRecord& record, long first, long second) override {
    note("MoveRowset " + std::to_string(first) + " " + std::to_string(second));
    check("MoveRowset");
    fill(record, m_current);
    m_current.rows.clear();
    return 0;
  }

  long ExecQuery(KCLASSIC::tagPpmStats*, const char* text, KAdpUtlRecord& record) override {
    std::string s = text != nullptr ? text : "";
    if (s.empty()) return 0;
    note("ExecQuery " + s);
    check("ExecQuery");
    fill(record, next_result());
    return 0;
  }

  long ExecStatement(KCLASSIC::tagPpmStats*, const char* text, long* rows) override {
    std::string s = text != nullptr ? text : "";
    if (s.empty()) {
      if (rows != nullptr) *rows = 0;
      return 0;
    }
    note("ExecStatement " + s);
    check("ExecStatement");
    ds_script::result r = next_result();
    if (rows != nullptr) *rows = r.count >= 0 ? r.count : static_cast<long>(r.rows.size());
    return 0;
  }

  // A record of five longs is the id procedure's: each row's request is
  // noted and its id goes into the output column 2; any other record gets
  // its ids in column 0.
  long GenerateObjids(KAdpUtlRecord& record) override {
    note("GenerateObjids " + std::to_string(record.GetRows()));
    check("GenerateObjids");
    const bool procedure = record.GetColumns() == kIdRecordColumns;
    for (long r = 0; r < record.GetRows(); ++r) {
      if (procedure) note("ObjidRequest " + id_request(record, r));
      if (state().ids.empty()) continue;
      long id = state().ids.front();
      state().ids.pop_front();
      if (id != ds_script::kNoId) put_cell(record, r, procedure ? kIdOutColumn : 0, ds_script::cell::l(id), "objid");
    }
    return 0;
  }

  long ExecProc(KAdpUtlRecord& params, KZString name, long flag) override {
    note("ExecProc " + std::string(static_cast<const char*>(name)) + " " + std::to_string(flag));
    check("ExecProc");
    for (const auto& [col, text] : state().outputs) put_cell(params, 0, col, ds_script::cell::t(text), "out");
    return 0;
  }

 private:
  static constexpr long kIdRecordColumns = 5;
  static constexpr long kIdOutColumn = 2;

  static void note(std::string text) { state().calls.push_back(std::move(text)); }

  // "type count site roaming" of one row of the id procedure's record.
  static std::string id_request(KAdpUtlRecord& record, long row) {
    std::string out;
    for (long c : {0L, 1L, 3L, 4L}) {
      long v = 0;
      record.GetDataValue(row, c, v);
      out += (out.empty() ? "" : " ") + std::to_string(v);
    }
    return out;
  }

  static ds_script::result next_result() {
    if (state().results.empty()) return ds_script::result{};
    ds_script::result r = std::move(state().results.front());
    state().results.pop_front();
    return r;
  }

  // Throws the failure prepared for this occurrence of the call.
  static void check(const std::string& call) {
    long n = 0;
    for (const std::string& c : state().calls) {
      if (c == call || c.rfind(call + " ", 0) == 0) ++n;
    }
    for (const ds_script::failure& f : state().failures) {
      if (f.call != call || f.nth != n) continue;
      if (f.foreign) throw std::runtime_error(f.text1);
      auto* e = new KErr(f.number, ("ScriptDataSvc::" + call).c_str());
      e->m_strText1 = f.text1.c_str();
      e->m_strText2 = f.text2.c_str();
      throw e;
    }
  }

  KCLASSIC::tagLpmConfig* m_config;
  std::vector<std::string> m_statements;
  size_t m_next = 0;
  ds_script::result m_current;
};

}  // namespace

namespace ds_script {

void reset() {
  long live = state().live;
  state() = script_state{};
  state().live = live;
}

const std::vector<std::string>& calls() { return state().calls; }

long count(const std::string& prefix) {
  long n = 0;
  for (const std::string& c : state().calls) n += c.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

void push_result(result r) { state().results.push_back(std::move(r)); }
void set_server_time(double when) { state().server_time = when; }
void push_ids(std::vector<long> ids) { state().ids.insert(state().ids.end(), ids.begin(), ids.end()); }
void set_proc_outputs(std::vector<std::pair<long, std::string>> outputs) { state().outputs = std::move(outputs); }
void fail(failure f) { state().failures.push_back(std::move(f)); }
long live() { return state().live; }

}  // namespace ds_script

extern "C" __attribute__((visibility("default"))) KCLASSIC::tagPpmDataSvc* ClassicCreateDataSvc(
    KCLASSIC::tagLpmConfig* config) {
  return new ScriptDataSvc(config);
}
