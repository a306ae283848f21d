// Query entry points: collection checks before any adapter call, the
// adapter's arguments, id queries under the security procedure, several
// relations in one batch, wildcard sizes and sub-object conditions.
#include <functional>
#include <string>
#include <vector>

#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"
#include "store_fixture.h"

namespace {

void* p(long v) { return reinterpret_cast<void*>(v); }
std::string s(const void* v) { return std::to_string(reinterpret_cast<unsigned long>(v)); }

utl_ty_col* new_col(long type = 517) {
  utl_ty_col* col = nullptr;
  EXPECT_EQ(utl_col_make("test", type, 4, 4, 0, 0, &col), 0);
  return col;
}

long count_of(utl_ty_col* col) {
  long n = -1;
  utl_col_num(col, &n);
  return n;
}

struct col_guard {
  utl_ty_col* col;
  ~col_guard() { utl_col_free("test", col); }
};

}  // namespace

TEST_F(store_test, QueryWrappersCheckTheirCollectionAndPassArguments) {
  obj_id id{17, 5, 0};
  void* d = p(0x100);
  void* o = p(0x200);
  void* f = p(0x300);
  void* t = p(0x400);
  struct row {
    const char* name;
    std::function<long(utl_ty_col*)> run;
    long bad_code;      // for a null collection
    bool needs_empty;   // a non-empty collection is refused too
    const char* adapter_call;
    std::vector<std::string> tail;  // the adapter's arguments after those fixed by the caller
  };
  std::vector<row> rows = {
      {"simple", [&](utl_ty_col* c) { return dbs_qry_simple(nullptr, d, o, f, c); }, 0x70000d, false,
       "adp_qry_simple", {"-1", "0", "0"}},
      {"distinct", [&](utl_ty_col* c) { return dbs_qry_simple_distinct(nullptr, d, o, f, c); }, 0x70000d, false,
       "adp_qry_simple", {"-1", "1", "0"}},
      {"option", [&](utl_ty_col* c) { return dbs_qry_simple_option(nullptr, d, o, f, 6, c); }, 0x70000d, false,
       "adp_qry_simple", {"-1", "6", "0"}},
      {"parsed", [&](utl_ty_col* c) { return dbs_qry_simple_parsed(nullptr, d, o, f, c); }, 0x70000d, false,
       "adp_qry_simple", {"-1", "0", "1"}},
      {"first", [&](utl_ty_col* c) { return dbs_qry_simple_first(nullptr, d, o, f, 12, c); }, 0x70000d, true,
       "adp_qry_simple", {"12", "0", "0"}},
      {"with_cond", [&](utl_ty_col* c) { return dbs_qry_simple_with_cond(nullptr, d, t, o, f, c); }, 0x70000d,
       false, "adp_qry_simple_with_cond", {"-1", "0", "0"}},
      {"with_id", [&](utl_ty_col* c) { return dbs_qry_simple_with_id(nullptr, d, o, f, nullptr, 2, 9, c); },
       0x70000d, true, "adp_qry_simple_with_id2", {"2", "9", "-1"}},
      {"relation", [&](utl_ty_col* c) { return dbs_qry_relation(nullptr, &id, 3, t, o, f, c); }, 0x70000d, false,
       "adp_qry_relation", {"-1", "0"}},
      {"relation_parsed", [&](utl_ty_col* c) { return dbs_qry_relation_parsed(nullptr, &id, 3, t, o, f, c); },
       0x70000d, false, "adp_qry_relation", {"-1", "1"}},
      {"relation_first", [&](utl_ty_col* c) { return dbs_qry_relation_first(nullptr, &id, 3, t, o, f, 4, c); },
       0x70000d, true, "adp_qry_relation", {"4", "0"}},
      {"relation_with_cond",
       [&](utl_ty_col* c) { return dbs_qry_relation_with_cond(nullptr, &id, 3, t, o, f, c); }, 0x70000d, false,
       "adp_qry_relation_with_cond", {"-1", "0"}},
      {"relation_for_id", [&](utl_ty_col* c) { return dbs_qry_relation_for_id(nullptr, &id, 3, t, o, f, c); },
       0x70000e, false, "adp_qry_relation_for_id", {"-1", "0"}},
      {"relation_id_parsed",
       [&](utl_ty_col* c) { return dbs_qry_relation_id_parsed(nullptr, &id, 3, t, o, f, c); }, 0x70000d, false,
       "adp_qry_relation_for_id", {"-1", "1"}},
      {"relation_with_id", [&](utl_ty_col* c) { return dbs_qry_relation_with_id(nullptr, &id, 3, t, o, f, c); },
       0x70000d, true, "adp_qry_relation_with_id", {"-1"}},
      {"aggregate", [&](utl_ty_col* c) { return dbs_qry_aggregate(nullptr, d, o, f, c); }, 0x70000d, false,
       "adp_qry_aggregate", {}},
  };
  long one = 1;
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    // No collection: refused before the adapter is asked.
    adp_double::reset();
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(r.run(nullptr), r.bad_code);
    EXPECT_EQ(core_top_alert_code(), r.bad_code);
    EXPECT_TRUE(adp_double::calls().empty());
    col_guard g{new_col(512)};
    utl_col_push(g.col, &one, nullptr);
    if (r.needs_empty) {
      EXPECT_EQ(r.run(g.col), r.bad_code);
      EXPECT_TRUE(adp_double::calls().empty());
      utl_col_reset(g.col);
    }
    // Arguments passed; the adapter's status comes back unchanged.
    adp_double::reset();
    adp_double::script(r.adapter_call, {0x600044});
    EXPECT_EQ(r.run(g.col), 0x600044);
    auto calls = adp_double::calls_of(r.adapter_call);
    ASSERT_EQ(calls.size(), 1u);
    const auto& a = calls[0].args;
    bool is_relation = std::string(r.adapter_call).find("relation") != std::string::npos;
    if (is_relation) {
      EXPECT_EQ(a[0], "17/5/0");
      EXPECT_EQ(a[1], "3");
      EXPECT_EQ(a[2], s(t));
    } else {
      EXPECT_EQ(a[0], s(d));
    }
    // The fixed arguments stand just before the collection.
    ASSERT_GE(a.size(), r.tail.size() + 1);
    std::vector<std::string> tail(a.end() - 1 - static_cast<long>(r.tail.size()), a.end() - 1);
    if (std::string(r.adapter_call) == "adp_qry_simple_with_id2") {
      tail.assign(a.begin() + 4, a.begin() + 7);
      EXPECT_EQ(a.back(), "0");
      EXPECT_EQ(a[7], s(g.col));
    } else {
      EXPECT_EQ(a.back(), s(g.col));
    }
    EXPECT_EQ(tail, r.tail);
  }
  // relation_for_id empties its collection; id_parsed keeps it.
  col_guard ids{new_col(512)};
  utl_col_push(ids.col, &one, nullptr);
  dbs_qry_relation_id_parsed(nullptr, &id, 3, t, o, f, ids.col);
  EXPECT_EQ(count_of(ids.col), 1);
  dbs_qry_relation_for_id(nullptr, &id, 3, t, o, f, ids.col);
  EXPECT_EQ(count_of(ids.col), 0);
}

TEST_F(store_test, QueryRelationForUniqueIdsRemovesRepeats) {
  obj_id id{17, 5, 0};
  col_guard ids{new_col(512)};
  ASSERT_EQ(dbs_qry_relation_for_uni_id(nullptr, &id, 3, nullptr, nullptr, nullptr, ids.col), 0);
  auto names = adp_double::calls();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].name, "adp_qry_relation_for_id");
  EXPECT_EQ(names[1].name, "adp_pwr_eliminate_dup_id");
  // A failed query is not followed by the clean-up.
  adp_double::reset();
  adp_double::script("adp_qry_relation_for_id", {0x600004});
  EXPECT_EQ(dbs_qry_relation_for_uni_id(nullptr, &id, 3, nullptr, nullptr, nullptr, ids.col), 0x600004);
  EXPECT_TRUE(adp_double::calls_of("adp_pwr_eliminate_dup_id").empty());
}

namespace {
dbs_ty_lobj* g_pwr = nullptr;
long g_secure_status = 0;
long secure_proc(void*, void*, void*, dbs_ty_lobj** out, long) {
  *out = g_pwr;
  return g_secure_status;
}
}  // namespace

TEST_F(store_test, QueryIdsUnderTheSecurityProcedure) {
  auto& st = adp_store::st();
  small_dictionary();
  st.types.push_back({19, 2, "pwr_qry"});
  st.fields.push_back({"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 19, ""});
  for (long spec = 1; spec <= 4; ++spec)
    st.fields.push_back({"f" + std::to_string(spec), 512, 0, 0, -1, -1, 0x1, -1, spec, 19, ""});
  st.fields.push_back({"proc_name", 516, 3, 40, -1, -1, 0x1, -1, 5, 19, ""});
  st.fields.push_back({"sql", 516, 10, 0, -1, -1, 0x1, -1, 6, 19, ""});
  load_model();
  void* desc = p(0x100);
  long one = 1;
  col_guard ids{new_col(512)};

  // No procedure: the adapter's id query; the collection is emptied unless
  // option bit 2 says to keep it.
  dbs_qry_secure_install(nullptr);
  utl_col_push(ids.col, &one, nullptr);
  ASSERT_EQ(dbs_qry_simple_for_id_option(nullptr, desc, nullptr, nullptr, 2, ids.col), 0);
  EXPECT_EQ(count_of(ids.col), 1);
  ASSERT_EQ(dbs_qry_simple_for_id(nullptr, desc, nullptr, nullptr, ids.col), 0);
  EXPECT_EQ(count_of(ids.col), 0);
  auto q = adp_double::calls_of("adp_qry_simple_for_id");
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(q[0].args, (std::vector<std::string>{s(desc), "0", "0", "-1", "2", s(ids.col)}));
  EXPECT_EQ(dbs_qry_simple_for_id(nullptr, desc, nullptr, nullptr, nullptr), 0x70000e);

  // The procedure hands back a power-query object: it runs instead, and is
  // freed (the test holds a second reference to see it).
  dbs_qry_secure_install(secure_proc);
  g_pwr = make(19);
  ASSERT_NE(g_pwr, nullptr);
  const char* proc_name = "sec_proc";
  const char* sql = "select objid from table_case";
  ASSERT_EQ(dbs_fld_set(g_pwr, 5, &proc_name), 0);
  ASSERT_EQ(dbs_fld_set(g_pwr, 6, &sql), 0);
  dbs_obj_incr_ref(g_pwr);
  adp_double::reset();
  g_secure_status = 0;
  ASSERT_EQ(dbs_qry_simple_for_id(nullptr, desc, nullptr, nullptr, ids.col), 0);
  EXPECT_TRUE(adp_double::calls_of("adp_qry_simple_for_id").empty());
  auto run = adp_double::calls_of("adp_pwr_qry_execute");
  ASSERT_EQ(run.size(), 1u);
  EXPECT_EQ(run[0].args, (std::vector<std::string>{"sec_proc", "select objid from table_case", s(ids.col)}));
  long refs = 0;
  dbs_obj_get_ref(g_pwr, &refs);
  EXPECT_EQ(refs, 1);

  // A refusing procedure: its status, no query, the object still freed.
  dbs_obj_incr_ref(g_pwr);
  adp_double::reset();
  g_secure_status = 0x700001;
  EXPECT_EQ(dbs_qry_simple_for_id(nullptr, desc, nullptr, nullptr, ids.col), 0x700001);
  EXPECT_TRUE(adp_double::calls().empty());
  dbs_obj_get_ref(g_pwr, &refs);
  EXPECT_EQ(refs, 1);
  dbs_obj_free_local("test", g_pwr);
  g_pwr = nullptr;
  g_secure_status = 0;
  dbs_qry_secure_install(nullptr);
}

TEST_F(store_test, QuerySeveralRelationsInOneBatch) {
  obj_id ids[3] = {{17, 1, 0}, {17, 2, 0}, {17, 3, 0}};
  col_guard outer{new_col(517)};
  utl_ty_col* first = new_col(512);
  long one = 1;
  utl_col_push(first, &one, nullptr);
  utl_col_push(outer.col, &first, nullptr);
  ASSERT_EQ(dbs_qry_mult_rel_for_id(nullptr, 3, ids, outer.col), 0);
  EXPECT_EQ(count_of(outer.col), 3);
  EXPECT_EQ(count_of(first), 0);  // emptied
  std::vector<std::string> names;
  for (const auto& c : adp_double::calls()) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"adp_sql_batch_create", "adp_sql_batch_start", "adp_qry_mult_rel_for_id",
                                             "adp_sql_execute_batch", "adp_sql_batch_free"}));
  EXPECT_EQ(adp_double::calls_of("adp_qry_mult_rel_for_id")[0].args,
            (std::vector<std::string>{"3", s(ids), "0", s(outer.col)}));
  // A failed queueing is returned and the batch is still freed.
  adp_double::reset();
  adp_double::script("adp_qry_mult_rel_for_id", {0x600004});
  EXPECT_EQ(dbs_qry_mult_rel_for_id(nullptr, 3, ids, outer.col), 0x600004);
  EXPECT_TRUE(adp_double::calls_of("adp_sql_execute_batch").empty());
  EXPECT_EQ(adp_double::calls_of("adp_sql_batch_free").size(), 1u);
  EXPECT_EQ(dbs_qry_mult_rel_for_id(nullptr, 3, ids, nullptr), 0x70000e);
  for (long i = 0; i < 3; ++i) {
    void* slot = nullptr;
    utl_col_ith(outer.col, i, &slot);
    utl_col_free("test", *static_cast<utl_ty_col**>(slot));
  }
}

TEST_F(store_test, QueryWildcardBufferSizes) {
  struct row {
    const char* prefix;
    const char* suffix;
    long size;
    long status;
  } rows[] = {
      // pattern "abcd": length 4, needs 6, 7 with a prefix, one less without a suffix
      {nullptr, "%", 6, 0}, {nullptr, "%", 5, 0x700010}, {"%", "%", 7, 0}, {"%", "%", 6, 0x700010},
      {nullptr, nullptr, 5, 0}, {nullptr, nullptr, 4, 0x700010}, {"%", nullptr, 6, 0}, {"%", nullptr, 5, 0x700010},
  };
  for (const row& r : rows) {
    adp_double::reset();
    char out[16];
    EXPECT_EQ(dbs_qry_wildcard_transform(r.prefix, "abcd", r.suffix, out, r.size), r.status) << r.size;
    EXPECT_EQ(adp_double::calls_of("adp_qry_wildcard_transform").size(), r.status ? 0u : 1u);
  }
}

TEST_F(store_test, QuerySubObjectConditions) {
  obj_id parent{0x20011, 77, 0};  // high bits above the type id are masked off
  dbs_ty_subobj_conds desc{};
  utl_ty_col* conds = nullptr;
  ASSERT_EQ(dbs_qry_make_subobj_conds(&parent, 3, 0, &desc, &conds), 0);
  EXPECT_EQ(desc.flags, 4);
  EXPECT_EQ(desc.flag, 3);
  ASSERT_EQ(desc.count, 2);
  EXPECT_EQ(desc.conds[0].field, 1);
  EXPECT_EQ(desc.conds[0].op, 4);
  EXPECT_EQ(desc.conds[0].value, 77);
  EXPECT_EQ(desc.conds[1].field, 2);
  EXPECT_EQ(desc.conds[1].value, 0x11);
  ASSERT_EQ(dbs_qry_add_to_subobj_conds(9, 1, 500, conds, &desc), 0);
  ASSERT_EQ(desc.count, 3);
  EXPECT_EQ(desc.conds[2].field, 9);
  EXPECT_EQ(desc.conds[2].op, 1);
  EXPECT_EQ(desc.conds[2].value, 500);
  utl_col_free("test", conds);

  ASSERT_EQ(dbs_qry_make_subobj_conds(&parent, 0, 1, &desc, &conds), 0);
  EXPECT_EQ(desc.flags, 5);
  utl_col_free("test", conds);
  // A descriptor made elsewhere is refused.
  dbs_ty_subobj_conds other{0, nullptr, 0, 0};
  col_guard c{new_col(580)};
  EXPECT_EQ(dbs_qry_add_to_subobj_conds(9, 1, 500, c.col, &other), 1);
  EXPECT_EQ(count_of(c.col), 0);
}
