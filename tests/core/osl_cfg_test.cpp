// Configuration strings: the environment file in the working directory or
// home directory, the process environment, setting, saving and the list-file
// reader; and the process argument store.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/core_fixture.h"
#include "core/osl/osl_mem.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys.h"
#include "core/osl/osl_sys_cfg.h"

namespace fs = std::filesystem;

namespace {

// Runs each test in a fresh working directory with a fresh HOME and an unread
// store; messages go to a captured stream. Everything is restored afterwards.
class OslCfgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.make("osl_cfg"));
    work_ = scratch_.path() / "work";
    home_ = scratch_.path() / "home";
    fs::create_directory(work_);
    fs::create_directory(home_);
    scratch_.enter(work_, home_);
    ReleaseStore();
    ASSERT_TRUE(messages_.start());
    osl_print_set_msg_mode(1);
  }

  void TearDown() override {
    osl_mem_disable_fail_mode();
    osl_sys_set_cmd_args(0, nullptr);
    ReleaseStore();
    messages_.stop();
    osl_print_set_msg_mode(1);
    for (const std::string& name : env_set_) unsetenv(name.c_str());
  }

  // Empties the store and marks it unread. Saving writes an empty file when
  // nothing was there, so the file written by the release is removed again
  // unless it existed before.
  void ReleaseStore() {
    bool cwd_had = fs::exists("orbisan.env");
    const char* h = std::getenv("HOME");
    fs::path home_file = h != nullptr ? fs::path(h) / "orbisan.env" : fs::path();
    bool home_had = h != nullptr && fs::exists(home_file);
    long mode = osl_print_get_msg_mode();
    osl_print_set_msg_mode(0);
    osl_sys_save_config_strings(1);
    osl_print_set_msg_mode(mode);
    std::error_code ec;
    if (!cwd_had) fs::remove("orbisan.env", ec);
    if (h != nullptr && !home_had) fs::remove(home_file, ec);
  }

  void SetEnv(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 1);
    env_set_.push_back(name);
  }

  std::string Messages() { return messages_.text(); }

  // The value of name, or nullopt when absent; the status must be 0.
  std::optional<std::string> Get(const char* name) {
    char* value = reinterpret_cast<char*>(1);
    EXPECT_EQ(osl_sys_get_config_string(name, &value), 0) << name;
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  }

  std::vector<std::string> Entries() {
    long count = -1;
    char** array = nullptr;
    EXPECT_EQ(osl_sys_get_env_vars(&count, &array), 0);
    std::vector<std::string> out;
    for (long i = 0; i < count; ++i) out.emplace_back(array[i]);
    return out;
  }

  core_scratch_dir scratch_;
  fs::path work_, home_;
  core_msg_capture messages_;
  std::vector<std::string> env_set_;
};

const char kNoFileMessage[] = "Could not read command arguments file 'orbisan.env'; continuing...\n";

TEST_F(OslCfgTest, NoFileFallsThroughToEnvironmentAndSaysSoOnce) {
  SetEnv("OSL_T_VAR", "from env");
  unsetenv("OSL_T_NONE");
  EXPECT_EQ(Get("OSL_T_VAR"), "from env");
  EXPECT_EQ(Get("OSL_T_NONE"), std::nullopt);
  EXPECT_EQ(Get("ENV:OSL_T_VAR"), "from env");
  EXPECT_EQ(Messages(), kNoFileMessage);
  EXPECT_TRUE(Entries().empty());
}

struct LookupCase {
  const char* title;
  const char* cwd_file;   // null: no file in the working directory
  const char* home_file;  // null: no file in HOME
  const char* env_value;  // value of the variable `name` (ENV: dropped); null: unset
  const char* name;
  const char* expected;   // null: absent
};

TEST_F(OslCfgTest, LookupTable) {
  const LookupCase cases[] = {
      {"file beats environment", "MAX_PER_BATCH=50\n", nullptr, "80", "MAX_PER_BATCH", "50"},
      {"ENV: prefix is dropped", "MAX_PER_BATCH=50\n", nullptr, "80", "ENV:MAX_PER_BATCH", "50"},
      {"home file when none here", nullptr, "OSL_K=home\n", "env", "OSL_K", "home"},
      {"working directory beats home", "OSL_K=cwd\n", "OSL_K=home\n", nullptr, "OSL_K", "cwd"},
      {"home not read when a file is here", "OTHER=1\n", "OSL_K=home\n", "env", "OSL_K", "env"},
      {"environment when no entry", "OTHER=1\n", nullptr, "env", "OSL_K", "env"},
      {"absent everywhere", "OTHER=1\n", nullptr, nullptr, "OSL_K", nullptr},
      {"empty value hides environment", "OSL_K=\n", nullptr, "env", "OSL_K", ""},
      {"keys ignore case", "max_per_batch=7\n", nullptr, nullptr, "MAX_PER_BATCH", "7"},
      {"name case ignored too", "MAX_PER_BATCH=7\n", nullptr, nullptr, "Max_Per_Batch", "7"},
      {"wildcard key star", "db*=1\n", nullptr, nullptr, "DBX", "1"},
      {"wildcard key star lower", "db*=1\n", nullptr, nullptr, "dbz", "1"},
      {"wildcard key has its own length", "db*=1\n", nullptr, "env", "dbcache", "env"},
      {"question mark key", "DB?=q\n", nullptr, nullptr, "DBA", "q"},
      {"question mark key not shorter", "DB?=q\n", nullptr, nullptr, "DB", nullptr},
      {"escaped star key is longer than its name", "DB/*=e\n", nullptr, nullptr, "DB*", nullptr},
      {"first matching entry wins", "K*=first\nKA=second\n", nullptr, nullptr, "KA", "first"},
      {"blanks around kept at the end", "  dbcache=/tmp/x  \n", nullptr, nullptr, "dbcache", "/tmp/x  "},
      {"tab before the key dropped", "\tOSL_K=t\n", nullptr, nullptr, "OSL_K", "t"},
      {"comment line skipped", "#dbcache=a\n", nullptr, "env", "dbcache", "env"},
      {"blank-led hash is an entry", "  #x=1\n", nullptr, nullptr, "x", nullptr},
      {"line without equals never matches", "OSL_K\nOSL_K=v\n", nullptr, nullptr, "OSL_K", "v"},
      {"key shorter than name", "OSL=1\n", nullptr, nullptr, "OSL_K", nullptr},
      {"value may hold equals", "OSL_K=a=b\n", nullptr, nullptr, "OSL_K", "a=b"},
      {"last line without newline", "A=1\nOSL_K=end", nullptr, nullptr, "OSL_K", "end"},
      {"ENV: is case-sensitive", "OSL_K=1\n", nullptr, nullptr, "env:OSL_K", nullptr},
      {"empty lines skipped", "\n\n   \nOSL_K=v\n", nullptr, nullptr, "OSL_K", "v"},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.title);
    ReleaseStore();
    std::error_code ec;
    fs::remove(work_ / "orbisan.env", ec);
    fs::remove(home_ / "orbisan.env", ec);
    if (c.cwd_file != nullptr) core_write_file(work_ / "orbisan.env", c.cwd_file);
    if (c.home_file != nullptr) core_write_file(home_ / "orbisan.env", c.home_file);
    std::string var = std::string(c.name).rfind("ENV:", 0) == 0 ? c.name + 4 : c.name;
    if (c.env_value != nullptr)
      SetEnv(var, c.env_value);
    else
      unsetenv(var.c_str());
    std::optional<std::string> expected;
    if (c.expected != nullptr) expected = c.expected;
    EXPECT_EQ(Get(c.name), expected);
    unsetenv(var.c_str());
  }
}

TEST_F(OslCfgTest, StoredEntriesAreTheKeptLines) {
  core_write_file("orbisan.env", "# comment\n  #x=1\n\n  A=1  \nB\n");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"#x=1", "A=1  ", "B"}));
}

TEST_F(OslCfgTest, FileIsReadOnceUntilReleased) {
  core_write_file("orbisan.env", "OSL_K=one\n");
  EXPECT_EQ(Get("OSL_K"), "one");
  core_write_file("orbisan.env", "OSL_K=two\n");
  EXPECT_EQ(Get("OSL_K"), "one");  // not read again
  EXPECT_EQ(osl_sys_save_config_strings(1), 0);
  EXPECT_EQ(core_read_file("orbisan.env"), "OSL_K=one\n");  // the store was written back
  core_write_file("orbisan.env", "OSL_K=two\n");
  EXPECT_EQ(Get("OSL_K"), "two");  // read again after the release
}

TEST_F(OslCfgTest, LongLinesAreReadInPiecesOf8000) {
  std::string line = "OSL_K=" + std::string(8100, 'x');
  core_write_file("orbisan.env", line + "\nB=2\n");
  std::vector<std::string> entries = Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], line.substr(0, 8000));
  EXPECT_EQ(entries[1], line.substr(8000));
  EXPECT_EQ(entries[2], "B=2");
  EXPECT_EQ(Get("OSL_K")->size(), 8000u - 6u);
}

TEST_F(OslCfgTest, SetWithCommitRewritesTheWorkingDirectoryFile) {
  core_write_file("orbisan.env", "A=1\nB=2\n");
  EXPECT_EQ(osl_sys_set_config_string("b", "3", 1), 0);
  EXPECT_EQ(core_read_file("orbisan.env"), "A=1\nb=3\n");
  EXPECT_FALSE(fs::exists(home_ / "orbisan.env"));
  EXPECT_EQ(Get("B"), "3");
}

TEST_F(OslCfgTest, SetWithCommitCreatesTheHomeFileWhenNoneHere) {
  core_write_file(home_ / "orbisan.env", "A=1\n");
  EXPECT_EQ(osl_sys_set_config_string("C", "9", 1), 0);
  EXPECT_EQ(core_read_file(home_ / "orbisan.env"), "A=1\nC=9\n");
  EXPECT_FALSE(fs::exists(work_ / "orbisan.env"));
}

TEST_F(OslCfgTest, CommitWithoutHomeFails) {
  unsetenv("HOME");
  EXPECT_EQ(osl_sys_set_config_string("C", "9", 0), 0);
  EXPECT_EQ(osl_sys_set_config_string("D", "8", 1), 1);
  EXPECT_NE(Messages().find("osl_sys_commit_changes: could not open 'orbisan.env' for output\n"),
            std::string::npos);
  EXPECT_EQ(Get("C"), "9");  // the store keeps the entries
  EXPECT_EQ(Get("D"), "8");
  setenv("HOME", home_.c_str(), 1);
}

TEST_F(OslCfgTest, SetWithoutCommitLeavesTheFileUntilSaved) {
  core_write_file("orbisan.env", "A=1\n");
  SetEnv("OSL_K", "env");
  EXPECT_EQ(osl_sys_set_config_string("OSL_K", "set", 0), 0);
  EXPECT_EQ(Get("OSL_K"), "set");  // hides the environment
  EXPECT_EQ(core_read_file("orbisan.env"), "A=1\n");
  EXPECT_EQ(osl_sys_save_config_strings(0), 0);
  EXPECT_EQ(core_read_file("orbisan.env"), "A=1\nOSL_K=set\n");
  EXPECT_EQ(Get("OSL_K"), "set");
}

TEST_F(OslCfgTest, SetReplacesTheEntryTheNameMatches) {
  core_write_file("orbisan.env", "A=1\ndb*=w\nZ=2\n");
  EXPECT_EQ(osl_sys_set_config_string("ENV:DBX", "v", 0), 0);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"A=1", "DBX=v", "Z=2"}));
  EXPECT_EQ(Get("DBY"), std::nullopt);  // the wildcard line is gone
  EXPECT_EQ(osl_sys_set_config_string("NEW", "", 0), 0);
  EXPECT_EQ(Get("NEW"), "");
  EXPECT_EQ(Entries().back(), "NEW=");
}

TEST_F(OslCfgTest, SetAppendsPastTheFirstTenEntries) {
  for (int i = 0; i < 25; ++i) {
    std::string name = "K" + std::to_string(i);
    ASSERT_EQ(osl_sys_set_config_string(name.c_str(), std::to_string(i * i).c_str(), 0), 0);
  }
  for (int i = 0; i < 25; ++i) {
    std::string name = "K" + std::to_string(i);
    EXPECT_EQ(Get(name.c_str()), std::to_string(i * i)) << name;
  }
  EXPECT_EQ(Entries().size(), 25u);
}

TEST_F(OslCfgTest, SavingBeforeAnyLookupKeepsTheFile) {
  core_write_file("orbisan.env", "A=1\nB=2\n");
  EXPECT_EQ(osl_sys_save_config_strings(0), 0);
  EXPECT_EQ(core_read_file("orbisan.env"), "A=1\nB=2\n");
}

TEST_F(OslCfgTest, ReadEnvFileReplacesTheStore) {
  core_write_file("orbisan.env", "A=1\n");
  core_write_file("other.env", "B=2\n  C=3\n");
  EXPECT_EQ(Get("A"), "1");
  EXPECT_EQ(osl_sys_read_env_file("other.env"), 0);
  EXPECT_EQ(Get("A"), std::nullopt);
  EXPECT_EQ(Get("B"), "2");
  EXPECT_EQ(Get("C"), "3");
}

TEST_F(OslCfgTest, FindLocalStringSeesTheFileOnly) {
  core_write_file("orbisan.env", "A=1\nOSL_K=v\n");
  SetEnv("OSL_E", "env");
  char* value = nullptr;
  long index = 99;
  EXPECT_EQ(osl_sys_find_local_string("osl_k", &value, &index), 0);
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value, "v");
  EXPECT_EQ(index, 1);
  EXPECT_EQ(osl_sys_find_local_string("OSL_E", &value, &index), 0);
  EXPECT_EQ(value, nullptr);
  EXPECT_EQ(index, -1);
}

TEST_F(OslCfgTest, NullOutputsAreAllowed) {
  core_write_file("orbisan.env", "A=1\n");
  EXPECT_EQ(osl_sys_get_config_string("A", nullptr), 0);
  char* value = nullptr;
  EXPECT_EQ(osl_sys_find_local_string("A", &value, nullptr), 0);
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value, "1");
  long index = -5;
  EXPECT_EQ(osl_sys_find_local_string("A", nullptr, &index), 0);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(osl_sys_find_arg("a", nullptr), 0);
}

TEST_F(OslCfgTest, DumpListsEntriesThenEnvironment) {
  core_write_file("orbisan.env", "A=1\nB=2\n");
  std::string text = core_written_to([](FILE* out) { EXPECT_EQ(osl_sys_dump_config_strings(out), 0); });
  std::string expected = "CONFIG STRINGS:\n   0) A=1\n   1) B=2\n";
  long n = 2;
  for (char** e = environ; *e != nullptr; ++e) expected += "   " + std::to_string(n++) + ") " + *e + "\n";
  expected += "END OF CONFIG STRINGS.\n";
  EXPECT_EQ(text, expected);
}

TEST_F(OslCfgTest, DumpToNullGoesToTheMessageStream) {
  core_write_file("orbisan.env", "A=1\n");
  EXPECT_EQ(osl_sys_dump_config_strings(nullptr), 0);
  std::string text = Messages();
  EXPECT_EQ(text.rfind("CONFIG STRINGS:\n   0) A=1\n", 0), 0u) << text;
}

TEST_F(OslCfgTest, ListFileFromHomeAndMissingFile) {
  core_write_file(home_ / "args.lst", "-x\n#-y\n  -z 1\n");
  long count = 0, capacity = 0;
  char** array = nullptr;
  EXPECT_EQ(osl_sys_read_args("label", "args.lst", &count, &capacity, &array), 0);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(capacity, 10);
  EXPECT_STREQ(array[0], "-x");
  EXPECT_STREQ(array[1], "-z 1");
  // A missing file leaves the list as it is.
  EXPECT_EQ(osl_sys_read_args("label", "missing.lst", &count, &capacity, &array), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(Messages(), "Could not read command arguments file 'missing.lst'; continuing...\n");
  // A second read replaces the list.
  core_write_file("args.lst", "only\n");
  EXPECT_EQ(osl_sys_read_args("label", "args.lst", &count, &capacity, &array), 0);
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(array[0], "only");
  EXPECT_EQ(osl_sys_free_strings(&count, &capacity, &array), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(capacity, 0);
  EXPECT_EQ(array, nullptr);
}

TEST_F(OslCfgTest, ListFileAllocationFailuresLeaveTheListAsItWas) {
  core_write_file("args.lst", "A=1\nB=2\n");
  long count = 0, capacity = 0;
  char** array = nullptr;
  ASSERT_EQ(osl_sys_read_args("l", "args.lst", &count, &capacity, &array), 0);
  core_write_file("args.lst", "NEW=1\n");

  // First allocation (the array) fails.
  osl_mem_reset_fail_num();
  EXPECT_EQ(osl_sys_read_args("l", "args.lst", &count, &capacity, &array), 1);
  osl_mem_disable_fail_mode();
  EXPECT_NE(Messages().find("Cannot allocate 80 bytes for argument list\n"), std::string::npos);
  ASSERT_EQ(count, 2);
  EXPECT_STREQ(array[0], "A=1");

  // The array succeeds and the copy of the line fails.
  osl_mem_reset_fail_num();
  EXPECT_EQ(osl_mem_alloc("t", 1), nullptr);  // uses up the first failure
  EXPECT_EQ(osl_sys_read_args("l", "args.lst", &count, &capacity, &array), 1);
  osl_mem_disable_fail_mode();
  EXPECT_NE(Messages().find("Cannot allocate 6 bytes for argument 'NEW=1'\n"), std::string::npos);
  ASSERT_EQ(count, 2);
  EXPECT_STREQ(array[1], "B=2");
  osl_sys_free_strings(&count, &capacity, &array);
}

TEST_F(OslCfgTest, SetAllocationFailureLeavesTheStore) {
  core_write_file("orbisan.env", "A=1\n");
  EXPECT_EQ(Get("A"), "1");
  osl_mem_reset_fail_num();
  EXPECT_EQ(osl_sys_set_config_string("A", "22", 0), 1);
  osl_mem_disable_fail_mode();
  EXPECT_NE(Messages().find("osl_sys_make_val: cannot allocate new string of size 5\n"),
            std::string::npos);
  EXPECT_EQ(Get("A"), "1");
}

// A read of "orbisan.env" that fails part-way (an allocation fails) leaves
// the store unread: the failure reaches each caller, setting and committing
// neither changes the store nor writes the file, and once memory is there
// again the whole file is read and a commit keeps every entry.
TEST_F(OslCfgTest, FailedReadIsReportedAndNeverCommitted) {
  std::string text;
  for (int i = 0; i < 15; ++i) text += "K" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  core_write_file("orbisan.env", text);
  for (int skip = 0; skip < 3; ++skip) {
    // Fail-test mode: the first allocation fails; `skip` allocations are used
    // up first so that the read fails at a later step (array, then a line).
    osl_mem_reset_fail_num();
    for (int k = 0; k < skip; ++k) osl_mem_free("t", osl_mem_alloc("t", 1));
    char* value = nullptr;
    long status = osl_sys_set_config_string("NEW", "v", 1);
    osl_mem_disable_fail_mode();
    EXPECT_EQ(status, 1) << skip;
    EXPECT_EQ(core_read_file("orbisan.env"), text) << skip;
    long count = -1;
    char** array = nullptr;
    // The store was not filled: nothing of the file, and no NEW entry.
    EXPECT_EQ(osl_sys_find_local_string("NEW", &value, nullptr), 0) << skip;
    EXPECT_EQ(value, nullptr) << skip;
    ASSERT_EQ(osl_sys_get_env_vars(&count, &array), 0);
    EXPECT_EQ(count, 15) << skip;
    ReleaseStore();
  }
  // A failing look-up reports the failure each time until the file is read.
  osl_mem_reset_fail_num();
  char* value = nullptr;
  EXPECT_NE(osl_sys_get_config_string("K3", &value), 0);
  osl_mem_disable_fail_mode();
  EXPECT_EQ(Get("K3"), "3");
  EXPECT_EQ(osl_sys_set_config_string("NEW", "v", 1), 0);
  EXPECT_EQ(core_read_file("orbisan.env"), text + "NEW=v\n");
}

// Saving a store whose read failed writes nothing.
TEST_F(OslCfgTest, SavingAfterAFailedReadKeepsTheFile) {
  core_write_file("orbisan.env", "A=1\nB=2\n");
  osl_mem_reset_fail_num();
  EXPECT_NE(osl_sys_save_config_strings(0), 0);
  osl_mem_disable_fail_mode();
  EXPECT_EQ(core_read_file("orbisan.env"), "A=1\nB=2\n");
  EXPECT_EQ(Get("B"), "2");
}

TEST_F(OslCfgTest, ListHelpers) {
  char* entry = nullptr;
  ASSERT_EQ(osl_sys_make_val("KEY", "a value", &entry), 0);
  EXPECT_STREQ(entry, "KEY=a value");
  osl_mem_free("t", entry);

  long count = 0, capacity = 0;
  char** array = nullptr;
  EXPECT_EQ(osl_sys_extend(&count, &capacity, &array), 0);
  EXPECT_EQ(capacity, 10);
  count = 5;
  EXPECT_EQ(osl_sys_extend(&count, &capacity, &array), 0);
  EXPECT_EQ(capacity, 10);  // not full: unchanged
  count = 10;
  for (long i = 0; i < 10; ++i) osl_sys_make_val("k", std::to_string(i).c_str(), &array[i]);
  EXPECT_EQ(osl_sys_extend(&count, &capacity, &array), 0);
  EXPECT_EQ(capacity, 20);
  EXPECT_STREQ(array[9], "k=9");  // entries kept when growing
  EXPECT_EQ(osl_sys_free_strings(&count, &capacity, &array), 0);
}

TEST_F(OslCfgTest, CommitChangesWritesOneLineEach) {
  char a[] = "X=1", b[] = "Y=2";
  char* list[] = {a, b};
  EXPECT_EQ(osl_sys_commit_changes("list.out", 2, list), 0);
  EXPECT_EQ(core_read_file(home_ / "list.out"), "X=1\nY=2\n");  // not here: made under HOME
  core_write_file("list.out", "old\n");
  EXPECT_EQ(osl_sys_commit_changes("list.out", 1, list), 0);
  EXPECT_EQ(core_read_file("list.out"), "X=1\n");
}

// The argument store.

class OslArgsTest : public OslCfgTest {
 protected:
  void SetArgs(std::vector<std::string> args) {
    storage_ = std::move(args);
    argv_.clear();
    for (std::string& s : storage_) argv_.push_back(s.data());
    argv_.push_back(nullptr);
    osl_sys_set_cmd_args(static_cast<long>(storage_.size()), argv_.data());
  }
  std::vector<std::string> storage_;
  std::vector<char*> argv_;
};

TEST_F(OslArgsTest, EmptyStoreReportsAbsence) {
  long argc = -1;
  char** argv = reinterpret_cast<char**>(1);
  osl_sys_cmd_args(&argc, &argv);
  EXPECT_EQ(argc, 0);
  EXPECT_EQ(argv, nullptr);
  char* arg = reinterpret_cast<char*>(1);
  char* value = reinterpret_cast<char*>(1);
  EXPECT_EQ(osl_sys_has_arg("-sqlout", 0, &arg), 0);
  EXPECT_EQ(arg, nullptr);
  EXPECT_EQ(osl_sys_has_arg_and_value("-char_set=*", 0, &arg, &value), 0);
  EXPECT_EQ(value, nullptr);
}

TEST_F(OslArgsTest, HasArgTable) {
  SetArgs({"prog", "-SQLLOG=x", "-char_set=latin1", "-schema=12", "-lcid", "1033", "-sqlout"});
  long argc = 0;
  char** argv = nullptr;
  osl_sys_cmd_args(&argc, &argv);
  EXPECT_EQ(argc, 7);
  EXPECT_EQ(argv, argv_.data());
  const struct {
    const char* pattern;
    long case_sensitive;
    const char* argument;  // null: absent
    const char* value;
  } cases[] = {
      {"-char_set=*", 1, "-char_set=latin1", "-schema=12"},
      {"-sqllog*", 0, "-SQLLOG=x", "-char_set=latin1"},
      {"-sqllog*", 1, nullptr, nullptr},
      {"-sqllog", 0, nullptr, nullptr},
      {"-lcid", 0, "-lcid", "1033"},
      {"-sqlout", 1, "-sqlout", nullptr},  // the last: no value
      {"-schema=*", 0, "-schema=12", "-lcid"},
      {"-*", 0, "-SQLLOG=x", "-char_set=latin1"},  // the first match wins
      {"-nolock_off", 0, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    char* arg = nullptr;
    char* value = nullptr;
    long found = osl_sys_has_arg_and_value(c.pattern, c.case_sensitive, &arg, &value);
    EXPECT_EQ(found, c.argument != nullptr ? 1 : 0);
    EXPECT_EQ(arg ? std::string(arg) : "<null>", c.argument ? c.argument : "<null>");
    EXPECT_EQ(value ? std::string(value) : "<null>", c.value ? c.value : "<null>");
    char* arg2 = nullptr;
    EXPECT_EQ(osl_sys_has_arg(c.pattern, c.case_sensitive, &arg2), found);
    EXPECT_EQ(arg2, arg);
  }
}

// The strings the OS layer builds while it works (an option name, the words
// of a configured command) come from the heap cover: fail-test mode reaches
// them, and running out of memory is the layer's failure status with a
// message, never an exception.
TEST_F(OslArgsTest, WorkingStringsRunOutOfMemoryAsAStatus) {
  core_write_file("orbisan.env", "ORB_EDIT=/nonexistent/an_editor_with_a_long_name -x\n");
  SetArgs({"prog", "-a_rather_long_option_name", "on"});
  ASSERT_EQ(Get("ORB_EDIT"), "/nonexistent/an_editor_with_a_long_name -x");  // the store is read

  osl_mem_reset_fail_num();  // the next allocation fails
  char* value = reinterpret_cast<char*>(1);
  long st = osl_sys_find_arg("a_rather_long_option_name", &value);
  osl_mem_disable_fail_mode();
  EXPECT_EQ(st, 1);
  EXPECT_EQ(value, nullptr);
  EXPECT_NE(Messages().find("osl_sys_find_arg: cannot allocate memory for option 'a_rather_long_option_name'\n"),
            std::string::npos);

  osl_mem_reset_fail_num();
  st = osl_sys_edit("some_file.txt");
  osl_mem_disable_fail_mode();
  EXPECT_EQ(st, 1);
  EXPECT_NE(Messages().find("osl_sys: cannot allocate memory for the command of 'ORB_EDIT'\n"), std::string::npos);

  // With memory both work: the option is found, the program cannot be started.
  ASSERT_EQ(osl_sys_find_arg("a_rather_long_option_name", &value), 0);
  EXPECT_STREQ(value, "on");
  EXPECT_EQ(osl_sys_edit("some_file.txt"), 127);
}

TEST_F(OslArgsTest, FindArgOptionsAndFallback) {
  core_write_file("orbisan.env", "LOGIN_NAME=file_user\nDB_PASSWORD=file_pw\nVERBOSE=file\n");
  SetArgs({"prog", "-USER_NAME", "alice", "-password", "secret", "-Mode", "fast", "-verbose"});
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"login_name", "alice"}, {"LOGIN_NAME", "alice"}, {"db_password", "secret"},
      {"mode", "fast"},        {"verbose", "TRUE"},     {"missing", nullptr},
  };
  for (const auto& c : cases) {
    char* value = reinterpret_cast<char*>(1);
    EXPECT_EQ(osl_sys_find_arg(c.name, &value), 0) << c.name;
    EXPECT_EQ(value ? std::string(value) : "<null>", c.expected ? c.expected : "<null>") << c.name;
  }
  // Without arguments the configuration string of the name in upper case answers.
  osl_sys_set_cmd_args(0, nullptr);
  const struct {
    const char* name;
    const char* expected;
  } fallback[] = {{"login_name", "file_user"}, {"db_password", "file_pw"}, {"verbose", "file"}};
  for (const auto& c : fallback) {
    char* value = nullptr;
    EXPECT_EQ(osl_sys_find_arg(c.name, &value), 0) << c.name;
    EXPECT_EQ(value ? std::string(value) : "<null>", c.expected) << c.name;
  }
}

}  // namespace
