// Set-up of the schema compiler suites: object type ranges registered once,
// schema texts written to files and compiled, and the output captured.
#pragma once

#include <string>

#include "schema_fixture.h"

class bld_test : public schema_test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Compiles `text` (written to a file) with `options`; the status, with
  // what was printed in *out when given.
  long compile(const std::string& text, unsigned long options = 0, std::string* out = nullptr);
  // The whole compile of `text` in direct mode (write mode 0); output dropped.
  long compile_direct(const std::string& text);
  // The generic field positions of a type, and one field by name.
  static const typ_sch_frec* fld(const char* type, const char* name);

  std::string path_;
  std::string last_out_;
};

// A minimal valid object definition of `name` with type id `id`.
std::string bld_obj(const std::string& name, long id, const std::string& extra_fields = "",
                    const std::string& tail = "");
