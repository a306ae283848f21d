// KFormatMessage and its helpers: inserts by number, repeated markers,
// argument arrays and lists, system texts, caller buffers and refusals.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <string>

#include "kc_testloc.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_sys.h"

using namespace KCLASSIC;

namespace {

class FormatMessage : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

// Formats fmt with the inserts of an array into a new buffer.
std::string from_array(const char* fmt, std::initializer_list<const char*> inserts) {
  const char* args[8] = {};
  int i = 0;
  for (const char* s : inserts) args[i++] = s;
  char* out = nullptr;
  unsigned long n = KFormatMessage(0x2500, fmt, 0, reinterpret_cast<char*>(&out), 0,
                                   reinterpret_cast<void**>(const_cast<char**>(args)));
  std::string r = out ? out : "<none>";
  EXPECT_GE(n, r.size());
  KLocalFree(out);
  return r;
}

// The same from a variadic list.
std::string from_list(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  char* out = nullptr;
  KFormatMessage(0x500, fmt, 0, reinterpret_cast<char*>(&out), 0, reinterpret_cast<void**>(&args));
  va_end(args);
  std::string r = out ? out : "<none>";
  KLocalFree(out);
  return r;
}

struct Refusal {
  long code;
  const char* method;
  const char* insert; // nullptr: no insert
};

void expect_refusal(const Refusal& want, unsigned long flags, const void* source, unsigned long id = 0) {
  char buf[64];
  try {
    char* out = nullptr;
    KFormatMessage(flags, source, id, (flags & 0x100) ? reinterpret_cast<char*>(&out) : buf, sizeof buf, nullptr);
    KLocalFree(out);
    ADD_FAILURE() << "not refused: flags " << std::hex << flags;
  } catch (KErr* e) {
    std::unique_ptr<KErr> owned(e);
    EXPECT_EQ(e->GetErrorNum(), want.code);
    EXPECT_STREQ(e->GetMethodName(), want.method);
    if (want.insert) {
      ASSERT_EQ(e->GetParamCount(), 1);
      EXPECT_STREQ(e->GetParam(0), want.insert);
    } else {
      EXPECT_EQ(e->GetParamCount(), 0);
    }
  }
}

} // namespace

TEST_F(FormatMessage, InsertsInOrderOfAppearanceFromArrayAndList) {
  // The markers' numbers do not choose the insert: the first marker takes
  // the first insert, the second the second.
  struct Case {
    const char* fmt;
    const char* want;
  } cases[] = {
      {"first %2 then %1.", "first A then B."},
      {"%2 then %1", "A then B"},
      {"%1!d! and %2", "A and B"}, // the !d! type is dropped; the insert goes in as text
      {"%1%2", "AB"},
      {"<%1> <%1>", "<A> <B>"},
      {"no inserts", "no inserts"},
      {"%3 %2 %1", "A B C"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(from_array(c.fmt, {"A", "B", "C"}), c.want) << c.fmt;
    EXPECT_EQ(from_list(c.fmt, "A", "B", "C"), c.want) << c.fmt;
  }
  // A table text whose markers are numbered out of order.
  EXPECT_EQ(from_array(KGetResourceString(0x8B00171, 0x409), {"7", "fld"}),
            "For query type <Child View Table>   at traversal map entry index <7> , field <fld> given in select "
            "list, does not exist in view.");
  // One argument a marker: %2 alone reads one.
  EXPECT_EQ(from_list("only %2", "first", "second"), "only first");
}

TEST_F(FormatMessage, RefusalsOfTheFlagsAndFormats) {
  Refusal notSupported{0x9B00067, "KFormatMessage", nullptr};
  expect_refusal(notSupported, 0x4FF, "x");
  expect_refusal(notSupported, 0x600, "x");
  expect_refusal(notSupported, 0xC00, "x");
  expect_refusal({0x8B000C9, "KFormatMessage", "Mutually exclusive flags used"}, 0x1400, "x", 2);
  expect_refusal({0x8B000C9, "KFormatMessage", "Mutually exclusive values used"}, 0x500, nullptr);
  expect_refusal({0x8B000D9, "KFormatMessage", "Could not format input string"}, 0x500, "");
  expect_refusal({0x9B00067, "KFilterFormatString", nullptr}, 0x500, "100%%");
  expect_refusal({0x9B00067, "KFilterFormatString", nullptr}, 0x500, "a %s b");
  expect_refusal({0x8B000D9, "KFilterFormatString", "No matching ! in the string"}, 0x500, "%1!d");
  expect_refusal({0x8B000C9, "KFormatMessage", "nMessageId - Out of Range"}, 0x1000, nullptr, 99999);
  // Other width masks are accepted.
  EXPECT_EQ(from_array("ok %1", {"A"}), "ok A");
  char* out = nullptr;
  EXPECT_GT(KFormatMessage(0x2550, "w %1", 0, reinterpret_cast<char*>(&out), 0, nullptr), 0u);
  KLocalFree(out);
}

TEST_F(FormatMessage, SystemTextIntoCallerBuffer) {
  char buf[300];
  std::memset(buf, 'X', sizeof buf);
  unsigned long n = KFormatMessage(0x1000, nullptr, ENOENT, buf, 255, nullptr);
  EXPECT_STREQ(buf, "No such file or directory");
  EXPECT_EQ(n, std::strlen(buf));
  // At most size bytes, NUL included.
  std::memset(buf, 'X', sizeof buf);
  n = KFormatMessage(0x1000, nullptr, ENOENT, buf, 6, nullptr);
  EXPECT_STREQ(buf, "No su");
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(buf[6], 'X');
  std::memset(buf, 'X', sizeof buf);
  const char* one[] = {"abc"};
  KFormatMessage(0x2400, "%1 and more", 0, buf, 4, reinterpret_cast<void**>(const_cast<char**>(one)));
  EXPECT_STREQ(buf, "abc");
  // Allocated: at least size + 1 bytes.
  char* out = nullptr;
  n = KFormatMessage(0x1100, nullptr, EACCES, reinterpret_cast<char*>(&out), 0, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_STREQ(out, "Permission denied");
  EXPECT_EQ(n, std::strlen(out));
  KLocalFree(out);
  // Neither format nor system text: nothing.
  EXPECT_EQ(KFormatMessage(0x100, "x", 0, reinterpret_cast<char*>(&out), 0, nullptr), 0u);
}

TEST_F(FormatMessage, FilterAndHelpers) {
  char out[64];
  long count = 3;
  EXPECT_EQ(KFilterFormatString("a %12!d! b %1c", out, &count), 8u); // the s letters not counted
  EXPECT_STREQ(out, "a %s b %sc");
  EXPECT_EQ(count, 5);
  EXPECT_EQ(KFilterFormatString("", out, &count), 0u);
  EXPECT_EQ(count, 5);

  const char* ins[] = {"ab", "", "xyz"};
  void** args = reinterpret_cast<void**>(const_cast<char**>(ins));
  EXPECT_EQ(KCalculateInsertLength(3, args, 1), 3u + 1u + 4u);
  EXPECT_EQ(KCalculateInsertLength(0, args, 1), 0u);

  char full[64];
  EXPECT_EQ(KMakeCompleteString(full, "<%s|%s|%s>", args), 0);
  EXPECT_STREQ(full, "<ab||xyz>");
  EXPECT_EQ(KMakeCompleteString(nullptr, "x", args), -1);
  EXPECT_EQ(KMakeCompleteString(full, nullptr, args), -1);
}
