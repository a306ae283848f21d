// Adapter tests on the run's MariaDB server through the Oracle-dialect
// service: each test case in a database of its own holding the CRM fixture,
// with sessions of the driver "oracle" pointed at it.
#pragma once

#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_fixture.h"
#include "testdb/testdb_database.h"

// The service library by its path, and by the name the adapter loads.
std::string adp_ora_library();
std::string adp_ora_dll();

class adp_ora_test : public adp_test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A session on the test's own database: allocated, pointed at it,
  // connected, current.
  KAdpConnId* session();
  // A session with the fixture's database "crm" open and its header read
  // (site 0, no offline synchronisation).
  KAdpConnId* opened();
  // A session on the test's database, header flags set first, with the
  // store's model of "crm" opened from its dictionary.
  KAdpConnId* store_session(long flags);
  // One cell of a query in the test's database ("" when there is no row).
  std::string value(const std::string& sql);
  // The schema model as the schema layer dumps it.
  static std::string model_dump();

  testdb::database db_;
};

// The same, each test case starting with the session of opened() in con_.
class adp_ora_open_test : public adp_ora_test {
 protected:
  void SetUp() override;

  KAdpConnId* con_ = nullptr;
};
