// orb_mdserver --socket PATH --cache DIR --config FILE [--upstream PATH]
//
// The metadata server of the business-object utilities: loads the
// dictionary components from the cache files in DIR, listens on the Unix
// socket PATH and answers each bulk request from the requesting session's
// dictionary. With --upstream, what it lacks is asked of the server at that
// socket. SIGTERM (or SIGINT) stops it; the socket file is removed. Log
// lines go to standard error.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "bo/bo_dict.h"
#include "bohost_config.h"
#include "bohost_mgr.h"
#include "bohost_stream.h"

using namespace KCLASSIC;

namespace {

constexpr int MDSERVER_EXIT_USAGE = 2;
constexpr int MDSERVER_EXIT_FAILURE = 1;

volatile std::sig_atomic_t g_stop = 0;

void on_stop(int) { g_stop = 1; }

struct Options {
  std::string socket, cache, config, upstream;
};

bool parse_options(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string* target = nullptr;
    if (std::strcmp(argv[i], "--socket") == 0) target = &options.socket;
    if (std::strcmp(argv[i], "--cache") == 0) target = &options.cache;
    if (std::strcmp(argv[i], "--config") == 0) target = &options.config;
    if (std::strcmp(argv[i], "--upstream") == 0) target = &options.upstream;
    if (!target || i + 1 >= argc) return false;
    *target = argv[++i];
  }
  return !options.socket.empty() && !options.cache.empty() && !options.config.empty();
}

void install_stop_handlers() {
  struct sigaction action {};
  action.sa_handler = on_stop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

std::string error_text(KErr* e) {
  std::string text = std::string(e->GetMethodName()) + " error " + std::to_string(e->GetErrorNum());
  for (int i = 0; i < e->GetParamCount(); ++i) text += std::string(" <") + static_cast<const char*>(e->GetParam(i)) + ">";
  return text;
}

int run(const Options& options) {
  KHostConfig config;
  bohost_config_read(options.config, config);
  config.qbo.m_strCacheDir = options.cache.c_str();
  KHostSessionMgr mgr(&config.qbo, options.upstream);
  mgr.SetEcho(true);
  bohost_config_apply(config, mgr);
  mgr.Initialize();
  mgr.MakeComponents();
  KZString report;
  if (!mgr.m_pDict->LoadFromCacheFiles(report)) mgr.LogMessage("Cache", "a cache file could not be read");
  if (!report.IsEmpty()) mgr.LogMessage("Cache", report);
  int listenFd = bohost_stream_listen(options.socket);
  mgr.LogMessage("Server", ("listening on " + options.socket).c_str());
  bohost_serve(mgr, listenFd, g_stop);
  ::close(listenFd);
  ::unlink(options.socket.c_str());
  mgr.LogMessage("Server", "stopped");
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse_options(argc, argv, options)) {
    std::fprintf(stderr, "usage: orb_mdserver --socket PATH --cache DIR --config FILE [--upstream PATH]\n");
    return MDSERVER_EXIT_USAGE;
  }
  install_stop_handlers();
  try {
    return run(options);
  } catch (KErr* e) {
    std::fprintf(stderr, "orb_mdserver: %s\n", error_text(e).c_str());
    delete e;
    return MDSERVER_EXIT_FAILURE;
  }
}
