// The agent's message file: the texts of the connector's message numbers,
// loaded into the broker framework so that its messages print with them.
//
// A line is "<number> <text>"; blank lines and lines starting with '#' are
// skipped. In a text "%1" .. "%9" stand for the message's text arguments.
#pragma once

#include <string>
#include <vector>

class AgentMessages {
 public:
  // The file's name, shipped beside the agent.
  static constexpr const char* kFileName = "orbisan_messages.txt";

  // Reads the file and hands its texts to the framework; refused
  // (AgentError BAD_INPUT) with the line of a malformed or repeated number.
  void load(const std::string& path);
  void parse(const std::string& text, const std::string& place);

  // The message as the framework builds it: "<number>: <text>" with the
  // arguments put in, or "<number>: a; b" for a number without a text.
  static std::string format(int number, const std::vector<std::string>& args);

  size_t size() const { return count_; }

 private:
  size_t count_ = 0;
};
