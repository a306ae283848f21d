// OS layer: the message stream and the file covers.
#include "core/osl/osl_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

FILE* g_message_stream = nullptr;
char g_stdout_name[65] = "standard.out";

// Template of temporary names; with the terminator it fits a tmpnam buffer.
constexpr char kTmpTemplate[] = "/tmp/oslXXXXXX";
static_assert(sizeof(kTmpTemplate) <= OSL_FILE_TMP_NAME_SIZE);

// Makes and opens a new temporary file; fd (or -1) and its name in name.
int make_tmp_file(char* name) {
  char work[sizeof(kTmpTemplate)];
  std::memcpy(work, kTmpTemplate, sizeof(kTmpTemplate));
  int fd = mkstemp(work);
  if (fd >= 0 && name != nullptr) std::memcpy(name, work, sizeof(work));
  return fd;
}

}  // namespace

void osl_file_set_stdout(FILE* stream) { g_message_stream = stream; }

FILE* osl_file_stdout() { return g_message_stream != nullptr ? g_message_stream : stdout; }

void osl_file_set_stdout_name(const char* name) {
  if (name == nullptr) name = "";
  std::strncpy(g_stdout_name, name, sizeof(g_stdout_name) - 1);
  g_stdout_name[sizeof(g_stdout_name) - 1] = '\0';
}

const char* osl_file_stdout_name() { return g_stdout_name; }

FILE* osl_file_fopen(const char* path, const char* mode) { return std::fopen(path, mode); }

char* osl_file_fgets(char* buffer, int size, FILE* stream) {
  return std::fgets(buffer, size, stream);
}

long osl_file_access(const char* path, long mode) {
  return access(path, static_cast<int>(mode));
}

long osl_file_rename(const char* from, const char* to) { return std::rename(from, to); }

long osl_file_delete(const char* path) { return unlink(path); }

long osl_file_flush(FILE* stream) { return std::fflush(stream); }

long osl_file_close(FILE* stream) { return std::fclose(stream); }

long osl_file_mkdir(const char* path, long mode) {
  return mkdir(path, static_cast<mode_t>(mode));
}

long osl_file_rmdir(const char* path) { return rmdir(path); }

long osl_file_fseek(FILE* stream, long offset, long whence) {
  return std::fseek(stream, offset, static_cast<int>(whence));
}

long osl_file_ftell(FILE* stream) { return std::ftell(stream); }

void osl_file_rewind(FILE* stream) { std::rewind(stream); }

long osl_file_fread(void* buffer, long size, long count, FILE* stream) {
  if (size < 0 || count < 0) return 0;
  return static_cast<long>(
      std::fread(buffer, static_cast<size_t>(size), static_cast<size_t>(count), stream));
}

long osl_file_fwrite(const void* buffer, long size, long count, FILE* stream) {
  if (size < 0 || count < 0) return 0;
  return static_cast<long>(
      std::fwrite(buffer, static_cast<size_t>(size), static_cast<size_t>(count), stream));
}

long osl_file_append_fname_n(char* path, long path_size, const char* name) {
  if (path == nullptr || name == nullptr || path_size < 1) return 1;
  size_t have = strnlen(path, static_cast<size_t>(path_size));
  size_t add = std::strlen(name);
  if (have >= static_cast<size_t>(path_size) || have + 1 + add + 1 > static_cast<size_t>(path_size))
    return 1;
  path[have] = '/';
  std::memcpy(path + have + 1, name, add + 1);
  return 0;
}

long osl_file_find_fname_n(const char* path, char* out, long out_size) {
  if (path == nullptr || out == nullptr) return 1;
  const char* slash = std::strrchr(path, '/');
  if (slash == nullptr) return 0;
  size_t n = std::strlen(slash + 1);
  if (out_size < 1 || n >= static_cast<size_t>(out_size)) return 1;
  std::memcpy(out, slash + 1, n + 1);
  return 0;
}

long osl_file_get_tmp_fname(char* buffer) {
  int fd = make_tmp_file(buffer);
  if (fd < 0) return 1;
  close(fd);
  return 0;
}

FILE* osl_file_create_tmpfil(char* out_name) {
  char name[sizeof(kTmpTemplate)];
  int fd = make_tmp_file(name);
  if (fd < 0) return nullptr;
  FILE* stream = fdopen(fd, "w+");
  if (stream == nullptr) {
    close(fd);
    unlink(name);
    return nullptr;
  }
  if (out_name != nullptr) std::memcpy(out_name, name, sizeof(name));
  return stream;
}

long osl_file_get_mod_time(const char* path) {
  struct stat st {};
  if (path == nullptr || stat(path, &st) != 0) return 0;
  return static_cast<long>(st.st_mtime);
}
