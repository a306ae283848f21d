// The clock's registry types: sizes, compare, get/set/address, print and the
// conversions of 609, 698, 610, 653 and 692.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/clk/clk_msg.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_type.h"
#include "core/clk/clk_tz.h"
#include "core/clk_fixture.h"
#include "core/cmn/cmn_typ.h"
#include "core/core_fixture.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_col_set.h"

namespace {

class ClkType : public clk_test {};


long convert(long type, long conv, long src_type, const void* src, long dst_type, void* dst, long size,
             long* allocated) {
  cmn_ty_method_proc p = nullptr;
  EXPECT_EQ(cmn_typ_find_single_method(type, CMN_MTH_CONVERT, &p, nullptr), 0) << type;
  if (p == nullptr) return -1;
  return cmn_typ_proc_as<cmn_ty_convert_proc>(p)(conv, src_type, const_cast<void*>(src), dst_type, dst, size,
                                                 allocated);
}

TEST_F(ClkType, TypesCarryTheSizesOfOurRecordsAndCompare) {
  struct {
    long id, size;
  } cases[] = {{609, sizeof(clktime)}, {698, sizeof(clktime)}, {610, sizeof(long)}, {611, sizeof(clk_elps_cmp)}};
  for (const auto& c : cases) {
    long size = -1;
    cmn_ty_compare_proc cmp = nullptr;
    ASSERT_EQ(cmn_typ_info(c.id, nullptr, nullptr, nullptr, &size, nullptr, &cmp, nullptr, nullptr), 0);
    EXPECT_EQ(size, c.size) << c.id;
    EXPECT_NE(cmp, nullptr) << c.id;
  }
  clktime a{1, 2}, b{1, 3};
  long r = 0;
  ASSERT_EQ(cmn_typ_valcomp(609, &a, &b, &r), 0);
  EXPECT_LT(r, 0);
  for (long id : {609L, 698L, 610L, 653L, 677L, 692L}) {
    cmn_ty_method_proc p = nullptr;
    EXPECT_EQ(cmn_typ_find_single_method(id, CMN_MTH_CONVERT, &p, nullptr), 0) << id;
  }
}

TEST_F(ClkType, ClockConvertsToAndFromTextWithAdjustment) {
  clk_time_mzone_diff_set(3600L * 300);
  clktime t = clk_at(2003, 1, 15, 10, 0, 0);
  char buf[CLK_TEXT_SIZE];
  char* out = buf;
  long allocated = 9;
  ASSERT_EQ(convert(609, 609, 609, &t, 516, &out, sizeof buf, &allocated), 0);
  EXPECT_STREQ(out, "01/15/2003 11:00:00");
  EXPECT_EQ(allocated, 0);
  EXPECT_EQ(out, buf);

  // Too small a destination: 160 bytes are allocated for the caller.
  char small[4];
  char* sp = small;
  ASSERT_EQ(convert(609, 609, 609, &t, 516, &sp, sizeof small, &allocated), 0);
  EXPECT_EQ(allocated, 1);
  EXPECT_NE(sp, small);
  EXPECT_STREQ(sp, "01/15/2003 11:00:00");
  cmn_typ_dealloc("test", sp);

  clktime back{};
  clktime* bp = &back;
  ASSERT_EQ(convert(609, 609, 516, clk_text_cell("01/15/2003 11:00:00"), 609, &bp, sizeof back, &allocated), 0);
  EXPECT_EQ(back.day, t.day);
  EXPECT_EQ(back.ticks, t.ticks);
  ASSERT_EQ(convert(698, 698, 516, clk_text_cell("*"), 698, &bp, sizeof back, &allocated), 0);
  EXPECT_EQ(back.day, CLK_FAR_FUTURE_DAY);
  clktime copy{};
  clktime* cp = &copy;
  ASSERT_EQ(convert(609, 609, 609, &t, 609, &cp, sizeof copy, &allocated), 0);
  EXPECT_EQ(copy.ticks, t.ticks);

  long l = 0;
  EXPECT_EQ(convert(609, 609, 609, &t, 512, &l, sizeof l, &allocated), CLK_NO_CONVERSION);
  EXPECT_EQ(core_alert_texts().back(),
            "Can't convert from source type 609 to destination type 512 for conversion type 609.\n");
  EXPECT_EQ(convert(609, 609, 516, clk_text_cell("13/1/2003 00:00:00"), 609, &bp, sizeof back, &allocated), CLK_INVALID);
}

TEST_F(ClkType, DateOnlyType653) {
  clktime t = clk_at(2003, 1, 15, 23, 30, 0);
  char buf[CLK_TEXT_SIZE];
  char* out = buf;
  long allocated = 0;
  ASSERT_EQ(convert(653, 653, 609, &t, 516, &out, sizeof buf, &allocated), 0);
  EXPECT_STREQ(out, "01/15/2003");
  clktime back{};
  clktime* bp = &back;
  ASSERT_EQ(convert(653, 653, 516, clk_text_cell("01/16/2003"), 609, &bp, sizeof back, &allocated), 0);
  EXPECT_EQ(back.day, t.day + 1);
  EXPECT_EQ(back.ticks, 0);
  EXPECT_EQ(convert(653, 653, 512, &back, 516, &out, sizeof buf, &allocated), CLK_NO_CONVERSION);
}

TEST_F(ClkType, ElapsedConversions) {
  long s = 86400L * 3 + 3600 * 4 + 60 * 5 + 6;
  char buf[CLK_ELPS_TEXT_SIZE];
  char* out = buf;
  long allocated = 0;
  ASSERT_EQ(convert(610, 610, 610, &s, 516, &out, sizeof buf, &allocated), 0);
  EXPECT_STREQ(out, "003 04:05");
  ASSERT_EQ(convert(610, 610, 512, &s, 516, &out, sizeof buf, &allocated), 0);  // a long under type 610
  EXPECT_EQ(convert(610, -1, 512, &s, 516, &out, sizeof buf, &allocated), CLK_NO_CONVERSION);
  long back = 0;
  long* bp = &back;
  ASSERT_EQ(convert(610, 610, 516, clk_text_cell("003 04:05"), 610, &bp, sizeof back, &allocated), 0);
  EXPECT_EQ(back, s - 6);
  long* none = nullptr;
  ASSERT_EQ(convert(610, 610, 516, clk_text_cell("001 00:01"), 512, &none, 0, &allocated), 0);
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(allocated, 1);
  EXPECT_EQ(*none, 86460);
  cmn_typ_dealloc("test", none);
  EXPECT_EQ(convert(610, 610, 516, clk_text_cell("3009 00:00"), 610, &bp, sizeof back, &allocated), CLK_ELAPSED_LIMIT);
}

TEST_F(ClkType, HoursAndMinutesType692) {
  long s = 3600L * 123 + 60 * 45 + 30;
  char buf[CLK_ELPS_TEXT_SIZE];
  char* out = buf;
  long allocated = 0;
  ASSERT_EQ(convert(692, 692, 610, &s, 516, &out, sizeof buf, &allocated), 0);
  EXPECT_STREQ(out, "123:45");
  long back = 0;
  long* bp = &back;
  ASSERT_EQ(convert(692, 692, 516, clk_text_cell("123:45"), 610, &bp, sizeof back, &allocated), 0);
  EXPECT_EQ(back, s - 30);
  ASSERT_EQ(convert(692, 692, 516, clk_text_cell("007:05"), 512, &bp, sizeof back, &allocated), 0);
  EXPECT_EQ(back, 7L * 3600 + 300);
  EXPECT_EQ(convert(692, 692, 516, clk_text_cell("12:5"), 610, &bp, sizeof back, &allocated), CLK_BAD_ELAPSED);  // too short
  EXPECT_EQ(back, 7L * 3600 + 300);
}

TEST_F(ClkType, GetSetAddressAndPrint) {
  clk_time_mzone_diff_set(3600L * 300);
  cmn_ty_method_proc m[8] = {};
  ASSERT_EQ(cmn_typ_access_methods(609, m), 0);
  auto get = cmn_typ_proc_as<cmn_ty_get_proc>(m[0]);
  auto set = cmn_typ_proc_as<cmn_ty_set_proc>(m[1]);
  auto addr = cmn_typ_proc_as<cmn_ty_address_proc>(m[2]);
  ASSERT_TRUE(get && set && addr);
  clktime t = clk_at(2003, 1, 15, 10, 0, 0);
  long spec[6] = {0, 0, 0, 516, 0, 0};
  char* text = nullptr;
  long allocated = 0;
  ASSERT_EQ(get(&t, spec, 0, &text, &allocated), 0);
  EXPECT_EQ(allocated, 1);
  EXPECT_STREQ(text, "01/15/2003 11:00:00");
  cmn_typ_dealloc("test", text);
  clktime u{};
  ASSERT_EQ(set(&u, spec, clk_text_cell("01/15/2003 11:00:00")), 0);
  EXPECT_EQ(u.ticks, t.ticks);
  spec[3] = 512;
  EXPECT_EQ(set(&u, spec, &t), CLK_UNEXPECTED_TYPE);
  EXPECT_EQ(core_alert_texts().back(), "Data type 512 unexpected.\n");
  void* a = nullptr;
  ASSERT_EQ(addr(&t, nullptr, &a, spec), 0);
  EXPECT_EQ(a, &t);
  EXPECT_EQ(spec[4], 1);
  EXPECT_EQ(spec[5], 40);

  ASSERT_EQ(cmn_typ_access_methods(610, m), 0);
  long secs = 90, got = 0;
  long* gp = &got;
  long espec[6] = {0, 0, 0, 610, 0, 0};
  ASSERT_EQ(cmn_typ_proc_as<cmn_ty_get_proc>(m[0])(&secs, espec, sizeof got, &gp, &allocated), 0);
  EXPECT_EQ(got, 90);
  ASSERT_EQ(cmn_typ_proc_as<cmn_ty_address_proc>(m[2])(&secs, nullptr, &a, espec), 0);
  EXPECT_EQ(espec[5], 12);

  std::string printed = core_written_to([&](FILE* f) { clk_time_print(f, 3, &t, 609, 0); });
  EXPECT_EQ(printed, "   CLK_TY_TIME = 01/15/2003 10:00:00\n");  // not adjusted
}

}  // namespace

namespace {

TEST_F(ClkType, TwoClockTimesJoinedByAndMakeAListOfTwo) {
  for (const char* text : {"('01/15/2003 10:00:00' AND '01/16/2003 11:30:00')",
                           "('01/15/2003 10:00:00' and '01/16/2003 11:30:00')"}) {
    char result[200];
    utl_ty_col* col = nullptr;
    long n = 0;
    ASSERT_EQ(utl_col_convert_to_list(text, 609, result, sizeof result, &col, &n), 0) << text;
    ASSERT_NE(col, nullptr);
    EXPECT_EQ(n, 2) << text;
    void* e0 = nullptr;
    void* e1 = nullptr;
    ASSERT_EQ(utl_col_ith(col, 0, &e0), 0);
    ASSERT_EQ(utl_col_ith(col, 1, &e1), 0);
    const auto* first = static_cast<const clktime*>(e0);
    const auto* second = static_cast<const clktime*>(e1);
    clktime a = clk_at(2003, 1, 15, 10, 0, 0), b = clk_at(2003, 1, 16, 11, 30, 0);
    EXPECT_EQ(first->day, a.day);
    EXPECT_EQ(first->ticks, a.ticks);
    EXPECT_EQ(second->day, b.day);
    EXPECT_EQ(second->ticks, b.ticks);
    utl_col_free("test", col);
  }
}

}  // namespace
