// Run-time record types: the type table, definitions, look-ups and flags.
#include <cstdio>
#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_dyn.h"
#include "core/cmn/cmn_dyn_int.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_conv.h"
#include "core/loc/loc_st.h"
#include "core/osl/osl_mem.h"
#include "core/osl/osl_print.h"

namespace {

constexpr long kFirstRows = 5;
constexpr long kGrowth = 10;
constexpr long kRowBytes = static_cast<long>(sizeof(cmn_ty_dyn_type));

cmn_ty_dyn_type* cmn_dyn_types = nullptr;
long cmn_dyn_num_types = 0;
long cmn_dyn_max_types = 0;
cmn_ty_dyn_fproc cmn_dyn_fproc = nullptr;
cmn_ty_dyn_all_fproc cmn_dyn_all_fproc = nullptr;

long no_memory(const char* proc, long bytes) { return cmn_dyn_alert(proc, CMN_DYN_NO_MEMORY, bytes); }

bool in_table(long id) {
  return id >= CMN_TYP_FIRST_RUNTIME && id < CMN_TYP_FIRST_RUNTIME + cmn_dyn_num_types;
}

// Seams of the registry.
long registry_name(long id, const char** name) {
  if (id == CMN_DYN_UNDETERMINED) {
    *name = "undetermined";
    return 0;
  }
  if (!in_table(id)) return 1;
  *name = cmn_dyn_types[id - CMN_TYP_FIRST_RUNTIME].name;
  return 0;
}

long registry_size(long id, long* size) {
  if (id == CMN_DYN_UNDETERMINED) {
    *size = 0;
    return 0;
  }
  if (!in_table(id)) return 1;
  *size = cmn_dyn_types[id - CMN_TYP_FIRST_RUNTIME].size;
  return 0;
}

long registry_conv(long id, void** proc) {
  *proc = in_table(id) ? reinterpret_cast<void*>(cmn_dyn_types[id - CMN_TYP_FIRST_RUNTIME].conv) : nullptr;
  return 0;
}

// Print procedure of type 729: a definition is printed as its field list.
long print_definition(FILE* stream, long indent, const void* element, long, long) {
  const auto* t = static_cast<const cmn_ty_dyn_type*>(element);
  return t != nullptr ? cmn_dyn_dump_one(stream, indent, t->id) : 0;
}

bool same_name(const char* a, const char* b) {
  return loc_st_strncmpi(a, b, CMN_DYN_NAME_LEN - 1) == 0;
}

long print_fail(const char* fmt, const char* name) {
  osl_print_mes(fmt, "cmn_dyn_define_field", name, CMN_DYN_MAX_EXTENT);
  return 1;
}

}  // namespace

cmn_dyn_fname::cmn_dyn_fname(const cmn_ty_dyn_field& f) {
  std::memcpy(text, f.name, CMN_DYN_FIELD_NAME_LEN);
  text[CMN_DYN_FIELD_NAME_LEN] = '\0';
}

long cmn_dyn_alert(const char* proc, long code, long arg) {
  cmn_alrt_push(nullptr, proc, code, 1, arg);
  return code;
}

long cmn_dyn_no_field(const char* proc, const char* field, const char* type) {
  cmn_alrt_push(nullptr, proc, CMN_DYN_NO_FIELD, 2, field != nullptr ? field : "", type != nullptr ? type : "");
  return CMN_DYN_NO_FIELD;
}

cmn_ty_dyn_type* cmn_dyn_row(const char* proc, long id) {
  if (!in_table(id)) {
    cmn_dyn_alert(proc, CMN_DYN_BAD_TYPE, id);
    return nullptr;
  }
  return &cmn_dyn_types[id - CMN_TYP_FIRST_RUNTIME];
}

cmn_ty_dyn_field* cmn_dyn_field_row(const char* proc, cmn_ty_dyn_type* type, long number) {
  if (number < 0 || number >= type->num_fields) {
    cmn_alrt_push(nullptr, proc, CMN_DYN_BAD_FIELD, 2, number, type->name);
    return nullptr;
  }
  return &type->fields[number];
}

cmn_ty_dyn_field* cmn_dyn_field_named(cmn_ty_dyn_type* type, const char* name) {
  if (name == nullptr) return nullptr;
  for (long i = 0; i < type->num_fields; ++i) {
    cmn_dyn_fname f(type->fields[i]);
    if (loc_st_strcmpi(f.text, name) == 0) return &type->fields[i];
  }
  return nullptr;
}

long cmn_dyn_init() {
  if (cmn_dyn_types == nullptr) {
    void* rows = osl_mem_alloc("cmn_dyn_init", kFirstRows * kRowBytes);
    if (rows == nullptr) return no_memory("cmn_dyn_init", kFirstRows * kRowBytes);
    cmn_dyn_types = static_cast<cmn_ty_dyn_type*>(rows);
    cmn_dyn_max_types = kFirstRows;
    cmn_dyn_num_types = 0;
  }
  cmn_typ_install_dyn_procs(registry_name, registry_size, cmn_dyn_print);
  cmn_typ_install_dyn_conv_lookup(registry_conv);
  if (long rc = cmn_typ_install(CMN_DYN_TYPE_DEF, -1, -1, nullptr, kRowBytes, nullptr, nullptr, nullptr,
                                print_definition)) {
    return rc;
  }
  return cmn_typ_install(CMN_DYN_FIELD_DEF, -1, -1, nullptr, static_cast<long>(sizeof(cmn_ty_dyn_field)), nullptr,
                         nullptr, nullptr, nullptr);
}

long cmn_dyn_term() { return 0; }

long cmn_dyn_define(const char* name, const cmn_ty_dyn_type* description, long* id) {
  if (name == nullptr) name = "";
  const long n = description->num_fields > 0 ? description->num_fields : 0;
  const long bytes = n * static_cast<long>(sizeof(cmn_ty_dyn_field));
  cmn_ty_dyn_field* fields = nullptr;
  if (n > 0) {
    fields = static_cast<cmn_ty_dyn_field*>(osl_mem_alloc("cmn_dyn_define", bytes));
    if (fields == nullptr) return no_memory("cmn_dyn_define", bytes);
    std::memcpy(fields, description->fields, static_cast<size_t>(bytes));
  }
  long found = -1;
  cmn_dyn_find_type(name, &found);
  cmn_ty_dyn_type* row = nullptr;
  if (found >= CMN_TYP_FIRST_RUNTIME && in_table(found)) {
    row = &cmn_dyn_types[found - CMN_TYP_FIRST_RUNTIME];
    osl_mem_free("cmn_dyn_define", row->fields);  // the copy made by the earlier definition
  } else {
    if (cmn_dyn_num_types == cmn_dyn_max_types) {
      long grown_bytes = (cmn_dyn_max_types + kGrowth) * kRowBytes;
      void* grown = osl_mem_realloc("cmn_dyn_define", cmn_dyn_types, grown_bytes);
      if (grown == nullptr) {
        osl_mem_free("cmn_dyn_define", fields);
        return no_memory("cmn_dyn_define", grown_bytes);
      }
      cmn_dyn_types = static_cast<cmn_ty_dyn_type*>(grown);
      cmn_dyn_max_types += kGrowth;
    }
    row = &cmn_dyn_types[cmn_dyn_num_types];
    std::memset(row, 0, sizeof *row);
    std::snprintf(row->name, sizeof row->name, "%s", name);
    row->id = CMN_TYP_FIRST_RUNTIME + cmn_dyn_num_types;
    row->flags = 0;
    ++cmn_dyn_num_types;
  }
  row->size = description->size;
  row->default_record = description->default_record;
  row->fields = fields;
  row->num_fields = n;
  row->conv = description->conv;
  if (id != nullptr) *id = row->id;
  return 0;
}

long cmn_dyn_define_type(const char* name, long size, void* default_record, long num_fields,
                         const cmn_ty_dyn_field* fields, long* id) {
  cmn_ty_dyn_type d{};
  d.size = size;
  d.default_record = default_record;
  d.num_fields = num_fields;
  d.fields = const_cast<cmn_ty_dyn_field*>(fields);
  d.conv = nullptr;
  return cmn_dyn_define(name, &d, id);
}

long cmn_dyn_define_field(const char* name, long offset, long size, long type, cmn_ty_dyn_field* field) {
  if (name == nullptr) name = "";
  if (offset > CMN_DYN_MAX_EXTENT || offset < -CMN_DYN_MAX_EXTENT) {
    return print_fail("%s: offset of field '%s' must be less than %ld\n", name);
  }
  if (size > CMN_DYN_MAX_EXTENT || size < 0) return print_fail("%s: size of field '%s' must be less than %ld\n", name);
  std::memset(field, 0, sizeof *field);
  std::strncpy(field->name, name, CMN_DYN_FIELD_NAME_LEN);
  field->reserved = 0;
  field->offset = offset;
  field->size = size;
  field->type = type;
  return 0;
}

long cmn_dyn_check_type(const char* proc, long id) {
  if (in_table(id) || id == CMN_DYN_UNDETERMINED) return 0;
  return cmn_dyn_alert(proc, CMN_DYN_BAD_TYPE, id);
}

long cmn_dyn_check_field(const char* proc, long id, long number) {
  cmn_ty_dyn_type* t = cmn_dyn_row(proc, id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  return cmn_dyn_field_row(proc, t, number) != nullptr ? 0 : CMN_DYN_BAD_FIELD;
}

long cmn_dyn_find_type(const char* name, long* id) {
  *id = -1;
  if (name == nullptr) return 0;
  for (long i = 0; i < cmn_dyn_num_types; ++i) {
    if (same_name(cmn_dyn_types[i].name, name)) {
      *id = cmn_dyn_types[i].id;
      break;
    }
  }
  return 0;
}

long cmn_dyn_find_type_info(long id, cmn_ty_dyn_type** type) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_find_type_info", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  *type = t;
  return 0;
}

long cmn_dyn_types_get(long* count, cmn_ty_dyn_type** table) {
  if (count != nullptr) *count = cmn_dyn_num_types;
  if (table != nullptr) *table = cmn_dyn_types;
  return 0;
}

long cmn_dyn_get_conv_proc(long id, cmn_ty_dyn_conv_proc* proc) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_get_conv_proc", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  *proc = t->conv;
  return 0;
}

long cmn_dyn_get_name(long id, const char** name) {
  if (long rc = cmn_dyn_check_type("cmn_dyn_get_name", id)) return rc;
  registry_name(id, name);
  return 0;
}

const char* cmn_dyn_name(long id) {
  const char* name = nullptr;
  return registry_name(id, &name) == 0 ? name : "invalid runtime datatype";
}

long cmn_dyn_find_f(long id, const char* name, long* index, long* type, long* size, long* offset) {
  if (index != nullptr) *index = -1;
  if (type != nullptr) *type = -1;
  if (long rc = cmn_dyn_check_type("cmn_dyn_find_f", id)) return rc;
  if (!in_table(id)) {
    osl_print_mes("%s: input type too large (%ld) to be a dynamic type (must be <%ld)\n", "cmn_dyn_find_f", id,
                  9999 + cmn_dyn_num_types);
    return 1;
  }
  if (name == nullptr) return 0;
  cmn_ty_dyn_type& t = cmn_dyn_types[id - CMN_TYP_FIRST_RUNTIME];
  for (long i = 0; i < t.num_fields; ++i) {
    const cmn_ty_dyn_field& f = t.fields[i];
    if (loc_st_strncmpi(cmn_dyn_fname(f).text, name, CMN_DYN_FIELD_NAME_LEN) != 0) continue;
    if (index != nullptr) *index = i;
    if (type != nullptr) *type = f.type;
    if (size != nullptr) *size = f.size;
    if (offset != nullptr) *offset = f.offset;
    break;
  }
  return 0;
}

long cmn_dyn_find_field(long id, const char* name, long* index) {
  return cmn_dyn_find_f(id, name, index, nullptr, nullptr, nullptr);
}

long cmn_dyn_find_foffset(long id, const char* name, long* offset, long* type, long* size) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_find_foffset", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  long index = -1;
  if (long rc = cmn_dyn_find_f(id, name, &index, type, size, offset)) return rc;
  if (index < 0) return cmn_dyn_no_field("cmn_dyn_find_foffset", name, t->name);
  return 0;
}

long cmn_dyn_find_finfo(long id, const char* name, long* index, long* type) {
  if (id < CMN_TYP_FIRST_RUNTIME) {
    if (cmn_dyn_fproc == nullptr) {
      osl_print_mes("%s: no field get procedure installed\n", "cmn_dyn_find_finfo");
      return 1;
    }
    return cmn_dyn_fproc(id, name, index, type);
  }
  if (!in_table(id)) return cmn_dyn_alert("cmn_dyn_find_finfo", CMN_DYN_BAD_TYPE, id);
  return cmn_dyn_find_f(id, name, index, type, nullptr, nullptr);
}

long cmn_dyn_find_all_finfo(long id, long* count, void** fields) {
  if (id < CMN_TYP_FIRST_RUNTIME) {
    if (cmn_dyn_all_fproc == nullptr) {
      osl_print_mes("%s: there is no installed 'all fields' procedure\n", "cmn_dyn_find_all_finfo");
      return 1;
    }
    return cmn_dyn_all_fproc(id, count, fields);
  }
  if (count != nullptr) *count = 0;
  if (fields != nullptr) *fields = nullptr;
  return 0;
}

long cmn_dyn_get_cmp_info(long id, const char* name, long number, long* offset, long* type,
                          cmn_ty_compare_proc* compare) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_get_cmp_info", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  cmn_ty_dyn_field* f = nullptr;
  if (name != nullptr) {
    long index = -1;
    cmn_dyn_find_f(id, name, &index, nullptr, nullptr, nullptr);
    if (index < 0) return cmn_dyn_no_field("cmn_dyn_get_cmp_info", name, t->name);
    f = &t->fields[index];
  } else {
    f = cmn_dyn_field_row("cmn_dyn_get_cmp_info", t, number);
    if (f == nullptr) return CMN_DYN_BAD_FIELD;
  }
  if (offset != nullptr) *offset = f->offset;
  if (type != nullptr) *type = f->type;
  if (compare != nullptr) {
    *compare = nullptr;
    if (long rc = cmn_typ_info(f->type, nullptr, nullptr, nullptr, nullptr, nullptr, compare, nullptr, nullptr)) {
      return rc;
    }
  }
  return 0;
}

long cmn_dyn_install_fproc(cmn_ty_dyn_fproc proc) {
  cmn_dyn_fproc = proc;
  return 0;
}

long cmn_dyn_install_all_fproc(cmn_ty_dyn_all_fproc proc) {
  cmn_dyn_all_fproc = proc;
  return 0;
}

long cmn_dyn_fixed_type(long id) { return cmn_dyn_set_flag(id, CMN_DYN_FIXED); }

long cmn_dyn_is_fixed_type(long id) {
  return in_table(id) && (cmn_dyn_types[id - CMN_TYP_FIRST_RUNTIME].flags & CMN_DYN_FIXED) != 0 ? 1 : 0;
}

long cmn_dyn_set_flag(long id, long bits) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_set_flag", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  t->flags |= bits;
  return 0;
}

long cmn_dyn_reset_flag(long id, long bits) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_reset_flag", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  t->flags &= ~bits;
  return 0;
}

long cmn_dyn_is_flag_set(long id, long bits) {
  if (!in_table(id)) {
    cmn_alrt_clear(nullptr);
    return 0;
  }
  return (cmn_dyn_types[id - CMN_TYP_FIRST_RUNTIME].flags & bits) != 0 ? 1 : 0;
}

long cmn_dyn_reset_type(long id, const char* name, long new_type) {
  cmn_ty_dyn_type* t = cmn_dyn_row("cmn_dyn_reset_type", id);
  if (t == nullptr) return CMN_DYN_BAD_TYPE;
  long index = -1;
  cmn_dyn_find_f(id, name, &index, nullptr, nullptr, nullptr);
  if (index < 0) return cmn_dyn_no_field("cmn_dyn_reset_type", name, t->name);
  cmn_ty_dyn_field& f = t->fields[index];
  f.type = new_type;
  if (f.offset > 0) f.offset = -f.offset;
  return 0;
}
