#include "core/core_fixture.h"

#include <stdlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_str.h"
#include "core/cmn/cmn_subs.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/cmn/cmn_typ_int.h"
#include "core/osl/osl_file.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_main.h"
#include "core/utl/utl_mem.h"
#include "core/utl/utl_msg.h"
#include "testdb/testdb_tmp.h"

namespace fs = std::filesystem;

namespace {
long g_cmn_generation = 0;
}  // namespace

long core_cmn_generation() { return g_cmn_generation; }

void core_cmn_restarted() { ++g_cmn_generation; }

void core_restart_cmn() {
  core_cmn_restarted();
  ASSERT_EQ(cmn_typ_init(), 0);
  ASSERT_EQ(cmn_subs_init(), 0);
  ASSERT_EQ(cmn_str_init(), 0);
  ASSERT_EQ(cmn_alrt_init(), 0);
}

void core_fresh_cmn() {
  // The procedures a started runtime installs (the utility layer's memory,
  // the run-time record types, the built-in methods) go too: none is
  // compiled in.
  cmn_typ_install_mem_procs(nullptr, nullptr);
  cmn_typ_install_dyn_procs(nullptr, nullptr, nullptr);
  cmn_typ_install_dyn_conv_lookup(nullptr);
  cmn_typ_install_builtin_methods_proc(nullptr);
  ASSERT_EQ(cmn_typ_reset(), 0);
  core_restart_cmn();
}

void core_start_cmn() {
  static long started = -1;
  if (started == g_cmn_generation) return;
  core_restart_cmn();
  started = g_cmn_generation;
}

void core_start_utl() {
  static long started = -1;
  if (started == g_cmn_generation) return;
  core_start_cmn();
  ASSERT_EQ(utl_main_init(), 0);
  started = g_cmn_generation;
}

void core_utl_env::SetUp() { core_start_utl(); }

void core_utl_test::SetUp() { cmn_alrt_clear(nullptr); }

void core_utl_test::TearDown() {
  osl_mem_disable_fail_mode();
  release();
  utl_mem_emergy(nullptr);
}

long core_str_len(const void* e) { return static_cast<long>(std::strlen(static_cast<const char*>(e))) + 1; }

long core_str_cmp(const void* a, const void* b) {
  return std::strcmp(static_cast<const char*>(a), static_cast<const char*>(b));
}

long core_long_cmp(const void* a, const void* b) {
  long x = *static_cast<const long*>(a), y = *static_cast<const long*>(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

void core_install_string_methods() {
  cmn_ty_length_proc len = nullptr;
  cmn_ty_compare_proc cmp = nullptr;
  cmn_typ_info(516, nullptr, nullptr, nullptr, nullptr, &len, &cmp, nullptr, nullptr);
  if (!len || !cmp) cmn_typ_install(516, -1, -1, nullptr, -1, core_str_len, core_str_cmp, nullptr, nullptr);
}

void core_install_long_compare() {
  cmn_ty_compare_proc cmp = nullptr;
  cmn_typ_info(512, nullptr, nullptr, nullptr, nullptr, nullptr, &cmp, nullptr, nullptr);
  if (!cmp) cmn_typ_install(512, -1, -1, nullptr, -1, nullptr, core_long_cmp, nullptr, nullptr);
}

long core_num_alerts() {
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  return n;
}

long core_top_alert_code() {
  long code = 0;
  if (core_num_alerts() == 0) return 0;
  cmn_alrt_top(nullptr, &code, nullptr);
  return code;
}

std::string core_top_alert_text() {
  long code = 0;
  const char* text = nullptr;
  if (core_num_alerts() == 0) return "";
  cmn_alrt_top(nullptr, &code, &text);
  return text ? text : "";
}

std::vector<long> core_alert_codes() {
  std::vector<long> out;
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  for (long i = 0; i < n; ++i) {
    long code = 0;
    cmn_alrt_ith(nullptr, i, &code, nullptr);
    out.push_back(code);
  }
  return out;
}

std::vector<std::string> core_alert_texts() {
  std::vector<std::string> out;
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  for (long i = 0; i < n; ++i) {
    const char* text = nullptr;
    cmn_alrt_ith(nullptr, i, nullptr, &text);
    out.emplace_back(text != nullptr ? text : "");
  }
  return out;
}

std::string core_alert_texts_joined(const std::string& separator) {
  const std::vector<std::string> texts = core_alert_texts();
  std::string out;
  for (size_t i = 0; i < texts.size(); ++i) out += (i == 0 ? "" : separator) + texts[i];
  return out;
}

namespace {

// Everything in a stream from its start (the stream is flushed first).
std::string stream_text(FILE* stream) {
  std::fflush(stream);
  std::rewind(stream);
  std::string all;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, stream)) > 0) all.append(buf, n);
  return all;
}

}  // namespace

std::string core_written_to(const std::function<void(FILE*)>& write) {
  char* data = nullptr;
  size_t size = 0;
  FILE* s = open_memstream(&data, &size);
  if (s == nullptr) {
    ADD_FAILURE() << "no memory stream";
    return "";
  }
  write(s);
  std::fclose(s);
  std::string out(data, size);
  std::free(data);
  return out;
}

bool core_msg_capture::start() {
  stop();
  stream_ = std::tmpfile();
  if (stream_ == nullptr) return false;
  osl_file_set_stdout(stream_);
  return true;
}

void core_msg_capture::stop() {
  if (stream_ == nullptr) return;
  osl_file_set_stdout(nullptr);
  std::fclose(stream_);
  stream_ = nullptr;
}

bool core_msg_capture::restart() { return start(); }

std::string core_msg_capture::text() const { return stream_ != nullptr ? stream_text(stream_) : ""; }

core_scratch_dir::~core_scratch_dir() {
  if (entered_) {
    std::error_code ec;
    fs::current_path(old_cwd_, ec);
    if (old_home_)
      setenv("HOME", old_home_->c_str(), 1);
    else
      unsetenv("HOME");
  }
  if (!path_.empty()) {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
}

bool core_scratch_dir::make(const char* stem) {
  path_ = testdb::tmp_folder(stem);
  return !path_.empty();
}

void core_scratch_dir::enter(const fs::path& work, const fs::path& home) {
  if (!entered_) {
    old_cwd_ = fs::current_path();
    if (const char* h = std::getenv("HOME")) old_home_ = h;
    entered_ = true;
  }
  fs::current_path(work);
  setenv("HOME", home.c_str(), 1);
}

void core_write_file(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

std::optional<std::string> core_read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void core_expect_runs_under_failing_memory(int attempts, const std::function<long()>& attempt) {
  osl_mem_reset_fail_num();
  long failures = 0, successes = 0;
  for (int i = 0; i < attempts; ++i) {
    long st = attempt();
    if (st == 0) {
      ++successes;
    } else {
      EXPECT_EQ(st, UTL_NO_MEMORY) << "attempt " << i;
      ++failures;
    }
  }
  osl_mem_disable_fail_mode();
  EXPECT_GT(failures, 2);
  EXPECT_GT(successes, 0);
}
