// OS layer: processes, signals and numbers.
#include "core/osl/osl_sys.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "core/osl/osl_print.h"

long osl_sys_system(const char* command) { return std::system(command); }

long osl_sys_sleep(long seconds) {
  if (seconds <= 0) return 0;
  return static_cast<long>(sleep(static_cast<unsigned>(seconds)));
}

char* osl_sys_getlogin() { return getlogin(); }

long osl_sys_call() {
  osl_print_mes("osl_sys_call is not yet implemented\n");
  return 1;
}

long osl_sys_dial_out() { return -1; }

long osl_sys_set_signal(long mode) {
  if (mode != 0 && mode != 1) return 0;
  auto action = mode == 1 ? SIG_DFL : SIG_IGN;
  std::signal(SIGTRAP, action);
  std::signal(SIGILL, action);
  std::signal(SIGBUS, action);
  std::signal(SIGSEGV, action);
  return 0;
}

long osl_sys_set_child_signal(long mode) {
  if (mode == 1)
    std::signal(SIGCHLD, SIG_DFL);
  else if (mode == 0)
    std::signal(SIGCHLD, SIG_IGN);
  return 0;
}

long osl_sys_rand() { return std::rand(); }

void osl_sys_srand(long seed) { std::srand(static_cast<unsigned>(seed)); }

long osl_sys_rand_real(float* value) {
  float v = static_cast<float>(static_cast<double>(std::rand()) / static_cast<double>(RAND_MAX));
  if (v > 1.0f) v -= 1.0f;
  *value = v;
  return 0;
}

long osl_sys_cmn_to_call_type(long type_id) {
  switch (type_id) {
    case 512: return 1;  // long
    case 513: return 2;  // short
    case 514: return 3;  // float
    case 613: return 4;  // double
    case 516: return 5;  // string
    default: return 6;
  }
}

long osl_sys_max_display() { return 60000; }
