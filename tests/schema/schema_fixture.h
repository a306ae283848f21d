// Set-up shared by the schema suites: the core runtime and the TYP module
// started once per process, a fresh model and adapter double per test, and
// small builders of types, fields and relations.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "core/core_fixture.h"

#include "schema/typ_rec.h"

void schema_start();

class schema_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // An object type (flag 2) with the given fields, each "name" or
  // "name:flags:generic" (flags as a number).
  typ_sch_srec* object(const char* name, long type_id);
  long field(typ_sch_srec* s, const char* name, unsigned long flags = 4, long gen = -1, long data_type = 512);
  // Defines one side of a relation (type as given, no extras).
  long rel(const char* type, const char* name, long rel_type, const char* target, const char* inverse,
           long gen = -1, unsigned long flags = 0);
  // The schema of a type name (looked up again: records move when types are added).
  static typ_sch_srec* sch(const char* name);
};

// What `write` writes into a stream.
std::string schema_written(const std::function<void(FILE*)>& write);
// What the OS layer's message printer and standard output receive while `run` runs.
std::string schema_stdout_of(const std::function<void()>& run);
