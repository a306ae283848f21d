// The agent driving the real connector on the demo CRM database (a private
// MariaDB server per test): start-up and refused logins, every request verb
// checked by SQL, polling by priority with the archive, bad input that
// changes nothing, and no event lost when the agent or the server dies.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "agent_demo.h"
#include "agent_host.h"
#include "agent_props.h"
#include "agent_specs.h"
#include "agent_subscriber.h"
#include "kl_veneer.h"

using agent_test::DemoDatabase;
using agent_test::RunResult;
using nlohmann::json;

namespace {

constexpr int kUsage = 2;
constexpr int kFailed = 1;
constexpr int kNoStart = 3;

std::vector<json> json_lines(const std::string& out) {
  std::vector<json> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(json::parse(line));
  return lines;
}

// The event numbers ("Orbisan_<n>") of the delivered objects, in order.
std::vector<int> delivered_events(const std::string& out) {
  std::vector<int> ids;
  for (const json& o : json_lines(out))
    ids.push_back(std::stoi(o["values"]["ObjectEventId"].get<std::string>().substr(8)));
  return ids;
}

class AgentDemo : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(db_.start(&why)) << why;
  }

  // One request: the agent's exit status and the {"status","object"} line.
  json request(const json& object, int* exit_status) {
    std::string file = db_.write("request.json", object.dump());
    RunResult r = db_.agent("request '" + file + "'");
    *exit_status = r.status;
    std::vector<json> lines = json_lines(r.out);
    if (lines.empty()) {
      ADD_FAILURE() << object.dump() << " -> no output; stderr:\n" << r.err;
      return json::object();
    }
    return lines.back();
  }

  static json contact(const std::string& verb, const json& values) {
    return {{"name", "Orbisan_Contact"}, {"verb", verb}, {"values", values}};
  }

  DemoDatabase db_;
};

TEST_F(AgentDemo, StartsAndRefusesWhatCannotLogIn) {
  RunResult ok = db_.agent("init");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.out, "{\"init\":0,\"version\":\"4.8.3\"}\n");

  db_.set_property("ApplicationPassword", "not-the-password");
  RunResult wrong = db_.agent("init");
  EXPECT_EQ(wrong.status, kNoStart);
  EXPECT_EQ(wrong.out, "{\"init\":-1,\"version\":\"4.8.3\"}\n");
  EXPECT_NE(wrong.err.find("The database login or password is not valid. (0x600024)"), std::string::npos) << wrong.err;

  db_.set_property("ApplicationPassword", "orbisan-demo");
  ASSERT_TRUE(db_.kill_server());
  RunResult stopped = db_.agent("init");
  EXPECT_EQ(stopped.status, kNoStart);
  EXPECT_NE(stopped.err.find("Cannot reach the database server"), std::string::npos) << stopped.err;
}

// The connector as the agent starts it, in this process's child.
struct ForkedConnector {
  AgentProperties props;
  AgentSpecs specs;
  AgentHost host;
  FILE* out = nullptr;
  void* client = nullptr;  // the client library's handle

  // Started in the demo's folder, its output to `out_name`; a step that
  // fails ends the child with a code of its own.
  void start(const DemoDatabase& db, const char* out_name) {
    if (chdir(db.folder().c_str()) != 0) _exit(10);
    // The data service is found as the agent's loader would find it.
    client = dlopen((agent_test::build_dir() + "/liborbisan.so").c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (client == nullptr) _exit(11);
    if (!dlopen((agent_test::build_dir() + "/dataservice/libOraDataSvc.so").c_str(), RTLD_NOW | RTLD_GLOBAL)) _exit(12);
    out = std::fopen(out_name, "w");
    props.load(db.properties());
    specs.loadDir(db.definitions());
    host.load(agent_test::build_dir() + "/liborbisan.so");
    if (host.init(props, specs, out) != 0) _exit(13);
  }
};

// The connector started in this process's child; the child writes the
// client's alert stack to "alerts.out" and exits 0.
[[noreturn]] void forked_init_alerts(const DemoDatabase& db) {
  ForkedConnector c;
  c.start(db, "init.out");
  // The library's cpi_alert_print(FILE*, long), by its C++ name.
  using alert_print = long (*)(FILE*, long);
  auto print = reinterpret_cast<alert_print>(dlsym(c.client, "_Z15cpi_alert_printP8_IO_FILEl"));
  if (print == nullptr) _exit(15);
  FILE* alerts = std::fopen("alerts.out", "w");
  if (alerts == nullptr) _exit(16);
  print(alerts, 0);
  std::fclose(alerts);
  _exit(0);
}

// The demo's user type holds every field a login reads, so that a start
// leaves nothing on the client's alert stack.
TEST_F(AgentDemo, StartingLeavesNoAlertBehind) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) forked_init_alerts(db_);
  int raw = 0;
  ASSERT_EQ(waitpid(child, &raw, 0), child);
  ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << "child status " << raw << "\n" << db_.read("init.out");
  EXPECT_EQ(db_.read("alerts.out"), "  (0 entries):\n");
}

TEST_F(AgentDemo, CreateWritesTheContactItsRoleAndTheirRelations) {
  std::string file = agent_test::source_dir() + "/tools/demo/create_contact.json";
  RunResult r = db_.agent("request '" + file + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  json answer = json_lines(r.out).at(0);
  EXPECT_EQ(answer["status"], 1);
  std::string id = answer["object"]["values"]["ObjId"];
  std::string role = answer["object"]["values"]["Orbisan_Contact_Role"]["values"]["ObjId"];
  EXPECT_EQ(db_.sql("select first_name, last_name, phone, e_mail from table_contact where objid = " + id + ";"),
            "Erin\tExample\t555-0400\terin@example.com\n");
  EXPECT_EQ(db_.sql("select role_name, contact_role2contact, contact_role2site from table_contact_role "
                    "where objid = " + role + ";"),
            "Buyer\t" + id + "\t1\n");
  // The ids came from the id table, past the seeded rows.
  EXPECT_GT(std::stol(id), 100);
  EXPECT_EQ(db_.sql("select count(*) from table_contact;"), "3\n");
}

TEST_F(AgentDemo, RetrieveVerbsReadWhatIsStored) {
  struct Case {
    const char* verb;
    json values;
    int status;
    json expected;  // attributes expected in the answer
  };
  const Case cases[] = {
      {"Retrieve", {{"ObjId", "1"}}, 1, {{"FirstName", "Carol"}, {"LastName", "Client"}, {"Phone", "555-0200"}}},
      {"RetrieveAll", {{"ObjId", "2"}, {"Orbisan_Contact_Role", {{"values", json::object()}}}}, 1,
       {{"FirstName", "Dan"}, {"Orbisan_Contact_Role", {{"name", "Orbisan_Contact_Role"}, {"verb", ""},
        {"appVerb", "RetrieveAll"}, {"values", {{"ObjId", "2"}, {"SiteObjId", "2"}, {"RoleName", "Owner"}}}}}}},
      {"Exist", {{"ObjId", "2"}}, 1, {{"LastName", "Dealer"}}},
      {"Exist", {{"ObjId", "999"}}, -1, json::object()},
      // Found through the view contact_site, then retrieved whole (the
      // definition asks for the subsequent RetrieveAll).
      {"RetrieveByContent", {{"LastName", "Dealer"}}, 1, {{"ObjId", "2"}, {"FirstName", "Dan"}, {"Phone", "555-0300"}}},
      // Nothing found: the subsequent retrieve has no key.
      {"RetrieveByContent", {{"LastName", "Nobody"}}, -1, {{"LastName", "Nobody"}}},
  };
  for (const Case& c : cases) {
    int exit_status = -1;
    json answer = request(contact(c.verb, c.values), &exit_status);
    std::string label = std::string(c.verb) + " " + c.values.dump();
    EXPECT_EQ(answer["status"], c.status) << label;
    EXPECT_EQ(exit_status, c.status == 1 ? 0 : kFailed) << label;
    for (auto& [name, value] : c.expected.items())
      EXPECT_EQ(answer["object"]["values"][name], value) << label << " " << name << " in " << answer.dump();
  }
}

TEST_F(AgentDemo, UpdateAndDeleteChangeFieldsAndDeleteNothing) {
  int exit_status = -1;
  json updated = request(contact("Update", {{"ObjId", "1"}, {"Phone", "555-9999"}}), &exit_status);
  EXPECT_EQ(updated["status"], 1);
  EXPECT_EQ(exit_status, 0);
  json deleted = request(contact("Delete", {{"ObjId", "2"}, {"Email", "gone@example.com"}}), &exit_status);
  EXPECT_EQ(deleted["status"], 1);
  EXPECT_EQ(exit_status, 0);
  EXPECT_EQ(db_.sql("select objid, phone, e_mail from table_contact order by objid;"),
            "1\t555-9999\tcarol@example.com\n2\t555-0300\tgone@example.com\n");
  EXPECT_EQ(db_.sql("select count(*) from table_contact_role;"), "2\n");
}

TEST_F(AgentDemo, PollDeliversByPriorityThenIdAndArchives) {
  db_.event(1, 2, "Contact:ObjId=2", "Update", "2");
  db_.event(2, 1, "Contact:ObjId=1", "Update", "1");
  db_.event(3, 2, "Contact:ObjId=1", "Update", "1");
  // Sites are not subscribed for "Delete": the event is skipped.
  db_.event(4, 1, "Site", "Delete", "S-0002");
  db_.event(5, 3, "Site:cust_primaddr2address", "Update", "S-0002");
  RunResult r = db_.agent("poll");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(delivered_events(r.out), (std::vector<int>{2, 1, 3, 5}));
  json site = json_lines(r.out).back();
  EXPECT_EQ(site["values"]["Orbisan_Address"][0]["values"]["Street"], "9 Side Rd");
  EXPECT_EQ(db_.sql("select count(*) from table_orbisan_events;"), "0\n");
  EXPECT_EQ(db_.sql("select event_id, event_status from table_orbisan_archive order by event_id;"),
            "1\tSuccess\n2\tSuccess\n3\tSuccess\n4\tSkipped\n5\tSuccess\n");
}

TEST_F(AgentDemo, BadInputChangesNothing) {
  struct Case {
    const char* what;
    std::string object;
    int exit_status;
    const char* said;  // on standard error
  };
  const std::string long_name(31, 'x');  // first_name holds 30 characters
  const Case cases[] = {
      {"malformed JSON", "{\"name\": \"Orbisan_Contact\", \"verb\": ", kUsage, "request.json"},
      {"unknown type", json{{"name", "Orbisan_Nothing"}, {"verb", "Create"}, {"values", json::object()}}.dump(),
       kUsage, "Orbisan_Nothing"},
      {"unknown attribute", contact("Create", {{"Nickname", "Al"}}).dump(), kUsage, "Nickname"},
      {"value too long", contact("Create", {{"FirstName", long_name}, {"LastName", "Long"}}).dump(), kFailed,
       "request returned -1"},
  };
  const std::string before = db_.all_tables();
  for (const Case& c : cases) {
    std::string file = db_.write("request.json", c.object);
    RunResult r = db_.agent("request '" + file + "'");
    EXPECT_EQ(r.status, c.exit_status) << c.what << "\n" << r.err;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << c.what << "\n" << r.err;
    EXPECT_EQ(db_.all_tables(), before) << c.what;
  }
  // The refused write is in the connector's error log.
  EXPECT_NE(db_.read("orbisan.err").find("(0x600036)"), std::string::npos) << db_.read("orbisan.err");
}

// Stands for a broker that dies while it takes its third delivery.
class DyingSubscriber : public AgentSubscriber {
 public:
  using AgentSubscriber::AgentSubscriber;
  int deliverEvent(BusinessObject* bo) override {
    if (++deliveries_ == 3) raise(SIGKILL);
    return AgentSubscriber::deliverEvent(bo);
  }

 private:
  int deliveries_ = 0;
};

// The connector in this process's child, polling until the subscriber dies.
[[noreturn]] void forked_poll(const DemoDatabase& db) {
  ForkedConnector c;
  c.start(db, "forked.out");
  JToCPPVeneer::getTheHandlerStuff()->setTheSubHandler(new DyingSubscriber(c.specs, c.out));
  for (int i = 0; i < 10; ++i) c.host.poll();
  _exit(14);
}

TEST_F(AgentDemo, KilledAtTheThirdDeliveryLosesNothing) {
  for (long id = 1; id <= 5; ++id) db_.event(id, 1, "Contact:ObjId=" + std::to_string(id % 2 + 1), "Update", "1");
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) forked_poll(db_);
  int raw = 0;
  ASSERT_EQ(waitpid(child, &raw, 0), child);
  ASSERT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == SIGKILL) << "child status " << raw;
  EXPECT_EQ(delivered_events(db_.read("forked.out")), (std::vector<int>{1, 2}));
  // The third event was taken (in progress) and neither deleted nor archived.
  EXPECT_EQ(db_.sql("select objid, event_status from table_orbisan_events order by objid;"),
            "3\t1\n4\t0\n5\t0\n");

  RunResult next = db_.agent("poll");
  EXPECT_EQ(next.status, 0) << next.err;
  EXPECT_EQ(delivered_events(next.out), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(db_.sql("select count(*) from table_orbisan_events;"), "0\n");
  EXPECT_EQ(db_.sql("select count(*) from table_orbisan_archive where event_status = 'Success';"), "5\n");
}

TEST_F(AgentDemo, ServerKilledUnderFollowLosesNothing) {
  db_.event(1, 1, "Contact:ObjId=1", "Update", "1");
  db_.set_property("PollFrequency", "200");
  std::string out;
  // The agent follows and delivers the first event; the server dies under
  // it and comes back on its folder once the agent has tried twice to start
  // the connector again; then the CRM writes two more events.
  std::string script =
      "until_true() { for i in $(seq 90); do eval \"$1\" && return 0; sleep 1; done; return 1; }\n"
      "pending() { demo_db_sql \"select count(*) from table_orbisan_archive where event_status = 'Pending'\"; }\n"
      "demo_agent_bg \"$WORK/agent.out\" \"$WORK/agent.err\" poll --follow\n"
      "trap 'kill -KILL $DEMO_AGENT_PID 2>/dev/null' EXIT\n"
      "until_true '[ \"$(pending)\" = 0 ]' || exit 11\n"
      "\"$ROOT/tools/mariadb/orb_mariadb.sh\" kill \"$WORK/db\"\n"
      "until_true 'grep -q \"try 2\" \"$WORK/agent.err\"' || exit 12\n"
      "\"$ROOT/tools/mariadb/orb_mariadb.sh\" start \"$WORK/db\" >/dev/null || exit 13\n"
      "demo_db_event 2 1 'Contact:ObjId=2' Update 2\ndemo_db_event 3 2 'Contact:ObjId=1' Update 1\n"
      "until_true '[ \"$(pending)\" = 0 ]' || exit 14\n"
      "kill -TERM $DEMO_AGENT_PID\nwait $DEMO_AGENT_PID";
  int status = db_.shell(script, &out);
  std::string err = db_.read("agent.err");
  EXPECT_EQ(status, 0) << out << err;
  EXPECT_EQ(delivered_events(db_.read("agent.out")), (std::vector<int>{1, 2, 3})) << err;
  EXPECT_NE(err.find("poll returned -2"), std::string::npos) << err;
  EXPECT_NE(err.find("try 1"), std::string::npos) << err;
  EXPECT_EQ(db_.sql("select count(*) from table_orbisan_archive where event_status = 'Success';"), "3\n");
}

}  // namespace
