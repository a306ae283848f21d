#include "kc_testloc.h"

#include <cstdlib>

#include "mbtext/gc_testloc.h"
#include "mbtext/gc_types.h"

namespace kctest {

namespace {

// The multibyte tests' directory plus one territory whose short date puts
// the year first and whose currency sign comes first, spaced, with the sign
// after the symbol, and a UTF-8 page with a case pair of unequal lengths and
// the full-width digits.
void addJapan(const gctest::DataDir& dir) {
  dir.writeControl({{1, GC_CLASS_LANGUAGE, "English"},
                    {2, GC_CLASS_LANGUAGE, "German"},
                    {1, GC_CLASS_TERRITORY, "UnitedStates"},
                    {2, GC_CLASS_TERRITORY, "Germany"},
                    {3, GC_CLASS_TERRITORY, "Wide"},
                    {4, GC_CLASS_TERRITORY, "Japan"},
                    {gctest::kCpAscii, GC_CLASS_CODEPAGE, "US-ASCII"},
                    {gctest::kCpLatin1, GC_CLASS_CODEPAGE, "Latin1"},
                    {gctest::kCpDouble, GC_CLASS_CODEPAGE, "DoubleByte"},
                    {gctest::kCpShift, GC_CLASS_CODEPAGE, "Shift"},
                    {gctest::kCpEbcdic, GC_CLASS_CODEPAGE, "EBCDIC"},
                    {gctest::kCpUtf8, GC_CLASS_CODEPAGE, "UTF-8"},
                    {1, GC_CLASS_SORT, "Default"}});
  gctest::TerritorySpec japan;
  japan.shortDate = "%Y/%m/%d";
  japan.flags = 0x02 | 0x08 | 0x10; // territory bits: precedes +, precedes -, space -
  japan.negSignPosn = 4;
  japan.sublang = 2;
  japan.abbrev = "JPN";
  japan.name = "Japan";
  dir.writeObject(GC_CLASS_TERRITORY, 4, gctest::dataFile({gctest::territorySection(japan)}));
  // UTF-8 with one case pair whose upper case is longer: U+0250 (C9 90) and
  // U+2C6F (E2 B1 AF).
  // The full-width digits U+FF10 to U+FF19 (EF BC 90 to EF BC 99), each
  // the full-width form of its ASCII digit.
  const int32_t delta = int32_t(0xE2B1AF - 0xC990);
  gctest::CodePageBuilder utf8 = gctest::CodePageBuilder::ascii();
  utf8.maxLen(3).classOnly({0xC9, 0x90}, 0x205, delta).classOnly({0xE2, 0xB1, 0xAF}, 0x203, -delta);
  for (uint8_t i = 0; i < 10; ++i)
    utf8.multi({0xEF, 0xBC, uint8_t(0x90 + i)}, GCUChar(0xFF10 + i), 0x218).widthPair(0x30u + i, 0xEFBC90u + i);
  dir.writeObject(GC_CLASS_CODEPAGE, gctest::kCpUtf8, utf8.file());
}

} // namespace

void startLocales() {
  static const bool started = [] {
    // The system locale is the user's locale: fixed for the tests.
    setenv("GC_LANG", kEnglish, 1);
    static gctest::DataDir dir;
    gctest::writeLocaleDir(dir);
    addJapan(dir);
    return GCInit(dir.path(), nullptr, nullptr, nullptr, 0) == GC_OK;
  }();
  EXPECT_TRUE(started);
  KCLASSIC::UtlSetThreadLocale("");
}

ThreadLocale::ThreadLocale(const char* name) {
  startLocales();
  KCLASSIC::UtlSetThreadLocale(name);
}

ThreadLocale::~ThreadLocale() { KCLASSIC::UtlSetThreadLocale(""); }

std::string bytes(std::initializer_list<int> b) { return gctest::bytes(b); }

} // namespace kctest
