// SQL Server's index creation by exact text through the scripted service:
// one index from the schema (NONCLUSTERED heads, exclusive relations spelt
// out once per statement, its adp_sch_index row with and without the
// offline feature, the search index, a dry run into the DDL file), the
// rebuild of catalogue records (unique, clustered by status, fill factor,
// IGNORE_DUP_KEY, file group or none; failed names listed) with their rows,
// and the records' DDL text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_model.h"
#include "adapter/adp_sce.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"
#include "store/dbs_ids.h"

namespace {

constexpr long kCase = 4101, kSite = 4102, kUser = 4103;
constexpr long kLong = 512, kText = 516;
constexpr long kDbInt = 0, kDbText = 7;
constexpr long kObjidGen = 3;
constexpr unsigned long kSearchable = 0x100;
constexpr long kMto = 2, kOtm = 1;
constexpr long kRoamer = 32, kSearch = 1;
constexpr long kUniqueBit = 2, kClusteredBit = 256, kIgnoreDupBit = 1;

typ_sch_srec* build_model(adp_model* model) {
  typ_sch_srec* c = adp_model_object("case", kCase);
  adp_model_field(c, "objid", kLong, kDbInt, kObjidGen);
  adp_model_field(c, "title", kText, kDbText, -1, kSearchable);
  adp_model_field(c, "status", kText, kDbText);
  typ_sch_srec* s = adp_model_object("site", kSite);
  adp_model_field(s, "objid", kLong, kDbInt, kObjidGen);
  typ_sch_srec* u = adp_model_object("user", kUser);
  adp_model_field(u, "objid", kLong, kDbInt, kObjidGen);
  adp_model_relation(kCase, "case2site", kMto | TYP_REL_INDEX_MARK, "site", "site2case");
  adp_model_relation(kSite, "site2case", kOtm, "case", "case2site");
  // Two exclusive relations kept in one pair of columns.
  adp_model_relation(kCase, "owner2site", kMto | TYP_REL_INDEX_MARK, "site", "site2owned", 1, "owner_id",
                     "owner_type");
  adp_model_relation(kSite, "site2owned", kOtm, "case", "owner2site", 1, "owner_id", "owner_type");
  adp_model_relation(kCase, "owner2user", kMto | TYP_REL_INDEX_MARK, "user", "user2owned", 1, "owner_id",
                     "owner_type");
  adp_model_relation(kUser, "user2owned", kOtm, "case", "owner2user", 1, "owner_id", "owner_type");
  return model->finish(kCase);
}

utl_ty_col* names(std::initializer_list<const char*> list) {
  utl_ty_col* col = nullptr;
  EXPECT_EQ(utl_col_make("test", 516, 4, 4, 0, 0, &col), 0);
  for (const char* n : list) EXPECT_EQ(utl_col_push(col, n, nullptr), 0);
  return col;
}

// The first id of the block the service handed out for the row type: its
// counter value less the block size asked for, plus one.
long first_row_id(long counter) {
  for (const std::string& c : ds_script::calls()) {
    long type = 0, count = 0;
    if (std::sscanf(c.c_str(), "ObjidRequest %ld %ld", &type, &count) == 2 && type == 100000001) {
      return counter - count + 1;
    }
  }
  return -1;
}

class AdpIndMake : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    ASSERT_EQ(cmn_meth_install_all(), 0);
    model_ = new adp_model;
    case_ = build_model(model_);
    ASSERT_NE(case_, nullptr);
    con_ = connect("oledb");
    adp_db_set_head_read(1);
    adp_db_set_flags(0);
    dbs_obj_ids_reset();
    ds_script::reset();
  }
  void TearDown() override {
    for (utl_ty_col* c : cols_) utl_col_free("test", c);
    adp_db_set_flags(0);
    adp_db_set_head_read(0);
    dbs_obj_ids_reset();
    delete model_;
    adp_test::TearDown();
  }
  long add(const char* name, std::initializer_list<const char*> fields, char unique, FILE* file = nullptr,
           long options = 0) {
    cols_.push_back(names(fields));
    return con_->GetDbOperation()->IndAddIndex(con_, case_, const_cast<char*>(name), cols_.back(), unique, file,
                                               options);
  }

  adp_model* model_ = nullptr;
  typ_sch_srec* case_ = nullptr;
  KAdpConnId* con_ = nullptr;
  std::vector<utl_ty_col*> cols_;
};

TEST_F(AdpIndMake, AnIndexFromTheSchemaIsNonclusteredAndRecordedAfterItsOldRowIsDeleted) {
  const struct {
    const char* name;
    std::initializer_list<const char*> fields;
    char unique;
    std::vector<std::string> sent;
  } cases[] = {
      {"case_title",
       {"title", "status"},
       1,
       {"CREATE UNIQUE NONCLUSTERED INDEX case_title ON table_case (title, status)\n",
        "delete adp_sch_index where type_id=4101 and index_name='case_title'\n",
        "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) "
        "VALUES(4101, 'case_title', 1, 2, 'title:status', '')\n"}},
      // objid names the index "objindex"; a relation's key column is used
      // as it is; a name that is neither field nor relation is kept.
      {"objid",
       {"objid", "case2site", "nothing"},
       0,
       {"CREATE NONCLUSTERED INDEX objindex ON table_case (objid, case2site, nothing)\n",
        "delete adp_sch_index where type_id=4101 and index_name='objid'\n",
        "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) "
        "VALUES(4101, 'objid', 0, 3, 'objid:case2site:nothing', '')\n"}},
      // Two relations of one column pair: the pair once, where first named.
      {"case_owner",
       {"owner2site", "status", "owner2user"},
       0,
       {"CREATE NONCLUSTERED INDEX case_owner ON table_case (owner_id, owner_type, status)\n",
        "delete adp_sch_index where type_id=4101 and index_name='case_owner'\n",
        "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) "
        "VALUES(4101, 'case_owner', 0, 3, 'owner2site:status:owner2user', '')\n"}},
      // Quotes reach the row doubled.
      {"o'k",
       {"status"},
       0,
       {"CREATE NONCLUSTERED INDEX o'k ON table_case (status)\n",
        "delete adp_sch_index where type_id=4101 and index_name='o''k'\n",
        "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) "
        "VALUES(4101, 'o''k', 0, 1, 'status', '')\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ds_script::reset();
    ASSERT_EQ(add(c.name, c.fields, c.unique), 0);
    EXPECT_EQ(adp_script_sent(), c.sent);
  }
  // The pair list lives for one statement: the next index spells it out again.
  ds_script::reset();
  ASSERT_EQ(add("case_owner2", {"owner2user"}, 0), 0);
  EXPECT_EQ(adp_script_sent().front(), "CREATE NONCLUSTERED INDEX case_owner2 ON table_case (owner_id, owner_type)\n");
}

TEST_F(AdpIndMake, WithTheOfflineFeatureTheRowTakesANewObjectIdAfterTheDelete) {
  adp_db_set_flags(kRoamer);
  ds_script::push_ids({4711});
  ASSERT_EQ(add("case_status", {"status"}, 0), 0);
  const std::vector<std::string> sent = adp_script_sent();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[1], "delete adp_sch_index where type_id=4101 and index_name='case_status'\n");
  EXPECT_EQ(sent[2],
            "insert into adp_sch_index (objid, dev, type_id, index_name, flags, field_count, field_names, "
            "comments) \n VALUES(" +
                std::to_string(first_row_id(4711)) + ", 1, 4101, 'case_status', 0, 1, 'status', '')\n");
  EXPECT_EQ(ds_script::count("ObjidRequest 100000001 "), 1);
}

TEST_F(AdpIndMake, TheSearchIndexComesOnlyWithTheSearchOptionAndASearchableField) {
  const struct {
    long flags;
    std::initializer_list<const char*> fields;
    const char* search_index;  // null: none
  } cases[] = {
      {kSearch, {"title", "status"}, "CREATE NONCLUSTERED INDEX S_case_ts ON table_case (S_title,status)\n"},
      {kSearch, {"status"}, nullptr},          // no searchable field
      {0, {"title", "status"}, nullptr},       // no search option
  };
  for (const auto& c : cases) {
    adp_db_set_flags(c.flags);
    ds_script::reset();
    ASSERT_EQ(add("case_ts", c.fields, 0), 0);
    const std::vector<std::string> sent = adp_script_sent();
    if (c.search_index == nullptr) {
      EXPECT_EQ(sent.size(), 3u);
    } else {
      ASSERT_EQ(sent.size(), 4u);
      EXPECT_EQ(sent[3], c.search_index);
    }
  }
}

TEST_F(AdpIndMake, ADryRunWritesTheStatementsToTheDdlFileAndSendsNothing) {
  FILE* f = std::fopen("index.ddl", "w");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(add("case_status", {"status"}, 1, f, 1), 0);
  std::fclose(f);
  EXPECT_TRUE(adp_script_sent().empty());
  EXPECT_EQ(file_text("index.ddl"),
            "CREATE UNIQUE NONCLUSTERED INDEX case_status ON table_case (status)\ngo\n"
            "delete adp_sch_index where type_id=4101 and index_name='case_status'\ngo\n"
            "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) "
            "VALUES(4101, 'case_status', 1, 1, 'status', '')\ngo\n");
  // Options bit 1 without a file runs the statements.
  ASSERT_EQ(add("case_status", {"status"}, 1, nullptr, 1), 0);
  EXPECT_EQ(adp_script_sent().size(), 3u);
}

TEST_F(AdpIndMake, AFailedCreateIsReturnedAndNoRowIsWritten) {
  ds_script::fail({"ExecStatement", 1, 1913, "There is already an index", ""});
  EXPECT_NE(add("case_status", {"status"}, 0), 0);
  EXPECT_EQ(adp_script_sent().size(), 1u);
}

// --- rebuild of catalogue records ---------------------------------------

class AdpIndRebuild : public AdpIndMake {
 protected:
  void SetUp() override {
    AdpIndMake::SetUp();
    adp_ind_init();  // the record type (already there once the adapter started)
    ASSERT_EQ(utl_col_make("test", ADP_TY_INDEX_INFO, 4, 4, 0, 0, &records_), 0);
  }
  void TearDown() override {
    adp_ind_free_res_ind_col(records_);
    utl_col_free("test", records_);
    AdpIndMake::TearDown();
  }
  void record(const char* name, std::initializer_list<const char*> fields, long attributes, long fill,
              const char* group, char in_schema) {
    adp_ty_index_info r{};
    std::snprintf(r.name, sizeof r.name, "%s", name);
    r.fields = names(fields);
    r.attributes = attributes;
    r.fill_factor = fill;
    std::snprintf(r.location, sizeof r.location, "%s", group);
    r.in_schema = in_schema;
    ASSERT_EQ(utl_col_push(records_, &r, nullptr), 0);
  }
  void catalogue() {
    record("objindex", {"objid"}, kUniqueBit | kClusteredBit, 0, "PRIMARY", 1);
    record("case_title", {"title", "status"}, kUniqueBit | kIgnoreDupBit, 80, "", 1);
    record("case_status", {"status"}, kIgnoreDupBit, 0, "FG_ONE", 0);
    record("case_plain", {"status", "title"}, 0, 70, "", 1);
  }

  utl_ty_col* records_ = nullptr;
};

const char* const kHeads[] = {
    "create UNIQUE clustered index objindex on table_case (objid)\n on 'PRIMARY'",
    "create UNIQUE  index case_title on table_case (title, status)\nwith fillfactor = 80, IGNORE_DUP_KEY",
    "create   index case_status on table_case (status)\nwith IGNORE_DUP_KEY on 'FG_ONE'",
    "create   index case_plain on table_case (status, title)\nwith fillfactor = 70",
};

TEST_F(AdpIndRebuild, EveryRecordIsMadeAgainAndTheDeclaredOnesGetTheirRows) {
  catalogue();
  char* failed = nullptr;
  ASSERT_EQ(con_->GetDbOperation()->IndBuildTableIndex(nullptr, case_, records_, &failed, nullptr, 0), 0);
  ASSERT_NE(failed, nullptr);
  EXPECT_STREQ(failed, "");
  std::vector<std::string> want(std::begin(kHeads), std::end(kHeads));
  // objindex and the undeclared case_status get no row.
  want.push_back(
      "delete adp_sch_index where type_id=4101 and index_name='case_title'\n"
      "insert adp_sch_index (type_id, index_name, flags, field_count, field_names, comments)  values (4101, "
      "'case_title', 1, 2, 'title:status', '')");
  want.push_back(
      "delete adp_sch_index where type_id=4101 and index_name='case_plain'\n"
      "insert adp_sch_index (type_id, index_name, flags, field_count, field_names, comments)  values (4101, "
      "'case_plain', 0, 2, 'status:title', '')");
  EXPECT_EQ(adp_script_sent(), want);
}

TEST_F(AdpIndRebuild, FailedIndexesAreListedAndTheRestGoesOn) {
  catalogue();
  // The heads run as statements of the batch: the second and the fourth fail.
  ds_script::fail({"FetchNextSet", 2, 1913, "exists", ""});
  ds_script::fail({"FetchNextSet", 4, 1913, "exists", ""});
  char* failed = nullptr;
  ASSERT_EQ(con_->GetDbOperation()->IndBuildTableIndex(nullptr, case_, records_, &failed, nullptr, 0), 0);
  EXPECT_STREQ(failed, "case_title,\ncase_plain");
  EXPECT_EQ(adp_script_sent().size(), 6u);  // four heads, two rows
  // The list starts afresh on the next call.
  ds_script::reset();
  ASSERT_EQ(con_->GetDbOperation()->IndBuildTableIndex(nullptr, case_, records_, &failed, nullptr, 0), 0);
  EXPECT_STREQ(failed, "");
}

TEST_F(AdpIndRebuild, TheRowsTakeObjectIdsUnderTheOfflineFeature) {
  record("case_title", {"title"}, kUniqueBit, 0, "", 1);
  adp_db_set_flags(kRoamer);
  ds_script::push_ids({77});
  ASSERT_EQ(adp_ind_build_adp_index(con_, case_, records_, nullptr, 0), 0);
  EXPECT_EQ(adp_script_sent(),
            (std::vector<std::string>{
                "delete adp_sch_index where type_id=4101 and index_name='case_title'\n"
                "insert adp_sch_index (objid, dev, type_id, index_name, flags, field_count, field_names, "
                "comments) values(" +
                std::to_string(first_row_id(77)) + ", 1, 4101, 'case_title', 1, 1, 'title', '')"}));
}

TEST_F(AdpIndRebuild, TheDdlTextOfTheRecords) {
  utl_ty_estr* text = nullptr;
  ASSERT_EQ(utl_estr_create("test", "", 16, 16, &text), 0);
  KAdpDbOperation* op = con_->GetDbOperation();
  // No records, or none at all: nothing.
  ASSERT_EQ(op->IndSqlBuildTableIndex(const_cast<char*>("case"), records_, text), 0);
  ASSERT_EQ(op->IndSqlBuildTableIndex(const_cast<char*>("case"), nullptr, text), 0);
  EXPECT_STREQ(utl_estr_get(text), "");
  catalogue();
  ASSERT_EQ(op->IndSqlBuildTableIndex(const_cast<char*>("case"), records_, text), 0);
  std::string want;
  for (const char* h : kHeads) want += std::string(h) + "\n\ngo\n";
  EXPECT_EQ(utl_estr_get(text), want);
  EXPECT_TRUE(adp_script_sent().empty());
  utl_estr_free("test", text);
}

}  // namespace
