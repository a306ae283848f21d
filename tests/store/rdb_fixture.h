// Set-up shared by the table-change suites: the small dictionary loaded,
// a fresh adapter double on an Oracle-like server, and both of its tables
// present with rows; the copy-size settings reset afterwards.
#pragma once

#include "store_fixture.h"

class table_change_test : public store_test {
 protected:
  void SetUp() override;
  void TearDown() override;
};
