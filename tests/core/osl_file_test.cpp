// File covers and name helpers.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/core_fixture.h"
#include "core/osl/osl_file.h"

namespace fs = std::filesystem;

namespace {

class OslFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.make("osl_file")); }
  std::string P(const char* name) { return (scratch_.path() / name).string(); }
  core_scratch_dir scratch_;
};

TEST_F(OslFileTest, CoversPassThrough) {
  const std::string a = P("a.txt"), b = P("b.txt"), sub = P("sub");
  FILE* f = osl_file_fopen(a.c_str(), "w+");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(osl_file_fwrite("hello\nworld\n", 1, 12, f), 12);
  EXPECT_EQ(osl_file_flush(f), 0);
  EXPECT_EQ(osl_file_ftell(f), 12);
  EXPECT_EQ(osl_file_fseek(f, 6, SEEK_SET), 0);
  char buf[16] = {};
  EXPECT_EQ(osl_file_fread(buf, 1, 5, f), 5);
  EXPECT_STREQ(buf, "world");
  osl_file_rewind(f);
  ASSERT_NE(osl_file_fgets(buf, sizeof(buf), f), nullptr);
  EXPECT_STREQ(buf, "hello\n");
  EXPECT_EQ(osl_file_close(f), 0);

  EXPECT_EQ(osl_file_access(a.c_str(), R_OK), 0);
  EXPECT_EQ(osl_file_rename(a.c_str(), b.c_str()), 0);
  EXPECT_NE(osl_file_access(a.c_str(), F_OK), 0);
  EXPECT_EQ(osl_file_delete(b.c_str()), 0);
  EXPECT_NE(osl_file_delete(b.c_str()), 0);  // already gone
  EXPECT_EQ(osl_file_mkdir(sub.c_str(), 0755), 0);
  EXPECT_TRUE(fs::is_directory(sub));
  EXPECT_NE(osl_file_mkdir(sub.c_str(), 0755), 0);
  EXPECT_EQ(osl_file_rmdir(sub.c_str()), 0);
  EXPECT_FALSE(fs::exists(sub));
  EXPECT_EQ(osl_file_fopen(P("missing/x").c_str(), "r"), nullptr);
}

TEST_F(OslFileTest, AppendAndFindFileName) {
  char path[64] = "/var/data";
  EXPECT_EQ(osl_file_append_fname(path, "file.txt"), 0);
  EXPECT_STREQ(path, "/var/data/file.txt");

  const struct {
    const char* path;
    const char* expected;
  } cases[] = {
      {"/var/data/file.txt", "file.txt"}, {"rel/x", "x"}, {"dir/", ""}, {"/top", "top"},
      {"plain", "unchanged"},  // no '/': out left as it was
  };
  for (const auto& c : cases) {
    char out[32] = "unchanged";
    EXPECT_EQ(osl_file_find_fname(c.path, out), 0);
    EXPECT_STREQ(out, c.expected) << c.path;
  }
}

TEST_F(OslFileTest, BoundedAppendNeverOverruns) {
  const struct {
    const char* start;
    long size;
    const char* name;
    long status;
    const char* expected;
  } cases[] = {
      {"ab", 6, "cd", 0, "ab/cd"},   // exactly fits
      {"ab", 5, "cd", 1, "ab"},      // one byte short
      {"", 3, "x", 0, "/x"},
      {"ab", 0, "c", 1, "ab"},
  };
  for (const auto& c : cases) {
    char buf[16];
    std::memset(buf, '#', sizeof(buf));
    std::strcpy(buf, c.start);
    EXPECT_EQ(osl_file_append_fname_n(buf, c.size, c.name), c.status) << c.start << "+" << c.name;
    EXPECT_STREQ(buf, c.expected);
    EXPECT_EQ(buf[15], '#');
  }
}

// The array forms are bounded by the array: an exact fit is written, one byte
// more is refused and leaves the destination as it was (the sanitizer sees
// any write past the array).
TEST_F(OslFileTest, ArrayFormsAreBoundedByTheirDestination) {
  {
    char path[6] = "ab";
    EXPECT_EQ(osl_file_append_fname(path, "cd"), 0);  // "ab/cd" and the terminator
    EXPECT_STREQ(path, "ab/cd");
  }
  {
    char path[6] = "ab";
    EXPECT_EQ(osl_file_append_fname(path, "cde"), 1);
    EXPECT_STREQ(path, "ab");
  }
  {
    char path[4] = "abc";  // full already
    EXPECT_EQ(osl_file_append_fname(path, ""), 1);
    EXPECT_STREQ(path, "abc");
  }
  {
    char out[4] = "old";
    EXPECT_EQ(osl_file_find_fname("/dir/abc", out), 0);  // exactly fits
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(osl_file_find_fname("/dir/abcd", out), 1);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(osl_file_find_fname_n("/dir/x", out, 0), 1);
    EXPECT_STREQ(out, "abc");
  }
}

TEST_F(OslFileTest, TemporaryFilesAreNewAndDistinct) {
  char n1[OSL_FILE_TMP_NAME_SIZE], n2[OSL_FILE_TMP_NAME_SIZE];
  ASSERT_EQ(osl_file_get_tmp_fname(n1), 0);
  ASSERT_EQ(osl_file_get_tmp_fname(n2), 0);
  EXPECT_STRNE(n1, n2);
  EXPECT_TRUE(fs::exists(n1));  // reserved
  char n3[OSL_FILE_TMP_NAME_SIZE];
  FILE* f = osl_file_create_tmpfil(n3);
  ASSERT_NE(f, nullptr);
  EXPECT_STRNE(n3, n1);
  EXPECT_GT(std::fputs("data", f), -1);
  std::rewind(f);
  char buf[8] = {};
  ASSERT_NE(std::fgets(buf, sizeof(buf), f), nullptr);
  EXPECT_STREQ(buf, "data");
  std::fclose(f);
  EXPECT_EQ(fs::file_size(n3), 4u);
  for (const char* n : {n1, n2, n3}) std::remove(n);
}

TEST_F(OslFileTest, ModificationTime) {
  const std::string a = P("m.txt");
  FILE* f = std::fopen(a.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  struct stat st {};
  ASSERT_EQ(stat(a.c_str(), &st), 0);
  EXPECT_EQ(osl_file_get_mod_time(a.c_str()), static_cast<long>(st.st_mtime));
  EXPECT_GT(osl_file_get_mod_time(a.c_str()), 0);
  EXPECT_EQ(osl_file_get_mod_time(P("none").c_str()), 0);
}

TEST(OslFileName, StdoutNameKeepsSixtyFourCharacters) {
  EXPECT_STREQ(osl_file_stdout_name(), "standard.out");
  std::string long_name(100, 'n');
  osl_file_set_stdout_name(long_name.c_str());
  EXPECT_EQ(std::string(osl_file_stdout_name()), std::string(64, 'n'));
  osl_file_set_stdout_name("out.log");
  EXPECT_STREQ(osl_file_stdout_name(), "out.log");
  osl_file_set_stdout_name("standard.out");
}

}  // namespace
