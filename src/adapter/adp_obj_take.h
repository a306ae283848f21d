// Taking one stored row for a session: a text field moved from one value to
// another only while the row still holds the first, so that of several
// sessions sharing a table exactly one wins the row.
#pragma once

#include "orb_api.h"

class KAdpConnId;

// Sets `field` (a text field of the type) of the row of object number
// `number` to `to` where it still reads `from`, in a transaction of its own
// (or in the caller's when one is open). *out_taken is 1 when this call
// changed the row, 0 when the row is gone or holds another value. A field
// that is not text, a value missing, or from equal to to: alert 0x600006
// with the type id.
ORB_API long adp_obj_take_field(KAdpConnId* con, long type_id, long number, const char* field, const char* from,
                                const char* to, long* out_taken);
