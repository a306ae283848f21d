// Object manager: the directory, finding by name and id, loading object
// files of every header version, fallbacks, damaged files, concurrency.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_frame.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_sortv1.h"
#include "mbtext/gc_testdata.h"
#include "mbtext/gc_types_int.h"
#include "gc_testloc.h"
#include "gc_testsort.h"

using gctest::Bytes;
using gctest::CodePageBuilder;
using gctest::DataDir;
using gctest::DirEntry;

namespace {

gctest::SortSpec smallSort() {
  gctest::SortSpec s;
  s.pages[0].flags = 0; // page 0 has weight records from index 0
  s.pages[0].base = 0;
  for (int b = 0; b < 256; ++b) s.weights.push_back({uint16_t(0x100 + b), 2, 2, 0x3C00});
  s.pages[0x4E].flags = 0x02; // algorithmic
  s.pages[0x4E].base = 0x8000;
  s.expansions.push_back({0x00C6, 0x141, 2, 2, 0x145, 2, 2});
  s.combinations.push_back({'c', 'h', 0x1FF, 2, 2, 0x3C00});
  return s;
}

class Objects : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("GC_LOCALEDIR");
    dir.writeControl({{1, GC_CLASS_LANGUAGE, "English"},
                      {2, GC_CLASS_LANGUAGE, "German"},
                      {7, GC_CLASS_LANGUAGE, "Klingon"},
                      {1, GC_CLASS_TERRITORY, "UnitedStates"},
                      {49, GC_CLASS_TERRITORY, "Germany"},
                      {1, GC_CLASS_CODEPAGE, "US-ASCII"},
                      {106, GC_CLASS_CODEPAGE, "UTF-8"},
                      {932, GC_CLASS_CODEPAGE, "Shift-JIS"},
                      {933, GC_CLASS_CODEPAGE, "Missing-CP"},
                      {1, GC_CLASS_SORT, "Default"},
                      {2, GC_CLASS_SORT, "Old"},
                      {3, GC_CLASS_SORT, "Gone"}});
    dir.writeObject(GC_CLASS_LANGUAGE, 1, gctest::dataFile({gctest::languageSection({})}));
    gctest::LanguageSpec de;
    de.name = "Deutsch";
    de.territory = 49;
    de.sort = 1;
    dir.writeObject(GC_CLASS_LANGUAGE, 2, gctest::dataFile({gctest::languageSection(de)}, 2));
    dir.writeObject(GC_CLASS_TERRITORY, 1, gctest::dataFile({gctest::territorySection({})}, 0));
    gctest::TerritorySpec dt;
    dt.currency = "EUR";
    dir.writeObject(GC_CLASS_TERRITORY, 49, gctest::dataFile({gctest::territorySection(dt)}, 1));
    dir.writeObject(GC_CLASS_CODEPAGE, 1, CodePageBuilder().file());
    dir.writeObject(GC_CLASS_CODEPAGE, 106, CodePageBuilder().maxLen(4).file());
    dir.writeObject(GC_CLASS_CODEPAGE, 932,
                    CodePageBuilder().multi({0x82, 0x60}, 0xFF21, 0x203).file(1)); // version 1 tables
    dir.writeObject(GC_CLASS_SORT, 1, gctest::dataFile({gctest::sortSectionV3(smallSort())}));
    dir.writeObject(GC_CLASS_SORT, 2, gctest::dataFile({gctest::sortSectionV1(smallSort())}, 2));
    ASSERT_EQ(GCInit(dir.path(), nullptr, nullptr, nullptr, 0), GC_OK);
    ocx = gcObjManager();
    ASSERT_NE(ocx, nullptr);
  }
  void TearDown() override {
    while (gcIsStarted()) GCTerm();
  }
  DataDir dir;
  GCOctx* ocx = nullptr;
};

} // namespace

TEST_F(Objects, DirectoryClassRanges) {
  EXPECT_EQ(ocx->count, 12);
  EXPECT_EQ(ocx->first[0], 0);
  EXPECT_EQ(ocx->first[1], 3);
  EXPECT_EQ(ocx->first[2], 5);
  EXPECT_EQ(ocx->first[3], 9);
  for (uint32_t i = 0; i < ocx->count; ++i) EXPECT_FALSE(gcObjLoaded(&ocx->dir[i])) << i;
}

TEST_F(Objects, FindByName) {
  struct { uint8_t cls; const char* name; int32_t len; uint16_t id; uint32_t status; } cases[] = {
      {0, "English", -1, 1, GC_OK},
      {0, "ENGLISH", 7, 1, GC_OK},
      {0, "english", 8, 1, GC_OK},       // length counting the NUL
      {0, "Englishman", 7, 1, GC_OK},    // only the first length bytes are the name
      {0, "Engl", 4, 0, GC_E_NOT_FOUND}, // a prefix is not the name
      {0, "Germany", -1, 0, GC_E_NOT_FOUND}, // a territory, not a language
      {1, "germany", -1, 49, GC_OK},
      {2, "shift-jis", -1, 932, GC_OK},
      {3, "default", -1, 1, GC_OK},
      {3, "Nothing", -1, 0, GC_E_NOT_FOUND},
  };
  for (auto& c : cases) {
    uint32_t st = 99;
    GCObj* e = GCGetObjFromName(ocx, c.cls, c.name, c.len, GC_FIND_ONLY, &st);
    EXPECT_EQ(st, c.status) << c.name;
    if (c.status == GC_OK) {
      ASSERT_NE(e, nullptr) << c.name;
      EXPECT_EQ(e->id, c.id);
      EXPECT_EQ(e->cls, c.cls);
      EXPECT_FALSE(gcObjLoaded(e)); // mode 1 does not load
    } else {
      EXPECT_EQ(e, nullptr) << c.name;
    }
  }
  uint32_t wide[] = {'g', 'E', 'r', 'M', 'a', 'N', 0x100 | 'y', 0};
  uint32_t st;
  GCObj* e = GCGetObjFromNameW(ocx, 1, wide, -1, GC_FIND_ONLY, &st);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->id, 49);
  std::vector<uint32_t> longName(200, 'a');
  EXPECT_EQ(GCGetObjFromNameW(ocx, 1, longName.data(), 200, GC_FIND_ONLY, &st), nullptr);
  EXPECT_EQ(st, GC_E_NOT_FOUND);
}

TEST_F(Objects, BinarySortNeedsNoObject) {
  for (const char* name : {"BINARY", "binary", "BiNaRy"}) {
    uint32_t st = 99;
    EXPECT_EQ(GCGetObjFromName(ocx, GC_CLASS_SORT, name, 6, GC_FIND_LOAD, &st), nullptr);
    EXPECT_EQ(st, GC_OK) << name;
    EXPECT_EQ(GCGetObjFromName(ocx, GC_CLASS_SORT, name, 7, GC_FIND_LOAD, &st), nullptr);
    EXPECT_EQ(st, GC_OK) << name;
  }
  uint32_t st = 99;
  EXPECT_EQ(GCGetObjFromID(ocx, GC_CLASS_SORT, 0, GC_FIND_LOAD, &st), nullptr);
  EXPECT_EQ(st, GC_OK);
  // "Binary" is no special name in other classes.
  EXPECT_EQ(GCGetObjFromName(ocx, GC_CLASS_LANGUAGE, "BINARY", 6, GC_FIND_ONLY, &st), nullptr);
  EXPECT_EQ(st, GC_E_NOT_FOUND);
}

TEST_F(Objects, FindById) {
  struct { uint8_t cls; uint16_t id; uint32_t status; } cases[] = {
      {0, 1, GC_OK}, {0, 2, GC_OK}, {0, 7, GC_OK}, {0, 3, GC_E_NOT_FOUND}, {0, 0, GC_E_NOT_FOUND},
      {0, 8, GC_E_NOT_FOUND}, {1, 49, GC_OK}, {1, 48, GC_E_NOT_FOUND}, {2, 1, GC_OK}, {2, 106, GC_OK},
      {2, 932, GC_OK}, {2, 934, GC_E_NOT_FOUND}, {3, 3, GC_OK}, {3, 4, GC_E_NOT_FOUND}};
  for (auto& c : cases) {
    uint32_t st = 99;
    GCObj* e = GCGetObjFromID(ocx, c.cls, c.id, GC_FIND_ONLY, &st);
    EXPECT_EQ(st, c.status) << int(c.cls) << " " << c.id;
    if (c.status == GC_OK) {
      ASSERT_NE(e, nullptr);
      EXPECT_EQ(e->id, c.id);
      EXPECT_EQ(e->cls, c.cls);
    } else {
      EXPECT_EQ(e, nullptr);
    }
  }
}

TEST_F(Objects, LoadsEveryHeaderVersion) {
  uint32_t st;
  GCObj* en = GCGetObjFromID(ocx, 0, 1, GC_FIND_LOAD, &st);
  GCObj* de = GCGetObjFromID(ocx, 0, 2, GC_FIND_LOAD, &st);   // version 2 header
  GCObj* us = GCGetObjFromID(ocx, 1, 1, GC_FIND_LOAD, &st);   // version 0 header
  GCObj* ger = GCGetObjFromID(ocx, 1, 49, GC_FIND_LOAD, &st); // version 1 header
  for (GCObj* e : {en, de, us, ger}) {
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(gcObjLoaded(e));
    EXPECT_FALSE(e->flags & GC_OBJ_BUILTIN);
    EXPECT_EQ(e->sect[1], nullptr);
  }
  Bytes want = gctest::languageSection([] { gctest::LanguageSpec s; s.name = "Deutsch"; s.territory = 49; s.sort = 1; return s; }());
  ASSERT_EQ(de->sect_size[0], want.size());
  EXPECT_EQ(std::memcmp(de->sect[0], want.data(), want.size()), 0);
  EXPECT_EQ(gc_be16(de->sect[0]), 49);
  EXPECT_EQ(de->version, 2);
  EXPECT_EQ(ger->version, 1);
  // A second find returns the loaded entry without loading again.
  const uint8_t* sect = de->sect[0];
  EXPECT_EQ(GCGetObjFromName(ocx, 0, "German", -1, GC_FIND_LOAD, &st), de);
  EXPECT_EQ(de->sect[0], sect);
}

TEST_F(Objects, OldCodePageTablesAreUpgradedOnLoad) {
  uint32_t st;
  GCObj* cp = GCGetObjFromName(ocx, GC_CLASS_CODEPAGE, "Shift-JIS", -1, GC_FIND_LOAD, &st);
  ASSERT_NE(cp, nullptr) << st;
  EXPECT_EQ(st, GC_OK);
  EXPECT_TRUE(cp->flags & GC_OBJ_ALLOC0);
  EXPECT_TRUE(cp->flags & GC_OBJ_ALLOC1);
  EXPECT_FALSE(cp->flags & GC_OBJ_ALLOC2);
  EXPECT_GE(cp->sect_size[0], GC_CP_MAIN_SIZE);
  EXPECT_EQ(GCCpMbToUnicode(cp, "\x82\x60"), 0xFF21);
  char out[4];
  EXPECT_EQ(GCCpUnicodeToChar(cp, 0xFF21, out), 2);
}

TEST_F(Objects, OldSortTablesAreUpgradedOnLoad) {
  uint32_t st;
  GCObj* cur = GCGetObjFromID(ocx, GC_CLASS_SORT, 1, GC_FIND_LOAD, &st);
  GCObj* old = GCGetObjFromID(ocx, GC_CLASS_SORT, 2, GC_FIND_LOAD, &st);
  ASSERT_NE(cur, nullptr);
  ASSERT_NE(old, nullptr);
  EXPECT_TRUE(old->flags & GC_OBJ_ALLOC0);
  EXPECT_FALSE(cur->flags & GC_OBJ_ALLOC0);
  ASSERT_EQ(old->sect_size[0], cur->sect_size[0]);
  EXPECT_EQ(std::memcmp(old->sect[0], cur->sect[0], cur->sect_size[0]), 0);
}

TEST(SortUpgrade, WidensPageBasesAndMovesTheRecords) {
  gctest::SortSpec s = smallSort();
  s.pages[0x4E].base = 0xFFFF;
  Bytes v1 = gctest::sortSectionV1(s), v3 = gctest::sortSectionV3(s);
  uint32_t size = 0;
  uint8_t* t = GCSortV1toV3(v1.data(), uint32_t(v1.size()), &size);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(size, v1.size() + 1032); // records at 1036 move to 2068
  ASSERT_EQ(size, v3.size());
  EXPECT_EQ(std::memcmp(t, v3.data(), size), 0);
  EXPECT_EQ(gc_be32(t + GC_SORT_PAGES + 8 * 0x4E + 4), 0xFFFFu);
  EXPECT_EQ(gcSortValidate(t, size), GC_OK);
  gcFree(t);
  // Malformed old tables are refused.
  Bytes shortTable(1000, 0);
  EXPECT_EQ(GCSortV1toV3(shortTable.data(), uint32_t(shortTable.size()), &size), nullptr);
  Bytes badOffset = v1;
  gctest::put16(badOffset, GC_SORT1_OFF_WEIGHTS, uint16_t(v1.size() + 1));
  EXPECT_EQ(GCSortV1toV3(badOffset.data(), uint32_t(badOffset.size()), &size), nullptr);
}

TEST_F(Objects, MissingFilesOfEachClass) {
  uint32_t st = 0;
  // A language without a file gets the built-in English data under its own name.
  GCObj* k = GCGetObjFromName(ocx, GC_CLASS_LANGUAGE, "Klingon", -1, GC_FIND_LOAD, &st);
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(st, GC_E_FILE_NOT_FOUND);
  EXPECT_STREQ(k->name, "Klingon");
  EXPECT_EQ(k->id, 7);
  EXPECT_TRUE(k->flags & GC_OBJ_BUILTIN);
  EXPECT_EQ(k->sect[0], gcBuiltinLanguage()->sect[0]);
  // A code page without a file is a failure, not US-ASCII in disguise.
  EXPECT_EQ(GCGetObjFromName(ocx, GC_CLASS_CODEPAGE, "Missing-CP", -1, GC_FIND_LOAD, &st), nullptr);
  EXPECT_EQ(st, GC_E_FILE_NOT_FOUND);
  EXPECT_FALSE(gcObjLoaded(GCGetObjFromID(ocx, GC_CLASS_CODEPAGE, 933, GC_FIND_ONLY, &st)));
  // A sort has no built-in object.
  EXPECT_EQ(GCGetObjFromID(ocx, GC_CLASS_SORT, 3, GC_FIND_LOAD, &st), nullptr);
  EXPECT_EQ(st, GC_E_FILE_NOT_FOUND);
  // Once the file exists, the code page loads on the next find.
  dir.writeObject(GC_CLASS_CODEPAGE, 933, CodePageBuilder().file());
  EXPECT_NE(GCGetObjFromID(ocx, GC_CLASS_CODEPAGE, 933, GC_FIND_LOAD, &st), nullptr);
  EXPECT_EQ(st, GC_OK);
}

TEST_F(Objects, ConcurrentFirstLoadLoadsOnce) {
  constexpr int kThreads = 8;
  std::vector<GCObj*> got(kThreads);
  std::vector<uint32_t> status(kThreads, 99);
  std::atomic<bool> go{false};
  std::vector<std::thread> ts;
  for (int i = 0; i < kThreads; ++i)
    ts.emplace_back([&, i] {
      while (!go) std::this_thread::yield();
      got[i] = GCGetObjFromName(ocx, GC_CLASS_CODEPAGE, "Shift-JIS", -1, GC_FIND_LOAD, &status[i]);
      if (got[i]) (void)GCCpMbToUnicode(got[i], "\x82\x60");
    });
  go = true;
  for (auto& t : ts) t.join();
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(status[i], GC_OK);
    EXPECT_EQ(got[i], got[0]);
  }
  ASSERT_NE(got[0], nullptr);
  EXPECT_NE(got[0]->file, nullptr);
}

TEST(ObjectsLoadCount, ConcurrentFindsAllocateLikeOneLoad) {
  ::unsetenv("GC_LOCALEDIR");
  DataDir dir;
  dir.writeStandard();
  dir.writeControl({{1, 0, "English"}, {1, 1, "UnitedStates"}, {1, 2, "US-ASCII"}, {932, 2, "DB"}});
  dir.writeObject(2, 932, CodePageBuilder().multi({0x82, 0x60}, 0xFF21).file(1));
  static std::atomic<int> allocs{0};
  auto alloc = [](void*, uint32_t n) -> void* { ++allocs; return std::malloc(n); };
  auto release = [](void*, void* p) -> int { std::free(p); return 1; };
  auto loadWith = [&](int threads) {
    EXPECT_EQ(GCInit(dir.path(), alloc, release, nullptr, 0), GC_OK);
    int before = allocs;
    std::vector<std::thread> ts;
    for (int i = 0; i < threads; ++i)
      ts.emplace_back([] { uint32_t st; GCGetObjFromID(gcObjManager(), 2, 932, GC_FIND_LOAD, &st); });
    for (auto& t : ts) t.join();
    int used = allocs - before;
    EXPECT_EQ(GCTerm(), GC_OK);
    return used;
  };
  int one = loadWith(1);
  EXPECT_GT(one, 0);
  EXPECT_EQ(loadWith(8), one);
}

namespace {

struct Damage {
  const char* what;
  uint8_t cls;
  std::function<Bytes()> file;
  uint32_t status;
};

Bytes withFlippedMagic(Bytes f) { f[1] ^= 0x55; return f; }
Bytes truncated(Bytes f, size_t keep) { f.resize(keep); return f; }

} // namespace

TEST(ObjectsDamaged, DamagedObjectFilesAreRefused) {
  ::unsetenv("GC_LOCALEDIR");
  gctest::LanguageSpec lang;
  Damage cases[] = {
      {"language, wrong magic", 0, [] { return withFlippedMagic(gctest::dataFile({gctest::languageSection({})})); }, GC_E_MAGIC},
      {"language, truncated", 0, [] { return truncated(gctest::dataFile({gctest::languageSection({})}), 120); }, GC_E_FILE_READ},
      {"language, header only", 0, [] { return truncated(gctest::dataFile({gctest::languageSection({})}), 80); }, GC_E_FILE_READ},
      {"language, short file", 0, [] { return Bytes(20, 0); }, GC_E_FILE_READ},
      {"language, text offset outside", 0, [] {
         Bytes s = gctest::languageSection({});
         gctest::put16(s, 12 + 2 * 5, uint16_t(s.size()));
         return gctest::dataFile({s});
       }, GC_E_FILE_READ},
      {"language, unterminated last text", 0, [] {
         Bytes s = gctest::languageSection({});
         s.resize(s.size() - 2);
         return gctest::dataFile({s});
       }, GC_E_FILE_READ},
      {"language, special table outside", 0, [] {
         Bytes s = gctest::languageSection({});
         gctest::put16(s, 6, 40);
         return gctest::dataFile({s});
       }, GC_E_FILE_READ},
      {"territory, texts out of order", 1, [] {
         Bytes s = gctest::territorySection({});
         gctest::put16(s, 24 + 2 * 5, 30);
         return gctest::dataFile({s});
       }, GC_E_FILE_READ},
      {"territory, end beyond the section", 1, [] {
         Bytes s = gctest::territorySection({});
         gctest::put16(s, 24 + 2 * 11, uint16_t(s.size() + 2));
         return gctest::dataFile({s});
       }, GC_E_FILE_READ},
      {"code page, short main table", 2, [] {
         auto s = CodePageBuilder().sections();
         s[0].resize(4000);
         return gctest::dataFile(s);
       }, GC_E_FILE_READ},
      {"code page, page record outside", 2, [] {
         auto s = CodePageBuilder().sections();
         gctest::put16(s[0], GC_CPM_PAGES + 4, 0x4000);
         return gctest::dataFile(s);
       }, GC_E_FILE_READ},
      {"code page v1, short", 2, [] { return gctest::dataFile({Bytes(1000, 1)}, 1); }, GC_E_FILE_READ},
      {"sort, records outside", 3, [] {
         Bytes s = gctest::sortSectionV3(smallSort());
         s.resize(s.size() - 10);
         return gctest::dataFile({s});
       }, GC_E_FILE_READ},
      {"sort, page base outside", 3, [] {
         gctest::SortSpec sp = smallSort();
         sp.pages[1].flags = 0;
         sp.pages[1].base = 1000;
         return gctest::dataFile({gctest::sortSectionV3(sp)});
       }, GC_E_FILE_READ},
      {"sort v1, weights offset outside", 3, [] {
         Bytes s = gctest::sortSectionV1(smallSort());
         gctest::put16(s, GC_SORT1_OFF_WEIGHTS, 0xFFF0);
         return gctest::dataFile({s}, 1);
       }, GC_E_FILE_READ},
  };
  for (auto& c : cases) {
    DataDir dir;
    dir.writeControl({{1, 0, "English"}, {5, 0, "Lang"}, {1, 1, "UnitedStates"}, {5, 1, "Terr"},
                      {1, 2, "US-ASCII"}, {5, 2, "Page"}, {5, 3, "Sort"}});
    dir.writeObject(c.cls, 5, c.file());
    ASSERT_EQ(GCInit(dir.path(), nullptr, nullptr, nullptr, 0), GC_OK) << c.what;
    uint32_t st = 0;
    GCObj* e = GCGetObjFromID(gcObjManager(), c.cls, 5, GC_FIND_LOAD, &st);
    EXPECT_EQ(st, c.status) << c.what;
    if (c.cls <= 1) {
      ASSERT_NE(e, nullptr) << c.what; // language and territory: built-in data
      EXPECT_TRUE(e->flags & GC_OBJ_BUILTIN) << c.what;
    } else {
      EXPECT_EQ(e, nullptr) << c.what;
    }
    EXPECT_EQ(GCTerm(), GC_OK);
  }
}

TEST(ObjectsEmptySections, EmptyOptionalSectionsStayNull) {
  ::unsetenv("GC_LOCALEDIR");
  DataDir dir;
  dir.writeStandard();
  auto s = CodePageBuilder().sections();
  dir.writeObject(2, 1, gctest::dataFile({s[0], {}, s[2], {}}));
  ASSERT_EQ(GCInit(dir.path(), nullptr, nullptr, nullptr, 0), GC_OK);
  uint32_t st;
  GCObj* cp = GCGetObjFromID(gcObjManager(), 2, 1, GC_FIND_LOAD, &st);
  ASSERT_NE(cp, nullptr);
  EXPECT_EQ(cp->sect[1], nullptr);
  EXPECT_NE(cp->sect[2], nullptr);
  EXPECT_EQ(cp->sect[3], nullptr);
  char out[4];
  EXPECT_EQ(GCCpUnicodeToChar(cp, 'x', out), 1);
  EXPECT_EQ(out[0], 'x');
  EXPECT_EQ(GCCpMbToUnicode(cp, "\x82\x60"), GC_UCS2_INVALID); // no trie
  EXPECT_EQ(gcCodePageAscii(), cp);
  EXPECT_EQ(GCTerm(), GC_OK);
}

// ---------------------------------------------------------------------------
// Control file and the search for the data directory.

TEST(ObjectsControl, EveryHeaderVersionGivesTheSameDirectory) {
  ::unsetenv("GC_LOCALEDIR");
  std::vector<DirEntry> entries{{1, 0, "English"}, {3, 0, "French"}, {1, 2, "US-ASCII"}, {4, 3, "Lex"}};
  for (int version : {0, 1, 2, 3}) {
    DataDir dir;
    dir.writeControl(entries, version);
    uint32_t st = 99;
    GCOctx* ocx = GCInitObjManager(dir.path(), 0, &st);
    ASSERT_NE(ocx, nullptr);
    EXPECT_EQ(st, GC_OK) << version;
    ASSERT_EQ(ocx->count, 4);
    EXPECT_EQ(ocx->first[1], 2); // no territories: class 1 starts where class 2 does
    EXPECT_EQ(ocx->first[2], 2);
    EXPECT_EQ(ocx->first[3], 3);
    EXPECT_STREQ(ocx->dir[1].name, "French");
    EXPECT_EQ(GCGetObjFromName(ocx, 1, "UnitedStates", -1, GC_FIND_ONLY, &st), nullptr);
    EXPECT_EQ(st, GC_E_NOT_FOUND);
    EXPECT_EQ(GCGetObjFromID(ocx, 1, 1, GC_FIND_ONLY, &st), nullptr);
    EXPECT_EQ(st, GC_E_NOT_FOUND);
    EXPECT_EQ(GCTermObjManager(ocx), GC_OK);
  }
}

TEST(ObjectsControl, UnusableControlFilesFallBackOnBuiltIns) {
  ::unsetenv("GC_LOCALEDIR");
  std::vector<DirEntry> good{{1, 0, "English"}, {1, 1, "UnitedStates"}, {1, 2, "US-ASCII"}};
  struct { const char* what; Bytes file; uint32_t status; } cases[] = {
      {"wrong magic", withFlippedMagic(gctest::controlFile(good)), GC_E_MAGIC},
      {"too short", truncated(gctest::controlFile(good), 40), GC_E_FILE_READ},
      {"directory cut", truncated(gctest::controlFile(good), 80 + 100), GC_E_FILE_READ},
      {"unordered classes", gctest::controlFile({{1, 1, "UnitedStates"}, {1, 0, "English"}}), GC_E_FILE_READ},
      {"unordered ids", gctest::controlFile({{2, 0, "B"}, {1, 0, "A"}}), GC_E_FILE_READ},
      {"class 4", gctest::controlFile({{1, 4, "X"}}), GC_E_FILE_READ},
      {"unterminated name", [&] {
         Bytes f = gctest::controlFile(good);
         std::memset(&f[80 + 4], 'x', 36);
         return f;
       }(), GC_E_FILE_READ},
  };
  for (auto& c : cases) {
    DataDir dir;
    dir.write("control.nls", c.file);
    uint32_t st = 0;
    GCOctx* ocx = GCInitObjManager(dir.path(), 0, &st);
    ASSERT_NE(ocx, nullptr) << c.what;
    EXPECT_EQ(st, c.status) << c.what;
    EXPECT_EQ(ocx->count, 3) << c.what;
    EXPECT_TRUE(ocx->nofallback);
    EXPECT_STREQ(ocx->datadir, "");
    GCObj* e = GCGetObjFromName(ocx, 2, "us-ascii", -1, GC_FIND_LOAD, &st);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(st, GC_OK);
    EXPECT_TRUE(e->flags & GC_OBJ_BUILTIN);
    EXPECT_EQ(GCTermObjManager(ocx), GC_OK);
    // Without fallback nothing starts.
    EXPECT_EQ(GCInitObjManager(dir.path(), GC_INIT_NO_FALLBACK, &st), nullptr) << c.what;
    EXPECT_EQ(st, c.status) << c.what;
    // Through the library start: 10.
    EXPECT_EQ(GCInit(dir.path(), nullptr, nullptr, nullptr, 0), GC_S_DEFAULTS) << c.what;
    EXPECT_EQ(GCTerm(), GC_OK);
  }
}

TEST(ObjectsControl, DataDirectorySearchOrder) {
  DataDir a, b, empty;
  a.writeControl({{1, 0, "FromA"}});
  b.writeControl({{1, 0, "FromB"}});
  uint32_t st;
  struct { const char* path; const char* env; const char* dir; const char* name; uint32_t status; } cases[] = {
      {a.path(), b.path(), a.path(), "FromA", GC_OK},     // the caller's path first
      {empty.path(), b.path(), b.path(), "FromB", GC_OK}, // then GC_LOCALEDIR
      {nullptr, b.path(), b.path(), "FromB", GC_OK},
      {nullptr, empty.path(), "", "English", GC_E_FILE_NOT_FOUND}, // then the fixed directory, then built-ins
      {nullptr, nullptr, "", "English", GC_E_FILE_NOT_FOUND},
      {empty.path(), nullptr, "", "English", GC_E_FILE_NOT_FOUND},
  };
  for (auto& c : cases) {
    if (c.env) ::setenv("GC_LOCALEDIR", c.env, 1);
    else ::unsetenv("GC_LOCALEDIR");
    GCOctx* ocx = GCInitObjManager(c.path, 0, &st);
    ASSERT_NE(ocx, nullptr);
    EXPECT_EQ(st, c.status) << (c.path ? c.path : "null") << " " << (c.env ? c.env : "unset");
    EXPECT_STREQ(ocx->datadir, c.dir);
    EXPECT_STREQ(ocx->dir[0].name, c.name);
    EXPECT_EQ(GCTermObjManager(ocx), GC_OK);
  }
  ::unsetenv("GC_LOCALEDIR");
}

TEST(ObjectsControl, OverlongDataDirectories) {
  std::string longDir(1100, 'd');
  ::setenv("GC_LOCALEDIR", longDir.c_str(), 1);
  uint32_t st = 0;
  GCOctx* ocx = GCInitObjManager(nullptr, 0, &st);
  ASSERT_NE(ocx, nullptr);
  EXPECT_EQ(st, GC_E_FILE_READ);
  EXPECT_EQ(ocx->count, 3);
  EXPECT_EQ(GCTermObjManager(ocx), GC_OK);
  ::unsetenv("GC_LOCALEDIR");
  ocx = GCInitObjManager(longDir.c_str(), 0, &st);
  ASSERT_NE(ocx, nullptr);
  EXPECT_EQ(st, GC_E_FILE_READ);
  EXPECT_EQ(GCTermObjManager(ocx), GC_OK);
  // A directory whose object file names would not fit: the load fails with 1003.
  std::string deep = "/tmp/" + std::string(1005, 'x');
  EXPECT_EQ(GCGetDataFileName(deep.c_str(), 2, 1, nullptr, 0), nullptr);
}

TEST(ObjectsBuiltin, BuiltInObjectsCarryTheFixedData) {
  GCObj* lang = gcBuiltinLanguage();
  GCObj* terr = gcBuiltinTerritory();
  GCObj* cp = gcBuiltinCodePage();
  EXPECT_EQ(gcLanguageValidate(lang->sect[0], lang->sect_size[0]), GC_OK);
  EXPECT_EQ(gcTerritoryValidate(terr->sect[0], terr->sect_size[0]), GC_OK);
  EXPECT_EQ(gcCodePageValidate(cp), GC_OK);
  // The built-in data equal data files written with the builders' defaults.
  Bytes l = gctest::languageSection({}), t = gctest::territorySection({});
  ASSERT_EQ(lang->sect_size[0], l.size());
  EXPECT_EQ(std::memcmp(lang->sect[0], l.data(), l.size()), 0);
  ASSERT_EQ(terr->sect_size[0], t.size());
  EXPECT_EQ(std::memcmp(terr->sect[0], t.data(), t.size()), 0);
  auto s = CodePageBuilder().sections();
  ASSERT_EQ(cp->sect_size[0], s[0].size());
  EXPECT_EQ(std::memcmp(cp->sect[0], s[0].data(), s[0].size()), 0);
  // The default locale reads the territory.
  GCLocale* def = gcLocaleOrDefault(nullptr);
  EXPECT_EQ(def->codepage, cp);
  EXPECT_EQ(def->sort, nullptr);
  EXPECT_EQ(def->flags & (GC_LF_SINGLEBYTE | GC_LF_NOSORT | GC_LF_SHIFT), GC_LF_SINGLEBYTE | GC_LF_NOSORT);
  EXPECT_EQ(def->sep[GC_SEP_DECIMAL], '.');
  EXPECT_EQ(def->sep[GC_SEP_THOUSANDS], ',');
  EXPECT_STREQ(def->text[GC_TXT_GROUPING], "3;0");
  EXPECT_STREQ(def->text[GC_TXT_CURRENCY], "$");
  EXPECT_STREQ(def->text[GC_TXT_NEG_SIGN], "-");
  EXPECT_STREQ(def->text[GC_TXT_POS_SIGN], "");
  EXPECT_STREQ(def->text[GC_TXT_TIME_FMT], "%#I:%M:%S %p");
  EXPECT_STREQ(def->text[GC_TXT_SDATE_FMT], "%#m/%#d/%y");
  EXPECT_STREQ(def->text[GC_TXT_LDATE_FMT], "%A, %B %d, %Y");
  EXPECT_EQ(def->textU[GC_TXT_CURRENCY][0], '$');
  EXPECT_EQ(def->textU[GC_TXT_CURRENCY][1], 0);
}

TEST(ObjectsUnload, FailedFreeOfAnUpgradedSectionIsReported) {
  ::unsetenv("GC_LOCALEDIR");
  DataDir dir;
  dir.writeControl({{1, 2, "US-ASCII"}, {932, 2, "DB"}});
  dir.writeObject(2, 932, CodePageBuilder().multi({0x82, 0x60}, 0xFF21).file(1));
  static bool failFree = false;
  auto alloc = [](void*, uint32_t n) -> void* { return std::malloc(n); };
  auto release = [](void*, void* p) -> int { std::free(p); return failFree ? 0 : 1; };
  ASSERT_EQ(GCInit(dir.path(), alloc, release, nullptr, 0), GC_OK);
  uint32_t st;
  GCObj* cp = GCGetObjFromID(gcObjManager(), 2, 932, GC_FIND_LOAD, &st);
  ASSERT_NE(cp, nullptr);
  ASSERT_TRUE(cp->flags & GC_OBJ_ALLOC0);
  failFree = true;
  EXPECT_EQ(GCUnloadObj(gcObjManager(), cp), GC_E_FREE);
  EXPECT_FALSE(gcObjLoaded(cp)); // released all the same
  EXPECT_EQ(cp->file, nullptr);
  failFree = false;
  EXPECT_EQ(GCTerm(), GC_OK);
}

TEST(ObjectsUnload, BuiltInDataIsNeverUnloaded) {
  ::unsetenv("GC_LOCALEDIR");
  DataDir empty;
  uint32_t st;
  GCOctx* ocx = GCInitObjManager(empty.path(), 0, &st);
  ASSERT_NE(ocx, nullptr);
  GCObj* cp = GCGetObjFromID(ocx, GC_CLASS_CODEPAGE, 1, GC_FIND_LOAD, &st);
  ASSERT_NE(cp, nullptr);
  EXPECT_EQ(GCUnloadObj(ocx, cp), GC_OK);
  EXPECT_TRUE(gcObjLoaded(cp));
  EXPECT_EQ(cp->sect[0], gcBuiltinCodePage()->sect[0]);
  EXPECT_EQ(GCTermObjManager(ocx), GC_OK);
}

TEST(ObjectsDefaultLocale, EachThreadHasItsOwnStatusWord) {
  GCLocale* mine = gcLocaleOrDefault(nullptr);
  mine->status = GC_E_BUFFER;
  GCLocale* theirs = nullptr;
  uint32_t theirStatus = 99;
  std::thread t([&] {
    theirs = gcLocaleOrDefault(nullptr);
    theirStatus = GCGetError(nullptr);
  });
  t.join();
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(theirStatus, GC_OK);
  EXPECT_EQ(GCGetError(nullptr), GC_E_BUFFER);
  mine->status = GC_OK;
}

// The work lists of the code-page checks come from the library's allocation
// callback: a failing allocation is reported as out of memory (so a load is
// tried again), never thrown.
TEST(ObjectsValidate, TrieChecksReportOutOfMemory) {
  gctest::SortLib lib;
  gctest::MemObject cp(GC_CLASS_CODEPAGE, 3, gctest::doubleBytePage().sections());
  ASSERT_NE(cp.get()->sect[1], nullptr) << "the page has a multibyte trie";
  EXPECT_EQ(gcCodePageValidate(cp.get()), GC_OK);
  // Each trie walk takes two blocks; the first walk fails at either.
  for (int pass = 0; pass < 2; ++pass) {
    gctest::gcTestPassAllocs = pass;
    gctest::gcTestFailAllocs = 1;
    EXPECT_EQ(gcCodePageValidate(cp.get()), GC_E_NOMEM) << pass;
    gctest::gcTestPassAllocs = 0;
    gctest::gcTestFailAllocs = 0;
  }
  EXPECT_EQ(gcCodePageValidate(cp.get()), GC_OK);
}
