// Laying down and removing a CRM database in each dialect: the database
// (SQL Server), the repository tables with their indexes, grants (SQL
// Server) or public synonyms (Oracle), the header table with its first row
// and the comments table. Names that reach DDL unquoted are checked first.
#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_usr.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_name.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "adapter/dialects/adp_dbop_repo.h"
#include "schema/typ_acc.h"
#include "schema/typ_stor.h"

namespace {

namespace U = NAdpUnicodeSqlStmts;

constexpr const char kHeaderValuesTail[] = ", 0,4)";
constexpr const char kMaster[] = "master";

// SQL Server's repository texts by number.
enum mssql_text : long {
  kNameMap = 1, kSchInfo, kSchInfoIndex, kOid, kOidUnused, kOidIndex, kOidUnusedIndex, kRelInfo, kRelInfoIndex,
  kViewField, kViewJoin, kSchIndex, kHeader, kHeaderInsert, kComments, kUpgradeOps
};

// Runs the batch's text as DDL and resets it.
long run_ddl(KAdpSqlBatch* b) {
  if (long st = b->GetStatus()) return st;
  if (long st = b->ExecDdl()) return st;
  return b->Reset();
}

long ddl(KAdpConnId* con, const char* text) {
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  if (long st = b->AppendSql(text)) return st;
  return run_ddl(b);
}

// Two statements run as one DDL batch.
long ddl_pair(KAdpConnId* con, const char* first, const char* second) {
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  if (long st = b->AppendSql(first)) return st;
  *b << KAdpSqlBatch::kEndStmt;
  if (long st = b->AppendSql(second)) return st;
  return run_ddl(b);
}

long grant(KAdpConnId* con, const char* table) {
  if (long st = adp_usr_table_grant(con, table, 0, 0)) return st;
  return con->GetSqlBatch(1)->GetStatus();
}

bool unicode_option() {
  char on = 0;
  typ_sch_is_unicode_cmdline_flag(&on);
  return on != 0;
}

// The first header row: the database name bound, flags 0, site_num_bits 4.
long insert_header(KAdpConnId* con, const char* head, const char* name) {
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  if (long st = b->AppendSql(head)) return st;
  *b << KAdpBindParam(name != nullptr ? name : "");
  if (long st = b->AppendSql(kHeaderValuesTail)) return st;
  if (long st = b->GetStatus()) return st;
  if (long st = b->GetNextResult(nullptr)) return st;
  return b->Reset();
}

// --- Oracle texts ------------------------------------------------------------

constexpr const char kOraNameMap[] =
    "create table adp_tbl_name_map ( \ntype_id number not null, type_flags number not null, type_name "
    "varchar(128) not null, \ncomments varchar(255) null, obj_group varchar(255) null, sql CLOB default "
    "empty_clob())";
constexpr const char kOraOid[] = "create table adp_tbl_oid \n( type_id number not null, obj_num number not null )";
constexpr const char kOraOidIndex[] = "create unique index idx_adp_tbl_oid on adp_tbl_oid(type_id)";
constexpr const char kOraOidUnused[] =
    "create table adp_tbl_oid_unused \n( type_id number not null, min_obj number not null, num_obj number not "
    "null )";
constexpr const char kOraOidUnusedIndex[] = "create unique index idx_atou on adp_tbl_oid_unused(type_id,min_obj)";
constexpr const char kOraSchInfo[] =
    "create table adp_sch_info( type_id number not null, field_name varchar(64) not null, cmn_type number not "
    "null, \ndb_type number not null, array_size number not null, dec_p number not null, \ndec_s number not "
    "null, flags number not null, gen_field_id number not null, \nspec_field_id number not null, fld_default "
    "varchar(255) null, \ncomments varchar(255) null)";
constexpr const char kOraSchInfoIndex[] = "create index idx_adp_sch_info on adp_sch_info(type_id, spec_field_id)";
constexpr const char kOraRelInfo[] =
    "create table adp_sch_rel_info( \ntype_id number not null, rel_name varchar(64) not null, rel_type number "
    "not null, \ntarget_name varchar(64) not null, gen_rel_id number not null, spec_rel_id number not null, "
    "\ninv_rel_name varchar(64) not null, comments varchar(255) null, \nrel_flags number not null, rel_phy_name "
    "varchar(64) null, \nfocus_fldname varchar(64) null, exclusive_set varchar(64) null, flags number null)";
constexpr const char kOraRelInfoIndex[] =
    "create index idx_adp_sch_rel_info on adp_sch_rel_info(type_id , spec_rel_id)";
constexpr const char kOraViewField[] =
    "create table adp_view_field_info( \nview_type_id number not null, view_spec_field_id number not null, "
    "from_obj_type number not null, \nfrom_field_id number not null, alias varchar(64) null, \ncomments "
    "varchar(255) null, flags number not null)";
constexpr const char kOraViewJoin[] =
    "create table adp_view_join_info( \nview_type_id number not null, obj_type_id number not null, "
    "obj_spec_rel_id number not null, \npalias varchar(64) null, falias varchar(64) null, \ncomments "
    "varchar(255) null, flags number not null, join_flag number not null)";
constexpr const char kOraSchIndex[] =
    "create table adp_sch_index( \ntype_id number not null, index_name varchar(64) not null, flags number not "
    "null, \nfield_count number not null, field_names varchar(255) not null, \ncomments varchar(255) null)";
constexpr const char kOraUpgradeOps[] =
    "create table adp_upgrade_ops(objid number not null, \ndev number not null, version number not null, opcode "
    "number not null, object_name varchar(64) not null, \nfield_name varchar(64) null, details CLOB default "
    "empty_clob())";
constexpr const char kOraHeader[] =
    "create table adp_db_header( \ndb_name varchar(128) not null, create_date date null, \nlast_full_backup date "
    "null, \nlast_incr_backup date null, \nup_since date null, last_modify date null, \nsite_id number null, "
    "site_id_offline number null, db_rev number null, \nschema_rev number null, cust_int_sch_rev number null, "
    "\ngmt_diff int null, cust_schema_rev varchar(64) null, \nflags number null, orbisan_schema_date date null, "
    "\ncust_schema_date date null, \nsite_num_bits number null)";
constexpr const char kOraHeaderInsert[] = "insert into adp_db_header(db_name, flags, site_num_bits) values(";
constexpr const char kOraComments[] = "create table adp_db_comments(seq_num int, time date, comments varchar(255))";

// One repository step of Oracle's DbCreate: a table (with its synonym) or
// an index.
struct ora_step {
  const char* text;
  const char* synonym_for;  // null: an index, no synonym
};
constexpr ora_step kOraRepository[] = {
    {kOraNameMap, "adp_tbl_name_map"}, {kOraOid, "adp_tbl_oid"},
    {kOraOidIndex, nullptr},           {kOraOidUnused, "adp_tbl_oid_unused"},
    {kOraOidUnusedIndex, nullptr},     {kOraSchInfo, "adp_sch_info"},
    {kOraSchInfoIndex, nullptr},       {kOraRelInfo, "adp_sch_rel_info"},
    {kOraRelInfoIndex, nullptr},       {kOraViewField, "adp_view_field_info"},
    {kOraViewJoin, "adp_view_join_info"}, {kOraSchIndex, "adp_sch_index"},
    {kOraUpgradeOps, "adp_upgrade_ops"},
};

// The kinds of schema object Oracle's DbDelete clears, in order.
constexpr const char* kOraObjectKinds[] = {"TABLE", "VIEW", "PROCEDURE", "SEQUENCE", "SYNONYM"};
constexpr const char kOraSynonymKind[] = "SYNONYM";
constexpr const char kOraObjectsOfKind[] =
    "select object_name from user_objects where object_type = '%s'                    and object_name NOT LIKE "
    "'SM%%'";
// Only the public synonyms of the connected schema's own objects.
constexpr const char kOraSchemaSynonyms[] =
    "select synonym_name from all_synonyms where owner = 'PUBLIC' and table_owner = (select username from "
    "user_users) and synonym_name NOT LIKE 'SM%'";

long ora_synonym(KAdpConnId* con, const char* table) {
  KCLASSIC::KZString text;
  text.Format("create public synonym %s for %s", table, table);
  return ddl(con, text);
}

// The names the query gives, in order.
long ora_names(KAdpConnId* con, const char* query, std::vector<std::string>* names) {
  char* name = nullptr;
  if (long st = adp_sql_parse_now(con, "%s", query)) return st;
  if (long st = adp_sql_define(con, KAdpBindCol(&name, 0))) return st;
  char more = 0;
  long st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    names->emplace_back(name != nullptr ? name : "");
    st = adp_sql_nextrow(con, nullptr, &more);
  }
  return st;
}

long ora_drop_kind(KAdpConnId* con, const char* kind) {
  const bool synonyms = std::string(kind) == kOraSynonymKind;
  KCLASSIC::KZString query;
  if (synonyms) {
    query = kOraSchemaSynonyms;
  } else {
    query.Format(kOraObjectsOfKind, kind);
  }
  std::vector<std::string> names;
  if (long st = ora_names(con, query, &names)) return st;
  for (const std::string& n : names) {
    if (long st = adp_dbop_check_name(n.c_str(), false)) return st;
    if (synonyms) {
      if (long st = adp_sql_exec_query(con, "DROP PUBLIC SYNONYM %s", n.c_str())) return st;
      continue;
    }
    if (long st = ddl(con, (std::string("DROP ") + kind + " " + n).c_str())) return st;
  }
  return 0;
}

}  // namespace

// --- SQL Server --------------------------------------------------------------

long KAdpMssqlOperation::DbCreate(char* name, char* data_file, long data_size, char* log_file, long log_size) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    const bool uni = unicode_option();
    if (long st = adp_db_check_conn(con)) return st;
    if (long st = adp_dbop_check_name(name, false)) return st;
    if (long st = adp_dbop_check_name(data_file, true)) return st;
    if (long st = adp_dbop_check_name(log_file, true)) return st;
    void* stmt = nullptr;
    if (long st = adp_sql_create(con, &stmt)) return st;
    if (long st = adp_sql_sprintf(con, stmt, "create database %s on ( name = %s_Data, filename = '%s.mdf', size = %ld )",
                                  name, name, data_file, data_size)) {
      return st;
    }
    if (long st = adp_sql_sprintf(con, stmt, " log on ( name = %s_Log, filename = '%s.ldf', size = %ld )", name,
                                  log_file, log_size)) {
      return st;
    }
    if (long st = adp_sql_execute(con, stmt)) return st;
    if (long st = con->GetSqlBatch(1)->GetStatus()) return st;
    if (long st = adp_db_open(con, name)) return st;
    auto pick = [&](mssql_text n, const char* national) { return uni ? national : RepoText(n); };
    struct step {
      const char* text;
      const char* second;  // run in the same DDL batch
      const char* grant_on;
    };
    const step steps[] = {
        {pick(kNameMap, U::strCreTblAdpTblNameMap1), nullptr, "adp_tbl_name_map"},
        {pick(kSchInfo, U::strCreTblAdpSchInfo1), nullptr, "adp_sch_info"},
        {RepoText(kSchInfoIndex), nullptr, nullptr},
        {RepoText(kOid), RepoText(kOidIndex), "adp_tbl_oid"},
        {RepoText(kOidUnused), RepoText(kOidUnusedIndex), "adp_tbl_oid_unused"},
        {pick(kRelInfo, U::strCreTblAdpSchRelInfo1), nullptr, "adp_sch_rel_info"},
        {RepoText(kRelInfoIndex), nullptr, nullptr},
        {pick(kViewField, U::strCreTblAdpViewFieldInfo1), nullptr, "adp_view_field_info"},
        {pick(kViewJoin, U::strCreTblAdpViewJoinInfo1), nullptr, "adp_view_join_info"},
        {pick(kSchIndex, U::strCreTblAdpSchIndex1), nullptr, "adp_sch_index"},
        {pick(kUpgradeOps, U::strCreTblUpgradeOps1), nullptr, "adp_upgrade_ops"},
    };
    for (const step& s : steps) {
      if (long st = s.second != nullptr ? ddl_pair(con, s.text, s.second) : ddl(con, s.text)) return st;
      if (s.grant_on != nullptr) {
        if (long st = grant(con, s.grant_on)) return st;
      }
    }
    return 0L;
  });
}

long KAdpMssqlOperation::DbCrHeader(char* name) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    const bool uni = unicode_option();
    if (long st = adp_db_check_conn(con)) return st;
    if (long st = ddl(con, uni ? U::strCreTblAdpDbHeader1 : RepoText(kHeader))) return st;
    if (long st = grant(con, "adp_db_header")) return st;
    if (long st = insert_header(con, RepoText(kHeaderInsert), name)) return st;
    if (long st = ddl(con, uni ? U::strCreTblAdpDbComments1 : RepoText(kComments))) return st;
    return grant(con, "adp_db_comments");
  });
}

long KAdpMssqlOperation::DbDelete(char* name) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    if (long st = adp_db_check_conn(con)) return st;
    if (long st = adp_dbop_check_name(name, false)) return st;
    const char* current = adp_db_get_db_name();
    const std::string remembered = current != nullptr && *current != '\0' ? current : name;
    if (long st = adp_db_open(con, name)) return st;
    if (long st = adp_db_open(con, kMaster)) return st;
    if (long st = adp_sql_exec_query(con, "drop database %s ", name)) return st;
    if (remembered != name) {
      if (long st = adp_db_open(con, remembered.c_str())) return st;
    }
    return 0L;
  });
}

// --- Oracle ------------------------------------------------------------------

long KAdpOraOperation::DbCreate(char*, char*, long, char*, long) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    if (long st = adp_db_check_conn(con)) return st;
    for (const ora_step& s : kOraRepository) {
      if (long st = ddl(con, s.text)) return st;
      if (s.synonym_for != nullptr) {
        if (long st = ora_synonym(con, s.synonym_for)) return st;
      }
    }
    return 0L;
  });
}

long KAdpOraOperation::DbCrHeader(char* name) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    if (long st = adp_db_check_conn(con)) return st;
    if (long st = con->GetSqlBatch(1)->GetStatus()) return st;
    if (long st = ddl(con, kOraHeader)) return st;
    if (long st = ora_synonym(con, "adp_db_header")) return st;
    if (long st = insert_header(con, kOraHeaderInsert, name)) return st;
    if (long st = ddl(con, kOraComments)) return st;
    return ora_synonym(con, "adp_db_comments");
  });
}

long KAdpOraOperation::DbDelete(char*) {
  return adp_err_guard([&]() -> long {
    KAdpConnId* con = GetConnection();
    for (const char* kind : kOraObjectKinds) {
      if (long st = ora_drop_kind(con, kind)) return st;
    }
    return 0L;
  });
}

long KAdpOraOperation::CreateSynonym(char* table_name) {
  return adp_err_guard([&]() -> long {
    if (long st = adp_dbop_check_name(table_name, false)) return st;
    return ora_synonym(GetConnection(), table_name);
  });
}

long KAdpOraOperation::LookUpPhysicalStorageParams(char* object_name, char**) {
  return adp_err_guard([&]() -> long {
    KAdpSqlBatch* b = GetConnection()->GetSqlBatch(0);
    const char* clause = nullptr;
    if (typ_lookup_physical_storage_params(object_name, &clause) != 0 || clause == nullptr || *clause == '\0') {
      return 0L;
    }
    if (long st = b->AppendSql(clause)) return st;
    if (long st = b->GetStatus()) return st;
    if (adp_sch_ddl != nullptr) std::fprintf(adp_sch_ddl, "%s\n\n", clause);
    return 0L;
  });
}
