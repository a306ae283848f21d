// Both dialects' header query and catalogue column types.
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"

using KCLASSIC::KZString;

namespace {

constexpr long kDateFormatPhrase = 34;

// SQL Server's one-byte catalogue type codes.
struct mssql_code {
  int code;
  long db_type;
};
constexpr mssql_code kMssqlCodes[] = {
    {35, 8}, {38, 0}, {39, 7}, {47, 6}, {48, 2}, {52, 1},  {55, 11}, {56, 0}, {59, 3},
    {60, 5}, {61, 9}, {62, 4}, {63, 11}, {109, 4}, {110, 5}, {111, 9}, {122, 5},
};

// Oracle's national and large types, read by their whole names.
struct ora_name {
  const char* name;
  long db_type;
};
constexpr ora_name kOraNames[] = {{"CLOB", 8}, {"NCLOB", 8}, {"NVARCHAR2", 7}, {"NCHAR", 6}, {"VARCHAR2", 7}};

bool all_digits(const char* s) {
  if (*s == '\0') return false;
  for (; *s != '\0'; ++s)
    if (*s < '0' || *s > '9') return false;
  return true;
}

}  // namespace

KZString KAdpOraOperation::DbGetAdpDbHeader1() {
  const char* f = GetDbSpecificStr(static_cast<str_type>(kDateFormatPhrase));
  KZString first, dates;
  first.Format(
      "select db_name, TO_CHAR(create_date, '%s'), TO_CHAR(last_full_backup,'%s'), TO_CHAR(last_incr_backup,'%s'), "
      "TO_CHAR(up_since,'%s'), TO_CHAR(last_modify,'%s'), site_id, db_rev, schema_rev",
      f, f, f, f, f);
  dates.Format(", gmt_diff, cust_schema_rev, flags,     TO_CHAR(orbisan_schema_date, '%s'),     "
               "TO_CHAR(cust_schema_date, '%s')",
               f, f);
  return first + dates + ", site_id_offline, cust_int_sch_rev" + " from adp_db_header";
}

long KAdpOraOperation::SchConvertDbType(const char* type_text) {
  if (type_text == nullptr) return 0;
  for (const ora_name& n : kOraNames)
    if (std::strcmp(type_text, n.name) == 0) return n.db_type;
  switch (type_text[0]) {
    case 'C': return 6;
    case 'D': return 9;
    case 'L': return 8;
    case 'N': return 0;
    case 'V': return 6;
    default: return 0;
  }
}

KZString KAdpMssqlOperation::DbGetAdpDbHeader1() { return KZString(RepoText(kRepoTexts)); }

long KAdpMssqlOperation::SchConvertDbType(const char* type_text) {
  if (type_text == nullptr || type_text[0] == '\0') return 0;
  // The catalogue hands the code as its byte (one character) or as its
  // decimal digits.
  const bool digits = type_text[1] != '\0' && all_digits(type_text);
  int code = digits ? std::atoi(type_text) : static_cast<unsigned char>(type_text[0]);
  for (const mssql_code& c : kMssqlCodes)
    if (c.code == code) return c.db_type;
  return 0;
}
