// The demo CRM database on a private MariaDB server of the test's own
// (tools/demo/demo_db.sh), the agent run on it as run.sh runs it
// (tools/demo/demo_agent.sh), and plain SQL through the mariadb client.
#pragma once

#include <string>

#include "agent_test_util.h"

namespace agent_test {

class DemoDatabase {
 public:
  DemoDatabase() = default;
  ~DemoDatabase();
  DemoDatabase(const DemoDatabase&) = delete;
  DemoDatabase& operator=(const DemoDatabase&) = delete;

  // Starts the server with the demo database and writes the connector's
  // properties and environment file; false (with the cause) when it fails.
  bool start(std::string* why);
  // Kills the server at once (its folder stays), and starts it again on it.
  bool kill_server();
  bool restart_server();

  // The rows of a query, one line each, columns separated by tabs.
  std::string sql(const std::string& statements) const;
  // Every CRM table (table_*) with all its rows, in a fixed order.
  std::string all_tables() const;
  // An event as the CRM writes it (event row and archive row "Pending").
  void event(long id, long priority, const std::string& name, const std::string& verb, const std::string& key) const;

  // orbisan-agent on the demo's properties and definitions, run in the
  // connector's working folder.
  RunResult agent(const std::string& args) const;
  // A property line added to (or replacing the same name in) the properties.
  void set_property(const std::string& name, const std::string& value) const;
  // A file in the working folder; returns its path.
  std::string write(const std::string& name, const std::string& text) const { return dir_.write(name, text); }
  std::string read(const std::string& name) const;

  const std::string& folder() const { return dir_.path(); }
  std::string properties() const { return folder() + "/demo.properties"; }
  std::string definitions() const;

  // Runs bash commands with the demo's helpers sourced; the exit status.
  int shell(const std::string& commands, std::string* out = nullptr) const;

 private:
  TempDir dir_;
  bool started_ = false;
};

// The repository's folder.
std::string source_dir();

}  // namespace agent_test
