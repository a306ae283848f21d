// Oracle views on the MariaDB server: the dialect's CREATE VIEW texts run
// through the Oracle-dialect service as the schema writer runs them, and
// the rows each view gives, checked by SQL: the worked example, aliases,
// each outer join with the rows it keeps, a link table, exclusive
// relations, joins reduced to the foreign key, DISTINCT and an SQL-defined
// view.
#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_ora_session.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_view_model.h"
#include "core/cmn/cmn_meth.h"
#include "core/core_fixture.h"
#include "schema/typ_rec.h"

namespace {

constexpr unsigned long kDistinctView = 0x20;

class AdpViewOra : public adp_ora_test {
 protected:
  void SetUp() override {
    adp_ora_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(cmn_meth_install_all(), 0);
    con_ = session();
    ASSERT_NE(con_, nullptr);
    // Sites 1 North (contacts Ann and Cid, a note) and 2 South (nothing);
    // Bob works at no site; notes of contacts carry type 10, of sites 11.
    ASSERT_TRUE(db_.run(
        "create table table_site (objid int, name varchar(30));"
        "create table table_contact (objid int, first_name varchar(30), last_name varchar(30), contact2site int);"
        "create table table_tag (objid int, label varchar(30));"
        "create table mtm_contact1_tag0 (contact2tag int, tag2contact int);"
        "create table table_note (objid int, memo varchar(30), group2g int, gr_type_g int);"
        "insert into table_site values (1, 'North'), (2, 'South');"
        "insert into table_contact values (1, 'Ann', 'Ash', 1), (2, 'Bob', 'Birch', null), (3, 'Cid', 'Cole', 1);"
        "insert into table_tag values (1, 'vip'), (2, 'new');"
        "insert into mtm_contact1_tag0 values (1, 1), (1, 2), (3, 1);"
        "insert into table_note values (1, 'n-ann', 1, 10), (2, 'n-north', 1, 11), (3, 'n-bob', 2, 10),"
        " (5, 'n-gone', 99, 10);"));
  }

  // Creates the view through the service, as the schema writer does.
  void make(const char* view) {
    long st = 0;
    const std::string text = model_.sql(con_, view, &st);
    ASSERT_EQ(st, 0) << view << ": " << core_top_alert_text();
    void* stmt = nullptr;
    ASSERT_EQ(adp_sql_create(con_, &stmt), 0);
    long run = adp_sql_append(con_, stmt, text.c_str());
    if (run == 0) run = adp_sql_execute(con_, stmt);
    if (run == 0) run = adp_sql_result();
    adp_sql_free(con_, stmt);
    ASSERT_EQ(run, 0) << view << ":\n" << text << "\n" << core_top_alert_text();
  }
  // The view's rows, cells joined by "|", rows by ";", in the order given.
  std::string rows(const std::string& view, const std::string& order) {
    std::string out;
    for (const auto& row : db_.query("select * from table_" + view + " order by " + order)) {
      if (!out.empty()) out += ";";
      for (size_t i = 0; i < row.size(); ++i) out += (i ? "|" : "") + row[i];
    }
    return out;
  }

  adp_view_model model_;
  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpViewOra, TheWorkedExampleSelectsItsJoinedRows) {
  ASSERT_EQ(model_.compile(kAdpWorkedExample), 0) << core_top_alert_text();
  ASSERT_TRUE(db_.run("create table table_T1 (objid int, x int); create table table_T2 (objid int, y int, fk int);"
                      "insert into table_T1 values (1, 10), (2, 20);"
                      "insert into table_T2 values (1, 100, 1), (2, 101, 1), (3, 300, 9);"));
  make("V");
  EXPECT_EQ(rows("V", "b"), "10|100;10|101");
}

TEST_F(AdpViewOra, EachJoinGivesItsRows) {
  ASSERT_EQ(model_.compile(std::string(kAdpViews) + kAdpIdViews), 0) << core_top_alert_text();
  ASSERT_EQ(model_.eliminate_joins(), 0);
  model_.view("sites_with_contacts")->flags |= kDistinctView;
  struct row {
    const char* view;
    const char* order;
    const char* rows;
  };
  const row cases[] = {
      {"contact_site", "first", "Ann|North;Cid|North"},                    // aliases, inner join
      {"contact_any_site", "first", "Ann|North;Bob|<null>;Cid|North"},     // every contact kept
      {"site_any_contact", "site, first", "North|Ann;North|Cid;South|<null>"},  // every site kept
      {"contact_tags", "first, label", "Ann|new;Ann|vip;Cid|vip"},         // a link table
      // Exclusive relations: only the relation's own type of note.
      {"site_notes", "site", "North|n-north;South|<null>"},
      {"contact_notes", "first", "Ann|n-ann;Bob|n-bob"},
      {"note_contacts", "memo", "n-ann|Ann;n-bob|Bob;n-gone|<null>"},
      {"site_contact_note", "first", "North|Ann|n-ann;North|Cid|<null>"},
      {"wide", "f4", "Ann|Ash|North|new|n-ann|1|1;Ann|Ash|North|vip|n-ann|1|1"},  // four tables
      {"contacts", "first", "Ann|Ash;Bob|Birch;Cid|Cole"},
      {"sites_with_contacts", "site", "North"},  // DISTINCT
      {"sqlv", "a", "1|Ann|Ash|1|2|ANN;2|Bob|Birch|<null>|3|BOB;3|Cid|Cole|1|4|CID"},
      // Joins reduced to the foreign key.
      {"site_id_inner", "first", "Ann|1;Cid|1"},
      {"site_id_kept", "first", "<null>|<null>;Ann|1;Cid|1"},
      {"note_owner", "memo", "n-ann|1;n-bob|2;n-gone|99"},
      {"note_owner_kept", "memo", "<null>|<null>;n-north|1"},
  };
  for (const row& c : cases) {
    make(c.view);
    EXPECT_EQ(rows(c.view, c.order), c.rows) << c.view;
  }
}

}  // namespace
