// Type conversion between registered data types (numbers, texts, decimals,
// booleans; clock times through the clock type's own convert method).
//
// cmn_typ_convert (owner type or -1, source type, source cell, destination
// type, destination slot, destination size, allocated flag out). The slot is
// the address of a pointer to the destination storage. When the given size
// is below what the result needs, storage is allocated (cmn_typ_alloc), its
// address stored in the slot and *allocated set to 1; the caller frees it
// with cmn_typ_dealloc, also when the conversion failed afterwards. Text
// results are measured, so a long text always fits. Returns 0 or an alert
// code that was pushed.
//
// Threads: not safe from several threads: the conversion settings (precisions,
// read and write flags) are process-wide, and failures push alerts (cmn_alrt.h).
#pragma once

#include "orb_api.h"

constexpr long CMN_TYP_NO_CONV_PROC = 0x10000b;
constexpr long CMN_TYP_BAD_INTEGER = 0x100015;
constexpr long CMN_TYP_BAD_REAL = 0x100016;
constexpr long CMN_TYP_NO_REAL = 0x100017;
constexpr long CMN_TYP_TOO_LARGE = 0x10001f;
constexpr long CMN_TYP_TOO_SMALL = 0x100020;
constexpr long CMN_TYP_TWO_POINTS = 0x100021;
constexpr long CMN_TYP_BAD_DECIMAL = 0x100064;
constexpr long CMN_TYP_DECIMAL_TOO_LONG = 0x100065;

ORB_API long cmn_typ_convert(long owner, long src_type, void* src, long dst_type, void* dst_slot,
                             long dst_size, long* allocated);

// Settings of the conversions (process-wide).
ORB_API long cmn_typ_no_localize();
ORB_API long cmn_typ_set_localize(long on);
ORB_API long cmn_typ_get_dec_precision();
ORB_API long cmn_typ_set_dec_precision(long precision);
ORB_API long cmn_typ_get_reg_cur_prec();
ORB_API long cmn_typ_set_db_cur_prec(long precision);
ORB_API long cmn_typ_get_db_cur_prec();
// One-shot flags: the next conversion that makes a currency or decimal text
// uses the registry (read) or database (write) currency precision.
ORB_API long cmn_typ_set_read_cur_flag(long flag);
ORB_API long cmn_typ_set_write_cur_flag(long flag);
ORB_API long cmn_typ_set_from_db(long flag);
ORB_API long cmn_typ_conv_from_db();
// Pushes the text of code as it stands; returns code.
ORB_API long cmn_typ_report_float(long code);
// Start values of every setting; the next conversion fetches the region
// again.
ORB_API long cmn_typ_conv_reset();

// Conversion procedure of a run-time record type (ids 10000 and up); the
// module of those types installs its look-up. *proc null: none.
using cmn_ty_dyn_conv_lookup = long (*)(long type, void** proc);
ORB_API long cmn_typ_install_dyn_conv_lookup(cmn_ty_dyn_conv_lookup lookup);
