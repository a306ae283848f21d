// The host's message over a byte buffer: round trips, its byte layout, and
// the reads and writes it refuses.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "bo_fixture.h"
#include "bohost_msg.h"

using namespace KCLASSIC;
using botest::BoTest;
using kctest::catchKErr;

namespace {

TEST_F(BoTest, MessageCarriesLongsAndStringsInOrder) {
  const long longs[] = {0, 1, -1, INT32_MAX, INT32_MIN, 123456789};
  const std::string texts[] = {"", "a", std::string("nul\0inside", 10), std::string(70000, 'x'), "\xC3\xA9t\xC3\xA9"};
  KHostMsg msg;
  KMsg& out = msg; // through the interface, as the records use it
  for (long v : longs) out.WriteLong(v);
  for (const std::string& t : texts) {
    out.WriteString(KZString(t.data(), long(t.size())));
    out.WriteLong(long(t.size()));
  }
  KHostMsg in(msg.Bytes());
  KMsg& reader = in;
  for (long v : longs) {
    long got = 99;
    reader.ReadLong(got);
    EXPECT_EQ(got, v);
  }
  for (const std::string& t : texts) {
    KZString got("previous content");
    long n = -1;
    reader.ReadString(got);
    reader.ReadLong(n);
    EXPECT_EQ(std::string(static_cast<const char*>(got), size_t(got.GetLength())), t);
    EXPECT_EQ(n, long(t.size()));
  }
  EXPECT_EQ(in.ReadPosition(), msg.Bytes().size());
}

TEST_F(BoTest, MessageBytesAreTaggedBigEndianWords) {
  KHostMsg msg;
  msg.WriteLong(0x01020304);
  msg.WriteLong(-2);
  msg.WriteString("hi");
  const std::vector<uint8_t> expected = {'L', 1, 2, 3, 4, 'L', 0xFF, 0xFF, 0xFF, 0xFE, 'S', 0, 0, 0, 2, 'h', 'i'};
  EXPECT_EQ(msg.Bytes(), expected);
}

TEST_F(BoTest, MessageRefusesWhatItCannotCarry) {
  KHostMsg msg;
  for (long v : {long(INT32_MAX) + 1, long(INT32_MIN) - 1, LONG_MAX}) {
    auto t = catchKErr([&] { msg.WriteLong(v); });
    EXPECT_TRUE(t.thrown) << v;
    EXPECT_EQ(t.method, "KHostMsg::WriteLong");
  }
  EXPECT_TRUE(msg.Bytes().empty()); // nothing cut and written
}

TEST_F(BoTest, MessageRefusesBadReads) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool readLong;
    const char* method;
  };
  const Case cases[] = {
      {"string where a long is", {'S', 0, 0, 0, 0}, true, "KHostMsg::ReadLong"},
      {"long where a string is", {'L', 0, 0, 0, 1}, false, "KHostMsg::ReadString"},
      {"empty", {}, true, "KHostMsg::ReadLong"},
      {"empty", {}, false, "KHostMsg::ReadString"},
      {"short long", {'L', 0, 0}, true, "KHostMsg::ReadLong"},
      {"short length", {'S', 0, 0, 0}, false, "KHostMsg::ReadString"},
      {"length past the end", {'S', 0, 0, 0, 3, 'a', 'b'}, false, "KHostMsg::ReadString"},
      {"huge length", {'S', 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, false, "KHostMsg::ReadString"},
      {"unknown tag", {'X', 0, 0, 0, 1}, true, "KHostMsg::ReadLong"},
  };
  for (const Case& c : cases) {
    KHostMsg msg(c.bytes);
    long v = 77;
    KZString s("kept");
    auto t = catchKErr([&] {
      if (c.readLong) msg.ReadLong(v);
      else msg.ReadString(s);
    });
    EXPECT_TRUE(t.thrown) << c.what;
    EXPECT_EQ(t.id, BOHOST_ERR_MESSAGE) << c.what;
    EXPECT_EQ(t.method, c.method) << c.what;
    EXPECT_EQ(v, 77) << c.what;
    EXPECT_STREQ(s, "kept") << c.what;
    EXPECT_EQ(msg.ReadPosition(), 0u) << c.what;
  }
}

} // namespace
