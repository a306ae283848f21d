// OS layer: the configuration-string store.
#include "core/osl/osl_sys_cfg.h"

#include <cstdlib>
#include <cstring>

#include "core/osl/osl_mem.h"
#include "core/osl/osl_print.h"

extern char** environ;

namespace {

osl_ty_arg_list g_cfg;
bool g_cfg_read = false;

// Reads file_name into the store. Only a whole read (or a missing file)
// marks the store read: a store that holds part of the file, or nothing of
// it, is never written back over the file, and the next look-up tries again.
// A failed read leaves the store as it was.
long read_file(const char* file_name) {
  long status = osl_sys_read_args("config", file_name, &g_cfg.count, &g_cfg.capacity,
                                  &g_cfg.array);
  if (status == 0) g_cfg_read = true;
  return status;
}

long ensure_read() { return g_cfg_read ? 0 : read_file(OSL_SYS_ENV_FILE); }

// The name without its "ENV:" prefix.
const char* bare_name(const char* name) {
  return std::strncmp(name, "ENV:", 4) == 0 ? name + 4 : name;
}

// Index of the first entry whose key (its first L characters, followed by
// '=') matches name as a pattern without regard to case; -1 when none.
long find_entry(const char* name) {
  size_t len = std::strlen(name);
  for (long i = 0; i < g_cfg.count; ++i) {
    char* entry = g_cfg.array[i];
    if (entry == nullptr || strnlen(entry, len + 1) < len + 1 || entry[len] != '=') continue;
    // The key is matched in place: the '=' after it ends it for the match.
    entry[len] = '\0';
    long matched = osl_print_match(name, entry, 0);
    entry[len] = '=';
    if (matched != 0) return i;
  }
  return -1;
}

}  // namespace

long osl_sys_get_config_string(const char* name, char** value) {
  char* found = nullptr;
  long status = 0;
  if (name != nullptr) {
    name = bare_name(name);
    status = ensure_read();
    long i = find_entry(name);
    found = i >= 0 ? g_cfg.array[i] + std::strlen(name) + 1 : std::getenv(name);
  }
  if (value != nullptr) *value = found;
  return status;
}

long osl_sys_find_local_string(const char* name, char** value, long* index) {
  long status = 0;
  long i = -1;
  if (name != nullptr) {
    status = ensure_read();
    i = find_entry(name);
  }
  if (value != nullptr) *value = i >= 0 ? g_cfg.array[i] + std::strlen(name) + 1 : nullptr;
  if (index != nullptr) *index = i;
  return status;
}

long osl_sys_set_config_string(const char* name, const char* value, long commit) {
  if (name == nullptr) return 1;
  name = bare_name(name);
  // Setting into a store that could not be read would lose the file's other
  // entries at the next commit.
  if (long status = ensure_read()) return status;
  long i = find_entry(name);
  char* entry = nullptr;
  if (osl_sys_make_val(name, value, &entry) != 0) return 1;
  if (i >= 0) {
    osl_mem_free("osl_sys_set_config_string", g_cfg.array[i]);
    g_cfg.array[i] = entry;
  } else {
    if (osl_sys_extend(&g_cfg.count, &g_cfg.capacity, &g_cfg.array) != 0) {
      osl_mem_free("osl_sys_set_config_string", entry);
      return 1;
    }
    g_cfg.array[g_cfg.count++] = entry;
  }
  if (commit != 0) return osl_sys_commit_changes(OSL_SYS_ENV_FILE, g_cfg.count, g_cfg.array);
  return 0;
}

long osl_sys_get_env_vars(long* count, char*** array) {
  long status = ensure_read();
  if (count != nullptr) *count = g_cfg.count;
  if (array != nullptr) *array = g_cfg.array;
  return status;
}

long osl_sys_read_env_file(const char* file_name) { return read_file(file_name); }

// Saving an unread store first reads the file, so that saving never
// replaces the file with an empty list.
long osl_sys_save_config_strings(long release) {
  long status = ensure_read();
  if (status == 0) status = osl_sys_commit_changes(OSL_SYS_ENV_FILE, g_cfg.count, g_cfg.array);
  if (release != 0) {
    osl_sys_free_strings(&g_cfg.count, &g_cfg.capacity, &g_cfg.array);
    g_cfg_read = false;
  }
  return status;
}

long osl_sys_dump_config_strings(FILE* stream) {
  if (stream == nullptr) stream = osl_file_stdout();
  ensure_read();
  std::fprintf(stream, "CONFIG STRINGS:\n");
  long n = 0;
  for (long i = 0; i < g_cfg.count; ++i) std::fprintf(stream, "   %ld) %s\n", n++, g_cfg.array[i]);
  for (char** e = environ; e != nullptr && *e != nullptr; ++e)
    std::fprintf(stream, "   %ld) %s\n", n++, *e);
  std::fprintf(stream, "END OF CONFIG STRINGS.\n");
  std::fflush(stream);
  return 0;
}
