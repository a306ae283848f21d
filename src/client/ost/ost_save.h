// The save's module data and helpers shared by the save, the id creation
// and the close of a state.
#pragma once

#include "client/ost/ost_ty.h"

// One id request of the save in progress (type 689): the object's type id,
// its handle and the index of its entry in the state.
struct ost_ty_id_req {
  long type;
  dbs_ty_lobj* handle;
  long index;
  long zero[3];
};

// The id-request collection of the save in progress.
utl_ty_col* ost_save_requests();
// 1 while the failure-injection counter is positive (it then drops by one).
char ost_save_take_injection();
// After a save: when the first entry is of a type whose objects the state
// lets go of (ids 144, 5309, 5311, 5312), empties the object collection;
// the handles are freed with the state.
long ost_save_retire_objects(ost_ty_state* state);
