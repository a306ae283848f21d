#include "bld_fixture.h"

#include <strings.h>
#include <unistd.h>

#include <cstdio>

#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_alrt.h"
#include "schema/typ_apply.h"
#include "schema/typ_bld.h"
#include "schema/typ_sch.h"
#include "testdb/testdb_tmp.h"

void bld_test::SetUp() {
  schema_test::SetUp();
  static bool ranges = false;
  if (!ranges) {
    ranges = true;
    cmn_ty_type_info info;
    cmn_typ_init_info(&info);
    ASSERT_EQ(cmn_typ_construct_object(0, 9999, &info), 0);
    ASSERT_EQ(cmn_typ_construct_object(100000, 104999, &info), 0);
  }
  typ_bld_init();
  typ_bld_get_saved_schema_rev(nullptr, nullptr, 1);
  // Tests that start over within one case call SetUp again: the model
  // file made by the first call serves them all.
  if (path_.empty()) path_ = testdb::tmp_file("schema_bld_");
  ASSERT_FALSE(path_.empty()) << "cannot make a temporary schema file";
}

void bld_test::TearDown() {
  if (!path_.empty()) unlink(path_.c_str());
  path_.clear();
  schema_test::TearDown();
}

long bld_test::compile(const std::string& text, unsigned long options, std::string* out) {
  FILE* f = std::fopen(path_.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  long st = -12345;
  std::string printed = schema_stdout_of([&] { st = typ_bld_compile_model(nullptr, path_.c_str(), options); });
  if (out) *out = printed;
  return st;
}

long bld_test::compile_direct(const std::string& text) {
  FILE* f = std::fopen(path_.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  cmn_alrt_clear(nullptr);
  long st = -12345;
  last_out_ = schema_stdout_of([&] { st = typ_bld_compile(nullptr, path_.c_str(), 0, 0, nullptr, nullptr); });
  return st;
}

const typ_sch_frec* bld_test::fld(const char* type, const char* name) {
  typ_sch_srec* s = sch(type);
  if (!s) return nullptr;
  for (long i = 0; i < s->nfields; ++i)
    if (strcasecmp(s->fields[i].name, name) == 0) return &s->fields[i];
  return nullptr;
}

std::string bld_obj(const std::string& name, long id, const std::string& extra_fields, const std::string& tail) {
  return "OBJECT " + name + " " + std::to_string(id) +
         "\nFIELDS\n objid CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0 GEN_FIELD_ID=3" + extra_fields +
         "\nFIELDS_END\n" + tail + "OBJECT_END;\n";
}
