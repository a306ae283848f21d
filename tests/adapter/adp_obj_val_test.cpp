// Object rows' values in tables: how each value type and flag byte enters a
// statement (bound or literal, increment forms, empty strings, long texts,
// own values of locale ids and change dates), the upper-case search copy,
// change-row detail texts and increment expressions, server date texts and
// texts read back into fields.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_time.h"
#include "core/clk/clk_srv.h"
#include "core/cmn/cmn_dec.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_pl.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kLong = 512, kShort = 513, kFloat = 514, kText = 516, kDate = 609, kDouble = 613, kMoney = 614,
               kDecimal = 766, kNoSuchType = 600;
constexpr long kDbInt = 0, kDbText = 7, kDbLongText = 8, kDbDate = 9;
constexpr unsigned char kPlain = 1, kUp = ADP_OBJ_DIRTY | ADP_OBJ_INCR, kDown = ADP_OBJ_DIRTY | ADP_OBJ_DECR;
constexpr long kBindSwitch = 9;

typ_sch_frec field(const char* name, long type, long db_type = kDbInt, long gen = -1, unsigned long flags = 0) {
  typ_sch_frec f{};
  f.name = const_cast<char*>(name);
  f.data_type = type;
  f.db_type = db_type;
  f.gen_id = gen;
  f.flags = flags;
  return f;
}

clktime at(const char* text) {
  clktime t{};
  EXPECT_EQ(adp_time_str_to_clk(text, &t), 0) << text;
  return t;
}

cmn_ty_decimal decimal(const char* text) {
  cmn_ty_decimal d{};
  std::strcpy(d.text, text);
  d.precision = 19;
  d.scale = 2;
  return d;
}

class AdpObjVal : public adp_test {
 protected:
  void open(const char* driver, bool bind) {
    con_ = connect(driver);
    adp_db_set_head_read(1);
    adp_db_set_flags(ADP_HDR_SEARCH);
    con_->GetConfig().SetPropertyBool(static_cast<KAdpConfig::bool_type>(kBindSwitch), bind ? 1 : 0);
    batch_ = new KAdpSqlBatch(con_);
  }
  void TearDown() override {
    delete batch_;
    adp_db_set_head_read(0);
    adp_test::TearDown();
  }
  // The text one rendering appends to an empty batch ("status N" on failure).
  std::string render(const typ_sch_frec& f, dbs_ty_slot slot, unsigned char flag, const char** long_text = nullptr) {
    delete batch_;
    batch_ = new KAdpSqlBatch(con_);
    const long st = adp_obj_field_save_it(batch_, &f, &slot, flag, long_text);
    if (st != 0) return "status " + std::to_string(st);
    const char* text = batch_->GetCurrentStmt();
    return text != nullptr ? text : "";
  }
  std::string upcase(const typ_sch_frec& f, const char* text, const char** long_text = nullptr) {
    delete batch_;
    batch_ = new KAdpSqlBatch(con_);
    dbs_ty_slot slot{};
    slot.p = const_cast<char*>(text);
    const long st = adp_obj_field_save_it_in_upcase(batch_, &f, &slot, long_text);
    if (st != 0) return "status " + std::to_string(st);
    const char* out = batch_->GetCurrentStmt();
    return out != nullptr ? out : "";
  }
  static dbs_ty_slot boxed(const void* p) {
    dbs_ty_slot s{};
    s.p = const_cast<void*>(p);
    return s;
  }
  static dbs_ty_slot number(long v) {
    dbs_ty_slot s{};
    s.l = v;
    return s;
  }

  KAdpConnId* con_ = nullptr;
  KAdpSqlBatch* batch_ = nullptr;
};

TEST_F(AdpObjVal, RenderingPerValueTypeAndFlag) {
  open("oledb", false);
  static const float kHalf = 0.5f;
  static const double kQuarter = 0.25;
  static const cmn_ty_decimal kAmount = decimal("12.50"), kNoAmount = decimal("");
  const clktime kOpened = at("03/04/2021 10:20:30");
  const struct {
    typ_sch_frec f;
    dbs_ty_slot slot;
    unsigned char flag;
    const char* text;
  } rows[] = {
      {field("count", kLong), number(42), kPlain, "42"},
      {field("count", kLong), number(42), kUp, "count+42"},
      {field("count", kLong), number(42), kDown, "count-42"},
      {field("count", kLong), number(-3), kUp, "count+-3"},
      {field("small", kShort), number(7), kDown, "small-7"},
      {field("ratio", kFloat), boxed(&kHalf), kPlain, "0.500000"},
      {field("ratio", kFloat), boxed(&kHalf), kUp, "ratio+0.500000"},
      {field("ratio", kFloat), boxed(&kHalf), kDown, "ratio-0.500000"},
      {field("score", kDouble), boxed(&kQuarter), kPlain, "0.250000"},
      {field("price", kMoney), boxed(&kQuarter), kUp, "0.250000"},  // only longs and floats step
      {field("title", kText, kDbText), boxed("it's"), kPlain, "'it''s'"},
      {field("title", kText, kDbText), boxed(""), kPlain, "''"},
      {field("title", kText, kDbText), boxed(nullptr), kPlain, "''"},
      {field("amount", kDecimal), boxed(&kAmount), kPlain, "12.50"},
      {field("amount", kDecimal), boxed(&kNoAmount), kPlain, "''"},
      {field("opened", kDate, kDbDate), boxed(&kOpened), kPlain, "'2021-03-04 10:20:30'"},
      {field("odd", kNoSuchType), number(1), kPlain, "status 6291462"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(render(r.f, r.slot, r.flag), r.text) << r.f.name << " " << r.f.data_type << " flag " << int(r.flag);
  }
}

TEST_F(AdpObjVal, BoundValuesLeaveMarkersAndLongTextsReachTheCaller) {
  open("oledb", true);
  static const double kQuarter = 0.25;
  EXPECT_EQ(render(field("count", kLong), number(42), kPlain), "@V0");
  EXPECT_EQ(render(field("count", kLong), number(42), kUp), "count+42");
  EXPECT_EQ(render(field("score", kDouble), boxed(&kQuarter), kPlain), "@V0");
  EXPECT_EQ(render(field("title", kText, kDbText), boxed(""), kPlain), "''");
  // A long-text column hands its text to the caller; an empty one clears it.
  const char* long_text = "stale";
  EXPECT_EQ(render(field("notes", kText, kDbLongText), boxed("body"), kPlain, &long_text), "@V0");
  EXPECT_STREQ(long_text, "body");
  EXPECT_EQ(render(field("notes", kText, kDbLongText), boxed(""), kPlain, &long_text), "''");
  EXPECT_EQ(long_text, nullptr);
}

TEST_F(AdpObjVal, LocaleIdsAndChangeDatesGetTheirOwnValues) {
  open("oledb", false);
  // The change dates come from the process's clock.
  clk_time_diff_cache_set(0);
  // A locale id 0 takes the thread's; another value is kept.
  for (long gen : {ADP_GEN_LOCALE1, ADP_GEN_LOCALE2}) {
    dbs_ty_slot slot = number(0);
    typ_sch_frec f = field("lcid", kLong, kDbInt, gen);
    ASSERT_EQ(adp_obj_field_save_it(batch_, &f, &slot, kPlain, nullptr), 0);
    EXPECT_EQ(slot.l, adp_db_get_thread_lcid());
    slot.l = 1031;
    EXPECT_EQ(render(f, slot, kPlain), "1031");
  }
  // The change date: a clock for a date column, a text for text kinds, else
  // refused with the field name.
  clktime old{1, 1};
  dbs_ty_slot slot = boxed(&old);
  typ_sch_frec date = field("upd_date", kDate, kDbDate, ADP_GEN_CHANGE_DATE);
  ASSERT_EQ(adp_obj_field_save_it(batch_, &date, &slot, kPlain, nullptr), 0);
  EXPECT_GT(old.day, 1);
  for (long kind : {6L, 7L, 8L}) {
    std::string text = render(field("upd_text", kText, kind, ADP_GEN_CHANGE_DATE), boxed("x"), kPlain);
    EXPECT_EQ(text.front(), '\'') << kind;
    EXPECT_NE(text, "'x'") << kind;
  }
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(render(field("upd_num", kLong, 3, ADP_GEN_CHANGE_DATE), number(0), kPlain),
            "status " + std::to_string(ADP_OBJ_STAMP_KIND));
  long code = 0;
  const char* text = nullptr;
  ASSERT_EQ(cmn_alrt_top(nullptr, &code, &text), 0);
  EXPECT_EQ(code, ADP_OBJ_STAMP_KIND);
}

TEST_F(AdpObjVal, SearchCopies) {
  open("oledb", false);
  const long bad = ADP_BAD_VALUE_TYPE;
  const char* long_text = "x";
  const struct {
    typ_sch_frec f;
    const char* value;
    const char** long_text;
    const char* text;
  } rows[] = {
      {field("title", kText, kDbText, -1, ADP_FLD_SEARCHABLE), "Mixed case 9", nullptr, "'MIXED CASE 9'"},
      {field("title", kText, kDbText), "Mixed", nullptr, ""},  // not searchable: nothing
      {field("title", kText, kDbText, -1, ADP_FLD_SEARCHABLE), "", nullptr, "''"},
      {field("count", kLong), "1", nullptr, nullptr},  // no string: refused
      {field("notes", kText, kDbLongText, -1, ADP_FLD_SEARCHABLE), "body", &long_text, nullptr},
  };
  for (const auto& r : rows) {
    const std::string want = r.text != nullptr ? r.text : "status " + std::to_string(bad);
    EXPECT_EQ(upcase(r.f, r.value, r.long_text), want) << r.f.name << " " << r.value;
  }
  // An empty long text clears the caller's pointer.
  EXPECT_EQ(upcase(field("notes", kText, kDbLongText, -1, ADP_FLD_SEARCHABLE), "", &long_text), "''");
  EXPECT_EQ(long_text, nullptr);
  // Without header flag 1 nothing is written.
  adp_db_set_flags(0);
  EXPECT_EQ(upcase(field("title", kText, kDbText, -1, ADP_FLD_SEARCHABLE), "Mixed"), "");
}

TEST_F(AdpObjVal, MultibyteTextUpperCasesOnlyItsOneByteCharacters) {
  const char* saved = std::getenv("LC_ALL");
  const std::string old = saved != nullptr ? saved : "";
  ASSERT_EQ(setenv("LC_ALL", "C.UTF-8", 1), 0);
  const long was = double_byte_enable;
  double_byte_enable = 1;
  // "añb é": the two-byte letters stay as they are.
  EXPECT_EQ(adp_obj_upcase("a\xc3\xb1" "b \xc3\xa9z"), "A\xc3\xb1" "B \xc3\xa9Z");
  // A broken sequence is passed over byte by byte.
  EXPECT_EQ(adp_obj_upcase("a\xc3"), "A\xc3");
  double_byte_enable = 0;
  EXPECT_EQ(adp_obj_upcase("abc"), "ABC");
  double_byte_enable = was;
  if (saved != nullptr) setenv("LC_ALL", old.c_str(), 1);
  else unsetenv("LC_ALL");
  std::setlocale(LC_ALL, "C");
}

TEST_F(AdpObjVal, DetailTextsPerValueType) {
  con_ = connect("oledb");
  static const float kHalf = 0.5f;
  static const double kQuarter = 0.25;
  static const cmn_ty_decimal kAmount = decimal("12.50");
  const clktime kOpened = at("03/04/2021 10:20:30");
  const struct {
    typ_sch_frec f;
    dbs_ty_slot slot;
    const char* head;
    const char* values;
  } rows[] = {
      {field("count", kLong), number(42), " count 2", "42"},
      {field("small", kShort), number(-5), " small 2", "-5"},
      {field("ratio", kFloat), boxed(&kHalf), " ratio 8", "0.500000"},
      {field("score", kDouble), boxed(&kQuarter), " score 8", "0.250000"},
      {field("price", kMoney), boxed(&kQuarter), " price 8", "0.250000"},
      {field("title", kText, kDbText), boxed("Hello"), " title 5", "Hello"},
      {field("title", kText, kDbText), boxed(""), " title 0", ""},
      {field("amount", kDecimal), boxed(&kAmount), " amount 5", "12.50"},
      {field("opened", kDate, kDbDate), boxed(&kOpened), " opened 19", "2021-03-04 10:20:30"},
  };
  for (const auto& r : rows) {
    std::string head = "2", values;
    ASSERT_EQ(adp_obj_field_set_tx_detail(&r.f, kPlain, &r.slot, 0, &head, &values), 0) << r.f.name;
    EXPECT_EQ(head, std::string("2") + r.head) << r.f.name;
    EXPECT_EQ(values, r.values) << r.f.name;
  }
  // Two columns build the documented example.
  std::string head, values;
  typ_sch_frec title = field("title", kText, kDbText), count = field("count", kLong);
  dbs_ty_slot hello = boxed("Hello"), forty_two = number(42);
  ASSERT_EQ(adp_obj_field_set_tx_detail(&title, kPlain, &hello, 0, &head, &values), 0);
  ASSERT_EQ(adp_obj_field_set_tx_detail(&count, kPlain, &forty_two, 0, &head, &values), 0);
  EXPECT_EQ("2" + head + " " + values, "2 title 5 count 2 Hello42");
  // A type without a text form is refused.
  typ_sch_frec odd = field("odd", kNoSuchType);
  EXPECT_EQ(adp_obj_field_set_tx_detail(&odd, kPlain, &forty_two, 0, &head, &values), ADP_BAD_VALUE_TYPE);
}

TEST_F(AdpObjVal, IncrementDetailExpressionsPerServer) {
  static const float kHalf = 0.5f;
  const struct {
    const char* driver;
    typ_sch_frec f;
    dbs_ty_slot slot;
    unsigned char flag;
    const char* text;
  } rows[] = {
      {"oracle", field("count", kLong), number(2), kUp,
       "CONCAT(CONCAT(CONCAT('1 count ', TO_CHAR(LENGTH(TO_CHAR(count+2)))), ' '), TO_CHAR(count+2))"},
      {"oracle", field("count", kLong), number(2), kDown,
       "CONCAT(CONCAT(CONCAT('1 count ', TO_CHAR(LENGTH(TO_CHAR(count-2)))), ' '), TO_CHAR(count-2))"},
      {"oracle", field("ratio", kFloat), boxed(&kHalf), kUp,
       "CONCAT(CONCAT(CONCAT('1 ratio ', TO_CHAR(LENGTH(TO_CHAR(ratio+0.500000)))), ' '), TO_CHAR(ratio+0.500000))"},
      {"oledb", field("count", kLong), number(2), kUp,
       "'1 count ' + convert(varchar, LEN(convert(varchar, count+2))) + ' ' + convert(varchar, count+2)"},
      {"oledb", field("ratio", kFloat), boxed(&kHalf), kDown,
       "'1 ratio ' + convert(varchar, LEN(convert(varchar, ratio-0.500000))) + ' ' + convert(varchar, ratio-0.500000)"},
  };
  for (const auto& r : rows) {
    con_ = connect(r.driver);
    std::string out;
    ASSERT_EQ(adp_obj_set_tx_detail2(&r.f, r.flag, &r.slot, 0, &out), 0) << r.text;
    EXPECT_EQ(out, r.text);
  }
  std::string out;
  typ_sch_frec text = field("title", kText, kDbText);
  dbs_ty_slot slot = boxed("x");
  EXPECT_EQ(adp_obj_set_tx_detail2(&text, kUp, &slot, 0, &out), ADP_BAD_VALUE_TYPE);
}

TEST_F(AdpObjVal, ServerDateTexts) {
  for (const char* driver : {"oracle", "oledb"}) {
    con_ = connect(driver);
    const std::string format =
        con_->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(34));
    const clktime t = at("03/04/2021 10:20:30");
    char out[256] = {};
    ASSERT_EQ(adp_obj_gen_svr_clk_str(&t, 0, out), 0);
    EXPECT_STREQ(out, "03/04/2021 10:20:30") << driver;
    ASSERT_EQ(adp_obj_gen_svr_clk_str(&t, 1, out), 0);
    EXPECT_EQ(out, "TO_DATE('03/04/2021 10:20:30', '" + format + "')") << driver;
  }
  EXPECT_EQ(std::string(adp_obj_default_string()), "''");
  // The first day in the connected server's date text.
  EXPECT_EQ(std::string(adp_obj_default_datetime()), "'1753-01-01 00:00:00'");
}

TEST_F(AdpObjVal, CopyFieldPerValueType) {
  con_ = connect("oledb");
  utl_ty_pool* pool = nullptr;
  ASSERT_EQ(utl_pl_create("test", 256, &pool), 0);
  dbs_ty_lobj object{};
  object.pool = pool;
  // Numbers and decimals are copied whole from the bytes given.
  const double quarter = 0.25;
  double d = 0;
  dbs_ty_slot slot = boxed(&d);
  typ_sch_frec f = field("score", kDouble);
  ASSERT_EQ(adp_obj_copy_field(&object, &f, reinterpret_cast<const char*>(&quarter), &slot), 0);
  EXPECT_EQ(d, 0.25);
  const float half = 0.5f;
  float fl = 0;
  slot = boxed(&fl);
  f = field("ratio", kFloat);
  ASSERT_EQ(adp_obj_copy_field(&object, &f, reinterpret_cast<const char*>(&half), &slot), 0);
  EXPECT_EQ(fl, 0.5f);
  const cmn_ty_decimal amount = decimal("123456.78");
  cmn_ty_decimal dec{};
  slot = boxed(&dec);
  f = field("amount", kDecimal);
  ASSERT_EQ(adp_obj_copy_field(&object, &f, reinterpret_cast<const char*>(&amount), &slot), 0);
  EXPECT_EQ(std::memcmp(&dec, &amount, sizeof dec), 0);
  // A string is copied into the object's pool.
  char source[] = "copied";
  f = field("title", kText, kDbText);
  slot = boxed(nullptr);
  ASSERT_EQ(adp_obj_copy_field(&object, &f, source, &slot), 0);
  ASSERT_NE(slot.p, static_cast<void*>(source));
  source[0] = 'X';
  EXPECT_STREQ(static_cast<const char*>(slot.p), "copied");
  // A date from its text; an empty text is 1 January 1753.
  clktime t{};
  slot = boxed(&t);
  f = field("opened", kDate, kDbDate);
  ASSERT_EQ(adp_obj_copy_field(&object, &f, "03/04/2021 10:20:30", &slot), 0);
  const clktime want = at("03/04/2021 10:20:30");
  EXPECT_EQ(t.day, want.day);
  EXPECT_EQ(t.ticks, want.ticks);
  ASSERT_EQ(adp_obj_copy_field(&object, &f, "", &slot), 0);
  EXPECT_EQ(t.day, -53690);
  EXPECT_EQ(t.ticks, 0);
  // Any other type keeps the text's address.
  f = field("count", kLong);
  ASSERT_EQ(adp_obj_copy_field(&object, &f, source, &slot), 0);
  EXPECT_EQ(slot.p, static_cast<void*>(source));
  utl_pl_free("test", pool);
}

}  // namespace
