// The fixture of the relation suites on the scripted service: the model
// schemas (cases pointing to sites, notes pointing to cases through the
// pair of physical-name and focus columns, sites linked to contacts), a
// SQL Server connection writing values into the texts, and the texts a
// call appends or sends.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_cfg.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_qry_model.h"
#include "adapter/adp_rel.h"
#include "adapter/adp_sql.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"

// Header flag 32: the offline feature.
constexpr long kRoamer = 32;

// A row of a table of calls on a pair of ids: the relation named on the
// type, and the texts sent.
struct adp_rel_pair_row {
  const char* what;
  long flags;
  obj_id* primary;
  long type;
  const char* name;
  obj_id* foreign;
  std::vector<std::string> expected;
};

class adp_rel_texts : public adp_test {
 protected:
  static constexpr long kBindSwitch = 9;

  void SetUp() override {
    adp_test::SetUp();
    adp_qry_model::build();
    con_ = connect("oledb");
    literals(con_);
    adp_db_set_head_read(1);
    adp_db_set_flags(0);
  }
  void TearDown() override {
    adp_rel_abort_batch();
    adp_db_set_flags(0);
    adp_db_set_head_read(0);
    adp_test::TearDown();
  }
  static typ_sch_rrec* record(long type, const char* name) {
    return adp_qry_model::schema(type)->rels[adp_qry_model::rel(type, name)].rel;
  }
  // Values written into the texts, so that they can be read there.
  static void literals(KAdpConnId* con) {
    con->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kBindSwitch), 0);
  }
  // The statements a text call appends to a fresh batch, joined by "|".
  template <class F>
  std::string text(F&& call) {
    void* stmt = nullptr;
    EXPECT_EQ(adp_sql_create(con_, &stmt), 0);
    auto* b = static_cast<KAdpSqlBatch*>(stmt);
    EXPECT_EQ(call(b), 0);
    std::string out;
    for (long i = 0; i < b->GetStmtCount(); ++i) out += (i > 0 ? "|" : "") + std::string(b->GetStmt(i));
    adp_sql_free(con_, stmt);
    return out;
  }
  // The texts sent to the service since its last reset.
  static std::vector<std::string> sent() {
    std::vector<std::string> out;
    for (const std::string& c : ds_script::calls())
      for (const char* p : {"FetchNextSet ", "ExecQuery ", "ExecDml "})
        if (c.rfind(p, 0) == 0) out.push_back(c.substr(std::string(p).size()));
    return out;
  }
  static obj_id rel_site(long n) { return obj_id{adp_qry_model::kSite, n, 0}; }
  static obj_id rel_case(long n) { return obj_id{adp_qry_model::kCase, n, 0}; }
  static obj_id rel_note(long n) { return obj_id{adp_qry_model::kNote, n, 0}; }
  static obj_id rel_contact(long n) { return obj_id{adp_qry_model::kContact, n, 0}; }

  KAdpConnId* con_ = nullptr;
};
