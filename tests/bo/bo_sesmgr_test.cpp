// The session manager's bookkeeping: the two maps, the time list, expiry on
// a set clock, session ids from session keys, prefetch and termination.
#include <string>
#include <vector>

#include "bo/bo_dict.h"
#include "bo/bo_session.h"
#include "bo/bo_usr.h"
#include "bo/bo_var.h"
#include "bo_session_fixture.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;
using botest::SessionTest;
using Keys = std::vector<std::string>;

namespace {

// A session key text of key with the time-out and last access given.
std::string KeyText(const char* key, long timeout, uint32_t lastAccess, const char* x = "") {
  KUtlSessionContext session(key, 1, 2, 3, "");
  session.SetTimeout(timeout);
  session.SetLastAccess(lastAccess);
  session.SetTextX(x);
  char* text = session.Serialize();
  std::string out(text);
  KBinSysFreeString(text);
  return out;
}

} // namespace

TEST_F(SessionTest, AddToMapFilesAndQueuesTimedSessions) {
  keep.AddToMap(Session("timed", 60), nullptr);
  keep.AddToMap(Session("untimed", 0), nullptr);
  clock.To(kStart + 5);
  keep.AddToMap(Session("later", 10), User("u"));
  EXPECT_EQ(keep.Sessions(), 3);
  EXPECT_EQ(keep.Users(), 3);
  EXPECT_EQ(keep.Queue(), (Keys{"timed", "later"}));
  // The held session once more: queued again at the tail, stamped now.
  clock.To(kStart + 9);
  KUtlSessionContext* timed = keep.LookupSessionContext("timed");
  ASSERT_NE(timed, nullptr);
  keep.AddToMap(timed, nullptr);
  EXPECT_EQ(keep.Queue(), (Keys{"later", "timed"}));
  EXPECT_EQ(timed->GetLastAccess(), kStart + 9);
}

TEST_F(SessionTest, EverySessionTimedQueuesUntimedOnes) {
  keep.m_bTimeAllSessions = 1;
  keep.AddToMap(Session("untimed", 0), nullptr);
  EXPECT_EQ(keep.Queue(), Keys{"untimed"});
  // Never expires by itself: only a forced pass applies the interval.
  clock.To(kStart + BO_CLEANUP_INTERVAL - 1);
  EXPECT_NE(keep.LookupSessionContext("untimed"), nullptr);
  clock.To(kStart + 2 * BO_CLEANUP_INTERVAL);
  EXPECT_NE(keep.LookupSessionContext("untimed"), nullptr);
  clock.To(kStart + 3 * BO_CLEANUP_INTERVAL);
  keep.CleanupSessionIdsOnTimeout(1);
  EXPECT_EQ(keep.Sessions(), 0);
}

TEST_F(SessionTest, AnotherSessionUnderAHeldKeyIsRefused) {
  KUtlSessionContext* first = Session("k", 30);
  keep.AddToMap(first, User("first"));
  KUtlSessionContext* second = Session("k", 30);
  KUsrContext* user = User("second");
  auto t = kctest::catchKErr([&] { keep.AddToMap(second, user); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(keep.LookupSessionContext("k"), first);
  EXPECT_EQ(keep.Queue(), Keys{"k"});
  delete second;
  delete user;
}

TEST_F(SessionTest, UserContextsFollowTheirRules) {
  KUtlSessionContext* session = Session("k", 0);
  keep.AddToMap(session, User("one"));
  // A null user keeps the held one; a new one replaces (and frees) it.
  keep.AddToMap(session, nullptr);
  EXPECT_EQ(keep.Users(), 1);
  KUsrContext* two = User("two");
  keep.AddToMap(session, two);
  void* held = nullptr;
  ASSERT_TRUE(keep.m_mapUsers.Lookup("k", held));
  EXPECT_EQ(held, two);
  // A new key without a user files a null user context.
  keep.AddToMap(Session("bare", 0), nullptr);
  ASSERT_TRUE(keep.m_mapUsers.Lookup("bare", held));
  EXPECT_EQ(held, nullptr);
}

TEST_F(SessionTest, DeleteFromMapDropsBothAndTellsTheHost) {
  KUtlSessionContext* session = Session("k", 20);
  keep.AddToMap(session, User("u"));
  keep.AddToMap(Session("other", 20), nullptr);
  keep.DeleteFromMap(session->GetSessionKey());
  EXPECT_EQ(keep.Sessions(), 1);
  EXPECT_EQ(keep.Users(), 1);
  EXPECT_EQ(keep.Queue(), Keys{"other"});
  EXPECT_EQ(keep.removed, Keys{"k"});
  keep.DeleteFromMap("unknown");
  EXPECT_EQ(keep.removed, Keys{"k"});
  EXPECT_EQ(keep.Sessions(), 1);
}

TEST_F(SessionTest, LookupOfAnUnknownKeyChangesNothing) {
  keep.AddToMap(Session("a", 10), nullptr);
  keep.AddToMap(Session("b", 10), nullptr);
  EXPECT_EQ(keep.LookupSessionContext("c"), nullptr);
  EXPECT_EQ(keep.LookupSessionContext(nullptr), nullptr);
  EXPECT_EQ(keep.Queue(), (Keys{"a", "b"}));
  EXPECT_EQ(keep.Sessions(), 2);
}

TEST_F(SessionTest, LookupNeverHandsOutAnExpiredSession) {
  keep.AddToMap(Session("short", 10), nullptr);
  keep.AddToMap(Session("long", 1000), nullptr);
  // Within the interval no pass runs; the look-up checks by itself.
  struct Case {
    uint32_t at;
    const char* key;
    bool live;
  } cases[] = {{kStart + 9, "short", true}, {kStart + 18, "short", true}, {kStart + 29, "short", false},
               {kStart + 1029, "long", false}};
  for (const auto& c : cases) {
    clock.To(c.at);
    EXPECT_EQ(keep.LookupSessionContext(c.key) != nullptr, c.live) << c.key << " at +" << c.at - kStart;
  }
  EXPECT_EQ(keep.removed, (Keys{"short", "long"}));
}

TEST_F(SessionTest, PassesDropSessionsAtExactlyTheirTimeout) {
  keep.AddToMap(Session("a", 100), nullptr);
  clock.To(kStart + 50);
  keep.AddToMap(Session("b", 100), nullptr);
  clock.To(kStart + 99);
  keep.CleanupSessionIdsOnTimeout(1);
  EXPECT_EQ(keep.Sessions(), 2);
  clock.To(kStart + 100);
  keep.CleanupSessionIdsOnTimeout(1);
  EXPECT_EQ(keep.Queue(), Keys{"b"});
  clock.To(kStart + 150);
  keep.CleanupSessionIdsOnTimeout(1);
  EXPECT_EQ(keep.Sessions(), 0);
}

TEST_F(SessionTest, UnforcedPassesWaitForTheInterval) {
  keep.AddToMap(Session("a", 100), nullptr);
  struct Case {
    uint32_t at;
    int sessions;
  } cases[] = {{kStart + 200, 1}, {kStart + BO_CLEANUP_INTERVAL, 1}, {kStart + BO_CLEANUP_INTERVAL + 1, 0}};
  for (const auto& c : cases) {
    clock.To(c.at);
    keep.CleanupSessionIdsOnTimeout(0);
    EXPECT_EQ(keep.Sessions(), c.sessions) << c.at - kStart;
  }
  // The pass that ran starts the next interval; a forced one is not held back.
  keep.AddToMap(Session("b", 100), nullptr);
  clock.To(kStart + BO_CLEANUP_INTERVAL + 1 + 150);
  keep.CleanupSessionIdsOnTimeout(0);
  EXPECT_EQ(keep.Sessions(), 1);
  keep.CleanupSessionIdsOnTimeout(1);
  EXPECT_EQ(keep.Sessions(), 0);
}

TEST_F(SessionTest, UntimedHeadsDoNotStopAPass) {
  keep.m_bTimeAllSessions = 1;
  keep.AddToMap(Session("untimed", 0), nullptr);
  keep.AddToMap(Session("timed", 10), nullptr);
  clock.To(kStart + 11);
  keep.CleanupSessionIdsOnTimeout(1);
  // A forced pass with every session timed applies the interval to all.
  EXPECT_EQ(keep.Sessions(), 2);
  keep.m_bTimeAllSessions = 0;
  keep.CleanupSessionIdsOnTimeout(1);
  EXPECT_EQ(keep.Queue(), Keys{"untimed"});
}

TEST_F(SessionTest, TimesCompareModuloTwoToThe32) {
  clock.To(0xFFFFFFF0u);
  keep.AddToMap(Session("wrap", 100), nullptr);
  clock.To(0x00000050u);
  EXPECT_NE(keep.LookupSessionContext("wrap"), nullptr);
  clock.To(0x000000C0u);
  EXPECT_EQ(keep.LookupSessionContext("wrap"), nullptr);
}

TEST_F(SessionTest, SessionIdsOfKnownNewAndExpiredKeys) {
  EXPECT_EQ(std::string(keep.GetSessionIdFromSessionKey("")), "");
  EXPECT_EQ(std::string(keep.GetSessionIdFromSessionKey(nullptr)), "");
  EXPECT_EQ(keep.Sessions(), 0);

  // A longer-lived session heads the time list: passes stop at it.
  keep.AddToMap(Session("head", 100000), nullptr);
  // New, live: filed with a dictionary named after the key.
  std::string key = KeyText("s1", 100, kStart - 99);
  EXPECT_EQ(std::string(keep.GetSessionIdFromSessionKey(key.c_str())), "s1");
  KUtlSessionContext* s1 = keep.LookupSessionContext("s1");
  ASSERT_NE(s1, nullptr);
  ASSERT_NE(s1->GetDictionary(), nullptr);
  EXPECT_EQ(std::string(s1->GetDictionary()->GetName()), "s1");
  EXPECT_EQ(s1->GetDictionary()->GetCurrencyCompnt(), keep.m_pDict->GetCurrencyCompnt());

  // New, exactly its time-out old by its own text: not filed.
  key = KeyText("s2", 100, kStart - 100);
  EXPECT_EQ(std::string(keep.GetSessionIdFromSessionKey(key.c_str())), "s2");
  EXPECT_EQ(keep.LookupSessionContext("s2"), nullptr);
  // New, untimed and old: filed.
  key = KeyText("s3", 0, kStart - 5000000);
  keep.GetSessionIdFromSessionKey(key.c_str());
  EXPECT_NE(keep.LookupSessionContext("s3"), nullptr);

  // Known: refreshed from the key; exactly the time-out away is kept.
  clock.To(kStart + 100);
  key = KeyText("s1", 100, kStart + 100, "fresh");
  EXPECT_EQ(std::string(keep.GetSessionIdFromSessionKey(key.c_str())), "s1");
  ASSERT_EQ(keep.Sessions(), 3);
  EXPECT_EQ(std::string(s1->GetTextX()), "fresh");
  EXPECT_EQ(s1->GetLastAccess(), kStart);
}

TEST_F(SessionTest, AKeyCannotExtendItsSession) {
  // A longer-lived head keeps the passes from reaching the session.
  keep.AddToMap(Session("head", 100000), nullptr);
  std::string key = KeyText("s", 100, kStart);
  keep.GetSessionIdFromSessionKey(key.c_str());
  clock.To(kStart + 101);
  // The key claims a fresh access and a longer time-out: the manager's own
  // last access and time-out decide.
  std::string claim = KeyText("s", 100000, kStart + 101);
  EXPECT_EQ(std::string(keep.GetSessionIdFromSessionKey(claim.c_str())), "s");
  EXPECT_EQ(keep.Sessions(), 1);
  EXPECT_EQ(keep.removed, Keys{"s"});
}

TEST_F(SessionTest, ADamagedKeyThrowsAndFilesNothing) {
  std::string key = KeyText("s", 100, kStart);
  key[0] = 't';
  auto t = kctest::catchKErr([&] { keep.GetSessionIdFromSessionKey(key.c_str()); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(keep.Sessions(), 0);
}

TEST_F(SessionTest, PrefetchAsksOnlyForWhatADictionaryLacks) {
  auto langs = std::vector<unsigned long>(8, 1033);
  KDdDict dict(&keep);
  dict.InitializeComponents("p", langs.data());
  keep.PrefetchMetadata(&dict);
  ASSERT_EQ(keep.requests.size(), 1u);
  EXPECT_EQ(keep.requests[0], (Keys{"0", "us-en", "USD", "PST", "PST"}));
  auto* table = new KDdTable("t0", "", "", 0, 0);
  dict.GetDataDictCompnt()->AddTable(table);
  dict.GetCurrencyCompnt()->AddCurrency(new KDdCurrency(1, "USD", "$", "US dollar", 1, 1.0f, "USD", 2, 0));
  keep.PrefetchMetadata(&dict);
  ASSERT_EQ(keep.requests.size(), 2u);
  EXPECT_EQ(keep.requests[1], (Keys{"us-en", "PST", "PST"}));
}

TEST_F(SessionTest, TerminateEmptiesBothMaps) {
  keep.AddToMap(Session("a", 10), User("a"));
  keep.AddToMap(Session("b", 0), User("b"));
  keep.Terminate();
  EXPECT_EQ(keep.Sessions(), 0);
  EXPECT_EQ(keep.Users(), 0);
  EXPECT_TRUE(keep.Queue().empty());
  EXPECT_EQ(keep.m_pDict, nullptr);
  // The empty variant lives on while managers do.
  EXPECT_NE(KVariant::m_pEmpty, nullptr);
}

TEST_F(SessionTest, DestroyingAManagerFreesItsSessions) {
  long* counter = KCompleteErr::GetDiagCounterPtr(BO_DIAG_SESSION_CONTEXT, nullptr);
  const long before = *counter;
  {
    botest::MgrDouble plain(&config);
    plain.Initialize();
    plain.AddToMap(Session("a", 10), User("a"));
    plain.AddToMap(Session("b", 0), nullptr);
    EXPECT_EQ(*counter, before + 2);
  }
  EXPECT_EQ(*counter, before);
}
