// KErr: constructors, copies, chains, virtual initialisation; the resource
// strings, the K-layer table, and the throw and check helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_err.h"

using namespace KCLASSIC;
using kctest::thrown;

namespace {

class Err : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

int chain_length(const KErr* e) {
  int n = 0;
  for (; e; e = e->GetNext()) ++n;
  return n;
}

// A derived error that overrides the virtual initialisation.
class CountingErr : public KErr {
 public:
  using KErr::KErr;
  int inits = 0;
  void InitParams(long code, const char* method, const char* p1 = nullptr, const char* p2 = nullptr,
                  const char* p3 = nullptr, const char* p4 = nullptr, const char* p5 = nullptr) override {
    ++inits;
    KErr::InitParams(code, method, p1, p2, p3, p4, p5);
  }
};

} // namespace

TEST_F(Err, ConstructorsAndInserts) {
  KErr plain(0x8B000C9, "K::M", "a", "b", nullptr, "d");
  EXPECT_EQ(plain.GetErrorNum(), 0x8B000C9);
  EXPECT_STREQ(plain.GetMethodName(), "K::M");
  ASSERT_EQ(plain.GetParamCount(), 2); // inserts after the first NULL are ignored
  EXPECT_STREQ(plain.GetParam(1), "b");
  EXPECT_EQ(plain.UseHresult, 0);
  EXPECT_EQ(plain.HResult, 0);
  EXPECT_EQ(plain.GetNext(), nullptr);
  EXPECT_TRUE(plain.m_strText1.IsEmpty());

  KErr os(0x8B000D5, "open", 13L, "file");
  EXPECT_EQ(os.UseHresult, 1);
  EXPECT_EQ(os.HResult, 13);
  EXPECT_EQ(os.GetParamCount(), 1);

  KErr* inner = new KErr(1, "inner");
  KErr outer(2, "outer", inner, "x");
  EXPECT_EQ(outer.GetNext(), inner); // owned: deleted with outer

  KErr none;
  EXPECT_EQ(none.GetErrorNum(), 0);
  EXPECT_TRUE(none.GetMethodName().IsEmpty());
  KErr nullMethod(3, nullptr);
  EXPECT_TRUE(nullMethod.GetMethodName().IsEmpty());
}

TEST_F(Err, CopyIsDeepAndKeepsTexts) {
  auto* original = new KErr(1, "a", new KErr(2, "b", "p"), "x", "y");
  original->HResult = 5;
  original->UseHresult = 1;
  original->m_strText1 = "server message";
  original->m_strText2 = "description";
  auto* copy = new KErr(*original);
  EXPECT_EQ(chain_length(copy), 2);
  EXPECT_NE(copy->GetNext(), original->GetNext());
  EXPECT_EQ(copy->GetNext()->GetErrorNum(), 2);
  EXPECT_STREQ(copy->GetNext()->GetParam(0), "p");
  EXPECT_EQ(copy->GetParamCount(), 2);
  EXPECT_EQ(copy->HResult, 5);
  EXPECT_EQ(copy->UseHresult, 1);
  EXPECT_STREQ(copy->m_strText1, "server message");
  EXPECT_STREQ(copy->m_strText2, "description");
  delete copy;
  EXPECT_EQ(chain_length(original), 2); // the original is intact
  EXPECT_STREQ(original->GetNext()->GetMethodName(), "b");
  KErr assigned;
  assigned = *original;
  EXPECT_EQ(chain_length(&assigned), 2);
  delete original;
  EXPECT_EQ(assigned.GetNext()->GetErrorNum(), 2);
}

TEST_F(Err, ClearAndInitialize) {
  KErr e(1, "m", new KErr(2, "n"), "p");
  e.HResult = 9;
  e.Clear();
  EXPECT_EQ(e.GetErrorNum(), 0);
  EXPECT_EQ(e.GetNext(), nullptr);
  EXPECT_EQ(e.GetParamCount(), 0);
  EXPECT_TRUE(e.GetMethodName().IsEmpty());
  EXPECT_EQ(e.HResult, 9); // left as it was
  e.Initialize(7, "again", "q");
  kctest::expectErr(e, 7, "again", "q");

  CountingErr c(1, "m");
  c.Initialize(2, "n", "x"); // reaches the override through the virtual table
  EXPECT_EQ(c.inits, 1);
  kctest::expectErr(c, 2, "n", "x");
}

TEST_F(Err, ChainErrorNeverLosesOrDuplicates) {
  KErr head(1, "head");
  EXPECT_EQ(head.ChainError(&head), &head); // itself: nothing
  EXPECT_EQ(head.GetNext(), nullptr);
  head.ChainError(nullptr);
  EXPECT_EQ(head.GetNext(), nullptr);

  KErr* second = new KErr(2, "second");
  head.ChainError(second);
  EXPECT_EQ(head.GetNext(), second);
  // A given error with its own chain goes, whole, at the end.
  KErr* third = new KErr(3, "third", new KErr(4, "fourth"));
  head.ChainError(third);
  EXPECT_EQ(chain_length(&head), 4);
  EXPECT_EQ(second->GetNext(), third);
  // One already in the chain is not linked twice.
  head.ChainError(third);
  head.ChainError(second);
  EXPECT_EQ(chain_length(&head), 4);
}

TEST_F(Err, ResourceStrings) {
  EXPECT_STREQ(KGetResourceString(0x8B000C9, 0x409), "Illegal argument <%1>.");
  EXPECT_STREQ(KGetResourceString(0x9B00072, 0x409), "Error: %s");
  EXPECT_STREQ(KGetResourceString(0x8B000D6, 0x409), "Source:   %s \r\nError Code:%ld \r\nMessage:   %s");
  // The first of two records with one id.
  EXPECT_EQ(std::string(KGetResourceString(0x8B0016D, 0x409)).rfind("For query type <Parented by Query>", 0), 0u);
  EXPECT_GT(std::strlen(KGetResourceString(0x8B002BD, 0x409)), 0u);
  struct Bad {
    int id;
    unsigned long lang;
  } bad[] = {{0x8B000C9, 0x407}, {0x8B00136, 0x409}, {0, 0x409}};
  for (const Bad& b : bad) {
    auto e = thrown([&] { KGetResourceString(b.id, b.lang); });
    kctest::expectErr(*e, 0x8B000C9, "KGetResourceString", "Invalid MsgId or LanguageId");
  }
}

TEST_F(Err, KLayerStrings) {
  char buf[64];
  struct Case {
    unsigned id;
    const char* text;
  } cases[] = {{0xF023, "Out of memory."}, {0xF10A, "Insufficient memory to perform operation."},
               {0x79, "Japanese (Shift-JIS)"}, {0x76, "*.exe"}};
  for (const Case& c : cases) {
    EXPECT_EQ(KAfxLoadString(c.id, buf, sizeof buf), int(std::strlen(c.text)));
    EXPECT_STREQ(buf, c.text);
  }
  for (unsigned id = 0x6A; id <= 0x6E; ++id) EXPECT_GT(KAfxLoadString(id, buf, sizeof buf), 0);
  EXPECT_EQ(KAfxLoadString(4660, buf, sizeof buf), 33);
  EXPECT_STREQ(buf, "KAfx error string not found 4660.");
  char small[5];
  EXPECT_EQ(KAfxLoadStringInternal(0xF023, small, sizeof small), 4); // cut, terminated
  EXPECT_STREQ(small, "Out ");
}

TEST_F(Err, ThrowAndCheckHelpers) {
  kctest::expectErr(*thrown([] { KAfxThrowMemoryException(); }), 0x9B00072, "KAfxThrowMemoryException", "Out of memory");
  kctest::expectErr(*thrown([] { KAfxThrowNotSupportedException(); }), 0x9B00067, "KAfxThrowNotSupportedException",
             "Not Supported");
  KAfxCheckError(0);
  KAfxCheckError(5);
  kctest::expectErr(*thrown([] { KAfxCheckError(long(int32_t(0x8007000E))); }), 0x9B00072, "KAfxThrowMemoryException",
             "Out of memory");
  kctest::expectErr(*thrown([] { KAfxCheckError(-1); }), 0x8B000D4, "KAfxCheckError", "Ole Exception");
  int x = 0;
  EXPECT_EQ(KAfxIsValidAddress(nullptr, 4), 0);
  EXPECT_EQ(KAfxIsValidAddress(&x, 4), 1);
  EXPECT_EQ(KAfxIsValidAddress(&x, 4, 0), 1);
  EXPECT_EQ(KAfxIsValidString(nullptr), 0);
  EXPECT_EQ(KAfxIsValidString("x"), 1);
}
