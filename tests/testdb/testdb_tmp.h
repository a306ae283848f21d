// Temporary files and folders of the tests.
//
// Under ctest every test runs with TMPDIR set to the run's own folder (the
// ctest fixture "TestTmp", testdb_tmp.sh): cleared when a run starts and
// removed when it ends, so a test that crashes or is killed before it
// cleans up leaves nothing behind in /tmp. A program run by hand, without
// TMPDIR, uses /tmp. Header only: any test program may include it.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace testdb {

// The folder that holds the tests' temporary files, without a trailing '/'.
inline std::string tmp_dir() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = (dir != nullptr && *dir != '\0') ? dir : "/tmp";
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Creates an empty file <tmp_dir()>/<stem>XXXXXX and returns its name; empty
// when it cannot be made. The caller removes it.
inline std::string tmp_file(const std::string& stem) {
  std::string path = tmp_dir() + "/" + stem + "XXXXXX";
  const int fd = ::mkstemp(path.data());
  if (fd < 0) return std::string();
  ::close(fd);
  return path;
}

// Creates a folder <tmp_dir()>/<stem>XXXXXX and returns its name; empty when
// it cannot be made. The caller removes it.
inline std::string tmp_folder(const std::string& stem) {
  std::string path = tmp_dir() + "/" + stem + "XXXXXX";
  if (::mkdtemp(path.data()) == nullptr) return std::string();
  return path;
}

// The run's folder for what its tests may share (each name made by one
// test and only read by the others, e.g. a costly input compiled once per
// run), without a trailing '/'; empty outside ctest (ORB_TEST_SHARED_DIR,
// made and removed with the run's temporary folder).
inline std::string shared_dir() {
  const char* dir = std::getenv("ORB_TEST_SHARED_DIR");
  std::string path = dir != nullptr ? dir : "";
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace testdb
