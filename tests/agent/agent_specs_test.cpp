// Business-object definitions: registered with the framework, or refused
// with the place named and nothing registered.
#include <gtest/gtest.h>

#include "agent_error.h"
#include "agent_specs.h"
#include "agent_test_util.h"
#include "kl_bo.h"

namespace {

const char* kOrder = R"({"name": "AgT_Order", "appText": "tbl=order",
  "verbs": {"Create": "", "Retrieve": "RetrieveAll=False"},
  "attributes": [
    {"name": "Id", "type": "String", "flags": ["key"], "appText": "col=id"},
    {"name": "Qty", "type": "Integer", "flags": ["required"]},
    {"name": "Line", "type": "Object", "childType": "AgT_Line", "flags": ["multiple", "foreignKey"]}]})";
const char* kLine = R"({"name": "AgT_Line", "attributes": [{"name": "Sku", "type": "String"}]})";

TEST(AgentSpecs, RegistersTypesAttributesAndVerbs) {
  agent_test::TempDir dir;
  dir.write("order.bo.json", kOrder);
  dir.write("line.bo.json", kLine);
  dir.write("notes.json", "not a definition");
  AgentSpecs specs;
  specs.loadDir(dir.path());
  EXPECT_EQ(specs.size(), 2u);
  BusObjSpec* order = BusObjSpec::find("AgT_Order");
  ASSERT_NE(order, nullptr);
  EXPECT_STREQ(order->getAppText(), "tbl=order");
  EXPECT_STREQ(order->getVerbAppText("Retrieve"), "RetrieveAll=False");
  ASSERT_EQ(order->getAttributeCount(), 3);
  EXPECT_TRUE(order->getAttribute("Id")->isKey());
  EXPECT_STREQ(order->getAttribute("Id")->getAppText(), "col=id");
  EXPECT_EQ(order->getAttribute("Qty")->getType(), BOAttrType::INTEGER);
  EXPECT_TRUE(order->getAttribute("Qty")->isRequired());
  BOAttrType* line = order->getAttribute("Line");
  EXPECT_TRUE(line->isObjectType() && line->isMultipleCard() && line->isForeignKey());
  EXPECT_STREQ(line->getTypeName(), "AgT_Line");
  EXPECT_TRUE(specs.subscribed("AgT_Order", "Create"));
  EXPECT_FALSE(specs.subscribed("AgT_Order", "Update"));
  EXPECT_FALSE(specs.subscribed("AgT_Line", "Create"));
  EXPECT_FALSE(specs.subscribed("Nobody", "Create"));
}

TEST(AgentSpecs, RefusesBadDefinitionsNamingThePlace) {
  struct Case {
    const char* text;
    const char* place;
    const char* why;
  } cases[] = {
      {"{\"name\": ", "bad.bo.json", "malformed JSON"},
      {"[]", "bad.bo.json", "must be a JSON object"},
      {R"({"attributes": []})", "bad.bo.json", "\"name\" is missing"},
      {R"({"name": "AgT_X"})", "bad.bo.json", "\"attributes\" must be an array"},
      {R"({"name": "AgT_X", "colour": 1, "attributes": []})", "bad.bo.json", "unknown key \"colour\""},
      {R"({"name": "AgT_X", "attributes": [{"name": "A", "type": "Text"}]})", "bad.bo.json: attributes[0]",
       "unknown attribute type \"Text\""},
      {R"({"name": "AgT_X", "attributes": [{"name": "A", "type": "String"}, {"name": "B", "type": "String",
         "flags": ["primary"]}]})",
       "bad.bo.json: attributes[1]", "unknown flag \"primary\""},
      {R"({"name": "AgT_X", "attributes": [{"name": "A", "type": "Object"}]})", "bad.bo.json: attributes[0]",
       "\"childType\""},
      {R"({"name": "AgT_X", "attributes": [{"name": "A", "type": "Object", "childType": "AgT_Nowhere"}]})",
       "bad.bo.json: A", "child type \"AgT_Nowhere\" is defined nowhere"},
      {R"({"name": "AgT_X", "verbs": {"Create": 1}, "attributes": []})", "bad.bo.json: verbs.Create",
       "must be a text"},
  };
  for (const Case& c : cases) {
    AgentSpecs specs;
    agent_test::expect_refused([&] { specs.loadTexts({{"bad.bo.json", c.text}}); }, c.place, c.why, c.text);
    EXPECT_EQ(BusObjSpec::find("AgT_X"), nullptr) << "registered despite the error: " << c.text;
  }
}

TEST(AgentSpecs, ATypeDefinedTwiceIsRefusedAndNothingIsRegistered) {
  AgentSpecs specs;
  const char* twice = R"({"name": "AgT_Twice", "attributes": []})";
  agent_test::expect_refused([&] { specs.loadTexts({{"a.bo.json", twice}, {"b.bo.json", twice}}); }, "b.bo.json",
                             "business-object type \"AgT_Twice\" is defined twice", twice);
  EXPECT_EQ(BusObjSpec::find("AgT_Twice"), nullptr);
  EXPECT_EQ(specs.size(), 0u);
}

}  // namespace
