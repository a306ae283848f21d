// Catching the KErr a call throws, for the class-library tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "kclassic/kc_err.h"

namespace kctest {

// Runs f, which must throw a KErr*; returns it (owned by the caller).
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
