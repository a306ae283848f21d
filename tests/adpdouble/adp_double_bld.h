// The adapter double's answers to the schema compiler's calls: the
// database header's flags, the server type and binary-array tables.
#pragma once

namespace adp_double {

// Header flags answered by adp_db_is_header_flags_set; with `present`
// false adp_db_get_head_addr answers null (no header read).
void set_header(unsigned long flags, bool present = true);
// adp_main_server_type's answer (default 0).
void set_server_type(long type);
// Forgets the settings above (called by reset through bld_reset).
void bld_reset();

}  // namespace adp_double
