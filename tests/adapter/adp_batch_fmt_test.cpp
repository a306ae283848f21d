// The batch's direct formatter for its common formats: the same text as the
// class library's formatter, and a refusal (so the caller formats as before)
// for anything it does not write itself.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "adapter/adp_batch.h"
#include "kclassic/kc_zstr.h"

namespace {

struct plain_result {
  bool done;
  std::string text;
};

plain_result plain(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  plain_result r{};
  r.done = adp_batch_plain_format(r.text, format, ap);
  va_end(ap);
  return r;
}

std::string library(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  KCLASSIC::KZString s;
  s.FormatV(format, ap);
  va_end(ap);
  return static_cast<const char*>(s);
}

TEST(AdpBatchFormat, CommonFormatsReadAsTheLibraryWritesThem) {
  const char* table = "table_case";
  const char* column = "objid";
  const long number = -9223372036854775807L;
  const int small = 42;
  struct {
    plain_result got;
    std::string want;
  } cases[] = {
      {plain("insert into %s (", table), library("insert into %s (", table)},
      {plain("%s = NULL WHERE %s = %ld\n", column, column, number),
       library("%s = NULL WHERE %s = %ld\n", column, column, number)},
      {plain(", %ld, %ld", 0L, 2147483648L), library(", %ld, %ld", 0L, 2147483648L)},
      {plain("%d%% of %s", small, ""), library("%d%% of %s", small, "")},
      {plain("no conversion at all"), library("no conversion at all")},
      {plain(""), library("")},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.got.done) << c.want;
    EXPECT_EQ(c.got.text, c.want);
  }
}

TEST(AdpBatchFormat, OtherFormatsAreLeftToTheLibrary) {
  const char* nothing = nullptr;
  EXPECT_FALSE(plain("%5s", "a").done);
  EXPECT_FALSE(plain("%-s", "a").done);
  EXPECT_FALSE(plain("%x", 10).done);
  EXPECT_FALSE(plain("%f", 1.5).done);
  EXPECT_FALSE(plain("%lu", 1UL).done);
  EXPECT_FALSE(plain("%l%").done);
  EXPECT_FALSE(plain("ends in %").done);
  EXPECT_FALSE(plain("a NULL text %s", nothing).done);
}

}  // namespace
