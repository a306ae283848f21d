// Create: stored objects found by value or created, numbers generated,
// objects related (also to ancestors' objects), children created, the
// new keys written back; a failure commits nothing.
#include <algorithm>

#include "conn_crm.h"

namespace {

using conn_create_test = conn_crm_test;

bool has_log(const std::vector<std::string>& logs, const std::string& text) {
  return std::find(logs.begin(), logs.end(), text) != logs.end();
}

TEST_F(conn_create_test, a_new_site_with_address_and_contact_is_stored_and_keyed) {
  auto bo = request("Orbisan_Site", "Create",
                    {{"Name", "Acme"}, {"AddrLine", "2 High St"}, {"City", "York"}});
  BusinessObject* contact = add_child(*bo, "Contacts", {{"First", "Ann"}, {"Last", "Lee"}});
  BusinessObject* note = add_child(*contact, "Note", {{"Text", "call back"}});
  EXPECT_EQ(run(*bo), 1);

  EXPECT_EQ(text(*bo, "SiteID"), "S-0001");
  std::vector<long> sites = cpi_double::find("site", "site_id", "S-0001");
  ASSERT_EQ(sites.size(), 1u);
  EXPECT_EQ(cpi_double::field(sites[0], "name"), "Acme");
  std::vector<long> addrs = cpi_double::related_to(sites[0], "site2address");
  ASSERT_EQ(addrs.size(), 1u);
  EXPECT_EQ(cpi_double::field(addrs[0], "address"), "2 High St");
  EXPECT_EQ(cpi_double::field(addrs[0], "city"), "York");
  std::vector<long> contacts = cpi_double::related_to(sites[0], "site2contact");
  ASSERT_EQ(contacts.size(), 1u);
  EXPECT_EQ(cpi_double::field(contacts[0], "first_name"), "Ann");
  std::vector<long> notes = cpi_double::related_to(contacts[0], "contact2note");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(cpi_double::field(notes[0], "text"), "call back");
  // The keys of the new objects are written back into the children.
  EXPECT_EQ(text(*contact, "ContactId"), std::to_string(contacts[0]));
  EXPECT_EQ(text(*note, "NoteId"), std::to_string(notes[0]));
  EXPECT_EQ(cpi_double::commits(), 1);
  expect_clean(*bo);
}

TEST_F(conn_create_test, stored_objects_are_found_by_value_and_related_not_created) {
  KlProperties::set("AgentTraceLevel", "5");
  long site = store_site("S-0100", "Old", {"Bob"});
  long bob = cpi_double::related_to(site, "site2contact")[0];
  auto bo = request("Orbisan_Site", "Create",
                    {{"SiteID", "S-0100"}, {"Name", "New"}, {"AddrLine", "9 Low Rd"}});
  BusinessObject* known = add_child(*bo, "Contacts", {{"ContactId", std::to_string(bob).c_str()}});
  EXPECT_EQ(run(*bo), 1);
  EXPECT_EQ(cpi_double::rows("site").size(), 1u);
  EXPECT_EQ(cpi_double::field(site, "name"), "Old");  // found, not written
  EXPECT_EQ(cpi_double::rows("contact").size(), 1u);
  EXPECT_EQ(text(*known, "First"), "<ignore>");  // Create fills only keys
  std::vector<long> addrs = cpi_double::related_to(site, "site2address");
  ASSERT_EQ(addrs.size(), 2u);
  EXPECT_EQ(cpi_double::field(addrs[1], "address"), "9 Low Rd");
  EXPECT_EQ(cpi_double::count_of("cpi_rel_fromid(" + std::to_string(site)), 1);
  EXPECT_EQ(cpi_double::count_of("cpi_rel_ids(" + std::to_string(site)), 1);
  EXPECT_EQ(cpi_double::count_of("cpi_utl_num_gen"), 0);
  // 22101 for the top-level object only.
  std::vector<std::string> t = traces();
  EXPECT_EQ(std::count(t.begin(), t.end(), "5 22101: Orbisan_Site"), 1);
  expect_clean(*bo);
}

TEST_F(conn_create_test, an_objid_value_beginning_with_a_letter_is_cleared_and_created) {
  struct objid_case {
    const char* value;
    bool looked_up;
  };
  const objid_case cases[] = {{"abc", false}, {"x1", false}, {"42", true}, {"-7", true}};
  for (const objid_case& c : cases) {
    SCOPED_TRACE(c.value);
    auto bo = request("Orbisan_Site", "Create", {{"SiteID", "S-0500"}});
    BusinessObject* contact = add_child(*bo, "Contacts", {{"ContactId", c.value}});
    int before = cpi_double::count_of("cpi_qry_traverse_map");
    EXPECT_EQ(run(*bo), 1);
    std::vector<long> sites = cpi_double::find("site", "site_id", "S-0500");
    std::vector<long> contacts = cpi_double::related_to(sites.back(), "site2contact");
    ASSERT_EQ(contacts.size(), 1u);
    // A key that was given stays; a cleared one gets the new object's id.
    EXPECT_EQ(text(*contact, "ContactId"), c.looked_up ? c.value : std::to_string(contacts[0]));
    // site, address... lookups: the contact's lookup runs only for a number.
    int contact_queries = 0;
    std::vector<std::string> q = cpi_double::calls_of("cpi_qry_traverse_map");
    for (size_t k = static_cast<size_t>(before); k < q.size(); ++k)
      if (q[k].find(";contact ") != std::string::npos) ++contact_queries;
    EXPECT_EQ(contact_queries, c.looked_up ? 1 : 0);
    cpi_double::store_remove(sites.back());
  }
}

TEST_F(conn_create_test, number_generation) {
  conn_define("T_Gen", "",
              {{"Code", "SchemeName=Site ID|site:site_id"},
               {"Name", "SchemeName=Site ID|site:name"},
               {"Tail", "x"}});
  struct gen_case {
    const char* code;
    const char* use_id;
    const char* expect_code;
    int generated;
  };
  const gen_case cases[] = {
      {nullptr, "", "S-0001", 1},         // only the first marked attribute
      {"C-9", "", "C-9", 0},              // a value is kept
      {nullptr, "FALSE", "<ignore>", 0},  // number generation off
  };
  for (const gen_case& c : cases) {
    SCOPED_TRACE(c.use_id);
    cpi_double::scheme("Site ID", "S-", 1, 4);
    globals->terminate();
    delete globals;
    globals = new OrbisanGlobals();
    JToCPPVeneer::theAppGlobPtr = globals;
    KlProperties::set("UseOrbisanID", c.use_id);
    ASSERT_EQ(globals->init(nullptr), 0);
    int calls = cpi_double::count_of("cpi_utl_num_gen");
    auto bo = request("T_Gen", "Create", {{"Name", "n"}});
    if (c.code) bo->setAttrValue("Code", const_cast<char*>(c.code), BOAttrType::STRING);
    EXPECT_EQ(run(*bo), 1);
    EXPECT_EQ(text(*bo, "Code"), c.expect_code);
    EXPECT_EQ(text(*bo, "Name"), "n");
    EXPECT_EQ(cpi_double::count_of("cpi_utl_num_gen") - calls, c.generated);
  }
}

TEST_F(conn_create_test, a_failing_scheme_fails_the_request_and_commits_nothing) {
  struct scheme_case {
    const char* prefix;  // null: the scheme is unknown
  };
  const std::string long_prefix(46, 'P');  // with four digits, 50 characters
  const scheme_case cases[] = {{nullptr}, {long_prefix.c_str()}};
  for (const scheme_case& c : cases) {
    SCOPED_TRACE(c.prefix ? "too long" : "unknown");
    cpi_double::define("site", {{"site_id", 't'}, {"name", 't'}});
    if (c.prefix)
      cpi_double::scheme("Site ID", c.prefix, 1, 4);
    else
      cpi_double::scheme("Other", "O-", 1);
    if (!c.prefix) conn_define("T_Nope", "", {{"Code", "SchemeName=Nope|site:site_id"}, {"T", "x"}});
    KlJournal::clear();
    auto bo = request(c.prefix ? "Orbisan_Site" : "T_Nope", "Create", {});
    EXPECT_EQ(run(*bo), -1);
    EXPECT_TRUE(has_log(logs(), std::string("2 22100: ") + (c.prefix ? "Site ID" : "Nope")));
    EXPECT_TRUE(cpi_double::rows("site").empty());
    EXPECT_EQ(cpi_double::commits(), 0);
    expect_clean(*bo);
  }
}

TEST_F(conn_create_test, a_foreign_key_without_object) {
  conn_define("T_Addr", "",
              {{"Line", "address:address:site2address::1:SiteRef"},
               {"SiteRef", "site:site_id:site2contact::0", BOAttrType::FOREIGN_KEY},
               {"Tail", "x"}});
  // Not required and not given: left alone, the address is still created.
  auto bo = request("T_Addr", "Create", {{"Line", "5 Side St"}});
  EXPECT_EQ(run(*bo), 1);
  EXPECT_EQ(cpi_double::rows("address").size(), 1u);
  EXPECT_TRUE(cpi_double::rows("site").empty());
  // Given but not stored: 22056 and nothing committed.
  auto bad = request("T_Addr", "Create", {{"Line", "6 Side St"}, {"SiteRef", "S-404"}});
  EXPECT_EQ(run(*bad), -1);
  EXPECT_TRUE(has_log(logs(), "2 22056: SiteRef; T_Addr"));
  EXPECT_EQ(cpi_double::rows("address").size(), 1u);
  EXPECT_EQ(cpi_double::commits(), 1);
  expect_clean(*bad);
}

struct relate_case {
  const char* refs;
  const char* relations;
  std::vector<const char*> related;  // "contact", "site" as from ends of the note
  std::vector<const char*> logged;
};

TEST_F(conn_create_test, ancestor_references_and_uneven_lists) {
  cpi_double::relation("site", "site2note", "note");
  const relate_case cases[] = {
      {"..ContactId", "contact2note", {"contact"}, {}},
      {"..ContactId,...SiteID", "contact2note,site2note", {"contact", "site"}, {}},
      {"...SiteID,..ContactId,..First", "site2note,contact2note", {"site", "contact"}, {}},
      {"..Nope,...SiteID", "contact2note,site2note", {"site"}, {"2 22019: Nope"}},
      {"....SiteID,..ContactId", "site2note,contact2note", {"contact"}, {"2 22018"}},
  };
  for (const relate_case& c : cases) {
    SCOPED_TRACE(c.refs);
    std::string app = std::string("note:objid:") + c.relations + ":1:0:" + c.refs;
    conn_define("Orbisan_Note", "",
                {{"NoteId", app.c_str(), BOAttrType::KEY}, {"Text", "note:text"}, {"Tail", "x"}});
    KlJournal::clear();
    auto bo = request("Orbisan_Site", "Create", {{"Name", "Acme"}});
    BusinessObject* contact = add_child(*bo, "Contacts", {{"First", "Ann"}});
    BusinessObject* note = add_child(*contact, "Note", {{"Text", "hi"}});
    EXPECT_EQ(run(*bo), 1);
    long note_id = std::stol(text(*note, "NoteId"));
    long contact_id = std::stol(text(*contact, "ContactId"));
    long site_id = cpi_double::find("site", "site_id", text(*bo, "SiteID"))[0];
    std::vector<const char*> related;
    if (cpi_double::related(contact_id, "contact2note", note_id)) related.push_back("contact");
    if (cpi_double::related(site_id, "site2note", note_id)) related.push_back("site");
    std::vector<const char*> expected = c.related;
    std::sort(expected.begin(), expected.end());
    std::sort(related.begin(), related.end());
    EXPECT_EQ(std::vector<std::string>(related.begin(), related.end()),
              std::vector<std::string>(expected.begin(), expected.end()));
    for (const char* l : c.logged) {
      bool found = false;
      for (const std::string& line : logs()) found = found || line.rfind(l, 0) == 0;
      EXPECT_TRUE(found) << l;
    }
  }
}

TEST_F(conn_create_test, a_refused_relate_fails_the_request_and_commits_nothing) {
  conn_define("T_Bad", "",
              {{"Name", "site:name"},
               {"AddrLine", "address:address:no_such_rel::0:Name"},
               {"Tail", "x"}});
  auto bo = request("T_Bad", "Create", {{"Name", "Acme"}, {"AddrLine", "1 A St"}});
  EXPECT_EQ(run(*bo), -1);
  EXPECT_TRUE(has_log(logs(), "2 22020: site; address; no_such_rel"));
  EXPECT_TRUE(cpi_double::rows("site").empty());
  EXPECT_TRUE(cpi_double::rows("address").empty());
  EXPECT_EQ(cpi_double::commits(), 0);
  expect_clean(*bo);
}

}  // namespace

namespace {

TEST_F(conn_create_test, a_new_site_relates_a_stored_contact_by_its_id) {
  long ann = cpi_double::insert("contact", {{"first_name", "Ann"}});
  auto bo = request("Orbisan_Site", "Create", {{"Name", "Acme"}});
  add_child(*bo, "Contacts", {{"ContactId", std::to_string(ann).c_str()}});
  EXPECT_EQ(run(*bo), 1);
  // From a handle made in the state to a stored object's id.
  EXPECT_EQ(cpi_double::calls_of("cpi_rel_toid"),
            std::vector<std::string>{"cpi_rel_toid(site," + std::to_string(ann) + ",site2contact,1)"});
  long site = cpi_double::find("site", "name", "Acme")[0];
  EXPECT_TRUE(cpi_double::related(site, "site2contact", ann));
  EXPECT_EQ(cpi_double::rows("contact").size(), 1u);
  expect_clean(*bo);
}

}  // namespace

namespace {

// A decimal field takes a decimal record made from the attribute's text,
// whatever the attribute's type code says; a text too long for the record
// fails the request and writes nothing.
TEST_F(conn_create_test, decimal_fields_get_decimal_records) {
  cpi_double::define("order", {{"amount", 'm'}, {"code", 't'}});
  conn_define("Orbisan_Order", "",
              {{"OrderId", "order:objid", BOAttrType::KEY},
               {"Amount", "order:amount"},
               {"Tail", "x"}});
  conn_define("Orbisan_Order_Long", "",
              {{"OrderId", "order:objid", BOAttrType::KEY},
               {"Amount", "order:amount:::1"},
               {"Tail", "x"}});
  struct Case {
    const char* type;
    const char* amount;
    const char* stored;  // text (precision,scale); empty: refused
  } cases[] = {
      {"Orbisan_Order", "1234.50", "1234.50 (6,2)"},
      {"Orbisan_Order", "-0.125", "-0.125 (4,3)"},
      {"Orbisan_Order", "1.234,5", "1.234,5 (5,1)"},
      {"Orbisan_Order", "17", "17 (2,0)"},
      {"Orbisan_Order_Long", "12.75", "12.75 (4,2)"},
      {"Orbisan_Order", "12345678901234567890123456789012345678901.50", ""},
  };
  const std::string set_amount = "cpi_obj_set_field(order.amount";
  for (const Case& c : cases) {
    size_t before = cpi_double::calls_of(set_amount).size();
    auto bo = request(c.type, "Create", {{"Amount", c.amount}});
    int result = run(*bo);
    std::vector<std::string> sets = cpi_double::calls_of(set_amount);
    sets.erase(sets.begin(), sets.begin() + static_cast<long>(before));
    if (*c.stored) {
      EXPECT_EQ(result, 1) << c.amount;
      EXPECT_EQ(sets, std::vector<std::string>{std::string("cpi_obj_set_field(order.amount=") + c.stored + ")"})
          << c.amount;
    } else {
      EXPECT_EQ(result, -1) << c.amount;
      EXPECT_TRUE(sets.empty()) << c.amount;
      EXPECT_TRUE(has_log(logs(), "5 22035: amount; 1048677")) << c.amount;
    }
    expect_clean(*bo);
  }
  EXPECT_EQ(cpi_double::rows("order").size(), 5u);
}

}  // namespace
