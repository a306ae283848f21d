// Currencies: the record in its two forms and the component's find, add,
// indexed access, fetch on miss and cache body.
#include <chrono>
#include <cmath>
#include <thread>

#include "bo/bo_currency.h"
#include "bo_compnt_fixture.h"
#include "bohost_msg.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

KDdCurrency* currency(long id, const char* name, float rate = 1.0f) {
  return new KDdCurrency(id, name, "$", "dollar", 1, rate, "840", 2, 5);
}

std::string nameOf(IDdCurrency* c) { return c ? static_cast<const char*>(c->GetName()) : "<null>"; }

class CurrencyTest : public CompntTest {
 protected:
  KDdCurrencyCompnt compnt{1033, &mgr};
};

TEST_F(CurrencyTest, RepeatedIdIsDroppedAndCaseOnlyNamesAreTwoRecords) {
  compnt.AddCurrency(currency(1, "USD"));
  compnt.AddCurrency(currency(1, "EUR")); // deleted by the add
  EXPECT_EQ(compnt.GetCurrencyCount(), 1);
  EXPECT_EQ(nameOf(compnt.FindCurrency(nullptr, 1, 1)), "USD");
  EXPECT_EQ(compnt.FindCurrency(nullptr, "EUR", 1), nullptr);

  compnt.AddCurrency(currency(2, "usd"));
  EXPECT_EQ(compnt.GetCurrencyCount(), 2);
  EXPECT_EQ(compnt.FindCurrency(nullptr, "USD", 1)->GetId(), 2);
  EXPECT_EQ(compnt.FindCurrency(nullptr, "uSd", 1)->GetId(), 2);
  EXPECT_EQ(nameOf(compnt.FindCurrency(nullptr, 1, 1)), "USD");
  EXPECT_EQ(nameOf(compnt.FindCurrency(nullptr, 2, 1)), "usd");
  EXPECT_EQ(mgr.fetches, 0);
}

TEST_F(CurrencyTest, IndexedAccessIsLocalAndBounded) {
  compnt.AddCurrency(currency(4, "GBP"));
  EXPECT_EQ(nameOf(compnt.GetCurrency(0, 1)), "GBP");
  for (int index : {1, 2, -1, -100}) EXPECT_EQ(compnt.GetCurrency(index, 1), nullptr) << index;
  for (int index : {0, 5, -1}) {
    kctest::Thrown t = kctest::catchKErr([&] { compnt.GetCurrency(index, 0); });
    EXPECT_TRUE(t.thrown);
    EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
    EXPECT_EQ(t.method, "KDdCurrencyCompnt::GetTable");
    EXPECT_TRUE(t.params.empty());
  }
}

// Local-only look-ups never fetch; a miss fetches once with the key as
// given, then looks again locally.
TEST_F(CurrencyTest, FetchOnMissByNameAndById) {
  EXPECT_EQ(compnt.FindCurrency(nullptr, "USD", 1), nullptr);
  EXPECT_EQ(compnt.FindCurrency(nullptr, 8, 1), nullptr);
  EXPECT_EQ(mgr.fetches, 0);

  mgr.loader = [&](KDdBulkRequest*) { compnt.AddCurrency(currency(8, "CHF")); };
  EXPECT_EQ(nameOf(compnt.FindCurrency(nullptr, "ChF", 0)), "CHF");
  ASSERT_EQ(mgr.fetches, 1);
  EXPECT_EQ(mgr.asked[0].currencies, std::vector<std::string>{"ChF"});
  EXPECT_EQ(nameOf(compnt.FindCurrency(nullptr, "chf", 0)), "CHF");
  EXPECT_EQ(mgr.fetches, 1);

  mgr.loader = nullptr; // the server has no such currency
  EXPECT_EQ(compnt.FindCurrency(nullptr, 77, 0), nullptr);
  ASSERT_EQ(mgr.fetches, 2);
  EXPECT_EQ(mgr.asked[1].currencyIds, std::vector<long>{77});
  EXPECT_TRUE(mgr.asked[1].currencies.empty());
}

TEST_F(CurrencyTest, FetchErrorPassesToTheCaller) {
  mgr.loader = [](KDdBulkRequest*) { throw new KErr(KERR_INTERNAL, "Host::Fetch"); };
  kctest::Thrown t = kctest::catchKErr([&] { compnt.FindCurrency(nullptr, "USD", 0); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(t.method, "Host::Fetch");
}

// Both threads miss, both fetch, both add: the first record is kept and the
// second deleted by the add.
TEST_F(CurrencyTest, TwoThreadsFetchingOneCurrencyKeepOne) {
  std::atomic<int> inFetch{0};
  mgr.loader = [&](KDdBulkRequest*) {
    ++inFetch;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (inFetch < 2 && std::chrono::steady_clock::now() < until) std::this_thread::yield();
    compnt.AddCurrency(currency(3, "SEK"));
  };
  IDdCurrency* found[2] = {};
  std::thread a([&] { found[0] = compnt.FindCurrency(nullptr, "SEK", 0); });
  std::thread b([&] { found[1] = compnt.FindCurrency(nullptr, "SEK", 0); });
  a.join();
  b.join();
  EXPECT_EQ(mgr.fetches, 2);
  EXPECT_EQ(compnt.GetCurrencyCount(), 1);
  EXPECT_NE(found[0], nullptr);
  EXPECT_EQ(found[0], found[1]);
}

TEST(Currency, RateCrossesAMessageTruncatedAndAnArchiveExactly) {
  struct Case {
    float rate;
    float overMessage;
  } cases[] = {{-2.5f, -2.0f}, {1.75f, 1.0f}, {0.5f, 0.0f}, {-0.99f, 0.0f}, {2147483520.0f, 2147483520.0f}};
  for (const Case& c : cases) {
    KDdCurrency sent(12, "USD", "$", "US dollar", 1, c.rate, "840", 2, 3);
    KHostMsg msg;
    sent.Write(msg);
    KDdCurrency got(msg);
    EXPECT_EQ(got.GetConvRate(), c.overMessage) << c.rate;
    KDdCurrency expected(sent);
    EXPECT_EQ(expected == sent, 1);
    expected = KDdCurrency(12, "USD", "$", "US dollar", 1, c.overMessage, "840", 2, 3);
    EXPECT_EQ(got == expected, 1) << c.rate;
  }
}

TEST(Currency, RateOutsideThirtyTwoBitsOrNotANumberIsRefusedOnWriting) {
  for (float rate : {3.0e9f, -3.0e9f, std::nanf(""), INFINITY}) {
    KDdCurrency c(1, "X", "", "", 0, rate, "", 0, 0);
    KHostMsg msg;
    kctest::Thrown t = kctest::catchKErr([&] { c.Write(msg); });
    EXPECT_TRUE(t.thrown) << rate;
    EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
    EXPECT_TRUE(msg.Bytes().empty());
  }
}

TEST(Currency, EqualityComparesEveryFieldCaseSensitively) {
  KDdCurrency base(1, "USD", "$", "d", 1, 1.5f, "840", 2, 3);
  KDdCurrency variants[] = {
      {2, "USD", "$", "d", 1, 1.5f, "840", 2, 3}, {1, "usd", "$", "d", 1, 1.5f, "840", 2, 3},
      {1, "USD", "#", "d", 1, 1.5f, "840", 2, 3}, {1, "USD", "$", "D", 1, 1.5f, "840", 2, 3},
      {1, "USD", "$", "d", 0, 1.5f, "840", 2, 3}, {1, "USD", "$", "d", 1, 1.25f, "840", 2, 3},
      {1, "USD", "$", "d", 1, 1.5f, "841", 2, 3}, {1, "USD", "$", "d", 1, 1.5f, "840", 4, 3},
      {1, "USD", "$", "d", 1, 1.5f, "840", 2, 0},
  };
  for (const KDdCurrency& v : variants) EXPECT_EQ(base == v, 0) << v.GetId() << " " << nameOf(const_cast<KDdCurrency*>(&v));
  KDdCurrency copy;
  copy = base;
  EXPECT_EQ(copy == base, 1);
}

TEST_F(CurrencyTest, CacheBodyKeepsRatesExactlyAndDropsRepeatedIds) {
  compnt.AddCurrency(currency(1, "USD", -2.5f));
  compnt.AddCurrency(currency(2, "EUR", 0.1f));
  std::string body = StoredBody(compnt);
  KDdCurrencyCompnt loaded(1033, &mgr);
  ASSERT_EQ(LoadBody(loaded, body), 1);
  ASSERT_EQ(loaded.GetCurrencyCount(), 2);
  EXPECT_EQ(loaded.GetCurrency(0, 1)->GetConvRate(), -2.5f);
  EXPECT_EQ(loaded.GetCurrency(1, 1)->GetConvRate(), 0.1f);
  EXPECT_EQ(*static_cast<KDdCurrency*>(loaded.GetCurrency(1, 1)) == *static_cast<KDdCurrency*>(compnt.GetCurrency(1, 1)), 1);

  // The first record of the stored body again, count raised to three.
  std::string repeated = Word(3) + body.substr(4) + body.substr(4, (body.size() - 4) / 2);
  KDdCurrencyCompnt again(1033, &mgr);
  ASSERT_EQ(LoadBody(again, repeated), 1);
  EXPECT_EQ(again.GetCurrencyCount(), 2);

  for (uint32_t count : {0u, 0x80000000u}) {
    KDdCurrencyCompnt empty(1033, &mgr);
    EXPECT_EQ(LoadBody(empty, Word(count)), 1);
    EXPECT_EQ(empty.GetCurrencyCount(), 0);
  }
}

TEST(Currency, ArchiveObjectReadingMakesACurrency) {
  KRuntimeClass* cls = KRUNTIME_CLASS(KDdCurrency);
  EXPECT_STREQ(cls->m_lpszClassName, "KDdCurrency");
  EXPECT_EQ(cls->m_wSchema, 1u);
  KObject* made = cls->CreateObject();
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf(KRUNTIME_CLASS(KDdCurrency)));
  delete made;
}

} // namespace
