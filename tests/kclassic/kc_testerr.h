// Catching the KErr a call throws by pointer, for tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "kclassic/kc_err.h"

namespace kctest {

struct Thrown {
  bool thrown = false;
  long id = 0;
  std::string method;
  std::vector<std::string> params;
};

// Runs f and reports the KErr it threw (deleting it); thrown is false when
// f returned.
template <class F>
Thrown catchKErr(F&& f) {
  Thrown t;
  try {
    f();
  } catch (KCLASSIC::KErr* e) {
    t.thrown = true;
    t.id = e->GetErrorNum();
    t.method = static_cast<const char*>(e->GetMethodName());
    for (int i = 0; i < e->GetParamCount(); ++i) t.params.push_back(static_cast<const char*>(e->GetParam(i)));
    delete e;
  }
  return t;
}

// Runs f, which must throw a KErr*; returns it (owned by the caller). A
// call that returns is a test failure (an empty error comes back).
template <class F>
std::unique_ptr<KCLASSIC::KErr> thrown(F f) {
  try {
    f();
  } catch (KCLASSIC::KErr* e) {
    return std::unique_ptr<KCLASSIC::KErr>(e);
  }
  ADD_FAILURE() << "no KErr thrown";
  return std::make_unique<KCLASSIC::KErr>();
}

// The error's code, method and its one insert (none when insert is null).
inline void expectErr(const KCLASSIC::KErr& e, long code, const char* method, const char* insert) {
  EXPECT_EQ(e.GetErrorNum(), code);
  EXPECT_STREQ(e.GetMethodName(), method);
  if (insert) {
    ASSERT_EQ(e.GetParamCount(), 1);
    EXPECT_STREQ(e.GetParam(0), insert);
  } else {
    EXPECT_EQ(e.GetParamCount(), 0);
  }
}

} // namespace kctest
