// The message file of the agent.
#include "agent_messages.h"

#include <cctype>
#include <set>
#include <sstream>

#include "agent_error.h"
#include "kl_msg.h"

void AgentMessages::load(const std::string& path) { parse(agent_read_file(path), path); }

void AgentMessages::parse(const std::string& text, const std::string& place) {
  std::istringstream in(text);
  std::string line;
  std::set<int> seen;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::string where = place + ":" + std::to_string(number);
    size_t digits = 0;
    while (digits < line.size() && digits < 9 && std::isdigit(static_cast<unsigned char>(line[digits]))) ++digits;
    if (digits == 0 || digits >= line.size() || line[digits] != ' ')
      throw agent_bad_input(where, "a message line is a number, a space and the text");
    int msg = std::stoi(line.substr(0, digits));
    if (!seen.insert(msg).second) throw agent_bad_input(where, "message " + std::to_string(msg) + " is given twice");
    KlMessageTexts::set(msg, line.c_str() + digits + 1);
    ++count_;
  }
}

std::string AgentMessages::format(int number, const std::vector<std::string>& args) {
  return kl_msg_build_texts(number, args);
}
