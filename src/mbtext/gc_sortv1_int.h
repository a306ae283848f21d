// Internals of the sort-table upgrade.
#pragma once

#include <cstdint>

#include "mbtext/gc_sortv1.h"

// True when an old table can be upgraded; false when it is malformed (too
// short for its header, or its weights begin past its end).
bool gcSortV1WellFormed(const uint8_t* old_table, uint32_t old_size);
