// Traversal-map queries through the interface: the map's defaults and
// checks, both traversals over the rig's database, results, free and the
// two applies.
#include <string>
#include <vector>

#include "client/cpi_fixture.h"
#include "core/cmn/cmn_alrt.h"

namespace {

class cpi_qry_test : public cpi_test {
 protected:
  void SetUp() override {
    cpi_test::SetUp();
    seed(ACCOUNT, 1, "north", 5);
    seed(ACCOUNT, 2, "south", 7);
    seed(ACCOUNT, 3, "nowhere", 9);
    seed(CONTACT, 10, "ann", 1);
    seed(CONTACT, 11, "bob", 2);
    seed(CONTACT, 12, "cy", 3);
    seed_fk(10, 1);
    seed_fk(11, 1);
    seed_fk(12, 2);
    cpi_qry_trav_map_init(2, maps_);
  }
  // Names of a level's objects in order.
  static std::string names(cpi_ty_qry_result* r, long level) {
    long n = 0;
    void** objects = nullptr;
    EXPECT_EQ(cpi_qry_get_result(r, level, 0, &n, &objects), 0);
    std::string all;
    for (long i = 0; i < n; ++i) all += name_of(cpi_obj_of(objects[i])) + " ";
    return all;
  }
  // Level 0: accounts whose name starts with "no" or "so", by name
  // descending; level 1: their contacts by rank descending.
  void accounts_and_contacts() {
    maps_[0].type_name = "account";
    maps_[0].cond_count = 1;
    maps_[0].conds = conds_;
    maps_[0].order_count = 1;
    maps_[0].orders = &by_name_desc_;
    maps_[1].kind = 0;
    maps_[1].parent = 0;
    maps_[1].rel_name = "account2contact";
    maps_[1].order_count = 1;
    maps_[1].orders = &by_rank_desc_;
  }
  cpi_ty_trav_map maps_[2] = {};
  cpi_ty_fcond conds_[1] = {{CPI_OP_IN, "name", "north, south, 'west'"}};
  cpi_ty_forder by_name_desc_{"name", 0};
  cpi_ty_forder by_rank_desc_{"rank", 0};
};

TEST_F(cpi_qry_test, InitSetsTheDefaultsAndLeavesTheFlag) {
  cpi_ty_trav_map m[3];
  for (auto& x : m) {
    x.flag = 7;
    x.kind = 99;
    x.parent = 5;
  }
  EXPECT_EQ(cpi_qry_trav_map_init(0, m), 0);
  EXPECT_EQ(m[0].kind, 99);
  EXPECT_EQ(cpi_qry_trav_map_init(3, m), 0);
  for (const auto& x : m) {
    EXPECT_EQ(x.kind, CPI_KIND_TYPE);
    EXPECT_EQ(x.parent, -1);
    EXPECT_EQ(x.cond_count, 0);
    EXPECT_EQ(x.conds, nullptr);
    EXPECT_EQ(x.result, nullptr);
    EXPECT_EQ(x.flag, 7);
  }
}

TEST_F(cpi_qry_test, TheQueryChecksItsArgumentsAndTheMap) {
  cpi_ty_qry_result* r = nullptr;
  const cpi_ty_objid unsaved{ACCOUNT, 0, 0};
  struct row {
    const char* what;
    std::function<void()> setup;
    long count;
    long state;
    const cpi_ty_objid* root;
    long code;
    std::string text;
  } rows[] = {
      {"no levels", [] {}, 0, 0, nullptr, CPI_ALRT_BAD_PARAM, "Parameter number '5', 'map_count' is invalid.\n"},
      {"dead state", [] {}, 2, 777, nullptr, CPI_ALRT_BAD_PARAM, "Parameter number '1', 'tstate' is invalid.\n"},
      {"kind 1 without root", [this] { maps_[0].kind = CPI_KIND_ROOT_REL; }, 2, 0, &unsaved, CPI_ALRT_BAD_PARAM,
       "Parameter number '4', 'root_objid' is invalid.\n"},
      {"kind 33 without root", [this] { maps_[0].kind = CPI_KIND_ROOT_REL | CPI_KIND_OPTION; }, 2, 0, nullptr,
       CPI_ALRT_NULL_IN_MAP, "There is a null object in the traversal map entry number 0.\n"},
      {"own parent", [this] { maps_[1] = {nullptr, nullptr, 1, 0, 0, nullptr, 0, 0, nullptr, nullptr}; }, 2, 0,
       nullptr, CPI_ALRT_CIRCULAR_MAP, "Circular traversal map for traversal map number '1' is invalid.\n"},
      {"parent past the end", [this] { maps_[1] = {"x", nullptr, 2, 0, 0, nullptr, 0, 0, nullptr, nullptr}; }, 2, 0,
       nullptr, CPI_ALRT_BAD_PARENT, "The parent index '2' for the traversal map number '1' is invalid.\n"},
      {"unknown type", [this] { maps_[0].type_name = "acount"; }, 1, 0, nullptr, CPI_ALRT_BAD_TYPE,
       "Object type 'acount' is not valid.\n"},
  };
  for (const row& r0 : rows) {
    SCOPED_TRACE(r0.what);
    cpi_qry_trav_map_init(2, maps_);
    maps_[0].type_name = "account";
    maps_[0].rel_name = "account2contact";
    r0.setup();
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(cpi_qry_traverse_map(conid(), r0.state, r0.root, r0.count, maps_, 0, &r), r0.code);
    EXPECT_EQ(top_text(), r0.text);
    EXPECT_EQ(r, nullptr);
  }
  EXPECT_EQ(cpi_qry_traverse_map(conid(), 0, nullptr, 1, nullptr, 0, &r), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '6', 'trav_map' is invalid.\n");
  EXPECT_EQ(cpi_qry_traverse_map(conid() + 1, 0, nullptr, 1, maps_, 0, &r), CPI_ALRT_BAD_CON_ID);
}

TEST_F(cpi_qry_test, TwoLevelsWithConditionsAndOrdersWithoutAState) {
  accounts_and_contacts();
  cpi_ty_qry_result* r = nullptr;
  ASSERT_EQ(cpi_qry_traverse_map(conid(), 0, nullptr, 2, maps_, 0, &r), 0) << alert_texts();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->levels, 2);
  EXPECT_EQ(r->no_state, 1);
  EXPECT_EQ(names(r, 0), "south north ");
  EXPECT_EQ(names(r, 1), "cy bob ann ");
  EXPECT_EQ(maps_[0].result, &r->entries[0]);
  EXPECT_EQ(maps_[1].result, &r->entries[1]);
  long n = 9;
  void** objects = nullptr;
  EXPECT_EQ(cpi_qry_get_result(r, 2, 0, &n, &objects), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(cpi_qry_get_result(r, 0, 0, nullptr, &objects), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '5', 'num_objs' is invalid.\n");
  EXPECT_EQ(cpi_qry_get_result(nullptr, 0, 0, &n, &objects), 0);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(objects, nullptr);
  EXPECT_EQ(cpi_qry_free_results(r), 0);
  EXPECT_EQ(cpi_qry_free_results(nullptr), 0);
}

TEST_F(cpi_qry_test, ConditionsOnTheSecondLevelAndTheDirectionByte) {
  accounts_and_contacts();
  const cpi_ty_fcond below_three{CPI_OP_LESS, "rank", "3"};
  maps_[1].cond_count = 1;
  maps_[1].conds = const_cast<cpi_ty_fcond*>(&below_three);
  by_rank_desc_.direction = 1;  // ascending
  long s = state();
  cpi_ty_qry_result* r = nullptr;
  ASSERT_EQ(cpi_qry_traverse_map(conid(), s, nullptr, 2, maps_, 0, &r), 0) << alert_texts();
  EXPECT_EQ(r->no_state, 0);
  EXPECT_EQ(names(r, 1), "ann bob ");
  long held = 0;
  EXPECT_EQ(cpi_state_count(s, "contact", &held), 0);
  EXPECT_EQ(held, 2);
  EXPECT_EQ(cpi_qry_free_results(r), 0);
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

TEST_F(cpi_qry_test, RootedTraversalsByIdAndByObject) {
  cpi_qry_trav_map_init(1, maps_);
  maps_[0].kind = CPI_KIND_ROOT_REL;
  maps_[0].rel_name = "account2contact";
  maps_[0].order_count = 1;
  maps_[0].orders = &by_rank_desc_;
  const cpi_ty_objid root = objid(ACCOUNT, 1);
  cpi_ty_qry_result* r = nullptr;
  ASSERT_EQ(cpi_qry_traverse_map(conid(), 0, &root, 1, maps_, 0, &r), 0) << alert_texts();
  EXPECT_EQ(names(r, 0), "bob ann ");
  EXPECT_EQ(cpi_qry_free_results(r), 0);
  long s = state();
  void* account = read(ACCOUNT, 2);
  ASSERT_EQ(cpi_obj_add(s, account, 0), 0);
  EXPECT_EQ(cpi_qry_traverse_map_cached(conid(), s, nullptr, 1, maps_, 0, &r), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '3', 'obj' is invalid.\n");
  ASSERT_EQ(cpi_qry_traverse_map_cached(conid(), s, account, 1, maps_, 0, &r), 0) << alert_texts();
  EXPECT_EQ(names(r, 0), "cy ");
  EXPECT_EQ(cpi_qry_free_results(r), 0);
  EXPECT_EQ(cpi_state_rollback(s), 0);
}

TEST_F(cpi_qry_test, WildcardAndComparisonOperatorsFindTheirRows) {
  struct row {
    int32_t op;
    const char* field;
    const char* value;
    std::string found;
  } rows[] = {
      {CPI_OP_STARTS_WITH, "name", "no", "north nowhere "},
      {CPI_OP_ENDS_WITH, "name", "th", "north south "},
      {CPI_OP_CONTAINS, "name", "ou", "south "},
      {CPI_OP_NOT_STARTS_WITH, "name", "no", "south "},
      {CPI_OP_NOT_ENDS_WITH, "name", "th", "nowhere "},
      {CPI_OP_NOT_CONTAINS, "name", "ou", "north nowhere "},
      {CPI_OP_GREATER_EQUAL, "size", "7", "nowhere south "},
      {CPI_OP_NOT_EQUAL, "name", "south", "north nowhere "},
      {CPI_OP_IN, "size", "(5, 9)", "north nowhere "},
  };
  cpi_ty_forder by_name{"name", 1};
  for (const row& r : rows) {
    SCOPED_TRACE(std::to_string(r.op) + " " + r.value);
    const cpi_ty_fcond cond{r.op, r.field, r.value};
    cpi_qry_trav_map_init(1, maps_);
    maps_[0].type_name = "account";
    maps_[0].cond_count = 1;
    maps_[0].conds = const_cast<cpi_ty_fcond*>(&cond);
    maps_[0].order_count = 1;
    maps_[0].orders = &by_name;
    cpi_ty_qry_result* r0 = nullptr;
    ASSERT_EQ(cpi_qry_traverse_map(conid(), 0, nullptr, 1, maps_, 0, &r0), 0) << alert_texts();
    EXPECT_EQ(names(r0, 0), r.found);
    EXPECT_EQ(cpi_qry_free_results(r0), 0);
  }
}

TEST_F(cpi_qry_test, AQueryFindingNothingSucceedsWithZeroCounts) {
  const cpi_ty_fcond none{CPI_OP_EQUAL, "name", "east"};
  maps_[0].type_name = "account";
  maps_[0].cond_count = 1;
  maps_[0].conds = const_cast<cpi_ty_fcond*>(&none);
  cpi_ty_qry_result* r = nullptr;
  ASSERT_EQ(cpi_qry_traverse_map(conid(), 0, nullptr, 1, maps_, 0, &r), 0);
  EXPECT_EQ(r->entries[0].count, 0);
  EXPECT_EQ(cpi_qry_free_results(r), 0);
}

TEST_F(cpi_qry_test, AFailedTranslationFetchesNothingAndKeepsNothing) {
  accounts_and_contacts();
  const cpi_ty_fcond first[] = {{CPI_OP_IN, "name", "north south"}, {CPI_OP_LESS, "balance", "1.5"},
                                {CPI_OP_LESS, "opened", "01/01/2990 00:00:00"}};
  const cpi_ty_fcond bad[] = {{CPI_OP_IN, "name", "a b c"}, {CPI_OP_BETWEEN, "rank", "1"}};
  maps_[0].cond_count = 3;
  maps_[0].conds = const_cast<cpi_ty_fcond*>(first);
  maps_[1].cond_count = 2;
  maps_[1].conds = const_cast<cpi_ty_fcond*>(bad);
  long before = adp_mem::sql_executions();
  cpi_ty_qry_result* r = nullptr;
  EXPECT_EQ(cpi_qry_traverse_map(conid(), 0, nullptr, 2, maps_, 0, &r), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(r, nullptr);
  EXPECT_EQ(maps_[0].result, nullptr);
  EXPECT_EQ(adp_mem::sql_executions(), before);
}

struct walk {
  std::vector<std::string> seen;
  long stop_after = -1;
};

std::string name_field(void* object) {
  const char* name = nullptr;
  cpi_obj_get_field(object, "name", 0, &name, nullptr);
  return name ? name : "?";
}

long on_object(void* object, long level, long index, void* args, long* stop) {
  auto* w = static_cast<walk*>(args);
  w->seen.push_back(std::to_string(level) + "." + std::to_string(index) + ":" + name_field(object));
  if (static_cast<long>(w->seen.size()) == w->stop_after) *stop = 1;
  return 0;
}

long on_field(void*, long level, long index, void* arg, const char* field, void* value, long type, long*) {
  auto* w = static_cast<walk*>(arg);
  if (type == 516) w->seen.push_back(std::to_string(level) + "." + std::to_string(index) + " " + field + "=" +
                                     static_cast<const char*>(value));
  return 0;
}

TEST_F(cpi_qry_test, AppliesWalkLevelsObjectsAndFields) {
  accounts_and_contacts();
  cpi_ty_qry_result* r = nullptr;
  ASSERT_EQ(cpi_qry_traverse_map(conid(), 0, nullptr, 2, maps_, 0, &r), 0);
  walk w;
  EXPECT_EQ(cpi_qry_object_apply(nullptr, nullptr, nullptr, 2, on_object, &w, nullptr, nullptr), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '1', 'results_col' is invalid.\n");
  EXPECT_EQ(cpi_qry_object_apply(r, nullptr, nullptr, 1, nullptr, nullptr, nullptr, nullptr), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '6', 'obj_args' is invalid.\n");
  EXPECT_EQ(cpi_qry_object_apply(r, nullptr, nullptr, 4, on_object, &w, nullptr, nullptr), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '4', 'apply_type' is invalid.\n");
  EXPECT_EQ(cpi_qry_object_apply(r, nullptr, nullptr, 2, nullptr, &w, nullptr, nullptr), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '5', 'obj_proc' is invalid.\n");
  ASSERT_EQ(cpi_qry_object_apply(r, nullptr, nullptr, 3, on_object, &w, on_field, &w), 0);
  EXPECT_EQ(w.seen, (std::vector<std::string>{"0.0:south", "0.1:north", "1.0:cy", "1.1:bob", "1.2:ann",
                                               "0.0 name=south", "0.1 name=north", "1.0 name=cy", "1.1 name=bob",
                                               "1.2 name=ann"}));
  walk stopped;
  stopped.stop_after = 2;
  ASSERT_EQ(cpi_qry_object_apply(nullptr, maps_[1].result, nullptr, 2, on_object, &stopped, nullptr, nullptr), 0);
  EXPECT_EQ(stopped.seen, (std::vector<std::string>{"0.0:cy", "0.1:bob"}));
  std::string printed = written([&](FILE* f) {
    EXPECT_EQ(cpi_qry_object_apply(nullptr, maps_[0].result, nullptr, 1, nullptr, &f, nullptr, nullptr), 0);
  });
  EXPECT_NE(printed.find("south"), std::string::npos);
  EXPECT_NE(printed.find("north"), std::string::npos);
  walk fields;
  void** objects = nullptr;
  long n = 0;
  cpi_qry_get_result(r, 0, 0, &n, &objects);
  EXPECT_EQ(cpi_qry_field_apply(nullptr, nullptr, on_field, &fields), CPI_ALRT_BAD_PARAM);
  EXPECT_EQ(top_text(), "Parameter number '1', 'object' is invalid.\n");
  ASSERT_EQ(cpi_qry_field_apply(objects[0], nullptr, on_field, &fields), 0);
  EXPECT_EQ(fields.seen, std::vector<std::string>{"-1.-1 name=south"});
  EXPECT_EQ(cpi_qry_free_results(r), 0);
}

}  // namespace
