// Forwarders to the adapter's type table and schema-reader switches.
#include "store/dbs_sch.h"

#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"

long dbs_sch_type_info_get(long type_id, long* flags, const char** name, typ_sch_srec** schema) {
  return adp_sch_type_info_get(type_id, flags, name, schema);
}
long dbs_sch_set_comment_flag() { return adp_sch_set_comment_flag(); }
long dbs_sch_set_join_flag() { return adp_sch_set_join_flag(); }
long dbs_sch_init() { return 0; }
long dbs_sch_term() { return 0; }
