// "storage.def": the line format, the look-up and damaged files.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "core/osl/osl_mem.h"
#include "schema/typ_stor.h"
#include "schema_fixture.h"
#include "testdb/testdb_tmp.h"

namespace {

class typ_storage : public schema_test {
 protected:
  void SetUp() override {
    schema_test::SetUp();
    const std::string made = testdb::tmp_folder("typ_storage_");
    ASSERT_FALSE(made.empty());
    dir_ = made;
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
    schema_test::TearDown();
  }
  void write(const std::string& text) {
    std::ofstream(dir_ / "storage.def", std::ios::binary) << text;
  }
  static std::string clause(const char* name) {
    const char* c = nullptr;
    return typ_lookup_physical_storage_params(name, &c) == 0 ? std::string("=") + c : "none";
  }
  // The clause a plain reading of the format gives for `name`.
  static std::string reference(const std::string& text, const std::string& name) {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line;
      for (size_t i = start; i < end; ++i)
        if (text[i] != '\r') line.push_back(text[i]);
      line = line.c_str();  // a NUL ends the line's text
      start = end + 1;
      size_t b = line.find_first_not_of(" \t");
      if (b == std::string::npos || line.compare(b, 2, "//") == 0) continue;
      size_t sep = line.find("::", b);
      if (sep == std::string::npos) continue;
      size_t e = sep;
      while (e > b && (line[e - 1] == ' ' || line[e - 1] == '\t')) --e;
      if (e == b) continue;
      std::string key = line.substr(b, e - b), want = name;
      for (auto& ch : key) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      for (auto& ch : want) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      if (key == want) return "=" + line.substr(sep + 2);
    }
    return "none";
  }
  std::filesystem::path dir_, old_;
};

TEST_F(typ_storage, LinesAndLookUps) {
  write("  table_a \t:: TABLESPACE a  \n"
        "\n"
        "   \t \n"
        "// commented :: out\n"
        "   // also :: out\n"
        "no separator here\n"
        ":: nothing before\n"
        "crlf::x\r\n"
        "dup:: first\n"
        "DUP:: second\n"
        "last::no newline");
  ASSERT_EQ(typ_load_physical_storage_params(), 0);
  struct row {
    const char* name;
    const char* result;
  };
  const row rows[] = {{"table_a", "= TABLESPACE a  "}, {"TABLE_A", "= TABLESPACE a  "}, {"commented", "none"},
                      {"// also", "none"},             {"crlf", "=x"},                   {"dup", "= first"},
                      {"last", "=no newline"},         {"no separator here", "none"},     {"", "none"}};
  for (const row& r : rows) EXPECT_EQ(clause(r.name), r.result) << r.name;
  ASSERT_EQ(typ_free_physical_storage_params(), 0);
  EXPECT_EQ(clause("table_a"), "none");
}

TEST_F(typ_storage, MissingFileIsReportedWithStatusOne) {
  long st = 0;
  std::string out = schema_stdout_of([&] { st = typ_load_physical_storage_params(); });
  EXPECT_EQ(st, 1);
  EXPECT_EQ(out, "Can not open 'storage.def' for reading.\n");
  EXPECT_EQ(clause("x"), "none");
}

TEST_F(typ_storage, LongLinesAndReloads) {
  const std::string name(250, 'n');
  const std::string text(1000, 'c');
  write(name + "::" + text + "\nshort::s\n");
  ASSERT_EQ(typ_load_physical_storage_params(), 0);
  EXPECT_EQ(clause(name.c_str()), "=" + text);
  EXPECT_EQ(clause("short"), "=s");
  write("other::o\n");
  ASSERT_EQ(typ_load_physical_storage_params(), 0);
  EXPECT_EQ(clause("short"), "none");
  EXPECT_EQ(clause("other"), "=o");
}

TEST_F(typ_storage, RandomAndDamagedFilesReadWithoutFault) {
  std::mt19937 rng(20261210);
  const char alphabet[] = {':', ':', '/', ' ', '\t', '\n', '\r', 'a', 'b', 'Z', '\0', '\x80', '\xff', '('};
  for (int run = 0; run < 200; ++run) {
    std::string text;
    const int len = static_cast<int>(rng() % 600);
    for (int i = 0; i < len; ++i) text.push_back(alphabet[rng() % sizeof alphabet]);
    write(text);
    ASSERT_EQ(typ_load_physical_storage_params(), 0) << run;
    for (const char* name : {"a", "b", "Z", "ab"}) EXPECT_EQ(clause(name), reference(text, name)) << run;
  }
  // Under failing allocations the reader reports and leaves no table behind.
  write("a::1\nb::2\nc::3\nd::4\ne::5\nf::6\n");
  int failures = 0;
  for (int i = 0; i < 10; ++i) {
    osl_mem_reset_fail_num();
    const long st = typ_load_physical_storage_params();
    osl_mem_disable_fail_mode();
    if (st) {
      ++failures;
      EXPECT_EQ(clause("a"), "none");
    } else {
      EXPECT_EQ(clause("f"), "=6");
    }
  }
  EXPECT_GT(failures, 0);
}

TEST_F(typ_storage, ReadLineLeavesTheStreamAfterEachLine) {
  write("one\r\ntwo\n\nthree");
  FILE* f = std::fopen("storage.def", "rb");
  ASSERT_NE(f, nullptr);
  const char* expected[] = {"one", "two", "", "three"};
  long eof = 0;
  for (const char* e : expected) {
    char* line = nullptr;
    ASSERT_EQ(typ_read_line(f, &line, &eof), 0);
    EXPECT_STREQ(line, e);
    osl_mem_free("t", line);
  }
  EXPECT_EQ(eof, 1);
  std::fclose(f);
}

}  // namespace
