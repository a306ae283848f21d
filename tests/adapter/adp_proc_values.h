// Typed procedure values for the procedure-call suites: the type ids, counts
// passed in untyped arguments, floats in the value word, and pointers.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/cmn/cmn_val.h"

namespace adp_proc_values {

constexpr long kLong = 512, kShort = 513, kFloat = 514, kText = 516, kClk = 609;

// A count as adp_sql_execute_proc takes it.
inline void* word(long n) { return reinterpret_cast<void*>(static_cast<intptr_t>(n)); }

inline float float_of(const cmn_ty_value& v) {
  float f = 0;
  std::memcpy(&f, &v.value, sizeof f);
  return f;
}

inline cmn_ty_value float_value(float f) {
  cmn_ty_value v{kFloat, 0};
  std::memcpy(&v.value, &f, sizeof f);
  return v;
}

template <class T>
cmn_ty_value pointer_value(long type, T* p) {
  return cmn_ty_value{type, reinterpret_cast<long>(p)};
}

}  // namespace adp_proc_values
