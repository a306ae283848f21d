// The schema upgrade end to end on the run's MariaDB server through the
// Oracle-dialect service: a database narrowed from the CRM fixture, its
// tables made from the model the store reads, rows put in by SQL; a
// changed schema file then compiled in upgrade mode and applied.
#pragma once

#include <string>
#include <vector>

#include "adapter/adp_ora_session.h"

class KAdpConnId;
struct typ_sch_srec;

// Schema-file attributes of an object id and of a text column.
#define ADP_UPG_ID " CMN_DATA_TYPE=512 DB_DATA_TYPE=0 GEN_FIELD_ID=3"
#define ADP_UPG_TEXT(n) " CMN_DATA_TYPE=516 DB_DATA_TYPE=7 ARRAY_SIZE=" #n

// The schema file of the starting point, one text per type, so that a
// test changes only what it means to.
struct adp_upg_schema {
  std::string case_type, site, contact, employee, views;
  std::string text() const { return case_type + site + contact + employee + views; }
};
adp_upg_schema adp_upg_start_schema();

class adp_upg_test : public adp_ora_test {
 protected:
  void SetUp() override;
  // The store's session with the offline feature on, the model read, the
  // tables and the view made from it.
  KAdpConnId* start();
  // Writes the schema text and compiles it in upgrade mode with the
  // options (upgrade added); the printed output is kept in out_.
  long upgrade(const std::string& schema, unsigned long options);
  // A fresh session whose open reads the dictionary again; the type's
  // record in the new model (null when it has none).
  typ_sch_srec* reopened(long type_id);
  // A whole column of a query, one cell per row.
  std::vector<std::string> column(const std::string& sql);
  // The column names of a table in the test's database, in order.
  std::vector<std::string> columns_of(const std::string& table);

  std::string out_;
  KAdpConnId* con_ = nullptr;
};
