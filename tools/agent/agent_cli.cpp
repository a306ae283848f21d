// The agent's command line and its commands.
#include "agent_cli.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>

#include "agent_error.h"
#include "agent_host.h"
#include "agent_log.h"
#include "agent_messages.h"
#include "agent_objects.h"
#include "agent_poll.h"
#include "agent_props.h"
#include "agent_specs.h"
#include "kl_bo.h"

const char* const kAgentUsage =
    "usage: orbisan-agent --properties FILE [--objects DIR] [--library PATH] COMMAND\n"
    "  COMMAND: init | request FILE | poll [--follow]\n";

namespace {

// Request answers: 1 done, 0 nothing to do.
constexpr int kRequestDone = 1;
constexpr int kRequestNothing = 0;

constexpr const char* kCommandLine = "command line";

AgentError usage(const std::string& why) { return agent_bad_input(kCommandLine, why); }

std::string folder_of(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Standard output is kept for the agent's JSON lines; file descriptor 1
// then points at standard error for whatever the library prints.
FILE* keep_stdout_for_json() {
  std::fflush(stdout);
  int json_fd = dup(STDOUT_FILENO);
  if (json_fd < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
    throw AgentError(AgentExit::NO_START, "cannot set up standard output");
  FILE* out = fdopen(json_fd, "w");
  if (!out) throw AgentError(AgentExit::NO_START, "cannot set up standard output");
  return out;
}

void print_json(FILE* out, const AgentObjects::json& j) {
  std::string line = j.dump() + "\n";
  std::fwrite(line.data(), 1, line.size(), out);
  std::fflush(out);
}

void load_messages() {
  AgentMessages messages;
  std::string path = agent_program_dir() + "/" + AgentMessages::kFileName;
  if (access(path.c_str(), R_OK) != 0) {
    agent_log("WARNING", "no message file " + path + ": messages print as numbers");
    return;
  }
  messages.load(path);
}

int run_init(AgentHost& host, const AgentProperties& props, const AgentSpecs& specs, FILE* out) {
  int r = agent_start(host, props, specs, out, false);
  print_json(out, {{"init", r}, {"version", host.version()}});
  if (r != 0) return static_cast<int>(AgentExit::NO_START);
  host.terminate();
  return static_cast<int>(AgentExit::DONE);
}

int run_request(AgentHost& host, BusinessObject& bo, const AgentProperties& props, const AgentSpecs& specs,
                FILE* out) {
  if (agent_start(host, props, specs, out, false) != 0) return static_cast<int>(AgentExit::NO_START);
  int r = host.request(bo);
  print_json(out, {{"status", r}, {"object", AgentObjects::write(bo)}});
  host.terminate();
  return r == kRequestDone || r == kRequestNothing ? static_cast<int>(AgentExit::DONE)
                                                   : static_cast<int>(AgentExit::REQUEST_FAILED);
}

int run(const AgentArgs& args) {
  AgentProperties props;
  props.load(args.properties);
  agent_log_journal(static_cast<int>(props.number("AgentTraceLevel", 0)));
  long frequency = props.number("PollFrequency", -1);
  if (args.follow && frequency <= 0)
    throw agent_bad_input(args.properties, "poll --follow needs a positive \"PollFrequency\" in milliseconds");
  load_messages();
  AgentSpecs specs;
  specs.loadDir(args.objects.empty() ? folder_of(args.properties) : args.objects);
  std::unique_ptr<BusinessObject> bo;
  if (args.command == "request") {
    bo = AgentObjects::readFile(args.file);
    if (bo->getVerb()[0] == '\0') throw agent_bad_input(args.file + ".verb", "a request needs a verb");
  }
  FILE* out = keep_stdout_for_json();
  AgentHost host;
  host.load(args.library);
  if (args.command == "init") return run_init(host, props, specs, out);
  if (args.command == "request") return run_request(host, *bo, props, specs, out);
  return agent_poll(host, props, specs, out, args.follow ? frequency : 0);
}

}  // namespace

AgentArgs agent_parse_args(int argc, const char* const* argv) {
  AgentArgs a;
  int i = 1;
  auto value = [&](const char* flag) {
    if (i + 1 >= argc) throw usage(std::string(flag) + " needs a value");
    return std::string(argv[++i]);
  };
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    std::string flag = argv[i];
    if (flag == "--properties") a.properties = value("--properties");
    else if (flag == "--objects") a.objects = value("--objects");
    else if (flag == "--library") a.library = value("--library");
    else throw usage("unknown option " + flag);
  }
  if (a.properties.empty()) throw usage("--properties FILE is required");
  if (i >= argc) throw usage("a command is required");
  a.command = argv[i++];
  if (a.command == "request") {
    if (i >= argc) throw usage("request needs an instance FILE");
    a.file = argv[i++];
  } else if (a.command == "poll") {
    if (i < argc && std::string(argv[i]) == "--follow") {
      a.follow = true;
      ++i;
    }
  } else if (a.command != "init") {
    throw usage("unknown command " + a.command);
  }
  if (i < argc) throw usage(std::string("unexpected ") + argv[i]);
  return a;
}

int agent_main(int argc, const char* const* argv) {
  std::signal(SIGPIPE, SIG_IGN);
  try {
    return run(agent_parse_args(argc, argv));
  } catch (const AgentError& e) {
    agent_log(e.code() == AgentExit::NO_START ? "FATAL" : "ERROR", e.what());
    if (std::string(e.what()).rfind(kCommandLine, 0) == 0) std::fputs(kAgentUsage, stderr);
    return static_cast<int>(e.code());
  }
}
