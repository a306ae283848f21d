// Pieces shared by the writers of indexes and of their adp_sch_index rows
// (the dialects' index creation and rebuild, and the adapter's recording
// step): formatted texts, the object id of a row under the offline feature,
// and running a statement or, in a dry run, writing it to the DDL file.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

class KAdpConnId;
class KAdpDbOperation;
struct adp_ty_index_info;
struct utl_ty_col;

// The object type whose ids the adp_sch_index rows take.
constexpr long ADP_IND_ROW_TYPE = 100000001;

// printf into a string.
std::string adp_ind_fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same with a format taken from the phrase table.
std::string adp_ind_vfmt(const char* format, ...);
// The text with every single quote doubled, for a literal.
std::string adp_ind_quoted(const char* text);
// The texts of a string collection joined by separator; count receives
// their number when not null.
std::string adp_ind_join(utl_ty_col* texts, const char* separator, long* count = nullptr);
// The records of a record collection (type 758), in order.
std::vector<adp_ty_index_info*> adp_ind_records(utl_ty_col* records);

// Oracle: the CREATE INDEX of a catalogue record on TABLE_<type> with the
// storage values the catalogue gave (a clause with a NULL value left out).
std::string adp_ind_ora_text(const KAdpDbOperation* op, const adp_ty_index_info* r, const char* type_name);

// The logical name of an Oracle index named after its type: what follows
// the type name and one separator; empty when the name does not begin with
// the type name (compared without regard to case).
std::string adp_ind_logical_name(const char* name, const char* type_name);

// A new object id of the row type at the database's site, as one number.
long adp_ind_row_objid(KAdpConnId* con, long* objid);

// Runs text as DDL (ddl) or as a statement. With options bit 0 and a DDL
// file the text is written to the file, ended by the dialect's statement
// end, and not run.
long adp_ind_run(KAdpConnId* con, const std::string& text, bool ddl, FILE* ddl_file, long options);
