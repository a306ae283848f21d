// OrbisanUtilityFn: moving values between parameter records and arrays.
#include <cstdio>
#include <cstring>

#include "connector/conn_util.h"

namespace {

constexpr int CONN_SETUP_IN = 1;
constexpr int CONN_SETUP_OUT = 2;

void conn_param_out(const conn_ty_param& p, void** slot) {
  switch (p.type) {
    case CONN_PARAM_LONG: *static_cast<long*>(*slot) = *static_cast<const long*>(p.value); break;
    case CONN_PARAM_FLOAT: *static_cast<float*>(*slot) = *static_cast<const float*>(p.value); break;
    case CONN_PARAM_POINTER:
    case CONN_PARAM_LONG_POINTER: *slot = p.value; break;
    case CONN_PARAM_TEXT:
      if (p.size > 0)
        snprintf(static_cast<char*>(*slot), static_cast<size_t>(p.size), "%s",
                 static_cast<const char*>(p.value));
      break;
    default: break;
  }
}

}  // namespace

long OrbisanUtilityFn::setup_data(conn_ty_param* params, long count, void** values, long start,
                                  long* sizes, int mode) {
  if (mode == CONN_SETUP_IN) {
    for (long i = start; i < count; ++i) {
      if (params[i].size != sizes[i]) return -1;
      params[i].value = values[i];
    }
  } else if (mode == CONN_SETUP_OUT) {
    for (long i = start; i < count; ++i) {
      sizes[i] = params[i].size;
      conn_param_out(params[i], &values[i]);
    }
  }
  return 0;
}
