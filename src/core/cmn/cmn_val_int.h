// Shared by the files of the value class (not for other modules).
//
// Threads: as cmn_val.h.
#pragma once

#include <string>

#include "core/cmn/cmn_val.h"

// A plain number text ('.' point, no grouping) as a decimal, read without
// localisation; null when it does not convert.
cmn_ty_decimal* cmn_val_text_decimal(const std::string& text);
// A decimal of a double printed with "%f", precision and scale 0.
cmn_ty_decimal cmn_val_double_decimal(double v);
// The value as a double (decimals read from their text).
double cmn_val_as_double(const OrbnCmnVal& v);
void cmn_val_free(cmn_ty_decimal* d);
