// Set-up and helpers shared by the core runtime's test suites: starting the
// registry, subsystem table, message lists and alerts; reading the current
// alert stack; capturing the OS layer's messages; scratch directories; and
// runs under the heap cover's fail-test mode.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Each start that registers the message lists anew (emptying every list)
// begins a new generation of the runtime's registrations. Tests of other
// suites may run before in the same process: the starts below that run once
// run again when a new generation began since, so that what they registered
// is back.
long core_cmn_generation();
// Notes a start made by a test itself (cmn_main_init, cmn_str_init).
void core_cmn_restarted();

// Starts the type registry, the subsystem table, the cmn message list and
// the alerts, once per generation; later calls do nothing.
void core_start_cmn();

// Starts the same again on every call: the subsystem table and the cmn list
// are registered anew (emptying every message list), the alert stack is kept.
void core_restart_cmn();

// As core_restart_cmn, with the type registry first put back as compiled in
// (no groups, classes, installed methods or procedures left from an earlier
// test).
void core_fresh_cmn();

// core_start_cmn, then the utility layer (memory, pools, collections,
// strings, symbol tables), once per generation.
void core_start_utl();

// Starts the utility layer before a suite's first test.
class core_utl_env : public ::testing::Environment {
 public:
  void SetUp() override;
};

// A utility-layer test: it starts on an empty alert stack and ends with the
// heap cover's fail-test mode off, then release() (what the test made is
// freed and the module's settings put back), then the memory reserve taken
// again.
class core_utl_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  virtual void release() {}
};

// Length and comparison of C strings, and comparison of longs, for types
// whose registry entry has none.
long core_str_len(const void* e);
long core_str_cmp(const void* a, const void* b);
long core_long_cmp(const void* a, const void* b);

// Gives the char-pointer type (516) the two procedures above where the
// registry lacks them.
void core_install_string_methods();
// Gives the long type (512) core_long_cmp where the registry has no compare.
void core_install_long_compare();

// The current alert stack: its size, and the text of its top alert ("" when
// it is empty).
long core_num_alerts();
std::string core_top_alert_text();
long core_top_alert_code();
// Codes and texts of the alerts on the current stack, oldest first.
std::vector<long> core_alert_codes();
std::vector<std::string> core_alert_texts();
// Those texts in one, `separator` between two.
std::string core_alert_texts_joined(const std::string& separator = "");

// What `write` writes into a memory stream.
std::string core_written_to(const std::function<void(FILE*)>& write);

// The OS layer's messages, sent to a temporary file between start() and the
// end of the object (or stop()), when they go back to standard output.
class core_msg_capture {
 public:
  core_msg_capture() = default;
  core_msg_capture(const core_msg_capture&) = delete;
  core_msg_capture& operator=(const core_msg_capture&) = delete;
  ~core_msg_capture() { stop(); }

  // False when no temporary file could be made.
  bool start();
  void stop();
  // Starts again on an empty file.
  bool restart();
  // All messages since start().
  std::string text() const;
  FILE* stream() const { return stream_; }

 private:
  FILE* stream_ = nullptr;
};

// A fresh directory under /tmp, removed with all it holds at the end. While
// entered, it (or a directory in it) is the working directory and HOME; both
// are put back at the end.
class core_scratch_dir {
 public:
  core_scratch_dir() = default;
  core_scratch_dir(const core_scratch_dir&) = delete;
  core_scratch_dir& operator=(const core_scratch_dir&) = delete;
  ~core_scratch_dir();

  // Makes the directory, named from `stem`; false when it cannot be made.
  bool make(const char* stem);
  // Makes `work` the working directory and `home` the HOME directory.
  void enter(const std::filesystem::path& work, const std::filesystem::path& home);
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  bool entered_ = false;
  std::filesystem::path old_cwd_;
  std::optional<std::string> old_home_;
};

// Whole files as bytes; nullopt when the file cannot be read.
void core_write_file(const std::filesystem::path& p, const std::string& text);
std::optional<std::string> core_read_file(const std::filesystem::path& p);

// Runs `attempt` the given number of times with the heap cover's fail-test
// mode on, so that allocations fail at growing gaps. Each attempt returns 0
// or UTL_NO_MEMORY; more than two must fail and at least one succeed.
void core_expect_runs_under_failing_memory(int attempts, const std::function<long()>& attempt);
