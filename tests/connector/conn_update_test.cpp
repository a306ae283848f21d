// Update, "Delete" and "CASE_CLOSED": the stored children lose their
// relations to the object unless the request carries them again; fields
// are written; a missing object fails or becomes a Create.
#include <algorithm>
#include <cstring>

#include "conn_crm.h"

namespace {

class conn_update_test : public conn_crm_test {
 protected:
  void SetUp() override {
    conn_crm_test::SetUp();
    KlProperties::set("AgentTraceLevel", "1");
    site = store_site("S-1", "Acme", {"Ann", "Bob"}, true);
    std::vector<long> c = cpi_double::related_to(site, "site2contact");
    ann = c[0];
    bob = c[1];
    addr = cpi_double::related_to(site, "site2address")[0];
  }
  bool logged(const std::string& prefix) const {
    for (const std::string& l : logs())
      if (l.rfind(prefix, 0) == 0) return true;
    return false;
  }
  void restart_with(const char* prop, const char* value) {
    KlProperties::set(prop, value);
    globals->terminate();
    delete globals;
    globals = new OrbisanGlobals();
    JToCPPVeneer::theAppGlobPtr = globals;
    ASSERT_EQ(globals->init(nullptr), 0);
  }
  // An update of S-1 carrying Ann (renamed) as its one contact.
  std::unique_ptr<BusinessObject> update_request(const char* verb) {
    auto bo = request("Orbisan_Site", verb, {{"SiteID", "S-1"}, {"Name", "New"}, {"AddrLine", "7 New Rd"}});
    add_child(*bo, "Contacts", {{"ContactId", std::to_string(ann).c_str()}, {"First", "Anna"}});
    return bo;
  }
  long site = 0, ann = 0, bob = 0, addr = 0;
};

TEST_F(conn_update_test, update_delete_and_case_closed_write_and_delete_nothing) {
  for (const char* verb : {"Update", "Delete", "CASE_CLOSED"}) {
    SCOPED_TRACE(verb);
    cpi_double::store_set(site, "name", "Acme");
    cpi_double::relate(site, "site2contact", ann);
    cpi_double::relate(site, "site2contact", bob);
    auto bo = update_request(verb);
    EXPECT_EQ(run(*bo), 1);
    EXPECT_EQ(cpi_double::field(site, "name"), "New");
    EXPECT_EQ(cpi_double::field(addr, "address"), "7 New Rd");
    EXPECT_EQ(cpi_double::field(ann, "first_name"), "Anna");
    // The carried contact stays related, the other loses its relation; no
    // row is deleted.
    // A child of a "Delete" is left alone: it is not related again.
    EXPECT_EQ(cpi_double::related(site, "site2contact", ann), strcmp(verb, "Delete") != 0);
    EXPECT_FALSE(cpi_double::related(site, "site2contact", bob));
    EXPECT_TRUE(cpi_double::related(site, "site2address", addr));
    EXPECT_TRUE(cpi_double::exists(bob));
    EXPECT_EQ(cpi_double::rows("contact").size(), 2u);
    EXPECT_EQ(cpi_double::count_of("cpi_obj_delete"), 0);
    expect_clean(*bo);
  }
}

TEST_F(conn_update_test, nested_levels_keep_their_relations) {
  long bob_note = cpi_double::related_to(bob, "contact2note")[0];
  auto bo = update_request("Update");
  EXPECT_EQ(run(*bo), 1);
  // Bob lost his site, but the walk did not reach below the site's children.
  EXPECT_FALSE(cpi_double::related(site, "site2contact", bob));
  EXPECT_TRUE(cpi_double::related(bob, "contact2note", bob_note));
  expect_clean(*bo);
}

TEST_F(conn_update_test, keeprelations_keeps_the_stored_children) {
  struct keep_case {
    const char* text;
    bool bob_kept;
  };
  const keep_case cases[] = {{"keeprelations", true}, {"KeepRelations:x", true}, {"", false},
                             {"keep", false}};
  for (const keep_case& c : cases) {
    SCOPED_TRACE(c.text);
    conn_define("Orbisan_Site", "",
                {{"SiteID", "site:site_id", BOAttrType::KEY},
                 {"Name", "site:name"},
                 {"Contacts", c.text, BOAttrType::MULTIPLE, "Orbisan_Contact"},
                 {"Tail", "x"}});
    cpi_double::relate(site, "site2contact", bob);
    auto bo = request("Orbisan_Site", "Update", {{"SiteID", "S-1"}});
    add_child(*bo, "Contacts", {{"ContactId", std::to_string(ann).c_str()}});
    EXPECT_EQ(run(*bo), 1);
    EXPECT_EQ(cpi_double::related(site, "site2contact", bob), c.bob_kept);
    EXPECT_TRUE(cpi_double::related(site, "site2contact", ann));
    expect_clean(*bo);
  }
}

TEST_F(conn_update_test, a_missing_object_fails_or_becomes_a_create) {
  struct missing_case {
    const char* fail_on_update;
    int result;
    size_t sites;
  };
  const missing_case cases[] = {{"", -1, 1}, {"false", 1, 2}};
  for (const missing_case& c : cases) {
    SCOPED_TRACE(c.fail_on_update);
    restart_with("FailOnUpdate", c.fail_on_update);
    KlJournal::clear();
    auto bo = request("Orbisan_Site", "Update", {{"SiteID", "S-9"}, {"Name", "Nine"}});
    EXPECT_EQ(run(*bo), c.result);
    EXPECT_EQ(cpi_double::rows("site").size(), c.sites);
    EXPECT_EQ(logged("2 22116"), c.result == -1);
    if (c.result == 1) {
      std::vector<long> nine = cpi_double::find("site", "site_id", "S-9");
      ASSERT_EQ(nine.size(), 1u);
      EXPECT_EQ(cpi_double::field(nine[0], "name"), "Nine");
      EXPECT_STREQ(bo->getVerb(), "Create");
    }
    expect_clean(*bo);
  }
}

TEST_F(conn_update_test, kz_missing_id_turns_the_update_into_a_create) {
  auto bo = request("Orbisan_Site", "Update", {{"SiteID", "KzMissingId"}, {"Name", "Fresh"}});
  EXPECT_EQ(run(*bo), 1);
  EXPECT_TRUE(logged("-1 Warning: <KzMissingId> key value for Update. Converting verb to Create.\n"));
  EXPECT_EQ(cpi_double::find("site", "name", "Fresh").size(), 1u);
  EXPECT_EQ(cpi_double::field(site, "name"), "Acme");
  expect_clean(*bo);
}

TEST_F(conn_update_test, two_matches_update_the_first_with_a_warning) {
  long twin = cpi_double::insert("site", {{"site_id", "S-1"}, {"name", "Twin"}});
  auto bo = request("Orbisan_Site", "Update", {{"SiteID", "S-1"}, {"Name", "New"}});
  EXPECT_EQ(run(*bo), 1);
  EXPECT_EQ(cpi_double::field(site, "name"), "New");
  EXPECT_EQ(cpi_double::field(twin, "name"), "Twin");
  std::vector<std::string> t = traces();
  EXPECT_NE(std::find(t.begin(), t.end(), "1 22034: site; S-1"), t.end());
  expect_clean(*bo);
}

TEST_F(conn_update_test, partial_commits_the_removed_relations_before_a_failure) {
  struct partial_case {
    const char* bo_text;
    bool relations_removed;
  };
  const partial_case cases[] = {{"Transactionality=Partial", true}, {"", false}};
  for (const partial_case& c : cases) {
    SCOPED_TRACE(c.bo_text);
    BusObjSpec::find("Orbisan_Site")->setAppText(c.bo_text);
    cpi_double::relate(site, "site2contact", bob);
    long commits = cpi_double::commits();
    auto bo = update_request("Update");
    cpi_double::fail("cpi_obj_set_field", 0x2c00018);
    EXPECT_EQ(run(*bo), -1);
    EXPECT_TRUE(logged("2 22103: site"));
    EXPECT_EQ(cpi_double::field(site, "name"), "Acme");
    EXPECT_EQ(cpi_double::related(site, "site2contact", bob), !c.relations_removed);
    EXPECT_EQ(cpi_double::commits() - commits, c.relations_removed ? 1 : 0);
    expect_clean(*bo);
  }
}

TEST_F(conn_update_test, a_refused_unrelate_fails_the_request_and_commits_nothing) {
  KlProperties::set("AgentTraceLevel", "4");
  auto bo = update_request("Update");
  cpi_double::fail("cpi_rel_ids", 0x2c0001e);
  EXPECT_EQ(run(*bo), -1);
  std::vector<std::string> t = traces();
  EXPECT_NE(std::find(t.begin(), t.end(), "4 22026: site2address"), t.end());
  EXPECT_TRUE(cpi_double::related(site, "site2contact", bob));
  EXPECT_TRUE(cpi_double::related(site, "site2address", addr));
  EXPECT_EQ(cpi_double::field(site, "name"), "Acme");
  EXPECT_EQ(cpi_double::commits(), 0);
  expect_clean(*bo);
}

TEST_F(conn_update_test, a_site_update_walks_exactly_the_addresses_it_carries) {
  conn_define("Orbisan_Address", "",
              {{"AddrId", "address:objid:site2address:1:0:..SiteID", BOAttrType::KEY},
               {"AddressRoleType", "address:role"},
               {"Line", "address:address"},
               {"Tail", "x"}});
  conn_define("Orbisan_Site", "",
              {{"SiteID", "site:site_id", BOAttrType::KEY},
               {"Name", "site:name"},
               {"Orbisan_Address", "", BOAttrType::MULTIPLE, "Orbisan_Address"},
               {"Tail", "x"}});
  cpi_double::store_set(addr, "role", "Bill");
  long ship = cpi_double::insert("address", {{"address", "2 Dock"}, {"role", "Ship"}});
  long home = cpi_double::insert("address", {{"address", "3 Home"}, {"role", "Home"}});
  cpi_double::relate(site, "site2address", ship);
  cpi_double::relate(site, "site2address", home);
  auto bo = request("Orbisan_Site", "Update", {{"SiteID", "S-1"}});
  add_child(*bo, "Orbisan_Address",
            {{"AddrId", std::to_string(addr).c_str()}, {"AddressRoleType", "Bill"}});
  add_child(*bo, "Orbisan_Address",
            {{"AddrId", std::to_string(ship).c_str()}, {"AddressRoleType", "Ship"}, {"Line", "2 Quay"}});
  EXPECT_EQ(run(*bo), 1);
  // One walk per carried address, before the update's own queries.
  std::vector<std::string> q = cpi_double::calls_of("cpi_qry_traverse_map");
  int walks = 0;
  for (const std::string& line : q)
    if (line.find(";address kind=2 flag=1 rel=site2address parent=0") != std::string::npos) ++walks;
  EXPECT_EQ(walks, 2);
  EXPECT_TRUE(cpi_double::related(site, "site2address", addr));
  EXPECT_TRUE(cpi_double::related(site, "site2address", ship));
  EXPECT_FALSE(cpi_double::related(site, "site2address", home));
  EXPECT_EQ(cpi_double::field(ship, "address"), "2 Quay");
  EXPECT_EQ(cpi_double::field(ship, "role"), "Ship");
  expect_clean(*bo);
}

}  // namespace
