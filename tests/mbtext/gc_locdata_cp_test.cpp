// The generated code pages against glibc's iconv: every byte sequence that
// either side reads as a character decodes alike, and every UCS-2 value that
// iconv converts both ways encodes alike.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gc_locdata_lib.h"
#include "mbtext/gc_conv.h"
#include "mbtext/gc_cp.h"
#include "mbtext/gc_ctype.h"
#include "mbtext/gc_locobj.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_uni2str.h"
#include "mbtext/gc_mem_be_int.h"

namespace {

using gctest::Iconv;

struct PageCase {
  const char* name;  // object name in the generated directory
  const char* iconv; // iconv's name of the same character set
};
void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

const PageCase kPages[] = {
    {"US-ASCII", "ANSI_X3.4-1968"}, {"Latin1", "ISO-8859-1"},   {"ISO-8859-2", "ISO-8859-2"},
    {"ISO-8859-4", "ISO-8859-4"},   {"ISO-8859-5", "ISO-8859-5"}, {"ISO-8859-6", "ISO-8859-6"},
    {"ISO-8859-7", "ISO-8859-7"},   {"ISO-8859-8", "ISO-8859-8"}, {"ISO-8859-9", "ISO-8859-9"},
    {"ISO-8859-15", "ISO-8859-15"}, {"windows-874", "CP874"},     {"KOI8-R", "KOI8-R"},
    {"euc-jp", "EUC-JP"},           {"Shift-JIS", "SHIFT_JIS"},   {"euc-kr", "EUC-KR"},
    {"EUC-TW", "EUC-TW"},           {"euc-cn", "EUC-CN"},         {"GBK", "GBK"},
    {"big5", "BIG5"},               {"UTF-8", "UTF-8"},           {"IBM-930", "IBM930"},
};

constexpr char kSO = 0x0E, kSI = 0x0F;

class CodePageVsIconv : public gctest::LocDataTest, public ::testing::WithParamInterface<PageCase> {
 protected:
  void SetUp() override {
    gctest::LocDataTest::SetUp();
    if (HasFatalFailure()) return;
    cp_ = codePage(GetParam().name);
    ASSERT_NE(cp_, nullptr);
    ASSERT_EQ(cp_->flags & GC_OBJ_BUILTIN, 0) << "the built-in page stood in for " << GetParam().name;
    shift_ = (gc_be16(cp_->sect[0] + 4364) & 0x0002) != 0;
  }

  // UCS-2 value of one character as iconv reads it; 0xFFFD when it is no
  // (UCS-2) character.
  GCUChar iconvDecode(const std::string& bytes) {
    std::string out;
    if (!dec_.convert(bytes, &out) || out.size() != 4) return 0xFFFD;
    uint32_t c = uint32_t(uint8_t(out[0])) << 24 | uint32_t(uint8_t(out[1])) << 16 |
                 uint32_t(uint8_t(out[2])) << 8 | uint8_t(out[3]);
    return c > 0xFFFF ? 0xFFFD : GCUChar(c);
  }
  // The library's reading of one character's bytes; 0xFFFD unless exactly one
  // unit comes out.
  GCUChar libDecode(const std::string& bytes) {
    GCUChar out[8] = {};
    int32_t n = GCCpStrToUnicode(cp_, bytes.data(), int32_t(bytes.size()), out);
    return n == 1 ? out[0] : GCUChar(0xFFFD);
  }
  std::string libEncode(GCUChar u) {
    char out[16] = {};
    int32_t n = GCCpUnicodeToStr(cp_, &u, 0, 1, out);
    return std::string(out, size_t(n > 0 ? n : 0));
  }
  uint8_t leadLen(int b) const { return cp_->sect[0][10 + b]; }

  void checkDecode(const std::string& bytes, int* mismatches) {
    GCUChar want = iconvDecode(bytes), got = libDecode(bytes);
    if (want != got && ++*mismatches <= 10)
      ADD_FAILURE() << GetParam().name << ": bytes " << hex(bytes) << " read as U+" << std::hex << got
                    << ", iconv U+" << want;
  }
  static std::string hex(const std::string& s) {
    std::string h;
    char b[4];
    for (unsigned char c : s) std::snprintf(b, sizeof b, "%02X", c), h += b;
    return h;
  }

  const GCObj* cp_ = nullptr;
  bool shift_ = false;
  Iconv dec_{"UCS-4BE", GetParam().iconv};
  Iconv enc_{GetParam().iconv, "UCS-4BE"};
};

TEST_P(CodePageVsIconv, DecodesEveryCharacterAsIconv) {
  ASSERT_TRUE(dec_.ok()) << "iconv lacks " << GetParam().iconv;
  const bool utf8 = cp_->id == GC_CP_ID_UTF8;
  int bad = 0;
  for (int b = 1; b < 256; ++b) {
    if (shift_ && (b == kSO || b == kSI)) continue;
    if (utf8 && b >= 0x80) continue; // lead and continuation bytes are not characters alone
    if (leadLen(b) == 1) checkDecode(std::string(1, char(b)), &bad);
  }
  if (utf8) {
    for (uint32_t u = 0x80; u <= 0xFFFF; ++u) {
      if (u >= 0xD800 && u <= 0xDFFF) continue;
      std::string s;
      if (u < 0x800) s = {char(0xC0 | u >> 6), char(0x80 | (u & 0x3F))};
      else s = {char(0xE0 | u >> 12), char(0x80 | ((u >> 6) & 0x3F)), char(0x80 | (u & 0x3F))};
      checkDecode(s, &bad);
    }
  } else if (shift_) {
    for (int b1 = 0x40; b1 <= 0xFE; ++b1)
      for (int b2 = 0x40; b2 <= 0xFE; ++b2)
        checkDecode(std::string{kSO, char(b1), char(b2), kSI}, &bad);
  } else {
    int multi = 0;
    for (int b = 0; b < 256; ++b) {
      const int len = leadLen(b);
      if (len < 2) continue;
      ++multi;
      // Trail bytes: every value after a two-byte lead; the EUC ranges of
      // the three- and four-byte forms (0x8F and 0x8E 0xA1-0xB0).
      if (len == 2) {
        for (int t = 1; t < 256; ++t) checkDecode(std::string{char(b), char(t)}, &bad);
      } else {
        for (int p = (len == 4 ? 0xA1 : 0); p <= (len == 4 ? 0xB0 : 0); ++p)
          for (int t1 = 0xA1; t1 <= 0xFE; ++t1)
            for (int t2 = 0xA1; t2 <= 0xFE; ++t2) {
              std::string s{char(b)};
              if (len == 4) s += char(p);
              s += char(t1);
              s += char(t2);
              checkDecode(s, &bad);
            }
      }
    }
    if (cp_->sect[0][5] > 1) {
      EXPECT_GT(multi, 0) << "a multibyte page without lead bytes";
    }
  }
  EXPECT_EQ(bad, 0);
}

TEST_P(CodePageVsIconv, EncodesEveryCharacterAsIconv) {
  ASSERT_TRUE(enc_.ok() && dec_.ok()) << "iconv lacks " << GetParam().iconv;
  const std::string defchar(1, char(cp_->sect[0][0]));
  int bad = 0, mapped = 0;
  for (uint32_t u = 1; u <= 0xFFFF; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    const std::string ucs4{char(0), char(0), char(u >> 8), char(u & 0xFF)};
    std::string want;
    const bool both_ways = enc_.convert(ucs4, &want) && iconvDecode(want) == u;
    const std::string got = libEncode(GCUChar(u));
    bool ok;
    if (both_ways) {
      ok = got == want;
      ++mapped;
    } else {
      // Not a character of iconv's both ways: the library writes the default
      // character, or a form that iconv reads back as the same character.
      ok = got == defchar || iconvDecode(got) == u;
    }
    if (!ok && ++bad <= 10)
      ADD_FAILURE() << GetParam().name << ": U+" << std::hex << u << " written as " << hex(got)
                    << ", iconv " << (both_ways ? hex(want) : std::string("(none)"));
  }
  EXPECT_EQ(bad, 0);
  EXPECT_GT(mapped, 100);
}

INSTANTIATE_TEST_SUITE_P(Generated, CodePageVsIconv, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<PageCase>& info) {
                           std::string n;
                           for (const char* p = info.param.name; *p; ++p)
                             n += (std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_');
                           return n;
                         });

} // namespace

// Case, width and class data of the generated pages, through the library's
// mapping (with shift states, which the shift-state page needs) and
// classification in locales of those pages.
namespace {

struct LocaleDeleter {
  void operator()(GCLocale* l) const { GCReleaseLocale(l, 0); }
};
using LocalePtr = std::unique_ptr<GCLocale, LocaleDeleter>;

struct Loc {
  LocalePtr loc;
  explicit Loc(const char* name) {
    uint32_t st = 99;
    loc.reset(GCGetLocale(name, 0, &st));
    EXPECT_EQ(st, 0u) << name;
  }
  // UTF-8 test text in the locale's code page, through the library.
  std::string bytes(const std::string& utf8) const {
    std::vector<GCUChar> u = ucs2(utf8);
    char out[256] = {};
    int32_t n = GCUnicodeToString(loc.get(), out, sizeof out, u.data(), int32_t(u.size()), 0);
    return std::string(out, size_t(n > 0 ? n : 0));
  }
  std::vector<GCUChar> unicode(const std::string& s) const {
    GCUChar out[256] = {};
    int32_t n = GCStringToUnicode(out, 256, loc.get(), s.data(), int32_t(s.size()), 0);
    return std::vector<GCUChar>(out, out + (n > 0 ? n : 0));
  }
  static std::vector<GCUChar> ucs2(const std::string& utf8) {
    std::vector<GCUChar> out;
    for (size_t i = 0; i < utf8.size();) {
      unsigned char c = uint8_t(utf8[i]);
      int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : 3;
      uint32_t u = n == 1 ? c : n == 2 ? (c & 0x1F) : (c & 0x0F);
      for (int k = 1; k < n; ++k) u = u << 6 | (uint8_t(utf8[i + k]) & 0x3F);
      out.push_back(GCUChar(u));
      i += size_t(n);
    }
    return out;
  }
};

using GeneratedPageData = gctest::LocDataTest;

TEST_F(GeneratedPageData, MapsCaseAndWidth) {
  struct Case {
    const char* locale;
    uint32_t flags;
    const char* in;
    const char* want; // UTF-8
  } cases[] = {
      {"German_Germany.Latin1", GC_MAP_UPPER_SIMPLE, "äöüx", "ÄÖÜX"},
      {"German_Germany.Latin1", GC_MAP_LOWER_SIMPLE, "ÄÖÜX", "äöüx"},
      {"Czech_CzechRepublic.ISO-8859-2", GC_MAP_UPPER_SIMPLE, "čřžá", "ČŘŽÁ"},
      {"Russian_Russia.ISO-8859-5", GC_MAP_UPPER_SIMPLE, "жук", "ЖУК"},
      {"Russian_Russia.KOI8-R", GC_MAP_LOWER_SIMPLE, "ЖУК", "жук"},
      {"Greek_Greece.ISO-8859-7", GC_MAP_UPPER_SIMPLE, "αβγ", "ΑΒΓ"},
      {"Turkish_Turkey.ISO-8859-9", GC_MAP_UPPER_SIMPLE, "ğş", "ĞŞ"},
      {"Japanese_Japan.Shift-JIS", GC_MAP_UPPER_SIMPLE, "ａｂｃd", "ＡＢＣD"},
      {"Japanese_Japan.euc-jp", GC_MAP_LOWER_SIMPLE, "ＡＢＣ", "ａｂｃ"},
      {"Japanese_Japan.euc-jp", GC_MAP_HALF_TO_FULL, "ｶﾀｶﾅA1", "カタカナＡ１"},
      {"Japanese_Japan.Shift-JIS", GC_MAP_FULL_TO_HALF, "ＡＢＣ１カ", "ABC1ｶ"},
      {"Japanese_Japan.UTF-8", GC_MAP_HALF_TO_FULL, "ﾃｽﾄ", "テスト"},
      {"French_France.UTF-8", GC_MAP_UPPER_SIMPLE, "àéîœ", "ÀÉÎŒ"},
      {"Korean_Korea.euc-kr", GC_MAP_UPPER_SIMPLE, "ａβ", "ＡΒ"},
      {"Japanese_Japan.IBM-930", GC_MAP_LOWER_SIMPLE, "ＡＢＣ", "ａｂｃ"},
      {"Turkish_Turkey.ISO-8859-9", GC_MAP_UPPER, "iı", "İI"},
      {"German_Germany.Latin1", GC_MAP_UPPER, "straße", "STRASSE"},
  };
  for (const Case& c : cases) {
    Loc l(c.locale);
    ASSERT_NE(l.loc, nullptr) << c.locale;
    const std::string in = l.bytes(c.in);
    char out[256] = {};
    int32_t n = GCMapStringEx(l.loc.get(), out, 0, sizeof out, in.data(), 0, int32_t(in.size()), c.flags);
    ASSERT_GT(n, 0) << c.locale << " " << c.in;
    EXPECT_EQ(l.unicode(std::string(out, size_t(n))), Loc::ucs2(c.want)) << c.locale << ": " << c.in;
  }
}

TEST_F(GeneratedPageData, ClassifiesCharacters) {
  struct Case {
    const char* locale;
    const char* ch; // UTF-8, one character
    uint32_t group;
    uint32_t set;   // bits that must be set
    uint32_t clear; // bits that must be clear
  } cases[] = {
      {"German_Germany.Latin1", "ä", GC_CT_TYPE, 0x205, 0x0CA},
      {"German_Germany.Latin1", "Ä", GC_CT_TYPE, 0x203, 0x004},
      {"German_Germany.Latin1", "7", GC_CT_TYPE, 0x218, 0x001},
      {"German_Germany.Latin1", "\xC2\xA0", GC_CT_TYPE, 0x2C0, 0x001},
      {"Japanese_Japan.Shift-JIS", "Ａ", GC_CT_TYPE, 0x213, 0x004},
      {"Japanese_Japan.Shift-JIS", "Ａ", GC_CT_WIDTH, 0x080, 0x040},
      {"Japanese_Japan.euc-jp", "漢", GC_CT_WIDTH, 0x180, 0x000},
      {"Japanese_Japan.euc-jp", "カ", GC_CT_WIDTH, 0x090, 0x020},
      {"Japanese_Japan.euc-jp", "か", GC_CT_WIDTH, 0x0A0, 0x010},
      {"Japanese_Japan.Shift-JIS", "ｶ", GC_CT_WIDTH, 0x050, 0x080},
      {"Hebrew_Israel.ISO-8859-8", "א", GC_CT_BIDI, 0x004, 0x002},
      {"Arabic_SaudiArabia.ISO-8859-6", "ـ", GC_CT_WIDTH, 0x200, 0x000},
      {"Japanese_Japan.UTF-8", "ア", GC_CT_TYPE, 0x201, 0x006},
  };
  for (const Case& c : cases) {
    Loc l(c.locale);
    ASSERT_NE(l.loc, nullptr) << c.locale;
    const std::string in = l.bytes(c.ch);
    ASSERT_FALSE(in.empty());
    const uint32_t got = GCGetCharType(l.loc.get(), in.c_str(), c.group);
    EXPECT_EQ(got & c.set, c.set) << c.locale << " " << c.ch << ": 0x" << std::hex << got;
    EXPECT_EQ(got & c.clear, 0u) << c.locale << " " << c.ch << ": 0x" << std::hex << got;
  }
}

} // namespace
