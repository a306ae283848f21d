// Relation queries from described objects: related objects, their count or
// their ids, in the link-table form (many-to-many) or the foreign-key form.
#pragma once

#include "adapter/adp_qry_rec.h"
#include "orb_api.h"

struct utl_ty_col;

enum adp_qry_rel_result : long { ADP_REL_OBJECTS = 0, ADP_REL_COUNT = 1, ADP_REL_IDS = 2 };

struct adp_ty_rel_query {
  const adp_ty_qry* from;
  long rel_id;
  const adp_ty_qry* target;
  long norder;
  const qry_order* orders;
  long limit;
  char parsed;
  const char* extra;  // ANDed to the conditions (foreign-key objects only)
  long flags;         // select flags of the object form
  char to_batch;      // SQL Server: leave the statement in the open query batch
  adp_qry_rel_result result;
  utl_ty_col* out;    // objects or ids
  long* count;
  // The caller's statement: the text is written into it and not run (the
  // caller reads the rows). Objects: the foreign-key form only.
  void* text_into = nullptr;
  char distinct_sub = 0;  // the foreign-key sub-select selects DISTINCT
};

// Builds and runs one relation query with the deadlock retry.
ORB_API long adp_qry_rel_run(KAdpConnId* con, const adp_ty_rel_query& q);
// Writes the query into q.text_into without running it. The link-table id
// form is shortened when the from side is one object given by its id.
ORB_API long adp_qry_rel_text(KAdpConnId* con, const adp_ty_rel_query& q);
