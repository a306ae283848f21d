// Damaged cache bodies of every component kind, from a fixed seed: a read
// either succeeds with records that can be walked or fails with the
// component emptied; nothing faults or leaks (the sanitizers watch).
#include <functional>
#include <memory>

#include "bo/bo_currency.h"
#include "bo/bo_daylight.h"
#include "bo/bo_locale.h"
#include "bo/bo_timezone.h"
#include "bo_compnt_fixture.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

constexpr unsigned kSeed = 20261211;
constexpr int kRounds = 300;

struct Kind {
  const char* name;
  std::function<KDdComponent*(KSessionMgr*)> make;
  std::function<void(KDdComponent*)> fill;
  // Walks every record by index; the count.
  std::function<int(KDdComponent*)> walk;
};

template <class C, class R>
int walkAll(C* c, int count, R* (C::*at)(int, int)) {
  for (int i = 0; i < count; ++i) EXPECT_NE((c->*at)(i, 1), nullptr) << i;
  EXPECT_EQ((c->*at)(count, 1), nullptr);
  return count;
}

const Kind kKinds[] = {
    {"currency", [](KSessionMgr* m) -> KDdComponent* { return new KDdCurrencyCompnt(1033, m); },
     [](KDdComponent* c) {
       auto* k = static_cast<KDdCurrencyCompnt*>(c);
       k->AddCurrency(new KDdCurrency(1, "USD", "$", "US dollar", 1, 1.0f, "840", 2, 0));
       k->AddCurrency(new KDdCurrency(2, "EUR", "E", "euro", 0, 0.9f, "978", 2, 0));
     },
     [](KDdComponent* c) {
       auto* k = static_cast<KDdCurrencyCompnt*>(c);
       return walkAll(k, k->GetCurrencyCount(), &KDdCurrencyCompnt::GetCurrency);
     }},
    {"daylight", [](KSessionMgr* m) -> KDdComponent* { return new KDdDaylightCompnt(1033, m); },
     [](KDdComponent* c) {
       auto* k = static_cast<KDdDaylightCompnt*>(c);
       k->AddDaylight(new KDdDaylight(1, "PST", KOleDateTime(2004, 4, 4, 2, 0, 0), KOleDateTime(2004, 10, 31, 2, 0, 0)));
       k->AddDaylight(new KDdDaylight(2, "CET", KOleDateTime(2005, 3, 27, 2, 0, 0), KOleDateTime(2005, 10, 30, 3, 0, 0)));
     },
     [](KDdComponent* c) {
       auto* k = static_cast<KDdDaylightCompnt*>(c);
       return walkAll(k, k->GetDaylightCount(), &KDdDaylightCompnt::GetDaylight);
     }},
    {"locale", [](KSessionMgr* m) -> KDdComponent* { return new KDdLocaleCompnt(1033, m); },
     [](KDdComponent* c) {
       auto* k = static_cast<KDdLocaleCompnt*>(c);
       k->AddLocale(new KDdLocale(1, "us-", "en", 1033, 5, "en_US"));
       k->AddLocale(new KDdLocale(2, "fr-", "fr", 1036, 7, "fr_FR"));
     },
     [](KDdComponent* c) {
       auto* k = static_cast<KDdLocaleCompnt*>(c);
       return walkAll(k, k->GetLocaleCount(), &KDdLocaleCompnt::GetLocale);
     }},
    {"time zone", [](KSessionMgr* m) -> KDdComponent* { return new KDdTimezoneCompnt(1033, m); },
     [](KDdComponent* c) {
       auto* k = static_cast<KDdTimezoneCompnt*>(c);
       k->AddTimezone(new KDdTimezone(1, "PST", "Pacific", -480, 1));
       k->AddTimezone(new KDdTimezone(2, "EST", "Eastern", -300, 0));
     },
     [](KDdComponent* c) {
       auto* k = static_cast<KDdTimezoneCompnt*>(c);
       return walkAll(k, k->GetTimezoneCount(), &KDdTimezoneCompnt::GetTimezone);
     }},
};

class CompntFuzzTest : public CompntTest {};

TEST_F(CompntFuzzTest, DamagedBodiesLoadOrFailCleanly) {
  std::mt19937 rng(kSeed);
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    std::unique_ptr<KDdComponent> source(kind.make(&mgr));
    kind.fill(source.get());
    std::string body = StoredBody(*source);
    int failed = 0;
    for (int round = 0; round < kRounds; ++round) {
      std::unique_ptr<KDdComponent> target(kind.make(&mgr));
      int result = LoadBody(*target, Damage(body, rng));
      int count = kind.walk(target.get());
      if (result == 0) {
        ++failed;
        EXPECT_EQ(count, 0) << "round " << round;
      }
      EXPECT_EQ(target->IsModified(), 0);
    }
    // The damage reaches the reader: some loads fail, not all.
    EXPECT_GT(failed, 0);
    EXPECT_LT(failed, kRounds);
  }
}

} // namespace
