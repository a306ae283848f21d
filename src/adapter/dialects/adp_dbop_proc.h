// Typed outputs of a stored-procedure call, shared by the two dialects: each
// output value receives what the server returned, in the form its type asks
// for. A text or date output whose value has no buffer gets a new one, from
// the pool when one is given (it lives until the pool is rewound), else
// from osl_mem_alloc (the caller owns it).
#pragma once

#include "core/clk/clk_time.h"
#include "core/cmn/cmn_val.h"

struct utl_ty_pool;

// Longest text an output takes when the caller gives no positive length.
constexpr long ADP_PROC_TEXT_CAP = 255;

// The cap of output k: its positive length, else ADP_PROC_TEXT_CAP.
long adp_dbop_proc_text_cap(const long* out_lengths, long k);
// Copies at most the cap's characters of text and the end of the string.
long adp_dbop_proc_text_out(cmn_ty_value* v, const char* text, long cap, utl_ty_pool* pool);
long adp_dbop_proc_clk_out(cmn_ty_value* v, const clktime& t, utl_ty_pool* pool);
void adp_dbop_proc_float_out(cmn_ty_value* v, float f);
float adp_dbop_proc_float_in(const cmn_ty_value& v);
// A new buffer of size bytes from the pool, or from osl_mem_alloc.
long adp_dbop_proc_alloc(utl_ty_pool* pool, long size, void** out);
