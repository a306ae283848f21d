// Locales built from the generated data: every locale that the native map
// names loads from data files; Japanese text converts exactly both ways in
// the Japanese code pages; the sorts order words as glibc's collation of the
// same locale does.
#include <gtest/gtest.h>

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gc_locdata_lib.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_conv.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_uni2str.h"

namespace {

using gctest::Iconv;

struct LocaleDeleter {
  void operator()(GCLocale* l) const { GCReleaseLocale(l, 0); }
};
using LocalePtr = std::unique_ptr<GCLocale, LocaleDeleter>;

LocalePtr getLocale(const std::string& name, uint32_t* status) {
  *status = 99;
  return LocalePtr(GCGetLocale(name.c_str(), 0, status));
}

std::string textItem(GCLocale* loc, int item, uint32_t flags = 0) {
  char buf[200] = {};
  int32_t n = GCGetLocaleTextInfo(loc, item, buf, sizeof buf, flags);
  return n > 0 ? std::string(buf) : std::string("<failed>");
}

// UCS-2 text from UTF-8 (the test's own literals).
std::vector<GCUChar> ucs2(const std::string& utf8) {
  std::vector<GCUChar> out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = uint8_t(utf8[i]);
    uint32_t u;
    int n;
    if (c < 0x80) u = c, n = 1;
    else if (c < 0xE0) u = c & 0x1F, n = 2;
    else u = c & 0x0F, n = 3;
    for (int k = 1; k < n; ++k) u = u << 6 | (uint8_t(utf8[i + k]) & 0x3F);
    out.push_back(GCUChar(u));
    i += size_t(n);
  }
  return out;
}

using GeneratedLocale = gctest::LocDataTest;

TEST_F(GeneratedLocale, EveryLocaleOfTheNativeMapLoadsFromData) {
  int checked = 0;
  for (const GCNativeLocale& row : GCPlocaleMap) {
    if (row.native[0] == '\0') continue;
    char name[132];
    GCMapNativeLocale(row.native, name, sizeof name);
    uint32_t st;
    LocalePtr loc = getLocale(name, &st);
    ASSERT_NE(loc, nullptr) << row.native << " -> " << name << ": status " << st;
    EXPECT_EQ(st, 0u) << name;
    const GCObj* parts[3] = {loc->language, loc->territory, loc->codepage};
    for (const GCObj* o : parts) EXPECT_EQ(o->flags & GC_OBJ_BUILTIN, 0) << name << ": " << o->name;
    EXPECT_EQ(textItem(loc.get(), 2), row.language);
    EXPECT_EQ(textItem(loc.get(), 6), row.territory);
    EXPECT_EQ(textItem(loc.get(), 12), row.sort);
    EXPECT_EQ(loc->sort == nullptr, std::string(row.sort) == "Binary") << name;
    ++checked;
  }
  EXPECT_GT(checked, 90);
}

TEST_F(GeneratedLocale, NamedLocalesCarryTheirConventions) {
  struct Case {
    const char* name;
    int item;
    const char* want; // in the locale's code page
  } cases[] = {
      {"German_Germany.Latin1", 16, "Sonntag"},
      {"German_Germany.Latin1", 32, "M\xE4rz"},
      {"German_Germany.Latin1", 59, ","},
      {"German_Germany.Latin1", 60, "."},
      {"German_Germany.Latin1", 65, "EUR"},
      {"German_Germany.Latin1", 80, "%d.%m.%Y"},
      {"German_Germany.Latin1", 81, "%A %#d. %B %Y"},
      {"TraditionalChinese_Taiwan.UTF-8", 81, "西元%Y年%m月%d日 (%A)"},
      {"English_UnitedStates.Latin1", 79, "%I:%M:%S %p"},
      {"German_Germany.Latin1", 88, "German_Germany.Latin1@Default"},
      {"Czech_CzechRepublic.ISO-8859-2@Czech", 17, "Pond\xECl\xED"},
      {"Czech_CzechRepublic.ISO-8859-2@Czech", 64, "K\xE8"},
      {"Czech_CzechRepublic.ISO-8859-2@Czech", 12, "Czech"},
      {"English_UnitedStates.US-ASCII@Binary", 57, "PM"},
      {"English_UnitedStates.US-ASCII@Binary", 64, "$"},
      {"Japanese_Japan.Shift-JIS@Default", 56, "\x8C\xDF\x91\x4F"}, // 午前
      {"Japanese_Japan.euc-jp", 17, "\xB7\xEE\xCD\xCB\xC6\xFC"},    // 月曜日
      {"Spanish_Mexico.Latin1@Spanish", 65, "MXN"},
      {"Russian_Russia.KOI8-R", 30, "\xD1\xCE\xD7\xC1\xD2\xD1"}, // января
  };
  for (const Case& c : cases) {
    uint32_t st;
    LocalePtr loc = getLocale(c.name, &st);
    ASSERT_NE(loc, nullptr) << c.name << ": status " << st;
    EXPECT_EQ(textItem(loc.get(), c.item), c.want) << c.name << " item " << c.item;
  }
  uint32_t st;
  LocalePtr de = getLocale("German_Germany.Latin1", &st);
  ASSERT_NE(de, nullptr);
  EXPECT_EQ(GCGetLocaleNumInfo(de.get(), 91, 0), 7);
  EXPECT_EQ(GCGetLocaleNumInfo(de.get(), 92, 0), 1);
  EXPECT_EQ(GCGetLocaleNumInfo(de.get(), 93, 0), 28591);
  EXPECT_EQ(GCGetLocaleNumInfo(de.get(), 69, 0), 2);
  EXPECT_EQ(GCGetLocaleNumInfo(de.get(), 73, 0), 0); // the symbol follows the amount
}

// Japanese text in each Japanese code page: the library writes what iconv
// writes, and reads it back unchanged.
TEST_F(GeneratedLocale, JapaneseTextConvertsExactlyBothWays) {
  const std::string text = "日本語のテキスト、カタカナとｶﾀｶﾅ、漢字「東京」。ABC 123！";
  const std::vector<GCUChar> u = ucs2(text);
  const struct {
    const char* cp;
    const char* iconv;
  } pages[] = {{"Shift-JIS", "SHIFT_JIS"}, {"euc-jp", "EUC-JP"}, {"IBM-930", "IBM930"}};
  for (const auto& p : pages) {
    SCOPED_TRACE(p.cp);
    uint32_t st;
    LocalePtr loc = getLocale(std::string("Japanese_Japan.") + p.cp, &st);
    ASSERT_NE(loc, nullptr) << st;
    char bytes[512] = {};
    int32_t n = GCUnicodeToString(loc.get(), bytes, sizeof bytes, u.data(), int32_t(u.size()), 0);
    ASSERT_GT(n, 0);
    std::string got(bytes, size_t(n));
    Iconv enc(p.iconv, "UTF-8");
    ASSERT_TRUE(enc.ok());
    std::string want;
    ASSERT_TRUE(enc.convert(text, &want));
    EXPECT_EQ(got, want);
    GCUChar back[256] = {};
    int32_t m = GCStringToUnicode(back, 256, loc.get(), want.data(), int32_t(want.size()), 0);
    ASSERT_EQ(m, int32_t(u.size()));
    EXPECT_EQ(std::vector<GCUChar>(back, back + m), u);
  }
}

// Sorting: tailored letters of each sort, against the common order.
TEST_F(GeneratedLocale, SortsFollowTheirLanguagesAlphabets) {
  struct Case {
    const char* locale;
    const char* before;
    const char* after; // in the locale's code page
  } cases[] = {
      {"Czech_CzechRepublic.ISO-8859-2@Czech", "hrad", "chata"},     // ch after h
      {"Czech_CzechRepublic.ISO-8859-2@Czech", "chata", "ihned"},    // and before i
      {"Czech_CzechRepublic.ISO-8859-2@Czech", "cukr", "\xE8" "aj"},   // č after c
      {"Czech_CzechRepublic.ISO-8859-2@Default", "chata", "hrad"},   // common order
      {"Slovak_Slovakia.ISO-8859-2@Slovak", "hrad", "chata"},
      {"German_Germany.Latin1@Default", "Apfel", "\xC4" "pfel"},
      {"German_Germany.Latin1@Default", "\xC4" "pfel", "Birne"},
      {"German_Germany.Latin1@Default", "apfel", "Apfel"},
      {"Spanish_Spain.Latin1@Spanish", "nube", "\xF1u"}, // ñ after n
      {"Spanish_Spain.Latin1@Spanish", "\xF1u", "ojo"},
      {"Swedish_Sweden.Latin1@Swedish", "zebra", "\xE5" "sna"}, // å after z
      {"Swedish_Sweden.Latin1@Swedish", "\xE5" "sna", "\xF6" "l"},
      {"Danish_Denmark.Latin1@Danish", "zebra", "\xE6" "ble"}, // æ after z
      {"Danish_Denmark.Latin1@Danish", "\xF8" "l", "\xE5" "l"},    // ø before å
      {"Finnish_Finland.Latin1@Finnish", "zebra", "\xE4" "iti"},
  };
  for (const Case& c : cases) {
    uint32_t st;
    LocalePtr loc = getLocale(c.locale, &st);
    ASSERT_NE(loc, nullptr) << c.locale << ": status " << st;
    ASSERT_NE(loc->sort, nullptr) << c.locale;
    EXPECT_LT(GCStrcoll(loc.get(), c.before, -1, c.after, -1, 0), 0)
        << c.locale << ": " << c.before << " < " << c.after;
    EXPECT_GT(GCStrcoll(loc.get(), c.after, -1, c.before, -1, 0), 0)
        << c.locale << ": " << c.after << " > " << c.before;
  }
}

// A locale against glibc's compiled locale of the same name.
struct GlibcCase {
  const char* glibc;  // glibc locale source
  const char* locale; // our locale, in UTF-8
  bool thai = false;  // sort Thai words (glibc's Thai table leaves other scripts unordered)
};
void PrintTo(const GlibcCase& c, std::ostream* os) { *os << c.glibc; }

class GeneratedSortVsGlibc : public gctest::LocDataTest, public ::testing::WithParamInterface<GlibcCase> {
 protected:
  void SetUp() override {
    gctest::LocDataTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(glibc_.load({GetParam().glibc})) << "localedef or glibc cannot make " << GetParam().glibc;
  }
  gctest::GlibcLocale glibc_;
};

// Words of several alphabets, cases and accents: the locale's sort puts
// them in the order of glibc's strcoll_l in the same locale.
TEST_P(GeneratedSortVsGlibc, SortsWordsAsGlibc) {
  uint32_t st;
  LocalePtr loc = getLocale(GetParam().locale, &st);
  ASSERT_NE(loc, nullptr) << GetParam().locale << ": status " << st;
  ASSERT_NE(loc->sort, nullptr);
  const std::vector<std::string> thai = {"กา", "เก", "ขา", "เขา", "ไก่", "ก่อน", "กิน", "แก", "โก",
                                         "คน", "ข้าว", "ใจ", "จาน", "มา", "แม่", "ไม้", "เกาะ"};
  std::vector<std::string> words = {
      "apfel", "Apfel", "Äpfel", "äpfel", "Arzt", "Bar", "bär", "Bär", "Ball", "cukr",
      "čaj", "chata", "Chata", "hrad", "ihned", "nube", "ñu", "ojo", "zebra", "åsna",
      "æble", "øl", "öl", "straße", "strasse", "Strasse", "résumé",
      "resume", "Resume", "ljubav", "lopta", "njiva", "no\u017e", "d\u017eep", "dom", "\u0107up", "yra", "jis",
      "ir", "aaben", "Aaben", "abe", "\u0142\u00f3d\u017a", "lody", "азбука", "ёж",
      "еж", "Жук", "x1", "x10", "x2", "あ", "ア", "漢字"};
  if (GetParam().thai) words = thai;
  std::vector<std::string> ours = words, theirs = words;
  std::stable_sort(ours.begin(), ours.end(), [&](const std::string& a, const std::string& b) {
    return GCStrcoll(loc.get(), a.c_str(), -1, b.c_str(), -1, 0) < 0;
  });
  std::stable_sort(theirs.begin(), theirs.end(), [&](const std::string& a, const std::string& b) {
    return ::strcoll_l(a.c_str(), b.c_str(), glibc_.get()) < 0;
  });
  auto join = [](const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& w : v) s += w + " ";
    return s;
  };
  EXPECT_EQ(join(ours), join(theirs));
  if (GetParam().thai) return;

  // Random strings of letters (accented, two-letter, expanding and title-case
  // ones among them; no characters without a primary weight, which this
  // library orders by position differently) compare as glibc compares them.
  const char* const letters[] = {"a", "A", "ä", "Ä", "b", "B", "c", "C", "h", "ß", "s", "e",
                                 "é", "è", "ê", "z", "o", "ö", "1", "ǆ", "ǅ",
                                 "Ǆ", "æ", "ﬁ", "å", "ñ", "č", "ž", "l", "j",
                                 "½", "ж", "Ж", "あ", "ấ", "ầ", "ǘ", "ǚ", "ǜ", "ș", "ş", "ő"};
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  int differ = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string x, y;
    for (uint32_t k = 1 + next(4); k > 0; --k) x += letters[next(std::size(letters))];
    for (uint32_t k = 1 + next(4); k > 0; --k) y += letters[next(std::size(letters))];
    const int a = GCStrcoll(loc.get(), x.c_str(), -1, y.c_str(), -1, 0);
    const int b = ::strcoll_l(x.c_str(), y.c_str(), glibc_.get());
    if ((a > 0) - (a < 0) != (b > 0) - (b < 0) && ++differ <= 5)
      ADD_FAILURE() << x << " against " << y << ": " << a << ", glibc " << b;
  }
  EXPECT_EQ(differ, 0);
}

// glibc's locales whose collation is the common table or a tailoring of it
// that a generated sort is made from (ja_JP's, for one, is not; nor is
// pl_PL's, whose tailoring the native map's Polish does not use).
INSTANTIATE_TEST_SUITE_P(Generated, GeneratedSortVsGlibc,
                         ::testing::Values(GlibcCase{"de_DE", "German_Germany.UTF-8"},
                                           GlibcCase{"cs_CZ", "Czech_CzechRepublic.UTF-8"},
                                           GlibcCase{"es_ES", "Spanish_Spain.UTF-8"},
                                           GlibcCase{"sv_SE", "Swedish_Sweden.UTF-8"},
                                           GlibcCase{"da_DK", "Danish_Denmark.UTF-8"},
                                           GlibcCase{"fi_FI", "Finnish_Finland.UTF-8"},
                                           GlibcCase{"hr_HR", "Croatian_Croatia.UTF-8"},
                                           GlibcCase{"it_IT", "Italian_Italy.UTF-8"},
                                           GlibcCase{"lt_LT", "Lithuanian_Lithuania.UTF-8"},
                                           GlibcCase{"th_TH", "Thai_Thailand.UTF-8", true}),
                         [](const ::testing::TestParamInfo<GlibcCase>& info) { return std::string(info.param.glibc); });

// The run's shared folder of compiled glibc locales: a locale compiled once
// is loaded from there by the next test of the same source, and a different
// source (a name or a source file's text) gets a locale of its own.
const std::string kGlibcSources = "/usr/share/i18n/locales/";

TEST(GlibcLocaleShared, ReusesOnlyTheLocaleOfTheSameSources) {
  const char* before = std::getenv("ORB_TEST_SHARED_DIR");
  const std::string saved = before != nullptr ? before : "";
  const std::string shared = testdb::tmp_folder("gcshared");
  ASSERT_FALSE(shared.empty());
  ASSERT_EQ(::setenv("ORB_TEST_SHARED_DIR", shared.c_str(), 1), 0);
  auto folders = [&] {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(shared)) names.push_back(e.path().filename());
    return names;
  };
  std::string german;
  {
    gctest::GlibcLocale first;
    ASSERT_TRUE(first.load({"de_DE"}));
    german = ::nl_langinfo_l(MON_3, first.get());
  }
  EXPECT_EQ(folders().size(), 1u);
  {
    gctest::GlibcLocale again;
    ASSERT_TRUE(again.load({"de_DE"}));
    EXPECT_EQ(german, ::nl_langinfo_l(MON_3, again.get()));
    const char* path = std::getenv("LOCPATH");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(std::string(path).rfind(shared + "/glibc-", 0), 0u) << path << ": not the shared locale";
  }
  EXPECT_EQ(folders().size(), 1u);
  {
    gctest::GlibcLocale french;
    ASSERT_TRUE(french.load({"fr_FR"}));
    EXPECT_NE(german, ::nl_langinfo_l(MON_3, french.get()));
  }
  // A source file of the same path in each test's own folder: its text
  // tells the locales apart.
  for (const std::string copied : {"de_DE", "fr_FR"}) {
    gctest::GlibcLocale file;
    std::filesystem::copy_file(kGlibcSources + copied, file.dir() + "/source");
    ASSERT_TRUE(file.load({file.dir() + "/source"})) << copied;
    EXPECT_EQ(copied == "de_DE", german == ::nl_langinfo_l(MON_3, file.get())) << copied;
  }
  EXPECT_EQ(folders().size(), 4u) << "one locale each: de_DE, fr_FR and the two source files";
  for (const std::string& name : folders()) EXPECT_EQ(name.rfind("glibc-", 0), 0u) << name;
  if (saved.empty()) ::unsetenv("ORB_TEST_SHARED_DIR");
  else ::setenv("ORB_TEST_SHARED_DIR", saved.c_str(), 1);
  std::filesystem::remove_all(shared);
}

} // namespace
