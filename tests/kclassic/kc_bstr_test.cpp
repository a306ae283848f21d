// Length-prefixed byte strings: allocation, lengths, reallocation.
#include <gtest/gtest.h>

#include <cstring>

#include "kclassic/kc_bstr.h"

using namespace KCLASSIC;

TEST(BinSysString, AllocatesCopiesWithLengthAndNul) {
  char* p = KBinSysAllocString("abc");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(KBinSysStringByteLen(p), 3u);
  EXPECT_EQ(KBinSysStringLen(p), 3u);
  EXPECT_STREQ(p, "abc");
  KBinSysFreeString(p);
}

TEST(BinSysString, EmptyAndNullTextGiveNullOfLengthZero) {
  EXPECT_EQ(KBinSysAllocString(""), nullptr);
  EXPECT_EQ(KBinSysAllocString(nullptr), nullptr);
  EXPECT_EQ(KBinSysStringByteLen(nullptr), 0u);
  EXPECT_EQ(KBinSysStringLen(nullptr), 0u);
  KBinSysFreeString(nullptr); // ignored
}

TEST(BinSysString, ByteLenZeroFillsAndKeepsEmbeddedNuls) {
  char* z = KBinSysAllocStringByteLen(nullptr, 5);
  ASSERT_NE(z, nullptr);
  EXPECT_EQ(KBinSysStringByteLen(z), 5u);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(z[i], 0) << i;
  KBinSysFreeString(z);

  const char src[] = {'a', 0, 'b', 'c'}; // not NUL-terminated after 3 bytes
  char* p = KBinSysAllocStringLen(src, 3);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(KBinSysStringLen(p), 3u);
  EXPECT_EQ(std::memcmp(p, src, 3), 0);
  EXPECT_EQ(p[3], 0);
  KBinSysFreeString(p);
}

TEST(BinSysString, ReallocationReplacesOrLeavesAlone) {
  char* p = KBinSysAllocString("old");
  char* before = p;
  EXPECT_EQ(KSysReAllocString(&p, nullptr), 0);
  EXPECT_EQ(p, before);
  EXPECT_EQ(KSysReAllocString(&p, "newer"), 1);
  EXPECT_STREQ(p, "newer");
  EXPECT_EQ(KBinSysStringByteLen(p), 5u);
  EXPECT_EQ(KSysReAllocString(&p, ""), 0); // the empty text is NULL
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(KBinSysReAllocStringLen(&p, "xyz", 2), 1);
  EXPECT_EQ(KBinSysStringByteLen(p), 2u);
  EXPECT_STREQ(p, "xy");
  EXPECT_EQ(KBinSysReAllocStringLen(&p, nullptr, 4), 0);
  EXPECT_STREQ(p, "xy");
  KBinSysFreeString(p);
}
