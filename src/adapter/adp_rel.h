// The adapter's relation write batch: the queue items and the queueing
// calls. Implemented by the adapter.
#pragma once

#include "orb_api.h"

#include "store/dbs_oid.h"

struct typ_sch_rrec;

// One queued relate or unrelate.
struct adp_rel_batch_item {
  obj_id primary;
  obj_id foreign;
  long rel_id;            // relation id passed by the caller
  typ_sch_rrec* rel;      // the relation record
  const char* side_name;  // relation name of the caller's side
  char relate;            // 1 relate, 0 unrelate
  char active;            // 1 still to be written
  void* absorbed_by;      // object item that writes this change, or null
  long sequence;
  obj_id link_row;        // link row of a many-to-many relate
};

// One queued object write.
struct adp_obj_batch_item {
  void* object;  // the local object
  obj_id id;
  long type;     // type id (low 17 bits of the id's type word)
  char create;
  char del;
  long delete_option;
};

// Queues a relate (1) or unrelate (0) of a and b by a relation named on a's
// type.
ORB_API long adp_rel_add_to_batch(obj_id* a, obj_id* b, obj_id* link_row, long rel_id, char relate);
