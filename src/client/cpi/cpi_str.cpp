// The "cpi" message list: the module's 33 compiled texts with their
// two-byte argument descriptors, and the module's alert push.
#include <cstdarg>

#include "client/cpi/cpi_int.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

namespace {

constexpr long kLastId = CPI_FIRST_MSG + CPI_NUM_MSGS - 1;

constexpr const char* kTexts[CPI_NUM_MSGS] = {
    "One or more parameters are not valid.\n",
    "Object type '%s' is not valid.\n",
    "The input T-state is not valid.\n",
    "The given object must be a permanent database object (i.e., already existing\n in the database) for this "
    "operation to succeed.\n",
    "The given connection  ID '%ld' is not valid.\n",
    "A database session has already been established.\n",
    "Circular traversal map for traversal map number '%ld' is invalid.\n",
    "The parent index '%ld' for the traversal map number '%ld' is invalid.\n",
    "The results-col passed in is invalid.\n",
    "Parameter number '%ld', '%s' is invalid.\n",
    "A login session must be established using 'cpi_sess_login' before using session option routines.\n",
    "Option '%ld' is not set.\n",
    "Null input parameters are not allowed.\n",
    "Object '%lx' is invalid.\n",
    "Object ID pointer '%lx' is invalid.\n",
    "Input TYPE_CODE is %ld and expecting TYPE_CODE is %ld.\n",
    "Invalid index for RecordArray object: %ld.\n",
    "The RecordArray is empty.\n",
    "Invalid index for the traversal map condition or sort: %ld.\n",
    "The traversal map is invalid.\n",
    "This BulkRetrieve does not have a level #%ld to retrieve results for.\n",
    "Datatype '%s' is not valid.\n",
    "The get_list_by_rel method is not valid for this recordlist.\n",
    "The added object has type %ld and the recordlist has type %ld.\n",
    "Field name '%s' does not exist for object type '%s'.\n",
    "The application has reported an error.\n",
    "There is a null object in the traversal map entry number %ld.\n",
    "Invalid object index %ld for the transaction state.\n",
    "Cannot get connection ID from NULL transaction state.\n",
    "A record with objid = 0 cannot be deleted (it must have a valid objid).\n",
    "The relation '%s' is not a valid relation for the given object type '%s'.\n",
    "The employee name cannot be found. \n",
    "The login name cannot be found. \n",
};

// Two bytes per message, as the message lists read them.
constexpr signed char kArgs[2 * CPI_NUM_MSGS] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // rows 0-10
    0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0,  // rows 11-21
    0, 0, 2, 0, 2, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 2, 1, 1, 0, 1, 0,  // rows 22-32
};

}  // namespace

long cpi_str_init() {
  if (long st = cmn_list_install_res_table(CPI_FIRST_MSG, CPI_NUM_MSGS, kTexts)) return st;
  return loc_str_init_list("cpi", CPI_SUBSYS, CPI_FIRST_MSG, kLastId, CPI_NUM_MSGS, kArgs);
}

long cpi_alrt(long code, ...) {
  va_list args;
  va_start(args, code);
  cmn_alrt_vpush(nullptr, nullptr, code, 0, args);
  va_end(args);
  return code;
}

long cpi_bad_param(long param, const char* name) { return cpi_alrt(CPI_ALRT_BAD_PARAM, param, name); }
