// The utl message list: subsystem 4, message ids 1600..1652, with its texts
// compiled in.
#include <cstring>

#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"
#include "core/utl/utl_msg.h"

namespace {

const char* const kTexts[UTL_NUM_MSGS] = {
    "An invalid list was detected (at %ld).\n",  // 0
    "A reference collection (%ld, created by '%s') cannot be modified.\n",  // 1
    "Invalid element size %ld for collection %ld (created by '%s').\n",  // 2
    "Cannot find element to remove from collection %ld (created by '%s').\n",  // 3
    "Invalid element type %ld found in collection %ld (created by '%s').\n",  // 4
    "Cannot free collection (%ld, created by '%s') that has a reference.\n",  // 5
    "Cannot reset collection (%ld, created by '%s') that has a reference.\n",  // 6
    "Cannot copy collection (%ld, created by '%s') that is a reference copy.\n",  // 7
    "Verification of element #%ld in collection (%ld, by '%s', type='%s') failed.\n",  // 8
    "Element #%ld of collection %ld (created by '%s') is not inside pool.\n",  // 9
    "Invalid estring %ld.\n",  // 10
    "Estring %ld has bad current string length (%ld) and/or max length (%ld).\n",  // 11
    "Estring %ld has bad extend-by length (%ld).\n",  // 12
    "Estring %ld has current length (%ld) > maximum length (%ld).\n",  // 13
    "Pointer to free (%ld) does not point to allocated block.\n",  // 14
    "Invalid segment size (%ld, segment #%ld) requested from '%s'.\n",  // 15
    "Cannot allocate memory block of size %ld (from '%s').\n",  // 16
    "Invalid memory checking mode (%ld); must be 1 or 0.\n",  // 17
    "Pointer %ld to reallocate does not point to an allocated block (from '%s').\n",  // 18
    "Can't reallocate to a new number of segments (from %ld to %ld, in '%s').\n",  // 19
    "Too many segments (%ld) in block %ld, (from '%s').\n",  // 20
    "Field '%s' at memory location %ld is not inside a valid block.\n",  // 21
    "Field '%s' at %ld is not in right segment type (found '%s', expect '%s').\n",  // 22
    "Value at %ld would go past end of block %ld (length = %ld).\n",  // 23
    "Pointer %ld does not point to valid block; invalid pointer?\n",  // 24
    "Invalid pool %ld (extent size is %ld).\n",  // 25
    "Corrupt pool; open pointer %ld not between start (%ld) and end (%ld).\n",  // 26
    "Open pointer (%ld) + bytes left (%ld) greater than pool end (%ld).\n",  // 27
    "Pool bytes left (%ld) greater than size (%ld) for pool %ld.\n",  // 28
    "Pointer %ld and length %ld is past end of block %ld.\n",  // 29
    "Invalid pool %ld.\n",  // 30
    "Error encountered while verifying memory contents.\n",  // 31
    "Cannot compare different types of data.\n",  // 32
    "Data type '%s' has zero-sized elements; use cmn_typ_install.\n",  // 33
    "Cannot diff different input collection data types:  '%s' for #1 vs. '%s' for #2 .\n",  // 34
    "Symbol '%s' cannot be added to symbol table; it already exists.\n",  // 35
    "Field number must follow '^' in format string '%s'.\n",  // 36
    "Field number too long in format string '%s'.\n",  // 37
    "Invalid format string '%s' (no ending '$' found).\n",  // 38
    "Found unexpected character in format '%s' (at '%s').\n",  // 39
    "Expected format separator '.' after field (found '%s' in '%s').\n",  // 40
    "Type '%s' embedded in format string '%s' does not exist.\n",  // 41
    "Expected format end, but found '%s' in format '%s'.\n",  // 42
    "Found unexpected '%%' in format '%s' at '%s'.\n",  // 43
    "%s: format string too long (%ld characters)\n",  // 44
    "The number of bytes of memory requested (%ld) is too large.\n",  // 45
    "Cannot use utl_col_remove with both element supplied as NULL and index as -1.\n",  // 46
    "You can only use utl_estr_sprintf/aprintf to format a maximum of %ld characters into an estr.\n",  // 47
    "Cannot add a duplicate entry to this collection.\n",  // 48
    "You must supply a comparison routine for data type '%s'.\n",  // 49
    "Could not convert '%s' used in list to a '%s'.\n",  // 50
    "The given index %ld is out of range for the list (it has %ld elements).\n",  // 51
    "You cannot allocate a string from a collection that has no string pool.\n",  // 52
};

// Two bytes per message: the number of arguments its text formats and the
// class byte (0: internal message).
signed char g_args[UTL_NUM_MSGS * 2];

long count_conversions(const char* t) {
  long n = 0;
  for (const char* p = t; *p; ++p) {
    if (*p != '%') continue;
    if (p[1] == '%') {
      ++p;
      continue;
    }
    ++n;
  }
  return n;
}

}  // namespace

const char* utl_str_text(long n) { return n >= 0 && n < UTL_NUM_MSGS ? kTexts[n] : nullptr; }

long utl_str_init() {
  for (long i = 0; i < UTL_NUM_MSGS; ++i) {
    g_args[2 * i] = static_cast<signed char>(count_conversions(kTexts[i]));
    g_args[2 * i + 1] = 0;
  }
  if (long st = cmn_list_install_res_table(UTL_FIRST_ID, UTL_NUM_MSGS, kTexts)) return st;
  return loc_str_init_list("utl", UTL_SUBSYS, UTL_FIRST_ID, UTL_LAST_ID, UTL_NUM_MSGS, g_args);
}
