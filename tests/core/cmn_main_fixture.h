// Start of the whole cmn module (cmn_main_init) and the utility layer, for
// the suites of the built-in methods, run-time types, operators, formats and
// collection set operations.
#pragma once

#include <gtest/gtest.h>

// cmn_main_init then utl_main_init, once per generation of the runtime's
// registrations (see core_fixture.h): a test of another suite in the same
// process may have put the registry back as compiled in or emptied the
// message lists.
void core_start_runtime();

// A test on the started runtime with an empty alert stack.
class core_runtime_test : public ::testing::Test {
 protected:
  void SetUp() override;
};
