// The globals object: properties, login with the reset of events in
// progress, terminate, the handler's property flags and broker messages.
#include <string>

#include "conn_fixture.h"
#include "connector/conn_util.h"

namespace {

using conn_globals_test = conn_test;

TEST(conn_globals_load, loading_publishes_one_globals_object) {
  ASSERT_NE(global_handle, nullptr);
  EXPECT_EQ(theGlob, global_handle);
  EXPECT_EQ(JToCPPVeneer::theAppGlobPtr, global_handle);
  EXPECT_STREQ(global_handle->getVersion(), "4.8.3");
}

TEST_F(conn_globals_test, unset_properties_give_the_defaults) {
  EXPECT_EQ(globals->init(nullptr), 0);
  EXPECT_EQ(globals->eventTableName, "orbisan_events");
  EXPECT_EQ(globals->archiveTableName, "");
  EXPECT_EQ(globals->floatPrecision, 6);
  EXPECT_EQ(globals->doublePrecision, 15);
  EXPECT_EQ(globals->memoryRefreshInterval, 0);
  EXPECT_EQ(globals->restartCount, -1);
  EXPECT_EQ(globals->stateDumpFileName(), nullptr);
  EXPECT_EQ(globals->sqlDumpFileName(), nullptr);
  EXPECT_EQ(cpi_double::calls_of("cpi_sess_login"),
            std::vector<std::string>{"cpi_sess_login(,,,)"});
  EXPECT_EQ(globals->connectionId, 7);
}

struct prop_case {
  const char* name;
  const char* value;
  std::string OrbisanGlobals::*text;  // or null for an int member
  int OrbisanGlobals::*number;
  const char* expected_text;
  int expected_number;
};

TEST_F(conn_globals_test, property_values_and_bad_values) {
  using G = OrbisanGlobals;
  const prop_case cases[] = {
      {"FloatPrecision", "0", nullptr, &G::floatPrecision, nullptr, 6},
      {"FloatPrecision", "abc", nullptr, &G::floatPrecision, nullptr, 6},
      {"FloatPrecision", "-2", nullptr, &G::floatPrecision, nullptr, 6},
      {"FloatPrecision", "9", nullptr, &G::floatPrecision, nullptr, 9},
      {"DoublePrecision", "x", nullptr, &G::doublePrecision, nullptr, 15},
      {"DoublePrecision", "20", nullptr, &G::doublePrecision, nullptr, 20},
      {"MemoryRefreshInterval", "12", nullptr, &G::memoryRefreshInterval, nullptr, 12},
      {"MemoryRefreshInterval", "", nullptr, &G::memoryRefreshInterval, nullptr, 0},
      {"RestartCount", "", nullptr, &G::restartCount, nullptr, -1},
      {"RestartCount", "3", nullptr, &G::restartCount, nullptr, 3},
      {"RestartCount", "abc", nullptr, &G::restartCount, nullptr, 0},
      {"EventTableName", "", &G::eventTableName, nullptr, "orbisan_events", 0},
      {"EventTableName", "my_events", &G::eventTableName, nullptr, "my_events", 0},
      {"ArchiveTableName", "", &G::archiveTableName, nullptr, "", 0},
      {"ArchiveTableName", "arch", &G::archiveTableName, nullptr, "arch", 0},
      {"ServerName", "srv", &G::serverName, nullptr, "srv", 0},
      {"PollFrequency", "10", &G::pollFrequency, nullptr, "10", 0},
  };
  for (const prop_case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "=" + c.value);
    OrbisanGlobals g;
    KlProperties::clear();
    KlProperties::set(c.name, c.value);
    KlProperties::set("PollFrequency", c.text == &G::pollFrequency ? c.value : "no");
    g.init(nullptr);
    if (c.text)
      EXPECT_EQ(g.*(c.text), c.expected_text);
    else
      EXPECT_EQ(g.*(c.number), c.expected_number);
  }
}

TEST_F(conn_globals_test, long_properties_are_cut_to_their_buffers) {
  KlProperties::set("ServerName", std::string(600, 's').c_str());
  KlProperties::set("MemoryRefreshInterval", (std::string(30, '0') + "5").c_str());
  KlProperties::set("PollFrequency", "no");
  globals->init(nullptr);
  EXPECT_EQ(globals->serverName, std::string(511, 's'));
  // 24 characters of zeros are read: the 5 is beyond the buffer.
  EXPECT_EQ(globals->memoryRefreshInterval, 0);
}

TEST_F(conn_globals_test, login_resets_events_left_in_progress) {
  KlProperties::set("ServerName", "srv");
  KlProperties::set("DatabaseName", "db");
  KlProperties::set("ApplicationUserName", "sa");
  KlProperties::set("ApplicationPassword", "pw");
  cpi_double_obj* e1 = cpi_double::make("orbisan_events");
  cpi_double_obj* e2 = cpi_double::make("orbisan_events");
  e1->set("event_status", "1");
  e2->set("event_status", "1");
  cpi_double::answer("orbisan_events", {e1, e2});
  EXPECT_EQ(globals->init(nullptr), 0);
  const std::vector<std::string> expected = {
      "cpi_sess_login(srv,db,sa,pw)",
      "cpi_sess_ping(7)",
      "cpi_state_create(7)",
      "cpi_qry_traverse_map(7,101,1;orbisan_events kind=4 flag=1 event_status=1 order "
      "event_priority/1 order objid/1)",
      "cpi_qry_get_result(0)",
      "cpi_obj_set_field(orbisan_events.event_status=0)",
      "cpi_obj_update(101,orbisan_events)",
      "cpi_obj_set_field(orbisan_events.event_status=0)",
      "cpi_obj_update(101,orbisan_events)",
      "cpi_state_commit(101)",
      "cpi_qry_free_results",
      "cpi_state_rollback(101)",
  };
  EXPECT_EQ(cpi_double::calls(), expected);
  EXPECT_EQ(e1->get("event_status"), "0");
  EXPECT_EQ(cpi_double::open_states(), 0);
  EXPECT_EQ(cpi_double::open_results(), 0);
}

TEST_F(conn_globals_test, login_without_events_changes_nothing) {
  EXPECT_EQ(globals->init(nullptr), 0);
  EXPECT_EQ(cpi_double::count_of("cpi_obj_"), 0);
  EXPECT_EQ(cpi_double::count_of("cpi_state_commit"), 0);
  EXPECT_EQ(cpi_double::open_states(), 0);
}

TEST_F(conn_globals_test, poll_frequency_no_skips_ping_and_reset) {
  KlProperties::set("PollFrequency", "no");
  EXPECT_EQ(globals->init(nullptr), 0);
  EXPECT_EQ(cpi_double::calls(), std::vector<std::string>{"cpi_sess_login(,,,)"});
}

TEST_F(conn_globals_test, failed_login_prints_and_clears_alerts) {
  cpi_double::fail("cpi_sess_login", 0x2c0000c);
  testing::internal::CaptureStdout();
  EXPECT_EQ(globals->init(nullptr), -1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Injected failure 0x2c0000c of cpi_sess_login."), std::string::npos);
  EXPECT_TRUE(cpi_double::alerts().empty());
  EXPECT_EQ(globals->connectionId, 0);
}

TEST_F(conn_globals_test, sql_dump_file_is_handed_to_the_session_bounded) {
  KlProperties::set("SQLDumpFileName", "sql.log");
  KlProperties::set("PollFrequency", "no");
  globals->init(nullptr);
  EXPECT_STREQ(globals->sqlDumpFileName(), "sql.log");
  EXPECT_EQ(cpi_double::calls_of("cpi_sess_set_option"),
            std::vector<std::string>{"cpi_sess_set_option(7,1,sql.log)"});

  globals->terminate();  // one session at a time
  OrbisanGlobals g;
  std::string long_name(150, 'n');
  KlProperties::set("SQLDumpFileName", long_name.c_str());
  g.init(nullptr);
  EXPECT_EQ(cpi_double::calls_of("cpi_sess_set_option").back(),
            "cpi_sess_set_option(7,1," + std::string(99, 'n') + ")");
}

TEST_F(conn_globals_test, state_dump_file_gets_a_start_banner) {
  KlProperties::set("StateDumpFileName", "state.dmp");
  KlProperties::set("PollFrequency", "no");
  globals->init(nullptr);
  globals->init(nullptr);
  std::string text = file_text(dir / "state.dmp");
  std::string banner = "\n\n\n" + std::string(42, '*') + "\nStarted at: ";
  size_t first = text.find(banner);
  ASSERT_EQ(first, 0u);
  EXPECT_NE(text.find(banner, first + 1), std::string::npos);
  EXPECT_EQ(text.back(), '\n');
}

TEST_F(conn_globals_test, failed_state_creation_logs_the_error_and_fails_login) {
  cpi_double::fail("cpi_state_create", 0x2c00004);
  EXPECT_EQ(globals->init(nullptr), -1);
  EXPECT_NE(file_text(dir / "orbisan.err").find("Injected failure 0x2c00004"), std::string::npos);
}

TEST_F(conn_globals_test, failed_event_query_means_a_lost_connection) {
  cpi_double::fail("cpi_qry_traverse_map", CONN_ALRT_CONNECTION_LOST);
  testing::internal::CaptureStdout();
  EXPECT_EQ(globals->init(nullptr), -2);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(globals->connectionId, 0);
  // log_error's own 20018 (fatal), then the login's (built fatal, logged as error).
  const std::vector<std::string> expected = {"1 20018: OrbisanConnector",
                                             "2 20018: OrbisanConnector"};
  EXPECT_EQ(logs(), expected);
  EXPECT_EQ(cpi_double::open_states(), 0);
}

TEST_F(conn_globals_test, failed_ping_logs_the_lost_connection_twice) {
  cpi_double::set_ping(0x70002e);
  testing::internal::CaptureStdout();
  EXPECT_EQ(globals->init(nullptr), -2);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(globals->connectionId, 0);
  const std::vector<std::string> expected = {"1 20018: OrbisanConnector",
                                             "1 20018: OrbisanConnector",
                                             "2 20018: OrbisanConnector"};
  EXPECT_EQ(logs(), expected);
  EXPECT_EQ(cpi_double::count_of("cpi_state_create"), 0);
}

struct reset_failure {
  const char* function;
  const char* message;
  int answer;
};

TEST_F(conn_globals_test, a_failed_reset_writes_nothing_and_logs_out) {
  const reset_failure cases[] = {
      {"cpi_obj_set_field", "2 22117: orbisan_events", -1},
      {"cpi_obj_update", "2 22118: orbisan_events", -1},
      {"cpi_state_commit", "2 22119: orbisan_events", -1},
      {"cpi_state_create", nullptr, -1},
  };
  for (const reset_failure& c : cases) {
    SCOPED_TRACE(c.function);
    cpi_double::reset();
    KlJournal::clear();
    cpi_double::define("orbisan_events", {{"object_name", 't'}, {"event_status", 't'},
                                          {"event_priority", 'l'}});
    long e1 = cpi_double::insert("orbisan_events", {{"event_status", "1"}});
    long e2 = cpi_double::insert("orbisan_events", {{"event_status", "1"}});
    cpi_double::fail(c.function, 0x2c00002);
    OrbisanGlobals g;
    EXPECT_EQ(g.init(nullptr), c.answer);
    if (c.message) {
      EXPECT_EQ(logs(), std::vector<std::string>{c.message});
    }
    EXPECT_EQ(cpi_double::field(e1, "event_status"), "1");
    EXPECT_EQ(cpi_double::field(e2, "event_status"), "1");
    EXPECT_EQ(cpi_double::commits(), 0);
    EXPECT_EQ(cpi_double::calls_of("cpi_sess_logout"), std::vector<std::string>{"cpi_sess_logout(7)"});
    EXPECT_EQ(g.connectionId, 0);
    EXPECT_EQ(cpi_double::open_states(), 0);
    EXPECT_EQ(cpi_double::open_results(), 0);
  }
}

TEST_F(conn_globals_test, a_reset_cut_short_by_a_lost_connection_answers_minus_two) {
  cpi_double::define("orbisan_events", {{"event_status", 't'}, {"event_priority", 'l'}});
  long e1 = cpi_double::insert("orbisan_events", {{"event_status", "1"}});
  cpi_double::fail("cpi_state_commit", CONN_ALRT_CONNECTION_LOST);
  testing::internal::CaptureStdout();
  EXPECT_EQ(globals->init(nullptr), -2);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(cpi_double::field(e1, "event_status"), "1");
  EXPECT_EQ(globals->connectionId, 0);
  // The session is kept aside and logged out by terminate.
  EXPECT_EQ(globals->lostSessionId(), 7);
  EXPECT_EQ(cpi_double::count_of("cpi_sess_logout"), 0);
  globals->terminate();
  EXPECT_EQ(cpi_double::calls_of("cpi_sess_logout"), std::vector<std::string>{"cpi_sess_logout(7)"});
  EXPECT_EQ(globals->lostSessionId(), 0);
  EXPECT_EQ(cpi_double::open_states(), 0);
}

TEST_F(conn_globals_test, terminate_logs_out_once_connected) {
  EXPECT_EQ(globals->terminate(), 0);
  EXPECT_EQ(cpi_double::count_of("cpi_sess_logout"), 0);
  connect();
  EXPECT_EQ(globals->terminate(), 0);
  EXPECT_EQ(cpi_double::calls_of("cpi_sess_logout"),
            std::vector<std::string>{"cpi_sess_logout(7)"});
  EXPECT_EQ(globals->connectionId, 0);
}

TEST_F(conn_globals_test, handler_flags_come_from_properties_on_the_first_call_only) {
  KlProperties::set("UseOrbisanID", "FALSE");
  KlProperties::set("IgnoreMissingChildObject", "False");
  KlProperties::set("FailOnUpdate", "no");
  KlProperties::set("RequestRetrieve", "DEEP");
  GenBOHandler* h = handler();
  EXPECT_EQ(h->idGeneration, 0);
  EXPECT_EQ(h->ignoreMissingChild, 0);
  EXPECT_EQ(h->failOnUpdate, 1);
  EXPECT_EQ(h->deepRetrieve, 1);
  KlProperties::clear();
  EXPECT_EQ(globals->getBOHandlerforBO(const_cast<char*>("Other")), h);
  EXPECT_EQ(h->idGeneration, 0);
  EXPECT_EQ(h->deepRetrieve, 1);

  OrbisanGlobals g;
  auto* fresh = static_cast<GenBOHandler*>(g.getBOHandlerforBO(nullptr));
  EXPECT_EQ(fresh->idGeneration, 1);
  EXPECT_EQ(fresh->ignoreMissingChild, 1);
  EXPECT_EQ(fresh->failOnUpdate, 1);
  EXPECT_EQ(fresh->deepRetrieve, 0);
}

TEST_F(conn_globals_test, trace_level_zero_builds_only_errors_and_fatals) {
  const int types[] = {KzMsgFormat::ORB_INFO, KzMsgFormat::ORB_WARNING, KzMsgFormat::ORB_ERROR,
                       KzMsgFormat::ORB_FATAL};
  for (int type : types) {
    std::string text = globals->generateTraceMsg(22045, type, nullptr, 1, "a");
    bool built = type == KzMsgFormat::ORB_ERROR || type == KzMsgFormat::ORB_FATAL;
    EXPECT_EQ(text, built ? "22045: a" : "") << type;
  }
  KlProperties::set("AgentTraceLevel", "2");
  EXPECT_STREQ(globals->generateTraceMsg(22045, KzMsgFormat::ORB_INFO, nullptr, 1, "a"),
               "22045: a");
  EXPECT_EQ(globals->traceLevel, 2);
  EXPECT_TRUE(traces().empty());
}

TEST_F(conn_globals_test, arguments_of_450_characters_are_traced_instead) {
  KlProperties::set("AgentTraceLevel", "3");
  std::string a(200, 'a');
  std::string b249(249, 'b');
  std::string b250(250, 'b');
  EXPECT_EQ(std::string(globals->generateTraceMsg(1, KzMsgFormat::ORB_INFO, nullptr, 2, a.c_str(),
                                                  b249.c_str())),
            "1: " + a + "; " + b249);
  EXPECT_TRUE(traces().empty());

  EXPECT_STREQ(globals->generateTraceMsg(1, KzMsgFormat::ORB_INFO, nullptr, 2, a.c_str(),
                                         b250.c_str()),
               "1");
  const std::vector<std::string> expected = {
      "3 Argument length(s) exceeded limit of generateMsg",
      "3 Value of argument 1: " + a,
      "3 Value of argument 2: " + b250,
  };
  EXPECT_EQ(traces(), expected);
}

TEST_F(conn_globals_test, over_long_argument_lines_are_cut_to_the_buffer) {
  KlProperties::set("AgentTraceLevel", "1");
  std::string huge(5000, 'x');
  globals->generateTraceMsg(1, KzMsgFormat::ORB_ERROR, nullptr, 1, huge.c_str());
  ASSERT_EQ(traces().size(), 2u);
  EXPECT_EQ(traces()[1].size(), 2u + 2047u);
}

TEST_F(conn_globals_test, debug_lines_need_level_one) {
  globals->dbgMsg("quiet", 0);
  globals->dbgMsg("loud", 1);
  EXPECT_EQ(traces(), std::vector<std::string>{"1 loud"});
}

TEST_F(conn_globals_test, gc_initialize_hands_its_argument_on) {
  gcInitialize(1);
  EXPECT_EQ(gcStandInFixPrematureFrees(), 1);
}

struct counting_sub : SubscriptionHandlerCPP {
  explicit counting_sub(bool* gone) : gone_(gone) {}
  ~counting_sub() override { *gone_ = true; }
  bool* gone_;
};

TEST_F(conn_globals_test, destruction_destroys_the_subscription_handler) {
  bool gone = false;
  JToCPPVeneer::getTheHandlerStuff()->setTheSubHandler(new counting_sub(&gone));
  {
    OrbisanGlobals g;
  }
  EXPECT_TRUE(gone);
  EXPECT_NE(JToCPPVeneer::getTheHandlerStuff()->getTheSubHandler(), nullptr);
}

}  // namespace
