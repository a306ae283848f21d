// The schema cache file: a local text copy of the dictionary tables, named
// after the database and its schema revision, read at open when current.
//
// Layout: "ORBISAN_SCHEMA: <structure rev> <schema rev>", "TIMESTAMP: '<time>'",
// then the types block "{" "(id,flags,name)".. "}", the fields block
// "(name,cmn type,db type,array,precision,scale,flags,generic,spec,type[,default])"
// and the relations block of twelve fields, each closed by "}"; view blocks
// may follow and are not read back.
//
// The reader takes lines of any length. A file that does not fit (a block
// without its "}", a line with fields missing or not numbers where numbers
// belong, revisions or time that differ) is stale: nothing of it reaches the
// model, and the caller reloads from the database.
#pragma once

#include <cstdio>

#include "orb_api.h"

class KAdpConnId;

ORB_API long dbs_rdf_schema(KAdpConnId* con, FILE* stream, long db_rev, long schema_rev);

// Line parsers. Each takes a position inside one line (without its newline).
// dbs_rdf_getint: the number up to the next ',' or ')' (or the end) into
// *value when given; returns the position after the ',', or of the ')'.
ORB_API const char* dbs_rdf_getint(const char* position, long* value);
// A field line from its '(' on; texts are copied into the given buffers
// (each of size bytes). Returns 0, or 1 when fields are missing.
struct dbs_ty_rdf_field {
  char name[128];
  long cmn_type, db_type, array_size, precision, scale, flags, gen_id, spec_id, type_id;
  char def[1024];
};
ORB_API long dbs_rdf_parse_field(const char* line, dbs_ty_rdf_field* out);
struct dbs_ty_rdf_rel {
  char name[128];
  long rel_type;
  char target[128];
  long gen_id, spec_id;
  char inverse[128];
  long rel_flags;
  char phys_name[128];
  char focus_field[128];
  long flags, type_id;
  char excl_set[128];
};
ORB_API long dbs_rdf_parse_relation(const char* line, dbs_ty_rdf_rel* out);
