// Body of the one-pass scan (gc_str_scan_int.h), written once for any block
// width: included by gc_str_scan16.cpp and gc_str_scan32.cpp inside an
// unnamed namespace after each defines `Blocks`:
//   Blocks::kWidth                bytes in a block (a power of two, at most 32)
//   Blocks::Vec                   one block
//   Blocks::load(p)               the block at p (any alignment)
//   Blocks::stopsOf(x, y)         zero bytes where blocks x and y differ or x has a NUL
//   Blocks::stops(a, b)           the same for the blocks at a and b
//   Blocks::lowest(x, y)          bytewise minimum
//   Blocks::zeros(x)              bit k set when byte k of x is zero
//   Blocks::alignedNuls(p)        the same for the NULs of the aligned block at p
// Blocks are read only while they lie within the page of their first byte,
// so nothing beyond either NUL's page is touched; bytes read past a NUL are
// never looked at (hence no address checks).

constexpr uintptr_t kPage = 4096;
constexpr size_t kWidth = Blocks::kWidth;
constexpr size_t kStep = 4 * kWidth;

inline size_t toPageEnd(const uint8_t* p) { return kPage - (reinterpret_cast<uintptr_t>(p) & (kPage - 1)); }

// The zero bits of two blocks side by side (stops, or NULs of one text).
inline uint64_t stopBits(typename Blocks::Vec x, typename Blocks::Vec y) {
  return uint64_t(Blocks::zeros(x)) | uint64_t(Blocks::zeros(y)) << kWidth;
}

// Where the texts first differ or a ends, looking from i on (every byte
// before i known equal and not NUL).
__attribute__((no_sanitize_address)) size_t firstStop(const uint8_t* a, const uint8_t* b, size_t i) {
  for (;;) {
    const size_t room = std::min(toPageEnd(a + i), toPageEnd(b + i));
    if (room >= kStep) {
      const size_t end = i + (room & ~(kStep - 1));
      do {
        const auto s0 = Blocks::stops(a + i, b + i), s1 = Blocks::stops(a + i + kWidth, b + i + kWidth);
        const auto s2 = Blocks::stops(a + i + 2 * kWidth, b + i + 2 * kWidth);
        const auto s3 = Blocks::stops(a + i + 3 * kWidth, b + i + 3 * kWidth);
        if (Blocks::zeros(Blocks::lowest(Blocks::lowest(s0, s1), Blocks::lowest(s2, s3))) != 0) {
          const uint64_t low = stopBits(s0, s1);
          if (low != 0) return i + size_t(__builtin_ctzll(low));
          return i + 2 * kWidth + size_t(__builtin_ctzll(stopBits(s2, s3)));
        }
        i += kStep;
      } while (i != end);
    } else if (room >= kWidth) {
      const uint32_t m = Blocks::zeros(Blocks::stops(a + i, b + i));
      if (m != 0) return i + size_t(__builtin_ctz(m));
      i += kWidth;
    } else if (i + room >= kWidth) {
      // The block that ends at the page's end: its first bytes were
      // already found equal and not NUL.
      const size_t back = kWidth - room;
      const uint32_t m = Blocks::zeros(Blocks::stops(a + i - back, b + i - back)) >> back;
      if (m != 0) return i + size_t(__builtin_ctz(m));
      i += room;
    } else {
      if (a[i] != b[i] || a[i] == 0) return i;
      ++i;
    }
  }
}

// Length of the text at p: its first two blocks through aligned loads (an
// aligned block never crosses a page), the rest of a long text through
// strlen.
__attribute__((no_sanitize_address)) size_t measure(const uint8_t* p) {
  const uintptr_t off = reinterpret_cast<uintptr_t>(p) & (kWidth - 1);
  const uint8_t* q = p - off;
  const uint32_t m = Blocks::alignedNuls(q) >> off;
  if (m != 0) return size_t(__builtin_ctz(m));
  const uint32_t next = Blocks::alignedNuls(q + kWidth);
  if (next != 0) return (kWidth - off) + size_t(__builtin_ctz(next));
  return (2 * kWidth - off) + std::strlen(reinterpret_cast<const char*>(q + 2 * kWidth));
}

// The result once the stop i and both lengths are known.
inline int decide(const uint8_t* a, const uint8_t* b, size_t i, size_t la, size_t lb) {
  if (la >= size_t(INT32_MAX) || lb >= size_t(INT32_MAX)) return kGCStrTooLong;
  if (i < la && i < lb) return a[i] < b[i] ? -1 : 1;
  return int(int32_t(la) - int32_t(lb));
}

// The rest of each text measured from the stop i on. Kept out of line (as
// is the longer scan below), so that the short texts' path needs no frame.
__attribute__((noinline)) int decideAt(const uint8_t* a, const uint8_t* b, size_t i) {
  return decide(a, b, i, a[i] ? i + measure(a + i) : i, b[i] ? i + measure(b + i) : i);
}

// Texts equal and without NUL before from: found and decided from there.
__attribute__((noinline)) int compareFrom(const uint8_t* a, const uint8_t* b, size_t from) {
  return decideAt(a, b, firstStop(a, b, from));
}

// Short texts are decided from their first three blocks: the stop and
// whether both NULs lie among them are found from the same loads, so the
// lengths need no second look unless one text is a prefix of the other.
constexpr size_t kHead = 3 * kWidth;

// The first set bit of the three-block mask (first two blocks, third), or
// kHead when there is none.
inline size_t firstOf(uint64_t firstTwo, uint32_t third) {
  if (firstTwo != 0) return size_t(__builtin_ctzll(firstTwo));
  return third != 0 ? 2 * kWidth + size_t(__builtin_ctz(third)) : kHead;
}

// The comparison of two NUL-terminated texts by value, or
// kGCStrTooLong when either has 2 GiB or more: a text longer than the
// first three blocks is measured only past the stop.
__attribute__((no_sanitize_address)) inline int compare(const uint8_t* a, const uint8_t* b) {
  size_t from = 0;
  // Both heads lie within their pages when the larger offset in a page
  // leaves room for one (the OR of the offsets is at least that offset).
  if (((reinterpret_cast<uintptr_t>(a) | reinterpret_cast<uintptr_t>(b)) & (kPage - 1)) <= kPage - kHead) {
    const auto a0 = Blocks::load(a), a1 = Blocks::load(a + kWidth), a2 = Blocks::load(a + 2 * kWidth);
    const auto b0 = Blocks::load(b), b1 = Blocks::load(b + kWidth), b2 = Blocks::load(b + 2 * kWidth);
    const size_t i = firstOf(stopBits(Blocks::stopsOf(a0, b0), Blocks::stopsOf(a1, b1)),
                             Blocks::zeros(Blocks::stopsOf(a2, b2)));
    if (i < kHead) {
      // Both texts end within the head (so neither nears 2 GiB): equal
      // when both end at i, else decided by the bytes at i unless exactly
      // one text ends there (a prefix: the other is measured).
      const bool bothEnd = (Blocks::zeros(Blocks::lowest(Blocks::lowest(a0, a1), a2)) != 0) &
                           (Blocks::zeros(Blocks::lowest(Blocks::lowest(b0, b1), b2)) != 0);
      const uint8_t ca = a[i], cb = b[i];
      if (bothEnd && (ca == 0) == (cb == 0)) return int(ca > cb) - int(ca < cb);
      return decideAt(a, b, i);
    }
    // On from where a's blocks are aligned (a few bytes are read twice).
    from = kHead - (reinterpret_cast<uintptr_t>(a) & (kWidth - 1));
  }
  return compareFrom(a, b, from);
}
