// The decimal work form: 77 digit characters (a guard digit, 38 integer and
// 38 fraction digits), worked digit by digit through the digit tables.
#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dec.h"
#include "core/cmn/cmn_dec_int.h"

// Entry 10 * a + b of each table.
const char table_plus[101] =
    "01234567891234567890234567890134567890124567890123"
    "56789012346789012345789012345689012345679012345678";
const char table_plus_2[101] =
    "00000000000000000001000000001100000001110000001111"
    "00000111110000111111000111111100111111110111111111";
const char table_minus[101] =
    "09876543211098765432210987654332109876544321098765"
    "54321098766543210987765432109887654321099876543210";
const char table_minus_2[101] =
    "01111111110011111111000111111100001111110000011111"
    "00000011110000000111000000001100000000010000000000";
const char table_multiply[101] =
    "00000000000123456789024680246803692581470482604826"
    "05050505050628406284074185296308642086420987654321";
const char table_multiply_2[101] =
    "00000000000000000000000001111100001112220001122233"
    "00112233440011233445001223445600123445670012345678";

namespace {

int cell(char a, char b) { return (a - '0') * 10 + (b - '0'); }

}  // namespace

long cmn_dec_str_init(char* work) {
  std::memset(work, '0', CMN_DEC_WORK_LEN);
  work[CMN_DEC_WORK_LEN] = '\0';
  return 0;
}

long cmn_dec_equal_str(const char* source, char* destination) {
  std::memcpy(destination, source, CMN_DEC_WORK_LEN);
  destination[CMN_DEC_WORK_LEN] = '\0';
  return 0;
}

long cmn_dec_convert_dec_to_str(const cmn_ty_decimal* d, char* work, long* sign) {
  cmn_dec_num n;
  long rc = cmn_dec_num_parse(d, &n);
  if (rc != 0) {
    if (rc == CMN_DEC_NOT_A_NUMBER)
      cmn_alrt_push(nullptr, "cmn_dec_convert_dec_to_str", rc, 1, d->text);
    else
      cmn_alrt_push(nullptr, "cmn_dec_convert_dec_to_str", rc, 0);
    return rc;
  }
  // Guard digit, then the 76 digits from the most significant.
  work[0] = '0';
  cmn_dec_num_to_image(n, work + 1);
  work[CMN_DEC_WORK_LEN] = '\0';
  *sign = n.negative ? 0 : 1;
  return 0;
}

long cmn_dec_convert_str_to_dec(const char* work, long sign, cmn_ty_decimal* d) {
  if (work[0] != '0') {
    cmn_alrt_push(nullptr, "cmn_dec_convert_str_to_dec", CMN_DEC_OVERFLOW, 0);
    return CMN_DEC_OVERFLOW;
  }
  cmn_dec_num n;
  cmn_dec_num_from_image(work + 1, &n);
  n.negative = sign == 0 && !cmn_dec_num_is_zero(n);
  cmn_dec_num_format(n, d);
  return 0;
}

long cmn_dec_plus_str(const char* a, const char* b, char* sum) {
  char out[CMN_DEC_WORK_LEN + 1];
  int carry = 0;
  for (int i = CMN_DEC_WORK_LEN - 1; i >= 0; --i) {
    int k = cell(a[i], b[i]);
    char digit = table_plus[k];
    int next = table_plus_2[k] - '0';
    if (carry) {
      int k2 = cell(digit, '1');
      next |= table_plus_2[k2] - '0';
      digit = table_plus[k2];
    }
    out[i] = digit;
    carry = next;
  }
  if (carry) {
    cmn_alrt_push(nullptr, "cmn_dec_plus_str", CMN_DEC_OVERFLOW, 0);
    return CMN_DEC_OVERFLOW;
  }
  out[CMN_DEC_WORK_LEN] = '\0';
  return cmn_dec_equal_str(out, sum);
}

long cmn_dec_minus_str(const char* a, const char* b, char* difference) {
  char out[CMN_DEC_WORK_LEN + 1];
  int borrow = 0;
  for (int i = CMN_DEC_WORK_LEN - 1; i >= 0; --i) {
    int k = cell(a[i], b[i]);
    char digit = table_minus[k];
    int next = table_minus_2[k] - '0';
    if (borrow) {
      int k2 = cell(digit, '1');
      next |= table_minus_2[k2] - '0';
      digit = table_minus[k2];
    }
    out[i] = digit;
    borrow = next;
  }
  out[CMN_DEC_WORK_LEN] = '\0';
  return cmn_dec_equal_str(out, difference);
}

long cmn_dec_comp_str(const char* a, const char* b, long* result) {
  long r = 0;
  for (int i = 0; i < CMN_DEC_WORK_LEN && r == 0; ++i)
    if (a[i] != b[i]) r = a[i] < b[i] ? -1 : 1;
  *result = r;
  return 0;
}
