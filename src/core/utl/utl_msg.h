// Alert codes of the utl message list (subsystem 4, message ids 1600..1652).
// Code = 0x400000 + message number; the arguments follow the conversions of
// the message's text (%ld: long, %s: const char*).
//
// Threads: the codes are constants; utl_str_text reads a constant table and
// is safe anywhere; utl_str_init is start-up only.
#pragma once

#include "orb_api.h"

constexpr long UTL_ALRT_BASE = 0x400000;
constexpr long UTL_SUBSYS = 4;
constexpr long UTL_FIRST_ID = 1600;
constexpr long UTL_LAST_ID = 1652;
constexpr long UTL_NUM_MSGS = 53;

constexpr long utl_code(long n) { return UTL_ALRT_BASE + n; }

constexpr long UTL_BAD_LIST = utl_code(0);         // handle
constexpr long UTL_REF_READONLY = utl_code(1);     // collection, owner
constexpr long UTL_BAD_ELEM_SIZE = utl_code(2);    // length, collection, owner
constexpr long UTL_NO_ELEM_REMOVE = utl_code(3);   // collection, owner
constexpr long UTL_BAD_ELEM_TYPE = utl_code(4);    // type, collection, owner
constexpr long UTL_FREE_HAS_REF = utl_code(5);     // collection, owner
constexpr long UTL_RESET_HAS_REF = utl_code(6);    // collection, owner
constexpr long UTL_COPY_OF_REF = utl_code(7);      // collection, owner
constexpr long UTL_BAD_ESTR = utl_code(10);        // handle
constexpr long UTL_BAD_FREE = utl_code(14);        // pointer
constexpr long UTL_BAD_SEG_SIZE = utl_code(15);    // size, segment, owner
constexpr long UTL_NO_MEMORY = utl_code(16);       // size, owner
constexpr long UTL_BAD_MEM_MODE = utl_code(17);    // mode
constexpr long UTL_BAD_REALLOC = utl_code(18);     // pointer, owner
constexpr long UTL_REALLOC_SEGS = utl_code(19);    // old count, new count, owner
constexpr long UTL_POOL_RANGE = utl_code(29);      // address, length, pool
constexpr long UTL_BAD_POOL = utl_code(30);        // pool
constexpr long UTL_ZERO_SIZE_TYPE = utl_code(33);  // type name
constexpr long UTL_SYM_EXISTS = utl_code(35);      // name
constexpr long UTL_TOO_LARGE = utl_code(45);       // byte count
constexpr long UTL_REMOVE_NULL = utl_code(46);     // none
constexpr long UTL_ESTR_TOO_LONG = utl_code(47);   // maximum
constexpr long UTL_DUPLICATE = utl_code(48);       // none
constexpr long UTL_NO_COMPARE = utl_code(49);      // type name
constexpr long UTL_BAD_INDEX = utl_code(51);       // index, count
constexpr long UTL_NO_POOL = utl_code(52);         // none

// Plain status (no alert) for an argument outside its range.
constexpr long UTL_BAD_ARG = 17;

// Registers the utl message list (texts compiled in) with the message layer.
ORB_API long utl_str_init();
// The compiled-in text of message n (0..52), or null.
ORB_API const char* utl_str_text(long n);
