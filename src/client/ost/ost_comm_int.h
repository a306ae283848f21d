// The community fetch's working record, shared by its files.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "client/ost/ost_comm.h"
#include "store/dbs_qry.h"

struct ost_comm_ctx {
  ost_comm_ctx(KAdpConnId* db_con, ost_ty_state* s, const obj_id& root_id, long n, const ost_ty_trav_level* map,
               long opts, ost_ty_level_result* res)
      : con(db_con), state(s), root(root_id), nlevels(n), levels(map), options(opts), results(res) {}
  KAdpConnId* con;
  ost_ty_state* state;
  obj_id root;
  long nlevels;
  const ost_ty_trav_level* levels;
  long options;
  ost_ty_level_result* results;
  std::vector<long> depth;
  utl_ty_col* result = nullptr;  // handles (517)
  std::vector<long> result_level;  // the level of each handle
  utl_ty_col* ids = nullptr;       // ids of ids-only levels (594), the caller's
  std::vector<long> ids_level;
  std::vector<ost_ty_work_item> work;
  // Query descriptions of the current step, kept until it ends.
  // (deques: the addresses handed out stay valid while more are added).
  std::deque<std::vector<dbs_ty_qry_cond>> cond_store;
  std::deque<dbs_ty_qry_desc> desc_store;
  long root_key_type = 0;
};

// Runs one community step on the work items; empties them.
long ost_comm_step(ost_comm_ctx& c);
// The parents a level found: the ids of its objects (from the result or the
// id collection).
std::vector<obj_id> ost_comm_found(ost_comm_ctx& c, long level);
// Appends handles found for a level (after duplicate merging).
long ost_comm_append(ost_comm_ctx& c, long level, long from);
// Sets every level's result record from the collections; with sort, puts
// the objects of one depth's levels together first (from index from on).
long ost_comm_settle(ost_comm_ctx& c, long from);
// Frees the temporary collections; on failure also every object found.
void ost_comm_release(ost_comm_ctx& c, bool failed);
// Checks the options and the map, and computes the depths: 0 or the status.
long ost_comm_prepare(ost_comm_ctx& c, const char* proc);
