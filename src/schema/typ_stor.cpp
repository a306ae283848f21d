// The "storage.def" table of physical storage clauses.
#include "schema/typ_stor.h"

#include <cstring>
#include <string>

#include "core/loc/loc_st.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"

namespace {

constexpr const char* kOwner = "typ_storage";
constexpr long kChunk = 100;
utl_ty_col* g_names = nullptr;
utl_ty_col* g_clauses = nullptr;

const char* text_at(utl_ty_col* col, long i) {
  void* e = nullptr;
  if (utl_col_ith(col, i, &e) != 0 || !e) return "";
  return static_cast<const char*>(e);
}

// Appends one line's entry when it has the form "name :: clause".
long take_line(const char* line) {
  while (*line == ' ' || *line == '\t') ++line;
  if (!*line || std::strncmp(line, "//", 2) == 0) return 0;
  const char* sep = std::strstr(line, "::");
  if (!sep) return 0;
  const char* end = sep;
  while (end > line && (end[-1] == ' ' || end[-1] == '\t')) --end;
  if (end == line) return 0;
  const std::string name(line, end);
  if (long st = utl_col_push(g_names, name.c_str(), nullptr)) return st;
  return utl_col_push(g_clauses, sep + 2, nullptr);
}

}  // namespace

long typ_read_line(FILE* f, char** line, long* eof) {
  std::string text;
  *eof = 0;
  char chunk[kChunk];
  for (;;) {
    const long got = osl_file_fread(chunk, 1, kChunk, f);
    if (got <= 0) {
      *eof = 1;
      break;
    }
    long i = 0;
    for (; i < got && chunk[i] != '\n'; ++i)
      if (chunk[i] != '\r') text.push_back(chunk[i]);
    if (i < got) {
      // Back to just after the line feed.
      osl_file_fseek(f, i + 1 - got, SEEK_CUR);
      break;
    }
  }
  auto* out = static_cast<char*>(osl_mem_alloc(kOwner, static_cast<long>(text.size()) + 1));
  if (!out) {
    *line = nullptr;
    return -1;
  }
  std::memcpy(out, text.c_str(), text.size() + 1);
  *line = out;
  return 0;
}

long typ_free_physical_storage_params() {
  long st = 0;
  if (g_names) st = utl_col_free(kOwner, g_names);
  if (g_clauses) {
    long st2 = utl_col_free(kOwner, g_clauses);
    if (!st) st = st2;
  }
  g_names = g_clauses = nullptr;
  return st;
}

long typ_load_physical_storage_params() {
  FILE* f = osl_file_fopen("storage.def", "rb");
  if (!f) {
    std::printf("Can not open 'storage.def' for reading.\n");
    return 1;
  }
  typ_free_physical_storage_params();
  long st = utl_col_make(kOwner, 516, 5, 5, 0, 0, &g_names);
  if (!st) st = utl_col_make(kOwner, 516, 5, 5, 0, 0, &g_clauses);
  long eof = 0;
  while (!st && !eof) {
    char* line = nullptr;
    if ((st = typ_read_line(f, &line, &eof))) break;
    st = take_line(line);
    osl_mem_free(kOwner, line);
  }
  osl_file_close(f);
  if (st) typ_free_physical_storage_params();
  return st;
}

long typ_lookup_physical_storage_params(const char* name, const char** clause) {
  *clause = nullptr;
  if (!g_names || !g_clauses || !name) return 1;
  long n = 0;
  utl_col_num(g_names, &n);
  for (long i = 0; i < n; ++i)
    if (loc_st_strcmpi(text_at(g_names, i), name) == 0) {
      *clause = text_at(g_clauses, i);
      return 0;
    }
  return 1;
}
