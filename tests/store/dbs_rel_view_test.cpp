// Field values copied between a view object and its base objects.
#include <string>
#include <vector>

#include "adapter/adp_sch_load.h"
#include "schema/typ_rec.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"
#include "store_fixture.h"

namespace {

std::string text_of(dbs_ty_lobj* o, long field) {
  long v = 0;
  dbs_fld_get(o, field, &v, nullptr);
  return v ? reinterpret_cast<const char*>(v) : "";
}

void set_text(dbs_ty_lobj* o, long field, const char* text) { ASSERT_EQ(dbs_fld_set(o, field, &text), 0); }

}  // namespace

TEST_F(store_test, ViewCopyBothWaysWithEveryObject) {
  small_dictionary();
  auto& st = adp_store::st();
  st.types.push_back({20, 2, "caseview"});
  st.fields.push_back({"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 20, ""});
  st.fields.push_back({"vtitle", 516, 3, 25, -1, -1, 0x1, -1, 1, 20, ""});
  st.fields.push_back({"vname", 516, 3, 30, -1, -1, 0x1, -1, 2, 20, ""});
  load_model();
  typ_sch_srec *view = nullptr, *cs = nullptr, *ss = nullptr;
  ASSERT_EQ(adp_sch_shandle_find(20, &view), 0);
  ASSERT_EQ(adp_sch_shandle_find(17, &cs), 0);
  ASSERT_EQ(adp_sch_shandle_find(18, &ss), 0);
  dbs_ty_lobj* plain = make(17);
  dbs_ty_lobj* v = make(20);
  EXPECT_EQ(dbs_obj_obj_to_view(nullptr, plain, plain), 0x70008b);
  view->flags |= TYP_SCH_VIEW;
  adp_double::hook("adp_sch_view_field_info", [&](const std::vector<void*>& a) {
    long spec = view->fields[*static_cast<long*>(a[0])].spec_id;
    if (spec == 1) {
      *static_cast<typ_sch_srec**>(a[1]) = cs;
      *static_cast<long*>(a[2]) = 1;  // title
      *static_cast<const char**>(a[3]) = "c";
    } else if (spec == 2) {
      *static_cast<typ_sch_srec**>(a[1]) = ss;
      *static_cast<long*>(a[2]) = 1;  // name
      *static_cast<const char**>(a[3]) = "s";
    }
    return 0L;
  });
  // One object into the view; the joins are fetched while not cached.
  set_text(plain, 1, "broken printer");
  ASSERT_EQ(dbs_obj_obj_to_view(nullptr, plain, v), 0);
  EXPECT_EQ(text_of(v, 1), "broken printer");
  EXPECT_EQ(text_of(v, 2), "");
  EXPECT_EQ(adp_double::calls_of("adp_sch_fetch_joins").size(), 1u);
  EXPECT_EQ(adp_double::calls_of("adp_sch_fetch_org_view_fields").size(), 1u);

  // Back to 150 objects: every one is used; cached joins are not fetched.
  int cached = 1;
  view->info->uptr = &cached;
  set_text(v, 1, "from view");
  set_text(v, 2, "north");
  std::vector<dbs_ty_lobj*> objs;
  for (int i = 0; i < 149; ++i) objs.push_back(make(17));
  objs.push_back(make(18));
  std::vector<long> rel_ids(objs.size(), -1);
  rel_ids[10] = 5;  // joined by a relation the view does not have: left alone
  adp_double::reset();
  adp_double::hook("adp_sch_view_field_info", [&](const std::vector<void*>& a) {
    long spec = view->fields[*static_cast<long*>(a[0])].spec_id;
    if (spec == 1 || spec == 2) {
      *static_cast<typ_sch_srec**>(a[1]) = spec == 1 ? cs : ss;
      *static_cast<long*>(a[2]) = 1;
      *static_cast<const char**>(a[3]) = spec == 1 ? "c" : "s";
    }
    return 0L;
  });
  ASSERT_EQ(dbs_obj_obj_to_or_from_view(nullptr, objs.data(), static_cast<long>(objs.size()), v, 0, rel_ids.data()),
            0);
  EXPECT_TRUE(adp_double::calls_of("adp_sch_fetch_joins").empty());
  EXPECT_EQ(text_of(objs[0], 1), "from view");
  EXPECT_EQ(text_of(objs[120], 1), "from view");
  EXPECT_EQ(text_of(objs[148], 1), "from view");
  EXPECT_EQ(text_of(objs[10], 1), "untitled");
  EXPECT_EQ(text_of(objs[149], 1), "north");
  view->info->uptr = nullptr;
  for (auto* o : objs) dbs_obj_free_local("test", o);
  dbs_obj_free_local("test", plain);
  dbs_obj_free_local("test", v);
}

TEST_F(store_test, ViewCopyWithRelationIdsUsesObjectsTheViewJoinsThatWay) {
  small_dictionary();
  auto& st = adp_store::st();
  st.types.push_back({20, 2, "caseview"});
  st.fields.push_back({"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 20, ""});
  st.fields.push_back({"vtitle", 516, 3, 25, -1, -1, 0x1, -1, 1, 20, ""});
  load_model();
  typ_sch_srec *view = nullptr, *cs = nullptr;
  ASSERT_EQ(adp_sch_shandle_find(20, &view), 0);
  ASSERT_EQ(adp_sch_shandle_find(17, &cs), 0);
  view->flags |= TYP_SCH_VIEW;
  int cached = 1;
  view->info->uptr = &cached;
  adp_double::hook("adp_sch_view_field_info", [&](const std::vector<void*>& a) {
    if (view->fields[*static_cast<long*>(a[0])].spec_id == 1) {
      *static_cast<typ_sch_srec**>(a[1]) = cs;
      *static_cast<long*>(a[2]) = 1;  // title
      *static_cast<const char**>(a[3]) = "c";
    }
    return 0L;
  });
  // The view's joins: "c" on the primary side of a relation whose foreign
  // side is id 7; "c" on the foreign side of one whose primary side is id 8;
  // "s" on the primary side of one whose foreign side is id 9.
  typ_sch_rrec by_fk{}, by_pk{}, other{};
  by_fk.pspec = 3;
  by_fk.fspec = 7;
  by_pk.pspec = 8;
  by_pk.fspec = 4;
  other.pspec = 5;
  other.fspec = 9;
  char c[] = "c", s[] = "s";
  typ_sch_join_blk j1{c, s, nullptr}, j2{s, c, nullptr}, j3{s, c, nullptr};
  typ_sch_rel_inst joins[3] = {};
  joins[0].rel = &by_fk;
  joins[0].join = &j1;
  joins[1].rel = &by_pk;
  joins[1].join = &j2;
  joins[2].rel = &other;
  joins[2].join = &j3;
  const long saved_n = view->nrels;
  typ_sch_rel_inst* saved = view->rels;
  view->nrels = 3;
  view->rels = joins;

  dbs_ty_lobj* v = make(20);
  set_text(v, 1, "from view");
  struct row {
    long rel_id;
    bool used;
  } rows[] = {{7, true}, {8, true}, {9, false}, {3, false}, {-1, true}, {-2, true}};
  std::vector<dbs_ty_lobj*> objs;
  std::vector<long> rel_ids;
  for (const row& r : rows) {
    objs.push_back(make(17));
    rel_ids.push_back(r.rel_id);
  }
  EXPECT_EQ(dbs_obj_obj_to_or_from_view(nullptr, objs.data(), static_cast<long>(objs.size()), v, 0, rel_ids.data()),
            0);
  view->nrels = saved_n;
  view->rels = saved;
  view->info->uptr = nullptr;
  for (size_t i = 0; i < objs.size(); ++i) {
    EXPECT_EQ(text_of(objs[i], 1), rows[i].used ? "from view" : "untitled") << rows[i].rel_id;
    dbs_obj_free_local("test", objs[i]);
  }
  dbs_obj_free_local("test", v);
}
