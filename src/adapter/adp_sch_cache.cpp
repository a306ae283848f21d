// The type cache: its entries and name pool, the finders by type id and by
// table name, the links to the schema model, and the physical-name helpers.
#include "adapter/adp_sch_cache.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_name.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_pl.h"
#include "schema/typ_sch.h"

adp_sch_type_entry* adp_sch_types = nullptr;
long adp_sch_num_types = 0;

namespace {

constexpr long kInitialRoom = 400;
constexpr long kPoolBlock = 2048;
constexpr long kTableConvert = 0;
constexpr long kRelConvert = 5;
constexpr long kOwnerPrefixPhrase = 30;

std::vector<adp_sch_type_entry>& cache() {
  static std::vector<adp_sch_type_entry> entries;
  return entries;
}

utl_ty_pool* adp_sch_name_pool = nullptr;
char adp_sch_use_snapshot_flag = 0;

void publish() {
  adp_sch_types = cache().empty() ? nullptr : cache().data();
  adp_sch_num_types = static_cast<long>(cache().size());
}

long push_type(long type_id) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_BAD_VALUE_TYPE, 1, type_id);
  return rc != 0 ? rc : ADP_BAD_VALUE_TYPE;
}

// A copy of text in the name pool.
long pool_copy(const char* text, char** out) {
  if (adp_sch_name_pool == nullptr) {
    if (long st = utl_pl_create("adp_sch", kPoolBlock, &adp_sch_name_pool)) return st;
  }
  const char* t = text != nullptr ? text : "";
  void* p = nullptr;
  if (long st = utl_pl_alloc(adp_sch_name_pool, static_cast<long>(std::strlen(t)) + 1, &p)) return st;
  std::strcpy(static_cast<char*>(p), t);
  *out = static_cast<char*>(p);
  return 0;
}

const KAdpNameMapper& module_mapper() {
  static KAdpNameMapper mapper;
  return mapper;
}

long entry_of(long type_id, adp_sch_type_entry** out) {
  long i = -1;
  adp_sch_find_type(type_id, &i);
  if (i < 0) return push_type(type_id);
  *out = &cache()[static_cast<size_t>(i)];
  return 0;
}

bool schema_has_type(long type_id) {
  for (long i = 0; i < typ_sch_num_schs; ++i)
    if (typ_sch_schemas[i].type_id == type_id) return true;
  return false;
}

}  // namespace

long adp_sch_name_copy(const char* text, char** out) { return pool_copy(text, out); }

long adp_sch_init() {
  return cmn_typ_install(ADP_TY_SCH_TYPE, -1, -1, nullptr, sizeof(adp_sch_type_entry), nullptr, nullptr, nullptr,
                         nullptr);
}

long adp_sch_alloc() {
  cache().clear();
  cache().reserve(kInitialRoom);
  publish();
  return 0;
}

long adp_sch_types_clear() {
  if (long st = typ_sch_clear()) return st;
  cache().clear();
  publish();
  return 0;
}

long adp_sch_type_insert(long type_id, long flags, const char* name) {
  adp_sch_type_entry e{};
  e.type_id = type_id;
  e.type_flags = flags;
  if (long st = pool_copy(name, &e.type_name)) return st;
  KCLASSIC::KZString table =
      module_mapper().GetPhys(e.type_name, static_cast<KAdpNameMapper::convert_type>(kTableConvert), 0, nullptr);
  if (long st = pool_copy(table, &e.table_name)) return st;
  cache().push_back(e);
  publish();
  return 0;
}

long adp_sch_find_type(long type_id, long* index) {
  *index = -1;
  for (size_t i = 0; i < cache().size(); ++i) {
    if (cache()[i].type_id == type_id) {
      *index = static_cast<long>(i);
      break;
    }
  }
  return 0;
}

long adp_sch_type_find(const char* table_name, long* type_id) {
  *type_id = -1;
  for (const adp_sch_type_entry& e : cache()) {
    if (e.table_name == nullptr || table_name == nullptr) continue;
    if (std::strcmp(e.table_name, table_name) == 0) {
      *type_id = e.type_id;
      break;
    }
  }
  return 0;
}

long adp_sch_tbl_find(long type_id, const char** table) {
  adp_sch_type_entry* e = nullptr;
  if (long st = entry_of(type_id, &e)) return st;
  *table = e->table_name;
  return 0;
}

long adp_sch_type_name_find(long type_id, const char** name) {
  adp_sch_type_entry* e = nullptr;
  if (long st = entry_of(type_id, &e)) return st;
  *name = e->type_name;
  return 0;
}

long adp_sch_shandle_find(long type_id, typ_sch_srec** schema) {
  adp_sch_type_entry* e = nullptr;
  if (long st = entry_of(type_id, &e)) return st;
  *schema = e->schema;
  return 0;
}

long adp_sch_type_info_get(long type_id, long* flags, const char** name, typ_sch_srec** schema) {
  adp_sch_type_entry* e = nullptr;
  if (long st = entry_of(type_id, &e)) return st;
  if (flags != nullptr) *flags = e->type_flags;
  if (name != nullptr) *name = e->type_name;
  if (schema != nullptr) *schema = e->schema;
  return 0;
}

long adp_sch_types_sch_init() {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    adp_sch_type_entry* e = nullptr;
    if (long st = entry_of(typ_sch_schemas[i].type_id, &e)) return st;
    e->schema = &typ_sch_schemas[i];
  }
  return 0;
}

long adp_sch_type_copy(long schema_index, long cache_index) {
  typ_sch_srec& s = typ_sch_schemas[schema_index];
  adp_sch_type_entry& e = cache()[static_cast<size_t>(cache_index)];
  e.type_id = s.type_id;
  e.type_flags = static_cast<long>(s.flags);
  if (long st = pool_copy(s.info->name, &e.type_name)) return st;
  std::string table = std::string("table_") + s.info->name;
  if (long st = pool_copy(table.c_str(), &e.table_name)) return st;
  e.schema = &s;
  return 0;
}

long adp_sch_types_sch_reinit() {
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec& s = typ_sch_schemas[i];
    long index = -1;
    adp_sch_find_type(s.type_id, &index);
    if (index < 0) {
      if (long st = adp_sch_type_insert(s.type_id, static_cast<long>(s.flags), s.info->name)) return st;
      cache().back().schema = &s;
    } else if (long st = adp_sch_type_copy(i, index)) {
      return st;
    }
  }
  for (size_t i = cache().size(); i-- > 0;) {
    if (!schema_has_type(cache()[i].type_id)) cache().erase(cache().begin() + static_cast<long>(i));
  }
  publish();
  return 0;
}

long adp_sch_find_fld_rel_cnt(utl_ty_col* counts, long type_id, long* nfields, long* nrels) {
  *nfields = 0;
  *nrels = 0;
  long n = 0;
  void* array = nullptr;
  if (long st = utl_col_get_array(counts, &array, &n)) return st;
  const auto* rec = static_cast<const long*>(array);
  for (long i = 0; i < n; ++i, rec += 3) {
    if (rec[0] != type_id) continue;
    *nfields = rec[1];
    *nrels = rec[2];
    break;
  }
  return 0;
}

long adp_sch_require_prefix() { return 1; }

long adp_sch_tbl_name_prefix(const char* name, const char** out) {
  *out = name;
  return 0;
}

long adp_sch_tbl_name_make(const char* type_name, const char** out) {
  static KCLASSIC::KZString buffer;
  KAdpConnId* c = adp_db_get_conn();
  const KAdpNameMapper& mapper = c != nullptr ? c->GetNameMapper() : module_mapper();
  buffer = mapper.GetPhys(type_name != nullptr ? type_name : "",
                          static_cast<KAdpNameMapper::convert_type>(kTableConvert), 0, nullptr);
  *out = buffer;
  return 0;
}

long adp_sch_tbl_name_noprefix(KAdpConnId* con, const char* name, char* out, long size) {
  const char* n = name != nullptr ? name : "";
  if (adp_db_is_db_mssql() && con != nullptr && con->GetDbOperation() != nullptr) {
    const char* prefix =
        con->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kOwnerPrefixPhrase));
    size_t len = std::strlen(prefix);
    if (len > 0 && std::strncmp(n, prefix, len) == 0) n += len;
  }
  std::snprintf(out, static_cast<size_t>(size), "%s", n);
  return 0;
}

long adp_sch_get_phys_relation_name(const char* name, char* out, long size) {
  if (!adp_db_is_db_mssql()) return 0;
  KAdpConnId* c = adp_db_get_conn();
  KCLASSIC::KZString phys = c != nullptr ? c->GetPhys(name, static_cast<KAdpNameMapper::convert_type>(kRelConvert),
                                                      0, nullptr)
                                         : KCLASSIC::KZString(name);
  std::snprintf(out, static_cast<size_t>(size), "%s", static_cast<const char*>(phys));
  return 0;
}

long adp_sch_set_to_use_snapshot() {
  adp_sch_use_snapshot_flag = 1;
  return 0;
}

long adp_sch_use_snapshot() { return adp_sch_use_snapshot_flag; }

long adp_sch_convert_dbtype(const char* type_text) {
  KAdpConnId* c = adp_db_get_conn();
  if (c == nullptr || c->GetDbOperation() == nullptr) return 0;
  return c->GetDbOperation()->SchConvertDbType(type_text);
}
