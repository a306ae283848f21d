// Catching the KErr a call throws by pointer, for tests.
#pragma once

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

} // namespace kctest
