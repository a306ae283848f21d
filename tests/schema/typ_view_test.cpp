// Views and joins: resolution at optimisation, outer joins, join
// elimination, copies, the cache file's view blocks and fetching.
#include <string>

#include "adpdouble/adp_double.h"
#include "typ_store_double.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_acc.h"
#include "schema/typ_diff.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "schema_fixture.h"

namespace {

class typ_views : public schema_test {
 protected:
  void SetUp() override {
    schema_test::SetUp();
    // B (primary) has many A (foreign, holds the key); C hangs off B.
    typ_sch_srec* a = object("A", 1);
    field(a, "objid", 1, 3);
    field(a, "name", 4, -1, 516);
    typ_sch_srec* b = object("B", 2);
    field(b, "objid", 1, 3);
    field(b, "title", 4, -1, 516);
    typ_sch_srec* c = object("C", 3);
    field(c, "objid", 1, 3);
    EXPECT_EQ(rel("B", "as", 1, "A", "b"), 0);
    EXPECT_EQ(rel("A", "b", 2, "B", "as"), 0);
    EXPECT_EQ(rel("B", "cs", 1, "C", "b2"), 0);
    EXPECT_EQ(rel("C", "b2", 2, "B", "cs"), 0);
  }

  void TearDown() override {
    for (utl_ty_col* c : cols_) utl_col_free("t", c);
    cols_.clear();
    schema_test::TearDown();
  }

  utl_ty_col* texts(std::initializer_list<const char*> items) {
    utl_ty_col* c = nullptr;
    EXPECT_EQ(utl_col_make("t", 516, 2, 5, 0, 0, &c), 0);
    for (const char* t : items) utl_col_push(c, t, nullptr);
    cols_.push_back(c);
    return c;
  }

  // A view named `name` over aliases a (A) and b (B).
  typ_sch_srec* view(const char* name, long type_id) {
    typ_sch_srec* v = nullptr;
    EXPECT_EQ(typ_sch_define_struct(name, type_id, nullptr, nullptr, nullptr, &v), 0);
    EXPECT_EQ(typ_sch_make_view_alias(v, texts({"A", "B"}), texts({"a", "b"})), 0);
    return v;
  }

  long vfield(typ_sch_srec* v, const char* name, const char* type, const char* alias, const char* src) {
    long pos = -1;
    long st = typ_sch_add_vfield(v, name, 1, -1, type, alias, -1, src, -1, 0, nullptr, &pos);
    return st ? st : 0;
  }

  std::vector<utl_ty_col*> cols_;
};

TEST_F(typ_views, FieldsAndJoinsAreResolvedAtOptimisation) {
  typ_sch_srec* v = view("V", 100);
  ASSERT_EQ(vfield(v, "aname", "A", "a", "name"), 0);
  ASSERT_EQ(vfield(v, "btitle", "B", "b", "title"), 0);
  ASSERT_EQ(typ_sch_define_join(v, "a", "b", "b", "as", nullptr, 0), 0);
  EXPECT_EQ(v->fields[0].data_type, 512);  // unresolved until optimised
  EXPECT_EQ(v->fields[0].db_type, -1);
  ASSERT_EQ(typ_sch_optimize(), 0);
  v = sch("V");
  EXPECT_FALSE(v->flags & TYP_SCH_CONSTRUCT);
  EXPECT_EQ(v->fields[0].data_type, 516);
  auto* vi = static_cast<typ_sch_vinfo*>(v->fields[1].uptr);
  EXPECT_EQ(vi->unresolved, 0);
  EXPECT_EQ(vi->src_type_id, 2);
  EXPECT_EQ(vi->src_schema, 1);
  EXPECT_EQ(vi->src_field, 1);
  EXPECT_EQ(vi->src_field2, 1);
  ASSERT_EQ(v->nrels, 1);
  const typ_sch_rel_inst& j = v->rels[0];
  EXPECT_EQ(j.rel_index, 0);
  EXPECT_EQ(j.side, 'p');
  EXPECT_STREQ(j.join->palias, "b");  // B is the primary side
  EXPECT_STREQ(j.join->falias, "a");
  EXPECT_EQ(j.join_kind, 0);
  // The cache file's view blocks.
  std::string out = schema_written([](FILE* f) { typ_sch_cache_joins(f); });
  EXPECT_EQ(out,
            "{\n(100,2,0,1,0,b,a,0,0)\n}\n"
            "{\n(100,1,0,1,1,a)\n(100,2,1,1,1,b)\n}\n");
}

TEST_F(typ_views, ResolutionFailuresAndOuterJoinKinds) {
  struct row {
    const char* type;
    const char* field;
    long status;
    const char* text;
  };
  const row rows[] = {
      {"Q", "name", TYP_VIEW_NO_TYPE, "Cannot find object type 'Q' used by field 'f' in view 'V'.\n"},
      {"A", "nope", TYP_VIEW_NO_FIELD, "Cannot find field 'nope' in object type 'A' used in view 'V'.\n"},
  };
  for (const row& r : rows) {
    SetUp();
    typ_sch_srec* v = view("V", 100);
    ASSERT_EQ(vfield(v, "f", r.type, "", r.field), 0);  // accepted at definition
    EXPECT_EQ(typ_sch_optimize(), r.status);
    EXPECT_EQ(core_top_alert_text(), r.text);
    TearDown();
  }
  // A join whose two names are different relations.
  SetUp();
  typ_sch_srec* v = view("V", 100);
  ASSERT_EQ(typ_sch_define_join(v, "A", "b", "B", "cs", "", 0), 0);
  EXPECT_EQ(typ_sch_optimize(), TYP_INV_MISMATCH);
  EXPECT_EQ(core_top_alert_text(), "Relation cs of object type B does not match its inverse relation.\n");
  TearDown();
  // Outer options: the outer side named first or second, seen from either end.
  struct kind_row {
    const char* first;
    const char* rel1;
    const char* second;
    const char* rel2;
    long outer;
    long kind;
  };
  const kind_row kinds[] = {{"a", "b", "b", "as", 1, 2}, {"a", "b", "b", "as", 2, 1},
                            {"b", "as", "a", "b", 1, 1}, {"b", "as", "a", "b", 2, 2}};
  for (const kind_row& k : kinds) {
    SetUp();
    v = view("V", 100);
    ASSERT_EQ(typ_sch_define_join(v, k.first, k.rel1, k.second, k.rel2, "", k.outer), 0);
    ASSERT_EQ(typ_sch_optimize(), 0);
    EXPECT_EQ(sch("V")->rels[0].join_kind, k.kind) << k.first << k.outer;
    TearDown();
  }
  SetUp();
}

TEST_F(typ_views, AnOuterJoinedTableJoinsOneOtherTableOnly) {
  typ_sch_srec* v = nullptr;
  ASSERT_EQ(typ_sch_define_struct("V", 100, nullptr, nullptr, nullptr, &v), 0);
  // B is the outer side of its join with A, and also joined to C.
  ASSERT_EQ(typ_sch_define_join(v, "A", "b", "B", "as", "", 2), 0);
  ASSERT_EQ(typ_sch_define_join(v, "B", "cs", "C", "b2", "", 0), 0);
  EXPECT_EQ(typ_sch_optimize(), TYP_OUTER_JOIN);
  EXPECT_EQ(core_top_alert_text(), "Cannot outer join B to more than one other table in  view (V).\n");
}

TEST_F(typ_views, JoinEliminationReadsTheObjectIdFromTheForeignKey) {
  typ_sch_srec* v = view("V", 100);
  ASSERT_EQ(vfield(v, "aname", "A", "a", "name"), 0);
  ASSERT_EQ(vfield(v, "bid", "B", "b", "objid"), 0);
  ASSERT_EQ(typ_sch_define_join(v, "a", "b", "b", "as", "", 0), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  ASSERT_EQ(typ_sch_optimize_view(), 0);
  v = sch("V");
  EXPECT_TRUE(v->flags & TYP_SCH_VIEW_OPT);
  auto* vi = static_cast<typ_sch_vinfo*>(v->fields[1].uptr);
  EXPECT_EQ(vi->src_schema, 0);  // A, the foreign side
  EXPECT_EQ(vi->src_field2, 0 + TYP_VINFO_REL);
  EXPECT_STREQ(vi->alias, "a");
  EXPECT_TRUE(v->rels[0].flags & TYP_REL_DROPPED);
  // Alias b is no longer used by any field or kept join.
  auto* blk = static_cast<typ_sch_alias_blk*>(v->info->uptr);
  long n = 0;
  utl_col_num(blk->aliases, &n);
  EXPECT_EQ(n, 1);
  // The view as it was before is kept.
  ASSERT_NE(blk->copy, nullptr);
  EXPECT_FALSE(blk->copy->flags & TYP_SCH_VIEW_OPT);
  auto* old = static_cast<typ_sch_vinfo*>(blk->copy->fields[1].uptr);
  EXPECT_EQ(old->src_schema, 1);
  EXPECT_STREQ(old->alias, "b");
  EXPECT_FALSE(blk->copy->rels[0].flags & TYP_REL_DROPPED);
  // A second call changes nothing.
  const std::string before = schema_written([](FILE* f) { typ_sch_cache_joins(f); });
  ASSERT_EQ(typ_sch_optimize_view(), 0);
  ASSERT_EQ(typ_sch_optimize_one_view(sch("V")), 0);
  EXPECT_EQ(schema_written([](FILE* f) { typ_sch_cache_joins(f); }), before);
  EXPECT_EQ(blk->copy, static_cast<typ_sch_alias_blk*>(sch("V")->info->uptr)->copy);
}

TEST_F(typ_views, AnObjectIdWithOtherFieldsOfItsTypeKeepsItsJoin) {
  typ_sch_srec* v = view("V", 100);
  ASSERT_EQ(vfield(v, "aname", "A", "a", "name"), 0);
  ASSERT_EQ(vfield(v, "bid", "B", "b", "objid"), 0);
  ASSERT_EQ(vfield(v, "btitle", "B", "b", "title"), 0);
  ASSERT_EQ(typ_sch_define_join(v, "a", "b", "b", "as", "", 0), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  ASSERT_EQ(typ_sch_optimize_view(), 0);
  v = sch("V");
  EXPECT_FALSE(v->rels[0].flags & TYP_REL_DROPPED);
  EXPECT_EQ(static_cast<typ_sch_vinfo*>(v->fields[1].uptr)->src_schema, 1);
  EXPECT_EQ(static_cast<typ_sch_alias_blk*>(v->info->uptr)->copy, nullptr);
}

TEST_F(typ_views, ResolvedAndSpecialViewFields) {
  typ_sch_srec* v = nullptr;
  ASSERT_EQ(typ_sch_define_struct("V", 100, nullptr, nullptr, nullptr, &v), 0);
  long pos = -1;
  ASSERT_EQ(typ_sch_add_vfield(v, "t", 0, 2, nullptr, "", 1, nullptr, -1, 0, nullptr, &pos), 0);
  EXPECT_EQ(sch("V")->fields[0].data_type, 516);
  EXPECT_EQ(typ_sch_add_vfield(sch("V"), "x", 0, 2, nullptr, "", 7, nullptr, -1, 0, nullptr, &pos),
            TYP_BAD_SPEC_FIELD);
  EXPECT_EQ(core_top_alert_text(), "Specific field ID 7 of object schema B is invalid.\n");
  typ_sch_frec tmpl{};
  tmpl.data_type = 512;
  tmpl.flags = 4;
  tmpl.gen_id = -1;
  ASSERT_EQ(typ_sch_add_svfield(sch("V"), "cid", 3, &pos, "C", &tmpl), 0);
  auto* vi = static_cast<typ_sch_vinfo*>(sch("V")->fields[pos].uptr);
  EXPECT_EQ(vi->unresolved, 0);
  EXPECT_EQ(vi->src_type_id, 3);
  ASSERT_EQ(typ_sch_add_svfield(sch("V"), "zid", 3, &pos, "Z", &tmpl), 0);
  vi = static_cast<typ_sch_vinfo*>(sch("V")->fields[pos].uptr);
  EXPECT_EQ(vi->unresolved, 1);
  EXPECT_STREQ(vi->src_type_name, "Z");
  EXPECT_STREQ(vi->src_field_name, "objid");
  ASSERT_EQ(typ_sch_define_sql(sch("V"), "select 1 from dual"), 0);
  EXPECT_TRUE(sch("V")->flags & TYP_SCH_SQL_VIEW);
  const char *tn = nullptr, *al = nullptr;
  utl_ty_col* types = texts({"A"});
  utl_ty_col* aliases = texts({"x"});
  typ_sch_alias_convert(1, types, aliases, "x", &tn, &al);
  EXPECT_STREQ(tn, "A");
  EXPECT_STREQ(al, "x");
  typ_sch_alias_convert(1, types, aliases, "B", &tn, &al);
  EXPECT_STREQ(tn, "B");
  EXPECT_STREQ(al, "");
}

TEST_F(typ_views, FetchingGoesThroughTheAdapterForEveryView) {
  view("V1", 100);
  view("V2", 101);
  ASSERT_EQ(typ_sch_fetch_views_and_fld(nullptr), 0);
  auto joins = adp_double::calls_of("adp_sch_fetch_joins");
  ASSERT_EQ(joins.size(), 2u);
  EXPECT_EQ(joins[0].args[2], "1");
  EXPECT_EQ(joins[0].args[3], "1");
  EXPECT_EQ(adp_double::calls_of("adp_sch_fetch_org_view_fields").size(), 2u);
  schema_double_reset();
  adp_double::script("adp_sch_fetch_joins", {0x600001});
  EXPECT_EQ(typ_sch_fetch_all_views(nullptr), 0x600001);
  EXPECT_EQ(adp_double::calls_of("adp_sch_fetch_joins").size(), 1u);
  EXPECT_EQ(typ_sch_fetch_view_rel_info(nullptr, 1, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(adp_double::calls_of("adp_sch_get_view_rel").size(), 0u);
  EXPECT_EQ(typ_sch_fetch_view_rel_info(nullptr, 101, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(adp_double::calls_of("adp_sch_get_view_rel").size(), 1u);
}

}  // namespace

namespace {

TEST_F(typ_views, ViewsMarkedOptimizedAreSkippedAndRelationPointersFollowTheArray) {
  typ_sch_srec* v = view("V", 100);
  ASSERT_EQ(vfield(v, "aname", "A", "a", "name"), 0);
  ASSERT_EQ(vfield(v, "bid", "B", "b", "objid"), 0);
  ASSERT_EQ(typ_sch_define_join(v, "a", "b", "b", "as", "", 0), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  ASSERT_EQ(typ_sch_mark_views_optimized(), 0);
  EXPECT_TRUE(sch("V")->flags & TYP_SCH_VIEW_OPT);
  EXPECT_FALSE(sch("A")->flags & TYP_SCH_VIEW_OPT);
  ASSERT_EQ(typ_sch_optimize_view(), 0);
  EXPECT_FALSE(sch("V")->rels[0].flags & TYP_REL_DROPPED);
  sch("V")->rels[0].rel = nullptr;
  ASSERT_EQ(typ_sch_adjust_view_rel_ptr(), 0);
  EXPECT_EQ(sch("V")->rels[0].rel, &typ_sch_relations[0]);
  EXPECT_EQ(sch("A")->rels[0].rel, &typ_sch_relations[0]);  // object types are left alone
}

}  // namespace

namespace {

TEST_F(typ_views, PathsFromARootTypeFollowTheJoins) {
  typ_sch_srec* v = nullptr;
  ASSERT_EQ(typ_sch_define_struct("V", 100, nullptr, nullptr, nullptr, &v), 0);
  ASSERT_EQ(typ_sch_make_view_alias(v, texts({"A", "B", "C"}), texts({"a", "b", "c"})), 0);
  ASSERT_EQ(typ_sch_define_join(v, "a", "b", "b", "as", "", 0), 0);
  ASSERT_EQ(typ_sch_define_join(v, "b", "cs", "c", "b2", "", 0), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  v = sch("V");
  utl_ty_estr* path = nullptr;
  ASSERT_EQ(utl_estr_create("t", nullptr, 16, 16, &path), 0);
  struct row {
    long from;
    const char* alias;
    long root;
    long found;
    const char* path;
  };
  const row rows[] = {{3, "c", 1, 1, "b:cs"}, {1, "a", 3, 1, "b2:as"}, {2, "b", 1, 1, "b"},
                      {1, "a", 1, 1, ""},        {3, "x", 1, 0, ""}};
  for (const row& r : rows) {
    long found = -1;
    utl_estr_cpy(path, "");
    ASSERT_EQ(typ_sch_path_to_root(v, r.from, r.alias, r.root, nullptr, path, &found), 0);
    EXPECT_EQ(found, r.found) << r.from << "->" << r.root;
    EXPECT_STREQ(utl_estr_get(path), r.path) << r.from << "->" << r.root;
  }
  // A used join is not taken again.
  char used[2] = {1, 0};
  long found = -1;
  ASSERT_EQ(typ_sch_path_to_root(v, 3, "c", 1, used, path, &found), 0);
  EXPECT_EQ(found, 0);
  utl_estr_free("t", path);
}

}  // namespace
