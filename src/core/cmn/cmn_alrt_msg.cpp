// Message texts of alert codes, without pushing the alert itself.
#include <cstdio>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_alrt_int.h"
#include "core/cmn/cmn_subs.h"
#include "core/loc/loc_str.h"
#include "core/osl/osl_print.h"

bool cmn_alrt_valid_subs(long code) {
  long subs = cmn_alrt_code_subs(code);
  return subs >= 1 && subs <= CMN_SUBS_NUM_ROWS;
}

namespace {

// A code whose subsystem cannot be looked up: pushes 0x100007.
long bad_subsystem(long code) {
  cmn_alrt_push(nullptr, "cmn_alrt_get_msg", CMN_ALRT_BAD_SUBSYSTEM, 2, cmn_alrt_code_subs(code),
                static_cast<unsigned>(code));
  return CMN_ALRT_BAD_SUBSYSTEM;
}

}  // namespace

long cmn_alrt_get_str(long subsystem, long index, const char** text, long* nargs, long* argflag) {
  long rc = loc_str_get_str(subsystem, index, text, nargs, argflag);
  if (rc != 0) {
    osl_print_mes("Could not retrieve messages for subsystem '%s'\n", cmn_subs_name(subsystem));
  }
  return rc;
}

long cmn_alrt_get_msg_info(long code, const char** text, long* nargs, long* argflag) {
  if (!cmn_alrt_valid_subs(code)) return bad_subsystem(code);
  return cmn_alrt_get_str(cmn_alrt_code_subs(code), cmn_alrt_code_index(code), text, nargs, argflag);
}

long cmn_alrt_get_msg(long code, const char** text) {
  return cmn_alrt_get_msg_info(code, text, nullptr, nullptr);
}

long cmn_alrt_get_messages(long n, const long* codes, const char** texts) {
  for (long i = 0; i < n; ++i) {
    long rc = cmn_alrt_get_msg(codes[i], texts != nullptr ? &texts[i] : nullptr);
    if (rc != 0) return rc;
  }
  return 0;
}

long cmn_alrt_get_msg_and_clear(long code, const char** text) {
  long rc = cmn_alrt_get_msg(code, text);
  if (rc != 0) cmn_alrt_clear(nullptr);
  return rc;
}

const char* cmn_alrt_get(long code) {
  if (!cmn_alrt_valid_subs(code)) {
    bad_subsystem(code);
    return "UNKNOWN alert code";
  }
  const char* text = nullptr;
  if (cmn_alrt_get_msg(code, &text) != 0) return "CANT FIND message (but valid code)";
  return text;
}

namespace {

const char* fallback(long code) {
  std::snprintf(cmn_alrt_err_buf, sizeof cmn_alrt_err_buf, "Cannot retrieve message with '%s' code 0x%lx.\n",
                cmn_alrt_subs_name(code), code);
  return cmn_alrt_err_buf;
}

}  // namespace

const char* cmn_alrt_ret_msg(long code) {
  const char* text = nullptr;
  if (cmn_alrt_get_msg(code, &text) != 0) return fallback(code);
  return text;
}

long cmn_alrt_print_msg(long code) {
  osl_print_mes("%s", cmn_alrt_ret_msg(code));
  return 0;
}

long cmn_alrt_vget_fmsg(long code, long size, char* buffer, va_list args) {
  if (!cmn_alrt_valid_subs(code)) return bad_subsystem(code);
  if (loc_str_vformat_str(cmn_alrt_code_subs(code), cmn_alrt_code_index(code), size, buffer, args) != 0) {
    cmn_alrt_push(nullptr, "cmn_alrt_get_fmsg", CMN_ALRT_CANNOT_FORMAT, 1, static_cast<unsigned>(code));
    return CMN_ALRT_CANNOT_FORMAT;
  }
  return 0;
}

long cmn_alrt_get_fmsg(long code, long size, char* buffer, ...) {
  va_list args;
  va_start(args, buffer);
  long rc = cmn_alrt_vget_fmsg(code, size, buffer, args);
  va_end(args);
  return rc;
}

namespace {

long ret_fmsg(long code, va_list args) {
  long rc = cmn_alrt_vget_fmsg(code, CMN_ALRT_BUF_SIZE - 1, cmn_alrt_err_buf, args);
  if (rc != 0) fallback(code);
  return rc;
}

}  // namespace

const char* cmn_alrt_ret_fmsg(long code, ...) {
  va_list args;
  va_start(args, code);
  ret_fmsg(code, args);
  va_end(args);
  return cmn_alrt_err_buf;
}

long cmn_alrt_print_fmsg(long code, ...) {
  va_list args;
  va_start(args, code);
  long rc = ret_fmsg(code, args);
  va_end(args);
  osl_print_mes("%s", cmn_alrt_err_buf);
  return rc;
}

const char* cmn_alrt_subs_name(long code) { return cmn_subs_name(cmn_alrt_code_subs(code)); }
