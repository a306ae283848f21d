// Internals shared by the format scanners and the output engine: the
// character classes and states of a format, the EBCDIC translations used for
// parsing and writing, and the output engine itself.
#pragma once

#include <cstdint>

#include "mbtext/gc_fmt.h"

namespace gcfmt {

// States of the format walk.
enum : int { kNormal = 0, kPercent = 1, kFlag = 2, kWidth = 3, kDot = 4, kPrecision = 5, kSize = 6, kType = 7 };

// The byte as the parser sees it (EBCDIC translated to ASCII; 0xFF = none).
unsigned char parseByte(unsigned char b, bool ascii);
// The reverse for writing: a printable ASCII character in the code page's
// form (EBCDIC code page 037 when the page is not ASCII-based); other bytes
// as they are.
char pageChar(char c, bool ascii);
// Class 0-8 of a parsed byte.
int charClass(unsigned char c);
// Next state for a class from a state.
int nextState(int cls, int state);
// Kind of the argument of a conversion character under the size bits.
uint32_t kindOf(unsigned char conv, uint32_t sizeBits);

// Size bits used while scanning.
inline constexpr uint32_t kSizeH = 0x20;
inline constexpr uint32_t kSizeL = 0x10;
inline constexpr uint32_t kSizeLD = 0x400;
inline constexpr uint32_t kSizeLL = 0x8000;

// The output engine over the arguments of `consumers` consumers: returns the running count (-1 on overflow or error,
// with *status set to 51 or 2 when the engine itself refused something).
int output(GCLocale* locale, GCSink* sink, const char* format, bool ascii, const GCArgValue* values,
           const GCArgRecord* records, int consumers, uint32_t flags, uint32_t* status);

}  // namespace gcfmt
