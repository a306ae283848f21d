// The error numbers and texts the Oracle-dialect service throws for the
// server's (and the client library's) error numbers.
#pragma once

#include <string>

namespace ora_err {

constexpr long DEADLOCK = 0x8B0014E;     // 1213, 1205
constexpr long NOT_UNIQUE = 0x8B0014F;   // 1062
constexpr long LOST = 0x8B0013B;         // 2006, 2013, 2055
constexpr long BAD_LOGIN = 0x8B00180;    // 1045
constexpr long NO_SERVER = 0x8B00181;    // no server or no database
constexpr long ORACLE = 0x8B00149;       // everything else
constexpr long METHOD = 0x8B0012D;       // an operation the service does not offer

long number(unsigned server_errno);

// The server's message as the adapter reads it: a unique-key violation
// ("Duplicate entry 'x' for key 'name'") becomes
// "ORA-00001: unique constraint (OWNER.NAME) violated" with the index's
// owner (the database, upper-cased); no data found (1329) becomes
// "ORA-01403: no data found"; others stay as they are.
std::string text(unsigned server_errno, const std::string& message, const std::string& owner = "SA");

}  // namespace ora_err
