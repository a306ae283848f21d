// The application services' start and stop: each runs once per process
// until cpi's shut-down clears the flags for a fresh start.
#pragma once

long oab_main_init();
long oab_main_term();
// Clears both once-only flags (the client's shut-down, after the stop).
void oab_main_reset_flags();
