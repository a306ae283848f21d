// The relation layer's shared pieces: the parts of a relation record the
// SQL needs, the relate and unrelate texts, the change date of the foreign
// row, the write queues with their orderings, and the batch texts of object
// rows. Exported for the adapter's tests.
#pragma once

#include <string>
#include <vector>

#include "adapter/adp_rel.h"
#include "orb_api.h"

class KAdpConnId;
class KAdpSqlBatch;
struct typ_sch_rrec;
struct typ_sch_srec;
struct utl_ty_col;
struct dbs_ty_lobj;
struct typ_sch_frec;
union dbs_ty_slot;

// Relation types and alerts of the relation layer.
constexpr long ADP_REL_MTM = 5;
constexpr long ADP_REL_MTO = 2;
constexpr long ADP_REL_OTOP = 3;
constexpr long ADP_REL_TYPE36 = 36;               // written before every other type
constexpr long ADP_REL_NOT_RELATED_ROW = 0x600016;  // primary type, P, foreign type, F
constexpr long ADP_REL_MANY_PRIMARIES = 0x600017;   // foreign type name, the number
constexpr long ADP_REL_DEFAULT_PER_BATCH = 25;
constexpr long ADP_REL_DEV_STEP_PHRASE = 28;        // "UPDATE %s SET dev = dev + 1, "

// What the SQL of one relation needs: the foreign table, its id column, the
// primary type id and the storage form.
struct adp_rel_parts {
  const typ_sch_rrec* rel = nullptr;
  const char* table = nullptr;   // the foreign table
  const char* id_col = nullptr;  // the foreign schema's object-id column
  long ptype = 0;                // the primary type id
  long kind = 0;                 // relation type without its index mark
  bool mtm = false;
  bool focus = false;            // physical-name and focus columns
  bool roamer = false;           // the offline feature is on
  bool oracle = false;
};
ORB_API long adp_rel_parts_of(KAdpConnId* con, const typ_sch_rrec* rel, adp_rel_parts* out);
// The relation type without the index mark.
ORB_API long adp_rel_kind(const typ_sch_rrec* rel);
// The relation is stored through its physical-name and focus columns.
ORB_API bool adp_rel_has_focus(const typ_sch_rrec* rel);
// The relation record of a pair of ids ordered primary side first, from the
// relation id of either side's type (an empty id: the other side only).
ORB_API long adp_rel_record_of(obj_id* primary, long rel_id, obj_id* foreign, typ_sch_rrec** out);
// The relation record of an entry of one type's schema, and its side byte.
ORB_API long adp_rel_entry_of(long type_id, long rel_id, typ_sch_rrec** out, char* side);
ORB_API bool adp_rel_oid_empty(const obj_id* id);

// Relate and unrelate texts (appended to the batch).
ORB_API long adp_rel_relate_mtm_sql(KAdpConnId* con, obj_id* primary, typ_sch_rrec* rel, obj_id* foreign,
                                    obj_id* link_row, KAdpSqlBatch* b);
ORB_API long adp_rel_relate_remote_id_sql(KAdpConnId* con, KAdpSqlBatch* b, typ_sch_rrec* rel, obj_id* primary,
                                          obj_id* foreign);
ORB_API long adp_rel_unrelate_remote_id_sql(KAdpConnId* con, KAdpSqlBatch* b, obj_id* primary, typ_sch_rrec* rel,
                                            obj_id* foreign);
ORB_API long adp_rel_unrelate_from_id_sql(KAdpConnId* con, KAdpSqlBatch* b, char side, obj_id* id,
                                          typ_sch_rrec* rel);
// ", col = <now>" for every change-date field of the foreign side (types 2
// and 3 only).
ORB_API long adp_rel_calculate_field(KAdpConnId* con, KAdpSqlBatch* b, typ_sch_rrec* rel, long unused);
// Sets the change-date fields of the foreign row: run now (append 0) or
// appended as a statement of the batch (append 1).
ORB_API long adp_rel_update_sync_field(KAdpConnId* con, KAdpSqlBatch* b, obj_id* foreign, typ_sch_rrec* rel,
                                       char append, long unused);
// The change-row detail of a relate: "1 col len P" or the two-column form.
ORB_API std::string adp_rel_relate_detail(const typ_sch_rrec* rel, long number, long type_id);
// The change-row detail of a cleared relation column: "1 col 4 NULL" or the
// two-column form.
ORB_API std::string adp_rel_cleared_detail(const typ_sch_rrec* rel, bool focus);
// The change row of the foreign table: phrase 20 with the table and the
// detail bound, then "\n from <table> where <where_col> = ".
ORB_API void adp_rel_change_row(KAdpConnId* con, KAdpSqlBatch* b, const adp_rel_parts& p, const std::string& detail,
                                const char* where_col);
// The object id of a local object, through the module's object-id hook.
ORB_API long adp_rel_oid_of(dbs_ty_lobj* object, obj_id* id);

// Reads: a lock is wanted (option bit 1) inside an application transaction
// unless the store's super flag 8 says no row locks.
ORB_API bool adp_rel_lock_wanted(long options);
// The primary ids that the foreign rows of the numbers point to, in IN
// lists of the dialect's size.
ORB_API long adp_rel_pk_oid_col(KAdpConnId* con, utl_ty_col* numbers, typ_sch_rrec* rel, utl_ty_col* out,
                                long options);

// The write queues.
struct adp_rel_commit_entry {
  void* item;
  char kind;  // 0 relation item, 1 object item
};
constexpr char ADP_COMMIT_REL = 0;
constexpr char ADP_COMMIT_OBJ = 1;
ORB_API long adp_rel_set_combine_optimize(char on);
ORB_API long adp_rel_commit_push(void* item, char kind);
ORB_API long adp_obj_append_to_batch(dbs_ty_lobj* object, char create, char del, void** out, long option);
// The queues (null until first use).
ORB_API utl_ty_col* adp_rel_queue();
ORB_API utl_ty_col* adp_obj_queue();
ORB_API utl_ty_col* adp_cond_queue();
ORB_API utl_ty_col* adp_rel_commit_list();
// Makes the relation queue or the commit list when absent (reset when there).
ORB_API long adp_rel_queue_make();
ORB_API long adp_rel_commits_make();
// Frees the four queues.
ORB_API void adp_rel_queues_free();
// Orderings (utl_col_sort compare procedures).
ORB_API long adp_rel_compare_objs(const void* a, const void* b, void* arg);
ORB_API long adp_rel_compare_rels(const void* a, const void* b, void* arg);
ORB_API long adp_rel_compare_commits(const void* a, const void* b, void* arg);
ORB_API char adp_rel_combine_optimize();
ORB_API long adp_rel_max_per_batch_value();
// Forgets the statement count read from the configuration (tests).
ORB_API void adp_rel_max_per_batch_forget();

// The batch texts of object rows. Id columns take the number of their
// object id (0: NULL); extra columns take a long (-1: NULL).
struct adp_obj_batch_cols {
  std::vector<const char*> id_cols;
  std::vector<obj_id> ids;
  std::vector<const char*> extra_cols;
  std::vector<long> extra_values;
};
struct adp_obj_ctx;
// Oracle takes a long text longer than its dialect number 9 only in a
// statement of its own: true when the field's value is such a text; the
// object is then put once into long_texts, for a write after the batch, and
// NULL is written in its place.
ORB_API bool adp_obj_defer_long_text(KAdpConnId* con, const typ_sch_frec& f, const dbs_ty_slot& slot,
                                     dbs_ty_lobj* object, std::vector<dbs_ty_lobj*>* long_texts);
ORB_API long adp_obj_create_sql(KAdpConnId* con, KAdpSqlBatch* b, dbs_ty_lobj* object, const adp_obj_batch_cols& cols,
                                std::vector<dbs_ty_lobj*>* long_texts);
ORB_API long adp_obj_delete_sql(KAdpConnId* con, KAdpSqlBatch* b, obj_id* id, char from_batch, long options);
// The update with the folded columns and the queued condition; *wrote: 1
// when text was appended, *cond: 1 when it carries a queued condition.
ORB_API long adp_obj_put_sql(KAdpConnId* con, KAdpSqlBatch* b, dbs_ty_lobj* object, const adp_obj_batch_cols& cols,
                             std::vector<dbs_ty_lobj*>* long_texts, char* wrote, char* cond);
// " AND " and the queued condition of the object (Oracle: phrase 36); 1 in
// *found when there was one.
ORB_API long adp_obj_get_cond_sql(KAdpConnId* con, KAdpSqlBatch* b, dbs_ty_lobj* object, char* found);
