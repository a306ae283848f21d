// String lists and the list template: insertion, removal, search, block
// reuse and release; the by-name map.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kc_testloc.h"
#include "kclassic/kc_list.h"
#include "kclassic/kc_mapnc.h"

using namespace KCLASSIC;

namespace {

class Lists : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

std::vector<std::string> forward(const KStringList& l) {
  std::vector<std::string> out;
  for (KPOSITION p = l.GetHeadPosition(); p;) out.push_back(static_cast<const char*>(l.GetNext(p)));
  return out;
}

std::vector<std::string> backward(const KStringList& l) {
  std::vector<std::string> out;
  for (KPOSITION p = l.GetTailPosition(); p;) out.insert(out.begin(), static_cast<const char*>(l.GetPrev(p)));
  return out;
}

using V = std::vector<std::string>;

} // namespace

TEST_F(Lists, AddAndFind) {
  KStringList l;
  l.AddHead("b");
  l.AddHead(KZString("a"));
  KPOSITION c = l.AddTail("c");
  EXPECT_EQ(forward(l), (V{"a", "b", "c"}));
  EXPECT_EQ(backward(l), forward(l));
  EXPECT_EQ(l.GetCount(), 3);
  EXPECT_EQ(l.FindIndex(2), c);
  EXPECT_EQ(l.FindIndex(3), nullptr);
  EXPECT_EQ(l.FindIndex(-1), nullptr);
  KPOSITION b = l.Find("b");
  ASSERT_NE(b, nullptr);
  EXPECT_STREQ(l.GetAt(b), "b");
  EXPECT_EQ(l.Find("b", b), nullptr); // looks only after b
  EXPECT_EQ(l.Find("B"), nullptr);   // exact
  EXPECT_EQ(l.Find("c", b), c);
}

TEST_F(Lists, InsertAndRemove) {
  KStringList l;
  KPOSITION m = l.AddTail("m");
  l.InsertBefore(m, "k");
  l.InsertAfter(m, "n");
  l.InsertBefore(nullptr, "first");
  l.InsertAfter(nullptr, "last");
  EXPECT_EQ(forward(l), (V{"first", "k", "m", "n", "last"}));
  EXPECT_STREQ(l.RemoveHead(), "first");
  EXPECT_STREQ(l.RemoveTail(), "last");
  l.RemoveAt(m);
  EXPECT_EQ(forward(l), (V{"k", "n"}));
  EXPECT_EQ(backward(l), (V{"k", "n"}));
  l.RemoveAt(l.GetHeadPosition());
  l.RemoveAt(l.GetTailPosition());
  EXPECT_EQ(l.GetCount(), 0);
  EXPECT_EQ(l.GetHeadPosition(), nullptr);
  EXPECT_EQ(l.GetTailPosition(), nullptr);
}

TEST_F(Lists, OtherListsAtHeadAndTail) {
  KStringList xy, z;
  xy.AddTail("x");
  xy.AddTail("y");
  z.AddTail("z");
  z.AddHead(&xy);
  EXPECT_EQ(forward(z), (V{"x", "y", "z"}));
  z.AddTail(&xy);
  EXPECT_EQ(forward(z), (V{"x", "y", "z", "x", "y"}));
  // A list added to itself copies what it held.
  xy.AddTail(&xy);
  EXPECT_EQ(forward(xy), (V{"x", "y", "x", "y"}));
  xy.AddHead(&xy);
  EXPECT_EQ(forward(xy), (V{"x", "y", "x", "y", "x", "y", "x", "y"}));
}

TEST_F(Lists, BlocksAreReusedAndReleased) {
  KStringList l(2);
  KPOSITION a = l.AddTail("a");
  KPOSITION b = l.AddTail("b");
  EXPECT_TRUE(l.HasBlocks());
  l.RemoveAt(a);
  KPOSITION c = l.AddTail("c"); // the freed node comes back
  EXPECT_EQ(c, a);
  l.RemoveAt(b);
  l.RemoveAt(c);
  EXPECT_FALSE(l.HasBlocks()); // the last node took the blocks with it
  l.AddTail("again");
  EXPECT_TRUE(l.HasBlocks());
  for (int i = 0; i < 25; ++i) l.AddTail(KZString('x', i));
  EXPECT_EQ(l.GetCount(), 26);
  EXPECT_EQ(l.GetAt(l.FindIndex(25)).GetLength(), 24);
  l.RemoveAll();
  EXPECT_FALSE(l.HasBlocks());
  EXPECT_EQ(l.GetCount(), 0);
}

TEST_F(Lists, PointerListTemplate) {
  struct Ctx {
    int id;
  } a{1}, b{2}, c{3};
  KList<Ctx*, Ctx*> q(10);
  KPOSITION pa = q.AddTail(&a);
  q.AddTail(&b);
  KPOSITION pc = q.AddTail(&c);
  EXPECT_EQ(q.GetCount(), 3);
  EXPECT_EQ(q.GetHead()->id, 1);
  q.RemoveAt(pa);
  EXPECT_EQ(q.GetHead()->id, 2);
  EXPECT_EQ(q.Find(&c), pc);
  EXPECT_EQ(q.Find(&a), nullptr);
  q.RemoveAll();
  EXPECT_TRUE(q.IsEmpty());
}

TEST_F(Lists, ByNameMapKeepsKeysAsGiven) {
  KTypedPtrMap<KUtlMapStrNoCase2Ob, KZString, int*> m(10);
  int one = 1, two = 2;
  m["alpha"] = &one;
  m.SetAt("beta", &two);
  int* v = nullptr;
  EXPECT_EQ(m.Lookup("alpha", v), 1);
  EXPECT_EQ(v, &one);
  EXPECT_EQ(m.Lookup("ALPHA", v), 0); // callers lower-case the keys
  KMapStringToPtr* base = new KUtlMapStrNoCase2Ob(10);
  (*base)["k"] = &one;
  delete base; // through the base class
  EXPECT_EQ(m.GetCount(), 2);
}
