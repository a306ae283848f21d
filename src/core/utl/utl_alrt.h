// Pushing utl alerts on the current alert stack (module internal).
#pragma once

// Pushes the alert `code` with typed arguments matching its text and returns
// the code.
long utl_alrt(long code, ...);
