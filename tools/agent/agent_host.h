// The broker's side of the connector: loads the library, hands it the
// properties, installs the subscriber and drives init, requests, polls and
// terminate.
#pragma once

#include <cstdio>
#include <string>

class AgentProperties;
class AgentSpecs;
class AgentSubscriber;
class BusinessObject;
class GenGlobals;

class AgentHost {
 public:
  // The connector library: `path`, or when empty liborbisan.so beside the
  // agent's program, then the loader's search. Loaded with RTLD_NOW |
  // RTLD_GLOBAL; gcInitialize is called by name as the memory manager does.
  // AgentError NO_START (with dlerror's text) when the library or its
  // globals are missing.
  void load(const std::string& path);

  // Properties to the framework, the subscriber installed (the connector's
  // globals delete it), then init; returns init's answer.
  int init(const AgentProperties& props, const AgentSpecs& specs, FILE* out);
  int request(BusinessObject& bo);
  int poll();
  int terminate();

  const char* version();
  AgentSubscriber* subscriber() { return subscriber_; }
  bool started() const { return started_; }

 private:
  void* library_ = nullptr;
  GenGlobals* globals_ = nullptr;
  AgentSubscriber* subscriber_ = nullptr;
  bool started_ = false;
};

// The folder of the running program.
std::string agent_program_dir();
