// Shared by the files of the OS locale part (not for other modules).
//
// Threads: plain helpers on their arguments; safe from several threads.
#pragma once

#include <cstddef>

// Copies text into a field of size bytes, cut to fit, NUL-ended.
void osl_loc_copy(char* field, size_t size, const char* text);
// True when the date-format flags are set and have the bit.
bool osl_loc_date_flags_have(long bit);
