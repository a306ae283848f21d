// Built-in objects: English, UnitedStates and US-ASCII, used when no data
// files can be read.
#include <cstring>
#include <string>
#include <vector>

#include "mbtext/gc_cp.h"
#include "mbtext/gc_mem_be.h"
#include "mbtext/gc_obj.h"

namespace {

// Appends NUL-terminated UCS-2 text (ASCII input) and returns its offset.
// It grows d: callers take an address in d only after it returns.
uint16_t add_text(std::vector<uint8_t>& d, const char* s) {
  uint16_t off = uint16_t(d.size());
  for (const char* p = s;; ++p) {
    d.push_back(0);
    d.push_back(uint8_t(*p));
    if (!*p) break;
  }
  return off;
}

std::vector<uint8_t> build_language() {
  static const char* const texts[44] = {
      "EN", "English",
      "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
      "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
      "January", "February", "March", "April", "May", "June", "July", "August",
      "September", "October", "November", "December", "",
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec", "",
      "AM", "PM"};
  std::vector<uint8_t> d(12 + 46 * 2, 0);
  gc_put16(&d[0], 1); // default territory
  gc_put16(&d[2], 1); // default code page
  gc_put16(&d[4], 0); // binary order
  gc_put16(&d[6], 0);
  gc_put16(&d[8], 0);
  gc_put16(&d[10], 9); // primary language code of English
  for (int i = 0; i < 44; ++i) {
    const uint16_t off = add_text(d, texts[i]);
    gc_put16(&d[12 + 2 * i], off);
  }
  // Empty special mapping tables.
  gc_put16(&d[12 + 2 * 44], uint16_t(d.size()));
  gc_put16(&d[12 + 2 * 45], uint16_t(d.size()));
  return d;
}

std::vector<uint8_t> build_territory() {
  std::vector<uint8_t> d(24 + 12 * 2, 0);
  const char seps[5] = {'.', ',', ',', '.', ','};
  for (int i = 0; i < 5; ++i) gc_put16(&d[2 * i], uint16_t(seps[i]));
  gc_put16(&d[10], 2); // digits
  gc_put16(&d[12], 2); // currency digits
  gc_put16(&d[14], 2); // international currency digits
  d[16] = 1;           // positive sign position: sign precedes amount and symbol
  d[17] = 1;           // negative sign position
  gc_put16(&d[18], 0);
  gc_put16(&d[20], 0x02 | 0x08); // currency symbol precedes positive and negative amounts
  gc_put16(&d[22], 1);           // sublanguage code of United States
  static const char* const texts[11] = {"USA", "United States", "3;0", "3;0", "$", "USD", "", "-",
                                        "%#I:%M:%S %p", "%#m/%#d/%y", "%A, %B %d, %Y"};
  for (int i = 0; i < 11; ++i) {
    const uint16_t off = add_text(d, texts[i]);
    gc_put16(&d[24 + 2 * i], off);
  }
  gc_put16(&d[24 + 2 * 11], uint16_t(d.size()));
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

std::vector<uint8_t> build_cp_main() {
  std::vector<uint8_t> m(GC_CP_MAIN_SIZE, 0);
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

std::vector<uint8_t> build_cp_low() {
  std::vector<uint8_t> low(128);
  for (int i = 0; i < 128; ++i) low[i] = uint8_t(i);
  return low;
}

struct Builtins {
  std::vector<uint8_t> lang = build_language();
  std::vector<uint8_t> terr = build_territory();
  std::vector<uint8_t> cpm = build_cp_main();
  std::vector<uint8_t> cplow = build_cp_low();
  GCObj lang_obj{}, terr_obj{}, cp_obj{};
  Builtins() {
    init(lang_obj, GC_CLASS_LANGUAGE, "English");
    init(terr_obj, GC_CLASS_TERRITORY, "UnitedStates");
    init(cp_obj, GC_CLASS_CODEPAGE, "US-ASCII");
    lang_obj.sect[0] = lang.data();
    lang_obj.sect_size[0] = uint32_t(lang.size());
    terr_obj.sect[0] = terr.data();
    terr_obj.sect_size[0] = uint32_t(terr.size());
    cp_obj.sect[0] = cpm.data();
    cp_obj.sect_size[0] = uint32_t(cpm.size());
    cp_obj.sect[2] = cplow.data();
    cp_obj.sect_size[2] = uint32_t(cplow.size());
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
