// Relation texts through the scripted service: every relate and unrelate
// form on SQL Server (offline feature off and on, one column and the pair
// of physical-name and focus columns, link rows), the four forms of the
// relate by id, a sub-batch of the write batch, and Oracle's block of the
// same sub-batch.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_cfg.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_main.h"
#include "adapter/adp_qry_model.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_rel_texts.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_trn.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"

namespace {

using namespace adp_qry_model;

class AdpRelTexts : public adp_rel_texts {};

TEST_F(AdpRelTexts, EveryRelateAndUnrelateFormOnSqlServer) {
  obj_id none{};
  struct row {
    const char* what;
    long flags;
    std::function<long(KAdpSqlBatch*)> call;
    const char* expected;
  };
  obj_id s = rel_site(1234), c = rel_case(55), k = rel_contact(7), n = rel_note(55), link{100000002, 9, 0};
  obj_id cs = rel_case(1234);
  const std::vector<row> rows = {
      {"relate by key", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_relate_remote_id_sql(con_, b, record(kCase, "case2site"), &s, &c); },
       "update table_case set case2site = 1234 where objid = 55\n"},
      {"relate by key offline", kRoamer,
       [&](KAdpSqlBatch* b) { return adp_rel_relate_remote_id_sql(con_, b, record(kCase, "case2site"), &s, &c); },
       " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
       " SELECT objid, dev+1, dev, 'table_case', '1 case2site 4 1234'\n"
       " from table_case where objid = 55; \n"
       "UPDATE table_case SET dev = dev + 1, case2site = 1234 WHERE objid = 55"},
      {"relate by the pair", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_relate_remote_id_sql(con_, b, record(kNote, "note2case"), &cs, &n); },
       "update table_note set note_owner = 1234, owner_type = 10 where objid = 55; \n"},
      {"relate by the pair offline", kRoamer,
       [&](KAdpSqlBatch* b) { return adp_rel_relate_remote_id_sql(con_, b, record(kNote, "note2case"), &cs, &n); },
       " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
       " SELECT objid, dev+1, dev, 'table_note', '2 note_owner 4 owner_type 2 123410'\n"
       " from table_note where objid = 55; \n"
       "update table_note set dev = dev + 1, note_owner = 1234, owner_type = 10 WHERE objid = 55;\n"},
      {"link row", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_relate_mtm_sql(con_, &s, record(kSite, "site2contact"), &k, &link, b); },
       "if not exists (select site2contact from mtm_site1_contact0 where site2contact = 1234 AND contact2site = 7)\n"
       "insert into mtm_site1_contact0 (site2contact, contact2site)\n"
       " values(1234,7)|"},
      {"link row offline", kRoamer,
       [&](KAdpSqlBatch* b) { return adp_rel_relate_mtm_sql(con_, &s, record(kSite, "site2contact"), &k, &link, b); },
       "if not exists (select site2contact from mtm_site1_contact0 where site2contact = 1234 AND contact2site = 7)\n"
       "insert into mtm_site1_contact0 (objid, dev, site2contact, contact2site) values (9, 1, 1234, 7)|"},
      {"unrelate by key", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_remote_id_sql(con_, b, &s, record(kCase, "case2site"), &c); },
       "update table_case set case2site = NULL where objid = 55\n"
       "|"},
      {"unrelate by key offline", kRoamer,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_remote_id_sql(con_, b, &s, record(kCase, "case2site"), &c); },
       " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
       " SELECT objid, dev+1, dev, 'table_case', '1 case2site 4 NULL'\n"
       " from table_case where objid = 55; \n"
       "UPDATE table_case SET dev = dev + 1, case2site = NULL WHERE objid = 55\n"
       "|"},
      {"unrelate by the pair", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_remote_id_sql(con_, b, &cs, record(kNote, "note2case"), &n); },
       "update table_note set note_owner = NULL , owner_type = NULL where objid = 55 and owner_type = 10|"},
      {"unrelate by the pair offline", kRoamer,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_remote_id_sql(con_, b, &cs, record(kNote, "note2case"), &n); },
       " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
       " SELECT objid, dev+1, dev, 'table_note', '2 note_owner 4 owner_type 4 NULLNULL'\n"
       " from table_note where objid = 55 and owner_type = 10; \n"
       "UPDATE table_note SET dev = dev + 1, note_owner = NULL , owner_type = NULL WHERE objid = 55 and owner_type = 10|"},
      {"unrelate a link row", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_remote_id_sql(con_, b, &s, record(kSite, "site2contact"), &k); },
       "DELETE mtm_site1_contact0 WHERE site2contact = 1234 AND contact2site = 7 \n"
       "|"},
      {"unrelate without primary", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_remote_id_sql(con_, b, &none, record(kCase, "case2site"), &c); },
       "UPDATE table_case SET case2site = NULL WHERE objid = 55\n"
       "|"},
      {"unrelate without foreign", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_remote_id_sql(con_, b, &s, record(kCase, "case2site"), &none); },
       "UPDATE table_case SET case2site = NULL WHERE case2site = 1234\n"
       "|"},
      {"unrelate all of a primary offline", kRoamer,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_from_id_sql(con_, b, 1, &s, record(kCase, "case2site")); },
       " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
       " SELECT objid, dev+1, dev, 'table_case', '1 case2site 4 NULL'\n"
       " from table_case where case2site = 1234; \n"
       "UPDATE table_case SET dev = dev + 1, case2site = NULL WHERE case2site = 1234\n"
       "|"},
      {"unrelate all of a pair's primary", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_from_id_sql(con_, b, 1, &cs, record(kNote, "note2case")); },
       "UPDATE table_note SET note_owner = NULL, owner_type = NULL WHERE note_owner = 1234 and owner_type = 10|"},
      {"unrelate all of a pair's primary offline", kRoamer,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_from_id_sql(con_, b, 1, &cs, record(kNote, "note2case")); },
       " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
       " SELECT objid, dev+1, dev, 'table_note', '2 note_owner 4 owner_type 4 NULLNULL'\n"
       " from table_note where note_owner = 1234 and owner_type = 10; \n"
       "UPDATE table_note SET dev = dev + 1, note_owner = NULL, owner_type = NULL WHERE note_owner = 1234 and owner_type = 10|"},
      {"unrelate all links of a foreign", 0,
       [&](KAdpSqlBatch* b) { return adp_rel_unrelate_from_id_sql(con_, b, 0, &k, record(kSite, "site2contact")); },
       "DELETE  mtm_site1_contact0 WHERE contact2site = 7\n"
       "|"},
  };
  for (const row& r : rows) {
    adp_db_set_flags(r.flags);
    EXPECT_EQ(text(r.call), r.expected) << r.what;
  }
}

TEST_F(AdpRelTexts, TheFourFormsOfTheRelateByIdOnSqlServer) {
  obj_id s = rel_site(1234), c = rel_case(55), cs = rel_case(1234), n = rel_note(55);
  const adp_rel_pair_row rows[] = {
      {"one column", 0, &s, kSite, "site2case", &c, {"update table_case set case2site = 1234 where objid = 55"}},
      {"two columns", 0, &cs, kCase, "case2note", &n, {"update table_note set note_owner = 1234 , owner_type = 10 where objid = 55;\n"}},
      {"one column offline", kRoamer, &s, kSite, "site2case", &c, {" INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
       " SELECT objid, dev+1, dev, 'table_case', '1 case2site 4 1234'\n"
       " from table_case where objid = 55; \n"
       "UPDATE table_case SET dev = dev + 1, case2site = 1234 where objid = 55"}},
      {"two columns offline", kRoamer, &cs, kCase, "case2note", &n, {" INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
       " SELECT objid, dev+1, dev, 'table_note', '2 note_owner 4 owner_type 2 123410'\n"
       " from table_note where objid = 55; \n"
       "UPDATE table_note SET dev = dev + 1, note_owner = 1234 , owner_type = 10 where objid = 55"}},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    adp_db_set_flags(r.flags);
    EXPECT_EQ(adp_rel_new_relate_remote_id(con_, r.primary, "", rel(r.type, r.name), r.foreign), 0) << r.what;
    EXPECT_EQ(sent(), r.expected) << r.what;
    long level = -1;
    adp_trn_appl_level(&level);
    EXPECT_EQ(level, 0) << r.what;
  }
}

TEST_F(AdpRelTexts, OneSubBatchOnSqlServerAndOraclesBlock) {
  // SQL Server: one statement per change; Oracle: the whole sub-batch in
  // one block.
  const std::vector<std::string> relate = {
      " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
      " SELECT objid, dev+1, dev, 'table_case', '1 case2site 4 1234'\n"
      " from table_case where objid = 55; \n"
      "UPDATE table_case SET dev = dev + 1, case2site = 1234 WHERE objid = 55",
      " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
      " SELECT objid, dev+1, dev, 'table_case', '1 case2site 4 NULL'\n"
      " from table_case where objid = 56; \n"
      "UPDATE table_case SET dev = dev + 1, case2site = NULL WHERE objid = 56\n",
      "if not exists (select site2contact from mtm_site1_contact0 where site2contact = 1234 AND contact2site = 7)\n"
      "insert into mtm_site1_contact0 (objid, dev, site2contact, contact2site) values (9, 1, 1234, 7)"};
  const std::vector<std::string> block = {
      "BEGIN\n\nBEGIN \n INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
      " SELECT objid, dev+1, dev, 'table_case', '1 case2site 4 1234'\n"
      " from table_case where objid = 55; \n"
      "UPDATE table_case SET dev = dev + 1, case2site = 1234 WHERE objid = 55 ; \nEND;\n"
      " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
      " SELECT objid, dev+1, dev, 'table_case', '1 case2site 4 NULL'\n"
      " from table_case where objid = 56; \n"
      "UPDATE table_case SET dev = dev + 1, case2site = NULL WHERE objid = 56\n;\n"
      "DECLARE exist_obj NUMBER;\nBEGIN\n"
      "select site2contact into exist_obj from mtm_site1_contact0 \n where site2contact = 1234 AND contact2site = 7;\n"
      "EXCEPTION\n WHEN NO_DATA_FOUND THEN\n"
      "insert into mtm_site1_contact0 (objid, dev, site2contact, contact2site) values (9, 1, 1234, 7);\nEND;END;"};
  obj_id none{};
  const struct {
    const char* driver;
    const std::vector<std::string>& expected;
  } rows[] = {{"oledb", relate}, {"oracle", block}};
  for (const auto& r : rows) {
    KAdpConnId* con = connect(r.driver);
    literals(con);
    adp_db_set_head_read(1);
    adp_db_set_flags(kRoamer);
    adp_rel_set_max_per_batch(25);
    ds_script::reset();
    obj_id s = rel_site(1234), c = rel_case(55), c2 = rel_case(56), k = rel_contact(7), link{100000002, 9, 0};
    ASSERT_EQ(adp_rel_add_to_batch(&c, &s, &link, rel(kCase, "case2site"), 1), 0);
    ASSERT_EQ(adp_rel_add_to_batch(&s, &k, &link, rel(kSite, "site2contact"), 1), 0);
    ASSERT_EQ(adp_rel_add_to_batch(&c2, &s, &none, rel(kCase, "case2site"), 0), 0);
    ASSERT_EQ(adp_rel_do_batch(con, 1, 0), 0) << r.driver;
    EXPECT_EQ(sent(), r.expected) << r.driver;
    long level = -1;
    adp_trn_appl_level(&level);
    EXPECT_EQ(level, 0) << r.driver;
  }
}

// The SQL log's lines of one batch run.
std::vector<std::string> logged(const std::function<void()>& run) {
  char path[] = "/tmp/adp_rel_logXXXXXX";
  const int fd = mkstemp(path);
  if (fd >= 0) close(fd);
  adp_sql_log_file(path);
  run();
  FILE* log = nullptr;
  adp_sql_get_log(&log);
  adp_sql_log_reset();
  if (log != nullptr) std::fclose(log);
  std::vector<std::string> out;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  std::remove(path);
  return out;
}

bool has(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& l : lines)
    if (l.find(text) != std::string::npos) return true;
  return false;
}

TEST_F(AdpRelTexts, SupersededChangesAbsorbedRelatesAndRunsThatWriteNothing) {
  obj_id none{};
  obj_id c = rel_case(55), s1 = rel_site(1), s2 = rel_site(2);
  dbs_ty_lobj* object = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, kCase, &object), 0);
  long number = 55;
  ASSERT_EQ(dbs_fld_set_local(object, TYP_GENERIC | 3, &number, 1), 0);
  struct {
    const char* what;
    std::function<void()> queue;
    std::vector<std::string> statements;
    const char* line;
  } rows[] = {
      {"the later relate of one key wins",
       [&] {
         adp_rel_add_to_batch(&c, &s1, &none, rel(kCase, "case2site"), 1);
         adp_rel_add_to_batch(&c, &s2, &none, rel(kCase, "case2site"), 1);
       },
       {"update table_case set case2site = 2 where objid = 55\n"},
       " NOT doing DUPL RELATE rel_id=0, pk=1, fk=55"},
      {"a relate goes into the row's own update",
       [&] {
         adp_obj_add_to_batch(object, 0);
         adp_rel_add_to_batch(&c, &s1, &none, rel(kCase, "case2site"), 1);
       },
       {" update table_case\n set case2site=1\n where objid = 55"},
       "SINGLE SQL BATCH DONE"},
      {"an update without changes writes nothing",
       [&] { adp_obj_add_to_batch(object, 0); },
       {},
       "ALL SQL in this batch optimized away..."},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    long status = -1;
    const std::vector<std::string> lines = logged([&] {
      r.queue();
      status = adp_rel_do_batch(con_, 1, 0);
    });
    EXPECT_EQ(status, 0) << r.what;
    EXPECT_EQ(sent(), r.statements) << r.what;
    EXPECT_TRUE(has(lines, r.line)) << r.what;
    // The own transaction is always ended by a commit.
    EXPECT_EQ(ds_script::count("BeginTransaction"), 1) << r.what;
    EXPECT_EQ(ds_script::count("EndTransaction 1"), 1) << r.what;
    long level = -1;
    adp_trn_appl_level(&level);
    EXPECT_EQ(level, 0) << r.what;
  }
  dbs_obj_free_local("test", object);
}

TEST_F(AdpRelTexts, AConditionalUpdateCountingNoRowFailsOnSqlServer) {
  obj_id none{};
  obj_id c = rel_case(55), s1 = rel_site(1);
  dbs_ty_lobj* object = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, kCase, &object), 0);
  long number = 55;
  ASSERT_EQ(dbs_fld_set_local(object, TYP_GENERIC | 3, &number, 1), 0);
  static const char* kTitle = "x";
  adp_ty_qry_pcond cond{kCaseTitle, ADP_OPR_EQ, reinterpret_cast<long>(kTitle), 0};
  const struct {
    long rows;
    long status;
  } rows[] = {{1, 0}, {0, 0x70002d}};
  for (const auto& r : rows) {
    ds_script::reset();
    ds_script::result counted;
    counted.count = r.rows;
    ds_script::push_result(counted);
    long entry[3] = {reinterpret_cast<long>(object), 1, reinterpret_cast<long>(&cond)};
    utl_ty_col* conds = nullptr;
    ASSERT_EQ(utl_col_make("test", 594, 1, 1, 0, 0, &conds), 0);
    ASSERT_EQ(utl_col_push(conds, entry, nullptr), 0);
    ASSERT_EQ(adp_obj_cond_add_to_batch(conds), 0);
    utl_col_free("test", conds);
    ASSERT_EQ(adp_obj_add_to_batch(object, 0), 0);
    ASSERT_EQ(adp_rel_add_to_batch(&c, &s1, &none, rel(kCase, "case2site"), 1), 0);
    EXPECT_EQ(adp_rel_do_batch(con_, 1, 0), r.status) << r.rows;
    EXPECT_EQ(sent(), std::vector<std::string>{" update table_case\n set case2site=1\n where objid = 55 AND   (  title = 'x' ) "})
        << r.rows;
    EXPECT_EQ(ds_script::count("EndTransaction 0"), r.status != 0 ? 1 : 0) << r.rows;
    EXPECT_EQ(adp_rel_queue(), nullptr);
  }
  dbs_obj_free_local("test", object);
}

TEST_F(AdpRelTexts, PrimaryIdsOfForeignRowsInInListsOfTheDialectsSize) {
  const struct {
    const char* driver;
    long n;
    const char* head;
    long lists;
  } rows[] = {
      {"oracle", 0, "SELECT case2site FROM table_case WHERE 1=2", 0},
      {"oracle", 101, "SELECT DISTINCT case2site FROM table_case WHERE objid IN (1, 2, 3", 2},
      {"oracle", 100, "SELECT DISTINCT case2site FROM table_case WHERE objid IN (1, 2, 3", 1},
      {"oledb", 255, "SELECT DISTINCT case2site FROM table_case WHERE objid IN (1, 2, 3", 2},
  };
  for (const auto& r : rows) {
    KAdpConnId* con = connect(r.driver);
    ds_script::reset();
    utl_ty_col* ids = nullptr;
    utl_ty_col* out = nullptr;
    ASSERT_EQ(utl_col_make("test", 594, 8, 8, 0, 0, &ids), 0);
    ASSERT_EQ(utl_col_make("test", 594, 8, 8, 0, 0, &out), 0);
    for (long i = 1; i <= r.n; ++i) {
      obj_id id = rel_case(i);
      utl_col_push(ids, &id, nullptr);
    }
    if (r.n == 0) {
      // An empty list names no type: the relation is found through a
      // number list of the foreign type.
      ASSERT_EQ(adp_rel_pk_oid_col(con, ids, record(kCase, "case2site"), out, 0), 0);
    } else {
      ASSERT_EQ(adp_rel_get_pk_oid_col(con, ids, rel(kCase, "case2site"), out, 0), 0) << r.n;
    }
    const std::vector<std::string> texts = sent();
    ASSERT_EQ(texts.size(), 1u) << r.n;
    EXPECT_EQ(texts[0].rfind(r.head, 0), 0u) << texts[0];
    long ors = 0;
    for (size_t at = texts[0].find(") OR objid IN ("); at != std::string::npos; at = texts[0].find(") OR objid IN (", at + 1))
      ++ors;
    EXPECT_EQ(ors, r.lists > 0 ? r.lists - 1 : 0) << r.driver << " " << r.n;
    if (r.n > 0) {
      EXPECT_NE(texts[0].find(std::to_string(r.n) + ") "), std::string::npos) << texts[0];
    }
    utl_col_free("test", ids);
    utl_col_free("test", out);
  }
}

TEST_F(AdpRelTexts, ThePrimaryObjectReadRetriesDeadlocksOutsideATransaction) {
  constexpr long kDeadlock = 0x8B0014E;
  dbs_ty_lobj* object = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, kCase, &object), 0);
  long number = 55;
  ASSERT_EQ(dbs_fld_set_local(object, TYP_GENERIC | 3, &number, 1), 0);
  const struct {
    long deadlocks;
    bool in_transaction;
    long runs;
    bool ok;
  } rows[] = {{3, false, 4, true}, {21, false, 21, false}, {1, true, 1, false}};
  for (const auto& r : rows) {
    ds_script::reset();
    for (long i = 1; i <= r.deadlocks; ++i) ds_script::fail({"FetchNextSet", i, kDeadlock, "deadlock victim", "1205"});
    if (r.in_transaction) {
      ASSERT_EQ(adp_trn_begin(con_), 0);
    }
    utl_ty_col* objs = nullptr;
    ASSERT_EQ(utl_col_make("test", 517, 4, 4, 0, 0, &objs), 0);
    const long st = adp_rel_get_pk_obj(con_, object, rel(kCase, "case2site"), 0, objs);
    EXPECT_EQ(st == 0, r.ok) << r.deadlocks;
    EXPECT_EQ(ds_script::count("FetchNextSet"), r.runs) << r.deadlocks;
    const std::vector<std::string> texts = sent();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "select  objid, name\n from table_site \n where objid = (select case2site from table_case "
                            "where objid = 55 )");
    dbs_obj_free_local_col(nullptr, objs);
    long level = 0;
    adp_trn_appl_level(&level);
    if (level > 0) adp_trn_rollback(con_);
  }
  dbs_obj_free_local("test", object);
}

TEST_F(AdpRelTexts, LockedReadsOnlyInsideATransaction) {
  constexpr long kNoRowLocks = 8;
  obj_id s = rel_site(1234), c = rel_case(55);
  const long super = dbs_main_get_super_flag();
  const struct {
    const char* driver;
    bool in_transaction;
    bool row_locks;
    const char* text;
  } rows[] = {
      {"oledb", false, true, "select case2site from table_case where objid = 55"},
      {"oledb", true, false, "select case2site from table_case where objid = 55"},
      {"oledb", true, true, "select case2site from table_case HOLDLOCK where objid = 55"},
      {"oracle", true, true, "select case2site from table_case where objid = 55 for update "},
  };
  for (const auto& r : rows) {
    KAdpConnId* con = connect(r.driver);
    literals(con);
    dbs_main_set_super_flag(r.row_locks ? super & ~kNoRowLocks : super | kNoRowLocks);
    ds_script::reset();
    ds_script::push_result({{"case2site"}, {{ds_script::cell::l(1234)}}});
    if (r.in_transaction) {
      ASSERT_EQ(adp_trn_begin(con), 0);
    }
    char related = 0;
    ASSERT_EQ(adp_rel_related_remote_id(con, &s, rel(kSite, "site2case"), &c, 1, &related), 0) << r.text;
    EXPECT_EQ(related, 1) << r.text;
    EXPECT_EQ(sent(), std::vector<std::string>{r.text});
    if (r.in_transaction) adp_trn_rollback(con);
  }
  dbs_main_set_super_flag(super);
}

TEST_F(AdpRelTexts, BatchTextsOfObjectRows) {
  obj_id s = rel_site(1);
  dbs_ty_lobj* a_case = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, kCase, &a_case), 0);
  long number = 55;
  ASSERT_EQ(dbs_fld_set_local(a_case, TYP_GENERIC | 3, &number, 1), 0);
  const char* title = "T";
  ASSERT_EQ(dbs_fld_set_by_name(a_case, "title", &title), 0);
  adp_obj_batch_cols folded;
  folded.id_cols = {"case2site"};
  folded.ids = {rel_site(1234)};
  folded.extra_cols = {"case_kind"};
  folded.extra_values = {-1};
  std::vector<dbs_ty_lobj*> long_texts;
  const struct {
    const char* what;
    std::function<long(KAdpSqlBatch*)> call;
    const char* expected;
  } rows[] = {
      // The folded key and an extra column in the insert.
      {"create", [&](KAdpSqlBatch* b) { return adp_obj_create_sql(con_, b, a_case, folded, &long_texts); },
       " insert into table_case (objid,title,status,amount,opened,flags,case2site,case_kind)\n"
       " values(55,'T','',0.0,'1753-01-01 00:00:00',0, 1234,  NULL )\n|"},
      // A site's delete clears the cases' key and deletes its link rows.
      {"delete", [&](KAdpSqlBatch* b) { return adp_obj_delete_sql(con_, b, &s, 1, 0); }, "DELETE FROM table_site WHERE objid = 1|UPDATE table_case SET case2site = NULL WHERE case2site = 1|"
       "DELETE FROM mtm_site1_contact0 WHERE site2contact = 1|UPDATE table_site SET parent = NULL WHERE parent = 1|"},
      // Option 1 leaves the references of relations not marked as the
      // user's.
      {"delete, references left", [&](KAdpSqlBatch* b) { return adp_obj_delete_sql(con_, b, &s, 1, 1); }, "DELETE FROM table_site WHERE objid = 1|DELETE FROM mtm_site1_contact0 WHERE site2contact = 1|"},
  };
  for (const auto& r : rows) EXPECT_EQ(text(r.call), r.expected) << r.what;
  EXPECT_TRUE(long_texts.empty());
  dbs_obj_free_local("test", a_case);
}

}  // namespace
