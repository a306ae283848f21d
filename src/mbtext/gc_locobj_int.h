// Internals of the locale objects: the native locale's name.
#pragma once

#include "mbtext/gc_locobj.h"

#include <cstddef>
#include <locale.h>

// The name of a native locale (newlocale): one name when its categories
// agree, else "/ctype/numeric/time/collate/monetary/messages"; empty when
// it does not fit in room.
void gcNativeLocaleName(locale_t l, char* out, size_t room);

// Fills the digit counts, flags, sign positions and separators whose kept
// bits are clear from the locale's territory (nothing is allocated).
void gcLocFillValues(GCLocale* locale);

// Room for the code-page form of a text of n characters (with its NUL),
// shift codes included.
uint32_t gcLocTextRoom(const GCObj* cp, uint32_t chars);
