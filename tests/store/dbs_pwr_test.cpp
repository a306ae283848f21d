// Power queries: connector patterns, string literals, stored procedures, the
// UNION rewrite and its gate.
#include <cstring>
#include <string>
#include <vector>

#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "adapter/adp_sch_load.h"
#include "schema/typ_rec.h"
#include "store/dbs_pwr.h"
#include "store/dbs_qry.h"
#include "store_fixture.h"

namespace {

std::string pattern_of(long (*make_pattern)(dbs_ty_pwr_list*), std::vector<dbs_ty_pwr_cond> conds, long and_flag) {
  dbs_ty_pwr_list list{17, static_cast<long>(conds.size()), conds.data(), and_flag, nullptr, 0};
  EXPECT_EQ(make_pattern(&list), 0);
  std::string out = list.pattern ? list.pattern : "(none)";
  osl_mem_free("test", list.pattern);
  return out;
}

const char* kSecured =
    "select tta.objid from table_case tta, table_site ts where tta.objid != -2 AND ((ts.name = 'a' OR "
    "tta.title = 'b')";

}  // namespace

TEST(PwrPattern, ConnectorPatternsOfBothLists) {
  struct row {
    std::vector<dbs_ty_pwr_cond> conds;
    long and_flag;
    const char* first;
    const char* second;
  } rows[] = {
      {{}, 1, "(none)", "(none)"},
      {{{"a", 9, "x"}}, 1, "%s ", "%s"},
      {{{"a", 9, "x"}, {"a", 9, "y"}, {"b", 4, "1"}}, 1, "%s OR %s AND %s ", "%sAND %sAND %s"},
      {{{"a", 4, "x"}, {"b", 4, "y"}}, 0, "%s OR %s ", "%sOR %s"},
      // After an in-list pair the rest is joined by AND even in an OR list.
      {{{"a", 9, "x"}, {"a", 9, "y"}, {"b", 4, "1"}}, 0, "%s OR %s AND %s ", "%sOR %sOR %s"},
      {{{"a", 9, "x"}, {"b", 9, "y"}}, 1, "%s AND %s ", "%sAND %s"},
  };
  for (const row& r : rows) {
    EXPECT_EQ(pattern_of(dbs_pwr_pattern_first, r.conds, r.and_flag), r.first);
    EXPECT_EQ(pattern_of(dbs_pwr_pattern_second, r.conds, r.and_flag), r.second);
  }
}

TEST_F(store_test, PwrStringLiteralSizes) {
  char out[16];
  std::memset(out, 'z', sizeof out);
  EXPECT_EQ(dbs_pwr_str_convert("it's a", out, 9), 0x700026);
  EXPECT_EQ(core_top_alert_code(), 0x700026);
  EXPECT_EQ(out[0], 'z');
  ASSERT_EQ(dbs_pwr_str_convert("it's a", out, 10), 0);
  EXPECT_STREQ(out, "'it''s a'");
  ASSERT_EQ(dbs_pwr_str_convert("", out, 3), 0);
  EXPECT_STREQ(out, "''");
  ASSERT_EQ(dbs_pwr_str_convert("''", out, 7), 0);
  EXPECT_STREQ(out, "''''''");
}

TEST_F(store_test, PwrStoredProcedureNames) {
  auto& st = adp_store::st();
  st.types = {{19, 2, "pwr_qry"}};
  st.fields = {{"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 19, ""},
               {"title", 516, 3, 80, -1, -1, 0x1, -1, 1, 19, ""}};
  for (long spec = 2; spec <= 4; ++spec)
    st.fields.push_back({"f" + std::to_string(spec), 512, 0, 0, -1, -1, 0x1, -1, spec, 19, ""});
  st.fields.push_back({"proc_name", 516, 3, 80, -1, -1, 0x1, -1, 5, 19, ""});
  st.fields.push_back({"sql", 516, 10, 0, -1, -1, 0x1, -1, 6, 19, ""});
  st.rels.clear();
  load_model();
  dbs_ty_lobj* o = make(19);
  auto set = [&](long field, const char* text) { ASSERT_EQ(dbs_fld_set(o, field, &text), 0); };
  auto get = [&](long field) {
    long v = 0;
    dbs_fld_get(o, field, &v, nullptr);
    return std::string(v ? reinterpret_cast<const char*>(v) : "");
  };
  set(6, "select objid from table_case");
  struct row {
    const char* title;
    const char* login;
    long status;
  } rows[] = {
      {"", "bob", 0x70001f},
      {" open", "bob", 0x70001f},
      {"open", "", 0x700020},
      {"open", nullptr, 0x700020},
      {"open; drop table x", "bob", 0x700001},
      {"open'--", "bob", 0x700001},
  };
  for (const row& r : rows) {
    adp_double::reset();
    set(1, r.title);
    EXPECT_EQ(dbs_pwr_stored_proc_create(nullptr, o, r.login), r.status) << r.title;
    EXPECT_TRUE(adp_double::calls_of("adp_pwr_stored_proc_create").empty()) << r.title;
  }
  set(1, "open_cases#2$");
  ASSERT_EQ(dbs_pwr_stored_proc_create(nullptr, o, "bob"), 0);
  auto created = adp_double::calls_of("adp_pwr_stored_proc_create");
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].args, (std::vector<std::string>{"bob_open_cases#2$", "select objid from table_case"}));
  EXPECT_EQ(get(5), "bob_open_cases#2$");
  ASSERT_EQ(dbs_pwr_stored_proc_delete(nullptr, o), 0);
  EXPECT_EQ(adp_double::calls_of("adp_pwr_stored_proc_delete")[0].args[0], "bob_open_cases#2$");
  EXPECT_EQ(get(5), "");
  EXPECT_EQ(dbs_pwr_stored_proc_delete(nullptr, o), 0x700021);
  dbs_obj_free_local("test", o);
}

TEST_F(store_test, PwrUnionRewrite) {
  adp_store::st().server_type = 2;
  EXPECT_EQ(dbs_pwr_convert_to_union_if_secure_on(kSecured),
            "select tta.objid from table_case tta, table_site ts where  tta.objid != -2 AND ((ts.name = 'a' )) "
            "UNION select tta.objid from table_case tta where  tta.objid != -2 AND ( tta.title = 'b')");
  struct row {
    const char* why;
    std::string sql;
  } unchanged[] = {
      {"no marker", "select tta.objid from table_case tta where tta.objid != 2 AND ((a.x = 1 OR tta.y = 2)"},
      {"unbalanced", "select tta.objid from table_case tta where tta.objid != -2 AND ((tta.x = 1) OR (tta.y = 2))"},
      {"literal holding OR",
       "select tta.objid from table_case tta where tta.objid != -2 AND ((tta.x = ' OR ' OR tta.y = 2)"},
      {"literal holding from",
       "select tta.objid from table_case tta where tta.objid != -2 AND ((tta.x = 'a from b' OR tta.y = 2)"},
  };
  for (const row& r : unchanged) EXPECT_EQ(dbs_pwr_convert_to_union_if_secure_on(r.sql), r.sql) << r.why;
  // On MS SQL the lock hints stay with the tables kept.
  adp_store::st().server_type = 1;
  EXPECT_EQ(dbs_pwr_convert_to_union_if_secure_on(
                "select tta.objid from table_case tta (NOLOCK), table_site ts (NOLOCK) where tta.objid != -2 AND "
                "((ts.name = 'a' OR tta.title = 'b')"),
            "select tta.objid from table_case tta (NOLOCK), table_site ts (NOLOCK) where  tta.objid != -2 AND "
            "((ts.name = 'a' )) UNION select tta.objid from table_case tta (NOLOCK) where  tta.objid != -2 AND ( "
            "tta.title = 'b')");
}

TEST_F(store_test, PwrRewriteHelpers) {
  auto text = [](char* p) {
    std::string s = p ? p : "(null)";
    dbs_pwr_deallocate_memory(p);
    return s;
  };
  long n = -1;
  EXPECT_EQ(text(dbs_pwr_find_and_replace("a OR b OR c", " OR ", " | ", &n)), "a | b | c");
  EXPECT_EQ(n, 2);
  EXPECT_EQ(text(dbs_pwr_find_and_replace("abc", " OR ", " | ", &n)), "abc");
  EXPECT_EQ(n, 0);
  EXPECT_EQ(text(dbs_pwr_find_and_replace("abc", "", "x", &n)), "(null)");

  struct row {
    const char* tables;
    const char* alternative;
    char mssql;
    const char* kept;
  } rows[] = {
      {"table_case tta, table_site ts", "ts.name = 'a'", 0, "table_site ts"},
      {"table_case tta, table_site ts", "tta.x = 1 AND ts.y = 2", 0, "table_case tta, table_site ts"},
      {"table_case, table_site ts", "table_case.x = 1", 0, "table_case"},
      {"table_case tta (NOLOCK), table_site ts (NOLOCK)", "ts.y = 2", 1, "table_site ts (NOLOCK)"},
      {"table_case tta", "zz.y = 2", 0, ""},
      // An alias inside a longer one is not a mention.
      {"table_case tta, table_site s", "ts.name = 'a' AND tta.x = 1", 0, "table_case tta"},
      {"table_site site_1, table_bus_site bus_site_1", "bus_site_1.x = 1", 0, "table_bus_site bus_site_1"},
      {"table_site s", "(s.name = 'a')", 0, "table_site s"},
  };
  for (const row& r : rows)
    EXPECT_EQ(text(dbs_pwr_make_from_to_where_clause(r.tables, r.alternative, r.mssql)), r.kept) << r.tables;

  char padded[] = "  x y  ";
  EXPECT_STREQ(dbs_pwr_trim_left(padded), "x y  ");
  EXPECT_STREQ(dbs_pwr_trim_right(padded), "x y");
  char blanks[] = "   ";
  EXPECT_STREQ(dbs_pwr_trim_right(dbs_pwr_trim_left(blanks)), "");
  EXPECT_EQ(dbs_pwr_deallocate_memory(nullptr), 0);
  EXPECT_EQ(dbs_pwr_validate_final_str("((a) (b))"), 1);
  EXPECT_EQ(dbs_pwr_validate_final_str("((a)"), 0);
}

TEST_F(store_test, PwrExecutionRewritesOnlyThroughTheGate) {
  auto& st = adp_store::st();
  st.types = {{19, 2, "pwr_qry"}};
  st.fields = {{"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 19, ""}};
  for (long spec = 1; spec <= 4; ++spec)
    st.fields.push_back({"f" + std::to_string(spec), 512, 0, 0, -1, -1, 0x1, -1, spec, 19, ""});
  st.fields.push_back({"proc_name", 516, 3, 80, -1, -1, 0x1, -1, 5, 19, ""});
  st.fields.push_back({"sql", 516, 10, 0, -1, -1, 0x1, -1, 6, 19, ""});
  st.rels.clear();
  load_model();
  dbs_ty_lobj* o = make(19);
  const char* sql = kSecured;
  ASSERT_EQ(dbs_fld_set(o, 6, &sql), 0);
  utl_ty_col* ids = nullptr;
  ASSERT_EQ(utl_col_make("test", 594, 4, 4, 0, 0, &ids), 0);
  auto run = [&] {
    adp_double::reset();
    EXPECT_EQ(dbs_pwr_qry_execute(nullptr, o, ids), 0);
    return adp_double::calls_of("adp_pwr_qry_execute").at(0).args[1] != kSecured;
  };
  dbs_pwr_set_convert_to_union(1);
  EXPECT_FALSE(run());  // gate closed
  dbs_pwr_verify_code_flow("Form12000");
  dbs_pwr_verify_code_flow("bus_org");
  EXPECT_TRUE(run());
  EXPECT_FALSE(run());  // cleared after one execution
  dbs_pwr_verify_code_flow("Form12000");
  union_not_required();
  dbs_pwr_verify_code_flow("opportunity");
  EXPECT_FALSE(run());
  dbs_pwr_verify_code_flow("Form12000");
  dbs_pwr_verify_code_flow("opportunity");
  dbs_pwr_set_convert_to_union(0);
  EXPECT_FALSE(run());  // the security procedure did not ask for it
  dbs_pwr_verify_code_flow("Form12000");
  dbs_pwr_verify_code_flow("contact");  // another form: the gate stays armed, nothing desired
  dbs_pwr_set_convert_to_union(1);
  EXPECT_FALSE(run());
  dbs_pwr_set_convert_to_union(0);
  dbs_pwr_verify_code_flow("reset");
  utl_col_free("test", ids);
  dbs_obj_free_local("test", o);
}

namespace {
dbs_ty_pwr_list* g_replacement = nullptr;
char g_convert = 0;
std::vector<std::string> g_proc_calls;
long secure(dbs_ty_pwr_list*, dbs_ty_pwr_list** replacement, char* convert, long) {
  g_proc_calls.push_back("secure");
  *replacement = g_replacement;
  *convert = g_convert;
  return 0;
}
long cleanup(dbs_ty_pwr_list* replacement, long, long) {
  g_proc_calls.push_back(replacement == g_replacement ? "cleanup replacement" : "cleanup other");
  return 0;
}

class pwr_obj_test : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    small_dictionary();
    auto& st = adp_store::st();
    st.types.push_back({19, 2, "pwr_qry"});
    st.fields.push_back({"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 19, ""});
    for (long spec = 1; spec <= 4; ++spec)
      st.fields.push_back({"f" + std::to_string(spec), 512, 0, 0, -1, -1, 0x1, -1, spec, 19, ""});
    st.fields.push_back({"proc_name", 516, 3, 80, -1, -1, 0x1, -1, 5, 19, ""});
    st.fields.push_back({"sql", 516, 10, 0, -1, -1, 0x1, -1, 6, 19, ""});
    load_model();
    g_proc_calls.clear();
  }
  void TearDown() override {
    dbs_pwr_qry_secure_install(nullptr, nullptr);
    dbs_pwr_set_convert_to_union(0);
    store_test::TearDown();
  }
};
}  // namespace

TEST_F(pwr_obj_test, AssemblyWithSecurityAndCleanUp) {
  dbs_ty_lobj* o = make(19);
  std::vector<dbs_ty_pwr_cond> conds = {{"a", 9, "x"}, {"a", 9, "y"}, {"b", 4, "1"}};
  dbs_ty_pwr_list list{17, 3, conds.data(), 1, nullptr, 0};
  std::vector<dbs_ty_pwr_cond> conds2 = {{"c", 4, "1"}, {"d", 4, "2"}};
  dbs_ty_pwr_list list2{18, 2, conds2.data(), 0, nullptr, 0};
  dbs_ty_pwr_list replacement{18, 0, nullptr, 1, nullptr, 0};
  std::vector<std::string> seen;
  adp_double::hook("adp_pwr_qry_construct", [&seen](const std::vector<void*>& a) {
    auto* l = static_cast<dbs_ty_pwr_list*>(a[0]);
    auto* l2 = static_cast<dbs_ty_pwr_list*>(a[1]);
    seen.push_back(std::to_string(l->type_id) + " " + (l->pattern ? l->pattern : "-") + " / " +
                   (l2->pattern ? l2->pattern : "-"));
    std::strcpy(static_cast<char*>(a[2]), "select objid from table_x");
    return 0L;
  });
  // No procedure: the list as given.
  ASSERT_EQ(dbs_pwr_qry_construct2(nullptr, &list, &list2, nullptr, o, 0), 0);
  // A procedure with a replacement that asks for the rewrite, then cleans up.
  dbs_pwr_qry_secure_install(secure, cleanup);
  g_replacement = &replacement;
  g_convert = 1;
  ASSERT_EQ(dbs_pwr_qry_construct2(nullptr, &list, &list2, nullptr, o, 0), 0);
  // Option bit 2: the procedure is not asked.
  ASSERT_EQ(dbs_pwr_qry_construct2(nullptr, &list, &list2, nullptr, o, 2), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"17 %s OR %s AND %s  / %sOR %s", "18 - / %sOR %s",
                                            "17 %s OR %s AND %s  / %sOR %s"}));
  EXPECT_EQ(g_proc_calls, (std::vector<std::string>{"secure", "cleanup replacement"}));
  EXPECT_EQ(list.pattern, nullptr);  // freed
  EXPECT_EQ(list2.pattern, nullptr);
  long v = 0;
  dbs_fld_get(o, 6, &v, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(v), "select objid from table_x");
  // Trend and non-blocking runs read the object's fields.
  adp_double::reset();
  ASSERT_EQ(dbs_pwr_trend_qry_execute(nullptr, o, nullptr), 0);
  ASSERT_EQ(dbs_pwr_non_block_exe(nullptr, o), 0);
  EXPECT_EQ(adp_double::calls_of("adp_pwr_trend_qry_execute")[0].args[0], "select objid from table_x");
  EXPECT_EQ(adp_double::calls_of("adp_pwr_non_block_exe")[0].args[1], "select objid from table_x");
  dbs_obj_free_local("test", o);
}

TEST_F(pwr_obj_test, InListTestEndsItsTransaction) {
  struct row {
    const char* field;
    long op;
    long result;
  } rows[] = {
      {"objid", 9, 1}, {"count", 9, 0}, {"objid", 4, 0}, {"title", 9, 0}, {"nosuch", 9, 0x500011 & 0xff},
      {nullptr, 9, 0x500011 & 0xff},  // no field named: refused, not read through
  };
  for (const row& r : rows) {
    dbs_ty_pwr_cond cond{r.field, r.op, "1"};
    dbs_ty_pwr_list list{17, 1, &cond, 1, nullptr, 0};
    const char* name = r.field ? r.field : "(null)";
    EXPECT_EQ(dbs_checkforin(nullptr, &list), r.result) << name;
    EXPECT_EQ(adp_store::st().trn_level, 0) << name;
  }
  EXPECT_STREQ(dbs_pwr_is_path("case2site:site2x:name"), ":name");
  EXPECT_EQ(dbs_pwr_is_path("name"), nullptr);
}

TEST_F(pwr_obj_test, RelationPathsToOneAndToMany) {
  // Type a holds the foreign side: its relation leads to one object of type
  // b; b's relation leads to many of a.
  typ_sch_srec* cs = nullptr;
  ASSERT_EQ(adp_sch_shandle_find(17, &cs), 0);
  bool case_is_foreign = cs->rels[0].side == 'f';
  long a_type = case_is_foreign ? 17 : 18;
  long b_type = case_is_foreign ? 18 : 17;
  const char* to_one = case_is_foreign ? "case2site" : "site2case";
  const char* to_many = case_is_foreign ? "site2case" : "case2site";
  const char* a_field = case_is_foreign ? "title" : "name";
  const char* b_field = case_is_foreign ? "name" : "title";
  auto stored = [](long type, long number) {
    dbs_ty_lobj* o = make(type);
    dbs_fld_set_local(o, 0, &number, 1);
    dbs_obj_make_perm(o, 1);
    return o;
  };
  long found = 1;
  auto add = [&found, &stored](long type, utl_ty_col* col) {
    for (long i = 0; i < found; ++i) {
      dbs_ty_lobj* o = stored(type, 100 + i);
      utl_col_push(col, &o, nullptr);
    }
    return 0L;
  };
  adp_double::hook("adp_rel_get_pk_obj",
                   [&](const std::vector<void*>& a) { return add(b_type, static_cast<utl_ty_col*>(a[0])); });
  std::string cond_seen;
  adp_double::hook("adp_qry_relation", [&](const std::vector<void*>& a) {
    auto* target = static_cast<dbs_ty_qry_desc*>(a[1]);
    cond_seen = std::to_string(target->type_id) + " " + std::to_string(target->conds[0].op) + " " +
                reinterpret_cast<const char*>(target->conds[0].value);
    return add(a_type, static_cast<utl_ty_col*>(a[2]));
  });
  dbs_ty_lobj* start_a = stored(a_type, 4);
  dbs_ty_lobj* start_b = stored(b_type, 5);
  dbs_ty_lobj* out = nullptr;
  long spec = 0, type = 0;
  // Plain field.
  ASSERT_EQ(dbs_pwr_rel_path_target_get(nullptr, start_a, a_field, 0, &out, &spec, &type), 0);
  EXPECT_EQ(out, start_a);
  EXPECT_EQ(type, 516);
  EXPECT_EQ(dbs_pwr_rel_path_target_get(nullptr, start_a, "nosuch", 0, &out, &spec, &type), 0x700022);
  // To-one, without condition: the fetched object is freed and not handed out.
  std::string path = std::string(to_one) + ":" + b_field;
  ASSERT_EQ(dbs_pwr_rel_path_target_get(nullptr, start_a, path.c_str(), 0, &out, &spec, &type), 0);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(type, 516);
  EXPECT_GE(spec, 1);
  found = 0;
  ASSERT_EQ(dbs_pwr_rel_path_target_get(nullptr, start_a, path.c_str(), 0, &out, &spec, &type), 0);
  EXPECT_EQ(spec, -1);
  EXPECT_EQ(type, -1);
  found = 2;
  EXPECT_EQ(dbs_pwr_rel_path_target_get(nullptr, start_a, path.c_str(), 0, &out, &spec, &type), 0x700025);
  // To-many: only with a condition.
  found = 1;
  path = std::string(to_many) + ":" + a_field;
  EXPECT_EQ(dbs_pwr_rel_path_target_get(nullptr, start_b, path.c_str(), 0, &out, &spec, &type), 0x700024);
  path = std::string(to_many) + "(x = 1):" + a_field;
  ASSERT_EQ(dbs_pwr_rel_path_target_get(nullptr, start_b, path.c_str(), 0, &out, &spec, &type), 0);
  EXPECT_EQ(cond_seen, std::to_string(a_type) + " 15 x = 1");
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(type, 516);
  EXPECT_EQ(dbs_pwr_rel_path_target_get(nullptr, start_b, "nosuch(x):title", 0, &out, &spec, &type), 0x700023);
  dbs_obj_free_local("test", start_a);
  dbs_obj_free_local("test", start_b);
}
