// Internals of the locale objects: the native locale's name.
#pragma once

#include <cstddef>
#include <locale.h>

// The name of a native locale (newlocale): one name when its categories
// agree, else "/ctype/numeric/time/collate/monetary/messages"; empty when
// it does not fit in room.
void gcNativeLocaleName(locale_t l, char* out, size_t room);
