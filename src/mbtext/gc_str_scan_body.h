// Body of the one-pass scan (gc_str_scan_int.h), written once for any block
// width: included by gc_str_scan16.cpp and gc_str_scan32.cpp inside an
// unnamed namespace after each defines `Blocks`:
//   Blocks::kWidth                bytes in a block (a power of two, at most 32)
//   Blocks::Vec                   one block
//   Blocks::stops(a, b)           zero bytes where a and b differ or a has a NUL
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

// The stop bits of two blocks side by side.
inline uint64_t stopBits(typename Blocks::Vec x, typename Blocks::Vec y) {
  return uint64_t(Blocks::zeros(x)) | uint64_t(Blocks::zeros(y)) << kWidth;
}

__attribute__((no_sanitize_address)) size_t firstStop(const uint8_t* a, const uint8_t* b) {
  size_t i = 0;
  // Short texts: two blocks first.
  if (std::min(toPageEnd(a), toPageEnd(b)) >= 2 * kWidth) {
    const uint64_t head = stopBits(Blocks::stops(a, b), Blocks::stops(a + kWidth, b + kWidth));
    if (head != 0) return size_t(__builtin_ctzll(head));
    // On from where a's blocks are aligned (a few bytes are read twice).
    i = 2 * kWidth - (reinterpret_cast<uintptr_t>(a) & (kWidth - 1));
  }
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

// The comparison of two NUL-terminated texts by value, or
// kGCStrTooLong when either has 2 GiB or more: the rest of each text is
// measured only past the stop.
inline int compare(const uint8_t* a, const uint8_t* b) {
  const size_t i = firstStop(a, b);
  const size_t la = a[i] ? i + measure(a + i) : i, lb = b[i] ? i + measure(b + i) : i;
  if (la >= size_t(INT32_MAX) || lb >= size_t(INT32_MAX)) return kGCStrTooLong;
  if (i < la && i < lb) return a[i] < b[i] ? -1 : 1;
  return int(int32_t(la) - int32_t(lb));
}
