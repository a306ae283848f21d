// Relation suites on the run's MariaDB server through the Oracle-dialect
// service, driven by the store: a session on the CRM fixture with the
// object and relation tables (persons pointing to firms, persons linked to
// topics, tickets and notes), objects with ids from the counter table, the
// store's write queue and the SQL log.
#pragma once

#include <string>
#include <vector>

#include "adapter/adp_ora_session.h"
#include "store/dbs_obj.h"
#include "testdb/testdb_database.h"

constexpr long kPerson = 44;
constexpr long kFirm = 45;
constexpr long kTopic = 46;

class adp_rel_e2e : public adp_ora_test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A session with "crm" open; header flags given (32: offline feature).
  KAdpConnId* login(long flags);
  // A new local object of the type with its id from the counter table and
  // one text field set.
  dbs_ty_lobj* fresh(long type, const char* field, const char* text, obj_id* id);
  // The stored object (freed at the end of the test).
  dbs_ty_lobj* stored(obj_id* id);
  // The relation index of a relation named on a type.
  static long rel(long type, const char* name);
  // Queues a relate (1) or unrelate (0) of a and b by a's relation.
  static void queue(obj_id a, const char* name, obj_id b, char relate, obj_id link = {});
  // The SQL log's lines since the test began.
  std::vector<std::string> log_lines() const;
  long count_lines(const std::string& text) const;
  // One column of one row of the table by number ("" when absent, "-" null).
  std::string cell(const std::string& column, const std::string& table, long number);
  static std::string alerts();

  KAdpConnId* cid_ = nullptr;
  std::vector<dbs_ty_lobj*> objects_;
  std::string log_path_;
};
