// The garbage-collecting memory manager's hooks, as the connector calls them.
// This stand-in collects nothing; it counts what it is asked to do.
#pragma once

#include "kl_api.h"

extern "C" {
KL_API void gcCollect(void);
KL_API void gcFixPrematureFrees(int enable);

// Stand-in only: how often gcCollect ran, and the last value handed to
// gcFixPrematureFrees (-1 before any call).
KL_API long gcStandInCollections(void);
KL_API int gcStandInFixPrematureFrees(void);
KL_API void gcStandInReset(void);
}
