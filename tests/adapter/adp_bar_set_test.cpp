// Binary-array sets in memory: both forms made, added to and read back,
// stored words converted from big-endian (sign-extended) or numbers copied,
// a set of the other form refused, the printed dump, and freeing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_bar.h"
#include "core/core_fixture.h"
#include "core/osl/osl_file.h"
#include "core/utl/utl_col.h"

namespace {

class AdpBarSet : public ::testing::Test {
 protected:
  void SetUp() override { core_start_utl(); }
  void TearDown() override {
    for (auto& [set, form] : sets_) EXPECT_EQ(adp_bar_free_array(nullptr, set, form), 0);
  }
  utl_ty_col* make(long options) {
    utl_ty_col* set = nullptr;
    EXPECT_EQ(adp_bar_make_set(options, &set), 0);
    sets_.emplace_back(set, options & ADP_BAR_OPT_FLAT ? ADP_BAR_FORM_FLAT : ADP_BAR_FORM_NESTED);
    return set;
  }
  static std::vector<long> numbers_at(utl_ty_col* set, long form, long i, obj_id* id) {
    long count = -1;
    const long* numbers = nullptr;
    EXPECT_EQ(adp_bar_array_at(set, form, i, id, &count, &numbers), 0);
    return numbers == nullptr ? std::vector<long>{} : std::vector<long>(numbers, numbers + count);
  }
  // What the dump prints.
  static std::string dump(utl_ty_col* set, long form, long indent) {
    char* text = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&text, &size);
    EXPECT_EQ(adp_bar_dump_array(f, indent, set, form), 0);
    std::fclose(f);
    std::string out(text, size);
    std::free(text);
    return out;
  }

  std::vector<std::pair<utl_ty_col*, long>> sets_;
};

TEST_F(AdpBarSet, BothFormsKeepEveryArrayWithItsObject) {
  const std::vector<long> first{1, -2, 0x7FFFFFFF, -2147483647L - 1};
  const std::vector<long> second(200, 9);
  for (long options : {ADP_BAR_OPT_FLAT, 0L}) {
    SCOPED_TRACE(options);
    const long form = options == ADP_BAR_OPT_FLAT ? ADP_BAR_FORM_FLAT : ADP_BAR_FORM_NESTED;
    utl_ty_col* set = make(options);
    const obj_id a{10, 7, 1}, b{10, 8, 2}, c{10, 9, 3};
    ASSERT_EQ(adp_bar_add_to_array(set, &a, 4, first.data(), options), 0);
    ASSERT_EQ(adp_bar_add_to_array(set, &b, 200, second.data(), options), 0);
    ASSERT_EQ(adp_bar_add_to_array(set, &c, 0, nullptr, options), 0);
    long n = 0;
    ASSERT_EQ(utl_col_num(set, &n), 0);
    ASSERT_EQ(n, 3);
    obj_id id{};
    EXPECT_EQ(numbers_at(set, form, 0, &id), first);
    EXPECT_EQ((std::vector<long>{id.type, id.num, id.sub}), (std::vector<long>{10, 7, 1}));
    EXPECT_EQ(numbers_at(set, form, 1, &id), second);
    EXPECT_EQ(id.num, 8);
    EXPECT_TRUE(numbers_at(set, form, 2, &id).empty());
    EXPECT_EQ(id.sub, 3);
  }
}

TEST_F(AdpBarSet, StoredWordsAreReadBigEndianAndSignExtended) {
  const unsigned char words[] = {0x00, 0x00, 0x01, 0x02, 0xFF, 0xFF, 0xFF, 0xFE, 0x80, 0x00, 0x00, 0x00,
                                 0x12, 0x34, 0x56, 0x78};
  for (long options : {ADP_BAR_OPT_FLAT, 0L}) {
    SCOPED_TRACE(options);
    utl_ty_col* set = make(options);
    const obj_id a{10, 7, 0};
    ASSERT_EQ(adp_bar_add_to_array(set, &a, 4, words, options | ADP_BAR_OPT_BIG_ENDIAN), 0);
    obj_id id{};
    EXPECT_EQ(numbers_at(set, options ? ADP_BAR_FORM_FLAT : ADP_BAR_FORM_NESTED, 0, &id),
              (std::vector<long>{0x102, -2, -2147483647L - 1, 0x12345678}));
  }
}

// Numbers given as longs must fit the 32-bit word they are stored in: one
// outside is refused with its message and the set is left as it was;
// stored words always fit.
TEST_F(AdpBarSet, ANumberOutsideThirtyTwoBitsIsNotAdded) {
  char* text = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&text, &size);
  osl_file_set_stdout(out);
  const long wide[] = {2147483648L, -2147483649L, 0x7FFFFFFFFFFFFFFFL};
  for (long options : {ADP_BAR_OPT_FLAT, 0L}) {
    utl_ty_col* set = make(options);
    const obj_id a{10, 7, 0};
    for (long bad : wide) {
      SCOPED_TRACE(std::to_string(bad) + " options " + std::to_string(options));
      const long numbers[] = {1, bad, 3};
      EXPECT_EQ(adp_bar_add_to_array(set, &a, 3, numbers, options), ADP_BAR_OUT_OF_RANGE);
      long n = -1;
      ASSERT_EQ(utl_col_num(set, &n), 0);
      EXPECT_EQ(n, 0);
    }
    const unsigned char words[] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(adp_bar_add_to_array(set, &a, 1, words, options | ADP_BAR_OPT_BIG_ENDIAN), 0);
  }
  osl_file_set_stdout(nullptr);
  std::fclose(out);
  std::string expected;
  for (int form = 0; form < 2; ++form) {
    for (long bad : wide) {
      expected += "adp_bar_add_to_array: Binary array number " + std::to_string(bad) + " does not fit in 32 bits\n";
    }
  }
  EXPECT_EQ(std::string(text, size), expected);
  std::free(text);
}

TEST_F(AdpBarSet, ASetOfTheOtherFormIsRefused) {
  utl_ty_col* flat = make(ADP_BAR_OPT_FLAT);
  utl_ty_col* nested = make(0);
  const obj_id a{10, 7, 0};
  const long one = 1;
  EXPECT_NE(adp_bar_add_to_array(flat, &a, 1, &one, 0), 0);
  EXPECT_NE(adp_bar_add_to_array(nested, &a, 1, &one, ADP_BAR_OPT_FLAT), 0);
  obj_id id{};
  long count = 0;
  const long* numbers = nullptr;
  EXPECT_NE(adp_bar_array_at(flat, ADP_BAR_FORM_NESTED, 0, &id, &count, &numbers), 0);
  EXPECT_NE(adp_bar_free_array(nullptr, nested, ADP_BAR_FORM_FLAT), 0);
  EXPECT_EQ(dump(nested, ADP_BAR_FORM_FLAT, 0), "adp_bar_dump_array: invalid array collection 1\n");
  EXPECT_EQ(dump(flat, 3, 0), "adp_bar_dump_array: invalid array collection 3\n");
}

TEST_F(AdpBarSet, TheDumpPrintsEachArrayIndentedEightNumbersALine) {
  std::vector<long> nine;
  for (long i = 1; i <= 9; ++i) nine.push_back(i * 0x11);
  nine[8] = -1;
  const obj_id a{10, 7, 0}, b{10, 8, 0};
  const std::string numbers = "\n    00000011, 00000022, 00000033, 00000044, 00000055, 00000066, 00000077, "
                              "00000088, \n    ffffffff, \n";
  utl_ty_col* flat = make(ADP_BAR_OPT_FLAT);
  ASSERT_EQ(adp_bar_add_to_array(flat, &a, 9, nine.data(), ADP_BAR_OPT_FLAT), 0);
  ASSERT_EQ(adp_bar_add_to_array(flat, &b, 0, nullptr, ADP_BAR_OPT_FLAT), 0);
  EXPECT_EQ(dump(flat, ADP_BAR_FORM_FLAT, 2),
            "  ARRAY #0) obj_id=7, array_count=9, data:" + numbers + "  ARRAY #1) obj_id=8, array_count=0, data:\n");
  utl_ty_col* nested = make(0);
  ASSERT_EQ(adp_bar_add_to_array(nested, &a, 9, nine.data(), 0), 0);
  EXPECT_EQ(dump(nested, ADP_BAR_FORM_NESTED, 2), "  ARRAY COLLECTION #0) obj_id=7, data:" + numbers);
}

}  // namespace
