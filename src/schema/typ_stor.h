// "storage.def": the optional table of physical storage clauses that the SQL
// dialects look a table's clause up in when they create it. Lines have the
// form "object name :: storage clause"; blank lines and lines starting with
// "//" are ignored.
#pragma once

#include "orb_api.h"

#include <cstdio>

// Reads "storage.def" from the current directory: 0, or 1 (with a printed
// note) when the file cannot be opened. A table loaded before is replaced.
ORB_API long typ_load_physical_storage_params();
ORB_API long typ_free_physical_storage_params();
// 0 and the clause of the first object name equal to `name` (case-
// insensitive); 1 (clause null) when none matches or no table is loaded.
ORB_API long typ_lookup_physical_storage_params(const char* name, const char** clause);
// Reads one line of any length (line feed removed, carriage returns
// dropped). *line is allocated with osl_mem_alloc and freed by the caller;
// *eof becomes 1 when the end of the file was met.
ORB_API long typ_read_line(FILE* stream, char** line, long* eof);
