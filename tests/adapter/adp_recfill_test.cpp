// The typed record's fills: object ids, local objects of the store, column
// declarations from a schema, sized text reads and the hexadecimal round
// trips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_model.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_rec.h"
#include "core/utl/utl_col.h"
#include "kclassic/kc_bstr.h"
#include "schema/typ_rec.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"

namespace {

class AdpRecFill : public adp_test {
 protected:
  static std::vector<long> longs(utl_ty_col* col) { return adp_col_longs(col); }
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

// The field values of a local object, rendered by value type.
std::string field_text(dbs_ty_lobj* o, long field) {
  long v = 0, type = 0;
  if (dbs_fld_get(o, field, &v, &type) != 0) return "?";
  const void* p = reinterpret_cast<const void*>(v);
  switch (type) {
    case 512:
    case 513: return std::to_string(v);
    case 514: return std::to_string(*static_cast<const float*>(p));
    case 613: return std::to_string(*static_cast<const double*>(p));
    case 515:
    case 516: return p != nullptr ? static_cast<const char*>(p) : "<null>";
    case 609: {
      const auto* t = static_cast<const clktime*>(p);
      return std::to_string(t->day) + "/" + std::to_string(t->ticks);
    }
    case 766: return static_cast<const cmn_ty_decimal*>(p)->text;
    case 615: {
      KCLASSIC::KZString hex;
      convert_BStr_to_hex(static_cast<const char*>(p), hex);
      return static_cast<const char*>(hex);
    }
    default: return "?";
  }
}

std::vector<std::string> fields_of(dbs_ty_lobj* o, long n) {
  std::vector<std::string> out;
  for (long f = 0; f < n; ++f) out.push_back(field_text(o, f));
  return out;
}

TEST_F(AdpRecFill, LocalObjectsGetEveryFieldThenAreMarkedClean) {
  connect("oracle");
  adp_model model;
  model.add("filltest", 4000, {{512, 0}, {513, 1}, {514, 3}, {613, 4}, {516, 7}, {516, 7}, {609, 9}, {766, 11}});
  typ_sch_srec* s = model.finish(4000);
  ASSERT_NE(s, nullptr);
  KAdpUtlRecord rec;
  rec.SetColType(0, 0, nullptr, 0);
  rec.SetColType(1, 0, nullptr, 0);
  rec.SetColType(2, 0, nullptr, 3);
  rec.SetColType(3, 0, nullptr, 4);
  for (long c = 4; c < 8; ++c) rec.SetColType(c, 0, nullptr, 6);
  rec.SetLong(0, 0, 42);
  rec.SetLong(0, 1, 7);
  rec.KUtlRecord::SetFloat(0, 2, 1.5f);
  rec.KUtlRecord::SetDouble(0, 3, 2.25);
  rec.SetString(0, 4, "text");
  rec.SetString(0, 5, "x");
  rec.SetString(0, 6, "");
  rec.SetString(0, 7, "");
  for (long c = 0; c < 8; ++c) {
    if (c < 4) rec.SetLong(1, c, 0);
    else rec.SetString(1, c, "y");
  }
  rec.SetString(1, 6, "");
  rec.SetString(1, 7, "3.5");
  utl_ty_col* col = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 517, 4, 4, 0, 0, &col), 0);
  std::vector<dbs_ty_lobj*> objs(3);
  for (dbs_ty_lobj*& o : objs) {
    ASSERT_EQ(dbs_obj_make(nullptr, 4000, &o), 0);
    utl_col_insert(col, &o, nullptr);
  }
  // Rows fill the objects from position 1 on; each is left clean.
  ASSERT_EQ(rec.FillObjectCollection(col, s, 1, -1), 0);
  EXPECT_EQ(fields_of(objs[1], 8), (std::vector<std::string>{"42", "7", "1.500000", "2.250000", "text", "x",
                                                              "-53690/0", "0.0"}));
  EXPECT_EQ(field_text(objs[2], 4), "y");
  EXPECT_EQ(field_text(objs[2], 7), "3.5");
  for (dbs_ty_lobj* o : {objs[1], objs[2]}) {
    char dirty = 9;
    ASSERT_EQ(dbs_obj_check_dirty(o, &dirty), 0);
    EXPECT_EQ(dirty, 0);
  }
  // Maximum 1 stops after the first row: the second object keeps its row.
  ASSERT_EQ(rec.FillObjectCollection(col, s, 0, 1), 0);
  EXPECT_EQ(field_text(objs[0], 0), "42");
  EXPECT_EQ(field_text(objs[1], 0), "42");
  EXPECT_EQ(field_text(objs[1], 4), "text");
  // Another field type is refused.
  schema_fixture bad({{512, 0}, {597, 6}});
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(rec.FillObjectCollection(col, &bad.srec, 0, -1), ADP_BAD_VALUE_TYPE);
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_BAD_VALUE_TYPE}));
  // A field the store refuses (one the object's type does not have) fails
  // the fill at once with the store's code; the fields before it are set.
  schema_fixture wider({{512, 0}, {512, 0}, {512, 0}});
  KAdpUtlRecord three;
  for (long c = 0; c < 3; ++c) {
    three.SetColType(c, 0, nullptr, 0);
    three.SetLong(0, c, 100 + c);
  }
  model.add("narrow", 4001, {{512, 0}, {512, 0}});
  model.finish(4001);
  dbs_ty_lobj* narrow = nullptr;
  ASSERT_EQ(dbs_obj_make(nullptr, 4001, &narrow), 0);
  utl_ty_col* one = nullptr;
  ASSERT_EQ(utl_col_make(nullptr, 517, 1, 1, 0, 0, &one), 0);
  utl_col_insert(one, &narrow, nullptr);
  cmn_alrt_clear(nullptr);
  long st = three.FillObjectCollection(one, &wider.srec, 0, -1);
  EXPECT_NE(st, 0);
  ASSERT_FALSE(core_alert_codes().empty());
  EXPECT_EQ(core_alert_codes().back(), st);
  EXPECT_EQ(fields_of(narrow, 2), (std::vector<std::string>{"100", "101"}));
  dbs_obj_free_local("test", narrow);
  utl_col_free(nullptr, one);
  for (dbs_ty_lobj* o : objs) dbs_obj_free_local("test", o);
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
