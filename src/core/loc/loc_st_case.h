// Character case of the locale layer.
//
// Threads: safe from several threads (no state of its own; the C library's
// character classes of the process locale).
#pragma once

#include "orb_api.h"

// One character upper- / lower-cased, the result sign-extended from its low
// byte.
ORB_API long loc_st_toupper(long c);
ORB_API long loc_st_tolower(long c);
