// Locale objects: building a locale from a name of the form
// Language[_Territory][.CodePage][@Sort], releasing it, the user's locale,
// the mapping of the platform's native locale names and conventions, and
// changing a locale's territory and code page.
//
// Threads: GCGetLocale is safe from several threads (objects load under the
// global mutex); changing or releasing a locale is its owner's. The native
// calls read native locales through a locale_t of their own and switch no
// process or thread locale.
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_locale.h"

// A row of the native locale map.
struct GCNativeLocale {
  char native[17];
  char language[32];
  char territory[32];
  char codepage[32];
  char sort[32];
};
inline constexpr int GC_PLOCALE_MAP_SIZE = 100;
extern const GCNativeLocale GCPlocaleMap[GC_PLOCALE_MAP_SIZE];

// Builds a locale. flags: 0, GC_GL_USER (ignore the name, take the user's
// locale), GC_GL_FALLBACK (a named part that does not exist falls back on the
// language's default part, a missing language on "English"), or both.
// *status (may be null): 0, 2, 11, 20, 30, 31, 33 or 34.
ORB_API GCLocale* GCGetLocale(const char* name, uint32_t flags, uint32_t* status);
// Frees the locale's texts and the record: 0, or 1 when a free failed.
ORB_API uint32_t GCReleaseLocale(GCLocale* locale, uint32_t flags);

// The user's locale name into buffer (size > 0, cut to size - 1 bytes): 1
// when it came from GC_LANG, 2 when mapped from the process's native
// locale, 0 for a missing buffer.
ORB_API int GCGetUserLocale(char* buffer, int32_t size);
// Locale name Language_Territory.CodePage@Sort of a native locale name, or
// "Unknown"; cut to size - 1 bytes. Names of the native map, composite names
// ("/ctype/numeric/time/collate/..." and "LC_CTYPE=...;LC_NUMERIC=...;..."),
// and names of the form language_TERRITORY.codeset are understood.
ORB_API char* GCMapNativeLocale(const char* native, char* buffer, int32_t size);
// Puts the numeric and monetary conventions of the native locale ("" = from
// the environment) into the locale.
ORB_API void GCMapNativeInfo(const char* native, GCLocale* locale, uint32_t flags);

// Fills every item whose kept bit is clear from the locale's territory:
// 0, or 20 (texts replaced so far are not freed; see GCLocaleChangeTerritory).
ORB_API uint32_t GCLocaleSetModifiable(GCLocale* locale);
// Moves the locale to another territory; items set by the caller stay.
// 0, or 20 with the locale as it was.
ORB_API uint32_t GCLocaleChangeTerritory(GCLocale* locale, GCObj* territory);
// Moves the locale to another code page, converting its separators and
// code-page texts. 0, 20 or 36 (a separator has no single-byte form in the
// new code page), the locale as it was on failure.
ORB_API uint32_t GCLocaleChangeCodePage(GCLocale* locale, GCObj* codepage);
// Gives back every text of old whose pointer is not one of kept's.
ORB_API void GCLocaleFreeOldText(const GCLocale* kept, GCLocale* old);
// NUL-terminated text of one code page to another through UCS-2; a
// shift-state target is left in single-byte mode. dest needs room for
// (characters + 1) times (the target's maximum length + 1) bytes. Result:
// bytes written with the NUL.
ORB_API int32_t GCLocaleCnvText(const GCObj* from, const GCObj* to, const char* text, char* dest);

