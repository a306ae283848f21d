// Relation maps: installation order, generic to specific, relating in the
// database and in a state, relatives and their ids.
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/oab/oab_main.h"
#include "client/oab/oab_msg.h"
#include "client/oab/oab_rel.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store/dbs_rel.h"

namespace {

constexpr long GEN_ANY = -102;      // contact: account (0), tag (1), scratch (0)
constexpr long GEN_CONTACTS = -101;  // account: contact (0)
constexpr long GEN_ACCOUNT = -100;   // contact: account (0)

class oab_rel_test : public client_test {
 protected:
  void SetUp() override {
    client_test::SetUp();
    oab_db_con_id = con();
    ASSERT_EQ(oab_rel_init(), 0);
    static bool installed = false;
    if (installed) return;
    installed = true;
    const long rows[][4] = {{CONTACT, GEN_ANY, ACCOUNT, CONTACT2ACCOUNT},
                            {CONTACT, GEN_ANY, TAG, CONTACT2TAG},
                            {CONTACT, GEN_ANY, SCRATCH, CONTACT2ACCOUNT},
                            {ACCOUNT, GEN_CONTACTS, CONTACT, ACCOUNT2CONTACT},
                            {CONTACT, GEN_ACCOUNT, ACCOUNT, CONTACT2ACCOUNT}};
    ASSERT_EQ(oab_rel_install_mapping_mult(rows, 5), 0);
  }
  static long top_code() {
    long code = 0;
    const char* text = nullptr;
    cmn_alrt_top(nullptr, &code, &text);
    return code;
  }
  static std::vector<long> numbers_in(utl_ty_col* col) {
    std::vector<long> out;
    for (long i = 0; col != nullptr && i < col->count; ++i) {
      void* e = nullptr;
      utl_col_ith(col, i, &e);
      out.push_back(number_of(*static_cast<dbs_ty_lobj**>(e)));
    }
    return out;
  }
};

TEST_F(oab_rel_test, InstallationKeepsTheFirstOfEqualGenericIdsInFront) {
  const long rows[][4] = {{5, -3, 7, 1}, {5, -3, 8, 2}, {5, -3, 9, 3}};
  ASSERT_EQ(oab_rel_install_mapping_mult(rows, 3), 0);
  long count = 0;
  oab_rel_node* first = nullptr;
  ASSERT_EQ(oab_rel_map_gen_all(5, -3, &count, &first), 0);
  ASSERT_EQ(count, 3);
  std::vector<long> targets;
  for (oab_rel_node* n = first; n != nullptr && n->gen_id == -3; n = n->next) targets.push_back(n->target_type);
  EXPECT_EQ(targets, (std::vector<long>{7, 9, 8}));
  long previous = OAB_REL_GEN_MIN - 1;
  for (oab_rel_node* n = oab_rel_find_map_by_objtype(5); n != nullptr; n = n->next) {
    EXPECT_LE(previous, n->gen_id);  // ascending generic ids
    previous = n->gen_id;
  }
}

TEST_F(oab_rel_test, GenericIdsAndTypesAreChecked) {
  long sp = 0;
  const struct {
    long type;
    long gen;
    long target;
    long expected;
  } rows[] = {{0, -103, 5, OAB_BAD_GEN_REL}, {0, 1, 5, OAB_BAD_GEN_REL},  {0, -89, 6, OAB_NO_SPEC_REL2},
              {0, -89, 5, 0},                {0, -89, 127, 0},            {99999999, -89, 5, OAB_BAD_TYPE}};
  for (const auto& r : rows) {
    EXPECT_EQ(oab_rel_map_gen_to_sp(r.type, r.gen, r.target, &sp), r.expected) << r.gen << " " << r.target;
    cmn_alrt_clear(nullptr);
  }
  EXPECT_EQ(oab_rel_install_a_mapping(5, -103, 7, 1, nullptr), OAB_BAD_GEN_REL);
  EXPECT_EQ(oab_rel_install_a_mapping(5, 1, 7, 1, nullptr), OAB_BAD_GEN_REL);
  cmn_alrt_clear(nullptr);
  const struct {
    long target;
    long sp;
  } minus89[] = {{5, 3}, {4, 2}, {51, 34}, {127, 29}};
  for (const auto& m : minus89) {
    ASSERT_EQ(oab_rel_map_gen_to_sp(0, -89, m.target, &sp), 0);
    EXPECT_EQ(sp, m.sp) << m.target;
  }
  long count = 0;
  oab_rel_node* first = nullptr;
  ASSERT_EQ(oab_rel_map_gen_all(0, -89, &count, &first), 0);
  ASSERT_EQ(count, 4);
  std::vector<long> sps;
  for (long i = 0; i < count; ++i) {
    ASSERT_EQ(oab_rel_sp_ith(count, first, i, &sp), 0);
    sps.push_back(sp);
  }
  EXPECT_EQ(sps, (std::vector<long>{3, 29, 34, 2}));
  EXPECT_EQ(oab_rel_sp_ith(count, first, 4, &sp), OAB_BAD_SPEC_INDEX);
  EXPECT_EQ(oab_rel_map_gen_all(0, -3, &count, &first), OAB_NO_SPEC_REL);
  cmn_alrt_clear(nullptr);
}

TEST_F(oab_rel_test, RelatingInTheDatabaseNeedsPermanentObjects) {
  seed(TAG, 1, "red");
  seed(CONTACT, 2, "Ann");
  dbs_ty_lobj* red = read(TAG, 1);
  dbs_ty_lobj* fresh = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, CONTACT, &fresh), 0);
  long batches = calls("adp_rel_do_batch");
  EXPECT_EQ(oab_rel_relate(nullptr, fresh, red, GEN_ANY), OAB_NOT_PERM);
  EXPECT_EQ(calls("adp_rel_do_batch"), batches);
  cmn_alrt_clear(nullptr);
  dbs_ty_lobj* ann = read(CONTACT, 2);
  char related = 0;
  ASSERT_EQ(oab_rel_related(nullptr, ann, GEN_ANY, red, &related), 0);
  EXPECT_EQ(related, 0);
  ASSERT_EQ(oab_rel_relate(nullptr, ann, red, GEN_ANY), 0);
  ASSERT_EQ(oab_rel_related(nullptr, ann, GEN_ANY, red, &related), 0);
  EXPECT_EQ(related, 1);
  ost_ty_state* s = new_state();
  EXPECT_EQ(oab_rel_related(s, ann, GEN_ANY, red, &related), OAB_REL_IN_MEMORY);
  cmn_alrt_clear(nullptr);
  obj_id found{};
  ASSERT_EQ(oab_rel_get_one_oid_gen(ann, GEN_ANY, 0, &found), 0);
  EXPECT_EQ(found.num, 1);
  EXPECT_EQ(found.type & 0x1ffff, TAG);
  ASSERT_EQ(oab_rel_unrelate(nullptr, ann, red, GEN_ANY), 0);
  ASSERT_EQ(oab_rel_related(nullptr, ann, GEN_ANY, red, &related), 0);
  EXPECT_EQ(related, 0);
  ost_state_free(s);
  for (dbs_ty_lobj* o : {red, fresh, ann}) dbs_obj_free_local("t", o);
}

TEST_F(oab_rel_test, RelatingInAStateUsesTheEntriesKeys) {
  seed(ACCOUNT, 1, "Acme");
  seed(CONTACT, 2, "Ann");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* spare = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, TAG, &spare), 0);  // moves the keys off the indexes
  ASSERT_EQ(ost_obj_remove(s, spare, 0), 0);
  dbs_obj_free_local("t", spare);
  dbs_ty_lobj* account = read(ACCOUNT, 1);
  dbs_ty_lobj* ann = read(CONTACT, 2);
  dbs_ty_lobj* outside = read(ACCOUNT, 1);
  ASSERT_EQ(ost_obj_add(s, account, 0), 0);
  EXPECT_EQ(oab_rel_relate(s, ann, account, GEN_ANY), OAB_SUBJECT_NOT_IN_STATE);
  ASSERT_EQ(ost_obj_add(s, ann, 0), 0);
  EXPECT_EQ(oab_rel_relate(s, ann, outside, GEN_ANY), OAB_OBJECT_NOT_IN_STATE);
  cmn_alrt_clear(nullptr);
  ASSERT_EQ(oab_rel_relate(s, ann, account, GEN_ANY), 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  dbs_ty_lobj* again = read(CONTACT, 2);
  char related = 0;
  ASSERT_EQ(oab_rel_related(nullptr, again, GEN_ANY, outside, &related), 0);
  EXPECT_EQ(related, 1);
  ost_state_free(s);
  dbs_obj_free_local("t", again);
  dbs_obj_free_local("t", outside);
}

TEST_F(oab_rel_test, RelativesThroughAGenericRelationWithThreeTargets) {
  seed(CONTACT, 1, "Ann");
  seed(TAG, 1, "red");
  seed(TAG, 2, "blue");
  seed_link(1, 1);
  seed_link(1, 2);
  dbs_ty_lobj* ann = read(CONTACT, 1);
  utl_ty_col* cols = nullptr;
  ASSERT_EQ(oab_rel_get_relatives_gen(nullptr, ann, GEN_ANY, 0, &cols), 0);
  ASSERT_NE(cols, nullptr);
  ASSERT_EQ(cols->count, 1);  // only the tags yield objects
  void* e = nullptr;
  utl_col_ith(cols, 0, &e);
  EXPECT_EQ(static_cast<utl_ty_col*>(*static_cast<void**>(e))->count, 2);
  ASSERT_EQ(oab_rel_release_relatives(nullptr, cols), 0);
  dbs_ty_lobj* one = nullptr;
  EXPECT_EQ(oab_rel_get_one_relative(nullptr, ann, GEN_ANY, 0, &one), OAB_MANY_RELATIVES);
  EXPECT_EQ(one, nullptr);
  cmn_alrt_clear(nullptr);
  utl_ty_col* merged = nullptr;
  ASSERT_EQ(oab_rel_get_merged_rel_col(nullptr, ann, GEN_ANY, 0, &merged), 0);
  ASSERT_NE(merged, nullptr);
  EXPECT_EQ(merged->count, 2);
  ASSERT_EQ(oab_rel_release_rel_col(nullptr, merged), 0);
  utl_ty_col* ids = nullptr;
  ASSERT_EQ(oab_rel_get_rel_oid_gen(ann, GEN_ANY, 0, &ids), 0);
  ASSERT_NE(ids, nullptr);
  EXPECT_EQ(ids->count, 2);
  utl_col_free("t", ids);
  obj_id ann_id{CONTACT, 1, 0};
  obj_id single{};
  EXPECT_EQ(oab_rel_get_one_oid_byid_gen(&ann_id, GEN_ANY, 0, &single), OAB_MANY_RELATIVES);
  cmn_alrt_clear(nullptr);
  dbs_ty_lobj* first = nullptr;
  ASSERT_EQ(oab_rel_get_1st_relative_sp(nullptr, ann, CONTACT2TAG, 0, &first), 0);
  ASSERT_NE(first, nullptr);
  dbs_obj_free_local("t", first);
  dbs_obj_free_local("t", ann);
}

TEST_F(oab_rel_test, TheOneRelativeAndNone) {
  seed(ACCOUNT, 1, "Acme");
  seed(CONTACT, 1, "Ann");
  seed(CONTACT, 2, "Bob");
  seed_fk(1, 1);
  dbs_ty_lobj* ann = read(CONTACT, 1);
  dbs_ty_lobj* bob = read(CONTACT, 2);
  dbs_ty_lobj* one = nullptr;
  ASSERT_EQ(oab_rel_get_one_relative(nullptr, ann, GEN_ACCOUNT, 0, &one), 0);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(name_of(one), "Acme");
  dbs_obj_free_local("t", one);
  ASSERT_EQ(oab_rel_get_one_relative(nullptr, bob, GEN_ACCOUNT, 0, &one), 0);
  EXPECT_EQ(one, nullptr);
  utl_ty_col* col = nullptr;
  ASSERT_EQ(oab_rel_get_one_rel_col(nullptr, ann, GEN_ACCOUNT, 0, &col), 0);
  EXPECT_EQ(numbers_in(col), (std::vector<long>{1}));
  oab_rel_release_rel_col(nullptr, col);
  EXPECT_EQ(oab_rel_get_one_rel_col(nullptr, ann, GEN_ANY, 0, &col), OAB_MANY_REL_COLS);  // account twice
  EXPECT_EQ(col, nullptr);
  cmn_alrt_clear(nullptr);
  obj_id bob_id{CONTACT, 2, 0};
  obj_id none{1, 1, 1};
  ASSERT_EQ(oab_rel_get_one_oid_byid_sp(&bob_id, CONTACT2ACCOUNT, 0, &none), 0);
  EXPECT_EQ(none.num, 0);
  seed_fk(2, 1);
  dbs_ty_lobj* acme = read(ACCOUNT, 1);
  ASSERT_EQ(oab_rel_get_one_relative(nullptr, acme, GEN_CONTACTS, 0, &one), OAB_MANY_RELATIVES);
  cmn_alrt_clear(nullptr);
  for (dbs_ty_lobj* o : {ann, bob, acme}) dbs_obj_free_local("t", o);
}

}  // namespace
