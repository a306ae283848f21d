// How the locale layer calls the class library's multibyte functions
// (KCLASSIC::k*): an error object thrown by one of them is freed here and
// the call gives its fallback, so no exception leaves a procedural call.
//
// Threads: keeps no state of its own: as safe as the class-library call it wraps.
#pragma once

#include <utility>

#include "kclassic/kc_err.h"

// The error code of a failed k call, or 0 when something other than the
// library's error object was thrown.
template <class Call, class Fallback>
auto loc_kc_call(Call&& call, Fallback&& fallback, long* error = nullptr) -> decltype(call()) {
  try {
    return call();
  } catch (KCLASSIC::KErr* e) {
    if (error != nullptr) *error = e->GetErrorNum();
    delete e;
  } catch (...) {
    if (error != nullptr) *error = 0;
  }
  return fallback();
}

// A character given as a long: a single byte (also when sign-extended from
// a char) as 0..255, a packed multibyte character (lead byte highest) as is.
inline unsigned loc_kc_char(long c) {
  if (c < 0 || c <= 0xFF) return static_cast<unsigned>(c & 0xFF);
  return static_cast<unsigned>(c);
}
