// The first column of every row a query gives, as texts in row order.
#pragma once

#include <string>
#include <vector>

class KAdpConnId;

// Runs the query text as it stands (no formatting); appends each row's first
// column to out. 0 or the failing call's code.
long adp_sql_texts(KAdpConnId* con, const std::string& query, std::vector<std::string>* out);
