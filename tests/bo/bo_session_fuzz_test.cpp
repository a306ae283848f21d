// Seeded damage: requests answered by the host's server side and session
// texts read back; every damaged input ends in a KErr (or a sound result),
// never a fault, and nothing leaks (the sanitizer build checks).
#include <random>
#include <string>

#include "bo/bo_bulkreq.h"
#include "bo/bo_session.h"
#include "bo_compnt_fixture.h"
#include "bo_mdserver_fixture.h"
#include "bohost_mgr.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;

namespace {

constexpr unsigned kSeed = 20261211;
constexpr int kRounds = 400;

std::string AsString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
std::vector<uint8_t> AsBytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

} // namespace

TEST(SessionFuzz, DamagedRequestsGetAnAnswerOrAnError) {
  kctest::startLocales();
  botest::Client server("", "", "server");
  server.mgr->MakeComponents();
  botest::Client asker("", "", "asker");
  KDdBulkRequest request(asker.dict.get());
  request.AddTableRequest(7);
  request.AddTableRequest(KZString("Acct"));
  request.AddCurrencyRequest("USD");
  request.AddTimezoneRequest("PST");
  request.AddLocaleRequest("enus");
  request.m_arrStringIds.Add(5UL);
  KHostMsg good;
  request.Write(good);
  std::mt19937 rng(kSeed);
  int answered = 0, refused = 0;
  for (int round = 0; round < kRounds; ++round) {
    KHostMsg damaged(AsBytes(botest::Damage(AsString(good.Bytes()), rng)));
    KHostMsg answer = bohost_answer(*server.mgr, damaged);
    long status = -1;
    answer.ReadLong(status);
    (status == BOHOST_ANSWER_OK ? answered : refused)++;
    if (status != BOHOST_ANSWER_OK) {
      KHostMsg copy(answer.Bytes());
      EXPECT_TRUE(kctest::catchKErr([&] { bohost_load_answer(copy, asker.dict.get()); }).thrown);
    }
  }
  EXPECT_GT(refused, 0);
  // The undamaged request is answered.
  KHostMsg again(good.Bytes());
  KHostMsg answer = bohost_answer(*server.mgr, again);
  long status = -1;
  answer.ReadLong(status);
  EXPECT_EQ(status, BOHOST_ANSWER_OK);
}

TEST(SessionFuzz, DamagedSessionTextsThrowOrReadWhole) {
  kctest::startLocales();
  KUtlSessionContext source("fuzz-key", 11, 22, 33, "");
  source.SetTextX("x");
  source.SetTimeout(600);
  char* text = source.Serialize();
  const std::string good(text);
  KBinSysFreeString(text);
  std::mt19937 rng(kSeed);
  int refused = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::string damaged = botest::Damage(good, rng);
    damaged = damaged.substr(0, damaged.find('\0'));
    KUtlSessionContext target("target", 1, 2, 3, "");
    auto t = kctest::catchKErr([&] { target.DeSerialize(damaged.c_str()); });
    if (t.thrown) {
      ++refused;
      EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
      EXPECT_EQ(std::string(target.GetSessionKey()), "target");
    } else {
      // Read whole: the text it reads writes itself back the same way.
      char* back = target.Serialize();
      KUtlSessionContext copy(back);
      char* twice = copy.Serialize();
      EXPECT_STREQ(back, twice);
      KBinSysFreeString(back);
      KBinSysFreeString(twice);
    }
  }
  EXPECT_GT(refused, kRounds / 2);
}
