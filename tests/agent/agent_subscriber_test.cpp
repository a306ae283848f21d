// The subscriber and the standard error lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "agent_log.h"
#include "agent_objects.h"
#include "agent_specs.h"
#include "agent_subscriber.h"
#include "kl_bo.h"
#include "kl_msg.h"

namespace {

AgentSpecs& specs() {
  static AgentSpecs s = [] {
    AgentSpecs x;
    x.loadTexts({{"s.bo.json", R"({"name": "AgS_Site", "verbs": {"Update": "", "Create": ""},
                   "attributes": [{"name": "ObjId", "type": "String"}]})"}});
    return x;
  }();
  return s;
}

TEST(AgentSubscriber, SubscribesToTheVerbsOfTheDefinition) {
  AgentSubscriber sub(specs(), stdout);
  EXPECT_EQ(sub.checkSubscription("AgS_Site", "Update"), 1);
  EXPECT_EQ(sub.checkSubscription("AgS_Site", "Delete"), 0);
  EXPECT_EQ(sub.checkSubscription("AgS_Other", "Update"), 0);
  EXPECT_EQ(sub.checkSubscription(nullptr, "Update"), 0);
  EXPECT_EQ(sub.asked(), 4);
}

TEST(AgentSubscriber, WritesEachDeliveryAsOneJsonLine) {
  FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  AgentSubscriber sub(specs(), out);
  auto bo = AgentObjects::readText(R"({"name": "AgS_Site", "verb": "Update", "values": {"ObjId": "7"}})", "x");
  EXPECT_EQ(sub.deliverEvent(bo.get()), 0);
  EXPECT_EQ(sub.deliverEvent(bo.get()), 0);
  std::rewind(out);
  char line[256];
  ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
  EXPECT_STREQ(line, "{\"name\":\"AgS_Site\",\"verb\":\"Update\",\"appVerb\":null,\"values\":{\"ObjId\":\"7\"}}\n");
  ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
  EXPECT_EQ(std::fgets(line, sizeof line, out), nullptr);
  EXPECT_EQ(sub.delivered(), 2);
  std::fclose(out);
}

TEST(AgentSubscriber, ADeliveryThatCannotBeWrittenIsRefused) {
  FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr) << "/dev/full is needed";
  AgentSubscriber sub(specs(), full);
  auto bo = AgentObjects::readText(R"({"name": "AgS_Site", "verb": "Update"})", "x");
  testing::internal::CaptureStderr();
  EXPECT_NE(sub.deliverEvent(bo.get()), 0);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("ERROR delivery of \"AgS_Site\" could not be written; the event waits"), std::string::npos)
      << err;
  EXPECT_EQ(sub.delivered(), 0);
  std::fclose(full);
}

TEST(AgentLog, FrameworkLinesGoToStandardErrorByLevel) {
  EXPECT_STREQ(agent_log_level(KzMsgFormat::ORB_FATAL), "FATAL");
  EXPECT_STREQ(agent_log_level(KzMsgFormat::ORB_ERROR), "ERROR");
  EXPECT_STREQ(agent_log_level(KzMsgFormat::ORB_WARNING), "WARNING");
  EXPECT_STREQ(agent_log_level(KzMsgFormat::ORB_INFO), "INFO");
  EXPECT_STREQ(agent_log_level(-1), "INFO");
  agent_log_journal(2);
  testing::internal::CaptureStderr();
  KlJournal::write(KlJournalEntry::LOG, KzMsgFormat::ORB_ERROR, "it failed");
  KlJournal::write(KlJournalEntry::LOG, -1, "plain");
  KlJournal::write(KlJournalEntry::TRACE, 2, "shown");
  KlJournal::write(KlJournalEntry::TRACE, 3, "too deep");
  std::string err = testing::internal::GetCapturedStderr();
  KlJournal::setSink(nullptr);
  KlJournal::clear();
  const std::string t = R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z )";
  EXPECT_TRUE(std::regex_match(err, std::regex(t + "ERROR it failed\n" + t + "INFO plain\n" + t + "TRACE2 shown\n")))
      << err;
}

}  // namespace
