// KAdpUtlRecord: the non-throwing layer, typed reads and binary values as
// hexadecimal text.
#include <gtest/gtest.h>

#include <string>

#include "adapter/adp_fixture.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_rec.h"
#include "kclassic/kc_bstr.h"

namespace {

class AdpRecord : public adp_test {};

TEST_F(AdpRecord, HexadecimalTextOfByteStrings) {
  const struct {
    std::string bytes;
    const char* hex;
  } rows[] = {{std::string("\x01\xAB", 2), "0x01AB"}, {"", "0x"}, {std::string("\x00\xFF\x10", 3), "0x00FF10"}};
  for (const auto& r : rows) {
    char* b = KCLASSIC::KBinSysAllocStringByteLen(r.bytes.data(), static_cast<unsigned>(r.bytes.size()));
    KCLASSIC::KZString hex;
    convert_BStr_to_hex(b, hex);
    EXPECT_STREQ(hex, r.hex);
    char* back = nullptr;
    convert_hex_to_BStr(KCLASSIC::KZString(r.hex + 2), back);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::string(back, KCLASSIC::KBinSysStringByteLen(back)), r.bytes);
    KCLASSIC::KBinSysFreeString(back);
    KCLASSIC::KBinSysFreeString(b);
  }
  char* odd = nullptr;
  convert_hex_to_BStr(KCLASSIC::KZString("01A"), odd);  // the odd digit is dropped
  EXPECT_EQ(KCLASSIC::KBinSysStringByteLen(odd), 1u);
  EXPECT_EQ(odd[0], 1);
  KCLASSIC::KBinSysFreeString(odd);
  EXPECT_STREQ(get_hex_value(static_cast<char>(0xAB)), "AB");
  char byte = 0;
  set_byte_from_hex(byte, "7F");
  EXPECT_EQ(byte, 0x7F);
}

TEST_F(AdpRecord, TypedReadsAndEmptyCells) {
  KAdpUtlRecord rec;
  ASSERT_EQ(rec.SetColType(0, 0, "n", 0), 0);
  ASSERT_EQ(rec.SetColType(1, 0, "s", 7), 0);
  ASSERT_EQ(rec.SetColType(2, 0, "b", 7), 0);
  EXPECT_EQ(rec.SetLong(0, 0, 42), 0);
  EXPECT_EQ(rec.SetString(0, 1, ""), 0);
  EXPECT_EQ(rec.SetString(0, 2, "01AB"), 0);
  long rows = 0, cols = 0, type = -1;
  rec.GetCount(rows);
  rec.GetColCount(cols);
  rec.GetSqlDataType(1, type);
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(cols, 3);
  EXPECT_EQ(type, 7);
  long n = 0;
  EXPECT_EQ(rec.GetDataValue(0, 0, n), 0);
  EXPECT_EQ(n, 42);
  const char* text = nullptr;
  char null = 0;
  EXPECT_EQ(rec.GetDataValue(0, 1, &text, &null), 0);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(null, 1);
  char buffer[16] = "junk";
  EXPECT_EQ(rec.GetDataValue(0, 2, buffer, &null), 0);
  EXPECT_STREQ(buffer, "01AB");
  EXPECT_EQ(null, 0);
  char* bytes = nullptr;
  EXPECT_EQ(rec.GetDataValue(0, 2, 0, &bytes), 0);
  EXPECT_EQ(KCLASSIC::KBinSysStringByteLen(bytes), 2u);
  KCLASSIC::KBinSysFreeString(bytes);
  EXPECT_EQ(rec.Purge(), 0);
  rec.GetCount(rows);
  EXPECT_EQ(rows, 0);
  rec.GetColCount(cols);
  EXPECT_EQ(cols, 3);
}

TEST_F(AdpRecord, DispatchByRecordSqlType) {
  KAdpUtlRecord rec;
  rec.SetColType(0, 0, "n", 0);
  rec.SetColType(1, 0, "d", 7);
  rec.SetColType(2, 0, "e", 7);
  rec.SetLong(0, 0, -9);
  rec.SetString(0, 1, "12.50");
  rec.SetString(0, 2, "");
  long n = 0;
  EXPECT_EQ(rec.GetDataValue(0, 0, 512, 0, &n, nullptr), 0);
  EXPECT_EQ(n, -9);
  cmn_ty_decimal dec{};
  char null = 0;
  EXPECT_EQ(rec.GetDataValue(0, 1, 766, 6, &dec, &null), 0);
  EXPECT_STREQ(dec.text, "12.50");
  EXPECT_EQ(dec.precision, 4);  // the digits read, so a scale-honouring reader keeps ".50"
  EXPECT_EQ(dec.scale, 2);
  EXPECT_EQ(null, 0);
  EXPECT_EQ(rec.GetDataValue(0, 2, 766, 8, &dec, &null), 0);
  EXPECT_STREQ(dec.text, "0.0");
  EXPECT_EQ(dec.precision, 2);
  EXPECT_EQ(dec.scale, 1);
  EXPECT_EQ(null, 1);
  const char* text = nullptr;
  EXPECT_EQ(rec.GetDataValue(0, 1, 1, 6, &text, nullptr), 0);
  EXPECT_STREQ(text, "12.50");
  char buffer[16] = "";
  EXPECT_EQ(rec.GetDataValue(0, 1, 516, 6, buffer, nullptr), 0);
  EXPECT_STREQ(buffer, "12.50");
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(rec.GetDataValue(0, 1, 516, 9, buffer, nullptr), ADP_REC_BAD_SQL_TYPE);
  EXPECT_TRUE(core_alert_codes().empty());
  // A decimal text longer than the digits fails; nothing is cut or overrun.
  rec.SetString(0, 1, std::string(47, '9').c_str());
  EXPECT_EQ(rec.GetDataValue(0, 1, dec, nullptr), 0);
  EXPECT_EQ(std::string(dec.text), std::string(47, '9'));
  rec.SetString(0, 1, std::string(48, '9').c_str());
  EXPECT_EQ(rec.GetDataValue(0, 1, dec, nullptr), ADP_REC_NO_FIT);
}

TEST_F(AdpRecord, BaseFailuresBecomeAlertCodes) {
  KAdpUtlRecord rec;
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(rec.SetColType(0, 0, "bad", 5), ADP_DB_ERROR);  // "Illegal Type"
  EXPECT_EQ(rec.SetColType(0, 0, "bad", 17), ADP_DB_ERROR);
  EXPECT_EQ(rec.SetLong(0, 3, 1), ADP_DB_ERROR);  // no such column
  EXPECT_EQ(core_alert_codes(), (std::vector<long>{ADP_DB_ERROR, ADP_DB_ERROR, ADP_DB_ERROR}));
  int target = 0;
  ASSERT_EQ(rec.SetColType(0, 0, "s", 7), 0);
  ASSERT_EQ(rec.SetColType(1, 0, "p", 15), 0);
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(rec.SetVoidPtr(0, 0, &target), ADP_DB_ERROR);  // a text column takes no raw pointer
  EXPECT_EQ(rec.SetVoidPtr(0, 1, &target), 0);
  EXPECT_EQ(core_alert_codes(), std::vector<long>{ADP_DB_ERROR});
  const char* text = "x";
  EXPECT_EQ(rec.GetStringPtr(0, 0, text), 0);  // not set
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(KAdpUtlRecord::GetBool(1), 1);
  EXPECT_EQ(KAdpUtlRecord::GetBool(2), 0);
}

}  // namespace
