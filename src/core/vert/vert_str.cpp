// Message list of the vert module. Its texts come from the database
// only, once a session has installed its source.
#include "core/vert/vert_str.h"

#include "core/loc/loc_str.h"

namespace {

// Argument counts not known here; class byte 1 for every message.
const loc_ty_arg_table<2240> vert_args(1);

}  // namespace

long vert_str_init() { return loc_str_init_list("vert", 150, 47800, 50039, 2240, vert_args.bytes); }
