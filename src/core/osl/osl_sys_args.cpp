// OS layer: string lists read from files, and the process argument store.
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <strings.h>
#include <unistd.h>

#include "core/osl/osl_mem.h"
#include "core/osl/osl_mem_std.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys_cfg.h"

namespace {

constexpr long kGrowBy = 10;
constexpr int kLineBuffer = 8001;  // at most 8,000 characters a piece

long g_argc = 0;
char** g_argv = nullptr;

// $HOME + "/" + name into path (PATH_MAX bytes); false when HOME is not set
// or the path would not fit (no such file can be opened).
bool home_path(const char* name, char (&path)[PATH_MAX]) {
  const char* home = std::getenv("HOME");
  if (home == nullptr) return false;
  int n = std::snprintf(path, sizeof path, "%s/%s", home, name);
  return n >= 0 && static_cast<size_t>(n) < sizeof path;
}

// Opens name in the working directory, else under $HOME.
FILE* open_here_or_home(const char* name) {
  FILE* f = std::fopen(name, "r");
  if (f != nullptr) return f;
  char path[PATH_MAX];
  return home_path(name, path) ? std::fopen(path, "r") : nullptr;
}

// A heap copy (osl_mem_alloc) of text; null when it cannot be made.
char* copy_text(const char* text) {
  size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(osl_mem_alloc("osl_sys_read_args", static_cast<long>(n)));
  if (copy != nullptr) std::memcpy(copy, text, n);
  return copy;
}

}  // namespace

long osl_sys_extend(long* count, long* capacity, char*** array) {
  if (*count < *capacity) return 0;
  long wanted = (*capacity + kGrowBy) * static_cast<long>(sizeof(char*));
  auto grown = static_cast<char**>(osl_mem_realloc("osl_sys_extend", *array, wanted));
  if (grown == nullptr) {
    osl_print_mes("Cannot allocate %ld bytes for argument list\n", wanted);
    return 1;
  }
  *array = grown;
  *capacity += kGrowBy;
  return 0;
}

long osl_sys_free_strings(long* count, long* capacity, char*** array) {
  if (*array != nullptr) {
    for (long i = 0; i < *count; ++i) osl_mem_free("osl_sys_free_strings", (*array)[i]);
    osl_mem_free("osl_sys_free_strings", *array);
  }
  *count = 0;
  *capacity = 0;
  *array = nullptr;
  return 0;
}

long osl_sys_make_val(const char* name, const char* value, char** entry) {
  if (name == nullptr) name = "";
  if (value == nullptr) value = "";
  size_t n = std::strlen(name);
  size_t v = std::strlen(value);
  long size = static_cast<long>(n + 1 + v + 1);
  char* text = static_cast<char*>(osl_mem_alloc("osl_sys_make_val", size));
  if (text == nullptr) {
    osl_print_mes("%s: cannot allocate new string of size %ld\n", "osl_sys_make_val", size);
    return 1;
  }
  std::memcpy(text, name, n);
  text[n] = '=';
  std::memcpy(text + n + 1, value, v + 1);
  *entry = text;
  return 0;
}

// The new list is built aside and replaces the caller's only when the whole
// file has been read, so a failure leaves the caller's list as it was and a
// successful read frees the entries it replaces.
long osl_sys_read_args(const char* /*label*/, const char* file_name, long* count,
                       long* capacity, char*** array) {
  FILE* f = file_name != nullptr ? open_here_or_home(file_name) : nullptr;
  if (f == nullptr) {
    osl_print_mes("Could not read command arguments file '%s'; continuing...\n",
                  file_name != nullptr ? file_name : "");
    return 0;
  }
  long n = 0;
  long cap = 0;
  char** list = nullptr;
  char line[kLineBuffer];
  long status = 0;
  while (std::fgets(line, sizeof(line), f) != nullptr) {
    if (line[0] == '#') continue;
    char* start = line;
    while (*start != '\0' && std::isspace(static_cast<unsigned char>(*start))) ++start;
    size_t len = std::strcspn(start, "\n");
    if (len == 0) continue;
    start[len] = '\0';
    if (osl_sys_extend(&n, &cap, &list) != 0) {
      status = 1;
      break;
    }
    char* copy = copy_text(start);
    if (copy == nullptr) {
      osl_print_mes("Cannot allocate %ld bytes for argument '%s'\n",
                    static_cast<long>(len + 1), start);
      status = 1;
      break;
    }
    list[n++] = copy;
  }
  std::fclose(f);
  if (status != 0) {
    osl_sys_free_strings(&n, &cap, &list);
    return status;
  }
  osl_sys_free_strings(count, capacity, array);
  *count = n;
  *capacity = cap;
  *array = list;
  return 0;
}

long osl_sys_commit_changes(const char* file_name, long count, char** array) {
  static const char* proc = "osl_sys_commit_changes";
  if (file_name == nullptr) file_name = "";
  // A file of that name here is rewritten (readable or not); else one under
  // $HOME is written.
  char home[PATH_MAX];
  const char* path = file_name;
  if (access(file_name, F_OK) != 0) {
    if (!home_path(file_name, home)) {
      osl_print_mes("%s: could not open '%s' for output\n", proc, file_name);
      return 1;
    }
    path = home;
  }
  FILE* out = std::fopen(path, "w");
  if (out == nullptr) {
    osl_print_mes("%s: could not open '%s' for output\n", proc, file_name);
    return 1;
  }
  bool failed = false;
  for (long i = 0; i < count; ++i) {
    if (array[i] != nullptr && std::fprintf(out, "%s\n", array[i]) < 0) failed = true;
  }
  if (std::fclose(out) != 0) failed = true;
  if (failed) {
    osl_print_mes("%s: could not write '%s'\n", proc, path);
    return 1;
  }
  return 0;
}

void osl_sys_set_cmd_args(long argc, char** argv) {
  g_argc = argc > 0 && argv != nullptr ? argc : 0;
  g_argv = argv;
}

void osl_sys_cmd_args(long* argc, char*** argv) {
  if (argc != nullptr) *argc = g_argc;
  if (argv != nullptr) *argv = g_argv;
}

long osl_sys_has_arg_and_value(const char* pattern, long case_sensitive, char** argument,
                               char** value) {
  if (argument != nullptr) *argument = nullptr;
  if (value != nullptr) *value = nullptr;
  for (long i = 0; i < g_argc; ++i) {
    if (g_argv[i] == nullptr) break;
    if (osl_print_match(g_argv[i], pattern, case_sensitive) != 0) {
      if (argument != nullptr) *argument = g_argv[i];
      if (value != nullptr && i + 1 < g_argc) *value = g_argv[i + 1];
      return 1;
    }
  }
  return 0;
}

long osl_sys_has_arg(const char* pattern, long case_sensitive, char** argument) {
  return osl_sys_has_arg_and_value(pattern, case_sensitive, argument, nullptr);
}

namespace {

// The option look-up of osl_sys_find_arg (the strings come from the heap
// cover; see osl_mem_std.h).
long find_arg(const char* name, char** value) {
  static char true_text[] = "TRUE";
  osl_string option;
  if (strcasecmp(name, "login_name") == 0)
    option = "-user_name";
  else if (strcasecmp(name, "db_password") == 0)
    option = "-password";
  else
    option = osl_string("-") + name;
  char* argument = nullptr;
  char* next = nullptr;
  if (osl_sys_has_arg_and_value(option.c_str(), 0, &argument, &next) != 0) {
    *value = next != nullptr ? next : true_text;
    return 0;
  }
  osl_string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return osl_sys_get_config_string(upper.c_str(), value);
}

}  // namespace

long osl_sys_find_arg(const char* name, char** value) {
  char* ignored = nullptr;
  if (value == nullptr) value = &ignored;
  *value = nullptr;
  if (name == nullptr) return 0;
  return osl_mem_guard([&] { return find_arg(name, value); },
                       [&] {
                         osl_print_mes("%s: cannot allocate memory for option '%s'\n",
                                       "osl_sys_find_arg", name);
                         return 1L;
                       });
}
