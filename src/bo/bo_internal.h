// Names that liborbisan.so keeps to itself: process-wide state and helpers
// of the business-object utilities that a host never reaches.
#pragma once

#define BO_INTERNAL __attribute__((visibility("hidden")))
