// Registry and object types: start-up, definitions, look-ups.
#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_main.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_mem.h"
#include "schema/typ_acc.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_sch.h"
#include "schema_fixture.h"

namespace {

using typ_registry = schema_test;

TEST_F(typ_registry, StartUpRegistersTheRecordTypesWithTheirSizesAndProcedures) {
  struct row {
    long id;
    long size;
    bool compare;
    bool print;
  };
  const row rows[] = {{524, sizeof(typ_sch_frec), false, true},  {523, sizeof(typ_sch_srec), false, false},
                      {573, sizeof(typ_sch_rrec), false, false}, {574, sizeof(typ_sch_ro), true, false},
                      {581, sizeof(typ_sch_rel_inst), true, true}};
  for (const row& r : rows) {
    long size = 0;
    cmn_ty_compare_proc cmp = nullptr;
    cmn_ty_print_proc print = nullptr;
    ASSERT_EQ(cmn_typ_info(r.id, nullptr, nullptr, nullptr, &size, nullptr, &cmp, nullptr, &print), 0) << r.id;
    EXPECT_EQ(size, r.size) << r.id;
    EXPECT_EQ(cmp != nullptr, r.compare) << r.id;
    EXPECT_EQ(print != nullptr, r.print) << r.id;
  }
  // The message list answers with its texts.
  const char* text = nullptr;
  ASSERT_EQ(cmn_alrt_get_msg(TYP_NO_TYPE, &text), 0);
  EXPECT_STREQ(text, "Can't find type ID=%ld, type name='%s'.\n");
  ASSERT_EQ(cmn_alrt_get_msg(0x50004d, &text), 0);
  EXPECT_STREQ(text, "decimal");
}

TEST_F(typ_registry, DefinitionCutsNamesAndSizesCollectionsFromExpectedCounts) {
  const std::string long_name(70, 'n');
  typ_sch_srec* s = nullptr;
  ASSERT_EQ(typ_sch_define_object(long_name.c_str(), 100, nullptr, "", -1, 0, &s), 0);
  EXPECT_EQ(std::string(s->info->name), std::string(64, 'n'));
  EXPECT_EQ(s->flags, TYP_SCH_OBJECT | TYP_SCH_CONSTRUCT);
  EXPECT_STREQ(s->description, "");
  EXPECT_STREQ(s->info->subject, "");
  long cap = 0, ext = 0;
  utl_col_info(s->fcol, nullptr, nullptr, &cap, &ext, nullptr, nullptr);
  EXPECT_EQ(cap, 10);
  EXPECT_EQ(ext, 10);
  utl_col_info(s->rcol, nullptr, nullptr, &cap, &ext, nullptr, nullptr);
  EXPECT_EQ(cap, 1);
  EXPECT_EQ(ext, 1);
  utl_col_info(s->info->special_col, nullptr, nullptr, &cap, &ext, nullptr, nullptr);
  EXPECT_EQ(cap, 2);
  EXPECT_EQ(ext, 10);
}

TEST_F(typ_registry, VariantsPassTheirFlags) {
  struct row {
    const char* name;
    unsigned long flags;
  };
  typ_sch_srec* s = nullptr;
  ASSERT_EQ(typ_sch_define_obj("o", 1, "s", "d", &s), 0);
  ASSERT_EQ(typ_sch_define_obj_wattr("w", 2, "s", "d", 3, 3, 0x80002, &s), 0);
  ASSERT_EQ(typ_sch_define_obj_wattr("w0", 3, "s", "d", 3, 3, 0, &s), 0);
  ASSERT_EQ(typ_sch_define_subobj("sub", 4, "s", "d", &s), 0);
  ASSERT_EQ(typ_sch_define_struct("st", 5, "s", "d", nullptr, &s), 0);
  ASSERT_EQ(typ_sch_define_structure("sql", 6, "s", "d", "select 1", 2, 2, &s), 0);
  const row rows[] = {{"o", 0x3},  {"w", 0x80003},  {"w0", 0x3},
                      {"sub", 0x9}, {"st", 0x5}, {"sql", 0x100005}};
  ASSERT_EQ(typ_sch_num_schs, 6);
  for (long i = 0; i < 6; ++i) {
    EXPECT_STREQ(typ_sch_schemas[i].info->name, rows[i].name);
    EXPECT_EQ(typ_sch_schemas[i].flags, rows[i].flags) << rows[i].name;
  }
  EXPECT_STREQ(typ_sch_schemas[5].info->sql, "select 1");
  EXPECT_STREQ(typ_sch_schemas[0].description, "d");
}

TEST_F(typ_registry, DefinitionBeforeAllocationPrintsAndFails) {
  ASSERT_EQ(typ_sch_free(), 0);
  typ_sch_srec* s = nullptr;
  long st = 0;
  std::string out = schema_stdout_of([&] { st = typ_sch_define_obj("x", 1, nullptr, nullptr, &s); });
  EXPECT_EQ(st, -1);
  EXPECT_EQ(out, "typ_sch_define: TYP SCH init must be called first!\n");
  EXPECT_EQ(core_num_alerts(), 0);
}

TEST_F(typ_registry, LookUpsByIdAndNameWithTheirAlerts) {
  object("alpha", 10);
  object("beta", 20);
  object("alpha", 30);  // same name: the first wins by name
  object("gamma", 20);  // same id: the first wins by id
  typ_sch_srec* s = nullptr;
  ASSERT_EQ(typ_sch_find_handle(20, nullptr, &s), 0);
  EXPECT_EQ(s, &typ_sch_schemas[1]);
  ASSERT_EQ(typ_sch_find_handle(-1, "alpha", &s), 0);
  EXPECT_EQ(s, &typ_sch_schemas[0]);
  // Unknown id: no error, null record.
  ASSERT_EQ(typ_sch_find_handle(99, nullptr, &s), 0);
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(core_num_alerts(), 0);
  // No id and no name.
  EXPECT_EQ(typ_sch_find_handle(-1, "", &s), TYP_NO_TYPE);
  EXPECT_EQ(core_top_alert_text(), "Can't find type ID=-1, type name='<null>'.\n");
  cmn_alrt_clear(nullptr);
  long n = 0;
  typ_sch_frec* f = nullptr;
  EXPECT_EQ(typ_sch_find_finfo(99, nullptr, &s, &n, &f), TYP_NO_TYPE);
  EXPECT_EQ(core_top_alert_text(), "Can't find type ID=99, type name='<null>'.\n");
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(typ_sch_find_rinfo(-1, "nope", &s, &n, nullptr), TYP_NO_TYPE);
  EXPECT_EQ(core_top_alert_text(), "Can't find type ID=-1, type name='nope'.\n");
  // Existence checks used by the compiler.
  EXPECT_EQ(typ_sch_check_for_existing("beta"), 0x500014);
  EXPECT_EQ(typ_sch_check_for_existing("Beta"), 0);
  EXPECT_EQ(typ_sch_check_for_existing_type(30), 0x50004a);
  EXPECT_EQ(core_top_alert_text(), "An object/view with the type '30' already exists.\n");
  EXPECT_EQ(typ_sch_check_for_existing_type(31), 0);
}

TEST_F(typ_registry, GetListsRecordsForACollectionOfIds) {
  object("a", 1);
  object("b", 2);
  utl_ty_col* ids = nullptr;
  ASSERT_EQ(utl_col_make("t", 512, 3, 3, 0, 0, &ids), 0);
  for (long id : {2L, 7L, 1L}) utl_col_push(ids, &id, nullptr);
  long count = 0;
  typ_sch_srec** arr = nullptr;
  ASSERT_EQ(typ_sch_get(ids, &count, &arr), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(arr[0], &typ_sch_schemas[1]);
  EXPECT_EQ(arr[1], nullptr);
  EXPECT_EQ(arr[2], &typ_sch_schemas[0]);
  utl_mem_free("t", arr);
  ASSERT_EQ(typ_sch_get(nullptr, &count, &arr), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(arr[1], &typ_sch_schemas[1]);
  utl_mem_free("t", arr);
  utl_col_free("t", ids);
}

TEST_F(typ_registry, NamesAndIdsBothWays) {
  typ_sch_srec* s = object("Account", 7);
  field(s, "objid", 1, 3);
  field(s, "Name", 4, 50);
  ASSERT_EQ(typ_sch_optimize(), 0);
  long tid = -5, fid = -5;
  ASSERT_EQ(typ_sch_name_to_id("Account", "Name", &tid, &fid), 0);
  EXPECT_EQ(tid, 7);
  EXPECT_EQ(fid, 1);
  tid = fid = -5;
  ASSERT_EQ(typ_sch_name_to_id("account", "name", &tid, &fid), 0);
  EXPECT_EQ(tid, -5);  // case-sensitive: unchanged
  ASSERT_EQ(typ_sch_name_to_id_i("account", "NAME", &tid, &fid), 0);
  EXPECT_EQ(tid, 7);
  EXPECT_EQ(fid, 1);
  const char* tn = "x";
  const char* fn = "x";
  ASSERT_EQ(typ_sch_id_to_name(7, 0x1000000 | 50, &tn, &fn), 0);
  EXPECT_STREQ(tn, "Account");
  EXPECT_STREQ(fn, "Name");
  ASSERT_EQ(typ_sch_id_to_name(8, 1, &tn, &fn), 0);
  EXPECT_EQ(tn, nullptr);
  EXPECT_EQ(fn, nullptr);
  EXPECT_EQ(typ_sch_id_to_name(7, 9, &tn, &fn), TYP_BAD_SPEC_FIELD);
  // Field provider of run-time records.
  long index = -1, dt = -1;
  ASSERT_EQ(typ_sch_get_field_info(7, "Name", &index, &dt), 0);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(dt, 512);
  EXPECT_EQ(typ_sch_get_field_info(7, "name", &index, &dt), TYP_NO_FIELD);
  EXPECT_EQ(typ_sch_get_field_info(70, "Name", &index, &dt), TYP_NO_TYPE);
  long count = 0;
  void* fields = nullptr;
  ASSERT_EQ(typ_sch_get_all_finfo(7, &count, &fields), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(fields, s->fields);
}

TEST_F(typ_registry, InfoUserPointerAndModifyMarks) {
  typ_sch_srec* s = object("a", 512);
  long tid = 0, size = 0, is_obj = 0, n = -1;
  typ_sch_iblk* info = nullptr;
  ASSERT_EQ(typ_sch_info(s, &tid, &info, &size, &is_obj, &n, nullptr, nullptr), 0);
  EXPECT_EQ(tid, 512);
  EXPECT_EQ(info, s->info);
  EXPECT_EQ(size, static_cast<long>(sizeof(long)));
  EXPECT_EQ(is_obj, 1);
  EXPECT_EQ(n, 0);
  int word = 0;
  void* got = nullptr;
  typ_sch_uptr_set(s, &word);
  typ_sch_uptr_get(s, &got);
  EXPECT_EQ(got, &word);
  s->flags = TYP_SCH_OBJECT;
  typ_sch_set_changed(s);
  EXPECT_EQ(s->flags, 0x6012UL);
  typ_sch_modify(s);
  EXPECT_EQ(s->flags, 0x6013UL);
}

TEST_F(typ_registry, CheckLooksOnlyInDebugMode) {
  typ_sch_srec* s = object("a", 1);
  typ_sch_srec bogus{};
  EXPECT_EQ(typ_sch_check(&bogus), 0);
  cmn_main_set_debug_mode(1);
  EXPECT_EQ(typ_sch_check(s), 0);
  EXPECT_EQ(typ_sch_check(&bogus), TYP_BAD_HANDLE);
  cmn_main_set_debug_mode(0);
}

TEST_F(typ_registry, AllocTwiceWithInitOnceKeepsTheModel) {
  object("a", 1);
  typ_sch_set_init_once(1);
  ASSERT_EQ(typ_sch_alloc(), 0);
  EXPECT_EQ(typ_sch_num_schs, 1);
  ASSERT_EQ(typ_sch_clear(), 0);
  EXPECT_EQ(typ_sch_num_schs, 0);
  EXPECT_EQ(typ_sch_num_rels, 0);
  // The emptied model takes new definitions.
  object("b", 2);
  EXPECT_EQ(typ_sch_num_schs, 1);
}

TEST_F(typ_registry, FailedAllocationsDuringDefinitionsLeaveAUsableModel) {
  long failures = 0;
  for (int attempt = 0; attempt < 12; ++attempt) {
    osl_mem_reset_fail_num();
    typ_sch_srec* s = nullptr;
    std::string name = "t" + std::to_string(attempt);
    long st = typ_sch_define_obj(name.c_str(), 100 + attempt, "subject", "a description", &s);
    if (st == 0) st = field(s, "objid", 1, 3) >= 0 ? 0 : 1;
    osl_mem_disable_fail_mode();
    if (st) ++failures;
  }
  cmn_alrt_clear(nullptr);
  EXPECT_GT(failures, 0);
  // Every record in the model is whole and the model takes new work.
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    ASSERT_NE(typ_sch_schemas[i].fcol, nullptr);
    ASSERT_NE(typ_sch_schemas[i].rcol, nullptr);
  }
  typ_sch_srec* s = object("after", 500);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(field(s, "objid", 1, 3), 0);
  EXPECT_EQ(typ_sch_optimize(), 0);
  long index = -1;
  EXPECT_EQ(typ_sch_map(sch("after"), 0x1000003, &index), 0);
  EXPECT_EQ(index, 0);
}

}  // namespace

namespace {

TEST_F(typ_registry, StartUpCanRunAgain) {
  // Installing the same record types again changes nothing.
  ASSERT_EQ(typ_sch_init(), 0);
  long size = 0;
  ASSERT_EQ(cmn_typ_info(581, nullptr, nullptr, nullptr, &size, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(size, static_cast<long>(sizeof(typ_sch_rel_inst)));
  typ_sch_srec* s = object("after", 1);
  EXPECT_EQ(field(s, "f", 4), 0);
  // The field record's print procedure is the field dump.
  cmn_ty_print_proc print = nullptr;
  ASSERT_EQ(cmn_typ_info(524, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &print), 0);
  std::string out = schema_written([&](FILE* f) { print(f, 0, &s->fields[0], 524, 0); });
  EXPECT_EQ(out.substr(0, 10), "Field 'f',");
}

}  // namespace
