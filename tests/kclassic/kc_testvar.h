// Variants of each type for the class-library tests.
#pragma once

#include <string>

#include "kclassic/kc_dec.h"
#include "kclassic/kc_var.h"

namespace kctest {

KCLASSIC::KOleVariant empty();
KCLASSIC::KOleVariant nullv();
KCLASSIC::KOleVariant i4(int32_t v);
KCLASSIC::KOleVariant r4(float v);
KCLASSIC::KOleVariant r8(double v);
KCLASSIC::KOleVariant cy(long long v);
KCLASSIC::KOleVariant date(double v);
KCLASSIC::KOleVariant err(int32_t v);
KCLASSIC::KOleVariant boolean(int v);
// A decimal read from text ("." as the point).
KCLASSIC::KOleVariant dec(const char* text);
KCLASSIC::KOleVariant str(const char* text);

// The type and value, for failure messages.
std::string describe(const KCLASSIC::tagKVARIANT& v);

} // namespace kctest
