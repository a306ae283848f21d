// Texts to and from SQL: a column of texts a query gives, and a text with
// its single quotes doubled for a literal.
#pragma once

#include <string>
#include <vector>

class KAdpConnId;

// Runs the query text as it stands (no formatting); appends each row's first
// column to out. 0 or the failing call's code.
long adp_sql_texts(KAdpConnId* con, const std::string& query, std::vector<std::string>* out);

// The text with every single quote doubled ("" for null).
std::string adp_sql_quotes_doubled(const char* text);
