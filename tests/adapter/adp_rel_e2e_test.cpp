// Whole saves end to end: the store queues creates, updates, deletes,
// relates and unrelates and runs them with dbs_rel_do_batch on the run's
// MariaDB server (Oracle dialect); the rows, link rows and foreign keys are
// checked by SQL on a second connection after each step, and the objects
// are found again through the store's relation reads and queries.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "adapter/adp_msg.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_rel_e2e.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_trn.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_sys_cfg.h"
#include "core/utl/utl_col.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_main.h"
#include "store/dbs_qry.h"
#include "store/dbs_rel.h"

namespace {

constexpr long kCreatedFlag = 2;
constexpr long kIds = 594;
constexpr long kPointers = 517;

class AdpRelE2e : public adp_rel_e2e {
 protected:
  // The numbers of the ids the store reads by a relation of the id.
  std::vector<long> related(obj_id id, const char* name) {
    utl_ty_col* ids = nullptr;
    EXPECT_EQ(utl_col_make("test", kIds, 8, 8, 0, 0, &ids), 0);
    EXPECT_EQ(dbs_rel_get_oid_from_oid(cid_, &id, rel(id.type, name), 0, ids), 0) << name << alerts();
    std::vector<long> out;
    long n = 0;
    utl_col_num(ids, &n);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      utl_col_ith(ids, i, &e);
      out.push_back(static_cast<obj_id*>(e)->num);
    }
    utl_col_free("test", ids);
    std::sort(out.begin(), out.end());
    return out;
  }
  std::string links() {
    std::string out;
    for (const auto& r : db_.query("select person2topic, topic2person from mtm_person1_topic0 order by topic2person"))
      out += r[0] + "-" + r[1] + " ";
    return out;
  }
  static std::string pair(const obj_id& p, const obj_id& t) {
    return std::to_string(p.num) + "-" + std::to_string(t.num) + " ";
  }
  long level() {
    long l = 0;
    adp_trn_appl_level(&l);
    return l;
  }
};

TEST_F(AdpRelE2e, TheMainRoadOfSavesReadsAndDeletes) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  obj_id f{}, p{}, t1{}, t2{};
  dbs_ty_lobj* firm = fresh(kFirm, "name", "Acme", &f);
  dbs_ty_lobj* person = fresh(kPerson, "name", "Pat", &p);
  dbs_ty_lobj* red = fresh(kTopic, "label", "red", &t1);
  dbs_ty_lobj* blue = fresh(kTopic, "label", "blue", &t2);
  for (dbs_ty_lobj* o : {firm, person, red, blue}) ASSERT_EQ(dbs_obj_add_to_batch(o, 1), 0);
  queue(p, "person2firm", f, 1);
  queue(p, "person2topic", t1, 1);
  queue(t2, "topic2person", p, 1);
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(level(), 0);
  // The key went into the person's insert: no separate update.
  EXPECT_EQ(cell("name", "table_person", p.num), "Pat");
  EXPECT_EQ(cell("person2firm", "table_person", p.num), std::to_string(f.num));
  EXPECT_EQ(cell("name", "table_firm", f.num), "Acme");
  EXPECT_EQ(links(), pair(p, t1) + pair(p, t2));
  EXPECT_EQ(count_lines("update table_person"), 0);

  // Found again: ids by both relations from both sides, the relatedness
  // tests, the related objects and the store's relation queries.
  EXPECT_EQ(related(p, "person2topic"), (std::vector<long>{t1.num, t2.num}));
  EXPECT_EQ(related(t1, "topic2person"), (std::vector<long>{p.num}));
  EXPECT_EQ(related(p, "person2firm"), (std::vector<long>{f.num}));
  EXPECT_EQ(related(f, "firm2person"), (std::vector<long>{p.num}));
  char yes = 0;
  EXPECT_EQ(dbs_rel_related_remote_id_to_id(cid_, &p, rel(kPerson, "person2firm"), &f, 0, &yes), 0);
  EXPECT_EQ(yes, 1);
  EXPECT_EQ(dbs_rel_related_remote_id_to_id(cid_, &t2, rel(kTopic, "topic2person"), &p, 0, &yes), 0);
  EXPECT_EQ(yes, 1);
  dbs_ty_lobj* stored_firm = stored(&f);
  ASSERT_NE(stored_firm, nullptr);
  utl_ty_col* objs = nullptr;
  char got = 0;
  ASSERT_EQ(dbs_rel_get_remote(cid_, stored_firm, rel(kFirm, "firm2person"), 0, &objs, &got), 0) << alerts();
  long n = 0;
  utl_col_num(objs, &n);
  EXPECT_EQ(n, 1);
  dbs_obj_free_local_col(nullptr, objs);
  adp_ty_qry persons{kPerson, 0, nullptr, 0};
  long count = 0;
  EXPECT_EQ(dbs_qry_relation_num(cid_, &f, rel(kFirm, "firm2person"), &persons, &count), 0) << alerts();
  EXPECT_EQ(count, 1);

  // Update with a relate folded into the row's update.
  dbs_ty_lobj* pat = stored(&p);
  ASSERT_NE(pat, nullptr);
  const char* renamed = "Pat B";
  ASSERT_EQ(dbs_fld_set_by_name(pat, "name", &renamed), 0);
  obj_id f2{};
  dbs_ty_lobj* other = fresh(kFirm, "name", "Bolt", &f2);
  ASSERT_EQ(dbs_obj_add_to_batch(pat, 0), 0);
  ASSERT_EQ(dbs_obj_add_to_batch(other, 1), 0);
  queue(p, "person2firm", f2, 1);
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(cell("name || '/' || person2firm", "table_person", p.num), "Pat B/" + std::to_string(f2.num));

  // Unrelates: the link row and the key; the change date of the person.
  ASSERT_TRUE(db_.run("update table_person set upd_date = null;"));
  queue(p, "person2topic", t1, 0);
  queue(f2, "firm2person", p, 0);
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(links(), pair(p, t2));
  EXPECT_EQ(cell("person2firm", "table_person", p.num), "-");
  EXPECT_NE(cell("upd_date", "table_person", p.num), "-");

  // Deletes clear the references to the deleted rows.
  queue(p, "person2firm", f, 1);
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(cell("person2firm", "table_person", p.num), std::to_string(f.num));
  ASSERT_EQ(dbs_obj_delete_in_batch(stored_firm, 0), 0);
  dbs_ty_lobj* stored_tag = stored(&t2);
  ASSERT_NE(stored_tag, nullptr);
  ASSERT_EQ(dbs_obj_delete_in_batch(stored_tag, 0), 0);
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(cell("name", "table_firm", f.num), "");
  EXPECT_EQ(cell("person2firm", "table_person", p.num), "-");
  EXPECT_EQ(links(), "");
  EXPECT_EQ(level(), 0);
  EXPECT_EQ(dbs_db_logout(cid_), 0);
  cid_ = nullptr;
}

TEST_F(AdpRelE2e, EmptyQueuesWriteNothingAndLeaveTheLevel) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  ASSERT_EQ(adp_trn_begin(cid_), 0);
  const long before = log_lines().size();
  EXPECT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0);
  EXPECT_EQ(level(), 1);
  EXPECT_EQ(static_cast<long>(log_lines().size()), before);
  EXPECT_EQ(adp_trn_commit(cid_), 0);
}

TEST_F(AdpRelE2e, SixtyStatementsRunInThreeSubBatchesOfOneTransaction) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  adp_rel_max_per_batch_forget();
  ASSERT_EQ(osl_sys_set_config_string("MAX_PER_BATCH", "0", 0), 0);
  for (int i = 0; i < 60; ++i) {
    obj_id id{};
    ASSERT_EQ(dbs_obj_add_to_batch(fresh(kPerson, "name", ("p" + std::to_string(i)).c_str(), &id), 1), 0);
  }
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(value("select count(*) from table_person"), "60");
  EXPECT_EQ(count_lines("MAX SQL STATEMENTS PER BATCH: 25"), 1);
  EXPECT_EQ(count_lines("STARTING SINGLE SQL BATCH"), 3);
  EXPECT_EQ(count_lines("SINGLE SQL BATCH DONE"), 3);
  // The value is read once per process.
  ASSERT_EQ(osl_sys_set_config_string("MAX_PER_BATCH", "-4", 0), 0);
  obj_id id{};
  ASSERT_EQ(dbs_obj_add_to_batch(fresh(kPerson, "name", "last", &id), 1), 0);
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(count_lines("MAX SQL STATEMENTS PER BATCH"), 1);
  EXPECT_EQ(adp_rel_max_per_batch_value(), 25);
  osl_sys_set_config_string("MAX_PER_BATCH", "", 0);
}

TEST_F(AdpRelE2e, AFailingLastSubBatchLeavesNothingOfTheSave) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  for (int i = 0; i < 50; ++i) {
    obj_id id{};
    ASSERT_EQ(dbs_obj_add_to_batch(fresh(kPerson, "name", ("p" + std::to_string(i)).c_str(), &id), 1), 0);
  }
  // Two topics of one label: the unique index refuses the second, in the
  // third sub-batch.
  obj_id a{}, b{};
  ASSERT_EQ(dbs_obj_add_to_batch(fresh(kTopic, "label", "same", &a), 1), 0);
  ASSERT_EQ(dbs_obj_add_to_batch(fresh(kTopic, "label", "same", &b), 1), 0);
  EXPECT_NE(dbs_rel_do_batch(cid_, 1, 0), 0);
  dbs_trn_rollback(cid_);
  EXPECT_EQ(count_lines("SINGLE SQL BATCH DONE"), 2);
  EXPECT_EQ(value("select count(*) from table_person"), "0");
  EXPECT_EQ(value("select count(*) from table_topic"), "0");
  EXPECT_EQ(adp_rel_queue(), nullptr);
  EXPECT_EQ(adp_obj_queue(), nullptr);
}

TEST_F(AdpRelE2e, AFailingRelateLeavesNothing) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  obj_id p{}, t{}, f{};
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kPerson, "name", "Pat", &p), &p), 0);
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kTopic, "label", "red", &t), &t), 0);
  ASSERT_EQ(dbs_obj_add_to_batch(fresh(kFirm, "name", "Acme", &f), 1), 0);
  queue(p, "person2firm", f, 1);
  queue(p, "person2topic", t, 1);
  ASSERT_TRUE(db_.run("drop table mtm_person1_topic0;"));
  EXPECT_NE(dbs_rel_do_batch(cid_, 1, 0), 0);
  dbs_trn_rollback(cid_);
  EXPECT_EQ(cell("name", "table_firm", f.num), "");
  EXPECT_EQ(cell("person2firm", "table_person", p.num), "-");
}

TEST_F(AdpRelE2e, AConditionalUpdateThatChangesNoRowFailsTheSave) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  obj_id p{}, f{};
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kPerson, "name", "Pat", &p), &p), 0);
  struct {
    const char* expected_name;
    long status;
    const char* person_after;
    const char* firm_after;
  } rows[] = {{"Nobody", 0x70002d, "Pat", ""}, {"Pat", 0, "Kim", "Zed"}};
  for (const auto& r : rows) {
    dbs_ty_lobj* pat = stored(&p);
    ASSERT_NE(pat, nullptr);
    const char* name = "Kim";
    ASSERT_EQ(dbs_fld_set_by_name(pat, "name", &name), 0);
    ASSERT_EQ(dbs_obj_add_to_batch(pat, 0), 0);
    dbs_ty_lobj* firm = fresh(kFirm, "name", "Zed", &f);
    ASSERT_EQ(dbs_obj_add_to_batch(firm, 1), 0);
    adp_ty_qry_pcond cond{2, ADP_OPR_EQ, reinterpret_cast<long>(r.expected_name), 0};
    long entry[3] = {reinterpret_cast<long>(pat), 1, reinterpret_cast<long>(&cond)};
    utl_ty_col* conds = nullptr;
    ASSERT_EQ(utl_col_make("test", kIds, 1, 1, 0, 0, &conds), 0);
    ASSERT_EQ(utl_col_push(conds, entry, nullptr), 0);
    ASSERT_EQ(dbs_obj_cond_add_to_batch(conds), 0);
    utl_col_free("test", conds);
    EXPECT_EQ(dbs_rel_do_batch(cid_, 1, 0), r.status) << r.expected_name;
    if (r.status != 0) {
      long code = 0;
      cmn_alrt_top(nullptr, &code, nullptr);
      EXPECT_EQ(code, 0x70002d) << alerts();
      dbs_trn_rollback(cid_);
    }
    EXPECT_EQ(cell("name", "table_person", p.num), r.person_after) << r.expected_name;
    EXPECT_EQ(cell("name", "table_firm", f.num), r.firm_after) << r.expected_name;
  }
}

TEST_F(AdpRelE2e, ALongTextIsWrittenAfterItsBatch) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  const std::string text(40000, 'x');
  obj_id id{};
  dbs_ty_lobj* t = fresh(40, "title", "long", &id);
  const char* notes = text.c_str();
  ASSERT_EQ(dbs_fld_set_by_name(t, "notes", &notes), 0);
  ASSERT_EQ(dbs_obj_add_to_batch(t, 1), 0);
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(value("select length(notes) from table_ticket where objid = " + std::to_string(id.num)), "40000");
}

TEST_F(AdpRelE2e, RelatingALinkedPairAgainKeepsItsOneRow) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  obj_id p{}, t{};
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kPerson, "name", "Pat", &p), &p), 0);
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kTopic, "label", "red", &t), &t), 0);
  for (int i = 0; i < 2; ++i) {
    queue(p, "person2topic", t, 1);
    ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
    EXPECT_EQ(links(), pair(p, t));
  }
  // The same through the direct relate.
  EXPECT_EQ(dbs_rel_relate_id_to_id(cid_, &p, rel(kPerson, "person2topic"), &t), 0) << alerts();
  EXPECT_EQ(links(), pair(p, t));
}

TEST_F(AdpRelE2e, OfflineRelatesAndUnrelatesWriteTheirChangeRows) {
  ASSERT_NE(login(kCreatedFlag | DBS_HDR_ROAMER), nullptr);
  obj_id p{}, t{}, f{};
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kPerson, "name", "Pat", &p), &p), 0);
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kTopic, "label", "red", &t), &t), 0);
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kFirm, "name", "Acme", &f), &f), 0);
  const std::string fn = std::to_string(f.num);
  queue(p, "person2firm", f, 1);
  queue(p, "person2topic", t, 1, obj_id{100000002, 77, 0});
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(db_.query("select row_id, row_ver, prev_row_ver, table_name, tx_detail from de_updates"),
            (testdb::rows{{std::to_string(p.num), "1", "0", "table_person",
                           "1 person2firm " + std::to_string(fn.size()) + " " + fn}}));
  EXPECT_EQ(cell("dev || '/' || person2firm", "table_person", p.num), "1/" + fn);
  EXPECT_EQ(db_.query("select objid, dev from mtm_person1_topic0"), (testdb::rows{{"77", "1"}}));
  ASSERT_TRUE(db_.run("delete from de_updates;"));
  queue(p, "person2firm", f, 0);
  queue(p, "person2topic", t, 0);
  ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
  EXPECT_EQ(db_.query("select row_ver, tx_detail from de_updates"),
            (testdb::rows{{"2", "1 person2firm 4 NULL"}}));
  EXPECT_EQ(cell("dev || '/' || coalesce(person2firm, -1)", "table_person", p.num), "2/-1");
  EXPECT_EQ(value("select count(*) from mtm_person1_topic0"), "0");
}

TEST_F(AdpRelE2e, DirectRelatesAndUnrelatesById) {
  ASSERT_NE(login(kCreatedFlag | DBS_HDR_ROAMER), nullptr);
  obj_id p{}, t{}, f{};
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kPerson, "name", "Pat", &p), &p), 0);
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kTopic, "label", "red", &t), &t), 0);
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kFirm, "name", "Acme", &f), &f), 0);
  const std::string fn = std::to_string(f.num);
  // The change row comes first, then the key, the version and the date.
  ASSERT_TRUE(db_.run("update table_person set upd_date = null;"));
  ASSERT_EQ(dbs_rel_relate_id_to_id(cid_, &p, rel(kPerson, "person2firm"), &f), 0) << alerts();
  EXPECT_EQ(db_.query("select row_ver, tx_detail from de_updates"),
            (testdb::rows{{"1", "1 person2firm " + std::to_string(fn.size()) + " " + fn}}));
  EXPECT_EQ(cell("dev || '/' || person2firm", "table_person", p.num), "1/" + fn);
  EXPECT_NE(cell("upd_date", "table_person", p.num), "-");
  // A link row with an id of the link-row type.
  ASSERT_EQ(dbs_rel_relate_id_to_id(cid_, &t, rel(kTopic, "topic2person"), &p), 0) << alerts();
  EXPECT_EQ(value("select count(*) from mtm_person1_topic0 where objid > 0 and dev = 1"), "1");
  EXPECT_EQ(level(), 0);
  ASSERT_EQ(dbs_rel_unrelate_id_to_id(cid_, &f, rel(kFirm, "firm2person"), &p), 0) << alerts();
  EXPECT_EQ(cell("person2firm", "table_person", p.num), "-");
  ASSERT_EQ(dbs_rel_unrelate_from_id(cid_, &p, rel(kPerson, "person2topic")), 0) << alerts();
  EXPECT_EQ(value("select count(*) from mtm_person1_topic0"), "0");
  char yes = 1;
  EXPECT_EQ(dbs_rel_related_remote_id_to_id(cid_, &p, rel(kPerson, "person2firm"), &f, 0, &yes), 0);
  EXPECT_EQ(yes, 0);
  EXPECT_EQ(level(), 0);
}

TEST_F(AdpRelE2e, LocalObjectsAreRelatedTestedAndUnrelated) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  obj_id p{}, t{}, f{}, f2{};
  dbs_ty_lobj* person = fresh(kPerson, "name", "Pat", &p);
  dbs_ty_lobj* topic = fresh(kTopic, "label", "red", &t);
  dbs_ty_lobj* firm = fresh(kFirm, "name", "Acme", &f);
  dbs_ty_lobj* other = fresh(kFirm, "name", "Bolt", &f2);
  const std::pair<dbs_ty_lobj*, obj_id*> made[] = {{person, &p}, {topic, &t}, {firm, &f}, {other, &f2}};
  for (const auto& [o, id] : made) ASSERT_EQ(dbs_obj_create(cid_, o, id), 0) << alerts();
  const long firm2person = rel(kFirm, "firm2person");
  const long person2topic = rel(kPerson, "person2topic");
  // Whether a firm is pointed to, whether a pair is related.
  auto pointed_to = [&](dbs_ty_lobj* o) {
    char yes = 9;
    EXPECT_EQ(adp_rel_pk_related_non_mtm(cid_, o, firm2person, &yes), 0) << alerts();
    return yes;
  };
  auto related = [&](dbs_ty_lobj* a, long rel_id, dbs_ty_lobj* b) {
    char yes = 9;
    EXPECT_EQ(adp_rel_related_remote(cid_, a, rel_id, b, 0, &yes), 0) << alerts();
    return yes;
  };
  EXPECT_EQ(pointed_to(firm), 0);
  ASSERT_TRUE(db_.run("update table_person set upd_date = null;"));
  ASSERT_EQ(adp_rel_relate_remote(cid_, firm, firm2person, person), 0) << alerts();
  EXPECT_EQ(cell("person2firm", "table_person", p.num), std::to_string(f.num));
  EXPECT_NE(cell("upd_date", "table_person", p.num), "-");
  ASSERT_EQ(adp_rel_relate_remote(cid_, person, person2topic, topic), 0) << alerts();
  EXPECT_EQ(links(), pair(p, t));
  EXPECT_EQ(related(firm, firm2person, person), 1);
  EXPECT_EQ(related(other, firm2person, person), 0);
  EXPECT_EQ(related(person, person2topic, topic), 1);
  EXPECT_EQ(pointed_to(firm), 1);
  EXPECT_EQ(pointed_to(other), 0);
  char yes = 9;
  EXPECT_EQ(adp_rel_pk_related_id_non_mtm(cid_, &f, firm2person, &yes), 0);
  EXPECT_EQ(yes, 1);
  // The person holds the key: nothing points to it by this relation.
  EXPECT_EQ(adp_rel_pk_related_id_non_mtm(cid_, &p, rel(kPerson, "person2firm"), &yes), ADP_REL_BAD_SIDE);
  // The unrelate writes the person's change date too.
  ASSERT_TRUE(db_.run("update table_person set upd_date = null;"));
  ASSERT_EQ(adp_rel_unrelate_remote(cid_, firm, firm2person, person), 0) << alerts();
  EXPECT_EQ(cell("person2firm", "table_person", p.num), "-");
  EXPECT_NE(cell("upd_date", "table_person", p.num), "-");
  ASSERT_EQ(adp_rel_unrelate_remote(cid_, person, person2topic, topic), 0) << alerts();
  EXPECT_EQ(links(), "");
  EXPECT_EQ(related(firm, firm2person, person), 0);
  EXPECT_EQ(related(person, person2topic, topic), 0);
  EXPECT_EQ(pointed_to(firm), 0);
  EXPECT_EQ(level(), 0);
}

TEST_F(AdpRelE2e, ARelatednessTestOfAMissingRowIsAnAlert) {
  ASSERT_NE(login(kCreatedFlag), nullptr);
  obj_id f{};
  ASSERT_EQ(dbs_obj_create(cid_, fresh(kFirm, "name", "Acme", &f), &f), 0);
  obj_id ghost{kPerson, 999999, 0};
  char yes = 1;
  EXPECT_EQ(dbs_rel_related_remote_id_to_id(cid_, &ghost, rel(kPerson, "person2firm"), &f, 0, &yes), 0x600016);
}

TEST_F(AdpRelE2e, TheCombineOptimisationWritesTheRelatesOfOneRowInOneUpdate) {
  ASSERT_NE(login(kCreatedFlag | DBS_HDR_ROAMER), nullptr);
  const struct {
    char combine;
    long change_rows;
  } rows[] = {{0, 2}, {1, 1}};
  for (const auto& r : rows) {
    obj_id p{}, f1{}, f2{};
    ASSERT_EQ(dbs_obj_create(cid_, fresh(kPerson, "name", "Pat", &p), &p), 0);
    ASSERT_EQ(dbs_obj_create(cid_, fresh(kFirm, "name", "Acme", &f1), &f1), 0);
    ASSERT_EQ(dbs_obj_create(cid_, fresh(kFirm, "name", "Bolt", &f2), &f2), 0);
    ASSERT_TRUE(db_.run("delete from de_updates;"));
    adp_rel_set_combine_optimize(r.combine);
    queue(p, "person2firm", f1, 1);
    queue(p, "person2owner", f2, 1);
    ASSERT_EQ(dbs_rel_do_batch(cid_, 1, 0), 0) << alerts();
    EXPECT_EQ(cell("person2firm || '/' || person2owner", "table_person", p.num),
              std::to_string(f1.num) + "/" + std::to_string(f2.num));
    EXPECT_EQ(value("select count(*) from de_updates"), std::to_string(r.change_rows)) << int(r.combine);
    EXPECT_EQ(cell("dev", "table_person", p.num), std::to_string(r.change_rows)) << int(r.combine);
  }
}

}  // namespace
