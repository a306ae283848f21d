// Locale objects: names and flags, fallbacks to the language's defaults,
// the user's locale, native locale names and conventions, and changing a
// locale's territory and code page.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gc_testloc.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"

using gctest::bytes;

namespace {

std::string name_of(const GCObj* o) { return o ? o->name : "(binary)"; }

struct NameCase {
  const char* name;
  uint32_t flags;
  uint32_t status;
  const char* language = "";
  const char* territory = "";
  const char* codepage = "";
  const char* sort = "";
  uint16_t lflags = 0; // of 0x40, 0x80, 0x100
};

TEST(LocaleNames, PartsFlagsAndFallbacks) {
  gctest::LocaleLib lib;
  const NameCase cases[] = {
      {"", 0, 0, "English", "UnitedStates", "US-ASCII", "(binary)", 0xC0},
      {"English_UnitedStates.US-ASCII@BINARY", 0, 0, "English", "UnitedStates", "US-ASCII", "(binary)", 0xC0},
      {"_.US-ASCII@", 0, 0, "English", "UnitedStates", "US-ASCII", "(binary)", 0xC0},
      {"German", 0, 0, "German", "Germany", "Latin1", "Default", 0x40},
      {"german_unitedstates.utf-8@default", 0, 0, "German", "UnitedStates", "UTF-8", "Default", 0},
      {"German@binary", 0, 0, "German", "Germany", "Latin1", "(binary)", 0xC0},
      {"English.Shift", 0, 0, "English", "UnitedStates", "Shift", "(binary)", 0x180},
      {"English.DoubleByte@Default", 0, 0, "English", "UnitedStates", "DoubleByte", "Default", 0},
      {"French", 0, GC_E_NO_LANGUAGE},
      {"French_Germany", 4, 0, "English", "Germany", "US-ASCII", "(binary)", 0xC0},
      {"English_Nowhere", 0, GC_E_NO_TERRITORY},
      {"English_Nowhere", 4, 0, "English", "UnitedStates", "US-ASCII", "(binary)", 0xC0},
      {"German.Nope", 0, GC_E_NO_CODEPAGE},
      {"German.Nope", 4, 0, "German", "Germany", "Latin1", "Default", 0x40},
      {"German@Nope", 0, GC_E_NO_SORT},
      {"German@Nope", 4, 0, "German", "Germany", "Latin1", "Default", 0x40},
      {"English@Nope", 4, 0, "English", "UnitedStates", "US-ASCII", "(binary)", 0xC0},
      {"English", 1, GC_E_ARG},
      {"English", 8, GC_E_ARG},
      {"English", 3, GC_E_ARG},
  };
  for (const auto& c : cases) {
    uint32_t st = 99;
    GCLocale* l = GCGetLocale(c.name, c.flags, &st);
    EXPECT_EQ(st, c.status) << c.name << " flags " << c.flags;
    if (c.status != 0) {
      EXPECT_EQ(l, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(l, nullptr) << c.name;
    EXPECT_EQ(name_of(l->language), c.language) << c.name;
    EXPECT_EQ(name_of(l->territory), c.territory) << c.name;
    EXPECT_EQ(name_of(l->codepage), c.codepage) << c.name;
    EXPECT_EQ(name_of(l->sort), c.sort) << c.name;
    EXPECT_EQ(l->flags & 0x1C0, c.lflags) << c.name;
    EXPECT_EQ(GCGetError(l), GC_OK);
    EXPECT_EQ(GCReleaseLocale(l, 0), GC_OK);
  }
  GCLocale* l = GCGetLocale("English", 0, nullptr); // no status word
  EXPECT_NE(l, nullptr);
  GCReleaseLocale(l, 0);
}

TEST(LocaleNames, NeedsAStartedLibrary) {
  uint32_t st = 0;
  EXPECT_EQ(GCGetLocale("English", 0, &st), nullptr);
  EXPECT_EQ(st, GC_E_INIT);
}

TEST(LocaleNames, BuiltInObjectsWithoutDataFiles) {
  gctest::DataDir empty;
  ASSERT_EQ(GCInit(empty.path(), nullptr, nullptr, nullptr, 0), GC_S_DEFAULTS);
  uint32_t st = 99;
  GCLocale* l = GCGetLocale("", 0, &st);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(st, GC_OK);
  char name[GC_LOCALE_STRING_SIZE];
  GCLocaleGetLocaleString(l, name);
  EXPECT_STREQ(name, "English_UnitedStates.US-ASCII@Binary");
  EXPECT_EQ(GCGetLocale("English@Default", 0, &st), nullptr);
  EXPECT_EQ(st, GC_E_NO_SORT);
  EXPECT_EQ(GCReleaseLocale(l, 0), GC_OK);
  GCTerm();
}

TEST(LocaleNames, SortThatCannotBeReadIsReported) {
  gctest::LocaleLib lib;
  lib.dir().remove(gctest::DataDir::objectName(GC_CLASS_SORT, 1));
  uint32_t st = 99;
  EXPECT_EQ(GCGetLocale("German", 0, &st), nullptr);
  EXPECT_EQ(st, GC_E_INIT);
  GCLocale* l = GCGetLocale("German@Binary", 0, &st);
  EXPECT_NE(l, nullptr);
  GCReleaseLocale(l, 0);
}

TEST(LocaleItems, FilledFromTheTerritory) {
  gctest::LocaleLib lib;
  GCLocale* de = lib.get("German");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(de->sep), 5), ",.;,.");
  EXPECT_EQ(de->sepU[0], u',');
  EXPECT_EQ(de->digits, 3);
  EXPECT_EQ(de->curr_digits, 2);
  EXPECT_EQ(de->intl_curr_digits, 4);
  EXPECT_EQ(de->pos_sign_posn, 2);
  EXPECT_EQ(de->neg_sign_posn, 3);
  // Territory flags 0x04, 0x10, 0x20 are locale flags 0x02, 0x08, 0x10.
  EXPECT_EQ(de->flags & 0x3F, 0x02 | 0x08 | 0x10);
  EXPECT_STREQ(de->text[GC_TXT_CURRENCY], "?") << "the euro sign has no Latin1 byte";
  EXPECT_EQ(de->textU[GC_TXT_CURRENCY][0], 0x20AC);
  EXPECT_EQ(de->textU[GC_TXT_CURRENCY][1], 0);
  EXPECT_STREQ(de->text[GC_TXT_LDATE_FMT], "%A, %d. %B %Y");
  EXPECT_STREQ(de->text[GC_TXT_GROUPING], "3;0");
  EXPECT_EQ(de->kept, 0u);
  GCLocale* u8 = lib.get("German_Germany.UTF-8");
  EXPECT_STREQ(u8->text[GC_TXT_CURRENCY], "\xE2\x82\xAC");
}

TEST(LocaleItems, MixedWidthTextsInEveryCodePage) {
  gctest::LocaleLib lib;
  struct {
    const char* name;
    std::string want;
  } cases[] = {
      {"English_Wide.Shift", bytes({'a', 0x0E, 0x42, 0xC1, 0x0F, 'b', 0x0E, 0x42, 0xC1, 0x0F})},
      {"English_Wide.DoubleByte", bytes({'a', 0x82, 0x60, 'b', 0x82, 0x60})},
      {"English_Wide.UTF-8", bytes({'a', 0xEF, 0xBC, 0xA1, 'b', 0xEF, 0xBC, 0xA1})},
      {"English_Wide.Latin1", "a?b?"},
  };
  for (const auto& c : cases) {
    GCLocale* l = lib.get(c.name);
    EXPECT_EQ(std::string(l->text[GC_TXT_CURRENCY]), c.want) << c.name;
    EXPECT_EQ(l->textU[GC_TXT_CURRENCY][1], 0xFF21) << c.name;
  }
}

TEST(UserLocale, FromGcLang) {
  gctest::LocaleLib lib;
  setenv("GC_LANG", "German_Germany.UTF-8", 1);
  char buf[64];
  EXPECT_EQ(GCGetUserLocale(buf, sizeof buf), 1);
  EXPECT_STREQ(buf, "German_Germany.UTF-8");
  EXPECT_EQ(GCGetUserLocale(buf, 5), 1);
  EXPECT_STREQ(buf, "Germ") << "cut to the size minus 1";
  GCLocale* l = lib.get("ignored", GC_GL_USER);
  EXPECT_EQ(name_of(l->codepage), "UTF-8");
  EXPECT_EQ(name_of(l->language), "German");
  unsetenv("GC_LANG");
}

TEST(UserLocale, FromTheProcessLocale) {
  gctest::LocaleLib lib;
  unsetenv("GC_LANG");
  setenv("LC_ALL", "C", 1);
  const std::string before = std::setlocale(LC_ALL, nullptr);
  char buf[64];
  EXPECT_EQ(GCGetUserLocale(buf, sizeof buf), 2);
  EXPECT_STREQ(buf, "English_UnitedStates.US-ASCII@Binary");
  EXPECT_EQ(before, std::setlocale(LC_ALL, nullptr)) << "the process locale is switched back";
  GCLocale* l = lib.get(nullptr, GC_GL_USER | GC_GL_FALLBACK);
  EXPECT_EQ(name_of(l->language), "English");
  EXPECT_EQ(name_of(l->codepage), "US-ASCII");
  EXPECT_EQ(l->sep[GC_SEP_DECIMAL], '.');
  unsetenv("LC_ALL");
}

TEST(NativeNames, Mapping) {
  struct {
    const char* native;
    const char* mapped;
  } cases[] = {
      {"C", "English_UnitedStates.US-ASCII@Binary"},
      {"de_AT.ISO8859-15", "German_Austria.ISO-8859-15@Default"},
      {"el.sun_eu_greek", "Greek_Greece.ISO-8859-7@Default"},
      {"ja", "Japanese_Japan.euc-jp@Binary"},
      {"de_DE.UTF-8", "German_Germany.UTF-8@Default"},
      {"de_DE", "German_Germany.Latin1@Default"},
      {"ja_JP.eucJP", "Japanese_Japan.euc-jp@Binary"},
      {"fr_CA.utf8", "CanadianFrench_French-Canada.UTF-8@Default"},
      {"it_CH.UTF-8", "Italian_Italy.UTF-8@Default"},
      {"cs_CZ.ISO-8859-2", "Czech_CzechRepublic.ISO-8859-2@Czech"},
      {"C.utf8", "English_UnitedStates.UTF-8@Binary"},
      {"en_GB.UTF-8@euro", "English_UnitedKingdom.UTF-8@Default"},
      {"c", "Unknown"},
      {"xx_YY", "Unknown"},
      {"de_DE.nosuchset", "Unknown"},
      {"", "Unknown"},
      {"/C/de/fr/sv/C/C", "French_Germany.US-ASCII@Swedish"},
      {"/C/xx/C/C/C/C", "English_Unknown.US-ASCII@Binary"},
      {"/C", "Unknown_Unknown.US-ASCII@Unknown"},
      {"LC_CTYPE=de_DE.UTF-8;LC_NUMERIC=C;LC_TIME=fr_FR;LC_COLLATE=C;LC_MONETARY=C",
       "French_UnitedStates.UTF-8@Binary"},
  };
  for (const auto& c : cases) {
    char buf[GC_LOCALE_STRING_SIZE];
    EXPECT_STREQ(GCMapNativeLocale(c.native, buf, sizeof buf), c.mapped) << c.native;
  }
  char small[8];
  EXPECT_STREQ(GCMapNativeLocale("C", small, sizeof small), "English");
  std::string longName(300, 'x');
  char buf[GC_LOCALE_STRING_SIZE];
  EXPECT_STREQ(GCMapNativeLocale(longName.c_str(), buf, sizeof buf), "Unknown");
  EXPECT_STREQ(GCMapNativeLocale(("/" + longName + "/" + longName).c_str(), buf, sizeof buf),
               "Unknown_Unknown.Unknown@Unknown");
}

TEST(NativeNames, MapHasItsRows) {
  int n = 0;
  for (const auto& r : GCPlocaleMap) n += r.native[0] != 0;
  EXPECT_EQ(n, 100);
  char buf[GC_LOCALE_STRING_SIZE];
  for (const auto& r : GCPlocaleMap) {
    std::string want = std::string(r.language) + "_" + r.territory + "." + r.codepage + "@" + r.sort;
    EXPECT_EQ(GCMapNativeLocale(r.native, buf, sizeof buf), want) << r.native;
  }
}

TEST(NativeInfo, SeparatorsOnlyInTheMatchingCodePage) {
  gctest::LocaleLib lib;
  GCLocale* u8 = lib.get("German_Germany.UTF-8");
  GCLocale* latin = lib.get("German_Germany.Latin1");
  const std::string before = std::setlocale(LC_ALL, nullptr);
  GCMapNativeInfo("C.UTF-8", u8, 0);
  GCMapNativeInfo("C.UTF-8", latin, 0);
  EXPECT_EQ(before, std::setlocale(LC_ALL, nullptr));
  EXPECT_EQ(u8->sep[GC_SEP_DECIMAL], '.') << "C.UTF-8 maps to the locale's code page";
  EXPECT_EQ(u8->sep[GC_SEP_THOUSANDS], '.') << "an empty thousands separator is not taken";
  EXPECT_EQ(latin->sep[GC_SEP_DECIMAL], ',');
  GCMapNativeInfo("no_such_locale", latin, 0);
  EXPECT_EQ(latin->sep[GC_SEP_DECIMAL], ',');
}

TEST(ChangeLocale, TerritoryKeepsWhatTheCallerSet) {
  gctest::LocaleLib lib;
  GCLocale* l = lib.get("English");
  ASSERT_EQ(GCSetLocaleTextInfo(l, 64, "EUR", -1, 0), 1);
  ASSERT_EQ(GCSetLocaleTextInfo(l, 60, " ", -1, 0), 1);
  uint32_t st;
  GCObj* de = GCGetObjFromName(gcObjManager(), GC_CLASS_TERRITORY, "Germany", -1, GC_FIND_LOAD, &st);
  ASSERT_NE(de, nullptr);
  EXPECT_EQ(GCLocaleChangeTerritory(l, de), GC_OK);
  EXPECT_STREQ(l->text[GC_TXT_CURRENCY], "EUR");
  EXPECT_EQ(l->sep[GC_SEP_THOUSANDS], ' ');
  EXPECT_EQ(l->sep[GC_SEP_DECIMAL], ',');
  EXPECT_STREQ(l->text[GC_TXT_SDATE_FMT], "%d.%m.%Y");
  EXPECT_EQ(l->digits, 3);
  EXPECT_EQ(l->territory, de);
}

TEST(ChangeLocale, CodePage) {
  gctest::LocaleLib lib;
  GCLocale* l = lib.get("German");
  uint32_t st;
  auto cp = [&](const char* n) {
    return GCGetObjFromName(gcObjManager(), GC_CLASS_CODEPAGE, n, -1, GC_FIND_LOAD, &st);
  };
  ASSERT_EQ(GCSetLocaleTextInfo(l, 72, bytes({0xE4, '-'}).c_str(), -1, 0), 1);
  EXPECT_EQ(GCLocaleChangeCodePage(l, cp("UTF-8")), GC_OK);
  EXPECT_EQ(l->flags & (GC_LF_SINGLEBYTE | GC_LF_SHIFT), 0);
  EXPECT_STREQ(l->text[GC_TXT_NEG_SIGN], "\xC3\xA4-");
  EXPECT_EQ(l->sep[GC_SEP_DECIMAL], ',');
  EXPECT_EQ(GCLocaleChangeCodePage(l, cp("Shift")), GC_OK);
  EXPECT_EQ(l->flags & GC_LF_SHIFT, GC_LF_SHIFT);
  EXPECT_STREQ(l->text[GC_TXT_NEG_SIGN], "?-");
  EXPECT_EQ(l->textU[GC_TXT_NEG_SIGN][0], 0xE4) << "the Unicode forms are not touched";
}

TEST(ChangeLocale, SeparatorWithoutSingleByteLeavesTheLocale) {
  gctest::LocaleLib lib;
  GCLocale* l = lib.get("German");
  ASSERT_EQ(GCSetLocaleTextInfo(l, 60, "\xA0", -1, 0), 1);
  GCLocale before = *l;
  uint32_t st;
  GCObj* ascii = GCGetObjFromName(gcObjManager(), GC_CLASS_CODEPAGE, "US-ASCII", -1, GC_FIND_LOAD, &st);
  EXPECT_EQ(GCLocaleChangeCodePage(l, ascii), GC_E_SEPARATOR);
  EXPECT_EQ(std::memcmp(&before, l, sizeof before), 0);
  EXPECT_EQ(GCSetLocaleTextInfo(l, 10, "US-ASCII", -1, 0), 0);
  EXPECT_EQ(GCGetError(l), GC_E_SEPARATOR);
  EXPECT_EQ(l->codepage->id, gctest::kCpLatin1);
}

TEST(ChangeLocale, CnvText) {
  gctest::LocaleLib lib;
  GCLocale* latin = lib.get("English.Latin1");
  GCLocale* u8 = lib.get("English.UTF-8");
  GCLocale* dbl = lib.get("English.DoubleByte");
  GCLocale* shift = lib.get("English.Shift");
  char out[32];
  EXPECT_EQ(GCLocaleCnvText(latin->codepage, u8->codepage, "a\xE4", out), 4);
  EXPECT_STREQ(out, "a\xC3\xA4");
  EXPECT_EQ(GCLocaleCnvText(dbl->codepage, shift->codepage, bytes({'x', 0x82, 0x60}).c_str(), out), 6);
  EXPECT_EQ(std::string(out, 6), bytes({'x', 0x0E, 0x42, 0xC1, 0x0F, 0}));
  EXPECT_EQ(GCLocaleCnvText(shift->codepage, dbl->codepage, bytes({0x0E, 0x45, 0x41, 0x0F, 'y'}).c_str(), out), 3);
  EXPECT_EQ(std::string(out, 3), bytes({'?', 'y', 0})) << "U+4E00 has no double-byte form there";
}

// Allocation callback that fails after a number of allocations.
int g_allow = -1;
void* limited_alloc(void*, uint32_t size) {
  if (g_allow == 0) return nullptr;
  if (g_allow > 0) --g_allow;
  return std::malloc(size);
}
int plain_free(void*, void* p) {
  std::free(p);
  return 1;
}

TEST(LocaleMemory, OutOfMemoryGivesEverythingBack) {
  gctest::DataDir dir;
  gctest::writeLocaleDir(dir);
  g_allow = -1;
  ASSERT_EQ(GCInit(dir.path(), limited_alloc, plain_free, nullptr, 0), GC_OK);
  uint32_t st = 0;
  GCLocale* warm = GCGetLocale("German_UnitedStates", 0, &st); // loads the objects
  ASSERT_NE(warm, nullptr);
  GCObj* de = warm->territory;
  int failures = 0;
  for (int allow = 0; allow < 40; ++allow) {
    g_allow = allow;
    GCLocale* l = GCGetLocale("German_UnitedStates", 0, &st);
    g_allow = -1;
    if (!l) {
      EXPECT_EQ(st, GC_E_NOMEM) << allow;
      ++failures;
      continue;
    }
    // A territory change that runs out of memory leaves the locale as it was.
    GCLocale before = *l;
    for (int a2 = 0; a2 < 20; ++a2) {
      g_allow = a2;
      uint32_t r = GCLocaleChangeTerritory(l, de);
      g_allow = -1;
      if (r == GC_OK) break;
      EXPECT_EQ(r, GC_E_NOMEM);
      EXPECT_EQ(std::memcmp(&before, l, sizeof before), 0);
    }
    EXPECT_EQ(l->territory, de);
    GCReleaseLocale(l, 0);
    break;
  }
  EXPECT_GT(failures, 0);
  GCReleaseLocale(warm, 0);
  GCTerm();
}

// A language or territory file that cannot be loaded for lack of memory is
// tried again by the next call; only a missing or damaged file falls back on
// the built-in object.
TEST(LocaleMemory, LoadOutOfMemoryIsRetried) {
  gctest::DataDir dir;
  gctest::writeLocaleDir(dir);
  int failures = 0;
  for (int allow = 0; allow < 40; ++allow) {
    g_allow = -1;
    ASSERT_EQ(GCInit(dir.path(), limited_alloc, plain_free, nullptr, 0), GC_OK);
    uint32_t st = 0;
    g_allow = allow;
    GCLocale* first = GCGetLocale("German_Germany", 0, &st);
    g_allow = -1;
    if (!first) {
      EXPECT_EQ(st, GC_E_NOMEM) << allow;
      ++failures;
    }
    GCLocale* again = GCGetLocale("German_Germany", 0, &st);
    ASSERT_NE(again, nullptr) << allow;
    EXPECT_EQ(st, GC_OK) << allow;
    EXPECT_FALSE(again->language->flags & GC_OBJ_BUILTIN) << allow;
    EXPECT_FALSE(again->territory->flags & GC_OBJ_BUILTIN) << allow;
    EXPECT_STREQ(again->language->name, "German") << allow;
    GCReleaseLocale(again, 0);
    if (first) GCReleaseLocale(first, 0);
    GCTerm();
  }
  EXPECT_GT(failures, 0);
}

} // namespace
