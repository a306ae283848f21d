#include "gc_testloc.h"

#include <gtest/gtest.h>

#include "mbtext/gc_locobj.h"

namespace gctest {

CodePageBuilder latin1Page() {
  CodePageBuilder b;
  for (int c = 0xA0; c <= 0xFF; ++c) {
    uint32_t cls = 0x200;
    if (c >= 0xC0 && c != 0xD7 && c != 0xF7) cls |= 0x001 | (c < 0xE0 ? 0x002 : 0x004);
    if (c == 0xA0) cls = 0x2C0;
    b.single(uint8_t(c), GCUChar(c), cls);
  }
  b.caseBytes(0xC4, 0xE4).windowsNumber(1252);
  return b;
}

CodePageBuilder doubleBytePage() {
  CodePageBuilder b;
  b.multi({0x81, 0x40}, 0x3000, 0x2C0)
      .multi({0x82, 0x60}, 0xFF21, 0x203, 0x21)
      .multi({0x82, 0x81}, 0xFF41, 0x205, -0x21)
      .multi({0x82, 0x4F}, 0xFF10, 0x218)
      .leadLen(0x83, 0)
      .windowsNumber(932);
  return b;
}

CodePageBuilder shiftPage() {
  CodePageBuilder b;
  b.shiftState(0x0E, 0x0F).multi({0x42, 0xC1}, 0xFF21, 0x203).multi({0x45, 0x41}, 0x4E00, 0x301);
  return b;
}

namespace {

// ASCII character and its EBCDIC byte.
struct Ebc {
  char a;
  uint8_t e;
};

// The characters the EBCDIC page has: letters, digits, space and
// ".,;:-$%#@/?()_", with their code page 037 bytes.
std::vector<Ebc> ebcdic_table() {
  std::string chars = " .()$;-/,%?:#@_";
  for (char c = 'a'; c <= 'z'; ++c) chars += {c, char(c - 32)};
  for (char c = '0'; c <= '9'; ++c) chars += c;
  std::vector<Ebc> t;
  for (char c : chars) t.push_back({c, kAsciiToEbcdic[c - 0x20]});
  return t;
}

} // namespace

CodePageBuilder ebcdicPage() {
  CodePageBuilder b;
  b.ebcdicBased().defaultChar(0x6F).windowsNumber(37);
  for (int c = 1; c < 256; ++c) b.unmapSingle(uint8_t(c));
  for (const Ebc& x : ebcdic_table()) {
    uint32_t cls = 0x200;
    if (x.a >= '0' && x.a <= '9') cls = 0x218;
    else if (x.a >= 'A' && x.a <= 'Z') cls = 0x203;
    else if (x.a >= 'a' && x.a <= 'z') cls = 0x205;
    else if (x.a == ' ') cls = 0x2C0;
    else cls = 0x220;
    b.single(x.e, GCUChar(x.a), cls);
  }
  return b;
}

std::string ebcdic(const std::string& ascii) {
  static const std::vector<Ebc> t = ebcdic_table();
  std::string out;
  for (char c : ascii) {
    char e = c == 0 ? 0 : 0x6F;
    for (const Ebc& x : t)
      if (x.a == c) e = char(x.e);
    out += e;
  }
  return out;
}

LanguageSpec germanLanguage() {
  LanguageSpec l;
  l.territory = 2;
  l.codepage = 2;
  l.sort = 1;
  l.langcode = 7;
  l.abbrev = "DE";
  l.name = "Deutsch";
  const char* days[7] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
  for (int i = 0; i < 7; ++i) l.days[i] = days[i];
  l.months[2] = "M\xE4rz"; // Latin-1 byte: the builder widens each byte
  l.upper.push_back({0x00DF, 0, 'S', 'S'});
  l.lower.push_back({0x0130, 0, 'i', 0x0307});
  return l;
}

TerritorySpec germanyTerritory() {
  TerritorySpec t;
  uint16_t seps[5] = {',', '.', ';', ',', '.'};
  for (int i = 0; i < 5; ++i) t.separators[i] = seps[i];
  t.digits = 3;
  t.currDigits = 2;
  t.intlDigits = 4;
  t.posSignPosn = 2;
  t.negSignPosn = 3;
  t.value84 = 49;
  t.flags = 0x01 | 0x04 | 0x10 | 0x20;
  t.sublang = 1;
  t.abbrev = "DEU";
  t.name = "Deutschland";
  t.currency = "\x80"; // replaced by U+20AC below
  t.intlCurrency = "EUR";
  t.timeFmt = "%H:%M:%S";
  t.shortDate = "%d.%m.%Y";
  t.longDate = "%A, %d. %B %Y";
  return t;
}

namespace {

// The territory section with the euro sign as currency symbol.
Bytes germanySection() {
  Bytes d = territorySection(germanyTerritory());
  uint16_t off = uint16_t((d[24 + 8] << 8) | d[24 + 9]); // entry 4: currency symbol
  put16(d, off, 0x20AC);
  return d;
}

// A territory whose currency symbol mixes one-byte and full-width
// characters: "a" U+FF21 "b" U+FF21.
Bytes wideSection() {
  TerritorySpec t;
  t.currency = "aXbX";
  Bytes d = territorySection(t);
  uint16_t off = uint16_t((d[24 + 8] << 8) | d[24 + 9]);
  put16(d, off + 2, 0xFF21);
  put16(d, off + 6, 0xFF21);
  return d;
}

} // namespace

void writeLocaleDir(const DataDir& dir) {
  dir.writeControl({{1, GC_CLASS_LANGUAGE, "English"},
                    {2, GC_CLASS_LANGUAGE, "German"},
                    {1, GC_CLASS_TERRITORY, "UnitedStates"},
                    {2, GC_CLASS_TERRITORY, "Germany"},
                    {3, GC_CLASS_TERRITORY, "Wide"},
                    {kCpAscii, GC_CLASS_CODEPAGE, "US-ASCII"},
                    {kCpLatin1, GC_CLASS_CODEPAGE, "Latin1"},
                    {kCpDouble, GC_CLASS_CODEPAGE, "DoubleByte"},
                    {kCpShift, GC_CLASS_CODEPAGE, "Shift"},
                    {kCpEbcdic, GC_CLASS_CODEPAGE, "EBCDIC"},
                    {kCpUtf8, GC_CLASS_CODEPAGE, "UTF-8"},
                    {1, GC_CLASS_SORT, "Default"}});
  dir.writeObject(GC_CLASS_LANGUAGE, 1, dataFile({languageSection({})}));
  dir.writeObject(GC_CLASS_LANGUAGE, 2, dataFile({languageSection(germanLanguage())}));
  dir.writeObject(GC_CLASS_TERRITORY, 1, dataFile({territorySection({})}));
  dir.writeObject(GC_CLASS_TERRITORY, 2, dataFile({germanySection()}));
  dir.writeObject(GC_CLASS_TERRITORY, 3, dataFile({wideSection()}));
  dir.writeObject(GC_CLASS_CODEPAGE, kCpAscii, CodePageBuilder::ascii().file());
  dir.writeObject(GC_CLASS_CODEPAGE, kCpLatin1, latin1Page().file());
  dir.writeObject(GC_CLASS_CODEPAGE, kCpDouble, doubleBytePage().file());
  dir.writeObject(GC_CLASS_CODEPAGE, kCpShift, shiftPage().file());
  dir.writeObject(GC_CLASS_CODEPAGE, kCpEbcdic, ebcdicPage().file());
  dir.writeObject(GC_CLASS_CODEPAGE, kCpUtf8, CodePageBuilder::ascii().maxLen(3).file());
  dir.writeObject(GC_CLASS_SORT, 1, dataFile({sortSectionV3(SortSpec{})}));
}

LocaleLib::LocaleLib() {
  writeLocaleDir(dir_);
  init_ = GCInit(dir_.path(), nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(init_, GC_OK);
}

LocaleLib::~LocaleLib() {
  for (GCLocale* l : made_) EXPECT_EQ(GCReleaseLocale(l, 0), GC_OK);
  GCTerm();
}

GCLocale* LocaleLib::get(const char* name, uint32_t flags) {
  uint32_t st = 99;
  GCLocale* l = GCGetLocale(name, flags, &st);
  EXPECT_NE(l, nullptr) << name;
  EXPECT_EQ(st, GC_OK) << name;
  if (l) made_.push_back(l);
  return l;
}

std::u16string ucs(const GCUChar* u, int n) {
  std::u16string s;
  for (int i = 0; i < n; ++i) s += char16_t(u[i]);
  return s;
}

} // namespace gctest
