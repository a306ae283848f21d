// Debug dumps of the schema model: schemas, fields and relation entries.
#pragma once

#include "orb_api.h"

#include <cstdio>

#include "schema/typ_rec.h"

ORB_API long typ_sch_dump(FILE* stream, const char* label, long indent, const typ_sch_srec* schema);
ORB_API long typ_sch_dump_all(FILE* stream, const char* title, long indent);
// Print procedures of the field record (524) and the relation entry (581).
ORB_API long typ_sch_dump_field(FILE* stream, long indent, const void* field, long type_id, long number);
ORB_API long typ_sch_dump_rel(FILE* stream, long indent, const void* entry, long type_id, long number);

// Prints `indent` blanks (none for a negative indent).
void typ_put_indent(FILE* stream, long indent);
