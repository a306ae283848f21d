// The broker framework stand-in: business objects and their types,
// properties, messages, the veneer and the journal.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "kl_connector.h"

namespace {

BusObjSpec* define_order() {
  BusObjSpec* spec = BusObjSpec::define("KL_Order", "Transactionality=Partial");
  spec->setVerbAppText("Retrieve", "RetrieveAll=False");
  spec->addAttribute(BOAttrType("Id", BOAttrType::STRING, "ord:id", BOAttrType::KEY));
  spec->addAttribute(BOAttrType("Name", BOAttrType::STRING, "ord:name", BOAttrType::REQUIRED));
  spec->addAttribute(BOAttrType("Line", BOAttrType::OBJECT, "", 0, "KL_Line"));
  spec->addAttribute(BOAttrType("Lines", BOAttrType::OBJECT, "", BOAttrType::MULTIPLE, "KL_Line"));
  BusObjSpec* line = BusObjSpec::define("KL_Line");
  line->addAttribute(BOAttrType("Qty", BOAttrType::INTEGER, "line:qty"));
  return spec;
}

TEST(kl_spec, definitions_are_found_by_name) {
  BusObjSpec* spec = define_order();
  EXPECT_EQ(BusObjSpec::find("KL_Order"), spec);
  EXPECT_EQ(BusObjSpec::find("kl_order"), nullptr);
  EXPECT_STREQ(spec->getAppText(), "Transactionality=Partial");
  EXPECT_STREQ(spec->getVerbAppText("Retrieve"), "RetrieveAll=False");
  EXPECT_EQ(spec->getVerbAppText("Create"), nullptr);
  EXPECT_EQ(spec->getAttributeIndex("Name"), 1);
  EXPECT_LT(spec->getAttributeIndex("Nope"), 0);
  EXPECT_TRUE(spec->getAttribute("Id")->isKey());
  EXPECT_TRUE(spec->getAttribute(3)->isMultipleCard());
  EXPECT_TRUE(spec->getAttribute(2)->hasTypeName());
  EXPECT_FALSE(spec->getAttribute(0)->hasTypeName());
  EXPECT_EQ(spec->getAttribute(4), nullptr);
  // Defining again empties the definition in place.
  EXPECT_EQ(BusObjSpec::define("KL_Order"), spec);
  EXPECT_EQ(spec->getAttributeCount(), 0);
}

TEST(kl_bo, simple_values_ignore_and_blank) {
  define_order();
  BusinessObject bo("KL_Order");
  EXPECT_EQ(bo.getAttrCount(), 4);
  EXPECT_TRUE(BusinessObject::isIgnoreValue(bo.getAttrValue("Id")));
  EXPECT_TRUE(bo.setAttrValue("Id", const_cast<char*>("7"), BOAttrType::STRING));
  EXPECT_STREQ(static_cast<char*>(bo.getAttrValue(0)), "7");
  EXPECT_TRUE(bo.setAttrValue(0, const_cast<char*>("KlBlank"), BOAttrType::STRING));
  EXPECT_TRUE(BusinessObject::isBlankValue(bo.getAttrValue(0)));
  EXPECT_STREQ(static_cast<char*>(bo.getAttrValue(0)), "");
  EXPECT_TRUE(bo.setAttrValue(0, const_cast<char*>("KlIgnore"), BOAttrType::STRING));
  EXPECT_TRUE(BusinessObject::isIgnoreValue(bo.getAttrValue(0)));
  bo.setAttrValue(0, const_cast<char*>(""), BOAttrType::STRING);
  EXPECT_FALSE(BusinessObject::isBlankValue(bo.getAttrValue(0)));
  EXPECT_FALSE(BusinessObject::isIgnoreValue(bo.getAttrValue(0)));
  EXPECT_TRUE(bo.setAttrValue(0, nullptr, BOAttrType::STRING));
  EXPECT_TRUE(BusinessObject::isIgnoreValue(bo.getAttrValue(0)));
  // A value set from the attribute's own text.
  bo.setAttrValue(1, const_cast<char*>("self"), BOAttrType::STRING);
  bo.setAttrValue(1, bo.getAttrValue(1), BOAttrType::STRING);
  EXPECT_STREQ(static_cast<char*>(bo.getAttrValue(1)), "self");

  EXPECT_FALSE(bo.setAttrValue("Nope", const_cast<char*>("x"), BOAttrType::STRING));
  EXPECT_FALSE(bo.setAttrValue(9, const_cast<char*>("x"), BOAttrType::STRING));
  EXPECT_EQ(bo.getAttrValue("Nope"), nullptr);
  EXPECT_EQ(bo.getAttrValue(-1), nullptr);
  EXPECT_FALSE(bo.setAttrValue("Line", const_cast<char*>("x"), BOAttrType::STRING));
}

TEST(kl_bo, children_and_containers_are_owned) {
  define_order();
  BusinessObject bo("KL_Order");
  EXPECT_EQ(bo.makeNewAttrObject("Name"), nullptr);
  BusinessObject* first = bo.makeNewAttrObject("Line");
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->getName(), "KL_Line");
  EXPECT_EQ(first->getAttrCount(), 1);
  std::unique_ptr<BusinessObject> refused(bo.makeNewAttrObject("Line"));
  EXPECT_FALSE(bo.setAttrValue("Name", refused.get(), BOAttrType::OBJECT));
  EXPECT_TRUE(bo.setAttrValue("Line", first, BOAttrType::OBJECT));
  EXPECT_EQ(first->getParent(), &bo);
  EXPECT_TRUE(bo.setAttrValue("Line", bo.makeNewAttrObject("Line"), BOAttrType::OBJECT));
  EXPECT_NE(bo.getAttrValue("Line"), first);  // the first child was released

  for (const char* qty : {"1", "2"}) {
    BusinessObject* line = bo.makeNewAttrObject("Lines");
    line->setAttrValue("Qty", const_cast<char*>(qty), BOAttrType::INTEGER);
    EXPECT_TRUE(bo.setAttrValue("Lines", line, BOAttrType::OBJECT));
  }
  auto* lines = static_cast<BusObjContainer*>(bo.getAttrValue("Lines"));
  ASSERT_EQ(lines->getObjectCount(), 2);
  EXPECT_STREQ(static_cast<char*>(lines->getObject(1)->getAttrValue("Qty")), "2");
  EXPECT_EQ(lines->getObject(2), nullptr);
  EXPECT_EQ(lines->getTheSpec(), BusObjSpec::find("KL_Line"));

  std::unique_ptr<BusinessObject> copy(bo.getValues());
  auto* copied = static_cast<BusObjContainer*>(copy->getAttrValue("Lines"));
  ASSERT_EQ(copied->getObjectCount(), 2);
  EXPECT_NE(copied, lines);
  EXPECT_EQ(copied->getObject(0)->getParent(), copy.get());
  BusinessObject other("KL_Line");
  EXPECT_FALSE(other.setValues(bo));
}

TEST(kl_bo, validation_needs_required_values) {
  define_order();
  BusinessObject bo("KL_Order");
  EXPECT_FALSE(bo.initAndValidateAttributes());
  bo.setAttrValue("Name", const_cast<char*>("n"), BOAttrType::STRING);
  EXPECT_TRUE(bo.initAndValidateAttributes());
}

TEST(kl_bo, verbs_and_app_verbs) {
  define_order();
  BusinessObject bo("KL_Order");
  EXPECT_EQ(bo.getAppVerb(), nullptr);
  bo.setVerb("Create");
  bo.setAppVerb("RetrieveAll");
  EXPECT_STREQ(bo.getVerb(), "Create");
  EXPECT_STREQ(bo.getAppVerb(), "RetrieveAll");
  bo.setAppVerb(nullptr);
  EXPECT_EQ(bo.getAppVerb(), nullptr);
}

TEST(kl_bo, dump_is_bounded) {
  define_order();
  BusinessObject bo("KL_Order");
  bo.setVerb("Create");
  bo.setAttrValue("Name", const_cast<char*>("Bolt"), BOAttrType::STRING);
  char big[512];
  int n = bo.dump(big, sizeof big);
  EXPECT_EQ(n, static_cast<int>(strlen(big)));
  EXPECT_NE(std::string(big).find("KL_Order (verb Create)\n  Id = KlIgnore\n  Name = Bolt\n"),
            std::string::npos);
  char small[8];
  EXPECT_EQ(bo.dump(small, sizeof small), 7);
  EXPECT_STREQ(small, "KL_Orde");
}

struct kl_recording_handler : BOHandlerCPP {
  int doVerbFor(BusinessObject& bo, ReturnStatusDescriptor* status) override {
    seen = bo.getName();
    return status ? 11 : -11;
  }
  std::string seen;
};

struct kl_globals : GenGlobals {
  BOHandlerCPP* getBOHandlerforBO(char*) override { return &handler; }
  int init(KzVersion*) override { return 0; }
  int pollForEvents() override { return 0; }
  int terminate() override { return 0; }
  char* getVersion() override { return nullptr; }
  kl_recording_handler handler;
};

TEST(kl_bo, do_verb_for_reaches_the_connectors_handler) {
  define_order();
  BusinessObject bo("KL_Order");
  GenGlobals* previous = JToCPPVeneer::theAppGlobPtr;
  JToCPPVeneer::theAppGlobPtr = nullptr;
  EXPECT_EQ(bo.doVerbFor(), -1);
  kl_globals globals;
  JToCPPVeneer::theAppGlobPtr = &globals;
  EXPECT_EQ(bo.doVerbFor(), 11);
  EXPECT_EQ(globals.handler.seen, "KL_Order");
  JToCPPVeneer::theAppGlobPtr = previous;
}

TEST(kl_props, properties_are_copied_bounded) {
  kl_globals g;
  KlProperties::clear();
  char buf[5] = "xxxx";
  EXPECT_EQ(g.getConfigProp("Server", buf, sizeof buf), -1);
  EXPECT_STREQ(buf, "");
  KlProperties::set("Server", "longname");
  EXPECT_EQ(g.getConfigProp("Server", buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "long");
  KlProperties::clear();
}

TEST(kl_msg, messages_carry_their_number_and_texts) {
  kl_globals g;
  EXPECT_STREQ(g.generateMsg(20018, KzMsgFormat::ORB_FATAL, nullptr, 0), "20018");
  EXPECT_STREQ(g.generateMsg(22043, KzMsgFormat::ORB_ERROR, nullptr, 3, "a", "b", "c"),
               "22043: a; b; c");
  JToCPPVeneer* v = JToCPPVeneer::getTheHandlerStuff();
  EXPECT_STREQ(v->generateKzMsg(1, KzMsgFormat::ORB_INFO, nullptr, 1, "x"), "1: x");
}

KlJournalEntry kl_last_seen{KlJournalEntry::LOG, 0, ""};

TEST(kl_msg, the_journal_keeps_lines_in_order_and_feeds_a_sink) {
  KlJournal::clear();
  KlJournal::setSink([](const KlJournalEntry& e) { kl_last_seen = e; });
  kl_globals g;
  g.logMsg("plain");
  g.logMsg("typed", KzMsgFormat::ORB_WARNING);
  JToCPPVeneer::getTheHandlerStuff()->traceWrite(Tracing::LEVEL4, "traced", nullptr);
  KlJournal::setSink(nullptr);
  ASSERT_EQ(KlJournal::entries().size(), 3u);
  EXPECT_EQ(KlJournal::entries()[0].code, -1);
  EXPECT_EQ(KlJournal::entries()[1].code, KzMsgFormat::ORB_WARNING);
  EXPECT_EQ(KlJournal::entries()[2].kind, KlJournalEntry::TRACE);
  EXPECT_EQ(kl_last_seen.text, "traced");
  KlJournal::clear();
}

TEST(kl_veneer, a_destroyed_subscription_handler_is_forgotten) {
  JToCPPVeneer* v = JToCPPVeneer::getTheHandlerStuff();
  SubscriptionHandlerCPP* sub = v->getTheSubHandler();
  EXPECT_EQ(v->getTheSubHandler(), sub);
  EXPECT_EQ(sub->checkSubscription("X", "Create"), 1);
  EXPECT_EQ(sub->deliverEvent(nullptr), 0);
  EXPECT_EQ(sub->deliveredCount(), 1);
  delete sub;
  SubscriptionHandlerCPP* fresh = v->getTheSubHandler();
  EXPECT_EQ(fresh->deliveredCount(), 0);
}

TEST(kl_gc, collections_are_counted) {
  gcStandInReset();
  gcCollect();
  gcCollect();
  EXPECT_EQ(gcStandInCollections(), 2);
  EXPECT_EQ(gcStandInFixPrematureFrees(), -1);
}

}  // namespace
