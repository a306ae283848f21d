// The object store's calls that the typed record makes when it fills local
// objects from result rows. Implemented by the object store; the adapter
// only declares them (they meet in liborbisan.so).
#pragma once

#include "orb_api.h"

// Sets field `field` of a local object from a plain value of the field's
// type (flag 1).
ORB_API long dbs_fld_set_local(void* object, long field, void* value, long flag);
// Clears (flag 0) the object's changed marks.
ORB_API long dbs_obj_mark_dirty(void* object, long flag);
