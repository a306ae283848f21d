// The object store's calls that the typed record makes when it fills local
// objects from result rows. Implemented by the object store; the adapter
// only declares them (they meet in liborbisan.so).
#pragma once

#include "orb_api.h"

struct dbs_ty_lobj;

// Sets field `field_id` of a local object from a plain value of the field's
// type (oid_ok 1).
ORB_API long dbs_fld_set_local(dbs_ty_lobj* object, long field_id, const void* value, char oid_ok);
// Clears (dirty 0) the object's changed marks.
ORB_API long dbs_obj_mark_dirty(dbs_ty_lobj* object, char dirty);
