// Object-state start-up: the registered types, the message list, the
// operator table, and the dumps by exact text.
#include <cstring>
#include <string>
#include <vector>

#include "client/client_fixture.h"
#include "client/ost/ost_comm.h"
#include "client/ost/ost_int.h"
#include "client/ost/ost_main.h"
#include "client/ost/ost_msg.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_str.h"
#include "core/utl/utl_col.h"

namespace {

using ost_main_test = client_test;

std::string dec(const void* p) { return std::to_string(reinterpret_cast<long>(p)); }

TEST_F(ost_main_test, TheSixTypesAreOurRecords) {
  struct row {
    long type, size;
  };
  for (const row& r : std::vector<row>{{OST_TY_STATE, sizeof(ost_ty_state)},
                                       {OST_TY_OBJ, sizeof(ost_ty_obj_entry)},
                                       {OST_TY_COND, sizeof(ost_ty_cond)},
                                       {OST_TY_REL, sizeof(ost_ty_rel_entry)},
                                       {OST_TY_WORK, sizeof(ost_ty_work_item)},
                                       {OST_TY_PERM, sizeof(ost_ty_perm_rel)}}) {
    long size = -1;
    cmn_ty_compare_proc compare = nullptr;
    cmn_ty_print_proc print = nullptr;
    ASSERT_EQ(cmn_typ_info(r.type, nullptr, nullptr, nullptr, &size, nullptr, &compare, nullptr, &print), 0);
    EXPECT_EQ(size, r.size) << r.type;
    if (r.type == OST_TY_OBJ || r.type == OST_TY_PERM) {
      EXPECT_NE(compare, nullptr) << r.type;
    }
    if (r.type == OST_TY_OBJ || r.type == OST_TY_REL || r.type == OST_TY_PERM) {
      EXPECT_NE(print, nullptr) << r.type;
    }
  }
}

TEST_F(ost_main_test, MessageListTextsAndArgumentCounts) {
  const loc_ty_slist* slot = loc_str_slot(OST_SUBSYS);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot->first_id, OST_FIRST_ID);
  EXPECT_EQ(slot->last_id, OST_LAST_ID);
  struct row {
    long index, nargs;
    const char* text;
  };
  for (const row& r : std::vector<row>{
           {0, 1, "Invalid size for object state application data block (%ld)."},
           {14, 0, "You cannot remove an object from a checkpointed OST state."},
           {15, 0, "An invalid OST state was passed to the OST subsystem.\n"},
           {18, 3, "Cannot relate %s NULL HANDLE and %sID (in state '%s')"},
           {22, 3, "Unexpected char '%c' (%ld) found in query statement on line %ld.\n"},
           {30, 4, "Could not convert value '%s' to a %s as needed when comparing with field '%s' of object type '%s'.\n"},
           {32, 3, "Object with id (0x%x/0x%x) already exists in OST state %ld.\n"},
       }) {
    const char* text = nullptr;
    ASSERT_EQ(cmn_alrt_get_msg(0x2000000 + r.index, &text), 0) << r.index;
    EXPECT_STREQ(text, r.text);
    EXPECT_EQ(slot->args[2 * r.index], r.nargs) << r.index;
  }
}

TEST_F(ost_main_test, OperatorTable) {
  struct row {
    long op;
    const char* text;
    long str, col;
  };
  for (const row& r : std::vector<row>{{0, ">", 0, 0}, {4, "=", 0, 0}, {5, "!=", 0, 0}, {6, "LIKE", 1, 0},
                                       {8, "SOUNDS LIKE", 1, 0}, {9, "IN", 1, 1}, {10, "IS NOT NULL", 0, 0},
                                       {12, "NOT &", 1, 0}, {13, nullptr, 1, 0}, {40, nullptr, 1, 0}}) {
    if (r.text) {
      EXPECT_STREQ(op_info[r.op].text, r.text);
    }
    EXPECT_EQ(ost_rel_op_expects_str(r.op), r.str) << r.op;
    EXPECT_EQ(ost_rel_op_expects_col(r.op), r.col) << r.op;
  }
}

TEST_F(ost_main_test, StateDumpByExactText) {
  seed(ACCOUNT, 5, "acme");
  ost_ty_state* s = new_state("dumped");
  dbs_ty_lobj* a = read(ACCOUNT, 5);
  long key_a = 0;
  ASSERT_EQ(ost_obj_add_local(s, a, &key_a), 0);
  obj_id c9{CONTACT, 9, 0}, a5{ACCOUNT, 5, 0};
  ASSERT_EQ(ost_obj_relate_id_byhndl(s, a, &c9, ACCOUNT2CONTACT), 0);
  ASSERT_EQ(ost_rel_perm_cache_one(s, &a5, ACCOUNT2CONTACT, &c9), 0);
  std::string text = core_written_to([&](FILE* f) { ASSERT_EQ(ost_state_dump(f, 2, "t", 0, s), 0); });
  std::string want = "  STATE 'dumped':\n"
                     "    Num_objects  1, object_array  " + dec(s->object_array) + ", col  " + dec(s->object_col) + "\n";
  EXPECT_EQ(text.substr(0, want.size()), want);
  for (const std::string& line : std::vector<std::string>{
           "Object key " + std::to_string(key_a) + ", obj ('account'/0x5), handle " + dec(a) + "\n",
           " NOT MODIFIED, ORIGINAL\n",
           "    Num_relations  1, rel_array  " + dec(s->rel_array) + ", col  " + dec(s->rel_col) + "\n",
           "RELATE by relation (0='account2contact')\n",
           " FROM handle " + dec(a) + "=(account/5) PERM OBJ NOT MODIFIED\n",
           " TO ID (0x15/0x9) PERM OBJECT NOT IN STATE\n",
           "    Num_cached_permanent_relations  1, array  " + dec(s->perm_rel_array) + ", col  " +
               dec(s->perm_rel_col) + "\n",
           " RELATION (0='account2contact')\n",
           "  FROM 'account' ID=(0x14/0x5) PERM OBJ NOT MODIFIED\n",
           "  TO 'contact' ID=(0x15/0x9) PERM OBJECT NOT IN STATE\n",
           "    condition col  " + dec(s->cond_col) + "\n",
           "    Application_data_at 0, size   0\n",
           "    Parent_ptr  0, child  0, sibling  0, next  " + dec(s->next) + "\n",
           "    STATE_CALLBACKS:\n",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin:\n" << text;
  }
  EXPECT_EQ(ost_state_get_dump(), nullptr);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

TEST_F(ost_main_test, CallbacksAndChildrenInTheDump) {
  ost_ty_cb_triple t{OST_CB_SAVE_OBJECT, [](ost_ty_state*, long, long, long, long, long*) { return 0L; }, 0};
  ost_ty_state* parent = nullptr;
  ASSERT_EQ(ost_state_create(nullptr, con(), 1, &t, nullptr, 0, &parent), 0);
  ost_ty_state* child = new_state("kid");
  ASSERT_EQ(ost_state_link_child(parent, child), 0);
  std::string text = core_written_to([&](FILE* f) { ASSERT_EQ(ost_state_dump_all(f, 0, "all", 1), 0); });
  EXPECT_EQ(text.substr(0, 50), "\n********************\nDUMP OF OBJECT STATES 'all'\n");
  EXPECT_NE(text.find("STATE '<null>':\n"), std::string::npos);
  EXPECT_NE(text.find("   CB[SAVE OBJECT]: " + std::to_string(reinterpret_cast<long>(parent->callbacks[13])) + "\n"),
            std::string::npos);
  EXPECT_NE(text.find("  CHILDREN_STATES:\n   STATE 'kid':\n"), std::string::npos);
  // The child is dumped once, under its parent.
  EXPECT_EQ(text.find("STATE 'kid'"), text.rfind("STATE 'kid'"));
  EXPECT_EQ(text.substr(text.size() - 23), "\n********************\n\n");
  EXPECT_EQ(ost_state_abort(child, 0), 0);
  EXPECT_EQ(ost_state_abort(parent, 0), 0);
}

TEST_F(ost_main_test, TraversalDumpByExactText) {
  utl_ty_col* in = nullptr;
  ASSERT_EQ(utl_col_make("t", CMN_TYP_LONG, 4, 4, 0, 0, &in), 0);
  for (long v : {3, 4}) utl_col_push(in, &v, nullptr);
  ost_ty_trav_cond conds[] = {
      {F_NAME, 6, reinterpret_cast<long>("a%")}, {F_SIZE, 1, 10}, {F_SIZE, 9, reinterpret_cast<long>(in)}};
  ost_ty_trav_order orders[] = {{F_NAME, 1}, {F_SIZE, 0}};
  ost_ty_trav_level map[] = {
      {-1, -1, 0, 3, conds, 2, orders, ACCOUNT},
      {ACCOUNT2CONTACT, 0, 0, 0, nullptr, 0, nullptr, 0},
      {CONTACT2TAG, 1, 0, 0, nullptr, 0, nullptr, 0},
  };
  std::string text = core_written_to([&](FILE* f) { ASSERT_EQ(ost_rel_dump_trav(f, 1, nullptr, 3, map, 0, 0), 0); });
  EXPECT_EQ(text,
            " 0) SIMPLE QUERY of type 'account'.\n"
            "   SORT BY:\n"
            "     name DESCENDING\n"
            "     size ASCENDING\n"
            "   CONDITIONS:\n"
            "     name LIKE 'a%'\n"
            "     size >= 10\n"
            "     size IN (3,4)\n"
            "   1) FROM 'account' TO 'contact' via relation 'account2contact'.\n"
            "     2) FROM 'contact' TO 'tag' via relation 'contact2tag'.\n");
  long types[3] = {};
  ASSERT_EQ(ost_rel_trav_make_types(nullptr, 3, map, 0, types), 0);
  EXPECT_EQ(types[2], TAG);
  utl_col_free("t", in);
}

TEST_F(ost_main_test, InitTravLevels) {
  ost_ty_trav_level levels[2];
  std::memset(levels, 0x5a, sizeof levels);
  ASSERT_EQ(ost_rel_community_init_trav(2, levels), 0);
  for (const auto& l : levels) {
    EXPECT_EQ(l.rel, -1);
    EXPECT_EQ(l.from_index, -1);
    EXPECT_EQ(l.flags | l.ncond | l.norder | l.type_id, 0);
    EXPECT_EQ(l.conds, nullptr);
  }
}

}  // namespace
