// External commands named by configuration strings: the caller's arguments
// reach the program as single arguments and are never run as shell text.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "core/core_fixture.h"
#include "core/osl/osl_print.h"
#include "core/osl/osl_sys.h"
#include "core/osl/osl_sys_cfg.h"

namespace fs = std::filesystem;

namespace {

// A fresh working directory, HOME and configuration store, and a recording
// program: "rec.sh OUT CODE" writes each further argument as "[arg]" lines
// into OUT and exits with CODE.
class OslCmdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.make("osl_cmd"));
    root_ = scratch_.path();
    scratch_.enter(root_, root_);
    osl_print_set_msg_mode(0);
    Release();
    for (const char* k : {"ORB_EDIT", "ORB_GRAPH", "ORB_FAX"}) unsetenv(k);
    script_ = root_ / "rec.sh";
    std::ofstream(script_) << "#!/bin/sh\n"
                              "out=\"$1\"; code=\"$2\"; shift 2\n"
                              ": > \"$out\"\n"
                              "for a in \"$@\"; do printf '[%s]\\n' \"$a\" >> \"$out\"; done\n"
                              "if [ \"$code\" = kill ]; then kill -TERM $$; fi\n"
                              "exit \"$code\"\n";
    chmod(script_.c_str(), 0755);
    out_ = root_ / "out.txt";
  }

  void TearDown() override {
    for (const char* k : {"ORB_EDIT", "ORB_GRAPH", "ORB_FAX"}) unsetenv(k);
    Release();
    osl_print_set_msg_mode(1);
  }

  void Release() {
    osl_sys_save_config_strings(1);
    std::error_code ec;
    fs::remove(root_ / "orbisan.env", ec);
  }

  std::string Command(const std::string& code) {
    return script_.string() + " " + out_.string() + " " + code;
  }

  std::optional<std::string> Recorded() { return core_read_file(out_); }

  core_scratch_dir scratch_;
  fs::path root_, script_, out_;
};

TEST_F(OslCmdTest, ShellTextInArgumentsIsNotExecuted) {
  const std::string pwned = (root_ / "pwned").string();
  const std::string cases[] = {
      "x; touch " + pwned,
      "$(touch " + pwned + ")",
      "`touch " + pwned + "`",
      "a b && touch " + pwned + " | cat > " + pwned,
      "'quoted' \"double\" \\ back",
      "",
  };
  ASSERT_EQ(osl_sys_set_config_string("ORB_EDIT", Command("0").c_str(), 0), 0);
  ASSERT_EQ(osl_sys_set_config_string("ORB_GRAPH", Command("0").c_str(), 0), 0);
  for (const std::string& arg : cases) {
    SCOPED_TRACE(arg);
    EXPECT_EQ(osl_sys_edit(arg.c_str()), 0);
    EXPECT_EQ(Recorded(), "[" + arg + "]\n");
    EXPECT_EQ(osl_sys_graph(arg.c_str()), 0);
    EXPECT_EQ(Recorded(), "[" + arg + "]\n");
    EXPECT_FALSE(fs::exists(pwned));
  }
}

TEST_F(OslCmdTest, FaxPassesThreeArguments) {
  const std::string pwned = (root_ / "pwned").string();
  ASSERT_EQ(osl_sys_set_config_string("ORB_FAX", Command("0").c_str(), 0), 0);
  const std::string b = "doc;touch " + pwned;
  const std::string c = "> " + pwned;
  EXPECT_EQ(osl_sys_fax("555 1234", b.c_str(), c.c_str()), 0);
  EXPECT_EQ(Recorded(), "[555 1234]\n[" + b + "]\n[" + c + "]\n");
  EXPECT_FALSE(fs::exists(pwned));
  EXPECT_EQ(osl_sys_fax("a", nullptr, "c"), 0);  // a null argument keeps its place
  EXPECT_EQ(Recorded(), "[a]\n[]\n[c]\n");
}

TEST_F(OslCmdTest, ResultIsTheProgramsExitStatus) {
  const struct {
    const char* code;
    long expected;
  } cases[] = {{"0", 0}, {"3", 3}, {"1", 1}, {"200", 200}, {"kill", 128 + 15}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(osl_sys_set_config_string("ORB_EDIT", Command(c.code).c_str(), 0), 0);
    EXPECT_EQ(osl_sys_edit("f"), c.expected);
    EXPECT_EQ(Recorded(), "[f]\n");
  }
}

TEST_F(OslCmdTest, ConfiguredCommandSplitsOnBlanks) {
  std::string cmd = "  " + script_.string() + " \t " + out_.string() + "   0  -own  ";
  ASSERT_EQ(osl_sys_set_config_string("ORB_GRAPH", cmd.c_str(), 0), 0);
  EXPECT_EQ(osl_sys_graph("file"), 0);
  EXPECT_EQ(Recorded(), "[-own]\n[file]\n");
}

TEST_F(OslCmdTest, SettingFromTheEnvironmentAndTheFile) {
  setenv("ORB_EDIT", Command("4").c_str(), 1);
  EXPECT_EQ(osl_sys_edit("e"), 4);
  EXPECT_EQ(Recorded(), "[e]\n");
  Release();
  std::ofstream(root_ / "orbisan.env") << "orb_edit=" << Command("5") << "\n";
  EXPECT_EQ(osl_sys_edit("f"), 5);  // the file beats the environment
}

TEST_F(OslCmdTest, AbsentOrEmptySettingGivesOne) {
  EXPECT_EQ(osl_sys_edit("f"), 1);
  EXPECT_EQ(osl_sys_graph("f"), 1);
  EXPECT_EQ(osl_sys_fax("a", "b", "c"), 1);
  ASSERT_EQ(osl_sys_set_config_string("ORB_EDIT", "", 0), 0);
  ASSERT_EQ(osl_sys_set_config_string("ORB_FAX", "  \t ", 0), 0);
  EXPECT_EQ(osl_sys_edit("f"), 1);
  EXPECT_EQ(osl_sys_fax("a", "b", "c"), 1);
  EXPECT_EQ(Recorded(), std::nullopt);
}

TEST_F(OslCmdTest, ProgramThatCannotStartGives127) {
  ASSERT_EQ(osl_sys_set_config_string("ORB_EDIT", "/nonexistent/osl-editor", 0), 0);
  EXPECT_EQ(osl_sys_edit("f"), 127);
}

TEST_F(OslCmdTest, ProgramIsFoundOnThePath) {
  ASSERT_EQ(osl_sys_set_config_string("ORB_EDIT", "true", 0), 0);
  EXPECT_EQ(osl_sys_edit("f"), 0);
  ASSERT_EQ(osl_sys_set_config_string("ORB_EDIT", "false", 0), 0);
  EXPECT_EQ(osl_sys_edit("f"), 1);
}

}  // namespace
