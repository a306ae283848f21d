// Message list of the bug module. Its texts come from the database
// only, once a session has installed its source.
#include "core/bug/bug_str.h"

#include "core/loc/loc_str.h"

namespace {

// Argument counts not known here; class byte 0 for every message.
const loc_ty_arg_table<108> bug_args(0);

}  // namespace

long bug_str_init() { return loc_str_init_list("bug", 53, 12400, 12507, 108, bug_args.bytes); }
