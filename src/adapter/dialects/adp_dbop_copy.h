// Helpers of the table copies of a schema upgrade.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "orb_api.h"

class KAdpConnId;
struct utl_ty_col;

// Flag bit of a copy: write the statements to the log instead of running.
constexpr long ADP_DBOP_DRY_RUN = 1;

// The texts of a string collection (none for a null one).
std::vector<std::string> adp_dbop_texts(utl_ty_col* col);
// Runs one statement, or in a dry run writes it and a line end to the log.
long adp_dbop_run_or_log(KAdpConnId* con, const std::string& text, FILE* log, long flags);
