// The rule builder's property cache and the property lists offered for
// conditions, read from the CRM rig's type-294 objects.
#include <string>
#include <vector>

#include "client/com/com_rbld.h"
#include "client/crm_rig.h"

namespace {

constexpr long kSite = S_SITE;
constexpr long kWipbin = S_WIPBIN;

class com_rbld_props_test : public crm_test {
 protected:
  void SetUp() override {
    crm_test::SetUp();
    set_secure_flag(false);
    ASSERT_EQ(com_rbld_init(), 0);
    prop(1, "Priority", kSite, "x_priority", 0, 0);
    prop(2, "@Internal", kSite, "x_internal", 0, 0);
    prop(3, "Status", COM_ANY_TYPE, "status", 0, 0);
    prop(4, "Owner", kWipbin, "wipbin2user:login_name", 0, 1);
    prop(5, "Region", kSite, "region", COM_PROP_KIND_STARRED, 0);
    prop(6, "title", kWipbin, "title", 0, 0);
    prop(7, "Region", kWipbin, "wipbin2user:region", COM_PROP_KIND_STARRED, 0);
  }
  void TearDown() override {
    com_rbld_uncache_props();
    crm_test::TearDown();
  }
  static void prop(long number, const std::string& name, long type, const std::string& path, long kind, long rel) {
    row(S_PROP, number, {{1, name}, {2, type}, {3, path}, {4, kind}, {5, 1L}, {6, rel}, {7, name + "-default"}});
  }
  static std::string path_of(long type, const char* name) {
    const com_ty_prop* p = nullptr;
    EXPECT_EQ(com_rbld_map_property(type, name, &p), 0);
    return p != nullptr ? p->path : "(none)";
  }
};

TEST_F(com_rbld_props_test, TheCacheLeavesOutHiddenNamesUnlessAllAreAsked) {
  ASSERT_EQ(com_rbld_cache_props(false), 0);
  EXPECT_EQ(com_rbld_num_props(), 6);
  EXPECT_EQ(path_of(kSite, "@Internal"), "(none)");
  ASSERT_EQ(com_rbld_cache_props(true), 0);  // replaces the cache, no doubles
  EXPECT_EQ(com_rbld_num_props(), 7);
  EXPECT_EQ(path_of(kSite, "@internal"), "x_internal");
  com_rbld_uncache_props();
  EXPECT_EQ(com_rbld_num_props(), 0);
  EXPECT_EQ(path_of(kSite, "Priority"), "(none)");
}

TEST_F(com_rbld_props_test, APropertyIsFoundByTypeOrAnyTypeAndNameIgnoringCase) {
  ASSERT_EQ(com_rbld_cache_props(false), 0);
  const struct {
    long type;
    const char* name;
    const char* path;
  } rows[] = {{kSite, "PRIORITY", "x_priority"},    {kWipbin, "Priority", "(none)"},
              {kWipbin, "status", "status"},        {kSite, "Status", "status"},
              {kSite, "region", "region"},          {kWipbin, "Region", "wipbin2user:region"},
              {COM_ANY_TYPE, "owner", "wipbin2user:login_name"}, {kSite, "Owner", "(none)"},
              {kSite, "Prio", "(none)"}};
  for (const auto& r : rows) EXPECT_EQ(path_of(r.type, r.name), r.path) << r.type << " " << r.name;
  const com_ty_prop* p = nullptr;
  ASSERT_EQ(com_rbld_map_property(kWipbin, "Owner", &p), 0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->obj_type, kWipbin);
  EXPECT_EQ(p->is_relation, 1);
  EXPECT_EQ(p->value, "Owner-default");
}

TEST_F(com_rbld_props_test, OneTypeGetsItsOwnAndAnyTypePropertiesSortedAndMarked) {
  ASSERT_EQ(com_rbld_cache_props(false), 0);
  com_ty_prop_cols cols;
  ASSERT_EQ(com_rbld_get_properties({kWipbin}, &cols), 0);
  EXPECT_EQ(cols.names, (std::vector<std::string>{"[Owner]", "Region*", "Status", "title"}));
  EXPECT_EQ(cols.paths, (std::vector<std::string>{"wipbin2user:login_name", "wipbin2user:region", "status", "title"}));
  EXPECT_EQ(cols.kinds, (std::vector<long>{0, COM_PROP_KIND_STARRED, 0, 0}));
  EXPECT_EQ(cols.values[3], "title-default");
  ASSERT_EQ(cols.operators.size(), 4u);
  for (const auto& ops : cols.operators) {
    ASSERT_EQ(ops.size(), static_cast<size_t>(COM_NUM_OPERATORS));
    for (long code = 0; code < COM_NUM_OPERATORS; ++code) EXPECT_EQ(ops[code], com_rbld_cond_opname(code));
  }
}

TEST_F(com_rbld_props_test, SeveralTypesGetOnlyTheNamesTheyAllShare) {
  ASSERT_EQ(com_rbld_cache_props(false), 0);
  com_ty_prop_cols cols;
  ASSERT_EQ(com_rbld_get_properties({kSite, kWipbin}, &cols), 0);
  EXPECT_EQ(cols.names, (std::vector<std::string>{"Region*", "Status"}));
  EXPECT_EQ(cols.paths, (std::vector<std::string>{"region", "status"}));  // the first type's rows
  ASSERT_EQ(com_rbld_get_properties({kWipbin, kSite, kWipbin}, &cols), 0);
  EXPECT_EQ(cols.names, (std::vector<std::string>{"Region*", "Status"}));
  EXPECT_EQ(cols.paths, (std::vector<std::string>{"wipbin2user:region", "status"}));
  ASSERT_EQ(com_rbld_get_properties({}, &cols), 0);
  EXPECT_TRUE(cols.names.empty());
}

TEST_F(com_rbld_props_test, ListsMadeBeforeARecacheAreNotOfferedAfterIt) {
  ASSERT_EQ(com_rbld_cache_props(false), 0);
  com_ty_prop_cols cols;
  ASSERT_EQ(com_rbld_get_properties({kSite}, &cols), 0);
  EXPECT_EQ(cols.names, (std::vector<std::string>{"Priority", "Region*", "Status"}));
  prop(8, "Account", kSite, "x_account", 0, 0);
  ASSERT_EQ(com_rbld_get_properties({kSite}, &cols), 0);  // the type's lists are kept
  EXPECT_EQ(cols.names.size(), 3u);
  ASSERT_EQ(com_rbld_cache_props(false), 0);
  ASSERT_EQ(com_rbld_get_properties({kSite}, &cols), 0);
  EXPECT_EQ(cols.names, (std::vector<std::string>{"Account", "Priority", "Region*", "Status"}));
}

}  // namespace
