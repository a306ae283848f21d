// Helpers of the agent's tests.
#include "agent_test_util.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

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

namespace {

constexpr auto kReadyPollStep = std::chrono::milliseconds(10);

std::string agent_command(const std::string& args) { return build_dir() + "/orbisan-agent " + args; }

RunResult result_of(int raw, const TempDir& dir) {
  RunResult r;
  if (raw != -1 && WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
  r.out = slurp(dir.path() + "/out");
  r.err = slurp(dir.path() + "/err");
  return r;
}

}  // namespace

RunResult run_agent(const std::string& args) {
  TempDir dir;
  std::string cmd = agent_command(args) + " >" + dir.path() + "/out 2>" + dir.path() + "/err";
  return result_of(std::system(cmd.c_str()), dir);
}

RunResult run_agent_until(const std::string& args, const std::function<bool()>& ready, double deadline_s) {
  TempDir dir;
  // The shell replaces itself by the agent, so the signal reaches the agent.
  const std::string cmd = "exec " + agent_command(args) + " >" + dir.path() + "/out 2>" + dir.path() + "/err";
  pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", cmd.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (pid < 0) return result_of(-1, dir);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(deadline_s);
  int raw = -1;
  while (!ready() && std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid, &raw, WNOHANG) == pid) return result_of(raw, dir);  // ended by itself
    std::this_thread::sleep_for(kReadyPollStep);
  }
  kill(pid, SIGTERM);
  if (waitpid(pid, &raw, 0) != pid) raw = -1;
  return result_of(raw, dir);
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
