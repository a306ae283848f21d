// Row-level security of queries: the pieces that compile a restriction's
// values and operator and combine a query's own conditions with the
// restriction texts.
#pragma once

#include <string>

struct utl_ty_col;

constexpr long OAB_SEC_USER = 1;
constexpr long OAB_SEC_SITE = 2;
constexpr long OAB_SEC_CONTACT = 4;
constexpr long OAB_SEC_EMPLOYEE = 8;

// The value text of a restriction from the value objects' field: one value
// (or none) as prefix, value, suffix; several as ('v1','v2',...) with each
// value, prefix and suffix included, quoted and its single quotes doubled.
// Longs are written in decimal, texts as they stand, other types add nothing.
long oab_qry_bld_one_secure_value(utl_ty_col* objects, long field_id, const char* prefix, const char* suffix,
                                  std::string* out);
// The operator of a restriction with its number of values: several values
// turn it into "is not in" (negative operators) or "is in".
long oab_qry_secure_operator(long op, long num_values);
// The combining format of a rewritten power query: the caller's own
// conditions (their format, or "%s" per condition joined by AND or OR) and
// the text restrictions of the type; n counts the restriction conditions.
std::string oab_qry_secure_format(long own_count, const char* own_format, char join_and, long n,
                                  const std::string& texts);
