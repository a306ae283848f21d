// Message texts from the database's text table (type 326).
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"
#include "store_fixture.h"

namespace {

struct text_row {
  long id;
  const char* text;
  long locale;
};

// The table's rows; the double's query answers from them by the description's
// conditions.
std::vector<text_row> g_rows;
std::vector<dbs_ty_qry_desc> g_asked;
std::vector<std::vector<dbs_ty_qry_cond>> g_conds;
std::function<void()> g_during;

bool meets(const text_row& r, const dbs_ty_qry_cond& c) {
  long v = c.field == 1 ? r.id : c.field == 3 ? r.locale : 0;
  switch (c.op) {
    case 1: return v >= c.value;
    case 3: return v <= c.value;
    case 4: return v == c.value;
    default: return false;
  }
}

class res_str_test : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    auto& st = adp_store::st();
    st.types = {{326, 2, "string_db"}};
    st.fields = {
        {"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 326, ""},
        {"id", 512, 0, 0, -1, -1, 0x1, -1, 1, 326, ""},
        {"string", 516, 3, 255, -1, -1, 0x1, -1, 2, 326, ""},
        {"locale", 512, 0, 0, -1, -1, 0x1, -1, 3, 326, ""},
        {"class_b", 512, 0, 0, -1, -1, 0x1, -1, 4, 326, ""},
    };
    st.rels.clear();
    load_model();
    g_rows.clear();
    g_asked.clear();
    g_conds.clear();
    g_during = nullptr;
    dbs_qry_set_res_str_option(0);
    dbs_qry_set_res_str_locale(1031);
    adp_double::hook("adp_qry_simple", [](const std::vector<void*>& a) {
      auto* desc = static_cast<dbs_ty_qry_desc*>(a[0]);
      auto* objects = static_cast<utl_ty_col*>(a[1]);
      g_asked.push_back(*desc);
      g_conds.emplace_back(desc->conds, desc->conds + desc->count);
      if (g_during) g_during();
      for (const text_row& r : g_rows) {
        bool ok = true;
        for (long i = 0; i < desc->count; ++i) ok = ok && meets(r, desc->conds[i]);
        if (!ok) continue;
        dbs_ty_lobj* o = make(326);
        dbs_fld_set(o, 1, &r.id);
        dbs_fld_set(o, 2, &r.text);
        dbs_fld_set(o, 3, &r.locale);
        utl_col_push(objects, &o, nullptr);
      }
      return 0L;
    });
  }
  void TearDown() override {
    dbs_qry_set_res_str_locale(1033);
    dbs_qry_free_res_strs();  // every text handed out, at once
    store_test::TearDown();
  }
};

std::vector<std::string> take(const char** texts, long n) {
  std::vector<std::string> out;
  for (long i = 0; i < n; ++i) {
    out.push_back(texts[i] ? texts[i] : "(null)");
  }
  return out;
}

const std::string kSync = "Cannot retrieve the message (Messages in database out of sync)\n";

}  // namespace

TEST_F(res_str_test, FiveIdsOfWhichThreeAreFound) {
  g_rows = {{501, "one", 1031}, {502, "two", 1031}, {503, "three", 1031}, {502, "other locale", 1040}};
  const char* texts[5] = {};
  long count = 0;
  std::string out = store_stdout_of([&] { EXPECT_EQ(dbs_qry_list_res_str(0, 505, 501, &count, texts), 0); });
  EXPECT_EQ(count, 5);
  EXPECT_EQ(take(texts, 5), (std::vector<std::string>{"one", "two", "three", kSync, kSync}));
  // One line about the missing strings, for the first one.
  EXPECT_NE(out.find("is missing strings for subsystem"), std::string::npos) << out;
  EXPECT_NE(out.find("(string id 504)"), std::string::npos) << out;
  EXPECT_EQ(out.find("505"), std::string::npos) << out;
  // The conditions: the id range and the locale.
  ASSERT_EQ(g_conds.size(), 1u);
  ASSERT_EQ(g_conds[0].size(), 3u);
  EXPECT_EQ(g_asked[0].type_id, 326);
  EXPECT_EQ(g_conds[0][0].op, 1);
  EXPECT_EQ(g_conds[0][0].value, 501);
  EXPECT_EQ(g_conds[0][1].op, 3);
  EXPECT_EQ(g_conds[0][1].value, 505);
  EXPECT_EQ(g_conds[0][2].field, 3);
  EXPECT_EQ(g_conds[0][2].value, 1031);
}

TEST_F(res_str_test, AnIdMissingInsideTheRangeLeavesOnlyItsOwnEntryOutOfSync) {
  // Subsystem "dbs" owns ids 2200..2399, "ibu" (number 64) 14600..14799.
  struct row {
    long first, last;
    std::vector<text_row> rows;
    std::vector<std::string> texts;
    const char* line;
  } rows[] = {
      {2201, 2204,
       {{2201, "one", 1031}, {2203, "three", 1031}, {2204, "four", 1031}},
       {"one", kSync, "three", "four"},
       "subsystem 'dbs' (string id 2202)"},
      {14601, 14603,
       {{14601, "one", 1031}, {14603, "three", 1031}},
       {"one", kSync, "three"},
       "subsystem 'ibu' (string id 14602)"},
  };
  for (const row& r : rows) {
    g_rows = r.rows;
    const char* texts[4] = {};
    long count = 0;
    std::string out = store_stdout_of(
        [&] { EXPECT_EQ(dbs_qry_list_res_str(0, r.first, r.last, &count, texts), 0); });
    EXPECT_EQ(take(texts, count), r.texts);
    EXPECT_NE(out.find(r.line), std::string::npos) << out;
  }
}

TEST_F(res_str_test, StrictOptionRefusesAShortResult) {
  g_rows = {{501, "one", 1031}};
  dbs_qry_set_res_str_option(1);
  const char* texts[2] = {};
  long count = 0;
  EXPECT_EQ(dbs_qry_list_res_str(0, 501, 502, &count, texts), 0x70008a);
  EXPECT_EQ(core_top_alert_code(), 0x70008a);
  EXPECT_EQ(texts[0], nullptr);
  g_rows.push_back({502, "two", 1031});
  EXPECT_EQ(dbs_qry_list_res_str(0, 501, 502, &count, texts), 0);
  EXPECT_EQ(take(texts, 2), (std::vector<std::string>{"one", "two"}));
}

TEST_F(res_str_test, ReentrantCallAndALookupAfterAFailedOne) {
  g_rows = {{501, "one", 1031}};
  std::vector<std::string> inner;
  g_during = [&] {
    g_during = nullptr;
    const char* texts[2] = {};
    long count = 0;
    EXPECT_EQ(dbs_qry_list_res_str(0, 7, 8, &count, texts), 0);
    inner = take(texts, 2);
  };
  const char* texts[1] = {};
  long count = 0;
  EXPECT_EQ(dbs_qry_list_res_str(0, 501, 501, &count, texts), 0);
  EXPECT_EQ(take(texts, 1), std::vector<std::string>{"one"});
  EXPECT_EQ(inner, (std::vector<std::string>(2, "Message could not be retrieved from database.")));
  EXPECT_EQ(g_asked.size(), 1u);  // the inner call ran no query

  // A failed query is returned; the next lookup runs again.
  adp_double::script("adp_qry_simple", {0x600004});
  EXPECT_EQ(dbs_qry_list_res_str(0, 501, 501, &count, texts), 0x600004);
  EXPECT_EQ(dbs_qry_list_res_str(0, 501, 501, &count, texts), 0);
  EXPECT_EQ(take(texts, 1), std::vector<std::string>{"one"});
}

TEST_F(res_str_test, ClassFormPlacesTextsByTheirIds) {
  g_rows = {{503, "three", 1031}, {501, "one", 1031}};
  adp_double::hook("adp_qry_simple", [](const std::vector<void*>& a) {
    auto* desc = static_cast<dbs_ty_qry_desc*>(a[0]);
    g_conds.emplace_back(desc->conds, desc->conds + desc->count);
    for (const text_row& r : g_rows) {
      dbs_ty_lobj* o = make(326);
      dbs_fld_set(o, 1, &r.id);
      dbs_fld_set(o, 2, &r.text);
      utl_col_push(static_cast<utl_ty_col*>(a[1]), &o, nullptr);
    }
    return 0L;
  });
  const char* texts[3] = {};
  long count = 0;
  std::string out =
      store_stdout_of([&] { EXPECT_EQ(dbs_qry_list_class_res_str(nullptr, 501, 503, 9, 4, &count, texts), 0); });
  EXPECT_EQ(count, 3);
  EXPECT_EQ(take(texts, 3), (std::vector<std::string>{"one", kSync, "three"}));
  EXPECT_NE(out.find("Error fetching literal string 502"), std::string::npos) << out;
  ASSERT_EQ(g_conds.size(), 1u);
  ASSERT_EQ(g_conds[0].size(), 4u);
  EXPECT_EQ(g_conds[0][2].value, 9);
  EXPECT_EQ(g_conds[0][3].value, 4);
}

// A database whose schema has no text type: the source answers non-zero at
// once, asks no query and leaves no alert, so the message lists serve their
// compiled-in texts.
TEST_F(res_str_test, ASchemaWithoutTheTextTypeAnswersWithoutAQueryOrAnAlert) {
  auto& st = adp_store::st();
  st.types = {{327, 2, "other"}};
  for (auto& f : st.fields) f.type_id = 327;
  load_model();
  dbs_qry_set_res_str_locale(1031);  // the schema is looked at again
  g_rows = {{501, "one", 1031}};
  const char* texts[2] = {};
  long count = 0;
  EXPECT_NE(dbs_qry_list_res_str(0, 501, 502, &count, texts), 0);
  EXPECT_TRUE(g_asked.empty());
  long alerts = -1;
  cmn_alrt_num(nullptr, &alerts);
  EXPECT_EQ(alerts, 0);
}
