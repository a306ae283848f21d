// Random and damaged input (seeded, bounded): data files, code-page tables
// and UTF-8 text must be refused or converted without a crash and without
// reading outside their buffers (the sanitizers watch the heap copies).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_cp_utf8_int.h"
#include "mbtext/gc_frame.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_sortv1.h"
#include "mbtext/gc_testdata.h"
#include "mbtext/gc_types_int.h"

using gctest::Bytes;
using gctest::CodePageBuilder;

namespace {

using Rng = std::mt19937;

Bytes mutate(Bytes b, Rng& rng) {
  std::uniform_int_distribution<int> kind(0, 9);
  int k = kind(rng);
  if (b.empty() || k == 0) { // random bytes
    Bytes r(std::uniform_int_distribution<size_t>(0, 5000)(rng));
    for (auto& x : r) x = uint8_t(rng());
    return r;
  }
  if (k == 1) { // truncate
    b.resize(std::uniform_int_distribution<size_t>(0, b.size())(rng));
    return b;
  }
  int flips = std::uniform_int_distribution<int>(1, 12)(rng);
  for (int i = 0; i < flips; ++i) {
    size_t at = std::uniform_int_distribution<size_t>(0, b.size() - 1)(rng);
    if (k == 2 && at + 1 < b.size()) { // a 16-bit field set to an extreme
      uint16_t v = (rng() & 1) ? 0xFFFF : uint16_t(rng());
      b[at] = uint8_t(v >> 8);
      b[at + 1] = uint8_t(v);
    } else {
      b[at] ^= uint8_t(1u << (rng() % 8));
    }
  }
  return b;
}

// Runs every conversion of a code page over random text; the text is a heap
// buffer of exactly its size (plus the NUL for the NUL-terminated calls).
void exercise(GCObj* cp, Rng& rng) {
  for (int round = 0; round < 8; ++round) {
    size_t n = std::uniform_int_distribution<size_t>(0, 24)(rng);
    std::unique_ptr<uint8_t[]> text(new uint8_t[n + 1]);
    for (size_t i = 0; i < n; ++i) text[i] = uint8_t(rng() | 1); // no NUL inside
    text[n] = 0;
    const char* s = reinterpret_cast<const char*>(text.get());
    size_t at = 0;
    while (at < n) {
      GCUChar u[2];
      int used = 0;
      int units = gcCpToUcs2(cp, text.get() + at, int32_t(n - at), u, &used);
      ASSERT_GE(units, 1);
      ASSERT_GE(used, 1);
      for (int k = 0; k < units; ++k) {
        uint8_t out[4];
        int consumed = 0;
        ASSERT_GE(gcCpFromUcs2(cp, &u[k], 1, out, &consumed), 1);
      }
      (void)GCCpMbToUnicode(cp, s + at);
      (void)GCGetMbCtype(cp, s + at);
      char conv[4];
      (void)GCCpMbCaseConv(cp, s + at, conv, 0x6);
      (void)GCCpMbCaseConvS(cp, s + at, conv, 0x6);
      (void)GCMbToW(cp, s + at);
      at += size_t(used);
    }
    for (int st = 0; st < 2; ++st) {
      int32_t bytes = GCCpStrCharToByteLen(cp, s, st, int32_t(n) + 3);
      ASSERT_GE(bytes, 0);
      ASSERT_LE(size_t(bytes), n);
      int32_t chars = GCCpStrByteToCharLen(cp, s, st, int32_t(n));
      ASSERT_GE(chars, 0);
      ASSERT_LE(size_t(chars), n);
      (void)GCCpStrByteToCharLen(cp, s, st, -1);
    }
    GCUChar u = GCUChar(rng());
    char out[4];
    (void)GCCpUnicodeToChar(cp, u, out);
    (void)GCCpUnicodeToCharW(cp, u);
    (void)GCCpMbHalfToFullW(cp, rng());
    (void)GCCpFullToHalfW(cp, rng());
    (void)GCGetMbCtypeW(cp, rng());
  }
}

std::vector<Bytes> samplePages(int which) {
  CodePageBuilder b;
  switch (which % 3) {
    case 0:
      b.multi({0x81, 0x40}, 0x3000).multi({0x82, 0x60}, 0xFF21, 0x203, 0x21).multi({0x8F, 0xA1, 0xA1}, 0x4E00)
          .widthPair(0x41, 0x8260).fullWidthOfByte('A', 0x8260);
      break;
    case 1:
      b.ebcdicBased().shiftState(0x0E, 0x0F).multi({0x42, 0xC1}, 0xFF21, 0x203, 0x40).multi({0x45, 0x41}, 0x4E00);
      break;
    default:
      break;
  }
  return which >= 3 ? b.sectionsV1() : b.sections();
}

} // namespace

TEST(Fuzz, DamagedCodePageTablesInMemory) {
  Rng rng(20261210);
  for (int iter = 0; iter < 300; ++iter) {
    std::vector<Bytes> s = samplePages(iter % 6);
    int section = int(rng() % 4);
    s[size_t(section)] = mutate(s[size_t(section)], rng);
    if (iter % 6 >= 3) { // old layout: upgrade first, as the loader does
      uint8_t* trie = nullptr;
      uint32_t ms = 0, ts = 0;
      uint8_t* m = GCCpV1toV2(s[0].data(), uint32_t(s[0].size()), s[1].empty() ? nullptr : s[1].data(),
                              uint32_t(s[1].size()), &trie, &ms, &ts);
      if (!m) continue;
      s[0].assign(m, m + ms);
      s[1] = trie ? Bytes(trie, trie + ts) : Bytes();
      gcFree(m);
      gcFree(trie);
    }
    for (uint16_t id : {uint16_t(932), GC_CP_ID_UTF8}) {
      gctest::MemObject cp(GC_CLASS_CODEPAGE, id, s);
      (void)gcCodePageValidate(cp.get());
      exercise(cp.get(), rng); // valid or not, no read leaves the tables
    }
  }
}

TEST(Fuzz, DamagedLanguageTerritoryAndSortSections) {
  Rng rng(7);
  gctest::SortSpec sort;
  sort.pages[0].flags = 0;
  for (int i = 0; i < 256; ++i) sort.weights.push_back({uint16_t(i), 2, 2, 0});
  sort.combinations.push_back({'c', 'h', 9, 2, 2, 0});
  const Bytes samples[3] = {gctest::languageSection({}), gctest::territorySection({}), gctest::sortSectionV3(sort)};
  const Bytes old = gctest::sortSectionV1(sort);
  int accepted = 0;
  for (int iter = 0; iter < 600; ++iter) {
    Bytes d = mutate(samples[iter % 3], rng);
    uint32_t st = iter % 3 == 0   ? gcLanguageValidate(d.data(), uint32_t(d.size()))
                  : iter % 3 == 1 ? gcTerritoryValidate(d.data(), uint32_t(d.size()))
                                  : gcSortValidate(d.data(), uint32_t(d.size()));
    ASSERT_TRUE(st == GC_OK || st == GC_E_FILE_READ);
    accepted += st == GC_OK;
    Bytes o = mutate(old, rng);
    uint32_t size = 0;
    uint8_t* t = GCSortV1toV3(o.data(), uint32_t(o.size()), &size);
    if (t) {
      (void)gcSortValidate(t, size);
      gcFree(t);
    }
  }
  EXPECT_GT(accepted, 0); // some harmless mutations pass
}

TEST(Fuzz, DamagedDataFilesThroughTheLoader) {
  ::unsetenv("GC_LOCALEDIR");
  Rng rng(4242);
  gctest::SortSpec sort;
  sort.pages[0].flags = 0;
  for (int i = 0; i < 256; ++i) sort.weights.push_back({uint16_t(i), 2, 2, 0});
  for (int iter = 0; iter < 120; ++iter) {
    gctest::DataDir dir;
    Bytes control = gctest::controlFile({{1, 0, "English"}, {1, 1, "UnitedStates"}, {1, 2, "US-ASCII"},
                                         {932, 2, "DB"}, {930, 2, "SH"}, {1, 3, "Sort"}},
                                        iter % 4);
    Bytes files[6] = {
        gctest::dataFile({gctest::languageSection({})}, int(rng() % 4)),
        gctest::dataFile({gctest::territorySection({})}, int(rng() % 4)),
        CodePageBuilder().file(),
        gctest::dataFile(samplePages(0)),
        gctest::dataFile(samplePages(4), 1),
        gctest::dataFile({gctest::sortSectionV1(sort)}, 2),
    };
    int victim = int(rng() % 7);
    if (victim == 6) control = mutate(control, rng);
    else files[victim] = mutate(files[victim], rng);
    dir.write("control.nls", control);
    const uint8_t cls[6] = {0, 1, 2, 2, 2, 3};
    const uint16_t id[6] = {1, 1, 1, 932, 930, 1};
    for (int i = 0; i < 6; ++i) dir.writeObject(cls[i], id[i], files[i]);
    uint32_t r = GCInit(dir.path(), nullptr, nullptr, nullptr, 0);
    ASSERT_TRUE(r == GC_OK || r == GC_S_DEFAULTS) << r;
    GCOctx* ocx = gcObjManager();
    for (uint32_t i = 0; i < ocx->count; ++i) {
      uint32_t st;
      GCObj* e = GCGetObjFromID(ocx, ocx->dir[i].cls, ocx->dir[i].id, GC_FIND_LOAD, &st);
      if (e && e->cls == GC_CLASS_CODEPAGE) exercise(e, rng);
    }
    ASSERT_EQ(GCTerm(), GC_OK);
  }
}

TEST(Fuzz, RandomUtf8Text) {
  Rng rng(106);
  gctest::MemObject cp(GC_CLASS_CODEPAGE, GC_CP_ID_UTF8, CodePageBuilder().maxLen(4).sections());
  const uint8_t pieces[][4] = {{0xC3, 0xA9}, {0xE2, 0x82, 0xAC}, {0xF0, 0x9F, 0x98, 0x80}, {0xED, 0xA0, 0x80},
                               {0xC0, 0x80}, {0x80}, {0xF4, 0x90}, {0xFF}, {'a'}};
  const int lens[] = {2, 3, 4, 3, 2, 1, 2, 1, 1};
  for (int iter = 0; iter < 2000; ++iter) {
    Bytes text;
    int parts = int(rng() % 12);
    for (int p = 0; p < parts; ++p) {
      if (rng() % 3 == 0) {
        text.push_back(uint8_t(rng() | 1));
      } else {
        int k = int(rng() % 9);
        text.insert(text.end(), pieces[k], pieces[k] + lens[k]);
      }
    }
    std::unique_ptr<uint8_t[]> buf(new uint8_t[text.size() + 1]);
    if (!text.empty()) std::memcpy(buf.get(), text.data(), text.size());
    buf[text.size()] = 0;
    // Decode with the exact count, then re-encode and decode again: valid
    // characters survive, everything else became U+FFFD.
    std::vector<GCUChar> units;
    size_t at = 0;
    while (at < text.size()) {
      GCUChar u[2];
      int used = 0;
      int n = gcCpToUcs2(cp.get(), buf.get() + at, int32_t(text.size() - at), u, &used);
      ASSERT_GE(used, 1);
      units.insert(units.end(), u, u + n);
      at += size_t(used);
    }
    for (size_t i = 0; i < units.size(); ++i) {
      if (units[i] >= 0xD800 && units[i] <= 0xDBFF) {
        ASSERT_LT(i + 1, units.size());
        ASSERT_TRUE(units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF);
        ++i;
      } else {
        ASSERT_FALSE(units[i] >= 0xDC00 && units[i] <= 0xDFFF);
      }
    }
    Bytes again;
    size_t i = 0;
    while (i < units.size()) {
      uint8_t o[4];
      int used = 0;
      int n = gcCpFromUcs2(cp.get(), &units[i], int32_t(units.size() - i), o, &used);
      again.insert(again.end(), o, o + n);
      i += size_t(used);
    }
    std::vector<GCUChar> units2;
    at = 0;
    while (at < again.size()) {
      GCUChar u[2];
      int used = 0;
      int n = gcCpToUcs2(cp.get(), again.data() + at, int32_t(again.size() - at), u, &used);
      for (int k = 0; k < n; ++k) units2.push_back(u[k] == '?' ? GCUChar(0xFFFD) : u[k]);
      at += size_t(used);
    }
    for (auto& u : units) u = u == '?' ? GCUChar(0xFFFD) : u;
    ASSERT_EQ(units2, units);
    // NUL-terminated walkers stop at the NUL.
    const char* s = reinterpret_cast<const char*>(buf.get());
    int32_t chars = GCCpStrByteToCharLen(cp.get(), s, 0, -1);
    ASSERT_LE(size_t(chars), text.size());
    ASSERT_LE(size_t(GCCpStrCharToByteLen(cp.get(), s, 0, chars + 5)), text.size());
    for (size_t k = 0; k < text.size(); ++k) {
      (void)GCCpMbToUnicode(cp.get(), s + k);
      (void)GCMbToW(cp.get(), s + k);
      uint32_t v;
      ASSERT_LE(gcUtf8Decode(buf.get() + k, -1, &v), 4);
    }
  }
}
