// Relations: pairing both sides, checks, link-table names, renaming,
// deletion, optional relations and look-ups.
#include <cstring>
#include <string>

#include "adapter/adp_rel.h"
#include "adpdouble/adp_double.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema_fixture.h"

namespace {

class typ_relations : public schema_test {
 protected:
  void SetUp() override {
    schema_test::SetUp();
    object("X", 10);
    object("Y", 20);
  }
};

TEST_F(typ_relations, EveryTypePairsFromEitherSide) {
  struct row {
    long first_type;
    long second_type;
    char x_side;  // side of X, which defines "a"
  };
  // X defines "a" (first_type) and Y its inverse "b" (second_type).
  const row rows[] = {{1, 2, 'p'}, {2, 1, 'f'}, {3, 4, 'f'}, {4, 3, 'p'}, {5, 5, 'p'}};
  for (const row& r : rows) {
    for (bool x_first : {true, false}) {
      SetUp();
      long st1, st2;
      if (x_first) {
        st1 = rel("X", "a", r.first_type, "Y", "b");
        st2 = rel("Y", "b", r.second_type, "X", "a");
      } else {
        st1 = rel("Y", "b", r.second_type, "X", "a");
        st2 = rel("X", "a", r.first_type, "Y", "b");
      }
      const std::string what = std::to_string(r.first_type) + (x_first ? " X first" : " Y first");
      ASSERT_EQ(st1, 0) << what;
      ASSERT_EQ(st2, 0) << what;
      ASSERT_EQ(typ_sch_rel_check(), 0) << what;
      ASSERT_EQ(typ_sch_num_rels, 1) << what;
      const typ_sch_rrec& rec = typ_sch_relations[0];
      // For MTM the side defined first is primary.
      const char x_side = r.first_type == 5 ? (x_first ? 'p' : 'f') : r.x_side;
      EXPECT_EQ(sch("X")->rels[0].side, x_side) << what;
      EXPECT_EQ(sch("Y")->rels[0].side, x_side == 'p' ? 'f' : 'p') << what;
      EXPECT_STREQ(x_side == 'p' ? rec.pname : rec.fname, "a") << what;
      EXPECT_STREQ(x_side == 'p' ? rec.fname : rec.pname, "b") << what;
      EXPECT_EQ(rec.type, x_first ? r.first_type : r.second_type) << what;
      EXPECT_EQ(rec.pindex, x_side == 'p' ? 0 : 1) << what;
      ASSERT_EQ(typ_sch_optimize(), 0);
      EXPECT_EQ(typ_sch_relations[0].pschema, x_side == 'p' ? sch("X") : sch("Y")) << what;
      EXPECT_EQ(sch("X")->rels[0].rel, &typ_sch_relations[0]) << what;
      if (r.first_type == 5) {
        EXPECT_STREQ(typ_sch_relations[0].mtm_table, "mtm_X0_Y0") << what;
      }
      TearDown();
    }
  }
  SetUp();
}

TEST_F(typ_relations, MismatchesAndBadDefinitionsAreRefused) {
  struct row {
    long type_a;
    long type_b;
    long status;
    const char* text;
  };
  const row rows[] = {
      {1, 1, TYP_INV_MISMATCH, "Relation b of object type Y does not match its inverse relation.\n"},
      {4, 4, TYP_INV_MISMATCH, "Relation b of object type Y does not match its inverse relation.\n"},
      {5, 1, TYP_INV_MISMATCH, "Relation b of object type Y does not match its inverse relation.\n"},
      {6, 2, TYP_UNKNOWN_REL, "Relation 'a' is not a known relation for object type 'X'.\n"},
  };
  for (const row& r : rows) {
    SetUp();
    long st = rel("X", "a", r.type_a, "Y", "b");
    if (st == 0) st = rel("Y", "b", r.type_b, "X", "a");
    EXPECT_EQ(st, r.status) << r.type_a;
    EXPECT_EQ(core_top_alert_text(), r.text);
    TearDown();
  }
  SetUp();
  EXPECT_EQ(rel("X", "a", 1, "Y", "b", 3), TYP_BAD_GEN_REL_DEF);
  EXPECT_EQ(rel("X", "a", 1, "Y", "b", 2, 0x20000), 0);
  EXPECT_EQ(rel("X", "A", 1, "Y", "c", -1, 0x20000), TYP_REL_DUPLICATE);
  EXPECT_EQ(core_top_alert_text(), "Duplicate relation names ('A') in an object ('X').\n One may be a user_defined relation.\n");
  EXPECT_EQ(rel("X", "p", 1, "Y", "q"), TYP_REL_AFTER_USER);
  EXPECT_EQ(core_top_alert_text(), "Relation p of object type X should be ahead of user defined relations.\n");
  // The inverse's user-defined flag must agree.
  EXPECT_EQ(rel("Y", "b", 2, "X", "a"), TYP_REL_FLAG_MISMATCH);
}

TEST_F(typ_relations, CheckReportsEveryRelationWithoutInverse) {
  ASSERT_EQ(rel("X", "a", 1, "Y", "b"), 0);
  ASSERT_EQ(rel("X", "c", 1, "Y", "d"), 0);
  ASSERT_EQ(rel("Y", "b", 2, "X", "a"), 0);
  const long before = core_num_alerts();
  EXPECT_EQ(typ_sch_rel_check(), TYP_NO_INVERSE);
  EXPECT_EQ(core_num_alerts(), before + 1);
  EXPECT_EQ(core_top_alert_text(), "Relation c of object type X does not have an inverse relation.\n");
}

TEST_F(typ_relations, LinkTableNamesAndTheirLengthLimit) {
  typ_sch_srec* s = nullptr;
  typ_sch_define_obj("case", 0, nullptr, nullptr, &s);
  typ_sch_define_obj("contact", 45, nullptr, nullptr, &s);
  char* name = nullptr;
  ASSERT_EQ(typ_sch_define_mtm_table("contact", 45, 3, "case", 0, 12, &name), 0);
  EXPECT_STREQ(name, "mtm_case12_contact3");
  ASSERT_EQ(typ_sch_define_mtm_table("b", 5, 7, "a", 5, 2, &name), 0);
  EXPECT_STREQ(name, "mtm_a2_b7");
  // Defined as relations: spec ids 12 and 3 by explicit positions.
  for (int i = 0; i < 12; ++i) rel("case", ("r" + std::to_string(i)).c_str(), 1, "X", ("i" + std::to_string(i)).c_str());
  ASSERT_EQ(rel("case", "contacts", 5, "contact", "cases"), 0);
  for (int i = 0; i < 3; ++i) rel("contact", ("r" + std::to_string(i)).c_str(), 1, "X", ("k" + std::to_string(i)).c_str());
  ASSERT_EQ(rel("contact", "cases", 5, "case", "contacts"), 0);
  EXPECT_STREQ(typ_sch_relations[12].mtm_table, "mtm_case12_contact3");
  // Name lengths: 30 without a prefix, 34 with one.
  for (long prefix : {0L, 1L}) {
    SetUp();
    adp_double::set_require_prefix(prefix);
    const std::string a(prefix ? 13 : 11, 'a'), b(11, 'b');  // 11+11+8 = 30; 13+11+8+4 = 36
    typ_sch_define_obj(a.c_str(), 1, nullptr, nullptr, &s);
    typ_sch_define_obj(b.c_str(), 2, nullptr, nullptr, &s);
    ASSERT_EQ(rel(a.c_str(), "m", 5, b.c_str(), "n"), 0);
    const long st = rel(b.c_str(), "n", 5, a.c_str(), "m");
    if (prefix) {
      EXPECT_EQ(st, TYP_MTM_TOO_LONG);
      EXPECT_EQ(core_top_alert_text(), "MTM table name generated from names of object " + a + " and object " + b +
                                       " was too long.\n");
    } else {
      EXPECT_EQ(st, 0);
    }
    EXPECT_EQ(adp_double::calls_of("adp_sch_require_prefix").size(), 1u);
    TearDown();
  }
  SetUp();
}

TEST_F(typ_relations, ExplicitPositionsSortEntriesAndIndexRelationsListTheirPosition) {
  ASSERT_EQ(rel("X", "a", 1, "Y", "b"), 0);
  long pos = -1;
  ASSERT_EQ(typ_sch_define_a_rel(sch("X"), "z", 1 | TYP_REL_INDEX_MARK, "Y", -1, 0, &pos, "w", 0, nullptr, nullptr,
                                 "note", nullptr, 0, nullptr),
            0);
  EXPECT_EQ(pos, 0);
  typ_sch_srec* x = sch("X");
  ASSERT_EQ(x->info->nrelind, 1);
  EXPECT_EQ(reinterpret_cast<intptr_t>(x->info->relind[0]), 0);
  EXPECT_STREQ(typ_sch_entry_name(&x->rels[0]), "z");
  EXPECT_TRUE(x->rels[0].flags & TYP_REL_INDEX);
  EXPECT_STREQ(x->rels[0].comment, "note");
  ASSERT_EQ(rel("Y", "b", 2, "X", "a"), 0);
  ASSERT_EQ(rel("Y", "w", 2, "X", "z"), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  x = sch("X");
  EXPECT_EQ(x->info->relind[0], &x->rels[0]);
  // A second optimisation leaves the entry addresses alone.
  ASSERT_EQ(typ_sch_optimize(), 0);
  EXPECT_EQ(sch("X")->info->relind[0], &sch("X")->rels[0]);
  long count = 0;
  void** arr = nullptr;
  ASSERT_EQ(typ_sch_get_rel_indexes(10, &count, &arr), 0);
  EXPECT_EQ(count, 1);
}

TEST_F(typ_relations, RenameAndDelete) {
  ASSERT_EQ(rel("X", "a", 1, "Y", "b"), 0);
  ASSERT_EQ(rel("X", "c", 4, "Y", "d"), 0);
  ASSERT_EQ(rel("Y", "b", 2, "X", "a"), 0);
  ASSERT_EQ(rel("Y", "d", 3, "X", "c"), 0);
  typ_sch_srec* other = nullptr;
  ASSERT_EQ(typ_sch_rename_rel(sch("Y"), "b", "bb", &other), 0);
  EXPECT_EQ(other, sch("X"));
  EXPECT_STREQ(typ_sch_relations[0].fname, "bb");
  EXPECT_EQ(typ_sch_rename_rel(sch("Y"), "zz", "q", &other), TYP_NO_REL_RENAME);
  EXPECT_EQ(core_top_alert_text(), "The relation 'zz' to rename to 'q' does not exist for object type 'Y'.\n");
  EXPECT_EQ(typ_sch_delete_rel(sch("X"), "none", &other), 0);
  EXPECT_EQ(other, nullptr);
  ASSERT_EQ(typ_sch_delete_rel(sch("X"), "a", &other), 0);
  EXPECT_EQ(other, sch("Y"));
  EXPECT_EQ(typ_sch_relations[0].type, 0);
  ASSERT_EQ(sch("X")->nrels, 1);
  ASSERT_EQ(sch("Y")->nrels, 1);
  EXPECT_STREQ(typ_sch_entry_name(&sch("X")->rels[0]), "c");
  EXPECT_EQ(typ_sch_relations[1].pspec, 0);
  EXPECT_EQ(typ_sch_relations[1].fspec, 0);
}

TEST_F(typ_relations, LookUps) {
  ASSERT_EQ(rel("X", "a", 1, "Y", "b", 0), 0);
  ASSERT_EQ(rel("X", "m", 5, "Y", "n"), 0);
  ASSERT_EQ(rel("Y", "b", 2, "X", "a", 1), 0);
  ASSERT_EQ(rel("Y", "n", 5, "X", "m"), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  long ri = -1, pos = -1, prim = -1;
  typ_sch_rrec* r = nullptr;
  ASSERT_EQ(typ_sch_find_relation_index("Y", -1, "n", &ri, &r, &pos, &prim), 0);
  EXPECT_EQ(ri, 1);
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(prim, 0);
  EXPECT_EQ(typ_sch_find_relation_index(nullptr, 77, "n", &ri, &r, &pos, &prim), TYP_NO_TYPE);
  EXPECT_EQ(core_top_alert_text(), "Can't find type ID=-1, type name='77'.\n");
  EXPECT_EQ(typ_sch_find_relation_index("X", -1, "zz", &ri, &r, &pos, &prim), TYP_BAD_REL);
  long spec = -1, target = -1;
  ASSERT_EQ(typ_sch_rel_name_to_id(20, nullptr, "b", &spec, &target), 0);
  EXPECT_EQ(spec, 0);
  EXPECT_EQ(target, 10);
  EXPECT_EQ(typ_sch_rel_name_to_id(20, nullptr, "q", &spec, &target), TYP_UNKNOWN_REL);
  // Generic relation ids through the relation map.
  long index = -1;
  EXPECT_EQ(typ_sch_rel_map(sch("Y"), 0x1000001, &index), 0);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(typ_sch_rel_map(sch("Y"), 0x1000003, &index), TYP_BAD_GEN_REL);
  EXPECT_EQ(typ_sch_rel_map(sch("Y"), 0x1000002, &index), TYP_BAD_GEN_REL);
  EXPECT_EQ(typ_sch_rel_map(sch("Y"), 2, &index), TYP_BAD_SPEC_REL);
  const char* name = nullptr;
  long is_mtm = -1, to_one = -1, key = -1;
  ASSERT_EQ(typ_sch_get_rel_info(nullptr, 20, nullptr, 0, &name, &target, &is_mtm, &to_one, &key, &r), 0);
  EXPECT_STREQ(name, "b");
  EXPECT_EQ(target, 10);
  EXPECT_EQ(is_mtm, 0);
  EXPECT_EQ(to_one, 1);
  EXPECT_EQ(key, 1);
  ASSERT_EQ(typ_sch_get_rel_info(sch("X"), -1, nullptr, 1, &name, &target, &is_mtm, &to_one, &key, &r), 0);
  EXPECT_EQ(is_mtm, 1);
  EXPECT_EQ(to_one, 0);
  EXPECT_EQ(key, 0);
  EXPECT_STREQ(typ_sch_get_rel_name(10, nullptr, 1), "m");
  EXPECT_STREQ(typ_sch_get_rel_name(10, nullptr, 2), "INVALID RELATION (bad rel id)");
  EXPECT_STREQ(typ_sch_get_rel_name(11, nullptr, 0), "INVALID RELATION (type is invalid)");
  char* tname = nullptr;
  long inv = -1;
  ASSERT_EQ(typ_sch_get_related_type(10, nullptr, 0, &target, &tname, &inv), 0);
  EXPECT_STREQ(tname, "Y");
  EXPECT_EQ(inv, 0);
  utl_mem_free("t", tname);
  EXPECT_EQ(typ_sch_get_related(10, nullptr, 5, &name, &target, nullptr), TYP_BAD_SPEC_REL);
  EXPECT_STREQ(typ_sch_get_prel_name(&typ_sch_relations[0]), "a");
  EXPECT_STREQ(typ_sch_get_frel_name(nullptr), "");
  EXPECT_EQ(typ_sch_get_frel_id(nullptr), -1);
  EXPECT_EQ(typ_sch_get_schema_by_relind(1), sch("X"));
  EXPECT_TRUE(typ_sch_is_rel_mtm(&typ_sch_relations[1]));
  EXPECT_FALSE(typ_sch_is_rel_oto(&typ_sch_relations[1]));
  long n = 0;
  EXPECT_EQ(typ_sch_num_relsP(nullptr, &n), 1);
  EXPECT_EQ(typ_sch_num_relsP(sch("X"), &n), 0);
  EXPECT_EQ(n, 2);
}

TEST_F(typ_relations, OptionalRelationsQueueDefaultRelates) {
  ASSERT_EQ(rel("X", "a", 1, "Y", "b"), 0);
  ASSERT_EQ(rel("Y", "b", 2, "X", "a", -1, TYP_REL_REQUIRED), 0);
  long count = 0;
  typ_sch_opt_rel* regs = nullptr;
  ASSERT_EQ(typ_sch_get_optional_rels(&count, &regs), 0);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(regs[0].type_id, 20);
  EXPECT_EQ(regs[0].position, 0);
  obj_id def{};
  typ_sch_get_optional_objid(0x40000 | 20, &def);
  EXPECT_EQ(def.type, 20);
  EXPECT_EQ(def.num, -2);
  EXPECT_EQ(def.sub, 0);
  obj_id y{20, 77, 0};
  ASSERT_EQ(typ_sch_assert_optional_rel(&y, nullptr, 0), 0);
  ASSERT_EQ(adp_double::relates().size(), 1u);
  EXPECT_EQ(adp_double::relates()[0].b.num, -2);
  EXPECT_EQ(adp_double::relates()[0].relate, 1);
  EXPECT_EQ(adp_double::calls_of("adp_rel_add_to_batch")[0].args[2], "0/0/0");
  // Finding a queued change of the relation for an object.
  ASSERT_EQ(typ_sch_optimize(), 0);
  adp_rel_batch_item unrel{};
  unrel.primary = {10, 5, 0};
  unrel.foreign = {0x20000 | 20, 77, 0};  // only the low 17 bits of the type count
  unrel.rel = &typ_sch_relations[0];
  unrel.relate = 0;
  adp_rel_batch_item other{};
  other.primary = {10, 6, 0};
  other.foreign = {20, 78, 0};
  other.rel = &typ_sch_relations[0];
  other.relate = 1;
  adp_rel_batch_item* items[] = {&other, &unrel};
  long index = -5, is_unrel = -5;
  ASSERT_EQ(typ_sch_is_rel_in_batch(&y, 0, 2, items, &index, &is_unrel), 0);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(is_unrel, 1);
  obj_id z{20, 79, 0};
  ASSERT_EQ(typ_sch_is_rel_in_batch(&z, 0, 2, items, &index, &is_unrel), 0);
  EXPECT_EQ(index, -1);
}

}  // namespace

namespace {

TEST_F(typ_relations, FixingOptionalRelationsQueuesDefaultsAndReplacesUnrelates) {
  ASSERT_EQ(rel("X", "a", 1, "Y", "b"), 0);
  ASSERT_EQ(rel("Y", "b", 2, "X", "a", -1, TYP_REL_REQUIRED), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  utl_ty_col* objects = nullptr;
  utl_ty_col* batch = nullptr;
  ASSERT_EQ(utl_col_make("t", 517, 4, 4, 0, 0, &objects), 0);
  ASSERT_EQ(utl_col_make("t", 517, 4, 4, 0, 0, &batch), 0);
  adp_obj_batch_item created{nullptr, {20, 1, 0}, 20, 1, 0, 0};
  adp_obj_batch_item updated{nullptr, {20, 2, 0}, 20, 0, 0, 0};
  adp_obj_batch_item unrelated{nullptr, {20, 3, 0}, 20, 0, 0, 0};
  adp_obj_batch_item other_type{nullptr, {10, 4, 0}, 10, 1, 0, 0};
  for (adp_obj_batch_item* o : {&created, &updated, &unrelated, &other_type}) utl_col_push(objects, &o, nullptr);
  adp_rel_batch_item unrel{};
  unrel.primary = {10, 9, 0};
  unrel.foreign = {20, 3, 0};
  unrel.rel = &typ_sch_relations[0];
  unrel.relate = 0;
  adp_rel_batch_item* p = &unrel;
  utl_col_push(batch, &p, nullptr);
  ASSERT_EQ(typ_sch_fix_optional_rels(objects, batch), 0);
  long n = -1;
  utl_col_num(batch, &n);
  EXPECT_EQ(n, 0);  // the unrelate is gone
  const auto& q = adp_double::relates();
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(q[0].a.num, 1);
  EXPECT_EQ(q[1].a.num, 3);
  EXPECT_EQ(q[1].b.num, -2);
  EXPECT_EQ(typ_sch_fix_optional_rels(nullptr, batch), 0);
  utl_col_free("t", objects);
  utl_col_free("t", batch);
}

}  // namespace

namespace {

TEST_F(typ_relations, SecondSidesThatDoNotFitTheWaitingSide) {
  object("W", 30);
  // Y names W as the target of "b", while the waiting "a" was defined by X.
  ASSERT_EQ(rel("X", "a", 1, "Y", "b"), 0);
  EXPECT_EQ(rel("Y", "b", 2, "W", "a"), TYP_NO_INVERSE);
  EXPECT_EQ(core_top_alert_text(), "Relation b of object type Y does not have an inverse relation.\n");
  // The target type is unknown: the waiting side came from a type that has gone.
  ASSERT_EQ(rel("W", "c", 1, "Y", "d"), 0);
  typ_sch_schemas[2].info->name[0] = 'V';  // "W" renamed behind the model's back
  EXPECT_EQ(rel("Y", "d", 2, "W", "c"), TYP_NO_INVERSE);
}

TEST_F(typ_relations, FailedAllocationsWhileDefiningRelationsLeaveAUsableModel) {
  long failures = 0;
  for (int attempt = 0; attempt < 10; ++attempt) {
    const std::string a = "a" + std::to_string(attempt), b = "b" + std::to_string(attempt);
    osl_mem_reset_fail_num();
    long st = rel("X", a.c_str(), 1, "Y", b.c_str());
    if (!st) st = rel("Y", b.c_str(), 2, "X", a.c_str());
    osl_mem_disable_fail_mode();
    if (st) ++failures;
  }
  EXPECT_GT(failures, 0);
  cmn_alrt_clear(nullptr);
  ASSERT_EQ(rel("X", "last", 1, "Y", "lastinv"), 0);
  ASSERT_EQ(rel("Y", "lastinv", 2, "X", "last"), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  long spec = -1, target = -1;
  ASSERT_EQ(typ_sch_rel_name_to_id(10, nullptr, "last", &spec, &target), 0);
  EXPECT_EQ(target, 20);
  const typ_sch_rel_inst& e = sch("X")->rels[spec];
  EXPECT_EQ(e.rel->pschema, sch("X"));
  EXPECT_EQ(e.rel->fschema, sch("Y"));
}

}  // namespace

namespace {

TEST_F(typ_relations, RelationsAddedAfterOptimisationFindTheMovedRecords) {
  ASSERT_EQ(rel("X", "a", 1, "Y", "b"), 0);
  ASSERT_EQ(rel("Y", "b", 2, "X", "a"), 0);
  ASSERT_EQ(typ_sch_optimize(), 0);
  typ_sch_modify(sch("X"));
  typ_sch_modify(sch("Y"));
  // Past the relation collection's first 400 records the array moves.
  for (int i = 0; i < 420; ++i) {
    const std::string n = "n" + std::to_string(i), m = "m" + std::to_string(i);
    ASSERT_EQ(rel("X", n.c_str(), 1, "Y", m.c_str()), 0) << i;
    ASSERT_EQ(rel("Y", m.c_str(), 2, "X", n.c_str()), 0) << i;
  }
  EXPECT_EQ(rel("X", "A", 1, "Y", "zz"), TYP_REL_DUPLICATE);
  EXPECT_STREQ(typ_sch_get_rel_name(10, nullptr, 0), "a");
  ASSERT_EQ(typ_sch_optimize(), 0);
  EXPECT_EQ(sch("X")->rels[0].rel, &typ_sch_relations[0]);
}

}  // namespace
