// A small shared library that the library-loading tests load by a
// Windows-style name.
extern "C" __attribute__((visibility("default"))) int kc_testlib_answer() { return 42; }
