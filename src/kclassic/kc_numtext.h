// The reader shared by the currency and decimal text conversions (module
// internal): an optional sign, digits and at most one point, with white
// space around. The point is "." or the thread locale's decimal separator.
#pragma once

#include <string>

namespace KCLASSIC {

struct KNumText {
  bool negative = false;
  std::string integer;  // digits before the point
  std::string fraction; // digits after it
};

// true when text has that form with at least one digit.
bool KNumTextRead(const char* text, KNumText& out);

// The double of a text written with "." as its point (the C locale's form),
// whatever the thread locale.
double KNumTextToDouble(const char* text);

} // namespace KCLASSIC
