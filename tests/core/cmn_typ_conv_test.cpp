#include "core/cmn/cmn_typ_conv.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_typ.h"
#include "core/core_fixture.h"
#include "core/loc/loc_num.h"
#include "core/loc/loc_reg.h"

namespace {

// Each test: registry and alerts started, US region, conversion settings at
// their start values, localised unless the test says otherwise.
class CmnTypConv : public ::testing::Test {
 protected:
  void SetUp() override {
    core_start_cmn();
    cmn_alrt_clear(nullptr);
    ASSERT_EQ(loc_reg_reset(), 0);
    cmn_typ_conv_reset();
  }
  void TearDown() override {
    cmn_typ_conv_reset();
    loc_reg_reset();
  }
  long top_code() {
    long code = 0;
    if (core_num_alerts() > 0) cmn_alrt_top(nullptr, &code, nullptr);
    return code;
  }
};

// Converts into a buffer of `size` bytes; the text (or value) is read from
// wherever the slot ends up pointing; allocated storage is freed.
struct result {
  long rc;
  long allocated;
  std::string text;
  char bytes[64];
};

result convert(long src_type, void* src, long dst_type, long size) {
  result r{};
  alignas(16) char buffer[64] = {};
  void* slot = buffer;
  r.allocated = 7;
  r.rc = cmn_typ_convert(-1, src_type, src, dst_type, &slot, size, &r.allocated);
  if (slot != nullptr) {
    if (dst_type == CMN_TYP_CHAR_P && r.rc == 0) r.text = static_cast<const char*>(slot);
    size_t n = dst_type == CMN_TYP_CHAR_P || dst_type == CMN_TYP_BOOLEAN ? 1 : dst_type == CMN_TYP_FLOAT ? 4 : 8;
    std::memcpy(r.bytes, slot, n);
  }
  if (r.allocated == 1) cmn_typ_dealloc("test", slot);
  return r;
}

template <class T>
T value_of(const result& r) {
  T v;
  std::memcpy(&v, r.bytes, sizeof v);
  return v;
}

TEST_F(CmnTypConv, NumbersToText) {
  long l = -1234567, big = LONG_MIN;
  float f = 1234.5f;
  double d = -1234.5678;
  float* pf = &f;
  double* pd = &d;
  struct {
    long localized;
    long src_type;
    void* src;
    long size;
    const char* text;
    long allocated;
  } cases[] = {
      {1, CMN_TYP_LONG, &l, 64, "-1234567", 0},  // the US grouping string is empty
      {0, CMN_TYP_LONG, &l, 64, "-1234567", 0},
      {0, CMN_TYP_LONG, &l, 10, "-1234567", 1},  // below 11 bytes: allocated
      {1, CMN_TYP_LONG, &big, 11, "-9223372036854775808", 1},
      {0, CMN_TYP_FLOAT, &pf, 64, "1234.50", 0},
      {1, CMN_TYP_FLOAT, &pf, 64, "1234.500000", 0},  // the US precision -1 keeps "%f"
      {0, CMN_TYP_DOUBLE, &pd, 64, "-1234.57", 0},
      {1, CMN_TYP_DOUBLE, &pd, 19, "-1234.567800", 1},
  };
  for (auto& c : cases) {
    cmn_typ_set_localize(c.localized);
    result r = convert(c.src_type, c.src, CMN_TYP_CHAR_P, c.size);
    EXPECT_EQ(r.rc, 0) << c.text;
    EXPECT_EQ(r.text, c.text);
    EXPECT_EQ(r.allocated, c.allocated) << c.text;
  }
  // A "%.2f" text of 1e300 does not fit 20 bytes: it is measured.
  cmn_typ_no_localize();
  double huge = 1e300;
  double* ph = &huge;
  result r = convert(CMN_TYP_DOUBLE, &ph, CMN_TYP_CHAR_P, 64);
  EXPECT_EQ(r.allocated, 1);
  EXPECT_EQ(r.text.size(), 304u);
}

TEST_F(CmnTypConv, CurrencyTextWithSwappedSymbolsAndPrecisionFlags) {
  loc_ty_region* reg = loc_reg_get_region();
  std::strcpy(reg->dec_sym, ",");
  std::strcpy(reg->group_sym, ".");
  std::strcpy(reg->grouping, "\3");
  reg->precision = 2;
  reg->mon_precision = 3;
  loc_st_num_cache_reset();
  cmn_typ_conv_reset();  // the next conversion fetches the region again
  double d = 1234567.125;
  double* pd = &d;
  EXPECT_EQ(convert(CMN_TYP_DOUBLE, &pd, CMN_TYP_CHAR_P, 64).text, "1.234.567,13");
  cmn_typ_set_read_cur_flag(1);
  EXPECT_EQ(convert(CMN_TYP_DOUBLE, &pd, CMN_TYP_CHAR_P, 64).text, "1.234.567,125");
  cmn_typ_set_read_cur_flag(1);
  cmn_typ_set_write_cur_flag(1);  // the write flag wins
  EXPECT_EQ(convert(CMN_TYP_DOUBLE, &pd, CMN_TYP_CHAR_P, 64).text, "1.234.567,1250");
  EXPECT_EQ(convert(CMN_TYP_DOUBLE, &pd, CMN_TYP_CHAR_P, 64).text, "1.234.567,13");  // one-shot
  long l = 1234567;
  EXPECT_EQ(convert(CMN_TYP_LONG, &l, CMN_TYP_CHAR_P, 64).text, "1.234.567");
  EXPECT_EQ(cmn_typ_get_dec_precision(), 2);
  EXPECT_EQ(cmn_typ_get_reg_cur_prec(), 3);
  // Texts typed with the region's symbols.
  const char* t = "-1.234,5";
  result r = convert(CMN_TYP_CHAR_P, &t, CMN_TYP_DOUBLE, 64);
  EXPECT_EQ(r.rc, 0);
  EXPECT_DOUBLE_EQ(value_of<double>(r), -1234.5);
  t = "1.234";
  r = convert(CMN_TYP_CHAR_P, &t, CMN_TYP_LONG, 64);
  EXPECT_EQ(r.rc, 0);
  EXPECT_EQ(value_of<long>(r), 1234);
  t = "(12,5)";
  r = convert(CMN_TYP_CHAR_P, &t, CMN_TYP_DECIMAL, 64);
  ASSERT_EQ(r.rc, 0);
}

TEST_F(CmnTypConv, TextToNumbers) {
  struct {
    long localized;
    const char* text;
    long dst;
    long rc;
    double value;
  } cases[] = {
      {1, " 12 ", CMN_TYP_LONG, 0, 12},
      {0, " 12 ", CMN_TYP_LONG, 0, 12},
      {1, "12a", CMN_TYP_LONG, CMN_TYP_BAD_INTEGER, 0},
      {0, "1,234", CMN_TYP_LONG, CMN_TYP_BAD_INTEGER, 0},  // not a silent 1
      {1, "", CMN_TYP_LONG, 0, 0},
      {1, "99999999999999999999", CMN_TYP_LONG, CMN_TYP_BAD_INTEGER, 0},
      {1, "(1,234)", CMN_TYP_LONG, 0, -1234},
      {1, "1.5", CMN_TYP_FLOAT, 0, 1.5},
      {0, "1.5", CMN_TYP_FLOAT, 0, 1.5},
      {0, "1.2.3", CMN_TYP_FLOAT, CMN_TYP_TWO_POINTS, 0},
      {0, "1x", CMN_TYP_FLOAT, CMN_TYP_BAD_REAL, 0},
      {1, "1x", CMN_TYP_FLOAT, CMN_TYP_BAD_REAL, 0},
      {1, "  ", CMN_TYP_FLOAT, 0, 0},
      {1, "10000000", CMN_TYP_DOUBLE, CMN_TYP_TOO_LARGE, 1e7},
      {0, "-10000000", CMN_TYP_MONEY, CMN_TYP_TOO_SMALL, -1e7},
      {0, "9999999.99", CMN_TYP_DOUBLE, 0, 9999999.99},
      {0, "abc", CMN_TYP_DOUBLE, CMN_TYP_NO_REAL, 0},
      {0, "   ", CMN_TYP_DOUBLE, 0, 0},
      {1, "", CMN_TYP_MONEY, 0, 0},
      {1, "1.2.3", CMN_TYP_DOUBLE, CMN_TYP_BAD_REAL, 0},
  };
  for (auto& c : cases) {
    cmn_alrt_clear(nullptr);
    cmn_typ_set_localize(c.localized);
    const char* t = c.text;
    result r = convert(CMN_TYP_CHAR_P, &t, c.dst, 1);  // always too small: allocated
    EXPECT_EQ(r.rc, c.rc) << "'" << c.text << "' to " << c.dst;
    EXPECT_EQ(r.allocated, 1) << c.text;
    if (c.rc != 0) {
      EXPECT_EQ(top_code(), c.rc) << c.text;
    }
    if (c.rc == 0 || c.rc == CMN_TYP_TOO_LARGE || c.rc == CMN_TYP_TOO_SMALL) {
      double got = c.dst == CMN_TYP_LONG ? static_cast<double>(value_of<long>(r))
                   : c.dst == CMN_TYP_FLOAT ? value_of<float>(r) : value_of<double>(r);
      EXPECT_DOUBLE_EQ(got, c.value) << c.text;
    }
  }
  EXPECT_NE(core_top_alert_text().size(), 0u);
}

TEST_F(CmnTypConv, NumericPairsAndBooleans) {
  long l = 300;
  float f = 2.5f;
  float* pf = &f;
  double d = 3.75;
  double* pd = &d;
  signed char b = -1;
  EXPECT_FLOAT_EQ(value_of<float>(convert(CMN_TYP_LONG, &l, CMN_TYP_FLOAT, 4)), 300.0f);
  EXPECT_DOUBLE_EQ(value_of<double>(convert(CMN_TYP_LONG, &l, CMN_TYP_DOUBLE, 8)), 300.0);
  result r = convert(CMN_TYP_LONG, &l, CMN_TYP_DOUBLE, 4);
  EXPECT_EQ(r.allocated, 1);
  EXPECT_EQ(value_of<long>(convert(CMN_TYP_LONG, &l, CMN_TYP_VOID_P, 8)), 300);
  // A long becomes a boolean by its low byte.
  const struct {
    long value;
    char want;
  } booleans[] = {{300, 0x2C}, {0, 0},   {1, 1},
                  {256, 0},    {-1, static_cast<char>(0xFF)}, {0x1FF, static_cast<char>(0xFF)}};
  for (auto c : booleans)
    EXPECT_EQ(value_of<char>(convert(CMN_TYP_LONG, &c.value, CMN_TYP_BOOLEAN, 8)), c.want) << c.value;
  EXPECT_FLOAT_EQ(value_of<float>(convert(CMN_TYP_FLOAT, &f, CMN_TYP_FLOAT, 4)), 2.5f);
  EXPECT_DOUBLE_EQ(value_of<double>(convert(CMN_TYP_FLOAT, &pf, CMN_TYP_DOUBLE, 8)), 2.5);
  EXPECT_DOUBLE_EQ(value_of<double>(convert(CMN_TYP_DOUBLE, &d, CMN_TYP_DOUBLE, 8)), 3.75);
  EXPECT_FLOAT_EQ(value_of<float>(convert(CMN_TYP_DOUBLE, &pd, CMN_TYP_FLOAT, 4)), 3.75f);
  EXPECT_DOUBLE_EQ(value_of<double>(convert(CMN_TYP_MONEY, &pd, CMN_TYP_DOUBLE, 8)), 3.75);
  EXPECT_FLOAT_EQ(value_of<float>(convert(CMN_TYP_MONEY, &pd, CMN_TYP_FLOAT, 4)), 3.75f);
  EXPECT_EQ(value_of<long>(convert(CMN_TYP_BOOLEAN, &b, CMN_TYP_LONG, 8)), -1);
  EXPECT_EQ(convert(CMN_TYP_BOOLEAN, &b, CMN_TYP_CHAR_P, 0).text, "True");
  b = 0;
  EXPECT_EQ(convert(CMN_TYP_BOOLEAN, &b, CMN_TYP_CHAR_P, 0).text, "False");
  const char* texts[] = {"true", "TRUE", "yes", ""};
  const char want[] = {1, 1, 0, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(value_of<char>(convert(CMN_TYP_CHAR_P, &texts[i], CMN_TYP_BOOLEAN, 1)), want[i]);
  }
  // Text to text hands the source pointer on; long to long the cell.
  const char* t = "abc";
  void* slot = nullptr;
  long allocated = 5;
  ASSERT_EQ(cmn_typ_convert(-1, CMN_TYP_CHAR, &t, CMN_TYP_CHAR_P, &slot, 0, &allocated), 0);
  EXPECT_EQ(slot, t);
  EXPECT_EQ(allocated, 0);
  ASSERT_EQ(cmn_typ_convert(-1, CMN_TYP_LONG, &l, CMN_TYP_LONG, &slot, 0, &allocated), 0);
  EXPECT_EQ(slot, &l);
  EXPECT_EQ(allocated, 0);
}

TEST_F(CmnTypConv, PairsWithoutAConversion) {
  double m = 1.0;
  double* pm = &m;
  long clock = 0;
  struct {
    long src;
    void* cell;
    long dst;
  } cases[] = {{CMN_TYP_MONEY, &pm, CMN_TYP_CHAR_P},
               {CMN_TYP_LONG, &clock, CMN_TYP_DECIMAL},
               {CMN_TYP_SHORT, &clock, CMN_TYP_LONG}};
  for (auto& c : cases) {
    cmn_alrt_clear(nullptr);
    EXPECT_EQ(convert(c.src, c.cell, c.dst, 64).rc, CMN_TYP_NO_CONV_PROC) << c.src << " to " << c.dst;
    EXPECT_EQ(top_code(), CMN_TYP_NO_CONV_PROC);
  }
  EXPECT_NE(core_top_alert_text().find("No conversion proc for"), std::string::npos);
}

TEST_F(CmnTypConv, TextToDecimal) {
  struct {
    const char* text;
    long rc;
    const char* dec;
    long precision;
    long scale;
  } cases[] = {
      {"-1.5E-3", 0, "-1.5E-3", 4, 4},
      {"  12.50 ", 0, "12.50", 4, 2},
      {"", 0, "0.0", 2, 1},
      {"+007", 0, "+007", 3, 0},
      {"1.25E1", 0, "1.25E1", 3, 1},
      {"1.5E3", 0, "1.5E3", 4, 0},
      {"-1E+2", 0, "-1E+2", 3, 0},
      {"1E2E3", CMN_TYP_BAD_DECIMAL, nullptr, 0, 0},
      {"1.2.3", CMN_TYP_TWO_POINTS, nullptr, 0, 0},
      {"12a", CMN_TYP_BAD_DECIMAL, nullptr, 0, 0},
      {"1-2", CMN_TYP_BAD_DECIMAL, nullptr, 0, 0},
      {"1.5E-3-", CMN_TYP_BAD_DECIMAL, nullptr, 0, 0},
      {"1E2-", CMN_TYP_BAD_DECIMAL, nullptr, 0, 0},
      {".", CMN_TYP_BAD_DECIMAL, nullptr, 0, 0},
      {"12345678901234567890123456789012345678901234", CMN_TYP_DECIMAL_TOO_LONG, nullptr, 0, 0},
  };
  for (long localized : {1L, 0L}) {
    cmn_typ_set_localize(localized);
    for (auto& c : cases) {
      cmn_alrt_clear(nullptr);
      const char* t = c.text;
      cmn_ty_decimal storage{};
      void* slot = &storage;
      long allocated = 9;
      long rc = cmn_typ_convert(-1, CMN_TYP_CHAR_P, &t, CMN_TYP_DECIMAL, &slot, sizeof storage, &allocated);
      EXPECT_EQ(rc, c.rc) << c.text;
      EXPECT_EQ(allocated, 0);
      if (rc != 0) {
        EXPECT_EQ(top_code(), c.rc);
        continue;
      }
      EXPECT_STREQ(storage.text, c.dec);
      EXPECT_EQ(storage.precision, c.precision) << c.text;
      EXPECT_EQ(storage.scale, c.scale) << c.text;
    }
  }
  EXPECT_NE(core_top_alert_text().find("is too long"), std::string::npos);
}

TEST_F(CmnTypConv, DecimalToTextAndFloat) {
  cmn_ty_decimal d{"1234.5678", 8, 4};
  cmn_ty_decimal* pd = &d;
  cmn_typ_set_dec_precision(2);
  // Precision 2 cuts the scale 4: localised rounding, plain "%.*f".
  EXPECT_EQ(convert(CMN_TYP_DECIMAL, &pd, CMN_TYP_CHAR_P, 64).text, "1234.57");
  cmn_typ_set_write_cur_flag(1);
  EXPECT_EQ(convert(CMN_TYP_DECIMAL, &pd, CMN_TYP_CHAR_P, 64).text, "1234.5678");
  cmn_typ_no_localize();
  EXPECT_EQ(convert(CMN_TYP_DECIMAL, &pd, CMN_TYP_CHAR_P, 64).text, "1234.57");
  cmn_typ_set_dec_precision(-1);
  result r = convert(CMN_TYP_DECIMAL, &pd, CMN_TYP_CHAR_P, 8);
  EXPECT_EQ(r.text, "1234.5678");
  EXPECT_EQ(r.allocated, 1);
  EXPECT_FLOAT_EQ(value_of<float>(convert(CMN_TYP_DECIMAL, &pd, CMN_TYP_FLOAT, 4)), 1234.5678f);
  cmn_typ_set_localize(1);
  EXPECT_EQ(convert(CMN_TYP_DECIMAL, &pd, CMN_TYP_CHAR_P, 64).text, "1234.5678");
  EXPECT_FLOAT_EQ(value_of<float>(convert(CMN_TYP_DECIMAL, &pd, CMN_TYP_FLOAT, 4)), 1234.5678f);
  cmn_ty_decimal n{"(NULL)", 0, 0};
  pd = &n;
  r = convert(CMN_TYP_DECIMAL, &pd, CMN_TYP_CHAR_P, 0);
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.allocated, 0);
}

// A type with its own convert method takes over; others fall back.
long own_convert(long, long, void*, long, void* slot, long, long* allocated) {
  *static_cast<const char**>(slot) = "own";
  *allocated = 0;
  return 0;
}

TEST_F(CmnTypConv, OwnerDispatch) {
  cmn_ty_method m{CMN_MTH_CONVERT, cmn_typ_proc(own_convert)};
  ASSERT_EQ(cmn_typ_install_methods(700, 1, &m), 0);
  long l = 5;
  void* slot = nullptr;
  long allocated = 0;
  ASSERT_EQ(cmn_typ_convert(700, CMN_TYP_LONG, &l, CMN_TYP_CHAR_P, &slot, 64, &allocated), 0);
  EXPECT_STREQ(static_cast<const char*>(slot), "own");
  char buf[64];
  slot = buf;
  ASSERT_EQ(cmn_typ_convert(CMN_TYP_CHAR_P, CMN_TYP_LONG, &l, CMN_TYP_CHAR_P, &slot, 64, &allocated), 0);
  EXPECT_STREQ(buf, "5");
  EXPECT_EQ(cmn_typ_convert(5, CMN_TYP_LONG, &l, CMN_TYP_CHAR_P, &slot, 64, &allocated), CMN_TYP_BAD_CLASS);
  cmn_typ_install_methods(700, 0, nullptr);
  cmn_ty_obj_info info;
  ASSERT_EQ(cmn_typ_get_obj_info(700, &info), 0);
  if (info.methods) info.methods[CMN_MTH_CONVERT] = nullptr;
  slot = buf;
  ASSERT_EQ(cmn_typ_convert(700, CMN_TYP_LONG, &l, CMN_TYP_CHAR_P, &slot, 64, &allocated), 0);
  EXPECT_STREQ(buf, "5");
  cmn_typ_set_from_db(3);
  EXPECT_EQ(cmn_typ_conv_from_db(), 1);
  EXPECT_EQ(cmn_typ_report_float(CMN_TYP_TOO_LARGE), CMN_TYP_TOO_LARGE);
  EXPECT_EQ(core_top_alert_text(), "The value you entered is too large. The maximum allowed value is 9999999.");
}

}  // namespace

namespace {

long clock_calls = 0;
long clock_convert(long, long src_type, void*, long dst_type, void* slot, long, long* allocated) {
  ++clock_calls;
  *static_cast<const char**>(slot) = src_type == CMN_TYP_CLK_TIME ? "clock text" : "clock value";
  *allocated = dst_type;
  return 0;
}

long record_conv(long owner, long, void*, long, void* slot, long, long*) {
  *static_cast<long*>(*static_cast<void**>(slot)) = owner;
  return 0;
}

long record_lookup(long type, void** proc) {
  if (type == 10001) return CMN_TYP_BAD_TYPE;
  *proc = type == 10002 ? reinterpret_cast<void*>(record_conv) : nullptr;
  return 0;
}

TEST_F(CmnTypConv, ClockTimesAndRecordTypesUseTheirOwnProcedures) {
  cmn_ty_obj_info info;
  ASSERT_EQ(cmn_typ_get_obj_info(CMN_TYP_CLK_TIME, &info), 0);
  cmn_ty_method m{CMN_MTH_CONVERT, cmn_typ_proc(clock_convert)};
  ASSERT_EQ(cmn_typ_install_methods(CMN_TYP_CLK_TIME, 1, &m), 0);
  const char* t = "12/25/03";
  void* slot = nullptr;
  long allocated = 0, clock = 0;
  ASSERT_EQ(cmn_typ_convert(-1, CMN_TYP_CHAR_P, &t, CMN_TYP_CLK_TIME, &slot, 8, &allocated), 0);
  EXPECT_STREQ(static_cast<const char*>(slot), "clock value");
  ASSERT_EQ(cmn_typ_convert(-1, CMN_TYP_CLK_TIME, &clock, CMN_TYP_CHAR_P, &slot, 8, &allocated), 0);
  EXPECT_STREQ(static_cast<const char*>(slot), "clock text");
  // A clock time to a long is 0, without the clock's method.
  clock = 12345;
  long as_long = 99;
  slot = &as_long;
  EXPECT_EQ(cmn_typ_convert(-1, CMN_TYP_CLK_TIME, &clock, CMN_TYP_LONG, &slot, 8, &allocated), 0);
  EXPECT_EQ(as_long, 0);
  EXPECT_EQ(clock_calls, 2);
  // Owner 653 with two clock times takes the matrix, so the clock's method.
  ASSERT_EQ(cmn_typ_convert(653, CMN_TYP_CLK_TIME, &clock, CMN_TYP_CLK_TIME, &slot, 8, &allocated), 0);
  EXPECT_EQ(clock_calls, 3);
  ASSERT_EQ(cmn_typ_get_obj_info(CMN_TYP_CLK_TIME, &info), 0);
  info.methods[CMN_MTH_CONVERT] = nullptr;  // the clock's method again absent

  cmn_typ_install_dyn_conv_lookup(record_lookup);
  long out = 0;
  slot = &out;
  long l = 4;
  ASSERT_EQ(cmn_typ_convert(10002, CMN_TYP_LONG, &l, CMN_TYP_LONG, &slot, 8, &allocated), 0);
  EXPECT_EQ(out, 10002);
  EXPECT_EQ(cmn_typ_convert(10001, CMN_TYP_LONG, &l, CMN_TYP_LONG, &slot, 8, &allocated), CMN_TYP_BAD_TYPE);
  ASSERT_EQ(cmn_typ_convert(10003, CMN_TYP_LONG, &l, CMN_TYP_LONG, &slot, 8, &allocated), 0);  // the matrix
  EXPECT_EQ(slot, &l);
  cmn_typ_install_dyn_conv_lookup(nullptr);
}

}  // namespace
