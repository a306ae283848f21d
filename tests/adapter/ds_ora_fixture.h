// Tests of the Oracle-dialect service on the shared MariaDB server, each in a
// database of its own (testdb::database, dropped when the test ends): a
// service loaded by its library name, connected as root, and helpers that
// run statements, queries and batches shaped as the adapter's batch sends
// them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "adapter/adp_cfg.h"
#include "adapter/adp_dsvc.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_rec.h"
#include "testdb/testdb_database.h"

// The Oracle-dialect service's library name for SetPOrbDllName.
std::string ds_ora_dll();

// One bind variable: its marker (":B0", "b:B1" for bytes), the value text (or
// the bytes) and its record SQL type.
struct ds_bind {
  std::string marker;
  std::string value;
  long type = 6;
};
struct ds_stmt {
  std::string sql;
  std::vector<ds_bind> binds;
};

// What a call threw: the number and both texts (number 0: nothing).
struct ds_error {
  long number = 0;
  std::string text1;
  std::string text2;
};

class ds_ora_test : public adp_test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new service on the server (string 2) in database_ (string 15); not
  // connected.
  KCLASSIC::tagPpmDataSvc* open(const std::string& server, bool utf8 = true);
  // A new service connected as root.
  KCLASSIC::tagPpmDataSvc* open_connected(bool utf8 = true);

  // Runs f and reports what it threw.
  template <class F>
  static ds_error error_of(F f) {
    try {
      f();
    } catch (KCLASSIC::KErr* e) {
      ds_error r{e->GetErrorNum(), static_cast<const char*>(e->m_strText1), static_cast<const char*>(e->m_strText2)};
      delete e;
      return r;
    }
    return ds_error{};
  }

  // ExecStatement; the rows affected.
  long exec(const std::string& sql, KCLASSIC::tagPpmDataSvc* svc = nullptr);
  // ExecQuery into a new record.
  std::unique_ptr<KAdpUtlRecord> query(const std::string& sql, KCLASSIC::tagPpmDataSvc* svc = nullptr);
  // The cell's text ("<null>" for a missing text).
  static std::string cell(KAdpUtlRecord& r, long row, long col);
  // StartBatch with the statements and their bind records.
  void start_batch(const std::vector<ds_stmt>& stmts, KCLASSIC::tagPpmDataSvc* svc = nullptr);
  // FetchNextSet's row count.
  long fetch(KCLASSIC::tagPpmDataSvc* svc = nullptr);
  // One statement with its binds as a batch of its own: the row count.
  long run(const ds_stmt& stmt, KCLASSIC::tagPpmDataSvc* svc = nullptr);

  // Sets the server and the database of a configuration.
  void point_at(KAdpConfig& cfg, const std::string& server) const;

  testdb::database db_;
  std::string socket_;
  // The database the services use: db_'s, unless a test names another.
  std::string database_;
  KCLASSIC::tagPpmDataSvc* svc_ = nullptr;

 private:
  std::vector<std::unique_ptr<KAdpConfig>> configs_;
  std::vector<KCLASSIC::tagPpmDataSvc*> services_;
  std::vector<char*> bytes_;
};
