// Library start and end: use count, callbacks, status codes, environment.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "mbtext/gc_frame.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_testdata.h"
#include "mbtext/gc_types_int.h"

namespace {

// Allocation callbacks that count, check their context and can fail.
struct Counter {
  std::atomic<int> allocs{0}, frees{0};
  std::atomic<int> failAfter{-1}; // allocations allowed before failing (-1: never)
  bool freeFails = false;
  std::atomic<int> wrongCtx{0};
};

void* countAlloc(void* ctx, uint32_t size) {
  auto* c = static_cast<Counter*>(ctx);
  if (c->failAfter.load() == 0) return nullptr;
  if (c->failAfter.load() > 0) --c->failAfter;
  ++c->allocs;
  return std::malloc(size ? size : 1);
}

int countFree(void* ctx, void* p) {
  auto* c = static_cast<Counter*>(ctx);
  ++c->frees;
  std::free(p);
  return c->freeFails ? 0 : 1;
}

class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("GC_LOCALEDIR");
    ASSERT_FALSE(gcIsStarted());
  }
  void TearDown() override {
    while (gcIsStarted()) GCTerm();
  }
  gctest::DataDir empty;
};

} // namespace

TEST_F(Frame, StartsOnBuiltInObjectsWithoutDataFiles) {
  EXPECT_EQ(GCInit(empty.path(), nullptr, nullptr, nullptr, 0), GC_S_DEFAULTS);
  EXPECT_TRUE(gcIsStarted());
  GCOctx* ocx = gcObjManager();
  ASSERT_NE(ocx, nullptr);
  uint32_t st = 99;
  const char* names[3] = {"English", "UnitedStates", "US-ASCII"};
  for (uint8_t cls = 0; cls < 3; ++cls) {
    GCObj* e = GCGetObjFromName(ocx, cls, names[cls], -1, GC_FIND_LOAD, &st);
    ASSERT_NE(e, nullptr) << names[cls];
    EXPECT_EQ(st, GC_OK);
    EXPECT_TRUE(e->flags & GC_OBJ_BUILTIN);
  }
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_FALSE(gcIsStarted());
}

TEST_F(Frame, NoFallbackWithoutDataFilesDoesNotStart) {
  EXPECT_EQ(GCInit(empty.path(), nullptr, nullptr, nullptr, GC_INIT_NO_FALLBACK), GC_E_INIT);
  EXPECT_FALSE(gcIsStarted());
  EXPECT_EQ(gcObjManager(), nullptr);
  EXPECT_EQ(GCTerm(), GC_E_ARG); // nothing to end
}

TEST_F(Frame, StartsFromDataFiles) {
  gctest::DataDir dir;
  dir.writeStandard();
  EXPECT_EQ(GCInit(dir.path(), nullptr, nullptr, nullptr, 0), GC_OK);
  EXPECT_STREQ(gcObjManager()->datadir, dir.path());
  EXPECT_EQ(GCTerm(), GC_OK);
}

TEST_F(Frame, UseCountPairsInitAndTerm) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(GCInit(empty.path(), nullptr, nullptr, nullptr, 0), i == 0 ? GC_S_DEFAULTS : GC_OK);
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_TRUE(gcIsStarted());
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_FALSE(gcIsStarted());
  EXPECT_EQ(GCTerm(), GC_E_ARG);
}

TEST_F(Frame, UseCountStopsAtItsLimit) {
  // The 16-bit count must not wrap to "not started" while callers hold it.
  ASSERT_EQ(GCInit(empty.path(), nullptr, nullptr, nullptr, 0), GC_S_DEFAULTS);
  for (int i = 1; i < 0xFFFF; ++i) ASSERT_EQ(GCInit(nullptr, nullptr, nullptr, nullptr, 0), GC_OK) << i;
  EXPECT_EQ(GCInit(nullptr, nullptr, nullptr, nullptr, 0), GC_E_ARG);
  EXPECT_TRUE(gcIsStarted());
  for (int i = 1; i < 0xFFFF; ++i) ASSERT_EQ(GCTerm(), GC_OK) << i;
  EXPECT_TRUE(gcIsStarted()) << "the refused call was not counted";
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_FALSE(gcIsStarted());
}

TEST_F(Frame, LaterInitsOnlyCount) {
  Counter first, second;
  gctest::DataDir dir;
  dir.writeStandard();
  ASSERT_EQ(GCInit(dir.path(), countAlloc, countFree, &first, 0), GC_OK);
  int before = first.allocs;
  EXPECT_GT(before, 0);
  // Other arguments, even a directory without data: ignored, result 0.
  EXPECT_EQ(GCInit(empty.path(), countAlloc, countFree, &second, GC_INIT_NO_FALLBACK), GC_OK);
  EXPECT_STREQ(gcObjManager()->datadir, dir.path());
  void* p = gcAlloc(16);
  EXPECT_EQ(first.allocs, before + 1);
  EXPECT_EQ(second.allocs, 0);
  gcFree(p);
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_EQ(first.allocs, first.frees);
  EXPECT_EQ(second.frees, 0);
}

TEST_F(Frame, CallbacksReceiveTheContextAndGetEverythingBack) {
  Counter c;
  gctest::DataDir dir;
  dir.writeStandard();
  ASSERT_EQ(GCInit(dir.path(), countAlloc, countFree, &c, 0), GC_OK);
  uint32_t st;
  for (uint8_t cls = 0; cls < 3; ++cls) ASSERT_NE(GCGetObjFromID(gcObjManager(), cls, 1, GC_FIND_LOAD, &st), nullptr);
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_GT(c.allocs, 0);
  EXPECT_EQ(c.allocs, c.frees);
  // After the end the defaults serve again.
  void* p = gcAlloc(8);
  EXPECT_NE(p, nullptr);
  EXPECT_EQ(gcFree(p), 1);
  EXPECT_EQ(c.frees, c.allocs);
}

TEST_F(Frame, OutOfMemoryWhileStarting) {
  gctest::DataDir dir;
  dir.writeStandard();
  // Fail the n-th allocation for every n that the start makes: the library
  // never starts half-way and gives back what it took.
  for (int n = 0; n < 4; ++n) {
    Counter c;
    c.failAfter = n;
    uint32_t r = GCInit(dir.path(), countAlloc, countFree, &c, 0);
    if (r == GC_OK || r == GC_S_DEFAULTS) {
      EXPECT_EQ(GCTerm(), GC_OK);
    } else {
      EXPECT_EQ(r, GC_E_INIT) << n;
      EXPECT_FALSE(gcIsStarted());
    }
    EXPECT_EQ(c.allocs, c.frees) << n;
  }
  Counter none;
  none.failAfter = 0;
  EXPECT_EQ(GCInit(dir.path(), countAlloc, countFree, &none, 0), GC_E_INIT);
  EXPECT_FALSE(gcIsStarted());
}

TEST_F(Frame, FailedFreeIsReportedByTerm) {
  Counter c;
  ASSERT_EQ(GCInit(empty.path(), countAlloc, countFree, &c, 0), GC_S_DEFAULTS);
  c.freeFails = true;
  EXPECT_EQ(GCTerm(), GC_E_FILE);
  EXPECT_FALSE(gcIsStarted());
  EXPECT_EQ(c.allocs, c.frees); // everything was still handed back
}

TEST_F(Frame, TermReleasesTheGlobalDefaultLocale) {
  Counter c;
  ASSERT_EQ(GCInit(empty.path(), countAlloc, countFree, &c, 0), GC_S_DEFAULTS);
  auto* loc = static_cast<GCLocale*>(gcAlloc(sizeof(GCLocale)));
  std::memset(loc, 0, sizeof *loc);
  loc->text[GC_TXT_CURRENCY] = static_cast<char*>(gcAlloc(2));
  loc->textU[GC_TXT_CURRENCY] = static_cast<GCUChar*>(gcAlloc(4));
  loc->status = 37;
  gcglocale = loc;
  EXPECT_EQ(GCGetError(nullptr), 37u);
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_EQ(gcglocale, nullptr);
  EXPECT_EQ(c.allocs, c.frees);
}

TEST_F(Frame, ConcurrentFirstInitsStartOnce) {
  constexpr int kThreads = 8;
  std::vector<std::thread> ts;
  std::atomic<int> defaults{0}, ok{0}, other{0};
  for (int i = 0; i < kThreads; ++i)
    ts.emplace_back([&] {
      uint32_t r = GCInit(empty.path(), nullptr, nullptr, nullptr, 0);
      (r == GC_S_DEFAULTS ? defaults : r == GC_OK ? ok : other)++;
    });
  for (auto& t : ts) t.join();
  EXPECT_EQ(defaults, 1); // only the call that started the library saw the defaults
  EXPECT_EQ(ok, kThreads - 1);
  EXPECT_EQ(other, 0);
  for (int i = 0; i < kThreads - 1; ++i) EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_TRUE(gcIsStarted());
  EXPECT_EQ(GCTerm(), GC_OK);
  EXPECT_FALSE(gcIsStarted());
}

TEST_F(Frame, ErrorOfTheDefaultLocale) {
  EXPECT_EQ(GCGetError(nullptr), GC_OK);
  GCLocale loc{};
  loc.status = GC_E_BUFFER;
  EXPECT_EQ(GCGetError(&loc), GC_E_BUFFER);
}

TEST(FrameDefaults, DefaultCallbacks) {
  void* p = GCDefAlloc(nullptr, 32);
  ASSERT_NE(p, nullptr);
  std::memset(p, 0xAB, 32);
  EXPECT_EQ(GCDefFree(nullptr, p), 1);
  EXPECT_EQ(GCDefFree(reinterpret_cast<void*>(0x1), nullptr), 1);
}

TEST(FrameEnv, GetEnvCopiesOnlyWhenItFits) {
  ::setenv("GC_TEST_VALUE", "abcd", 1);
  ::unsetenv("GC_TEST_UNSET");
  struct { const char* name; uint32_t size; uint32_t result; const char* buffer; } cases[] = {
      {"GC_TEST_VALUE", 10, 5, "abcd"},
      {"GC_TEST_VALUE", 5, 5, "abcd"},
      {"GC_TEST_VALUE", 4, 5, "xxxxxxx"}, // one byte short: untouched
      {"GC_TEST_VALUE", 0, 5, "xxxxxxx"},
      {"GC_TEST_UNSET", 10, 0, "xxxxxxx"},
  };
  for (auto& c : cases) {
    char buf[8] = "xxxxxxx";
    EXPECT_EQ(GCGetEnv(c.name, buf, c.size), c.result) << c.name << " " << c.size;
    EXPECT_STREQ(buf, c.buffer) << c.name << " " << c.size;
  }
  ::setenv("GC_TEST_EMPTY", "", 1);
  char buf[4] = "xyz";
  EXPECT_EQ(GCGetEnv("GC_TEST_EMPTY", buf, 4), 1u);
  EXPECT_STREQ(buf, "");
}

TEST(FrameMemory, MemicmpComparesWithoutCase) {
  struct { const char* a; const char* b; uint32_t n; int sign; } cases[] = {
      {"English", "ENGLISH", 7, 0}, {"abc", "abd", 3, -1}, {"abd", "ABC", 3, 1},
      {"abc", "xyz", 0, 0}, {"a\0b", "A\0c", 2, 0}, {"a\0b", "A\0c", 3, -1}};
  for (auto& c : cases) {
    int r = GCmemicmp(c.a, c.b, c.n);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " " << c.b;
  }
}
