// Writing one type into the dictionary: its adp_tbl_name_map row replaced,
// then by kind the table, object-id index, field and relation rows of an
// object or subobject type, or the rows and the view of a view; renaming a
// type; and the helpers every dictionary writer shares.
#include <cstdio>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/adp_trn.h"
#include "adapter/adp_usr.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_ids.h"
#include "store/dbs_main.h"
#include "store/dbs_oid.h"

namespace {

constexpr long kRowIdType = 100000001;       // pseudo type of the dictionary rows' ids
constexpr unsigned long kStoredFlags = 0x78026e;  // the type flags the dictionary keeps
constexpr long kObjidGenId = 0x1000003;
constexpr long kTableConvert = 0;
constexpr long kIndexConvert = 1;
constexpr long kSearchIndexConvert = 2;
constexpr long kClusterPhrase = 1;


KAdpNameMapper::convert_type conv(long n) { return static_cast<KAdpNameMapper::convert_type>(n); }

// The unique index on the object id of a new object or subobject type.
std::string objid_index_text(KAdpConnId* con, typ_sch_srec* schema, const std::string& table, const char* objid) {
  const char* cluster =
      con->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kClusterPhrase));
  char text[1024];
  if ((schema->flags & TYP_SCH_OBJECT) != 0) {
    const std::string index = adp_sch_phys(con, objid, kIndexConvert, schema->type_id, schema);
    std::snprintf(text, sizeof text, "create unique %s index %s on %s (%s)", cluster, index.c_str(), table.c_str(),
                  objid);
    return text;
  }
  std::string index = adp_sch_phys(con, objid, kSearchIndexConvert, schema->type_id, schema);
  if (index.empty()) index = adp_sch_phys(con, objid, kIndexConvert, schema->type_id, schema);
  std::snprintf(text, sizeof text, "create unique %s index %s on %s (%s, %s, %s)\n", cluster, index.c_str(),
                table.c_str(), "subobj_to_obj", "parent_type", "seq_num");
  return text;
}

long create_object_table(KAdpConnId* con, typ_sch_srec* schema) {
  const std::string table = adp_sch_phys(con, schema->info->name, kTableConvert);
  if (long st = adp_sch_create_table(con, schema, table.c_str())) return st;
  if (adp_db_is_db_mssql()) {
    if (long st = adp_usr_table_grant(con, table.c_str(), 0, 0)) return st;
  }
  long objid = -1;
  if (long st = typ_sch_gen_to_sp(schema, kObjidGenId, &objid)) return st;
  return adp_sch_run_ddl(con, objid_index_text(con, schema, table, schema->fields[objid].name), true);
}

long delete_rows(KAdpConnId* con, typ_sch_srec* schema) {
  const long id = schema->type_id;
  if (long st = adp_sql_exec_query(con, "DELETE FROM adp_sch_info where type_id = %ld", id)) return st;
  if ((schema->flags & TYP_SCH_VIEW) != 0) {
    if (long st = adp_sql_exec_query(con, "DELETE FROM adp_view_field_info where view_type_id = %ld", id)) return st;
    if (long st = adp_sql_exec_query(con, "DELETE FROM adp_view_join_info where view_type_id = %ld", id)) return st;
  }
  return adp_sql_exec_query(con, "DELETE FROM adp_tbl_name_map where type_id = %ld", id);
}

long insert_name_map(KAdpConnId* con, typ_sch_srec* schema) {
  const std::string name = adp_sch_server_text(con, schema->info->name);
  const std::string comments = adp_sch_server_text(con, schema->description);
  const std::string group = adp_sch_server_text(con, schema->info->subject);
  std::string sql = "NULL";
  if ((schema->flags & TYP_SCH_SQL_VIEW) != 0) {
    const char* text = schema->info->sql != nullptr ? schema->info->sql : "";
    sql = adp_db_is_db_oracle() ? adp_sch_server_text(con, text) : text;
  }
  std::vector<long> ids;
  if (long st = adp_sch_row_ids(con, 1, &ids)) return st;
  const long flags = static_cast<long>(schema->flags & kStoredFlags);
  return adp_sch_run(con, [&](KAdpSqlBatch& b) {
    b << "INSERT INTO adp_tbl_name_map (type_id, type_flags, type_name, "
      << "comments, obj_group, sql";
    b << (ids.empty() ? ")VALUES (" : ", objid, dev) VALUES (");
    b << KAdpBindParam(schema->type_id) << "," << KAdpBindParam(flags) << "," << KAdpBindParam(name.c_str()) << ","
      << KAdpBindParam(comments.c_str()) << "," << KAdpBindParam(group.c_str()) << "," << KAdpBindParam(sql.c_str());
    if (!ids.empty()) b << "," << KAdpBindParam(ids[0]) << ",1";
    b << ")";
  });
}

long write_by_kind(KAdpConnId* con, typ_sch_srec* schema, char create, char existed, bool began) {
  if (long st = insert_name_map(con, schema)) return st;
  if ((schema->flags & (TYP_SCH_OBJECT | TYP_SCH_SUBOBJ)) != 0) {
    if (long st = adp_sch_write_object(con, schema, create, existed)) return st;
    return began ? adp_trn_commit(con) : 0;
  }
  if ((schema->flags & TYP_SCH_VIEW) != 0) return adp_sch_write_view(con, schema, create);
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_BAD_SCHEMA, 1, reinterpret_cast<unsigned long>(schema));
  return rc != 0 ? rc : ADP_BAD_SCHEMA;
}

long write_rows(KAdpConnId* con, typ_sch_srec* schema) {
  if (long st = adp_sch_write_fields(con, schema, schema->nfields, schema->fields)) return st;
  if (long st = adp_sch_write_fields(con, schema, schema->info->nspecial, schema->info->special)) return st;
  return adp_sch_write_rels(con, schema);
}

}  // namespace

std::string adp_sch_phys(KAdpConnId* con, const char* logical, long convert, long number, typ_sch_srec* type) {
  return static_cast<const char*>(con->GetPhys(logical != nullptr ? logical : "", conv(convert), number, type));
}

std::string adp_sch_server_text(KAdpConnId* con, const char* text) {
  if (text == nullptr) return "";
  const char* out = nullptr;
  if (adp_db_convert_str_to_server(con, text, &out) != 0 || out == nullptr) return text;
  return out;
}

long adp_sch_row_ids(KAdpConnId* con, long rows, std::vector<long>* ids) {
  ids->clear();
  char roamer = 0;
  dbs_db_if_roamer_enabled(con, &roamer);
  if (roamer == 0 || rows <= 0) return 0;
  const std::vector<long> types(static_cast<size_t>(rows), kRowIdType);
  std::vector<long> numbers(static_cast<size_t>(rows), 0);
  if (long st = dbs_obj_ids_create(con, rows, types.data(), numbers.data())) return st;
  long site = 0;
  if (long st = dbs_db_get_site_id(con, &site)) return st;
  for (long n : numbers) {
    obj_id id{kRowIdType, 0, 0};
    dbs_main_id_site_set(&id, site);
    dbs_main_id_number_set(&id, n);
    ids->push_back(id.num);
  }
  return 0;
}

long adp_sch_in_transaction(KAdpConnId* con, const std::function<long()>& body) {
  if (long st = adp_trn_begin(con)) return st;
  long st = body();
  if (st == 0) st = adp_trn_commit(con);
  if (st != 0) adp_trn_rollback(con);
  return st;
}

long adp_sch_run(KAdpConnId* con, const std::function<void(KAdpSqlBatch&)>& build) {
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  build(*static_cast<KAdpSqlBatch*>(stmt));
  if (long st = adp_sql_parse(con, stmt)) return st;
  if (long st = adp_sql_execute(con, stmt)) return st;
  return adp_sql_free(con, stmt);
}

long adp_sch_run_ddl(KAdpConnId* con, const std::string& text, bool print) {
  if (print && adp_sch_ddl != nullptr) std::fprintf(adp_sch_ddl, "%s", text.c_str());
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  *b << text.c_str();
  if (long st = b->GetStatus()) return st;
  long st = b->ExecDdl();
  b->Reset();
  return st;
}

typ_sch_rrec* adp_sch_entry_rel(const typ_sch_rel_inst& entry) {
  if (entry.rel != nullptr) return entry.rel;
  return entry.rel_index >= 0 && entry.rel_index < typ_sch_num_rels ? &typ_sch_relations[entry.rel_index] : nullptr;
}

long adp_sch_write(KAdpConnId* con, typ_sch_srec* schema, char create, char* out) {
  if (long st = adp_db_check_conn(con)) return st;
  char existed = 0;
  if (long st = adp_sql_exec_and_fetch_now(con, &existed, "SELECT type_id FROM adp_tbl_name_map where type_id=%ld",
                                           schema->type_id)) {
    return st;
  }
  const bool began = create == 0;
  if (began) {
    if (long st = adp_trn_begin(con)) return st;
  }
  long st = existed != 0 ? delete_rows(con, schema) : 0;
  if (st == 0) st = write_by_kind(con, schema, create, existed, began);
  if (st != 0) {
    if (began) adp_trn_rollback(con);
    return st;
  }
  if (out != nullptr) *out = existed;
  return 0;
}

long adp_sch_write_object(KAdpConnId* con, typ_sch_srec* schema, char create, char existed) {
  if (existed == 0 && create != 0) {
    if (long st = create_object_table(con, schema)) return st;
  }
  return write_rows(con, schema);
}

long adp_sch_update(KAdpConnId* con, typ_sch_srec* schema) {
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_trn_begin(con)) return st;
  const std::string name = schema->info->name;
  const std::string quoted = adp_sql_quotes_doubled(name.c_str());
  char roamer = 0;
  dbs_db_if_roamer_enabled(con, &roamer);
  long st = 0;
  if (roamer != 0) {
    st = adp_sql_exec_query(con,
                            "insert into de_updates \t       (row_id, row_ver, prev_row_ver, table_name, tx_detail) "
                            "\t       select objid, dev+1, dev, 'adp_tbl_name_map', \t       '1 type_name %ld %s' "
                            "from adp_tbl_name_map \t       where type_id = %ld",
                            static_cast<long>(name.size()), quoted.c_str(), schema->type_id);
  }
  if (st == 0) {
    st = adp_sql_exec_query(con, "update adp_tbl_name_map set type_name='%s' where type_id=%ld", quoted.c_str(),
                            schema->type_id);
  }
  if (st == 0) st = adp_sql_exec_query(con, "DELETE FROM adp_sch_info WHERE type_id=%ld", schema->type_id);
  if (st == 0) st = adp_trn_commit(con);
  if (st != 0) {
    adp_trn_rollback(con);
    return st;
  }
  return write_rows(con, schema);
}
