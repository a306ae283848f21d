// Compiled message lists of the client modules: a module's rows of
// {argument count, text} become the text array and the two-byte argument
// descriptors (count, then class 0) that the core registers.
#pragma once

#include "core/cmn/cmn_list.h"
#include "core/loc/loc_str.h"

struct ost_ty_msg_row {
  signed char nargs;
  const char* text;
};

template <long N>
struct ost_ty_msg_tables {
  const char* texts[N];
  signed char args[2 * N];
  constexpr explicit ost_ty_msg_tables(const ost_ty_msg_row (&rows)[N]) : texts{}, args{} {
    for (long i = 0; i < N; ++i) {
      texts[i] = rows[i].text;
      args[2 * i] = rows[i].nargs;
    }
  }
};

// Registers a module's compiled texts with the core, then its message list.
template <long N>
long ost_msg_install(const char* name, long subsys, long first, long last, const ost_ty_msg_tables<N>& tables) {
  if (long st = cmn_list_install_res_table(first, N, tables.texts)) return st;
  return loc_str_init_list(name, subsys, first, last, N, tables.args);
}
