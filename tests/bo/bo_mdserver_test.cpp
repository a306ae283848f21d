// The metadata server as a child process: fetch on miss of every cached
// kind, prefetch, strings with each defaulting, a second server forwarding
// to the first, the server's error on the client, a killed server, and
// SIGTERM. Each test builds its cache directory with the library.
#include <sys/stat.h>

#include <string>

#include "bo/bo_choicetbl.h"
#include "bo/bo_userlist.h"
#include "bo_mdserver_fixture.h"
#include "kclassic/kc_testerr.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

long CrmId(long subsys, long index) { return (subsys << 20) + index; }

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

} // namespace

TEST_F(MdServerTest, EveryCachedKindIsFetchedOnAMissAndThenFoundLocally) {
  BuildCache(cache);
  ServerProcess server;
  StartServer(server, socketA);
  Client client(socketA, dir.file("client"), "sess1");
  KDdDict& d = *client.dict;
  KZString status("Status"), locale("enus");
  struct Kind {
    const char* name;
    std::function<bool()> find;
  } kinds[] = {
      {"table by id", [&] { return d.FindTable(2000, 0) != nullptr; }},
      {"table by name", [&] { return d.FindTable(KZString("SITE"), 0) != nullptr; }},
      {"view", [&] { return d.FindTable(2002, 0) != nullptr; }},
      {"choice table", [&] { return d.FindChoiceTable(1033, status, 0) != nullptr; }},
      {"string by id", [&] { return d.FindString(1033, CrmId(5, 3), 0) != nullptr; }},
      {"string by key", [&] { return d.FindString(1033, KZString("GREET"), 0) != nullptr; }},
      {"currency", [&] { return d.FindCurrency(KZString("usd"), 0) != nullptr; }},
      {"time zone", [&] { return d.FindTimezone(KZString("PST"), 0) != nullptr; }},
      {"daylight", [&] { return d.FindDaylight(KZString("PST"), 2004, 0) != nullptr; }},
      {"locale", [&] { return d.FindLocale(locale, 0) != nullptr; }},
  };
  for (auto& kind : kinds) {
    int before = client.mgr->Fetches();
    EXPECT_TRUE(kind.find()) << kind.name << "\n" << ServerLog(socketA);
    int after = client.mgr->Fetches();
    EXPECT_LE(after - before, 1) << kind.name;
    EXPECT_TRUE(kind.find()) << kind.name;
    EXPECT_EQ(client.mgr->Fetches(), after) << kind.name << ": found locally the second time";
  }
  // The table came whole: its fields and relation with it.
  IDdTable* acct = d.FindTable(2000, 1);
  ASSERT_NE(acct, nullptr);
  EXPECT_NE(acct->FindField(KZString("name")), nullptr);
  EXPECT_NE(acct->FindRelation(&d, KZString("site")), nullptr);
  // What the server does not have stays missing; business-object
  // descriptors are not kept in the cache files, so a server started on
  // them has none.
  EXPECT_EQ(d.FindTable(4321, 0), nullptr);
  EXPECT_EQ(d.FindCurrency(KZString("XYZ"), 0), nullptr);
  const int fetches = client.mgr->Fetches();
  EXPECT_EQ(d.FindBusObj(7, 0), nullptr);
  EXPECT_EQ(client.mgr->Fetches(), fetches + 1);
  EXPECT_EQ(server.Stop(), 0);
}

TEST_F(MdServerTest, PrefetchFillsANewDictionaryInOneRequest) {
  BuildCache(cache);
  ServerProcess server;
  StartServer(server, socketA);
  Client client(socketA, dir.file("client"), "fresh");
  client.mgr->PrefetchMetadata(client.dict.get());
  EXPECT_EQ(client.mgr->Fetches(), 1);
  EXPECT_NE(client.dict->FindTable(0, 1), nullptr);
  EXPECT_NE(client.dict->FindCurrency(KZString("USD"), 1), nullptr);
  EXPECT_NE(client.dict->FindTimezone(KZString("PST"), 1), nullptr);
  EXPECT_NE(client.dict->FindDaylight(KZString("PST"), 2004, 1), nullptr);
  // Asked for a locale, the server answers all it has.
  EXPECT_EQ(client.dict->GetLocaleCount(), 1);
  // Nothing is lacking any more: no second request.
  client.mgr->PrefetchMetadata(client.dict.get());
  EXPECT_EQ(client.mgr->Fetches(), 1);
}

TEST_F(MdServerTest, StringsWithEachDefaulting) {
  BuildCache(cache);
  ServerProcess server;
  StartServer(server, socketA);
  Client client(socketA, dir.file("client"), "strings");
  KDdDict& d = *client.dict;
  // Same primary language as 2057.
  KZString* text = d.FindString(3081, CrmId(5, 1), 0);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(*text, "colour");
  // Only the default language holds it.
  text = d.FindString(1036, CrmId(5, 2), 0);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(*text, "default");
  // Nobody holds it: null and the client's "SystemError" line.
  EXPECT_EQ(d.FindString(1033, CrmId(5, 9), 0), nullptr);
  auto log = client.mgr->LogLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().first, "SystemError");
  EXPECT_EQ(log.back().second, "Failed to find string. StringId = " + std::to_string(CrmId(5, 9)) + ", LocaleId=1033.");
}

TEST_F(MdServerTest, ASecondServerForwardsItsMissesAndKeepsTheAnswers) {
  BuildCache(cache);
  ServerProcess first, second;
  StartServer(first, socketA);
  std::string emptyCache = dir.file("empty");
  mkdir(emptyCache.c_str(), 0755);
  StartServer(second, socketB, socketA, emptyCache);
  {
    Client client(socketB, dir.file("client"), "through");
    EXPECT_NE(client.dict->FindTable(2000, 0), nullptr) << ServerLog(socketB);
    EXPECT_NE(client.dict->FindCurrency(KZString("USD"), 0), nullptr);
  }
  // The first server gone, the second still answers what it forwarded.
  EXPECT_EQ(first.Stop(), 0);
  Client later(socketB, dir.file("client2"), "later");
  EXPECT_NE(later.dict->FindTable(2000, 0), nullptr);
  // A miss it cannot forward any more fails on the client as the second
  // server's error.
  auto t = kctest::catchKErr([&] { later.dict->FindTable(2001, 0); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(t.method, "bohost_stream_connect");
  EXPECT_EQ(second.Stop(), 0);
}

TEST_F(MdServerTest, TheServersErrorReachesTheClientAsItsKErr) {
  BuildCache(cache);
  ServerProcess server;
  StartServer(server, socketA);
  // A session key holding ':' is refused by the server.
  Client client(socketA, dir.file("client"), "bad:key");
  auto t = kctest::catchKErr([&] { client.dict->FindTable(2000, 0); });
  ASSERT_TRUE(t.thrown);
  EXPECT_EQ(t.id, KERR_ILLEGAL_ARGUMENT);
  EXPECT_EQ(t.method, "KUtlSessionContext::KUtlSessionContext");
  EXPECT_EQ(t.params, std::vector<std::string>{"SessionKey"});
  EXPECT_EQ(client.dict->FindTable(2000, 1), nullptr);
  // The server goes on serving.
  Client good(socketA, dir.file("client2"), "good");
  EXPECT_NE(good.dict->FindTable(2000, 0), nullptr);
}

TEST_F(MdServerTest, AKilledServerFailsTheLookUpAndTheNextOneAnswers) {
  BuildCache(cache);
  Client client(socketA, dir.file("client"), "sess1");
  {
    ServerProcess server;
    StartServer(server, socketA);
    ASSERT_NE(client.dict->FindTable(2000, 0), nullptr);
    server.Kill();
  }
  const int tables = client.dict->GetTableCount();
  auto t = kctest::catchKErr([&] { client.dict->FindTable(2001, 0); });
  EXPECT_TRUE(t.thrown);
  EXPECT_EQ(client.dict->GetTableCount(), tables);
  EXPECT_EQ(client.dict->FindTable(2001, 1), nullptr);
  ServerProcess next;
  StartServer(next, socketA);
  EXPECT_NE(client.dict->FindTable(2001, 0), nullptr);
  EXPECT_EQ(next.Stop(), 0);
}

TEST_F(MdServerTest, SigtermStopsTheServerAndRemovesItsSocket) {
  BuildCache(cache);
  ServerProcess server;
  StartServer(server, socketA);
  EXPECT_TRUE(Exists(socketA));
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_FALSE(Exists(socketA));
  std::string log = ServerLog(socketA);
  EXPECT_NE(log.find("listening on"), std::string::npos) << log;
  EXPECT_NE(log.find("stopped"), std::string::npos) << log;
}

TEST_F(MdServerTest, BadArgumentsAndConfigurationsStopTheServer) {
  struct Case {
    const char* what;
    std::string config;
  } cases[] = {{"unknown name", "colour=blue\n"}, {"no equals", "mode\n"}, {"not a number", "mode=one\n"}};
  for (const auto& c : cases) {
    dir.write("bad.conf", c.config);
    ServerProcess server;
    server.Start(socketA, cache, dir.file("bad.conf"), "", dir.file("bad.log"));
    EXPECT_FALSE(server.WaitReady()) << c.what;
  }
  EXPECT_NE(dir.read("bad.log").find("bohost_config_parse"), std::string::npos) << dir.read("bad.log");
}
