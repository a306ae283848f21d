// Set-up shared by the store suites: the core runtime, the schema model and
// the object store started once per process; per test a fresh adapter
// double, an empty model and id cache, and a small dictionary.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/core_fixture.h"

#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_store.h"

struct dbs_ty_lobj;
class KAdpConnId;

// The core runtime and the schema model, once per process.
void core_start();
// core_start, then the store (once per process unless a test resets it).
void store_start();

class store_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The dictionary: type 17 "case" (object) with fields objid (generic 3),
  // title (text 25), notes (unlimited text), count (long, default 7),
  // amount (decimal), when (date), dev (long); type 18 "site" (object) with
  // objid and name; relation case2site / site2case.
  static void small_dictionary();
  // Loads the dictionary into the model through the double.
  static void load_model();
  // A new local object of a type (fails the test when it cannot be made).
  static dbs_ty_lobj* make(long type_id);
  static KAdpConnId* con() { return nullptr; }
};

std::string store_stdout_of(const std::function<void()>& run);
// A file's whole text ("" when it cannot be read).
std::string store_file_text(const std::string& path);
// The whole schema model as typ_sch_dump_all prints it.
std::string store_model_dump();
