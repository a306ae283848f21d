// The double's stored index descriptions (dbs_rdb_get_indexes) and type
// registrations (adp_sch_type_insert).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace adp_double {

struct stored_index {
  std::string name;
  std::vector<std::string> fields;
  bool unique;
};
// The indexes answered for a type (none unless set).
void set_indexes(long type_id, std::vector<stored_index> indexes);
void rdb_reset();

}  // namespace adp_double
