// The SQL Server dialect.
#pragma once

#include "adapter/dialects/adp_dbop.h"
#include "kclassic/kc_array.h"

class KAdpSqlBatch;

class ORB_API KAdpMssqlOperation : public KAdpDbOperation {
 public:
  explicit KAdpMssqlOperation(KAdpConnId* con);
  ~KAdpMssqlOperation() override;
  void Initialize() override;
  // YYYY-MM-DD HH:MM:SS; the unset time as 1753-01-01 00:00:00.
  long AdpTimeClkToStr(const clktime* time, char* out) override;
  // YYYY-MM-DD or MM/DD/YYYY, a time of day, and a fraction of a second
  // counted by its digits (".5" is 150 ticks); null text: the unset time.
  long AdpTimeStrToClk(const char* text, clktime* out) override;
  KCLASSIC::KZString DbGetAdpDbHeader1() override;
  long SchConvertDbType(const char* type_text) override;
  // "declare @oK <type>\n" per output, "exec P " with the inputs in line
  // (texts quoted, N'' in a Unicode database) and the outputs, then
  // " select @o0, ..."; the answer must have one column per output
  // (0x60005F). Returned texts live in the work pool until the next call.
  long SqlExecuteProc(char* name, long n_in, cmn_ty_value* in_values, long n_out, long* out_lengths,
                      cmn_ty_value* out_values, long unused) override;
  // Per type, in ascending type order, one call of csp_new_objectid through
  // the data service's id entry (a record of one row and five longs).
  long ObjNumberBatch(long n, long* type_ids, long* last_ids, long* counts) override;
  // Drops csp_new_objectid when it exists, creates it and grants its use.
  long StpCreateNewProc() override;
  // Generated procedures (adp_dbop_stp.cpp, adp_dbop_stp_get.cpp): the
  // relate procedures, the object-id procedure when missing and the GET
  // procedures (all, or those the schema change marked; 1 when any failed);
  // one type's GET procedure; its name and text.
  long StpCreateProcs(char* db_name, char all) override;
  long StpCreateGetProc(void* schema) override;
  long StpConstructGet(char* type_name, char* table_name, long id_index, long id_type, long n_fields,
                       char** field_names, FILE* log, char** proc_name, char** proc_text, char* no_id) override;
  // The first two quoted names of the message, table and index in either
  // order (an owner prefix dropped): the type from the type cache, the
  // columns "objid" for "objindex", else adp_sch_index's field_names. The
  // index name is not set.
  long ObjNotUniqueByMsg(char* message, long* type_id, char** columns, char** index_name) override;
  // The CREATE VIEW text of a view (adp_dbop_view_mssql.cpp): "AS" column
  // names and the joins as ANSI join clauses.
  long SchViewDefSql(void* con, typ_sch_srec* view, utl_ty_estr** text) override;
  // Catalogue reads (adp_dbop_cat.cpp): sysobjects by the name without
  // "dbo."; a column of syscolumns, names compared as given.
  long SchDoesTblExist(const char* name, char* exists, char flag) override;
  // The type's relation key columns, ")\n" and (Oracle) the table's
  // storage clause, appended to its CREATE TABLE text (adp_dbop_tabdef.cpp).
  long SchTableDef(typ_sch_srec* schema, char relation_columns, utl_ty_col* written_ids, utl_ty_estr* text,
                   long* column_count, const char* table_name, FILE* script) override;
  // A binary-array table, its grants and its unique index
  // (adp_dbop_bar.cpp).
  long BarCreateWithName(char* table_name, long array_number) override;
  long SchGetColInfo2(const char* table, const char* column, char mode, char* answered, char* found, long* length,
                      long* type_code, char* nullable, long* column_number) override;
  // Whether sysobjects has an object of the kind and name (in list mode
  // through the caller's name list, made once and never refreshed), and its
  // syscomments text when asked.
  long SchGetSysobj(const char* name, const char* kind, char list_mode, utl_ty_col** names, char* answered,
                    char* exists, char* text_read, utl_ty_estr** text) override;

  // Catalogue indexes (adp_dbop_ind.cpp): one record per sysindexes row of
  // the type's table with its status bits, columns, fill factor and file
  // group; sp_helpindex split into per-index name and column lists.
  void GetAdpIndInitIndexInfo(adp_ty_index_info* record) override;
  long IndFillAttr(typ_sch_srec* schema, adp_ty_index_info* record) override;
  long IndFillFillfactor(typ_sch_srec* schema, adp_ty_index_info* record) override;
  long IndFillFilegroup(typ_sch_srec* schema, adp_ty_index_info* record) override;
  long IndGetTableIndex(void* con, typ_sch_srec* schema, void* records) override;
  long SchGetIndexInfo(void* con, char* table_name, char* flag, void** indexes) override;
  // Index creation (adp_dbop_ind_add.cpp, adp_dbop_ind_build.cpp): one
  // index from the schema with its adp_sch_index row and search index; the
  // records' indexes made again (failed names listed, not returned) and
  // their rows; the records' DDL text.
  long IndAddIndex(void* con, typ_sch_srec* schema, char* index_name, void* field_names, char unique,
                   FILE* ddl_file, long options) override;
  long IndBuildTableIndex(adp_ty_index_info* record, typ_sch_srec* schema, void* index_records,
                          char** failed_names, FILE* ddl_file, long options) override;
  long IndBuildAdpIndex(typ_sch_srec* schema, void* index_records, FILE* ddl_file, long options) override;
  long IndSqlBuildTableIndex(char* table_name, void* index_records, void* text) override;

  // Table copy of a schema upgrade: INSERT ... SELECT with isnull items
  // (adp_dbop_copy.cpp), or bcp through a file with two format files
  // (adp_dbop_bcp.cpp).
  long SceFillFileFromTable(char* db_name, char* login, char* password, char* server, char* source,
                            char* destination, typ_sch_srec* schema, utl_ty_col* source_list,
                            utl_ty_col* destination_list, utl_ty_col* kind_list, FILE* log, long flags) override;
  long SceFillTableFromTable(char* source, char* destination, utl_ty_col* source_list, utl_ty_col* destination_list,
                             long* highest_id, FILE* log, long flags, typ_sch_srec* schema) override;

  // Database and repository creation (adp_dbop_db.cpp): the database with
  // its two files, the repository tables with their grants (national types
  // under the Unicode build option), the header and comments tables, and
  // the database's removal through "master".
  long DbCreate(char* name, char* data_file, long data_size, char* log_file, long log_size) override;
  long DbCrHeader(char* name) override;
  long DbDelete(char* name) override;
  // The repository texts, numbered 1 to 17 (17: the header query); "" for
  // another number.
  static constexpr long kRepoTexts = 17;
  const char* RepoText(long number) const;

  // Operations SQL Server has no use for: each returns its fixed answer and
  // touches nothing (adp_dbop_stub.cpp).
  long ObjGet(long type_id, long number, long options, dbs_ty_lobj* object,
              typ_sch_srec* schema) override;                  // 1
  long StpGetTableTrigger(typ_sch_srec* schema, void* triggers) override;    // 0
  long LookUpPhysicalStorageParams(char* object_name, char** clause) override;  // 0
  long CreateSynonym(char* table_name) override;                 // 0
  // The value part of a power-query condition; relative dates in the
  // server's own arithmetic.
  long PwrQryOneCond(pwr_cond* cond, char* upper_value, char* given_value, char** out, char* value,
                     char* table_alias, char* separator, char* op_text, typ_sch_frec* field) override;

  // Opens the multi-query batch on the connection (a new statement of
  // adp_sql_create; its failure is returned and nothing else changes) and
  // empties the two lists.
  long BatchInitialize(void* con);
  // Resets the batch, forgets it and empties the two lists.
  long BatchTerminate();
  KAdpSqlBatch* GetBatch() const { return m_pBatch; }
  // Per queued query: the object type its rows become.
  KCLASSIC::KUIntArray& GetBatchTypes() { return m_batchTypes; }
  // Per queued relation query: the collection that receives its ids.
  KCLASSIC::KPtrArray& GetBatchIdCols() { return m_batchIdCols; }

  // Relates two objects by id in a transaction of its own.
  long RelRelateRemoteId(obj_id* first, typ_sch_rrec* relation, obj_id* second) override;

 private:
  KCLASSIC::KUIntArray m_batchTypes;
  KCLASSIC::KPtrArray m_batchIdCols;
  KAdpSqlBatch* m_pBatch = nullptr;
  KCLASSIC::KZString m_repoTexts[kRepoTexts];
  void InitRepoTexts();
};
