// The agent's command line and its commands.
//
//   orbisan-agent --properties FILE [--objects DIR] [--library PATH] COMMAND
//   COMMAND: init | request FILE | poll [--follow]
#pragma once

#include <string>

struct AgentArgs {
  std::string properties;
  std::string objects;  // default: the properties file's folder
  std::string library;  // default: liborbisan.so beside the program
  std::string command;  // "init", "request" or "poll"
  std::string file;     // the request's instance file
  bool follow = false;
};

extern const char* const kAgentUsage;

// AgentError BAD_INPUT with the reason when the command line is not one of
// the forms above.
AgentArgs agent_parse_args(int argc, const char* const* argv);

// Runs a command; returns the exit status (AgentExit). Standard output gets
// only the agent's JSON lines: what the library prints goes to standard
// error.
int agent_main(int argc, const char* const* argv);
