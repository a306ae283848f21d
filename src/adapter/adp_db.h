// The adapter's database calls that the schema compiler makes: the database
// header's flags, the server type and binary-array tables. Implemented by
// the adapter; the schema library only declares them.
#pragma once

#include "orb_api.h"

class KAdpConnId;

// The address of the connection's database header (null when none is read).
ORB_API void* adp_db_get_head_addr();
// *yes = 1 when all of bits are set in the header's flags, else 0.
ORB_API long adp_db_is_header_flags_set(void* header, unsigned long bits, char* yes);
// Server-type bits of the connection (1: the SQL Server family).
ORB_API long adp_main_server_type();
// Creates the binary-array table of a type's generic field.
ORB_API long adp_bar_create(KAdpConnId* con, long type_id, long gen_id);
