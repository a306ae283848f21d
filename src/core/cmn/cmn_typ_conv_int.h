// Shared by the files of the type conversion (not for other modules).
//
// Threads: as cmn_typ_conv.h.
#pragma once

#include <string>

#include "core/cmn/cmn_typ_conv.h"

struct cmn_conv_settings {
  bool localized = true;
  long dec_precision = 2;
  long reg_cur_precision = 2;
  long db_cur_precision = 4;
  bool read_flag = false;
  bool write_flag = false;
  bool from_db = false;
  bool region_fetched = false;
};

cmn_conv_settings& cmn_conv();
// Settings of the conversions, the region fetched on first use.
bool cmn_conv_localized();
// The currency precision for this call (read flag, then write flag wins)
// starting from p; clears both flags.
long cmn_conv_take_cur_precision(long p);

// Storage of at least need bytes: *slot itself when size >= threshold, else
// max(need, alloc) bytes allocated into the slot with *allocated = 1.
long cmn_conv_storage(void* slot, long size, long threshold, long alloc, long type, long* allocated,
                      void** storage);
// Writes a text result into the slot's storage: allocated (alloc bytes, at
// least the text and its NUL) when size is below threshold or the text.
long cmn_conv_put_text(void* slot, long size, long threshold, long alloc, long* allocated,
                       const std::string& text);
// Plain "%f"-style text of v with the given places, '.' as the point
// whatever the C locale says.
std::string cmn_conv_fixed(double v, int places);
// The localised currency text of v (its "%f" text).
long cmn_conv_currency_text(double v, std::string* out);
long cmn_conv_no_proc(long owner, long src, long dst);
long cmn_conv_range_check(double v);
long cmn_conv_push_value(long code, const char* text);

// The matrix by source group.
// Stores value as a long in the slot's storage.
long cmn_conv_put_long(void* slot, long size, long* allocated, long value);
long cmn_conv_from_number(long owner, long src_type, void* src, long dst_type, void* slot, long size,
                          long* allocated);
long cmn_conv_from_text(long owner, long src_type, void* src, long dst_type, void* slot, long size,
                        long* allocated);
long cmn_conv_from_decimal(long owner, void* src, long dst_type, void* slot, long size, long* allocated);
long cmn_conv_text_to_decimal(const char* text, void* slot, long size, long* allocated);
// The clock type's own convert method.
long cmn_conv_by_clock(long owner, long src_type, void* src, long dst_type, void* slot, long size,
                       long* allocated);
