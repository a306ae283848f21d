// Hand-made sort tables and locales that use them, for the tests of the
// string functions, sort-table look-ups and collation.
//
// The Latin table covers U+0000-U+00FF: letters a-z have primary weights
// 0x1000 + 0x10 * i (upper case: tertiary 8, lower case: tertiary 2),
// digits 0x0800 + d, the space 0x0400, other printable ASCII 0x0200 + c;
// control characters have no weights. Accented letters share the base
// letter's primary with secondary 5 (acute), 6 (circumflex), 7 (diaeresis),
// 3 (grave). The middle dot (U+00B7) has only the default secondary and
// tertiary weights, the acute accent (U+00B4) only secondary 5. The hyphen and the apostrophe are special-only (0x0010,
// 0x0011); sharp s expands into s s with tertiary 4, ae (U+00E6) into a e.
// Page 0x4E is algorithmic (primary 0x5000 + low byte), page 0x20 an
// algorithmic special page (special 0x0100 + low byte), page 0x30 and 0xFF
// hold U+3000 (a wide space) and the full-width A, a and 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gc_testdata.h"
#include "mbtext/gc_locale.h"

namespace gctest {

// Weights of the Latin table.
uint16_t latinPrimary(char letter); // 'a'..'z'
inline constexpr uint16_t kSpaceWeight = 0x0400;
inline constexpr uint16_t kHyphenSpecial = 0x0010;
inline constexpr uint16_t kApostropheSpecial = 0x0011;
inline constexpr uint16_t kChPrimary = 0x1078; // between h and i

// order: the order bits of every character (0xF = all levels appended).
SortSpec latinSort(uint8_t order = 0xF);
// The Latin table with the combinations c+h, C+h and C+H (Czech ch), and a
// special-only combination of two apostrophes (special 0x0020).
SortSpec czechSort();
// The Latin table whose characters all have the secondary order bit clear.
SortSpec frenchSort();

// Sort ids in the directory of SortLib.
inline constexpr uint16_t kSortLatin = 1, kSortCzech = 2, kSortFrench = 3, kSortNoPrimaryOrder = 4;

// The double-byte page of gc_testloc.h with width pairs A, a and 0.
CodePageBuilder doubleByteWidthPage();

// Allocation callback of SortLib: it first serves gcTestPassAllocs
// allocations (counting down), then fails while gcTestFailAllocs is above 0
// (counting down), and counts the allocations it served.
extern int gcTestPassAllocs;
extern int gcTestFailAllocs;
extern long gcTestAllocCount;

// The locale directory of gc_testloc.h with these sort tables as Default
// (Latin), Czech, French and Reverse (no primary order bit), and the
// library started over it with the failing allocator.
class SortLib {
 public:
  SortLib();
  ~SortLib();
  SortLib(const SortLib&) = delete;
  SortLib& operator=(const SortLib&) = delete;
  GCLocale* get(const char* name);

 private:
  DataDir dir_;
  std::vector<GCLocale*> made_;
};

// The text of a string as bytes for messages.
std::string hexOf(const std::string& s);

} // namespace gctest
