// Message list of the prb module.
#include "core/prb/prb_str.h"

#include <cstdio>

#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

namespace {

// Argument counts not known here; class byte 1 for every message.
const loc_ty_arg_table<2> prb_args(1);

// The prb texts are compiled in, but their wording is not known to this
// library; each names its message instead.
char prb_missing[2][48];
const char* prb_texts[2];

}  // namespace

long prb_str_init() {
  for (long i = 0; i < 2; ++i) {
    std::snprintf(prb_missing[i], sizeof prb_missing[i], "prb message %ld (no text available)", 4600 + i);
    prb_texts[i] = prb_missing[i];
  }
  if (cmn_list_install_res_table(4600, 2, prb_texts) != 0) return -1;
  return loc_str_init_list("prb", 19, 4600, 4601, 2, prb_args.bytes);
}
