// Growable arrays: growth rule, insertion and removal, copies, the string
// array's element handling and the class records.
#include <gtest/gtest.h>

#include <cstring>

#include "kc_testloc.h"
#include "kclassic/kc_array.h"

using namespace KCLASSIC;

namespace {

class Arrays : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

} // namespace

TEST_F(Arrays, GrowthRule) {
  KPtrArray a;
  EXPECT_EQ(a.GetData(), nullptr);
  a.SetSize(5);
  EXPECT_EQ(a.GetAllocSize(), 5); // exactly, the first time
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a[i], nullptr);
  a.SetSize(6);
  EXPECT_EQ(a.GetAllocSize(), 9); // + 4 below 8 elements
  a.SetSize(8);
  EXPECT_EQ(a.GetAllocSize(), 9);
  a.SetSize(10);
  EXPECT_EQ(a.GetAllocSize(), 1033); // + 1024 from 8 elements on
  a.SetSize(3); // shrinking keeps the block
  EXPECT_EQ(a.GetAllocSize(), 1033);
  a.SetSize(0);
  EXPECT_EQ(a.GetData(), nullptr);
  EXPECT_EQ(a.GetAllocSize(), 0);

  KUIntArray g;
  g.SetSize(4, 10);
  g.SetSize(5);
  EXPECT_EQ(g.GetAllocSize(), 14);
  g.SetSize(30);
  EXPECT_EQ(g.GetAllocSize(), 30);
  EXPECT_EQ(g.GetGrowBy(), 10);
}

TEST_F(Arrays, SetAtGrowInsertRemove) {
  KDWordArray a;
  a.SetAtGrow(10, 7);
  EXPECT_EQ(a.GetSize(), 11);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(a[i], 0u);
  EXPECT_EQ(a[10], 7u);

  KDWordArray b;
  b.Add(1);
  b.Add(2);
  b.InsertAt(3, 9, 2); // past the end
  ASSERT_EQ(b.GetSize(), 5);
  uint32_t want1[] = {1, 2, 0, 9, 9};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(b[i], want1[i]);
  b.InsertAt(1, 5); // inside: the tail moves up
  uint32_t want2[] = {1, 5, 2, 0, 9, 9};
  ASSERT_EQ(b.GetSize(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(b[i], want2[i]);
  b.RemoveAt(1, 2);
  uint32_t want3[] = {1, 0, 9, 9};
  ASSERT_EQ(b.GetSize(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(b[i], want3[i]);
  int cap = b.GetAllocSize();
  b.RemoveAt(0, b.GetSize());
  EXPECT_EQ(b.GetSize(), 0);
  EXPECT_EQ(b.GetAllocSize(), cap);
  b.FreeExtra();
  EXPECT_EQ(b.GetData(), nullptr);
  EXPECT_EQ(b.GetAllocSize(), 0);
  EXPECT_EQ(sizeof(b[0]), 4u); // 32-bit values

  KDWordArray c;
  c.Add(1);
  c.Add(2);
  KDWordArray d;
  d.Add(3);
  d.Add(4);
  d.Add(5);
  EXPECT_EQ(c.Append(d), 2);
  EXPECT_EQ(c.GetSize(), 5);
  EXPECT_EQ(c[4], 5u);
  c.InsertAt(1, &d);
  EXPECT_EQ(c.GetSize(), 8);
  EXPECT_EQ(c[1], 3u);
  EXPECT_EQ(c[3], 5u);
  EXPECT_EQ(c[4], 2u);
  c.Copy(d);
  EXPECT_EQ(c.GetSize(), 3);
  EXPECT_EQ(c[0], 3u);
}

TEST_F(Arrays, StringArrayOwnsItsStrings) {
  KStringArray a;
  a.SetAtGrow(2, "two");
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_TRUE(a[0].IsEmpty());
  EXPECT_STREQ(a[2], "two");
  a.InsertAt(1, "x", 2);
  ASSERT_EQ(a.GetSize(), 5);
  EXPECT_STREQ(a[1], "x");
  EXPECT_STREQ(a[2], "x");
  EXPECT_STREQ(a[4], "two");
  EXPECT_NE(static_cast<const char*>(a[1]), static_cast<const char*>(a[2])); // copies
  a.InsertEmpty(0, 1);
  EXPECT_TRUE(a[0].IsEmpty());
  EXPECT_EQ(a.GetSize(), 6);
  a.RemoveAt(1, 2); // "" "" x x "" two -> "" x "" two
  ASSERT_EQ(a.GetSize(), 4);
  EXPECT_STREQ(a[1], "x");
  EXPECT_STREQ(a[3], "two");
  // An element of the array itself as the value while it grows.
  for (int i = 0; i < 20; ++i) a.Add(a[3]);
  EXPECT_STREQ(a[a.GetUpperBound()], "two");
  KStringArray b;
  b.Copy(a);
  EXPECT_EQ(b.GetSize(), a.GetSize());
  b.Append(b);
  EXPECT_EQ(b.GetSize(), 2 * a.GetSize());
  b.FreeExtra();
  EXPECT_EQ(b.GetAllocSize(), b.GetSize());
  EXPECT_STREQ(b[b.GetUpperBound()], "two");
}

TEST_F(Arrays, ClassRecords) {
  KPtrArray p;
  KStringArray s;
  EXPECT_STREQ(p.GetRuntimeClass()->m_lpszClassName, "KPtrArray");
  EXPECT_EQ(p.GetRuntimeClass()->m_wSchema, 0xFFFFu);
  EXPECT_FALSE(p.IsSerializable());
  EXPECT_TRUE(s.IsSerializable());
  EXPECT_TRUE(s.IsKindOf(KRUNTIME_CLASS(KObject)));
  EXPECT_FALSE(s.IsKindOf(KRUNTIME_CLASS(KPtrArray)));
  KObject* made = KRUNTIME_CLASS(KDWordArray)->CreateObject();
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf(KRUNTIME_CLASS(KDWordArray)));
  delete made;
  testing::internal::CaptureStdout();
  EXPECT_EQ(KRUNTIME_CLASS(KUIntArray)->CreateObject(), nullptr);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("KUIntArray"), std::string::npos);
  EXPECT_EQ(KRUNTIME_CLASS(KStringArray)->m_nObjectSize, sizeof(KStringArray));
  EXPECT_EQ(KRUNTIME_CLASS(KStringArray)->m_pBaseClass, KRUNTIME_CLASS(KObject));
}
