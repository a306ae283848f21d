// The compiled-in string tables (module internal).
#pragma once

#include <cstdint>

#include "kclassic/kc_err.h"

namespace KCLASSIC {

struct KResString {
  int32_t id;
  char text[256]; // NUL-terminated, NUL-padded
};

struct KResStrLocale {
  uint32_t language;
  const KResString* table;
};

struct KAfxString {
  uint32_t id;
  const char* text;
};

extern const KResString g_ResourceStrings0[KRESOURCE_STRING_COUNT];
extern const KResStrLocale g_ResStrByLocale[1];
extern const KAfxString aStrings[KAFX_STRING_COUNT];

} // namespace KCLASSIC
