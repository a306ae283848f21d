#include "conn_crm.h"

void conn_crm_test::SetUp() {
  conn_test::SetUp();
  cpi_double::define("site", {{"site_id", 't'}, {"name", 't'}, {"site_type", 't'}});
  cpi_double::define("address", {{"address", 't'}, {"city", 't'}, {"role", 't'}});
  cpi_double::define("contact", {{"first_name", 't'}, {"last_name", 't'}, {"phone", 't'}});
  cpi_double::define("note", {{"text", 't'}});
  cpi_double::relation("site", "site2address", "address");
  cpi_double::relation("site", "site2contact", "contact");
  cpi_double::relation("contact", "contact2note", "note");
  cpi_double::scheme("Site ID", "S-", 1, 4);
  conn_define("Orbisan_Note", "",
              {{"NoteId", "note:objid:contact2note:1:0:..ContactId", BOAttrType::KEY},
               {"Text", "note:text"},
               {"Tail", "x"}});
  conn_define("Orbisan_Contact", "",
              {{"ContactId", "contact:objid:site2contact:1:0:..SiteID", BOAttrType::KEY},
               {"First", "contact:first_name"},
               {"Last", "contact:last_name"},
               {"Note", "", 0, "Orbisan_Note"},
               {"Tail", "x"}});
  conn_define("Orbisan_Site", "",
              {{"SiteID", "SchemeName=Site ID|site:site_id", BOAttrType::KEY},
               {"Name", "site:name"},
               {"AddrLine", "address:address:site2address::0:SiteID"},
               {"City", "address:city"},
               {"Contacts", "", BOAttrType::MULTIPLE, "Orbisan_Contact"},
               {"Tail", "x"}});
  KlProperties::set("PollFrequency", "no");
  ASSERT_EQ(globals->init(nullptr), 0);
}

std::unique_ptr<BusinessObject> conn_crm_test::request(
    const char* type, const char* verb,
    const std::vector<std::pair<const char*, const char*>>& values) {
  auto bo = std::make_unique<BusinessObject>(type);
  bo->setVerb(verb);
  for (auto& [name, value] : values)
    EXPECT_TRUE(bo->setAttrValue(name, const_cast<char*>(value), BOAttrType::STRING)) << name;
  return bo;
}

BusinessObject* conn_crm_test::add_child(
    BusinessObject& parent, const char* attr,
    const std::vector<std::pair<const char*, const char*>>& values) {
  BusinessObject* child = parent.makeNewAttrObject(attr);
  for (auto& [name, value] : values)
    EXPECT_TRUE(child->setAttrValue(name, const_cast<char*>(value), BOAttrType::STRING)) << name;
  EXPECT_TRUE(parent.setAttrValue(attr, child, BOAttrType::OBJECT));
  return child;
}

std::string conn_crm_test::text(BusinessObject& bo, const char* attr) {
  void* v = bo.getAttrValue(attr);
  if (!v || BusinessObject::isIgnoreValue(v)) return "<ignore>";
  return static_cast<const char*>(v);
}

long conn_crm_test::store_site(const char* site_id, const char* name,
                               const std::vector<const char*>& contacts, bool notes) {
  long site = cpi_double::insert("site", {{"site_id", site_id}, {"name", name}});
  long addr = cpi_double::insert("address", {{"address", "1 Main St"}, {"city", "Leeds"}});
  cpi_double::relate(site, "site2address", addr);
  for (const char* first : contacts) {
    long c = cpi_double::insert("contact", {{"first_name", first}, {"last_name", "Smith"}});
    cpi_double::relate(site, "site2contact", c);
    if (notes) {
      long n = cpi_double::insert("note", {{"text", std::string("about ") + first}});
      cpi_double::relate(c, "contact2note", n);
    }
  }
  return site;
}

void conn_crm_test::expect_clean(BusinessObject& bo) {
  EXPECT_EQ(cpi_double::open_states(), 0);
  EXPECT_EQ(cpi_double::open_results(), 0);
  EXPECT_EQ(bo.getContext(), nullptr);
  EXPECT_EQ(handler()->travMap, nullptr);
}
