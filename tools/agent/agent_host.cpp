// Loading and driving the connector.
#include "agent_host.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "agent_error.h"
#include "agent_log.h"
#include "agent_props.h"
#include "agent_subscriber.h"
#include "kl_bo.h"
#include "kl_globals.h"
#include "kl_veneer.h"

namespace {

constexpr const char* kLibrary = "liborbisan.so";
constexpr int kFixPrematureFrees = 1;

}  // namespace

std::string agent_program_dir() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string p(path, static_cast<size_t>(n));
  return p.substr(0, p.find_last_of('/'));
}

void AgentHost::load(const std::string& path) {
  std::string name = path;
  if (name.empty()) {
    std::string beside = agent_program_dir() + "/" + kLibrary;
    name = access(beside.c_str(), F_OK) == 0 ? beside : kLibrary;
  }
  agent_log("INFO", "loading " + name);
  library_ = dlopen(name.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (!library_) throw AgentError(AgentExit::NO_START, std::string("cannot load the connector: ") + dlerror());
  using gc_init = void (*)(int);
  auto init = reinterpret_cast<gc_init>(dlsym(library_, "gcInitialize"));
  if (!init) throw AgentError(AgentExit::NO_START, std::string("the connector has no gcInitialize: ") + dlerror());
  init(kFixPrematureFrees);
  globals_ = JToCPPVeneer::theAppGlobPtr;
  if (!globals_) throw AgentError(AgentExit::NO_START, "the connector left no globals object");
  agent_log("INFO", std::string("connector version ") + version());
}

const char* AgentHost::version() {
  const char* v = globals_ ? globals_->getVersion() : nullptr;
  return v ? v : "";
}

int AgentHost::init(const AgentProperties& props, const AgentSpecs& specs, FILE* out) {
  props.apply();
  if (!subscriber_) {
    subscriber_ = new AgentSubscriber(specs, out);
    JToCPPVeneer::getTheHandlerStuff()->setTheSubHandler(subscriber_);
  }
  KzVersion version;
  int r = globals_->init(&version);
  started_ = r == 0;
  agent_log(r == 0 ? "INFO" : "ERROR", "init returned " + std::to_string(r));
  KlJournal::clear();
  return r;
}

int AgentHost::request(BusinessObject& bo) {
  agent_log("INFO", std::string("request ") + bo.getName() + " " + bo.getVerb());
  int r = bo.doVerbFor();
  agent_log("INFO", "request returned " + std::to_string(r));
  KlJournal::clear();
  return r;
}

int AgentHost::poll() {
  int r = globals_->pollForEvents();
  if (r != 0) agent_log(r == -1 || r == -2 ? "ERROR" : "INFO", "poll returned " + std::to_string(r));
  KlJournal::clear();
  return r;
}

int AgentHost::terminate() {
  int r = globals_ ? globals_->terminate() : 0;
  started_ = false;
  agent_log("INFO", "terminate returned " + std::to_string(r));
  KlJournal::clear();
  return r;
}
