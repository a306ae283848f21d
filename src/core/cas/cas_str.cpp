// Message list of the cas module. Its texts come from the database
// only, once a session has installed its source.
#include "core/cas/cas_str.h"

#include "core/loc/loc_str.h"

namespace {

// Argument counts not known here; class byte 0 for every message.
const loc_ty_arg_table<196> cas_args(0);

}  // namespace

long cas_str_init() { return loc_str_init_list("cas", 21, 5000, 5195, 196, cas_args.bytes); }
