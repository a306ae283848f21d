// Message list of the bil module. Its texts come from the database
// only, once a session has installed its source.
#include "core/bil/bil_str.h"

#include "core/loc/loc_str.h"

namespace {

// Argument counts not known here; class byte 0 for every message.
const loc_ty_arg_table<203> bil_args(0);

}  // namespace

long bil_str_init() { return loc_str_init_list("bil", 155, 51800, 52002, 203, bil_args.bytes); }
