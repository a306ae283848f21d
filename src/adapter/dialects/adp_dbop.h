// KAdpDbOperation: the base of the two SQL dialects. It owns the phrase table
// (63 numbered SQL phrases, 13 numbered numbers), the role names and the DDL
// file name, and fills the phrases both servers share; each dialect fills the
// rest in its own Initialize. Adapter code asks the connection's dialect for
// a phrase or number, or calls one of its virtual operations.
//
// The virtual operations stand in the order of the dialect's virtual table.
// An operation that no dialect builds yet is answered by the base: it pushes
// 0x600029 with the operation's name and returns it (adp_dbop_pending.cpp);
// the dialects override it as it is built. ObjNotUniqueByMsg of the base
// answers "no object type" (type -1, empty names).
#pragma once

#include <cstdio>

#include "core/clk/clk_time.h"
#include "kclassic/kc_zstr.h"
#include "orb_api.h"

class KAdpConnId;
struct adp_ty_index_info;
struct cmn_ty_value;
struct dbs_ty_lobj;
struct obj_id;
struct pwr_cond;
struct typ_sch_frec;
struct typ_sch_rrec;
struct typ_sch_srec;
struct utl_ty_col;
struct utl_ty_estr;

class ORB_API KAdpDbOperation {
 public:
  enum str_type : long {};
  enum long_type : long {};
  static constexpr long kNumStr = 63;
  static constexpr long kNumLong = 13;
  static constexpr long kPhrase37Size = 256;

  KAdpDbOperation(const KAdpDbOperation&) = delete;
  KAdpDbOperation& operator=(const KAdpDbOperation&) = delete;

  // The phrase table.
  virtual const char* GetDbSpecificStr(str_type index) const;
  virtual long GetDbSpecificLong(long_type index) const;
  virtual void SetDbSpecificStr(str_type index, const char* text);
  virtual void SetDbSpecificLong(long_type index, long value);
  virtual const char* GetUsrGroup(long role) const;
  virtual void Initialize();

  // Database creation and the repository header.
  virtual long DbCrHeader(char* name) = 0;
  // The SELECT of the repository header row: db_name, create_date,
  // last_full_backup, last_incr_backup, up_since, last_modify, site_id,
  // db_rev, schema_rev, gmt_diff, cust_schema_rev, flags,
  // orbisan_schema_date, cust_schema_date, site_id_offline,
  // cust_int_sch_rev, dates as the dialect's date text.
  virtual KCLASSIC::KZString DbGetAdpDbHeader1() = 0;
  virtual long DbCreate(char* name, char* data_file, long data_size, char* log_file, long log_size) = 0;
  virtual long DbDelete(char* name) = 0;
  // Runs procedure name with n_in typed inputs; the n_out typed outputs
  // (out_lengths, when given, caps each text output) are written back into
  // out_values. The last argument is not used.
  virtual long SqlExecuteProc(char* name, long n_in, cmn_ty_value* in_values, long n_out, long* out_lengths,
                              cmn_ty_value* out_values, long unused) = 0;
  virtual long BarCreateWithName(char* table_name, long array_number) = 0;
  // The value part of one power-query condition, appended at *out.
  virtual long PwrQryOneCond(pwr_cond* cond, char* upper_value, char* given_value, char** out, char* value,
                             char* table_alias, char* separator, char* op_text, typ_sch_frec* field);
  virtual long SchGetSysobj(const char* name, const char* kind, char list_mode, utl_ty_col** names,
                            char* answered, char* exists, char* text_read, utl_ty_estr** text) = 0;
  // Reads one object by a server procedure (both dialects: a stub).
  virtual long ObjGet(long type_id, long number, long options, dbs_ty_lobj* object, typ_sch_srec* schema) = 0;
  // Reserves counts[i] ids of type_ids[i] for each of the n requests and
  // writes each type's new counter value (the last id of its block) into
  // last_ids[i].
  virtual long ObjNumberBatch(long n, long* type_ids, long* last_ids, long* counts) = 0;
  // Unique-key violation text: the object type id (-1 when the table is no
  // object type), the key's field names and the table (index) name. The
  // texts stay valid until the next call.
  virtual long ObjNotUniqueByMsg(char* message, long* type_id, char** columns, char** index_name);
  virtual long StpConstructGet(char* type_name, char* table_name, long id_index, long id_type, long n_fields,
                               char** field_names, FILE* log, char** proc_name, char** proc_text, char* no_id) = 0;
  virtual long StpCreateGetProc(void* schema) = 0;
  virtual long StpCreateProcs(char* db_name, char all) = 0;
  virtual long StpGetTableTrigger(typ_sch_srec* schema, void* triggers) = 0;
  // (Re)creates the object-id procedure where the server has one.
  virtual long StpCreateNewProc() = 0;

  virtual ~KAdpDbOperation();

  // Indexes.
  virtual void GetAdpIndInitIndexInfo(adp_ty_index_info* record) = 0;
  virtual long IndBuildTableIndex(adp_ty_index_info* record, typ_sch_srec* schema, void* index_records,
                                  char** failed_names, FILE* ddl_file, long options) = 0;
  virtual long IndBuildAdpIndex(typ_sch_srec* schema, void* index_records, FILE* ddl_file, long options) = 0;
  virtual long IndFillAttr(typ_sch_srec* schema, adp_ty_index_info* record) = 0;
  virtual long IndFillFillfactor(typ_sch_srec* schema, adp_ty_index_info* record) = 0;
  virtual long IndFillFilegroup(typ_sch_srec* schema, adp_ty_index_info* record) = 0;
  virtual long IndSqlBuildTableIndex(char* table_name, void* index_records, void* text) = 0;
  virtual long IndGetTableIndex(void* con, typ_sch_srec* schema, void* records) = 0;
  virtual long IndAddIndex(void* con, typ_sch_srec* schema, char* index_name, void* field_names, char unique,
                           FILE* ddl_file, long options) = 0;

  // Table copy during a schema upgrade.
  virtual long SceFillFileFromTable(char* db_name, char* login, char* password, char* server, char* source,
                                    char* destination, typ_sch_srec* schema, utl_ty_col* source_list,
                                    utl_ty_col* destination_list, utl_ty_col* kind_list, FILE* log, long flags) = 0;
  virtual long SceFillTableFromTable(char* source, char* destination, utl_ty_col* source_list,
                                     utl_ty_col* destination_list, long* highest_id, FILE* log, long flags,
                                     typ_sch_srec* schema) = 0;

  // Schema SQL and catalogue reads.
  // The CREATE VIEW text of a view, a new extensible string the caller frees.
  virtual long SchViewDefSql(void* con, typ_sch_srec* view, utl_ty_estr** text) = 0;
  virtual long SchDoesTblExist(const char* name, char* exists, char flag) = 0;
  virtual long SchGetColInfo2(const char* table, const char* column, char mode, char* answered, char* found,
                              long* length, long* type_code, char* nullable, long* column_number) = 0;
  // The column-type code (0..11) of a catalogue type text; 0 when unknown.
  virtual long SchConvertDbType(const char* type_text) = 0;
  virtual long LookUpPhysicalStorageParams(char* object_name, char** clause) = 0;
  virtual long CreateSynonym(char* table_name) = 0;
  virtual long SchGetIndexInfo(void* con, char* table_name, char* flag, void** indexes) = 0;
  virtual long SchTableDef(typ_sch_srec* schema, char relation_columns, utl_ty_col* written_ids, utl_ty_estr* text,
                           long* column_count, const char* table_name, FILE* script) = 0;

  // Clock time <-> the dialect's date text (caller's buffer of at least
  // CLK_TEXT_SIZE bytes). The caller's text is never changed.
  virtual long AdpTimeClkToStr(const clktime* time, char* out) = 0;
  virtual long AdpTimeStrToClk(const char* text, clktime* out) = 0;

  // Opens the DDL file for writing: 0 and the stream, or 1 and null.
  virtual long OpenDdlFile(FILE** out);

  // Relates two objects by the foreign-key columns (or link row) of a
  // relation.
  virtual long RelRelateRemoteId(obj_id* first, typ_sch_rrec* relation, obj_id* second);

  KAdpConnId* GetConnection() const { return m_pConnection; }

 protected:
  KAdpDbOperation();
  void SetConnection(KAdpConnId* con) { m_pConnection = con; }
  // Sets a phrase or number from a dialect's Initialize (any index).
  void put_str(long index, const char* text);
  void put_long(long index, long value);
  // Phrase 37's buffer (kPhrase37Size bytes), which the unique-key analysis
  // fills.
  char* phrase37() { return m_str37; }

 private:
  KCLASSIC::KZString* slot(long index);
  const KCLASSIC::KZString* slot(long index) const;
  long* lslot(long index);
  void base_initialize();

  KAdpConnId* m_pConnection = nullptr;
  KCLASSIC::KZString m_str0;
  KCLASSIC::KZString m_str34, m_str35;
  KCLASSIC::KZString m_roles[3];  // 56, 57, 58
  KCLASSIC::KZString m_str59;
  long m_long0to5[6] = {};
  KCLASSIC::KZString m_strA[33];  // 1-10, 60-62, 11-29, 36 (in this order, see slot())
  char m_str37[kPhrase37Size] = {};
  long m_long10 = 0;
  KCLASSIC::KZString m_strB[19];  // 38-52, 30-33
  long m_long6to8[3] = {};
  KCLASSIC::KZString m_str53to55[3];
  long m_long11_12_9[3] = {};
  KCLASSIC::KZString m_strDdlFile;
};
