// Client interface: relating and unrelating two objects in a state. Mode 1
// (its low byte) relates; any other value unrelates.
#pragma once

#include "client/cpi_ty.h"
#include "orb_api.h"

ORB_API long cpi_rel_objs(long state, void* from, void* to, const char* relation_name, long mode);
ORB_API long cpi_rel_toid(long state, void* from, const cpi_ty_objid* to,
                          const char* relation_name, long mode);
ORB_API long cpi_rel_fromid(long state, const cpi_ty_objid* from, void* to,
                            const char* relation_name, long mode);
ORB_API long cpi_rel_ids(long state, const cpi_ty_objid* from, const cpi_ty_objid* to,
                         const char* relation_name, long mode);
