// Names of data types and object types.
#include <cstring>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/cmn/cmn_typ_int.h"

namespace {

// Looks the name text of an object type up in the name table.
const char* table_name(long id) {
  for (const cmn_ty_name_row& row : cmn_name_table) {
    if (row.id != id) continue;
    const char* text = nullptr;
    if (cmn_alrt_get_msg(row.code, &text) == 0 && text != nullptr) return text;
  }
  return nullptr;
}

}  // namespace

const char* cmn_typ_name(long id) {
  if (cmn_typ_is_comp_class(id)) return cmn_typ_class_name(id);
  if (cmn_typ_is_runtime_id(id)) {
    const char* name = nullptr;
    if (cmn_typ_info(id, nullptr, nullptr, &name, nullptr, nullptr, nullptr, nullptr, nullptr) != 0 ||
        name == nullptr) {
      return "unknown dynamic data type";
    }
    return name;
  }
  if (!cmn_typ_is_valid_type(id)) return "unknown data type";
  if (cmn_typ_is_builtin(id)) {
    cmn_ty_obj_info& rec = cmn_classes[id - CMN_TYP_FIRST_BUILTIN];
    if ((rec.flags & CMN_TYP_FLAG_LOCALISE) != 0 && rec.name_msg != 0) {
      const char* text = nullptr;
      if (cmn_alrt_get_msg(rec.name_msg, &text) == 0 && text != nullptr) {
        rec.name = text;  // replaced once
        rec.flags &= ~CMN_TYP_FLAG_LOCALISE;
      }
    }
    return rec.name;
  }
  if (const char* name = table_name(id)) return name;
  cmn_ty_method_proc methods[8];
  if (cmn_typ_access_methods(id, methods) != 0) return "problem occured in cmn_typ_access_methods";
  auto get_name = cmn_typ_proc_as<cmn_ty_get_name_proc>(methods[6]);
  if (get_name == nullptr) return "cannot find get_name method";
  const char* name = nullptr;
  if (get_name(id, -1, &name, nullptr) != 0 || name == nullptr) return "problem occured in get_name_proc";
  return name;
}

long cmn_typ_name_id(long id) {
  if (cmn_typ_is_builtin(id)) return cmn_classes[id - CMN_TYP_FIRST_BUILTIN].name_msg;
  if (!cmn_typ_is_valid_type(id)) return 0;
  for (const cmn_ty_name_row& row : cmn_name_table) {
    if (row.id == id && row.code != 0) return row.code;
  }
  return 0;
}

long cmn_typ_name_to_id(const char* name, long* id) {
  if (name == nullptr) name = "";
  for (long i = 0; i < CMN_TYP_NUM_BUILTIN; ++i) {
    const char* n = cmn_classes[i].name;
    if (n != nullptr && std::strcmp(n, name) == 0) {
      if (id != nullptr) *id = CMN_TYP_FIRST_BUILTIN + i;
      return 0;
    }
  }
  for (const cmn_ty_name_row& row : cmn_name_table) {
    const char* text = nullptr;
    long rc = cmn_alrt_get_msg(row.code, &text);
    if (rc != 0) return rc;
    if (text != nullptr && std::strcmp(text, name) == 0) {
      if (id != nullptr) *id = row.id;
      return 0;
    }
  }
  cmn_ty_method_proc proc = nullptr;
  cmn_ty_obj_info rec;
  if (cmn_typ_get_obj_info(CMN_TYP_ANY_OBJECT, &rec) == 0 && rec.methods != nullptr) {
    proc = rec.methods[CMN_MTH_NAME_TO_ID];
  }
  if (proc == nullptr) {
    cmn_alrt_push(nullptr, "cmn_typ_name_to_id", CMN_TYP_NO_METHOD, 2, CMN_MTH_NAME_TO_ID, name);
    return CMN_TYP_NO_METHOD;
  }
  return cmn_typ_proc_as<cmn_ty_name_to_id_proc>(proc)(name, nullptr, id, nullptr);
}

const char* cmn_typ_class_name(long id) {
  if (cmn_typ_is_comp_class(id)) {
    cmn_ty_obj_info rec;
    if (cmn_typ_get_obj_info(id, &rec) == 0 && rec.name != nullptr) return rec.name;
    return "Unknown Class";
  }
  if (cmn_typ_is_builtin(id)) return cmn_classes[id - CMN_TYP_FIRST_BUILTIN].name;
  return "Unknown Class";
}
