// The adapter double's answers to the schema compiler's calls: the
// database header's flags, the server type and binary-array tables.
#pragma once

namespace adp_double {

// Header flags answered by adp_db_is_header_flags_set; with `present`
// false no flag is answered as set (as for a header never read).
void set_header(unsigned long flags, bool present = true);
// adp_main_server_type's answer (the store double's server type).
void set_server_type(long type);
// Forgets the header settings above (called by reset).
void bld_reset();

}  // namespace adp_double
