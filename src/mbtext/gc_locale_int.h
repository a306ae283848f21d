// Internals of the locale record: the default locale, built-in objects
// and releasing a locale.
#pragma once

#include <cstdint>

#include "mbtext/gc_locale.h"

// The global default locale: used when a locale argument is null. Nothing in
// the library sets it; GCTerm releases it when a caller did.
extern GCLocale* gcglocale;

// The locale an operation works in: the argument, else gcglocale, else the
// built-in default locale (English, United States, US-ASCII, binary order).
// The built-in default locale is per thread, so its status word is not shared.
GCLocale* gcLocaleOrDefault(GCLocale* locale);

// Built-in objects (static, read-only, never unloaded).
GCObj* gcBuiltinLanguage();
GCObj* gcBuiltinTerritory();
GCObj* gcBuiltinCodePage();

// Gives back the sixteen texts of a locale and the record itself through the
// free callback; 0, or 1 when a free callback reported failure.
uint32_t gcLocaleFree(GCLocale* locale);
