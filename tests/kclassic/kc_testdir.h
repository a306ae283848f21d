// A private temporary directory for file tests, removed with its content.
#pragma once

#include <string>

namespace kctest {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  // path() + "/" + name
  std::string file(const std::string& name) const { return m_path + "/" + name; }
  // Writes content to the named file.
  void write(const std::string& name, const std::string& content) const;
  // The named file's bytes ("" when missing).
  std::string read(const std::string& name) const;

 private:
  std::string m_path;
};

// Sets an environment variable (or unsets it for nullptr) for the life of
// the object, then restores it.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value);
  ~EnvVar();
  EnvVar(const EnvVar&) = delete;
  EnvVar& operator=(const EnvVar&) = delete;

 private:
  std::string m_name;
  std::string m_old;
  bool m_had;
};

} // namespace kctest
