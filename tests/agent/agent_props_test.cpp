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
    agent_test::expect_refused([&] { p.parse(c.text, "p.cfg"); }, c.place, c.why, c.text);
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
  std::string nope = dir.path() + "/nope.properties";
  agent_test::expect_refused([&] { missing.load(nope); }, nope, "cannot be read", nope);
}

}  // namespace
