// KFile (open modes, rewriting, read, write, seek, length, position,
// errors, status) and the emulated file calls with the directory search
// and the wildcard matcher.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kc_testdir.h"
#include "kc_testerr.h"
#include "kc_testloc.h"
#include "kclassic/kc_fcall.h"
#include "kclassic/kc_file.h"

using namespace KCLASSIC;
using kctest::catchKErr;

namespace {

class Files : public ::testing::Test {
 protected:
  void SetUp() override { kctest::startLocales(); }
  kctest::TempDir dir;
};

std::string readAll(KFile& f) {
  std::string s(4096, '\0');
  s.resize(f.Read(s.data(), unsigned(s.size())));
  return s;
}

} // namespace

TEST_F(Files, OpenModes) {
  struct Case {
    int flags;
    const char* mode;
  } cases[] = {{0x0001, "a+"},   {0x0002, "r+"},   {0x0000, "r"},    {0x0010, "r"},     {0x8001, "a+b"},
               {0x4000, "rt"},   {0xC002, "r+bt"}, {0x1011, "w+"},   {0x5001, "w+t"},   {0x1002, "w+"},
               {0x1000, "r"}};
  for (const auto& c : cases) EXPECT_STREQ(KFile::GetOpenMode(c.flags), c.mode) << std::hex << c.flags;
}

TEST_F(Files, RewriteWithCreateHoldsOnlyTheNewContent) {
  dir.write("schema", "old content that is longer");
  for (unsigned flags : {0x1011u, 0x5001u}) {
    {
      KFile f;
      ASSERT_EQ(f.Open(dir.file("schema").c_str(), flags), 1);
      f.Write("new", 3);
      f.Close();
    }
    EXPECT_EQ(dir.read("schema"), "new") << std::hex << flags;
  }
  // Without the create bit, write appends and keeps the content.
  KFile f;
  ASSERT_EQ(f.Open(dir.file("schema").c_str(), 0x0001), 1);
  f.Seek(0, KFILE_BEGIN);
  f.Write("+more", 5);
  f.Close();
  EXPECT_EQ(dir.read("schema"), "new+more");
  // Missing file: write creates it; read and read-write fail.
  KFile g;
  EXPECT_EQ(g.Open(dir.file("created").c_str(), 0x0001), 1);
  g.Close();
  EXPECT_EQ(access(dir.file("created").c_str(), F_OK), 0);
  KErr err;
  EXPECT_EQ(g.Open(dir.file("missing").c_str(), 0x0002, &err), 0);
  EXPECT_EQ(err.GetErrorNum(), 0x9B00069);
  EXPECT_STREQ(err.GetMethodName(), "KFile::KFile");
  EXPECT_STREQ(err.GetParam(0), dir.file("missing").c_str());
  EXPECT_EQ(g.GetStream(), nullptr);
  EXPECT_EQ(g.Open(dir.file("missing").c_str(), 0x0010), 0);
}

TEST_F(Files, ReadOnlyAndReadWrite) {
  dir.write("f", "0123456789");
  KFile r(dir.file("f").c_str(), 0x0010);
  EXPECT_EQ(readAll(r), "0123456789");
  EXPECT_EQ(catchKErr([&] { r.Write("x", 1); }).id, 0x9B0006B); // opened read-only
  KFile rw(dir.file("f").c_str(), 0x0002);
  rw.Seek(2, KFILE_BEGIN);
  rw.Write("ab", 2);
  rw.Close();
  EXPECT_EQ(dir.read("f"), "01ab456789");
  auto e = catchKErr([&] { KFile bad(dir.file("none").c_str(), 0); });
  EXPECT_EQ(e.id, 0x9B00069);
  EXPECT_EQ(e.method, "KFile::KFile");
  EXPECT_EQ(e.params, (std::vector<std::string>{"Unable to open file", dir.file("none")}));
}

TEST_F(Files, SeekLengthAndPosition) {
  dir.write("f", std::string(100, 'x'));
  KFile f(dir.file("f").c_str(), 0x0002);
  EXPECT_EQ(f.Seek(10, KFILE_BEGIN), 10);
  EXPECT_EQ(f.GetLength(), 100);
  EXPECT_EQ(f.GetPosition(), 10);
  EXPECT_EQ(f.Seek(5, KFILE_CURRENT), 15);
  EXPECT_EQ(f.Seek(-1, KFILE_END), 99);
  EXPECT_EQ(f.SeekToEnd(), 100);
  char b[4];
  EXPECT_EQ(f.Read(b, 4), 0u); // at the end: no error
  EXPECT_EQ(f.Read(b, 0), 0u);
  f.Write(b, 0); // nothing
  EXPECT_EQ(f.GetLength(), 100);
  auto e = catchKErr([&] { f.Seek(-1, KFILE_BEGIN); });
  EXPECT_EQ(e.id, 0x9B0006D);
  EXPECT_EQ(e.method, "KFile::Seek");
  EXPECT_EQ(e.params, std::vector<std::string>{dir.file("f")});
  EXPECT_EQ(f.GetBufferPtr(3, 0, nullptr, nullptr), 0u);
  f.Flush();
  f.Close();
  EXPECT_STREQ(f.GetFileName(), "");
  EXPECT_EQ(catchKErr([&] { f.GetPosition(); }).id, 0x9B0006E);
}

TEST_F(Files, StreamErrors) {
  // Writes to a full device: the buffered bytes fail at the flush or close.
  KFile full("/dev/full", 0x0002);
  std::string block(8192, 'z');
  auto e = catchKErr([&] {
    full.Write(block.data(), unsigned(block.size()));
    full.Flush();
  });
  EXPECT_TRUE(e.id == 0x9B0006B || e.id == 0x9B0006C || e.id == 0x9B00070) << std::hex << e.id;
  full.Abort();
  EXPECT_EQ(full.GetStream(), nullptr);

  KFile small("/dev/full", 0x0002);
  small.Write("a", 1);
  auto c = catchKErr([&] { small.Close(); });
  EXPECT_EQ(c.id, 0x9B0006F);
  EXPECT_EQ(c.params, std::vector<std::string>{"/dev/full"});
  EXPECT_EQ(small.GetStream(), nullptr);

  // A wrapped stream is not closed by the file object.
  FILE* raw = std::fopen(dir.file("w").c_str(), "w");
  {
    KFile wrap(raw);
    wrap.Write("abc", 3);
  }
  EXPECT_EQ(std::fputs("d", raw), 1);
  std::fclose(raw);
  EXPECT_EQ(dir.read("w"), "abcd");
}

TEST_F(Files, Status) {
  dir.write("f", "hello");
  KFileStatus st;
  st.m_mtime = KTime(int64_t(5));
  EXPECT_EQ(KFile::GetStatus(dir.file("missing").c_str(), st), 0);
  EXPECT_EQ(st.m_mtime.GetTime(), 5); // left as it was
  ASSERT_EQ(KFile::GetStatus(dir.file("f").c_str(), st), 1);
  struct stat s;
  ::stat(dir.file("f").c_str(), &s);
  EXPECT_EQ(st.m_mtime.GetTime(), int64_t(s.st_mtime));
  EXPECT_EQ(st.m_atime.GetTime(), int64_t(s.st_atime));
  EXPECT_EQ(st.m_ctime.GetTime(), int64_t(s.st_ctime));

  KFile closed;
  KFileStatus st2;
  EXPECT_EQ(closed.GetStatus(st2), 0);
  KFile open(dir.file("f").c_str(), 0);
  ASSERT_EQ(open.GetStatus(st2), 1);
  EXPECT_EQ(st2.m_mtime.GetTime(), int64_t(s.st_mtime));
  EXPECT_EQ(st2.m_size, 5);
}

TEST_F(Files, CreateReadWriteSeekDelete) {
  std::string path = dir.file("h");
  EXPECT_EQ(KCreateFile(path.c_str(), KGENERIC_READ, 0, nullptr, KOPEN_EXISTING, 0x80, nullptr), nullptr);
  KBaseHandle* h = KCreateFile(path.c_str(), KGENERIC_READ | KGENERIC_WRITE, 0, nullptr, KCREATE_ALWAYS, 0x80,
                               nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(dir.read("h"), "");
  unsigned long done = 7;
  EXPECT_EQ(KWriteFile(h, "hello world", 11, &done, nullptr), 1);
  EXPECT_EQ(done, 11u);
  EXPECT_EQ(KSetFilePointer(h, 6, nullptr, 0), 6u);
  char buf[16] = {};
  EXPECT_EQ(KReadFile(h, buf, 16, &done, nullptr), 1);
  EXPECT_EQ(done, 5u);
  EXPECT_STREQ(buf, "world");
  EXPECT_EQ(KReadFile(h, buf, 16, &done, nullptr), 1); // at the end: 0 bytes
  EXPECT_EQ(done, 0u);
  EXPECT_EQ(KSetFilePointer(h, -5, nullptr, 1), 6u);
  EXPECT_EQ(KSetFilePointer(h, -1, nullptr, 2), 10u);
  EXPECT_EQ(KSetFilePointer(h, -100, nullptr, 0), 0xFFFFFFFFu);
  EXPECT_EQ(KSetFilePointer(h, 0, nullptr, 7), 0xFFFFFFFFu);
  EXPECT_EQ(KCloseHandle(h), 1);

  // Creation 4 keeps the content; read-only access refuses writes.
  h = KCreateFile(path.c_str(), KGENERIC_READ, 0, nullptr, KOPEN_ALWAYS, 0x80000000, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(KWriteFile(h, "x", 1, &done, nullptr), 0);
  EXPECT_EQ(done, 0xFFFFFFFFu);
  KCloseHandle(h);
  EXPECT_EQ(dir.read("h"), "hello world");
  // Creation 2 empties it.
  h = KCreateFile(path.c_str(), KGENERIC_WRITE, 0, nullptr, KCREATE_ALWAYS, 0x80, nullptr);
  KCloseHandle(h);
  EXPECT_EQ(dir.read("h"), "");

  EXPECT_EQ(KDeleteFile(path.c_str()), 1);
  EXPECT_EQ(KDeleteFile(path.c_str()), 0);
  EXPECT_EQ(catchKErr([] { KDeleteFile(nullptr); }).params, std::vector<std::string>{"FileName is NULL"});
  std::string longPath = dir.file(std::string(300, 'p'));
  EXPECT_EQ(KCreateFile(longPath.c_str(), KGENERIC_WRITE, 0, nullptr, KCREATE_ALWAYS, 0x80, nullptr), nullptr);
}

TEST_F(Files, CreateFileRefusals) {
  std::string p = dir.file("r");
  const char* path = p.c_str();
  _KSECURITY_ATTRIBUTES sa{};
  KFileHandle tmpl;
  struct Case {
    unsigned long access, creation, flags;
    _KSECURITY_ATTRIBUTES* sa;
    KBaseHandle* tmpl;
  } refused[] = {
      {KGENERIC_WRITE, 1, 0x80, nullptr, nullptr},        {KGENERIC_WRITE, 5, 0x80, nullptr, nullptr},
      {0x10000000, 2, 0x80, nullptr, nullptr},            {KGENERIC_WRITE, 2, 0x01, nullptr, nullptr},
      {KGENERIC_WRITE, 2, 0x80, &sa, nullptr},            {KGENERIC_WRITE, 2, 0x80, nullptr, &tmpl},
  };
  for (const auto& c : refused) {
    auto e = catchKErr([&] { KCreateFile(path, c.access, 0, c.sa, c.creation, c.flags, c.tmpl); });
    EXPECT_EQ(e.id, 0x9B00067);
    EXPECT_EQ(e.method, "KCreateFile");
  }
  EXPECT_EQ(catchKErr([] { KCreateFile(nullptr, KGENERIC_WRITE, 0, nullptr, 2, 0x80, nullptr); }).params,
            std::vector<std::string>{"pFileName"});
}

TEST_F(Files, TransferArgumentErrors) {
  char buf[4];
  unsigned long done = 0;
  auto e = catchKErr([&] { KReadFile(nullptr, buf, 4, nullptr, nullptr); });
  EXPECT_EQ(e.id, 0x8B000C9);
  EXPECT_EQ(e.params, std::vector<std::string>{"pnNumberOfBytesRead"});
  e = catchKErr([&] { KWriteFile(nullptr, buf, 4, nullptr, nullptr); });
  EXPECT_EQ(e.method, "KWriteFile");
  EXPECT_EQ(e.params, std::vector<std::string>{"pnNumberOfBytesWritten"});
  e = catchKErr([&] { KReadFile(nullptr, buf, 4, &done, nullptr); });
  EXPECT_EQ(e.params, std::vector<std::string>{"hFile or pBuffer"});
  EXPECT_EQ(done, 0xFFFFFFFFu);
  KProcessHandle* none = nullptr;
  KDirHandle d("x", "*", nullptr);
  e = catchKErr([&] { KWriteFile(&d, buf, 4, &done, nullptr); });
  EXPECT_EQ(e.params, std::vector<std::string>{"hFile"});
  EXPECT_EQ(done, 0xFFFFFFFFu);
  EXPECT_EQ(catchKErr([&] { KSetFilePointer(none, 0, nullptr, 0); }).id, 0x9B00067);
  KFileHandle f;
  long high = 0;
  EXPECT_EQ(catchKErr([&] { KSetFilePointer(&f, 0, &high, 0); }).id, 0x9B00067);
  e = catchKErr([&] { KSetFilePointer(&d, 0, nullptr, 0); });
  EXPECT_EQ(e.id, 0x8B000C9);
  EXPECT_EQ(e.params, std::vector<std::string>{"hFile"});
}

TEST_F(Files, FindFirstAndNext) {
  for (const char* n : {"a.log", "b.log", "c.txt", "dlog"}) dir.write(n, "");
  std::string pattern = dir.path() + "\\*.log";
  std::replace(pattern.begin(), pattern.end(), '/', '\\');
  _KWIN32_FIND_DATA data{};
  KBaseHandle* h = KFindFirstFile(pattern.c_str(), &data);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->GetId(), KRES_DIRECTORY);
  std::vector<std::string> names{data.cFileName};
  while (KFindNextFile(h, &data)) names.push_back(data.cFileName);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.log", "b.log"}));
  EXPECT_EQ(KFindNextFile(h, &data), 0);
  EXPECT_EQ(KFindClose(h), 1);

  EXPECT_EQ(KFindFirstFile(dir.file("*.none").c_str(), &data), nullptr);
  EXPECT_EQ(KFindFirstFile(dir.file("nodir/*").c_str(), &data), nullptr);
  std::string tooLong = dir.path() + "/" + std::string(1100, '*');
  EXPECT_EQ(KFindFirstFile(tooLong.c_str(), &data), nullptr); // beyond the handle's fields
  EXPECT_EQ(KFindFirstFile(nullptr, &data), nullptr);
  KFileHandle notDir;
  EXPECT_EQ(KFindNextFile(&notDir, &data), 0);
  EXPECT_EQ(KFindNextFile(nullptr, &data), 0);
}

TEST_F(Files, MatchPatternTable) {
  struct Case {
    const char* text;
    const char* pattern;
    int match;
  } cases[] = {
      {"x.txt", "*.txt", 1}, {".txt", "*.txt", 0}, {"ab", "a*b", 0},      {"axb", "a*b", 1},
      {"axxb", "a*b", 1},    {"abc", "a?c", 1},    {"ab", "ab?", 0},      {"anything", "*", 1},
      {"", "*", 1},          {"", "", 1},          {"a", "", 0},          {"", "?", 0},
      {"ABC", "abc", 0},     {"abc", "abc", 1},    {"abcd", "abc", 0},    {"a.b.c", "*.c", 1},
      {"abc", "**c", 1},     {"abc", "a**", 1},    {"xaybzc", "*a*b*c", 1}, {"abc", "*x", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(KUtlMatchPattern(c.text, c.pattern), c.match) << c.text << " ~ " << c.pattern;
}
