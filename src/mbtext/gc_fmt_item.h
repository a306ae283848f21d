// The locale items that the number, time and printf formatters read: the
// separators, signs, grouping and date and time formats, the number of
// fraction digits, and the day and month names and AM/PM designators, all in
// the locale's code page. They are read through the locale item calls; the
// locale's last status is left as the formatter has set it.
#pragma once

#include <cstdint>

#include "mbtext/gc_locale.h"

// Item numbers used here.
inline constexpr int GC_ITEM_DAY = 16;        // 16-22 day names, Sunday first
inline constexpr int GC_ITEM_ABDAY = 23;      // 23-29
inline constexpr int GC_ITEM_MONTH = 30;      // 30-42
inline constexpr int GC_ITEM_ABMONTH = 43;    // 43-55
inline constexpr int GC_ITEM_AM = 56;
inline constexpr int GC_ITEM_PM = 57;
inline constexpr int GC_ITEM_DECIMAL = 59;
inline constexpr int GC_ITEM_THOUSANDS = 60;
inline constexpr int GC_ITEM_GROUPING = 62;
inline constexpr int GC_ITEM_DIGITS = 63;     // number item
inline constexpr int GC_ITEM_MON_DECIMAL = 66;
inline constexpr int GC_ITEM_MON_THOUSANDS = 67;
inline constexpr int GC_ITEM_POS_SIGN = 71;
inline constexpr int GC_ITEM_NEG_SIGN = 72;
inline constexpr int GC_ITEM_TIME_FMT = 79;
inline constexpr int GC_ITEM_SDATE_FMT = 80;
inline constexpr int GC_ITEM_LDATE_FMT = 81;

// Reads a text item into buf (size bytes, at least 1), cut at a character
// boundary, NUL-terminated; separators give one byte. With itemflag 1 the
// territory's own value is read instead of the locale's (possibly changed)
// one. Returns the bytes written with the NUL, or -1 for an item this reader
// does not know.
int gcfmtTextItem(GCLocale* locale, int item, char* buf, int size, uint32_t itemflag = 0);
// Number of fraction digits (number item 63), the locale's or the territory's.
int gcfmtDigits(const GCLocale* locale, uint32_t itemflag = 0);
