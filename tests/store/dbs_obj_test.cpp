// Local objects: initial values, reference counts, the debug list, ids,
// name checks, ordering, moving, copying and comparing, and the creates.
#include <cstring>
#include <string>
#include <vector>

#include "core/clk/clk_time.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_main.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_fld.h"
#include "schema/typ_sch.h"
#include "store/dbs_fld.h"
#include "store/dbs_msg.h"
#include "store/dbs_obj.h"
#include "store_fixture.h"

namespace {

class objects : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    small_dictionary();
    load_model();
  }
  static std::string text(dbs_ty_lobj* o, long id) {
    long w = 0;
    EXPECT_EQ(dbs_fld_get(o, id, &w, nullptr), 0);
    return reinterpret_cast<const char*>(w);
  }
  static void set_text(dbs_ty_lobj* o, long id, const char* t) { ASSERT_EQ(dbs_fld_set(o, id, &t), 0); }
  static void set_long(dbs_ty_lobj* o, long id, long v) { ASSERT_EQ(dbs_fld_set_local(o, id, &v, 1), 0); }
};

}  // namespace

TEST_F(objects, InitialValuesByType) {
  dbs_ty_lobj* o = make(17);
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(text(o, 1), "untitled");  // default text
  EXPECT_EQ(text(o, 2), "");          // no default: the shared empty text
  long w = 0, type = 0;
  dbs_fld_get(o, 3, &w, &type);
  EXPECT_EQ(w, 7);  // long default converted
  EXPECT_EQ(type, 512);
  dbs_fld_get(o, 4, &w, &type);
  const auto* d = reinterpret_cast<const cmn_ty_decimal*>(w);
  EXPECT_STREQ(d->text, "0.0");
  EXPECT_EQ(d->precision, 2);
  EXPECT_EQ(d->scale, 1);
  dbs_fld_get(o, 5, &w, &type);
  const auto* c = reinterpret_cast<const clktime*>(w);
  EXPECT_EQ(c->day, -53690);
  EXPECT_EQ(c->ticks, 0);
  char dirty = 1;
  dbs_obj_check_dirty(o, &dirty);
  EXPECT_EQ(dirty, 0);
  EXPECT_EQ(dbs_obj_is_temp(o), 1);
  long ref = 0;
  dbs_obj_get_ref(o, &ref);
  EXPECT_EQ(ref, 1);
  EXPECT_EQ(dbs_obj_free_local("test", o), 0);
}

TEST_F(objects, ReferenceCounts) {
  long before = dbs_obj_num_created();
  dbs_ty_lobj* o = make(17);
  EXPECT_EQ(dbs_obj_num_created(), before + 1);
  dbs_obj_incr_ref(o);
  dbs_obj_set_ref(o, 0);  // ignored
  long ref = 0;
  dbs_obj_get_ref(o, &ref);
  EXPECT_EQ(ref, 2);
  EXPECT_EQ(dbs_obj_free_local("test", o), 0);
  dbs_obj_get_ref(o, &ref);
  EXPECT_EQ(ref, 1);
  set_text(o, 1, "still usable");
  EXPECT_EQ(text(o, 1), "still usable");
  EXPECT_EQ(dbs_obj_free_local("test", o), 0);
  EXPECT_EQ(dbs_obj_num_created(), before);
  EXPECT_EQ(dbs_obj_free_local("test", nullptr), 0);
}

TEST_F(objects, DebugListRefusesObjectsNotOnIt) {
  dbs_ty_lobj* outside = make(17);  // made while debug mode is off
  cmn_main_set_debug_mode(1);
  dbs_ty_lobj* listed = make(17);
  EXPECT_EQ(dbs_obj_chk_lobj(listed), 0);
  std::string out = store_stdout_of([&] { EXPECT_EQ(dbs_obj_chk_lobj(outside), DBS_BAD_LOBJ); });
  EXPECT_NE(out.find("INVALID LOCAL OBJECT!"), std::string::npos);
  long ref = 0;
  store_stdout_of([&] { EXPECT_EQ(dbs_obj_get_ref(outside, &ref), DBS_BAD_LOBJ); });
  std::string dump = store_stdout_of([] { dbs_obj_dump_all(nullptr, 0); });
  EXPECT_NE(dump.find("a case, 'dbs_obj_make'"), std::string::npos);
  EXPECT_EQ(dbs_obj_free_local("test", listed), 0);
  cmn_main_set_debug_mode(0);
  EXPECT_EQ(dbs_obj_free_local("test", outside), 0);
}

TEST_F(objects, NameCheckByServerType) {
  struct row {
    long server;
    const char* name;
    bool ok;
  } rows[] = {
      {0, "a", true},          {0, "", false},
      {0, "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", true},
      {0, "abc def", false},   {0, "a#$&*-@!^_9", true},
      {0, "1abc", true},       {2, "1abc", false},
      {0x100, "_abc", false},  {1, "_abc", false},
      {1, "#abc", false},      {1, "1abc", true},
  };
  std::string long_name(31, 'a');
  for (const row& r : rows) {
    adp_store::st().server_type = r.server;
    EXPECT_EQ(dbs_obj_chk_name(r.name), r.ok ? 0 : DBS_BAD_NAME) << r.server << " " << r.name;
  }
  adp_store::st().server_type = 0;
  EXPECT_EQ(dbs_obj_chk_name(long_name.c_str()), DBS_BAD_NAME);
  EXPECT_EQ(core_top_alert_code(), DBS_BAD_NAME);
}

TEST_F(objects, IdsOfObjectsAndSubObjects) {
  dbs_ty_lobj* o = make(17);
  set_long(o, TYP_GENERIC | 3, 42);
  obj_id id{};
  ASSERT_EQ(dbs_obj_oid_get(o, &id), 0);
  EXPECT_EQ(id.type, 17);
  EXPECT_EQ(id.num, 42);
  EXPECT_EQ(id.sub, 0);
  dbs_obj_free_local("test", o);

  // A sub-object's id is built from its fields 2, 1 and 0.
  typ_sch_srec* sub = nullptr;
  ASSERT_EQ(typ_sch_define_subobj("part", 300, "", "", &sub), 0);
  long pos = 0;
  for (const char* f : {"subnum", "parent_num", "parent_type"})
    ASSERT_EQ(typ_sch_fadd(sub, f, 512, 0, -1, -1, 0x11, 0, -1, -1, 0, 0, nullptr, "", &pos), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  dbs_ty_lobj* p = make(300);
  set_long(p, 0, 5);
  set_long(p, 1, 77);
  set_long(p, 2, 0x20011);
  ASSERT_EQ(dbs_obj_oid_get(p, &id), 0);
  EXPECT_EQ(id.type, 0x11);
  EXPECT_EQ(id.num, 77);
  EXPECT_EQ(id.sub, 5);
  dbs_obj_free_local("test", p);
}

TEST_F(objects, OrderById) {
  utl_ty_col* ids = nullptr;
  utl_ty_col* objs = nullptr;
  ASSERT_EQ(utl_col_make("t", 594, 4, 4, 0, 0, &ids), 0);
  ASSERT_EQ(utl_col_make("t", 517, 4, 4, 0, 0, &objs), 0);
  for (long n : {10L, 20L, 30L, 40L}) {
    obj_id id{17, n, 0};
    utl_col_push(ids, &id, nullptr);
  }
  // Objects 30, 10, 99 (surplus): 20 is missing.
  for (long n : {30L, 10L, 99L}) {
    dbs_ty_lobj* o = make(17);
    set_long(o, TYP_GENERIC | 3, n);
    utl_col_push(objs, &o, nullptr);
  }
  ASSERT_EQ(dbs_obj_order_by_id(ids, 0, 2, objs), 0);
  long n = 0;
  utl_col_num(objs, &n);
  ASSERT_EQ(n, 3);
  long want[] = {10, -1, 30};
  for (long i = 0; i < 3; ++i) {
    void* e = nullptr;
    utl_col_ith(objs, i, &e);
    auto* o = *static_cast<dbs_ty_lobj**>(e);
    if (want[i] < 0) {
      EXPECT_EQ(o, nullptr);
    } else {
      long w = 0;
      dbs_fld_get(o, TYP_GENERIC | 3, &w, nullptr);
      EXPECT_EQ(w, want[i]);
    }
  }
  dbs_obj_free_local_col(nullptr, objs);
  utl_col_free("t", ids);
}

TEST_F(objects, MoveLeavesAHeldSourceEmpty) {
  dbs_ty_lobj* src = make(17);
  dbs_ty_lobj* dst = make(17);
  set_text(src, 1, "moved text");
  dbs_obj_incr_ref(src);  // held elsewhere too
  ASSERT_EQ(dbs_obj_move(dst, src), 0);
  EXPECT_EQ(text(dst, 1), "moved text");
  long ref = 0;
  ASSERT_EQ(dbs_obj_get_ref(src, &ref), 0);
  EXPECT_EQ(ref, 1);
  EXPECT_EQ(text(src, 1), "untitled");  // left empty, still valid
  dbs_obj_free_local("test", src);
  dbs_obj_free_local("test", dst);
}

TEST_F(objects, CopyAndCompare) {
  dbs_ty_lobj* a = make(17);
  set_long(a, TYP_GENERIC | 3, 5);
  set_text(a, 1, "copy me");
  dbs_obj_set_flag(a, DBS_OBJ_PERM, 1);
  dbs_ty_lobj* b = nullptr;
  ASSERT_EQ(dbs_obj_copy(a, &b), 0);
  EXPECT_EQ(text(b, 1), "copy me");
  EXPECT_EQ(dbs_obj_is_temp(b), 0);
  char same = 0;
  ASSERT_EQ(dbs_obj_compare_objs(a, b, 0, &same), 0);
  EXPECT_EQ(same, 1);
  // The change stamp (generic 46) and "dev" are never compared.
  clktime later{5, 5};
  clktime* p = &later;
  ASSERT_EQ(dbs_fld_set(b, 5, &p), 0);
  set_long(b, 6, 99);
  ASSERT_EQ(dbs_obj_compare_objs(a, b, 0, &same), 0);
  EXPECT_EQ(same, 1);
  set_text(b, 1, "other");
  ASSERT_EQ(dbs_obj_compare_objs(a, b, 0, &same), 0);
  EXPECT_EQ(same, 0);
  // With option 1 only fields dirty in both count.
  dbs_obj_mark_dirty(a, 0);
  ASSERT_EQ(dbs_obj_compare_objs(a, b, 1, &same), 0);
  EXPECT_EQ(same, 1);
  // Different types: not the same; copy_no_make refuses with 1.
  dbs_ty_lobj* s = make(18);
  ASSERT_EQ(dbs_obj_compare_objs(a, s, 0, &same), 0);
  EXPECT_EQ(same, 0);
  std::string out = store_stdout_of([&] { EXPECT_EQ(dbs_obj_copy_no_make(a, s), 1); });
  EXPECT_NE(out.find("From-object type 17 and to-object type 18 are not the same."), std::string::npos);
  for (dbs_ty_lobj* o : {a, b, s}) dbs_obj_free_local("test", o);
}

TEST_F(objects, CreateTakesAnIdAndRollsBackAFailedInsert) {
  adp_store::st().stored.db_rev = 15;
  dbs_ty_lobj* o = make(17);
  obj_id id{};
  ASSERT_EQ(dbs_obj_create(con(), o, &id), 0);
  EXPECT_EQ(id.type, 17);
  EXPECT_GT(id.num, 0);
  EXPECT_EQ(dbs_obj_is_temp(o), 0);
  EXPECT_EQ(adp_store::st().trn_level, 0);

  adp_double::script("adp_obj_create", {0x600029});
  dbs_ty_lobj* f = make(17);
  EXPECT_EQ(dbs_obj_create(con(), f, &id), 0x600029);
  EXPECT_EQ(adp_store::st().trn_level, 0);
  EXPECT_EQ(adp_double::calls_of("adp_trn_rollback").size(), 1u);

  adp_double::script("adp_obj_create", {0x600029});
  obj_id given{17, 500, 0};
  EXPECT_EQ(dbs_obj_create_with_id(con(), &given, f, 1), 0x600029);
  EXPECT_EQ(adp_store::st().trn_level, 0);
  EXPECT_EQ(adp_double::calls_of("adp_trn_rollback").size(), 2u);
  dbs_obj_free_local("test", o);
  dbs_obj_free_local("test", f);
}

TEST_F(objects, GetColMakesAnObjectPerIdAndFreeRemoteDeletes) {
  utl_ty_col* ids = nullptr;
  utl_ty_col* objs = nullptr;
  ASSERT_EQ(utl_col_make("t", 594, 4, 4, 0, 0, &ids), 0);
  ASSERT_EQ(utl_col_make("t", 517, 4, 4, 0, 0, &objs), 0);
  EXPECT_EQ(dbs_obj_get_col(con(), ids, 0, objs), 0);
  EXPECT_TRUE(adp_double::calls_of("adp_obj_get_col").empty());
  for (long n : {3L, 4L, 5L}) {
    obj_id id{18, n, 0};
    utl_col_push(ids, &id, nullptr);
  }
  ASSERT_EQ(dbs_obj_get_col(con(), ids, 1, objs), 0);
  auto calls = adp_double::calls_of("adp_obj_get_col");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"18", "3", "1", "3", "0"}));
  ASSERT_EQ(dbs_obj_get_col_special(con(), 18, ids, 0, objs), 0);
  EXPECT_EQ(adp_double::calls_of("adp_obj_get_col")[1].args[4], "1");
  long n = 0;
  utl_col_num(objs, &n);
  EXPECT_EQ(n, 3);
  ASSERT_EQ(dbs_obj_free_remote_col(con(), nullptr, objs), 0);
  EXPECT_EQ(adp_double::calls_of("adp_obj_delete").size(), 3u);
  utl_col_free("t", ids);
}

TEST_F(objects, DumpAndPrint) {
  dbs_ty_lobj* o = make(17);
  const char* t = "hello";
  ASSERT_EQ(dbs_fld_set(o, 1, &t), 0);
  utl_ty_estr* e = nullptr;
  ASSERT_EQ(dbs_obj_dump_estr(o, 0, 2, &e), 0);
  std::string dump = utl_estr_get(e);
  utl_estr_free("t", e);
  EXPECT_EQ(dump.rfind("  case object:\n", 0), 0u);
  EXPECT_NE(dump.find("    title 'hello'\n"), std::string::npos) << dump;
  std::string printed = store_stdout_of([&] { dbs_obj_print(o, 1, nullptr); });
  EXPECT_NE(printed.find(" title (DIRTY)"), std::string::npos);
  EXPECT_NE(printed.find(" notes (CLEAN)"), std::string::npos);
  dbs_obj_free_local("test", o);
}

TEST_F(objects, ResetClearAndNewAgain) {
  dbs_ty_lobj* o = make(17);
  set_long(o, TYP_GENERIC | 3, 8);
  set_text(o, 1, "changed");
  cmn_ty_decimal d{};
  std::strcpy(d.text, "5.50");
  d.precision = 3;
  d.scale = 2;
  cmn_ty_decimal* dp = &d;
  ASSERT_EQ(dbs_fld_set(o, 4, &dp), 0);
  ASSERT_EQ(dbs_obj_reset_fields(o, 1), 0);
  EXPECT_EQ(text(o, 1), "untitled");
  EXPECT_STREQ(static_cast<cmn_ty_decimal*>(o->slots[4].p)->text, "5.50");  // kept
  char dirty = 1;
  dbs_obj_check_dirty(o, &dirty);
  EXPECT_EQ(dirty, 0);
  ASSERT_EQ(dbs_obj_reset_fields(o, 0), 0);
  EXPECT_STREQ(static_cast<cmn_ty_decimal*>(o->slots[4].p)->text, "0.0");

  set_long(o, TYP_GENERIC | 3, 8);
  dbs_obj_make_perm(o, 1);
  EXPECT_EQ(dbs_obj_is_temp(o), 0);
  ASSERT_EQ(dbs_obj_change_to_new(o), 0);
  EXPECT_EQ(dbs_obj_is_temp(o), 1);
  long w = 1;
  dbs_fld_get(o, TYP_GENERIC | 3, &w, nullptr);
  EXPECT_EQ(w, 0);

  void* u = &w;
  dbs_obj_uptr_set(o, u);
  o->flags = 6;
  ASSERT_EQ(dbs_obj_clear(o), 0);
  void* got = &w;
  dbs_obj_uptr_get(o, &got);
  EXPECT_EQ(got, nullptr);
  EXPECT_EQ(o->flags, 0);
  EXPECT_EQ(text(o, 1), "untitled");
  dbs_obj_free_local("test", o);
}

TEST_F(objects, AListedObjectFreedAfterDebugModeLeavesTheList) {
  cmn_main_set_debug_mode(1);
  dbs_ty_lobj* listed = make(17);
  cmn_main_set_debug_mode(0);
  EXPECT_EQ(dbs_obj_free_local("test", listed), 0);
  cmn_main_set_debug_mode(1);
  std::string dump = store_stdout_of([] { dbs_obj_dump_all(nullptr, 0); });
  EXPECT_EQ(dump.find("a case"), std::string::npos);
  cmn_main_set_debug_mode(0);
}
