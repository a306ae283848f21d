// The indexes a table has, as the server's catalogue describes them: one
// index record per index of a type's table (IndGetTableIndex, with SQL
// Server's attribute, fill-factor and file-group reads), and a plain list of
// a table's indexes with their columns and uniqueness (SchGetIndexInfo).
// A catalogue text longer than a record's text field is refused, never cut.
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_ind.h"
#include "adapter/adp_rec.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_sql_texts.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_name.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "schema/typ_rec.h"

namespace {

constexpr const char kOwner[] = "SchGetIndexInfo";
constexpr long kIndexListPhrase = 3;
constexpr long kAttributePhrase = 5;
constexpr long kFillFactorPhrase = 6;
constexpr long kFileGroupPhrase = 7;
constexpr long kUniqueNumber = 1;
constexpr long kClusteredNumber = 2;
constexpr long kIgnoreDupNumber = 3;
constexpr long kClusteredIndexId = 1;
constexpr long kListType = 517;
constexpr long kStringType = 516;
constexpr long kListSize = 10;
constexpr size_t kKeyPieceMax = 64;
constexpr size_t kFieldSize = ADP_IND_TEXT + 1;

constexpr const char kOraIndexList[] =
    "select substr(lower(index_name),%ld), uniqueness \t\tfrom %s_indexes where \n\t\ttable_name = upper('%s') and "
    "index_name not like 'S\\_%%' ESCAPE '\\'\n";
constexpr const char kOraIndexColumns[] =
    "select lower(column_name) from %s_ind_columns where \t\t\t\t\t\t\t\tindex_name = upper('%s_%s')";

const char* phrase(const KAdpDbOperation* op, long n) {
  return op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(n));
}

long number(const KAdpDbOperation* op, long n) {
  return op->GetDbSpecificLong(static_cast<KAdpDbOperation::long_type>(n));
}

KAdpConnId* conn_of(void* given, const KAdpDbOperation* op) {
  return given != nullptr ? static_cast<KAdpConnId*>(given) : op->GetConnection();
}

const char* type_name(typ_sch_srec* schema) {
  return schema != nullptr && schema->info != nullptr ? schema->info->name : "";
}

// Copies a catalogue text into a record field; a longer one is refused.
long copy_field(char* field, const char* text, const char* what) {
  const char* t = text != nullptr ? text : "";
  if (std::strlen(t) >= kFieldSize) {
    long rc = cmn_alrt_push(nullptr, nullptr, ADP_REC_NO_FIT, 1, what);
    return rc != 0 ? rc : ADP_REC_NO_FIT;
  }
  std::strcpy(field, t);
  return 0;
}

// The records appended from index `first` on, as addresses into the list.
std::vector<adp_ty_index_info*> records_from(utl_ty_col* records, long first) {
  std::vector<adp_ty_index_info*> out;
  long n = 0;
  utl_col_num(records, &n);
  for (long i = first; i < n; ++i) {
    void* e = nullptr;
    if (utl_col_ith(records, i, &e) == 0 && e != nullptr) out.push_back(static_cast<adp_ty_index_info*>(e));
  }
  return out;
}

long count_of(utl_ty_col* col) {
  long n = 0;
  utl_col_num(col, &n);
  return n;
}

// Runs a one-long query on the reset batch: found when a row came.
long batch_long(KAdpConnId* con, const KCLASSIC::KZString& text, long* value, bool* found) {
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  *found = false;
  if (long st = b->AppendSql(text)) return st;
  *b << KAdpBindCol(*value);
  if (long st = b->GetNextResult(nullptr)) return st;
  long r = b->GetNextRow();
  if (r == 0) return b->GetStatus();
  *found = r == 1;
  return 0;
}

// A new string list appended to the index list.
long new_index_entry(utl_ty_col* list, const char* name, long unique, utl_ty_col** out) {
  utl_ty_col* inner = nullptr;
  if (long st = utl_col_make(kOwner, kStringType, kListSize, kListSize, unique, 0, &inner)) return st;
  if (long st = utl_col_push(list, &inner, nullptr)) {
    utl_col_free(kOwner, inner);
    return st;
  }
  *out = inner;
  return utl_col_push(inner, name, nullptr);
}

// Appends the comma-separated pieces of keys (leading blanks skipped, each
// piece at most 64 characters) to the index's list.
long push_keys(utl_ty_col* inner, const char* keys) {
  const char* p = keys != nullptr ? keys : "";
  while (*p != '\0') {
    while (*p == ' ') ++p;
    const char* end = std::strchr(p, ',');
    size_t n = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
    std::string piece(p, n < kKeyPieceMax ? n : kKeyPieceMax);
    if (!piece.empty()) {
      if (long st = utl_col_push(inner, piece.c_str(), nullptr)) return st;
    }
    if (end == nullptr) break;
    p = end + 1;
  }
  return 0;
}

// The type-name prefix of the physical index names of a table: the name of
// the type the cache has for the table, else the table name after "table_".
std::string ora_type_prefix(const char* table) {
  std::string t = table != nullptr ? table : "";
  long type_id = -1;
  const char* name = nullptr;
  if (adp_sch_type_find(t.c_str(), &type_id) == 0 && type_id >= 0 && adp_sch_type_name_find(type_id, &name) == 0 &&
      name != nullptr) {
    return name;
  }
  constexpr const char kTablePrefix[] = "table_";
  constexpr size_t kTablePrefixLen = sizeof(kTablePrefix) - 1;
  if (t.size() > kTablePrefixLen && strncasecmp(t.c_str(), kTablePrefix, kTablePrefixLen) == 0) {
    return t.substr(kTablePrefixLen);
  }
  return t;
}

const char* ora_catalog() { return adp_sch_use_snapshot() == 1 ? "orbisan" : "user"; }

// One Oracle storage value: its number, or 0 and its null bit.
void ora_storage(const char* text, long* value, unsigned long null_bit, adp_ty_index_info* r) {
  if (text == nullptr || *text == '\0') {
    *value = 0;
    r->null_storage |= null_bit;
    return;
  }
  *value = std::strtol(text, nullptr, 10);
}

struct ora_index_row {
  char* name = nullptr;
  char* uniqueness = nullptr;
  char* tablespace = nullptr;
  char* numbers[8] = {};  // ini_trans, max_trans, pct_free, pct_increase, initial, next, min, max
};

long ora_define_index_row(KAdpConnId* con, ora_index_row* row) {
  char** order[] = {&row->name,       &row->uniqueness, &row->numbers[0], &row->numbers[1],
                    &row->numbers[2], &row->tablespace, &row->numbers[3], &row->numbers[4],
                    &row->numbers[5], &row->numbers[6], &row->numbers[7]};
  for (char** dest : order) {
    if (long st = adp_sql_define(con, KAdpBindCol(dest, 0))) return st;
  }
  return 0;
}

long ora_record(const ora_index_row& row, adp_ty_index_info* r) {
  *r = adp_ty_index_info{};
  if (long st = copy_field(r->name, row.name, "index_name")) return st;
  if (long st = copy_field(r->uniqueness, row.uniqueness, "uniqueness")) return st;
  if (long st = copy_field(r->tablespace, row.tablespace, "tablespace_name")) return st;
  if (row.tablespace == nullptr || *row.tablespace == '\0') r->null_storage |= ADP_IND_NULL_TABLESPACE;
  struct {
    long* value;
    unsigned long bit;
  } const numbers[] = {{&r->ini_trans, ADP_IND_NULL_INI_TRANS},       {&r->max_trans, ADP_IND_NULL_MAX_TRANS},
                       {&r->pct_free, ADP_IND_NULL_PCT_FREE},         {&r->pct_increase, ADP_IND_NULL_PCT_INCREASE},
                       {&r->initial_extent, ADP_IND_NULL_INITIAL},    {&r->next_extent, ADP_IND_NULL_NEXT},
                       {&r->min_extents, ADP_IND_NULL_MIN_EXTENTS},   {&r->max_extents, ADP_IND_NULL_MAX_EXTENTS}};
  for (size_t i = 0; i < sizeof(numbers) / sizeof(numbers[0]); ++i) {
    ora_storage(row.numbers[i], numbers[i].value, numbers[i].bit, r);
  }
  return 0;
}

}  // namespace

// --- SQL Server ------------------------------------------------------------

void KAdpMssqlOperation::GetAdpIndInitIndexInfo(adp_ty_index_info* record) {
  if (record == nullptr) return;
  record->name[0] = '\0';
  record->location[0] = '\0';
  record->index_id = 0;
  record->fields = nullptr;
  record->in_schema = 0;
  record->fill_factor = 0;
  record->attributes = 0;
  record->dialect_word = 0;
}

long KAdpMssqlOperation::IndGetTableIndex(void* con_arg, typ_sch_srec* schema, void* records_arg) {
  auto* records = static_cast<utl_ty_col*>(records_arg);
  if (records == nullptr) return 0;
  KAdpConnId* con = conn_of(con_arg, this);
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  long first = count_of(records);
  long index_id = 0;
  char name[kFieldSize] = {};
  long st = adp_sql_parse_now(con, phrase(this, kIndexListPhrase), adp_sql_quotes_doubled(type_name(schema)).c_str());
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(index_id));
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(name, static_cast<long>(kFieldSize)));
  char more = 0;
  if (st == 0) st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    adp_ty_index_info r{};
    GetAdpIndInitIndexInfo(&r);
    r.index_id = index_id;
    std::strcpy(r.name, name);
    st = utl_col_push(records, &r, nullptr);
    if (st == 0) st = adp_sql_nextrow(con, nullptr, &more);
  }
  for (adp_ty_index_info* r : st == 0 ? records_from(records, first) : std::vector<adp_ty_index_info*>{}) {
    if ((st = IndFillAttr(schema, r)) != 0) break;
    if ((st = adp_ind_fill_field_col(con, schema, r)) != 0) break;
    if ((st = IndFillFillfactor(schema, r)) != 0) break;
    if ((st = IndFillFilegroup(schema, r)) != 0) break;
  }
  adp_sql_free(con, stmt);
  return st;
}

long KAdpMssqlOperation::IndFillAttr(typ_sch_srec* schema, adp_ty_index_info* record) {
  KAdpConnId* con = GetConnection();
  if (record->index_id == kClusteredIndexId) record->attributes |= number(this, kClusteredNumber);
  const std::string type = adp_sql_quotes_doubled(type_name(schema));
  for (long n : {kUniqueNumber, kIgnoreDupNumber}) {
    const long bit = number(this, n);
    KCLASSIC::KZString text;
    text.Format(phrase(this, kAttributePhrase), bit, type.c_str(), record->index_id);
    long value = 0;
    bool found = false;
    if (long st = batch_long(con, text, &value, &found)) return st;
    if (found) record->attributes |= bit;
  }
  return con->GetSqlBatch(0)->Reset();
}

long KAdpMssqlOperation::IndFillFillfactor(typ_sch_srec* schema, adp_ty_index_info* record) {
  KAdpConnId* con = GetConnection();
  KCLASSIC::KZString text;
  text.Format(phrase(this, kFillFactorPhrase), adp_sql_quotes_doubled(type_name(schema)).c_str(), record->index_id);
  long value = 0;
  bool found = false;
  if (long st = batch_long(con, text, &value, &found)) return st;
  if (found) record->fill_factor = value;
  return con->GetSqlBatch(0)->Reset();
}

long KAdpMssqlOperation::IndFillFilegroup(typ_sch_srec* schema, adp_ty_index_info* record) {
  KAdpConnId* con = GetConnection();
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  KCLASSIC::KZString text;
  text.Format(phrase(this, kFileGroupPhrase), adp_sql_quotes_doubled(type_name(schema)).c_str(), record->index_id);
  if (long st = b->AppendSql(text)) return st;
  char* group = nullptr;
  *b << KAdpBindCol(&group, 0);
  if (long st = b->GetNextResult(nullptr)) return st;
  for (long r = b->GetNextRow(); r != -1; r = b->GetNextRow()) {
    if (r == 0) return b->GetStatus();
    if (long st = copy_field(record->location, group, "groupname")) return st;
  }
  return b->Reset();
}

long KAdpMssqlOperation::SchGetIndexInfo(void* con_arg, char* table_name, char* flag, void** indexes) {
  KAdpConnId* con = conn_of(con_arg, this);
  *flag = 1;
  if (long st = adp_dbop_check_name(table_name, false)) return st;
  utl_ty_col* list = nullptr;
  if (long st = utl_col_make(kOwner, kListType, kListSize, kListSize, 0, 0, &list)) return st;
  *indexes = list;
  char* name = nullptr;
  char* description = nullptr;
  char* keys = nullptr;
  long st = adp_sql_parse_now(con, "sp_helpindex %s\n", table_name != nullptr ? table_name : "");
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(&name, 0));
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(&description, 0));
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(&keys, 0));
  char more = 0;
  if (st == 0) st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    const long unique = description != nullptr && std::strstr(description, "unique") != nullptr ? 1 : 0;
    utl_ty_col* inner = nullptr;
    st = new_index_entry(list, name != nullptr ? name : "", unique, &inner);
    if (st == 0) st = push_keys(inner, keys);
    if (st == 0) st = adp_sql_nextrow(con, nullptr, &more);
  }
  return st;
}

// --- Oracle ----------------------------------------------------------------

long KAdpOraOperation::IndGetTableIndex(void* con_arg, typ_sch_srec* schema, void* records_arg) {
  auto* records = static_cast<utl_ty_col*>(records_arg);
  if (records == nullptr) return 0;
  KAdpConnId* con = conn_of(con_arg, this);
  long first = count_of(records);
  ora_index_row row;
  long st = adp_sql_parse_now(con, phrase(this, kIndexListPhrase), adp_sql_quotes_doubled(type_name(schema)).c_str());
  if (st == 0) st = ora_define_index_row(con, &row);
  char more = 0;
  if (st == 0) st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    adp_ty_index_info r{};
    st = ora_record(row, &r);
    if (st == 0) st = utl_col_push(records, &r, nullptr);
    if (st == 0) st = adp_sql_nextrow(con, nullptr, &more);
  }
  for (adp_ty_index_info* r : st == 0 ? records_from(records, first) : std::vector<adp_ty_index_info*>{}) {
    if ((st = adp_ind_fill_field_col(con, schema, r)) != 0) break;
  }
  return st;
}

long KAdpOraOperation::SchGetIndexInfo(void* con_arg, char* table_name, char* flag, void** indexes) {
  KAdpConnId* con = conn_of(con_arg, this);
  *flag = 0;
  utl_ty_col* list = nullptr;
  if (long st = utl_col_make(kOwner, kListType, kListSize, kListSize, 0, 0, &list)) return st;
  *indexes = list;
  const std::string prefix = adp_sql_quotes_doubled(ora_type_prefix(table_name).c_str());
  const std::string table = adp_sql_quotes_doubled(table_name);
  char* name = nullptr;
  char* uniqueness = nullptr;
  long st = adp_sql_parse_now(con, kOraIndexList, static_cast<long>(ora_type_prefix(table_name).size()) + 2,
                              ora_catalog(), table.c_str());
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(&name, 0));
  if (st == 0) st = adp_sql_define(con, KAdpBindCol(&uniqueness, 0));
  char more = 0;
  if (st == 0) st = adp_sql_exec_and_fetch(con, &more);
  while (st == 0 && more != 0) {
    const long unique = uniqueness != nullptr && strcasecmp(uniqueness, "UNIQUE") == 0 ? 1 : 0;
    utl_ty_col* inner = nullptr;
    st = new_index_entry(list, name != nullptr ? name : "", unique, &inner);
    if (st == 0) st = adp_sql_nextrow(con, nullptr, &more);
  }
  const long n = count_of(list);
  for (long i = 0; st == 0 && i < n; ++i) {
    void* slot = nullptr;
    if ((st = utl_col_ith(list, i, &slot)) != 0) break;
    auto* inner = *static_cast<utl_ty_col**>(slot);
    void* first = nullptr;
    if ((st = utl_col_ith(inner, 0, &first)) != 0) break;
    const std::string index = adp_sql_quotes_doubled(static_cast<const char*>(first));
    char* column = nullptr;
    st = adp_sql_parse_now(con, kOraIndexColumns, ora_catalog(), prefix.c_str(), index.c_str());
    if (st == 0) st = adp_sql_define(con, KAdpBindCol(&column, 0));
    if (st == 0) st = adp_sql_exec_and_fetch(con, &more);
    while (st == 0 && more != 0) {
      st = utl_col_push(inner, column != nullptr ? column : "", nullptr);
      if (st == 0) st = adp_sql_nextrow(con, nullptr, &more);
    }
  }
  *flag = 0;
  return st;
}
