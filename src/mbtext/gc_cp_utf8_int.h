// UTF-8 by rule (code page id 106).
#pragma once

#include <cstdint>

// Decodes one character of at most avail bytes (negative: up to the NUL).
// Returns the bytes it spans: a valid sequence gives its length and the code
// point; an invalid byte (bad lead, bad continuation, overlong form, encoded
// surrogate, beyond U+10FFFF) gives length 1 and U+FFFD; a valid start that
// the end of a counted text cuts gives 0 (*cp = U+FFFD). avail 0 gives 0.
int gcUtf8Decode(const uint8_t* p, int32_t avail, uint32_t* cp);

// Encodes a code point (not a surrogate, at most U+10FFFF); returns 1-4.
int gcUtf8Encode(uint32_t cp, uint8_t out[4]);
