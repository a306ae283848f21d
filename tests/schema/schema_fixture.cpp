#include "schema_fixture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "adpdouble/adp_double.h"
#include "typ_store_double.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_main.h"
#include "core/osl/osl_file.h"
#include "core/utl/utl_main.h"
#include "schema/typ_acc.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_stor.h"
#include "testdb/testdb_tmp.h"

void schema_start() {
  static bool started = false;
  if (started) return;
  started = true;
  ASSERT_EQ(cmn_main_init(), 0);
  ASSERT_EQ(utl_main_init(), 0);
  ASSERT_EQ(typ_main_init(), 0);
}

void schema_test::SetUp() {
  schema_start();
  typ_sch_set_init_once(0);
  ASSERT_EQ(typ_sch_free(), 0);
  ASSERT_EQ(typ_sch_alloc(), 0);
  schema_double_reset();
  cmn_main_set_debug_mode(0);
  cmn_alrt_clear(nullptr);
}

void schema_test::TearDown() {
  typ_sch_set_init_once(0);
  typ_sch_free();
  typ_free_physical_storage_params();
  cmn_alrt_clear(nullptr);
}

typ_sch_srec* schema_test::object(const char* name, long type_id) {
  typ_sch_srec* s = nullptr;
  EXPECT_EQ(typ_sch_define_obj(name, type_id, "subj", "desc", &s), 0);
  return s;
}

long schema_test::field(typ_sch_srec* s, const char* name, unsigned long flags, long gen, long data_type) {
  long pos = -1;
  long st = typ_sch_fadd(s, name, data_type, 0, gen, -1, flags, 0, -1, -1, 0, 0, nullptr, nullptr, &pos);
  return st ? -1 - st : pos;
}

long schema_test::rel(const char* type, const char* name, long rel_type, const char* target, const char* inverse,
                      long gen, unsigned long flags) {
  typ_sch_srec* s = sch(type);
  if (!s) return -1;
  long pos = -1;
  return typ_sch_define_rel(s, name, rel_type, target, gen, &pos, inverse, 0, nullptr, nullptr, nullptr, nullptr,
                            flags, nullptr);
}

typ_sch_srec* schema_test::sch(const char* name) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(-1, name, &s);
  return s;
}

std::string schema_written(const std::function<void(FILE*)>& write) {
  char* buf = nullptr;
  size_t len = 0;
  FILE* f = open_memstream(&buf, &len);
  write(f);
  std::fclose(f);
  std::string out(buf, len);
  std::free(buf);
  return out;
}

std::string schema_stdout_of(const std::function<void()>& run) {
  std::fflush(stdout);
  const std::string path = testdb::tmp_file("schema_out_");
  int fd = open(path.c_str(), O_RDWR);
  int saved = dup(1);
  dup2(fd, 1);
  FILE* old = osl_file_stdout();
  osl_file_set_stdout(stdout);
  run();
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  osl_file_set_stdout(old);
  std::string out;
  FILE* f = std::fopen(path.c_str(), "rb");
  char b[4096];
  size_t n;
  while (f && (n = std::fread(b, 1, sizeof b, f)) > 0) out.append(b, n);
  if (f) std::fclose(f);
  close(fd);
  unlink(path.c_str());
  return out;
}
