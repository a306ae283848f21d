// Internal to the change calculation: its state and the steps its files
// share.
#pragma once

#include <cstdio>
#include <string>

#include "store/dbs_rdb.h"

struct typ_sch_diff_rec;
struct typ_sch_frec;

namespace dbs_rdb {

// Options the calculation reads.
constexpr unsigned long kOptJournal = 0x80;
constexpr unsigned long kOptVerbose = 0x400;
constexpr unsigned long kOptLargerSize = 0x8000;
constexpr unsigned long kOptOldCase = 0x20000;
constexpr unsigned long kOptNotOldCase = 0x200000;
// Field flags.
constexpr unsigned long kFldIgnoredInCompare = 0x40;
constexpr unsigned long kFldNulls = 0x80;
constexpr unsigned long kFldNoCase = 0x100;
// Schema flag that forces a rebuild through a dump file.
constexpr unsigned long kSchForceDump = 0x8000;

struct calc {
  KAdpConnId* con = nullptr;
  unsigned long options = 0;
  utl_ty_col* list = nullptr;  // the changes (type 701), texts in its pool
  utl_ty_col* events = nullptr;
  char unicode = 0;
  char lob = 0;
  bool journal = false;
  long sequence = 0;  // journal version
  long entry = 0;     // last journal entry number
  utl_ty_col* old_names = nullptr;
  utl_ty_col* new_names = nullptr;
  FILE* out = nullptr;

  bool verbose() const { return (options & kOptVerbose) != 0; }
  // Lists a change on a type's table, or on a table named as is; a table
  // being renamed is named by its new name.
  long add(dbs_ty_tbl_change& change, const char* type_name);
  long add_table(dbs_ty_tbl_change& change, const char* table);
  // A copy of the text in the list's pool (null for null).
  long text(const char* source, char** copy);
  // Writes a journal row when journalling.
  long write_journal(long opcode, const char* type_name, const char* text1, const std::string& details);
};

// An SQL string literal: quoted, quotes doubled; "''" for null or empty.
std::string sql_literal(const char* text);
// The default text of an added column; the journal's form of it in *journal.
std::string column_default(const typ_sch_frec& field, std::string* journal);
// Difference 2 or 3: the modified-column rules.
long calc_modified_column(calc& c, typ_sch_diff_rec& d);

}  // namespace dbs_rdb
