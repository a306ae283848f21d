// KCompleteErr: messages, the chain, the record image and the counters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bo/bo_err.h"
#include "bo_fixture.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_rec.h"
#include "kclassic/kc_sys.h"

using namespace KCLASSIC;
using botest::BoTest;
using botest::DictDouble;

namespace {

std::string message(KCompleteErr& e, int complete, IDdDataDict* dict = nullptr, long bufLen = 4096) {
  std::vector<char> buf(size_t(bufLen) + 8, 'Z');
  e.GetMessage(dict, 1033, buf.data(), bufLen, complete);
  return buf.data();
}

std::vector<std::string> params(const KErr& e) {
  std::vector<std::string> out;
  for (int i = 0; i < e.GetParamCount(); ++i) out.emplace_back(static_cast<const char*>(e.GetParam(i)));
  return out;
}

TEST_F(BoTest, MessagesOfErrors) {
  DictDouble dict;
  dict.strings[(5L << 20) + 1] = "Table %s has no field %s";
  struct Case {
    long code;
    std::vector<const char*> p;
    const char* plain;
  };
  const Case cases[] = {
      {0x8B000C9, {"abc"}, "Illegal argument <abc>."},
      {0x8B000C9, {}, "Illegal argument <?>."},
      {6001, {"hello"}, "hello"},
      {6999, {}, "?"},
      {(5L << 20) + 1, {"T"}, "Table T has no field ?"},
      {(5L << 20) + 2, {"T"}, "Internal Orbisan Error."},
      {0x8B000DB, {"x", "y", "z"}, "Assert <x> in y at line z"},
  };
  for (const Case& c : cases) {
    const char* p[5] = {};
    for (size_t i = 0; i < c.p.size(); ++i) p[i] = c.p[i];
    KCompleteErr e(c.code, "X::Y", p[0], p[1], p[2], p[3], p[4]);
    EXPECT_EQ(message(e, 0, &dict), c.plain);
  }
  KCompleteErr e(0x8B000C9, "X::Y", "abc");
  EXPECT_EQ(message(e, 1), "Source:   X::Y \r\nError Code:145752265 \r\nMessage:   Illegal argument <abc>.");
  KZString out;
  e.GetMessage(nullptr, 1033, out, 0);
  EXPECT_STREQ(out, "Illegal argument <abc>.");
}

TEST_F(BoTest, InsertsAreNeverFormatted) {
  KCompleteErr e(0x8B000C9, "M", "%s%n%1 %d");
  EXPECT_EQ(message(e, 0), "Illegal argument <%s%n%1 %d>.");
  EXPECT_EQ(message(e, 1), "Source:   M \r\nError Code:145752265 \r\nMessage:   Illegal argument <%s%n%1 %d>.");
  KCompleteErr m(0x8B000C9, "%s%ld%n", "a");
  EXPECT_EQ(message(m, 1), "Source:   %s%ld%n \r\nError Code:145752265 \r\nMessage:   Illegal argument <a>.");
}

TEST_F(BoTest, SystemErrorMessages) {
  KCompleteErr known(0x8B000C9, "M", 2L);
  EXPECT_EQ(message(known, 0), "No such file or directory");
  KCompleteErr unknown(0x8B000C9, "M", long(int32_t(0x80004005u)), "p");
  EXPECT_EQ(message(unknown, 0), "System Error 80004005");
  EXPECT_EQ(message(unknown, 1), "Source:   M \r\nError Code:145752277 \r\nMessage:   System Error 80004005");
  unknown.SetFatal(1);
  EXPECT_EQ(message(unknown, 0), "Internal Orbisan Error.\r\n Fatal internal error");
}

TEST_F(BoTest, LongInsertsAndSmallBuffersAreCut) {
  std::string big(3000, 'q');
  KCompleteErr e(6001, "M", big.c_str());
  std::string shown = message(e, 0, nullptr, 8000);
  EXPECT_EQ(shown, std::string(2048, 'q') + "<Truncated...>");
  EXPECT_STREQ(e.GetParam(0), shown.c_str()); // stays shortened in the error
  KCompleteErr small(0x8B000C9, "M", "abc");
  struct Case {
    long len;
    const char* text;
  };
  const Case cases[] = {{10, "Illegal "}, {2, ""}, {1, ""}, {25, "Illegal argument <abc>."}};
  for (const Case& c : cases) EXPECT_EQ(message(small, 0, nullptr, c.len), c.text) << c.len;
  char untouched = 'Z';
  small.GetMessage(nullptr, 1033, &untouched, 0, 0);
  EXPECT_EQ(untouched, 'Z');
}

TEST_F(BoTest, ChainRendersAndTravelsThroughTheImage) {
  auto* third = new KCompleteErr(6001, "C::c", "third");
  auto* second = new KCompleteErr(0x8B000C9, "B::b", third, "two");
  KCompleteErr first(0x8B000D5, "A::a", long(int32_t(0x80004005u)), "p1", "p2", "p3", "p4", "p5");
  first.ChainError(second);
  char buf[4096];
  first.GetCompleteInfo(nullptr, 1033, buf, sizeof buf);
  EXPECT_EQ(std::string(buf),
            "Source:   A::a \r\nError Code:145752277 \r\nMessage:   System Error 80004005"
            "\r\n----------\r\n"
            "Source:   B::b \r\nError Code:145752265 \r\nMessage:   Illegal argument <two>."
            "\r\n----------\r\n"
            "Source:   C::c \r\nError Code:6001 \r\nMessage:   third");

  char* image = first.Serialize();
  KUtlRecord rec;
  char* again = first.Serialize();
  rec.Deserialize(again);
  KBinSysFreeString(again);
  EXPECT_STREQ(rec.GetRecordName(), "KCompleteErr Exception");
  EXPECT_EQ(rec.GetRows(), 3);
  EXPECT_EQ(rec.GetColumns(), 11);
  EXPECT_STREQ(rec.GetColName(3), "ParamCount");
  EXPECT_STREQ(rec.GetColName(10), "Param");

  std::unique_ptr<KCompleteErr> back(KCompleteErr::FromImage(image));
  KBinSysFreeString(image);
  const KCompleteErr* want[] = {&first, second, third};
  const KCompleteErr* got = back.get();
  for (const KCompleteErr* w : want) {
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->ErrorNum, w->ErrorNum);
    EXPECT_EQ(got->UseHresult, w->UseHresult);
    EXPECT_EQ(got->HResult, w->HResult);
    EXPECT_STREQ(got->MethodName, w->MethodName);
    EXPECT_EQ(params(*got), params(*w));
    got = got->GetChained();
  }
  EXPECT_EQ(got, nullptr);

  KCompleteErr copy(first);
  ASSERT_NE(copy.GetChained(), nullptr);
  EXPECT_NE(copy.GetChained(), second);
  EXPECT_EQ(params(*copy.GetChained()), std::vector<std::string>{"two"});
}

TEST_F(BoTest, DamagedImagesBecomeTheInternalError) {
  KUtlRecord narrow;
  narrow.SetColType(0, UTL_CELL_LONG, "ErrorNum", 0);
  narrow.SetLongVal(0, 0, 5);
  char* narrowImage = narrow.Serialize();
  KUtlRecord empty;
  for (int c = 0; c < 11; ++c) empty.SetColType(c, c < 4 ? UTL_CELL_LONG : UTL_CELL_STRING, "c", 0);
  char* emptyImage = empty.Serialize();
  char* junk = KBinSysAllocStringByteLen("not a record image at all", 25);
  for (char* image : {narrowImage, emptyImage, junk, static_cast<char*>(nullptr)}) {
    KCompleteErr e(0x8B000C9, "Old::m", new KCompleteErr(1, "x"), "p");
    e.Deserialize(image);
    EXPECT_EQ(e.ErrorNum, 0x8B000CB);
    EXPECT_STREQ(e.MethodName, "KCompleteErr::Deserialize");
    EXPECT_EQ(e.GetParamCount(), 0);
    EXPECT_EQ(e.GetChained(), nullptr);
    EXPECT_EQ(message(e, 0), "Internal Orbisan Error.");
  }
  for (char* image : {narrowImage, emptyImage, junk}) KBinSysFreeString(image);
}

TEST_F(BoTest, ImageParamCountIsBounded) {
  KCompleteErr e(1, "M", "a", "b", "c", "d", "e");
  char* image = e.Serialize();
  KUtlRecord rec;
  rec.Deserialize(image);
  KBinSysFreeString(image);
  for (long count : {9L, -3L, 2L}) {
    rec.SetLongVal(0, 3, count);
    char* edited = rec.Serialize();
    std::unique_ptr<KCompleteErr> back(KCompleteErr::FromImage(edited));
    KBinSysFreeString(edited);
    long want = count > 5 ? 5 : count < 0 ? 0 : count;
    EXPECT_EQ(back->GetParamCount(), want) << count;
    EXPECT_EQ(back->ErrorNum, 1);
  }
}

TEST_F(BoTest, ChainErrorLosesNothingAndLinksNothingTwice) {
  auto* a = new KCompleteErr(1, "a");
  auto* b = new KCompleteErr(2, "b");
  KCompleteErr head(0, "head", a);
  head.ChainError(b); // head, a, b
  auto* e2 = new KCompleteErr(4, "e2");
  auto* e = new KCompleteErr(3, "e", e2);
  EXPECT_EQ(head.ChainError(e), &head); // both have chains: e and its chain appended
  head.ChainError(a);                   // already in the chain
  head.ChainError(&head);
  head.ChainError(nullptr);
  e2->ChainError(&head); // head is in e2's... no: e2 is in head's chain; linking would loop
  std::vector<long> numbers;
  for (const KCompleteErr* c = &head; c; c = c->GetChained()) numbers.push_back(c->ErrorNum);
  EXPECT_EQ(numbers, (std::vector<long>{0, 1, 2, 3, 4}));
}

TEST_F(BoTest, ErrorsFromPlainKErrs) {
  KErr inner(0x8B000DE, "Inner::m", "i1");
  KErr outer(0x8B000C9, "Outer::m", 5L, "o1", "o2");
  outer.m_pNext = new KErr(inner);
  KCompleteErr e(outer);
  EXPECT_EQ(e.ErrorNum, 0x8B000C9);
  EXPECT_EQ(e.HResult, 5);
  EXPECT_EQ(e.UseHresult, 1);
  EXPECT_EQ(params(e), (std::vector<std::string>{"o1", "o2"}));
  ASSERT_NE(e.GetChained(), nullptr);
  EXPECT_EQ(e.GetChained()->ErrorNum, 0x8B000DE);
  EXPECT_STREQ(e.GetChained()->MethodName, "Inner::m");
  EXPECT_EQ(e.GetChained()->GetChained(), nullptr);
}

TEST_F(BoTest, ClearAndInitialize) {
  KCompleteErr e(0x8B000C9, "M", new KCompleteErr(1, "x"), "p");
  e.HResult = 4;
  e.UseHresult = 1;
  e.SetFatal(1);
  e.Initialize(7, "N", "q", nullptr, "skipped");
  EXPECT_EQ(e.ErrorNum, 7);
  EXPECT_STREQ(e.MethodName, "N");
  EXPECT_EQ(params(e), std::vector<std::string>{"q"});
  EXPECT_EQ(e.GetChained(), nullptr);
  EXPECT_EQ(e.HResult, 0);
  EXPECT_EQ(e.UseHresult, 0);
  EXPECT_EQ(e.IsFatal(), 0);
  e.Clear();
  EXPECT_EQ(e.ErrorNum, 0);
  EXPECT_EQ(e.GetParamCount(), 0);
}

TEST_F(BoTest, DiagnosticCounters) {
  const char* name = nullptr;
  long* unknown = KCompleteErr::GetDiagCounterPtr(99, &name);
  EXPECT_STREQ(name, "_Unknown");
  EXPECT_EQ(unknown, KCompleteErr::GetDiagCounterPtr(0, nullptr));
  EXPECT_EQ(KCompleteErr::GetDiagCounterPtr(-1, &name), unknown);
  long* sessions = KCompleteErr::GetDiagCounterPtr(6, &name);
  EXPECT_STREQ(name, "SessionContext");
  KCompleteErr::GetDiagCounterPtr(12, &name);
  EXPECT_STREQ(name, "JErrors");

  long* counter = KCompleteErr::GetDiagCounterPtr(3, nullptr);
  long start = *counter;
  constexpr int kThreads = 8;
  constexpr int kRounds = 20000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([counter, sessions, t] {
      for (int i = 0; i < kRounds; ++i) {
        KInterlockedIncrement(counter);
        if (t % 2) KInterlockedIncrement(sessions);
        else KInterlockedDecrement(sessions);
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(*counter, start + kThreads * kRounds);
}

} // namespace
