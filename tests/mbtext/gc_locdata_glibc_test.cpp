// Every generated language and territory against glibc's locale of the same
// source: day and month names, AM/PM, separators, currency symbols, digits
// and sign positions as glibc's nl_langinfo_l gives them. A small locale is
// compiled for each with localedef (the time, numeric and monetary
// categories of the source, the POSIX ones for the rest).
#include <gtest/gtest.h>

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <climits>
#include <ctime>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "gc_locdata_lib.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_time.h"

namespace {

struct Source {
  std::string kind;  // "language" or "territory"
  std::string name;  // object name
  std::string glibc; // glibc locale source it was made from
};

// The generator's list of the glibc locale behind each language and territory.
std::vector<Source> sources() {
  std::vector<Source> out;
  std::ifstream in(GC_TEST_LOCALEDIR "/glibc-sources.txt");
  Source s;
  while (in >> s.kind >> s.name >> s.glibc) out.push_back(s);
  return out;
}

// The objects made from one glibc source (compiled once for all of them).
struct Group {
  std::string glibc;
  std::vector<Source> objects;
};
void PrintTo(const Group& g, std::ostream* os) { *os << g.glibc; }

std::vector<Group> groups() {
  std::vector<Group> out;
  for (const Source& s : sources()) {
    auto it = std::find_if(out.begin(), out.end(), [&](const Group& g) { return g.glibc == s.glibc; });
    if (it == out.end()) it = out.insert(out.end(), Group{s.glibc, {}});
    it->objects.push_back(s);
  }
  return out;
}

TEST(GeneratedSources, ListEveryLanguageAndTerritory) {
  const std::vector<Source> all = sources();
  int languages = 0, territories = 0;
  for (const Source& s : all) (s.kind == "language" ? languages : territories) += 1;
  EXPECT_GE(languages, 38);
  EXPECT_GE(territories, 64);
}

struct LocaleDeleter {
  void operator()(GCLocale* l) const { GCReleaseLocale(l, 0); }
};

class ObjectVsGlibc : public gctest::LocDataTest, public ::testing::WithParamInterface<Group> {
 protected:
  void SetUp() override {
    gctest::LocDataTest::SetUp();
    if (HasFatalFailure()) return;
    const std::string& g = GetParam().glibc;
    {
      std::ofstream src(glibc_.dir() + "/source");
      src << "comment_char %\nescape_char /\n";
      for (const char* cat : {"LC_CTYPE", "LC_COLLATE", "LC_MESSAGES"})
        src << cat << "\ncopy \"POSIX\"\nEND " << cat << "\n";
      for (const char* cat : {"LC_TIME", "LC_NUMERIC", "LC_MONETARY"})
        src << cat << "\ncopy \"" << g << "\"\nEND " << cat << "\n";
    }
    // The small locale first; localedef cannot copy some sources' time
    // category alone (era names), which then get their whole locale.
    ASSERT_TRUE(glibc_.load({glibc_.dir() + "/source", g})) << "localedef or glibc cannot make " << g;
  }
  void TearDown() override {
    loc_.reset();
    gctest::LocDataTest::TearDown();
  }

  // Our locale of the object (a language with UnitedStates, a territory
  // with English), in UTF-8.
  bool open(const Source& o) {
    const std::string name =
        o.kind == "language" ? o.name + "_UnitedStates.UTF-8" : "English_" + o.name + ".UTF-8";
    uint32_t st = 99;
    loc_.reset(GCGetLocale(name.c_str(), 0, &st));
    EXPECT_NE(loc_, nullptr) << name << ": status " << st;
    return loc_ != nullptr;
  }
  void checkLanguage();
  void checkTerritory();

  std::string info(nl_item item) const { return ::nl_langinfo_l(item, glibc_.get()); }
  int number(nl_item item) const { return static_cast<signed char>(*::nl_langinfo_l(item, glibc_.get())); }
  std::string text(int item, uint32_t flags) const {
    char buf[200] = {};
    return GCGetLocaleTextInfo(loc_.get(), item, buf, sizeof buf, flags) > 0 ? std::string(buf) : "<failed>";
  }
  int num(int item) const { return GCGetLocaleNumInfo(loc_.get(), item, 1); }

  gctest::GlibcLocale glibc_;
  std::unique_ptr<GCLocale, LocaleDeleter> loc_;
};

TEST_P(ObjectVsGlibc, ItemsMatchGlibc) {
  for (const Source& o : GetParam().objects) {
    SCOPED_TRACE(o.kind + " " + o.name);
    if (!open(o)) continue;
    if (o.kind == "language") checkLanguage();
    else checkTerritory();
  }
}

void ObjectVsGlibc::checkLanguage() {
  for (int d = 0; d < 7; ++d) {
    EXPECT_EQ(text(16 + d, 0), info(DAY_1 + d)) << "day " << d;
    EXPECT_EQ(text(23 + d, 0), info(ABDAY_1 + d)) << "abbreviated day " << d;
  }
  for (int m = 0; m < 12; ++m) {
    EXPECT_EQ(text(30 + m, 0), info(MON_1 + m)) << "month " << m;
    EXPECT_EQ(text(43 + m, 0), info(ABMON_1 + m)) << "abbreviated month " << m;
  }
  EXPECT_EQ(text(42, 0), "");
  EXPECT_EQ(text(56, 0), info(AM_STR));
  EXPECT_EQ(text(57, 0), info(PM_STR));
}

void ObjectVsGlibc::checkTerritory() {
  // Separators, as UCS-2 values (a UTF-8 locale's separator items hold one
  // byte only). A narrow or thin no-break space separating thousands is
  // kept as the no-break space, which the single-byte code pages have.
  auto separator = [](const std::string& utf8) -> GCUChar {
    if (utf8.empty()) return 0;
    const unsigned char c = static_cast<unsigned char>(utf8[0]);
    uint32_t u = c < 0x80 ? c : c < 0xE0 ? (c & 0x1F) << 6 | (utf8[1] & 0x3F)
                                         : (c & 0x0F) << 12 | (utf8[1] & 0x3F) << 6 | (utf8[2] & 0x3F);
    return GCUChar(u == 0x202F || u == 0x2009 ? 0x00A0 : u);
  };
  EXPECT_EQ(loc_->sepU[GC_SEP_DECIMAL], separator(info(RADIXCHAR)));
  EXPECT_EQ(loc_->sepU[GC_SEP_THOUSANDS], separator(info(THOUSEP)));
  EXPECT_EQ(loc_->sepU[GC_SEP_MON_DECIMAL], separator(info(MON_DECIMAL_POINT)));
  EXPECT_EQ(loc_->sepU[GC_SEP_MON_THOUSANDS], separator(info(MON_THOUSANDS_SEP)));
  if (info(RADIXCHAR).size() == 1) {
    EXPECT_EQ(text(59, 1), info(RADIXCHAR));
  }
  EXPECT_EQ(text(64, 1), info(CURRENCY_SYMBOL));
  std::string intl = info(INT_CURR_SYMBOL);
  while (!intl.empty() && intl.back() == ' ') intl.pop_back();
  EXPECT_EQ(text(65, 1), intl);
  EXPECT_EQ(text(71, 1), info(POSITIVE_SIGN));
  EXPECT_EQ(text(72, 1), info(NEGATIVE_SIGN));
  // glibc's "not available" (CHAR_MAX) is taken as 2 digits, no flag and
  // sign position 1.
  auto or_default = [](int v, int def) { return v == CHAR_MAX || v < 0 ? def : v; };
  EXPECT_EQ(num(69), or_default(number(FRAC_DIGITS), 2));
  EXPECT_EQ(num(70), or_default(number(INT_FRAC_DIGITS), 2));
  EXPECT_EQ(num(73), or_default(number(P_CS_PRECEDES), 0) != 0);
  EXPECT_EQ(num(74), or_default(number(P_SEP_BY_SPACE), 0) != 0);
  EXPECT_EQ(num(75), or_default(number(N_CS_PRECEDES), 0) != 0);
  EXPECT_EQ(num(76), or_default(number(N_SEP_BY_SPACE), 0) != 0);
  EXPECT_EQ(num(77), or_default(number(P_SIGN_POSN), 1));
  EXPECT_EQ(num(78), or_default(number(N_SIGN_POSN), 1));

  // The short date and time formats, translated into this library's
  // directives, write what glibc's write (Friday 5 March 2004, 17:08:09);
  // formats with names (which come from the language, English here), era
  // forms (which this library writes as the plain forms) or time zones
  // (which it leaves out) are not compared.
  struct tm t {};
  t.tm_year = 104, t.tm_mon = 2, t.tm_mday = 5, t.tm_wday = 5, t.tm_yday = 64;
  t.tm_hour = 17, t.tm_min = 8, t.tm_sec = 9;
  for (const char* fmt : {"%x", "%X"}) {
    const std::string own = text(fmt[1] == 'x' ? 80 : 79, 1);
    const std::string glibc_fmt = info(fmt[1] == 'x' ? D_FMT : T_FMT);
    if (std::regex_search(own, std::regex("%#?[EO]?[aAbBhp]|%E")) ||
        std::regex_search(glibc_fmt, std::regex("%[-_0^#]?[zZ]"))) {
      continue;
    }
    char ours[200] = {}, theirs[200] = {};
    const int n = GCTimeToString(loc_.get(), &t, ours, sizeof ours, fmt, -1, 1);
    EXPECT_GT(n, 0) << fmt;
    EXPECT_GT(::strftime_l(theirs, sizeof theirs, fmt, &t, glibc_.get()), 0u) << fmt;
    EXPECT_EQ(std::string(ours, size_t(n)), theirs) << fmt << ": " << own;
  }
}

INSTANTIATE_TEST_SUITE_P(Generated, ObjectVsGlibc, ::testing::ValuesIn(groups()),
                         [](const ::testing::TestParamInfo<Group>& info) { return info.param.glibc; });

} // namespace
