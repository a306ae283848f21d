// Double of the schema layer and the object store for the adapter suites:
// the type names the error mapping looks up (typ_sch_id_to_name) and the
// object store's message list (the deadlock, not-unique and lost-connection
// alerts the adapter pushes).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace adp_double {

// Type names by type id; an id not in the map fails with `missing_status`.
std::map<long, std::string>& type_names();
long& missing_status();
void reset();

// Local-object field sets (dbs_fld_set_local) as "object:field=value", the
// value rendered by field_types()[field]; cleared marks as "clean object".
std::vector<std::string>& store_calls();
std::vector<long>& field_types();
long& set_local_status();
// Registers the object store's message list (subsystem 7) with test texts.
void install_dbs_messages();

}  // namespace adp_double
