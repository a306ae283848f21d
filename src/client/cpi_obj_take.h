// Client interface: taking one stored row for this session, so that of
// several sessions sharing a table (connectors polling one event table)
// exactly one wins it.
#pragma once

#include "orb_api.h"

// Sets the text field `field_name` of the stored row of object number
// `id_number` of type `type_name` to `to` where it still reads `from`,
// written and committed at once, apart from any state. *out_taken is 1 when
// this call changed the row, 0 when the row is gone or another session
// changed the field first.
ORB_API long cpi_obj_take_field(long con_id, const char* type_name, long id_number, const char* field_name,
                                const char* from, const char* to, long* out_taken);
