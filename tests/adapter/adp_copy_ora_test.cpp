// Oracle's copy of a changed table on the MariaDB server: the range copy of
// object ids 1 to 2500 (ranges 1-1001, 1002-2002, 2003-3003) into a table
// with new columns ("''" becoming null, the default date, a new long text
// an empty large object, an old one through TO_LOB), and the INSERT ...
// SELECT with NVL(TO_CLOB(...)) during a long-text upgrade; rows compared by
// SQL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_ora_session.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_rec.h"

namespace {

constexpr unsigned long kLobUpgrade = 0x1000000;

class AdpCopyOra : public adp_ora_open_test {
 protected:
  void SetUp() override {
    adp_ora_open_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(cmn_meth_install_all(), 0);
    typ_sch_set_bld_options(kLobUpgrade);
    // Ids 1 to 2500 from four digit tables.
    ASSERT_TRUE(db_.run(
        "create table digits(d int); insert into digits values (0),(1),(2),(3),(4),(5),(6),(7),(8),(9);"
        "create table table_rc_old(objid int, title varchar(30), notes longtext);"
        "insert into table_rc_old select a.d*1000+b.d*100+c.d*10+e.d+1, concat('t''', a.d*1000+b.d*100+c.d*10+e.d+1),"
        " concat('n', a.d) from digits a, digits b, digits c, digits e where a.d*1000+b.d*100+c.d*10+e.d < 2500;"
        "create table table_rc_new(objid int, title varchar(30), notes longtext, fresh varchar(10), due datetime,"
        " memo longtext);"));
    for (const auto& [name, code] : std::vector<std::pair<const char*, long>>{
             {"objid", 0}, {"title", 7}, {"notes", 10}, {"fresh", 7}, {"due", 9}, {"memo", 8}}) {
      typ_sch_frec f{};
      f.name = const_cast<char*>(name);
      f.db_type = code;
      fields_.push_back(f);
    }
    schema_.nfields = static_cast<long>(fields_.size());
    schema_.fields = fields_.data();
  }
  void TearDown() override {
    typ_sch_set_bld_options(0);
    for (utl_ty_col* c : cols_) utl_col_free("test", c);
    adp_ora_open_test::TearDown();
  }
  utl_ty_col* col(const std::vector<std::string>& texts) {
    utl_ty_col* c = nullptr;
    EXPECT_EQ(utl_col_make("test", 516, 8, 8, 0, 0, &c), 0);
    for (const std::string& t : texts) utl_col_push(c, t.c_str(), nullptr);
    cols_.push_back(c);
    return c;
  }

  std::vector<typ_sch_frec> fields_;
  typ_sch_srec schema_{};
  std::vector<utl_ty_col*> cols_;
};

TEST_F(AdpCopyOra, TheRangeCopyCarriesEveryRowWithTheNewColumnsFilled) {
  KAdpDbOperation* op = con_->GetDbOperation();
  char none[] = "";
  ASSERT_EQ(op->SceFillFileFromTable(none, none, none, none, const_cast<char*>("table_rc_old"),
                                     const_cast<char*>("table_rc_new"), &schema_,
                                     col({"objid", "title", "notes", "''", adp_obj_default_datetime(), "''"}),
                                     col({"objid", "title", "notes", "fresh", "due", "memo"}),
                                     col({"0", "0", "0", "1", "1", "1"}), nullptr, 0),
            0)
      << core_top_alert_text();
  EXPECT_EQ(value("select count(*) from table_rc_new"), "2500");
  EXPECT_EQ(value("select min(objid) from table_rc_new"), "1");
  EXPECT_EQ(value("select max(objid) from table_rc_new"), "2500");
  // Every old row is there unchanged, quotes and long texts included.
  EXPECT_EQ(value("select count(*) from table_rc_old o join table_rc_new n on n.objid = o.objid and "
                  "n.title = o.title and n.notes = o.notes"),
            "2500");
  EXPECT_EQ(value("select title from table_rc_new where objid = 1002"), "t'1002");
  EXPECT_EQ(value("select count(*) from table_rc_new where fresh is null"), "2500");
  EXPECT_EQ(value("select count(*) from table_rc_new where memo = ''"), "2500");
  EXPECT_EQ(value("select max(due) from table_rc_new"), "1753-01-01 00:00:00");
  EXPECT_EQ(value("select count(*) from table_rc_new where due = '1753-01-01 00:00:00'"), "2500");
}

TEST_F(AdpCopyOra, TheInsertSelectTurnsLongTextIntoLargeObjects) {
  ASSERT_TRUE(db_.run("update table_rc_old set notes = null where objid > 2000;"));
  KAdpDbOperation* op = con_->GetDbOperation();
  long highest = 2100;
  ASSERT_EQ(op->SceFillTableFromTable(const_cast<char*>("table_rc_old"), const_cast<char*>("table_rc_new"),
                                      col({"objid", "title", "notes"}), col({"objid", "title", "notes"}), &highest,
                                      nullptr, 0, &schema_),
            0)
      << core_top_alert_text();
  EXPECT_EQ(value("select count(*) from table_rc_new"), "2100");
  EXPECT_EQ(value("select count(*) from table_rc_new where notes = ''"), "100");
}

}  // namespace
