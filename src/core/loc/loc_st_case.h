// Character case of the locale layer.
#pragma once

// One character upper- / lower-cased, the result sign-extended from its low
// byte.
long loc_st_toupper(long c);
long loc_st_tolower(long c);
