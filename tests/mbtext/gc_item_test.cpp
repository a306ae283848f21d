// Locale items: text and number items read from the locale and from the
// territory, items set with their rules, and a language's special case
// mappings.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "gc_testloc.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_strto_int.h"

using gctest::bytes;

namespace {

class Items : public gctest::PageLocales {
 protected:
  GCLocale* en = ascii;
  GCLocale* de = lib.get("German");

  std::string text(GCLocale* l, int item, int32_t size = 100, uint32_t flags = 0, int32_t* result = nullptr) {
    char buf[200];
    std::memset(buf, 0x55, sizeof buf);
    int32_t r = GCGetLocaleTextInfo(l, item, buf, size, flags);
    if (result) *result = r;
    if (r <= 0) return "<" + std::to_string(r) + ">";
    return buf;
  }
};

TEST_F(Items, TextItemsOfTheEnglishLocale) {
  struct {
    int item;
    const char* want;
  } cases[] = {
      {2, "English"},  {3, "EN"},        {4, "English"},       {6, "UnitedStates"}, {7, "USA"},
      {8, "United States"}, {10, "US-ASCII"}, {12, "Binary"}, {13, "UnitedStates"}, {14, "US-ASCII"},
      {15, "Binary"},  {16, "Sunday"},   {22, "Saturday"},     {23, "Sun"},         {29, "Sat"},
      {30, "January"}, {41, "December"}, {42, ""},             {43, "Jan"},         {55, ""},
      {56, "AM"},      {57, "PM"},       {59, "."},            {60, ","},           {61, ","},
      {62, "3;0"},     {64, "$"},        {65, "USD"},          {66, "."},           {67, ","},
      {68, "3;0"},     {71, ""},         {72, "-"},            {79, "%#I:%M:%S %p"}, {80, "%#m/%#d/%y"},
      {81, "%A, %B %d, %Y"}, {88, "English_UnitedStates.US-ASCII@Binary"}, {94, ""},
  };
  for (auto c : cases) {
    for (uint32_t flags : {0u, 1u}) {
      int32_t r = 0;
      EXPECT_EQ(text(en, c.item, 100, flags, &r), c.want) << c.item << " flags " << flags;
      EXPECT_EQ(r, int32_t(std::strlen(c.want)) + 1) << c.item;
      EXPECT_EQ(GCGetError(en), GC_OK) << c.item;
    }
  }
}

TEST_F(Items, TextItemsInOtherCodePages) {
  GCLocale* ascii = lib.get("German_Germany.US-ASCII");
  GCLocale* u8 = lib.get("German_Germany.UTF-8");
  EXPECT_EQ(text(de, 32), "M\xE4rz");
  EXPECT_EQ(text(ascii, 32), "M?rz");
  EXPECT_EQ(text(u8, 32), "M\xC3\xA4rz");
  EXPECT_EQ(text(u8, 64), "\xE2\x82\xAC");
  EXPECT_EQ(text(u8, 64, 100, 1), "\xE2\x82\xAC");
  EXPECT_EQ(text(de, 64, 100, 1), "?");
  EXPECT_EQ(text(de, 13), "Germany");
  EXPECT_EQ(text(de, 14), "Latin1");
  EXPECT_EQ(text(de, 15), "Default");
  EXPECT_EQ(text(de, 12), "Default");
  EXPECT_EQ(text(de, 59), ",");
  EXPECT_EQ(text(de, 88), "German_Germany.Latin1@Default");
}

TEST_F(Items, BufferSizes) {
  int32_t r;
  EXPECT_EQ(text(en, 59, 100, 0, &r), ".");
  EXPECT_EQ(r, 2) << "one separator character and the NUL";
  EXPECT_EQ(text(en, 4, 1, 0, &r), "");
  EXPECT_EQ(r, 1);
  EXPECT_EQ(text(en, 4, 4, 0, &r), "Eng");
  EXPECT_EQ(r, 4);
  EXPECT_EQ(text(en, 4, 4, 0x4000, &r), "Eng");
  EXPECT_EQ(r, 4);
  EXPECT_EQ(text(en, 59, 100, 0x4000, &r), ".");
  EXPECT_EQ(r, 2);
  char buf[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(GCGetLocaleTextInfo(en, 4, buf, 0, 0), 0);
  EXPECT_EQ(buf[0], 'x') << "size 0 writes nothing";
  // Double-byte characters are never cut.
  ASSERT_EQ(GCSetLocaleTextInfo(dbl, 64, bytes({0x82, 0x60, 0x82, 0x81}).c_str(), -1, 0), 1);
  EXPECT_EQ(text(dbl, 64, 4, 0, &r), bytes({0x82, 0x60}));
  EXPECT_EQ(r, 3);
  EXPECT_EQ(text(dbl, 64, 2, 0x4000, &r), bytes({0x82, 0x60}));
  EXPECT_EQ(r, 2);
  EXPECT_EQ(text(dbl, 64, 3, 0x4000, &r), bytes({0x82, 0x60, 0x82, 0x81}));
  EXPECT_EQ(r, 3);
  char small[8];
  std::memset(small, 0x55, sizeof small);
  EXPECT_EQ(GCGetLocaleTextInfo(dbl, 64, small, 2, 0x4000), 2);
  EXPECT_EQ(uint8_t(small[3]), 0x55) << "a character-counted buffer holds its characters' bytes only";
}

TEST_F(Items, ShiftStateTextsAreClosed) {
  GCLocale* w = lib.get("English_Wide.Shift");
  int32_t r;
  const std::string whole = bytes({'a', 0x0E, 0x42, 0xC1, 0x0F, 'b', 0x0E, 0x42, 0xC1, 0x0F});
  for (uint32_t flags : {0u, 1u}) {
    EXPECT_EQ(text(w, 64, 100, flags, &r), whole) << flags;
    EXPECT_EQ(r, 11);
    EXPECT_EQ(text(w, 64, 6, flags, &r), bytes({'a', 0x0E, 0x42, 0xC1, 0x0F})) << flags;
    EXPECT_EQ(r, 6);
  }
  for (uint32_t flags : {0u, 1u}) {
    EXPECT_EQ(text(w, 64, 5, flags, &r), "a") << "no room to close double-byte mode";
    EXPECT_EQ(r, 2);
    EXPECT_EQ(text(w, 64, 3, flags | 0x4000, &r), bytes({'a', 0x0E, 0x42, 0xC1, 0x0F})) << flags;
    EXPECT_EQ(r, 3);
  }
}

TEST_F(Items, TextItemRefusals) {
  char buf[8];
  struct {
    int item;
    int32_t size;
    uint32_t flags;
    uint32_t status;
  } cases[] = {{5, 8, 0, GC_E_NO_ITEM}, {0, 8, 0, GC_E_NO_ITEM},  {89, 8, 0, GC_E_NO_ITEM},
               {2, 8, 2, GC_E_ARG},     {2, 8, 0x4002, GC_E_ARG}, {2, -1, 0, GC_E_ARG}};
  for (auto c : cases) {
    EXPECT_EQ(GCGetLocaleTextInfo(en, c.item, buf, c.size, c.flags), -1) << c.item;
    EXPECT_EQ(GCGetError(en), c.status) << c.item;
  }
  int kind = 0;
  EXPECT_EQ(GCLocaleGetTextItem(en, 5, 1, &kind), nullptr);
  EXPECT_NE(GCLocaleGetTextItem(en, 2, 1, &kind), nullptr);
  EXPECT_EQ(kind, GC_TEXT_ASCII);
  EXPECT_NE(GCLocaleGetTextItem(en, 81, 0, &kind), nullptr);
  EXPECT_EQ(kind, GC_TEXT_UNICODE);
  EXPECT_NE(GCLocaleGetTextItem(en, 81, 1, &kind), nullptr);
  EXPECT_EQ(kind, GC_TEXT_CODEPAGE);
}

TEST_F(Items, NumberItems) {
  struct {
    int item;
    int32_t en, de;
  } cases[] = {{1, 1, 2},   {5, 1, 2},   {9, 1, 2},   {11, 0, 1},  {58, 0, 1},  {63, 2, 3},
               {69, 2, 2},  {70, 2, 4},  {73, 1, 0},  {74, 0, 1},  {75, 1, 0},  {76, 0, 1},
               {77, 1, 2},  {78, 1, 3},  {82, 0, 1},  {83, 0, 0},  {84, 0, 49}, {85, 1, 1},
               {86, 1, 1},  {87, 0, 0},  {91, 9, 7},  {92, 1, 1},  {93, 1252, 1252}};
  for (auto c : cases) {
    for (uint32_t flags : {0u, 1u}) {
      EXPECT_EQ(GCGetLocaleNumInfo(en, c.item, flags), c.en) << c.item;
      EXPECT_EQ(GCGetLocaleNumInfo(de, c.item, flags), c.de) << c.item;
      EXPECT_EQ(GCGetError(de), GC_OK);
    }
  }
  EXPECT_EQ(GCGetLocaleNumInfo(dbl, 85, 0), 2);
  EXPECT_EQ(GCGetLocaleNumInfo(dbl, 93, 0), 932);
  EXPECT_EQ(GCGetLocaleNumInfo(shift, 87, 0), 1);
  // The locale's own value against the territory's.
  de->digits = 5;
  de->flags &= uint16_t(~GC_LF_CURR_SPACE_POS);
  EXPECT_EQ(GCGetLocaleNumInfo(de, 63, 0), 5);
  EXPECT_EQ(GCGetLocaleNumInfo(de, 63, 1), 3);
  EXPECT_EQ(GCGetLocaleNumInfo(de, 74, 0), 0);
  EXPECT_EQ(GCGetLocaleNumInfo(de, 74, 1), 1);
  EXPECT_EQ(GCGetLocaleNumInfo(de, 2, 0), -1);
  EXPECT_EQ(GCGetError(de), GC_E_NO_ITEM);
  EXPECT_EQ(GCGetLocaleNumInfo(de, 1, 2), -1);
  EXPECT_EQ(GCGetError(de), GC_E_ARG);
  EXPECT_EQ(GCGetLocaleNumInfo(nullptr, 93, 0), 1252) << "built-in default locale";
}

TEST_F(Items, SeparatorRules) {
  struct {
    const char* what;
    GCLocale** loc;
    int item;
    std::string value;
    int result;
    uint32_t status;
  } cases[] = {
      {"decimal equal to thousands", &en, 59, ",", 0, GC_E_NOT_FOUND},
      {"decimal", &en, 59, ";", 1, GC_OK},
      {"thousands a digit", &en, 60, "5", 0, GC_E_NOT_FOUND},
      {"thousands NUL", &en, 60, std::string(1, '\0'), 1, GC_OK},
      {"decimal NUL", &en, 59, std::string(1, '\0'), 0, GC_E_NOT_FOUND},
      {"list separator may be a digit", &en, 61, "5", 1, GC_OK},
      {"monetary thousands equal to monetary decimal", &en, 67, ".", 0, GC_E_NOT_FOUND},
      {"monetary decimal digit", &en, 66, "0", 0, GC_E_NOT_FOUND},
      {"monetary decimal", &en, 66, "x", 1, GC_OK},
      {"double-byte lead byte", &dbl, 59, bytes({0x82, 0x60}), 0, GC_E_NOT_FOUND},
      {"shift code", &shift, 60, bytes({0x0E}), 0, GC_E_NOT_FOUND},
      {"no character in the code page", &en, 61, bytes({0xE4}), 1, GC_OK},
  };
  for (const auto& c : cases) {
    GCLocale* l = *c.loc;
    GCLocale before = *l;
    int r = GCSetLocaleTextInfo(l, c.item, c.value.data(), int32_t(c.value.size()), 0);
    EXPECT_EQ(r, c.result) << c.what;
    EXPECT_EQ(GCGetError(l), c.status) << c.what;
    if (r == 0) {
      before.status = l->status;
      EXPECT_EQ(std::memcmp(&before, l, sizeof before), 0) << c.what << ": locale unchanged";
    }
  }
  // The stored values and kept bits of the accepted ones.
  EXPECT_EQ(text(en, 59), ";");
  EXPECT_EQ(text(en, 59, 100, 1), ".") << "the territory's value";
  int32_t r;
  EXPECT_EQ(text(en, 60, 100, 0, &r), "");
  EXPECT_EQ(r, 1);
  EXPECT_EQ(en->sepU[GC_SEP_DECIMAL], u';');
  EXPECT_EQ(en->sepU[GC_SEP_LIST], 0xFFFD);
  EXPECT_EQ(en->kept & 0xF800u, 0x800u | 0x1000u | 0x2000u | 0x4000u);
}

TEST_F(Items, Texts) {
  ASSERT_EQ(GCSetLocaleTextInfo(en, 81, "%d/%m", -1, 0), 1);
  EXPECT_EQ(text(en, 81), "%d/%m");
  EXPECT_EQ(text(en, 81, 100, 1), "%A, %B %d, %Y");
  EXPECT_EQ(en->textU[GC_TXT_LDATE_FMT][4], u'm');
  EXPECT_EQ(en->textU[GC_TXT_LDATE_FMT][5], 0);
  EXPECT_EQ(en->kept, 0x800000u);
  // Length 0 changes nothing.
  EXPECT_EQ(GCSetLocaleTextInfo(en, 62, "", 0, 0), 1);
  EXPECT_EQ(text(en, 62), "3;0");
  EXPECT_EQ(en->kept, 0x800000u);
  // At most 32 characters.
  const std::string t32(32, 'x'), t33(33, 'x');
  EXPECT_EQ(GCSetLocaleTextInfo(en, 64, t32.c_str(), -1, 0), 1);
  EXPECT_EQ(text(en, 64), t32);
  EXPECT_EQ(GCSetLocaleTextInfo(en, 64, t33.c_str(), -1, 0), 0);
  EXPECT_EQ(GCGetError(en), GC_E_ARG);
  EXPECT_EQ(text(en, 64), t32);
  // Character lengths and whole characters in a double-byte page.
  const std::string v = bytes({0x82, 0x60, 'a', 'b'});
  ASSERT_EQ(GCSetLocaleTextInfo(dbl, 71, v.c_str(), 2, 0x4000), 1);
  EXPECT_EQ(text(dbl, 71), bytes({0x82, 0x60, 'a'}));
  EXPECT_EQ(dbl->textU[GC_TXT_POS_SIGN][0], 0xFF21);
  ASSERT_EQ(GCSetLocaleTextInfo(dbl, 72, bytes({'-', 0x82}).c_str(), 2, 0), 1);
  EXPECT_EQ(text(dbl, 72), "-") << "a cut character is left out";
  // A character count beyond the value's NUL takes the value up to its NUL,
  // in a single-byte page as in a multibyte one (the heap copy has no byte
  // past its NUL for the sanitizer to miss).
  const std::unique_ptr<char[]> dollar(new char[2]{'$', 0});
  for (GCLocale* l : {en, dbl}) {
    ASSERT_EQ(GCSetLocaleTextInfo(l, 64, dollar.get(), 5, 0x4000), 1);
    EXPECT_EQ(text(l, 64), "$");
  }
  EXPECT_EQ(GCSetLocaleTextInfo(en, 62, "3", -1, 1), 0);
  EXPECT_EQ(GCGetError(en), GC_E_ARG);
  EXPECT_EQ(GCSetLocaleTextInfo(en, 63, "3", -1, 0), 0);
  EXPECT_EQ(GCGetError(en), GC_E_NO_ITEM);
  EXPECT_EQ(GCSetLocaleTextInfo(nullptr, 62, "3", -1, 0), 0) << "built-in default locale";
}

TEST_F(Items, Objects) {
  EXPECT_EQ(GCSetLocaleTextInfo(en, 2, "German", -1, 0), 1);
  EXPECT_EQ(text(en, 2), "German");
  EXPECT_EQ(text(en, 6), "UnitedStates") << "only the language changes";
  EXPECT_EQ(GCSetLocaleTextInfo(en, 6, "Germany", -1, 0), 1);
  EXPECT_EQ(text(en, 59), ",");
  EXPECT_EQ(GCSetLocaleTextInfo(en, 10, "US-ASCII", -1, 0), 1);
  EXPECT_EQ(GCSetLocaleTextInfo(en, 10, "Latin1", -1, 0), 1);
  EXPECT_EQ(en->flags & GC_LF_SINGLEBYTE, GC_LF_SINGLEBYTE);
  EXPECT_EQ(text(en, 10), "Latin1");
  EXPECT_EQ(GCSetLocaleTextInfo(en, 12, "Default", -1, 0), 1);
  EXPECT_EQ(en->flags & GC_LF_NOSORT, 0);
  EXPECT_EQ(text(en, 12), "Default");
  EXPECT_EQ(GCSetLocaleTextInfo(en, 12, "binary", -1, 0), 1);
  EXPECT_EQ(en->sort, nullptr);
  EXPECT_EQ(en->flags & GC_LF_NOSORT, GC_LF_NOSORT);
  EXPECT_EQ(GCSetLocaleTextInfo(en, 6, "Nowhere", -1, 0), 0);
  EXPECT_EQ(GCGetError(en), GC_E_NOT_FOUND);
  EXPECT_EQ(GCSetLocaleTextInfo(en, 10, "Latin1-and-more", 6, 0), 1) << "the length bounds the name";
  const std::string longName = std::string(32, 'L') + "atin1";
  EXPECT_EQ(GCSetLocaleTextInfo(en, 10, longName.c_str(), -1, 0), 0);
  EXPECT_EQ(GCGetError(en), GC_E_NOT_FOUND);
}

TEST_F(Items, SpecialCaseMappings) {
  GCUChar a = 0, b = 0;
  EXPECT_EQ(GCLangGetSpecial(de->language, 0xDF, 0, &a, &b, 44), 2);
  EXPECT_EQ(a, 'S');
  EXPECT_EQ(b, 'S');
  EXPECT_EQ(GCLangGetSpecial(de->language, 0x130, 0, &a, &b, 45), 2);
  EXPECT_EQ(b, 0x307);
  EXPECT_EQ(GCLangGetSpecial(de->language, 0xDF, 0, &a, &b, 45), 0) << "not in the lower-case table";
  EXPECT_EQ(GCLangGetSpecial(de->language, 0xDF, 'x', &a, &b, 44), 0) << "both inputs must match";
  EXPECT_EQ(GCLangGetSpecial(en->language, 0xDF, 0, &a, &b, 44), 0);
  EXPECT_EQ(GCLangGetSpecial(de->language, 0xDF, 0, &a, &b, 46), 0);
}

TEST_F(Items, EbcdicBasedCodePage) {
  using gctest::ebcdic;
  GCLocale* e = lib.get("German.EBCDIC");
  EXPECT_EQ(GCGetLocaleNumInfo(e, 86, 0), 0);
  EXPECT_EQ(text(e, 2), ebcdic("German")) << "ASCII names in the code page";
  EXPECT_EQ(text(e, 88), ebcdic("German_Germany.EBCDIC@Default"));
  EXPECT_EQ(text(e, 59), ebcdic(","));
  EXPECT_EQ(text(e, 62), ebcdic("3;0"));
  EXPECT_EQ(text(e, 16), ebcdic("Sonntag")) << "Unicode texts";
  EXPECT_EQ(text(e, 32), ebcdic("M?rz"));
  EXPECT_EQ(text(e, 81, 100, 1), ebcdic("%A, %d. %B %Y"));
  // Digits of the code page are refused as separators; ASCII digit bytes are
  // no digits there.
  EXPECT_EQ(GCSetLocaleTextInfo(e, 60, ebcdic("5").c_str(), -1, 0), 0);
  EXPECT_EQ(GCGetError(e), GC_E_NOT_FOUND);
  EXPECT_EQ(GCSetLocaleTextInfo(e, 60, ebcdic(" ").c_str(), -1, 0), 1);
  EXPECT_EQ(e->sepU[GC_SEP_THOUSANDS], u' ');
  // Object names are given in the code page and found as ASCII.
  EXPECT_EQ(GCSetLocaleTextInfo(e, 6, ebcdic("UnitedStates").c_str(), -1, 0), 1);
  EXPECT_EQ(text(e, 6), ebcdic("UnitedStates"));
  EXPECT_EQ(e->sep[GC_SEP_DECIMAL], 0x4B) << "the new territory's separator in the code page";
  EXPECT_EQ(e->sep[GC_SEP_THOUSANDS], 0x40) << "kept";
  EXPECT_EQ(GCSetLocaleTextInfo(e, 10, ebcdic("Latin1").c_str(), -1, 0), 1);
  EXPECT_EQ(text(e, 10), "Latin1");
  EXPECT_EQ(text(e, 62), "3;0") << "texts converted to the new code page";
  EXPECT_EQ(e->sep[GC_SEP_THOUSANDS], ' ');
}

TEST(ItemNames, LocaleStringIsCutToItsBuffer) {
  gctest::DataDir dir;
  const std::string l(35, 'L'), t(35, 'T'), c(35, 'C'), s(35, 'S');
  dir.writeControl({{1, GC_CLASS_LANGUAGE, l}, {1, GC_CLASS_TERRITORY, t}, {1, GC_CLASS_CODEPAGE, c},
                    {1, GC_CLASS_SORT, s}});
  gctest::LanguageSpec ls;
  ls.sort = 1;
  dir.writeObject(GC_CLASS_LANGUAGE, 1, gctest::dataFile({gctest::languageSection(ls)}));
  dir.writeObject(GC_CLASS_TERRITORY, 1, gctest::dataFile({gctest::territorySection({})}));
  dir.writeObject(GC_CLASS_CODEPAGE, 1, gctest::CodePageBuilder::ascii().file());
  dir.writeObject(GC_CLASS_SORT, 1, gctest::dataFile({gctest::sortSectionV3(gctest::SortSpec{})}));
  ASSERT_EQ(GCInit(dir.path(), nullptr, nullptr, nullptr, 0), GC_OK);
  uint32_t st;
  GCLocale* loc = GCGetLocale(l.c_str(), 0, &st);
  ASSERT_NE(loc, nullptr);
  char buf[200];
  std::memset(buf, 0x55, sizeof buf);
  EXPECT_EQ(GCGetLocaleTextInfo(loc, 88, buf, sizeof buf, 0), GC_LOCALE_STRING_SIZE);
  EXPECT_EQ(std::string(buf), l + "_" + t + "." + c + "@" + s.substr(0, 131 - 108));
  GCReleaseLocale(loc, 0);
  GCTerm();
}

} // namespace
