// Case mapping that asks the language's special list only for the
// characters that start one of its entries: the same output as asking it
// for every character, on random texts of a single-byte page and of UTF-8,
// in both directions and with every destination length.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "gc_testsort.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_item_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_map_int.h"
#include "mbtext/gc_testdata.h"

namespace {

using gctest::CodePageBuilder;
using gctest::LanguageSpec;
using gctest::MemObject;

// The language's list asked for every character (no list of first
// characters is known for another function).
int askEveryTime(const GCLocale* loc, GCUChar first, GCUChar second, GCUChar* out1, GCUChar* out2,
                 uint32_t list) {
  return GCLangGetSpecial(loc->language, first, second, out1, out2, int(list));
}

struct Pair {
  std::string got, want;
  int32_t gotLen, wantLen;
};

// room counts bytes, or characters with GC_FL_CHARS (up to four bytes each).
Pair mapBoth(GCLocale* loc, const std::string& src, uint32_t flags, int32_t room) {
  const size_t bytes = 4 * size_t(room) + 1;
  Pair p{std::string(bytes, '\x7F'), std::string(bytes, '\x7F'), 0, 0};
  p.gotLen = GCMapString(loc, p.got.data(), room, src.data(), int32_t(src.size()), flags);
  p.wantLen = gcMapStringWith(loc, p.want.data(), room, src.data(), int32_t(src.size()), flags, askEveryTime);
  return p;
}

void compareRandom(GCLocale* loc, const std::vector<std::string>& pieces, unsigned seed) {
  std::mt19937 rng(seed);
  for (int iter = 0; iter < 3000; ++iter) {
    std::string s;
    for (size_t n = rng() % 24; n > 0; --n) s += pieces[rng() % pieces.size()];
    for (uint32_t flags : {GC_MAP_UPPER, GC_MAP_LOWER, GC_MAP_UPPER | GC_FL_CHARS}) {
      const int32_t room = int32_t(rng() % (3 * s.size() + 4));
      const Pair p = mapBoth(loc, s, flags, room);
      ASSERT_EQ(p.gotLen, p.wantLen) << s << " " << flags << " " << room;
      ASSERT_EQ(p.got, p.want) << s << " " << flags << " " << room;
    }
  }
}

// Upper-casing sharp s to "SS" and the pair "ij" to the ligature; lower-
// casing dotted capital I.
LanguageSpec specialLanguage() {
  LanguageSpec spec;
  spec.upper = {{0x00DF, 0, u'S', u'S'}, {u'i', u'j', 0x0132, 0}};
  spec.lower = {{0x0130, 0, u'i', 0x0307}};
  return spec;
}

TEST(MapFirsts, SingleBytePageAsAskingEveryCharacter) {
  CodePageBuilder page;
  page.single(0xDF, 0x00DF, 0x205).single(0xDD, 0x0130, 0x203);
  MemObject language(GC_CLASS_LANGUAGE, 7, {gctest::languageSection(specialLanguage())});
  MemObject cp(GC_CLASS_CODEPAGE, 28591, page.sections());
  GCLocale loc{};
  loc.language = language.get();
  loc.territory = gcBuiltinTerritory();
  loc.codepage = cp.get();
  loc.flags = GC_LF_SINGLEBYTE | GC_LF_NOSORT;
  GCUChar firsts[16];
  ASSERT_EQ(gcLangSpecialFirsts(loc.language, GC_LANG_TABLE_UPPER, firsts, 16), 2);
  compareRandom(&loc, {"i", "j", "ij", "I", "a", "Z", " ", "\xDF", "\xDD", "x"}, 1);
}

TEST(MapFirsts, Utf8AsAskingEveryCharacter) {
  gctest::SortLib lib;
  GCLocale* loc = lib.get("German_Germany.UTF-8");
  GCUChar firsts[16];
  ASSERT_GT(gcLangSpecialFirsts(loc->language, GC_LANG_TABLE_UPPER, firsts, 16), 0);
  compareRandom(loc, {"a", "Z", "i", " ", "\xC3\x9F", "\xC3\xA4", "\xC4\xB0", "\xE4\xB8\x80", "\xC3", "\x80"}, 2);
}

}  // namespace
