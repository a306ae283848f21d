// Object-row statements as the server receives them, through the scripted
// service: SQL Server's exact texts of create, locked read, delete with
// change rows, updates (plain and stamp-checked), increments and the
// id-table statements, and Oracle's blocks compared whole.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_obj_model.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "core/clk/clk_srv.h"
#include "core/cmn/cmn_dec.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_rdb.h"

namespace {

using namespace adp_obj_model;
using ds_script::cell;

constexpr long kSearchFlag = 1;
constexpr long kBindSwitch = 9;

class AdpObjSql : public adp_test {
 protected:
  void open(const char* driver, long flags) {
    build();
    con_ = connect(driver);
    adp_db_set_head_read(1);
    adp_db_set_site_id(0);
    adp_db_set_flags(flags);
    // The change dates come from the process's clock.
    clk_time_diff_cache_set(0);
    ds_script::reset();
  }
  void TearDown() override {
    release();
    adp_db_set_head_read(0);
    adp_test::TearDown();
  }
  // A ticket with number 7: title, notes, opened, amount, ratio, count set;
  // dirty marks as given.
  dbs_ty_lobj* ticket(bool dirty) {
    dbs_ty_lobj* o = make(kTicket, 7);
    text(o, kTitle, "Hello");
    text(o, kNotes, "long");
    clktime at{};
    EXPECT_EQ(adp_time_str_to_clk("03/04/2021 10:20:30", &at), 0);
    boxed(o, kOpened, at);
    boxed(o, kStamp, at);
    cmn_ty_decimal d{};
    std::strcpy(d.text, "12.50");
    d.precision = 4;
    d.scale = 2;
    boxed(o, kAmount, d);
    boxed(o, kRatio, 0.25);
    EXPECT_EQ(dbs_fld_set(o, kCount, &kFortyTwo), 0);
    if (!dirty) {
      EXPECT_EQ(dbs_obj_mark_dirty(o, 0), 0);
    }
    return o;
  }
  static void text(dbs_ty_lobj* o, long field, const char* v) { EXPECT_EQ(dbs_fld_set(o, field, &v), 0); }
  template <class T>
  static void boxed(dbs_ty_lobj* o, long field, const T& v) {
    const void* p = &v;
    EXPECT_EQ(dbs_fld_set(o, field, &p), 0);
  }
  static void step(dbs_ty_lobj* o, long field, long amount, bool up) {
    EXPECT_EQ(dbs_fld_set_relative(o, field, &amount, up ? 1 : 0), 0);
  }
  static constexpr long kFortyTwo = 42;
  KAdpConnId* con_ = nullptr;
};

// The binding switch and the texts of a create, per server feature.
TEST_F(AdpObjSql, SqlServerCreateWritesLiteralsAndTemporaryKeys) {
  const struct {
    long flags;
    const char* text;
  } rows[] = {
      {kSearchFlag,
       "insert into table_ticket ( objid, title, S_title, notes, opened, amount, ratio, count, mod_stamp)\n"
       " values(7,'Hello','HELLO','long','2021-03-04 10:20:30',12.50,0.250000,42,'2021-03-04 10:20:30')"},
      {DBS_HDR_ROAMER,
       "insert into table_ticket ( objid, dev, title, notes, opened, amount, ratio, count, mod_stamp)\n"
       " values(7,0,'Hello','long','2021-03-04 10:20:30',12.50,0.250000,42,'2021-03-04 10:20:30')"},
  };
  for (const auto& r : rows) {
    open("oledb", r.flags);
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kBindSwitch), 1);
    obj_id id{kTicket, 7, 0};
    EXPECT_EQ(adp_obj_create(con_, &id, ticket(true)), 0);
    EXPECT_EQ(adp_script_sent(), std::vector<std::string>{r.text});
    EXPECT_EQ(ds_script::count("EndTransaction 1"), 1);
    // The switch is back as it was.
    EXPECT_EQ(con_->GetConfig().GetPropertyBool(static_cast<KAdpConfig::bool_type>(kBindSwitch)), 1);
  }
  // A note's relation columns hold the temporary key; the pair also the
  // ticket's type.
  dbs_ty_lobj* note = make(kNote, 9);
  text(note, 2, "n");
  obj_id id{kNote, 9, 0};
  ASSERT_EQ(adp_obj_create(con_, &id, note), 0);
  const std::string key = std::to_string(dbs_rdb_temp_unique_key(9));
  EXPECT_EQ(adp_script_sent().back(), "insert into table_note ( objid, dev, text, note2ticket, owner_id, owner_type)\n"
                                      " values(9,0,'n', " + key + ", " + key + ", 40)");
}

TEST_F(AdpObjSql, SqlServerLockedReadAndExistence) {
  open("oledb", 0);
  const long super = dbs_main_get_super_flag();
  dbs_main_set_super_flag(super & ~8L);
  const std::string columns = "select  objid, dev, title, notes, opened, amount, ratio, count, mod_stamp\n";
  for (bool in_transaction : {true, false}) {
    ds_script::reset();
    ds_script::push_result({{"objid", "dev", "title", "notes", "opened", "amount", "ratio", "count", "mod_stamp"},
                            {{cell::l(7), cell::l(1), cell::t("Hello"), cell::t("x"), cell::t("2021-03-04 10:20:30"),
                              cell::t("12.50"), cell::t("0.25"), cell::l(42), cell::t("2021-03-04 10:20:30")}}});
    if (in_transaction) {
      ASSERT_EQ(adp_trn_begin(con_), 0);
    }
    dbs_ty_lobj* o = make(kTicket, 0);
    ASSERT_EQ(adp_obj_get(con_, kTicket, 7, 1, o), 0);
    EXPECT_EQ(adp_script_sent(), std::vector<std::string>{columns + (in_transaction ? " from table_ticket HOLDLOCK"
                                                                                    : " from table_ticket ") +
                                                          "\n where objid = @V0"});
    EXPECT_EQ(o->slots[kCount].l, 42);
    EXPECT_EQ(o->flags & DBS_OBJ_PERM, DBS_OBJ_PERM);
    ds_script::reset();
    ds_script::push_result({{"objid"}, {{cell::l(7)}}});
    char found = 0;
    ASSERT_EQ(adp_obj_exist(con_, kTicket, 7, 1, &found), 0);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(adp_script_sent(), std::vector<std::string>{in_transaction
                                                              ? "select objid from table_ticket HOLDLOCK where objid = 7"
                                                              : "select objid from table_ticket where objid = 7"});
    if (in_transaction) {
      ASSERT_EQ(adp_trn_commit(con_), 0);
    }
  }
  dbs_main_set_super_flag(super);
}

TEST_F(AdpObjSql, SqlServerDeleteClearsReferencesWithChangeRows) {
  const std::vector<std::string> offline = {
      "DELETE FROM table_ticket WHERE objid = 7",
      " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
      " SELECT objid, dev+1, dev, @V0, @V1\n from table_note where note2ticket = @V2; \n"
      "UPDATE table_note SET dev = dev + 1, note2ticket = NULL WHERE note2ticket = 7\n",
      " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
      " SELECT objid, dev+1, dev, @V0, @V1\n from table_note where owner_id = @V2 and owner_type = 40; \n"
      "UPDATE table_note SET dev = dev + 1, owner_id = NULL, owner_type = NULL WHERE owner_id = 7 AND owner_type = "
      "40\n",
      "DELETE FROM mtm_ticket2_tag0 WHERE ticket2tag = 7"};
  const std::vector<std::string> online = {
      "DELETE FROM table_ticket WHERE objid = 7",
      "UPDATE table_note SET note2ticket = NULL WHERE note2ticket = 7",
      "update table_note set owner_id = NULL, owner_type = NULL where owner_id = @V0 and owner_type = @V1",
      "DELETE FROM mtm_ticket2_tag0 WHERE ticket2tag = 7"};
  for (long flags : {0L, DBS_HDR_ROAMER}) {
    open("oledb", flags);
    obj_id id{kTicket, 7, 0};
    ASSERT_EQ(adp_obj_delete(con_, &id, 1), 0);
    EXPECT_EQ(adp_script_sent(), flags != 0 ? offline : online);
  }
}

TEST_F(AdpObjSql, SqlServerUpdatesWithChangeRows) {
  const std::string plain_row =
      "INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
      " SELECT objid, dev + 1, dev, @V0 , @V1 from table_ticket where objid = @V2\n if (@@error=0)\n";
  const std::string step_row =
      " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
      " SELECT objid, dev+1+1, dev+1, @V3, '1 count ' + convert(varchar, LEN(convert(varchar, count+2))) + ' ' + "
      "convert(varchar, count+2) \nFROM table_ticket WHERE objid = @V4 \n";
  const struct {
    long flags;
    std::vector<std::string> texts;
  } rows[] = {
      {kSearchFlag | DBS_HDR_ROAMER,
       {plain_row + step_row,
        "UPDATE table_ticket SET dev = dev + 2, title = @V0, S_title = @V1,notes = '',count = count+2\n"
        " where objid = @V2"}},
      {kSearchFlag,
       {"update table_ticket \n set title = @V0, S_title = @V1,notes = '',count = count+2\n where objid = @V2"}},
  };
  for (const auto& r : rows) {
    open("oledb", r.flags);
    dbs_ty_lobj* o = ticket(false);
    text(o, kTitle, "Hi");
    text(o, kNotes, "");
    step(o, kCount, 2, true);
    ASSERT_EQ(adp_obj_put(con_, o), 0);
    EXPECT_EQ(adp_script_sent(), r.texts);
  }
  // Nothing dirty: nothing sent.
  ds_script::reset();
  ASSERT_EQ(adp_obj_put(con_, ticket(false)), 0);
  EXPECT_EQ(ds_script::calls(), std::vector<std::string>{});
}

TEST_F(AdpObjSql, SqlServerStampCheckedUpdates) {
  const std::string stamp = "mod_stamp = '2021-03-04 10:20:30'";
  const struct {
    long flags;
    std::vector<std::string> texts;
  } rows[] = {
      {DBS_HDR_ROAMER,
       {" DECLARE @dev INTEGER; BEGIN SELECT @dev =  dev FROM table_ticket WHERE objid = @V0 AND mod_stamp = @V1 "
        "INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) VALUES ( @V2, @dev+1, @dev, "
        "@V3, @V4 ); \n END;\n INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n "
        "SELECT objid, dev+1+1, dev+1, @V5, '1 count ' + convert(varchar, LEN(convert(varchar, count-3))) + ' ' + "
        "convert(varchar, count-3) \nFROM table_ticket WHERE objid = @V6 and " + stamp + " \n",
        "UPDATE table_ticket SET dev = dev + 2, title = @V0,count = count-3\n where objid = @V1\n and " + stamp + "\n"}},
      {kSearchFlag, {" update table_ticket\n set title = @V0,count = count-3\n where objid = @V1\n and " + stamp + "\n"}},
  };
  for (const auto& r : rows) {
    open("oledb", r.flags);
    for (long rows_changed : {1L, 0L}) {
      ds_script::reset();
      dbs_ty_lobj* o = ticket(false);
      text(o, kTitle, "Hi");
      step(o, kCount, 3, false);
      for (int i = 0; i < 3; ++i) ds_script::push_result({{}, {}, rows_changed});
      // A stale stamp changes no row: the object is reported missing.
      EXPECT_EQ(adp_obj_put_commit(con_, o, 32), rows_changed == 1 ? 0 : ADP_OBJ_NOT_FOUND);
      EXPECT_EQ(adp_script_sent(), r.texts);
      adp_trn_rollback(con_);
    }
  }
}

TEST_F(AdpObjSql, SqlServerIncrements) {
  const std::string expr =
      "'1 count ' + convert(varchar, LEN(convert(varchar, count+1))) + ' '+ convert(varchar, count+1)";
  const struct {
    long flags;
    const char* key;
    std::vector<std::string> texts;
  } rows[] = {
      {0, "", {"UPDATE table_ticket SET count = count + 1 where objid = @V0", "select count from table_ticket where objid = 7\n"}},
      {0, "'T-1'", {"update table_ticket set count = count + 1 where title = @V0\n", "select count from table_ticket where title = @V0\n"}},
      {DBS_HDR_ROAMER, "",
       {" INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n SELECT objid, dev+1, dev, "
        "@V0, " + expr + "FROM table_ticket WHERE objid = 7; \nUPDATE table_ticket SET dev = dev + 1, count = count + 1 "
        "WHERE objid = 7\n",
        "select count from table_ticket where objid = 7\n"}},
      {DBS_HDR_ROAMER, "'T-1'",
       {" INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n SELECT objid, dev+1, dev, "
        "@V0, " + expr + " FROM table_ticket WHERE title = @V1; \nUPDATE table_ticket SET dev = dev + 1, count = "
        "count + 1 WHERE title = @V2",
        "select count from table_ticket where title = @V0\n"}},
  };
  for (const auto& r : rows) {
    open("oledb", r.flags);
    ds_script::push_result({{}, {}, 1});
    ds_script::push_result({{"count"}, {{cell::l(43)}}});
    long out = 0;
    ASSERT_EQ(adp_obj_incr_field(con_, kTicket, r.key, "title", 7, "count", &out), 0) << r.key;
    EXPECT_EQ(out, 43);
    EXPECT_EQ(adp_script_sent(), r.texts);
  }
  // No row: 0x600004.
  ds_script::reset();
  ds_script::push_result({{}, {}, 0});
  ds_script::push_result({{"count"}, {}});
  long out = 0;
  EXPECT_EQ(adp_obj_incr_field(con_, kTicket, "", "", 8, "count", &out), ADP_SQL_NEXTROW_FAIL);
}

TEST_F(AdpObjSql, SqlServerIdStatements) {
  open("oledb", 0);
  ASSERT_EQ(adp_obj_oid_init(con_, 40, 0), 0);
  ASSERT_EQ(adp_obj_set_number(con_, 40, 500), 0);
  ASSERT_EQ(adp_obj_set_number(con_, 40, adp_obj_dummy_objid()), 0);
  ds_script::push_result({{}, {}, 1});
  ASSERT_EQ(adp_obj_set_negative_number(con_, 40, 500, 0, 0), 0);
  ds_script::push_result({{"obj_num"}, {{cell::l(12)}}});
  long current = 0;
  ASSERT_EQ(adp_obj_get_cur_obj_num(con_, "40", &current), 0);
  EXPECT_EQ(current, 12);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{
                "DELETE FROM adp_tbl_oid WHERE type_id = 40",
                "INSERT INTO adp_tbl_oid (type_id, obj_num) values (40,0)",
                "UPDATE adp_tbl_oid with (ROWLOCK, UPDLOCK) SET obj_num = 500                 WHERE type_id = 40 AND "
                "obj_num < 500",
                "UPDATE adp_tbl_oid SET obj_num = @V0 WHERE type_id = @V1 AND obj_num = @V2",
                "select obj_num from adp_tbl_oid where type_id = @V0\n"}));
  ds_script::reset();
  utl_ty_col* ranges = nullptr;
  ASSERT_EQ(utl_col_make("test", 594, 4, 4, 0, 0, &ranges), 0);
  for (long t : {40L, 41L}) {
    adp_ty_oid_range r{t, 100 * t, 10};
    utl_col_push(ranges, &r, nullptr);
  }
  ASSERT_EQ(adp_obj_return_cache(con_, ranges), 0);
  const std::string give_back = "insert into adp_tbl_oid_unused (type_id, min_obj, num_obj) values (";
  EXPECT_EQ(adp_script_sent(), (std::vector<std::string>{give_back + "@V0,@V1,@V2)", give_back + "@V0,@V1,@V2)"}));
  ds_script::reset();
  for (long i = 0; i < 2; ++i) {
    void* e = nullptr;
    utl_col_ith(ranges, i, &e);
    static_cast<adp_ty_oid_range*>(e)->base = -1;
    static_cast<adp_ty_oid_range*>(e)->count = -1;
  }
  ds_script::push_result({{"type_id", "min_obj", "num_obj"}, {{cell::l(41), cell::l(300), cell::l(5)}}});
  ds_script::push_result({{}, {}, 1});
  ASSERT_EQ(adp_obj_numbers_atou(con_, ranges), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{
                "select type_id, min_obj, num_obj from adp_tbl_oid_unused with (ROWLOCK, UPDLOCK) where \n"
                "type_id = @V0 and min_obj = (select min(b.min_obj) from adp_tbl_oid_unused b where type_id = @V1) or \n"
                "type_id = @V2 and min_obj = (select min(b.min_obj) from adp_tbl_oid_unused b where type_id = @V3)",
                "delete from adp_tbl_oid_unused where type_id = @V0 and min_obj = @V1"}));
  ds_script::reset();
  ds_script::push_result({{"type_id", "count"}, {}});
  utl_ty_col* counts = nullptr;
  ASSERT_EQ(utl_col_make("test", 594, 4, 4, 0, 0, &counts), 0);
  ASSERT_EQ(adp_obj_atou_init(con_, counts), 0);
  EXPECT_EQ(adp_script_sent(),
            std::vector<std::string>{"select type_id, count(*) from adp_tbl_oid_unused  (NOLOCK) group by type_id"});
  utl_col_free("test", counts);
  utl_col_free("test", ranges);
}

TEST_F(AdpObjSql, SqlServerForeignKeyProcedureText) {
  open("oledb", 0);
  const char* columns[] = {"note2ticket", "owner_id"};
  char out[512];
  ASSERT_EQ(adp_obj_get_fk_cols_sql(con_, kNote, 9, 2, columns, "get_note_fk", 1, out, sizeof out), 0);
  EXPECT_STREQ(out, "create proc get_note_fk @the_id int as\nselect  note2ticket,owner_id\n from table_note HOLDLOCK\n"
                    " where objid=@the_id\n");
  ASSERT_EQ(adp_obj_get_fk_cols_sql(con_, kNote, 9, 1, columns, nullptr, 0, out, sizeof out), 0);
  EXPECT_STREQ(out, "select  note2ticket\n from table_note \n where objid=9");
  // Too small a buffer is refused, not overrun.
  char small[16];
  EXPECT_EQ(adp_obj_get_fk_cols_sql(con_, kNote, 9, 1, columns, nullptr, 0, small, sizeof small), ADP_BAD_VALUE_TYPE);
  EXPECT_STREQ(small, "");
  // Oracle writes nothing.
  open("oracle", 0);
  ASSERT_EQ(adp_obj_get_fk_cols_sql(con_, kNote, 9, 1, columns, "p", 0, out, sizeof out), 0);
  EXPECT_STREQ(out, "");
}

TEST_F(AdpObjSql, OracleBlocksWhole) {
  open("oracle", kSearchFlag | DBS_HDR_ROAMER);
  const std::string insert = "INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n";
  const std::string reference_row = " " + insert + " SELECT objid, dev+1, dev, :B0, :B1\n from table_note where ";
  auto step_of = [](const char* sign) {
    return std::string("CONCAT(CONCAT(CONCAT('1 count ', TO_CHAR(LENGTH(TO_CHAR(count") + sign +
           ")))), ' '), TO_CHAR(count" + sign + "))";
  };
  auto increment = [&](const char* key) {
    long out = 0;
    return adp_obj_incr_field(con_, kTicket, key, "title", 7, "count", &out);
  };
  struct block {
    const char* what;
    std::function<long()> run;
    std::vector<std::string> texts;
  };
  const block blocks[] = {
      {"update",
       [&] {
         dbs_ty_lobj* o = ticket(false);
         text(o, kTitle, "Hi");
         step(o, kCount, 2, true);
         return adp_obj_put(con_, o);
       },
       {"BEGIN \n" + insert + " SELECT objid, dev + 1, dev, :B0 , :B1 from table_ticket where objid = :B2 ;  " + insert +
        " SELECT objid, dev+1+1, dev+1, :B3, " + step_of("+2") + " \nFROM table_ticket WHERE objid = :B4 \n ; "
        "UPDATE table_ticket SET dev = dev + 2, title = :B5, S_title = :B6,count = count+2\n where objid = :B7; END;\n"}},
      {"stamp-checked update",
       [&] {
         dbs_ty_lobj* o = ticket(false);
         text(o, kTitle, "Hi");
         step(o, kCount, 3, false);
         return adp_obj_put_commit(con_, o, 32);
       },
       {"BEGIN\n DECLARE \n   dev INTEGER; \n BEGIN \n   SELECT dev INTO dev FROM table_ticket WHERE objid = :B0 AND "
        "mod_stamp =  TO_DATE( :B1, 'MM/DD/YYYY HH24:MI:SS')  ; \n  INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, "
        "PREV_ROW_VER, TABLE_NAME, TX_DETAIL) VALUES ( :B2, dev+1, dev, :B3, :B4 ); \n END;\n " + insert +
        " SELECT objid, dev+1+1, dev+1, :B5, " + step_of("-3") +
        " \nFROM table_ticket WHERE objid = :B6 and mod_stamp = TO_DATE('03/04/2021 10:20:30', 'MM/DD/YYYY "
        "HH24:MI:SS') \n ; UPDATE table_ticket SET dev = dev + 2, title = :B7,count = count-3\n where objid = :B8\n"
        " and mod_stamp =  TO_DATE( :B9, 'MM/DD/YYYY HH24:MI:SS') \n;\nif SQL%ROWCOUNT <=0 THEN \n"
        "raise_application_error(-20899,'The record may have been changed, please refresh and try again.');\n"
        "END IF ; END;"}},
      {"delete",
       [&] {
         obj_id id{kTicket, 7, 0};
         return adp_obj_delete(con_, &id, 1);
       },
       {"DELETE FROM table_ticket WHERE objid = 7",
        "BEGIN \n " + reference_row + "note2ticket = :B2; \n"
        "UPDATE table_note SET dev = dev + 1, note2ticket = NULL WHERE note2ticket = 7\n ; END ; ",
        " BEGIN \n " + reference_row + "owner_id = :B2 and owner_type = 40; \n"
        "UPDATE table_note SET dev = dev + 1, owner_id = NULL, owner_type = NULL WHERE owner_id = 7 AND owner_type = "
        "40\n ; END; ",
        "DELETE FROM mtm_ticket2_tag0 WHERE ticket2tag = 7"}},
      {"increment by number", [&] { return increment(""); },
       {"BEGIN  " + insert + " SELECT objid, dev+1, dev, :B0, " + step_of("+1") +
            "FROM table_ticket WHERE objid = 7; \nUPDATE table_ticket SET dev = dev + 1, count = count + 1 WHERE "
            "objid = 7\n; END;",
        "select count from table_ticket where objid = 7\n"}},
      {"increment by key", [&] { return increment("'T-1'"); },
       {"BEGIN  " + insert + " SELECT objid, dev+1, dev, :B0, " + step_of("+1") +
            " FROM table_ticket WHERE title = :B1; \nUPDATE table_ticket SET dev = dev + 1, count = count + 1 WHERE "
            "title = :B2 ; END;",
        "select count from table_ticket where title = :B0\n"}},
      {"locked read",
       [&] {
         dbs_main_set_super_flag(dbs_main_get_super_flag() & ~8L);
         long st = adp_trn_begin(con_);
         if (st == 0) st = adp_obj_get(con_, kTicket, 7, 1, make(kTicket, 0));
         if (st == 0) st = adp_trn_commit(con_);
         dbs_main_set_super_flag(dbs_main_get_super_flag() | 8L);
         return st;
       },
       {"select  objid, dev, title, notes, TO_CHAR(opened, 'MM/DD/YYYY HH24:MI:SS'), amount, ratio, count, "
        "TO_CHAR(mod_stamp, 'MM/DD/YYYY HH24:MI:SS')\n from table_ticket \n where objid = :B0 for update"}},
  };
  for (const block& b : blocks) {
    ds_script::reset();
    ds_script::push_result({{}, {}, 1});
    ds_script::push_result({{"count"}, {{cell::l(43)}}});
    if (std::string(b.what) == "locked read") {
      ds_script::reset();
      ds_script::push_result({{"objid"}, {{cell::l(7)}}});
    }
    ASSERT_EQ(b.run(), 0) << b.what;
    EXPECT_EQ(adp_script_sent(), b.texts) << b.what;
  }
}

}  // namespace
