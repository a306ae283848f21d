// Helpers of the agent's tests: a temporary folder and running the program.
#pragma once

#include <functional>
#include <string>

namespace agent_test {

// A temporary folder (testdb::tmp_folder), removed with everything in it at
// the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file in the folder; returns its path.
  std::string write(const std::string& name, const std::string& text) const;

 private:
  std::string path_;
};

struct RunResult {
  int status = -1;  // exit status, or -1 when the program did not exit
  std::string out, err;
};

// Runs the built orbisan-agent with these arguments to its end.
RunResult run_agent(const std::string& args);
// Runs it in the background and sends it SIGTERM once `ready` holds (asked
// every few milliseconds) or, at the latest, after `deadline_s` seconds;
// then waits for its end.
RunResult run_agent_until(const std::string& args, const std::function<bool()>& ready, double deadline_s = 60);
// A file's whole text (empty when it cannot be read).
std::string slurp(const std::string& path);
// The build folder (the program, liborbisan.so and the message file).
std::string build_dir();
// The test connector library (scripted by its properties) and a library
// without connector globals.
std::string fake_connector();
std::string no_globals_library();

// Expects `read` to refuse its input (AgentError BAD_INPUT) with a text
// that starts with "<place>: " and holds `why`; `input` names the case.
void expect_refused(const std::function<void()>& read, const std::string& place, const std::string& why,
                    const std::string& input);

}  // namespace agent_test
