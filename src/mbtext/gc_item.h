// Locale items read and set by number: texts (names, separators, grouping,
// currency symbols, signs, date and time formats) and numbers (ids, digit
// counts, currency flags, sign positions, numeric codes), and the special
// case mappings of a language.
//
// Threads: reads are safe from several threads while no one changes the
// locale; GCSetLocaleTextInfo changes it and is its owner's.
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"

// Locale item numbers: text items (T) and number items (N).
enum GCItem : int {
  GC_ITEM_LANGUAGE_ID = 1,        // N
  GC_ITEM_LANGUAGE_OBJ = 2,       // T, settable
  GC_ITEM_LANGUAGE_ABBREV = 3,    // T
  GC_ITEM_LANGUAGE_NAME = 4,      // T
  GC_ITEM_TERRITORY_ID = 5,       // N
  GC_ITEM_TERRITORY_OBJ = 6,      // T, settable
  GC_ITEM_COUNTRY_ABBREV = 7,     // T
  GC_ITEM_COUNTRY_NAME = 8,       // T
  GC_ITEM_CODEPAGE_ID = 9,        // N
  GC_ITEM_CODEPAGE_OBJ = 10,      // T, settable
  GC_ITEM_SORT_ID = 11,           // N
  GC_ITEM_SORT_OBJ = 12,          // T, settable
  GC_ITEM_DEFAULT_TERRITORY = 13, // T
  GC_ITEM_DEFAULT_CODEPAGE = 14,  // T
  GC_ITEM_DEFAULT_SORT = 15,      // T
  GC_ITEM_DAY = 16,               // T: 16-22 day names, Sunday first
  GC_ITEM_ABDAY = 23,             // T: 23-29
  GC_ITEM_MONTH = 30,             // T: 30-42 month names, 42 the thirteenth
  GC_ITEM_ABMONTH = 43,           // T: 43-55
  GC_ITEM_AM = 56,                // T
  GC_ITEM_PM = 57,                // T
  GC_ITEM_TERR_FLAG1 = 58,        // N
  GC_ITEM_DECIMAL = 59,           // T, settable separator
  GC_ITEM_THOUSANDS = 60,         // T, settable separator
  GC_ITEM_LIST = 61,              // T, settable separator
  GC_ITEM_GROUPING = 62,          // T, settable text
  GC_ITEM_DIGITS = 63,            // N
  GC_ITEM_CURRENCY = 64,          // T, settable text
  GC_ITEM_INTL_CURRENCY = 65,     // T
  GC_ITEM_MON_DECIMAL = 66,       // T, settable separator
  GC_ITEM_MON_THOUSANDS = 67,     // T, settable separator
  GC_ITEM_MON_GROUPING = 68,      // T, settable text
  GC_ITEM_CURR_DIGITS = 69,       // N
  GC_ITEM_INTL_CURR_DIGITS = 70,  // N
  GC_ITEM_POS_SIGN = 71,          // T, settable text
  GC_ITEM_NEG_SIGN = 72,          // T, settable text
  GC_ITEM_CURR_PRECEDES_POS = 73, // N
  GC_ITEM_CURR_SPACE_POS = 74,    // N
  GC_ITEM_CURR_PRECEDES_NEG = 75, // N
  GC_ITEM_CURR_SPACE_NEG = 76,    // N
  GC_ITEM_POS_SIGN_POSN = 77,     // N
  GC_ITEM_NEG_SIGN_POSN = 78,     // N
  GC_ITEM_TIME_FMT = 79,          // T, settable text
  GC_ITEM_SDATE_FMT = 80,         // T, settable text
  GC_ITEM_LDATE_FMT = 81,         // T, settable text
  GC_ITEM_TERR_FLAG2 = 82,        // N
  GC_ITEM_TERR_FLAG3 = 83,        // N
  GC_ITEM_TERR_VALUE18 = 84,      // N
  GC_ITEM_MAX_CHAR_BYTES = 85,    // N
  GC_ITEM_ASCII_BASED = 86,       // N
  GC_ITEM_SHIFT_STATE = 87,       // N
  GC_ITEM_LOCALE_NAME = 88,       // T
  GC_ITEM_LANGUAGE_CODE = 91,     // N
  GC_ITEM_SUBLANGUAGE_CODE = 92,  // N
  GC_ITEM_CODEPAGE_CODE = 93,     // N
  GC_ITEM_CHARSET_NAME2 = 94,     // T
};

// Kinds of text that GCLocaleGetTextItem hands out.
inline constexpr int GC_TEXT_UNICODE = 1;  // big-endian UCS-2 of the object data, NUL-terminated
inline constexpr int GC_TEXT_CODEPAGE = 2; // the locale's code-page text
inline constexpr int GC_TEXT_ASCII = 3;    // ASCII text

// Room GCLocaleGetLocaleString needs (four object names and three marks).
inline constexpr int GC_LOCALE_STRING_SIZE = 132;

// Text item into buffer (size bytes, or characters with 0x4000, in the
// locale's code page), cut at a character boundary and NUL-terminated.
// flags: 0x0001 the territory's value instead of the locale's, 0x4000 size
// and result count characters (the bytes written then stay within size
// times the code page's maximum character length). Result: bytes written
// with the NUL (characters plus 1 with 0x4000); 0 when size is 0; -1 with
// status 2 (bad flags, negative size, no buffer) or 35 (no such item).
ORB_API int32_t GCGetLocaleTextInfo(GCLocale* locale, int item, char* buffer, int32_t size, uint32_t flags);
// Number item (flags 0, or 1 for the territory's value); -1 with status 2
// or 35.
ORB_API int32_t GCGetLocaleNumInfo(GCLocale* locale, int item, uint32_t flags);
// The text of an item: the locale's value (fromLocale 1) or the territory's
// (0), and its kind; null when the item does not exist. Separators of the
// locale are a single byte and those of the territory a single UCS-2 unit,
// neither NUL-terminated.
ORB_API const void* GCLocaleGetTextItem(GCLocale* locale, int item, int fromLocale, int* kind);
// The locale name Language_Territory.CodePage@Sort (ASCII) into buffer of
// GC_LOCALE_STRING_SIZE bytes, cut to fit.
ORB_API void GCLocaleGetLocaleString(const GCLocale* locale, char* buffer);
// Sets a text item: 2, 6, 10, 12 (objects by name), 59, 60, 61, 66, 67
// (separators), 62, 64, 68, 71, 72, 79, 80, 81 (texts of at most 32
// characters). length: bytes (characters with 0x4000), -1 NUL-terminated.
// 1 on success, 0 on failure with status 2, 20, 35, 36 or 37. The built-in
// default locale (null locale without a global default) is not changed.
ORB_API int GCSetLocaleTextInfo(GCLocale* locale, int item, const char* value, int32_t length, uint32_t flags);
// Special case mapping of the language (table 44 upper-casing, 45
// lower-casing) for the pair (first, second): 0 when none, else the output
// pair and 1 (one output character) or 2.
ORB_API int GCLangGetSpecial(const GCObj* language, GCUChar first, GCUChar second, GCUChar* out1,
                     GCUChar* out2, int table);
