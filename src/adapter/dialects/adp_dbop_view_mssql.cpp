// SQL Server's CREATE VIEW text: the select list with "AS" column names, the
// joins as ANSI join clauses (through the join array), the tables no join
// names, and the tests of joins that only need a foreign key.
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_err.h"
#include "adapter/adp_tjoin.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_view.h"

namespace {

using adp_view::appendf;

struct mssql_view {
  explicit mssql_view(const adp_view::reader& reader) : r(reader) {}

  const adp_view::reader& r;
  bool search = false;
  std::string s;
  std::string conditions;
  KAdpTableJoinArray joins;

  std::string alias(const char* a) const { return *a != '\0' ? r.table(a) : std::string(); }

  long select_list() {
    appendf(s, "CREATE VIEW %s AS SELECT \n", r.table(r.name()).c_str());
    for (long i = 0; i < r.fields(); ++i) {
      adp_view::origin o;
      if (long st = r.origin_of(i, &o)) return st;
      const std::string q = r.table(*o.alias != '\0' ? o.alias : o.type->info->name);
      const std::string c = o.relation ? r.rel_column(o.column) : r.column(o.column);
      if (i != 0) s += ",";
      appendf(s, " %s.%s AS %s \n", q.c_str(), c.c_str(), r.column(r.field_name(i)).c_str());
      if (search && r.searchable(i))
        appendf(s, ", %s.%s AS %s \n", q.c_str(), r.search(o.column).c_str(), r.search(r.field_name(i)).c_str());
    }
    s += "FROM \n";
    return 0;
  }

  long mtm_join(const adp_view::join& j) {
    if (j.flag != adp_view::kInnerJoin) return r.mtm_outer(j, j.rel->pschema->info->name, j.rel->fschema->info->name);
    const char* p = "";
    const char* f = "";
    if (long st = r.objid_column(j.rel->pschema, &p)) return st;
    if (long st = r.objid_column(j.rel->fschema, &f)) return st;
    const std::string link = r.table(j.rel->mtm_table);
    KAdpTableJoin record;
    if (long st = record.SetData(r.table(j.rel->pschema->info->name).c_str(), alias(j.palias).c_str(), link.c_str(),
                                 "", p, j.rel->pname, KAdpTableJoin::kInner))
      return st;
    if (long st = joins.AddNewTableJoin(record)) return st;
    if (long st = record.SetData(link.c_str(), "", r.table(j.rel->fschema->info->name).c_str(),
                                 alias(j.falias).c_str(), j.rel->fname, f, KAdpTableJoin::kInner))
      return st;
    return joins.AddNewTableJoin(record);
  }

  long plain_join(const adp_view::join& j) {
    const std::string F = r.table(j.rel->fschema->info->name), Fa = alias(j.falias);
    if (j.column_join && j.flag == adp_view::kInnerJoin) {
      appendf(conditions, conditions.empty() ? "WHERE(%s.%s IS NOT NULL)" : "AND (%s.%s IS NOT NULL)",
              (Fa.empty() ? F : Fa).c_str(), j.key);
      return 0;
    }
    if (j.column_join && j.flag == adp_view::kPrimaryOptional) return 0;
    const char* p = "";
    if (long st = r.objid_column(j.rel->pschema, &p)) return st;
    const auto kind = j.flag == adp_view::kPrimaryOptional   ? KAdpTableJoin::kRightOuter
                      : j.flag == adp_view::kForeignOptional ? KAdpTableJoin::kLeftOuter
                                                             : KAdpTableJoin::kInner;
    KAdpTableJoin record;
    if (long st = record.SetData(r.table(j.rel->pschema->info->name).c_str(), alias(j.palias).c_str(), F.c_str(),
                                 Fa.c_str(), p, j.key, kind))
      return st;
    if (long st = record.SetTypeColumnName(j.exclusive ? j.rel->focus_field : "")) return st;
    if (long st = record.SetToType(j.rel->pschema->type_id)) return st;
    return joins.AddNewTableJoin(record);
  }

  long join_clauses() {
    for (long i = 0; i < r.joins(); ++i) {
      adp_view::join j;
      if (long st = r.join_at(i, &j)) return st;
      if (long st = j.mtm ? mtm_join(j) : plain_join(j)) return st;
    }
    KCLASSIC::KZString clause;
    if (long st = joins.FormJoinStatement(&clause)) return st;
    s += static_cast<const char*>(clause);
    return tables(!clause.IsEmpty());
  }

  // The tables that no join clause names, then the conditions.
  long tables(bool after_joins) {
    std::string list;
    auto item = [&](const std::string& table, const std::string& a, const std::string& text) {
      if (joins.DoesTableExistInCondition(table.c_str(), a.c_str()) != 0) return;
      if (!list.empty()) list += ",";
      list += text;
    };
    for (long i = 0; i < r.joins(); ++i) {
      adp_view::join j;
      if (long st = r.join_at(i, &j)) return st;
      if (j.mtm) item(r.table(j.rel->mtm_table), "", r.table(j.rel->mtm_table));
    }
    for (const auto& [type, a] : r.alias_pairs()) {
      const std::string t = r.table(type), ta = r.table(a);
      item(t, ta, t + " " + ta);
    }
    std::vector<const typ_sch_srec*> set;
    if (long st = r.table_set(&set)) return st;
    for (const typ_sch_srec* type : set) item(r.table(type->info->name), "", r.table(type->info->name));
    if (!list.empty()) s += (after_joins ? ", " : " ") + list;
    s += " " + conditions;
    return 0;
  }
};

long mssql_view_sql(KAdpConnId* con, typ_sch_srec* view, utl_ty_estr** out) {
  adp_view::reader r(con, view);
  std::string text;
  if ((view->flags & adp_view::kSqlDefined) != 0) {
    if (long st = r.sql_defined(false, &text)) return st;
    return adp_view::hand_out(text, out);
  }
  mssql_view v(r);
  if (long st = r.search_columns(&v.search)) return st;
  if (long st = v.select_list()) return st;
  if (long st = v.join_clauses()) return st;
  return adp_view::hand_out(v.s, out);
}

}  // namespace

long KAdpMssqlOperation::SchViewDefSql(void* con, typ_sch_srec* view, utl_ty_estr** text) {
  if (long st = adp_view::check_arguments(view, text)) return st;
  KAdpConnId* c = con != nullptr ? static_cast<KAdpConnId*>(con) : GetConnection();
  return adp_err_guard([&] { return mssql_view_sql(c, view, text); });
}
