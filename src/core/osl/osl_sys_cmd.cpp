// OS layer: external commands named by configuration strings.
//
// The configured text is a program and its own arguments separated by blanks;
// the caller's arguments are appended as single arguments and the program is
// started directly (no shell), so no caller text is ever interpreted as
// command syntax.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "core/osl/osl_mem_std.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys.h"
#include "core/osl/osl_sys_cfg.h"

extern char** environ;

namespace {

// Splits command into words on blanks, appends the caller's arguments and
// runs the program; see osl_sys_edit for the result.
long run_command(const char* command, std::initializer_list<const char*> extra) {
  osl_vector<osl_string> words;
  osl_string word;
  for (const char* c = command; ; ++c) {
    if (*c == '\0' || *c == ' ' || *c == '\t') {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (*c == '\0') break;
    } else {
      word += *c;
    }
  }
  if (words.empty()) return 1;
  for (const char* a : extra) words.emplace_back(a != nullptr ? a : "");

  osl_vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (osl_string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  int rc = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
  if (rc != 0) return 127;  // as a shell reports a program it cannot start

  int status = 0;
  pid_t got;
  do {
    got = waitpid(pid, &status, 0);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return -1;  // the status cannot be collected (children ignored)
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// Runs the command configured under key with the caller's arguments; 1 when
// there is none or no memory for its words.
long run_configured(const char* key, std::initializer_list<const char*> extra) {
  char* command = nullptr;
  if (osl_sys_get_config_string(key, &command) != 0 || command == nullptr) return 1;
  return osl_mem_guard([&] { return run_command(command, extra); },
                       [&] {
                         osl_print_mes("%s: cannot allocate memory for the command of '%s'\n",
                                       "osl_sys", key);
                         return 1L;
                       });
}

}  // namespace

long osl_sys_edit(const char* file) { return run_configured("ORB_EDIT", {file}); }

long osl_sys_graph(const char* file) { return run_configured("ORB_GRAPH", {file}); }

long osl_sys_fax(const char* a, const char* b, const char* c) {
  return run_configured("ORB_FAX", {a, b, c});
}
