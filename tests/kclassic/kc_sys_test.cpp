// System-call layer: counters under sections from several threads, clocks,
// ids, number and currency formats, path completion, the module file name
// search and the stubs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "kc_testdir.h"
#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_handle.h"
#include "kclassic/kc_sect.h"
#include "kclassic/kc_sys.h"

using namespace KCLASSIC;
using kctest::catchKErr;

namespace {

class SysCalls : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

// Changes one counter from several threads in both directions.
long hammer(KUtlCrSect* section) {
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 20000; ++i) {
        if (t % 2) KInterlockedIncrement(&counter, section);
        else KInterlockedDecrement(&counter, section);
      }
    });
  }
  for (auto& th : threads) th.join();
  return counter;
}

} // namespace

TEST_F(SysCalls, CountersStayExactFromSeveralThreadsBothWays) {
  EXPECT_EQ(hammer(nullptr), 0); // the library's own section serves both directions
  KUtlCrSect own;
  EXPECT_EQ(hammer(&own), 0);
  long c = 5;
  EXPECT_EQ(KInterlockedIncrement(&c), 6);
  EXPECT_EQ(KInterlockedDecrement(&c), 5);
  EXPECT_EQ(c, 5);
}

TEST_F(SysCalls, ClocksAndPerformanceCounter) {
  int64_t a = KGetPerfCounter();
  unsigned long t0 = KGetTickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  int64_t b = KGetPerfCounter();
  unsigned long t1 = KGetTickCount();
  EXPECT_GE(b - a, 20000000); // nanoseconds
  EXPECT_GE(t1 - t0, 19u); // milliseconds
  EXPECT_LE(t1, 0xFFFFFFFFul);
  EXPECT_EQ(KGetPerfCounterFreq(), 1000000000);

  _KLARGE_INTEGER f{}, c{};
  EXPECT_EQ(KQueryPerformanceFrequency(&f), 1);
  EXPECT_EQ(f.HighPart, 0u);
  EXPECT_EQ(f.LowPart, 1000000000u);
  EXPECT_EQ(KQueryPerformanceCounter(&c), 1);
  int64_t after = KGetPerfCounter();
  EXPECT_GE(c.QuadPart(), b); // the counter itself, not the frequency
  EXPECT_LE(c.QuadPart(), after);
}

TEST_F(SysCalls, SystemAndLocalTime) {
  kctest::EnvVar tz("TZ", "EST5");
  ::tzset();
  _KSYSTEMTIME utc{}, local{};
  KGetSystemTime(&utc);
  KGetLocalTime(&local);
  time_t now = ::time(nullptr);
  tm b{};
  ::gmtime_r(&now, &b);
  EXPECT_EQ(utc.wYear, b.tm_year + 1900);
  EXPECT_EQ(utc.wMonth, b.tm_mon + 1);
  EXPECT_LT(utc.wMilliseconds, 1000);
  // Five hours west of UTC (the minute may turn between the two calls).
  int diff = (utc.wHour * 60 + utc.wMinute) - (local.wHour * 60 + local.wMinute);
  diff = (diff + 24 * 60) % (24 * 60);
  EXPECT_NEAR(diff, 300, 1);

  auto e = catchKErr([] { KGetSystemTime(nullptr); });
  EXPECT_EQ(e.id, 0x8B000C9);
  EXPECT_EQ(e.method, "KGetSystemTime");
  EXPECT_EQ(e.params, std::vector<std::string>{"pSystemTime"});
  e = catchKErr([] { KGetLocalTime(nullptr); });
  EXPECT_EQ(e.method, "KGetLocalTime");
  EXPECT_EQ(e.params, std::vector<std::string>{"pLocalTime"});

  long t = 86400;
  tm out{};
  KGmTime(&t, &out);
  EXPECT_EQ(out.tm_mday, 2);
  KGmTime(&t, nullptr); // nothing for a NULL out
}

TEST_F(SysCalls, GuidsDifferAndPrintAsFixedWidthHex) {
  _KGUID a{}, b{};
  EXPECT_EQ(KCoCreateGuid(&a), &a);
  KCoCreateGuid(&b);
  EXPECT_EQ(a.Data[0], uint32_t(::getuid()));
  EXPECT_EQ(a.Data[1], uint32_t(::getpid()));
  EXPECT_EQ(a.Data[2], uint32_t(KGetCurrentThreadId()));
  EXPECT_NE(a.Data[3], b.Data[3]); // a new tick count for each id

  _KGUID g{{0x1, 0xAB, 0x12345678, 0xFFFFFFFF}};
  char buf[40];
  EXPECT_EQ(KStringFromGUID(g, buf, 32), 0); // the text and its NUL need 33
  EXPECT_EQ(KStringFromGUID(g, buf, 33), 33);
  EXPECT_STREQ(buf, "00000001000000AB12345678FFFFFFFF");
  // Words that would run together without the fixed width give other texts.
  _KGUID h{{0x10, 0xAB, 0x12345678, 0xFFFFFFFF}};
  char buf2[40];
  KStringFromGUID(h, buf2, 40);
  EXPECT_STRNE(buf, buf2);

  EXPECT_EQ(catchKErr([] { KCoCreateGuid(nullptr); }).params, std::vector<std::string>{"pguid"});
  EXPECT_EQ(catchKErr([&] { KStringFromGUID(g, nullptr, 40); }).params, std::vector<std::string>{"lpsz"});
}

TEST_F(SysCalls, IdsAndStubs) {
  EXPECT_EQ(KGetCurrentProcessId(), static_cast<unsigned long>(::getpid()));
  unsigned long tid = 0;
  std::thread([&] { tid = KGetCurrentThreadId(); }).join();
  EXPECT_NE(tid, KGetCurrentThreadId());

  char name[256];
  unsigned long size = sizeof name;
  ASSERT_EQ(KGetComputerName(name, &size), 1);
  char expected[256];
  ::gethostname(expected, sizeof expected);
  EXPECT_STREQ(name, expected);
  EXPECT_EQ(size, std::strlen(expected));

  auto e = catchKErr([] { KMultiByteToWideChar(0, 0, "a", 1, nullptr, 0); });
  EXPECT_EQ(e.id, 0x9B00067);
  EXPECT_EQ(e.method, "KMultiByteToWideChar");
  EXPECT_TRUE(e.params.empty());
  e = catchKErr([] { KWideCharToMultiByte(0, 0, L"a", 1, nullptr, 0, nullptr, nullptr); });
  EXPECT_EQ(e.method, "KWideCharToMultiByte");

  EXPECT_EQ(KMessageBox(nullptr, "t", "c", 0), 3);
  EXPECT_EQ(KCreateDirectory("/nonexistent/x", nullptr), 0);
  EXPECT_EQ(InitCrt(), 1);
  EXPECT_EQ(KIsBadReadPtr(nullptr, 4), 1);
  EXPECT_EQ(KIsBadWritePtr(name, 4), 0);
  EXPECT_EQ(KLocalFree(new char[4]), nullptr);
  EXPECT_EQ(ReplaceBackSlash(nullptr), -1);
  char path[] = "a\\b\\c";
  EXPECT_EQ(ReplaceBackSlash(path), 0);
  EXPECT_STREQ(path, "a/b/c");
}

TEST_F(SysCalls, FileTimestamp) {
  kctest::TempDir dir;
  dir.write("f", "x");
  EXPECT_NEAR(double(KGetFileTimestamp(dir.file("f").c_str())), double(::time(nullptr)), 5);
  EXPECT_EQ(KGetFileTimestamp(dir.file("missing").c_str()), 0u);
}

TEST_F(SysCalls, SleepTakesWholeSecondsAtLeastOne) {
  auto t0 = std::chrono::steady_clock::now();
  KSleep(0);
  auto t1 = std::chrono::steady_clock::now();
  KSleep(1500);
  auto t2 = std::chrono::steady_clock::now();
  using std::chrono::milliseconds;
  EXPECT_GE(std::chrono::duration_cast<milliseconds>(t1 - t0).count(), 990);
  EXPECT_LT(std::chrono::duration_cast<milliseconds>(t1 - t0).count(), 1500);
  EXPECT_GE(std::chrono::duration_cast<milliseconds>(t2 - t1).count(), 990);
  EXPECT_LT(std::chrono::duration_cast<milliseconds>(t2 - t1).count(), 1500);
}

namespace {

struct NumCase {
  const char* value;
  uint32_t digits;
  uint32_t grouping;
  const char* dec;
  const char* thou;
  uint32_t negOrder;
  const char* expected;
};

int number(const NumCase& c, char* out, int size = 400, unsigned long locale = 0, uint32_t leadingZero = 1) {
  _knumberfmt f{c.digits, leadingZero, c.grouping, const_cast<char*>(c.dec), const_cast<char*>(c.thou), c.negOrder};
  return KGetNumberFormat(locale, c.value, &f, out, size);
}

} // namespace

TEST_F(SysCalls, NumberFormatTable) {
  const NumCase cases[] = {
      {"-1234.567", 2, 3, ".", ",", 1, "-1,234.57"},
      {"999.996", 2, 3, ".", nullptr, 1, "1000.00"},
      {"999.996", 2, 3, ".", ",", 1, "1,000.00"},
      {".5", 1, 3, ".", ",", 1, "0.5"},
      {"123.4", 0, 3, ".", ",", 1, "123."},
      {"123", 0, 3, ".", ",", 1, "123"},
      {"9.95", 1, 0, ",", ".", 1, "10,0"},
      {".96", 1, 3, ".", ",", 1, "1.0"},
      {"1234567", 2, 3, ".", " ", 1, "1 234 567.00"},
      {"1234567", 0, 2, ".", "'", 1, "1'23'45'67"},
      {"12.3", 4, 3, "::", ",", 1, "12::3000"},
      {"12.3", 4, 3, nullptr, ",", 1, "12"},
      {"-5", 0, 3, ".", ",", 0, "(5)"},
      {"-5", 0, 3, ".", ",", 2, "- 5"},
      {"-5", 0, 3, ".", ",", 3, "5-"},
      {"-5", 0, 3, ".", ",", 4, "5 -"},
      {"-5", 0, 3, ".", ",", 5, "5"},
      {"5", 0, 3, ".", ",", 0, "5"},
  };
  for (const auto& c : cases) {
    char out[400];
    int n = number(c, out);
    EXPECT_STREQ(out, c.expected) << c.value << " order " << c.negOrder;
    EXPECT_EQ(n, int(std::strlen(c.expected))) << c.value;
  }
}

TEST_F(SysCalls, NumberFormatRefusals) {
  NumCase ok{"1.5", 1, 3, ".", ",", 1, ""};
  char out[400];
  EXPECT_EQ(number(ok, out, 323), 0);
  EXPECT_EQ(number(ok, out, 324), 3);
  EXPECT_EQ(number(ok, out, 400, 0x409), 0);
  EXPECT_EQ(number(ok, out, 400, 0, 0), 0);
  NumCase longSep{"1.5", 1, 3, "12345678901234567", ",", 1, ""};
  EXPECT_EQ(number(longSep, out), 0);
  NumCase manyDigits{"1.5", 33, 3, ".", ",", 1, ""};
  EXPECT_EQ(number(manyDigits, out), 0);
  std::string big(133, '1');
  NumCase longValue{big.c_str(), 0, 3, ".", ",", 1, ""};
  EXPECT_EQ(number(longValue, out), 0);
  EXPECT_EQ(KGetNumberFormat(0, "1", nullptr, out, 400), 0);
  // A long value grouped by one digit with a long separator would not fit
  // the least buffer: refused rather than written past it.
  std::string digits(132, '7');
  NumCase wide{digits.c_str(), 0, 1, ".", "################", 1, ""};
  char small[324];
  EXPECT_EQ(number(wide, small, 324), 0);
}

TEST_F(SysCalls, CurrencyFormatEveryOrder) {
  const char* negative[] = {"($1.1)", "-$1.1",  "$-1.1",  "$1.1-",  "(1.1$)",   "-1.1$",    "1.1-$",  "1.1$-",
                            "-1.1 $", "-$ 1.1", "1.1 $-", "$ 1.1-", "$ -1.1", "1.1- $", "($ 1.1)", "(1.1 $)",
                            "1.1"};
  for (uint32_t order = 0; order <= 16; ++order) {
    _kcurrencyfmt f{1, 1, 3, const_cast<char*>("."), const_cast<char*>(","), order, 0, const_cast<char*>("$")};
    char out[400];
    int n = KGetCurrencyFormat(0, "-1.1", &f, out, sizeof out);
    EXPECT_STREQ(out, negative[order]) << order;
    EXPECT_EQ(n, int(std::strlen(negative[order])));
  }
  const char* positive[] = {"$1.1", "1.1$", "$ 1.1", "1.1 $", "1.1"};
  for (uint32_t order = 0; order <= 4; ++order) {
    _kcurrencyfmt f{1, 1, 3, const_cast<char*>("."), const_cast<char*>(","), 0, order, const_cast<char*>("$")};
    char out[400];
    KGetCurrencyFormat(0, "1.1", &f, out, sizeof out);
    EXPECT_STREQ(out, positive[order]) << order;
  }
  _kcurrencyfmt noSymbol{2, 1, 3, const_cast<char*>("."), const_cast<char*>(","), 14, 0, nullptr};
  char out[400];
  KGetCurrencyFormat(0, "-1234.5", &noSymbol, out, sizeof out);
  EXPECT_STREQ(out, "( 1,234.50)");
  _kcurrencyfmt longSymbol{2, 1, 3, const_cast<char*>("."), const_cast<char*>(","), 0, 0,
                           const_cast<char*>("12345678901234567")};
  EXPECT_EQ(KGetCurrencyFormat(0, "1", &longSymbol, out, sizeof out), 0);
  EXPECT_EQ(KGetCurrencyFormat(0, "1", &noSymbol, out, 323), 0);
}

TEST_F(SysCalls, FullPathTable) {
  kctest::TempDir dir;
  std::string ab = dir.file("a/b");
  std::filesystem::create_directories(ab);
  char old[1024];
  ASSERT_NE(::getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(::chdir(ab.c_str()), 0);
  struct Case {
    const char* path;
    std::string expected; // "" for NULL
  } cases[] = {
      {"../x", dir.file("a/x")},
      {"../../x", dir.file("x")},
      {"./y", ab + "/y"},
      {"..\\x", dir.file("a/x")},
      {"z", ab + "/z"},
      {"/abs/p", "/abs/p"},
      {"\\abs\\p", "/abs/p"},
      {".x", ""},
      {"..", ""},
      {"..x", ""},
  };
  for (const auto& c : cases) {
    char out[1024];
    char* r = KFullPath(out, c.path, sizeof out);
    if (c.expected.empty()) {
      EXPECT_EQ(r, nullptr) << c.path;
    } else {
      ASSERT_EQ(r, out) << c.path;
      EXPECT_EQ(std::string(out), c.expected) << c.path;
    }
  }
  // Results that do not fit, and paths beyond the work buffer, are refused.
  char tiny[8];
  EXPECT_EQ(KFullPath(tiny, "/abcdefgh", sizeof tiny), nullptr);
  EXPECT_NE(KFullPath(tiny, "/abcdef", sizeof tiny), nullptr);
  EXPECT_EQ(KFullPath(tiny, "zz", sizeof tiny), nullptr);
  std::string huge(1100, 'p');
  char out[2048];
  EXPECT_EQ(KFullPath(out, huge.c_str(), sizeof out), nullptr);
  EXPECT_EQ(KFullPath(nullptr, "x", 10), nullptr);
  EXPECT_EQ(::chdir(old), 0);
}

TEST_F(SysCalls, ModuleFileNameSearchOrder) {
  kctest::TempDir dir;
  std::filesystem::create_directories(dir.file("inst/bin"));
  std::filesystem::create_directories(dir.file("ld1"));
  std::filesystem::create_directories(dir.file("ld2"));
  dir.write("inst/bin/libM.so", "");
  dir.write("ld1/libM.so", "");
  dir.write("ld2/libM.so", "");
  dir.write("ld2/libN.so", "");
  std::string ld = dir.file("ld0") + ":" + dir.file("ld1") + ":" + dir.file("ld2");
  kctest::EnvVar ldPath("LD_LIBRARY_PATH", ld.c_str());
  char buf[1024];
  {
    kctest::EnvVar inst("ORBN_INST_DIR", dir.file("inst").c_str());
    KLibHandle m("libM.so");
    std::string expected = dir.file("inst/bin/libM.so");
    EXPECT_EQ(KGetModuleFileName(&m, buf, sizeof buf), expected.size());
    EXPECT_EQ(std::string(buf), expected);
    EXPECT_EQ(std::string(m.GetPath()), expected);
    // The second call returns the kept path without searching.
    std::filesystem::remove(expected);
    EXPECT_EQ(KGetModuleFileName(&m, buf, sizeof buf), expected.size());
    EXPECT_EQ(std::string(buf), expected);
  }
  {
    kctest::EnvVar inst("ORBN_INST_DIR", nullptr);
    KLibHandle m("libM.so");
    EXPECT_GT(KGetModuleFileName(&m, buf, sizeof buf), 0u);
    EXPECT_EQ(std::string(buf), dir.file("ld1/libM.so"));
    KLibHandle n("libN.so");
    KGetModuleFileName(&n, buf, sizeof buf);
    EXPECT_EQ(std::string(buf), dir.file("ld2/libN.so"));
    KLibHandle missing("libQ.so");
    EXPECT_EQ(KGetModuleFileName(&missing, buf, sizeof buf), 0u);
    EXPECT_STREQ(buf, "");
    // A buffer too small for the path gets nothing.
    KLibHandle again("libN.so");
    char small[8];
    EXPECT_EQ(KGetModuleFileName(&again, small, sizeof small), 0u);
    KLibHandle unnamed("");
    testing::internal::CaptureStdout();
    EXPECT_EQ(KGetModuleFileName(&unnamed, buf, sizeof buf), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("Library name has not been set for this handle.\n", 0),
              0u);
    KFileHandle notLib;
    EXPECT_EQ(KGetModuleFileName(&notLib, buf, sizeof buf), 0u);
    EXPECT_EQ(KGetModuleFileName(nullptr, buf, sizeof buf), 0u);
  }
  {
    kctest::EnvVar inst("ORBN_INST_DIR", nullptr);
    kctest::EnvVar noLd("LD_LIBRARY_PATH", nullptr);
    KLibHandle m("libM.so");
    EXPECT_EQ(KGetModuleFileName(&m, buf, sizeof buf), 0u);
  }
}
