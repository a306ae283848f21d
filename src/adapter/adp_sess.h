// Helpers the session, header and locale files of the adapter share (not
// exported).
#pragma once

#include <string>

#include "orb_api.h"

class KAdpConnId;

// The driver that allocation uses: the one set, else "db_driver".
const char* adp_sess_driver();
// The "dbcache" directory followed directly by name, or name alone.
long adp_sess_dbcache_path(const char* name, char* out, long size);
// Deletes a listed connection (unlisted first).
void adp_sess_delete(KAdpConnId* cid);
// A comment formatted from its five word-sized arguments, each read as the
// type its conversion names (a text for %s, a long for the integers).
std::string adp_db_format_comment(const char* format, const long args[5]);
