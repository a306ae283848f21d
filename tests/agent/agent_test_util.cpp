// Helpers of the agent's tests.
#include "agent_test_util.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "agent_error.h"
#include "testdb/testdb_tmp.h"

namespace agent_test {

TempDir::TempDir() {
  path_ = testdb::tmp_folder("orb_agent_");
  if (path_.empty()) throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::write(const std::string& name, const std::string& text) const {
  std::string p = path_ + "/" + name;
  std::ofstream(p, std::ios::binary) << text;
  return p;
}

std::string build_dir() { return ORBISAN_AGENT_BUILD_DIR; }
std::string fake_connector() { return AGENT_FAKE_CONNECTOR; }
std::string no_globals_library() { return AGENT_NO_GLOBALS; }

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

RunResult run_agent(const std::string& args, double term_after) {
  TempDir dir;
  std::string cmd = build_dir() + "/orbisan-agent " + args + " >" + dir.path() + "/out 2>" + dir.path() + "/err";
  if (term_after > 0)
    cmd = "bash -c '" + cmd + " & pid=$!; sleep " + std::to_string(term_after) + "; kill -TERM $pid; wait $pid'";
  int raw = std::system(cmd.c_str());
  RunResult r;
  if (raw != -1 && WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
  r.out = slurp(dir.path() + "/out");
  r.err = slurp(dir.path() + "/err");
  return r;
}

void expect_refused(const std::function<void()>& read, const std::string& place, const std::string& why,
                    const std::string& input) {
  try {
    read();
    ADD_FAILURE() << "accepted: " << input;
  } catch (const AgentError& e) {
    std::string text = e.what();
    EXPECT_EQ(e.code(), AgentExit::BAD_INPUT) << text;
    EXPECT_EQ(text.rfind(place + ": ", 0), 0u) << input << " -> " << text;
    EXPECT_NE(text.find(why), std::string::npos) << input << " -> " << text;
  }
}

}  // namespace agent_test
