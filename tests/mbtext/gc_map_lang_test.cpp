// Case mapping with the special case lists of a language object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mbtext/gc_locale.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_testdata.h"

namespace {

using gctest::CodePageBuilder;
using gctest::LanguageSpec;
using gctest::MemObject;
using U16 = std::u16string;

// Upper-casing: sharp s to "SS", the pair "ij" to the ligature IJ;
// lower-casing: dotted capital I to i and a combining dot.
LanguageSpec specialLanguage() {
  LanguageSpec spec;
  spec.upper = {{0x00DF, 0, u'S', u'S'}, {u'i', u'j', 0x0132, 0}};
  spec.lower = {{0x0130, 0, u'i', 0x0307}};
  return spec;
}

// A single-byte page with sharp s at 0xDF and dotted capital I at 0xDD.
CodePageBuilder latinPage() {
  CodePageBuilder b;
  b.single(0xDF, 0x00DF, 0x205).single(0xDD, 0x0130, 0x203);
  return b;
}

struct LangLocale {
  MemObject language;
  MemObject cp;
  GCLocale loc{};
  explicit LangLocale(const LanguageSpec& spec)
      : language(GC_CLASS_LANGUAGE, 7, {gctest::languageSection(spec)}),
        cp(GC_CLASS_CODEPAGE, 28591, latinPage().sections()) {
    loc.language = language.get();
    loc.territory = gcBuiltinTerritory();
    loc.codepage = cp.get();
    loc.flags = GC_LF_SINGLEBYTE | GC_LF_NOSORT;
  }
};

U16 mapU(GCLocale* loc, const U16& src, uint32_t flags, int32_t size = 32) {
  std::vector<GCUChar> dst(static_cast<size_t>(size) + 1, 0xBEEF);
  const int32_t n = GCMapStringU(loc, dst.data(), size, reinterpret_cast<const GCUChar*>(src.c_str()),
                                 static_cast<int32_t>(src.size()), flags);
  EXPECT_EQ(dst[static_cast<size_t>(size)], 0xBEEF);
  if (n < 0) return u"<error>";
  return U16(dst.begin(), dst.begin() + n);
}

std::string mapMb(GCLocale* loc, const std::string& src, uint32_t flags, int32_t size = 32) {
  std::vector<char> dst(static_cast<size_t>(size) + 1, '\x7F');
  const int32_t n = GCMapString(loc, dst.data(), size, src.c_str(), static_cast<int32_t>(src.size()), flags);
  EXPECT_EQ(dst[static_cast<size_t>(size)], '\x7F');
  if (n < 0) return "<error>";
  return std::string(dst.begin(), dst.begin() + n);
}

TEST(GcMapLanguage, UcsTextWithTheLanguageLists) {
  LangLocale ll(specialLanguage());
  const struct {
    const char* name;
    uint32_t flags;
    U16 in;
    U16 out;
  } rows[] = {
      {"one to two lengthens", GC_MAP_UPPER, u"stra\u00DFe", u"STRASSE"},
      {"lists off: the one-character upper case", GC_MAP_UPPER_SIMPLE, u"stra\u00DFe", u"STRA\u00DFE"},
      {"pair", GC_MAP_UPPER, u"ijk", u"\u0132K"},
      {"pair with lists off", GC_MAP_UPPER_SIMPLE, u"ijk", u"IJK"},
      {"lower list", GC_MAP_LOWER, u"\u0130X", u"i\u0307x"},
      {"lower without the list", GC_MAP_LOWER_SIMPLE, u"\u0130X", u"ix"},
      {"one character, lengths in characters, lists off", 0x80006025u, u"\u00DF", u"\u00DF"},
      {"lengths in characters with the lists", GC_MAP_UPPER | GC_FL_CHARS, u"\u00DF", u"SS"},
  };
  for (const auto& r : rows) {
    ll.loc.status = 99;
    EXPECT_EQ(mapU(&ll.loc, r.in, r.flags), r.out) << r.name;
    EXPECT_EQ(ll.loc.status, GC_OK) << r.name;
  }
  // The replacement is written whole or not at all.
  EXPECT_EQ(mapU(&ll.loc, u"a\u00DF", GC_MAP_UPPER, 2), u"A");
}

TEST(GcMapLanguage, CodePageTextWithTheLanguageLists) {
  LangLocale ll(specialLanguage());
  const struct {
    const char* name;
    uint32_t flags;
    std::string in;
    std::string out;
  } rows[] = {
      {"one to two lengthens", GC_MAP_UPPER, "stra\xDF" "e", "STRASSE"},
      {"lists off", GC_MAP_UPPER_SIMPLE, "stra\xDF" "e", "STRA\xDF" "E"},
      {"pair to a character the page lacks", GC_MAP_UPPER, "ijk", "?K"},
      {"lower list, second character not in the page", GC_MAP_LOWER, "\xDDX", "i?x"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(mapMb(&ll.loc, r.in, r.flags), r.out) << r.name;
    EXPECT_EQ(ll.loc.status, GC_OK) << r.name;
  }
}

TEST(GcMapLanguage, PackedValuesWithTheLanguageLists) {
  LangLocale ll(specialLanguage());
  const GCPacked src[] = {'a', 0xDF};
  GCPacked dst[4] = {};
  EXPECT_EQ(GCMapStringW(&ll.loc, dst, 4, src, 2, GC_MAP_UPPER), 3);
  EXPECT_EQ(dst[0], GCPacked('A'));
  EXPECT_EQ(dst[1], GCPacked('S'));
  EXPECT_EQ(dst[2], GCPacked('S'));
  EXPECT_EQ(GCMapStringW(&ll.loc, dst, 4, src, 2, GC_MAP_UPPER_SIMPLE), 2);
  EXPECT_EQ(dst[1], GCPacked(0xDF));
}

TEST(GcMapLanguage, LanguagesWithoutListsMapCharacterByCharacter) {
  LangLocale empty{LanguageSpec{}};
  EXPECT_EQ(mapU(&empty.loc, u"stra\u00DFe ijk", GC_MAP_UPPER), u"STRA\u00DFE IJK");
  EXPECT_EQ(mapMb(&empty.loc, "stra\xDF" "e", GC_MAP_UPPER), "STRA\xDF" "E");
  // A locale record without a language object has no special mappings.
  GCLocale bare = empty.loc;
  bare.language = nullptr;
  EXPECT_EQ(mapU(&bare, u"\u00DFij", GC_MAP_UPPER), u"\u00DFIJ");
}

} // namespace
