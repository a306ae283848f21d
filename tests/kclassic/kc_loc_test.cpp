// Locales: the registry by name, LCID and thread (with racing threads), the
// locale queries, GetNegCur, GetIDate, DateToString and path cutting.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_loc.h"
#include "kclassic/kc_mb.h"

using namespace KCLASSIC;
using kctest::thrown;

namespace {

class Locales : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

std::string text(void (KUtlLocale::*getter)(KZString&) const, const KUtlLocale& l) {
  KZString out;
  (l.*getter)(out);
  return std::string(out);
}

} // namespace

TEST_F(Locales, SystemLocaleForNullAndEmptyNames) {
  KUtlLocale* sys = UtlGetSystemLocale();
  EXPECT_EQ(&UtlGetLocale(static_cast<const char*>(nullptr)), sys);
  EXPECT_EQ(&UtlGetLocale(""), sys);
  EXPECT_EQ(UtlGetSystemLocale(), sys);
  EXPECT_EQ(AddLocale(nullptr), sys);
  EXPECT_TRUE(KGetLocaleManager().IsInitialized());
  EXPECT_EQ(&UtlGetLocaleRef(nullptr), &UtlGetThreadLocale());
  EXPECT_EQ(&UtlGetLocaleRef(""), sys);
}

TEST_F(Locales, RegistryByNameAndLcid) {
  KUtlLocale& de = UtlGetLocale(kctest::kGerman);
  EXPECT_EQ(&UtlGetLocale(kctest::kGerman), &de);
  EXPECT_EQ(std::string(de.GetName()), kctest::kGerman);
  KZString name;
  de.GetCrtLocaleName(name);
  EXPECT_STREQ(name, kctest::kGerman);
  EXPECT_EQ(de.GetWin32Lcid(), 0x407u);
  // German with another territory has the same LCID; the last one made wins.
  EXPECT_EQ(UtlGetLocale(0x407ul).GetWin32Lcid(), 0x407u);
  KUtlLocale& jp = UtlGetLocale(kctest::kJapan);
  EXPECT_EQ(jp.GetWin32Lcid(), 0x809u);
  EXPECT_EQ(&UtlGetLocale(0x809ul), &jp);
  auto e = thrown([] { UtlGetLocale(0x1234ul); });
  EXPECT_EQ(e->GetErrorNum(), 0x8B000C9);
  EXPECT_STREQ(e->GetMethodName(), "UtlGetLocale");
  EXPECT_STREQ(e->GetParam(0), "Invalid LCID : 4660");
  // A locale registered in another's place is handed back, the new one deleted.
  KUtlLocale* dup = new KUtlLocale(kctest::kGerman);
  LocaleMapGetSet(kctest::kGerman, dup);
  EXPECT_EQ(dup, &de);
}

TEST_F(Locales, ThreadsHaveTheirOwnLocales) {
  // A thread starts on the system locale.
  KUtlLocale* seen = nullptr;
  std::thread([&] { seen = &UtlGetThreadLocale(); }).join();
  EXPECT_EQ(seen, UtlGetSystemLocale());

  std::atomic<int> ready{0};
  KUtlLocale* a = nullptr;
  KUtlLocale* b = nullptr;
  std::string decA, decB;
  auto run = [&](const char* name, KUtlLocale** out, std::string* dec) {
    UtlSetThreadLocale(name);
    ++ready;
    while (ready < 2) std::this_thread::yield();
    *out = &UtlGetThreadLocale();
    char buf[16];
    ksprintf(buf, "%.1f", 1.5);
    *dec = buf;
  };
  std::thread ta(run, kctest::kGerman, &a, &decA);
  std::thread tb(run, kctest::kEnglish, &b, &decB);
  ta.join();
  tb.join();
  EXPECT_EQ(a, &UtlGetLocale(kctest::kGerman));
  EXPECT_EQ(b, &UtlGetLocale(kctest::kEnglish));
  EXPECT_EQ(decA, "1,5");
  EXPECT_EQ(decB, "1.5");
  // This thread is untouched; setting the same name twice changes nothing.
  EXPECT_EQ(&UtlGetThreadLocale(), UtlGetSystemLocale());
  UtlSetThreadLocale(kctest::kGerman);
  KUtlLocale* first = &UtlGetThreadLocale();
  UtlSetThreadLocale(kctest::kGerman);
  EXPECT_EQ(&UtlGetThreadLocale(), first);
  UtlSetThreadLocale("");
  EXPECT_EQ(&UtlGetThreadLocale(), UtlGetSystemLocale());
}

TEST_F(Locales, RacingThreadsRegisterOneObject) {
  const char* name = "German_UnitedStates.Latin1";
  std::atomic<bool> go{false};
  std::vector<KUtlLocale*> got(8, nullptr);
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&, i] {
      while (!go) std::this_thread::yield();
      got[i] = &UtlGetLocale(name);
    });
  go = true;
  for (auto& t : threads) t.join();
  for (KUtlLocale* l : got) EXPECT_EQ(l, got[0]);
  EXPECT_EQ(&UtlGetLocale(name), got[0]);
}

TEST_F(Locales, TextAndNumberQueries) {
  const KUtlLocale& en = UtlGetLocale(kctest::kEnglish);
  const KUtlLocale& de = UtlGetLocale(kctest::kGerman);
  EXPECT_EQ(text(&KUtlLocale::GetSDecimal, en), ".");
  EXPECT_EQ(text(&KUtlLocale::GetSDecimal, de), ",");
  EXPECT_EQ(text(&KUtlLocale::GetSMonThousandsSep, de), ".");
  EXPECT_EQ(text(&KUtlLocale::GetSShortDate, de), "%d.%m.%Y");
  EXPECT_EQ(text(&KUtlLocale::GetSTimeFormat, de), "%H:%M:%S");
  EXPECT_EQ(text(&KUtlLocale::GetS1159, en), "AM");
  EXPECT_EQ(text(&KUtlLocale::GetS2359, en), "PM");
  EXPECT_EQ(text(&KUtlLocale::GetGrouping, en), "3;0");
  EXPECT_FALSE(text(&KUtlLocale::GetLocaleLanguage, de).empty());
  EXPECT_FALSE(text(&KUtlLocale::GetLocaleCountry, de).empty());
  EXPECT_FALSE(text(&KUtlLocale::GetCharsetName, de).empty());
  EXPECT_EQ(text(&KUtlLocale::GetSLongDate, en), "%A, %B %d, %Y");
  EXPECT_EQ(de.GetIDigits(), 3);
  EXPECT_EQ(de.GetIIntlCurDigits(), 2); // item 69 reads the currency digits
  EXPECT_EQ(en.GetINegNumber(), 1);
  EXPECT_EQ(en.GetWin32CodePage(), 1252);
  EXPECT_EQ(UtlGetLocale(kctest::kDouble).GetWin32CodePage(), 932);
  KZString info("unchanged");
  de.GetLocaleInfo(14, info);
  EXPECT_STREQ(info, ",");
  de.GetLocaleInfo(17, info);
  EXPECT_STREQ(info, "3");
  de.GetLocaleInfo(4112, info);
  EXPECT_STREQ(info, "1");
  de.GetLocaleInfo(9999, info);
  EXPECT_STREQ(info, "1");
  // Currency conventions: the US symbol precedes without a space (sign
  // position 1); the German one follows with a space (sign position 3); the
  // Japanese one precedes with a space for negative amounts (sign position 4).
  EXPECT_EQ(en.GetICurrency(), 0);
  EXPECT_EQ(en.GetINegCurr(), 1);
  EXPECT_EQ(de.GetICurrency(), 3);
  EXPECT_EQ(de.GetINegCurr(), 13);
  EXPECT_EQ(UtlGetLocale(kctest::kJapan).GetICurrency(), 0);
  EXPECT_EQ(UtlGetLocale(kctest::kJapan).GetINegCurr(), 12);
  de.GetLocaleInfo(28, info);
  EXPECT_STREQ(info, "13");
  de.GetLocaleInfo(27, info);
  EXPECT_STREQ(info, "3");
}

TEST_F(Locales, NegativeCurrencyTable) {
  const long want[4][6] = {
      // sign position 0..4, then 7 (out of range)
      {4, 5, 7, 6, 1, 1},
      {15, 8, 10, 13, 1, 1},
      {0, 1, 3, 1, 2, 1},
      {14, 9, 11, 1, 12, 1},
  };
  const long pos[6] = {0, 1, 2, 3, 4, 7};
  for (int row = 0; row < 4; ++row)
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(KUtlLocale::GetNegCur(row >= 2 ? 5 : 0, row % 2 ? -1 : 0, pos[i]), want[row][i])
          << "row " << row << " position " << pos[i];
}

TEST_F(Locales, DateOrder) {
  EXPECT_EQ(UtlGetLocale(kctest::kEnglish).GetIDate(), 0); // %#m/%#d/%y
  EXPECT_EQ(UtlGetLocale(kctest::kGerman).GetIDate(), 1);  // %d.%m.%Y
  EXPECT_EQ(UtlGetLocale(kctest::kJapan).GetIDate(), 2);   // %Y/%m/%d
}

TEST_F(Locales, DateToStringRewritesWindowsPictures) {
  const KUtlLocale& en = UtlGetLocale(kctest::kEnglish);
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 2; // March
  t.tm_mday = 5;
  t.tm_hour = 14;
  t.tm_min = 7;
  t.tm_sec = 9;
  t.tm_wday = 2;
  struct Case {
    const char* picture;
    const char* codes;
    const char* out;
  } cases[] = {
      {"dd/MM/yyyy", "%d/%m/%Y", "05/03/2024"},
      {"h:mm tt", "%#I:%M %p", "2:07 PM"},
      {"HH:mm:ss", "%H:%M:%S", "14:07:09"},
      {"d-M-yy", "%#d-%#m-%y", "5-3-24"},
      {"dddd, MMMM d", "%A, %B %#d", "Tuesday, March 5"},
      {"%d ddd", "%d %a", "05 Tue"}, // a code already there stays
  };
  for (const Case& c : cases) {
    KZString picture(c.picture);
    KZString out("old");
    en.DateToString(t, picture, out);
    EXPECT_STREQ(picture, c.codes) << c.picture;
    EXPECT_STREQ(out, c.out) << c.picture;
  }
  KZString empty;
  KZString out("old");
  en.DateToString(t, empty, out);
  EXPECT_TRUE(out.IsEmpty());
  KZString bad("%Q");
  auto e = thrown([&] { en.DateToString(t, bad, out); });
  EXPECT_EQ(e->GetErrorNum(), 0x8B000D9);
  EXPECT_STREQ(e->GetMethodName(), "KUtlLocale::DateToString");
}

TEST_F(Locales, CurrentDirAndInstalledPath) {
  struct Case {
    const char* path;
    const char* dir;
  } cases[] = {{"/a/b/c/file.txt", "/a/b/c"}, {"C:file", "C:"}, {"a\\b\\c", "a\\b"}, {"plain", "plain"}};
  for (const Case& c : cases) {
    char buf[64];
    std::strcpy(buf, c.path);
    GetCurrentDir(buf);
    EXPECT_STREQ(buf, c.dir) << c.path;
  }
  char* path = GetInstalledLocalePath();
  std::string p(path);
  delete[] path;
  ASSERT_GE(p.size(), 7u);
  EXPECT_EQ(p.substr(p.size() - 7), "/Locale");
  EXPECT_EQ(p[0], '/'); // absolute, however the program was started
}

TEST_F(Locales, CopyMakesANewHandle) {
  KUtlLocale& de = UtlGetLocale(kctest::kGerman);
  KUtlLocale copy(de);
  EXPECT_NE(copy.GetHandle(), de.GetHandle());
  EXPECT_EQ(copy.GetWin32Lcid(), de.GetWin32Lcid());
}
