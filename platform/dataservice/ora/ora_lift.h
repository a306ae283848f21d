// Number literals of an INSERT's VALUES lists, sent as bound values.
//
// The adapter writes a few values of a new row into the text itself
// (decimals, the temporary key of a relation column, a type id), so each row
// would be a statement of its own: rewritten, prepared on the server and
// dropped again. With those literals lifted into markers the rows of one type
// share one text, which the service rewrites and prepares once. Only a lone
// number element of a VALUES list moves - digits with an optional sign and
// fraction - and it is bound with the type the literal had (a whole number
// within 64 bits as an integer, any other as a decimal), so the server reads
// the same value; anything else - an exponent, an expression, a function's
// argument - stays in the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ora_rw {

// The marker number of the first lifted literal (":B900000000000000000"),
// far above the adapter's own markers; the next ones follow it.
inline constexpr long kLiftedMarker = 900000000000000000L;

// Most digits of a decimal literal the server takes.
inline constexpr size_t kDecimalDigits = 65;

// One lifted literal: its text (with its sign) and, for a whole number, its
// value.
struct lifted_number {
  std::string text;
  bool whole = false;
  long long value = 0;
};

struct lifted {
  std::string text;                    // the statement, literal k as marker kLiftedMarker + k
  std::vector<lifted_number> numbers;  // the literals, in text order
};

// Lifts the literals of one INSERT ... VALUES (...)[, (...)] statement.
// False, with out left as it was, when the text is anything else (another
// statement, several statements, comments, a text that ends inside a
// literal) or holds no such literal.
bool lift_insert_numbers(std::string_view text, lifted& out);

}  // namespace ora_rw
