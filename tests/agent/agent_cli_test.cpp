// The agent's command line and its commands, run as a program against a
// scripted connector library.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "agent_cli.h"
#include "agent_error.h"
#include "agent_test_util.h"

namespace {

using json = nlohmann::ordered_json;
using agent_test::run_agent;

TEST(AgentArgs, CommandLineForms) {
  struct Case {
    std::vector<const char*> argv;
    const char* command;  // null: refused
    const char* file;
    bool follow;
  } cases[] = {
      {{"a", "--properties", "p", "init"}, "init", "", false},
      {{"a", "--properties", "p", "--objects", "d", "--library", "l", "request", "f.json"}, "request", "f.json",
       false},
      {{"a", "--properties", "p", "poll"}, "poll", "", false},
      {{"a", "--properties", "p", "poll", "--follow"}, "poll", "", true},
      {{"a", "init"}, nullptr, "", false},
      {{"a", "--properties"}, nullptr, "", false},
      {{"a", "--properties", "p"}, nullptr, "", false},
      {{"a", "--properties", "p", "request"}, nullptr, "", false},
      {{"a", "--properties", "p", "poll", "--fast"}, nullptr, "", false},
      {{"a", "--properties", "p", "init", "extra"}, nullptr, "", false},
      {{"a", "--colour", "red", "--properties", "p", "init"}, nullptr, "", false},
      {{"a", "--properties", "p", "delete"}, nullptr, "", false},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const char* a : c.argv) line += std::string(a) + " ";
    try {
      AgentArgs a = agent_parse_args(static_cast<int>(c.argv.size()), c.argv.data());
      ASSERT_NE(c.command, nullptr) << "accepted: " << line;
      EXPECT_EQ(a.command, c.command) << line;
      EXPECT_EQ(a.file, c.file) << line;
      EXPECT_EQ(a.follow, c.follow) << line;
    } catch (const AgentError& e) {
      EXPECT_EQ(c.command, nullptr) << "refused: " << line << ": " << e.what();
      EXPECT_EQ(e.code(), AgentExit::BAD_INPUT);
    }
  }
}

// A properties file and one definition in a temporary folder.
class AgentRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("event.bo.json", R"({"name": "AgF_Event", "verbs": {"Create": ""},
      "attributes": [{"name": "ObjId", "type": "String", "flags": ["key"]}, {"name": "Note", "type": "String"}]})");
    trace_ = dir_.path() + "/trace";
  }
  std::string props(const std::string& extra) {
    return dir_.write("agent.properties", "FakeTrace=" + trace_ + "\n" + extra);
  }
  std::string agent(const std::string& extra, const std::string& command) {
    return "--properties " + props(extra) + " --library " + agent_test::fake_connector() + " " + command;
  }
  std::string calls() {
    std::ifstream in(trace_);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static std::vector<json> lines(const std::string& out) {
    std::vector<json> result;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) result.push_back(json::parse(line));
    return result;
  }
  agent_test::TempDir dir_;
  std::string trace_;
};

TEST_F(AgentRun, InitPrintsItsAnswerAndVersionAndKeepsLibraryPrintsOffStandardOutput) {
  auto r = run_agent(agent("", "init"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "{\"init\":0,\"version\":\"fake-1\"}\n");
  EXPECT_NE(r.err.find("library noise on standard output"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(" INFO connector version fake-1"), std::string::npos) << r.err;
  EXPECT_EQ(calls(), "init 0\nterminate\n");

  auto failed = run_agent(agent("FakeInit=-1\n", "init"));
  EXPECT_EQ(failed.status, 3);
  EXPECT_EQ(failed.out, "{\"init\":-1,\"version\":\"fake-1\"}\n");
}

TEST_F(AgentRun, RequestPrintsStatusAndTheObjectAsTheConnectorLeftIt) {
  std::string req = dir_.write("req.json", R"({"name": "AgF_Event", "verb": "Create", "values": {"Note": "hi"}})");
  auto r = run_agent(agent("", "request " + req));
  EXPECT_EQ(r.status, 0) << r.err;
  auto out = lines(r.out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0]["status"], 1);
  EXPECT_EQ(out[0]["object"]["values"]["ObjId"], "99");
  EXPECT_EQ(out[0]["object"]["values"]["Note"], "hi");
  EXPECT_EQ(calls(), "init 0\nrequest AgF_Event Create\nterminate\n");

  for (const char* answer : {"-1", "-2", "2"}) {
    auto failed = run_agent(agent(std::string("FakeRequest=") + answer + "\n", "request " + req));
    EXPECT_EQ(failed.status, 1) << answer;
    EXPECT_EQ(lines(failed.out).at(0)["status"], std::atoi(answer));
  }
}

TEST_F(AgentRun, BadInputIsRefusedBeforeTheConnectorIsCalled) {
  struct Case {
    std::string instance;
    std::string place;
  } cases[] = {
      {"{\"name\": ", "req.json: malformed JSON"},
      {R"({"name": "AgF_Nobody", "verb": "Create"})", "req.json.name: unknown business-object type"},
      {R"({"name": "AgF_Event", "verb": "Create", "values": {"Colour": "x"}})", "req.json.values.Colour: no attribute"},
      {R"({"name": "AgF_Event"})", "req.json.verb: a request needs a verb"},
  };
  for (const Case& c : cases) {
    std::string req = dir_.write("req.json", c.instance);
    auto r = run_agent(agent("", "request " + req));
    EXPECT_EQ(r.status, 2) << c.instance;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.place), std::string::npos) << r.err;
    EXPECT_EQ(calls(), "") << "the connector was called for " << c.instance;
  }
  dir_.write("broken.bo.json", "{");
  auto r = run_agent(agent("", "init"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("broken.bo.json: malformed JSON"), std::string::npos) << r.err;
  auto twice = run_agent("--properties " + dir_.write("twice.properties", "A=1\nA=2\n") + " init");
  EXPECT_EQ(twice.status, 2);
  EXPECT_NE(twice.err.find("twice.properties:2: property \"A\" is given twice"), std::string::npos) << twice.err;
}

TEST_F(AgentRun, UsageAndMissingLibraryOrGlobals) {
  auto usage = run_agent("--properties");
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err.find("usage: orbisan-agent --properties FILE"), std::string::npos) << usage.err;
  EXPECT_EQ(usage.out, "");

  auto missing = run_agent("--properties " + props("") + " --library " + dir_.path() + "/nothing.so init");
  EXPECT_EQ(missing.status, 3);
  EXPECT_NE(missing.err.find("FATAL cannot load the connector: "), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("nothing.so"), std::string::npos) << missing.err;

  auto no_globals = run_agent("--properties " + props("") + " --library " + agent_test::no_globals_library() + " init");
  EXPECT_EQ(no_globals.status, 3);
  EXPECT_NE(no_globals.err.find("the connector left no globals object"), std::string::npos) << no_globals.err;
}

TEST_F(AgentRun, PollDrainsUntilAPollAsksNothing) {
  auto r = run_agent(agent("FakeEvents=3\n", "poll"));
  EXPECT_EQ(r.status, 0) << r.err;
  auto out = lines(r.out);
  ASSERT_EQ(out.size(), 3u) << r.out;
  for (size_t i = 0; i < out.size(); ++i) {
    EXPECT_EQ(out[i]["name"], "AgF_Event");
    EXPECT_EQ(out[i]["verb"], "Create");
    EXPECT_EQ(out[i]["values"]["ObjId"], std::to_string(i + 1));
  }
  EXPECT_EQ(calls(), "init 0\npoll 0\npoll 0\npoll 0\npoll 0\nterminate\n");

  // Events of a verb not subscribed are asked about, not delivered.
  auto skipped = run_agent(agent("FakeEvents=2\nFakeVerb=Update\n", "poll"));
  EXPECT_EQ(skipped.status, 0);
  EXPECT_EQ(skipped.out, "");
}

TEST_F(AgentRun, PollFailureStopsTheDrainAndALostConnectionRestarts) {
  auto failed = run_agent(agent("FakeEvents=5\nFakePoll=0,-1\n", "poll"));
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(lines(failed.out).size(), 1u);
  EXPECT_EQ(calls(), "init 0\npoll 0\npoll -1\nterminate\n");

  std::remove(trace_.c_str());
  auto lost = run_agent(agent("FakeEvents=2\nFakePoll=0,-2\n", "poll"));
  EXPECT_EQ(lost.status, 0) << lost.err;
  EXPECT_EQ(lines(lost.out).size(), 2u);
  EXPECT_EQ(calls(), "init 0\npoll 0\npoll -2\nterminate\ninit 0\npoll 0\npoll 0\nterminate\n");
  EXPECT_NE(lost.err.find("WARNING connection lost; starting the connector again in 1 s (try 1)"),
            std::string::npos)
      << lost.err;
}

TEST_F(AgentRun, FollowNeedsAPollFrequencyAndStopsOnSigterm) {
  auto bad = run_agent(agent("PollFrequency=soon\n", "poll --follow"));
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("positive \"PollFrequency\""), std::string::npos) << bad.err;

  // Stopped once it has polled again after a wait: the event's poll, the
  // poll that asks nothing, then at least one more while following.
  const auto polled_after_a_wait = [this] {
    const std::string c = calls();
    long polls = 0;
    for (size_t at = c.find("poll "); at != std::string::npos; at = c.find("poll ", at + 1)) ++polls;
    return polls >= 3;
  };
  auto r = agent_test::run_agent_until(agent("PollFrequency=100\nFakeEvents=1\n", "poll --follow"),
                                       polled_after_a_wait);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines(r.out).size(), 1u);
  std::string c = calls();
  EXPECT_EQ(c.substr(c.size() - 10), "terminate\n") << c;
  EXPECT_GT(std::count(c.begin(), c.end(), '\n'), 4) << "no further polls while following: " << c;
}

}  // namespace
