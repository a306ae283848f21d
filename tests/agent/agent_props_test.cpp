// Properties files: what is read, what is refused and where.
#include <gtest/gtest.h>

#include "agent_error.h"
#include "agent_props.h"
#include "agent_test_util.h"
#include "kl_msg.h"

namespace {

TEST(AgentProperties, ReadsLinesSkipsCommentsAndTrims) {
  AgentProperties p;
  p.parse("# a comment\n\n ServerName = orbisan-db \r\nPollFrequency=500\nApplicationPassword=\n", "p.cfg");
  ASSERT_NE(p.get("ServerName"), nullptr);
  EXPECT_EQ(*p.get("ServerName"), "orbisan-db");
  EXPECT_EQ(*p.get("ApplicationPassword"), "");
  EXPECT_EQ(p.get("# a comment"), nullptr);
  EXPECT_EQ(p.get("DatabaseName"), nullptr);
  EXPECT_EQ(p.number("PollFrequency", -1), 500);
  EXPECT_EQ(p.number("ServerName", -1), -1);
  EXPECT_EQ(p.number("ApplicationPassword", 7), 7);
  EXPECT_EQ(p.all().size(), 3u);
}

TEST(AgentProperties, RefusesBadLinesNamingTheLine) {
  struct Case {
    const char* text;
    const char* place;
    const char* why;
  } cases[] = {
      {"A=1\nno equals sign\n", "p.cfg:2", "name=value"},
      {"\n\n=value\n", "p.cfg:3", "needs a name"},
      {"A=1\nB=2\n A =3\n", "p.cfg:3", "\"A\" is given twice"},
  };
  for (const Case& c : cases) {
    AgentProperties p;
    try {
      p.parse(c.text, "p.cfg");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const AgentError& e) {
      EXPECT_EQ(e.code(), AgentExit::BAD_INPUT);
      EXPECT_EQ(std::string(e.what()).rfind(std::string(c.place) + ": ", 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.why), std::string::npos) << e.what();
    }
  }
}

TEST(AgentProperties, LoadsAFileAndHandsItToTheFramework) {
  agent_test::TempDir dir;
  std::string path = dir.write("agent.properties", "ServerName=s1\nDatabaseName=crm\n");
  AgentProperties p;
  p.load(path);
  EXPECT_EQ(p.path(), path);
  KlProperties::clear();
  p.apply();
  ASSERT_NE(KlProperties::get("DatabaseName"), nullptr);
  EXPECT_STREQ(KlProperties::get("DatabaseName"), "crm");
  KlProperties::clear();

  AgentProperties missing;
  try {
    missing.load(dir.path() + "/nope.properties");
    ADD_FAILURE() << "a missing file was read";
  } catch (const AgentError& e) {
    EXPECT_NE(std::string(e.what()).find("nope.properties: cannot be read"), std::string::npos);
  }
}

}  // namespace
