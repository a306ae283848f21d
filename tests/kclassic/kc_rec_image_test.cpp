// The record's binary image: golden bytes, round trips, old versions and
// refused images.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "kc_rectest.h"
#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_bstr.h"
#include "kclassic/kc_rec.h"

using namespace KCLASSIC;
using namespace kctest;

namespace {

class RecImage : public ::testing::Test {
 protected:
  void SetUp() override { startLocales(); }
};

std::string le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[size_t(i)] = static_cast<char>(v >> (8 * i));
  return s;
}

std::string text(const char* s) { return std::string(s) + '\0'; }

// Image bytes of a record.
std::string imageOf(const KUtlRecord& r) {
  char* img = r.Serialize();
  std::string out(img, KBinSysStringByteLen(img));
  KBinSysFreeString(img);
  return out;
}

// Reads bytes into r as an image string; KErr thrown passes through.
void readInto(KUtlRecord& r, const std::string& bytes) {
  r.DeserializeAndFree(KBinSysAllocStringByteLen(bytes.data(), static_cast<unsigned>(bytes.size())));
}

// Head of an image up to the spare text.
std::string head(long version, long rows, long columns, const char* spare = "", const char* name = "n") {
  return le32(0x4F723419) + text("BeginRecord") + le32(uint32_t(version)) + le32(uint32_t(rows)) +
         le32(uint32_t(columns)) + text(name) + text("Record") + text(spare);
}

const std::string kEmptyImage = le32(0x4F723419) + text("BeginRecord") + le32(3) + le32(0) + le32(0) + text("") +
                                text("Record") + text("") + text("EndRecord");

void expectIllegalImage(const KErr& e) { expectErr(e, KERR_RECORD_ACCESS, "KUtlRecord::Deserialize", "Illegal image"); }
void expectIllegalFormat(const KErr& e) {
  expectErr(e, KERR_RECORD_ACCESS, "KUtlRecord::LoadFromImage", "Illegal Image format");
}

// A record with every cell type, a nested record and NULL cells.
void fillAllTypes(KUtlRecord& r) {
  r.RemoveAll("all", "LId,FRate,SName,CCost,Rsub,Bblob,Xpad");
  r.SetTypeName("AllTypes");
  r.SetLongVal(0, 0, -5);
  r.SetFloat(0, 1, 2.5f);
  r.SetString(0, 2, "first");
  r.SetString(0, 3, "1.25");
  KUtlRecord* sub = r.GetRecordPtr(0, 4);
  sub->RemoveAll("inner", "SText,Rdeeper");
  sub->SetString(0, 0, "nested");
  sub->GetRecordPtr(0, 1)->RemoveAll("deepest", "LV");
  sub->GetRecordPtr(0, 1)->SetLongVal(2, 0, 77);
  char* blob = KBinSysAllocStringByteLen("b\0\x01z", 4);
  r.SetKBstr(0, 5, blob, 0);
  r.SetLongVal(1, 0, 0x7FFFFFFF);
  // Row 1 keeps NULL text, nested record and byte string.
}

} // namespace

TEST_F(RecImage, EmptyRecordIs47Bytes) {
  KUtlRecord r;
  unsigned char* none = nullptr;
  EXPECT_EQ(r.SerializeToBuffer(none), 47);
  EXPECT_EQ(imageOf(r), kEmptyImage);
  // Written at a position, the position advances by the size.
  std::vector<unsigned char> buf(47 + 3, 0xEE);
  unsigned char* p = buf.data();
  EXPECT_EQ(r.SerializeToBuffer(p), 0);
  EXPECT_EQ(p - buf.data(), 47);
  EXPECT_EQ(buf[47], 0xEE);
}

TEST_F(RecImage, GoldenCells) {
  KUtlRecord r;
  r.RemoveAll(nullptr, "LA,SB,RC,BD");
  r.SetLongVal(0, 0, 0x01020304);
  std::string expected = head(3, 1, 4, "", "") + text("AA") + text("HB") + text("OC") + text("QD") + le32(0x0A04) +
                         le32(0x1000) + le32(0x1B00) + le32(0x3400) + le32(0x01020304) + text("") + kEmptyImage +
                         le32(0) + text("EndRecord");
  EXPECT_EQ(imageOf(r), expected);
  EXPECT_NE(imageOf(r).find(std::string("\x04\x03\x02\x01", 4)), std::string::npos);

  // NULL text back as the empty text, NULL nested record as an empty record.
  KUtlRecord back;
  readInto(back, expected);
  EXPECT_STREQ(back.GetString(0, 1), "");
  KUtlRecord* sub = back.GetRecordPtr(0, 2);
  EXPECT_EQ(sub->GetColumns(), 0);
  EXPECT_STREQ(sub->GetTypeName(), "Record");
  EXPECT_EQ(back.GetKBstr(0, 3, 0), nullptr);
  EXPECT_EQ(back.GetLongVal(0, 0), 0x01020304);
}

TEST_F(RecImage, RoundTripEveryCellType) {
  KUtlRecord r;
  fillAllTypes(r);
  std::string img = imageOf(r);
  KUtlRecord back;
  readInto(back, img);
  EXPECT_EQ(imageOf(back), img);
  EXPECT_EQ(columnsOf(back), columnsOf(r));
  EXPECT_STREQ(back.GetRecordName(), "all");
  EXPECT_STREQ(back.GetTypeName(), "AllTypes");
  EXPECT_EQ(back.GetRows(), 2);
  EXPECT_EQ(back.GetLongVal(0, 0), -5);
  EXPECT_EQ(back.GetFloat(0, 1), 2.5f);
  EXPECT_STREQ(back.GetString(0, 2), "first");
  EXPECT_STREQ(back.GetString(0, 3), "1.25");
  KUtlRecord* sub = back.GetRecordPtr(0, 4);
  EXPECT_STREQ(sub->GetRecordName(), "inner");
  EXPECT_STREQ(sub->GetString(0, 0), "nested");
  EXPECT_EQ(sub->GetRecordPtr(0, 1)->GetLongVal(2, 0), 77);
  char* blob = back.GetKBstr(0, 5, 0);
  ASSERT_EQ(KBinSysStringByteLen(blob), 4u);
  EXPECT_EQ(std::memcmp(blob, "b\0\x01z", 4), 0);
  EXPECT_EQ(back.GetLongVal(1, 0), 0x7FFFFFFF);
  EXPECT_STREQ(back.GetString(1, 2), "");

  // A name of the longest length comes back whole.
  KUtlRecord named;
  const std::string longName(63, 'q');
  named.SetColType(0, 0, longName.c_str(), UTL_DB_VARSTR);
  KUtlRecord namedBack;
  readInto(namedBack, imageOf(named));
  EXPECT_EQ(std::string(namedBack.GetColName(0)), longName);

  // Reading replaces what the record held.
  readInto(back, kEmptyImage);
  EXPECT_EQ(back.GetColumns(), 0);
  EXPECT_EQ(back.GetRows(), 0);
  EXPECT_STREQ(back.GetRecordName(), "");
}

TEST_F(RecImage, DeepNestingUpToTheLimit) {
  auto chain = [](int levels) {
    auto* top = new KUtlRecord;
    KUtlRecord* r = top;
    for (int i = 0; i < levels; ++i) {
      r->RemoveAll(nullptr, "Rn");
      r = r->GetRecordPtr(0, 0);
    }
    return std::unique_ptr<KUtlRecord>(top);
  };
  KUtlRecord back;
  readInto(back, imageOf(*chain(UTL_IMAGE_MAX_DEPTH)));
  int depth = 0;
  for (KUtlRecord* r = &back; r->GetColumns() == 1; r = r->GetRecordPtr(0, 0)) ++depth;
  EXPECT_EQ(depth, UTL_IMAGE_MAX_DEPTH);
  expectIllegalFormat(*thrown([&] { readInto(back, imageOf(*chain(UTL_IMAGE_MAX_DEPTH + 1))); }));
}

TEST_F(RecImage, MarkersWithoutRegardToCase) {
  std::string img = kEmptyImage;
  img.replace(4, 11, "beginrecord");
  img.replace(img.size() - 10, 9, "ENDRECORD");
  KUtlRecord r;
  readInto(r, img);
  EXPECT_STREQ(r.GetTypeName(), "Record");
}

TEST_F(RecImage, ShortOrNoImageReadsEmpty) {
  KUtlRecord r;
  r.RemoveAll("x", "LA");
  r.Deserialize(nullptr);
  EXPECT_EQ(r.GetColumns(), 0);
  r.RemoveAll("x", "LA");
  readInto(r, kEmptyImage.substr(0, 15));
  EXPECT_EQ(r.GetColumns(), 0);
  long length = 15;
  EXPECT_EQ(r.DeserializeImp(reinterpret_cast<unsigned char*>(const_cast<char*>(kEmptyImage.data())), length), 1);
}

TEST_F(RecImage, OldVersions) {
  // Version 1: letters from the spare text (letter + 9), bare names.
  std::string v1 = head(1, 1, 2, "JS") + text("Id") + text("Name") + le32(0x0A04) + le32(0x1000) + le32(7) +
                   text("abc") + text("EndRecord");
  KUtlRecord r;
  readInto(r, v1);
  EXPECT_EQ(columnsOf(r), "0a04/A/Id;1000/J/Name");
  EXPECT_EQ(r.GetLongVal(0, 0), 7);
  EXPECT_STREQ(r.GetString(0, 1), "abc");
  // Version 2: one more text per column, dropped.
  std::string v2 = head(2, 0, 2, "JQ") + text("a") + text("b") + text("x1") + text("x2") + le32(0x0A04) +
                   le32(0x1000) + text("EndRecord");
  readInto(r, v2);
  EXPECT_EQ(columnsOf(r), "0a04/A/a;1000/H/b");
  // Versions above 3 read as version 3.
  std::string v9 = head(9, 0, 1) + text("Sz") + le32(0x1000) + text("EndRecord");
  readInto(r, v9);
  EXPECT_EQ(columnsOf(r), "1000/S/z");
}

TEST_F(RecImage, TextLosesTrailingMarkByte) {
  std::string img = head(3, 1, 1) + text("Ht") + le32(0x1000) + text("ab\x01") + text("EndRecord");
  KUtlRecord r;
  readInto(r, img);
  EXPECT_STREQ(r.GetString(0, 0), "ab");
  // Only a last byte 0x01 goes.
  img = head(3, 1, 1) + text("Ht") + le32(0x1000) + text("a\x01" "b") + text("EndRecord");
  readInto(r, img);
  EXPECT_STREQ(r.GetString(0, 0), "a\x01" "b");
}

TEST_F(RecImage, RefusedImages) {
  const std::string cells = head(3, 1, 2) + text("Aa") + text("Qb") + le32(0x0A04) + le32(0x3400);
  const std::string good = cells + le32(1) + le32(2) + "xy" + text("EndRecord");
  KUtlRecord ok;
  readInto(ok, good);
  EXPECT_EQ(ok.GetLongVal(0, 0), 1);

  struct Case {
    const char* what;
    std::string image;
    bool format; // "Illegal Image format" rather than "Illegal image"
  } cases[] = {
      {"wrong magic", le32(0x4F723418) + good.substr(4), false},
      {"wrong begin marker", good.substr(0, 4) + text("BeginRecorX") + good.substr(16), false},
      {"wrong end marker", cells + le32(1) + le32(2) + "xy" + text("EndRecorX"), false},
      {"no end marker", cells + le32(1) + le32(2) + "xy", false},
      {"negative rows", head(3, -1, 0) + text("EndRecord"), false},
      {"negative columns", head(3, 0, -1) + text("EndRecord"), false},
      {"huge rows", head(3, 0x7FFFFFFF, 2) + text("Aa") + text("Ab") + le32(0x0A04) + le32(0x0A04) +
                        text("EndRecord"), false},
      {"huge columns", head(3, 1, 0x40000000) + text("EndRecord"), false},
      {"rows times columns beyond the bytes",
       head(3, 0x10000, 0x10000) + std::string(20, 'A') + text("EndRecord"), false},
      {"spare text shorter than the columns", head(1, 0, 2, "J") + text("a") + text("b") + le32(0x0A04) +
                                                  le32(0x0A04) + text("EndRecord"), false},
      {"byte string cut", cells + le32(1) + le32(200) + "xy" + text("EndRecord"), true},
      {"byte string negative", cells + le32(1) + le32(uint32_t(-3)) + "xy" + text("EndRecord"), true},
      {"cut after a text was read", head(3, 1, 2) + text("Ha") + text("Qb") + le32(0x1000) + le32(0x3400) +
                                        text("kept") + le32(100) + text("EndRecord"), true},
      {"long cut", head(3, 1, 1) + text("Aa") + le32(0x0A04) + std::string("\x01\x02", 2), false},
      {"unknown cell type", head(3, 1, 1) + text("Aa") + le32(0x2000) + le32(0) + text("EndRecord"), true},
      // Codes of a known class that are not one of the cell types: they
      // would be neither released nor copied.
      {"text class, not the text code", head(3, 1, 1) + text("Ha") + le32(0x1001) + text("x") + text("EndRecord"),
       true},
      {"byte string class, not its code", head(3, 1, 1) + text("Qa") + le32(0x3300) + le32(1) + "x" +
                                              text("EndRecord"), true},
      {"long class, not the long code", head(3, 1, 1) + text("Aa") + le32(0x0AFC) + le32(1) + text("EndRecord"),
       true},
      {"bad nested record", head(3, 1, 1) + text("Oa") + le32(0x1B00) + le32(0x12345678) + std::string(43, 'x') +
                                text("EndRecord"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KUtlRecord r;
    auto e = thrown([&] { readInto(r, c.image); });
    if (c.format) expectIllegalFormat(*e);
    else expectIllegalImage(*e);
  }
}

TEST_F(RecImage, EmptyColumnTextGivesAnEmptyName) {
  // Version 3 keeps the letter in the text: an empty text is neither letter
  // nor name, and the column reads as nameless (not as whatever the table
  // held before).
  std::string img = head(3, 1, 2) + text("") + text("Hb") + le32(0x1000) + le32(0x1000) + text("x") + text("y") +
                    text("EndRecord");
  KUtlRecord r;
  readInto(r, img);
  EXPECT_EQ(r.GetColLetter(0), '\0');
  EXPECT_STREQ(r.GetColName(0), "");
  EXPECT_EQ(r.GetFieldCol("b"), 1);
  expectErr(*thrown([&] { r.GetFieldCol("c"); }), KERR_RECORD_ACCESS, "KUtlRecord::GetFieldCol", "Column not found");
}

TEST_F(RecImage, RowsWithoutColumns) {
  KUtlRecord r;
  readInto(r, head(3, 5, 0) + text("EndRecord"));
  EXPECT_EQ(r.GetRows(), 5);
  EXPECT_EQ(r.GetColumns(), 0);
  // Sorted on no keys every row is equal to every other.
  EXPECT_EQ(r.SortImp(nullptr, 0, 0, 0), 5);
  EXPECT_EQ(r.SortImp(nullptr, 0, 1, 1), 1);
  EXPECT_STREQ(r.Print(), "n, Record \r\n\r\n");
  // The largest row count is a sound image; its text is too long to make.
  readInto(r, head(3, 0x7FFFFFFF, 0) + text("EndRecord"));
  EXPECT_EQ(r.GetRows(), 0x7FFFFFFF);
  expectErr(*thrown([&] { r.Print(); }), KERR_MEMORY, "KAfxThrowMemoryException", "Out of memory");
}

TEST_F(RecImage, WritingAnUnsupportedTypeRefused) {
  KUtlRecord r;
  r.SetColType(0, 0x2000, "x", 7);
  r.GetCellIndex(0, 0, 0, 1);
  auto e = thrown([&] { imageOf(r); });
  expectErr(*e, KERR_RECORD_ACCESS, "KUtlRecord::AddToImage", "Conversion Error");
}

TEST_F(RecImage, ItemFunctions) {
  unsigned char buf[16] = {};
  long v = 0x0A0B0C0D;
  EXPECT_EQ(UiToImage(nullptr, UTL_CELL_LONG, &v), 4);
  EXPECT_EQ(UiToImage(buf, UTL_CELL_EMPTY, &v), 4);
  EXPECT_EQ(buf[0], 0x0D);
  EXPECT_EQ(buf[3], 0x0A);
  long out = 0;
  EXPECT_EQ(UiFromImage(buf, 4, UTL_CELL_LONG, &out), 4);
  EXPECT_EQ(out, 0x0A0B0C0D);
  EXPECT_EQ(UiFromImage(buf, 3, UTL_CELL_LONG, &out), -1);
  EXPECT_EQ(UiToImage(buf, 0x2000, &v), -1);
  EXPECT_EQ(UiFromImage(buf, 16, 0x0000, &out), -1);
  // A nested record that does not read is refused, however it failed.
  const std::string nested[] = {
      head(3, 0, 1) + text("Aa") + le32(0x2000) + text("EndRecord"),
      head(3, 1, 1) + text("Qa") + le32(0x3400) + le32(100) + text("EndRecord"),
      head(3, 0, 0) + text("EndRecorX"),
  };
  for (const std::string& img : nested) {
    std::vector<unsigned char> bytes(img.begin(), img.end());
    out = 0;
    EXPECT_EQ(UiFromImage(bytes.data(), long(bytes.size()), UTL_CELL_RECORD, &out), -1);
    EXPECT_EQ(out, 0);
  }
  // A text without NUL runs over all the bytes; no bytes give the empty text.
  const unsigned char t[3] = {'a', 'b', 'c'};
  EXPECT_EQ(UiFromImage(const_cast<unsigned char*>(t), 2, UTL_CELL_STRING, &out), 2);
  EXPECT_STREQ(reinterpret_cast<char*>(out), "ab");
  UiFree(reinterpret_cast<void**>(&out));
  EXPECT_EQ(out, 0);
  EXPECT_EQ(UiFromImage(const_cast<unsigned char*>(t), 0, UTL_CELL_STRING, &out), 0);
  EXPECT_STREQ(reinterpret_cast<char*>(out), "");
  UiFree(reinterpret_cast<void**>(&out));

  char* s = nullptr;
  EXPECT_EQ(UiReAlloc(&s, 3, nullptr, 1), 0);
  EXPECT_EQ(KBinSysStringByteLen(s), 5u);
  EXPECT_EQ(std::string(s, 5), std::string(5, '\0'));
  EXPECT_EQ(UiReAlloc(&s, 0, "xyz", 0), 0);
  EXPECT_STREQ(s, "xyz");
  UiFree(reinterpret_cast<void**>(&s));
}

TEST_F(RecImage, AddAndLoadItems) {
  KUtlRecord r;
  unsigned char* none = nullptr;
  EXPECT_EQ(r.AddToImage(none, UTL_CELL_STRING, const_cast<char*>("abc")), 4);
  unsigned char buf[8] = {};
  unsigned char* p = buf;
  EXPECT_EQ(r.AddToImage(p, UTL_CELL_STRING, const_cast<char*>("abc")), 0);
  EXPECT_EQ(p, buf + 4);
  expectErr(*thrown([&] { r.AddToImage(p, 0x2800, nullptr); }), KERR_RECORD_ACCESS, "KUtlRecord::AddToImage",
            "Conversion Error");
  p = buf;
  long left = 4;
  char* s = static_cast<char*>(r.LoadFromImage(p, left, UTL_CELL_STRING));
  EXPECT_STREQ(s, "abc");
  EXPECT_EQ(left, 0);
  KBinSysFreeString(s);
  expectIllegalFormat(*thrown([&] { r.LoadFromImage(p, left, UTL_CELL_LONG); }));
}

TEST_F(RecImage, TwoThreadsReadAtOnce) {
  KUtlRecord src;
  fillAllTypes(src);
  const std::string img = imageOf(src);
  auto work = [&img](int* failures) {
    for (int i = 0; i < 200; ++i) {
      KUtlRecord r;
      readInto(r, img);
      if (imageOf(r) != img) ++*failures;
    }
  };
  int f1 = 0, f2 = 0;
  std::thread a(work, &f1), b(work, &f2);
  a.join();
  b.join();
  EXPECT_EQ(f1 + f2, 0);
}

TEST_F(RecImage, ReaderWaitsForTheRecordSection) {
  const std::string img = kEmptyImage;
  std::atomic<bool> done{false};
  std::thread reader;
  {
    KUtlCrSync hold(KUtlRecord::GetCrSect());
    reader = std::thread([&] {
      KUtlRecord r;
      readInto(r, img);
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(done.load());
  }
  reader.join();
  EXPECT_TRUE(done.load());
}
