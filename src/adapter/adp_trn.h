// The adapter's application transaction level: only the outermost begin,
// commit or rollback reaches the database. Implemented by the adapter.
#pragma once

#include "orb_api.h"

class KAdpConnId;

ORB_API long adp_trn_begin(KAdpConnId* con);
ORB_API long adp_trn_commit(KAdpConnId* con);
ORB_API long adp_trn_rollback(KAdpConnId* con);
ORB_API long adp_trn_appl_level(long* out);
