// Signed decimal operations on cmn_ty_decimal.
#include "core/cmn/cmn_dec.h"

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec_int.h"

namespace {

long fail(const char* proc, long code, const cmn_ty_decimal* culprit) {
  if (code == CMN_DEC_NOT_A_NUMBER)
    cmn_alrt_push(nullptr, proc, code, 1, culprit != nullptr ? culprit->text : "");
  else
    cmn_alrt_push(nullptr, proc, code, 0);
  return code;
}

// Reads both operands; on failure pushes and returns the code.
long read_two(const char* proc, const cmn_ty_decimal* a, const cmn_ty_decimal* b, cmn_dec_num* x,
              cmn_dec_num* y) {
  long rc = cmn_dec_num_parse(a, x);
  if (rc != 0) return fail(proc, rc, a);
  rc = cmn_dec_num_parse(b, y);
  if (rc != 0) return fail(proc, rc, b);
  return 0;
}

using binary_op = long (*)(const cmn_dec_num&, const cmn_dec_num&, cmn_dec_num*);

long run(const char* proc, binary_op op, const cmn_ty_decimal* a, const cmn_ty_decimal* b,
         cmn_ty_decimal* result) {
  cmn_dec_num x, y, r;
  long rc = read_two(proc, a, b, &x, &y);
  if (rc != 0) return rc;
  rc = op(x, y, &r);
  if (rc != 0) return fail(proc, rc, nullptr);
  cmn_dec_num_format(r, result);
  return 0;
}

long add(const cmn_dec_num& a, const cmn_dec_num& b, cmn_dec_num* r) {
  return cmn_dec_num_add(a, b, false, r);
}
long sub(const cmn_dec_num& a, const cmn_dec_num& b, cmn_dec_num* r) {
  return cmn_dec_num_add(a, b, true, r);
}

}  // namespace

long cmn_dec_plus(const cmn_ty_decimal* a, const cmn_ty_decimal* b, cmn_ty_decimal* result) {
  if (cmn_dec_short_add(a, b, false, result) || cmn_dec_fast_add(a, b, false, result)) return 0;
  return run("cmn_dec_plus", add, a, b, result);
}

long cmn_dec_minus(const cmn_ty_decimal* a, const cmn_ty_decimal* b, cmn_ty_decimal* result) {
  if (cmn_dec_short_add(a, b, true, result) || cmn_dec_fast_add(a, b, true, result)) return 0;
  return run("cmn_dec_minus", sub, a, b, result);
}

long cmn_dec_multiply(const cmn_ty_decimal* a, const cmn_ty_decimal* b, cmn_ty_decimal* result) {
  return run("cmn_dec_multiply", cmn_dec_num_mul, a, b, result);
}

long cmn_dec_divide(const cmn_ty_decimal* a, const cmn_ty_decimal* b, cmn_ty_decimal* result) {
  return run("cmn_dec_divide", cmn_dec_num_div, a, b, result);
}

long cmn_dec_comp(const cmn_ty_decimal* a, const cmn_ty_decimal* b, long* result) {
  cmn_dec_num x, y;
  long rc = read_two("cmn_dec_comp", a, b, &x, &y);
  if (rc != 0) return rc;
  long c;
  if (x.negative != y.negative)
    c = x.negative ? -1 : 1;
  else
    c = x.negative ? -cmn_dec_num_cmp_mag(x, y) : cmn_dec_num_cmp_mag(x, y);
  *result = c;
  return 0;
}

long cmn_dec_unary_minus(cmn_ty_decimal* d) {
  cmn_dec_num x;
  long rc = cmn_dec_num_parse(d, &x);
  if (rc != 0) return fail("cmn_dec_unary_minus", rc, d);
  x.negative = !x.negative && !cmn_dec_num_is_zero(x);
  cmn_dec_num_format(x, d);
  return 0;
}
