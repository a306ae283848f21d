// Internals of the locale record: the default locale, built-in objects
// and releasing a locale.
#pragma once

#include <atomic>
#include <cstdint>

#include "mbtext/gc_locale.h"

// The global default locale: used when a locale argument is null. Nothing in
// the library sets it; GCTerm releases it when a caller did.
extern GCLocale* gcglocale;

// The locale an operation works in: the argument, else gcglocale, else the
// built-in default locale (English, United States, US-ASCII, binary order).
// The built-in default locale is per thread, so its status word is not shared.
GCLocale* gcLocaleFallback();
inline GCLocale* gcLocaleOrDefault(GCLocale* locale) { return locale ? locale : gcLocaleFallback(); }

// Built-in objects (static, read-only, never unloaded).
GCObj* gcBuiltinLanguage();
GCObj* gcBuiltinTerritory();
GCObj* gcBuiltinCodePage();

// Gives back the sixteen texts of a locale and the record itself through the
// free callback; 0, or 1 when a free callback reported failure.
uint32_t gcLocaleFree(GCLocale* locale);

// Section 0 of an object, null while it is not loaded, read with acquire
// ordering: a load publishes section 0 last (gcObjPublish), so the other
// sections and sizes of an entry seen loaded are visible to the reader.
// Every read of section 0 goes through here.
inline const uint8_t* gcObjSection(const GCObj* e) {
  return std::atomic_ref<const uint8_t*>(const_cast<GCObj*>(e)->sect[0]).load(std::memory_order_acquire);
}

// Publishes section 0 of an entry whose other sections are already set.
inline void gcObjPublish(GCObj* e, const uint8_t* section0) {
  std::atomic_ref<const uint8_t*>(e->sect[0]).store(section0, std::memory_order_release);
}
