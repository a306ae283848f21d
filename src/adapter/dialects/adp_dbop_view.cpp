// Reading a view's schema record for its CREATE VIEW text (both dialects).
#include "adapter/dialects/adp_dbop_view.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace adp_view {
namespace {

constexpr long kTableName = 0;
constexpr long kColumnName = 3;
constexpr long kSearchName = 4;
constexpr long kRelColumnName = 5;
constexpr long kObjidField = TYP_GENERIC | 3;  // the generic id of the object id
constexpr long kRelNumberMask = 0xBFFF;        // a relation origin's number without its mark
constexpr long kHeaderSearch = 1;              // header flag: search columns exist
constexpr long kFieldsPerLine = 5;             // column list of an SQL-defined view
constexpr long kEstrExtend = 5000;

long push(long code, long nargs, ...) {
  va_list args;
  va_start(args, nargs);
  long rc = cmn_alrt_vpush(nullptr, nullptr, code, nargs, args);
  va_end(args);
  return rc != 0 ? rc : code;
}

const char* text_at(utl_ty_col* col, long i) {
  void* e = nullptr;
  if (col == nullptr || utl_col_ith(col, i, &e) != 0 || e == nullptr) return "";
  return static_cast<const char*>(e);
}

const char* or_empty(const char* s) { return s != nullptr ? s : ""; }

bool exclusive(const typ_sch_rrec* r) {
  return r->exclusive != 0 && r->phys_name != nullptr && *r->phys_name != '\0' && r->focus_field != nullptr &&
         *r->focus_field != '\0';
}

// The key column of a relation: an exclusive set's id column, else the
// foreign side's relation name.
const char* key_column(const typ_sch_rrec* r) { return exclusive(r) ? r->phys_name : or_empty(r->fname); }

}  // namespace

void appendf(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (n > 0) {
    std::string piece(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(piece.data(), piece.size(), format, again);
    piece.resize(static_cast<size_t>(n));
    out += piece;
  }
  va_end(again);
}

std::string reader::phys(long kind, const char* logical) const {
  return static_cast<const char*>(
      con_->GetPhys(or_empty(logical), static_cast<KAdpNameMapper::convert_type>(kind), 0, nullptr));
}
std::string reader::table(const char* logical) const { return phys(kTableName, logical); }
std::string reader::column(const char* logical) const { return phys(kColumnName, logical); }
std::string reader::rel_column(const char* logical) const { return phys(kRelColumnName, logical); }
std::string reader::search(const char* logical) const { return phys(kSearchName, logical); }

const char* reader::name() const { return view_->info != nullptr ? view_->info->name : ""; }

long reader::origin_of(long field, origin* out) const {
  typ_sch_frec* f = &view_->fields[field];
  void* word = nullptr;
  typ_sch_field_uptr_get(f, &word);
  const auto* vi = static_cast<const typ_sch_vinfo*>(word);
  if (vi == nullptr || vi->unresolved != 0 || vi->src_schema < 0 || vi->src_schema >= typ_sch_num_schs)
    return push(TYP_VIEW_NO_TYPE, 3, vi != nullptr ? or_empty(vi->src_type_name) : "", or_empty(f->name), name());
  out->type = &typ_sch_schemas[vi->src_schema];
  out->alias = or_empty(vi->alias);
  // Join elimination leaves the relation in the second source number.
  const long from = (vi->src_field2 & TYP_VINFO_REL) != 0 ? vi->src_field2 : vi->src_field;
  out->relation = (from & TYP_VINFO_REL) != 0;
  if (out->relation) {
    const long rel = from & kRelNumberMask;
    if (rel >= typ_sch_num_rels) return push(TYP_BAD_SPEC_REL, 1, rel);
    out->column = key_column(&typ_sch_relations[rel]);
  } else {
    if (from < 0 || from >= out->type->nfields)
      return push(TYP_VIEW_NO_FIELD, 3, or_empty(f->name), out->type->info->name, name());
    out->column = or_empty(out->type->fields[from].name);
  }
  return 0;
}

long reader::join_at(long i, join* out) const {
  const typ_sch_rel_inst& e = view_->rels[i];
  typ_sch_rrec* r = typ_sch_entry_rel(&e);
  if (r == nullptr || r->pschema == nullptr || r->fschema == nullptr) return push(TYP_BAD_SPEC_REL, 1, e.rel_index);
  out->rel = r;
  out->flag = e.join_kind;
  out->column_join = (e.flags & kColumnJoin) != 0;
  out->mtm = r->type == TYP_REL_MTM;
  out->exclusive = exclusive(r);
  out->palias = e.join != nullptr ? or_empty(e.join->palias) : "";
  out->falias = e.join != nullptr ? or_empty(e.join->falias) : "";
  out->key = key_column(r);
  return 0;
}

long reader::objid_column(const typ_sch_srec* type, const char** out) const {
  long index = -1;
  if (long st = typ_sch_gen_to_sp(const_cast<typ_sch_srec*>(type), kObjidField, &index)) return st;
  if (index < 0 || index >= type->nfields) return push(TYP_BAD_GEN_FIELD, 2, kObjidField, type->info->name);
  *out = or_empty(type->fields[index].name);
  return 0;
}

long reader::search_columns(bool* out) const {
  char set = 0;
  if (long st = adp_db_is_header_flags_set(adp_db_get_head_addr(), kHeaderSearch, &set)) return st;
  *out = set != 0;
  return 0;
}

long reader::table_set(std::vector<const typ_sch_srec*>* out) const {
  auto add = [out](const typ_sch_srec* s) {
    if (std::find(out->begin(), out->end(), s) == out->end()) out->push_back(s);
  };
  for (long i = 0; i < fields(); ++i) {
    origin o;
    if (long st = origin_of(i, &o)) return st;
    if (*o.alias == '\0') add(o.type);
  }
  for (long i = 0; i < joins(); ++i) {
    join j;
    if (long st = join_at(i, &j)) return st;
    if (*j.palias == '\0' && !(j.column_join && j.flag != kForeignOptional)) add(j.rel->pschema);
    if (*j.falias == '\0') add(j.rel->fschema);
  }
  return 0;
}

std::vector<std::pair<const char*, const char*>> reader::alias_pairs() const {
  std::vector<std::pair<const char*, const char*>> pairs;
  void* word = nullptr;
  typ_sch_uptr_get(view_, &word);
  const auto* block = static_cast<const typ_sch_alias_blk*>(word);
  if (block == nullptr || block->aliases == nullptr) return pairs;
  long n = 0;
  utl_col_num(block->aliases, &n);
  for (long i = 0; i < n; ++i) pairs.emplace_back(text_at(block->types, i), text_at(block->aliases, i));
  return pairs;
}

long reader::mtm_outer(const join& j, const char* primary, const char* foreign) const {
  const char* p = "";
  const char* f = "";
  if (long st = objid_column(j.rel->pschema, &p)) return st;
  if (long st = objid_column(j.rel->fschema, &f)) return st;
  return push(ADP_VIEW_MTM_OUTER, 5, primary, p, foreign, f, name());
}

long reader::sql_defined(bool oracle, std::string* out) const {
  std::string s;
  appendf(s, oracle ? "create view %s\n (" : "CREATE VIEW %s\n", table(name()).c_str());
  for (long i = 0; i < fields(); ++i) {
    const char lead = i != 0 ? ',' : oracle ? ' ' : '(';
    const char trail = i % kFieldsPerLine == kFieldsPerLine - 1 ? '\n' : ' ';
    appendf(s, "%c%s%c", lead, column(field_name(i)).c_str(), trail);
  }
  appendf(s, ")\n AS \n%s\n", or_empty(view_->info->sql));
  *out = std::move(s);
  return 0;
}

long hand_out(const std::string& text, utl_ty_estr** out) {
  return utl_estr_create("SchViewDefSql", text.c_str(), static_cast<long>(text.size()) + 1, kEstrExtend, out);
}

long check_arguments(const typ_sch_srec* view, utl_ty_estr** out) {
  if (view != nullptr && view->info != nullptr && out != nullptr) return 0;
  return push(TYP_BAD_HANDLE, 1, static_cast<long>(reinterpret_cast<intptr_t>(view)));
}

}  // namespace adp_view
