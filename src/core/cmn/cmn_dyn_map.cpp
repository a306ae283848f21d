// Run-time record types: field maps between two types and the map list.
#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_dyn_int.h"
#include "core/cmn/cmn_typ.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_mem.h"

namespace {

struct map_row {
  long src;
  long dst;
  cmn_ty_dyn_map* map;
};

map_row* cmn_dyn_maps = nullptr;
long cmn_dyn_num_maps = 0;

bool same(const char* a, const char* b) { return a != nullptr && b != nullptr && loc_st_strcmpi(a, b) == 0; }

bool compatible(long src, long dst, cmn_ty_dyn_map_proc proc) {
  if (src == dst || proc != nullptr) return true;
  return (src == CMN_TYP_LONG && dst == CMN_TYP_SHORT) || (src == CMN_TYP_SHORT && dst == CMN_TYP_LONG) ||
         (src == CMN_TYP_CHAR_P && dst == CMN_TYP_CHAR) || (src == CMN_TYP_CHAR && dst == CMN_TYP_CHAR_P);
}

// Adds a target to the source field's record (its own record first, then
// chained records). 1 when the types do not fit, an alert on no memory.
long add_target(cmn_ty_dyn_fmap* rec, const cmn_ty_dyn_field& target, cmn_ty_dyn_map_proc proc) {
  if (!compatible(rec->src_type, target.type, proc)) return 1;
  cmn_ty_dyn_fmap* slot = rec;
  if (rec->dst_type != -1) {
    while (slot->next != nullptr) slot = slot->next;
    auto* extra = static_cast<cmn_ty_dyn_fmap*>(osl_mem_alloc("cmn_dyn_map_two_types", sizeof(cmn_ty_dyn_fmap)));
    if (extra == nullptr) {
      return cmn_alrt_push_no_memory(static_cast<long>(sizeof(cmn_ty_dyn_fmap)), "cmn_dyn_map_two_types");
    }
    *extra = {rec->src_offset, rec->src_size, rec->src_type, -1, 0, -1, nullptr, nullptr};
    slot->next = extra;
    slot = extra;
  }
  slot->dst_offset = target.offset;
  slot->dst_size = target.size;
  slot->dst_type = target.type;
  slot->proc = proc;
  return 0;
}

cmn_ty_dyn_map_proc rename_proc(long n, const cmn_ty_dyn_rename* renames, const char* src, const char* dst) {
  for (long i = 0; i < n; ++i) {
    if (same(renames[i].src_name, src) && same(renames[i].dst_name, dst)) return renames[i].proc;
  }
  return nullptr;
}

long build(cmn_ty_dyn_type* s, cmn_ty_dyn_type* d, long n, const cmn_ty_dyn_rename* renames, cmn_ty_dyn_map* map) {
  for (long i = 0; i < s->num_fields; ++i) {
    const cmn_ty_dyn_field& sf = s->fields[i];
    cmn_ty_dyn_fmap* rec = &map->fields[i];
    *rec = {sf.offset, sf.size, sf.type, -1, 0, -1, nullptr, nullptr};
    cmn_dyn_fname sname(sf);
    for (long j = 0; j < d->num_fields; ++j) {
      cmn_dyn_fname dname(d->fields[j]);
      if (!same(sname.text, dname.text)) continue;
      if (long rc = add_target(rec, d->fields[j], rename_proc(n, renames, sname.text, dname.text))) return rc;
    }
    for (long r = 0; r < n; ++r) {
      if (!same(renames[r].src_name, sname.text) || same(renames[r].dst_name, sname.text)) continue;
      cmn_ty_dyn_field* target = cmn_dyn_field_named(d, renames[r].dst_name);
      if (target == nullptr) return cmn_dyn_no_field("cmn_dyn_map_two_types", renames[r].dst_name, d->name);
      if (long rc = add_target(rec, *target, renames[r].proc)) return rc;
    }
  }
  return 0;
}

}  // namespace

long cmn_dyn_map_free(cmn_ty_dyn_map* map) {
  if (map == nullptr) return 0;
  for (long i = 0; i < map->num_src_fields; ++i) {
    cmn_ty_dyn_fmap* extra = map->fields[i].next;
    while (extra != nullptr) {
      cmn_ty_dyn_fmap* next = extra->next;
      osl_mem_free("cmn_dyn_map_free", extra);
      extra = next;
    }
  }
  osl_mem_free("cmn_dyn_map_free", map->fields);
  osl_mem_free("cmn_dyn_map_free", map);
  return 0;
}

long cmn_dyn_map_two_types(long src, long dst, long n, const cmn_ty_dyn_rename* renames, cmn_ty_dyn_map** map) {
  cmn_ty_dyn_type* s = cmn_dyn_row("cmn_dyn_map_two_types", src);
  if (s == nullptr) return CMN_DYN_BAD_TYPE;
  cmn_ty_dyn_type* d = cmn_dyn_row("cmn_dyn_map_two_types", dst);
  if (d == nullptr) return CMN_DYN_BAD_TYPE;
  auto* m = static_cast<cmn_ty_dyn_map*>(osl_mem_alloc("cmn_dyn_map_two_types", sizeof(cmn_ty_dyn_map)));
  const long bytes = (s->num_fields > 0 ? s->num_fields : 1) * static_cast<long>(sizeof(cmn_ty_dyn_fmap));
  auto* fields = static_cast<cmn_ty_dyn_fmap*>(osl_mem_alloc("cmn_dyn_map_two_types", bytes));
  if (m == nullptr || fields == nullptr) {
    osl_mem_free("cmn_dyn_map_two_types", m);
    osl_mem_free("cmn_dyn_map_two_types", fields);
    return cmn_alrt_push_no_memory(bytes, "cmn_dyn_map_two_types");
  }
  std::memset(fields, 0, static_cast<size_t>(bytes));
  *m = {src, s->num_fields, dst, d->num_fields, fields};
  if (long rc = build(s, d, n > 0 ? n : 0, renames, m)) {
    cmn_dyn_map_free(m);
    return rc;
  }
  *map = m;
  return 0;
}

long cmn_dyn_map_types(long src, long dst, cmn_ty_dyn_map** map) { return cmn_dyn_map_two_types(src, dst, 0, nullptr, map); }

long cmn_dyn_map_register(long a, long b, long n_ab, const cmn_ty_dyn_rename* ab, long n_ba,
                          const cmn_ty_dyn_rename* ba) {
  cmn_ty_dyn_map* m_ab = nullptr;
  cmn_ty_dyn_map* m_ba = nullptr;
  if (long rc = cmn_dyn_map_two_types(a, b, n_ab, ab, &m_ab)) return rc;
  if (long rc = cmn_dyn_map_two_types(b, a, n_ba, ba, &m_ba)) {
    cmn_dyn_map_free(m_ab);
    return rc;
  }
  const long bytes = (cmn_dyn_num_maps + 2) * static_cast<long>(sizeof(map_row));
  void* grown = osl_mem_realloc("cmn_dyn_map_register", cmn_dyn_maps, bytes);
  if (grown == nullptr) {
    cmn_dyn_map_free(m_ab);
    cmn_dyn_map_free(m_ba);
    return cmn_alrt_push_no_memory(bytes, "cmn_dyn_map_register");
  }
  cmn_dyn_maps = static_cast<map_row*>(grown);
  cmn_dyn_maps[cmn_dyn_num_maps++] = {a, b, m_ab};
  cmn_dyn_maps[cmn_dyn_num_maps++] = {b, a, m_ba};
  return 0;
}

cmn_ty_dyn_map* cmn_dyn_find_map(long src, long dst) {
  for (long i = 0; i < cmn_dyn_num_maps; ++i) {
    if (cmn_dyn_maps[i].src == src && cmn_dyn_maps[i].dst == dst) return cmn_dyn_maps[i].map;
  }
  return nullptr;
}

long cmn_dyn_map_values(long src, const void* src_record, long dst, void* dst_record, const cmn_ty_dyn_map* map) {
  if (map == nullptr) map = cmn_dyn_find_map(src, dst);
  if (map == nullptr) return 1;
  if (long rc = cmn_dyn_default_val(dst, dst_record)) return rc;
  for (long i = 0; i < map->num_src_fields; ++i) {
    for (const cmn_ty_dyn_fmap* r = &map->fields[i]; r != nullptr; r = r->next) {
      if (r->dst_type == -1) continue;
      cmn_ty_value v{};
      if (long rc = cmn_dyn_extract_val(src_record, r->src_offset, r->src_size, r->src_type, &v)) return rc;
      if (r->proc != nullptr) {
        cmn_ty_value result{};
        if (long rc = r->proc(const_cast<void*>(src_record), r->src_size, r->src_offset, &v, dst_record, r->dst_size,
                              r->dst_offset, &result)) {
          return rc;
        }
        v = result;
      }
      if (long rc = cmn_dyn_assign_val(dst_record, r->dst_offset, r->dst_size, r->dst_type, &v)) return rc;
    }
  }
  return 0;
}
