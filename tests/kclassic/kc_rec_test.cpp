// The record set: columns, cells and their ownership, rows grown by writes.
#include <gtest/gtest.h>

#include <cstring>

#include "kc_rectest.h"
#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_rec.h"

using namespace KCLASSIC;
using namespace kctest;

namespace {

class Rec : public ::testing::Test {
 protected:
  void SetUp() override { startLocales(); }
};

void expectRecErr(const KErr& e, const char* method, const char* insert) {
  expectErr(e, KERR_RECORD_ACCESS, method, insert);
}

} // namespace

TEST_F(Rec, NewRecordIsEmpty) {
  KUtlRecord r;
  EXPECT_EQ(r.GetRows(), 0);
  EXPECT_EQ(r.GetColumns(), 0);
  EXPECT_STREQ(r.GetRecordName(), "");
  EXPECT_STREQ(r.GetTypeName(), "Record");
  EXPECT_EQ(sizeof(KUtlColumn), sizeof(long) + 72); // cell type, letter and 64-byte name, padded
}

TEST_F(Rec, ColumnDefinitionText) {
  KUtlRecord r;
  r.RemoveAll("t", "LId, SName,,Rsub,Xfoo");
  EXPECT_STREQ(r.GetRecordName(), "t");
  EXPECT_EQ(columnsOf(r), "0a04/A/Id;1000/H/Name;3800/P/;1b00/O/sub;3800/P/foo");
  EXPECT_STREQ(r.GetColTypeName(1), "HName");

  // Every selecting letter in both cases; blanks and control characters
  // before a token are skipped, trailing blanks stay.
  r.RemoveAll(nullptr, "fa,\t\ngb,tc ,Cd,bE,l,s");
  EXPECT_STREQ(r.GetRecordName(), "t");
  EXPECT_EQ(columnsOf(r), "0a04/D/a;1000/E/b;1000/I/c ;1000/M/d;3400/Q/E;0a04/A/;1000/H/");

  // A long token keeps 63 bytes of its name.
  std::string longName(100, 'n');
  r.RemoveAll(nullptr, ("S" + longName).c_str());
  EXPECT_EQ(std::string(r.GetColName(0)), longName.substr(0, 63));

  r.RemoveAll(nullptr, "");
  EXPECT_EQ(r.GetColumns(), 0);
}

TEST_F(Rec, CopyStringCutsAndTerminates) {
  char buf[8];
  EXPECT_EQ(KUtlRecord::CopyString(buf, "abc", 8), 1);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(KUtlRecord::CopyString(buf, "abcdefghij", 8), 0);
  EXPECT_STREQ(buf, "abcdefg");
  EXPECT_EQ(KUtlRecord::CopyString(buf, "abc", 1), 0);
  EXPECT_STREQ(buf, "");
}

TEST_F(Rec, CellTypeChosenByDatabaseType) {
  const long expected[17] = {0x0A04, 0x0A04, 0x0A04, 0x0A04, 0x1000, 0,      0x1000, 0x1000, 0x1000,
                             0x1000, 0x1000, 0x1000, 0x1000, 0,      0x1B00, 0x3800, 0x3400};
  for (long t = 0; t < 17; ++t) {
    SCOPED_TRACE(t);
    KUtlRecord r;
    if (expected[t] == 0) {
      expectRecErr(*thrown([&] { r.SetColType(0, 0, "c", t); }), "KUtlRecord::SetColType", "Illegal Type");
      continue;
    }
    r.SetColType(0, 0, "c", t);
    EXPECT_EQ(r.GetColCellType(0), expected[t]);
    EXPECT_EQ(r.GetColLetter(0), char('A' + t));
  }
}

TEST_F(Rec, SetColTypePlaceholdersAndRefusals) {
  KUtlRecord r;
  r.SetColType(3, 0, "x", 7);
  EXPECT_EQ(columnsOf(r), "3800/A/Col;3800/A/Col;3800/A/Col;1000/H/x");
  // A placeholder may be redefined, a defined column may not.
  r.SetColType(1, 0, "n", 0);
  r.SetColType(3, 0, "y", 0);
  EXPECT_EQ(columnsOf(r), "3800/A/Col;0a04/A/n;3800/A/Col;1000/H/x");

  struct Case {
    long cellType, sqlType;
    const char* insert;
  } cases[] = {{0, 5, "Illegal Type"}, {0, 13, "Illegal Type"}, {0, 17, "Illegal Type"},
               {0, -1, "Illegal Type"}, {UTL_CELL_STRING, 17, "nSqltype is invalid"},
               {UTL_CELL_STRING, -1, "nSqltype is invalid"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sqlType);
    KUtlRecord s;
    auto e = thrown([&] { s.SetColType(0, c.cellType, "c", c.sqlType); });
    expectRecErr(*e, "KUtlRecord::SetColType", c.insert);
    EXPECT_EQ(s.GetColumns(), 0);
  }

  // One row allowed (the row widens), two refused.
  KUtlRecord one;
  one.RemoveAll(nullptr, "LA");
  one.SetLongVal(0, 0, 7);
  one.SetColType(1, 0, "B", 7);
  one.SetString(0, 1, "b");
  EXPECT_EQ(one.GetLongVal(0, 0), 7);
  EXPECT_STREQ(one.GetString(0, 1), "b");
  one.SetLongVal(1, 0, 8);
  auto e = thrown([&] { one.SetColType(2, 0, "C", 0); });
  expectRecErr(*e, "KUtlRecord::SetColType", "Cells have data");
  EXPECT_EQ(one.GetColumns(), 2);
}

TEST_F(Rec, WritesGrowRows) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "SA");
  r.SetString(5, 0, "a");
  EXPECT_EQ(r.GetRows(), 6);
  for (long i = 0; i < 5; ++i) EXPECT_EQ(r.GetString(i, 0), nullptr);
  EXPECT_STREQ(r.GetString(5, 0), "a");
  // A write to an earlier row keeps the row count.
  r.SetString(2, 0, "b");
  EXPECT_EQ(r.GetRows(), 6);
  EXPECT_EQ(r.GetCellIndex(3, 0, 0, 0), 3);
}

TEST_F(Rec, OutOfRangeCellsRefused) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "LA,SB");
  r.SetLongVal(1, 1 - 1, 4);
  struct Case {
    long row, col;
    const char* insert;
  } reads[] = {{-1, 0, "Row out of range"}, {2, 0, "Row out of range"},
               {0, -1, "Column out of range"}, {0, 2, "Column out of range"}};
  for (const Case& c : reads) {
    SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
    expectRecErr(*thrown([&] { r.GetLongVal(c.row, c.col); }), "KUtlRecord::GetLongVal", c.insert);
    KZString s;
    expectRecErr(*thrown([&] { r.GetStringVal(c.row, c.col, s); }), "KUtlRecord::GetStringVal", c.insert);
  }
  expectRecErr(*thrown([&] { r.SetString(-1, 1, "x"); }), "KUtlRecord::SetString", "Row out of range");
  expectRecErr(*thrown([&] { r.SetString(0, 2, "x"); }), "KUtlRecord::SetString", "Column out of range");
  expectRecErr(*thrown([&] { r.DeleteRow(2); }), "KUtlRecord::DeleteRow", "Row out of range");
  // No row beyond what the cell array can hold.
  expectRecErr(*thrown([&] { r.SetString(0x7FFFFFFF, 1, "x"); }), "KUtlRecord::GetCellIndex", "Row out of range");
  expectRecErr(*thrown([&] { r.SetLongVal(long(1) << 40, 0, 1); }), "KUtlRecord::GetCellIndex", "Row out of range");
  long key = 0;
  expectRecErr(*thrown([&] { r.CompareRows(0, 2, &key, 1, 0); }), "KUtlRecord::CompareRows", "Row out of range");
  EXPECT_EQ(r.GetRows(), 2);
  KUtlRecord none;
  expectRecErr(*thrown([&] { none.SetString(0, 0, "x"); }), "KUtlRecord::SetString", "Column out of range");
}

TEST_F(Rec, TextCellsOwnTheirText) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "SA,BB,LC");
  r.SetString(0, 0, "hello");
  const char* s = r.GetString(0, 0);
  EXPECT_EQ(KBinSysStringByteLen(s), 7u); // the text and two NULs
  EXPECT_EQ(s[5], '\0');
  EXPECT_EQ(s[6], '\0');
  r.SetString(0, 0, nullptr);
  EXPECT_EQ(r.GetString(0, 0), nullptr);

  // A text handed over is owned by the record; taken back, by the caller.
  r.SetSysStringBytes(0, 0, KBinSysAllocString("mine"));
  char* back = r.GetSysStringAndClear(0, 0);
  EXPECT_STREQ(back, "mine");
  EXPECT_EQ(r.GetString(0, 0), nullptr);
  KBinSysFreeString(back);
  EXPECT_EQ(r.GetSysStringAndClear(0, 0), nullptr);

  // Byte strings copied or taken over; the same string stored again stays.
  char* b = KBinSysAllocStringByteLen("a\0b", 3);
  r.SetKBstr(0, 1, b, 1);
  char* held = r.GetKBstr(0, 1, 0);
  EXPECT_NE(held, b);
  EXPECT_EQ(KBinSysStringByteLen(held), 3u);
  EXPECT_EQ(std::memcmp(held, "a\0b", 3), 0);
  r.SetKBstr(0, 1, b, 0);
  EXPECT_EQ(r.GetKBstr(0, 1, 0), b);
  r.SetKBstr(0, 1, b, 0);
  EXPECT_EQ(r.GetKBstr(0, 1, 0), b);
  char* detached = r.GetKBstr(0, 1, 1);
  EXPECT_EQ(detached, b);
  EXPECT_EQ(r.GetKBstr(0, 1, 0), nullptr);
  KBinSysFreeString(detached);

  // A text never goes into a long cell.
  expectRecErr(*thrown([&] { r.SetString(0, 2, "x"); }), "KUtlRecord::SetString",
               "Cell data can not be converted to string");
}

TEST_F(Rec, NestedRecordCells) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "Rsub");
  KUtlRecord* sub = r.GetRecordPtr(1, 0);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(r.GetRows(), 2);
  EXPECT_EQ(r.GetRecordPtr(1, 0), sub);
  KUtlRecord src;
  src.RemoveAll("inner", "LV");
  src.SetLongVal(0, 0, 9);
  r.SetRecord(0, 0, src, 0);
  EXPECT_EQ(r.GetRecordPtr(0, 0)->GetLongVal(0, 0), 9);
  EXPECT_EQ(src.GetLongVal(0, 0), 9);
  r.ReleaseCell(r.GetCellIndex(0, 0, 0, 0));
  KUtlRecord* fresh = r.GetRecordPtr(0, 0);
  EXPECT_EQ(fresh->GetColumns(), 0);
}

TEST_F(Rec, ClearCellInitialValues) {
  KUtlRecord r;
  r.SetColType(0, 0, "d", UTL_DB_DATE);
  r.SetColType(1, 0, "c", UTL_DB_CURRENCY);
  r.SetColType(2, 0, "g", UTL_DB_DOUBLE);
  r.SetColType(3, 0, "m", UTL_DB_DECIMAL);
  r.SetColType(4, 0, "l", UTL_DB_LONG);
  r.SetColType(5, 0, "s", UTL_DB_VARSTR);
  r.SetLongVal(0, 4, 5);
  r.SetString(0, 5, "x");
  for (long c = 0; c < 6; ++c) r.ClearCell(0, c, 1);
  EXPECT_STREQ(r.GetString(0, 0), "01/01/1753 00:00:00");
  EXPECT_STREQ(r.GetString(0, 1), "0");
  EXPECT_STREQ(r.GetString(0, 2), "0");
  EXPECT_STREQ(r.GetString(0, 3), "0");
  EXPECT_EQ(r.GetLongVal(0, 4), 0);
  EXPECT_EQ(r.GetString(0, 5), nullptr);
  r.ClearCell(0, 0, 0);
  EXPECT_STREQ(r.GetString(0, 0), "1753-01-01 00:00:00");
  // Clearing a later row grows the record.
  r.ClearCell(2, 0, 0);
  EXPECT_EQ(r.GetRows(), 3);
  EXPECT_STREQ(r.GetString(2, 0), "1753-01-01 00:00:00");
}

TEST_F(Rec, ClearAndDeleteRow) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "LA,SB");
  for (long i = 0; i < 3; ++i) {
    r.SetLongVal(i, 0, i + 10);
    r.SetString(i, 1, std::to_string(i).c_str());
  }
  r.DeleteRow(1);
  EXPECT_EQ(r.GetRows(), 2);
  EXPECT_EQ(r.GetLongVal(1, 0), 12);
  EXPECT_STREQ(r.GetString(1, 1), "2");
  r.Clear();
  EXPECT_EQ(r.GetRows(), 2);
  EXPECT_EQ(r.GetColumns(), 2);
  EXPECT_EQ(r.GetLongVal(1, 0), 0);
  EXPECT_EQ(r.GetString(1, 1), nullptr);
  EXPECT_EQ(KUtlRecord::GetCrSect(), &g_RecCrSect);
}

TEST_F(Rec, FieldColumnsAndTableDef) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "LErrorNum,SText,SOther");
  EXPECT_EQ(r.GetFieldCol("errornum"), 0);
  EXPECT_EQ(r.GetFieldCol("TEXT"), 1);
  expectRecErr(*thrown([&] { r.GetFieldCol("none"); }), "KUtlRecord::GetFieldCol", "Column not found");

  TableDouble table;
  KDdField* errField = table.AddNamedField("ERRORNUM");
  KDdField* textField = table.AddNamedField("text");
  r.SetTableDef(&table, 1);
  EXPECT_EQ(r.GetTableDef(), &table);
  EXPECT_EQ(r.GetField(0), errField);
  EXPECT_EQ(r.GetField(1), textField);
  EXPECT_EQ(r.GetField(2), nullptr);
  EXPECT_EQ(table.FindField(KZString("ErrorNum")), static_cast<IDdField*>(errField));
  EXPECT_EQ(table.FindField(KZString("missing")), nullptr);
  // RemoveAll forgets the table.
  r.RemoveAll(nullptr, nullptr);
  EXPECT_EQ(r.GetTableDef(), nullptr);
}
