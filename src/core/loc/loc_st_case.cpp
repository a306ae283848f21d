#include "core/loc/loc_st_case.h"

#include <cctype>

long loc_st_toupper(long c) {
  return static_cast<signed char>(std::toupper(static_cast<unsigned char>(c)));
}

long loc_st_tolower(long c) {
  return static_cast<signed char>(std::tolower(static_cast<unsigned char>(c)));
}
