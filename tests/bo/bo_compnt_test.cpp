// The component base: reference counts, cache-file names, and the cache
// file's header, body and failure handling.
#include <sys/stat.h>

#include <dirent.h>

#include <cstring>
#include <fstream>

#include "bo/bo_currency.h"
#include "bo_compnt_fixture.h"

using namespace KCLASSIC;
using namespace botest;

namespace {

// A component of any kind whose body is a few words; it can fail after
// writing half of them, and tells when it is deleted.
class Probe : public KDdComponent {
 public:
  Probe(enumDicCmpnt kind, KSessionMgr* mgr, bool* deleted = nullptr)
      : KDdComponent(kind, 1033, mgr), m_deleted(deleted) {}
  ~Probe() override {
    if (m_deleted) *m_deleted = true;
  }
  void DeleteContents() override { ++cleared; }
  void Serialize(KArchive& ar) override {
    if (!ar.IsStoring()) return;
    ar.Put32(1).Put32(2);
    if (failHalfway) throw new KErr(KERR_INTERNAL, "Probe::Serialize");
    ar.Put32(3);
  }
  int cleared = 0;
  bool failHalfway = false;

 private:
  bool* m_deleted;
};

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// Names in the directory.
std::vector<std::string> entries(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d))
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
  closedir(d);
  return names;
}

KDdCurrency* currency(long id, const char* name, float rate = 1.5f) {
  return new KDdCurrency(id, name, "$", "dollar", 0, rate, "840", 2, 0);
}

TEST(CompntNames, RowsCarryTheCacheFlagThenTheName) {
  const char* expected[] = {"YDataDict", "YStrings", "YChoiceTables", "NUserChoiceLists",
                            "YCurrency", "YTimeZone", "YDayLight",     "YLocale"};
  for (int kind = 0; kind < BO_DIC_COMPNT_COUNT; ++kind) EXPECT_STREQ(g_DicCompntNames[kind], expected[kind]);
}

TEST_F(CompntTest, CacheFileNameJoinsDirectoryManagerAndComponentName) {
  struct Case {
    enumDicCmpnt kind;
    const char* file;
  } cases[] = {{eDicDataDict, "prod_DataDict.Cache"}, {eDicCurrency, "prod_Currency.Cache"},
               {eDicTimeZone, "prod_TimeZone.Cache"}, {eDicDayLight, "prod_DayLight.Cache"},
               {eDicLocale, "prod_Locale.Cache"}};
  for (const Case& c : cases) {
    Probe probe(c.kind, &mgr);
    KZString name;
    probe.GetCacheFileName(name);
    EXPECT_EQ(std::string(name), dir.file(c.file));
  }
}

TEST_F(CompntTest, ReleaseDeletesAtZeroAndReportsTheCountOtherwise) {
  bool deleted = false;
  auto* probe = new Probe(eDicCurrency, &mgr, &deleted);
  EXPECT_EQ(probe->AddRef(), 1);
  EXPECT_EQ(probe->AddRef(), 2);
  EXPECT_EQ(probe->AddRef(), 3);
  EXPECT_EQ(probe->Release(), 2);
  EXPECT_EQ(probe->Release(), 1);
  EXPECT_FALSE(deleted);
  EXPECT_EQ(probe->Release(), 0);
  EXPECT_TRUE(deleted);
}

TEST_F(CompntTest, HeaderBytesAndBodyOfAnEmptyComponent) {
  KDdCurrencyCompnt compnt(1033, &mgr);
  KZString log;
  ASSERT_EQ(compnt.WriteCacheFile(log), 1);
  std::string file = CacheFile("Currency");
  EXPECT_EQ(readFile(file), HeaderBytes(7, 1200, 3, "Cust-9.1", "prod", "host", "orbis") + Word(0));
  EXPECT_EQ(std::string(log), " Written successfully to file " + file + ". \r\n");
}

TEST_F(CompntTest, WrittenComponentReadsBackInOrderAndClearsModified) {
  KDdCurrencyCompnt written(1033, &mgr);
  written.AddCurrency(currency(3, "USD", 1.0f));
  written.AddCurrency(currency(1, "EUR", 0.925f));
  EXPECT_EQ(written.IsModified(), 1);
  KZString log;
  ASSERT_EQ(written.WriteCacheFile(log), 1);
  EXPECT_EQ(written.IsModified(), 1); // writing leaves the flag

  KDdCurrencyCompnt read(1033, &mgr);
  KZString readLog;
  ASSERT_EQ(read.ReadCacheFile(readLog), 1);
  EXPECT_EQ(std::string(readLog), " Read successfully from file " + CacheFile("Currency") + ". \r\n");
  EXPECT_EQ(read.IsModified(), 0);
  ASSERT_EQ(read.GetCurrencyCount(), 2);
  EXPECT_EQ(read.GetCurrency(0, 1)->GetId(), 3);
  EXPECT_EQ(read.GetCurrency(1, 1)->GetConvRate(), 0.925f);
  EXPECT_EQ(std::string(read.GetCurrency(1, 1)->GetName()), "EUR");
}

TEST_F(CompntTest, MissingFileReadsAsSuccessWithoutAMessage) {
  KDdCurrencyCompnt compnt(1033, &mgr);
  compnt.AddCurrency(currency(1, "USD"));
  KZString log;
  EXPECT_EQ(compnt.ReadCacheFile(log), 1);
  EXPECT_TRUE(log.IsEmpty());
  EXPECT_EQ(compnt.IsModified(), 0);
  EXPECT_EQ(compnt.GetCurrencyCount(), 1);
}

// Headers of another database are mismatches (file deleted, 1); identity
// texts differing only in case are the same database.
TEST_F(CompntTest, HeaderChecksMarkerNumbersAndTextsIgnoringTheirCase) {
  struct Case {
    const char* what;
    unsigned marker;
    long n1, n2, n3;
    const char *t1, *t2, *t3, *t4;
    bool accepted;
  } cases[] = {
      {"same", 57, 7, 1200, 3, "Cust-9.1", "prod", "host", "orbis", true},
      {"texts in other case", 57, 7, 1200, 3, "CUST-9.1", "PROD", "Host", "ORBIS", true},
      {"marker 56", 56, 7, 1200, 3, "Cust-9.1", "prod", "host", "orbis", false},
      {"marker 58", 58, 7, 1200, 3, "Cust-9.1", "prod", "host", "orbis", false},
      {"number 1", 57, 8, 1200, 3, "Cust-9.1", "prod", "host", "orbis", false},
      {"schema version", 57, 7, 1201, 3, "Cust-9.1", "prod", "host", "orbis", false},
      {"number 3", 57, 7, 1200, 4, "Cust-9.1", "prod", "host", "orbis", false},
      {"customer version", 57, 7, 1200, 3, "Cust-9.2", "prod", "host", "orbis", false},
      {"text 2", 57, 7, 1200, 3, "Cust-9.1", "prodx", "host", "orbis", false},
      {"text 3", 57, 7, 1200, 3, "Cust-9.1", "prod", "hosts", "orbis", false},
      {"text 4", 57, 7, 1200, 3, "Cust-9.1", "prod", "host", "", false},
  };
  std::string file = CacheFile("Currency");
  std::string body = Word(1) + Word(5) + ArString("GBP") + ArString("L") + ArString("pound") + Word(0) +
                     Word(0x3F800000) + ArString("826") + Word(2) + Word(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dir.write("prod_Currency.Cache", HeaderBytes(c.n1, c.n2, c.n3, c.t1, c.t2, c.t3, c.t4, c.marker) + body);
    KDdCurrencyCompnt compnt(1033, &mgr);
    KZString log;
    EXPECT_EQ(compnt.ReadCacheFile(log), 1);
    EXPECT_EQ(compnt.IsModified(), 0);
    if (c.accepted) {
      EXPECT_EQ(compnt.GetCurrencyCount(), 1);
      EXPECT_TRUE(exists(file));
    } else {
      EXPECT_EQ(std::string(log), "Version mismatch while reading " + file + ". \r\n");
      EXPECT_EQ(compnt.GetCurrencyCount(), 0);
      EXPECT_FALSE(exists(file));
    }
  }
}

TEST_F(CompntTest, BodyCutShortEmptiesTheComponentAndKeepsTheFile) {
  KDdCurrencyCompnt written(1033, &mgr);
  written.AddCurrency(currency(1, "USD"));
  written.AddCurrency(currency(2, "EUR"));
  KZString log;
  ASSERT_EQ(written.WriteCacheFile(log), 1);
  std::string file = CacheFile("Currency");
  std::string whole = readFile(file);
  dir.write("prod_Currency.Cache", whole.substr(0, whole.size() - 6));

  KDdCurrencyCompnt read(1033, &mgr);
  read.AddCurrency(currency(9, "JPY"));
  KZString readLog;
  EXPECT_EQ(read.ReadCacheFile(readLog), 0);
  EXPECT_EQ(std::string(readLog), "Exception occurred while reading " + file + ". \r\n");
  EXPECT_EQ(read.GetCurrencyCount(), 0);
  EXPECT_EQ(read.IsModified(), 0);
  EXPECT_TRUE(exists(file));
}

TEST_F(CompntTest, TwoWritesLeaveOneHeaderAndOneBody) {
  KDdCurrencyCompnt compnt(1033, &mgr);
  compnt.AddCurrency(currency(1, "USD"));
  KZString log;
  ASSERT_EQ(compnt.WriteCacheFile(log), 1);
  std::string once = readFile(CacheFile("Currency"));
  ASSERT_EQ(compnt.WriteCacheFile(log), 1);
  EXPECT_EQ(readFile(CacheFile("Currency")), once);
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"prod_Currency.Cache"});
}

TEST_F(CompntTest, WriteFailingHalfwayKeepsTheOldFile) {
  Probe probe(eDicCurrency, &mgr);
  KZString log;
  ASSERT_EQ(probe.WriteCacheFile(log), 1);
  std::string file = CacheFile("Currency");
  std::string good = readFile(file);
  EXPECT_EQ(good.size(), HeaderBytes(7, 1200, 3, "Cust-9.1", "prod", "host", "orbis").size() + 12);

  probe.failHalfway = true;
  KZString failLog;
  EXPECT_EQ(probe.WriteCacheFile(failLog), 0);
  EXPECT_EQ(std::string(failLog), "Exception occurred while writing " + file + ". \r\n");
  EXPECT_EQ(readFile(file), good);
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"prod_Currency.Cache"});
}

TEST_F(CompntTest, UnwritableDirectoryGivesZeroAndItsLine) {
  config.m_strCacheDir = dir.file("missing").c_str();
  KDdCurrencyCompnt compnt(1033, &mgr);
  KZString log;
  EXPECT_EQ(compnt.WriteCacheFile(log), 0);
  EXPECT_EQ(std::string(log), "Exception occurred while writing " + dir.file("missing/prod_Currency.Cache") + ". \r\n");
}

// A manager name that would leave the cache directory makes no file.
TEST_F(CompntTest, ManagerNameLeavingTheDirectoryMakesNoFile) {
  for (const char* name : {"..", ".", "../up", "a/b"}) {
    SCOPED_TRACE(name);
    mgr.SetIdentity(7, 1200, 3, "Cust-9.1", name, "host", "orbis");
    KDdCurrencyCompnt compnt(1033, &mgr);
    compnt.AddCurrency(currency(1, "USD"));
    KZString log;
    EXPECT_EQ(compnt.WriteCacheFile(log), 0);
    EXPECT_TRUE(entries(dir.path()).empty());
    EXPECT_EQ(compnt.ReadCacheFile(log), 1);
    EXPECT_EQ(compnt.GetCurrencyCount(), 1);
  }
  EXPECT_FALSE(exists(dir.path() + "/.._Currency.Cache"));
  EXPECT_FALSE(exists(dir.path() + "/../up_Currency.Cache"));
}

TEST_F(CompntTest, KindWithoutCacheFileNeitherWritesNorReads) {
  Probe probe(eDicUserChoiceLists, &mgr);
  probe.SetModified(1);
  KZString log;
  EXPECT_EQ(probe.WriteCacheFile(log), 1);
  EXPECT_EQ(probe.ReadCacheFile(log), 1);
  EXPECT_EQ(probe.IsModified(), 1);
  EXPECT_TRUE(log.IsEmpty());
  EXPECT_TRUE(entries(dir.path()).empty());
}

} // namespace
