// The locale items that the number, time and printf formatters read: the
// separators, signs, grouping and date and time formats, the number of
// fraction digits, and the day and month names and AM/PM designators, all in
// the locale's code page. They are read through the locale item calls; the
// locale's last status is left as the formatter has set it.
#pragma once

#include <cstdint>

#include "mbtext/gc_item.h"
#include "mbtext/gc_locale.h"

// Reads a text item into buf (size bytes, at least 1), cut at a character
// boundary, NUL-terminated; separators give one byte. With itemflag 1 the
// territory's own value is read instead of the locale's (possibly changed)
// one. Returns the bytes written with the NUL, or -1 for an item this reader
// does not know.
int gcfmtTextItem(GCLocale* locale, int item, char* buf, int size, uint32_t itemflag = 0);
// Number of fraction digits (number item 63), the locale's or the territory's.
int gcfmtDigits(const GCLocale* locale, uint32_t itemflag = 0);
