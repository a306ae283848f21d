#include "kc_testdir.h"

#include <ctime>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kctest {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "kctest.XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  m_path = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

void TempDir::write(const std::string& name, const std::string& content) const {
  std::ofstream f(file(name), std::ios::binary | std::ios::trunc);
  f << content;
}

std::string TempDir::read(const std::string& name) const {
  std::ifstream f(file(name), std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

EnvVar::EnvVar(const char* name, const char* value) : m_name(name) {
  const char* old = ::getenv(name);
  m_had = old != nullptr;
  if (old) m_old = old;
  if (value) ::setenv(name, value, 1);
  else ::unsetenv(name);
  if (m_name == "TZ") ::tzset();  // the C library reads the zone again
}

EnvVar::~EnvVar() {
  if (m_had) ::setenv(m_name.c_str(), m_old.c_str(), 1);
  else ::unsetenv(m_name.c_str());
  if (m_name == "TZ") ::tzset();
}

} // namespace kctest
