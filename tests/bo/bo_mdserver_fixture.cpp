#include "bo_mdserver_fixture.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <thread>

#include "bo/bo_ddtable.h"
#include "bo/bo_util.h"
#include "bo_choice_fixture.h"
#include "bohost_stream.h"

extern char** environ;

using namespace KCLASSIC;

namespace botest {

namespace {

// A sanitizer build starts slowly on a busy machine.
constexpr auto kReadyLimit = std::chrono::seconds(60);
constexpr auto kReadyStep = std::chrono::milliseconds(50);

std::vector<unsigned long> AllLanguages() { return std::vector<unsigned long>(BO_DIC_COMPNT_COUNT, 1033); }

} // namespace

const char* const kHostConfigText =
    "# identity of the test database\n"
    "default_lang = 1033\n"
    "mode=1\n"
    "ident_num1=7\nident_num2=1200\nident_num3=3\n"
    "ident_text1=Cust-9.1\nident_text2=prod\nident_text3=host\nident_text4=orbis\n";

ServerProcess::~ServerProcess() {
  if (m_pid > 0) Kill();
}

void ServerProcess::Start(const std::string& socket, const std::string& cache, const std::string& config,
                          const std::string& upstream, const std::string& logFile) {
  m_socket = socket;
  std::vector<std::string> args = {ORB_MDSERVER_PATH, "--socket", socket, "--cache", cache, "--config", config};
  if (!upstream.empty()) {
    args.push_back("--upstream");
    args.push_back(upstream);
  }
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  int failed = posix_spawn(&m_pid, ORB_MDSERVER_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) m_pid = -1;
  ASSERT_EQ(failed, 0) << "cannot start " << ORB_MDSERVER_PATH;
}

bool ServerProcess::WaitReady() {
  auto until = std::chrono::steady_clock::now() + kReadyLimit;
  while (std::chrono::steady_clock::now() < until) {
    int status = 0;
    if (m_pid <= 0 || waitpid(m_pid, &status, WNOHANG) == m_pid) {
      m_pid = -1;
      return false;
    }
    try {
      int fd = bohost_stream_connect(m_socket);
      close(fd);
      return true;
    } catch (KErr* e) {
      delete e;
    }
    std::this_thread::sleep_for(kReadyStep);
  }
  return false;
}

int ServerProcess::Stop() {
  if (m_pid <= 0) return -1;
  kill(m_pid, SIGTERM);
  int status = 0;
  waitpid(m_pid, &status, 0);
  m_pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ServerProcess::Kill() {
  if (m_pid <= 0) return;
  kill(m_pid, SIGKILL);
  int status = 0;
  waitpid(m_pid, &status, 0);
  m_pid = -1;
}

Client::Client(const std::string& upstream, const std::string& cacheDir, const char* sessionKey) {
  bohost_config_parse(kHostConfigText, config);
  config.qbo.m_strCacheDir = cacheDir.c_str();
  mgr = std::make_unique<KHostSessionMgr>(&config.qbo, upstream);
  bohost_config_apply(config, *mgr);
  mgr->Initialize();
  auto langs = AllLanguages();
  dict = std::make_unique<KDdDict>(mgr.get());
  dict->InitializeComponents(sessionKey, langs.data());
}

Client::~Client() {
  dict.reset();
  mgr->Terminate();
}

MdServerTest::MdServerTest() {
  cache = dir.file("cache");
  mkdir(cache.c_str(), 0755);
  configFile = dir.file("server.conf");
  dir.write("server.conf", kHostConfigText);
  socketA = dir.file("a.sock");
  socketB = dir.file("b.sock");
}

void MdServerTest::BuildCache(const std::string& cacheDir) {
  Client builder("", cacheDir, "builder");
  KDdDict& d = *builder.dict;
  const KZString none;
  IDdTable* acct = d.CreateTable("Acct", 2000, "Sales", "accounts");
  IDdTable* site = d.CreateTable("Site", 2001, "Sales", "");
  d.CreateTable("Root", 0, "Base", "");
  acct->CreateTableField(&d, "objid", none, 0, 0, -1, -1, 0x9, 512, 3, none, none);
  site->CreateTableField(&d, "objid", none, 0, 0, -1, -1, 0x9, 512, 3, none, none);
  acct->CreateTableField(&d, "name", none, 7, 30, -1, -1, 0x9, 516, -1, none, "the name");
  site->CreateRelation(&d, "accounts", none, 1, -1, 0, 0x20000, "Acct", "site", none, none, none, none);
  IDdTable* view = d.CreateView("AcctView", 2002, "Sales", "");
  view->CreateViewField(&d, "key", none, 3, "Acct", "objid", "", none);
  KDdDataDictCompnt* tables = d.GetDataDictCompnt();
  tables->AddBusObj(new KDdBusObj("Account", 7, 2000, "acct2"));
  tables->AddBusObj(new KDdBusObj("Contact", 8, 2001, ""));
  d.GetChoiceTableCompnt()->AddChoiceTable(SampleTable("Status", "StatusDetail"), 0);
  long s = 0, n = 0;
  d.GetStringCompnt()->AddString(new KDdString(MapOrbnStrId2DbStrId((5 << 20) + 3, s, n), "Hello", "Greet"), 1033);
  d.GetStringCompnt()->AddString(new KDdString(MapOrbnStrId2DbStrId((5 << 20) + 1, s, n), "colour", ""), 2057);
  d.GetStringCompnt()->AddString(new KDdString(MapOrbnStrId2DbStrId((5 << 20) + 2, s, n), "default", ""), 1033);
  d.GetCurrencyCompnt()->AddCurrency(new KDdCurrency(1, "USD", "$", "Dollar", 1, 1.0f, "USD", 2, 0));
  d.GetTimezoneCompnt()->AddTimezone(new KDdTimezone(4, "PST", "Pacific", -480, 0));
  d.GetDaylightCompnt()->AddDaylight(
      new KDdDaylight(9, "PST", KOleDateTime(2004, 4, 1, 2, 0, 0), KOleDateTime(2004, 10, 28, 2, 0, 0)));
  d.GetLocaleCompnt()->AddLocale(new KDdLocale(3, "en", "us", 1033, 1033, "en_US"));
  KZString report;
  ASSERT_EQ(builder.mgr->m_pDict->SaveToCacheFiles(report), 1) << static_cast<const char*>(report);
}

void MdServerTest::StartServer(ServerProcess& server, const std::string& socket, const std::string& upstream,
                               const std::string& cacheDir) {
  server.Start(socket, cacheDir.empty() ? cache : cacheDir, configFile, upstream, dir.file(Base(socket) + ".log"));
  ASSERT_TRUE(server.WaitReady()) << ServerLog(socket);
}

} // namespace botest
