// OS layer: configuration strings and the process argument store.
//
// Configuration strings are "key=value" lines read once from "orbisan.env"
// (the working directory, else $HOME); a name not found there is looked up
// in the process environment. Keys in the file may hold the wildcards of
// osl_print_match and are compared without regard to case; a key matches
// only names of its own length. An empty value in the file hides the
// environment variable of the same name.
//
// Values handed out point into the store (or the environment) and stay
// valid until the entry is replaced or the store released.
//
// A failed read of the file (e.g. no memory) leaves the store unread: each
// call reports the failure and the next one reads again, and a store that
// was not read whole is never saved over the file.
//
// Threads: not safe from several threads. The store, its read flag and the
// argument vector are process-wide and no lock guards them.
#pragma once

#include "orb_api.h"

#include <cstdio>

// The environment file's name.
inline constexpr const char* OSL_SYS_ENV_FILE = "orbisan.env";

// A list of heap-copied, zero-ended strings (count, capacity, array).
struct osl_ty_arg_list {
  long count = 0;
  long capacity = 0;
  char** array = nullptr;
};

// Looks name up ("ENV:" prefix dropped): 0 and *value (null when absent);
// non-zero only when reading the file failed.
ORB_API long osl_sys_get_config_string(const char* name, char** value);
// Replaces or appends name=value; commit non-zero writes the file. 0 or 1;
// when the file cannot be read whole the store is left unchanged, nothing is
// written, and the read's status is returned.
ORB_API long osl_sys_set_config_string(const char* name, const char* value, long commit);
// File entries only: value and index of the first matching entry; null and -1
// when none. 0, or non-zero when reading the file failed.
ORB_API long osl_sys_find_local_string(const char* name, char** value, long* index);
// The entry list (read on first use). 0 or non-zero when reading failed.
ORB_API long osl_sys_get_env_vars(long* count, char*** array);
// Reads file_name as the configuration strings in place of "orbisan.env".
ORB_API long osl_sys_read_env_file(const char* file_name);
// Writes all entries to "orbisan.env"; release non-zero then frees the list
// so that the next look-up reads the file again. 0 or 1.
ORB_API long osl_sys_save_config_strings(long release);
// Prints every entry and every environment variable (stream null: the
// message stream). 0.
ORB_API long osl_sys_dump_config_strings(FILE* stream);

// Reads a list file (working directory, else $HOME) into the list: '#' lines
// and blank lines skipped, leading white space dropped. A missing file is
// not an error (a message is printed; 0). 1 on allocation failure.
ORB_API long osl_sys_read_args(const char* label, const char* file_name, long* count,
                       long* capacity, char*** array);
// Writes the entries, one per line, to file_name (rewritten in the working
// directory when it exists there, else created under $HOME). 0 or 1.
ORB_API long osl_sys_commit_changes(const char* file_name, long count, char** array);
// Frees every entry and the array; all three become 0. 0.
ORB_API long osl_sys_free_strings(long* count, long* capacity, char*** array);
// Grows the array by 10 entries when count >= capacity. 0 or 1.
ORB_API long osl_sys_extend(long* count, long* capacity, char*** array);
// *entry becomes a heap copy (osl_mem_alloc) of name "=" value. 0 or 1.
ORB_API long osl_sys_make_val(const char* name, const char* value, char** entry);

// The argument store (empty until a host sets it). The vector is kept, not
// copied.
ORB_API void osl_sys_set_cmd_args(long argc, char** argv);
ORB_API void osl_sys_cmd_args(long* argc, char*** argv);
// 1 and *argument = the first argument matching pattern, else 0 (null).
ORB_API long osl_sys_has_arg(const char* pattern, long case_sensitive, char** argument);
// As osl_sys_has_arg; *value is the argument after the match (null when the
// match is the last argument).
ORB_API long osl_sys_has_arg_and_value(const char* pattern, long case_sensitive, char** argument,
                               char** value);
// Option look-up with the configuration strings as fallback. 0 or the
// status of the configuration look-up.
ORB_API long osl_sys_find_arg(const char* name, char** value);
