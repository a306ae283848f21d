// The test-coverage list: routines (or name patterns) whose marked points
// are counted.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/dbg/dbg_main.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_mem.h"

namespace {

dbg_ty_tc_rtn* dbg_tc_first_rtn = nullptr;
unsigned char dbg_tc_mode = 1;

// "*" for the prefix "ALL", "prefix_*" for another prefix, else the routine.
std::string text_of(const char* prefix, const char* routine) {
  if (prefix != nullptr && prefix[0] != '\0') {
    if (loc_st_strcmpi(prefix, "ALL") == 0) return "*";
    return std::string(prefix) + "_*";
  }
  return routine != nullptr ? routine : "";
}

char* copy(const char* text) {
  size_t n = std::strlen(text) + 1;
  auto* p = static_cast<char*>(osl_mem_alloc("dbg_tc", static_cast<long>(n)));
  if (p != nullptr) std::memcpy(p, text, n);
  return p;
}

long no_memory(long bytes, const char* proc) {
  cmn_alrt_push(nullptr, proc, DBG_NO_MEMORY, 2, bytes, proc);
  return DBG_NO_MEMORY;
}

void free_entry(dbg_ty_tc_rtn* e) {
  for (dbg_ty_tc_hit* h = e->hits; h != nullptr;) {
    dbg_ty_tc_hit* next = h->next;
    osl_mem_free("dbg_tc", h->marker);
    osl_mem_free("dbg_tc", h);
    h = next;
  }
  osl_mem_free("dbg_tc", e->text);
  osl_mem_free("dbg_tc", e);
}

// Counts a hit of the marker, keeping the hit list in name order.
long count_hit(dbg_ty_tc_rtn* e, const char* marker) {
  dbg_ty_tc_hit** link = &e->hits;
  while (*link != nullptr && std::strcmp((*link)->marker, marker) < 0) link = &(*link)->next;
  if (*link != nullptr && std::strcmp((*link)->marker, marker) == 0) {
    ++(*link)->count;
    return 0;
  }
  auto* h = static_cast<dbg_ty_tc_hit*>(osl_mem_alloc("dbg_tc_mark", sizeof(dbg_ty_tc_hit)));
  char* name = h != nullptr ? copy(marker) : nullptr;
  if (name == nullptr) {
    osl_mem_free("dbg_tc_mark", h);
    return no_memory(static_cast<long>(sizeof(dbg_ty_tc_hit)), "dbg_tc_mark");
  }
  *h = {*link, 1, name};
  *link = h;
  return 0;
}

}  // namespace

long dbg_tc_init() { return 0; }
long dbg_tc_term() { return 0; }

dbg_ty_tc_rtn* dbg_tc_first() { return dbg_tc_first_rtn; }

long dbg_tc_find_routine(const char* name, long exact, dbg_ty_tc_rtn** entry, dbg_ty_tc_rtn** previous) {
  dbg_ty_tc_rtn* prev = nullptr;
  dbg_ty_tc_rtn* found = nullptr;
  if (name != nullptr) {
    for (dbg_ty_tc_rtn* e = dbg_tc_first_rtn; e != nullptr; prev = e, e = e->next) {
      bool match = exact != 0 ? std::strcmp(e->text, name) == 0 : loc_st_match(e->text, name) == 0;
      if (match) {
        found = e;
        break;
      }
    }
  }
  if (entry != nullptr) *entry = found;
  if (previous != nullptr) *previous = found != nullptr ? prev : nullptr;
  return 0;
}

long dbg_tc_activate(const char* prefix, const char* routine) {
  std::string text = text_of(prefix, routine);
  dbg_ty_tc_rtn* e = nullptr;
  dbg_tc_find_routine(text.c_str(), 1, &e, nullptr);
  if (e != nullptr) return 0;
  auto* n = static_cast<dbg_ty_tc_rtn*>(osl_mem_alloc("dbg_tc_activate", sizeof(dbg_ty_tc_rtn)));
  char* t = n != nullptr ? copy(text.c_str()) : nullptr;
  if (t == nullptr) {
    osl_mem_free("dbg_tc_activate", n);
    return no_memory(static_cast<long>(sizeof(dbg_ty_tc_rtn) + text.size() + 1), "dbg_tc_activate");
  }
  *n = {dbg_tc_first_rtn, t, nullptr};
  dbg_tc_first_rtn = n;
  return 0;
}

long dbg_tc_deactivate(const char* prefix, const char* routine) {
  std::string text = text_of(prefix, routine);
  dbg_ty_tc_rtn* e = nullptr;
  dbg_ty_tc_rtn* prev = nullptr;
  dbg_tc_find_routine(text.c_str(), 1, &e, &prev);
  if (e == nullptr) {
    cmn_alrt_push(nullptr, "dbg_tc_deactivate", DBG_TC_NOT_FOUND, 1, routine != nullptr ? routine : text.c_str());
    return 9;
  }
  (prev != nullptr ? prev->next : dbg_tc_first_rtn) = e->next;
  free_entry(e);
  return 0;
}

long dbg_tc_mark(const char* routine, const char* marker) {
  if (dbg_tc_mode == 0 || routine == nullptr) return 0;
  dbg_ty_tc_rtn* e = nullptr;
  dbg_tc_find_routine(routine, 0, &e, nullptr);
  if (e == nullptr) return 0;
  const char* top = nullptr;
  if (dbg_prc_get_top(&top) != 0 || top == nullptr) {
    cmn_alrt_push(nullptr, "dbg_tc_mark", DBG_TC_NO_PRC, 0);
    return DBG_TC_NO_PRC;
  }
  if (std::strcmp(top, routine) != 0) {
    cmn_alrt_push(nullptr, "dbg_tc_mark", DBG_TC_WRONG_TOP, 2, top, routine);
    return DBG_TC_WRONG_TOP;
  }
  return count_hit(e, marker != nullptr ? marker : "");
}

long dbg_tc_dump(FILE* stream, const char* routine, long indent, const dbg_ty_tc_hit* hits) {
  FILE* out = stream != nullptr ? stream : stdout;
  const char* name = routine != nullptr ? routine : "";
  if (hits == nullptr) {
    std::fprintf(out, "%s: Can't find hit list for routine '%s'\n", "dbg_tc_dump", name);
    return 0;
  }
  const int n = static_cast<int>(indent < 0 ? 0 : indent);
  std::fprintf(out, "%*.*sHIT LIST for '%s':\n", n, n, "", name);
  for (const dbg_ty_tc_hit* h = hits; h != nullptr; h = h->next) {
    std::fprintf(out, "%*.*s   '%s': hit %ld times\n", n, n, "", h->marker, h->count);
  }
  return 0;
}
