#include "store_fixture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_main.h"
#include "core/utl/utl_main.h"
#include "schema/typ_acc.h"
#include "schema/typ_dump.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_ids.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"
#include "adapter/adp_sch_load.h"
#include "testdb/testdb_tmp.h"

void core_start() {
  static bool started = false;
  if (started) return;
  started = true;
  ASSERT_EQ(cmn_main_init(), 0);
  ASSERT_EQ(utl_main_init(), 0);
  ASSERT_EQ(typ_main_init(), 0);
}

void store_start() {
  core_start();
  ASSERT_EQ(dbs_main_init(), 0);
}

void store_test::SetUp() {
  store_start();
  adp_double::reset();
  adp_store::reset();
  typ_sch_set_init_once(0);
  ASSERT_EQ(typ_sch_free(), 0);
  ASSERT_EQ(typ_sch_alloc(), 0);
  dbs_obj_ids_reset();
  dbs_db_assert_schema_rev(nullptr, -1);
  cmn_main_set_debug_mode(0);
  dbs_obj_set_obj_debug(0);
  cmn_alrt_clear(nullptr);
}

void store_test::TearDown() {
  typ_sch_set_init_once(0);
  typ_sch_free();
  dbs_obj_ids_reset();
  cmn_alrt_clear(nullptr);
}

void store_test::small_dictionary() {
  auto& s = adp_store::st();
  s.types = {{17, 2, "case"}, {18, 2, "site"}};
  s.fields = {
      {"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 17, ""},
      {"title", 516, 3, 25, -1, -1, 0x1, -1, 1, 17, "untitled"},
      {"notes", 516, 10, 0, -1, -1, 0x1, -1, 2, 17, ""},
      {"count", 512, 0, 0, -1, -1, 0x11, -1, 3, 17, "7"},
      {"amount", 766, 11, 0, 10, 2, 0x1, -1, 4, 17, ""},
      {"when", 609, 9, 0, -1, -1, 0x1, 46, 5, 17, ""},
      {"dev", 512, 0, 0, -1, -1, 0x15, -1, 6, 17, ""},
      {"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, 18, ""},
      {"name", 516, 3, 30, -1, -1, 0x1, -1, 1, 18, ""},
  };
  s.rels = {
      {"case2site", 2, "site", -1, 0, "site2case", 0, "", "", 0, 17, ""},
      {"site2case", 1, "case", -1, 0, "case2site", 0, "", "", 0, 18, ""},
  };
}

void store_test::load_model() {
  ASSERT_EQ(adp_sch_types_init(nullptr, nullptr), 0);
  ASSERT_EQ(adp_sch_read_all(nullptr, nullptr), 0);
}

dbs_ty_lobj* store_test::make(long type_id) {
  dbs_ty_lobj* o = nullptr;
  EXPECT_EQ(dbs_obj_make(nullptr, type_id, &o), 0);
  return o;
}

std::string store_stdout_of(const std::function<void()>& run) {
  std::fflush(stdout);
  const std::string out_file = testdb::tmp_file("store_out_");
  const char* name = out_file.c_str();
  int fd = open(name, O_RDWR);
  int saved = dup(1);
  dup2(fd, 1);
  run();
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  std::string out = store_file_text(out_file);
  close(fd);
  unlink(name);
  return out;
}

std::string store_file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string store_model_dump() {
  const std::string dump = testdb::tmp_file("store_dump_");
  FILE* f = std::fopen(dump.c_str(), "w");
  typ_sch_dump_all(f, "model", 0);
  std::fclose(f);
  std::string out = store_file_text(dump);
  unlink(dump.c_str());
  return out;
}
