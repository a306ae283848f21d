// Export control for liborbisan.so.
//
// The shared library is built with hidden visibility: only declarations marked
// ORB_API (functions, classes, the few data a host or a data service reaches)
// are exported. Everything else stays inside the library.
#pragma once

#if defined(__GNUC__)
#define ORB_API __attribute__((visibility("default")))
#else
#define ORB_API
#endif
