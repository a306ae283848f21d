// The upper-case copy in double-byte mode: a double-byte character is copied
// unchanged (its trail byte may look like a lower-case letter), and the
// process locale is never switched.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>
#include <string>

#include "adapter/adp_batch.h"
#include "core/loc/loc_st.h"
#include "kclassic/kc_testloc.h"

namespace {

class kc_locales_env : public ::testing::Environment {
 public:
  void SetUp() override { kctest::startLocales(); }
};
const ::testing::Environment* const kc_env = ::testing::AddGlobalTestEnvironment(new kc_locales_env);

TEST(AdpStrConv, DoubleByteCharactersAreCopiedUnchanged) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  kctest::ThreadLocale dbl(kctest::kDouble);
  const std::string text = "ab" + kctest::bytes({0x82, 0x61}) + "c";
  struct {
    long mode;
    std::string want;
  } cases[] = {
      {1, "AB" + kctest::bytes({0x82, 0x61}) + "C"},
      {0, "AB" + kctest::bytes({0x82, 0x41}) + "C"},  // byte by byte
  };
  for (const auto& c : cases) {
    double_byte_enable = c.mode;
    char* p = const_cast<char*>(text.c_str());
    ASSERT_EQ(adp_qry_str_conv(&p), 0);
    EXPECT_EQ(std::string(p), c.want) << c.mode;
  }
  double_byte_enable = 0;
  EXPECT_EQ(before, std::setlocale(LC_ALL, nullptr));
}

}  // namespace
