// Object rows end to end on the run's MariaDB server through the
// Oracle-dialect service, driven by the store: tickets with a field of every
// value type created with ids from the counter table, read (also with a row
// lock inside a transaction), updated (plain, stamp-checked fresh and
// stale, increments), deleted with the notes that point to them cleared;
// with the offline feature on, the change rows and row versions; duplicate
// keys; and the pseudo types' ids.
#include <gtest/gtest.h>
#include <mysql.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_ora_session.h"
#include "adapter/adp_time.h"
#include "adapter/adp_trn.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "core/core_fixture.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_ids.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "store/dbs_rdb.h"
#include "core/utl/utl_col.h"

namespace {

constexpr long kTicket = 40;
constexpr long kNote = 41;
constexpr long kSearchFlag = 1;
constexpr long kCreatedFlag = 2;
constexpr long kStampOption = 32;

class AdpObjE2e : public adp_ora_test {
 protected:
  void SetUp() override {
    adp_ora_test::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(db_.load("crm_objects.sql"));
  }
  void TearDown() override {
    for (dbs_ty_lobj* o : objects_) dbs_obj_free_local("test", o);
    // The store's id cache outlives the test's database: it is given back.
    if (KAdpConnId* cid = adp_db_get_conn()) dbs_obj_return_cache(cid);
    adp_ora_test::TearDown();
  }
  dbs_ty_lobj* make(long type) {
    dbs_ty_lobj* o = nullptr;
    EXPECT_EQ(dbs_obj_make(nullptr, type, &o), 0);
    if (o != nullptr) objects_.push_back(o);
    return o;
  }
  static void set_text(dbs_ty_lobj* o, const char* field, const char* text) {
    ASSERT_EQ(dbs_fld_set_by_name(o, field, &text), 0) << field;
  }
  static void set_long(dbs_ty_lobj* o, const char* field, long v) {
    ASSERT_EQ(dbs_fld_set_by_name(o, field, &v), 0) << field;
  }
  template <class T>
  static void set_boxed(dbs_ty_lobj* o, const char* field, const T& v) {
    const void* p = &v;
    ASSERT_EQ(dbs_fld_set_by_name(o, field, &p), 0) << field;
  }
  // A ticket with every kind of value, created through the store.
  dbs_ty_lobj* ticket(KAdpConnId* cid, const char* title, obj_id* id) {
    dbs_ty_lobj* o = make(kTicket);
    set_text(o, "title", title);
    set_text(o, "notes", "a long text");
    set_boxed(o, "opened", opened_at());
    cmn_ty_decimal d{};
    std::strcpy(d.text, "12.50");
    d.precision = 4;
    d.scale = 2;
    set_boxed(o, "amount", d);
    set_boxed(o, "ratio", 0.25);
    set_long(o, "count", 42);
    EXPECT_EQ(dbs_obj_create(cid, o, id), 0);
    return o;
  }
  static clktime opened_at() {
    clktime t{};
    EXPECT_EQ(adp_time_str_to_clk("03/04/2021 10:20:30", &t), 0);
    return t;
  }
  std::vector<std::string> row(const std::string& columns, const std::string& table, long number) {
    testdb::rows r = db_.query("select " + columns + " from " + table + " where objid = " + std::to_string(number));
    return r.empty() ? std::vector<std::string>{} : r[0];
  }

  static std::string alerts() { return core_alert_texts_joined(); }

  std::vector<dbs_ty_lobj*> objects_;
};

TEST_F(AdpObjE2e, CreateReadUpdateAndDeleteRowsOfEveryValueType) {
  KAdpConnId* cid = store_session(kSearchFlag | kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  obj_id id{};
  dbs_ty_lobj* o = ticket(cid, "Mixed Case", &id);
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(id.type & DBS_OID_TYPE_MASK, kTicket);
  EXPECT_GT(id.num, 0);
  EXPECT_EQ(o->flags & DBS_OBJ_PERM, DBS_OBJ_PERM);
  // The number came from the counter row; no change row for an insert, and
  // no dev column written without the offline feature.
  EXPECT_GE(std::stol(value("select obj_num from adp_tbl_oid where type_id = 40")), id.num);
  EXPECT_EQ(row("title, S_title, notes, DATE_FORMAT(opened, '%Y-%m-%d %H:%i:%s'), amount, ratio, count, dev",
                "table_ticket", id.num),
            (std::vector<std::string>{"Mixed Case", "MIXED CASE", "a long text", "2021-03-04 10:20:30", "12.50",
                                      "0.25", "42", "<null>"}));
  EXPECT_EQ(value("select count(*) from de_updates"), "0");
  // The locale id 0 took the thread's, the change date the time now.
  EXPECT_NE(row("lcid", "table_ticket", id.num)[0], "0");
  EXPECT_NE(row("upd_date", "table_ticket", id.num)[0], "<null>");

  // Read into a new object.
  dbs_ty_lobj* back = nullptr;
  ASSERT_EQ(dbs_obj_get(cid, &id, 0, &back), 0);
  objects_.push_back(back);
  long v = 0, type = 0;
  ASSERT_EQ(dbs_fld_get_by_name(back, "title", &v, &type), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(v), "Mixed Case");
  ASSERT_EQ(dbs_fld_get_by_name(back, "count", &v, &type), 0);
  EXPECT_EQ(v, 42);
  ASSERT_EQ(dbs_fld_get_by_name(back, "ratio", &v, &type), 0);
  EXPECT_DOUBLE_EQ(*reinterpret_cast<const double*>(v), 0.25);
  ASSERT_EQ(dbs_fld_get_by_name(back, "amount", &v, &type), 0);
  EXPECT_STREQ(reinterpret_cast<const cmn_ty_decimal*>(v)->text, "12.50");
  ASSERT_EQ(dbs_fld_get_by_name(back, "opened", &v, &type), 0);
  EXPECT_EQ(reinterpret_cast<const clktime*>(v)->day, opened_at().day);
  EXPECT_EQ(reinterpret_cast<const clktime*>(v)->ticks, opened_at().ticks);

  // A plain update writes the dirty fields and the search copy.
  set_text(back, "title", "renamed");
  set_long(back, "count", 7);
  ASSERT_EQ(dbs_obj_put_options(cid, back, 0), 0);
  EXPECT_EQ(row("title, S_title, count, notes", "table_ticket", id.num),
            (std::vector<std::string>{"renamed", "RENAMED", "7", "a long text"}));

  // An empty string is written as ''.
  set_text(back, "notes", "");
  ASSERT_EQ(dbs_obj_put_options(cid, back, 0), 0);
  EXPECT_EQ(row("coalesce(notes, 'null')", "table_ticket", id.num)[0], "null");

  // A missing row: 0x70002d, the object stays as it was.
  obj_id missing{kTicket, id.num + 1000, 0};
  dbs_ty_lobj* none = make(kTicket);
  EXPECT_EQ(dbs_obj_get(cid, &missing, 0, &none), ADP_OBJ_NOT_FOUND);
  EXPECT_EQ(none->flags & DBS_OBJ_PERM, 0);
  char exists = 1;
  EXPECT_EQ(dbs_obj_exist(cid, &missing, &exists), 0);
  EXPECT_EQ(exists, 0);
  EXPECT_EQ(dbs_obj_exist(cid, &id, &exists), 0);
  EXPECT_EQ(exists, 1);
}

TEST_F(AdpObjE2e, DeleteClearsTheReferencesOfOneAndTwoColumns) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  obj_id id{};
  ASSERT_NE(ticket(cid, "to delete", &id), nullptr);
  const std::string n = std::to_string(id.num);
  // A new note's pointers hold the temporary key until the relation batch
  // writes them.
  obj_id note_id{};
  dbs_ty_lobj* note = make(kNote);
  set_text(note, "text", "fresh");
  ASSERT_EQ(dbs_obj_create(cid, note, &note_id), 0);
  const std::string key = std::to_string(dbs_rdb_temp_unique_key(note_id.num));
  EXPECT_EQ(row("note2ticket, owner_id, owner_type", "table_note", note_id.num),
            (std::vector<std::string>{key, key, "40"}));
  ASSERT_TRUE(db_.run("insert into table_note values(900, 1, 'a', " + n + ", " + n + ", 40);\n" +
                      "insert into table_note values(901, 1, 'b', " + n + ", " + n + ", 99);\n" +
                      "insert into table_note values(902, 1, 'c', 5, 5, 40);"));
  ASSERT_EQ(dbs_obj_delete(cid, &id), 0);
  EXPECT_EQ(value("select count(*) from table_ticket where objid = " + n), "0");
  testdb::rows notes = db_.query("select objid, coalesce(note2ticket, -1), coalesce(owner_id, -1), "
                                 "coalesce(owner_type, -1), dev from table_note where objid >= 900 order by objid");
  EXPECT_EQ(notes, (testdb::rows{{"900", "-1", "-1", "-1", "1"},
                                 {"901", "-1", n, "99", "1"},
                                 {"902", "5", "5", "40", "1"}}));
  EXPECT_EQ(value("select count(*) from de_updates"), "0");
}

TEST_F(AdpObjE2e, DeleteRemovesTheObjectsLinkRowsOnly) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  obj_id id{};
  ASSERT_NE(ticket(cid, "linked", &id), nullptr);
  const std::string n = std::to_string(id.num);
  ASSERT_TRUE(db_.run("insert into table_tag values(5, 1, 'urgent');\n"
                      "insert into table_tag values(6, 1, 'later');\n"
                      "insert into mtm_ticket2_tag0 values(" + n + ", 5);\n"
                      "insert into mtm_ticket2_tag0 values(" + n + ", 6);\n"
                      "insert into mtm_ticket2_tag0 values(" + std::to_string(id.num + 1) + ", 5);"));
  ASSERT_EQ(dbs_obj_delete(cid, &id), 0) << alerts();
  EXPECT_EQ(db_.query("select ticket2tag, tag2ticket from mtm_ticket2_tag0"),
            (testdb::rows{{std::to_string(id.num + 1), "5"}}));
  EXPECT_EQ(value("select count(*) from table_tag"), "2");
}

TEST_F(AdpObjE2e, OfflineDeleteWritesAChangeRowPerClearedReference) {
  KAdpConnId* cid = store_session(kCreatedFlag | DBS_HDR_ROAMER);
  ASSERT_NE(cid, nullptr);
  obj_id id{};
  ASSERT_NE(ticket(cid, "offline delete", &id), nullptr);
  const std::string n = std::to_string(id.num);
  // Note 901 points to an object of type 99 with the same number.
  ASSERT_TRUE(db_.run("insert into table_note values(900, 3, 'a', " + n + ", " + n + ", 40);\n" +
                      "insert into table_note values(901, 1, 'b', 5, " + n + ", 99);"));
  ASSERT_EQ(dbs_obj_delete(cid, &id), 0);
  testdb::rows changes =
      db_.query("select row_id, row_ver, prev_row_ver, table_name, tx_detail from de_updates order by tx_detail");
  EXPECT_EQ(changes, (testdb::rows{{"900", "4", "3", "table_note", "1 note2ticket 4 NULL"},
                                   {"900", "5", "4", "table_note", "2 owner_id 4 owner_type 4 NULLNULL"}}));
  EXPECT_EQ(row("coalesce(note2ticket, -1), coalesce(owner_id, -1), dev", "table_note", 900),
            (std::vector<std::string>{"-1", "-1", "5"}));
  EXPECT_EQ(row("note2ticket, owner_id, owner_type, dev", "table_note", 901),
            (std::vector<std::string>{"5", n, "99", "1"}));
}

TEST_F(AdpObjE2e, OfflineUpdatesWriteChangeRowsAndStepTheRowVersion) {
  KAdpConnId* cid = store_session(kCreatedFlag | DBS_HDR_ROAMER);
  ASSERT_NE(cid, nullptr);
  obj_id id{};
  ASSERT_NE(ticket(cid, "offline", &id), nullptr);
  dbs_ty_lobj* o = nullptr;
  ASSERT_EQ(dbs_obj_get(cid, &id, 0, &o), 0);
  objects_.push_back(o);
  // With the offline feature the insert writes dev (0 here), still without
  // a change row.
  EXPECT_EQ(row("dev", "table_ticket", id.num)[0], "0");
  EXPECT_EQ(value("select count(*) from de_updates"), "0");
  // A stamp-checked update of two plain fields and one increment.
  set_text(o, "title", "Hello");
  set_text(o, "notes", "ab");
  const long two = 2;
  long count_id = -1;
  ASSERT_EQ(dbs_fld_id_get_by_name(o, "count", &count_id), 0);
  ASSERT_EQ(dbs_fld_set_relative(o, count_id, &two, 1), 0);
  ASSERT_EQ(dbs_obj_put_options(cid, o, kStampOption), 0) << alerts();
  testdb::rows changes = db_.query(
      "select row_id, row_ver, prev_row_ver, table_name, tx_detail from de_updates order by row_ver");
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0][1] + "/" + changes[0][2], "1/0");
  EXPECT_EQ(changes[0][4], "2 title 5 notes 2 Helloab");
  EXPECT_EQ(changes[1], (std::vector<std::string>{std::to_string(id.num), "2", "1", "table_ticket", "1 count 2 44"}));
  EXPECT_EQ(row("title, notes, count, dev", "table_ticket", id.num),
            (std::vector<std::string>{"Hello", "ab", "44", "2"}));
  // The increment in the database: its detail holds the server's value.
  long out = 0;
  ASSERT_EQ(dbs_obj_incr_field(cid, kTicket, "", "", id.num, "count", &out), 0);
  EXPECT_EQ(out, 45);
  EXPECT_EQ(value("select tx_detail from de_updates where row_ver = 3"), "1 count 2 45");
  EXPECT_EQ(row("dev", "table_ticket", id.num)[0], "3");
  // A plain update raises dev by one with one change row (the store clears
  // the dirty marks of a saved object).
  ASSERT_EQ(dbs_obj_mark_dirty(o, 0), 0);
  set_text(o, "title", "plain");
  ASSERT_EQ(dbs_obj_put_options(cid, o, 0), 0);
  EXPECT_EQ(value("select tx_detail from de_updates where row_ver = 4"), "1 title 5 plain");
  EXPECT_EQ(row("dev", "table_ticket", id.num)[0], "4");
}

// A plain update of a field stepped by the store (its slot holds the
// amount) moves the column by the amount, as its change row says, on both
// update paths; it never writes the amount as the new value.
TEST_F(AdpObjE2e, SteppedFieldMovesByItsAmountOnBothUpdatePaths) {
  const struct {
    long flags;
    long options;
    char increment;  // 1: increment, else decrement
    const char* count;
    const char* detail;  // the offline change row
  } rows[] = {
      {kCreatedFlag, 0, 1, "44", nullptr},
      {kCreatedFlag, 0, 0, "40", nullptr},
      {kCreatedFlag | DBS_HDR_ROAMER, 0, 1, "44", "1 count 2 44"},
      {kCreatedFlag | DBS_HDR_ROAMER, 0, 0, "40", "1 count 2 40"},
      {kCreatedFlag, kStampOption, 1, "44", nullptr},
      {kCreatedFlag | DBS_HDR_ROAMER, kStampOption, 0, "40", "1 count 2 40"},
  };
  long round = 0;
  for (const auto& r : rows) {
    SCOPED_TRACE(round);
    KAdpConnId* cid = store_session(r.flags);
    ASSERT_NE(cid, nullptr);
    ASSERT_TRUE(db_.run("delete from de_updates;"));
    obj_id id{};
    ASSERT_NE(ticket(cid, ("stepped " + std::to_string(round++)).c_str(), &id), nullptr);
    dbs_ty_lobj* o = nullptr;
    ASSERT_EQ(dbs_obj_get(cid, &id, 0, &o), 0);
    objects_.push_back(o);
    const long two = 2;
    long count_id = -1;
    ASSERT_EQ(dbs_fld_id_get_by_name(o, "count", &count_id), 0);
    ASSERT_EQ(dbs_fld_set_relative(o, count_id, &two, r.increment), 0);
    ASSERT_EQ(dbs_obj_put_options(cid, o, r.options), 0) << alerts();
    EXPECT_EQ(row("count", "table_ticket", id.num)[0], r.count);
    if (r.detail != nullptr) EXPECT_EQ(value("select tx_detail from de_updates"), r.detail);
    else EXPECT_EQ(value("select count(*) from de_updates"), "0");
    dbs_db_logout(cid);
  }
}

TEST_F(AdpObjE2e, StaleStampFailsOnBothPathsAndAFreshOneWrites) {
  for (long flags : {kCreatedFlag, kCreatedFlag | DBS_HDR_ROAMER}) {
    SCOPED_TRACE(flags);
    KAdpConnId* cid = store_session(flags);
    ASSERT_NE(cid, nullptr);
    obj_id id{};
    ASSERT_NE(ticket(cid, flags == kCreatedFlag ? "stamp" : "stamp offline", &id), nullptr);
    dbs_ty_lobj* o = nullptr;
    ASSERT_EQ(dbs_obj_get(cid, &id, 0, &o), 0);
    objects_.push_back(o);
    set_long(o, "count", 1);
    ASSERT_EQ(dbs_obj_put_options(cid, o, kStampOption), 0) << alerts();
    EXPECT_EQ(row("count", "table_ticket", id.num)[0], "1");
    // Someone else changes the stamp: the update matches no row.
    ASSERT_TRUE(db_.run("update table_ticket set mod_stamp = '2001-01-01 00:00:00' where objid = " +
                        std::to_string(id.num) + ";"));
    set_long(o, "count", 9);
    EXPECT_EQ(dbs_obj_put_options(cid, o, kStampOption), ADP_OBJ_NOT_FOUND);
    adp_trn_rollback(cid);
    EXPECT_EQ(row("count", "table_ticket", id.num)[0], "1");
    dbs_db_logout(cid);
    cmn_alrt_clear(nullptr);
  }
}

TEST_F(AdpObjE2e, DuplicateKeyEndsAsNotUniqueWithTypeAndColumns) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  obj_id id{};
  ASSERT_NE(ticket(cid, "twice", &id), nullptr);
  dbs_ty_lobj* again = make(kTicket);
  set_text(again, "title", "twice");
  EXPECT_EQ(dbs_obj_create(cid, again, &id), DBS_NOT_UNIQUE);
  long type = 0;
  const char* fields = nullptr;
  ASSERT_EQ(dbs_obj_not_unique_fields(&type, &fields), 0);
  EXPECT_EQ(type, kTicket);
  ASSERT_NE(fields, nullptr);
  EXPECT_NE(std::string(fields).find("title"), std::string::npos) << fields;
  EXPECT_EQ(again->flags & DBS_OBJ_PERM, 0);
}

TEST_F(AdpObjE2e, LockedReadHoldsTheRowUntilCommit) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  obj_id id{};
  ASSERT_NE(ticket(cid, "locked", &id), nullptr);
  testdb::connection other = db_.connect();
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(mysql_query(other.get(), "set session innodb_lock_wait_timeout = 1"), 0);
  const std::string update = "update table_ticket set count = 5 where objid = " + std::to_string(id.num);
  dbs_ty_lobj* o = make(kTicket);
  // The store's no-lock flag 8 (its default) reads without a lock.
  const long super = dbs_main_get_super_flag();
  ASSERT_NE(super & 8, 0);
  ASSERT_EQ(adp_trn_begin(cid), 0);
  ASSERT_EQ(dbs_obj_get(cid, &id, 1, &o), 0);
  EXPECT_EQ(mysql_query(other.get(), update.c_str()), 0) << mysql_error(other.get());
  ASSERT_EQ(adp_trn_commit(cid), 0);
  // Locking on: the row stays locked until the application commits.
  dbs_main_set_super_flag(super & ~8L);
  ASSERT_EQ(adp_trn_begin(cid), 0);
  ASSERT_EQ(dbs_obj_get(cid, &id, 1, &o), 0);
  EXPECT_NE(mysql_query(other.get(), update.c_str()), 0) << "the row is not locked";
  ASSERT_EQ(adp_trn_commit(cid), 0);
  dbs_main_set_super_flag(super);
  EXPECT_EQ(mysql_query(other.get(), update.c_str()), 0) << mysql_error(other.get());
  EXPECT_EQ(row("count", "table_ticket", id.num)[0], "5");
  // Outside a transaction a read with the lock option takes no lock.
  EXPECT_EQ(dbs_obj_get(cid, &id, 1, &o), 0);
}

TEST_F(AdpObjE2e, PseudoTypesTakeIdsFromTheirCounterRows) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  const long types[] = {DBS_IDS_SPECIAL_B, DBS_IDS_SPECIAL_A, 999};
  long numbers[3] = {-1, -1, -1};
  EXPECT_EQ(dbs_obj_ids_create(cid, 2, types, numbers), 0);
  EXPECT_GT(numbers[0], 0);
  EXPECT_GT(numbers[1], 0);
  EXPECT_GE(std::stol(value("select obj_num from adp_tbl_oid where type_id = 100000001")), numbers[0]);
  EXPECT_GE(std::stol(value("select obj_num from adp_tbl_oid where type_id = 100000002")), numbers[1]);
  // A type without a schema is refused.
  EXPECT_NE(dbs_obj_ids_create(cid, 1, types + 2, numbers + 2), 0);
}

}  // namespace

namespace {

// In a forked child: its own session takes the lowest given-back range of
// the type `rounds` times, each base (or -1) written to `file`; exits 0 when
// every call succeeded.
class AdpObjE2eProcesses : public AdpObjE2e {
 public:
  [[noreturn]] void child(const std::string& file, long type, long rounds) {
    KAdpConnId* cid = opened();
    std::ofstream out(file);
    int code = cid != nullptr ? 0 : 2;
    utl_ty_col* col = nullptr;
    if (code == 0 && utl_col_make("test", 594, 2, 2, 0, 0, &col) != 0) code = 4;
    for (long i = 0; i < rounds && code == 0; ++i) {
      utl_col_reset(col);
      adp_ty_oid_range r{type, -1, -1};
      utl_col_push(col, &r, nullptr);
      if (adp_obj_numbers_atou(cid, col) != 0) code = 3;
      void* e = nullptr;
      utl_col_ith(col, 0, &e);
      out << static_cast<adp_ty_oid_range*>(e)->base << "\n";
    }
    out.close();
    _exit(code);
  }
};

TEST_F(AdpObjE2eProcesses, RangesGivenBackAtLogoutAreTakenOnceByTwoProcesses) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  // Ids of the ticket type reserve a block; logging out gives the rest back.
  obj_id id{};
  ASSERT_NE(ticket(cid, "first", &id), nullptr);
  ASSERT_EQ(dbs_obj_return_cache(cid), 0);
  testdb::rows back = db_.query("select type_id, min_obj, num_obj from adp_tbl_oid_unused");
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0][0], "40");
  EXPECT_EQ(back[0][1], std::to_string(id.num));
  // More ranges of the type, then two processes take them at once.
  constexpr long kRanges = 12;
  std::string script;
  for (long i = 1; i < kRanges; ++i) {
    script += "insert into adp_tbl_oid_unused values(40, " + std::to_string(1000 * i) + ", 10);\n";
  }
  ASSERT_TRUE(db_.run(script));
  std::vector<std::string> files = {(dir_.path() / "a.txt").string(), (dir_.path() / "b.txt").string()};
  std::vector<pid_t> kids;
  for (const std::string& f : files) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) child(f, 40, kRanges);
    kids.push_back(pid);
  }
  for (pid_t pid : kids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  std::vector<long> taken;
  long none = 0;
  for (const std::string& f : files) {
    std::ifstream in(f);
    for (long base = 0; in >> base;) {
      if (base == -1) ++none;
      else taken.push_back(base);
    }
  }
  std::sort(taken.begin(), taken.end());
  EXPECT_EQ(std::adjacent_find(taken.begin(), taken.end()), taken.end()) << "a range was taken twice";
  EXPECT_EQ(taken.size(), static_cast<size_t>(kRanges));
  EXPECT_EQ(none, kRanges);
  EXPECT_EQ(value("select count(*) from adp_tbl_oid_unused"), "0");
}

TEST_F(AdpObjE2e, CounterResetFloorNegativeSwitchAndRead) {
  KAdpConnId* cid = store_session(kCreatedFlag);
  ASSERT_NE(cid, nullptr);
  ASSERT_TRUE(db_.run("insert into adp_tbl_oid values(77, 5);"));
  ASSERT_EQ(adp_obj_oid_init(cid, 77, 0), 0);
  EXPECT_EQ(db_.query("select obj_num from adp_tbl_oid where type_id = 77"), (testdb::rows{{"0"}}));
  // The floor raises, never lowers; the dummy number sends nothing.
  ASSERT_EQ(adp_obj_set_number(cid, 77, 50), 0);
  ASSERT_EQ(adp_obj_set_number(cid, 77, 20), 0);
  ASSERT_EQ(adp_obj_set_number(cid, 77, adp_obj_dummy_objid()), 0);
  EXPECT_EQ(value("select obj_num from adp_tbl_oid where type_id = 77"), "50");
  // The negative switch is guarded by the value last read.
  ASSERT_EQ(adp_obj_set_negative_number(cid, 77, 49, 0, 0), 0);
  EXPECT_EQ(value("select obj_num from adp_tbl_oid where type_id = 77"), "50");
  ASSERT_EQ(adp_obj_set_negative_number(cid, 77, 50, 0, 0), 0);
  EXPECT_EQ(value("select obj_num from adp_tbl_oid where type_id = 77"), "-2147483648");
  // The counter read: one below the limit is fine, the limit is reported.
  long out = 0;
  ASSERT_TRUE(db_.run("update adp_tbl_oid set obj_num = 268435399 where type_id = 77;"));
  EXPECT_EQ(adp_obj_get_cur_obj_num(cid, "77", &out), 0);
  EXPECT_EQ(out, 268435399);
  ASSERT_TRUE(db_.run("update adp_tbl_oid set obj_num = 268435400 where type_id = 77;"));
  EXPECT_EQ(adp_obj_get_cur_obj_num(cid, "77", &out), ADP_OID_TOO_HIGH);
  EXPECT_EQ(out, 268435400);
  cmn_alrt_clear(nullptr);
  // A type id text that is no whole number is refused before anything runs.
  EXPECT_EQ(adp_obj_get_cur_obj_num(cid, "77 or 1=1", &out), ADP_OID_TOO_HIGH);
  // Counting given-back ranges: none, then per type.
  utl_ty_col* counts = nullptr;
  ASSERT_EQ(utl_col_make("test", 594, 4, 4, 0, 0, &counts), 0);
  ASSERT_EQ(adp_obj_atou_init(cid, counts), 0);
  long n = -1;
  utl_col_num(counts, &n);
  EXPECT_EQ(n, 0);
  ASSERT_TRUE(db_.run("insert into adp_tbl_oid_unused values(77, 10, 5);\n"
                      "insert into adp_tbl_oid_unused values(77, 20, 5);\n"
                      "insert into adp_tbl_oid_unused values(12, 30, 5);"));
  ASSERT_EQ(adp_obj_atou_init(cid, counts), 0);
  utl_col_num(counts, &n);
  ASSERT_EQ(n, 2);
  std::vector<std::pair<long, long>> seen;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(counts, i, &e);
    seen.emplace_back(static_cast<adp_ty_oid_range*>(e)->type_id, static_cast<adp_ty_oid_range*>(e)->base);
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::pair<long, long>>{{12, 1}, {77, 2}}));
  utl_col_free("test", counts);
  // A type listed twice is served once; a type without ranges stays at -1.
  utl_ty_col* ranges = nullptr;
  ASSERT_EQ(utl_col_make("test", 594, 4, 4, 0, 0, &ranges), 0);
  for (long t : {77L, 77L, 13L}) {
    adp_ty_oid_range r{t, -1, -1};
    utl_col_push(ranges, &r, nullptr);
  }
  ASSERT_EQ(adp_obj_numbers_atou(cid, ranges), 0);
  std::vector<long> bases;
  for (long i = 0; i < 3; ++i) {
    void* e = nullptr;
    utl_col_ith(ranges, i, &e);
    bases.push_back(static_cast<adp_ty_oid_range*>(e)->base);
  }
  EXPECT_EQ(bases, (std::vector<long>{10, -1, -1}));
  EXPECT_EQ(db_.query("select type_id, min_obj from adp_tbl_oid_unused order by type_id, min_obj"),
            (testdb::rows{{"12", "30"}, {"77", "20"}}));
  utl_col_free("test", ranges);
}

}  // namespace
