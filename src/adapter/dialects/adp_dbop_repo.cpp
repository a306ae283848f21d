// The repository of a CRM database in each dialect: the DDL of its tables
// and indexes, the first header row's INSERT head, and (SQL Server) the
// header query. SQL Server keeps its texts as members of the dialect and the
// national (Unicode) forms of the character tables as process-wide
// constants; Oracle has one form.
#include "adapter/dialects/adp_dbop_repo.h"

#include "adapter/dialects/adp_dbop_mssql.h"

namespace {

// SQL Server's seventeen texts, in member order.
const char* const kMssqlRepoTexts[KAdpMssqlOperation::kRepoTexts] = {
    "CREATE TABLE adp_tbl_name_map ( \ntype_id int, type_flags int, type_name varchar(64), \ncomments "
    "varchar(255) null, obj_group varchar(255) null, sql text null)",
    "CREATE TABLE adp_sch_info( type_id int, field_name varchar(64), cmn_type smallint, \ndb_type "
    "smallint, array_size int, dec_p int, \ndec_s int, flags int, gen_field_id smallint, \nspec_field_id "
    "smallint, fld_default varchar(255) null, \ncomments varchar(255) null)",
    "CREATE INDEX idx_adp_sch_info ON adp_sch_info(type_id, spec_field_id)",
    "CREATE TABLE adp_tbl_oid(type_id int, obj_num int)",
    "CREATE TABLE adp_tbl_oid_unused(type_id int, min_obj int, num_obj int)",
    "CREATE UNIQUE INDEX idx_adp_tbl_oid ON adp_tbl_oid(type_id)",
    "CREATE UNIQUE CLUSTERED INDEX idx_atou ON adp_tbl_oid_unused(type_id, min_obj)",
    "CREATE TABLE adp_sch_rel_info( \ntype_id int, rel_name varchar(64), rel_type smallint, "
    "\ntarget_name varchar(64), gen_rel_id smallint, spec_rel_id smallint, \ninv_rel_name varchar(64), "
    "comments varchar(255) null, \nrel_flags smallint, rel_phy_name varchar(64), \nfocus_fldname "
    "varchar(64), flags int, exclusive_set varchar(64))",
    "CREATE INDEX idx_adp_sch_rel_in ON adp_sch_rel_info(type_id, spec_rel_id)",
    "CREATE TABLE adp_view_field_info( \nview_type_id int, view_spec_field_id smallint, from_obj_type "
    "int, \nfrom_field_id smallint, alias varchar(64), \ncomments varchar(255) null, flags int)",
    "CREATE TABLE adp_view_join_info( \nview_type_id int, obj_type_id int, obj_spec_rel_id smallint, "
    "\npalias varchar(64), falias varchar(64), \ncomments varchar(255) null, flags int, join_flag int)",
    "CREATE TABLE adp_sch_index( \ntype_id int, index_name varchar(64), flags smallint, \nfield_count "
    "smallint, field_names varchar(255), \ncomments varchar(255) null)",
    "CREATE TABLE adp_db_header( \ndb_name varchar(128), create_date datetime null, \nlast_full_backup "
    "datetime null, \nlast_incr_backup datetime null, \nup_since datetime null, last_modify datetime "
    "null, \nsite_id int null, db_rev int null, \nschema_rev int null, cust_int_sch_rev int null, "
    "\ngmt_diff int null, cust_schema_rev varchar(64) null, \nflags int null, orbisan_schema_date "
    "datetime null, \ncust_schema_date datetime null, \nsite_num_bits int null, site_id_offline int null)",
    "INSERT INTO adp_db_header (db_name, flags, site_num_bits) VALUES (",
    "create table adp_db_comments(seq_num int, time datetime, comments varchar(255))",
    "create table adp_upgrade_ops(objid int, \ndev int, version int, opcode int, object_name "
    "varchar(64), \nfield_name varchar(64) null, details text null)",
    "SELECT db_name, create_date, last_full_backup, \nlast_incr_backup, up_since, last_modify, "
    "\nsite_id, db_rev, schema_rev, \ngmt_diff, cust_schema_rev, flags, \norbisan_schema_date, "
    "cust_schema_date, site_id_offline, \ncust_int_sch_rev \nFROM adp_db_header",
};

}  // namespace

namespace NAdpUnicodeSqlStmts {

const char* const strCreTblAdpTblNameMap1 =
    "CREATE TABLE adp_tbl_name_map ( \ntype_id int, type_flags int, type_name nvarchar(64), \ncomments "
    "nvarchar(255) null, obj_group nvarchar(255) null, sql ntext null)";
const char* const strCreTblAdpSchInfo1 =
    "CREATE TABLE adp_sch_info( type_id int, field_name nvarchar(64), cmn_type smallint, \ndb_type "
    "smallint, array_size int, dec_p int, \ndec_s int, flags int, gen_field_id smallint, \nspec_field_id "
    "smallint, fld_default nvarchar(255) null, \ncomments nvarchar(255) null)";
const char* const strCreIdxAdpSchInfo1 =
    "CREATE INDEX idx_adp_sch_info ON adp_sch_info(type_id, spec_field_id)";
const char* const strCreTblAdpTblOid1 =
    "CREATE TABLE adp_tbl_oid(type_id int, obj_num int)";
const char* const strCreTblAdpTblOidUn1 =
    "CREATE TABLE adp_tbl_oid_unused(type_id int, min_obj int, num_obj int)";
const char* const strCreIdxAdpTblOid1 =
    "CREATE UNIQUE INDEX idx_adp_tbl_oid ON adp_tbl_oid(type_id)";
const char* const strCreIdxAdpTblOidUn1 =
    "CREATE UNIQUE CLUSTERED INDEX idx_atou ON adp_tbl_oid_unused(type_id, min_obj)";
const char* const strCreTblAdpSchRelInfo1 =
    "CREATE TABLE adp_sch_rel_info( \ntype_id int, rel_name nvarchar(64), rel_type smallint, "
    "\ntarget_name nvarchar(64), gen_rel_id smallint, spec_rel_id smallint, \ninv_rel_name nvarchar(64), "
    "comments nvarchar(255) null, \nrel_flags smallint, rel_phy_name nvarchar(64), \nfocus_fldname "
    "nvarchar(64), flags int, exclusive_set nvarchar(64))";
const char* const strCreIdxAdpSchRelInfo1 =
    "CREATE INDEX idx_adp_sch_rel_in ON adp_sch_rel_info(type_id, spec_rel_id)";
const char* const strCreTblAdpViewFieldInfo1 =
    "CREATE TABLE adp_view_field_info( \nview_type_id int, view_spec_field_id smallint, from_obj_type "
    "int, \nfrom_field_id smallint, alias nvarchar(64), \ncomments nvarchar(255) null, flags int)";
const char* const strCreTblAdpViewJoinInfo1 =
    "CREATE TABLE adp_view_join_info( \nview_type_id int, obj_type_id int, obj_spec_rel_id smallint, "
    "\npalias nvarchar(64), falias nvarchar(64), \ncomments nvarchar(255) null, flags int, join_flag int)";
const char* const strCreTblAdpSchIndex1 =
    "CREATE TABLE adp_sch_index( \ntype_id int, index_name nvarchar(64), flags smallint, \nfield_count "
    "smallint, field_names nvarchar(255), \ncomments nvarchar(255) null)";
const char* const strCreTblAdpDbHeader1 =
    "CREATE TABLE adp_db_header( \ndb_name nvarchar(128), create_date datetime null, \nlast_full_backup "
    "datetime null, \nlast_incr_backup datetime null, \nup_since datetime null, last_modify datetime "
    "null, \nsite_id int null, db_rev int null, \nschema_rev int null, cust_int_sch_rev int null, "
    "\ngmt_diff int null, cust_schema_rev nvarchar(64) null, \nflags int null, orbisan_schema_date "
    "datetime null, \ncust_schema_date datetime null, \nsite_num_bits int null, site_id_offline int null)";
const char* const strInsAdpDbHeader1 =
    "INSERT INTO adp_db_header (db_name, flags, site_num_bits) VALUES (";
const char* const strCreTblAdpDbComments1 =
    "create table adp_db_comments(seq_num int, time datetime, comments nvarchar(255))";
const char* const strCreTblUpgradeOps1 =
    "create table adp_upgrade_ops(objid int, \ndev int, version int, opcode int, object_name "
    "nvarchar(64), \nfield_name nvarchar(64) null, details ntext null)";
}  // namespace NAdpUnicodeSqlStmts

void KAdpMssqlOperation::InitRepoTexts() {
  for (long i = 0; i < kRepoTexts; ++i) m_repoTexts[i] = kMssqlRepoTexts[i];
}

const char* KAdpMssqlOperation::RepoText(long number) const {
  return number >= 1 && number <= kRepoTexts ? static_cast<const char*>(m_repoTexts[number - 1]) : "";
}
