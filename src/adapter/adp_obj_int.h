// The object SQL's shared pieces: the common prologue of the writing calls,
// value rendering (bound or literal, with the increment forms), the
// upper-case search copies, the change-row detail texts and the helpers the
// reads and the id tables share. Exported for the adapter's tests.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "core/cmn/cmn_alrt.h"
#include "orb_api.h"
#include "store/dbs_obj.h"

class KAdpConnId;
struct typ_sch_frec;
struct typ_sch_rel_inst;
struct typ_sch_srec;

// Field flag bits and generic ids the object SQL reads.
constexpr unsigned long ADP_FLD_SEARCHABLE = 0x100;
constexpr unsigned long ADP_FLD_NO_DETAIL = 0x800;
constexpr long ADP_GEN_OBJID = 3;
constexpr long ADP_GEN_CHANGE_DATE = 46;
constexpr long ADP_GEN_MOD_STAMP = 48;
constexpr long ADP_GEN_LOCALE1 = 152;
constexpr long ADP_GEN_LOCALE2 = 153;
// Column kinds.
constexpr long ADP_KIND_LONG_TEXT = 8;
constexpr long ADP_KIND_DATE = 9;
// A local object's field flag byte.
constexpr unsigned char ADP_OBJ_DIRTY = 1;
constexpr unsigned char ADP_OBJ_INCR = 2;
constexpr unsigned char ADP_OBJ_DECR = 4;
// Schema flags the object SQL tests.
constexpr unsigned long ADP_SCH_STRUCTURE = 4;
constexpr unsigned long ADP_SCH_DELETABLE = 64;
// Header flag 1: the searchable upper-case columns exist.
constexpr long ADP_HDR_SEARCH = 1;

// Alerts of the object SQL.
constexpr long ADP_OBJ_STRUCTURE = 0x60000E;   // the local object
constexpr long ADP_OBJ_DEL_STRUCT = 0x600010;  // the number
constexpr long ADP_OBJ_NO_DELETE = 0x600011;   // the type name
constexpr long ADP_OID_TOO_HIGH = 0x600012;    // the type id text
constexpr long ADP_OBJ_BUF_END = 0x600021;
constexpr long ADP_OBJ_STAMP_KIND = 0x60002A;  // the field name
constexpr long ADP_OBJ_NO_STAMP = 0x600031;    // the generic id
constexpr long ADP_OBJ_NOT_FOUND = 0x70002D;   // type name, number

// The result of the common prologue.
struct adp_obj_ctx {
  KAdpConnId* con = nullptr;
  dbs_ty_lobj* object = nullptr;
  typ_sch_srec* schema = nullptr;
  const char* table = nullptr;
  long oid_index = -1;
  char roamer = 0;  // the offline feature is on
  char search = 0;  // header flag 1
};

// What the common prologue does besides: check the connection, and keep
// the texts kept so far (a batch text still binds them), else cleared.
constexpr long ADP_OBJ_CHECK_CONN = 1;
constexpr long ADP_OBJ_KEEP_TEXTS = 2;
// Roamer and header flag, the kept texts, connection check, structure
// refusal, objid field and table, stamps (insert: 1 for the dirty stamp,
// else 0 and the locale stamp too).
ORB_API long adp_obj_prologue(KAdpConnId* con, dbs_ty_lobj* object, bool insert, long mode, adp_obj_ctx* ctx);

// Field tests of a write: the key columns (dev, objid), dirty, stepped
// (incremented or decremented), and written into the change-row detail.
ORB_API bool adp_obj_is_key(const typ_sch_frec& f);
ORB_API bool adp_obj_dirty(const dbs_ty_lobj* o, long i);
ORB_API bool adp_obj_stepped(const dbs_ty_lobj* o, long i);
ORB_API bool adp_obj_in_detail(const dbs_ty_lobj* o, long i);
// The object's number.
ORB_API long adp_obj_number(const adp_obj_ctx& c);
// A column written with the fields of a change-row detail: its name and
// value text.
struct adp_obj_detail_extra {
  const char* name;
  std::string value;
};
// The detail of the plain (not stepped) changed fields and the extra
// columns ("" when there is none).
ORB_API long adp_obj_plain_detail(const dbs_ty_lobj* o, const std::vector<adp_obj_detail_extra>& extra,
                                  std::string* detail);
// One change row per stepped field, numbered from *k (counted on); stamp:
// the old stamp condition (empty: none).
ORB_API long adp_obj_increment_rows(KAdpSqlBatch* b, const adp_obj_ctx& c, long* k, const std::string& stamp);

// Pushes code with the given arguments and returns it (or the push's own
// failure).
template <class... A>
long adp_obj_push(long code, long nargs, A... args) {
  long rc = cmn_alrt_push(nullptr, nullptr, code, nargs, args...);
  return rc != 0 ? rc : code;
}

// Texts bound by address live here until the next writing call clears them.
ORB_API std::deque<std::string>& adp_obj_kept_texts();
ORB_API const char* adp_obj_keep_text(std::string text);

// Value rendering of one field into the batch (flag: the field's flag byte,
// or 1 for the plain forms); *long_text (when given) is set for a kind-8
// column (null when empty).
ORB_API long adp_obj_field_save_it(KAdpSqlBatch* b, const typ_sch_frec* f, dbs_ty_slot* slot, unsigned char flag,
                                   const char** long_text);
// The upper-case search copy of a string field (nothing when the header
// flag 1 is off or the field is not searchable).
ORB_API long adp_obj_field_save_it_in_upcase(KAdpSqlBatch* b, const typ_sch_frec* f, const dbs_ty_slot* slot,
                                             const char** long_text);
// The upper-case copy of a text, multibyte-aware.
ORB_API std::string adp_obj_upcase(const char* text);
ORB_API long adp_obj_field_save(void* batch, typ_sch_frec* f, void* slot, const char** long_text, long unused);
ORB_API long adp_obj_field_save_in_upcase(void* batch, typ_sch_frec* f, void* slot, const char** long_text,
                                          long unused);

// The change-row value text of a field (empty string: length 0).
ORB_API long adp_obj_detail_value(const typ_sch_frec* f, const dbs_ty_slot* slot, std::string* out);
// Adds " name len" to head and the value text to values.
ORB_API long adp_obj_field_set_tx_detail(const typ_sch_frec* f, unsigned char flag, const dbs_ty_slot* slot,
                                         long unused, std::string* head, std::string* values);
// As above, plus the " s_name len" entry for a searchable field when header
// flag 1 is set (read once per process).
ORB_API long adp_obj_set_tx_detail(const typ_sch_frec* f, const dbs_ty_slot* slot, unsigned char flag,
                                   std::string* head, std::string* values);
// The SQL expression of an increment's detail.
ORB_API long adp_obj_set_tx_detail2(const typ_sch_frec* f, unsigned char flag, const dbs_ty_slot* slot, long unused,
                                    std::string* out);
// "%s = " and the value (the field's flag byte), with the s_ copy.
ORB_API long adp_obj_put_pair(KAdpSqlBatch* b, const typ_sch_frec* f, dbs_ty_slot* slot, unsigned char flag);

// Server date text of a clock: mode 1 wraps it in TO_DATE with the
// dialect's format.
ORB_API long adp_obj_gen_svr_clk_str(const clktime* time, long mode, char* out);
// A text into a field's value slot.
ORB_API long adp_obj_copy_field(dbs_ty_lobj* object, const typ_sch_frec* f, const char* text, dbs_ty_slot* slot);
ORB_API long adp_obj_has_long(const typ_sch_srec* schema);

// The dialect's phrase n.
ORB_API const char* adp_obj_phrase(KAdpConnId* con, long n);
// Parses the batch and runs each of its statements; *rows (when given): the
// last one's row count. The batch is left to the caller.
ORB_API long adp_obj_run_all(KAdpConnId* con, KAdpSqlBatch* b, long* rows);

// The lock bracket of the reads: true when the read locks (and a nested
// transaction was begun).
bool adp_obj_lock_begin(KAdpConnId* con, long options, long* status);
// The row's relations kept in the row, and whether one is written as the
// pair of physical-name and focus columns.
long adp_obj_row_rels(const typ_sch_srec* schema, long* count, typ_sch_rel_inst*** out);
bool adp_obj_rel_pair(const typ_sch_rel_inst* rel);
// The column list of a read ("select " then the fields).
void adp_obj_select_list(KAdpSqlBatch* b, const typ_sch_srec* schema);

// RAII: the bind-variable switch set to on for a scope (when asked).
class adp_obj_bind_switch {
 public:
  adp_obj_bind_switch(KAdpConnId* con, bool force, char value);
  ~adp_obj_bind_switch();
  adp_obj_bind_switch(const adp_obj_bind_switch&) = delete;
  adp_obj_bind_switch& operator=(const adp_obj_bind_switch&) = delete;
  void restore();

 private:
  KAdpConnId* m_con;
  bool m_set;
  char m_old = 0;
};
