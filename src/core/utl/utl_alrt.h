// Pushing utl alerts on the current alert stack (module internal).
//
// Threads: as cmn_alrt.h (one thread at a time).
#pragma once

// Pushes the alert `code` with typed arguments matching its text and returns
// the code.
long utl_alrt(long code, ...);
