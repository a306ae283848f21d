// Relations written and tested one at a time through the scripted service:
// the texts the direct unrelates send on SQL Server (a pair, everything
// related to one id; offline feature off and on; one column, the pair of
// physical-name and focus columns, link rows), Oracle's block, the
// transaction step, whether foreign rows point to an object, and the forms
// that take local objects.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_rel_texts.h"
#include "adapter/adp_trn.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

using namespace adp_qry_model;

constexpr const char* kChangeRow =
    " INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n SELECT objid, dev+1, dev, ";

class AdpRelDirect : public adp_rel_texts {
 protected:
  static long level() {
    long l = -1;
    adp_trn_appl_level(&l);
    return l;
  }
  // A local object of the type with its number.
  dbs_ty_lobj* local(long type, long number) {
    dbs_ty_lobj* o = nullptr;
    EXPECT_EQ(dbs_obj_make(nullptr, type, &o), 0);
    EXPECT_EQ(dbs_fld_set_local(o, TYP_GENERIC | 3, &number, 1), 0);
    objects_.push_back(o);
    return o;
  }
  void TearDown() override {
    for (dbs_ty_lobj* o : objects_) dbs_obj_free_local("test", o);
    adp_rel_texts::TearDown();
  }
  std::vector<dbs_ty_lobj*> objects_;
};

TEST_F(AdpRelDirect, TheUnrelateOfAPairOnSqlServer) {
  obj_id none{};
  obj_id s = rel_site(1234), c = rel_case(55), cs = rel_case(1234), n = rel_note(55), k = rel_contact(7);
  const std::string case_row = std::string(kChangeRow) + "'table_case', '1 case2site 4 NULL'\n";
  const std::string note_row = std::string(kChangeRow) + "'table_note', '2 note_owner 4 owner_type 4 NULLNULL'\n";
  const adp_rel_pair_row rows[] = {
      {"key", 0, &s, kSite, "site2case", &c, {"update table_case set case2site = NULL where objid = 55"}},
      {"key offline", kRoamer, &s, kSite, "site2case", &c,
       {case_row + " from table_case where objid = 55; \nUPDATE table_case SET dev = dev + 1, case2site = NULL "
                   "WHERE objid = 55\n"}},
      // The focus condition: the pointer is cleared only when it points to
      // a case.
      {"pair", 0, &cs, kCase, "case2note", &n,
       {"update table_note set note_owner = NULL, owner_type = NULL  where objid = 55 AND owner_type = 10"}},
      {"pair offline", kRoamer, &cs, kCase, "case2note", &n,
       {note_row + " from table_note where objid = 55 and owner_type = 10 ;\n UPDATE table_note SET dev = dev + 1, "
                   "note_owner = NULL, owner_type = NULL WHERE objid = 55 and owner_type = 10"}},
      {"link row", 0, &s, kSite, "site2contact", &k,
       {"DELETE mtm_site1_contact0 WHERE site2contact = 1234 AND contact2site = 7"}},
      {"link row offline", kRoamer, &s, kSite, "site2contact", &k,
       {"DELETE mtm_site1_contact0 WHERE site2contact = 1234 AND contact2site = 7"}},
      // Without one side: everything related to the other.
      {"no primary", 0, &none, kCase, "case2site", &c, {"UPDATE table_case SET case2site = NULL WHERE objid = 55;\n"}},
      {"no foreign", 0, &s, kSite, "site2case", &none,
       {"UPDATE table_case SET case2site = NULL WHERE case2site = 1234;\n"}},
      {"no foreign offline", kRoamer, &s, kSite, "site2case", &none,
       {case_row + " from table_case where case2site = 1234; \nUPDATE table_case SET dev = dev + 1, case2site = NULL "
                   "WHERE case2site = 1234\n"}},
      {"no primary of a pair", 0, &none, kNote, "note2case", &n,
       {"UPDATE table_note SET note_owner = NULL ,owner_type = NULL WHERE objid = 55 AND owner_type = 10"}},
      {"no foreign of a pair offline", kRoamer, &cs, kCase, "case2note", &none,
       {note_row + " from table_note where note_owner = 1234AND owner_type = 10; \nUPDATE table_note SET dev = dev + 1, "
                   "note_owner = NULL , owner_type = NULL WHERE note_owner = 1234 and owner_type = 10;\n"}},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    adp_db_set_flags(r.flags);
    ASSERT_EQ(adp_rel_unrelate_remote_id(con_, r.primary, rel(r.type, r.name), r.foreign), 0) << r.what;
    EXPECT_EQ(sent(), r.expected) << r.what;
    // Its own transaction step, ended by a commit.
    EXPECT_EQ(level(), 0) << r.what;
    EXPECT_EQ(ds_script::count("EndTransaction 0"), 0) << r.what;
    EXPECT_GE(ds_script::count("EndTransaction 1"), 1) << r.what;
  }
}

TEST_F(AdpRelDirect, TheUnrelateOfEverythingRelatedToOneIdOnSqlServer) {
  obj_id cs = rel_case(1234), n = rel_note(55), k = rel_contact(7), s = rel_site(1234);
  const struct {
    const char* what;
    long flags;
    char side;
    obj_id* id;
    long type;
    const char* name;
    const char* expected;
  } rows[] = {
      {"links of a foreign", 0, 0, &k, kContact, "contact2site", "DELETE mtm_site1_contact0 WHERE contact2site = 7"},
      {"links of a primary", kRoamer, 1, &s, kSite, "site2contact", "DELETE mtm_site1_contact0 WHERE site2contact = 1234"},
      {"pointers to a primary", 0, 1, &s, kSite, "site2case", "UPDATE table_case SET case2site = NULL WHERE case2site = 1234;\n"},
      {"pair of a foreign", 0, 0, &n, kNote, "note2case",
       "UPDATE table_note SET note_owner = NULL ,owner_type = NULL WHERE objid = 55 AND owner_type = 10"},
      {"pair pointers to a primary", 0, 1, &cs, kCase, "case2note",
       "UPDATE table_note SET note_owner = NULL ,owner_type = NULL WHERE note_owner = 1234 AND owner_type = 10"},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    adp_db_set_flags(r.flags);
    ASSERT_EQ(adp_rel_unrelate_from_id(con_, r.side, r.id, rel(r.type, r.name)), 0) << r.what;
    EXPECT_EQ(sent(), std::vector<std::string>{r.expected}) << r.what;
    // No transaction step of its own.
    EXPECT_EQ(level(), 0) << r.what;
    EXPECT_EQ(ds_script::count("EndTransaction 0"), 0) << r.what;
  }
}

TEST_F(AdpRelDirect, OracleRunsTheChangeRowAndTheUpdateInOneBlock) {
  KAdpConnId* con = connect("oracle");
  literals(con);
  adp_db_set_head_read(1);
  obj_id s = rel_site(1234), c = rel_case(55), none{};
  const struct {
    const char* what;
    long flags;
    obj_id* foreign;
    const char* expected;
  } rows[] = {
      {"offline", kRoamer, &c,
       "BEGIN\n INSERT INTO DE_UPDATES (ROW_ID, ROW_VER, PREV_ROW_VER, TABLE_NAME, TX_DETAIL) \n"
       " SELECT objid, dev+1, dev, 'table_case', '1 case2site 4 NULL'\n from table_case where objid = 55; \n"
       "UPDATE table_case SET dev = dev + 1, case2site = NULL WHERE objid = 55\n;\nEND;"},
      {"one statement", 0, &c, "update table_case set case2site = NULL where objid = 55"},
      {"everything of a primary", 0, &none,
       "BEGIN\nUPDATE table_case SET case2site = NULL WHERE case2site = 1234;\nEND;"},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    adp_db_set_flags(r.flags);
    ASSERT_EQ(adp_rel_unrelate_remote_id(con, &s, rel(kSite, "site2case"), r.foreign), 0) << r.what;
    EXPECT_EQ(sent(), std::vector<std::string>{r.expected}) << r.what;
  }
}

TEST_F(AdpRelDirect, AFailingUnrelateIsNeverCommitted) {
  constexpr long kServerError = 0x8B0014F;
  obj_id s = rel_site(1234), c = rel_case(55);
  // The statement alone leaves its step raised; the batch of the change
  // row and the update rolls back itself, as every failing DML batch does.
  const struct {
    long flags;
    long level;
    long rollbacks;
  } rows[] = {{0, 1, 0}, {kRoamer, 0, 1}};
  for (const auto& r : rows) {
    ds_script::reset();
    adp_db_set_flags(r.flags);
    ds_script::fail({"FetchNextSet", 1, kServerError, "no such table", "208"});
    EXPECT_NE(adp_rel_unrelate_remote_id(con_, &s, rel(kSite, "site2case"), &c), 0) << r.flags;
    EXPECT_EQ(ds_script::count("FetchNextSet"), 1) << r.flags;
    EXPECT_EQ(ds_script::count("EndTransaction 1"), 0) << r.flags;
    EXPECT_EQ(ds_script::count("EndTransaction 0"), r.rollbacks) << r.flags;
    EXPECT_EQ(level(), r.level) << r.flags;
    adp_trn_rollback(con_);
    EXPECT_EQ(level(), 0);
  }
}

TEST_F(AdpRelDirect, WhetherForeignRowsPointToAnObject) {
  obj_id s = rel_site(1234), cs = rel_case(1234), c = rel_case(55);
  const struct {
    const char* what;
    obj_id* id;
    long type;
    const char* name;
    bool row;
    long status;
    std::vector<std::string> expected;
    char related;
  } rows[] = {
      {"a row", &s, kSite, "site2case", true, 0, {"select case2site from table_case where case2site = 1234"}, 1},
      {"no row", &s, kSite, "site2case", false, 0, {"select case2site from table_case where case2site = 1234"}, 0},
      {"the pair", &cs, kCase, "case2note", true, 0,
       {"select note_owner from table_note where note_owner = 1234 AND owner_type = 10"}, 1},
      // Only the primary side of a foreign-key relation is pointed to.
      {"the foreign side", &c, kCase, "case2site", true, ADP_REL_BAD_SIDE, {}, 0},
      {"a link relation", &s, kSite, "site2contact", true, ADP_REL_BAD_SIDE, {}, 0},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    if (r.row) ds_script::push_result({{"c"}, {{ds_script::cell::l(1234)}}});
    else ds_script::push_result({{"c"}, {}});
    char related = 9;
    EXPECT_EQ(adp_rel_pk_related_id_non_mtm(con_, r.id, rel(r.type, r.name), &related), r.status) << r.what;
    EXPECT_EQ(sent(), r.expected) << r.what;
    EXPECT_EQ(related, r.related) << r.what;
  }
}

TEST_F(AdpRelDirect, LocalObjectsAreTurnedIntoIdsFirst) {
  dbs_ty_lobj* site = local(kSite, 1234);
  dbs_ty_lobj* a_case = local(kCase, 55);
  const long site2case = rel(kSite, "site2case");
  char related = 0;
  const struct {
    const char* what;
    std::function<long(dbs_ty_lobj*, dbs_ty_lobj*)> call;
    bool pair;
    const char* expected;
    char related;
  } rows[] = {
      {"relate", [&](dbs_ty_lobj* p, dbs_ty_lobj* f) { return adp_rel_relate_remote(con_, p, site2case, f); }, true,
       "update table_case set case2site = 1234 where objid = 55", 0},
      {"unrelate", [&](dbs_ty_lobj* p, dbs_ty_lobj* f) { return adp_rel_unrelate_remote(con_, p, site2case, f); },
       true, "update table_case set case2site = NULL where objid = 55", 0},
      {"related",
       [&](dbs_ty_lobj* p, dbs_ty_lobj* f) { return adp_rel_related_remote(con_, p, site2case, f, 0, &related); },
       true, "select case2site from table_case where objid = 55", 1},
      {"pointed to",
       [&](dbs_ty_lobj* p, dbs_ty_lobj*) { return adp_rel_pk_related_non_mtm(con_, p, site2case, &related); }, false,
       "select case2site from table_case where case2site = 1234", 1},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    ds_script::push_result({{"case2site"}, {{ds_script::cell::l(1234)}}});
    related = 0;
    ASSERT_EQ(r.call(site, a_case), 0) << r.what;
    EXPECT_EQ(sent(), std::vector<std::string>{r.expected}) << r.what;
    EXPECT_EQ(related, r.related) << r.what;
    EXPECT_EQ(level(), 0) << r.what;
    // A conversion that fails is the result, and nothing is sent.
    ds_script::reset();
    EXPECT_NE(r.call(nullptr, a_case), 0) << r.what;
    if (r.pair) {
      EXPECT_NE(r.call(site, nullptr), 0) << r.what;
    }
    EXPECT_TRUE(sent().empty()) << r.what;
  }
}

}  // namespace
