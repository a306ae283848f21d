// Core start-up and shut-down, the debug switch and the shared conversions.
#include <cstdlib>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_main.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"
#include "core/core_fixture.h"
#include "core/osl/osl_mem.h"

namespace {

// Runs in a fresh process (the death-test child re-runs this test alone):
// the first start fails at its first allocation, inside the type registry.
// Exit code 0 when everything observed is as expected, else the number of
// the failed check.
[[noreturn]] void failing_first_start() {
  core_msg_capture msgs;
  if (!msgs.start()) std::_Exit(1);
  osl_mem_reset_fail_num();  // the first allocation (a method table) fails
  long rc = cmn_main_init();
  osl_mem_disable_fail_mode();
  if (rc != CMN_ALRT_NO_MEMORY) std::_Exit(2);
  // The later steps did not run: no message list, no run-time type table.
  const char* text = nullptr;
  if (cmn_alrt_get_msg(CMN_ALRT_NO_MEMORY, &text) == 0) std::_Exit(3);
  long rows = -1;
  cmn_ty_dyn_type* table = nullptr;
  cmn_dyn_types_get(&rows, &table);
  if (table != nullptr) std::_Exit(4);
  // The alert of the failure went through the pre-initialisation printer.
  if (msgs.text().find("MEM TEST") == std::string::npos) std::_Exit(5);
  // A later start runs every step and registers nothing twice.
  if (cmn_main_init() != 0) std::_Exit(6);
  if (cmn_alrt_get_msg(CMN_ALRT_NO_MEMORY, &text) != 0) std::_Exit(7);
  if (std::string(text) != "Not enough memory to allocate %ld bytes (in '%s').") std::_Exit(8);
  cmn_dyn_types_get(&rows, &table);
  if (table == nullptr || rows != 0) std::_Exit(9);
  // The process's first dialog number is 1.
  if (cmn_main_get_next_dlg_num() != 1) std::_Exit(10);
  std::_Exit(0);
}

TEST(CmnMain, AFailingRegistryStartStopsBeforeTheSubsystemTable) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(failing_first_start(), ::testing::ExitedWithCode(0), "");
}

TEST(CmnMain, StartTermStartKeepsOneRegistration) {
  // The starts below empty the message lists other suites registered.
  core_cmn_restarted();
  ASSERT_EQ(cmn_main_init(), 0);
  long rows_before = 0;
  cmn_dyn_types_get(&rows_before, nullptr);
  long id = -1;
  cmn_ty_dyn_field f{};
  cmn_dyn_define_field("x", 0, 8, CMN_TYP_LONG, &f);
  ASSERT_EQ(cmn_dyn_define_type("kept", 8, nullptr, 1, &f, &id), 0);
  cmn_ty_method_proc table_before = nullptr;
  cmn_typ_find_callback(512, CMN_MTH_COMPARE, &table_before);
  cmn_ty_obj_info before{};
  cmn_typ_get_obj_info(512, &before);
  ASSERT_EQ(cmn_main_term(), 0);
  ASSERT_EQ(cmn_main_init(), 0);
  cmn_ty_obj_info after{};
  cmn_typ_get_obj_info(512, &after);
  EXPECT_EQ(after.methods, before.methods);  // the same table, not a new one
  long again = -1;
  cmn_dyn_find_type("kept", &again);
  EXPECT_EQ(again, id);
  long rows = 0;
  cmn_dyn_types_get(&rows, nullptr);
  EXPECT_EQ(rows, rows_before + 1);
  // Every step's registrations are in place.
  const struct {
    long type;
    long method;
  } installed[] = {{512, CMN_MTH_COMPARE}, {527, CMN_MTH_PRINT}, {729, CMN_MTH_PRINT}, {626, CMN_MTH_PRINT},
                   {627, CMN_MTH_PRINT}};
  for (auto i : installed) {
    cmn_ty_method_proc p = nullptr;
    cmn_typ_find_callback(i.type, i.method, &p);
    EXPECT_NE(p, nullptr) << i.type;
  }
  long size = 0;
  cmn_typ_info(730, nullptr, nullptr, nullptr, &size, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(size, static_cast<long>(sizeof(cmn_ty_dyn_field)));
}

TEST(CmnMain, DebugSwitch) {
  EXPECT_EQ(cmn_main_is_debug_mode(), 0);
  EXPECT_EQ(cmn_main_set_debug_mode(42), 0);
  EXPECT_EQ(cmn_main_is_debug_mode(), 1);
  EXPECT_EQ(cmn_main_set_debug_mode(0), 0);
  EXPECT_EQ(cmn_main_is_debug_mode(), 0);
}

TEST(CmnMain, PrefixesOfControlAndContextualObjectNames) {
  const struct {
    const char* name;
    const char* ctl;
    const char* cob;
  } rows[] = {
      {"CTL:word", "word", "CTL:word"}, {"COB:obj", "COB:obj", "obj"}, {"ctl:word", "ctl:word", "ctl:word"},
      {"CTLword", "CTLword", "CTLword"}, {"CTL:", "", "CTL:"},          {"CT", "CT", "CT"},
  };
  for (auto r : rows) {
    EXPECT_STREQ(cmn_main_delocalize_ctl_name(r.name), r.ctl) << r.name;
    EXPECT_STREQ(cmn_main_delocalize_cobj_name(r.name), r.cob) << r.name;
  }
  const char* word = "CTL:x";
  EXPECT_EQ(cmn_main_delocalize_ctl_name(word), word + 4);  // no copy
  EXPECT_EQ(cmn_main_delocalize_ctl_name(nullptr), nullptr);
  EXPECT_EQ(cmn_main_delocalize_cobj_name(nullptr), nullptr);
}

TEST(CmnMain, ScriptingBooleans) {
  const struct {
    long in;
    long to_vb;
    long to_int;
  } rows[] = {{0, 0, 0}, {1, -1, 0}, {-1, -1, 1}, {0xFFFF, -1, 1}, {0x10000, 0, 0}, {0x1FFFF, -1, 1}, {2, -1, 0}};
  for (auto r : rows) {
    EXPECT_EQ(cmn_main_int_to_vb_bool(r.in), r.to_vb) << r.in;
    EXPECT_EQ(cmn_main_vb_bool_to_int(r.in), r.to_int) << r.in;
  }
}

TEST(CmnMain, DialogNumbersCountUpByOne) {
  long first = cmn_main_get_next_dlg_num();
  EXPECT_GE(first, 1);
  EXPECT_EQ(cmn_main_get_next_dlg_num(), first + 1);
  EXPECT_EQ(cmn_main_get_next_dlg_num(), first + 2);
}

}  // namespace
