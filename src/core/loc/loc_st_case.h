// Character case of the locale layer.
#pragma once

#include "orb_api.h"

// One character upper- / lower-cased, the result sign-extended from its low
// byte.
ORB_API long loc_st_toupper(long c);
ORB_API long loc_st_tolower(long c);
