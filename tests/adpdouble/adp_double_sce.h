// The adapter double's answers to the table-change engine's calls: which
// tables exist, have rows and how large they are, the journal's highest
// entry, the catalog indexes and triggers of a table, and the texts of
// table definitions. Every call is recorded; statuses come from scripts.
#pragma once

#include <string>
#include <vector>

namespace adp_double {

void set_table_exists(const std::string& table, bool exists);
// A column is there when "<table>.<column>" is set as existing.
void set_table_has_rows(const std::string& table, bool has_rows);
void set_table_size(const std::string& table, long size);  // adp_sce_get_table_info
void set_journal_sequence(long highest);                   // adp_sce_get_sequence
void set_perf_flag(long flag);                             // adp_sql_get_perf_flag (owner prefix)
// Index names answered by adp_ind_list_index for a type.
void set_index_names(long type_id, std::vector<std::string> names);
// Names adp_ind_build_table_index reports as not rebuilt.
void set_failed_indexes(std::vector<std::string> names);
// Trigger texts answered by adp_stp_get_table_trigger.
void set_triggers(std::vector<std::string> ddl);
// The journal rows written, each "objid|version|opcode|object|field|details".
const std::vector<std::string>& journal();
// Forgets the settings above (called by reset).
void sce_reset();

}  // namespace adp_double
