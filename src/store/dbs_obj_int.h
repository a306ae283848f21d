// Internal helpers shared by the local-object and field modules.
#pragma once

#include "schema/typ_rec.h"
#include "store/dbs_obj.h"

// Puts every field of the object to its initial value; with fresh set the
// boxed values are taken anew from the pool, else their storage is reused
// (keep_decimals then leaves decimal values alone).
long dbs_obj_init_fields(dbs_ty_lobj* object, bool fresh, bool keep_decimals);
// Extent size of a new object's pool: room for its boxed values and for
// short texts, so that a new object and the values a query reads into it
// take one extent.
long dbs_obj_extent_size(const typ_sch_srec* schema);
// True when the object passes the checks that need no alert (on the debug
// list in debug mode; schema, pool and slots present).
bool dbs_obj_is_valid(const dbs_ty_lobj* object);
// The element address of a field's value for the registry's compare and
// print procedures, and its cell (address of the stored value) for
// cmn_typ_val and conversions.
const void* dbs_fld_element(const dbs_ty_lobj* object, long index);
void* dbs_fld_cell(dbs_ty_lobj* object, long index);
// Object-id field number of an object (0 when the schema has none).
long dbs_obj_id_field(dbs_ty_lobj* object);
// Rounds a decimal value to its own scale in place.
void dbs_dec_round(void* decimal);
