// The demo database of the agent's end-to-end tests.
#include "agent_demo.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace agent_test {

namespace {

// The demo's CRM tables, compared whole before and after a refused request.
constexpr const char* kCrmTables[] = {"table_user",        "table_employee",   "table_contact",
                                      "table_address",     "table_site",       "table_num_scheme",
                                      "table_time_zone",   "table_daylight_hr", "table_contact_role",
                                      "table_config_itm",  "table_orbisan_events", "table_orbisan_archive"};

}  // namespace

std::string source_dir() { return ORBISAN_SOURCE_DIR; }

DemoDatabase::~DemoDatabase() {
  if (started_) shell("demo_db_stop >/dev/null 2>&1");
}

int DemoDatabase::shell(const std::string& commands, std::string* out) const {
  static long counter = 0;
  const std::string stem = folder() + "/.shell" + std::to_string(++counter);
  std::ostringstream script;
  script << "export ROOT='" << source_dir() << "' WORK='" << folder() << "' BUILD='" << build_dir() << "'\n"
         << "export DEMO_SOCK=\"$WORK/db/mysqld.sock\" ORB_MARIADB_OWNER=" << getpid()
         << " ORB_MARIADB_TEMPLATE=\"$BUILD/mariadb-template/data\"\n"
         << "source \"$ROOT/tools/demo/demo_db.sh\"\nsource \"$ROOT/tools/demo/demo_agent.sh\"\n"
         << commands << "\n";
  dir_.write(".shell" + std::to_string(counter) + ".sh", script.str());
  int raw = std::system(("bash '" + stem + ".sh' >'" + stem + ".out' 2>'" + stem + ".err'").c_str());
  if (out != nullptr) *out = slurp(stem + ".out") + slurp(stem + ".err");
  return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

bool DemoDatabase::start(std::string* why) {
  started_ = true;
  return shell("demo_db_start >/dev/null && demo_agent_setup", why) == 0;
}

bool DemoDatabase::kill_server() { return shell("\"$ROOT/tools/mariadb/orb_mariadb.sh\" kill \"$WORK/db\"") == 0; }

bool DemoDatabase::restart_server() {
  return shell("\"$ROOT/tools/mariadb/orb_mariadb.sh\" start \"$WORK/db\" >/dev/null") == 0;
}

std::string DemoDatabase::sql(const std::string& statements) const {
  dir_.write(".query.sql", statements + "\n");
  std::string out;
  shell("demo_db_client \"$DEMO_DB_NAME\" <\"$WORK/.query.sql\"", &out);
  return out;
}

std::string DemoDatabase::all_tables() const {
  std::string all;
  for (const char* table : kCrmTables)
    all += std::string("== ") + table + "\n" + sql(std::string("select * from ") + table + " order by objid;");
  return all;
}

void DemoDatabase::event(long id, long priority, const std::string& name, const std::string& verb,
                         const std::string& key) const {
  shell("demo_db_event " + std::to_string(id) + " " + std::to_string(priority) + " '" + name + "' '" + verb +
        "' '" + key + "'");
}

RunResult DemoDatabase::agent(const std::string& args) const {
  RunResult r;
  r.status = shell("demo_agent " + args + " >\"$WORK/agent.out\" 2>\"$WORK/agent.err\"");
  r.out = read("agent.out");
  r.err = read("agent.err");
  return r;
}

void DemoDatabase::set_property(const std::string& name, const std::string& value) const {
  shell("sed -i '/^" + name + "=/d' \"$WORK/demo.properties\"\necho '" + name + "=" + value +
        "' >>\"$WORK/demo.properties\"");
}

std::string DemoDatabase::read(const std::string& name) const { return slurp(folder() + "/" + name); }

std::string DemoDatabase::definitions() const { return source_dir() + "/tools/demo/objects"; }

}  // namespace agent_test
