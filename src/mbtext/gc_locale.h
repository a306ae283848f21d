// The locale record and the data-object handles it points to.
//
// Threads: a GCLocale has no lock. Building, changing and releasing it are
// its owner's; several threads may read one locale, and then share its
// last-status word. A null locale is the calling thread's own default.
#pragma once

#include <cstdint>

#include "mbtext/gc_types.h"

// ---------------------------------------------------------------------------
// Data objects of the object manager.

// Object classes (also the index of the object-file name prefix).
inline constexpr uint8_t GC_CLASS_LANGUAGE = 0;  // "la"
inline constexpr uint8_t GC_CLASS_TERRITORY = 1; // "te"
inline constexpr uint8_t GC_CLASS_CODEPAGE = 2;  // "cp"
inline constexpr uint8_t GC_CLASS_SORT = 3;      // "so"
inline constexpr int GC_CLASS_COUNT = 4;

// State flags of a directory entry.
inline constexpr uint8_t GC_OBJ_BUILTIN = 0x01;  // built-in data, never unloaded
inline constexpr uint8_t GC_OBJ_ALLOC0 = 0x02;   // section 0 allocated (freed, not unmapped)
inline constexpr uint8_t GC_OBJ_ALLOC1 = 0x04;
inline constexpr uint8_t GC_OBJ_ALLOC2 = 0x08;
inline constexpr uint8_t GC_OBJ_ALLOC3 = 0x10;

inline constexpr int GC_OBJ_NAME_SIZE = 36; // name with its NUL
inline constexpr int GC_OBJ_SECTIONS = 4;

struct GCFile; // open data file of the file layer

// One object: its in-memory directory entry. Its data is reached through the
// section pointers; each section's size in bytes is kept beside it so that
// every read of the data can be bounds-checked. Section 0 null = not loaded.
struct GCObj {
  uint16_t id;
  uint8_t cls;
  uint8_t flags;
  char name[GC_OBJ_NAME_SIZE];
  GCFile* file;
  const uint8_t* sect[GC_OBJ_SECTIONS];
  uint32_t sect_size[GC_OBJ_SECTIONS];
  uint8_t version; // format version of the object file's header (3 for built-ins)
};

// Code-page object ids with rule-based behaviour.
inline constexpr uint16_t GC_CP_ID_ASCII = 1;   // US-ASCII, present in every directory
inline constexpr uint16_t GC_CP_ID_UTF8 = 106;  // UTF-8, converted by rule
inline constexpr uint16_t GC_CP_ID_EBCDIC930 = 930;

// Language data (section 0 of a language object), big-endian 16-bit fields.
inline constexpr uint32_t GC_LANG_DEF_TERRITORY = 0; // id of the default territory
inline constexpr uint32_t GC_LANG_DEF_CODEPAGE = 2;  // id of the default code page
inline constexpr uint32_t GC_LANG_DEF_SORT = 4;      // id of the default sort, 0 = binary
inline constexpr uint32_t GC_LANG_UPPER_COUNT = 6;   // entries of special table 44
inline constexpr uint32_t GC_LANG_LOWER_COUNT = 8;   // entries of special table 45
inline constexpr uint32_t GC_LANG_CODE = 10;         // numeric primary language code
inline constexpr uint32_t GC_LANG_OFFSETS = 12;      // offset table: 44 texts, then tables 44 and 45
inline constexpr int GC_LANG_TEXT_COUNT = 44;
inline constexpr int GC_LANG_TABLE_UPPER = 44;       // entry of the upper-casing table
inline constexpr int GC_LANG_TABLE_LOWER = 45;       // entry of the lower-casing table
inline constexpr uint32_t GC_LANG_HDR_SIZE = GC_LANG_OFFSETS + 2 * 46;
inline constexpr uint32_t GC_LANG_SPECIAL_SIZE = 8;  // one special-mapping entry

// Territory data (section 0 of a territory object), big-endian fields.
inline constexpr uint32_t GC_TERR_SEPS = 0;           // five separators, UCS-2
inline constexpr uint32_t GC_TERR_DIGITS = 10;
inline constexpr uint32_t GC_TERR_CURR_DIGITS = 12;
inline constexpr uint32_t GC_TERR_INTL_DIGITS = 14;
inline constexpr uint32_t GC_TERR_POS_SIGN_POSN = 16; // one byte
inline constexpr uint32_t GC_TERR_NEG_SIGN_POSN = 17; // one byte
inline constexpr uint32_t GC_TERR_VALUE18 = 18;
inline constexpr uint32_t GC_TERR_FLAGS = 20;         // GC_TERRF_ bits
inline constexpr uint32_t GC_TERR_SUBLANG = 22;       // numeric sublanguage code
inline constexpr uint32_t GC_TERR_OFFSETS = 24;       // offset table: 11 texts and the end
inline constexpr int GC_TERR_TEXT_COUNT = 11;
inline constexpr uint32_t GC_TERR_HDR_SIZE = GC_TERR_OFFSETS + 2 * (GC_TERR_TEXT_COUNT + 1);
// Territory text entries that are not locale texts (those are GC_TXT_TERR_ENTRY).
inline constexpr int GC_TERR_ABBREV = 0;
inline constexpr int GC_TERR_NAME = 1;
inline constexpr int GC_TERR_INTL_CURRENCY = 5;
// Language text entries.
inline constexpr int GC_LANG_ABBREV = 0;
inline constexpr int GC_LANG_NAME = 1;
inline constexpr int GC_LANG_DAY = 2; // then abbreviated days, months, abbreviated months, AM, PM

// Territory flag bits.
inline constexpr uint16_t GC_TERRF_FLAG0 = 0x01;            // number item 58
inline constexpr uint16_t GC_TERRF_CURR_PRECEDES_POS = 0x02;
inline constexpr uint16_t GC_TERRF_CURR_SPACE_POS = 0x04;
inline constexpr uint16_t GC_TERRF_CURR_PRECEDES_NEG = 0x08;
inline constexpr uint16_t GC_TERRF_CURR_SPACE_NEG = 0x10;
inline constexpr uint16_t GC_TERRF_FLAG1 = 0x20;            // locale flag GC_LF_TERR_FLAG1
inline constexpr uint16_t GC_TERRF_FLAG2 = 0x40;            // locale flag GC_LF_TERR_FLAG2

// ---------------------------------------------------------------------------
// Locale record.

// Locale flags.
inline constexpr uint16_t GC_LF_CURR_PRECEDES_POS = 0x01;
inline constexpr uint16_t GC_LF_CURR_SPACE_POS = 0x02;
inline constexpr uint16_t GC_LF_CURR_PRECEDES_NEG = 0x04;
inline constexpr uint16_t GC_LF_CURR_SPACE_NEG = 0x08;
inline constexpr uint16_t GC_LF_TERR_FLAG1 = 0x10; // number item 82
inline constexpr uint16_t GC_LF_TERR_FLAG2 = 0x20; // number item 83
inline constexpr uint16_t GC_LF_SINGLEBYTE = 0x40; // one byte per character
inline constexpr uint16_t GC_LF_NOSORT = 0x80;     // binary order
inline constexpr uint16_t GC_LF_SHIFT = 0x100;     // shift-state code page

// Separator indices.
enum : int {
  GC_SEP_DECIMAL = 0,
  GC_SEP_THOUSANDS = 1,
  GC_SEP_LIST = 2,
  GC_SEP_MON_DECIMAL = 3,
  GC_SEP_MON_THOUSANDS = 4,
  GC_SEP_COUNT = 5
};

// Text indices.
enum : int {
  GC_TXT_GROUPING = 0,
  GC_TXT_CURRENCY = 1,
  GC_TXT_MON_GROUPING = 2,
  GC_TXT_POS_SIGN = 3,
  GC_TXT_NEG_SIGN = 4,
  GC_TXT_TIME_FMT = 5,
  GC_TXT_SDATE_FMT = 6,
  GC_TXT_LDATE_FMT = 7,
  GC_TXT_COUNT = 8
};

// Entry of each locale text (GC_TXT_ order) in the territory's offset table.
inline constexpr int GC_TXT_TERR_ENTRY[GC_TXT_COUNT] = {2, 4, 3, 6, 7, 8, 9, 10};

// Kept-items mask: bit set = the locale's own value stays when the
// territory changes.
inline constexpr uint32_t GC_KEEP_DIGITS = 0x00000001;
inline constexpr uint32_t GC_KEEP_CURR_DIGITS = 0x00000002;
inline constexpr uint32_t GC_KEEP_INTL_DIGITS = 0x00000004;
inline constexpr uint32_t GC_KEEP_FLAG_FIRST = 0x00000008;   // flags 0x01..0x20: 0x8..0x100
inline constexpr uint32_t GC_KEEP_POS_SIGN_POSN = 0x00000200;
inline constexpr uint32_t GC_KEEP_NEG_SIGN_POSN = 0x00000400;
inline constexpr uint32_t GC_KEEP_SEP_FIRST = 0x00000800;    // separators: 0x800..0x8000
inline constexpr uint32_t GC_KEEP_TEXT_FIRST = 0x00010000;   // texts: 0x10000..0x800000

struct GCLocale {
  GCObj* language;  // never null
  GCObj* territory; // never null
  GCObj* codepage;  // never null
  GCObj* sort;      // null = binary order
  uint32_t kept;
  uint16_t digits;
  uint16_t curr_digits;
  uint16_t intl_curr_digits;
  uint16_t flags;
  uint8_t pos_sign_posn; // number item 77
  uint8_t neg_sign_posn; // number item 78
  unsigned char sep[GC_SEP_COUNT];  // in the locale's code page
  char* text[GC_TXT_COUNT];         // NUL-terminated, code page, owned
  GCUChar sepU[GC_SEP_COUNT];
  GCUChar* textU[GC_TXT_COUNT];     // NUL-terminated UCS-2, owned
  uint32_t status;                  // last status (GCGetError)
};

