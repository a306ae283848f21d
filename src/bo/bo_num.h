// Internal: whether a text is a plain number, as the conversions of this
// library require before a text becomes a number (the variant layer reads
// "x" as 0).
#pragma once

namespace KCLASSIC {

// Blanks around; a sign; digits; with fraction, a point and digits and an
// exponent. At least one digit.
bool bo_text_is_number(const char* text, bool integerOnly);

} // namespace KCLASSIC
