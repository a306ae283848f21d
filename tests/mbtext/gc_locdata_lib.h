// The library started over the generated locale data directory (its path is
// given to the tests of that data by the build as GC_TEST_LOCALEDIR), and
// glibc's iconv as the reference for conversions.
#pragma once

#include <gtest/gtest.h>

#include <iconv.h>
#include <locale.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "mbtext/gc_locale.h"
#include "mbtext/gc_obj.h"
#include "mbtext/gc_obj_int.h"
#include "mbtext/gc_types.h"
#include "testdb/testdb_tmp.h"

#ifndef GC_TEST_LOCALEDIR
#error "GC_TEST_LOCALEDIR (the generated locale data directory) is not defined"
#endif

namespace gctest {

// Starts the library on the generated data through GC_LOCALEDIR, without
// built-in fallbacks, so that missing or unreadable data fails the test.
class LocDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::setenv("GC_LOCALEDIR", GC_TEST_LOCALEDIR, 1), 0);
    ASSERT_EQ(GCInit(nullptr, nullptr, nullptr, nullptr, GC_INIT_NO_FALLBACK), 0u)
        << "no usable locale data in " << GC_TEST_LOCALEDIR;
    started_ = true;
  }
  void TearDown() override {
    if (started_) GCTerm();
  }

  // A code-page object of the generated directory, loaded.
  static const GCObj* codePage(const char* name) {
    uint32_t st = 99;
    const GCObj* cp = GCGetObjFromName(gcObjManager(), GC_CLASS_CODEPAGE, name, -1, GC_FIND_LOAD, &st);
    EXPECT_EQ(st, 0u) << name;
    return cp;
  }

 private:
  bool started_ = false;
};

// One direction of an iconv converter.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) ::iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // The whole input converted (with the closing shift sequence), or false.
  bool convert(const std::string& in, std::string* out) {
    ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string buf(in.size() * 4 + 16, '\0');
    char* ip = const_cast<char*>(in.data());
    size_t il = in.size();
    char* op = buf.data();
    size_t ol = buf.size();
    if (::iconv(cd_, &ip, &il, &op, &ol) == size_t(-1) || il != 0) return false;
    if (::iconv(cd_, nullptr, nullptr, &op, &ol) == size_t(-1)) return false;
    out->assign(buf.data(), size_t(op - buf.data()));
    return true;
  }

 private:
  iconv_t cd_;
};

// A glibc locale compiled by localedef (UTF-8) into a temporary directory
// and loaded through LOCPATH; the directory goes with the object. Under
// ctest a compiled locale is kept in the run's shared folder
// (testdb::shared_dir) and the other tests of the same sources load it from
// there instead of compiling it again.
class GlibcLocale {
 public:
  GlibcLocale() {
    dir_ = testdb::tmp_folder("gcglibc");
  }
  ~GlibcLocale() {
    if (loc_) ::freelocale(loc_);
    ::unsetenv("LOCPATH");
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }
  GlibcLocale(const GlibcLocale&) = delete;
  GlibcLocale& operator=(const GlibcLocale&) = delete;

  const std::string& dir() const { return dir_; }
  // Compiles the first of the sources (locale names or files) that localedef
  // accepts (warnings allowed) and loads it; false when none does.
  bool load(const std::vector<std::string>& sources) {
    if (dir_.empty()) return false;
    const std::string key = cacheKey(sources);
    const std::string cached = cachedFolder(key);
    if (!cached.empty()) return open(cached);
    for (const std::string& src : sources) {
      const std::string cmd =
          "localedef --no-archive -c -i " + src + " -f UTF-8 " + dir_ + "/" + kName + " >/dev/null 2>&1";
      const int rc = std::system(cmd.c_str());
      if (WIFEXITED(rc) && WEXITSTATUS(rc) <= 1) {
        keep(key);
        return open(dir_);
      }
    }
    return false;
  }
  locale_t get() const { return loc_; }

 private:
  static constexpr const char* kName = "test.UTF-8";
  static constexpr const char* kKeyFile = "sources.txt";

  // What the compiled locale is made of: each source's name or, for a
  // source file (a path), its text (the path is the test's own folder).
  static std::string cacheKey(const std::vector<std::string>& sources) {
    std::string key;
    for (const std::string& src : sources) {
      if (src.find('/') == std::string::npos) {
        key += "locale " + src + "\n";
        continue;
      }
      std::ifstream in(src, std::ios::binary);
      key += "file\n" + std::string(std::istreambuf_iterator<char>(in), {}) + "\n";
    }
    return key;
  }
  static std::string cachePath(const std::string& key) {
    const std::string shared = testdb::shared_dir();
    if (shared.empty()) return std::string();
    return shared + "/glibc-" + std::to_string(std::hash<std::string>{}(key));
  }
  // The run's compiled locale of these sources, or empty.
  static std::string cachedFolder(const std::string& key) {
    const std::string path = cachePath(key);
    std::ifstream in(path + "/" + kKeyFile, std::ios::binary);
    if (path.empty() || !in) return std::string();
    return std::string(std::istreambuf_iterator<char>(in), {}) == key ? path : std::string();
  }
  // Copies the compiled locale into the shared folder: staged under a
  // folder of its own, then renamed into place, so that a reader never sees
  // it half copied (when two tests compile it at once, the first wins).
  void keep(const std::string& key) const {
    const std::string path = cachePath(key);
    if (path.empty()) return;
    std::string staged = testdb::shared_dir() + "/stagingXXXXXX";
    if (::mkdtemp(staged.data()) == nullptr) return;
    std::error_code ec;
    std::filesystem::copy(dir_ + "/" + kName, staged + "/" + kName, std::filesystem::copy_options::recursive, ec);
    if (!ec) {
      std::ofstream(staged + "/" + kKeyFile, std::ios::binary) << key;
      std::filesystem::rename(staged, path, ec);
    }
    if (ec) std::filesystem::remove_all(staged, ec);
  }
  bool open(const std::string& folder) {
    if (::setenv("LOCPATH", folder.c_str(), 1) != 0) return false;
#if defined(__SANITIZE_ADDRESS__)
    __lsan::ScopedDisabler glibc_keeps_its_path_list;
#endif
    loc_ = ::newlocale(LC_ALL_MASK, kName, locale_t(0));
    return loc_ != locale_t(0);
  }

  std::string dir_;
  locale_t loc_ = locale_t(0);
};

} // namespace gctest
