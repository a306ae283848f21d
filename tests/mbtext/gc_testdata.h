// Builders of small locale data files for tests: data-file headers of every
// version, control files, language / territory / code-page / sort objects,
// and a temporary data directory to write them into.
//
// Typical use:
//   gctest::DataDir dir;
//   dir.writeControl({{1, GC_CLASS_LANGUAGE, "English"}, {1, GC_CLASS_TERRITORY, "UnitedStates"},
//                     {1, GC_CLASS_CODEPAGE, "US-ASCII"}});
//   dir.writeObject(GC_CLASS_LANGUAGE, 1, gctest::dataFile({gctest::languageSection({})}));
//   dir.writeObject(GC_CLASS_CODEPAGE, 1, gctest::CodePageBuilder::ascii().file());
//   GCInit(dir.path(), nullptr, nullptr, nullptr, 0);
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "mbtext/gc_locale.h"

namespace gctest {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, size_t at, uint16_t v);
void put32(Bytes& b, size_t at, uint32_t v);
void append16(Bytes& b, uint16_t v);
void append32(Bytes& b, uint32_t v);
// Text made of the given byte values (values above 127 as bytes 0x80-0xFF).
std::string bytes(std::initializer_list<int> b);

// ---------------------------------------------------------------------------
// Data files.

struct Section {
  uint32_t size;
  uint32_t offset;
};

// An 80-byte header. Versions 0-2 use the old layout (16-bit sizes).
Bytes header(int version, const std::vector<Section>& sections, uint32_t magic = 0x476cf462u);

// A whole data file: the header followed by the sections in order (empty
// sections get size 0 and offset 0). Versions 0-2 need sections below 64 KiB.
Bytes dataFile(const std::vector<Bytes>& sections, int version = 3);

struct DirEntry {
  uint16_t id;
  uint8_t cls;
  std::string name;
};

// The directory section (60-byte entries) and a whole control file.
Bytes directorySection(const std::vector<DirEntry>& entries);
Bytes controlFile(const std::vector<DirEntry>& entries, int version = 3);

// ---------------------------------------------------------------------------
// Language and territory sections (texts given as ASCII).

struct SpecialMapping {
  uint16_t in1, in2, out1, out2;
};

struct LanguageSpec {
  uint16_t territory = 1;
  uint16_t codepage = 1;
  uint16_t sort = 0;
  uint16_t langcode = 9;
  std::string abbrev = "EN";
  std::string name = "English";
  std::string days[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  std::string abbrevDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::string months[13] = {"January", "February", "March",     "April",   "May",      "June", "July",
                            "August",  "September", "October", "November", "December", ""};
  std::string abbrevMonths[13] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                  "Aug", "Sep", "Oct", "Nov", "Dec", ""};
  std::string am = "AM";
  std::string pm = "PM";
  std::vector<SpecialMapping> upper; // table 44
  std::vector<SpecialMapping> lower; // table 45
};
Bytes languageSection(const LanguageSpec& spec);

struct TerritorySpec {
  uint16_t separators[5] = {'.', ',', ',', '.', ','};
  uint16_t digits = 2, currDigits = 2, intlDigits = 2;
  uint8_t posSignPosn = 1, negSignPosn = 1;
  uint16_t value84 = 0;
  uint16_t flags = 0x02 | 0x08;
  uint16_t sublang = 1;
  std::string abbrev = "USA", name = "United States";
  std::string grouping = "3;0", monGrouping = "3;0", currency = "$", intlCurrency = "USD";
  std::string posSign = "", negSign = "-";
  std::string timeFmt = "%#I:%M:%S %p", shortDate = "%#m/%#d/%y", longDate = "%A, %B %d, %Y";
};
Bytes territorySection(const TerritorySpec& spec);

// ---------------------------------------------------------------------------
// Code pages. The builder starts from an ASCII-based single-byte page whose
// bytes 0-127 are US-ASCII (with the classes and cases of the built-in
// page) and whose other bytes are no characters.
class CodePageBuilder {
 public:
  CodePageBuilder();
  static CodePageBuilder ascii() { return CodePageBuilder(); }

  CodePageBuilder& defaultChar(uint8_t b);
  CodePageBuilder& ebcdicBased();                  // clears the ASCII-based flag
  CodePageBuilder& shiftState(uint8_t so, uint8_t si); // double-byte mode via shift codes
  CodePageBuilder& maxLen(uint8_t n);
  CodePageBuilder& windowsNumber(uint16_t n);
  CodePageBuilder& eol(uint8_t a, uint8_t b, uint8_t c, uint8_t d);
  // A single-byte character (both directions); the byte's length becomes 1.
  CodePageBuilder& single(uint8_t byte, GCUChar u, uint32_t cls = 0x200);
  // Makes byte no character (decodes to U+FFFD; nothing encodes to it).
  CodePageBuilder& unmapSingle(uint8_t byte);
  CodePageBuilder& caseBytes(uint8_t upper, uint8_t lower);
  CodePageBuilder& leadLen(uint8_t byte, uint8_t len);
  // A multibyte character (both directions) with its class record. The lead
  // byte's length is set to the character's length unless the page is a
  // shift-state page (whose lead table describes single-byte mode).
  CodePageBuilder& multi(const Bytes& bytes, GCUChar u, uint32_t cls = 0x200, int32_t delta = 0);
  // A class record for a multibyte character without a UCS-2 mapping.
  CodePageBuilder& classOnly(const Bytes& bytes, uint32_t cls, int32_t delta = 0);
  CodePageBuilder& widthPair(uint32_t half, uint32_t full);
  CodePageBuilder& fullWidthOfByte(uint8_t byte, uint32_t full);
  // Overrides the page record of UCS-2 page `page`; low/high are appended to
  // the low-part and high-part blocks at the offsets recorded in the record
  // (the offsets given are added to where the blocks are placed).
  CodePageBuilder& rawPage(uint8_t page, uint8_t type, uint8_t mask, uint8_t lo, uint8_t hi,
                           const Bytes& low, const Bytes& high);

  // Sections 0-3: main table (version 2), multibyte trie, low and high blocks.
  std::vector<Bytes> sections() const;
  // Sections 0-1 in the version-1 layout (the tries accept every byte), then
  // the low and high blocks.
  std::vector<Bytes> sectionsV1() const;
  // A whole object file (version 3 header, or version 1 with sectionsV1()).
  Bytes file(int version = 3) const;

 private:
  struct Multi {
    Bytes bytes;
    GCUChar u;
    bool mapped;
    uint32_t cls;
    int32_t delta;
  };
  struct RawPage {
    uint8_t type, mask, lo, hi;
    Bytes low, high;
  };
  uint8_t defchar_ = '?';
  uint8_t maxlen_ = 1;
  uint8_t so_ = 0, si_ = 0;
  uint16_t flags_ = 0x0001;
  uint16_t wincp_ = 1252;
  uint8_t eol_[4] = {0x0A, 0x0D, 0x0A, 0x0A};
  uint8_t lead_[256];
  uint8_t upper_[256], lower_[256];
  GCUChar toU_[256];
  uint32_t cls_[256];
  std::vector<Multi> multi_;
  std::vector<std::pair<uint32_t, uint32_t>> pairs_;
  std::map<uint8_t, uint32_t> fullw_;
  std::map<uint8_t, RawPage> raw_;
};

// ---------------------------------------------------------------------------
// Sort tables.
struct SortPage {
  uint8_t flags = 0x01; // no weights
  uint8_t order = 0;
  uint32_t base = 0;
};
struct SortWeight {
  uint16_t primary;
  uint8_t secondary, tertiary;
  uint16_t flags;
};
struct SortExpansion {
  uint16_t ch;
  uint16_t p1;
  uint8_t s1, t1;
  uint16_t p2;
  uint8_t s2, t2;
};
struct SortCombination {
  uint16_t first, second, primary;
  uint8_t secondary, tertiary;
  uint16_t flags;
};
struct SortSpec {
  uint8_t defSecondary = 2, defTertiary = 2;
  SortPage pages[256];
  std::vector<SortWeight> weights;
  std::vector<SortExpansion> expansions;
  std::vector<SortCombination> combinations;
};
Bytes sortSectionV3(const SortSpec& spec);
Bytes sortSectionV1(const SortSpec& spec); // 1036-byte header, 16-bit bases and offsets

// ---------------------------------------------------------------------------
// A temporary data directory, removed with its files when destroyed.
class DataDir {
 public:
  DataDir();
  ~DataDir();
  DataDir(const DataDir&) = delete;
  DataDir& operator=(const DataDir&) = delete;

  const char* path() const { return path_.c_str(); }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  void write(const std::string& name, const Bytes& data) const;
  void remove(const std::string& name) const;
  void writeControl(const std::vector<DirEntry>& entries, int version = 3) const;
  // Writes the object file of class cls and id (e.g. "la_0001.nls").
  void writeObject(uint8_t cls, uint16_t id, const Bytes& data) const;
  static std::string objectName(uint8_t cls, uint16_t id);

  // A complete small directory: English (1), UnitedStates (1), US-ASCII (1)
  // from data files whose contents match the built-in objects.
  void writeStandard() const;

 private:
  std::string path_;
};

// An object held in memory (sections owned here), for calling the code-page
// and sort functions without data files. Not movable: obj points into it.
class MemObject {
 public:
  MemObject(uint8_t cls, uint16_t id, std::vector<Bytes> sections);
  MemObject(const MemObject&) = delete;
  MemObject& operator=(const MemObject&) = delete;
  GCObj* get() { return &obj_; }
  const std::vector<Bytes>& sections() const { return sections_; }

 private:
  std::vector<Bytes> sections_;
  GCObj obj_{};
};

// Reads a whole file (empty when missing).
Bytes readFile(const std::string& name);

// A locale around an in-memory code page: the built-in language and
// territory, no sort, the flags given (with GC_LF_NOSORT) and status 99, so
// that a test sees every call set it.
struct PageLocale {
  MemObject cp;
  GCLocale loc{};
  PageLocale(uint16_t id, const CodePageBuilder& b, uint16_t flags);
};

// ---------------------------------------------------------------------------
// Special case mappings given as a table, for the mapping operations that
// take the look-up from the caller.
struct SpecialEntry {
  uint32_t list;
  GCUChar first, second, out1, out2;
};

// Answers as a language's special lists do: the first entry of list whose
// characters are (first, second) gives one or two replacements (out2 0: one).
template <size_t N>
int specialLookup(const SpecialEntry (&entries)[N], GCUChar first, GCUChar second, GCUChar* out1,
                  GCUChar* out2, uint32_t list) {
  for (const SpecialEntry& e : entries) {
    if (e.list == list && e.first == first && e.second == second) {
      *out1 = e.out1;
      *out2 = e.out2;
      return e.out2 != 0 ? 2 : 1;
    }
  }
  return 0;
}

// ---------------------------------------------------------------------------
// EBCDIC code page 037: the bytes of the ASCII characters 0x20-0x7E.
inline constexpr unsigned char kAsciiToEbcdic[95] = {
    0x40, 0x5A, 0x7F, 0x7B, 0x5B, 0x6C, 0x50, 0x7D, 0x4D, 0x5D, 0x5C, 0x4E, 0x6B, 0x60, 0x4B, 0x61,  // sp ! " # $ % & ' ( ) * + , - . /
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0x7A, 0x5E, 0x4C, 0x7E, 0x6E, 0x6F,  // 0-9 : ; < = > ?
    0x7C, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6,  // @ A-O
    0xD7, 0xD8, 0xD9, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xBA, 0xE0, 0xBB, 0xB0, 0x6D,  // P-Z [ \ ] ^ _
    0x79, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96,  // ` a-o
    0x97, 0x98, 0x99, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xC0, 0x4F, 0xD0, 0xA1};      // p-z { | } ~

} // namespace gctest
