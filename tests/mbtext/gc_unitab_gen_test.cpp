// The committed tables are what the generator writes from the Unicode data
// installed on this machine. Fails where the data or Python is missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* kUcd = "/usr/share/unicode";

std::string quoted(const fs::path& p) {
  std::string out = "'";
  for (char ch : p.string()) {
    if (ch == '\'') {
      out += "'\\''";
    } else {
      out += ch;
    }
  }
  return out + "'";
}

class GcUnitabGenerator : public ::testing::Test {
protected:
  void SetUp() override {
    const char* src = std::getenv("ORBISAN_SOURCE_DIR");
    // What the check needs is installed by .ci/packages: its absence fails.
    ASSERT_NE(src, nullptr) << "ORBISAN_SOURCE_DIR not set";
    root_ = src;
    ASSERT_TRUE(fs::exists(fs::path(kUcd) / "UnicodeData.txt") && fs::exists(fs::path(kUcd) / "DerivedAge.txt"))
        << "Unicode data not installed (package unicode-data)";
    ASSERT_EQ(std::system("command -v python3 >/dev/null 2>&1"), 0) << "python3 not found (package python3)";
  }

  // Exit status of the generator's check against the file.
  int check(const fs::path& file) {
    const std::string cmd = "python3 " + quoted(root_ / "tools/gen/gc_unitab_gen.py") + " --ucd " +
                            quoted(kUcd) + " --check " + quoted(file) + " 2>/dev/null";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }

  fs::path root_;
};

TEST_F(GcUnitabGenerator, CommittedTablesMatchTheData) {
  EXPECT_EQ(check(root_ / "src/mbtext/gc_unitab_data.cpp"), 0);
}

TEST_F(GcUnitabGenerator, ChangedTablesAreNoticed) {
  std::ifstream in(root_ / "src/mbtext/gc_unitab_data.cpp");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto at = text.find("0x1F88");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 6, "0x1F89");
  const fs::path copy = fs::temp_directory_path() / ("gc_unitab_changed_" + std::to_string(::getpid()) + ".cpp");
  std::ofstream(copy) << text;
  EXPECT_EQ(check(copy), 1);
  fs::remove(copy);
}

} // namespace
