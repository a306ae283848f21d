// The garbage-collecting memory manager's hooks, as the connector calls them.
// This stand-in collects nothing; it counts what it is asked to do.
#pragma once

extern "C" {
void gcCollect(void);
void gcFixPrematureFrees(int enable);

// Stand-in only: how often gcCollect ran, and the last value handed to
// gcFixPrematureFrees (-1 before any call).
long gcStandInCollections(void);
int gcStandInFixPrematureFrees(void);
void gcStandInReset(void);
}
