// The data-type registry: records, method tables, object-type groups,
// special classes and composite classes.
#include "core/cmn/cmn_typ.h"

#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ_int.h"
#include "core/osl/osl_mem.h"

namespace {

struct obj_group {
  long first;
  long last;
  long flags;
  cmn_ty_method_proc* methods;
};

struct spec_class {
  long id;
  long flags;
  cmn_ty_method_proc* methods;
};

struct comp_class {
  long id;
  long flags;
  const char* name;
  long reserved;
  long value_class;
  cmn_ty_method_proc* methods;
  long num_traits;
  long* traits;
};

obj_group* cmn_objects = nullptr;
long cmn_typ_num_obj_grp = 0;
spec_class* cmn_typ_spec_classes = nullptr;
long cmn_typ_num_spec = 0;
long cmn_typ_max_spec = 0;
comp_class* cmn_typ_comp_classes = nullptr;
long cmn_typ_num_comp = 0;
long cmn_typ_max_comp = 0;

cmn_ty_alloc_proc cmn_typ_alloc_proc = nullptr;
cmn_ty_free_proc cmn_typ_free_proc = nullptr;
cmn_ty_dyn_name_proc cmn_typ_dyn_name = nullptr;
cmn_ty_dyn_size_proc cmn_typ_dyn_size = nullptr;
cmn_ty_print_proc cmn_typ_dyn_print = nullptr;
cmn_ty_init_proc cmn_typ_builtin_init = nullptr;

// The size of an object-type element: a handle.
constexpr long kHandleSize = static_cast<long>(sizeof(void*));
constexpr long kTableBytes = CMN_TYP_NUM_METHODS * static_cast<long>(sizeof(cmn_ty_method_proc));

comp_class* find_comp(long id) {
  long i = id - CMN_TYP_FIRST_COMPOSITE;
  if (i < 0 || i >= cmn_typ_num_comp) return nullptr;
  return &cmn_typ_comp_classes[i];
}

obj_group* find_group(long id) {
  for (long i = 0; i < cmn_typ_num_obj_grp; ++i) {
    if (cmn_objects[i].first <= id && id <= cmn_objects[i].last) return &cmn_objects[i];
  }
  return nullptr;
}

spec_class* find_spec(long id) {
  for (long i = 0; i < cmn_typ_num_spec; ++i) {
    if (cmn_typ_spec_classes[i].id == id) return &cmn_typ_spec_classes[i];
  }
  return nullptr;
}

}  // namespace

// Ids from 10000 up are run-time record types, except composite classes and
// the object types of registered groups (the object store registers
// 100000..109999), which the registry answers itself.
long cmn_typ_is_runtime_id(long id) {
  return id >= CMN_TYP_FIRST_RUNTIME && find_comp(id) == nullptr && find_group(id) == nullptr ? 1 : 0;
}

namespace {

long push_code(long code, const char* proc, long arg) {
  cmn_alrt_push(nullptr, proc, code, 1, arg);
  return code;
}

// The record of an id for work on one of its method slots. A slot number out
// of range is reported as `bad_slot` (with the number and the id) before the
// id is looked at.
long method_slot_record(const char* proc, long bad_slot, long id, long number, cmn_ty_obj_info* rec) {
  if (number < 0 || number >= CMN_TYP_NUM_METHODS) {
    cmn_alrt_push(nullptr, proc, bad_slot, 2, number, id);
    return bad_slot;
  }
  return cmn_typ_get_obj_info(id, rec);
}

// The record of an id without pushing; false for an invalid id (the record
// then reads id -1, class -1, flags 1, size of a handle).
bool lookup(long id, cmn_ty_obj_info* info) {
  cmn_dtype_init_obj_info(info);
  if (cmn_typ_is_builtin(id)) {
    cmn_dtype_copy_obj_info(&cmn_classes[id - CMN_TYP_FIRST_BUILTIN], info);
    return true;
  }
  if (const comp_class* c = find_comp(id)) {
    info->id = c->id;
    info->flags = c->flags;
    info->name = c->name;
    info->size = 0;
    info->methods = c->methods;
    return true;
  }
  info->size = kHandleSize;
  if (const spec_class* s = find_spec(id)) {
    info->id = id;
    info->flags = s->flags | CMN_TYP_FLAG_1;
    info->methods = s->methods;
    return true;
  }
  if (const obj_group* g = find_group(id)) {
    info->id = id;
    info->flags = CMN_TYP_FLAG_1 | CMN_TYP_FLAG_SHARED;
    info->methods = g->methods;
    return true;
  }
  info->flags = CMN_TYP_FLAG_1;
  return false;
}

cmn_ty_method_proc* new_table(const cmn_ty_method_proc* from) {
  auto* table = static_cast<cmn_ty_method_proc*>(osl_mem_alloc("cmn_typ_install_methods", kTableBytes));
  if (table == nullptr) return nullptr;
  for (long i = 0; i < CMN_TYP_NUM_METHODS; ++i) table[i] = from != nullptr ? from[i] : nullptr;
  return table;
}

long write_methods(long id, cmn_ty_obj_info* rec, long count, const cmn_ty_method* list) {
  long rc = 0;
  for (long i = 0; i < count; ++i) {
    if (list[i].id < 0 || list[i].id >= CMN_TYP_NUM_METHODS) {
      cmn_alrt_push(nullptr, "cmn_typ_install_methods", CMN_TYP_BAD_METHOD, 2, list[i].id, id);
      rc = CMN_TYP_BAD_METHOD;
      break;
    }
    rec->methods[list[i].id] = list[i].proc;
  }
  long put = cmn_typ_put_obj_info(id, rec);
  return rc != 0 ? rc : put;
}

cmn_ty_method_proc slot_of(const cmn_ty_obj_info& rec, long method) {
  return rec.methods != nullptr ? rec.methods[method] : nullptr;
}

}  // namespace

long cmn_typ_init() { return cmn_typ_builtin_init != nullptr ? cmn_typ_builtin_init() : 0; }

namespace {

// The built-in records as compiled in, taken before anything installs.
struct builtin_copy {
  cmn_ty_obj_info rec[CMN_TYP_NUM_BUILTIN];
  builtin_copy() {
    for (long i = 0; i < CMN_TYP_NUM_BUILTIN; ++i) rec[i] = cmn_classes[i];
  }
};
const builtin_copy cmn_typ_compiled;

// Frees a method table unless an earlier record (or the compiled-in table)
// already holds it.
void free_table_once(cmn_ty_method_proc* table, cmn_ty_method_proc** freed, long* nfreed) {
  if (table == nullptr) return;
  for (long i = 0; i < *nfreed; ++i)
    if (freed[i] == table) return;
  for (const cmn_ty_obj_info& r : cmn_typ_compiled.rec)
    if (r.methods == table) return;
  freed[(*nfreed)++] = table;
  osl_mem_free("cmn_typ_reset", table);
}

}  // namespace

long cmn_typ_reset() {
  long most = CMN_TYP_NUM_BUILTIN + cmn_typ_num_obj_grp + cmn_typ_num_spec + cmn_typ_num_comp;
  auto** freed = static_cast<cmn_ty_method_proc**>(
      osl_mem_alloc("cmn_typ_reset", most * static_cast<long>(sizeof(cmn_ty_method_proc*))));
  if (freed != nullptr) {
    long n = 0;
    for (const cmn_ty_obj_info& r : cmn_classes) free_table_once(r.methods, freed, &n);
    for (long i = 0; i < cmn_typ_num_obj_grp; ++i) free_table_once(cmn_objects[i].methods, freed, &n);
    for (long i = 0; i < cmn_typ_num_spec; ++i) free_table_once(cmn_typ_spec_classes[i].methods, freed, &n);
    for (long i = 0; i < cmn_typ_num_comp; ++i) free_table_once(cmn_typ_comp_classes[i].methods, freed, &n);
    osl_mem_free("cmn_typ_reset", freed);
  }
  for (long i = 0; i < cmn_typ_num_comp; ++i) osl_mem_free("cmn_typ_reset", cmn_typ_comp_classes[i].traits);
  osl_mem_free("cmn_typ_reset", cmn_objects);
  osl_mem_free("cmn_typ_reset", cmn_typ_spec_classes);
  osl_mem_free("cmn_typ_reset", cmn_typ_comp_classes);
  cmn_objects = nullptr;
  cmn_typ_num_obj_grp = 0;
  cmn_typ_spec_classes = nullptr;
  cmn_typ_num_spec = cmn_typ_max_spec = 0;
  cmn_typ_comp_classes = nullptr;
  cmn_typ_num_comp = cmn_typ_max_comp = 0;
  for (long i = 0; i < CMN_TYP_NUM_BUILTIN; ++i) cmn_classes[i] = cmn_typ_compiled.rec[i];
  return cmn_typ_init();
}

long cmn_typ_term() { return 0; }

long cmn_typ_install_builtin_methods_proc(cmn_ty_init_proc proc) {
  cmn_typ_builtin_init = proc;
  return 0;
}

long cmn_typ_install_dyn_procs(cmn_ty_dyn_name_proc name, cmn_ty_dyn_size_proc size, cmn_ty_print_proc print) {
  cmn_typ_dyn_name = name;
  cmn_typ_dyn_size = size;
  cmn_typ_dyn_print = print;
  return 0;
}

void cmn_dtype_init_obj_info(cmn_ty_obj_info* info) {
  info->id = -1;
  info->class_code = -1;
  info->flags = 0;
  info->name = nullptr;
  info->size = 0;
  info->methods = nullptr;
  info->extra = 0;
  info->name_msg = 0;
}

void cmn_dtype_copy_obj_info(const cmn_ty_obj_info* from, cmn_ty_obj_info* to) { *to = *from; }

long cmn_typ_get_obj_info(long id, cmn_ty_obj_info* info) {
  cmn_ty_obj_info local;
  if (info == nullptr) info = &local;
  if (!lookup(id, info)) return push_code(CMN_TYP_BAD_CLASS, "cmn_typ_get_obj_info", id);
  return 0;
}

long cmn_typ_put_obj_info(long id, const cmn_ty_obj_info* info) {
  if (cmn_typ_is_builtin(id)) {
    cmn_dtype_copy_obj_info(info, &cmn_classes[id - CMN_TYP_FIRST_BUILTIN]);
    return 0;
  }
  if (comp_class* c = find_comp(id)) {
    c->flags = info->flags;
    c->methods = info->methods;
    return 0;
  }
  for (long i = 0; i < cmn_typ_num_obj_grp; ++i) {
    obj_group& g = cmn_objects[i];
    if (g.first <= id && id <= g.last && g.methods == nullptr) {
      g.methods = info->methods;
      g.flags = info->flags;
      return 0;
    }
  }
  if (spec_class* s = find_spec(id)) {
    s->flags = info->flags;
    s->methods = info->methods;
    return 0;
  }
  if (cmn_typ_num_spec == cmn_typ_max_spec) {
    long cap = cmn_typ_max_spec + 40;
    long bytes = cap * static_cast<long>(sizeof(spec_class));
    void* grown = osl_mem_realloc("cmn_typ_put_obj_info", cmn_typ_spec_classes, bytes);
    if (grown == nullptr) return cmn_alrt_push_no_memory(bytes, "cmn_typ_put_obj_info");
    cmn_typ_spec_classes = static_cast<spec_class*>(grown);
    cmn_typ_max_spec = cap;
  }
  cmn_typ_spec_classes[cmn_typ_num_spec++] = {id, info->flags, info->methods};
  return 0;
}

long cmn_typ_install_methods(long id, long count, const cmn_ty_method* list) {
  cmn_ty_obj_info rec;
  long rc = cmn_typ_get_obj_info(id, &rec);
  if (rc != 0) return rc;
  if (rec.methods == nullptr || (rec.flags & CMN_TYP_FLAG_SHARED) != 0) {
    cmn_ty_method_proc* table = new_table(nullptr);
    if (table == nullptr) return cmn_alrt_push_no_memory(kTableBytes, "cmn_typ_install_methods");
    rec.methods = table;
    rec.flags &= ~CMN_TYP_FLAG_SHARED;
  }
  return write_methods(id, &rec, count, list);
}

long cmn_typ_add_methods(long id, long count, const cmn_ty_method* list) {
  cmn_ty_obj_info rec;
  long rc = cmn_typ_get_obj_info(id, &rec);
  if (rc != 0) return rc;
  if (rec.methods == nullptr) return cmn_typ_install_methods(id, count, list);
  if ((rec.flags & CMN_TYP_FLAG_SHARED) != 0) {
    cmn_ty_method_proc* table = new_table(rec.methods);
    if (table == nullptr) return cmn_alrt_push_no_memory(kTableBytes, "cmn_typ_add_methods");
    rec.methods = table;
    rec.flags &= ~CMN_TYP_FLAG_SHARED;
  }
  return write_methods(id, &rec, count, list);
}

long cmn_typ_install(long id, long id_word, long flags, const char* name, long size, cmn_ty_length_proc length,
                     cmn_ty_compare_proc compare, cmn_ty_method_proc method5, cmn_ty_print_proc print) {
  cmn_ty_obj_info rec;
  if (!lookup(id, &rec)) return push_code(CMN_TYP_BAD_TYPE, "cmn_typ_install", id);
  bool changed = false;
  if (id_word != -1) {
    rec.id = id_word;
    changed = true;
  }
  if (flags != -1) {
    rec.flags = flags;
    changed = true;
  }
  if (name != nullptr) {
    rec.name = name;
    changed = true;
  }
  if (size != -1) {
    rec.size = size;
    changed = true;
  }
  if (changed) {
    long rc = cmn_typ_put_obj_info(id, &rec);
    if (rc != 0) return rc;
  }
  cmn_ty_method list[4];
  long n = 0;
  if (length != nullptr) list[n++] = {CMN_MTH_LENGTH, cmn_typ_proc(length)};
  if (compare != nullptr) list[n++] = {CMN_MTH_COMPARE, cmn_typ_proc(compare)};
  if (method5 != nullptr) list[n++] = {CMN_MTH_5, method5};
  if (print != nullptr) list[n++] = {CMN_MTH_PRINT, cmn_typ_proc(print)};
  return n > 0 ? cmn_typ_install_methods(id, n, list) : 0;
}

void cmn_typ_init_info(cmn_ty_type_info* info) {
  std::memset(info, 0, sizeof *info);
  info->reserved = -1;
  info->class_code = -1;
  info->size = -1;
}

long cmn_typ_install_info(long id, const cmn_ty_type_info* info) {
  cmn_ty_obj_info rec;
  if (!lookup(id, &rec)) return push_code(CMN_TYP_BAD_TYPE, "cmn_typ_install_info", id);
  if (info == nullptr) return 0;
  if (info->class_code != -1 || info->size != -1) {
    if (info->class_code != -1) rec.class_code = info->class_code;
    if (info->size != -1) rec.size = info->size;
    long rc = cmn_typ_put_obj_info(id, &rec);
    if (rc != 0) return rc;
  }
  const struct {
    long id;
    cmn_ty_method_proc proc;
  } order[] = {{CMN_MTH_LENGTH, info->length}, {CMN_MTH_COMPARE, info->compare}, {CMN_MTH_5, info->method5},
               {CMN_MTH_PRINT, info->print},   {CMN_MTH_GET, info->get},         {CMN_MTH_SET, info->set},
               {CMN_MTH_ADDRESS, info->address_of}, {CMN_MTH_12, info->method12}, {CMN_MTH_13, info->method13},
               {CMN_MTH_CONVERT, info->convert}, {CMN_MTH_GET_NAME, info->get_name},
               {CMN_MTH_NAME_TO_ID, info->name_to_id}};
  cmn_ty_method list[12];
  long n = 0;
  for (const auto& o : order) {
    if (o.proc != nullptr) list[n++] = {o.id, o.proc};
  }
  return n > 0 ? cmn_typ_install_methods(id, n, list) : 0;
}

long cmn_typ_install_same_as(long id, long other) {
  cmn_ty_obj_info rec, from;
  long rc = cmn_typ_get_obj_info(id, &rec);
  if (rc != 0) return rc;
  rc = cmn_typ_get_obj_info(other, &from);
  if (rc != 0) return rc;
  rec.methods = from.methods;
  rec.flags |= CMN_TYP_FLAG_SHARED;
  return cmn_typ_put_obj_info(id, &rec);
}

long cmn_typ_install_callback(long id, long number, cmn_ty_method_proc proc) {
  cmn_ty_obj_info rec;
  long rc = method_slot_record("cmn_typ_install_callback", CMN_TYP_BAD_CALLBACK, id, number, &rec);
  if (rc != 0) return rc;
  if (rec.methods == nullptr) {
    rec.methods = new_table(nullptr);
    if (rec.methods == nullptr) return cmn_alrt_push_no_memory(kTableBytes, "cmn_typ_install_callback");
    rec.flags &= ~CMN_TYP_FLAG_SHARED;
    rc = cmn_typ_put_obj_info(id, &rec);
    if (rc != 0) return rc;
  }
  rec.methods[number] = proc;  // a shared table is written in place
  return 0;
}

long cmn_typ_find_callback(long id, long number, cmn_ty_method_proc* proc) {
  cmn_ty_obj_info rec;
  long rc = method_slot_record("cmn_typ_find_callback", CMN_TYP_BAD_CALLBACK, id, number, &rec);
  if (rc != 0) return rc;
  if (proc != nullptr) *proc = slot_of(rec, number);
  return 0;
}

long cmn_typ_info(long id, long* id_word, long* flags, const char** name, long* size, cmn_ty_length_proc* length,
                  cmn_ty_compare_proc* compare, cmn_ty_method_proc* method5, cmn_ty_print_proc* print) {
  if (cmn_typ_is_runtime_id(id)) {
    const char* dyn_name = nullptr;
    long dyn_size = 0;
    if (cmn_typ_dyn_name == nullptr || cmn_typ_dyn_name(id, &dyn_name) != 0 || cmn_typ_dyn_size == nullptr ||
        cmn_typ_dyn_size(id, &dyn_size) != 0) {
      return push_code(CMN_TYP_BAD_TYPE, "cmn_typ_info", id);
    }
    if (id_word != nullptr) *id_word = id;
    if (flags != nullptr) *flags = 1;
    if (name != nullptr) *name = dyn_name;
    if (size != nullptr) *size = dyn_size;
    if (length != nullptr) *length = nullptr;
    if (compare != nullptr) *compare = nullptr;
    if (method5 != nullptr) *method5 = nullptr;
    if (print != nullptr) *print = cmn_typ_dyn_print;
    return 0;
  }
  cmn_ty_obj_info rec;
  if (!lookup(id, &rec)) return push_code(CMN_TYP_BAD_TYPE, "cmn_typ_info", id);
  if (id_word != nullptr) *id_word = rec.id;
  if (flags != nullptr) *flags = rec.flags;
  if (name != nullptr) *name = rec.name;
  if (size != nullptr) *size = rec.size;
  if (length != nullptr) *length = cmn_typ_proc_as<cmn_ty_length_proc>(slot_of(rec, CMN_MTH_LENGTH));
  if (compare != nullptr) *compare = cmn_typ_proc_as<cmn_ty_compare_proc>(slot_of(rec, CMN_MTH_COMPARE));
  if (method5 != nullptr) *method5 = slot_of(rec, CMN_MTH_5);
  if (print != nullptr) *print = cmn_typ_proc_as<cmn_ty_print_proc>(slot_of(rec, CMN_MTH_PRINT));
  return 0;
}

long cmn_typ_get_info(long id, cmn_ty_type_info* info) {
  cmn_ty_obj_info rec;
  if (!lookup(id, &rec)) return push_code(CMN_TYP_BAD_TYPE, "cmn_typ_get_info", id);
  cmn_typ_init_info(info);
  info->class_code = rec.class_code;
  info->size = rec.size;
  info->length = slot_of(rec, CMN_MTH_LENGTH);
  info->compare = slot_of(rec, CMN_MTH_COMPARE);
  info->method5 = slot_of(rec, CMN_MTH_5);
  info->print = slot_of(rec, CMN_MTH_PRINT);
  info->get = slot_of(rec, CMN_MTH_GET);
  info->set = slot_of(rec, CMN_MTH_SET);
  info->address_of = slot_of(rec, CMN_MTH_ADDRESS);
  info->method12 = slot_of(rec, CMN_MTH_12);
  info->method13 = slot_of(rec, CMN_MTH_13);
  info->convert = slot_of(rec, CMN_MTH_CONVERT);
  info->extra = rec.extra;
  info->get_name = slot_of(rec, CMN_MTH_GET_NAME);
  info->name_to_id = slot_of(rec, CMN_MTH_NAME_TO_ID);
  return 0;
}

long cmn_typ_access_methods(long id, cmn_ty_method_proc out[8]) {
  cmn_ty_obj_info rec;
  long rc = cmn_typ_get_obj_info(id, &rec);
  if (rc != 0) return rc;
  const long ids[8] = {CMN_MTH_GET, CMN_MTH_SET, CMN_MTH_ADDRESS, CMN_MTH_12,
                       CMN_MTH_13,  CMN_MTH_CONVERT, CMN_MTH_GET_NAME, CMN_MTH_NAME_TO_ID};
  for (int i = 0; i < 8; ++i) out[i] = slot_of(rec, ids[i]);
  return 0;
}

long cmn_typ_find_single_method(long id, long method, cmn_ty_method_proc* proc, long* trait_index) {
  cmn_ty_obj_info rec;
  long rc = method_slot_record("cmn_typ_find_single_method", CMN_TYP_BAD_METHOD, id, method, &rec);
  if (rc != 0) return rc;
  cmn_ty_method_proc found = slot_of(rec, method);
  long index = -1;
  if (const comp_class* c = find_comp(id)) {
    for (long t = 0; t < c->num_traits; ++t) {
      cmn_ty_obj_info trait;
      if (!lookup(c->traits[t], &trait)) continue;
      cmn_ty_method_proc p = slot_of(trait, method);
      if (p == nullptr) continue;
      if (found != nullptr) {
        cmn_alrt_push(nullptr, "cmn_typ_find_single_method", CMN_TYP_TWO_METHODS, 2, method,
                      cmn_typ_class_name(id));
        return CMN_TYP_TWO_METHODS;
      }
      found = p;
      index = t;
    }
  }
  if (found == nullptr) {
    cmn_alrt_push(nullptr, "cmn_typ_find_single_method", CMN_TYP_NO_METHOD, 2, method, cmn_typ_class_name(id));
    return CMN_TYP_NO_METHOD;
  }
  if (proc != nullptr) *proc = found;
  if (trait_index != nullptr) *trait_index = index;
  return 0;
}

long cmn_typ_find_methods(long id, long method, cmn_ty_method_proc* own, long* count, const long** trait_ids,
                          const cmn_ty_method_proc** trait_procs) {
  static cmn_ty_method_proc* procs = nullptr;
  static long procs_len = 0;
  cmn_ty_obj_info rec;
  long rc = method_slot_record("cmn_typ_find_methods", CMN_TYP_BAD_METHOD, id, method, &rec);
  if (rc != 0) return rc;
  if (own != nullptr) *own = slot_of(rec, method);
  const comp_class* c = find_comp(id);
  if (c == nullptr) {
    if (count != nullptr) *count = 0;
    if (trait_ids != nullptr) *trait_ids = nullptr;
    if (trait_procs != nullptr) *trait_procs = nullptr;
    return 0;
  }
  if (c->num_traits > procs_len) {
    long bytes = c->num_traits * static_cast<long>(sizeof(cmn_ty_method_proc));
    void* grown = osl_mem_realloc("cmn_typ_find_methods", procs, bytes);
    if (grown == nullptr) return cmn_alrt_push_no_memory(bytes, "cmn_typ_find_methods");
    procs = static_cast<cmn_ty_method_proc*>(grown);
    procs_len = c->num_traits;
  }
  for (long t = 0; t < c->num_traits; ++t) {
    cmn_ty_obj_info trait;
    procs[t] = lookup(c->traits[t], &trait) ? slot_of(trait, method) : nullptr;
  }
  if (count != nullptr) *count = c->num_traits;
  if (trait_ids != nullptr) *trait_ids = c->traits;
  if (trait_procs != nullptr) *trait_procs = procs;
  return 0;
}

long cmn_typ_get_size(const void* element, long id, long* size) {
  long result = 0;
  if (cmn_typ_is_runtime_id(id)) {
    if (cmn_typ_dyn_size == nullptr || cmn_typ_dyn_size(id, &result) != 0) {
      return push_code(CMN_TYP_BAD_TYPE, "cmn_typ_get_size", id);
    }
  } else {
    cmn_ty_obj_info rec;
    if (!lookup(id, &rec)) return push_code(CMN_TYP_BAD_TYPE, "cmn_typ_get_size", id);
    auto length = cmn_typ_proc_as<cmn_ty_length_proc>(slot_of(rec, CMN_MTH_LENGTH));
    result = length != nullptr ? length(element) : rec.size;
  }
  if (size != nullptr) *size = result;
  return 0;
}

long cmn_typ_valcomp(long id, const void* a, const void* b, long* result) {
  cmn_ty_obj_info rec;
  if (!lookup(id, &rec)) return push_code(CMN_TYP_BAD_TYPE, "cmn_typ_valcomp", id);
  auto compare = cmn_typ_proc_as<cmn_ty_compare_proc>(slot_of(rec, CMN_MTH_COMPARE));
  if (compare == nullptr) return push_code(CMN_TYP_BAD_TYPE, "cmn_typ_valcomp", id);
  long r = compare(a, b);
  if (result != nullptr) *result = r;
  return 0;
}

long cmn_typ_get_flags(long id) {
  if (cmn_typ_is_runtime_id(id)) return 1;
  cmn_ty_obj_info rec;
  if (!lookup(id, &rec)) return 0;
  return rec.flags;
}

long cmn_typ_is_valid_type(long id) { return cmn_typ_is_builtin(id) || find_group(id) != nullptr ? 1 : 0; }

long cmn_typ_is_valid_db_type(long id) { return find_group(id) != nullptr ? 1 : 0; }

long cmn_typ_construct_object(long first, long last, const cmn_ty_type_info* info) {
  long bytes = (cmn_typ_num_obj_grp + 1) * static_cast<long>(sizeof(obj_group));
  void* grown = osl_mem_realloc("cmn_typ_construct_object", cmn_objects, bytes);
  if (grown == nullptr) return cmn_alrt_push_no_memory(bytes, "cmn_typ_construct_object");
  cmn_objects = static_cast<obj_group*>(grown);
  cmn_objects[cmn_typ_num_obj_grp++] = {first, last, CMN_TYP_FLAG_1 | CMN_TYP_FLAG_SHARED, nullptr};
  return cmn_typ_install_info(first, info);
}

long cmn_typ_construct_class(const char* name, long value_class, long trait_count, const long* trait_ids,
                             long* id) {
  if (trait_count < 0) trait_count = 0;
  for (long t = 0; t < trait_count; ++t) {
    if (trait_ids[t] > CMN_TYP_LAST_BUILTIN) {
      return push_code(CMN_TYP_BAD_TRAIT, "cmn_typ_construct_class", trait_ids[t]);
    }
  }
  long* traits = nullptr;
  if (trait_count > 0) {
    long bytes = trait_count * static_cast<long>(sizeof(long));
    traits = static_cast<long*>(osl_mem_alloc("cmn_typ_construct_class", bytes));
    if (traits == nullptr) return cmn_alrt_push_no_memory(bytes, "cmn_typ_construct_class");
    std::memcpy(traits, trait_ids, static_cast<size_t>(bytes));
  }
  if (cmn_typ_num_comp == cmn_typ_max_comp) {
    long cap = cmn_typ_max_comp + 10;
    long bytes = cap * static_cast<long>(sizeof(comp_class));
    void* grown = osl_mem_realloc("cmn_typ_construct_class", cmn_typ_comp_classes, bytes);
    if (grown == nullptr) {
      osl_mem_free("cmn_typ_construct_class", traits);
      return cmn_alrt_push_no_memory(bytes, "cmn_typ_construct_class");
    }
    cmn_typ_comp_classes = static_cast<comp_class*>(grown);
    cmn_typ_max_comp = cap;
  }
  long new_id = CMN_TYP_FIRST_COMPOSITE + cmn_typ_num_comp;
  cmn_typ_comp_classes[cmn_typ_num_comp++] = {new_id, 16, name, 0, value_class, nullptr, trait_count, traits};
  if (id != nullptr) *id = new_id;
  return 0;
}

long cmn_typ_comp_value_class(long id, long* value_class) {
  const comp_class* c = find_comp(id);
  if (c == nullptr) return 1;
  if (value_class != nullptr) *value_class = c->value_class;
  return 0;
}

long cmn_typ_is_comp_class(long id) { return find_comp(id) != nullptr ? 1 : 0; }

long cmn_typ_comp_traits(long id, long* count, const long** trait_ids) {
  const comp_class* c = find_comp(id);
  if (c == nullptr) return push_code(CMN_TYP_BAD_COMP, "cmn_typ_comp_traits", id);
  if (count != nullptr) *count = c->num_traits;
  if (trait_ids != nullptr) *trait_ids = c->traits;
  return 0;
}

long cmn_typ_chk_idcode(long n) {
  if (n >= 1 && n <= 164) return 0;
  return push_code(CMN_TYP_BAD_IDCODE, "cmn_typ_chk_idcode", n);
}

long cmn_gfld_check(long code) {
  long n = code & ~(1L << 24);
  return n >= 0 && n <= 153 ? 1 : 0;
}

long cmn_typ_install_mem_procs(cmn_ty_alloc_proc alloc, cmn_ty_free_proc free_proc) {
  cmn_typ_alloc_proc = alloc;
  cmn_typ_free_proc = free_proc;
  return 0;
}

// Without installed procedures one block of the given size is made with the
// OS layer; several segments need the segmented allocator (1).
long cmn_typ_alloc(const char* owner, long count, const long* type_ids, const long* sizes, void** addresses) {
  if (cmn_typ_alloc_proc != nullptr) return cmn_typ_alloc_proc(owner, count, type_ids, sizes, addresses);
  if (count > 1 || sizes == nullptr || addresses == nullptr) return 1;
  void* block = osl_mem_alloc(owner, sizes[0]);
  if (block == nullptr) return cmn_alrt_push_no_memory(sizes[0], owner != nullptr ? owner : "cmn_typ_alloc");
  addresses[0] = block;
  return 0;
}

long cmn_typ_dealloc(const char* owner, void* block) {
  if (cmn_typ_free_proc != nullptr) return cmn_typ_free_proc(owner, block);
  osl_mem_free(owner, block);
  return 0;
}
