#include "adapter/adp_rel_e2e.h"

#include <fstream>

#include "adapter/adp_db.h"
#include "adapter/adp_main.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_trn.h"
#include "core/clk/clk_srv.h"
#include "core/core_fixture.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_ids.h"
#include "store/dbs_rel.h"

void adp_rel_e2e::SetUp() {
  adp_ora_test::SetUp();
  if (HasFatalFailure()) return;
  ASSERT_TRUE(db_.load("crm_objects.sql"));
  ASSERT_TRUE(db_.load("crm_rels.sql"));
  adp_rel_set_combine_optimize(0);
  adp_rel_set_max_per_batch(ADP_REL_DEFAULT_PER_BATCH);
  log_path_ = (dir_.path() / "sql.log").string();
  ASSERT_EQ(adp_sql_log_file(log_path_.c_str()), 0);
}

void adp_rel_e2e::TearDown() {
  adp_rel_abort_batch();
  adp_rel_set_combine_optimize(0);
  FILE* log = nullptr;
  adp_sql_get_log(&log);
  adp_sql_log_reset();
  if (log != nullptr) std::fclose(log);
  for (dbs_ty_lobj* o : objects_) dbs_obj_free_local("test", o);
  long level = 0;
  adp_trn_appl_level(&level);
  if (level > 0 && cid_ != nullptr) adp_trn_rollback(cid_);
  if (KAdpConnId* cid = adp_db_get_conn()) dbs_obj_return_cache(cid);
  adp_ora_test::TearDown();
}

KAdpConnId* adp_rel_e2e::login(long flags) {
  EXPECT_TRUE(db_.run("update adp_db_header set flags = " + std::to_string(flags) + ";"));
  cid_ = session();
  if (cid_ == nullptr) return nullptr;
  EXPECT_EQ(typ_sch_alloc(), 0);
  clk_time_diff_cache_set(0);
  EXPECT_EQ(dbs_db_assert_schema_rev(nullptr, 61), 0);
  EXPECT_EQ(dbs_db_open(cid_, "crm", 1), 0);
  return cid_;
}

dbs_ty_lobj* adp_rel_e2e::fresh(long type, const char* field, const char* text, obj_id* id) {
  dbs_ty_lobj* o = nullptr;
  EXPECT_EQ(dbs_obj_make(nullptr, type, &o), 0);
  if (o == nullptr) return nullptr;
  objects_.push_back(o);
  long number = 0;
  EXPECT_EQ(dbs_obj_ids_create(cid_, 1, &type, &number), 0);
  EXPECT_EQ(dbs_fld_set_local(o, TYP_GENERIC | 3, &number, 1), 0);
  EXPECT_EQ(dbs_fld_set_by_name(o, field, &text), 0) << field;
  EXPECT_EQ(dbs_obj_oid_get(o, id), 0);
  return o;
}

dbs_ty_lobj* adp_rel_e2e::stored(obj_id* id) {
  dbs_ty_lobj* o = nullptr;
  EXPECT_EQ(dbs_obj_get(cid_, id, 0, &o), 0) << alerts();
  if (o != nullptr) objects_.push_back(o);
  return o;
}

long adp_rel_e2e::rel(long type, const char* name) {
  typ_sch_srec* s = nullptr;
  adp_sch_shandle_find(type, &s);
  for (long i = 0; s != nullptr && i < s->nrels; ++i) {
    const typ_sch_rel_inst& e = s->rels[i];
    if (e.rel != nullptr && std::string(e.side == 'p' ? e.rel->pname : e.rel->fname) == name) return i;
  }
  ADD_FAILURE() << "no relation " << name;
  return -1;
}

void adp_rel_e2e::queue(obj_id a, const char* name, obj_id b, char relate, obj_id link) {
  EXPECT_EQ(dbs_rel_add_to_batch(&a, &b, &link, rel(a.type & 0x1FFFF, name), relate), 0) << name;
}

std::vector<std::string> adp_rel_e2e::log_lines() const {
  FILE* log = nullptr;
  adp_sql_get_log(&log);
  if (log != nullptr) std::fflush(log);
  std::vector<std::string> out;
  std::ifstream in(log_path_);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

long adp_rel_e2e::count_lines(const std::string& text) const {
  long n = 0;
  for (const std::string& l : log_lines()) n += l.find(text) != std::string::npos ? 1 : 0;
  return n;
}

std::string adp_rel_e2e::cell(const std::string& column, const std::string& table, long number) {
  testdb::rows r = db_.query("select coalesce(" + column + ", '-') from " + table + " where objid = " +
                             std::to_string(number));
  return r.empty() || r[0].empty() ? "" : r[0][0];
}

std::string adp_rel_e2e::alerts() { return core_alert_texts_joined(); }
