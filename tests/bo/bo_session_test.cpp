// Session contexts: the text form and its checksum, sequence numbers, kept
// business objects and destruction.
#include <cstdio>
#include <cstring>
#include <string>

#include "bo/bo_dict.h"
#include "bo/bo_err.h"
#include "bo/bo_session.h"
#include "bo_session_fixture.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;
using botest::SessionTest;

namespace {

// The text form of a session with its checksum recomputed.
std::string Sealed(const std::string& body) {
  char check[16];
  std::snprintf(check, sizeof check, " %04lu", KUtlSessionContext::CalCheckSum(body.c_str()));
  return body + check;
}

std::string BodyOf(const std::string& text) { return text.substr(0, text.rfind(' ')); }

void ExpectBadText(const kctest::Thrown& t) {
  ASSERT_TRUE(t.thrown);
  EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(t.method, "KUtlSessionContext::Deserialize");
  ASSERT_EQ(t.params.size(), 1u);
  EXPECT_EQ(t.params[0], "Bad Serialized String");
}

} // namespace

TEST(SessionCheckSum, SumsSignedBytesModuloTenThousand) {
  struct Case {
    std::string text;
    unsigned long sum;
  } cases[] = {{"abc", 294}, {"", 0}, {"\xff", 7295}, {"a\xff", 96}, {std::string(100, 'z'), 2200}};
  for (const auto& c : cases) EXPECT_EQ(KUtlSessionContext::CalCheckSum(c.text.c_str()), c.sum) << c.text;
  EXPECT_EQ(KUtlSessionContext::CalCheckSum(nullptr), 0u);
}

TEST_F(SessionTest, TextOfKeyKIsTheGoldenLine) {
  KUtlSessionContext session("k", 1, 2, 3, "not in the text");
  std::string text = Text(session);
  EXPECT_EQ(text,
            "k::::       1        0        2        3 5f000000 5f000000        1        0        0        0        0"
            "        0        0        0        0        0 5520");
  EXPECT_EQ(text.compare(0, 13, "k::::       1"), 0);
  EXPECT_EQ(text[text.size() - 5], ' ');
  EXPECT_EQ(KUtlSessionContext::CalCheckSum(BodyOf(text).c_str()), 5520u);
}

TEST_F(SessionTest, TextRoundTripRestoresFieldsAndNumbers) {
  unsigned long langs[8] = {1033, 1031, 1036, 1040, 3082, 1041, 2052, 0xFFFFFFFF};
  auto* source = Session("sess-7", 900);
  source->SetTextX("x text");
  source->SetTextY("");
  source->SetTextZ("zed");
  source->SetReservedNum(-5);
  source->SetSeqNum(0xABCDEF01, 0);
  source->SetDictionaryInfo(&keep, langs);
  botest::CountedBo kept;
  source->SaveBoContext(&kept, "Acct");
  std::string text = Text(*source);

  KUtlSessionContext copy(const_cast<char*>(text.c_str()));
  EXPECT_EQ(std::string(copy.GetSessionKey()), "sess-7");
  EXPECT_EQ(std::string(copy.GetTextX()), "x text");
  EXPECT_EQ(std::string(copy.GetTextY()), "");
  EXPECT_EQ(std::string(copy.GetTextZ()), "zed");
  EXPECT_EQ(copy.GetIdentNum1(), 1);
  EXPECT_EQ(copy.GetIdentNum2(), 2);
  EXPECT_EQ(copy.GetIdentNum3(), 3);
  EXPECT_EQ(copy.GetReservedNum(), -5);
  EXPECT_EQ(copy.GetSeqNum(), 0xABCDEF01u);
  EXPECT_EQ(copy.GetTimeout(), 900);
  EXPECT_EQ(copy.GetCreationTime(), kStart);
  EXPECT_EQ(copy.GetLastAccess(), kStart);
  for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind)
    EXPECT_EQ(copy.GetLanguage(enumDicCmpnt(kind)), langs[kind] & 0xFFFFFFFFu);
  // Not part of the text: description, counter, kept objects, dictionary.
  EXPECT_EQ(std::string(copy.GetDescription()), "");
  EXPECT_EQ(copy.GetContextCounter(), BO_SESSION_FIRST_CONTEXT);
  EXPECT_EQ(copy.GetStoredCount(), 0);
  EXPECT_EQ(copy.GetDictionary(), nullptr);
  EXPECT_EQ(Text(copy), text);
  delete source;
  EXPECT_EQ(kept.releases, 1);
}

TEST_F(SessionTest, DamagedTextsAreRefusedAndChangeNothing) {
  KUtlSessionContext good("good", 4, 5, 6, "");
  const std::string text = Text(good);
  const std::string body = BodyOf(text);
  std::string tampered = text;
  tampered[2] = 'X';
  std::string fifteen = body.substr(0, body.rfind(' '));
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"a body byte changed", tampered},
      {"checksum changed", body + " 0001"},
      {"four fields", Sealed("a:b:c:       1        0        2        3        4        5        6        7"
                             "        8        9        a        b        c        d        e        f")},
      {"fifteen numbers", Sealed(fifteen)},
      {"a number that is no number", Sealed(body.substr(0, body.size() - 1) + "g")},
      {"no blank, zero", "0"},
      {"no blank, a number", "1234"},
      {"nothing after the blank", body + " "},
      {"empty", ""},
      {"check number beyond any long", body + " 99999999999999999999999"},
  };
  for (const auto& c : cases) {
    KUtlSessionContext target("kept", 7, 8, 9, "");
    target.SetTextX("x");
    const std::string before = Text(target);
    ExpectBadText(kctest::catchKErr([&] { target.DeSerialize(c.text.c_str()); }));
    EXPECT_EQ(Text(target), before) << c.what;
  }
  ExpectBadText(kctest::catchKErr([&] { good.DeSerialize(nullptr); }));
}

TEST_F(SessionTest, ConstructorFromABadTextThrowsAndCountsNothing) {
  long* counter = KCompleteErr::GetDiagCounterPtr(BO_DIAG_SESSION_CONTEXT, nullptr);
  const long before = *counter;
  char bad[] = "k:::: 1 2 3 0000";
  ExpectBadText(kctest::catchKErr([&] { KUtlSessionContext session(bad); }));
  EXPECT_EQ(*counter, before);
  {
    KUtlSessionContext one("one", 0, 0, 0, "");
    EXPECT_EQ(*counter, before + 1);
  }
  EXPECT_EQ(*counter, before);
}

TEST_F(SessionTest, KeysAndTextFieldsWithASeparatorAreRefused) {
  auto refused = [](auto f) {
    auto t = kctest::catchKErr(f);
    EXPECT_TRUE(t.thrown);
    EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
  };
  refused([] { KUtlSessionContext s("a:b", 0, 0, 0, ""); });
  KUtlSessionContext session("s", 0, 0, 0, "a description: may hold one");
  refused([&] { session.SetTextX("x:"); });
  refused([&] { session.SetTextY(":"); });
  refused([&] { session.SetTextZ("z:z"); });
  EXPECT_EQ(Text(session).compare(0, 5, "s::::"), 0);
}

TEST_F(SessionTest, SequenceNumbersSkipZero) {
  KUtlSessionContext session("s", 0, 0, 0, "");
  EXPECT_EQ(session.GetNextSeqNum(), 2u);
  session.SetSeqNum(0xFFFFFFFF, 0);
  EXPECT_EQ(session.GetNextSeqNum(), 1u);
  struct Case {
    unsigned long held, set;
    int onlyIfHigher;
    unsigned long after;
  } cases[] = {{7, 5, 1, 7}, {7, 5, 0, 5}, {7, 7, 1, 7}, {7, 8, 1, 8}, {7, 0, 0, 0}};
  for (const auto& c : cases) {
    session.SetSeqNum(c.held, 0);
    session.SetSeqNum(c.set, c.onlyIfHigher);
    EXPECT_EQ(session.GetSeqNum(), c.after) << c.held << " " << c.set << " " << c.onlyIfHigher;
  }
}

TEST_F(SessionTest, KeptObjectsAreRetrievedOnce) {
  KUtlSessionContext session("s", 0, 0, 0, "");
  botest::CountedBo first, second;
  std::string id = static_cast<const char*>(session.SaveBoContext(&first, "Acct"));
  ASSERT_EQ(id.compare(0, 5, "Acct:"), 0);
  ASSERT_GE(id.size(), 10u);
  EXPECT_EQ(id.substr(id.size() - 4), ":3e9");
  std::string tick = id.substr(5, id.size() - 9);
  EXPECT_EQ(tick.find_first_not_of("0123456789abcdef"), std::string::npos) << id;
  std::string id2 = static_cast<const char*>(session.SaveBoContext(&second, "Acct"));
  EXPECT_EQ(id2.substr(id2.size() - 4), ":3ea");

  auto acc = kctest::catchKErr([&] { session.RetrieveBoContext(id.c_str(), "Acc"); });
  ASSERT_TRUE(acc.thrown);
  EXPECT_EQ(acc.method, "KBosSession::RetrieveBoContext");
  EXPECT_EQ(acc.params, std::vector<std::string>{"ClassName"});
  EXPECT_EQ(session.RetrieveBoContext(id.c_str(), "Acct"), &first);
  auto again = kctest::catchKErr([&] { session.RetrieveBoContext(id.c_str(), "Acct"); });
  ASSERT_TRUE(again.thrown);
  EXPECT_EQ(again.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(again.method, "KBosSession::RemoveBoContext");
  EXPECT_EQ(again.params, std::vector<std::string>{"Context IdString"});
  EXPECT_EQ(session.GetStoredCount(), 1);
  EXPECT_EQ(first.releases, 0);
}

TEST_F(SessionTest, DestructionReleasesEachKeptObjectOnceAndTheHandle) {
  botest::CountedBo plain, throwing(true), later;
  botest::CountedHandle handle;
  auto* session = new KUtlSessionContext("s", 0, 0, 0, "");
  session->SaveBoContext(&plain, "Acct");
  session->SaveBoContext(&throwing, "Acct");
  session->SaveBoContext(&later, "Acct");
  std::string taken = static_cast<const char*>(session->SaveBoContext(&later, "Other"));
  session->RetrieveBoContext(taken.c_str(), "Other");
  session->SetHandle(&handle);
  delete session;
  EXPECT_EQ(plain.releases, 1);
  EXPECT_EQ(throwing.releases, 1);
  EXPECT_EQ(later.releases, 1);
  EXPECT_EQ(handle.releases, 1);
}

TEST_F(SessionTest, TimeQueueStampsAndForgetsItsPosition) {
  KList<KUtlSessionContext*, KUtlSessionContext*> queue;
  KUtlSessionContext a("a", 0, 0, 0, ""), b("b", 0, 0, 0, "");
  clock.To(kStart + 40);
  a.AddToTimeQ(queue);
  b.AddToTimeQ(queue);
  EXPECT_EQ(a.GetLastAccess(), kStart + 40);
  EXPECT_EQ(queue.GetCount(), 2);
  a.RemoveFromTimeQ(queue);
  EXPECT_FALSE(a.IsQueued());
  a.RemoveFromTimeQ(queue);
  EXPECT_EQ(queue.GetCount(), 1);
  EXPECT_EQ(queue.GetHead(), &b);
  b.RemoveFromTimeQ(queue);
  EXPECT_TRUE(queue.IsEmpty());
}

TEST_F(SessionTest, DictionaryTakesTheManagersComponentsOfItsLanguages) {
  auto langs = std::vector<unsigned long>(8, 1033);
  KUtlSessionContext session("dictsess", 0, 0, 0, "");
  session.SetDictionaryInfo(&keep, langs.data());
  ASSERT_NE(session.GetDictionary(), nullptr);
  EXPECT_EQ(std::string(session.GetDictionary()->GetName()), "dictsess");
  EXPECT_EQ(session.GetDictionary()->GetCurrencyCompnt(), keep.m_pDict->GetCurrencyCompnt());
  KDdDict* first = session.GetDictionary();
  // Without languages: the held ones again, the same dictionary.
  session.SetDictionaryInfo(&keep, nullptr);
  EXPECT_EQ(session.GetDictionary(), first);
  EXPECT_EQ(session.GetLanguage(eDicCurrency), 1033u);
}
