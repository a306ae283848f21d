// Texts longer than the signed 32-bit lengths of the interfaces: they are
// refused with status 2, never measured into a wrapped or capped length.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdarg>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

#include "gc_testloc.h"
#include "mbtext/gc_coll.h"
#include "mbtext/gc_conv.h"
#include "mbtext/gc_cp.h"
#include "mbtext/gc_fmt.h"
#include "mbtext/gc_item.h"
#include "mbtext/gc_key.h"
#include "mbtext/gc_map.h"
#include "mbtext/gc_nav.h"
#include "mbtext/gc_str.h"
#include "mbtext/gc_strto.h"
#include "mbtext/gc_time.h"

namespace {

// A read-only text of more than 2 GiB of 'a' and its NUL, made of one
// 64 MiB block mapped again and again, so that it takes 64 MiB of memory.
class HugeText {
 public:
  static constexpr size_t kBlock = size_t(64) << 20;
  static constexpr size_t kBlocks = 33; // 2.06 GiB

  HugeText() {
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    total_ = kBlock * kBlocks + page;
    fd_ = memfd_create("huge-text", 0);
    if (fd_ < 0 || ftruncate(fd_, off_t(kBlock)) != 0) return;
    void* w = mmap(nullptr, kBlock, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (w == MAP_FAILED) return;
    std::memset(w, 'a', kBlock);
    munmap(w, kBlock);
    void* base = mmap(nullptr, total_, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED) return;
    base_ = static_cast<char*>(base);
    for (size_t i = 0; i < kBlocks; ++i)
      if (mmap(base_ + i * kBlock, kBlock, PROT_READ, MAP_SHARED | MAP_FIXED, fd_, 0) == MAP_FAILED) {
        munmap(base_, total_);
        base_ = nullptr;
        return;
      }
    // The last page stays anonymous zeros: the terminator.
  }
  ~HugeText() {
    if (base_) munmap(base_, total_);
    if (fd_ >= 0) close(fd_);
  }
  const char* get() const { return base_; }

 private:
  int fd_ = -1;
  char* base_ = nullptr;
  size_t total_ = 0;
};

int vsprintfOf(GCLocale* loc, char* buf, int32_t len, const char* f, ...) {
  va_list ap;
  va_start(ap, f);
  const int r = GCVsprintf(loc, buf, len, f, -1, 0, ap);
  va_end(ap);
  return r;
}

struct Call {
  const char* name;
  std::function<bool(GCLocale*, const char*)> refused; // true when the call gave its failure result
};

TEST(LongTexts, AreRefusedWithStatus2) {
  HugeText huge;
  ASSERT_NE(huge.get(), nullptr) << "could not map the long text";
  ASSERT_GT(std::strlen(huge.get()), size_t(INT32_MAX));
  gctest::LocaleLib lib;
  char buf[16];
  std::tm t{};
  const char* end = nullptr;
  const Call calls[] = {
      {"GCStrcpy", [&](GCLocale* l, const char* s) { return GCStrcpy(l, buf, 10, s, -1, 0) == -1; }},
      {"GCStrcat", [&](GCLocale* l, const char* s) {
         buf[0] = 0;
         return GCStrcat(l, buf, s, -1, 0) == -1 && buf[0] == 0;
       }},
      {"GCStrcmp", [&](GCLocale* l, const char* s) { return GCStrcmp(l, s, -1, "a", -1, 0) == 0; }},
      {"GCStrcoll", [&](GCLocale* l, const char* s) { return GCStrcoll(l, s, -1, "a", -1, 0) == 0; }},
      {"GCStrxfrm", [&](GCLocale* l, const char* s) { return GCStrxfrm(l, nullptr, 0, s, -1, 0) == -1; }},
      {"GCStrchr", [&](GCLocale* l, const char* s) { return GCStrchr(l, s, -1, "b", 0) == nullptr; }},
      {"GCStrstr", [&](GCLocale* l, const char* s) { return GCStrstr(l, s, -1, "b", -1, 0) == nullptr; }},
      {"GCStrspn", [&](GCLocale* l, const char* s) { return GCStrspn(l, s, -1, "a", -1, 0) == 0; }},
      {"GCNumChars", [&](GCLocale* l, const char* s) { return GCNumChars(l, s, -1, 0) == 0; }},
      {"GCStringToLong", [&](GCLocale* l, const char* s) { return GCStringToLong(l, s, -1, &end, 10, 0) == 0; }},
      {"GCStringToDouble", [&](GCLocale* l, const char* s) { return GCStringToDouble(l, s, -1, &end, 0) == 0; }},
      {"GCConvertString", [&](GCLocale* l, const char* s) { return GCConvertString(l, buf, 10, l, s, -1, 0) == -1; }},
      {"GCMapString", [&](GCLocale* l, const char* s) { return GCMapString(l, buf, 10, s, -1, GC_MAP_UPPER) == -1; }},
      {"GCVsprintf", [&](GCLocale* l, const char* s) { return vsprintfOf(l, buf, 10, s) == -1; }},
      {"GCTimeToString", [&](GCLocale* l, const char* s) { return GCTimeToString(l, &t, buf, 10, s, -1, 0) == -1; }},
      {"GCSetLocaleTextInfo", [&](GCLocale* l, const char* s) { return GCSetLocaleTextInfo(l, GC_ITEM_CURRENCY, s, -1, 0) == 0; }},
  };
  for (GCLocale* loc : {lib.get("English_UnitedStates.Latin1"), lib.get("English_UnitedStates.DoubleByte")}) {
    ASSERT_NE(loc, nullptr);
    for (const Call& c : calls) {
      loc->status = 99;
      EXPECT_TRUE(c.refused(loc, huge.get())) << c.name;
      EXPECT_EQ(GCGetError(loc), GC_E_ARG) << c.name;
    }
  }
}

}  // namespace
