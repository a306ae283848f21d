// Big-endian byte readers at their exact-fit boundaries: a read of width w
// at offset size - w is the last that fits; one byte further is refused,
// whatever the size (also 0 and the largest), and nothing is read then.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "mbtext/gc_mem_be_int.h"

namespace {

// A heap block of exactly n bytes 1, 2, 3, ... so that a read past it is
// seen by the sanitizers and each value tells where it was read.
std::unique_ptr<uint8_t[]> block(uint32_t n) {
  std::unique_ptr<uint8_t[]> b(new uint8_t[n ? n : 1]);
  for (uint32_t i = 0; i < n; ++i) b[i] = uint8_t(i + 1);
  return b;
}

struct RangeCase {
  uint32_t size;
  uint64_t off, len;
  bool in;
};

TEST(GcMemBe, RangeCheckAtItsEdges) {
  const RangeCase cases[] = {
      {0, 0, 0, true},        {0, 0, 1, false},          {0, 1, 0, false},
      {4, 0, 4, true},        {4, 1, 4, false},          {4, 4, 0, true},
      {4, 5, 0, false},       {4, 3, 1, true},           {4, 3, 2, false},
      {4, 0, 5, false},       {UINT32_MAX, UINT32_MAX, 0, true},
      {UINT32_MAX, UINT32_MAX - 1, 1, true},            {UINT32_MAX, UINT32_MAX, 1, false},
      {UINT32_MAX, 0, UINT32_MAX, true},                {UINT32_MAX, 1, UINT32_MAX, false},
      {8, UINT64_MAX, 1, false}, {8, 1, UINT64_MAX, false}, {8, UINT64_MAX, UINT64_MAX, false},
  };
  for (const RangeCase& c : cases)
    EXPECT_EQ(gc_in(c.size, c.off, c.len), c.in) << c.size << " " << c.off << " " << c.len;
}

// Each checked reader at size - width - 1, size - width and size - width + 1.
TEST(GcMemBe, CheckedReadersAtSizeMinusWidthPlusMinusOne) {
  for (uint32_t size : {0u, 1u, 2u, 3u, 4u, 5u, 8u, 9u}) {
    auto b = block(size);
    for (int64_t delta : {-1, 0, 1}) {
      SCOPED_TRACE(testing::Message() << "size " << size << " delta " << delta);
      const int64_t o8 = int64_t(size) - 1 + delta, o16 = int64_t(size) - 2 + delta,
                    o32 = int64_t(size) - 4 + delta;
      uint8_t v8 = 0xEE;
      uint16_t v16 = 0xEEEE;
      uint32_t v32 = 0xEEEEEEEE;
      if (o8 >= 0) {
        const bool fits = o8 + 1 <= int64_t(size);
        EXPECT_EQ(gc_rd8(b.get(), size, uint64_t(o8), &v8), fits);
        EXPECT_EQ(v8, fits ? uint8_t(o8 + 1) : 0xEE);
      }
      if (o16 >= 0) {
        const bool fits = o16 + 2 <= int64_t(size);
        EXPECT_EQ(gc_rd16(b.get(), size, uint64_t(o16), &v16), fits);
        EXPECT_EQ(v16, fits ? uint16_t(((o16 + 1) << 8) | (o16 + 2)) : 0xEEEE);
      }
      if (o32 >= 0) {
        const bool fits = o32 + 4 <= int64_t(size);
        EXPECT_EQ(gc_rd32(b.get(), size, uint64_t(o32), &v32), fits);
        const uint32_t want = fits ? (uint32_t(o32 + 1) << 24) | (uint32_t(o32 + 2) << 16) |
                                         (uint32_t(o32 + 3) << 8) | uint32_t(o32 + 4)
                                   : 0xEEEEEEEE;
        EXPECT_EQ(v32, want);
      }
    }
  }
}

TEST(GcMemBe, OffsetsNearTheLimitsNeverWrap) {
  auto b = block(8);
  uint8_t v8;
  uint16_t v16;
  uint32_t v32;
  for (uint64_t off : {uint64_t(UINT32_MAX), uint64_t(UINT32_MAX) + 1, UINT64_MAX - 3, UINT64_MAX}) {
    EXPECT_FALSE(gc_rd8(b.get(), 8, off, &v8)) << off;
    EXPECT_FALSE(gc_rd16(b.get(), 8, off, &v16)) << off;
    EXPECT_FALSE(gc_rd32(b.get(), 8, off, &v32)) << off;
  }
  EXPECT_FALSE(gc_rd32(nullptr, 8, 0, &v32));
}

TEST(GcMemBe, WritersAndReadersRoundTripMostSignificantFirst) {
  uint8_t buf[6] = {};
  gc_put16(buf, 0xA1B2);
  gc_put32(buf + 2, 0xC3D4E5F6u);
  const std::vector<uint8_t> want = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
  EXPECT_EQ(std::vector<uint8_t>(buf, buf + 6), want);
  EXPECT_EQ(gc_be16(buf), 0xA1B2);
  EXPECT_EQ(gc_be32(buf + 2), 0xC3D4E5F6u);
  EXPECT_EQ(gc_be16(buf + 4), 0xE5F6);
}

}  // namespace
