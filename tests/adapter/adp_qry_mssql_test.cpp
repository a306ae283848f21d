// Query texts on SQL Server and the deadlock retry, through the scripted
// service: what the server is sent for the conditions' edge cases, the open
// query batch, refused conditions, and the re-runs after deadlocks.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_pass.h"
#include "adapter/adp_pwr.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_model.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_trn.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "core/clk/clk_srv.h"
#include "core/utl/utl_col.h"
#include "schema/typ_path.h"
#include "schema/typ_rec.h"
#include "platform/dataservice/ds_script.h"
#include "store/dbs_obj.h"

namespace {

using namespace adp_qry_model;
using ds_script::cell;

constexpr long kDeadlockError = 0x8B0014E;
constexpr long kLongs = 512, kPtrs = 517;

class AdpQryMssql : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    build();
    con_ = connect("oledb");
  }
  static std::vector<std::string> sent() {
    std::vector<std::string> out;
    for (const std::string& c : ds_script::calls())
      for (const char* p : {"FetchNextSet ", "ExecQuery "})
        if (c.rfind(p, 0) == 0) out.push_back(c.substr(std::string(p).size()));
    return out;
  }
  static std::string last() {
    auto s = sent();
    return s.empty() ? "" : s.back();
  }
  static utl_ty_col* make(long type) {
    utl_ty_col* c = nullptr;
    utl_col_make("test", type, 10, 10, 0, 0, &c);
    return c;
  }
  // The text of an id query of the conditions.
  std::string id_text(adp_ty_qry& d) {
    ds_script::push_result({{"objid"}, {}});
    utl_ty_col* ids = make(kLongs);
    long st = adp_qry_simple_for_id(con_, &d, nullptr, nullptr, -1, 0, ids);
    utl_col_free("test", ids);
    return st == 0 ? last() : "status " + std::to_string(st);
  }
  KAdpConnId* con_ = nullptr;
};

// Counts the pieces of a text.
long occurrences(const std::string& text, const std::string& piece) {
  long n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

TEST_F(AdpQryMssql, ConditionTextsPerOperator) {
  static const char* kEmpty = "";
  static const char* kA = "a";
  const struct {
    long field, op, value;
    const char* where;
  } rows[] = {
      {kCaseObjid, ADP_OPR_EQ, 7, " where   (  objid = @V0 ) "},
      {kCaseObjid, ADP_OPR_NE, 7, " where   (  (objid != @V0 OR objid IS NULL) ) "},
      {kCaseTitle, ADP_OPR_EQ, reinterpret_cast<long>(kEmpty), " where   (  title = ''  ) "},
      {kCaseTitle, ADP_OPR_NE, reinterpret_cast<long>(kEmpty), " where   (  title != ''  ) "},
      {kCaseTitle, ADP_OPR_SOUNDEX, reinterpret_cast<long>(kA), " where   (  soundex(title) = soundex(@V0) ) "},
      {kCaseFlags, ADP_OPR_ANY_BIT, 5, " where   (  ( flags & @V0 != 0)  ) "},
      {kCaseFlags, ADP_OPR_NO_BIT, 5, " where   (  ( flags & @V0 = 0)  ) "},
      {kCaseTitle, ADP_OPR_NULL, 0, " where   (  title IS NULL  ) "},
      {kCaseAmount, ADP_OPR_NOT_NULL, 0, " where   (  amount IS NOT NULL  ) "},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    adp_ty_qry_cond c{r.field, r.op, r.value};
    adp_ty_qry d{kCase, 1, &c, ADP_QRY_JOIN_AND};
    EXPECT_EQ(id_text(d), std::string("select objid\n from table_case \n") + r.where) << r.where;
  }
}

TEST_F(AdpQryMssql, InListsBreakAfterTwoHundredFiftyFourValues) {
  for (long n : {254L, 255L, 0L}) {
    ds_script::reset();
    utl_ty_col* values = make(kLongs);
    for (long i = 0; i < n; ++i) utl_col_insert(values, &i, nullptr);
    adp_ty_qry_cond c{kCaseObjid, ADP_OPR_IN, reinterpret_cast<long>(values)};
    adp_ty_qry d{kCase, 1, &c, ADP_QRY_JOIN_AND};
    const std::string text = id_text(d);
    utl_col_free("test", values);
    if (n == 0) {
      // An empty list matches nothing.
      EXPECT_NE(text.find(" where   (  (1 = 0) ) "), std::string::npos) << text;
      continue;
    }
    EXPECT_EQ(occurrences(text, "IN ("), n == 254 ? 1 : 2) << n;
    EXPECT_EQ(occurrences(text, ") or objid IN ( @V254"), n == 255 ? 1 : 0) << text.substr(0, 200);
    EXPECT_EQ(occurrences(text, "@V"), n) << n;
  }
}

TEST_F(AdpQryMssql, NoLockReadsOnlyForModeOneOnSqlServer) {
  utl_ty_col* list = make(kLongs);
  for (long i = 1; i <= 3; ++i) utl_col_insert(list, &i, nullptr);
  adp_ty_qry d{kCase, 0, nullptr, 0};
  for (long mode : {1L, 0L}) {
    ds_script::reset();
    ds_script::push_result({{"objid"}, {}});
    utl_ty_col* objs = make(kPtrs);
    ASSERT_EQ(adp_qry_simple_with_id2(con_, &d, nullptr, nullptr, list, 0, 2, -1, objs, mode), 0);
    EXPECT_EQ(last().find("\n from table_case (NOLOCK) \n where objid IN ( @V0, @V1, @V2)") != std::string::npos,
              mode == 1)
        << last();
    utl_col_free("test", objs);
  }
  utl_col_free("test", list);
}

TEST_F(AdpQryMssql, OpenQueryBatchQueuesTheQueryWithoutRunningIt) {
  auto* op = dynamic_cast<KAdpMssqlOperation*>(con_->GetDbOperation());
  ASSERT_NE(op, nullptr);
  ASSERT_EQ(op->BatchInitialize(con_), 0);
  static const char* kOpen = "open";
  adp_ty_qry_cond c{kCaseStatus, ADP_OPR_EQ, reinterpret_cast<long>(kOpen)};
  adp_ty_qry d{kCase, 1, &c, ADP_QRY_JOIN_AND};
  utl_ty_col* results = make(kPtrs);
  ASSERT_EQ(adp_qry_simple_sql(con_, results, &d, 0, nullptr, 0), 0);
  long n = -1;
  utl_col_num(results, &n);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(ds_script::count("FetchNextSet"), 0);
  EXPECT_EQ(ds_script::count("StartBatch"), 0);
  ASSERT_EQ(op->GetBatchTypes().GetSize(), 1);
  EXPECT_EQ(static_cast<long>(op->GetBatchTypes()[0]), kCase);
  ASSERT_GE(op->GetBatch()->GetStmtCount(), 1);
  EXPECT_NE(std::string(op->GetBatch()->GetStmt(0)).find("\n WHERE   (  status = @V0 ) "), std::string::npos)
      << op->GetBatch()->GetStmt(0);
  op->BatchTerminate();
  utl_col_free("test", results);
}

TEST_F(AdpQryMssql, PreparedSqlIsRefusedUnlessItStaysOneStatement) {
  static const char* kBad[] = {"status = 'open'; drop table table_case", "title = 'x' -- c", "title = 'x",
                               "1=1 /* c */"};
  for (const char* raw : kBad) {
    ds_script::reset();
    cmn_alrt_clear(nullptr);
    adp_ty_qry_cond c{kCaseTitle, ADP_OPR_RAW, reinterpret_cast<long>(raw)};
    adp_ty_qry d{kCase, 1, &c, ADP_QRY_JOIN_AND};
    utl_ty_col* objs = make(kPtrs);
    EXPECT_EQ(adp_qry_simple(con_, &d, nullptr, nullptr, -1, 0, 0, objs), ADP_QRY_REFUSED) << raw;
    EXPECT_EQ(adp_qry_simple_with_cond(con_, &d, const_cast<char*>(raw), nullptr, nullptr, -1, 0, 0, objs),
              ADP_QRY_REFUSED)
        << raw;
    EXPECT_EQ(ds_script::count("FetchNextSet"), 0) << raw;
    utl_col_free("test", objs);
  }
  // A semicolon inside a literal is text.
  static const char* kGood = "title = 'a;b' and status = 'it''s'";
  adp_ty_qry_cond c{kCaseTitle, ADP_OPR_RAW, reinterpret_cast<long>(kGood)};
  adp_ty_qry d{kCase, 1, &c, ADP_QRY_JOIN_AND};
  EXPECT_NE(id_text(d).find(kGood), std::string::npos);
}

// The relation query texts (ids) from described objects, in every form.
std::string relation_text(KAdpConnId* con, long from_type, adp_ty_qry_cond* from, long nfrom, char join,
                          const char* rel_name, long target_type) {
  ds_script::reset();
  ds_script::push_result({{"objid"}, {}});
  adp_ty_qry_rel e{};
  e.from = {from_type, nfrom, from, join};
  e.rel_id = rel(from_type, rel_name);
  e.target = {target_type, 0, nullptr, 0};
  utl_ty_col* cols = nullptr;
  utl_col_make("test", kPtrs, 1, 1, 0, 0, &cols);
  utl_ty_col* ids = nullptr;
  utl_col_make("test", kLongs, 1, 1, 0, 0, &ids);
  utl_col_push(cols, &ids, nullptr);
  long st = adp_qry_mult_rel_for_id(con, 1, reinterpret_cast<obj_id*>(&e), 0, cols);
  utl_col_free("test", ids);
  utl_col_free("test", cols);
  const auto calls = ds_script::calls();
  for (auto it = calls.rbegin(); it != calls.rend(); ++it)
    if (it->rfind("FetchNextSet ", 0) == 0) return st == 0 ? it->substr(13) : "status " + std::to_string(st);
  return "status " + std::to_string(st);
}

TEST_F(AdpQryMssql, RelationTextsInEveryForm) {
  adp_ty_qry_cond two_ids[] = {{kSiteObjid, ADP_OPR_EQ, 5}, {kSiteObjid, ADP_OPR_EQ, 7}};
  // Side 'p' with OR-joined ids: the list itself, no sub-select.
  EXPECT_EQ(relation_text(con_, kSite, two_ids, 2, 0, "site2case", kCase),
            "select objid\n from table_case \n where case2site IN (@V0, @V1)");
  // With the AND flag the ids go through the sub-select.
  EXPECT_EQ(relation_text(con_, kSite, two_ids, 2, ADP_QRY_JOIN_AND, "site2case", kCase),
            "select objid\n from table_case \n where case2site IN (select objid \n     from table_site\n     "
            "where   (  objid = @V0  AND  objid = @V1 ) \n     )");
  // Side 'f': the target's ids in the keys of the from objects.
  adp_ty_qry_cond case_id{kCaseObjid, ADP_OPR_EQ, 3};
  EXPECT_EQ(relation_text(con_, kCase, &case_id, 1, 0, "case2site", kSite),
            "select objid\n from table_site \n where objid IN (select case2site \n     from table_case\n     "
            "where   (  objid = @V0 ) \n     )");
  // A relation with a type column: its column and the type condition on
  // the table that holds them, on both sides; a focus condition without
  // from conditions gets its WHERE.
  adp_ty_qry_cond note_id{kCaseObjid, ADP_OPR_EQ, 4};
  EXPECT_EQ(relation_text(con_, kCase, &note_id, 1, 0, "case2note", kNote),
            "select objid\n from table_note \n where ( owner_type = 10 ) AND note_owner IN (@V0)");
  EXPECT_EQ(relation_text(con_, kNote, nullptr, 0, 0, "note2case", kCase),
            "select objid\n from table_case \n where objid IN (select note_owner \n     from table_note\n     "
            "where ( owner_type = 10 )\n     )");
  // The link-table form.
  typ_sch_rrec* mtm = schema(kSite)->rels[rel(kSite, "site2contact")].rel;
  const std::string link = mtm->mtm_table;
  const bool site_p = mtm->pschema == schema(kSite);
  const std::string palias = site_p ? "T1" : "T2", falias = site_p ? "T2" : "T1";
  adp_ty_qry_cond site_id{kSiteObjid, ADP_OPR_EQ, 1};
  EXPECT_EQ(relation_text(con_, kSite, &site_id, 1, 0, "site2contact", kContact),
            "select T2.objid\n from table_contact T2, table_site T1, " + link + " \n where " + palias + ".objid = " +
                link + "." + mtm->pname + " AND " + falias + ".objid = " + link + "." + mtm->fname + "   AND ( T1.objid = @V0)");
}

// The text a relation text form wrote into a fresh statement; nothing ran.
std::string written(long st, void* stmt) {
  EXPECT_EQ(ds_script::count("FetchNextSet"), 0);
  if (st != 0) return "status " + std::to_string(st);
  return static_cast<KAdpSqlBatch*>(stmt)->GetCurrentStmt();
}

TEST_F(AdpQryMssql, RelationTextsWrittenIntoTheCallersStatement) {
  typ_sch_rrec* mtm = schema(kSite)->rels[rel(kSite, "site2contact")].rel;
  const std::string link = mtm->mtm_table;
  const bool site_p = mtm->pschema == schema(kSite);
  const std::string site_col = site_p ? mtm->pname : mtm->fname, contact_col = site_p ? mtm->fname : mtm->pname;
  static const char* kLee = "Lee";
  adp_ty_qry_cond site_id{kSiteObjid, ADP_OPR_EQ, 1};
  adp_ty_qry_cond lee{kContactLastName, ADP_OPR_EQ, reinterpret_cast<long>(kLee)};
  adp_ty_qry_cond case_id{kCaseObjid, ADP_OPR_EQ, 4};
  adp_ty_qry_cond two_ids[] = {{kSiteObjid, ADP_OPR_EQ, 5}, {kSiteObjid, ADP_OPR_EQ, 7}};
  qry_order by_name{kContactLastName, 1};
  adp_ty_qry one_site{kSite, 1, &site_id, ADP_QRY_JOIN_AND}, two_sites{kSite, 2, two_ids, 0};
  adp_ty_qry one_case{kCase, 1, &case_id, ADP_QRY_JOIN_AND}, no_notes{kNote, 0, nullptr, 0};
  adp_ty_qry no_contacts{kContact, 0, nullptr, 0}, lees{kContact, 1, &lee, ADP_QRY_JOIN_AND};
  adp_ty_qry no_sites{kSite, 0, nullptr, 0}, no_cases{kCase, 0, nullptr, 0};
  const std::string joined = "select T2.objid\n from table_contact T2, " + link + " \n where T2.objid = " + link +
                             "." + contact_col + " \n AND ( " + link + "." + site_col + " = 1 )";
  const struct {
    adp_ty_qry* from;
    const char* rel;
    adp_ty_qry* target;
    long norder;
    bool objects;
    std::string text;
  } rows[] = {
      // One site by id, nothing asked of the contacts: the link table alone.
      {&one_site, "site2contact", &no_contacts, 0, false,
       "select " + contact_col + "\n from " + link + " \n where " + site_col + " = 1 "},
      // With a target condition or an ordering: the contacts joined to it.
      {&one_site, "site2contact", &lees, 0, false, joined + "  AND ( T2.last_name = @V0)"},
      {&one_site, "site2contact", &no_contacts, 1, false, joined + "\n order by T2.last_name desc "},
      // Two sites: the three-table join.
      {&two_sites, "site2contact", &no_contacts, 0, false,
       "select T2.objid\n from table_contact T2, table_site T1, " + link + " \n where " + (site_p ? "T1" : "T2") +
           ".objid = " + link + "." + mtm->pname + " AND " + (site_p ? "T2" : "T1") + ".objid = " + link + "." +
           mtm->fname + "   AND ( T1.objid = @V0  OR  T1.objid = @V1)"},
      // Foreign keys: the shortcut list, and the type column's condition
      // written as a condition (not as bound names).
      {&two_sites, "site2case", &no_cases, 0, false, "select objid\n from table_case \n where case2site IN (@V0, @V1)"},
      {&one_case, "case2note", &no_notes, 0, false,
       "select objid\n from table_note \n where ( owner_type = 10 ) AND note_owner IN (@V0)"},
      // Objects: the foreign-key sub-select selects DISTINCT.
      {&one_case, "case2site", &no_sites, 0, true,
       "select objid, name\n from table_site \n where objid IN (select distinct case2site \n     from table_case\n     "
       "where   (  objid = @V0 ) \n     )"},
  };
  for (const auto& r : rows) {
    ds_script::reset();
    void* stmt = nullptr;
    ASSERT_EQ(adp_sql_create(con_, &stmt), 0);
    const long relation = rel(r.from->type_id, r.rel);
    const long st = r.objects ? adp_qry_relation_non_mtm_sql(con_, stmt, r.from, relation, r.target, r.norder,
                                                             &by_name, 0, 0)
                              : adp_qry_sql_rel_for_id(con_, stmt, r.from, relation, r.target, r.norder, &by_name, 0);
    EXPECT_EQ(written(st, stmt), r.text) << r.rel;
  }
  // Counts have no text form; a missing statement is refused.
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(adp_qry_sql_rel_for_id(con_, nullptr, &one_site, rel(kSite, "site2case"), &no_cases, 0, nullptr, 0),
            ADP_SQL_NULL_POINTER);
}

TEST_F(AdpQryMssql, RelationSqlJoinsTheOpenBatchWithoutFlags) {
  auto* op = dynamic_cast<KAdpMssqlOperation*>(con_->GetDbOperation());
  ASSERT_NE(op, nullptr);
  ASSERT_EQ(op->BatchInitialize(con_), 0);
  adp_ty_qry_cond site_id{kSiteObjid, ADP_OPR_EQ, 1};
  adp_ty_qry from{kSite, 1, &site_id, ADP_QRY_JOIN_AND}, target{kCase, 0, nullptr, 0};
  utl_ty_col* results = make(kPtrs);
  // Flags 1 (DISTINCT) are not passed on.
  ASSERT_EQ(adp_qry_relation_sql(con_, results, &from, rel(kSite, "site2case"), &target, 0, nullptr, 0, 1), 0);
  long n = -1;
  utl_col_num(results, &n);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(ds_script::count("FetchNextSet"), 0);
  ASSERT_EQ(op->GetBatchTypes().GetSize(), 1);
  EXPECT_EQ(static_cast<long>(op->GetBatchTypes()[0]), kCase);
  const std::string text = op->GetBatch()->GetStmt(0);
  EXPECT_EQ(text.rfind("select  objid", 0), 0u) << text;
  EXPECT_NE(text.find("case2site IN (@V0)"), std::string::npos) << text;
  op->BatchTerminate();
  utl_col_free("test", results);
}

TEST_F(AdpQryMssql, NonBlockResultsReadRowByRow) {
  const std::vector<long> rows = {3, 3, 4, 4, 5};
  const struct {
    long count, option;
    std::vector<long> ids;
  } cases[] = {
      {-1, 0, {3, 3, 4, 4, 5}},
      {-1, 1, {3, 4, 5}},  // a repeat of the id before is skipped
      {2, 0, {3, 3}},
      {2, 1, {3, 4}},  // count counts the ids taken
      {0, 0, {}},
  };
  for (const auto& c : cases) {
    ds_script::reset();
    ds_script::result r{{"objid"}, {}};
    for (long id : rows) r.rows.push_back({cell::l(id)});
    ds_script::push_result(r);
    void* stmt = nullptr;
    ASSERT_EQ(adp_sql_create(con_, &stmt), 0);
    ASSERT_EQ(adp_sql_append(con_, stmt, "select objid from table_case"), 0);
    utl_ty_col* ids = make(kLongs);
    EXPECT_EQ(adp_qry_non_block_results(stmt, c.count, ids, c.option), 0);
    std::vector<long> got;
    for (long i = 0; i < ids->count; ++i) {
      void* slot = nullptr;
      utl_col_ith(ids, i, &slot);
      got.push_back(*static_cast<long*>(slot));
    }
    EXPECT_EQ(got, c.ids) << c.count << " " << c.option;
    EXPECT_EQ(ds_script::count("FetchNextSet select objid from table_case"), 1);
    utl_col_free("test", ids);
  }
  // The ids are longs: another collection is refused before anything runs.
  ds_script::reset();
  cmn_alrt_clear(nullptr);
  void* stmt = nullptr;
  ASSERT_EQ(adp_sql_create(con_, &stmt), 0);
  utl_ty_col* objs = make(kPtrs);
  EXPECT_EQ(adp_qry_non_block_results(stmt, -1, objs, 0), ADP_SQL_BAD_COL_TYPE);
  EXPECT_EQ(adp_qry_non_block_results(nullptr, -1, objs, 0), ADP_SQL_NULL_POINTER);
  EXPECT_EQ(ds_script::count("FetchNextSet"), 0);
  utl_col_free("test", objs);
}

class AdpQryRetry : public AdpQryMssql {
 protected:
  void SetUp() override {
    AdpQryMssql::SetUp();
    log_ = open_memstream(&buf_, &len_);
    adp_sql_log_sql(log_);
  }
  void TearDown() override {
    adp_sql_log_sql(nullptr);
    std::fclose(log_);
    std::free(buf_);
    AdpQryMssql::TearDown();
  }
  void deadlocks(long n) {
    for (long i = 1; i <= n; ++i) ds_script::fail({"FetchNextSet", i, kDeadlockError, "deadlock victim", "1205"});
  }
  std::string log() {
    std::fflush(log_);
    return std::string(buf_, len_);
  }
  long alerts() {
    long n = 0;
    cmn_alrt_num(nullptr, &n);
    return n;
  }
  FILE* log_ = nullptr;
  char* buf_ = nullptr;
  size_t len_ = 0;
};

TEST_F(AdpQryRetry, TwentyDeadlocksThenSuccess) {
  deadlocks(20);
  ds_script::push_result({{"count"}, {{cell::l(4)}}});
  adp_ty_qry d{kCase, 0, nullptr, 0};
  long n = 0;
  ASSERT_EQ(adp_qry_simple_num(con_, &d, &n), 0);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(occurrences(log(), "RETRY!\n"), 20);
  EXPECT_EQ(ds_script::count("FetchNextSet"), 21);
  EXPECT_EQ(alerts(), 0);
}

TEST_F(AdpQryRetry, TheTwentyFirstDeadlockIsReturned) {
  deadlocks(21);
  adp_ty_qry d{kCase, 0, nullptr, 0};
  utl_ty_col* ids = make(kLongs);
  EXPECT_EQ(adp_qry_simple_for_id(con_, &d, nullptr, nullptr, -1, 0, ids), DBS_DEADLOCK);
  EXPECT_EQ(occurrences(log(), "RETRY!\n"), 20);
  EXPECT_EQ(ds_script::count("FetchNextSet"), 21);
  utl_col_free("test", ids);
}

TEST_F(AdpQryRetry, InsideATransactionTheFirstDeadlockIsReturned) {
  deadlocks(2);
  adp_trn_appl_inc();
  adp_ty_qry d{kCase, 0, nullptr, 0};
  utl_ty_col* objs = make(kPtrs);
  EXPECT_EQ(adp_qry_simple(con_, &d, nullptr, nullptr, -1, 0, 0, objs), DBS_DEADLOCK);
  adp_trn_appl_dec();
  EXPECT_EQ(occurrences(log(), "RETRY!"), 0);
  EXPECT_EQ(ds_script::count("FetchNextSet"), 1);
  utl_col_free("test", objs);
}

TEST_F(AdpQryRetry, IdListChunksShareTheRetryCount) {
  utl_ty_col* list = make(kLongs);
  for (long i = 1; i <= 300; ++i) utl_col_insert(list, &i, nullptr);
  // The second chunk deadlocks once; both chunks then read.
  ds_script::fail({"FetchNextSet", 2, kDeadlockError, "deadlock victim", "1205"});
  for (int i = 0; i < 3; ++i) ds_script::push_result({{"objid"}, {}});
  adp_ty_qry d{kCase, 0, nullptr, 0};
  utl_ty_col* objs = make(kPtrs);
  ASSERT_EQ(adp_qry_simple_with_id2(con_, &d, nullptr, nullptr, list, 0, 299, -1, objs, 0), 0);
  EXPECT_EQ(ds_script::count("FetchNextSet"), 3);
  EXPECT_EQ(occurrences(log(), "RETRY!"), 1);
  EXPECT_NE(log().find("status=70002b trans_level=0 retry_count=0 "), std::string::npos) << log();
  EXPECT_EQ(alerts(), 0);
  utl_col_free("test", objs);
  utl_col_free("test", list);
}

}  // namespace

namespace {

using namespace adp_qry_model;

struct pwr_list {
  std::vector<dbs_ty_pwr_cond> conds;
  std::string pattern;
  dbs_ty_pwr_list list{};
  dbs_ty_pwr_list* get(long type_id) {
    list.type_id = type_id;
    list.count = static_cast<long>(conds.size());
    list.conds = conds.data();
    list.and_flag = 1;
    list.pattern = pattern.empty() ? nullptr : pattern.data();
    list.pattern_count = list.count;
    return &list;
  }
};

class AdpPwrText : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    build();
  }
  std::string text(const char* driver, pwr_list& l, const std::vector<const char*>& sorts = {}, long* status = nullptr,
                   long type = kCase, pwr_list* keywords = nullptr) {
    if (con_ == nullptr) con_ = connect(driver);
    std::vector<char> sql(70016, '\0');
    adp_ty_pwr_sort s{static_cast<long>(sorts.size()), const_cast<const char**>(sorts.data()), 0};
    long st = adp_pwr_qry_construct(con_, schema(type), l.get(type), keywords ? keywords->get(type) : nullptr,
                                    sorts.empty() ? nullptr : &s, sql.data());
    if (status != nullptr) *status = st;
    return sql.data();
  }
  KAdpConnId* con_ = nullptr;
};

TEST_F(AdpPwrText, NoConditionsSelectsEveryRootObjectOnce) {
  pwr_list none;
  EXPECT_EQ(text("oledb", none), "select DISTINCT tta.objid from table_case tta (NOLOCK) ");
  EXPECT_EQ(text("oledb", none, {"title"}), "select tta.objid from table_case tta (NOLOCK)  order by tta.title asc");
  // A sort key across a relation brings its join, after " where ".
  EXPECT_EQ(text("oledb", none, {"case2site:name"}),
            "select tta.objid from table_case tta (NOLOCK) , table_site (NOLOCK)  where (table_site.objid = "
            "tta.case2site) order by table_site.name asc");
  EXPECT_TRUE(unmarked());
}

TEST_F(AdpPwrText, OrGroupsAliasesAndGroupedPaths) {
  pwr_list l;
  l.conds = {{"case2site:name", 9, "('a','b')"}, {"case2site:name", 9, "('c')"}, {"title", 8, "O'Br"}};
  l.pattern = "%s OR %s AND %s ";
  EXPECT_EQ(text("oledb", l),
            "select DISTINCT tta.objid from table_case tta (NOLOCK) , table_site (NOLOCK)  where (table_site.objid = "
            "tta.case2site) AND (((table_site.name IN ('a','b')) OR (table_site.name IN ('c'))) AND (tta.title LIKE "
            "'%O''Br%') )");
  EXPECT_FALSE(adp_pwr_or_group_is_open());
  pwr_list a;
  a.conds = {{"case2site(2):name", 4, "x"}, {"case2site:objid", 0, "3"}};
  a.pattern = "%s AND %s ";
  EXPECT_EQ(text("oledb", a),
            "select DISTINCT tta.objid from table_case tta (NOLOCK) , table_site site_2 (NOLOCK)  where "
            "(site_2.objid = tta.case2site) AND ((site_2.name = 'x') AND (site_2.objid > 3) )");
  EXPECT_TRUE(unmarked());
}

TEST_F(AdpPwrText, LinkTablesRecursionsAndTypeColumns) {
  typ_sch_rrec* mtm = schema(kSite)->rels[rel(kSite, "site2contact")].rel;
  const std::string link = mtm->mtm_table;
  const bool site_p = mtm->pschema == schema(kSite);
  pwr_list l;
  l.conds = {{"site2contact:last_name", 4, "Lee"}};
  l.pattern = "%s ";
  const std::string joined = site_p ? "tta.objid = " + link + "." + mtm->pname + " AND " + link + "." + mtm->fname +
                                          " = table_contact.objid"
                                    : "table_contact.objid = " + link + "." + mtm->pname + " AND " + link + "." +
                                          mtm->fname + " = tta.objid";
  EXPECT_EQ(text("oracle", l, {}, nullptr, kSite),
            "select DISTINCT tta.objid from table_site tta, " + link + ", table_contact where (" + joined +
                ") AND ((table_contact.last_name = 'Lee') )");
  pwr_list r;
  r.conds = {{"parent:parent:name", 4, "Top"}};
  r.pattern = "%s ";
  const std::string rec = text("oracle", r, {}, nullptr, kSite);
  EXPECT_EQ(rec,
            "select DISTINCT tta.objid from table_site tta, table_site site_0_0, table_site site_0_1 where "
            "(site_0_0.objid = tta.parent AND site_0_1.objid = site_0_0.parent) AND ((site_0_1.name = 'Top') )");
  pwr_list t;
  t.conds = {{"note2case:title", 4, "x"}};
  t.pattern = "%s ";
  EXPECT_EQ(text("oracle", t, {}, nullptr, kNote),
            "select DISTINCT tta.objid from table_note tta, table_case where (table_case.objid = tta.note_owner AND "
            "tta.owner_type = 10) AND ((table_case.title = 'x') )");
  EXPECT_TRUE(unmarked());
}

TEST_F(AdpPwrText, SharedJoinFormWritesEachFurtherConditionWithItsOwnJoins) {
  pwr_list l;
  l.conds = {{"case2site:name", 4, "North"}, {"case2site:site2contact:last_name", 4, "Lee"}};
  l.pattern = "%s OR %s ";
  dbs_ty_pwr_list* list = l.get(kCase);
  list->pattern_count = 1;
  con_ = connect("oracle");
  std::vector<char> sql(70016, '\0');
  ASSERT_EQ(adp_pwr_qry_construct(con_, schema(kCase), list, nullptr, nullptr, sql.data()), 0);
  const std::string t = sql.data();
  typ_sch_rrec* mtm = schema(kSite)->rels[rel(kSite, "site2contact")].rel;
  EXPECT_EQ(t, "select DISTINCT tta.objid from table_case tta, table_site, " + std::string(mtm->mtm_table) +
                   ", table_contact where ((table_site.objid = tta.case2site) AND ((table_site.name = 'North')) OR "
                   "((table_site.objid = tta.case2site AND " +
                   (mtm->pschema == schema(kSite)
                        ? "table_site.objid = " + std::string(mtm->mtm_table) + "." + mtm->pname + " AND " +
                              mtm->mtm_table + "." + mtm->fname + " = table_contact.objid"
                        : "table_contact.objid = " + std::string(mtm->mtm_table) + "." + mtm->pname + " AND " +
                              mtm->mtm_table + "." + mtm->fname + " = table_site.objid") +
                   ") AND (table_contact.last_name = 'Lee')) )");
  EXPECT_TRUE(unmarked());
}

TEST_F(AdpPwrText, RelationExistsTests) {
  pwr_list l;
  l.conds = {{"case2note", 17, ""}, {"case2site", 18, ""}};
  l.pattern = "%s AND %s ";
  EXPECT_EQ(text("oledb", l),
            "select DISTINCT tta.objid from table_case tta (NOLOCK)  where  (( EXISTS (select * from table_note wta "
            "where wta.note_owner = tta.objid AND wta.owner_type = 10)) AND ( case2site IS NULL) )");
}

TEST_F(AdpPwrText, RefusedValuesAndFormats) {
  const struct {
    const char* path;
    long op;
    const char* value;
    const char* pattern;
    long status;
  } rows[] = {
      {"objid", 4, "1 or 1=1", "%s ", ADP_QRY_REFUSED},
      {"amount", 0, "12abc", "%s ", ADP_QRY_REFUSED},
      {"objid", 10, "1 until 5", "%s ", ADP_QRY_REFUSED},
      {"objid", 9, "(1); drop table x", "%s ", ADP_QRY_REFUSED},
      {"title", 25, "select objid from x --", "%s ", ADP_QRY_REFUSED},
      {"title", 4, "x", "(%s ", ADP_PWR_UNBALANCED},
      {"title", 4, "x", "%s AND %s ", ADP_PWR_UNBALANCED},
      {"no_such_field", 4, "x", "%s ", -1},
  };
  for (const auto& r : rows) {
    pwr_list l;
    l.conds = {{r.path, r.op, r.value}};
    l.pattern = r.pattern;
    long st = 0;
    text("oledb", l, {}, &st);
    if (r.status == -1) EXPECT_NE(st, 0) << r.path;
    else EXPECT_EQ(st, r.status) << r.path << " " << r.value;
    EXPECT_TRUE(unmarked()) << r.path;
    EXPECT_FALSE(adp_pwr_or_group_is_open());
  }
}

TEST_F(AdpPwrText, TextBeyondTheBufferStopsWithAnAlert) {
  pwr_list l;
  std::string pattern;
  for (int i = 0; i < 4000; ++i) {
    l.conds.push_back({"case2site:name", 4, "a fairly long value for the site name"});
    pattern += i == 0 ? "%s " : "OR %s ";
  }
  l.pattern = pattern;
  long st = 0;
  const std::string t = text("oledb", l, {}, &st);
  EXPECT_EQ(st, ADP_PWR_TOO_LONG);
  EXPECT_LT(t.size(), 70000u);
  EXPECT_TRUE(unmarked());
}

TEST_F(AdpPwrText, KeywordConditionsOnOracleAlertAndAreWritten) {
  pwr_list obj;
  pwr_list kw;
  kw.conds = {{"title", 6, "Pri"}};
  kw.pattern = "%s";
  long st = -1;
  cmn_alrt_clear(nullptr);
  const std::string t = text("oracle", obj, {}, &st, kCase, &kw);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(t, "select DISTINCT tta.objid from table_case tta where  ((tta.title LIKE 'Pri%'))");
  long code = 0;
  const char* msg = nullptr;
  EXPECT_EQ(cmn_alrt_top(nullptr, &code, &msg), 0);
  EXPECT_EQ(code, ADP_PWR_KEYWORD_ORACLE);
}

TEST_F(AdpPwrText, TrendCountTexts) {
  const struct {
    const char* sql;
    const char* count;
  } rows[] = {
      {"select DISTINCT tta.objid from table_case tta  where ((tta.status = 'open') )",
       "select count(DISTINCT  tta.objid ) from table_case tta  where ((tta.status = 'open') )"},
      {"select tta.objid from table_case tta  order by tta.title asc",
       "select count(DISTINCT  tta.objid ) from table_case tta  "},
      {"select tta.objid from table_order tta where (tta.title = 'from x order by y') order by tta.title",
       "select count(DISTINCT  tta.objid ) from table_order tta where (tta.title = 'from x order by y') "},
  };
  for (const auto& r : rows) {
    char out[512] = {};
    ASSERT_EQ(adp_pwr_trend_text(r.sql, out, sizeof(out)), 0) << r.sql;
    EXPECT_STREQ(out, r.count);
  }
  char out[64];
  EXPECT_EQ(adp_pwr_trend_text("update x set y = 1", out, sizeof(out)), ADP_PWR_NO_SELECT);
  EXPECT_EQ(adp_pwr_trend_text("select 1", out, sizeof(out)), ADP_PWR_NO_FROM);
}
}  // namespace

namespace {

using namespace adp_qry_model;

// One condition's text as the statement holds it after " where  (".
class AdpPwrCond : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    build();
    clk_time_diff_cache_set(0);
  }
  std::string cond(const char* driver, const char* path, long op, const char* value, long* status = nullptr) {
    KAdpConnId* con = connect(driver);
    dbs_ty_pwr_cond c{path, op, value};
    char pattern[] = "%s ";
    dbs_ty_pwr_list l{kCase, 1, &c, 1, pattern, 1};
    std::vector<char> sql(ADP_PWR_TEXT_SIZE, '\0');
    long st = adp_pwr_qry_construct(con, schema(kCase), &l, nullptr, nullptr, sql.data());
    if (status != nullptr) *status = st;
    const std::string t = sql.data();
    const size_t at = t.find(" where  (");
    return at == std::string::npos ? t : t.substr(at + 9, t.size() - at - 11);
  }
};

TEST_F(AdpPwrCond, ValueTextsPerOperatorTypeAndServer) {
  const struct {
    const char* driver;
    const char* path;
    long op;
    const char* value;
    const char* text;
  } rows[] = {
      {"oledb", "title", 4, "", "(tta.title IS NULL)"},
      {"oledb", "title", 5, "", "(tta.title IS NOT NULL)"},
      {"oledb", "title", 8, "it's", "(tta.title LIKE '%it''s%')"},
      {"oledb", "title", 6, "a%b", "(tta.title LIKE 'a%b%')"},
      {"oledb", "title", 7, "z", "(tta.title LIKE '%z')"},
      {"oledb", "title", 13, "q", "(tta.title NOT LIKE '%q%')"},
      {"oledb", "title", 16, "Smith", "(soundex(tta.title ) = soundex('Smith') )"},
      {"oledb", "amount", 10, "1 AND 5", "(tta.amount BETWEEN 1 AND 5)"},
      {"oledb", "amount", 14, "-1.5 and 2e3", "(tta.amount NOT BETWEEN -1.5 AND 2e3)"},
      {"oledb", "objid", 9, "(1,2)", "(tta.objid IN (1,2))"},
      {"oledb", "objid", 15, "(3)", "(tta.objid NOT IN (3))"},
      {"oledb", "objid", 25, "select objid from table_case", "(tta.objid NOT IN  ( select objid from table_case ) )"},
      {"oledb", "title", 24, "", "(tta.title IS NULL )"},
      {"oracle", "title", 23, "", "(tta.title IS NOT NULL )"},
      {"oledb", "opened", 1, "03/05/2004 14:07:09", "(tta.opened >= '2004-03-05 14:07:09')"},
      {"oracle", "opened", 1, "03/05/2004 14:07:09",
       "(tta.opened >= TO_DATE('03/05/2004 14:07:09', 'MM/DD/YYYY HH24:MI:SS'))"},
      {"oracle", "flags", 0, " 12 ", "(tta.flags > 12)"},
  };
  for (const auto& r : rows) {
    long st = -1;
    EXPECT_EQ(cond(r.driver, r.path, r.op, r.value, &st), r.text) << r.driver << " " << r.path << " " << r.op;
    EXPECT_EQ(st, 0) << r.text;
  }
}

TEST_F(AdpPwrCond, RelativeDatesOnSqlServerAndOracle) {
  // Client and server in one zone: every offset is 0.
  const std::string start =
      "(dateadd(ms,0,(dateadd(ms, -(datepart(ms,(dateadd(ms,0,getdate())))),(dateadd(ss,0,(dateadd(ss, "
      "-(datepart(ss,(dateadd(ss,0,getdate())))),(dateadd(mi,0,(dateadd(mi, -(datepart(mi,(dateadd(mi,0,getdate()))"
      ")),(dateadd(hh, -(datepart(hh,(dateadd(mi, 0,getdate())))),(dateadd(mi,0,getdate()))))))))))))))))";
  const std::string end =
      "(dateadd(mi, 1440,(dateadd(ms,0,(dateadd(ms, -(datepart(ms,(dateadd(ms,0,getdate())))),(dateadd(ss,0,"
      "(dateadd(ss, -(datepart(ss,(dateadd(ss,0,getdate())))),(dateadd(mi, -(datepart(mi,(dateadd(mi,0,getdate())))),"
      "(dateadd(hh, -(datepart(hh,(dateadd(mi, 0,getdate())))),(dateadd(mi,0,getdate())))))))))))))))))";
  EXPECT_EQ(cond("oledb", "opened", 19, ""), "(tta.opened >= " + start + "AND(tta.opened<" + end + ")");
  EXPECT_EQ(cond("oledb", "opened", 22, "2"),
            "(tta.opened >= (dateadd(mi, -120,(dateadd(mi,0,(dateadd(mi, 0,getdate()))))))AND(tta.opened<="
            "(dateadd(mi, 0,(dateadd(mi,0,getdate()))))))");
  EXPECT_EQ(cond("oledb", "opened", 22, ""),
            "(tta.opened >= (dateadd(mi, 0,(dateadd(mi,0,(dateadd(mi, 0,getdate()))))))AND(tta.opened<="
            "(dateadd(mi, 0,(dateadd(mi,0,getdate()))))))");
  // Within the last day is today.
  const std::string days1 = cond("oledb", "opened", 21, "1");
  EXPECT_NE(days1.find("(dateadd(mi, 0,(dateadd(ms,0,"), std::string::npos) << days1;
  EXPECT_NE(cond("oledb", "opened", 21, "3").find("(dateadd(mi, -2880,"), std::string::npos);
  EXPECT_EQ(cond("oracle", "opened", 22, "3"),
            "(tta.opened >= TO_DATE(TO_CHAR((sysdate - (0.125000)), 'DD/MON/YYYYHH24:MI'), 'DD/MON/YYYYHH24:MI')and "
            "(tta.opened <= (sysdate + 0.000000)))");
  EXPECT_NE(cond("oracle", "opened", 21, "3").find("((sysdate+-2.000000) -((sysdate+ -2.000000)"), std::string::npos);
  long st = 0;
  cond("oledb", "opened", 21, "two", &st);
  EXPECT_EQ(st, ADP_QRY_REFUSED);
}

}  // namespace

namespace {

TEST(AdpQryWildcard, PatternsAndTheirSizes) {
  const struct {
    const char* prefix;
    const char* source;
    const char* suffix;
    const char* out;
    const char* trimmed;
  } rows[] = {
      {"%", "abc  ", "%", "%abc%", "abc"},
      {"_", "a%b", nullptr, "_a%b", "a%b"},
      {nullptr, "x_[y ", "_", "x_[y_", "x_[y"},
      {nullptr, "   ", nullptr, "", ""},
  };
  for (const auto& r : rows) {
    std::string source = r.source;
    char out[32] = {};
    ASSERT_EQ(adp_qry_wildcard_transform(r.prefix, source.data(), r.suffix, out, sizeof(out)), 0);
    EXPECT_STREQ(out, r.out) << r.source;
    EXPECT_STREQ(source.c_str(), r.trimmed) << r.source;
  }
  long n = 0;
  EXPECT_EQ(adp_qry_wildcard_len("a%b_c[", &n), 0);
  EXPECT_EQ(n, 12);
  // The destination's size bounds what is written.
  std::string source = "abcdef";
  char small[4] = {'x', 'x', 'x', 'x'};
  ASSERT_EQ(adp_qry_wildcard_transform("%", source.data(), "%", small, sizeof(small)), 0);
  EXPECT_STREQ(small, "%ab");
}

}  // namespace
