// The Oracle dialect.
#pragma once

#include "adapter/dialects/adp_dbop.h"

class ORB_API KAdpOraOperation : public KAdpDbOperation {
 public:
  explicit KAdpOraOperation(KAdpConnId* con);
  void Initialize() override;
  // MM/DD/YYYY HH:MM:SS; the unset time as 1/1/1753 00:00:00.
  long AdpTimeClkToStr(const clktime* time, char* out) override;
  // month/day/year [hour[:minute[:second]]]; else 0x600013.
  long AdpTimeStrToClk(const char* text, clktime* out) override;
  KCLASSIC::KZString DbGetAdpDbHeader1() override;
  long SchConvertDbType(const char* type_text) override;
  // The block "begin\nP( in, ..., out, ...);\nend;\n " with every value bound
  // (the bind switch on while it is built), in a transaction of its own:
  // committed, or rolled back on failure. Types 512 and 513 are longs.
  long SqlExecuteProc(char* name, long n_in, cmn_ty_value* in_values, long n_out, long* out_lengths,
                      cmn_ty_value* out_values, long unused) override;
  // At site 0 a range check of every requested type first (nothing moves
  // when one is refused); then per type, in ascending type order, UPDATE and
  // SELECT in a transaction of its own (rolled back on failure).
  long ObjNumberBatch(long n, long* type_ids, long* last_ids, long* counts) override;
  // "ORA-00001: ... (OWNER.[S_]INDEX)": the index's table and columns from
  // the catalogue (of that owner), the type from adp_tbl_name_map when the
  // table is "table_<type>"; the columns also into phrase 37 and the type
  // into number 10. Any other message: type -1, "unknow column".
  long ObjNotUniqueByMsg(char* message, long* type_id, char** columns, char** index_name) override;
  // The CREATE VIEW text of a view (adp_dbop_view_ora.cpp): column list,
  // select list, FROM list and the joins as WHERE conditions with "(+)".
  long SchViewDefSql(void* con, typ_sch_srec* view, utl_ty_estr** text) override;
  // Catalogue reads (adp_dbop_cat.cpp): any object of the name (all_objects,
  // upper case); a column of USER_/ORBISAN_TAB_COLUMNS, names compared in
  // upper case; in whole-table mode a Unicode database reports CHAR and
  // VARCHAR2 lengths divided by 3.
  long SchDoesTblExist(const char* name, char* exists, char flag) override;
  // The type's relation key columns, ")\n" and (Oracle) the table's
  // storage clause, appended to its CREATE TABLE text (adp_dbop_tabdef.cpp).
  long SchTableDef(typ_sch_srec* schema, char relation_columns, utl_ty_col* written_ids, utl_ty_estr* text,
                   long* column_count, const char* table_name, FILE* script) override;
  // A binary-array table, its public synonym and its unique index
  // (adp_dbop_bar.cpp).
  long BarCreateWithName(char* table_name, long array_number) override;
  long SchGetColInfo2(const char* table, const char* column, char mode, char* answered, char* found, long* length,
                      long* type_code, char* nullable, long* column_number) override;

  // Catalogue indexes (adp_dbop_ind.cpp): one record per user_indexes row
  // of the type's table with its storage values (NULL ones marked) and
  // columns; the table's indexes other than search indexes, named without
  // the type prefix, with their columns.
  long IndGetTableIndex(void* con, typ_sch_srec* schema, void* records) override;
  long SchGetIndexInfo(void* con, char* table_name, char* flag, void** indexes) override;
  // Index creation (adp_dbop_ind_add.cpp, adp_dbop_ind_build.cpp): one
  // index from the schema with its storage clause, adp_sch_index row and
  // search index; the DDL text of catalogue records (a storage clause with a
  // NULL value left out).
  long IndAddIndex(void* con, typ_sch_srec* schema, char* index_name, void* field_names, char unique,
                   FILE* ddl_file, long options) override;
  long IndSqlBuildTableIndex(char* table_name, void* index_records, void* text) override;

  // Table copy of a schema upgrade: INSERT ... SELECT, or a block copying
  // ranges of 1001 object ids (adp_dbop_copy.cpp).
  long SceFillFileFromTable(char* db_name, char* login, char* password, char* server, char* source,
                            char* destination, typ_sch_srec* schema, utl_ty_col* source_list,
                            utl_ty_col* destination_list, utl_ty_col* kind_list, FILE* log, long flags) override;
  long SceFillTableFromTable(char* source, char* destination, utl_ty_col* source_list, utl_ty_col* destination_list,
                             long* highest_id, FILE* log, long flags, typ_sch_srec* schema) override;

  // Database and repository creation (adp_dbop_db.cpp): the repository in
  // the connected schema (the arguments are not used), each table with its
  // public synonym; the header and comments tables; the removal of the
  // schema's objects except those named "SM...".
  long DbCreate(char* name, char* data_file, long data_size, char* log_file, long log_size) override;
  long DbCrHeader(char* name) override;
  long DbDelete(char* name) override;
  // Appends the table's storage clause, when one is defined, to the CREATE
  // TABLE text in the batch (and to the DDL file when one is open).
  long LookUpPhysicalStorageParams(char* object_name, char** clause) override;
  long CreateSynonym(char* table_name) override;

  // Generated procedures (adp_dbop_stp.cpp, adp_dbop_stp_get.cpp): none
  // are made (the GET procedure's type is only checked), but the GET
  // procedure's text can be built; the triggers of a type's table as
  // "create or replace trigger" texts.
  long StpCreateGetProc(void* schema) override;
  long StpConstructGet(char* type_name, char* table_name, long id_index, long id_type, long n_fields,
                       char** field_names, FILE* log, char** proc_name, char** proc_text, char* no_id) override;
  long StpGetTableTrigger(typ_sch_srec* schema, void* triggers) override;

  // Operations Oracle has no use for: each returns its fixed answer and
  // touches nothing (adp_dbop_stub.cpp).
  long SchGetSysobj(const char* name, const char* kind, char list_mode, utl_ty_col** names, char* answered,
                    char* exists, char* text_read, utl_ty_estr** text) override;  // 0
  long ObjGet(long type_id, long number, long options, dbs_ty_lobj* object,
              typ_sch_srec* schema) override;     // 0
  long StpCreateProcs(char* db_name, char all) override;  // 0
  long StpCreateNewProc() override;               // 0
  void GetAdpIndInitIndexInfo(adp_ty_index_info* record) override;  // nothing
  long IndBuildTableIndex(adp_ty_index_info* record, typ_sch_srec* schema, void* index_records,
                          char** failed_names, FILE* ddl_file, long options) override;  // 0
  long IndBuildAdpIndex(typ_sch_srec* schema, void* index_records, FILE* ddl_file,
                        long options) override;   // 0
  long IndFillAttr(typ_sch_srec* schema, adp_ty_index_info* record) override;        // -1
  long IndFillFillfactor(typ_sch_srec* schema, adp_ty_index_info* record) override;  // -1
  long IndFillFilegroup(typ_sch_srec* schema, adp_ty_index_info* record) override;   // -1
  // The value part of a power-query condition; relative dates in the
  // server's own arithmetic.
  long PwrQryOneCond(pwr_cond* cond, char* upper_value, char* given_value, char** out, char* value,
                     char* table_alias, char* separator, char* op_text, typ_sch_frec* field) override;
  // Relates two objects by id in a transaction of its own.
  long RelRelateRemoteId(obj_id* first, typ_sch_rrec* relation, obj_id* second) override;
};
