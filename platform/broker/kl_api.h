// Export control for libKlConnector.so: its classes and functions stay
// visible to the libraries that use them, however those are compiled.
#pragma once

#if defined(__GNUC__)
#define KL_API __attribute__((visibility("default")))
#else
#define KL_API
#endif
