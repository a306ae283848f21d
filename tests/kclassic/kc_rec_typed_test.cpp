// The record set's typed access through language-neutral text, copying of
// cells, rows and records, and the dump.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kc_rectest.h"
#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_ln.h"
#include "kclassic/kc_rec.h"

using namespace KCLASSIC;
using namespace kctest;

namespace {

class RecTyped : public ::testing::Test {
 protected:
  void SetUp() override { startLocales(); }
};

constexpr const char* kNotLong = "Cell data can not be converted to long";

// One column of every typed letter: float, double, currency, decimal, date,
// then a long, a text and a nested record.
void typedColumns(KUtlRecord& r) {
  r.RemoveAll("typed", nullptr);
  r.SetColType(0, 0, "f", UTL_DB_FLOAT);
  r.SetColType(1, 0, "g", UTL_DB_DOUBLE);
  r.SetColType(2, 0, "c", UTL_DB_CURRENCY);
  r.SetColType(3, 0, "m", UTL_DB_DECIMAL);
  r.SetColType(4, 0, "d", UTL_DB_DATE);
  r.SetColType(5, 0, "l", UTL_DB_LONG);
  r.SetColType(6, 0, "s", UTL_DB_VARSTR);
  r.SetColType(7, 0, "r", UTL_DB_RECORD);
}

} // namespace

TEST_F(RecTyped, GetLongValOfTexts) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "SA");
  struct Case {
    const char* text;
    long value;
    bool ok;
  } cases[] = {{"-12", -12, true},     {"- 7", -7, true},         {"  42", 42, true},        {"", 0, true},
               {"-", 0, true},         {"2147483647", 2147483647, true}, {"-2147483648", -2147483648L, true},
               {" -5", 0, false},      {"+3", 0, false},          {"4 ", 0, false},          {"1.5", 0, false},
               {"2147483648", 0, false}, {"-2147483649", 0, false}, {"99999999999999999999", 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    r.SetString(0, 0, c.text);
    if (c.ok) {
      EXPECT_EQ(r.GetLongVal(0, 0), c.value);
    } else {
      expectErr(*thrown([&] { r.GetLongVal(0, 0); }), KERR_RECORD_ACCESS, "KUtlRecord::GetLongVal", kNotLong);
    }
  }
  r.SetString(0, 0, nullptr);
  EXPECT_EQ(r.GetLongVal(0, 0), 0);
  KUtlRecord b;
  b.RemoveAll(nullptr, "BA");
  b.GetCellIndex(0, 0, 0, 1);
  expectErr(*thrown([&] { b.GetLongVal(0, 0); }), KERR_RECORD_ACCESS, "KUtlRecord::GetLongVal", kNotLong);
}

TEST_F(RecTyped, ValuesThroughTheirLetters) {
  for (const char* locale : {kEnglish, kGerman}) {
    SCOPED_TRACE(locale);
    ThreadLocale use(locale);
    KUtlRecord r;
    typedColumns(r);
    r.SetFloat(0, 0, 1.5f);
    EXPECT_EQ(r.GetFloat(0, 0), 1.5f);
    r.SetDouble(0, 1, 2.25);
    EXPECT_STREQ(r.GetString(0, 1), "2.250000");
    EXPECT_EQ(r.GetDouble(0, 1), 2.25);
    r.SetCurrency(0, 2, tagKCY{125000});
    EXPECT_STREQ(r.GetString(0, 2), "12.5000");
    EXPECT_EQ(r.GetCurrency(0, 2).int64, 125000);
    r.SetDecimal(0, 3, UtlLnStringToDecimal("-1.250"));
    EXPECT_STREQ(r.GetString(0, 3), "-1.250");
    EXPECT_STREQ(UtlDecimalToLnString(r.GetDecimal(0, 3)), "-1.250");
    const double date = 37986.0 + (14 * 3600 + 5 * 60 + 9) / 86400.0;
    r.SetDate(0, 4, date);
    EXPECT_STREQ(r.GetString(0, 4), "2003-12-31 14:05:09");
    EXPECT_NEAR(r.GetDate(0, 4), date, 1e-9);

    // Text forms of long and float cells.
    KZString s;
    r.GetStringVal(0, 0, s);
    EXPECT_STREQ(s, "1.500000");
    r.SetStringVal(0, 0, "0.25");
    EXPECT_EQ(r.GetFloat(0, 0), 0.25f);
    r.SetStringVal(0, 5, "-42");
    EXPECT_EQ(r.GetLongVal(0, 5), -42);
    r.GetStringVal(0, 5, s);
    EXPECT_STREQ(s, "-42");
    r.SetStringVal(0, 5, nullptr);
    EXPECT_EQ(r.GetLongVal(0, 5), 0);
    r.SetStringVal(0, 6, "text");
    r.GetStringVal(0, 6, s);
    EXPECT_STREQ(s, "text");
    r.SetStringVal(0, 6, nullptr);
    r.GetStringVal(0, 6, s);
    EXPECT_STREQ(s, "");
    expectErr(*thrown([&] { r.GetStringVal(0, 7, s); }), KERR_RECORD_ACCESS, "KUtlRecord::GetStringVal",
              "Cell data can not be converted to string");
    expectErr(*thrown([&] { r.SetStringVal(0, 7, "x"); }), KERR_RECORD_ACCESS, "KUtlRecord::SetStringVal",
              "Cell data can not be converted to string");
  }
}

TEST_F(RecTyped, WrongLettersRefusedAndCellsKept) {
  KUtlRecord r;
  typedColumns(r);
  r.SetString(0, 6, "keep");
  r.SetLongVal(0, 5, 17);
  struct Case {
    const char* method;
    const char* insert;
    void (*call)(KUtlRecord&, long col);
  } cases[] = {
      {"KUtlRecord::GetFloat", "GetFloat() requires database type as float.",
       [](KUtlRecord& x, long c) { x.GetFloat(0, c); }},
      {"KUtlRecord::SetFloat", "SetFloat() requires database type as float.",
       [](KUtlRecord& x, long c) { x.SetFloat(0, c, 3.0f); }},
      {"KUtlRecord::GetDouble", "Getdouble() requires database type as double.",
       [](KUtlRecord& x, long c) { x.GetDouble(0, c); }},
      {"KUtlRecord::SetDouble", "SetDouble() requires database type as double.",
       [](KUtlRecord& x, long c) { x.SetDouble(0, c, 1.0); }},
      {"KUtlRecord::GetCurrency", "GetCurrency() requires database type as Currency.",
       [](KUtlRecord& x, long c) { x.GetCurrency(0, c); }},
      {"KUtlRecord::SetCurrency", "SetCurrency() requires database type as currency.",
       [](KUtlRecord& x, long c) { x.SetCurrency(0, c, tagKCY{1}); }},
      {"KUtlRecord::GetDecimal", "GetDecimal() requires database type as Decimal.",
       [](KUtlRecord& x, long c) { x.GetDecimal(0, c); }},
      {"KUtlRecord::SetDecimal", "SetDecimal() requires database type as Decimal.",
       [](KUtlRecord& x, long c) { x.SetDecimal(0, c, UtlLnStringToDecimal("1")); }},
      {"KUtlRecord::GetDate", "GetDate() requires database type as Date.",
       [](KUtlRecord& x, long c) { x.GetDate(0, c); }},
      {"KUtlRecord::SetDate", "SetDate() requires database type as Date.",
       [](KUtlRecord& x, long c) { x.SetDate(0, c, 1.0); }},
  };
  for (const Case& c : cases) {
    for (long col : {5L, 6L}) {
      SCOPED_TRACE(testing::Message() << c.method << " on column " << col);
      expectErr(*thrown([&] { c.call(r, col); }), KERR_RECORD_ACCESS, c.method, c.insert);
      EXPECT_EQ(r.GetLongVal(0, 5), 17);
      EXPECT_STREQ(r.GetString(0, 6), "keep");
    }
  }
  // A float column that does not hold text is no double, whatever is asked.
  expectErr(*thrown([&] { r.GetDouble(0, 0); }), KERR_RECORD_ACCESS, "KUtlRecord::GetDouble",
            "Getdouble() requires database type as double.");
}

TEST_F(RecTyped, CopyCellsRowsAndAppend) {
  KUtlRecord src;
  src.RemoveAll("src", "LId,SName,Rsub,Bblob,Xpad");
  src.SetLongVal(0, 0, 1);
  src.SetString(0, 1, "one");
  src.GetRecordPtr(0, 2)->RemoveAll("inner", "SV");
  src.GetRecordPtr(0, 2)->SetString(0, 0, "deep");
  src.SetKBstr(0, 3, KBinSysAllocStringByteLen("\x01\x02", 2), 0);
  src.SetLongVal(1, 0, 2);

  KUtlRecord dst;
  dst.RemoveAll("dst", "LId,SName,Rsub,Bblob,Xpad");
  dst.CopyRow(src, 0, 3);
  EXPECT_EQ(dst.GetRows(), 4);
  EXPECT_EQ(dst.GetLongVal(3, 0), 1);
  EXPECT_STREQ(dst.GetString(3, 1), "one");
  EXPECT_NE(dst.GetString(3, 1), src.GetString(0, 1));
  EXPECT_STREQ(dst.GetRecordPtr(3, 2)->GetString(0, 0), "deep");
  EXPECT_NE(dst.GetRecordPtr(3, 2), src.GetRecordPtr(0, 2));
  EXPECT_NE(dst.GetKBstr(3, 3, 0), src.GetKBstr(0, 3, 0));
  EXPECT_EQ(std::memcmp(dst.GetKBstr(3, 3, 0), "\x01\x02", 2), 0);

  dst.Append(src);
  EXPECT_EQ(dst.GetRows(), 6);
  EXPECT_EQ(dst.GetLongVal(5, 0), 2);
  dst.Append(dst);
  EXPECT_EQ(dst.GetRows(), 12);
  EXPECT_STREQ(dst.GetString(9, 1), "one");
}

TEST_F(RecTyped, FromUtlRecordCopyAndMove) {
  KUtlRecord src;
  src.RemoveAll("src", "LId,SName,Rsub");
  src.SetTypeName("Kind");
  src.SetLongVal(0, 0, 5);
  src.SetString(0, 1, "five");
  src.GetRecordPtr(0, 2)->RemoveAll(nullptr, "LV");
  src.GetRecordPtr(0, 2)->SetLongVal(0, 0, 55);
  src.SetLongVal(1, 0, 6); // row 1 has an empty nested cell

  KUtlRecord copy;
  copy.RemoveAll("old", "SOther");
  copy.SetString(3, 0, "dropped");
  copy.FromUtlRecord(&src, 0);
  EXPECT_STREQ(copy.GetRecordName(), "src");
  EXPECT_STREQ(copy.GetTypeName(), "Record");
  EXPECT_EQ(columnsOf(copy), columnsOf(src));
  EXPECT_EQ(copy.GetRows(), 2);
  EXPECT_STREQ(copy.GetString(0, 1), "five");
  EXPECT_EQ(copy.GetRecordPtr(0, 2)->GetLongVal(0, 0), 55);
  EXPECT_EQ(copy.GetLongVal(1, 0), 6);
  EXPECT_EQ(src.GetRows(), 2);
  EXPECT_STREQ(src.GetString(0, 1), "five");
  copy.FromUtlRecord(&copy, 0);
  EXPECT_EQ(copy.GetRows(), 2);

  const char* text = src.GetString(0, 1);
  KUtlRecord* nested = src.GetRecordPtr(0, 2);
  KUtlRecord moved;
  moved.RemoveAll("m", "LX");
  moved.SetLongVal(0, 0, 1);
  moved.FromUtlRecord(&src, 1);
  EXPECT_EQ(src.GetRows(), 0);
  EXPECT_EQ(src.GetColumns(), 0);
  EXPECT_EQ(moved.GetString(0, 1), text);
  EXPECT_EQ(moved.GetRecordPtr(0, 2), nested);
  EXPECT_STREQ(moved.GetRecordName(), "src");

  moved.FromUtlRecord(nullptr, 0);
  EXPECT_EQ(moved.GetColumns(), 0);
  EXPECT_STREQ(moved.GetRecordName(), "src");
}

TEST_F(RecTyped, FromUtlRecordOfItsOwnTree) {
  for (int move : {0, 1}) {
    SCOPED_TRACE(move);
    // Replaced by its own nested record.
    KUtlRecord r;
    r.RemoveAll("outer", "Rsub,LV");
    r.SetLongVal(0, 1, 1);
    KUtlRecord* sub = r.GetRecordPtr(0, 0);
    sub->RemoveAll("inner", "SText");
    sub->SetString(1, 0, "kept");
    r.FromUtlRecord(sub, move);
    EXPECT_STREQ(r.GetRecordName(), "inner");
    EXPECT_EQ(columnsOf(r), "1000/H/Text");
    EXPECT_STREQ(r.GetString(1, 0), "kept");

    // A record copied into its own nested cell.
    KUtlRecord t;
    t.RemoveAll("t", "Rsub,LV");
    t.SetLongVal(0, 1, 9);
    t.SetRecord(0, 0, t, move);
    KUtlRecord* child = t.GetRecordPtr(0, 0);
    EXPECT_EQ(columnsOf(*child), "1b00/O/sub;0a04/A/V");
    EXPECT_EQ(child->GetLongVal(0, 1), 9);
    EXPECT_EQ(t.GetLongVal(0, 1), 9);
  }
}

TEST_F(RecTyped, PrintText) {
  KUtlRecord r;
  r.RemoveAll("r", "La,Sb");
  r.SetLongVal(0, 0, 5);
  r.SetString(0, 1, "x");
  EXPECT_STREQ(r.Print(), "r, Record \r\nAa, Hb\r\n5, x");
  KUtlRecord f;
  f.RemoveAll("f", "Fv,Sn,Rs,Xe");
  f.SetFloat(0, 0, 1.5f);
  f.SetLongVal(1, 0, 0);
  EXPECT_STREQ(f.Print(), "f, Record \r\nDv, Hn, Os, Pe\r\n1.500000, , <...>, <...>\r\n0.000000, , <...>, <...>");
}
