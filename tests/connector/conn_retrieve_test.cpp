// The retrieve family: Retrieve and "Exist" by key, RetrieveAll with every
// stored child, RetrieveByContent through a view; missing keys and missing
// children.
#include <algorithm>
#include <cstring>

#include "conn_crm.h"

namespace {

class conn_retrieve_test : public conn_crm_test {
 protected:
  void SetUp() override {
    conn_crm_test::SetUp();
    KlProperties::set("AgentTraceLevel", "1");
  }
  bool logged(const std::string& prefix) const {
    for (const std::string& l : logs())
      if (l.rfind(prefix, 0) == 0) return true;
    return false;
  }
  bool traced(const std::string& prefix) const {
    for (const std::string& l : traces())
      if (l.rfind(prefix, 0) == 0) return true;
    return false;
  }
  // Restarts the connector so that the handler reads its properties again.
  void restart() {
    globals->terminate();
    delete globals;
    globals = new OrbisanGlobals();
    JToCPPVeneer::theAppGlobPtr = globals;
    ASSERT_EQ(globals->init(nullptr), 0);
  }
};

TEST_F(conn_retrieve_test, exist_fills_a_stored_object_and_fails_on_a_missing_one) {
  store_site("S-1", "Acme", {"Ann"});
  for (const char* verb : {"Exist", "Retrieve"}) {
    SCOPED_TRACE(verb);
    auto bo = request("Orbisan_Site", verb, {{"SiteID", "S-1"}});
    BusinessObject* child = add_child(*bo, "Contacts", {});
    child->setAppVerb("Retrieve");
    EXPECT_EQ(run(*bo), 1);
    // A top-level Retrieve answers without the children it carried; "Exist"
    // keeps them and runs their own verbs.
    void* held = bo->getAttrValue("Contacts");
    if (strcmp(verb, "Retrieve") == 0) {
      EXPECT_TRUE(BusinessObject::isIgnoreValue(held));
    } else {
      ASSERT_FALSE(BusinessObject::isIgnoreValue(held));
      EXPECT_EQ(text(*static_cast<BusObjContainer*>(held)->getObject(0), "First"), "Ann");
    }
    EXPECT_EQ(text(*bo, "Name"), "Acme");
    EXPECT_EQ(text(*bo, "AddrLine"), "1 Main St");
    EXPECT_EQ(text(*bo, "City"), "Leeds");
    expect_clean(*bo);
  }
  KlJournal::clear();
  auto missing = request("Orbisan_Site", "Exist", {{"SiteID", "S-2"}});
  EXPECT_EQ(run(*missing), -1);
  EXPECT_TRUE(traced("1 22028"));
  EXPECT_EQ(text(*missing, "Name"), "<ignore>");
  EXPECT_EQ(cpi_double::count_of("cpi_state_commit"), 0);
  expect_clean(*missing);
}

TEST_F(conn_retrieve_test, kz_missing_id) {
  store_site("S-1", "Acme", {"Ann"});
  struct missing_case {
    const char* ignore_missing;  // "IgnoreMissingChildObject"
    bool on_child;
    int result;
  };
  const missing_case cases[] = {{"", true, 1}, {"false", true, -1}, {"", false, -1}};
  for (const missing_case& c : cases) {
    SCOPED_TRACE(std::string(c.ignore_missing) + (c.on_child ? " child" : " top"));
    KlProperties::set("IgnoreMissingChildObject", c.ignore_missing);
    restart();
    KlJournal::clear();
    int before = cpi_double::count_of("cpi_qry_traverse_map");
    auto bo = request("Orbisan_Site", "Exist", {{"SiteID", c.on_child ? "S-1" : "KzMissingId"}});
    BusinessObject* child = add_child(*bo, "Contacts", {{"ContactId", "KzMissingId"}});
    child->setAppVerb("Retrieve");
    EXPECT_EQ(run(*bo), c.result);
    if (c.on_child) {
      EXPECT_STREQ(handler()->msgBuf, "Error: <KzMissingId> key value for Retrieve.\n");
      EXPECT_EQ(text(*child, "First"), "<ignore>");
    } else {
      EXPECT_TRUE(logged("2 20024: Retrieve"));
      EXPECT_EQ(cpi_double::count_of("cpi_qry_traverse_map"), before);
    }
    expect_clean(*bo);
  }
}

TEST_F(conn_retrieve_test, multi_key_retrieve_uses_every_key_of_the_first_table) {
  store_site("S-1", "Acme", {});
  store_site("S-1", "Other", {});
  conn_define("T_MK", "",
              {{"SiteID", "site:site_id", BOAttrType::KEY},
               {"Name", "site:name", BOAttrType::KEY},
               {"City", "address:city", BOAttrType::KEY},
               {"Type", "site:site_type"},
               {"Tail", "x"}});
  struct mk_case {
    const char* bo_text;
    const char* site_id;
    int result;
    const char* conditions;  // as the double records them; null: no query
  };
  const mk_case cases[] = {
      {"", "S-1", 1, "site_id=S-1)"},
      {"MultiKeyRetrieve=True", "S-1", 1, "site_id=S-1 name=Other)"},
      {"x:multikeyretrieve=true", "S-1", 1, "site_id=S-1 name=Other)"},
      // Without a value on attribute 0 no query runs, with or without the option.
      {"", nullptr, -1, nullptr},
      {"MultiKeyRetrieve=True", nullptr, -1, nullptr},
  };
  for (const mk_case& c : cases) {
    SCOPED_TRACE(std::string(c.bo_text) + (c.site_id ? "" : " no key"));
    BusObjSpec::find("T_MK")->setAppText(c.bo_text);
    cpi_double::reset();
    cpi_double::define("site", {{"site_id", 't'}, {"name", 't'}, {"site_type", 't'}});
    cpi_double::insert("site", {{"site_id", "S-1"}, {"name", "Acme"}, {"site_type", "a"}});
    cpi_double::insert("site", {{"site_id", "S-1"}, {"name", "Other"}, {"site_type", "b"}});
    ASSERT_EQ(globals->login(), 0);
    KlJournal::clear();
    auto bo = request("T_MK", "Retrieve", {{"Name", "Other"}, {"City", "York"}});
    if (c.site_id) bo->setAttrValue("SiteID", const_cast<char*>(c.site_id), BOAttrType::STRING);
    EXPECT_EQ(run(*bo), c.result);
    std::vector<std::string> q = cpi_double::calls_of("cpi_qry_traverse_map");
    if (c.conditions) {
      ASSERT_EQ(q.size(), 1u);
      EXPECT_NE(q[0].find(std::string(";site kind=4 flag=1 ") + c.conditions), std::string::npos)
          << q[0];
      EXPECT_EQ(text(*bo, "Type"), c.bo_text[0] ? "b" : "a");
    } else {
      EXPECT_TRUE(q.empty());
      EXPECT_TRUE(logged("2 20024: Retrieve"));
    }
    expect_clean(*bo);
  }
}

TEST_F(conn_retrieve_test, retrieve_all_yields_every_stored_child_in_order) {
  long site = store_site("S-1", "Acme", {"Ann", "Bob", "Cy"}, true);
  auto bo = request("Orbisan_Site", "RetrieveAll", {{"SiteID", "S-1"}});
  EXPECT_EQ(run(*bo), 1);
  auto* contacts = static_cast<BusObjContainer*>(bo->getAttrValue("Contacts"));
  ASSERT_FALSE(BusinessObject::isIgnoreValue(contacts));
  ASSERT_EQ(contacts->getObjectCount(), 3);
  std::vector<long> ids = cpi_double::related_to(site, "site2contact");
  const char* names[] = {"Ann", "Bob", "Cy"};
  for (int k = 0; k < 3; ++k) {
    BusinessObject* c = contacts->getObject(k);
    EXPECT_EQ(text(*c, "First"), names[k]);
    EXPECT_EQ(text(*c, "ContactId"), std::to_string(ids[static_cast<size_t>(k)]));
    EXPECT_EQ(c->getParent(), bo.get());
    auto* note = static_cast<BusinessObject*>(c->getAttrValue("Note"));
    ASSERT_FALSE(BusinessObject::isIgnoreValue(note));
    EXPECT_EQ(text(*note, "Text"), std::string("about ") + names[k]);
  }
  expect_clean(*bo);
}

TEST_F(conn_retrieve_test, retrieve_all_drops_children_that_are_not_stored) {
  store_site("S-1", "Acme", {"Ann"});  // Ann has no note
  store_site("S-2", "Bare", {});
  struct drop_case {
    const char* site;
    int contacts;  // -1: the attribute holds nothing
  };
  const drop_case cases[] = {{"S-1", 1}, {"S-2", -1}};
  for (const drop_case& c : cases) {
    SCOPED_TRACE(c.site);
    auto bo = request("Orbisan_Site", "RetrieveAll", {{"SiteID", c.site}});
    EXPECT_EQ(run(*bo), 1);
    void* held = bo->getAttrValue("Contacts");
    if (c.contacts < 0) {
      EXPECT_TRUE(BusinessObject::isIgnoreValue(held));
    } else {
      auto* contacts = static_cast<BusObjContainer*>(held);
      ASSERT_EQ(contacts->getObjectCount(), c.contacts);
      EXPECT_TRUE(BusinessObject::isIgnoreValue(contacts->getObject(0)->getAttrValue("Note")));
    }
    expect_clean(*bo);
  }
  // A missing top-level object is a failure.
  auto none = request("Orbisan_Site", "RetrieveAll", {{"SiteID", "S-9"}});
  EXPECT_EQ(run(*none), -1);
  expect_clean(*none);
}

TEST_F(conn_retrieve_test, a_child_without_key_is_found_through_its_ancestors_value) {
  conn_define("T_ByName", "",
              {{"Name", "site:name", BOAttrType::KEY},
               {"SiteID", "site:site_id"},
               {"Contacts", "", BOAttrType::MULTIPLE, "Orbisan_Contact"},
               {"Tail", "x"}});
  store_site("S-1", "Acme", {"Ann"});
  cpi_double::insert("site", {{"name", "Bare"}});  // no site_id
  struct ancestor_case {
    const char* name;
    const char* condition;
    const char* first;
  };
  const ancestor_case cases[] = {{"Acme", "site_id=S-1", "Ann"}, {"Bare", "site_id=0", "<ignore>"}};
  for (const ancestor_case& c : cases) {
    SCOPED_TRACE(c.name);
    int before = cpi_double::count_of("cpi_qry_traverse_map");
    auto bo = request("T_ByName", "Exist", {{"Name", c.name}});
    BusinessObject* child = add_child(*bo, "Contacts", {});
    child->setAppVerb("Retrieve");
    EXPECT_EQ(run(*bo), 1);
    std::vector<std::string> q = cpi_double::calls_of("cpi_qry_traverse_map");
    ASSERT_EQ(q.size(), static_cast<size_t>(before) + 2);
    EXPECT_NE(q.back().find(std::string(";site kind=4 flag=1 ") + c.condition +
                            ";contact kind=2 flag=1 rel=site2contact parent=0"),
              std::string::npos)
        << q.back();
    EXPECT_EQ(text(*child, "First"), c.first);
    expect_clean(*bo);
  }
}

TEST_F(conn_retrieve_test, a_child_without_key_and_without_reference_fails) {
  conn_define("T_Orphan", "", {{"Line", "address:address:site2address"}, {"Tail", "x"}});
  conn_define("T_Holder", "",
              {{"SiteID", "site:site_id", BOAttrType::KEY},
               {"Orphan", "", 0, "T_Orphan"},
               {"Tail", "x"}});
  store_site("S-1", "Acme", {});
  auto bo = request("T_Holder", "Exist", {{"SiteID", "S-1"}});
  add_child(*bo, "Orphan", {})->setAppVerb("Retrieve");
  EXPECT_EQ(run(*bo), -1);
  EXPECT_TRUE(logged("2 22017"));
  expect_clean(*bo);
}

class conn_content_test : public conn_retrieve_test {
 protected:
  void SetUp() override {
    conn_retrieve_test::SetUp();
    cpi_double::define("site_view", {{"site_name", 't'}, {"site_code", 't'}, {"city", 't'}});
    cpi_double::insert("site_view", {{"site_name", "Acme"}, {"site_code", "S-1"}, {"city", "Leeds"}});
    conn_define("T_RBC", "",
                {{"Name", "RBC=site_view:site_name|site:name"},
                 {"Code", "RBC=site_view:site_code|site:site_id"},
                 {"City", "RBC=site_view:city|address:city"},
                 {"Tail", "x"}});
  }
};

TEST_F(conn_content_test, retrieve_by_content_reads_the_views_first_match) {
  struct content_case {
    const char* name;
    int result;
    const char* code;
  };
  const content_case cases[] = {{"Acme", 1, "S-1"}, {"Nobody", 1, "<ignore>"}};
  for (const content_case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bo = request("T_RBC", "RetrieveByContent", {{"Name", c.name}});
    EXPECT_EQ(run(*bo), c.result);
    EXPECT_EQ(text(*bo, "Code"), c.code);
    EXPECT_EQ(text(*bo, "Name"), c.name);
    expect_clean(*bo);
  }
  // Without any by-content value no query runs.
  int before = cpi_double::count_of("cpi_qry_traverse_map");
  auto bo = request("T_RBC", "RetrieveByContent", {});
  EXPECT_EQ(run(*bo), -1);
  EXPECT_EQ(cpi_double::count_of("cpi_qry_traverse_map"), before);
  EXPECT_TRUE(logged("2 20024: RetrieveByContent"));
  expect_clean(*bo);
}

TEST_F(conn_content_test, a_subsequent_retrieve_follows_the_content_search) {
  conn_define("Orbisan_Site", "",
              {{"SiteID", "RBC=site_view:site_code|site:site_id", BOAttrType::KEY},
               {"Name", "RBC=site_view:site_name|site:name"},
               {"Contacts", "", BOAttrType::MULTIPLE, "Orbisan_Contact"},
               {"Tail", "x"}});
  BusObjSpec::find("Orbisan_Site")->setVerbAppText("RetrieveByContent", "SubsequentRetrieve=True");
  store_site("S-1", "Acme", {"Ann", "Bob"});
  auto bo = request("Orbisan_Site", "RetrieveByContent", {{"Name", "Acme"}});
  EXPECT_EQ(run(*bo), 1);
  EXPECT_EQ(text(*bo, "SiteID"), "S-1");
  auto* contacts = static_cast<BusObjContainer*>(bo->getAttrValue("Contacts"));
  ASSERT_FALSE(BusinessObject::isIgnoreValue(contacts));
  EXPECT_EQ(contacts->getObjectCount(), 2);
  expect_clean(*bo);
}

}  // namespace

namespace {

TEST_F(conn_retrieve_test, a_keyed_childs_parent_indexes_count_from_the_parents_level) {
  struct index_case {
    const char* parent_ind;
    int result;
    const char* line;
  };
  const index_case cases[] = {{"1", 1, "1 Main St"}, {"0", -1, "<ignore>"}};
  store_site("S-1", "Acme", {});
  for (const index_case& c : cases) {
    SCOPED_TRACE(c.parent_ind);
    std::string line_text = std::string("address:address:site2address::") + c.parent_ind;
    conn_define("T_Kid", "",
                {{"SiteID", "site:site_id", BOAttrType::KEY},
                 {"Line", line_text.c_str()},
                 {"Tail", "x"}});
    conn_define("T_Parent", "", {{"Name", "site:name", BOAttrType::KEY}, {"Kid", "", 0, "T_Kid"}, {"Tail", "x"}});
    KlJournal::clear();
    auto bo = request("T_Parent", "Exist", {{"Name", "Acme"}});
    BusinessObject* kid = add_child(*bo, "Kid", {{"SiteID", "S-1"}});
    kid->setAppVerb("Retrieve");
    EXPECT_EQ(run(*bo), c.result);
    EXPECT_EQ(text(*kid, "Line"), c.line);
    EXPECT_EQ(traced("1 22058: site2address; T_Kid"), c.result == -1);
    expect_clean(*bo);
  }
}

}  // namespace
