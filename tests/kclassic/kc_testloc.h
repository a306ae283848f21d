// Locales for the class-library tests: the multibyte tests' locale data
// directory (single-byte English, a double-byte page, German with ","
// as decimal separator), with the library started over it once per process.
#pragma once

#include <initializer_list>
#include <string>

#include "kclassic/kc_loc.h"

namespace kctest {

// Starts the multibyte library over the test data directory (once; later
// calls do nothing) and binds the calling thread to the system locale.
void startLocales();

// Locale names in the test directory.
inline constexpr const char* kEnglish = "English_UnitedStates.US-ASCII";
inline constexpr const char* kDouble = "English_UnitedStates.DoubleByte";
inline constexpr const char* kGerman = "German_Germany.Latin1";
inline constexpr const char* kUtf8 = "English_UnitedStates.UTF-8";
inline constexpr const char* kJapan = "English_Japan.US-ASCII"; // year-first dates

// Binds the calling thread to a locale for the life of the object, then
// back to the system locale.
class ThreadLocale {
 public:
  explicit ThreadLocale(const char* name);
  ~ThreadLocale();
  ThreadLocale(const ThreadLocale&) = delete;
  ThreadLocale& operator=(const ThreadLocale&) = delete;
};

// Text of the given byte values.
std::string bytes(std::initializer_list<int> b);

} // namespace kctest
