// Binary arrays: what the array calls share (side-table names, row data in
// stored words, the size check).
#pragma once

#include <functional>
#include <string>

#include "adapter/adp_bar.h"

class KAdpConnId;
struct utl_ty_col;

// The side table of a type's array number by the name mapper's array-table
// rule; a name longer than the dialect's limit (number 0) gives
// ADP_BAR_NAME_TOO_LONG, not pushed.
long adp_bar_side_table(KAdpConnId* con, long type_id, long array_number, std::string& table);
// The set's form for options: flat or nested.
inline long adp_bar_form_of(long options) {
  return (options & ADP_BAR_OPT_FLAT) != 0 ? ADP_BAR_FORM_FLAT : ADP_BAR_FORM_NESTED;
}
// Number of arrays in the set (0 for none).
long adp_bar_set_size(utl_ty_col* set);
// One array of a set as the visitor sees it.
struct adp_bar_array {
  long index;
  obj_id id;
  long count;
  const long* numbers;
};
// Calls visit for each array of the set in order; stops at the first
// status, its own or the visitor's.
long adp_bar_each(utl_ty_col* set, long form, const std::function<long(const adp_bar_array&)>& visit);
// The numbers as stored words: a new byte string of 4 bytes per number.
char* adp_bar_row_data(const long* numbers, long count);
// The stored word at bytes, sign-extended.
long adp_bar_word(const unsigned char* bytes);
// ADP_BAR_OUT_OF_RANGE, with its message naming `where`, when a number
// does not fit the 32-bit word it is stored in; else 0.
long adp_bar_check_numbers(const long* numbers, long count, const char* where);
// Every array of the set before anything is written: ADP_BAR_TOO_LARGE,
// with its message, when one holds more than ADP_BAR_MAX_NUMBERS numbers;
// the number check above; else 0 (or the set's status).
long adp_bar_check_arrays(utl_ty_col* set, long form, const char* table);
