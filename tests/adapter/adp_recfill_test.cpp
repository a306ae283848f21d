// The typed record's fills: object ids, local objects (through the store's
// double), column declarations from a schema, sized text reads and the
// hexadecimal round trips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_double.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_rec.h"
#include "core/utl/utl_col.h"
#include "kclassic/kc_bstr.h"
#include "schema/typ_rec.h"

namespace {

class AdpRecFill : public adp_test {
 protected:
  static std::vector<long> longs(utl_ty_col* col) {
    std::vector<long> out;
    long n = 0;
    utl_col_num(col, &n);
    for (long i = 0; i < n; ++i) {
      void* e = nullptr;
      utl_col_ith(col, i, &e);
      out.push_back(*static_cast<long*>(e));
    }
    return out;
  }
  static void id_rows(KAdpUtlRecord& rec, const std::vector<long>& ids) {
    rec.SetColType(0, 0, nullptr, 0);
    for (size_t i = 0; i < ids.size(); ++i) rec.SetLong(static_cast<long>(i), 0, ids[i]);
  }
};

TEST_F(AdpRecFill, ObjectIdsSkipZerosAndStopAtTheMaximumOnly) {
  struct {
    std::vector<long> rows;
    long maximum;
    std::vector<long> want;
  } cases[] = {
      {{5, 0, 7}, -1, {5, 7}},
      {{5, 0, 7}, 1, {5}},
      {{5, 0, 7}, 2, {5}},
      {{}, -1, {}},
  };
  for (const auto& c : cases) {
    KAdpUtlRecord rec;
    id_rows(rec, c.rows);
    utl_ty_col* col = nullptr;
    ASSERT_EQ(utl_col_make(nullptr, 512, 10, 10, 0, 0, &col), 0);
    EXPECT_EQ(rec.FillObjidCollection(col, -1, c.maximum), 0);
    EXPECT_EQ(longs(col), c.want);
    utl_col_free(nullptr, col);
  }
  // Every row up to the caller's maximum: no cut at the dialect's number 7.
  KAdpUtlRecord rec;
  std::vector<long> many(20000);
  for (size_t i = 0; i < many.size(); ++i) many[i] = static_cast<long>(i + 1);
  id_rows(rec, many);
  utl_ty_col* col = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 512, 10, 10, 0, 0, &col), 0);
  ASSERT_EQ(rec.FillObjidCollection(col, -1, -1), 0);
  EXPECT_EQ(longs(col), many);
  utl_col_free(nullptr, col);
}

struct schema_fixture {
  std::vector<typ_sch_frec> fields;
  typ_sch_srec srec{};
  explicit schema_fixture(const std::vector<std::pair<long, long>>& types) {  // value type, db type
    fields.resize(types.size());
    for (size_t i = 0; i < types.size(); ++i) {
      fields[i] = typ_sch_frec{};
      fields[i].data_type = types[i].first;
      fields[i].db_type = types[i].second;
    }
    srec.nfields = static_cast<long>(fields.size());
    srec.fields = fields.data();
  }
};

TEST_F(AdpRecFill, ColumnsFromTheSchemaByDatabaseType) {
  schema_fixture s({{512, 0}, {613, 5}, {516, 12}, {516, 6}, {609, 9}});
  KAdpUtlRecord rec;
  ASSERT_EQ(rec.SetColTypesFromSchema(&s.srec), 0);
  long type = -1;
  rec.GetSqlDataType(0, type);
  EXPECT_EQ(type, 0);
  rec.GetSqlDataType(1, type);
  EXPECT_EQ(type, 4);  // money is declared as a double
  EXPECT_EQ(rec.GetColCellType(2), KCLASSIC::UTL_CELL_EMPTY);  // database type 12: left undeclared
  rec.GetSqlDataType(3, type);
  EXPECT_EQ(type, 6);
  rec.GetSqlDataType(4, type);
  EXPECT_EQ(type, 9);
}

TEST_F(AdpRecFill, LocalObjectsGetEveryFieldThenAreMarkedClean) {
  connect("oracle");
  schema_fixture s({{512, 0}, {513, 1}, {514, 3}, {613, 4}, {516, 6}, {515, 6}, {609, 6}, {766, 6}, {615, 6}});
  adp_double::field_types() = {512, 513, 514, 613, 516, 515, 609, 766, 615};
  KAdpUtlRecord rec;
  rec.SetColType(0, 0, nullptr, 0);
  rec.SetColType(1, 0, nullptr, 0);
  rec.SetColType(2, 0, nullptr, 3);
  rec.SetColType(3, 0, nullptr, 4);
  for (long c = 4; c < 9; ++c) rec.SetColType(c, 0, nullptr, 6);
  rec.SetLong(0, 0, 42);
  rec.SetLong(0, 1, 7);
  rec.KUtlRecord::SetFloat(0, 2, 1.5f);
  rec.KUtlRecord::SetDouble(0, 3, 2.25);
  rec.SetString(0, 4, "text");
  rec.SetString(0, 5, "x");
  rec.SetString(0, 6, "");
  rec.SetString(0, 7, "");
  rec.SetString(0, 8, "01AB");
  // Row 1 of a second object: only checks the position offset.
  for (long c = 0; c < 9; ++c) {
    if (c < 4) rec.SetLong(1, c, 0);
    else rec.SetString(1, c, c == 8 ? "" : "y");
  }
  rec.SetString(1, 6, "");
  rec.SetString(1, 7, "3.5");
  utl_ty_col* col = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 517, 4, 4, 0, 0, &col), 0);
  std::vector<void*> objs = {reinterpret_cast<void*>(100), reinterpret_cast<void*>(200),
                             reinterpret_cast<void*>(300)};
  for (void*& o : objs) utl_col_insert(col, &o, nullptr);
  ASSERT_EQ(rec.FillObjectCollection(col, &s.srec, 1, -1), 0);
  const auto& calls = adp_double::store_calls();
  ASSERT_EQ(calls.size(), 20u);
  EXPECT_EQ(calls[0], "200:0=42");
  EXPECT_EQ(calls[1], "200:1=7");
  EXPECT_EQ(calls[2], "200:2=1.500000");
  EXPECT_EQ(calls[3], "200:3=2.250000");
  EXPECT_EQ(calls[4], "200:4=text");
  EXPECT_EQ(calls[5], "200:5=x");
  EXPECT_EQ(calls[6], "200:6=-53690/0");  // an empty date: 1 January 1753
  EXPECT_EQ(calls[7], "200:7=0.0");
  EXPECT_EQ(calls[8], "200:8=0x01AB");
  EXPECT_EQ(calls[9], "clean 200 0");
  EXPECT_EQ(calls[17], "300:7=3.5");
  EXPECT_EQ(calls[19], "clean 300 0");
  // Maximum 1 stops after the first row; another field type is refused.
  adp_double::store_calls().clear();
  ASSERT_EQ(rec.FillObjectCollection(col, &s.srec, 0, 1), 0);
  EXPECT_EQ(adp_double::store_calls().size(), 10u);
  schema_fixture bad({{512, 0}, {597, 6}});
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(rec.FillObjectCollection(col, &bad.srec, 0, -1), ADP_BAD_VALUE_TYPE);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_BAD_VALUE_TYPE}));
  // A failing field set is returned at once.
  adp_double::set_local_status() = 0x700001;
  EXPECT_EQ(rec.FillObjectCollection(col, &s.srec, 0, -1), 0x700001);
  utl_col_free(nullptr, col);
}

TEST_F(AdpRecFill, TextFitsItsDestinationOrFails) {
  KAdpUtlRecord rec;
  rec.SetColType(0, 0, nullptr, 6);
  rec.SetString(0, 0, "abcd");
  struct {
    long size;
    long status;
    const char* text;
  } cases[] = {{5, 0, "abcd"}, {4, ADP_REC_NO_FIT, ""}, {1, ADP_REC_NO_FIT, ""}, {-1, 0, "abcd"}};
  for (const auto& c : cases) {
    char buf[8] = "zzzzzzz";
    char null = 9;
    EXPECT_EQ(rec.GetDataValue(0, 0, 516, 6, buf, &null, c.size), c.status) << c.size;
    EXPECT_STREQ(buf, c.text) << c.size;
    EXPECT_EQ(null, 0);
  }
}

TEST_F(AdpRecFill, HexRoundTrips) {
  struct {
    std::string bytes;
    std::string hex;
  } cases[] = {
      {"", "0x"},
      {std::string("\x01\xAB", 2), "0x01AB"},
      {std::string("\x00\xFF\x10", 3), "0x00FF10"},
      {std::string(700, '\x5A'), "0x" + std::string(1400, 'x')},
  };
  cases[3].hex = "0x";
  for (int i = 0; i < 700; ++i) cases[3].hex += "5A";
  for (const auto& c : cases) {
    char* b = KCLASSIC::KBinSysAllocStringByteLen(c.bytes.data(), static_cast<unsigned>(c.bytes.size()));
    KCLASSIC::KZString hex;
    convert_BStr_to_hex(b, hex);
    EXPECT_EQ(std::string(hex), c.hex);
    KCLASSIC::KBinSysFreeString(b);
    // Back from the text with and without its prefix, and in lower case.
    std::string lower = c.hex;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (const std::string& text : {c.hex, c.hex.substr(2), lower}) {
      char* back = nullptr;
      convert_hex_to_BStr(KCLASSIC::KZString(text.c_str()), back);
      ASSERT_NE(back, nullptr);
      EXPECT_EQ(std::string(back, KCLASSIC::KBinSysStringByteLen(back)), c.bytes) << text.substr(0, 20);
      KCLASSIC::KBinSysFreeString(back);
    }
  }
}

}  // namespace
