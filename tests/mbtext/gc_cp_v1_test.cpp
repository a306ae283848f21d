// Upgrade of version-1 code-page main tables and tries, and the checks
// that refuse malformed code-page tables.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_testdata.h"
#include "mbtext/gc_types_int.h"

using gctest::Bytes;
using gctest::CodePageBuilder;
using gctest::MemObject;

namespace {

CodePageBuilder dbcs() {
  CodePageBuilder b;
  b.multi({0x81, 0x40}, 0x3000, 0x2C0)
      .multi({0x82, 0x60}, 0xFF21, 0x203, 0x21)
      .multi({0x82, 0x81}, 0xFF41, 0x205, -0x21)
      .fullWidthOfByte('A', 0x8260)
      .widthPair(0x41, 0x8260);
  return b;
}

struct Upgraded {
  uint8_t* main = nullptr;
  uint8_t* trie = nullptr;
  uint32_t msize = 0, tsize = 0;
  ~Upgraded() {
    gcFree(main);
    gcFree(trie);
  }
};

} // namespace

TEST(CodePageV1, MultibyteTableUpgradesToTheCurrentLayout) {
  std::vector<Bytes> v2 = dbcs().sections();
  std::vector<Bytes> v1 = dbcs().sectionsV1();
  Upgraded u;
  u.main = GCCpV1toV2(v1[0].data(), uint32_t(v1[0].size()), v1[1].data(), uint32_t(v1[1].size()),
                      &u.trie, &u.msize, &u.tsize);
  ASSERT_NE(u.main, nullptr);
  ASSERT_NE(u.trie, nullptr);
  const Bytes& m = v2[0];
  ASSERT_EQ(u.msize, m.size());
  // Every field the old table carries comes through; the shift codes, the
  // Windows number and the unused bytes are not carried (zero).
  auto same = [&](uint32_t from, uint32_t len) { return std::memcmp(u.main + from, &m[from], len) == 0; };
  EXPECT_TRUE(same(0, 8));
  EXPECT_TRUE(same(10, 768));
  EXPECT_TRUE(same(778, 512));
  EXPECT_TRUE(same(1292, 1024));
  EXPECT_TRUE(same(2316, 2048));
  EXPECT_TRUE(same(4364, 2));
  EXPECT_TRUE(same(4400, 8)); // the four variable-part offsets
  EXPECT_TRUE(same(4412, uint32_t(m.size() - 4412)));
  EXPECT_EQ(gc_be16(u.main + GC_CPM_WINCP), 0);
  // The trie nodes accept every byte now; values follow the nodes.
  uint32_t valoff = gc_be16(u.main + GC_CPM_OFF_VALUES);
  EXPECT_EQ(valoff % 4, 0u);
  for (uint32_t n = 0; n * 6 + 6 <= valoff && n < (v1[1].size() / 4); ++n) {
    if (n * 4 >= gc_be16(&v1[0][GC_CPM1_VALUES])) break;
    EXPECT_EQ(u.trie[6 * n + 2], 0x00);
    EXPECT_EQ(u.trie[6 * n + 3], 0xFF);
  }
  // The upgraded page converts as the current one does.
  MemObject up(GC_CLASS_CODEPAGE, 932,
               {Bytes(u.main, u.main + u.msize), Bytes(u.trie, u.trie + u.tsize), v2[2], v2[3]});
  ASSERT_EQ(gcCodePageValidate(up.get()), GC_OK);
  EXPECT_EQ(GCCpMbToUnicode(up.get(), "\x82\x60"), 0xFF21);
  EXPECT_EQ(GCCpMbToUnicode(up.get(), "\x81\x40"), 0x3000);
  EXPECT_EQ(gcCtypeDelta(GCGetMbCtype(up.get(), "\x82\x81")), -0x21);
  EXPECT_EQ(GCCpMbHalfToFullW(up.get(), 0x41), 0x8260u);
}

TEST(CodePageV1, SingleByteTableUpgradesWithoutVariablePart) {
  std::vector<Bytes> v1 = CodePageBuilder().sectionsV1();
  ASSERT_EQ(v1[0].size(), GC_CP1_MAIN_SIZE);
  Upgraded u;
  u.main = GCCpV1toV2(v1[0].data(), uint32_t(v1[0].size()), nullptr, 0, &u.trie, &u.msize, &u.tsize);
  ASSERT_NE(u.main, nullptr);
  EXPECT_EQ(u.msize, GC_CP_MAIN_SIZE);
  EXPECT_EQ(u.trie, nullptr);
  for (uint32_t at = 4400; at < 4410; ++at) EXPECT_EQ(u.main[at], 0) << at;
  MemObject up(GC_CLASS_CODEPAGE, 2, {Bytes(u.main, u.main + u.msize), {}, CodePageBuilder().sections()[2]});
  EXPECT_EQ(gcCodePageValidate(up.get()), GC_OK);
  EXPECT_EQ(gcCpByteToUcs2(up.get(), 'x'), 'x');
}

TEST(CodePageV1, MalformedOldTablesAreRefused) {
  std::vector<Bytes> v1 = dbcs().sectionsV1();
  struct Case {
    const char* what;
    std::function<void(Bytes&, Bytes&)> mutate;
  } cases[] = {
      {"short table", [](Bytes& m, Bytes&) { m.resize(4000); }},
      {"variable part beyond the table", [](Bytes& m, Bytes&) { gctest::put16(m, 4362, uint16_t(m.size() + 1)); }},
      {"value array beyond the trie", [](Bytes& m, Bytes& t) { gctest::put16(m, 4370, uint16_t(t.size() + 2)); }},
  };
  for (auto& c : cases) {
    Bytes m = v1[0], t = v1[1];
    c.mutate(m, t);
    uint8_t* trie = nullptr;
    uint32_t ms = 0, ts = 0;
    EXPECT_EQ(GCCpV1toV2(m.data(), uint32_t(m.size()), t.data(), uint32_t(t.size()), &trie, &ms, &ts), nullptr)
        << c.what;
    EXPECT_EQ(trie, nullptr) << c.what;
  }
}

TEST(CodePageCheck, DamagedTablesAreRefused) {
  struct Case {
    const char* what;
    std::function<void(std::vector<Bytes>&)> mutate;
  } cases[] = {
      {"short main table", [](auto& s) { s[0].resize(4411); }},
      {"maximum length 0", [](auto& s) { s[0][GC_CPM_MAXLEN] = 0; }},
      {"maximum length 5", [](auto& s) { s[0][GC_CPM_MAXLEN] = 5; }},
      {"lead-byte length 9", [](auto& s) { s[0][GC_CPM_LEADLEN + 0x81] = 9; }},
      {"undefined page record type", [](auto& s) { s[0][GC_CPM_PAGES + 8 * 0x30] = 5; }},
      {"page record beyond the low block", [](auto& s) { gctest::put16(s[0], GC_CPM_PAGES + 4, 0xFF00); }},
      {"page record needs a missing high block",
       [](auto& s) { s[0][GC_CPM_PAGES + 8 * 0x30] = 2; s[3].clear(); }},
      {"trie child beyond the nodes", [](auto& s) { gctest::put16(s[1], 4, 0x7000); }},
      {"trie values beyond the section", [](auto& s) { s[1].resize(s[1].size() - 2); }},
      {"value array offset beyond the trie", [](auto& s) { gctest::put16(s[0], GC_CPM_OFF_VALUES, 0xFFF0); }},
      {"class trie beyond the table", [](auto& s) { gctest::put16(s[0], GC_CPM_OFF_CTRIE, 0xFFF0); }},
      {"class records beyond the table", [](auto& s) { s[0].resize(s[0].size() - 8); }},
      {"full-width table beyond the table", [](auto& s) { gctest::put16(s[0], GC_CPM_OFF_FULLW, uint16_t(s[0].size() - 100)); }},
      {"width pairs beyond the table", [](auto& s) { gctest::put16(s[0], GC_CPM_PAIRCOUNT, 0x4000); }},
      {"shift state with equal shift codes", [](auto& s) {
         gctest::put16(s[0], GC_CPM_FLAGS, 0x0003);
         s[0][GC_CPM_SO] = 0x0E;
         s[0][GC_CPM_SI] = 0x0E;
       }},
      {"shift state with a NUL shift code", [](auto& s) {
         gctest::put16(s[0], GC_CPM_FLAGS, 0x0003);
         s[0][GC_CPM_SO] = 0x0E;
         s[0][GC_CPM_SI] = 0x00;
       }},
  };
  CodePageBuilder b = dbcs();
  b.multi({0x8F, 0xA1, 0xA1}, 0x4E00); // gives the page a high block
  {
    MemObject good(GC_CLASS_CODEPAGE, 932, b.sections());
    ASSERT_EQ(gcCodePageValidate(good.get()), GC_OK);
    ASSERT_FALSE(good.sections()[3].empty());
  }
  for (auto& c : cases) {
    std::vector<Bytes> s = b.sections();
    c.mutate(s);
    MemObject bad(GC_CLASS_CODEPAGE, 932, s);
    EXPECT_EQ(gcCodePageValidate(bad.get()), GC_E_FILE_READ) << c.what;
  }
}

TEST(CodePageCheck, PageRecordTypesReadTheirBlocks) {
  // Page 0x30: type 2 (16-bit low + 8-bit high << 16); page 0x31: type 4
  // (8-bit low + 8-bit high << 8); page 0x32: type 3 (16-bit high << 16 | low).
  CodePageBuilder b;
  b.rawPage(0x30, 2, 0xFF, 0x00, 0x01, {0x12, 0x34, 0x56, 0x78}, {0x8F, 0x8E})
      .rawPage(0x31, 4, 0x0F, 0x10, 0x11, {0xA1, 0xA2}, {0x81, 0x82})
      .rawPage(0x32, 3, 0xFF, 0x00, 0x00, {0xA1, 0xA1}, {0x00, 0x8F});
  MemObject cp(GC_CLASS_CODEPAGE, 50, b.sections());
  ASSERT_EQ(gcCodePageValidate(cp.get()), GC_OK);
  struct { GCUChar u; GCPacked w; } cases[] = {
      {0x3000, 0x8F1234}, {0x3001, 0x8E5678}, {0x3002, '?'},
      {0x3110, 0x81A1}, {0x3111, 0x82A2}, {0x310F, '?'},
      {0x3200, 0x8FA1A1}};
  for (auto& c : cases) {
    EXPECT_EQ(GCCpUnicodeToCharW(cp.get(), c.u), c.w) << std::hex << c.u;
    char out[4] = {};
    char want[4] = {};
    EXPECT_EQ(std::string(out, size_t(GCCpUnicodeToChar(cp.get(), c.u, out))),
              std::string(want, size_t(GCWToMb(want, c.w))));
  }
}
