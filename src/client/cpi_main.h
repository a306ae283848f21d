// Client interface: start-up and shut-down of the whole client stack.
#pragma once

#include "orb_api.h"

// Starts every module once (0 at once when already started). A failure
// stops, in reverse order, what this call started and returns its code.
ORB_API long cpi_main_init();
// Stops what cpi_main_init started (0 when nothing is started).
ORB_API long cpi_main_term();
// Sets the start flag to the low byte of flag; 0.
ORB_API long cpi_main_set_init_done(long flag);
// 1 when the start flag is set.
ORB_API long cpi_main_is_init_done();
// Whether the database is reached through a remote object service.
ORB_API signed char cpi_main_is_remote();
// The compiled-in message table of the module whose first message id is
// given; null for any other id.
ORB_API const char* const* cpi_table_get_res_table(long first_message_id);
