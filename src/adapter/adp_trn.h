// The application transaction level: the adapter and the object store nest
// their units of work, and only the outermost begin, commit or rollback
// reaches the database. Process-wide and unguarded.
#pragma once

#include "orb_api.h"

class KAdpConnId;

// Level + 1; the first level begins a database transaction. A begin the
// database refuses returns its code with the level unchanged.
ORB_API long adp_trn_begin(KAdpConnId* cid);
// At level 1 commits (refused: 0x60004D pushed, 0x60002D returned, level
// unchanged); then level - 1 when above 0.
ORB_API long adp_trn_commit(KAdpConnId* cid);
// Rolls back at any level (refused as for commit); the level becomes 0.
ORB_API long adp_trn_rollback(KAdpConnId* cid);
ORB_API long adp_trn_appl_inc();
ORB_API long adp_trn_appl_dec();
ORB_API long adp_trn_appl_level(long* out);
