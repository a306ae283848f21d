// The column-type tables of the dialects, one row per db type 0..11 (the
// db_type of adp_sch_info): whether the type takes a length, its SQL name,
// its class (3 integer, 4 floating point, 5 other), its size in bytes and
// its value type (-1 where none).
#pragma once

#include "orb_api.h"

constexpr long ADP_SCH_NUM_DB_TYPES = 12;

struct adp_sch_type_string {
  long has_length;
  const char* name;
  long type_class;
  long size;
  long cmn_type;
};

extern const adp_sch_type_string adp_sch_type_strings_oracle[ADP_SCH_NUM_DB_TYPES];
extern const adp_sch_type_string adp_sch_type_strings_mssql[ADP_SCH_NUM_DB_TYPES];
extern const adp_sch_type_string adp_sch_unicode_type_strings_mssql[ADP_SCH_NUM_DB_TYPES];
