// The clock's registry types and their procedures (get, set, address,
// compare, print, convert).
//
// Conventions of the procedures (those of cmn_typ_convert): a text source is
// passed through its cell (the cell holds the text's address, const char**);
// a clock source points at a clktime, an elapsed source at a long. The set
// procedures take their new value the same way.
// The destination is a slot holding the address of dst_size bytes of
// storage; when the storage is too small, new storage is allocated with
// cmn_typ_alloc, its address stored in the slot and *allocated set to 1 (the
// caller frees it with cmn_typ_dealloc).
//
// Threads: as cmn_typ.h (installed at start-up; unguarded, one thread at a time).
#pragma once

#include <cstdio>

#include "orb_api.h"

// The text of a text cell ("" for a null cell or text).
const char* clk_type_text_of(void* cell);

// Installs 609, 698, 610, 611, 653 and 692.
long clk_type_install();

ORB_API long clk_time_clk_get(void* cell, long* field_spec, long size, void* dest, long* allocated);
ORB_API long clk_time_clk_set(void* dest, long* field_spec, void* value);
ORB_API long clk_time_clk_gaddr(void* element, void* reserved, void** address, long* field_spec);
ORB_API long clk_time_print(FILE* stream, long indent, const void* element, long type_id, long number);
ORB_API long clk_time_convert(long conv_type, long src_type, void* src, long dst_type, void* dst, long dst_size,
                              long* allocated);
ORB_API long clk_time_inf_convert(long conv_type, long src_type, void* src, long dst_type, void* dst,
                                  long dst_size, long* allocated);
ORB_API long clk_time_elps_get(void* cell, long* field_spec, long size, void* dest, long* allocated);
ORB_API long clk_time_elps_set(void* dest, long* field_spec, void* value);
ORB_API long clk_time_elps_gaddr(void* element, void* reserved, void** address, long* field_spec);
ORB_API long clk_time_elps_convert(long conv_type, long src_type, void* src, long dst_type, void* dst,
                                   long dst_size, long* allocated);
ORB_API long clk_time_date_convert(long conv_type, long src_type, void* src, long dst_type, void* dst,
                                   long dst_size, long* allocated);
ORB_API long clk_time_elps_hour_min(long conv_type, long src_type, void* src, long dst_type, void* dst,
                                    long dst_size, long* allocated);

// Storage of `need` bytes for a destination slot (see above); null with the
// allocation failure in *status.
void* clk_type_storage(void* dst, long need, long dst_size, long type_id, long* allocated, long* status);
// Field-spec word of the requested type, and the two words set by address-of.
constexpr long CLK_SPEC_TYPE = 3;
constexpr long CLK_SPEC_ADDR1 = 4;
constexpr long CLK_SPEC_ADDR2 = 5;
