// The interactive adders through the scripted service: new fields (their
// columns, every row set to the default, the printed check and the type's
// dictionary rows), the refusals before anything is sent, a failure after
// the first column taking it away again, new relations with their key
// column and both types' relation rows, and the names offered for a choice.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_model.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_usr.h"
#include "core/cmn/cmn_meth.h"
#include "core/osl/osl_file.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"

namespace {

using ds_script::cell;
using texts = std::vector<std::string>;

constexpr long kCase = 4201, kSite = 4202, kUser = 4203;
constexpr long kLong = 512, kText = 516;
constexpr long kDbInt = 0, kDbText = 7;
constexpr long kObjidGen = 3;
constexpr long kMto = 2, kOtm = 1;
constexpr long kGroupsLookedUp = 5;
constexpr long kRefused = 1;
constexpr long kBindSwitch = 9;
constexpr long kRevision = 13;

class AdpSceAdd : public adp_test {
 protected:
  void open(const char* driver) {
    ASSERT_EQ(cmn_meth_install_all(), 0);
    adp_usr_group_exist_forget();
    model_ = new adp_model;
    case_ = adp_model_object("case", kCase);
    adp_model_field(case_, "objid", kLong, kDbInt, kObjidGen);
    adp_model_field(case_, "title", kText, kDbText);
    typ_sch_srec* s = adp_model_object("site", kSite);
    adp_model_field(s, "objid", kLong, kDbInt, kObjidGen);
    typ_sch_srec* u = adp_model_object("user", kUser);
    adp_model_field(u, "objid", kLong, kDbInt, kObjidGen);
    adp_model_relation(kCase, "case2site", kMto, "site", "site2case");
    adp_model_relation(kSite, "site2case", kOtm, "case", "case2site");
    case_ = model_->finish(kCase);
    ASSERT_NE(case_, nullptr);
    con_ = connect(driver);
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kGroupsLookedUp), 0);
    // Values written inline, so the texts show them.
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kBindSwitch), 0);
    con_->SetRevisions(kRevision, kRevision);
    adp_db_set_head_read(1);
    adp_db_set_flags(0);
    out_ = std::fopen("printed.txt", "w");
    osl_file_set_stdout(out_);
    ds_script::reset();
  }
  void TearDown() override {
    osl_file_set_stdout(nullptr);
    if (out_ != nullptr) std::fclose(out_);
    adp_db_set_head_read(0);
    adp_usr_group_exist_forget();
    delete model_;
    adp_test::TearDown();
  }
  std::string printed() {
    std::fflush(out_);
    return file_text("printed.txt");
  }
  static typ_sch_srec* type(long id) {
    typ_sch_srec* s = nullptr;
    typ_sch_find_handle(id, nullptr, &s);
    return s;
  }
  static texts field_names(const typ_sch_srec* s) {
    texts out;
    for (long i = 0; i < s->nfields; ++i) out.emplace_back(s->fields[i].name);
    return out;
  }
  static texts rel_names(const typ_sch_srec* s) {
    texts out;
    for (long i = 0; i < s->nrels; ++i) {
      const typ_sch_rrec* r = s->rels[i].rel;
      out.emplace_back(r == nullptr ? "?" : s->rels[i].side == 'p' ? r->pname : r->fname);
    }
    return out;
  }
  static texts starting(const std::string& prefix) {
    texts out;
    for (const std::string& s : adp_script_sent())
      if (s.rfind(prefix, 0) == 0) out.push_back(s);
    return out;
  }

  adp_model* model_ = nullptr;
  typ_sch_srec* case_ = nullptr;
  KAdpConnId* con_ = nullptr;
  FILE* out_ = nullptr;
};

std::string field_row(const std::string& values) {
  return "insert into adp_sch_info (type_id, field_name, cmn_type, db_type, array_size, flags, gen_field_id, "
         "spec_field_id, fld_default, comments , dec_p, dec_s ) VALUES (" +
         values + ")";
}

TEST_F(AdpSceAdd, NewFieldsGetTheirColumnsTheirDefaultsAndTheirDictionaryRows) {
  open("oledb");
  adp_sce_field_spec specs[] = {
      {"priority", -1, "long integer", 1, 1, 0, "7"},
      {"note", -1, "small var string", 40, 0, 1, "it's"},
      {"ratio", -1, "large float", 1, 0, 0, "2.5"},
      {"due", -1, "date/time", 1, 0, 0, "03/05/2004 14:07:09"},
      {"body", -1, "large var string", 100000, 0, 1, nullptr},
  };
  ASSERT_EQ(adp_sce_add_fields(con_, "case", case_, 5, specs), 0) << core_top_alert_text();
  // Only the new fields' rows are written: the type's other rows stay.
  EXPECT_EQ(adp_script_sent(),
            (texts{"alter table table_case add priority int NULL", "UPDATE table_case SET priority=7",
                   "alter table table_case add note varchar(40) NULL", "UPDATE table_case SET note='it''s'",
                   "alter table table_case add ratio float NULL", "UPDATE table_case SET ratio=2.5",
                   "alter table table_case add due datetime NULL", "UPDATE table_case SET due='2004-03-05 14:07:09'",
                   "alter table table_case add body text NULL", "UPDATE table_case SET body=''",
                   field_row("4201,'priority',512,0,1,28,-1,2,'7', NULL,-1,-1"),
                   field_row("4201,'note',516,7,40,4,-1,3,'it''s', NULL,-1,-1"),
                   field_row("4201,'ratio',613,4,1,4,-1,4,'2.5', NULL,-1,-1"),
                   field_row("4201,'due',609,9,1,4,-1,5,'03/05/2004 14:07:09', NULL,-1,-1"),
                   field_row("4201,'body',516,8,100000,4,-1,6, NULL, NULL,-1,-1")}));
  EXPECT_EQ(ds_script::count("BeginTransaction"), 1);
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 1);
  EXPECT_EQ(field_names(type(kCase)), (texts{"objid", "title", "priority", "note", "ratio", "due", "body"}));
  EXPECT_EQ(type(kCase)->fields[2].flags & 0x8, 0x8u);
  EXPECT_EQ(specs[3].type_index, 6);
  const std::string text = printed();
  EXPECT_EQ(text.rfind("VERIFIED field 'priority', datatype=0\n CMN DTYPE=512, SYBASE DTYPE=0\n MANDATORY: 1, ARRAY "
                       "SIZE: 1\nVERIFIED field 'note', datatype=2\n CMN DTYPE=516, SYBASE DTYPE=7\n MANDATORY: 0, "
                       "ARRAY SIZE: 40\n",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find("New Field Schema"), std::string::npos) << text;
}

TEST_F(AdpSceAdd, OracleSetsADateDefaultThroughToDate) {
  open("oracle");
  adp_sce_field_spec specs[] = {{"due", -1, "date/time", 1, 0, 0, "03/05/2004 14:07:09"},
                                {"code", -1, "small fixed string", 8, 0, 0, "A1"}};
  ASSERT_EQ(adp_sce_add_fields(con_, "case", case_, 2, specs), 0) << core_top_alert_text();
  const texts sent = adp_script_sent();
  ASSERT_GE(sent.size(), 4u);
  EXPECT_EQ(texts(sent.begin(), sent.begin() + 4),
            (texts{"alter table table_case add due date NULL",
                   "UPDATE table_case SET due=TO_DATE('03/05/2004 14:07:09', 'MM/DD/YYYY HH24:MI:SS')",
                   "alter table table_case add code varchar2(8) NULL", "UPDATE table_case SET code='A1'"}));
}

// Every spec is checked before anything is sent: a refused one, even after
// good ones, changes nothing.
TEST_F(AdpSceAdd, ARefusedSpecStopsTheCallBeforeAnythingIsSent) {
  open("oledb");
  const struct {
    adp_sce_field_spec spec;
    long result;
    const char* message;
  } cases[] = {
      {{"", -1, "long integer", 1, 0, 0, nullptr}, kRefused,
       "adp_sce_add_fields: an empty field name is not allowed\n"},
      {{nullptr, -1, "long integer", 1, 0, 0, nullptr}, kRefused,
       "adp_sce_add_fields: an empty field name is not allowed\n"},
      {{"title", -1, "long integer", 1, 0, 0, nullptr}, kRefused,
       "adp_sce_add_fields: field 'title' already exists in object 'case'\n"},
      {{"TITLE", -1, "long integer", 1, 0, 0, nullptr}, kRefused,
       "adp_sce_add_fields: field 'TITLE' already exists in object 'case'\n"},
      {{"fresh", -1, "long integer", 1, 0, 0, nullptr}, kRefused,
       "adp_sce_add_fields: field 'fresh' already exists in object 'case'\n"},
      {{"x", -1, "blob", 1, 0, 0, nullptr}, kRefused, "adp_sce_add_fields: invalid data type 'blob'\n"},
      {{"x", -1, nullptr, 1, 0, 0, nullptr}, kRefused, "adp_sce_add_fields: invalid data type ''\n"},
      {{"x", -1, "small fixed string", 256, 0, 0, nullptr}, kRefused,
       "adp_sce_add_fields: max length of data type 'small fixed string' is 255 (256 given is too large)\n"},
      {{"x", -1, "long integer", 2, 0, 0, nullptr}, kRefused,
       "adp_sce_add_fields: max length of data type 'long integer' is 1 (2 given is too large)\n"},
      {{"x", -1, "small var string", 0, 0, 1, nullptr}, kRefused,
       "adp_sce_add_fields: min length of data type 'small var string' is 1 (max 0 given is too small)\n"},
      {{"x", -1, "large var string", -5, 0, 1, nullptr}, kRefused,
       "adp_sce_add_fields: min length of data type 'large var string' is 1 (max -5 given is too small)\n"},
      {{"x", -1, "small fixed string", 10, 0, 1, nullptr}, kRefused,
       "adp_sce_add_fields: data type 'small fixed string' cannot be variable length\n"},
      {{"x", -1, "date/time", 1, 0, 1, nullptr}, kRefused,
       "adp_sce_add_fields: data type 'date/time' cannot be variable length\n"},
      // A name that is no plain name never reaches the DDL.
      {{"x; drop table y", -1, "long integer", 1, 0, 0, nullptr}, ADP_NO_SUCH_DB, ""},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.message);
    ds_script::reset();
    const long before = printed().size();
    adp_sce_field_spec specs[] = {{"fresh", -1, "long integer", 1, 0, 0, "1"}, k.spec};
    EXPECT_EQ(adp_sce_add_fields(con_, "case", case_, 2, specs), k.result);
    EXPECT_TRUE(adp_script_sent().empty());
    EXPECT_EQ(printed().substr(static_cast<size_t>(before)), k.message);
    EXPECT_EQ(field_names(type(kCase)), (texts{"objid", "title"}));
  }
  // A date default that cannot be read is refused before anything is sent.
  adp_sce_field_spec bad_date[] = {{"due", -1, "date/time", 1, 0, 0, "the day after"}};
  ds_script::reset();
  EXPECT_NE(adp_sce_add_fields(con_, "case", case_, 1, bad_date), 0);
  EXPECT_TRUE(adp_script_sent().empty());
  EXPECT_EQ(field_names(type(kCase)), (texts{"objid", "title"}));
}

// A failure after the first column: the columns made are dropped again and
// the fields leave the model; no dictionary row is touched.
TEST_F(AdpSceAdd, AFailureAfterTheFirstColumnTakesItAwayAgain) {
  open("oledb");
  adp_sce_field_spec specs[] = {{"priority", -1, "long integer", 1, 0, 0, "7"},
                                {"note", -1, "small var string", 40, 0, 1, "x"}};
  ds_script::fail({"ExecStatement", 2, 0x8B0014F, "no room", "alter"});
  EXPECT_NE(adp_sce_add_fields(con_, "case", case_, 2, specs), 0);
  EXPECT_EQ(adp_script_sent(),
            (texts{"alter table table_case add priority int NULL", "UPDATE table_case SET priority=7",
                   "alter table table_case add note varchar(40) NULL",
                   "ALTER TABLE table_case DROP COLUMN priority"}));
  EXPECT_EQ(field_names(type(kCase)), (texts{"objid", "title"}));
  EXPECT_EQ(ds_script::count("BeginTransaction"), 0);
}

TEST_F(AdpSceAdd, ANewRelationGetsItsKeyColumnAndBothTypesRows) {
  open("oledb");
  const adp_sce_rel_spec specs[] = {{"case2user", "MTO", "user", "the case's user", "user2case"}};
  ds_script::push_result({{"name"}, {}});  // the key column is not there yet
  ASSERT_EQ(adp_sce_add_relations(con_, kCase, nullptr, 1, specs), 0) << core_top_alert_text();
  const texts sent = adp_script_sent();
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[1], "ALTER TABLE table_case ADD case2user int null");
  // The relation's row of each type; their other rows stay.
  const std::string head =
      "INSERT INTO adp_sch_rel_info (type_id, rel_name, rel_type, target_name, gen_rel_id, spec_rel_id, "
      "inv_rel_name, comments, rel_flags, rel_phy_name, focus_fldname, flags, exclusive_set) VALUES ";
  EXPECT_EQ(texts(sent.begin() + 2, sent.end()),
            (texts{head + "(4201,'case2user',2,'user',-1,1,'user2case','the case''s user',0, '', '',131072, '')",
                   head + "(4203,'user2case',1,'case',-1,0,'case2user','the case''s user',0, '', '',131072, '')"}));
  EXPECT_EQ(ds_script::count("BeginTransaction"), 1);
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 1);
  EXPECT_EQ(rel_names(type(kCase)), (texts{"case2site", "case2user"}));
  EXPECT_EQ(rel_names(type(kUser)), (texts{"user2case"}));
}

// An "OTO Secondary" end makes this type the primary side: the key column
// goes to the target's table.
TEST_F(AdpSceAdd, OracleMakesTheKeyColumnAsANumberAndWritesBothRows) {
  open("oracle");
  const adp_sce_rel_spec specs[] = {{"case2user", "OTO Secondary", "user", nullptr, "user2case"}};
  ds_script::push_result({{"name"}, {}});  // the key column is not there yet
  ASSERT_EQ(adp_sce_add_relations(con_, kCase, case_, 1, specs), 0) << core_top_alert_text();
  const texts sent = adp_script_sent();
  ASSERT_EQ(sent.size(), 4u);
  const std::string head =
      "INSERT INTO adp_sch_rel_info (type_id, rel_name, rel_type, target_name, gen_rel_id, spec_rel_id, "
      "inv_rel_name, comments, rel_flags, rel_phy_name, focus_fldname, flags, exclusive_set) VALUES ";
  EXPECT_EQ(texts(sent.begin() + 1, sent.end()),
            (texts{"ALTER TABLE table_user ADD user2case number null",
                   head + "(4201,'case2user',4,'user',-1,1,'user2case', '',0, '', '',131072, '')",
                   head + "(4203,'user2case',3,'case',-1,0,'case2user', '',0, '', '',131072, '')"}));
}

TEST_F(AdpSceAdd, ARefusedRelationSpecChangesNothing) {
  open("oledb");
  const struct {
    adp_sce_rel_spec spec;
    long result;
    const char* message;
  } cases[] = {
      {{"case2user", "MTM", "user", nullptr, "user2case"}, kRefused,
       "adp_sce_add_relations: invalid relation type 'MTM'\n"},
      {{"case2user", nullptr, "user", nullptr, "user2case"}, kRefused,
       "adp_sce_add_relations: invalid relation type ''\n"},
      {{"case2user", "OTM", "nobody", nullptr, "user2case"}, kRefused,
       "adp_sce_add_relations: cannot find object type 'nobody' for inverse of new relation\n"},
      {{"Case2Site", "MTO", "site", nullptr, "site2case_b"}, kRefused,
       "adp_sce_add_relations: relation 'Case2Site' already exists in object 'case'\n"},
      {{"case2site_b", "MTO", "site", nullptr, "site2case"}, kRefused,
       "adp_sce_add_relations: relation 'site2case' already exists in object 'site'\n"},
      {{"case2user", "MTO", "user", nullptr, "user2case x"}, ADP_NO_SUCH_DB, ""},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.message);
    ds_script::reset();
    const long before = printed().size();
    const adp_sce_rel_spec specs[] = {{"case2user", "MTO", "user", nullptr, "user2case"}, k.spec};
    EXPECT_EQ(adp_sce_add_relations(con_, kCase, case_, 2, specs), k.result);
    EXPECT_TRUE(adp_script_sent().empty());
    EXPECT_EQ(printed().substr(static_cast<size_t>(before)), k.message);
    EXPECT_EQ(rel_names(type(kCase)), (texts{"case2site"}));
  }
}

// Rows that cannot be written: the message, the failure returned (not 0),
// nothing committed and the relation gone from the model again.
TEST_F(AdpSceAdd, RelationRowsThatCannotBeWrittenAreRolledBackAndReported) {
  open("oledb");
  const adp_sce_rel_spec specs[] = {{"case2user", "MTO", "user", nullptr, "user2case"}};
  ds_script::push_result({{"name"}, {}});
  // The key column's probe, the column, this type's row, then the target's
  // row fails.
  ds_script::fail({"FetchNextSet", 4, 0x8B0014F, "no room", "insert"});
  EXPECT_NE(adp_sce_add_relations(con_, kCase, case_, 1, specs), 0);
  EXPECT_EQ(printed(), "adp_sce_add_relations: cannot write relation schema for relation 'case2user'\n");
  EXPECT_EQ(ds_script::count("EndTransaction 1"), 0);
  EXPECT_GE(ds_script::count("EndTransaction 0"), 1);
  EXPECT_EQ(rel_names(type(kCase)), (texts{"case2site"}));
  EXPECT_TRUE(rel_names(type(kUser)).empty());
}

TEST_F(AdpSceAdd, TheTypeAndKindNamesAreOfferedInTheirOrder) {
  open("oledb");
  utl_ty_col* names = nullptr;
  ASSERT_EQ(utl_col_make("test", kText, 4, 4, 0, 0, &names), 0);
  ASSERT_EQ(adp_sce_get_type_names(names), 0);
  EXPECT_EQ(adp_col_texts(names),
            (texts{"long integer", "small fixed string", "small var string", "large var string", "small float",
                   "large float", "date/time", "elapsed time", "currency", "currency type"}));
  utl_col_free("test", names);
  utl_ty_col* kinds = nullptr;
  ASSERT_EQ(adp_sce_get_rel_type_names(&kinds), 0);
  EXPECT_EQ(adp_col_texts(kinds), (texts{"OTO Primary", "OTO Secondary", "MTO", "OTM"}));
  utl_col_free("test", kinds);
}

}  // namespace
