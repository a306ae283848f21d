// The connector tests' fixture: a fresh globals object published to the
// framework, empty properties and journal, the client double reset, and a
// scratch working directory (for "orbisan.err" and dump files).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "connector/conn_globals.h"
#include "connector/conn_handler.h"
#include "cpi_double.h"

class conn_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The one handler of the globals.
  GenBOHandler* handler() { return static_cast<GenBOHandler*>(globals->getBOHandlerforBO(nullptr)); }
  // As after a successful login.
  void connect() { globals->connectionId = 7; }
  // Journal lines of one kind; LOG lines with their type, TRACE with level.
  std::vector<std::string> logs() const;
  std::vector<std::string> traces() const;
  // Whether some journal line (log or trace) starts with `prefix`.
  bool journal_has(const std::string& prefix) const;
  // Whole file text ("" when missing).
  static std::string file_text(const std::filesystem::path& p);

  OrbisanGlobals* globals = nullptr;
  std::filesystem::path dir;

 private:
  GenGlobals* previous_ = nullptr;
  std::filesystem::path old_cwd_;
};

// A business-object type for a test: attributes given as {name, app text},
// all strings unless `object_type` names a child type (then `multiple` says
// whether it holds a container).
struct conn_attr_def {
  const char* name;
  const char* app_text;
  unsigned flags = 0;
  const char* object_type = nullptr;
};
BusObjSpec* conn_define(const char* name, const char* app_text,
                        const std::vector<conn_attr_def>& attrs);
