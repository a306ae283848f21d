// Objects in a state: keys, the entry compare rules, get options, adding
// one object in each mode, collections, access through ancestors, removing,
// freeing, conditions and descriptions.
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"

namespace {

class ost_obj_test : public client_test {
 protected:
  static long flags_of(ost_ty_state* s, dbs_ty_lobj* h) {
    long i = ost_obj_index_of_handle(s, h);
    return i < 0 ? -1 : s->object_array[i].flags;
  }
  static long key_of(ost_ty_state* s, dbs_ty_lobj* h) {
    long key = -1;
    ost_obj_find_byhandle(s, h, 0, &key, nullptr);
    return key;
  }
  static utl_ty_col* handles(std::vector<dbs_ty_lobj*> list) {
    utl_ty_col* col = nullptr;
    EXPECT_EQ(utl_col_make("t", CMN_TYP_VOID_P, 5, 5, 0, 0, &col), 0);
    for (dbs_ty_lobj* h : list) utl_col_push(col, &h, nullptr);
    return col;
  }
};

TEST_F(ost_obj_test, KeysStartAtOneAndAreNeverReused) {
  ost_obj_set_next_key(1);
  ost_ty_state* s = new_state();
  std::vector<dbs_ty_lobj*> made(3);
  for (auto& h : made) ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &h), 0);
  EXPECT_EQ(key_of(s, made[0]), 1);
  EXPECT_EQ(key_of(s, made[2]), 3);
  ASSERT_EQ(ost_obj_remove(s, made[2], 1), 0);
  dbs_ty_lobj* next = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &next), 0);
  EXPECT_EQ(key_of(s, next), 4);
  ost_ty_state* other = new_state();
  ASSERT_EQ(ost_obj_create("t", other, ACCOUNT, &next), 0);
  EXPECT_EQ(key_of(other, next), 5);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
  EXPECT_EQ(ost_state_abort(other, 0), 0);
}

TEST_F(ost_obj_test, EntryCompareRules) {
  dbs_ty_lobj* h1 = reinterpret_cast<dbs_ty_lobj*>(0x10);
  dbs_ty_lobj* h2 = reinterpret_cast<dbs_ty_lobj*>(0x20);
  const ost_ty_obj_entry entry{7, {ACCOUNT | 0x20000, 40, 0}, h1, 0};
  struct row {
    const char* what;
    ost_ty_obj_entry probe;
    long result;
  };
  for (const row& r : std::vector<row>{
           {"same key", {7, {}, nullptr, 0}, 0},
           {"lower key", {3, {}, nullptr, 0}, -1},
           {"higher key", {9, {}, nullptr, 0}, 1},
           {"number and type, high bits ignored", {-1, {ACCOUNT, 40, 5}, h2, 0}, 0},
           {"other number", {-1, {ACCOUNT, 41, 0}, h1, 0}, 1},
           {"other type", {-1, {CONTACT, 40, 0}, h1, 0}, 1},
           {"no number: by handle", {-1, {ACCOUNT, 0, 0}, h1, 0}, 0},
           {"no number, other handle", {-1, {ACCOUNT, 0, 0}, h2, 0}, 1},
       }) {
    EXPECT_EQ(ost_obj_entry_cmp(&r.probe, &entry), r.result) << r.what;
  }
}

TEST_F(ost_obj_test, GetOptionsSetTheEntryFlags) {
  seed(ACCOUNT, 5, "a");
  struct row {
    const char* what;
    bool present;
    long options, flags;
  };
  for (const row& r : std::vector<row>{
           {"read-only add of a new entry", false, OST_OBJ_GET_ADD, 0},
           {"add for change", false, OST_OBJ_GET_ADD | OST_OBJ_GET_CHANGE, 0x005},
           {"delete of a new entry", false, OST_OBJ_GET_ADD | OST_OBJ_GET_CHANGE | OST_OBJ_GET_DELETE, 0x045},
           {"present, plain get marks modified", true, 0, 0x005},
           {"present, option 2 alone leaves it", true, OST_OBJ_GET_NOMOD, 0x001},
           {"present, options 2 and 8 mark it", true, OST_OBJ_GET_NOMOD | OST_OBJ_GET_CHANGE, 0x005},
           {"present, delete modes", true, OST_OBJ_GET_DELETE | OST_OBJ_GET_DEL1 | OST_OBJ_GET_DEL2, 0x345},
       }) {
    ost_ty_state* s = new_state();
    dbs_ty_lobj* o = read(ACCOUNT, 5);
    if (r.present) {
      ASSERT_EQ(ost_obj_add_local(s, o, nullptr), 0);
    }
    ASSERT_EQ(ost_obj_get(s, o, r.options), 0) << r.what;
    EXPECT_EQ(flags_of(s, o), r.flags) << r.what;
    EXPECT_EQ(ost_state_abort(s, 0), 0);
  }
}

TEST_F(ost_obj_test, GetWithoutAddPrintsAndAddsNothing) {
  ost_ty_state* s = new_state();
  dbs_ty_lobj* o = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, ACCOUNT, &o), 0);
  std::string out = messages([&] { EXPECT_EQ(ost_obj_get(s, o, OST_OBJ_GET_CHANGE), 1); });
  EXPECT_EQ(out, "ost_obj_get: cannot get obj (not in state; use OST_OBJ_GET_ADD option)\n");
  EXPECT_EQ(s->num_objects, 0);
  dbs_obj_free_local("t", o);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_obj_test, DeleteModesReachTheBatch) {
  seed(ACCOUNT, 5, "a");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* o = read(ACCOUNT, 5);
  ASSERT_EQ(ost_obj_add_local(s, o, nullptr), 0);
  ASSERT_EQ(ost_obj_delete(s, o, OST_OBJ_GET_DEL2), 0);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  auto del = adp_double::calls_of("adp_obj_delete_in_batch");
  ASSERT_EQ(del.size(), 1u);
  EXPECT_EQ(del[0].args[1], "2");
  EXPECT_FALSE(adp_mem::has_row({ACCOUNT, 5, 0}));
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_obj_test, AddingTheSameObjectTwiceKeepsOneEntry) {
  seed(ACCOUNT, 5, "a");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* first = read(ACCOUNT, 5);
  long key = 0;
  ASSERT_EQ(ost_obj_add_local(s, first, &key), 0);
  struct row {
    const char* what;
    long mode, status;
    bool given_freed;
  };
  for (const row& r : std::vector<row>{{"mode 0", OST_ADD_KEEP_GIVEN, 0, false},
                                       {"mode 1", OST_ADD_KEEP_STATE, 0, false},
                                       {"modes 1 and 2", OST_ADD_KEEP_STATE | OST_ADD_FREE_GIVEN, 0, true},
                                       {"mode 4", OST_ADD_REFUSE, OST_DUP_OBJECT, false}}) {
    dbs_ty_lobj* again = read(ACCOUNT, 5);
    long got = -1;
    EXPECT_EQ(ost_obj_add_one(s, again, &got, OST_OBJ_MODIFIABLE, r.mode), r.status) << r.what;
    EXPECT_EQ(got, key) << r.what;
    EXPECT_EQ(s->num_objects, 1) << r.what;
    if (!r.given_freed) dbs_obj_free_local("t", again);
  }
  EXPECT_EQ(core_top_alert_text(), "Object with id (0x14/0x5) already exists in OST state " +
                                       std::to_string(reinterpret_cast<long>(s)) + ".\n");
  // The same handle again is nothing to do.
  long got = -1;
  EXPECT_EQ(ost_obj_add_one(s, first, &got, 0, OST_ADD_REFUSE), 0);
  EXPECT_EQ(got, key);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_obj_test, AddingACollectionMergesDuplicatesWithOptionTwo) {
  seed(ACCOUNT, 5, "a");
  seed(ACCOUNT, 6, "b");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* held = read(ACCOUNT, 5);
  ASSERT_EQ(ost_obj_add_local(s, held, nullptr), 0);
  dbs_ty_lobj* dup = read(ACCOUNT, 5);
  dbs_ty_lobj* other = read(ACCOUNT, 6);
  utl_ty_col* in = handles({dup, other, dup});
  utl_ty_col* keys = nullptr;
  ASSERT_EQ(ost_obj_add_col_option(s, in, &keys, 2), 0);
  EXPECT_EQ(ost_ptr_ith(in, 0), held);
  EXPECT_EQ(ost_ptr_ith(in, 1), other);
  EXPECT_EQ(ost_ptr_ith(in, 2), held);
  EXPECT_EQ(s->num_objects, 2);
  EXPECT_EQ(ost_col_count(keys), 3);
  EXPECT_EQ(core_num_alerts(), 0);
  utl_col_free("t", in);
  utl_col_free("t", keys);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_obj_test, AddingUpTheChainOfAncestors) {
  seed(ACCOUNT, 5, "a");
  seed(ACCOUNT, 6, "b");
  ost_ty_state* parent = new_state("parent");
  ost_ty_state* child = new_state("child");
  ASSERT_EQ(ost_state_link_child(parent, child), 0);
  dbs_ty_lobj* in_parent = read(ACCOUNT, 5);
  long parent_key = 0;
  ASSERT_EQ(ost_obj_add_local(parent, in_parent, &parent_key), 0);
  // Found in the parent: the child takes an entry with the parent's key.
  dbs_ty_lobj* copy = read(ACCOUNT, 5);
  long key = 0;
  ASSERT_EQ(ost_obj_add_local(child, copy, &key), 0);
  EXPECT_EQ(key, parent_key);
  EXPECT_EQ(parent->num_objects, 1);
  // Found nowhere: an entry in the child and one without handle in the parent.
  dbs_ty_lobj* fresh = read(ACCOUNT, 6);
  ASSERT_EQ(ost_obj_add_local(child, fresh, &key), 0);
  ASSERT_EQ(parent->num_objects, 2);
  EXPECT_EQ(parent->object_array[1].key, key);
  EXPECT_EQ(parent->object_array[1].handle, nullptr);
  EXPECT_EQ(child->object_array[1].handle, fresh);
  // Read-only access by key from the child finds the parent's object.
  dbs_ty_lobj* h = nullptr;
  long out_key = 0;
  ASSERT_EQ(ost_obj_get_readonly(child, parent_key, nullptr, 0, &h, &out_key), 0);
  EXPECT_EQ(out_key, parent_key);
  EXPECT_EQ(ost_obj_find_root(child), parent);
  EXPECT_EQ(ost_state_abort(child, 0), 0);
  EXPECT_EQ(parent->child, nullptr);
  EXPECT_EQ(ost_state_abort(parent, 0), 0);
}

TEST_F(ost_obj_test, ReadOnlyAndModifiableAccessMessages) {
  seed(ACCOUNT, 5, "a");
  ost_ty_state* s = new_state("access");
  dbs_ty_lobj* h = nullptr;
  long key = 0;
  obj_id none{};
  std::string out = messages([&] { EXPECT_EQ(ost_obj_get_readonly(s, -1, &none, 0, &h, &key), 1); });
  EXPECT_EQ(out, "ost_obj_get_readonly: cannot add NULL object\n");
  out = messages([&] { EXPECT_EQ(ost_obj_get_readonly(s, 99, nullptr, 0, &h, &key), 1); });
  EXPECT_EQ(out, "ost_obj_get_readonly: cannot get non-existing key 99\n");
  obj_id id{ACCOUNT, 5, 0};
  ASSERT_EQ(ost_obj_get_readonly(s, -1, &id, 0, &h, &key), 0);
  EXPECT_EQ(name_of(h), "a");
  EXPECT_EQ(flags_of(s, h), 0);
  // Held for change by a child elsewhere: the id words are printed.
  s->object_array[0].flags = OST_OBJ_CHILD_HELD;
  out = messages([&] { EXPECT_EQ(ost_obj_get_modifiable(s, key, nullptr, 0, &h, &key), 1); });
  EXPECT_EQ(out, "ost_obj_get_modifiable: object id (0x14/0x5) is modified by another child state\n");
  out = messages([&] { EXPECT_EQ(ost_obj_set_modified(s, 42, 1), 1); });
  EXPECT_EQ(out, "ost_obj_set_modified: cannot find object w/key=42 in state 'access'\n");
  out = messages([&] { EXPECT_EQ(ost_obj_set_modified(s, key, 1), 1); });
  EXPECT_EQ(out, "ost_obj_set_modified: cannot set modifiable flag of object w/key=" + std::to_string(key) +
                     " in state 'access'\n");
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_obj_test, FreeTakesTheObjectAndItsRelationsOut) {
  seed(ACCOUNT, 5, "a");
  seed(CONTACT, 6, "c");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* a = read(ACCOUNT, 5);
  dbs_ty_lobj* c = read(CONTACT, 6);
  ASSERT_EQ(ost_obj_add_local(s, a, nullptr), 0);
  ASSERT_EQ(ost_obj_add_local(s, c, nullptr), 0);
  obj_id cid{CONTACT, 6, 0};
  ASSERT_EQ(ost_obj_relate_byhndl(s, a, c, ACCOUNT2CONTACT), 0);
  obj_id aid{ACCOUNT, 5, 0}, other{ACCOUNT, 77, 0};
  ASSERT_EQ(ost_obj_relate_hndl_byid(s, &other, c, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(ost_obj_relate_id_to_id(s, &cid, &aid, CONTACT2ACCOUNT), 0);
  ASSERT_EQ(s->num_relations, 3);
  ASSERT_EQ(ost_obj_free(s, c), 0);
  EXPECT_EQ(s->num_objects, 1);
  EXPECT_EQ(s->num_relations, 0);
  // Free remote deletes the row at once.
  ASSERT_EQ(ost_obj_free_remote(s, a), 0);
  EXPECT_FALSE(adp_mem::has_row({ACCOUNT, 5, 0}));
  EXPECT_EQ(s->num_objects, 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_obj_test, ConditionsNeedAnObjectOfTheState) {
  ost_ty_state* s = new_state();
  dbs_ty_lobj* o = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &o), 0);
  dbs_ty_lobj* stranger = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, ACCOUNT, &stranger), 0);
  ost_ty_cond c1{{1, 10, 11}}, c2{{2, 20, 21}}, c3{{1, 30, 31}};
  std::string out = messages([&] { EXPECT_EQ(ost_obj_cond_add(s, stranger, &c1), 1); });
  EXPECT_EQ(out, "nope - obj_hdl not in state!\n");
  for (auto* c : {&c1, &c2, &c3}) ASSERT_EQ(ost_obj_cond_add(s, o, c), 0);
  ASSERT_EQ(ost_obj_cond_remove(s, 1), 0);
  ASSERT_EQ(ost_col_count(s->cond_col), 2);
  void* e = nullptr;
  utl_col_ith(s->cond_col, 0, &e);
  EXPECT_EQ(static_cast<ost_ty_cond*>(e)->words[1], 20);
  ASSERT_EQ(ost_state_checkpoint(s), 0);
  EXPECT_EQ(ost_obj_cond_remove(s, 2), OST_REMOVE_CKPT);
  ASSERT_EQ(ost_state_commit(s, 0), 0);
  // The save hands the conditions to the batch.
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(calls("adp_obj_cond_add_to_batch"), 1);
  dbs_obj_free_local("t", stranger);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_obj_test, Descriptions) {
  seed(ACCOUNT, 5, "a");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* perm = read(ACCOUNT, 5);
  ASSERT_EQ(ost_obj_add_local(s, perm, nullptr), 0);
  dbs_ty_lobj* temp = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &temp), 0);
  dbs_ty_lobj* outside = read(ACCOUNT, 5);
  dbs_ty_lobj* outside_temp = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, ACCOUNT, &outside_temp), 0);
  obj_id id5{ACCOUNT, 5, 0};
  struct row {
    ost_ty_state* state;
    dbs_ty_lobj* handle;
    const obj_id* id;
    const char* text;
  };
  for (const row& r : std::vector<row>{{nullptr, perm, nullptr, "NO STATE GIVEN"},
                                       {s, perm, nullptr, "PERM OBJ NOT MODIFIED"},
                                       {s, temp, nullptr, "TEMP OBJ MODIFIED"},
                                       {s, nullptr, &id5, "PERM OBJ NOT MODIFIED"},
                                       {s, outside, nullptr, "PERM OBJECT NOT IN STATE"},
                                       {s, outside_temp, nullptr, "TEMP OBJECT NOT IN STATE"}}) {
    const char* text = nullptr;
    ASSERT_EQ(ost_obj_get_desc(r.state, r.handle, r.id, &text), 0);
    EXPECT_STREQ(text, r.text);
  }
  dbs_obj_free_local("t", outside);
  dbs_obj_free_local("t", outside_temp);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_obj_test, ClosingAChildPromotesItsChangesToTheParent) {
  seed(ACCOUNT, 5, "a");
  ost_ty_state* parent = new_state("parent");
  ost_ty_state* child = new_state("child");
  ASSERT_EQ(ost_state_link_child(parent, child), 0);
  dbs_ty_lobj* h = nullptr;
  long key = 0;
  obj_id id{ACCOUNT, 5, 0};
  ASSERT_EQ(ost_obj_get_modifiable(child, -1, &id, 0, &h, &key), 0);
  ASSERT_EQ(ost_obj_get(child, h, OST_OBJ_GET_CHANGE), 0);
  set_name(h, "changed in child");
  long cancelled = -1;
  ASSERT_EQ(ost_state_close(child, 0, &cancelled), 0);
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(ost_state_check(child), OST_BAD_STATE);
  long i = ost_obj_index_of(parent, key, obj_id{}, nullptr);
  ASSERT_GE(i, 0);
  EXPECT_EQ(parent->object_array[i].handle, h);
  EXPECT_TRUE(parent->object_array[i].flags & OST_OBJ_MODIFIED);
  // The child's batch wrote nothing: the parent's save writes the change.
  EXPECT_EQ(adp_mem::field_text(id, F_NAME), "a");
  ASSERT_EQ(ost_state_save(parent, 0), 0);
  EXPECT_EQ(adp_mem::field_text(id, F_NAME), "changed in child");
  EXPECT_EQ(ost_state_abort(parent, 0), 0);
}

TEST_F(ost_obj_test, GetIntoReadsTheRowIntoTheEntrysObject) {
  seed(ACCOUNT, 5, "stored", 42);
  ost_ty_state* s = new_state();
  dbs_ty_lobj* o = nullptr;
  ASSERT_EQ(ost_obj_create("t", s, ACCOUNT, &o), 0);
  ASSERT_EQ(ost_obj_set_modified(s, key_of(s, o), 0), 0);
  obj_id id{ACCOUNT, 5, 0};
  ASSERT_EQ(ost_obj_get_into(s, o, &id, OST_OBJ_GET_CHANGE), 0);
  EXPECT_EQ(name_of(o), "stored");
  EXPECT_EQ(long_of(o, F_SIZE), 42);
  EXPECT_EQ(s->object_array[0].id.num, 5);
  EXPECT_EQ(flags_of(s, o), OST_OBJ_MODIFIABLE | OST_OBJ_MODIFIED);
  dbs_ty_lobj* stranger = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, ACCOUNT, &stranger), 0);
  EXPECT_EQ(ost_obj_get_into(s, stranger, &id, 0), 1);
  dbs_obj_free_local("t", stranger);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_obj_test, FindByKeyInTheRootStateWithOptionOne) {
  ost_ty_state* parent = new_state("parent");
  ost_ty_state* child = new_state("child");
  ASSERT_EQ(ost_state_link_child(parent, child), 0);
  dbs_ty_lobj* o = nullptr;
  ASSERT_EQ(ost_obj_create("t", parent, ACCOUNT, &o), 0);
  const long key = key_of(parent, o);
  dbs_ty_lobj* h = nullptr;
  ASSERT_EQ(ost_obj_find_bykey(child, key, 0, nullptr, &h), 0);
  EXPECT_EQ(h, nullptr);
  ASSERT_EQ(ost_obj_find_bykey(child, key, 1, nullptr, &h), 0);
  EXPECT_EQ(h, o);
  EXPECT_EQ(ost_state_abort(child, 0), 0);
  EXPECT_EQ(ost_state_abort(parent, 0), 0);
}

}  // namespace
