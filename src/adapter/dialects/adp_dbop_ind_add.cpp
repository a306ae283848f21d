// One index of a type made from the schema (IndAddIndex, both dialects): the
// CREATE INDEX over the named fields (SQL Server spells out the two columns
// of an exclusive relation once per statement; Oracle adds the index's
// storage clause), its adp_sch_index row (with an object id under the
// offline feature, the old row deleted first), and the search index over the
// upper-case copies when the database keeps them and a field is searchable.
#include <cstring>
#include <set>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_ind_row.h"
#include "adapter/adp_obj_int.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_stor.h"
#include "store/dbs_db.h"

namespace {

enum : long { kTableName = 0, kIndexName = 1, kSearchIndexName = 2, kColumnName = 3, kSearchColumnName = 4 };

// What one index statement needs to know.
struct index_job {
  KAdpConnId* con;
  typ_sch_srec* schema;
  const char* name;  // the logical index name
  utl_ty_col* fields;
  bool unique;
  bool oracle;
  FILE* ddl_file;
  long options;
};

std::string phys(const index_job& j, const char* logical, long kind) {
  return static_cast<const char*>(j.con->GetPhys(logical, static_cast<KAdpNameMapper::convert_type>(kind), 0,
                                                 j.schema));
}

const char* type_name(const typ_sch_srec* schema) {
  return schema != nullptr && schema->info != nullptr ? schema->info->name : "";
}

std::string head(const index_job& j, const std::string& index, const std::string& table) {
  if (j.oracle) return adp_ind_fmt(j.unique ? "CREATE UNIQUE INDEX %s ON %s (" : "CREATE INDEX %s ON %s (",
                                   index.c_str(), table.c_str());
  return adp_ind_fmt(j.unique ? "CREATE UNIQUE NONCLUSTERED INDEX %s ON %s (" : "CREATE NONCLUSTERED INDEX %s ON %s (",
                     index.c_str(), table.c_str());
}

// The field of that name, or null when the type has none (no failure).
long field_of(typ_sch_srec* schema, const char* name, typ_sch_frec** field) {
  long st = typ_sch_field_get_by_name(schema, name, field);
  if (st == TYP_NO_FIELD) {
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    *field = nullptr;
    return 0;
  }
  return st;
}

// Calls visit(i, name, searchable) for each name of the index in order;
// its first failure is returned.
template <class F>
long each_name(const index_job& j, F&& visit) {
  long n = 0;
  utl_col_num(j.fields, &n);
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    if (long st = utl_col_ith(j.fields, i, &e)) return st;
    const char* name = static_cast<const char*>(e);
    typ_sch_frec* field = nullptr;
    if (long st = field_of(j.schema, name, &field)) return st;
    if (long st = visit(i, name, field != nullptr && (field->flags & ADP_FLD_SEARCHABLE) != 0)) return st;
  }
  return 0;
}

// SQL Server: the column text of one name; the two columns of an exclusive
// relation the first time its key column is met in this statement.
long mssql_columns(const index_job& j, const char* name, const char* separator, std::set<std::string>* pairs,
                   std::string* out) {
  typ_sch_rrec* rel = nullptr;
  long st = typ_sch_find_relation_index(type_name(j.schema), j.schema->type_id, name, nullptr, &rel, nullptr,
                                        nullptr);
  if (st == TYP_BAD_REL) {
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    rel = nullptr;
  } else if (st != 0) {
    return st;
  }
  if (rel == nullptr || rel->exclusive == 0 || rel->phys_name == nullptr || rel->focus_field == nullptr) {
    *out += adp_ind_fmt("%s%s", separator, name);
    return 0;
  }
  if (!pairs->insert(rel->phys_name).second) return 0;
  *out += adp_ind_fmt("%s%s, %s", separator, rel->phys_name, rel->focus_field);
  return 0;
}

// The CREATE INDEX text, the ":"-joined field list and whether a named
// field is searchable.
long index_text(const index_job& j, std::string* text, std::string* list, long* count, bool* searchable) {
  const std::string table = phys(j, type_name(j.schema), kTableName);
  *text = head(j, phys(j, j.name, kIndexName), table);
  std::set<std::string> pairs;  // key columns of exclusive relations placed in this statement
  long n = 0;
  long st = each_name(j, [&](long i, const char* name, bool search) -> long {
    const char* separator = i == 0 ? "" : ", ";
    if (j.oracle) {
      *text += adp_ind_fmt("%s%s", separator, name);
    } else if (long rc = mssql_columns(j, name, separator, &pairs, text)) {
      return rc;
    }
    *list += adp_ind_fmt("%s%s", i == 0 ? "" : ":", name);
    *searchable = *searchable || search;
    ++n;
    return 0;
  });
  if (st != 0) return st;
  *count = n;
  *text += ")\n";
  if (j.oracle) {
    const std::string key = adp_ind_fmt("%s_%s", type_name(j.schema), j.name);
    const char* clause = nullptr;
    if (typ_lookup_physical_storage_params(key.c_str(), &clause) == 0 && clause != nullptr) *text += clause;
  }
  return 0;
}

// The index's adp_sch_index row: the old row deleted first, then the new
// one (with its object id under the offline feature).
long record_row(const index_job& j, const std::string& list, long count) {
  char roamer = 0;
  if (long st = dbs_db_if_roamer_enabled(j.con, &roamer)) return st;
  const std::string name = adp_ind_quoted(j.name);
  const std::string fields = adp_ind_quoted(list.c_str());
  const long type_id = j.schema->type_id;
  const long flags = j.unique ? 1 : 0;
  const std::string remove =
      j.oracle ? adp_ind_fmt("DELETE ADP_SCH_INDEX WHERE TYPE_ID=%ld and INDEX_NAME='%s'\n", type_id, name.c_str())
               : adp_ind_fmt("delete adp_sch_index where type_id=%ld and index_name='%s'\n", type_id, name.c_str());
  if (long st = adp_ind_run(j.con, remove, false, j.ddl_file, j.options)) return st;
  std::string insert;
  if (roamer != 0) {
    long objid = 0;
    if (long st = adp_ind_row_objid(j.con, &objid)) return st;
    insert = "insert into adp_sch_index (objid, dev, type_id, index_name, flags, field_count, field_names, "
             "comments) \n" +
             adp_ind_fmt(" VALUES(%ld, 1, ", objid) +
             adp_ind_fmt("%ld, '%s', %ld, %ld, '%s', '')\n", type_id, name.c_str(), flags, count, fields.c_str());
  } else {
    insert = adp_ind_fmt(
        "insert into adp_sch_index (type_id, index_name, flags, field_count, field_names, comments) VALUES(%ld, "
        "'%s', %ld, %ld, '%s', '')\n",
        type_id, name.c_str(), flags, count, fields.c_str());
  }
  return adp_ind_run(j.con, insert, false, j.ddl_file, j.options);
}

// The index over the search copies of the named fields.
long search_index(const index_job& j) {
  std::string index = phys(j, j.name, kSearchIndexName);
  if (index.empty()) index = "S_" + phys(j, j.name, kIndexName);
  std::string text = head(j, index, phys(j, type_name(j.schema), kTableName));
  long st = each_name(j, [&](long i, const char* name, bool search) -> long {
    text += adp_ind_fmt(i == 0 ? "%s" : ",%s", phys(j, name, search ? kSearchColumnName : kColumnName).c_str());
    return 0;
  });
  if (st != 0) return st;
  text += ")\n";
  return adp_ind_run(j.con, text, true, j.ddl_file, j.options);
}

long add_index(const index_job& j) {
  if (j.schema == nullptr || j.name == nullptr) return 0;
  char search = 0;
  adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HDR_SEARCH, &search);
  std::string text, list;
  long count = 0;
  bool searchable = false;
  if (long st = index_text(j, &text, &list, &count, &searchable)) return st;
  if (long st = adp_ind_run(j.con, text, true, j.ddl_file, j.options)) return st;
  if (long st = record_row(j, list, count)) return st;
  if (search != 0 && searchable) return search_index(j);
  return 0;
}

KAdpConnId* conn_of(void* given, const KAdpDbOperation* op) {
  return given != nullptr ? static_cast<KAdpConnId*>(given) : op->GetConnection();
}

}  // namespace

long KAdpMssqlOperation::IndAddIndex(void* con, typ_sch_srec* schema, char* index_name, void* field_names,
                                     char unique, FILE* ddl_file, long options) {
  return adp_err_guard([&]() -> long {
    return add_index({conn_of(con, this), schema, index_name, static_cast<utl_ty_col*>(field_names), unique == 1,
                      false, ddl_file, options});
  });
}

long KAdpOraOperation::IndAddIndex(void* con, typ_sch_srec* schema, char* index_name, void* field_names,
                                   char unique, FILE* ddl_file, long options) {
  return adp_err_guard([&]() -> long {
    return add_index({conn_of(con, this), schema, index_name, static_cast<utl_ty_col*>(field_names), unique == 1,
                      true, ddl_file, options});
  });
}
