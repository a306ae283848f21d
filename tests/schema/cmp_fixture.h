// Set-up of the schema comparison suites: two schema texts compiled as the
// database's model and the new one, compared into a difference list and a
// report text.
#pragma once

#include <string>
#include <vector>

#include "bld_fixture.h"

struct utl_ty_col;
struct utl_ty_estr;

class cmp_test : public bld_test {
 protected:
  void TearDown() override;

  // Compiles `old_text` as the database's model, then `new_text` in upgrade
  // mode, and compares them; the comparison's status.
  long diff(const std::string& old_text, const std::string& new_text, unsigned long options = 0);
  // The op codes of the list, in order.
  std::vector<long> ops() const;
  bool says(const std::string& line) const { return report.find(line) != std::string::npos; }

  utl_ty_col* list_ = nullptr;
  utl_ty_estr* report_ = nullptr;
  std::string report, printed_;
};
