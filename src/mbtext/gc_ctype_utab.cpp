// The UCS-2 white-space and decimal-digit bitmaps.
#include "mbtext/gc_ctype.h"
#include "mbtext/gc_ctype_int.h"
#include <cstddef>

namespace {

struct Range {
  uint16_t first, last;
};

constexpr Range kSpace[] = {{0x0009, 0x000D}, {0x0020, 0x0020}, {0x00A0, 0x00A0},
                            {0x2000, 0x200B}, {0x3000, 0x3000}, {0xFEFF, 0xFEFF}};

constexpr Range kDigit[] = {
    {0x0030, 0x0039}, {0x00B2, 0x00B3}, {0x00B9, 0x00B9}, {0x0660, 0x0669}, {0x06F0, 0x06F9},
    {0x0966, 0x096F}, {0x09E6, 0x09EF}, {0x0A66, 0x0A6F}, {0x0AE6, 0x0AEF}, {0x0B66, 0x0B6F},
    {0x0BE7, 0x0BF2}, {0x0C66, 0x0C6F}, {0x0CE6, 0x0CEF}, {0x0D66, 0x0D6F}, {0x0E50, 0x0E59},
    {0x0ED0, 0x0ED9}, {0x2070, 0x2070}, {0x2074, 0x2079}, {0x2080, 0x2089}, {0xFF10, 0xFF19}};

// Byte and bit of value c: bit (c mod 32) of big-endian word (c / 32).
constexpr uint32_t byte_of(uint32_t c) { return 4 * (c / 32) + 3 - (c % 32) / 8; }
constexpr uint8_t bit_of(uint32_t c) { return uint8_t(1u << (c % 8)); }

template <std::size_t N>
constexpr std::array<uint8_t, 8192> bitmap(const Range (&ranges)[N]) {
  std::array<uint8_t, 8192> t{};
  for (const Range& r : ranges)
    for (uint32_t c = r.first; c <= r.last; ++c) t[byte_of(c)] |= bit_of(c);
  return t;
}

bool test(const std::array<uint8_t, 8192>& t, GCUChar c) { return (t[byte_of(c)] & bit_of(c)) != 0; }

} // namespace

extern constexpr std::array<uint8_t, 8192> GCIsSpaceUTab = bitmap(kSpace);
extern constexpr std::array<uint8_t, 8192> GCIsDigitUTab = bitmap(kDigit);

bool gcIsSpaceU(GCUChar c) { return test(GCIsSpaceUTab, c); }
bool gcIsDigitU(GCUChar c) { return test(GCIsDigitUTab, c); }
