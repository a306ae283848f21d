// File and console covers, time texts and the character dump file.
#include <cstdio>
#include <cstring>

#include "core/loc/loc_st.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_time.h"

namespace {
bool loc_dump_char = false;
char loc_tmp_name[OSL_FILE_TMP_NAME_SIZE + 1];
}  // namespace

long loc_io_rename(const char* from, const char* to) { return std::rename(from, to); }

// A fresh name whose file is made at once (so no other process takes it).
char* loc_io_tmpnam(char* buffer) {
  char* out = buffer != nullptr ? buffer : loc_tmp_name;
  return osl_file_get_tmp_fname(out) == 0 ? out : nullptr;
}

long loc_io_fflush(FILE* f) { return std::fflush(f); }
long loc_io_feof(FILE* f) { return std::feof(f); }
long loc_io_fclose(FILE* f) { return std::fclose(f); }
long loc_io_fgetc(FILE* f) { return std::fgetc(f); }
char* loc_io_fgets(char* buffer, long size, FILE* f) { return std::fgets(buffer, static_cast<int>(size), f); }
long loc_io_fputc(long c, FILE* f) { return std::fputc(static_cast<int>(c), f); }
long loc_io_fputs(const char* text, FILE* f) { return std::fputs(text, f); }
long loc_io_getc(FILE* f) { return std::getc(f); }
long loc_io_getchar() { return std::getchar(); }

char* loc_io_gets(char* buffer, long size) {
  if (std::fgets(buffer, static_cast<int>(size), stdin) == nullptr) return nullptr;
  buffer[std::strcspn(buffer, "\n")] = '\0';
  return buffer;
}

long loc_io_putc(long c, FILE* f) { return std::putc(static_cast<int>(c), f); }
long loc_io_putchar(long c) { return std::putchar(static_cast<int>(c)); }
long loc_io_puts(const char* text) { return std::puts(text); }
long loc_io_ungetc(long c, FILE* f) { return std::ungetc(static_cast<int>(c), f); }
FILE* loc_io_fopen(const char* path, const char* mode) { return osl_file_fopen(path, mode); }
long loc_io_access(const char* path, long mode) { return osl_file_access(path, mode); }

time_t loc_st_time(time_t* t) {
  time_t now = 0;
  osl_time_get(&now);
  if (t != nullptr) *t = now;
  return now;
}

char* loc_st_asctime(const struct tm* t) {
  static char buf[64];
  if (std::strftime(buf, sizeof buf, "%a %b %e %H:%M:%S %Y\n", t) == 0) buf[0] = '\0';
  return buf;
}

char* loc_st_ctime(const time_t* t) {
  struct tm local{};
  if (localtime_r(t, &local) == nullptr) return nullptr;
  return loc_st_asctime(&local);
}

long loc_st_set_dump_char(long on) {
  loc_dump_char = on != 0;
  return 0;
}

long loc_st_dump_char_to_file(const char* text) {
  if (!loc_dump_char || text == nullptr) return 0;
  FILE* f = osl_file_fopen("chardump.out", "a");
  if (f == nullptr) return -1;
  std::fprintf(f, "%s\n", text);
  for (const char* p = text; *p != '\0'; ++p) std::fprintf(f, "%d ", static_cast<unsigned char>(*p));
  std::fprintf(f, "\n");
  std::fclose(f);
  return 0;
}
