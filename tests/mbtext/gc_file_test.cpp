// Data-file layer: headers of every version, the file calls, names and
// data locations.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include "mbtext/gc_file.h"
#include "mbtext/gc_file_int.h"
#include "mbtext/gc_mem_be_int.h"
#include "mbtext/gc_testdata.h"

using gctest::Bytes;
using gctest::DataDir;

namespace {

// The unprivileged user and group ("nobody", "nogroup").
constexpr uid_t kNobodyId = 65534;

GCFileHdr parse(const Bytes& file, uint32_t* st) {
  GCFileHdr h{};
  *st = gcFileHdrParse(file.data(), file.size(), &h);
  return h;
}

} // namespace

TEST(FileHeader, EveryVersionReadsTheSameSections) {
  Bytes a(100, 0xA1), b(7, 0xB2), d(300, 0xD4);
  for (int version : {0, 1, 2, 3}) {
    Bytes f = gctest::dataFile({a, b, {}, d}, version);
    uint32_t st;
    GCFileHdr h = parse(f, &st);
    ASSERT_EQ(st, GC_OK) << version;
    EXPECT_EQ(h.version, version);
    EXPECT_EQ(h.nsect, 4);
    uint32_t sizes[4] = {100, 7, 0, 300};
    uint32_t offs[4] = {80, 180, 0, 187};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(h.size[i], sizes[i]) << version << " " << i;
      EXPECT_EQ(h.off[i], offs[i]) << version << " " << i;
    }
  }
}

TEST(FileHeader, OldHeaderConvertsToTheCurrentLayout) {
  Bytes old = gctest::header(2, {{0x1234, 0x50}, {0x10, 0x2000}});
  uint8_t h[80];
  GCFileHdrV2toV3(old.data(), h);
  EXPECT_EQ(gc_be32(h), GC_FILE_MAGIC);
  EXPECT_EQ(gc_be32(h + 4), GC_HDR_V3_WORD);
  EXPECT_EQ(gc_be16(h + 8), 2);
  EXPECT_EQ(gc_be32(h + 12), 0x1234u);
  EXPECT_EQ(gc_be32(h + 16), 0x50u);
  EXPECT_EQ(gc_be32(h + 20), 0x10u);
  EXPECT_EQ(gc_be32(h + 24), 0x2000u);
  EXPECT_EQ(std::memcmp(h + 44, old.data() + 40, 33), 0);
}

TEST(FileHeader, DamagedHeadersAreRefused) {
  Bytes body(64, 1);
  struct { const char* what; Bytes file; uint32_t status; } cases[] = {
      {"wrong magic", [&] { Bytes f = gctest::dataFile({body}); f[0] ^= 0xFF; return f; }(), GC_E_MAGIC},
      {"no sections", [&] { Bytes f = gctest::dataFile({body}); gctest::put16(f, 8, 0); return f; }(), GC_E_FILE_READ},
      {"five sections", [&] { Bytes f = gctest::dataFile({body}); gctest::put16(f, 8, 5); return f; }(), GC_E_FILE_READ},
      {"empty section 0", gctest::dataFile({{}, body}), GC_E_FILE_READ},
      {"section past the end", [&] { Bytes f = gctest::dataFile({body}); f.resize(f.size() - 1); return f; }(), GC_E_FILE_READ},
      {"offset overflow", [&] { Bytes f = gctest::dataFile({body}); gctest::put32(f, 16, 0xFFFFFFF0u); return f; }(), GC_E_FILE_READ},
      {"old header past the end", [&] { Bytes f = gctest::dataFile({body}, 1); f.resize(100); return f; }(), GC_E_FILE_READ},
  };
  for (auto& c : cases) {
    uint32_t st;
    parse(c.file, &st);
    EXPECT_EQ(st, c.status) << c.what;
  }
}

TEST(FileHeader, ReadFromAnOpenFile) {
  DataDir dir;
  dir.write("ok.nls", gctest::dataFile({Bytes(10, 1)}));
  dir.write("short.nls", Bytes(79, 0));
  uint32_t st;
  GCFile* f = GCOpenFile(nullptr, dir.file("ok.nls").c_str(), GC_FILE_READ, 0, &st);
  ASSERT_NE(f, nullptr);
  GCFileHdr h;
  EXPECT_EQ(gcFileHdrRead(f, &h), GC_OK);
  EXPECT_EQ(h.size[0], 10u);
  EXPECT_EQ(GCCloseFile(f, 0), 0);
  f = GCOpenFile(nullptr, dir.file("short.nls").c_str(), GC_FILE_READ, 0, &st);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(gcFileHdrRead(f, &h), GC_E_FILE_READ);
  EXPECT_EQ(GCCloseFile(f, 0), 0);
}

TEST(FileLayer, OpenFailures) {
  DataDir dir;
  uint32_t st = 99;
  EXPECT_EQ(GCOpenFile(nullptr, dir.file("missing").c_str(), GC_FILE_READ, 0, &st), nullptr);
  EXPECT_EQ(st, GC_E_FILE_NOT_FOUND);
  EXPECT_EQ(GCOpenFile(nullptr, dir.path(), GC_FILE_READ, 0, &st), nullptr);
  EXPECT_EQ(st, GC_E_FILE_NOT_FOUND);
  EXPECT_EQ(GCOpenFile(nullptr, dir.file("no/such/dir").c_str(), GC_FILE_CREATE, 1, &st), nullptr);
  EXPECT_EQ(st, GC_E_FILE_NOT_FOUND);
  std::string tooLong(GC_PATH_MAX + 10, 'x');
  EXPECT_EQ(GCOpenFile(nullptr, tooLong.c_str(), GC_FILE_READ, 0, &st), nullptr);
  EXPECT_NE(st, GC_OK);
}

namespace {

// Opens `path` for reading in this process, as an unprivileged user (root
// first becomes "nobody": permissions bind no one else), and exits 0 when the
// open is refused for permissions; otherwise says what happened and exits 1.
[[noreturn]] void openAsUnprivileged(const std::string& path) {
  if (::geteuid() == 0 &&
      (::setgroups(0, nullptr) != 0 || ::setgid(kNobodyId) != 0 || ::setuid(kNobodyId) != 0)) {
    std::fprintf(stderr, "cannot become nobody: %s\n", std::strerror(errno));
    std::_Exit(1);
  }
  uint32_t st = GC_OK;
  GCFile* f = GCOpenFile(nullptr, path.c_str(), GC_FILE_READ, 0, &st);
  std::fprintf(stderr, "opened: %s, status %u\n", f != nullptr ? "yes" : "no", static_cast<unsigned>(st));
  std::_Exit(f == nullptr && st == GC_E_FILE_PERM ? 0 : 1);
}

} // namespace

TEST(FileLayer, PermissionDenied) {
  DataDir dir;
  dir.write("secret", Bytes(4, 0));
  // Only the file's own mode refuses: its folder lets everyone through.
  ASSERT_EQ(::chmod(dir.path(), 0755), 0);
  ASSERT_EQ(::chmod(dir.file("secret").c_str(), 0), 0);
  EXPECT_EXIT(openAsUnprivileged(dir.file("secret")), ::testing::ExitedWithCode(0), "opened: no");
}

TEST(FileLayer, ReadSeekAndEndOfFile) {
  DataDir dir;
  dir.write("data", Bytes{1, 2, 3, 4, 5, 6});
  uint32_t st;
  GCFile* f = GCOpenFile(nullptr, dir.file("data").c_str(), GC_FILE_READ, 0, &st);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(GCFileSize(f), 6);
  uint8_t buf[8] = {};
  EXPECT_EQ(GCReadFile(f, buf, 4, &st), 4);
  EXPECT_EQ(buf[3], 4);
  EXPECT_EQ(GCReadFile(f, buf, 8, &st), 2);
  EXPECT_EQ(f->eof, 0);
  EXPECT_EQ(GCReadFile(f, buf, 8, &st), 0);
  EXPECT_EQ(st, GC_OK);
  EXPECT_EQ(f->eof, 1);
  struct { int64_t off; int origin; uint8_t next; } seeks[] = {
      {2, GC_SEEK_SET, 3}, {1, GC_SEEK_CUR, 5}, {-1, GC_SEEK_END, 6}, {0, 99, 1}};
  for (auto& s : seeks) {
    ASSERT_EQ(GCSeekFile(f, s.off, s.origin), 0);
    EXPECT_EQ(f->eof, 0);
    EXPECT_EQ(GCReadFile(f, buf, 1, &st), 1);
    EXPECT_EQ(buf[0], s.next) << s.off << " " << s.origin;
  }
  EXPECT_EQ(GCSeekFile(f, -100, GC_SEEK_SET), 1);
  EXPECT_EQ(GCCloseFile(f, 0), 0);
}

TEST(FileLayer, MapsSectionsWithinTheFile) {
  DataDir dir;
  Bytes data(10000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 7);
  dir.write("data", data);
  uint32_t st;
  GCFile* f = GCOpenFile(nullptr, dir.file("data").c_str(), GC_FILE_READ, 0, &st);
  ASSERT_NE(f, nullptr);
  struct { uint32_t off, size; bool ok; } cases[] = {
      {0, 10000, true}, {4097, 100, true}, {9999, 1, true}, {123, 0, false}, {9999, 2, false}, {10001, 1, false},
      {0xFFFFFFF0u, 0x20, false}};
  for (auto& c : cases) {
    const uint8_t* p = GCLoadFile(f, c.off, c.size, &st);
    if (c.ok) {
      ASSERT_NE(p, nullptr) << c.off;
      EXPECT_EQ(st, GC_OK);
      EXPECT_EQ(std::memcmp(p, data.data() + c.off, c.size), 0) << c.off;
      EXPECT_EQ(GCUnloadFile(p, c.size), GC_OK);
    } else {
      EXPECT_EQ(p, nullptr) << c.off;
      EXPECT_EQ(st, c.size == 0 ? GC_OK : GC_E_FILE_READ) << c.off;
    }
  }
  EXPECT_EQ(GCCloseFile(f, 0), 0);
}

TEST(FileLayer, CreateReplacesTheNamedFileOnClose) {
  DataDir dir;
  dir.write("obj.nls", Bytes{'o', 'l', 'd'});
  uint32_t st;
  GCFile* f = GCOpenFile(nullptr, dir.file("obj.nls").c_str(), GC_FILE_CREATE, 0, &st);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->replace, 1);
  EXPECT_EQ(::write(f->fd, "new", 3), 3);
  EXPECT_EQ(gctest::readFile(dir.file("obj.nls")), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(gctest::readFile(dir.file("obj.tmp")), (Bytes{'n', 'e', 'w'}));
  uint8_t buf[4];
  EXPECT_EQ(GCReadFile(f, buf, 4, &st), 0);
  EXPECT_EQ(st, GC_E_FILE_MODE);
  EXPECT_EQ(GCLoadFile(f, 0, 3, &st), nullptr);
  EXPECT_EQ(st, GC_E_FILE_MODE);
  EXPECT_EQ(GCCloseFile(f, 0), 0);
  EXPECT_EQ(gctest::readFile(dir.file("obj.nls")), (Bytes{'n', 'e', 'w'}));
  EXPECT_NE(::access(dir.file("obj.tmp").c_str(), F_OK), 0);

  // Discarding keeps the old contents and removes the temporary file.
  f = GCOpenFile(nullptr, dir.file("obj.nls").c_str(), GC_FILE_CREATE, 0, &st);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(::write(f->fd, "xyz", 3), 3);
  EXPECT_EQ(GCCloseFile(f, 1), 0);
  EXPECT_EQ(gctest::readFile(dir.file("obj.nls")), (Bytes{'n', 'e', 'w'}));
  EXPECT_NE(::access(dir.file("obj.tmp").c_str(), F_OK), 0);

  // Overwrite, or a file that does not exist yet: written in place.
  f = GCOpenFile(nullptr, dir.file("obj.nls").c_str(), GC_FILE_CREATE, 1, &st);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->replace, 0);
  EXPECT_EQ(gctest::readFile(dir.file("obj.nls")).size(), 0u);
  EXPECT_EQ(GCCloseFile(f, 0), 0);
  f = GCOpenFile(nullptr, dir.file("fresh").c_str(), GC_FILE_CREATE, 0, &st);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->replace, 0);
  EXPECT_EQ(GCCloseFile(f, 0), 0);
  struct stat sb {};
  ASSERT_EQ(::stat(dir.file("fresh").c_str(), &sb), 0);
  EXPECT_EQ(sb.st_mode & 0777 & ~0022u, 0644u & ~0022u);
}

TEST(FileLayer, UpdateModeReadsAndMaps) {
  DataDir dir;
  dir.write("u", Bytes{9, 8, 7});
  uint32_t st;
  GCFile* f = GCOpenFile(nullptr, dir.file("u").c_str(), GC_FILE_UPDATE, 0, &st);
  ASSERT_NE(f, nullptr);
  uint8_t b[3];
  EXPECT_EQ(GCReadFile(f, b, 3, &st), 3);
  const uint8_t* p = GCLoadFile(f, 1, 2, &st);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[1], 7);
  EXPECT_EQ(GCUnloadFile(p, 2), GC_OK);
  EXPECT_EQ(GCCloseFile(f, 0), 0);
}

TEST(FileNames, ObjectAndControlFileNames) {
  char buf[64];
  struct { uint8_t cls; uint16_t id; const char* name; } cases[] = {
      {0, 1, "/d/la_0001.nls"}, {1, 34, "/d/te_0034.nls"}, {2, 106, "/d/cp_0106.nls"},
      {3, 9999, "/d/so_9999.nls"}, {2, 65535, "/d/cp_65535.nls"}};
  for (auto& c : cases) {
    ASSERT_NE(GCGetDataFileName("/d", c.cls, c.id, buf, sizeof buf), nullptr);
    EXPECT_STREQ(buf, c.name);
  }
  EXPECT_EQ(GCGetDataFileName("/d", 0, 1, buf, 14), nullptr); // needs 15 with the NUL
  EXPECT_NE(GCGetDataFileName("/d", 0, 1, buf, 15), nullptr);
  EXPECT_EQ(GCGetDataFileName("/d", 4, 1, buf, sizeof buf), nullptr);
  std::string longDir(1011, 'd');
  std::vector<char> big(2048);
  EXPECT_NE(GCGetDataFileName(longDir.c_str(), 0, 9999, big.data(), uint32_t(big.size())), nullptr);
  EXPECT_EQ(GCGetDataFileName(longDir.c_str(), 0, 10000, big.data(), uint32_t(big.size())), nullptr);
  ASSERT_NE(GCGetControlFileName("/x", buf, sizeof buf), nullptr);
  EXPECT_STREQ(buf, "/x/control.nls");
  EXPECT_EQ(GCGetControlFileName("/x", buf, 14), nullptr);
  EXPECT_NE(GCGetControlFileName("/x", buf, 15), nullptr);
}

TEST(FileNames, DataLocations) {
  char buf[64];
  ::unsetenv("GC_LOCALEDIR");
  EXPECT_EQ(GCGetDataLocation(buf, sizeof buf, 0), -1);
  ::setenv("GC_LOCALEDIR", "/some/where", 1);
  EXPECT_EQ(GCGetDataLocation(buf, sizeof buf, 0), 12);
  EXPECT_STREQ(buf, "/some/where");
  EXPECT_EQ(GCGetDataLocation(buf, 11, 0), 0);
  EXPECT_EQ(GCGetDataLocation(buf, 16, 1), 0);
  EXPECT_EQ(GCGetDataLocation(buf, 17, 1), 17);
  EXPECT_STREQ(buf, "/Lintrova/locale");
  ::unsetenv("GC_LOCALEDIR");
}
