// Why the agent stops: the exit status it gives and the text it prints.
#pragma once

#include <stdexcept>
#include <string>

enum class AgentExit : int {
  DONE = 0,            // the command ran
  REQUEST_FAILED = 1,  // a request answered -1, -2 or an alert code; a poll answered -1
  BAD_INPUT = 2,       // command line, properties, definitions or an instance
  NO_START = 3,        // the connector could not be loaded or started
};

class AgentError : public std::runtime_error {
 public:
  AgentError(AgentExit code, const std::string& what) : std::runtime_error(what), code_(code) {}
  AgentExit code() const { return code_; }

 private:
  AgentExit code_;
};

// A refused input: "<place>: <why>", place naming the file and where in it.
inline AgentError agent_bad_input(const std::string& place, const std::string& why) {
  return AgentError(AgentExit::BAD_INPUT, place + ": " + why);
}

// The whole text of a file; BAD_INPUT naming it when it cannot be read.
std::string agent_read_file(const std::string& path);
