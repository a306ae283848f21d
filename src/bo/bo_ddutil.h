// Helpers shared by the dictionary's table records: numbers and counts read
// from a message, ':'-separated key lists, the editing errors (one formatted
// insert) and the editing mode of a dictionary.
#pragma once

#include <vector>

#include "bo/bo_internal.h"
#include "bo/bo_msg.h"
#include "kclassic/kc_err.h"

namespace KCLASSIC {

class IDdDataDict;

// The next long of the message.
BO_INTERNAL long dd_msg_long(KMsg& msg);
// The next long as a count of items; a negative count throws 0x8B000C9.
BO_INTERNAL long dd_msg_count(KMsg& msg, const char* method);
// The pieces of a ':'-separated list (multibyte-aware); "a:" gives "a", "".
BO_INTERNAL std::vector<KZString> dd_split_list(const char* list);
BO_INTERNAL KZString dd_join_list(const std::vector<KZString>& parts);
// Throws a KErr of code from method with one insert made by format (no
// insert when format is null).
[[noreturn]] BO_INTERNAL void dd_throw(long code, const char* method, const char* format = nullptr, ...)
    __attribute__((format(printf, 3, 4)));
// The text of a string, for a format's "%s".
inline const char* dd_s(const KZString& s) { return s; }
// User mode: the dictionary is not in product mode (no dictionary counts as
// user mode, the stricter one).
BO_INTERNAL bool dd_user_mode(IDdDataDict* dict);

// Error ids of the editing operations.
inline constexpr long KERR_DD_MISSING_TABLE = 0x8B00193;
inline constexpr long KERR_DD_MISSING_RELATION = 0x8B00195;
inline constexpr long KERR_DD_DUP_RELATIONSHIP = 0x8B00197;
inline constexpr long KERR_DD_VIEW_NO_OBJ_FIELD = 0x8B001A7;
inline constexpr long KERR_DD_DUP_FIELD = 0x8B001A8;
inline constexpr long KERR_DD_FIELD_ARGS = 0x8B001A9;
inline constexpr long KERR_DD_TABLE_NO_VIEW_FIELD = 0x8B001AA;
inline constexpr long KERR_DD_BAD_TABLE_NAME = 0x8B001AC;
inline constexpr long KERR_DD_BAD_FIELD_NAME = 0x8B001AE;
inline constexpr long KERR_DD_BAD_GENID = 0x8B001AF;
inline constexpr long KERR_DD_FIELD_FLAGS = 0x8B001B0;
inline constexpr long KERR_DD_DUP_RELATION = 0x8B001B1;
inline constexpr long KERR_DD_REL_TYPE = 0x8B001B2;
inline constexpr long KERR_DD_REL_FLAGS = 0x8B001B3;
inline constexpr long KERR_DD_SET_FIELDS = 0x8B001B4;
inline constexpr long KERR_DD_SET_MISMATCH = 0x8B001B5;
inline constexpr long KERR_DD_INDEX_FIELDS = 0x8B001B6;
inline constexpr long KERR_DD_VIEW_NO_INDEX = 0x8B001B7;
inline constexpr long KERR_DD_BAD_REL_NAME = 0x8B001B8;
inline constexpr long KERR_DD_TABLE_NO_JOIN = 0x8B001BA;
inline constexpr long KERR_DD_DUP_INDEX = 0x8B001BB;
inline constexpr long KERR_DD_BAD_COMMAND = 0x8B001BC;
inline constexpr long KERR_DD_BAD_POINTER = 0x8B001BD;
inline constexpr long KERR_DD_PERMANENT = 0x8B001BE;
inline constexpr long KERR_DD_DUP_GENID = 0x8B001BF;
inline constexpr long KERR_DD_OUTER_JOIN = 0x8B001C0;
inline constexpr long KERR_DD_BAD_ALIAS = 0x8B001C1;

} // namespace KCLASSIC
