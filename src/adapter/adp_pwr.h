// Power queries inside the adapter: the text buffer the store hands over
// and the limit of the text written into it.
#pragma once

#include "orb_api.h"
#include "store/dbs_pwr.h"

// The store's buffer; the text stays within its first 70,000 bytes.
constexpr long ADP_PWR_TEXT_SIZE = 70016;
constexpr long ADP_PWR_TEXT_LIMIT = 70000;

// The distinct count of a power query's text: "select count(DISTINCT "
// + the selected column + ") " + the text from its "from" up to its
// "order by" ("from" and "order by" as whole words outside literals).
ORB_API long adp_pwr_trend_text(const char* sql, char* out, long size);
