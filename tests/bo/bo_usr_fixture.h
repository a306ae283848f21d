// Result sets for the user-context tests, built by hand the way a host
// builds them from executed statements.
#pragma once

#include <string>
#include <vector>

#include "bo/bo_usr.h"
#include "kclassic/kc_list.h"

namespace botest {

// A result set of one row: every cell a text.
void fill_row(KCLASSIC::KUtlRecord& rs, const std::vector<std::string>& cells, long row = 0);
// A result set of columns cells whose column c holds base + c.
void numbered_row(KCLASSIC::KUtlRecord& rs, long columns, long base);
// Appends rs as the next row of a results record (column 0, nested).
void add_result(KCLASSIC::KUtlRecord& results, KCLASSIC::KUtlRecord& rs);
std::vector<std::string> statements(const KCLASSIC::KStringList& list);

} // namespace botest
