#include "adapter/adp_sce_fixture.h"

#include "adapter/adp_db.h"
#include "adapter/adp_model.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_usr.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb.h"

using namespace adp_sce_fixture;

namespace {

constexpr long kLong = 512, kText = 516, kDate = 609;
constexpr long kObjidGen = 3;
constexpr unsigned long kSearchable = 0x100;
constexpr long kMto = 2, kOtm = 1;
constexpr long kGroupsLookedUp = 5;
constexpr long kDbNameString = 15;

typ_sch_srec* build_case(adp_model* model) {
  typ_sch_srec* c = adp_model_object("case", kCase);
  adp_model_field(c, "objid", kLong, kDbInt, kObjidGen);
  adp_model_field(c, "title", kText, kDbText, -1, kSearchable);
  adp_model_field(c, "status", kText, kDbText);
  adp_model_field(c, "due", kDate, kDbDate);
  adp_model_field(c, "summary", kText, kDbText, -1, kSearchable);
  typ_sch_srec* s = adp_model_object("site", kSite);
  adp_model_field(s, "objid", kLong, kDbInt, kObjidGen);
  typ_sch_srec* u = adp_model_object("user", kUser);
  adp_model_field(u, "objid", kLong, kDbInt, kObjidGen);
  adp_model_relation(kCase, "case2site", kMto, "site", "site2case");
  adp_model_relation(kSite, "site2case", kOtm, "case", "case2site");
  adp_model_relation(kCase, "owner2site", kMto, "site", "site2owned", 1, "owner_id", "owner_type");
  adp_model_relation(kSite, "site2owned", kOtm, "case", "owner2site", 1, "owner_id", "owner_type");
  adp_model_relation(kCase, "owner2user", kMto, "user", "user2owned", 1, "owner_id", "owner_type");
  adp_model_relation(kUser, "user2owned", kOtm, "case", "owner2user", 1, "owner_id", "owner_type");
  return model->finish(kCase);
}

}  // namespace

adp_sce_conversion::adp_sce_conversion() {
  site.type_id = kSite;
  plain.fname = const_cast<char*>("case2site");
  group.exclusive = 1;
  group.phys_name = const_cast<char*>("owner_id");
  group.focus_field = const_cast<char*>("owner_type");
  group.pschema = &site;
  record.op = DBS_RDB_EXCL_NEW;  // the relation joins the group
  record.name = const_cast<char*>("case2site");
  record.operand = reinterpret_cast<unsigned long>(&plain);
  record.operand2 = reinterpret_cast<unsigned long>(&group);
}

void adp_sce_test::open(const char* driver) {
  ASSERT_EQ(cmn_meth_install_all(), 0);
  adp_usr_group_exist_forget();
  model_ = new adp_model;
  case_ = build_case(model_);
  ASSERT_NE(case_, nullptr);
  con_ = connect(driver);
  con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kGroupsLookedUp), 0);
  con_->GetConfig().SetPropertyStr(static_cast<KAdpConfig::str_type>(kDbNameString), "crm");
  adp_db_set_head_read(1);
  adp_db_set_flags(0);
  ASSERT_EQ(dbs_rdb_init(), 0);
  ASSERT_EQ(utl_col_make("test", DBS_TY_TBL_CHANGE, 8, 8, 0, 0, &changes_), 0);
  ds_script::reset();
}

void adp_sce_test::TearDown() {
  adp_sce_term();
  if (changes_ != nullptr) utl_col_free("test", changes_);
  adp_db_set_flags(0);
  adp_db_set_head_read(0);
  adp_usr_group_exist_forget();
  delete model_;
  adp_test::TearDown();
}

void adp_sce_test::change(long op, const char* name, const char* second, long db_type, long length,
                          const char* def) {
  dbs_ty_tbl_change c{};
  c.op = op;
  c.schema = case_;
  std::snprintf(c.table_name, sizeof c.table_name, "table_case");
  c.name = const_cast<char*>(name);
  c.second_name = const_cast<char*>(second);
  c.old_db_type = c.new_db_type = db_type;
  c.old_length = c.new_length = length;
  c.default_text = const_cast<char*>(def);
  ASSERT_EQ(utl_col_push(changes_, &c, nullptr), 0);
}

std::vector<std::string> adp_sce_test::flags_sent(unsigned long flags) {
  ds_script::reset();
  dbs_ty_tbl_change c{};
  c.op = DBS_RDB_TYPE_FLAGS;
  c.schema = case_;
  c.operand = flags | 0x1;
  EXPECT_EQ(adp_sce_modify_flags(con_, &c), 0);
  return adp_script_sent();
}

std::string adp_sce_test::script_text(const std::function<void(FILE*)>& body) {
  FILE* f = std::fopen("script.sql", "w");
  body(f);
  std::fclose(f);
  return file_text("script.sql");
}
