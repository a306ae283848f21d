#include "mbtext/gc_item.h"
#include "mbtext/gc_locale.h"
#include "mbtext/gc_map_int.h"

// The special case mappings of the locale's language object: list 44 for
// upper-casing, 45 for lower-casing. A locale without a language object has
// none.
int gcMapSpecial(const GCLocale* locale, GCUChar first, GCUChar second, GCUChar* out1,
                 GCUChar* out2, uint32_t list) {
  if (locale == nullptr || locale->language == nullptr) return 0;
  return GCLangGetSpecial(locale->language, first, second, out1, out2, static_cast<int>(list));
}
