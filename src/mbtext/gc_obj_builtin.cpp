// Built-in objects: English, UnitedStates and US-ASCII, used when no data
// files can be read.
#include <cstring>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_cp_int.h"
#include "mbtext/gc_locale_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_obj.h"

namespace {

// A data image of fixed room, built once: no allocation that could fail or
// throw on the way to a built-in object.
template <uint32_t Room>
struct Image {
  uint8_t d[Room] = {};
  uint32_t n = 0;
  explicit Image(uint32_t size) : n(size) {}
  uint8_t& operator[](uint32_t i) { return d[i]; }
  uint32_t size() const { return n; }
  const uint8_t* data() const { return d; }
};

// Appends NUL-terminated UCS-2 text (ASCII input) and returns its offset;
// a text that does not fit is left out (empty), never written past the room.
template <uint32_t Room>
uint16_t add_text(Image<Room>& img, const char* s) {
  const uint32_t off = img.n;
  const uint32_t need = 2 * uint32_t(std::strlen(s) + 1);
  if (need > Room - off) return 0;
  for (const char* p = s;; ++p) {
    img.d[img.n++] = 0;
    img.d[img.n++] = uint8_t(*p);
    if (!*p) break;
  }
  return uint16_t(off);
}

using LangImage = Image<1024>;
using TerrImage = Image<256>;
using MainImage = Image<GC_CP_MAIN_SIZE>;
using LowImage = Image<128>;

LangImage build_language() {
  static const char* const texts[GC_LANG_TEXT_COUNT] = {
      "EN", "English",
      "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
      "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
      "January", "February", "March", "April", "May", "June", "July", "August",
      "September", "October", "November", "December", "",
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec", "",
      "AM", "PM"};
  LangImage d(GC_LANG_HDR_SIZE);
  gc_put16(&d[GC_LANG_DEF_TERRITORY], 1);
  gc_put16(&d[GC_LANG_DEF_CODEPAGE], 1);
  gc_put16(&d[GC_LANG_DEF_SORT], 0); // binary order
  gc_put16(&d[GC_LANG_UPPER_COUNT], 0);
  gc_put16(&d[GC_LANG_LOWER_COUNT], 0);
  gc_put16(&d[GC_LANG_CODE], 9); // primary language code of English
  for (int i = 0; i < GC_LANG_TEXT_COUNT; ++i) {
    const uint16_t off = add_text(d, texts[i]);
    gc_put16(&d[GC_LANG_OFFSETS + 2 * i], off);
  }
  // Empty special mapping tables.
  gc_put16(&d[GC_LANG_OFFSETS + 2 * GC_LANG_TABLE_UPPER], uint16_t(d.size()));
  gc_put16(&d[GC_LANG_OFFSETS + 2 * GC_LANG_TABLE_LOWER], uint16_t(d.size()));
  return d;
}

TerrImage build_territory() {
  TerrImage d(GC_TERR_HDR_SIZE);
  const char seps[GC_SEP_COUNT] = {'.', ',', ',', '.', ','};
  for (int i = 0; i < GC_SEP_COUNT; ++i) gc_put16(&d[GC_TERR_SEPS + 2 * i], uint16_t(seps[i]));
  gc_put16(&d[GC_TERR_DIGITS], 2);
  gc_put16(&d[GC_TERR_CURR_DIGITS], 2);
  gc_put16(&d[GC_TERR_INTL_DIGITS], 2);
  d[GC_TERR_POS_SIGN_POSN] = 1; // sign precedes amount and symbol
  d[GC_TERR_NEG_SIGN_POSN] = 1;
  gc_put16(&d[GC_TERR_VALUE18], 0);
  gc_put16(&d[GC_TERR_FLAGS], 0x02 | 0x08); // currency symbol precedes positive and negative amounts
  gc_put16(&d[GC_TERR_SUBLANG], 1);         // sublanguage code of United States
  static const char* const texts[GC_TERR_TEXT_COUNT] = {"USA", "United States", "3;0", "3;0", "$", "USD", "", "-",
                                        "%#I:%M:%S %p", "%#m/%#d/%y", "%A, %B %d, %Y"};
  for (int i = 0; i < GC_TERR_TEXT_COUNT; ++i) {
    const uint16_t off = add_text(d, texts[i]);
    gc_put16(&d[GC_TERR_OFFSETS + 2 * i], off);
  }
  gc_put16(&d[GC_TERR_OFFSETS + 2 * GC_TERR_TEXT_COUNT], uint16_t(d.size()));
  return d;
}

uint32_t ascii_class(int b) {
  uint32_t t = 0, bidi = 0, w = 0;
  if (b >= 0x80) return 0;
  w = 0x040;
  if (b >= 'A' && b <= 'Z') {
    t = b <= 'F' ? 0x213 : 0x203;
    bidi = 1;
  } else if (b >= 'a' && b <= 'z') {
    t = b <= 'f' ? 0x215 : 0x205;
    bidi = 1;
  } else if (b >= '0' && b <= '9') {
    t = 0x218;
    bidi = 3;
  } else if (b == ' ') {
    t = 0x2C0;
    bidi = 10;
    w |= 0x008;
  } else if (b == '\t') {
    t = 0x3C0;
    bidi = 9;
    w |= 0x008;
  } else if (b >= 0x0A && b <= 0x0D) {
    t = 0x340;
    bidi = (b == 0x0A || b == 0x0D) ? 8 : b == 0x0B ? 9 : 10;
    w |= 0x008;
  } else if (b < 0x20 || b == 0x7F) {
    t = 0x300;
    bidi = 0;
  } else { // punctuation
    t = 0x220;
    w |= 0x008;
    if (b == '+' || b == '-') bidi = 4;
    else if (b == '#' || b == '$' || b == '%') bidi = 5;
    else if (b == ',' || b == '.' || b == '/' || b == ':') bidi = 7;
    else bidi = 11;
  }
  return t | ((1u << bidi) << 10) | (w << 22);
}

MainImage build_cp_main() {
  MainImage m(GC_CP_MAIN_SIZE);
  m[GC_CPM_DEFCHAR] = '?';
  m[GC_CPM_EOL] = 0x0A;
  m[GC_CPM_EOL + 1] = 0x0D;
  m[GC_CPM_EOL + 2] = 0x0A;
  m[GC_CPM_EOL + 3] = 0x0A;
  m[GC_CPM_MAXLEN] = 1;
  for (int b = 0; b < 256; ++b) {
    m[GC_CPM_LEADLEN + b] = 1;
    m[GC_CPM_UPPER + b] = uint8_t(b >= 'a' && b <= 'z' ? b - 32 : b);
    m[GC_CPM_LOWER + b] = uint8_t(b >= 'A' && b <= 'Z' ? b + 32 : b);
    gc_put16(&m[GC_CPM_TOUCS2 + 2 * b], b < 0x80 ? uint16_t(b) : GC_UCS2_INVALID);
    gc_put32(&m[GC_CPM_CLASS + 4 * b], ascii_class(b));
  }
  for (int p = 0; p < 256; ++p) {
    uint8_t* r = &m[GC_CPM_PAGES + 8 * p];
    if (p == 0) {
      r[0] = 0;    // one byte from the low block
      r[1] = 0xFF; // mask
      r[2] = 0x00;
      r[3] = 0x7F;
    } else {
      r[2] = 1; // empty range: nothing on this page is representable
      r[3] = 0;
    }
  }
  gc_put16(&m[GC_CPM_FLAGS], GC_CPF_ASCII);
  gc_put16(&m[GC_CPM_WINCP], 1252);
  return m;
}

LowImage build_cp_low() {
  LowImage low(128);
  for (int i = 0; i < 128; ++i) low[i] = uint8_t(i);
  return low;
}

struct Builtins {
  LangImage lang = build_language();
  TerrImage terr = build_territory();
  MainImage cpm = build_cp_main();
  LowImage cplow = build_cp_low();
  GCObj lang_obj{}, terr_obj{}, cp_obj{};
  Builtins() {
    init(lang_obj, GC_CLASS_LANGUAGE, "English");
    init(terr_obj, GC_CLASS_TERRITORY, "UnitedStates");
    init(cp_obj, GC_CLASS_CODEPAGE, "US-ASCII");
    lang_obj.sect[0] = lang.data();
    lang_obj.sect_size[0] = lang.size();
    terr_obj.sect[0] = terr.data();
    terr_obj.sect_size[0] = terr.size();
    cp_obj.sect[0] = cpm.data();
    cp_obj.sect_size[0] = cpm.size();
    cp_obj.sect[2] = cplow.data();
    cp_obj.sect_size[2] = cplow.size();
  }
  static void init(GCObj& o, uint8_t cls, const char* name) {
    o.id = 1;
    o.cls = cls;
    o.flags = GC_OBJ_BUILTIN;
    std::strncpy(o.name, name, sizeof o.name - 1);
    o.version = 3;
  }
};

Builtins& builtins() {
  static Builtins b;
  return b;
}

} // namespace

GCObj* gcBuiltinLanguage() { return &builtins().lang_obj; }
GCObj* gcBuiltinTerritory() { return &builtins().terr_obj; }
GCObj* gcBuiltinCodePage() { return &builtins().cp_obj; }
