// Small in-memory locales for the formatter tests: an ASCII-based single-byte
// code page, an EBCDIC one (code page 037 for the characters the formatters
// use) and an ASCII-based double-byte one (lead bytes 0x81-0x9F), with
// separators, signs, grouping and date formats that a test can change, and a
// language whose day and month names are "Sun".."Sat" style texts.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gc_testdata.h"
#include "mbtext/gc_locale.h"

namespace gcfmt_test {

// Shift: an EBCDIC shift-state page (shift-out 0x0E, shift-in 0x0F, two
// bytes a character in double-byte mode).
enum class Page { Ascii, Ebcdic, DoubleByte, Shift };

using gctest::kAsciiToEbcdic;

inline std::string ebcdic(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u == '\t')
      out += static_cast<char>(0x05);
    else if (u == '\n')
      out += static_cast<char>(0x15);
    else if (u >= 0x20 && u <= 0x7E)
      out += static_cast<char>(kAsciiToEbcdic[u - 0x20]);
    else
      out += c;
  }
  return out;
}

struct TestLocale {
  std::vector<uint8_t> main;
  std::vector<uint8_t> low;  // low-part block: the byte of each UCS-2 value 0x00-0x7F
  std::vector<uint8_t> lang;
  std::vector<uint8_t> terr;
  GCObj cp{};
  GCObj language{};
  GCObj territory{};
  GCLocale loc{};
  std::string texts[GC_TXT_COUNT];

  explicit TestLocale(Page page = Page::Ascii) {
    main.assign(4412, 0);
    main[0] = '?';
    const bool ebcdicBased = page == Page::Ebcdic || page == Page::Shift;
    main[5] = (page == Page::DoubleByte || page == Page::Shift) ? 2 : 1;
    for (int b = 0; b < 256; ++b) {
      main[10 + b] = 1;
      put16(778 + 2 * b, 0xFFFD);
    }
    if (ebcdicBased) {
      for (int a = 0x20; a <= 0x7E; ++a) put16(778 + 2 * kAsciiToEbcdic[a - 0x20], static_cast<uint16_t>(a));
      put16(778 + 2 * 0x05, '\t');
      put16(778 + 2 * 0x15, '\n');
      put16(778 + 2 * 0x25, '\n');
      for (int b : {0x40, 0x05, 0x15, 0x25}) put32(1292 + 4 * b, 0x40);
      put16(4364, page == Page::Shift ? 0x0002 : 0);  // EBCDIC-based (shift-state)
      if (page == Page::Shift) {
        main[8] = 0x0E;
        main[9] = 0x0F;
      }
    } else {
      for (int b = 0; b < 0x80; ++b) put16(778 + 2 * b, static_cast<uint16_t>(b));
      for (int b : {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20}) put32(1292 + 4 * b, 0x40);
      // A Thai digit zero..nine at 0xF0-0xF9 for national-digit mapping.
      for (int d = 0; d < 10; ++d) {
        put16(778 + 2 * (0xF0 + d), static_cast<uint16_t>(0x0E50 + d));
        put32(1292 + 4 * (0xF0 + d), 0x008);  // digit class
        put32(1292 + 4 * (0x30 + d), 0x008);
      }
      put16(4364, 0x0001);
    }
    if (page == Page::DoubleByte)
      for (int b = 0x81; b <= 0x9F; ++b) main[10 + b] = 2;
    // UCS-2 to code page: page record of high byte 0, type 0, values 0-0x7F.
    low.assign(128, static_cast<uint8_t>('?'));
    for (int a = 0; a < 0x80; ++a) {
      if (!ebcdicBased)
        low[a] = static_cast<uint8_t>(a);
      else if (a >= 0x20 && a <= 0x7E)
        low[a] = kAsciiToEbcdic[a - 0x20];
    }
    if (ebcdicBased) {
      low[0] = 0;
      low['\t'] = 0x05;
      low['\n'] = 0x25;
      main[0] = 0x6F;  // '?'
    }
    main[2316] = 0;
    main[2316 + 1] = 0x7F;
    main[2316 + 2] = 0x00;
    main[2316 + 3] = 0x7F;
    main[1] = ebcdicBased ? 0x25 : 0x0A;  // end-of-line codes
    main[2] = 0x0D;
    main[3] = main[4] = main[1];
    put16(4366, 1252);
    cp.id = ebcdicBased ? (page == Page::Shift ? 939 : 37) : (page == Page::DoubleByte ? 932 : 1);
    cp.cls = GC_CLASS_CODEPAGE;
    std::strcpy(cp.name, ebcdicBased ? "IBM-037" : (page == Page::DoubleByte ? "Test-DBCS" : "US-ASCII"));
    cp.sect[0] = main.data();
    cp.sect_size[0] = static_cast<uint32_t>(main.size());
    cp.sect[2] = low.data();
    cp.sect_size[2] = static_cast<uint32_t>(low.size());
    buildLanguage();
    loc.language = &language;
    loc.territory = &territory;
    loc.codepage = &cp;
    loc.sort = nullptr;
    loc.digits = 2;  // the territory is built from these values
    loc.curr_digits = 2;
    loc.flags = static_cast<uint16_t>((page == Page::DoubleByte || page == Page::Shift ? 0 : GC_LF_SINGLEBYTE) |
                                      (page == Page::Shift ? GC_LF_SHIFT : 0) | GC_LF_NOSORT);
    setSeparators(".", ",");
    setText(GC_TXT_GROUPING, "3;0");
    setText(GC_TXT_POS_SIGN, "");
    setText(GC_TXT_NEG_SIGN, "-");
    setText(GC_TXT_TIME_FMT, "%H:%M:%S");
    setText(GC_TXT_SDATE_FMT, "%m/%d/%y");
    setText(GC_TXT_LDATE_FMT, "%A, %B %d, %Y");
    loc.sep[GC_SEP_MON_DECIMAL] = loc.sep[GC_SEP_DECIMAL];
    loc.sep[GC_SEP_MON_THOUSANDS] = loc.sep[GC_SEP_THOUSANDS];
    syncTerritory();
  }
  TestLocale(const TestLocale&) = delete;
  TestLocale& operator=(const TestLocale&) = delete;

  bool ebcdicPage() const { return (main[4365] & 1) == 0; }
  std::string form(const std::string& ascii) const { return ebcdicPage() ? ebcdic(ascii) : ascii; }

  // Separators given in ASCII; converted for an EBCDIC page. Empty = none.
  // The territory holds the same values (the locale's own and the
  // territory's agree) unless localeOnly is given.
  void setSeparators(const std::string& decimal, const std::string& thousands, bool localeOnly = false) {
    std::string d = form(decimal), t = form(thousands);
    loc.sep[GC_SEP_DECIMAL] = d.empty() ? 0 : static_cast<unsigned char>(d[0]);
    loc.sep[GC_SEP_THOUSANDS] = t.empty() ? 0 : static_cast<unsigned char>(t[0]);
    if (!localeOnly) syncTerritory();
  }
  void setMonetary(const std::string& decimal, const std::string& thousands) {
    std::string d = form(decimal), t = form(thousands);
    loc.sep[GC_SEP_MON_DECIMAL] = d.empty() ? 0 : static_cast<unsigned char>(d[0]);
    loc.sep[GC_SEP_MON_THOUSANDS] = t.empty() ? 0 : static_cast<unsigned char>(t[0]);
    syncTerritory();
  }
  // Text given in ASCII; converted for an EBCDIC page.
  void setText(int index, const std::string& ascii, bool localeOnly = false) {
    setRawText(index, form(ascii), localeOnly);
  }
  void setRawText(int index, const std::string& raw, bool localeOnly = false) {
    texts[index] = raw;
    loc.text[index] = texts[index].data();
    if (!localeOnly) syncTerritory();
  }
  void setDigits(int digits) {
    loc.digits = static_cast<uint16_t>(digits);
    syncTerritory();
  }

  // Rebuilds the territory data from the locale's current values.
  void syncTerritory() {
    terr.assign(24 + 2 * 12, 0);
    for (int i = 0; i < GC_SEP_COUNT; ++i) gctest::put16(terr, 2 * i, ucs(loc.sep[i]));
    gctest::put16(terr, 10, loc.digits);
    // Offset entries: 2 grouping, 3 monetary grouping, 4 currency, 5 intl
    // currency, 6/7 signs, 8-10 formats; the others are empty texts.
    static const int kFromText[12] = {-1, -1, GC_TXT_GROUPING, GC_TXT_MON_GROUPING, GC_TXT_CURRENCY, -1,
                                      GC_TXT_POS_SIGN, GC_TXT_NEG_SIGN, GC_TXT_TIME_FMT, GC_TXT_SDATE_FMT,
                                      GC_TXT_LDATE_FMT, -1};
    for (int e = 0; e < 12; ++e) {
      gctest::put16(terr, 24 + 2 * e, static_cast<uint16_t>(terr.size()));
      if (e < 11 && kFromText[e] >= 0 && loc.text[kFromText[e]])
        for (const char* p = loc.text[kFromText[e]]; *p; ++p)
          gctest::append16(terr, ucs(static_cast<unsigned char>(*p)));
      gctest::append16(terr, 0);
    }
    territory.cls = GC_CLASS_TERRITORY;
    std::strcpy(territory.name, "Testland");
    territory.sect[0] = terr.data();
    territory.sect_size[0] = static_cast<uint32_t>(terr.size());
  }
  GCLocale* get() { return &loc; }

 private:
  void put16(size_t at, uint16_t v) { gctest::put16(main, at, v); }
  uint16_t ucs(unsigned char b) const {
    if (!b) return 0;
    return static_cast<uint16_t>((main[778 + 2 * b] << 8) | main[778 + 2 * b + 1]);
  }
  void put32(size_t at, uint32_t v) { gctest::put32(main, at, v); }
  // English: "EN", day names "Sunday".., months "January".., "AM"/"PM".
  void buildLanguage() {
    lang = gctest::languageSection({});
    language.cls = GC_CLASS_LANGUAGE;
    std::strcpy(language.name, "English");
    language.sect[0] = lang.data();
    language.sect_size[0] = static_cast<uint32_t>(lang.size());
  }
};

}  // namespace gcfmt_test
