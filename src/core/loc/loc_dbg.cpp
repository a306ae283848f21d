#include "core/loc/loc_dbg.h"

#include "core/osl/osl_print.h"

long loc_dbg_dlevel = -1;

namespace {
loc_ty_dbg_proc loc_dbg_proc = nullptr;
}

long loc_dbg_set_topic(const char*, long level, loc_ty_dbg_proc proc) {
  loc_dbg_dlevel = level;
  loc_dbg_proc = proc;
  return 0;
}

long loc_dbg_print(const char* topic, long level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  long rc = 0;
  if (loc_dbg_proc != nullptr) {
    va_list copy;
    va_copy(copy, args);
    rc = loc_dbg_proc(topic, level, format, copy);
    va_end(copy);
  }
  // Without a procedure, or when it leaves the text to us.
  if (rc == 0 && level <= loc_dbg_dlevel && format != nullptr) {
    osl_print_mes("%s: ", "loc_dbg_print");
    osl_print_vmes(format, args);
  }
  va_end(args);
  return rc;
}
