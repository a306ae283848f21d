// Business objects to and from JSON: read, written, read back equal; bad
// instances refused with the place inside the JSON named.
#include <gtest/gtest.h>

#include "agent_error.h"
#include "agent_test_util.h"
#include "agent_objects.h"
#include "agent_specs.h"
#include "kl_bo.h"

namespace {

using json = AgentObjects::json;

class AgentObjectsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static bool done = false;
    if (done) return;
    done = true;
    AgentSpecs specs;
    specs.loadTexts({{"contact.bo.json", R"({"name": "AgO_Contact", "verbs": {"Create": ""}, "attributes": [
        {"name": "ObjId", "type": "String", "flags": ["key"]},
        {"name": "Name", "type": "String"},
        {"name": "Age", "type": "Integer"},
        {"name": "Vip", "type": "Boolean"},
        {"name": "Role", "type": "Object", "childType": "AgO_Role"},
        {"name": "Addresses", "type": "Object", "childType": "AgO_Address", "flags": ["multiple"]}]})"},
                     {"role.bo.json", R"({"name": "AgO_Role", "attributes": [{"name": "Title", "type": "String"}]})"},
                     {"address.bo.json",
                      R"({"name": "AgO_Address", "attributes": [{"name": "City", "type": "String"},
                          {"name": "Zip", "type": "String"}]})"}});
  }
};

TEST_F(AgentObjectsTest, ReadWriteReadBackEqual) {
  json in = json::parse(R"({"name": "AgO_Contact", "verb": "Create", "appVerb": "Insert",
    "values": {"ObjId": "12", "Name": "", "Age": 42, "Vip": true,
               "Role": {"values": {"Title": null}},
               "Addresses": [{"name": "AgO_Address", "values": {"City": "Lund"}}, {"values": {"Zip": "221 00"}}]}})");
  auto bo = AgentObjects::read(in, "c.json");
  EXPECT_STREQ(bo->getVerb(), "Create");
  EXPECT_STREQ(bo->getAppVerb(), "Insert");
  EXPECT_STREQ(static_cast<const char*>(bo->getAttrValue("Age")), "42");
  EXPECT_STREQ(static_cast<const char*>(bo->getAttrValue("Vip")), "true");
  auto* role = static_cast<BusinessObject*>(bo->getAttrValue("Role"));
  EXPECT_TRUE(BusinessObject::isBlankValue(role->getAttrValue("Title")));
  auto* list = static_cast<BusObjContainer*>(bo->getAttrValue("Addresses"));
  ASSERT_EQ(list->getObjectCount(), 2);
  EXPECT_TRUE(BusinessObject::isIgnoreValue(list->getObject(0)->getAttrValue("Zip")));

  json out = AgentObjects::write(*bo);
  json expected = json::parse(R"({"name": "AgO_Contact", "verb": "Create", "appVerb": "Insert",
    "values": {"ObjId": "12", "Name": "", "Age": "42", "Vip": "true",
               "Role": {"name": "AgO_Role", "verb": "", "appVerb": null, "values": {"Title": null}},
               "Addresses": [{"name": "AgO_Address", "verb": "", "appVerb": null, "values": {"City": "Lund"}},
                             {"name": "AgO_Address", "verb": "", "appVerb": null, "values": {"Zip": "221 00"}}]}})");
  EXPECT_EQ(out, expected) << out.dump();
  // Attributes come out in their definition's order, whatever the input's.
  EXPECT_EQ(out["values"].begin().key(), "ObjId");
  auto again = AgentObjects::read(out, "again");
  EXPECT_EQ(AgentObjects::write(*again), out);
}

TEST_F(AgentObjectsTest, AnObjectWithoutValuesHoldsIgnoreValues) {
  auto bo = AgentObjects::readText(R"({"name": "AgO_Contact", "verb": "Retrieve"})", "r.json");
  json out = AgentObjects::write(*bo);
  EXPECT_TRUE(out["values"].empty());
  EXPECT_TRUE(out["appVerb"].is_null());
}

TEST_F(AgentObjectsTest, RefusesBadInstancesNamingThePlace) {
  struct Case {
    const char* text;
    const char* place;
    const char* why;
  } cases[] = {
      {"{\"name\": \"AgO_Contact\", ", "i.json", "malformed JSON"},
      {R"(["AgO_Contact"])", "i.json", "must be a JSON object"},
      {R"({"verb": "Create"})", "i.json", "\"name\" must be a text"},
      {R"({"name": "AgO_Nobody"})", "i.json.name", "unknown business-object type \"AgO_Nobody\""},
      {R"({"name": "AgO_Contact", "values": {"Colour": "red"}})", "i.json.values.Colour",
       "no attribute of that name"},
      {R"({"name": "AgO_Contact", "values": {"Name": ["a"]}})", "i.json.values.Name", "a simple attribute takes"},
      {R"({"name": "AgO_Contact", "values": {"Role": [{}]}})", "i.json.values.Role", "takes one object"},
      {R"({"name": "AgO_Contact", "values": {"Role": "x"}})", "i.json.values.Role", "a child must be"},
      {R"({"name": "AgO_Contact", "values": {"Role": {"name": "AgO_Address"}}})", "i.json.values.Role",
       "the child's type is \"AgO_Role\""},
      {R"({"name": "AgO_Contact", "values": {"Addresses": [{"values": {"Street": "x"}}]}})",
       "i.json.values.Addresses[0].values.Street", "no attribute of that name in \"AgO_Address\""},
      {R"({"name": "AgO_Contact", "verb": 3})", "i.json.verb", "must be a text"},
      {R"({"name": "AgO_Contact", "extra": 3})", "i.json", "unknown key \"extra\""},
  };
  for (const Case& c : cases) {
    agent_test::expect_refused([&] { AgentObjects::readText(c.text, "i.json"); }, c.place, c.why, c.text);
  }
}

}  // namespace
