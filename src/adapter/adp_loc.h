// Locales and code pages of the current connection (table_locale), and
// the texts converted between the local and the server's code page.
//
// Threads: the conversion buffers and the lists are process-wide and
// unguarded; one thread drives the adapter.
#pragma once

#include "orb_api.h"

class KAdpConnId;

// Reads table_locale into the current connection's list (32 at most, a
// listed position is not read again).
ORB_API long adp_db_read_locale_data(KAdpConnId* cid);
ORB_API long adp_db_get_thread_lcid();
// The current connection's character-set names; *lcids its locale ids.
ORB_API char* const* adp_db_get_lcid_charactersetname_list(long** lcids);
// The text unchanged when the connection does not convert, else a copy in a
// buffer of the direction that the next call of the same function reuses.
ORB_API long adp_db_convert_str_to_local(KAdpConnId* cid, const char* text, const char** out);
ORB_API long adp_db_convert_str_to_server(KAdpConnId* cid, const char* text, const char** out);
