// What the schema-change calls share: a statement run at once or written to
// the caller's script (option bit 0), one value read by a query, the
// server's kind, the upper-case search columns and the date phrase.
#pragma once

#include <cstdio>
#include <string>

class KAdpConnId;

constexpr long ADP_SCE_SCRIPT_ONLY = 1;  // option bit 0: write, do not run
constexpr unsigned long ADP_SCE_SEARCHABLE = 0x100;  // field flag: an "S_" column follows
// Connection strings the bulk copy is given.
constexpr long ADP_SCE_CFG_SERVER = 2;
constexpr long ADP_SCE_CFG_LOGIN = 3;
constexpr long ADP_SCE_CFG_PASSWORD = 4;
constexpr long ADP_SCE_CFG_DB_NAME = 15;

// DDL (or any statement the server runs as one text): with option bit 0 the
// text and a line end go to the script (when there is one) and nothing runs.
long adp_sce_run_ddl(KAdpConnId* con, const std::string& text, FILE* script, long options);
// A data statement, likewise.
long adp_sce_run_dml(KAdpConnId* con, const std::string& text, FILE* script, long options);
// The first column of the query's first row as a long; found 0 (value 0)
// when no row or a null came.
long adp_sce_read_long(KAdpConnId* con, const std::string& query, long* value, char* found);

bool adp_sce_oracle();
bool adp_sce_mssql();
// The database header asks for upper-case search columns.
bool adp_sce_upper_columns(KAdpConnId* con);
// The date format the server's date conversion is given.
std::string adp_sce_date_format(KAdpConnId* con);
// A name for an SQL literal: its single quotes doubled.
std::string adp_sce_literal(const char* text);
// 0 when the name is plain; the refusal's code (pushed) otherwise.
long adp_sce_check_name(const char* name);
