// Dates of a query's select list read without the server's formatting.
//
// The adapter selects a date column as TO_CHAR(c, 'MM/DD/YYYY HH24:MI:SS').
// The service writes every date cell in that same form itself, so such an
// item can go to the server as the bare column: the server then sends the
// stored value instead of formatting each row's text. Only items of the outer
// select list that are exactly that call on a (qualified) column name are
// taken, and only in statements where the item's value is not compared,
// grouped or sorted by its position or its text (no DISTINCT, GROUP BY,
// HAVING, set operators, or ORDER BY by number or TO_CHAR). The service
// checks that each such column comes back as a date; otherwise it runs the
// statement as written.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ora_rw {

struct plain_dates {
  std::string sql;  // the statement with each taken item as its bare column
  // Each taken item: its position in the select list (from 0) and its text,
  // which the server would have given as the column's name.
  std::vector<std::pair<size_t, std::string>> items;
};

// No items (and an empty sql) when nothing is taken.
plain_dates plain_date_items(std::string_view sql);

}  // namespace ora_rw
