// The "ost" message list: compiled-in texts, argument counts and
// registration.
#include <cstdarg>

#include "client/ost/ost_msg.h"
#include "client/ost/ost_msgtab.h"
#include "core/cmn/cmn_alrt.h"

namespace {

using message = ost_ty_msg_row;

constexpr message kMessages[OST_NUM_MSGS] = {
    {1, "Invalid size for object state application data block (%ld)."},
    {1, "Corrupt state name in object state (%ld)."},
    {1, "Corrupt object collection in object state (%ld)."},
    {1, "Corrupt number of objects in object state (%ld)."},
    {1, "Corrupt object array pointer in object state (%ld)."},
    {1, "Corrupt object collection in object state (%ld)."},
    {1, "Corrupt number of objects in object state (%ld)."},
    {1, "Corrupt object array pointer in object state (%ld)."},
    {1, "Corrupt parent state pointer in object state (%ld)."},
    {1, "Corrupt child state pointer in object state (%ld)."},
    {1, "Corrupt next sibling state pointer in object state (%ld)."},
    {1, "Corrupt next state pointer in object state (%ld)."},
    {1, "Corrupt application data block in object state (%ld)."},
    {1, "Could not reset a newly created local object back to NEW upon state save failure."},
    {0, "You cannot remove an object from a checkpointed OST state."},
    {0, "An invalid OST state was passed to the OST subsystem.\n"},
    {1, "An invalid OST state was passed to the OST subsystem.\n"},
    {1, "An invalid OST state callback number %ld was passed to the OST subsystem.\n"},
    {3, "Cannot relate %s NULL HANDLE and %sID (in state '%s')"},
    {0, "ONLY OST_REL_COMMUNE_GET_ALL_HNDLS option is supported OST_REL_GET_COMMUNITY!\n"},
    {0, "OST_REL_COMMUNE_USE_CACHE and OST_REL_COMMUNE_USE_CACHE cannot co-exist.\n"},
    {0, "objid column is null.\n"},
    {3, "Unexpected char '%c' (%ld) found in query statement on line %ld.\n"},
    {2, "The object type '%s' found on line %ld is not a valid object type.\n"},
    {3, "The error '%s' was found while processing the query '%s' on line %ld.\n"},
    {1, " The error was encountered at '%s'.\n"},
    {0, "IMPORT the following object types:\n"},
    {0, "DO NOT IMPORT the following object types:\n"},
    {0, "EXPORT the following object types:\n"},
    {0, "DO NOT EXPORT the following object types:\n"},
    {4, "Could not convert value '%s' to a %s as needed when comparing with field '%s' of object type '%s'.\n"},
    {2, "Object type '%s' does not have field '%s' (in WHERE clause).\n"},
    {3, "Object with id (0x%x/0x%x) already exists in OST state %ld.\n"},
};

constexpr ost_ty_msg_tables<OST_NUM_MSGS> kTables{kMessages};

}  // namespace

long ost_str_init() {
  return ost_msg_install("ost", OST_SUBSYS, OST_FIRST_ID, OST_LAST_ID, kTables);
}

long ost_alrt(const char* proc, long code, ...) {
  va_list args;
  va_start(args, code);
  cmn_alrt_vpush(nullptr, proc, code, 0, args);
  va_end(args);
  return code;
}
