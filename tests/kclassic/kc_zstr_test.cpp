// KZString: header and pools, construction and assignment, extraction,
// search and changes in place in single- and double-byte locales, Format.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_err.h"
#include "kclassic/kc_plex.h"
#include "kclassic/kc_zstr.h"

using namespace KCLASSIC;
using kctest::bytes;

namespace {

class ZString : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
};

// In the double-byte page: 0x81 0x40 (a space), 0x82 0x60 (upper A),
// 0x82 0x81 (lower a), 0x82 0x4F (digit 0); their second bytes are '@', '`',
// a lead byte and 'O'.
const std::string kSp = bytes({0x81, 0x40});
const std::string kUpA = bytes({0x82, 0x60});
const std::string kLoA = bytes({0x82, 0x81});
const std::string kZero = bytes({0x82, 0x4F});

class DoubleByte : public ZString {
 protected:
  void SetUp() override {
    ZString::SetUp();
    loc_ = std::make_unique<kctest::ThreadLocale>(kctest::kDouble);
  }
  void TearDown() override { loc_.reset(); }
  std::unique_ptr<kctest::ThreadLocale> loc_;
};

std::string str(const KZString& s) { return std::string(s, size_t(s.GetLength())); }

} // namespace

TEST_F(ZString, HeaderEmptyDatumAndPools) {
  KZString empty;
  EXPECT_EQ(empty.GetData(), KGetAfxDataNil());
  EXPECT_EQ(static_cast<const char*>(empty), KGetAfxPchNil());
  EXPECT_EQ(KGetAfxDataNil()->nRefs, -1);
  EXPECT_EQ(static_cast<const char*>(KGetEmptyString()), KGetAfxPchNil());

  struct Case {
    int len;
    int capacity;
  } cases[] = {{1, 64}, {64, 64}, {65, 128}, {128, 128}, {200, 256}, {512, 512}, {513, 513}, {2000, 2000}};
  for (const Case& c : cases) {
    KZString s('x', c.len);
    const KStringData* d = reinterpret_cast<const KStringData*>(static_cast<const char*>(s)) - 1;
    EXPECT_EQ(d, s.GetData());
    EXPECT_EQ(d->nRefs, 1);
    EXPECT_EQ(d->nDataLength, c.len) << c.len;
    EXPECT_EQ(d->nAllocLength, c.capacity) << c.len;
    EXPECT_EQ(s[c.len - 1], unsigned('x'));
    EXPECT_EQ(static_cast<const char*>(s)[c.len], 0);
  }
  // Pool element sizes: header, capacity and NUL rounded up to 16.
  EXPECT_EQ(KAfxStringPool(64)->GetAllocSize(), 80u);
  EXPECT_EQ(KAfxStringPool(128)->GetAllocSize(), 144u);
  EXPECT_EQ(KAfxStringPool(256)->GetAllocSize(), 272u);
  EXPECT_EQ(KAfxStringPool(512)->GetAllocSize(), 528u);
  EXPECT_EQ(KAfxStringPool(513), nullptr);
}

TEST_F(ZString, PoolBuffersAreReusedAfterFree) {
  const char* first;
  {
    KZString s("hello");
    first = s;
  }
  KZString t("world");
  EXPECT_EQ(static_cast<const char*>(t), first); // last freed, first reused
}

TEST_F(ZString, EmptyAssignmentKeepsBufferEmptyFreesIt) {
  KZString s("abc");
  const char* buf = s;
  s = "";
  EXPECT_EQ(static_cast<const char*>(s), buf);
  EXPECT_EQ(s.GetLength(), 0);
  s.Empty(); // length 0: the buffer stays
  EXPECT_EQ(static_cast<const char*>(s), buf);
  s = "xyz";
  s.Empty();
  EXPECT_EQ(s.GetData(), KGetAfxDataNil());
  s = static_cast<const char*>(nullptr);
  EXPECT_EQ(s.GetLength(), 0);
}

TEST_F(ZString, ConstructionForms) {
  EXPECT_EQ(str(KZString('a', 3)), "aaa");
  EXPECT_TRUE(KZString('a', 0).IsEmpty());
  EXPECT_TRUE(KZString('a', -2).IsEmpty());
  EXPECT_EQ(str(KZString("abcdef", 3)), "abc");
  EXPECT_EQ(KZString(static_cast<const char*>(nullptr)).GetData(), KGetAfxDataNil());
  KZString counted(bytes({'a', 0, 'b'}).c_str(), 3);
  EXPECT_EQ(counted.GetLength(), 3);
  KZString copy(counted);
  EXPECT_EQ(copy.GetLength(), 3);
  EXPECT_NE(static_cast<const char*>(copy), static_cast<const char*>(counted)); // never shared
  // Wide text is converted into the thread locale's code page.
  EXPECT_EQ(str(KZString(L"wide")), "wide");
  KZString w;
  w = L"ab";
  EXPECT_EQ(str(w), "ab");
  EXPECT_TRUE(KZString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
  // Into another code page.
  KZString latin("abc", -1, "Latin1");
  EXPECT_EQ(str(latin), "abc");
}

TEST_F(ZString, Concatenation) {
  KZString a("ab");
  a += "cd";
  a += KZString("ef");
  a += 'g';
  a += static_cast<const char*>(nullptr);
  EXPECT_EQ(str(a), "abcdefg");
  a += a; // its own text
  EXPECT_EQ(str(a), "abcdefgabcdefg");
  KZString e;
  e += static_cast<char>(0xE9); // exactly that byte
  EXPECT_EQ(str(e), bytes({0xE9}));
  EXPECT_EQ(str(KZString("x") + KZString("y")), "xy");
  EXPECT_EQ(str(KZString("x") + "y"), "xy");
  EXPECT_EQ(str("x" + KZString("y")), "xy");
  EXPECT_EQ(str(KZString("x") + static_cast<const char*>(nullptr)), "x");
  EXPECT_EQ(str(KZString("x") + 'y'), "xy");
  EXPECT_EQ(str('x' + KZString("y")), "xy");
  EXPECT_EQ(str(0x8140u + KZString("y")), kSp + "y");
  // Appending within capacity stays in place.
  KZString grow("a");
  const char* buf = grow;
  for (int i = 0; i < 60; ++i) grow += 'b';
  EXPECT_EQ(static_cast<const char*>(grow), buf);
  grow += "0123456789";
  EXPECT_EQ(grow.GetAllocLength(), 128);
}

TEST_F(ZString, BufferAccess) {
  KZString s("abc");
  char* p = s.GetBuffer(100);
  EXPECT_EQ(s.GetAllocLength(), 128);
  EXPECT_STREQ(p, "abc");
  std::strcpy(p, "hello world");
  s.ReleaseBuffer();
  EXPECT_EQ(s.GetLength(), 11);
  s.ReleaseBuffer(5);
  EXPECT_EQ(str(s), "hello");
  EXPECT_EQ(s.GetBufferSetLength(2), static_cast<const char*>(s));
  EXPECT_EQ(str(s), "he");

  KZString small("0123456789");
  small.GetBuffer(200);
  EXPECT_EQ(small.GetAllocLength(), 256);
  small.FreeExtra();
  EXPECT_EQ(small.GetAllocLength(), 64);
  EXPECT_EQ(str(small), "0123456789");

  char* locked = small.LockBuffer();
  EXPECT_EQ(small.GetData()->nRefs, -1);
  small.UnlockBuffer();
  EXPECT_EQ(small.GetData()->nRefs, 1);
  EXPECT_EQ(locked, static_cast<const char*>(small));

  char* heap = small.AllocString();
  EXPECT_STREQ(heap, "0123456789");
  EXPECT_NE(heap, static_cast<const char*>(small));
  delete[] heap;
}

TEST_F(ZString, ExtractionClamps) {
  KZString s("abc");
  struct Case {
    KZString got;
    const char* want;
  } cases[] = {
      {s.Left(-3), ""},      {s.Right(-3), ""},  {s.Left(100), "abc"}, {s.Right(2), "bc"},
      {s.Mid(5, 2), ""},     {s.Mid(1, 100), "bc"}, {s.Mid(-2), "abc"}, {s.Mid(1), "bc"},
      {s.Mid(1, -1), ""},    {s.Left(2), "ab"},
  };
  for (const Case& c : cases) EXPECT_EQ(str(c.got), c.want);
  EXPECT_EQ(str(KZString("aabbc").SpanIncluding("ab")), "aabb");
  EXPECT_EQ(str(KZString("aabbc").SpanExcluding("c")), "aabb");
}

TEST_F(ZString, SearchInSingleByteText) {
  KZString s("abc");
  EXPECT_EQ(s.Find("b", 4), -1);
  EXPECT_EQ(s.Find("b", 3), -1);
  EXPECT_EQ(s.Find("b"), 1);
  EXPECT_EQ(s.Find("c", -5), 2); // a negative start searches from 0
  EXPECT_EQ(s.Find('c', 3), -1);
  EXPECT_EQ(s.Find('c'), 2);
  EXPECT_EQ(s.Find('z'), -1);
  EXPECT_EQ(KZString("abcabc").ReverseFind('b'), 4);
  EXPECT_EQ(s.FindOneOf("cb"), 2); // the set's first member that occurs
  EXPECT_EQ(s.FindOneOf("xy"), -1);
}

TEST_F(DoubleByte, SearchNeverMatchesInsideACharacter) {
  // '@' and '`' are the second bytes of the double-byte characters.
  KZString s((kSp + "@" + kUpA + "`").c_str());
  EXPECT_EQ(s.Find('@'), 2);
  EXPECT_EQ(s.Find('`'), 5);
  EXPECT_EQ(s.Find(0x8260u), 3);
  EXPECT_EQ(s.Find("@"), 2);
  EXPECT_EQ(s.ReverseFind('@'), 2);
  EXPECT_EQ(s.FindOneOf("`@"), 5);
  EXPECT_EQ(s.GetAt(0), 0x8140u);
  EXPECT_EQ(s[3], 0x8260u);
  // A lead byte as second byte: 0x82 0x81 then '@' is not 0x81 0x40.
  KZString t((kLoA + "@").c_str());
  EXPECT_EQ(t.Find(0x8140u), -1);
  EXPECT_EQ(t.Find('@'), 2);
}

TEST_F(ZString, InsertDeleteSetAt) {
  KZString s("abc");
  EXPECT_EQ(s.Delete(1, 1), 3);
  EXPECT_EQ(str(s), "ac");
  s = "abc";
  EXPECT_EQ(s.Delete(5, 1), 3);
  EXPECT_EQ(str(s), "abc");
  EXPECT_EQ(s.Delete(1, 100), 3); // past the end: to the end
  EXPECT_EQ(str(s), "a");
  s = "abc";
  EXPECT_EQ(s.Insert(10, "x"), 4);
  EXPECT_EQ(str(s), "abcx");
  s = "abc";
  EXPECT_EQ(s.Insert(-1, "x"), 4);
  EXPECT_EQ(str(s), "xabc");
  EXPECT_EQ(s.Insert(1, ""), 4);
  EXPECT_EQ(s.Insert(1, static_cast<const char*>(nullptr)), 4);
  EXPECT_EQ(s.Insert(1, 'y'), 5);
  EXPECT_EQ(str(s), "xyabc");
  s.Insert(2, static_cast<const char*>(s) + 3); // its own text
  EXPECT_EQ(str(s), "xybcabc");
  KZString grow('a', 64);
  grow.Insert(0, "bb");
  EXPECT_EQ(grow.GetLength(), 66);
  EXPECT_EQ(grow.GetAllocLength(), 128);
  EXPECT_EQ(grow.Left(3), "bba");
  s = "abc";
  s.SetAt(1, 'z');
  EXPECT_EQ(str(s), "azc");
}

TEST_F(ZString, ReplaceAndRemove) {
  KZString s("banana");
  EXPECT_EQ(s.Replace("a", ""), 3);
  EXPECT_EQ(str(s), "bnn");
  EXPECT_EQ(s.Replace("", "x"), 0);
  EXPECT_EQ(s.Replace(static_cast<const char*>(nullptr), "x"), 0);
  EXPECT_EQ(s.Replace("q", "x"), 0);
  s = "aaa";
  EXPECT_EQ(s.Replace("aa", "b"), 1); // non-overlapping, left to right
  EXPECT_EQ(str(s), "ba");
  s = "a.b.c";
  EXPECT_EQ(s.Replace(".", "::"), 2);
  EXPECT_EQ(str(s), "a::b::c");
  EXPECT_EQ(s.Replace(':', '-'), 4);
  EXPECT_EQ(str(s), "a--b--c");
  EXPECT_EQ(s.Replace('-', '-'), 0);
  s = "aab";
  EXPECT_EQ(s.Remove('a'), 2);
  EXPECT_EQ(str(s), "b");
  KZString longer('x', 60);
  EXPECT_EQ(longer.Replace("x", "yy"), 60);
  EXPECT_EQ(longer.GetLength(), 120);
}

TEST_F(DoubleByte, ReplaceRemoveAndReverseKeepCharactersWhole) {
  KZString s((kSp + "@" + kUpA).c_str());
  EXPECT_EQ(s.Replace(unsigned('@'), 0x8281u), 1);
  EXPECT_EQ(str(s), kSp + kLoA + kUpA);
  EXPECT_EQ(s.Replace(0x8281u, unsigned('b')), 1);
  EXPECT_EQ(str(s), kSp + "b" + kUpA);
  EXPECT_EQ(s.Remove('@'), 0); // only inside a character
  EXPECT_EQ(s.Remove(0x8140u), 2);
  EXPECT_EQ(str(s), "b" + kUpA);
  KZString r(("ab" + kUpA + "c" + kZero).c_str());
  r.MakeReverse();
  EXPECT_EQ(str(r), kZero + "c" + kUpA + "ba");
  KZString p((kSp + "x").c_str());
  EXPECT_EQ(p.Replace("@", "y"), 0);
  EXPECT_EQ(p.Replace(kSp.c_str(), "_"), 1);
  EXPECT_EQ(str(p), "_x");
}

TEST_F(DoubleByte, SetAtReplacesTheWholeCharacter) {
  KZString s(("a" + kUpA + "b").c_str());
  s.SetAt(1, 'x');
  EXPECT_EQ(str(s), "axb");
  s.SetAt(1, 0x8281u);
  EXPECT_EQ(str(s), "a" + kLoA + "b");
  s.SetAt(0, 0x8140u);
  EXPECT_EQ(str(s), kSp + kLoA + "b");
}

TEST_F(DoubleByte, CaseMappingAndTrim) {
  KZString s(("a" + kLoA + "b").c_str());
  s.MakeUpper();
  EXPECT_EQ(str(s), "A" + kUpA + "B");
  s.MakeLower();
  EXPECT_EQ(str(s), "a" + kLoA + "b");
  // The double-byte space is white space; '@' alone is not.
  KZString t((kSp + " x " + kSp).c_str());
  t.TrimLeft();
  EXPECT_EQ(str(t), "x " + kSp);
  t.TrimRight();
  EXPECT_EQ(str(t), "x");
  KZString u((kUpA + kUpA + "x" + kUpA).c_str());
  u.TrimLeft(0x8260u);
  EXPECT_EQ(str(u), "x" + kUpA);
  u.TrimRight(0x8260u);
  EXPECT_EQ(str(u), "x");
  // A second byte that equals a trimmed character is not trimmed.
  KZString v(("`" + kUpA).c_str());
  v.TrimRight('`');
  EXPECT_EQ(str(v), "`" + kUpA);
}

TEST_F(ZString, TrimSets) {
  KZString s("xxhixy");
  s.TrimLeft("x");
  EXPECT_EQ(str(s), "hixy");
  s.TrimRight("yx");
  EXPECT_EQ(str(s), "hi");
  s.TrimLeft("");
  s.TrimLeft(static_cast<const char*>(nullptr));
  EXPECT_EQ(str(s), "hi");
  KZString all("   ");
  all.TrimLeft();
  EXPECT_EQ(all.GetLength(), 0);
}

TEST_F(ZString, UpperCaseThatGrowsInUtf8) {
  kctest::ThreadLocale utf8(kctest::kUtf8);
  // U+0250 (two bytes) has the upper case U+2C6F (three bytes).
  std::string lower;
  for (int i = 0; i < 40; ++i) lower += bytes({0xC9, 0x90});
  KZString s(("ab" + lower).c_str());
  s.MakeUpper();
  std::string upper = "AB";
  for (int i = 0; i < 40; ++i) upper += bytes({0xE2, 0xB1, 0xAF});
  EXPECT_EQ(str(s), upper);
  EXPECT_EQ(s.GetLength(), 122);
  s.MakeLower();
  EXPECT_EQ(str(s), "ab" + lower);
}

TEST_F(ZString, Comparison) {
  KZString s("abc");
  EXPECT_EQ(s.Compare("abc"), 0);
  EXPECT_LT(s.Compare("abd"), 0);
  EXPECT_EQ(s.CompareNoCase("ABC"), 0);
  EXPECT_GT(s.CompareNoCase(nullptr), 0);
  EXPECT_EQ(s.Collate("abc"), 0);
  EXPECT_EQ(s.CollateNoCase("ABC"), 0);
  EXPECT_TRUE(s == "abc");
  EXPECT_TRUE(s != "abd");
}

TEST_F(ZString, FormatMeasuresAndFormats) {
  KZString s;
  s.Format("%s-%d-%5.1s|%c|%x", "ab", 42, "xyz", 'q', 255);
  EXPECT_EQ(str(s), "ab-42-    x|q|ff");
  s.Format("%.2f %e", 3.14159, 1.5);
  EXPECT_EQ(str(s), "3.14 1.500000e+000");
  s.Format("%%");
  EXPECT_EQ(str(s), "%");
  const char* volatile none = nullptr; // hidden from the compiler's format check
  s.Format("%s", static_cast<const char*>(none));
  EXPECT_EQ(str(s), "(null)");
  // Its own text as the argument.
  s = "own";
  s.Format("[%s][%s]", static_cast<const char*>(s), static_cast<const char*>(s));
  EXPECT_EQ(str(s), "[own][own]");
  // A long result leaves the pools.
  std::string big(3000, 'z');
  s.Format("%s!", big.c_str());
  EXPECT_EQ(s.GetLength(), 3001);
  const char* i64 = "%ld %lld %I64d"; // I64 is not a prefix the compiler checks
  s.Format(i64, 1L, 2LL, 3LL);
  EXPECT_EQ(str(s), "1 2 3");
  int n = 7;
  s.Format("a%nb", &n);
  EXPECT_EQ(str(s), "ab");
  EXPECT_EQ(n, 7); // %n writes nothing
  s.Format("%*d|%-*d|", 4, 1, 3, 2);
  EXPECT_EQ(str(s), "   1|2  |");
}

TEST_F(ZString, FormatReservesByConversion) {
  enum Arg { Int, Double, Text };
  struct Case {
    const char* fmt;
    Arg arg;
    int capacity;
  } cases[] = {{"%E", Double, 128}, {"%e", Double, 128}, {"%g", Double, 128},
               {"%d", Int, 64},     {"%200d", Int, 256},  {"%5.1s", Text, 64}};
  for (const Case& c : cases) {
    KZString s;
    if (c.arg == Int) s.Format(c.fmt, 1);
    else if (c.arg == Text) s.Format(c.fmt, "xyz");
    else s.Format(c.fmt, 1.0);
    EXPECT_EQ(s.GetAllocLength(), c.capacity) << c.fmt;
  }
}

TEST_F(ZString, FormatRefusedByTheFormatterIsAnError) {
  KZString s("kept");
  // A precision beyond the formatter's largest: no text can be made.
  auto e = kctest::catchKErr([&] { s.Format("%.600f", 1.0); });
  EXPECT_TRUE(e.thrown);
  EXPECT_EQ(e.id, KERR_INVALID_FORMAT);
  EXPECT_EQ(e.method, "KZString::FormatV");
  EXPECT_EQ(str(s), "kept");
}

TEST_F(ZString, FormatGrowsWhenWideTextTakesMoreBytes) {
  kctest::ThreadLocale utf8(kctest::kUtf8);
  // Forty packed two-byte characters: measured as forty, written as eighty bytes.
  std::wstring wide(40, wchar_t(0xC3A9));
  KZString s;
  const char* fmt = "%S";
  s.Format(fmt, wide.c_str());
  ASSERT_EQ(s.GetLength(), 80);
  EXPECT_EQ(str(s.Left(2)), bytes({0xC3, 0xA9}));
}

TEST_F(ZString, FormatMessageFillsInOrderOfAppearance) {
  KZString s;
  s.FormatMessage("%2 before %1, again %2", "one", "two", "three");
  EXPECT_EQ(str(s), "one before two, again three");
  s.FormatMessage("first %2 then %1.", "A", "B");
  EXPECT_EQ(str(s), "first A then B.");
}

TEST_F(ZString, LoadStringFromTheKTable) {
  KZString s;
  EXPECT_EQ(s.LoadString(0xF023), 1);
  EXPECT_EQ(str(s), "Out of memory.");
  EXPECT_EQ(s.LoadString(4660), 1);
  EXPECT_EQ(str(s), "KAfx error string not found 4660.");
}

TEST_F(ZString, HashKey) {
  EXPECT_EQ(KHashKey(""), 0u);
  EXPECT_EQ(KHashKey("ab"), 97u * 33 + 98);
  EXPECT_EQ(KHashKey(bytes({0xE9}).c_str()), static_cast<unsigned>(-23));
  EXPECT_EQ(KHashKey(L"ab"), 97u * 33 + 98);
}

TEST_F(ZString, ElementHelpers) {
  alignas(KZString) unsigned char raw[3 * sizeof(KZString)];
  auto* p = reinterpret_cast<KZString*>(raw);
  KConstructElements(p, 3);
  EXPECT_EQ(p[0].GetData(), KGetAfxDataNil());
  KZString src[3] = {"a", "b", "c"};
  KCopyElements(p, src, 3);
  EXPECT_EQ(str(p[2]), "c");
  KDestructElements(p, 3);
}
