// The message file and the texts the framework builds with it.
#include <gtest/gtest.h>

#include <cstdarg>

#include "agent_error.h"
#include "agent_messages.h"
#include "agent_test_util.h"
#include "kl_globals.h"
#include "kl_msg.h"

namespace {

class AgentMessagesTest : public ::testing::Test {
 protected:
  void TearDown() override { KlMessageTexts::clear(); }
};

TEST_F(AgentMessagesTest, TextsArePutInWithTheirArguments) {
  AgentMessages m;
  m.parse("# comment\n\n90001 event %4 delivered: %1 %2 %3\n90002 100%% of %1\n90003 no arguments\r\n", "m.txt");
  EXPECT_EQ(m.size(), 3u);
  EXPECT_EQ(AgentMessages::format(90001, {"Contact", "ObjId=7", "Create", "12"}),
            "90001: event 12 delivered: Contact ObjId=7 Create");
  EXPECT_EQ(AgentMessages::format(90002, {"x"}), "90002: 100% of x");
  EXPECT_EQ(AgentMessages::format(90002, {}), "90002: 100% of ");
  EXPECT_EQ(AgentMessages::format(90003, {}), "90003: no arguments");
  // A number without a text prints with its arguments.
  EXPECT_EQ(AgentMessages::format(90009, {"a", "b"}), "90009: a; b");
  EXPECT_EQ(AgentMessages::format(90009, {}), "90009");
  // The framework's own message building uses the loaded texts.
  struct Globals : GenGlobals {
    BOHandlerCPP* getBOHandlerforBO(char*) override { return nullptr; }
    int init(KzVersion*) override { return 0; }
    int pollForEvents() override { return 0; }
    int terminate() override { return 0; }
    char* getVersion() override { return nullptr; }
  } g;
  EXPECT_STREQ(g.generateMsg(90002, KzMsgFormat::ORB_INFO, nullptr, 1, "y"), "90002: 100% of y");
}

TEST_F(AgentMessagesTest, RefusesMalformedOrRepeatedLines) {
  struct Case {
    const char* text;
    const char* place;
  } cases[] = {{"90001 ok\nnot a number\n", "m.txt:2"},
               {"90001\n", "m.txt:1"},
               {"90001:text\n", "m.txt:1"},
               {"90001 a\n\n90001 b\n", "m.txt:3"}};
  for (const Case& c : cases) {
    AgentMessages m;
    agent_test::expect_refused([&] { m.parse(c.text, "m.txt"); }, c.place, "", c.text);
  }
}

TEST_F(AgentMessagesTest, TheShippedFileLoads) {
  AgentMessages m;
  m.load(agent_test::build_dir() + "/" + AgentMessages::kFileName);
  EXPECT_GT(m.size(), 0u);
  EXPECT_EQ(AgentMessages::format(20018, {"OrbisanConnector"}),
            "20018: OrbisanConnector: the connection to the CRM database is lost");
}

}  // namespace
