// Date-text helpers the two dialects share.
#pragma once

#include "core/clk/clk_time.h"

// The clock's short text of time into out (CLK_TEXT_SIZE bytes); the unset
// time is written as 1 January 1753 00:00:00 with the given format (month,
// day, year, hour, minute, second). 0 or the clock's code.
long adp_dbop_clk_text(const clktime* time, char* out, const char* unset_format);
// Reads month/day/year [time] into out; a text the clock rejects pushes
// 0x600013 (procedure name proc, may be null) and returns it.
long adp_dbop_read_text(const char* text, clktime* out, const char* proc);
