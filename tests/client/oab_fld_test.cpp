// Coded fields read as words: activity codes, condition codes, location
// types, through the conversions and the registry's methods.
#include <cstring>
#include <string>

#include "client/client_fixture.h"
#include "client/oab/oab_fld.h"
#include "client/oab/oab_msg.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_meth.h"
#include "core/cmn/cmn_typ.h"

namespace {

using get_proc = long (*)(void*, long*, long, void*, long*);
using set_proc = long (*)(void*, long*, void*);
using convert_proc = long (*)(long, long, void*, long, void*, long, long*);

constexpr long kGet = 0;
constexpr long kSet = 1;
constexpr long kConvert = 5;

class oab_fld_test : public client_test {
 protected:
  void SetUp() override {
    client_test::SetUp();
    ASSERT_EQ(oab_fld_init(), 0);
  }
  static cmn_ty_method_proc method(long type, long which) {
    cmn_ty_method_proc out[8] = {};
    EXPECT_EQ(cmn_typ_access_methods(type, out), 0);
    EXPECT_NE(out[which], nullptr) << type << " " << which;
    return out[which];
  }
  static long top_code() {
    long code = 0;
    const char* text = nullptr;
    cmn_alrt_top(nullptr, &code, &text);
    return code;
  }
  // The text the type's get method gives for a code, with the buffer size.
  static std::string get_text(long type, long code, long size, long* allocated, long* status) {
    char buf[128] = "unchanged";
    void* slot = buf;
    long spec[CMN_SPEC_WORDS] = {0, type, 0, CMN_TYP_CHAR_P, 0, 0};
    *status = cmn_typ_proc_as<get_proc>(method(type, kGet))(&code, spec, size, &slot, allocated);
    std::string out = static_cast<char*>(slot);
    if (*allocated == 1) cmn_typ_dealloc("t", slot);
    return out;
  }
};

TEST_F(oab_fld_test, ActivityCodesBothWays) {
  const struct {
    long code;
    const char* name;
  } rows[] = {{200, "Case Close"}, {0, "Null"}, {9500, "Upgrade"}, {20300, "Roamer Conflict"}, {13800, "Contract Closed"}};
  for (const auto& r : rows) {
    const char* text = nullptr;
    ASSERT_EQ(oab_fld_actcode_to_str(r.code, &text), 0) << r.code;
    EXPECT_STREQ(text, r.name);
    long code = -5;
    ASSERT_EQ(oab_fld_str_to_actcode(r.name, &code), 0);
    if (r.code != 13800) {
      EXPECT_EQ(code, r.code);  // 13800 and 13500 share a name: the first row wins
    }
  }
  long code = -5;
  EXPECT_EQ(oab_fld_str_to_actcode("case close", &code), OAB_ACT_NAME);
  EXPECT_EQ(core_top_alert_text(), "Unknown activity code name case close.\n");
  cmn_alrt_clear(nullptr);
  const char* text = "x";
  EXPECT_EQ(oab_fld_actcode_to_str(150, &text), OAB_ACT_UNKNOWN);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(core_top_alert_text(), "Unrecognized activity code 150.\n");
  cmn_alrt_clear(nullptr);
}

TEST_F(oab_fld_test, TheGetMethodMakesABufferWhenTheCallersIsShort) {
  const struct {
    long size;
    long allocated;
  } rows[] = {{10, 1}, {63, 1}, {64, 0}, {128, 0}};
  for (const auto& r : rows) {
    long allocated = -1;
    long status = -1;
    EXPECT_EQ(get_text(OAB_FLD_ACTCODE, 200, r.size, &allocated, &status), "Case Close");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(allocated, r.allocated) << r.size;
  }
  long allocated = -1;
  long status = -1;
  EXPECT_EQ(get_text(OAB_FLD_CONDCODE, 256 | 1, 10, &allocated, &status), "NewTemporarily Opened");
  EXPECT_EQ(allocated, 1);
  long code = 200;
  long value = 0;
  long* slot = &value;
  long spec[CMN_SPEC_WORDS] = {0, OAB_FLD_ACTCODE, 0, CMN_TYP_FLOAT, 0, 0};
  EXPECT_EQ(cmn_typ_proc_as<get_proc>(method(OAB_FLD_ACTCODE, kGet))(&code, spec, 8, &slot, &allocated),
            OAB_ACT_TO);
  cmn_alrt_clear(nullptr);
}

TEST_F(oab_fld_test, TheSetMethodStoresTheCodeOrMinusOne) {
  auto set = cmn_typ_proc_as<set_proc>(method(OAB_FLD_ACTCODE, kSet));
  const struct {
    long source_type;
    const char* text;
    long number;
    long status;
    long stored;
  } rows[] = {{CMN_TYP_CHAR_P, "Case Close", 0, 0, 200},
              {CMN_TYP_LONG, nullptr, 4500, 0, 4500},
              {CMN_TYP_CHAR_P, "CASE CLOSE", 0, OAB_ACT_NAME, -1},
              {CMN_TYP_FLOAT, nullptr, 0, OAB_ACT_FROM, -1}};
  for (const auto& r : rows) {
    long stored = 77;
    long spec[CMN_SPEC_WORDS] = {0, OAB_FLD_ACTCODE, 0, r.source_type, 0, 0};
    const char* text = r.text;
    long number = r.number;
    void* value = r.text != nullptr ? static_cast<void*>(&text) : static_cast<void*>(&number);
    EXPECT_EQ(set(&stored, spec, value), r.status) << r.source_type;
    EXPECT_EQ(stored, r.stored);
    if (r.status != 0) {
      EXPECT_EQ(top_code(), r.status);
    }
    cmn_alrt_clear(nullptr);
  }
}

TEST_F(oab_fld_test, ConditionCodesBothWays) {
  const struct {
    long code;
    const char* text;
  } rows[] = {{2, "Open"}, {1 | 4, "NewClosed"}, {512, "Returned"}, {0, ""}, {128 | 32, "ForwardedNo Link"}};
  for (const auto& r : rows) {
    std::string text;
    ASSERT_EQ(oab_fld_condcode_to_str(r.code, &text), 0) << r.code;
    EXPECT_EQ(text, r.text);
  }
  for (const char* name : {"New", "Open", "Closed", "Dispatched", "Rejected", "Forwarded", "No Link",
                           "Temporarily Opened", "Returned"}) {
    long code = 0;
    ASSERT_EQ(oab_fld_str_to_condcode(name, &code), 0) << name;
    std::string back;
    ASSERT_EQ(oab_fld_condcode_to_str(code, &back), 0);
    EXPECT_EQ(back, name);
  }
  std::string text;
  EXPECT_EQ(oab_fld_condcode_to_str(64 | 1, &text), OAB_COND_NUM);
  EXPECT_EQ(core_top_alert_text(), "Unknown condition code number 65.\n");
  long code = 0;
  EXPECT_EQ(oab_fld_str_to_condcode("open", &code), OAB_COND_NAME);
  cmn_alrt_clear(nullptr);
}

TEST_F(oab_fld_test, LocationTypesConvert) {
  auto convert = cmn_typ_proc_as<convert_proc>(method(OAB_FLD_LOC_TYPE, kConvert));
  const struct {
    long value;
    const char* name;
  } to_text[] = {{0, "UNKN"}, {3, "RSEL"}, {4, "INDV"}, {7, "UNKN"}, {-1, "UNKN"}};
  for (const auto& r : to_text) {
    char buf[64] = "";
    void* slot = buf;
    long allocated = -1;
    long value = r.value;
    ASSERT_EQ(convert(OAB_FLD_LOC_TYPE, CMN_TYP_LONG, &value, CMN_TYP_CHAR_P, &slot, sizeof buf, &allocated), 0);
    EXPECT_STREQ(static_cast<char*>(slot), r.name) << r.value;
  }
  const struct {
    const char* name;
    long value;
  } to_long[] = {{"RSEL", 3}, {"CUST", 1}, {"rsel", 0}, {"nowhere", 0}};
  for (const auto& r : to_long) {
    long out = -9;
    void* slot = &out;
    long allocated = -1;
    const char* text = r.name;
    ASSERT_EQ(convert(OAB_FLD_LOC_TYPE, CMN_TYP_CHAR_P, &text, CMN_TYP_LONG, &slot, sizeof out, &allocated), 0);
    EXPECT_EQ(out, r.value) << r.name;
  }
}

TEST_F(oab_fld_test, TheCodeConvertRefusesOtherPairs) {
  auto convert = cmn_typ_proc_as<convert_proc>(method(OAB_FLD_ACTCODE, kConvert));
  long out = 0;
  void* slot = &out;
  long allocated = 0;
  const char* text = "Dispatch";
  ASSERT_EQ(convert(OAB_FLD_ACTCODE, CMN_TYP_CHAR_P, &text, CMN_TYP_LONG, &slot, 2, &allocated), 0);
  EXPECT_EQ(allocated, 1);  // a short buffer is replaced
  EXPECT_EQ(*static_cast<long*>(slot), 900);
  cmn_typ_dealloc("t", slot);
  double d = 0;
  EXPECT_EQ(convert(OAB_FLD_ACTCODE, CMN_TYP_DOUBLE, &d, CMN_TYP_LONG, &slot, 8, &allocated), OAB_NO_CONVERT);
  EXPECT_EQ(core_top_alert_text(),
            "Cannot convert from source type 613 to destination type 512 for conversion type 619.\n");
  cmn_alrt_clear(nullptr);
}

}  // namespace
