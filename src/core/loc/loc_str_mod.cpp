// Message lists of the cas, bug, prb, bil and vert modules.
#include "core/loc/loc_str_mod.h"

#include <cstdio>

#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

namespace {

// An argument table of n messages: argument count 0 (not known here) and the
// given class byte for each.
template <long N>
struct arg_table {
  signed char bytes[2 * N];
  explicit constexpr arg_table(signed char cls) : bytes{} {
    for (long i = 0; i < N; ++i) bytes[2 * i + 1] = cls;
  }
};

const arg_table<196> cas_args(0);
const arg_table<108> bug_args(0);
const arg_table<2> prb_args(1);
const arg_table<203> bil_args(0);
const arg_table<2240> vert_args(1);

// The prb texts are compiled in, but their wording is not known to this
// library; each names its message instead.
char prb_missing[2][48];
const char* prb_texts[2];

}  // namespace

long cas_str_init() { return loc_str_init_list("cas", 21, 5000, 5195, 196, cas_args.bytes); }

long bug_str_init() { return loc_str_init_list("bug", 53, 12400, 12507, 108, bug_args.bytes); }

long prb_str_init() {
  for (long i = 0; i < 2; ++i) {
    std::snprintf(prb_missing[i], sizeof prb_missing[i], "prb message %ld (no text available)", 4600 + i);
    prb_texts[i] = prb_missing[i];
  }
  if (cmn_list_install_res_table(4600, 2, prb_texts) != 0) return -1;
  return loc_str_init_list("prb", 19, 4600, 4601, 2, prb_args.bytes);
}

long bil_str_init() { return loc_str_init_list("bil", 155, 51800, 52002, 203, bil_args.bytes); }

long vert_str_init() { return loc_str_init_list("vert", 150, 47800, 50039, 2240, vert_args.bytes); }
