// Character case of the locale layer, in the calling thread's locale of the
// class library.
//
// Threads: safe from several threads: each call uses the calling thread's locale.
#pragma once

#include "orb_api.h"

// One character upper- / lower-cased, the result sign-extended from its low
// byte.
ORB_API long loc_st_toupper(long c);
ORB_API long loc_st_tolower(long c);

// A text upper- / lower-cased in place; returns the text. A character whose
// other case has a different byte length keeps its case (the text never
// grows); when the mapping fails, the text is left as it was and the failure
// is reported through the OS message printer.
ORB_API char* loc_st_strupper(char* text);
ORB_API char* loc_st_strlower(char* text);
