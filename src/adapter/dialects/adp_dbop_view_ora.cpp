// Oracle's CREATE VIEW text: a column list, the select list, a FROM list of
// link tables, aliased and plain tables, and the joins as WHERE conditions
// with "(+)" on the optional side.
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_err.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "adapter/dialects/adp_dbop_view.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_stor.h"

namespace {

using adp_view::appendf;

constexpr long kColumnsPerLine = 5;
constexpr long kSelectPerLine = 2;
constexpr long kTablesPerLine = 3;

struct ora_view {
  explicit ora_view(const adp_view::reader& reader) : r(reader) {}

  const adp_view::reader& r;
  bool search = false;
  std::string s;

  // A join side's qualifier: its alias, else its type's table.
  std::string side(const char* alias, const typ_sch_srec* type) const {
    return r.table(*alias != '\0' ? alias : type->info->name);
  }

  long head(bool distinct) {
    const std::string view = r.table(r.name());
    appendf(s, "create view %s\n (", view.c_str());
    for (long i = 0; i < r.fields(); ++i) {
      const std::string c = r.column(r.field_name(i));
      if (i == 0)
        appendf(s, "%s", c.c_str());
      else
        appendf(s, ",%s %s", i % kColumnsPerLine == 0 ? "\n " : "", c.c_str());
      if (search && r.searchable(i)) appendf(s, ", %s", r.search(r.field_name(i)).c_str());
    }
    s += ")\n as select ";
    if (distinct) s += "DISTINCT ";
    const char* storage = nullptr;
    if (typ_lookup_physical_storage_params(view.c_str(), &storage) == 0 && storage != nullptr)
      appendf(s, "%s ", storage);
    return 0;
  }

  long select_list() {
    for (long i = 0; i < r.fields(); ++i) {
      adp_view::origin o;
      if (long st = r.origin_of(i, &o)) return st;
      const std::string q = side(o.alias, o.type);
      const std::string c = r.column(o.column);
      if (i == 0)
        appendf(s, "%s.%s", q.c_str(), c.c_str());
      else
        appendf(s, ",%s %s.%s", i % kSelectPerLine == 0 ? "\n" : "", q.c_str(), c.c_str());
      if (search && r.searchable(i)) appendf(s, ", %s.%s", q.c_str(), r.search(o.column).c_str());
    }
    return 0;
  }

  long from_list() {
    s += "\n from ";
    bool links = false;
    for (long i = 0; i < r.joins(); ++i) {
      adp_view::join j;
      if (long st = r.join_at(i, &j)) return st;
      if (!j.mtm) continue;
      appendf(s, "%s, ", r.table(j.rel->mtm_table).c_str());
      links = true;
    }
    const auto pairs = r.alias_pairs();
    for (size_t i = 0; i < pairs.size(); ++i)
      appendf(s, i == 0 ? "%s %s" : ", %s %s", r.table(pairs[i].first).c_str(), r.table(pairs[i].second).c_str());
    std::vector<const typ_sch_srec*> set;
    if (long st = r.table_set(&set)) return st;
    if (!set.empty() && !pairs.empty()) s += ", ";
    for (size_t k = 0; k < set.size(); ++k) {
      const std::string t = r.table(set[k]->info->name);
      if (k == 0)
        appendf(s, "%s", t.c_str());
      else
        appendf(s, ",%s %s", k % kTablesPerLine == 0 ? "\n " : "", t.c_str());
    }
    // Link tables alone: no separator after the last one.
    if (links && pairs.empty() && set.empty()) s.resize(s.size() - 2);
    return 0;
  }

  // The condition text of one join ("" for none).
  long condition(const adp_view::join& j, std::string& c) const {
    const std::string P = side(j.palias, j.rel->pschema), F = side(j.falias, j.rel->fschema);
    const char* k = j.key;
    const char* t = j.rel->focus_field;
    const long n = j.rel->pschema->type_id;
    if (j.mtm && j.flag != adp_view::kInnerJoin)
      return r.mtm_outer(j, *j.palias != '\0' ? j.palias : j.rel->pschema->info->name,
                         *j.falias != '\0' ? j.falias : j.rel->fschema->info->name);
    if (j.column_join && j.flag == adp_view::kPrimaryOptional) return 0;
    if (j.column_join && j.flag == adp_view::kInnerJoin && !j.mtm) {
      appendf(c, "%s.%s IS NOT NULL\n ", F.c_str(), k);
      if (j.exclusive) appendf(c, "AND %s.%s = %ld\n ", F.c_str(), t, n);
      return 0;
    }
    const char* p = "";
    if (long st = r.objid_column(j.rel->pschema, &p)) return st;
    if (j.mtm) {
      const char* f = "";
      if (long st = r.objid_column(j.rel->fschema, &f)) return st;
      const char* link = j.rel->mtm_table;
      appendf(c, "%s.%s = %s.%s\n ", P.c_str(), p, link, j.rel->pname);
      appendf(c, "AND %s.%s = %s.%s \n ", link, j.rel->fname, F.c_str(), f);
      return 0;
    }
    // A column join with the foreign side optional reads as a plain one.
    switch (j.flag) {
      case adp_view::kPrimaryOptional:
        appendf(c, "%s.%s (+) = %s.%s\n ", P.c_str(), p, F.c_str(), k);
        if (j.exclusive) appendf(c, "AND %s.%s = %ld\n ", F.c_str(), t, n);
        break;
      case adp_view::kForeignOptional:
        // The optional side's type test carries the mark too, so the
        // primary rows without a related row stay in the view.
        appendf(c, "%s.%s = %s.%s (+)\n ", P.c_str(), p, F.c_str(), k);
        if (j.exclusive) appendf(c, "AND %s.%s (+) = %ld\n ", F.c_str(), t, n);
        break;
      default:
        appendf(c, j.exclusive ? "%s.%s = %s.%s \n " : "%s.%s = %s.%s\n ", P.c_str(), p, F.c_str(), k);
        if (j.exclusive) appendf(c, "AND %s.%s = %ld\n ", F.c_str(), t, n);
        break;
    }
    return 0;
  }

  long where() {
    bool open = false;
    for (long i = 0; i < r.joins(); ++i) {
      adp_view::join j;
      if (long st = r.join_at(i, &j)) return st;
      std::string c;
      if (long st = condition(j, c)) return st;
      if (c.empty()) continue;
      s += open ? "AND " : "\n where ";
      open = true;
      s += c;
    }
    return 0;
  }
};

long ora_view_sql(KAdpConnId* con, typ_sch_srec* view, utl_ty_estr** out) {
  adp_view::reader r(con, view);
  std::string text;
  if ((view->flags & adp_view::kSqlDefined) != 0) {
    if (long st = r.sql_defined(true, &text)) return st;
    return adp_view::hand_out(text, out);
  }
  ora_view v(r);
  if (long st = r.search_columns(&v.search)) return st;
  if (long st = v.head((view->flags & adp_view::kDistinct) != 0)) return st;
  if (long st = v.select_list()) return st;
  if (long st = v.from_list()) return st;
  if (long st = v.where()) return st;
  return adp_view::hand_out(v.s, out);
}

}  // namespace

long KAdpOraOperation::SchViewDefSql(void* con, typ_sch_srec* view, utl_ty_estr** text) {
  if (long st = adp_view::check_arguments(view, text)) return st;
  KAdpConnId* c = con != nullptr ? static_cast<KAdpConnId*>(con) : GetConnection();
  return adp_err_guard([&] { return ora_view_sql(c, view, text); });
}
