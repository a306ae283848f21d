// What the interactive adders share: their refusal, the undo of the
// columns an addition made, and the model put back under construction.
#pragma once

#include <string>
#include <vector>

class KAdpConnId;
struct typ_sch_srec;

// Result of a refused spec (its message printed, nothing changed).
constexpr long ADP_SCE_REFUSED = 1;

// Prints the refusal text (the routine's name as its first argument) and
// gives ADP_SCE_REFUSED.
long adp_sce_refuse(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Drops columns an addition made before it failed; each drop is tried.
void adp_sce_drop_columns(KAdpConnId* con, const std::string& table, const std::vector<std::string>& columns);
// The type's record: the one given, else the model's by id (-1: none) or
// name; null when the model has none.
typ_sch_srec* adp_sce_schema_of(typ_sch_srec* given, long type_id, const char* name);
// Whether a new name clashes, case-insensitively, with taken.
bool adp_sce_name_taken(const std::vector<std::string>& taken, const char* name);
