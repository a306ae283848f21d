// A library with the memory manager's entry point but no connector globals.
#include "kl_gc.h"

extern "C" __attribute__((visibility("default"))) void gcInitialize(int enable) { gcFixPrematureFrees(enable); }
