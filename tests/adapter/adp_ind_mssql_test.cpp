// SQL Server's catalogue indexes by exact text through the scripted service:
// the records of a type's table (clustered from index id 1, the status bits
// read per bit, columns by key position, fill factor, file group, none),
// sp_helpindex split into name and column lists, and refused values.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_meth.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"

namespace {

using ds_script::cell;

constexpr long kUniqueBit = 2;
constexpr long kClusteredBit = 256;
constexpr long kIgnoreDupBit = 1;

std::string fmt(const char* format, long a, const char* b, long c) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, a, b, c);
  return buf;
}

std::string list_query() {
  return "select indid, name \n  from sysindexes \n  where id = object_id('table_case') \n  and indid > 0 \n  and "
         "indid < 255";
}
std::string attr_query(long bit, long id) {
  return fmt("select v.number \n  from master.dbo.spt_values v, sysindexes i \n  where i.status & v.number = "
             "v.number \n  and v.type = 'I' and v.number = %ld \n  and i.id = object_id('table_%s') \n  and i.indid "
             "= %ld",
             bit, "case", id);
}
std::string key_query(long id, long position) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "select index_col('table_case', %ld, %ld)", id, position);
  return buf;
}
std::string fill_query(long id) {
  return "select OrigFillFactor \n   from sysindexes i \n   where i.id = object_id('table_case') and i.indid = " +
         std::to_string(id);
}
std::string group_query(long id) {
  return "select s.groupname \n\tfrom sysfilegroups s, sysindexes i \n\twhere s.groupid = i.groupid \n\tand i.id = "
         "object_id('table_case') and i.indid = " +
         std::to_string(id);
}

// What the catalogue says of one index.
struct catalogue_index {
  long id;
  std::string name;
  bool unique, ignore_dup;
  std::vector<std::string> keys;
  std::vector<long> fill;           // the OrigFillFactor rows
  std::vector<std::string> groups;  // the groupname rows
};

ds_script::result longs(const char* column, std::vector<long> values) {
  ds_script::result r{{column}, {}};
  for (long v : values) r.rows.push_back({cell::l(v)});
  return r;
}
ds_script::result texts(const char* column, std::vector<std::string> values) {
  ds_script::result r{{column}, {}};
  for (auto& v : values) r.rows.push_back({cell::t(v)});
  return r;
}

// Scripts the reads of one index's record and returns the texts they send.
std::vector<std::string> script_index(const catalogue_index& x) {
  std::vector<std::string> sent;
  ds_script::push_result(longs("number", x.unique ? std::vector<long>{kUniqueBit} : std::vector<long>{}));
  sent.push_back(attr_query(kUniqueBit, x.id));
  ds_script::push_result(longs("number", x.ignore_dup ? std::vector<long>{kIgnoreDupBit} : std::vector<long>{}));
  sent.push_back(attr_query(kIgnoreDupBit, x.id));
  long position = 1;
  for (const std::string& k : x.keys) {
    ds_script::push_result(texts("col", {k}));
    sent.push_back(key_query(x.id, position++));
  }
  ds_script::push_result({{"col"}, {{cell::null()}}});  // past the last key
  sent.push_back(key_query(x.id, position));
  ds_script::push_result(longs("OrigFillFactor", x.fill));
  sent.push_back(fill_query(x.id));
  ds_script::push_result(texts("groupname", x.groups));
  sent.push_back(group_query(x.id));
  return sent;
}

std::vector<std::string> strings_of(utl_ty_col* col, long from = 0) {
  std::vector<std::string> out;
  long n = 0;
  utl_col_num(col, &n);
  for (long i = from; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    out.emplace_back(static_cast<const char*>(e));
  }
  return out;
}

class AdpIndMssql : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    ASSERT_EQ(cmn_meth_install_all(), 0);
    adp_ind_init();  // the record type (already there once the adapter started)
    con_ = connect("oledb");
    ds_script::reset();
    std::snprintf(info_.name, sizeof info_.name, "case");
    schema_.info = &info_;
    ASSERT_EQ(utl_col_make("test", ADP_TY_INDEX_INFO, 4, 4, 0, 0, &records_), 0);
  }
  void TearDown() override {
    adp_ind_free_res_ind_col(records_);
    utl_col_free("test", records_);
    adp_test::TearDown();
  }
  adp_ty_index_info* record(long i) {
    void* e = nullptr;
    EXPECT_EQ(utl_col_ith(records_, i, &e), 0);
    return static_cast<adp_ty_index_info*>(e);
  }

  KAdpConnId* con_ = nullptr;
  typ_sch_iblk info_{};
  typ_sch_srec schema_{};
  utl_ty_col* records_ = nullptr;
};

TEST_F(AdpIndMssql, EveryIndexGetsItsBitsColumnsFillFactorAndFileGroup) {
  const catalogue_index indexes[] = {
      {1, "objindex", true, false, {"objid"}, {80}, {"PRIMARY"}},
      {2, "case_title", false, true, {"title", "due"}, {}, {}},              // no fill factor, no file group
      {3, "case_site", false, false, {"site"}, {0}, {"FG_ONE", "FG_TWO"}},   // the last group row wins
  };
  ds_script::result list{{"indid", "name"}, {}};
  for (const auto& x : indexes) list.rows.push_back({cell::l(x.id), cell::t(x.name)});
  ds_script::push_result(list);
  std::vector<std::string> expected{list_query()};
  for (const auto& x : indexes) {
    std::vector<std::string> one = script_index(x);
    expected.insert(expected.end(), one.begin(), one.end());
  }
  ASSERT_EQ(adp_ind_get_table_index(con_, &schema_, records_), 0);
  EXPECT_EQ(adp_script_sent(), expected);

  long n = 0;
  utl_col_num(records_, &n);
  ASSERT_EQ(n, 3);
  const struct {
    long attributes, fill_factor;
    const char* group;
  } want[] = {{kClusteredBit | kUniqueBit, 80, "PRIMARY"}, {kIgnoreDupBit, 0, ""}, {0, 0, "FG_TWO"}};
  for (long i = 0; i < n; ++i) {
    SCOPED_TRACE(indexes[i].name);
    adp_ty_index_info* r = record(i);
    EXPECT_EQ(r->index_id, indexes[i].id);
    EXPECT_EQ(std::string(r->name), indexes[i].name);
    EXPECT_EQ(r->attributes, want[i].attributes);
    EXPECT_EQ(r->fill_factor, want[i].fill_factor);
    EXPECT_EQ(std::string(r->location), want[i].group);
    EXPECT_EQ(r->in_schema, 0);
    EXPECT_EQ(strings_of(r->fields), indexes[i].keys);
  }
}

TEST_F(AdpIndMssql, NoIndexesNoRecordsAndNoCollectionNoQuery) {
  ds_script::push_result({{"indid", "name"}, {}});
  ASSERT_EQ(adp_ind_get_table_index(con_, &schema_, records_), 0);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{list_query()});
  long n = -1;
  utl_col_num(records_, &n);
  EXPECT_EQ(n, 0);

  ds_script::reset();
  EXPECT_EQ(adp_ind_get_table_index(con_, &schema_, nullptr), 0);
  EXPECT_TRUE(adp_script_sent().empty());
}

TEST_F(AdpIndMssql, ACatalogueNameLongerThanTheRecordFieldIsRefused) {
  ds_script::push_result({{"indid", "name"}, {{cell::l(2), cell::t(std::string(ADP_IND_TEXT + 1, 'n'))}}});
  EXPECT_NE(adp_ind_get_table_index(con_, &schema_, records_), 0);
  long n = -1;
  utl_col_num(records_, &n);
  EXPECT_EQ(n, 0);

  // Exactly the field's length fits.
  ds_script::reset();
  const std::string longest(ADP_IND_TEXT, 'n');
  ds_script::push_result({{"indid", "name"}, {{cell::l(2), cell::t(longest)}}});
  script_index({2, longest, false, false, {}, {}, {}});
  ASSERT_EQ(adp_ind_get_table_index(con_, &schema_, records_), 0);
  EXPECT_EQ(std::string(record(0)->name), longest);
}

TEST_F(AdpIndMssql, HelpindexIsSplitIntoNamesKeysAndUniqueness) {
  const std::string long_key(70, 'k');
  ds_script::push_result({{"index_name", "index_description", "index_keys"},
                          {{cell::t("objindex"), cell::t("clustered, unique located on PRIMARY"), cell::t("objid")},
                           {cell::t("case_title"), cell::t("nonclustered located on PRIMARY"),
                            cell::t("title,  due,," + long_key)},
                           {cell::t("case_x"), cell::t("nonclustered, UNIQUE located on PRIMARY"), cell::t("")}}});
  char flag = 7;
  void* indexes = nullptr;
  KAdpDbOperation* op = con_->GetDbOperation();
  ASSERT_EQ(op->SchGetIndexInfo(con_, const_cast<char*>("table_case"), &flag, &indexes), 0);
  EXPECT_EQ(adp_script_sent(), std::vector<std::string>{"sp_helpindex table_case\n"});
  EXPECT_EQ(flag, 1);
  auto* list = static_cast<utl_ty_col*>(indexes);
  const struct {
    std::vector<std::string> names;
    long unique;
  } want[] = {{{"objindex", "objid"}, 1},
              {{"case_title", "title", "due", long_key.substr(0, 64)}, 0},
              {{"case_x"}, 0}};  // "unique" is looked for as written
  long n = 0;
  utl_col_num(list, &n);
  ASSERT_EQ(n, 3);
  for (long i = 0; i < n; ++i) {
    void* slot = nullptr;
    utl_col_ith(list, i, &slot);
    auto* inner = *static_cast<utl_ty_col**>(slot);
    EXPECT_EQ(strings_of(inner), want[i].names);
    EXPECT_EQ(inner->ext, want[i].unique);
    utl_col_free("test", inner);
  }
  utl_col_free("test", list);
}

TEST_F(AdpIndMssql, ATableNameThatCouldCarrySqlIsRefusedBeforeAnythingRuns) {
  KAdpDbOperation* op = con_->GetDbOperation();
  for (const char* name : {"table_x; drop table adp_db_header", "t'x", "t x", ""}) {
    SCOPED_TRACE(name);
    cmn_alrt_clear(nullptr);
    char flag = 0;
    void* indexes = nullptr;
    EXPECT_EQ(op->SchGetIndexInfo(con_, const_cast<char*>(name), &flag, &indexes), ADP_NO_SUCH_DB);
    EXPECT_EQ(core_top_alert_code(), ADP_NO_SUCH_DB);
    EXPECT_EQ(indexes, nullptr);
  }
  EXPECT_TRUE(adp_script_sent().empty());
}

}  // namespace
