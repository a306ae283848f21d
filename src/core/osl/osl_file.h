// OS layer: the message stream and thin covers over libc file calls.
//
// Threads: the covers are as safe as the C library calls they pass to; the
// message stream and its name are process-wide and unguarded (set them before
// other threads run). No lock.
#pragma once

#include "orb_api.h"

#include <cstdio>
#include <sys/types.h>

// The stream that messages go to; null (the default) means the process's
// standard output. osl_file_stdout never returns null.
ORB_API void osl_file_set_stdout(FILE* stream);
ORB_API FILE* osl_file_stdout();

// Keeps the first 64 characters of name (the default is "standard.out").
ORB_API void osl_file_set_stdout_name(const char* name);
ORB_API const char* osl_file_stdout_name();

// Covers: each passes its arguments to the libc call of the same name and
// returns its result.
ORB_API FILE* osl_file_fopen(const char* path, const char* mode);      // fopen
ORB_API char* osl_file_fgets(char* buffer, int size, FILE* stream);    // fgets
ORB_API long osl_file_access(const char* path, long mode);             // access
ORB_API long osl_file_rename(const char* from, const char* to);        // rename
ORB_API long osl_file_delete(const char* path);                        // unlink
ORB_API long osl_file_flush(FILE* stream);                             // fflush
ORB_API long osl_file_close(FILE* stream);                             // fclose
ORB_API long osl_file_mkdir(const char* path, long mode);              // mkdir
ORB_API long osl_file_rmdir(const char* path);                         // rmdir
ORB_API long osl_file_fseek(FILE* stream, long offset, long whence);   // fseek
ORB_API long osl_file_ftell(FILE* stream);                             // ftell
ORB_API void osl_file_rewind(FILE* stream);                            // rewind
ORB_API long osl_file_fread(void* buffer, long size, long count, FILE* stream);        // fread
ORB_API long osl_file_fwrite(const void* buffer, long size, long count, FILE* stream); // fwrite

// Appends "/" and name to path, bounded by the destination: never writes more
// than path_size bytes (terminator included); 1 when the result would not
// fit (path unchanged), else 0.
ORB_API long osl_file_append_fname_n(char* path, long path_size, const char* name);
// The same for a path held in an array, whose size bounds it. (There is no
// form without a bound: a caller holding only a pointer passes the size.)
template <long N>
inline long osl_file_append_fname(char (&path)[N], const char* name) {
  return osl_file_append_fname_n(path, N, name);
}

// Copies the part of path after the last '/' into out (out_size bytes,
// terminator included); without a '/' out is left as it was. 0, or 1 when the
// part does not fit (out unchanged).
ORB_API long osl_file_find_fname_n(const char* path, char* out, long out_size);
template <long N>
inline long osl_file_find_fname(const char* path, char (&out)[N]) {
  return osl_file_find_fname_n(path, out, N);
}

// Writes a fresh temporary file name into buffer (at least OSL_FILE_TMP_NAME_SIZE
// bytes, the size of a tmpnam buffer). The name is reserved by creating the
// file empty, so no other process can take it. 0 on success, 1 when no name
// could be made.
constexpr long OSL_FILE_TMP_NAME_SIZE = 20;
ORB_API long osl_file_get_tmp_fname(char* buffer);

// Creates and opens a new temporary file for "w+"; its name is copied to
// out_name (at least OSL_FILE_TMP_NAME_SIZE bytes) when out_name is not null.
// Null when no file could be made.
ORB_API FILE* osl_file_create_tmpfil(char* out_name);

// The modification time of path in seconds; 0 when it cannot be examined.
ORB_API long osl_file_get_mod_time(const char* path);
