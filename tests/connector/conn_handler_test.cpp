// The business-object handler: connection check, state per request, options,
// verb dispatch, commit and release, child dispatch, maps and messages. The
// verb steps are replaced by recording ones.
#include <stdexcept>

#include "conn_fixture.h"
#include "connector/conn_map.h"
#include "connector/conn_util.h"

namespace {

struct step_record {
  std::vector<std::string> calls;
  int result = 0;
  bool throw_next = false;
  char transactional = -1;
  char multi_key = -1;
  std::string verb_seen;
};
step_record rec;

int recording_step(const char* name, GenBOHandler& h, BusinessObject& bo) {
  rec.calls.push_back(std::string(name) + ":" + bo.getName());
  rec.transactional = h.transactional;
  rec.multi_key = h.multiKeyRetrieve;
  rec.verb_seen = bo.getVerb();
  if (rec.throw_next) {
    rec.throw_next = false;
    throw std::runtime_error("step failed");
  }
  return rec.result;
}

const conn_ty_verb_steps recording_steps = {
    [](GenBOHandler& h, BusinessObject& bo) { return recording_step("create", h, bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return recording_step("update", h, bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return recording_step("retrieve", h, bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return recording_step("retrieve_all", h, bo); },
    [](GenBOHandler& h, BusinessObject& bo) { return recording_step("retrieve_by_content", h, bo); },
};

class conn_handler_test : public conn_test {
 protected:
  void SetUp() override {
    conn_test::SetUp();
    rec = step_record{};
    connect();
    h = handler();
    h->verbSteps = recording_steps;
    conn_define("T_Child", "", {{"Cid", "child:id"}, {"Last", "child:x"}});
    conn_define("T_Order", "",
                {{"Id", "ord:objid", BOAttrType::KEY},
                 {"Name", "ord:name"},
                 {"Last", "ord:last"}});
  }
  int request(BusinessObject& bo) {
    ReturnStatusDescriptor status;
    return h->doVerbFor(bo, &status);
  }
  GenBOHandler* h = nullptr;
};

struct dispatch_case {
  const char* verb;
  int step_result;
  const char* step;  // null: no step runs
  int expected;
  bool commits;
};

TEST_F(conn_handler_test, every_verb_reaches_its_step) {
  const dispatch_case cases[] = {
      {"Create", 0, "create", 1, true},
      {"Update", 0, "update", 1, true},
      {"Delete", 0, "update", 1, true},
      {"CASE_CLOSED", 0, "update", 1, true},
      {"Create", -1, "create", -1, false},
      {"Retrieve", 1, "retrieve", 1, false},
      {"Exist", 1, "retrieve", 1, false},
      {"RetrieveAll", 0, "retrieve_all", 0, false},
      {"RetrieveByContent", -1, "retrieve_by_content", -1, false},
      {"create", 0, nullptr, -1, false},
      {"Dance", 0, nullptr, -1, false},
  };
  // Every verb sees both object-level options.
  BusObjSpec::find("T_Order")->setAppText("MultiKeyRetrieve=True:Transactionality=Partial");
  for (const dispatch_case& c : cases) {
    SCOPED_TRACE(c.verb);
    cpi_double::reset();
    KlJournal::clear();
    rec = step_record{};
    rec.result = c.step_result;
    BusinessObject bo("T_Order");
    bo.setVerb(c.verb);
    EXPECT_EQ(request(bo), c.expected);
    EXPECT_EQ(rec.calls, c.step ? std::vector<std::string>{std::string(c.step) + ":T_Order"}
                                : std::vector<std::string>{});
    if (c.step) {
      EXPECT_EQ(rec.transactional, 0);
      EXPECT_EQ(rec.multi_key, 1);
    }
    EXPECT_EQ(cpi_double::count_of("cpi_state_commit"), c.commits ? 1 : 0);
    EXPECT_EQ(cpi_double::count_of("cpi_state_create"), 1);
    EXPECT_EQ(cpi_double::open_states(), 0);
    if (!c.step) {
      EXPECT_EQ(logs(), std::vector<std::string>{std::string("2 20027: ") + c.verb});
    }
  }
}

TEST_F(conn_handler_test, the_app_verb_comes_before_the_verb) {
  BusinessObject bo("T_Order");
  bo.setVerb("Retrieve");
  bo.setAppVerb("RetrieveAll");
  request(bo);
  EXPECT_EQ(rec.calls, std::vector<std::string>{"retrieve_all:T_Order"});
}

TEST_F(conn_handler_test, deep_retrieval_runs_retrieve_all_under_its_verb) {
  h->deepRetrieve = 1;
  BusinessObject bo("T_Order");
  bo.setVerb("Retrieve");
  request(bo);
  EXPECT_EQ(rec.calls, std::vector<std::string>{"retrieve_all:T_Order"});
  EXPECT_EQ(rec.verb_seen, "RetrieveAll");
  EXPECT_STREQ(bo.getVerb(), "Retrieve");
}

struct option_case {
  const char* text;
  char transactional;
  char multi_key;
};

TEST_F(conn_handler_test, object_level_options) {
  const option_case cases[] = {
      {"", 1, 0},
      {"Transactionality=Partial", 0, 0},
      {"transactionality=partial", 0, 0},
      {"MultiKeyRetrieve=True", 1, 1},
      {"MultiKeyRetrieve=True:Transactionality=Partial", 0, 1},
      {"Other:multikeyretrieve=TRUE", 1, 1},
      {"MultiKeyRetrieve=True:Transactionality=Partial:more", 1, 1},
      {"Transactionality=Partial MultiKeyRetrieve=True", 1, 0},
  };
  for (const option_case& c : cases) {
    SCOPED_TRACE(c.text);
    BusObjSpec::find("T_Order")->setAppText(c.text);
    BusinessObject bo("T_Order");
    bo.setVerb("Retrieve");
    request(bo);
    EXPECT_EQ(rec.transactional, c.transactional);
    EXPECT_EQ(rec.multi_key, c.multi_key);
  }
}

TEST_F(conn_handler_test, a_lost_connection_answers_minus_two_without_counting) {
  BusinessObject bo("T_Order");
  bo.setVerb("Retrieve");
  globals->connectionId = 0;
  EXPECT_EQ(request(bo), -2);
  cpi_double::set_ping(1);
  connect();
  EXPECT_EQ(request(bo), -2);
  EXPECT_EQ(h->requestCounter, 0);
  EXPECT_EQ(cpi_double::count_of("cpi_state_create"), 0);
  EXPECT_TRUE(rec.calls.empty());
  const std::vector<std::string> expected = {"-1 Returning BON_APPRESPONSETIMEOUT.", "1 20018",
                                             "-1 Returning BON_APPRESPONSETIMEOUT.", "1 20018"};
  EXPECT_EQ(logs(), expected);
}

TEST_F(conn_handler_test, a_failed_state_creation_answers_minus_one) {
  cpi_double::fail("cpi_state_create", 0x2c00004);
  BusinessObject bo("T_Order");
  bo.setVerb("Retrieve");
  EXPECT_EQ(request(bo), -1);
  EXPECT_EQ(h->requestCounter, 1);
  EXPECT_TRUE(rec.calls.empty());
  EXPECT_NE(file_text(dir / "orbisan.err").find("0x2c00004"), std::string::npos);
}

TEST_F(conn_handler_test, a_failed_release_answers_minus_one) {
  cpi_double::fail("cpi_state_rollback", 0x2c00002);
  BusinessObject bo("T_Order");
  bo.setVerb("Retrieve");
  rec.result = 1;
  EXPECT_EQ(request(bo), -1);
  EXPECT_NE(file_text(dir / "orbisan.err").find("0x2c00002"), std::string::npos);
}

TEST_F(conn_handler_test, a_failed_commit_is_logged_and_fails_the_request) {
  cpi_double::fail("cpi_state_commit", 0x2000003);
  BusinessObject bo("T_Order");
  bo.setVerb("Update");
  testing::internal::CaptureStdout();
  EXPECT_EQ(request(bo), -1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(logs(), std::vector<std::string>{"2 22012: T_Order"});
  EXPECT_EQ(cpi_double::open_states(), 0);
}

TEST_F(conn_handler_test, the_restart_count_sets_the_restart_flag_whatever_the_result) {
  h->restartCount = 3;
  BusinessObject bo("T_Order");
  bo.setVerb("Nonsense");
  request(bo);
  request(bo);
  EXPECT_FALSE(globals->restartWanted);
  request(bo);
  EXPECT_TRUE(globals->restartWanted);
  request(bo);
  EXPECT_TRUE(globals->restartWanted);
}

TEST_F(conn_handler_test, an_exception_releases_the_state_and_answers_minus_one) {
  KlProperties::set("AgentTraceLevel", "1");
  globals->generateTraceMsg(0, KzMsgFormat::ORB_INFO, nullptr, 0);  // reads the trace level
  rec.throw_next = true;
  BusinessObject bo("T_Order");
  bo.setVerb("Create");
  bo.setAttrValue("Name", const_cast<char*>("Bolt"), BOAttrType::STRING);
  new Map(&bo);
  testing::internal::CaptureStdout();
  EXPECT_EQ(request(bo), -1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("T_Order (verb Create)\n"), std::string::npos);
  EXPECT_NE(out.find("Name = Bolt\n"), std::string::npos);
  EXPECT_EQ(logs(), std::vector<std::string>{"4 22010: Create; T_Order"});
  EXPECT_EQ(cpi_double::count_of("cpi_state_rollback"), 1);
  EXPECT_EQ(cpi_double::open_states(), 0);
  EXPECT_EQ(bo.getContext(), nullptr);
}

TEST_F(conn_handler_test, an_invalid_create_fails_before_its_step) {
  conn_define("T_Req", "", {{"Must", "x:y", BOAttrType::REQUIRED}, {"Last", "x:z"}});
  BusinessObject bo("T_Req");
  bo.setVerb("Create");
  EXPECT_EQ(request(bo), -1);
  EXPECT_TRUE(rec.calls.empty());
  EXPECT_EQ(cpi_double::open_states(), 0);
  bo.setAttrValue("Must", const_cast<char*>("v"), BOAttrType::STRING);
  EXPECT_EQ(request(bo), 1);
  EXPECT_EQ(rec.calls, std::vector<std::string>{"create:T_Req"});
}

TEST_F(conn_handler_test, requests_are_traced_at_level_five) {
  KlProperties::set("AgentTraceLevel", "5");
  globals->generateTraceMsg(0, KzMsgFormat::ORB_INFO, nullptr, 0);
  BusinessObject bo("T_Order");
  bo.setVerb("Retrieve");
  new Map(&bo);
  request(bo);
  const std::vector<std::string> expected = {"5 20053: T_Order; Retrieve",
                                             "5 20060: T_Order; Retrieve", "5 22108: T_Order"};
  EXPECT_EQ(traces(), expected);

  KlJournal::clear();
  KlProperties::set("AgentTraceLevel", "0");
  globals->generateTraceMsg(0, KzMsgFormat::ORB_INFO, nullptr, 0);
  request(bo);
  EXPECT_TRUE(traces().empty());
}

TEST_F(conn_handler_test, the_handlers_messages_follow_the_argument_limit) {
  globals->traceLevel = 4;
  std::string a(449, 'a');
  EXPECT_EQ(std::string(h->generateTraceMsg(7, KzMsgFormat::ORB_INFO, nullptr, 1, a.c_str())),
            "7: " + a);
  EXPECT_TRUE(traces().empty());
  std::string b(450, 'b');
  EXPECT_STREQ(h->generateTraceMsg(7, KzMsgFormat::ORB_INFO, nullptr, 1, b.c_str()), "7");
  const std::vector<std::string> expected = {"4 Argument length(s) exceeded limit of generateMsg",
                                             "4 Value of argument 1: " + b};
  EXPECT_EQ(traces(), expected);
  globals->traceLevel = 0;
  EXPECT_STREQ(h->generateTraceMsg(7, KzMsgFormat::ORB_WARNING, nullptr, 1, "x"), "");
  EXPECT_STREQ(h->generateTraceMsg(7, KzMsgFormat::ORB_FATAL, nullptr, 1, "x"), "7: x");
}

TEST_F(conn_handler_test, memory_refresh_collects_every_interval) {
  h->memoryRefreshInterval = 2;
  BusinessObject bo("T_Order");
  bo.setVerb("Retrieve");
  request(bo);
  EXPECT_EQ(gcStandInCollections(), 0);
  request(bo);
  EXPECT_EQ(gcStandInCollections(), 1);
  EXPECT_EQ(recordCount, 0);
  h->memoryRefreshInterval = 0;
  request(bo);
  EXPECT_EQ(gcStandInCollections(), 1);
}

TEST_F(conn_handler_test, retrieve_by_content_may_run_a_subsequent_retrieve) {
  struct { const char* text; std::vector<std::string> steps; } cases[] = {
      {"SubsequentRetrieve=True", {"retrieve_by_content:T_Order", "retrieve_all:T_Order"}},
      {"subsequentretrieve=false", {"retrieve_by_content:T_Order", "retrieve:T_Order"}},
      {"Other", {"retrieve_by_content:T_Order"}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.text);
    rec = step_record{};
    cpi_double::reset();
    BusObjSpec::find("T_Order")->setVerbAppText("RetrieveByContent", c.text);
    BusinessObject bo("T_Order");
    bo.setVerb("RetrieveByContent");
    rec.result = 1;
    EXPECT_EQ(request(bo), 1);
    EXPECT_EQ(rec.calls, c.steps);
    EXPECT_EQ(cpi_double::count_of("cpi_state_create"), static_cast<int>(c.steps.size()));
    EXPECT_EQ(cpi_double::open_states(), 0);
  }
}

TEST_F(conn_handler_test, children_take_their_parents_verb) {
  conn_define("T_Parent", "",
              {{"One", "", 0, "T_Child"},
               {"Many", "", BOAttrType::MULTIPLE, "T_Child"},
               {"Skipped", "", 0, "T_Child"},
               {"LastChild", "", 0, "T_Child"}});
  BusinessObject parent("T_Parent");
  parent.setVerb("Update");
  parent.setAttrValue("One", parent.makeNewAttrObject("One"), BOAttrType::OBJECT);
  for (int k = 0; k < 2; ++k)
    parent.setAttrValue("Many", parent.makeNewAttrObject("Many"), BOAttrType::OBJECT);
  parent.setAttrValue("LastChild", parent.makeNewAttrObject("LastChild"), BOAttrType::OBJECT);
  EXPECT_EQ(h->doSubObjects(parent), 0);
  EXPECT_EQ(rec.calls, std::vector<std::string>(3, "update:T_Child"));
  auto* one = static_cast<BusinessObject*>(parent.getAttrValue("One"));
  EXPECT_STREQ(one->getAppVerb(), "Update");

  rec = step_record{};
  rec.result = -1;
  EXPECT_EQ(h->doSubObjects(parent), -1);
  EXPECT_EQ(rec.calls.size(), 1u);
}

TEST_F(conn_handler_test, child_verbs) {
  struct { const char* verb; const char* step; int result; } cases[] = {
      {"Create", "create", 5},         {"Update", "update", 5},
      {"CASE_CLOSED", "update", 5},    {"Retrieve", "retrieve", 5},
      {"RetrieveAll", "retrieve_all", 5},
      {"RetrieveByContent", "retrieve_by_content", 5},
      {"Delete", nullptr, 0},          {"Exist", nullptr, 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.verb);
    rec = step_record{};
    rec.result = 5;
    KlJournal::clear();
    BusinessObject child("T_Child");
    child.setVerb(c.verb);
    EXPECT_EQ(h->doSubVerbFor(child), c.result);
    EXPECT_EQ(rec.calls.size(), c.step ? 1u : 0u);
    if (c.step) {
      EXPECT_EQ(rec.calls[0], std::string(c.step) + ":T_Child");
    }
    if (std::string(c.verb) == "Exist") {
      EXPECT_EQ(logs(), std::vector<std::string>{"2 20027: Exist"});
    }
  }
}

TEST_F(conn_handler_test, maps_of_the_whole_tree_are_deleted) {
  conn_define("T_Tree", "",
              {{"One", "", 0, "T_Child"}, {"Many", "", BOAttrType::MULTIPLE, "T_Child"}});
  BusinessObject root("T_Tree");
  BusinessObject* one = root.makeNewAttrObject("One");
  root.setAttrValue("One", one, BOAttrType::OBJECT);
  BusinessObject* many = root.makeNewAttrObject("Many");
  root.setAttrValue("Many", many, BOAttrType::OBJECT);
  new Map(&root);
  new Map(one);
  new Map(many);
  h->PrivateDeleteMaps(root);
  EXPECT_EQ(root.getContext(), nullptr);
  EXPECT_EQ(one->getContext(), nullptr);
  EXPECT_EQ(many->getContext(), nullptr);
}


}  // namespace
