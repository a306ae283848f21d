#include "mbtext/gc_digits.h"

GCUChar GCDigitLookup(GCUChar c) {
  int low = 0;
  int high = GC_DIGIT_COUNT - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const GCUChar key = GCDigits[middle][0];
    if (key == c) return GCDigits[middle][1];
    if (key < c) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return 0;
}
