// Relation maps: the built-in mappings, installation with its ordering
// rule, and the look-ups from generic to specific relations.
#include "client/oab/oab_rel.h"

#include "client/oab/oab_msg.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/osl/osl_mem.h"
#include "core/utl/utl_col.h"

namespace {

struct map_entry {
  long zero;
  long type;
  long minus_one;
  oab_rel_node* head;
};

constexpr long kTableExtend = 16;

// clang-format off
const long kBuiltin[OAB_REL_BUILTIN_ROWS][4] = {
    {1, -2, 2, 0}, {1, -14, 18, 1}, {1, -21, 20, 3}, {1, -45, 20, 4}, {1, -40, 36, 5}, {1, -26, 22, 8},
    {1, -4, 4, 9}, {1, -5, 4, 6}, {1, -24, 5, 7}, {1, -84, 51, 11}, {1, -22, 21, 2}, {1, -89, 5, 7},
    {1, -89, 4, 6}, {1, -89, 51, 11}, {6, -11, 7, 0}, {6, -8, 10, 1}, {7, -11, 8, 1}, {7, -10, 6, 0},
    {7, -8, 11, 2}, {8, -11, 9, 1}, {8, -10, 7, 0}, {8, -8, 12, 2}, {10, -11, 11, 0}, {10, -9, 6, 1},
    {11, -11, 12, 1}, {11, -10, 10, 0}, {11, -9, 7, 2}, {11, -18, 13, 3}, {12, -11, 13, 1}, {12, -10, 11, 0},
    {12, -9, 8, 2}, {9, -10, 8, 0}, {9, -8, 13, 1}, {13, -10, 12, 0}, {13, -9, 9, 1}, {13, -19, 11, 2},
    {0, 0, 2, 0}, {0, -4, 4, 1}, {0, -5, 4, 2}, {0, -24, 5, 3}, {0, -26, 22, 5}, {0, -16, 18, 4},
    {0, -28, 24, 6}, {0, -21, 20, 7}, {0, -45, 20, 17}, {0, -58, 15, 23}, {0, -47, 79, 20}, {0, -49, 79, 21},
    {0, -51, 79, 19}, {0, -40, 36, 16}, {0, -61, 45, 25}, {0, -61, 44, 18}, {0, -63, 52, 24}, {0, -65, 47, 39},
    {0, -67, 86, 26}, {0, -71, 120, 27}, {0, -75, 79, 28}, {0, -80, 143, 31}, {0, -84, 51, 34},
    {0, -86, 127, 29}, {0, -90, 52, 35}, {0, -22, 21, 9}, {0, -31, 27, 10}, {0, -32, 28, 11}, {0, -33, 29, 12},
    {0, -34, 30, 13}, {0, -36, 32, 15}, {0, -83, 154, 33}, {0, -89, 5, 3}, {0, -89, 4, 2}, {0, -89, 51, 34},
    {0, -89, 127, 29}, {0, -101, 115, 22}, {22, -27, 0, 0}, {22, -27, 0, 1}, {22, -27, 0, 0}, {22, -27, 1, 4},
    {22, -23, 0, 0}, {22, -23, 24, 1}, {22, -60, 21, 3}, {22, -23, 1, 4}, {22, -23, 192, 5}, {22, -23, 49, 6},
    {22, -23, 86, 8}, {22, -23, 5000, 7}, {22, -23, 5080, 10}, {22, -23, 5200, 11}, {22, -27, 5200, 11},
    {24, -4, 4, 0}, {24, -5, 4, 1}, {24, -24, 5, 2}, {24, -26, 22, 3}, {24, -29, 0, 4}, {24, -21, 20, 5},
    {24, -45, 20, 14}, {24, -40, 36, 13}, {24, -47, 79, 16}, {24, -49, 79, 17}, {24, -71, 120, 18},
    {24, -75, 79, 19}, {24, -84, 51, 21}, {24, -86, 127, 22}, {24, -80, 143, 30}, {24, -22, 21, 6},
    {24, -31, 27, 7}, {24, -32, 28, 8}, {24, -33, 29, 9}, {24, -34, 30, 10}, {24, -36, 32, 12},
    {24, -83, 154, 20}, {24, -89, 5, 2}, {24, -89, 4, 1}, {24, -89, 51, 21}, {24, -89, 127, 22},
    {24, -101, 115, 25}, {26, -23, 0, 0}, {26, -23, 24, 5}, {26, -45, 20, 1}, {26, -60, 21, 4}, {26, -36, 32, 2},
    {36, -41, 0, 0}, {36, -55, 79, 3}, {36, -41, 86, 7}, {36, -41, 5080, 10}, {36, -41, 5200, 11},
    {21, -23, 0, 0}, {21, -23, 24, 1}, {21, -23, 1, 2}, {21, -23, 2, 3}, {21, -23, 52, 17}, {21, -23, 15, 16},
    {21, -23, 192, 18}, {21, -23, 49, 29}, {21, -23, 244, 32}, {21, -23, 86, 35}, {21, -23, 45, 37},
    {21, -23, 5000, 34}, {21, -23, 5080, 39}, {21, -23, 5140, 40}, {21, -44, 22, 5}, {21, -44, 27, 6},
    {21, -44, 28, 7}, {21, -44, 29, 8}, {21, -44, 30, 9}, {21, -44, 32, 11}, {21, -44, 120, 13},
    {21, -44, 115, 12}, {21, -44, 145, 14}, {21, -44, 154, 15}, {21, -44, 210, 20}, {21, -44, 194, 19},
    {21, -44, 24, 21}, {21, -44, 21, 24}, {21, -44, 26, 27}, {21, -44, 244, 32}, {21, -44, 45, 37},
    {21, -42, 20, 4}, {21, -44, 5142, 41}, {21, -44, 142, 42}, {21, -44, 45, 37}, {21, -44, 193, 38},
    {27, -23, 0, 0}, {27, -23, 24, 1}, {27, -23, 192, 4}, {27, -23, 20, 3}, {27, -60, 21, 2}, {27, -99, 79, 6},
    {27, -100, 79, 7}, {27, -23, 86, 9}, {27, -23, 5000, 8}, {27, -23, 5080, 11}, {28, -23, 0, 0},
    {28, -23, 24, 1}, {28, -60, 21, 2}, {28, -99, 79, 7}, {28, -100, 79, 8}, {28, -23, 45, 3},
    {28, -23, 5000, 9}, {28, -23, 5080, 10}, {28, -23, 86, 11}, {154, -23, 0, 0}, {154, -23, 24, 1},
    {154, -23, 192, 3}, {154, -60, 21, 2}, {154, -99, 79, 4}, {154, -100, 79, 5}, {154, -23, 86, 6},
    {154, -23, 5000, 7}, {154, -23, 5080, 9}, {154, -23, 45, 8}, {29, -23, 0, 0}, {29, -23, 24, 1},
    {29, -60, 21, 2}, {29, -99, 79, 4}, {29, -100, 79, 5}, {30, -23, 0, 1}, {30, -23, 24, 2},
    {30, -23, 5000, 10}, {30, -46, 0, 1}, {30, -46, 24, 2}, {30, -60, 21, 0}, {30, -69, 45, 5}, {30, -69, 44, 6},
    {5142, -60, 21, 1}, {5142, -23, 5140, 0}, {142, -60, 21, 17}, {32, -23, 0, 1}, {32, -23, 24, 2},
    {32, -23, 26, 3}, {32, -60, 21, 0}, {5000, -22, 21, 2}, {5000, -31, 27, 12}, {5000, -32, 28, 13},
    {5000, -34, 30, 14}, {5000, -83, 154, 23}, {5000, -80, 143, 36}, {5000, -89, 5, 4}, {5000, -89, 4, 5},
    {5000, -40, 36, 3}, {5000, -24, 5, 4}, {5000, -5, 4, 5}, {5000, -4, 4, 6}, {5000, -26, 22, 7},
    {5000, -45, 20, 8}, {5000, -21, 20, 9}, {5000, -75, 79, 10}, {5000, -71, 120, 11}, {5140, -22, 21, 1},
    {5140, -102, 5142, 4}, {20, -82, 4, 23}, {20, -20, 5, 0}, {20, -79, 5, 22}, {20, -87, 127, 27},
    {20, -94, 236, 34}, {20, -96, 276, 40}, {20, -30, 0, 1}, {20, -30, 24, 2}, {20, -30, 26, 15},
    {20, -37, 33, 3}, {20, -39, 1, 5}, {20, -71, 120, 21}, {20, -30, 86, 56}, {20, -30, 5080, 65},
    {20, -30, 5200, 91}, {33, -38, 20, 0}, {4, -6, 0, 0}, {4, -7, 0, 1}, {4, -6, 24, 2}, {4, -7, 24, 3},
    {4, -6, 1, 9}, {4, -7, 1, 8}, {4, -6, 86, 18}, {4, -7, 86, 19}, {4, -6, 5000, 16}, {4, -7, 5000, 17},
    {4, -6, 5080, 22}, {4, -7, 5080, 23}, {4, -7, 5200, 24}, {4, -6, 5200, 25}, {5, -21, 20, 0}, {5, -25, 0, 1},
    {5, -25, 24, 2}, {5, -25, 1, 3}, {5, -25, 192, 6}, {5, -25, 49, 7}, {5, -25, 86, 9}, {5, -25, 5000, 8},
    {5, -25, 5080, 11}, {5, -25, 5200, 12}, {15, -59, 0, 5}, {15, -81, 86, 4}, {15, -22, 21, 9},
    {15, -95, 259, 13}, {15, -80, 143, 26}, {52, -81, 86, 5}, {52, -22, 21, 18}, {52, -80, 143, 27},
    {52, -98, 258, 20}, {79, -48, 0, 3}, {79, -50, 0, 4}, {79, -52, 0, 2}, {79, -56, 36, 5}, {79, -78, 120, 8},
    {79, -77, 120, 9}, {79, -76, 0, 10}, {79, -76, 24, 11}, {79, -76, 86, 42}, {79, -76, 5080, 49},
    {79, -76, 5200, 57}, {258, -22, 21, 2}, {259, -22, 21, 1}, {259, -97, 44, 2}, {259, -97, 15, 3},
    {44, -70, 30, 8}, {44, -22, 21, 19}, {44, -95, 259, 18}, {44, -98, 258, 25}, {45, -70, 30, 4},
    {45, -22, 21, 15}, {45, -32, 28, 1}, {45, -80, 143, 27}, {86, -80, 143, 4}, {86, -4, 4, 15}, {86, -5, 4, 16},
    {86, -24, 5, 17}, {86, -26, 22, 20}, {86, -21, 20, 7}, {86, -45, 20, 13}, {86, -40, 36, 8},
    {86, -71, 120, 24}, {86, -75, 79, 9}, {86, -22, 21, 14}, {86, -31, 27, 18}, {86, -83, 154, 19},
    {86, -32, 28, 30}, {86, -89, 5, 17}, {86, -89, 4, 16}, {120, -23, 0, 0}, {120, -23, 24, 1},
    {120, -60, 21, 2}, {120, -72, 20, 3}, {120, -73, 79, 4}, {120, -74, 79, 5}, {120, -23, 192, 6},
    {120, -23, 49, 7}, {120, -23, 86, 10}, {120, -23, 5000, 8}, {120, -23, 5080, 11}, {120, -23, 5200, 12},
    {14, -80, 143, 0}, {51, -85, 0, 6}, {51, -85, 24, 7}, {51, -85, 1, 8}, {115, -88, 79, 3}, {115, -73, 79, 5},
    {115, -74, 79, 4}, {192, -89, 5, 1}, {192, -89, 4, 2}, {192, -89, 51, 20}, {192, -89, 127, 4},
    {192, -5, 4, 2}, {192, -24, 5, 1}, {192, -84, 51, 20}, {192, -86, 127, 4}, {192, -26, 22, 5},
    {192, -21, 20, 7}, {192, -45, 20, 6}, {192, -47, 79, 16}, {192, -49, 79, 17}, {192, -51, 79, 15},
    {192, -40, 36, 0}, {192, -75, 79, 18}, {192, -22, 21, 9}, {192, -80, 143, 19}, {192, -83, 154, 14},
    {192, -91, 79, 23}, {192, -92, 79, 24}, {192, 0, 1, 28}, {5080, -89, 5, 13}, {5080, -89, 4, 14},
    {5080, -40, 36, 12}, {5080, -24, 5, 13}, {5080, -5, 4, 14}, {5080, -4, 4, 15}, {5080, -26, 22, 16},
    {5080, -45, 20, 5}, {5080, -21, 20, 6}, {5080, -75, 79, 0}, {5080, -71, 120, 19}, {5080, -22, 21, 1},
    {5080, -31, 27, 8}, {5080, -32, 28, 18}, {5080, -83, 154, 17}, {194, -60, 21, 0}, {194, -73, 79, 2},
    {194, -74, 79, 1}, {210, -60, 21, 1}, {210, -73, 79, 3}, {210, -74, 79, 2}, {260, -47, 79, 1},
    {260, -49, 79, 2}, {49, -21, 20, 7}, {49, -40, 36, 8}, {49, -24, 5, 9}, {49, -4, 4, 10}, {49, -5, 4, 11},
    {49, -26, 22, 12}, {49, -22, 21, 13}, {49, -84, 51, 14}, {49, -75, 79, 15}, {49, -45, 20, 16},
    {49, -71, 120, 19}, {244, -22, 21, 12}, {244, -45, 20, 0}, {18, -15, 1, 0}, {2, -22, 21, 2},
    {2, -80, 143, 3}, {2, -88, 79, 4}, {2, -1, 0, 0}, {2, -3, 1, 1}, {5016, -80, 143, 5}, {5148, -80, 143, 1},
    {5150, -80, 143, 2}, {5225, -80, 143, 3}, {329, -80, 143, 43}, {5174, -22, 21, 2}, {5312, -80, 143, 9},
    {173, -80, 143, 21}, {5208, -80, 143, 4}, {5371, -80, 143, 3}, {5200, -40, 36, 0}, {5200, -45, 20, 1},
    {5200, -21, 20, 2}, {5200, -24, 5, 3}, {5200, -5, 4, 4}, {5200, -4, 4, 5}, {5200, -26, 22, 6},
    {5200, -71, 120, 7}, {5200, -75, 79, 8}, {5200, -89, 5, 3}, {5200, -89, 4, 4},
};
// clang-format on

utl_ty_col* g_table = nullptr;
oab_rel_node g_builtin_nodes[OAB_REL_BUILTIN_ROWS];
bool g_builtin_installed = false;

long map_cmp(const void* a, const void* b) {
  long x = static_cast<const map_entry*>(a)->type;
  long y = static_cast<const map_entry*>(b)->type;
  return x < y ? -1 : (x > y ? 1 : 0);
}

map_entry* find_entry(long type) {
  if (g_table == nullptr) return nullptr;
  map_entry key{0, type, -1, nullptr};
  for (long i = 0; i < g_table->count; ++i) {
    void* e = nullptr;
    if (utl_col_ith(g_table, i, &e) == 0 && map_cmp(e, &key) == 0) return static_cast<map_entry*>(e);
  }
  return nullptr;
}

long check_types(const char* proc, long type, long target, long gen_id) {
  if (!cmn_typ_is_valid_db_type(type) || !cmn_typ_is_valid_db_type(target)) return oab_alrt(proc, OAB_BAD_TYPE);
  if (gen_id < OAB_REL_GEN_MIN || gen_id > OAB_REL_GEN_MAX) return oab_alrt(proc, OAB_BAD_GEN_REL);
  return 0;
}

// Places the node: before the first greater generic id, directly after the
// first node of an equal one.
oab_rel_node* insert(oab_rel_node* head, oab_rel_node* node) {
  if (head == nullptr) return node;
  if (node->gen_id < head->gen_id) {
    node->next = head;
    return node;
  }
  oab_rel_node* prev = head;
  while (prev->gen_id != node->gen_id && prev->next != nullptr && prev->next->gen_id <= node->gen_id)
    prev = prev->next;
  node->next = prev->next;
  prev->next = node;
  return head;
}

}  // namespace

long oab_rel_map_cmp_proc(const void* a, const void* b) { return map_cmp(a, b); }

oab_rel_node* oab_rel_find_map_by_objtype(long type) {
  map_entry* e = find_entry(type);
  return e != nullptr ? e->head : nullptr;
}

long oab_rel_set_map_by_objtype(long type, oab_rel_node* head) {
  if (map_entry* e = find_entry(type)) {
    e->head = head;
    return 0;
  }
  map_entry e{0, type, -1, head};
  return utl_col_push(g_table, &e, nullptr);
}

long oab_rel_install_a_mapping(long type, long gen_id, long target_type, long sp_id, oab_rel_node* node) {
  if (long st = check_types("oab_rel_install_a_mapping", type, target_type, gen_id)) return st;
  if (node == nullptr) {
    node = static_cast<oab_rel_node*>(osl_mem_alloc("oab_rel_install_a_mapping", sizeof(oab_rel_node)));
    if (node == nullptr) return cmn_alrt_push_no_memory(sizeof(oab_rel_node), "oab_rel_install_a_mapping");
  }
  *node = oab_rel_node{gen_id, target_type, sp_id, nullptr};
  oab_rel_node* head = oab_rel_find_map_by_objtype(type);
  oab_rel_node* new_head = insert(head, node);
  return new_head != head ? oab_rel_set_map_by_objtype(type, new_head) : 0;
}

long oab_rel_install_mapping_mult(const long (*rows)[4], long count) {
  for (long i = 0; i < count; ++i)
    if (long st = oab_rel_install_a_mapping(rows[i][0], rows[i][1], rows[i][2], rows[i][3], nullptr)) return st;
  return 0;
}

long oab_rel_init() {
  if (g_table == nullptr) {
    if (long st = cmn_typ_install(OAB_REL_MAP_TYPE, -1, -1, "oab relation map", sizeof(map_entry), nullptr,
                                  oab_rel_map_cmp_proc, nullptr, nullptr))
      return st;
    if (long st = utl_col_make("oab_rel_init", OAB_REL_MAP_TYPE, kTableExtend, kTableExtend, 0, 0, &g_table))
      return st;
  }
  if (g_builtin_installed) return 0;
  for (long i = 0; i < OAB_REL_BUILTIN_ROWS; ++i) {
    const long* r = kBuiltin[i];
    if (long st = oab_rel_install_a_mapping(r[0], r[1], r[2], r[3], &g_builtin_nodes[i])) return st;
  }
  g_builtin_installed = true;
  return 0;
}

long oab_rel_term() { return 0; }

long oab_rel_map_gen_to_sp(long type, long gen_id, long target_type, long* sp_id) {
  const char* proc = "oab_rel_map_gen_to_sp";
  if (long st = check_types(proc, type, target_type, gen_id)) return st;
  oab_rel_node* n = oab_rel_find_map_by_objtype(type);
  if (n == nullptr) return oab_alrt(proc, OAB_NO_SPEC_REL, type, gen_id);
  for (; n != nullptr; n = n->next) {
    if (n->gen_id != gen_id || n->target_type != target_type) continue;
    *sp_id = n->sp_id;
    return 0;
  }
  return oab_alrt(proc, OAB_NO_SPEC_REL2, type, target_type, gen_id);
}

long oab_rel_map_gen_all(long type, long gen_id, long* count, oab_rel_node** first) {
  const char* proc = "oab_rel_map_gen_all";
  *count = 0;
  *first = nullptr;
  if (long st = check_types(proc, type, type, gen_id)) return st;
  oab_rel_node* n = oab_rel_find_map_by_objtype(type);
  while (n != nullptr && n->gen_id != gen_id) n = n->next;
  if (n == nullptr) return oab_alrt(proc, OAB_NO_SPEC_REL, type, gen_id);
  *first = n;
  for (; n != nullptr && n->gen_id == gen_id; n = n->next) ++*count;
  return 0;
}

long oab_rel_sp_ith(long count, oab_rel_node* first, long index, long* sp_id) {
  if (index < 0 || index >= count) return oab_alrt("oab_rel_sp_ith", OAB_BAD_SPEC_INDEX);
  oab_rel_node* n = first;
  for (long i = 0; i < index && n != nullptr; ++i) n = n->next;
  if (n == nullptr) return oab_alrt("oab_rel_sp_ith", OAB_BAD_SPEC_INDEX);
  *sp_id = n->sp_id;
  return 0;
}
