// Locales for the tests of locale objects, items, navigation and string
// conversion: a data directory with two languages, two territories, five
// code pages (US-ASCII, Latin1, a double-byte page, a shift-state page and
// UTF-8) and one sort, and the library started over it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gc_testdata.h"
#include "mbtext/gc_locale.h"

namespace gctest {

// Code-page ids and names in the directory.
inline constexpr uint16_t kCpAscii = 1, kCpLatin1 = 2, kCpDouble = 3, kCpShift = 4, kCpEbcdic = 5,
                          kCpUtf8 = 106;

// Latin1: US-ASCII plus 0xA0-0xFF as U+00A0-U+00FF (0xC4/0xE4 upper and
// lower a-umlaut); 0x80-0x9F are no characters.
CodePageBuilder latin1Page();
// Double-byte page: US-ASCII plus lead bytes 0x81 and 0x82 of two-byte
// characters: 0x81 0x40 U+3000 (space class), 0x82 0x60 U+FF21 (upper),
// 0x82 0x81 U+FF41 (lower), 0x82 0x4F U+FF10 (digit). Lead byte 0x83 has
// length 0 (no character starts with it).
CodePageBuilder doubleBytePage();
// Shift-state page (shift-out 0x0E, shift-in 0x0F, ASCII-based single-byte
// mode): double-byte characters 0x42 0xC1 U+FF21 and 0x45 0x41 U+4E00.
CodePageBuilder shiftPage();

// EBCDIC-based single-byte page (code page 037 for letters, digits, space
// and the punctuation ".,;:-$%#@/?()"); other bytes are no characters.
CodePageBuilder ebcdicPage();
// ASCII text in the EBCDIC page's bytes.
std::string ebcdic(const std::string& ascii);

// German language data (default territory Germany, code page Latin1, sort
// Default): day names Sonntag.., month "M\u00e4rz", special upper-case
// mapping U+00DF -> "SS".
LanguageSpec germanLanguage();
// Germany: separators "," "." ";" "," ".", currency U+20AC, grouping "3;0".
TerritorySpec germanyTerritory();

// The directory: English (1), German (2); UnitedStates (1), Germany (2),
// Wide (3: currency symbol "a" U+FF21 "b" U+FF21);
// US-ASCII (1), Latin1 (2), DoubleByte (3), Shift (4), EBCDIC (5), UTF-8 (106);
// Default (1) sort.
void writeLocaleDir(const DataDir& dir);

// The library started over writeLocaleDir's directory for the life of the
// object; locales made through it are released at the end.
class LocaleLib {
 public:
  LocaleLib();
  ~LocaleLib();
  LocaleLib(const LocaleLib&) = delete;
  LocaleLib& operator=(const LocaleLib&) = delete;

  // GCGetLocale; fails the test (null) when the locale is not built.
  GCLocale* get(const char* name, uint32_t flags = 0);
  uint32_t initStatus() const { return init_; }
  const DataDir& dir() const { return dir_; }

 private:
  DataDir dir_;
  uint32_t init_ = 0;
  std::vector<GCLocale*> made_;
};

// The library over writeLocaleDir's directory with English in each code
// page that the conversion, navigation and item tests walk through.
class PageLocales : public ::testing::Test {
 protected:
  LocaleLib lib;
  GCLocale* ascii = lib.get("English");
  GCLocale* latin = lib.get("English_UnitedStates.Latin1");
  GCLocale* dbl = lib.get("English_UnitedStates.DoubleByte");
  GCLocale* shift = lib.get("English_UnitedStates.Shift");
  GCLocale* utf8 = lib.get("English_UnitedStates.UTF-8");
};

// UCS-2 units as a string (bytes() is in gc_testdata.h).
std::u16string ucs(const GCUChar* u, int n);

} // namespace gctest
