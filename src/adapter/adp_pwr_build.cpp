// The SELECT text of a power query: the head, the FROM list of every table a
// marked path crosses (link tables, aliases, recursions), the joins, the two
// condition lists with their connectors and OR groups, and the sort keys.
// The marks the paths leave on the schema model are cleared on every return.
#include <cstring>
#include <set>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_err.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_pwr.h"
#include "adapter/adp_qry.h"
#include "adapter/adp_qry_rec.h"
#include "adapter/adp_qry_util.h"
#include "adapter/adp_sch.h"
#include "core/cmn/cmn_alrt.h"
#include "schema/typ_path.h"

using namespace adp_qry;

namespace {

constexpr const char* kExpressionMark = "1753-01-01";
constexpr unsigned long kSchemaMarks = TYP_SCH_VISITED | TYP_SCH_COUNT_TARGET | TYP_SCH_RECURSIVE | TYP_SCH_RECUR_COUNT;
constexpr unsigned long kByteMask = 0xff;

bool g_or_group = false;

const char* name_of(const typ_sch_srec* s) { return s != nullptr && s->info != nullptr ? s->info->name : ""; }
typ_sch_srec* other_of(const typ_sch_rel_inst& e) {
  if (e.rel == nullptr) return nullptr;
  return e.side == 'p' ? e.rel->fschema : e.rel->pschema;
}
bool mtm(const typ_sch_rrec* r) { return (r->type & ~TYP_REL_INDEX_MARK) == TYP_REL_MTM; }
bool typed(const typ_sch_rrec* r) { return r->exclusive != 0 && r->phys_name != nullptr && r->focus_field != nullptr; }
std::string number(unsigned long n) { return std::to_string(n); }

// A relation of a type with itself crossed once or more: its recursion
// number and count of extra repetitions. The same entry crossed again keeps
// the count with the mark of a repeated step.
bool recursion(const typ_sch_rel_inst& e) {
  if ((e.trav & TYP_TRAV_RECURSIVE) != 0) return true;
  return (e.trav & TYP_TRAV_PREV) != 0 && e.rel != nullptr && e.rel->pschema == e.rel->fschema;
}

struct builder {
  KAdpConnId* con;
  typ_sch_srec* root;
  char** end;
  std::string root_alias;
  std::string hint;
  std::set<const typ_sch_srec*> plain_tables;

  std::string table(const typ_sch_srec* s) const {
    const char* t = nullptr;
    if (adp_sch_tbl_find(s->type_id, &t) == 0 && t != nullptr) return t;
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    return std::string("table_") + name_of(s);
  }
  // A side without an alias: the root by its alias, another by its table.
  std::string plain(const typ_sch_srec* s) const { return s == root ? root_alias : table(s); }
  long put(const std::string& s) const { return adp_pwr_string_append(end, s.c_str()); }

  long from_list(typ_sch_srec* s);
  long joins(typ_sch_srec* s, bool top, char* written);
  long recur_join(typ_sch_srec* s, typ_sch_rel_inst& e, bool top);
  long conds(dbs_ty_pwr_list* list, char* written);
  long opt_conds(dbs_ty_pwr_list* list, char* written);
  long orders(const adp_ty_pwr_sort* sorts, bool walk_expressions);
};

// FROM: the tables the marked entries reach from s.
long builder::from_list(typ_sch_srec* s) {
  s->flags |= TYP_SCH_VISITED;
  for (long i = 0; i < s->nrels; ++i) {
    typ_sch_rel_inst& e = s->rels[i];
    if ((e.flags & TYP_MARK_TRAVERSED) == 0 || e.rel == nullptr) continue;
    typ_sch_srec* t = other_of(e);
    if (t == nullptr) continue;
    if (mtm(e.rel) && put(std::string(", ") + e.rel->mtm_table + hint)) return ADP_PWR_TOO_LONG;
    if (recursion(e)) {
      const unsigned long r = e.trav & kByteMask, c = (e.trav >> 8) & kByteMask;
      for (unsigned long k = 0; k <= c; ++k)
        if (long st = put(", " + table(t) + " " + name_of(t) + "_" + number(r) + "_" + number(k) + hint)) return st;
      continue;
    }
    const bool visited = (t->flags & TYP_SCH_VISITED) != 0;
    if ((e.flags & TYP_MARK_COUNT) != 0) {
      if (long st = put(", " + table(t) + " " + name_of(t) + "_" + number(e.flags & kByteMask) + hint)) return st;
    } else if (t != root && plain_tables.insert(t).second) {
      // A type also reached through an alias is named by its table alone.
      const bool aliased = (t->flags & TYP_SCH_COUNT_TARGET) != 0;
      if (long st = put(aliased ? ", " + table(t) : ", " + table(t) + hint)) return st;
    }
    if (!visited) {
      if (long st = from_list(t)) return st;
    }
  }
  return 0;
}

long builder::recur_join(typ_sch_srec* s, typ_sch_rel_inst& e, bool top) {
  const typ_sch_rrec* r = e.rel;
  typ_sch_frec* id = nullptr;
  if (long st = objid_of(s, &id)) return st;
  const unsigned long rn = e.trav & kByteMask, c = (e.trav >> 8) & kByteMask;
  const std::string base = top ? root_alias : table(s);
  std::string prev = base;
  for (unsigned long k = 0; k <= c; ++k) {
    const std::string q = std::string(name_of(s)) + "_" + number(rn) + "_" + number(k);
    if (k > 0 && put(" AND ")) return ADP_PWR_TOO_LONG;
    std::string text;
    if (mtm(r)) {
      const std::string& a = e.side == 'f' ? base : q;
      const std::string& b = e.side == 'f' ? q : base;
      text = a + "." + id->name + " = " + r->mtm_table + "." + r->pname + " AND " + r->mtm_table + "." + r->fname +
             " = " + b + "." + id->name;
    } else {
      // Each repetition follows the previous one.
      const std::string& holder = e.side == 'f' ? prev : q;
      const std::string& held = e.side == 'f' ? q : prev;
      const char* fk = typed(r) ? r->phys_name : r->fname;
      text = held + "." + id->name + " = " + holder + "." + fk;
      if (typed(r))
        text += " AND " + holder + "." + r->focus_field + " = " + number(static_cast<unsigned long>(r->pschema->type_id));
    }
    if (long st = put(text)) return st;
    prev = q;
  }
  return 0;
}

long builder::joins(typ_sch_srec* s, bool top, char* written) {
  s->flags &= ~kSchemaMarks;
  bool opened = false;
  for (long i = 0; i < s->nrels; ++i) {
    typ_sch_rel_inst& e = s->rels[i];
    if ((e.flags & TYP_MARK_TRAVERSED) == 0 || e.rel == nullptr) continue;
    e.flags &= ~TYP_MARK_TRAVERSED;
    typ_sch_srec* t = other_of(e);
    if (t == nullptr) continue;
    if (top && !opened) {
      if (*written != 0 && put(" AND ")) return ADP_PWR_TOO_LONG;
      *written = 1;
      opened = true;
      if (long st = put("(")) return st;
    } else if (long st = put(" AND ")) {
      return st;
    }
    const typ_sch_rrec* r = e.rel;
    if (recursion(e)) {
      if (long st = recur_join(s, e, top)) return st;
      e.trav &= ~(TYP_TRAV_RECURSIVE | TYP_TRAV_PREV | 0xffffUL);
      continue;
    }
    std::string src = plain(s), dst = plain(t);
    if ((e.trav & TYP_TRAV_PREV) != 0) {
      src = std::string(name_of(s)) + "_" + number(e.trav & kByteMask) + "_" + number((e.trav >> 8) & kByteMask);
    } else if ((e.flags & TYP_MARK_PREV_COUNT) != 0) {
      src = std::string(name_of(s)) + "_" + number((e.flags >> 8) & kByteMask);
    }
    if ((e.flags & TYP_MARK_COUNT) != 0) dst = std::string(name_of(t)) + "_" + number(e.flags & kByteMask);
    e.flags &= ~(TYP_MARK_COUNT | TYP_MARK_PREV_COUNT | 0xffffUL);
    e.trav &= ~(TYP_TRAV_PREV | 0xffffUL);
    const bool primary_walked = e.side == 'p';
    typ_sch_srec* ps = primary_walked ? s : t;
    typ_sch_srec* fs = primary_walked ? t : s;
    const std::string& pq = primary_walked ? src : dst;
    const std::string& fq = primary_walked ? dst : src;
    typ_sch_frec* pid = nullptr;
    typ_sch_frec* fid = nullptr;
    if (long st = objid_of(ps, &pid)) return st;
    if (long st = objid_of(fs, &fid)) return st;
    std::string text;
    if (mtm(r)) {
      text = pq + "." + pid->name + " = " + r->mtm_table + "." + r->pname + " AND " + r->mtm_table + "." + r->fname +
             " = " + fq + "." + fid->name;
    } else if (typed(r)) {
      text = pq + "." + pid->name + " = " + fq + "." + r->phys_name + " AND " + fq + "." + r->focus_field + " = " +
             number(static_cast<unsigned long>(ps->type_id));
    } else {
      text = pq + "." + pid->name + " = " + fq + "." + r->fname;
    }
    if (long st = put(text)) return st;
    if ((t->flags & TYP_SCH_VISITED) != 0) {
      if (long st = joins(t, false, written)) return st;
    }
  }
  if (opened) return put(")");
  return 0;
}

long count_placeholders(const char* format) {
  long n = 0;
  for (const char* p = format; (p = std::strstr(p, "%s")) != nullptr; p += 2) ++n;
  return n;
}

long unbalanced() {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_PWR_UNBALANCED, 0);
  (void)rc;
  return ADP_PWR_UNBALANCED;
}

const char* first_step_end(const char* path) { return path != nullptr ? std::strchr(path, ':') : nullptr; }

// The aliased first step another condition of the list shares with this
// one (rel and rel(N)), or "".
std::string group_path(const dbs_ty_pwr_list* list, long i) {
  const char* path = list->conds[i].field;
  const char* colon = first_step_end(path);
  if (colon == nullptr) return "";
  const std::string s(path, colon);
  if (s.find(')') != std::string::npos) return "";
  for (long j = 0; j < list->count; ++j) {
    const char* other = list->conds[j].field;
    const char* oc = first_step_end(other);
    if (j == i || oc == nullptr) continue;
    const std::string t(other, oc);
    const size_t paren = t.find('(');
    if (t != s && t.find(s) != std::string::npos && paren != std::string::npos && paren >= s.size()) return t;
  }
  return "";
}

bool same_in(const dbs_ty_pwr_cond& a, const dbs_ty_pwr_cond& b) {
  return a.op == ADP_PWR_IN && b.op == ADP_PWR_IN && a.field != nullptr && b.field != nullptr &&
         std::strcmp(a.field, b.field) == 0;
}

long builder::conds(dbs_ty_pwr_list* list, char* written) {
  if (list == nullptr || list->count <= 0 || list->pattern == nullptr) return 0;
  if (count_placeholders(list->pattern) != list->count) return unbalanced();
  if (long st = put(*written != 0 ? " AND (" : " (")) return st;
  *written = 1;
  const char* cursor = list->pattern;
  long depth = 0;
  for (long i = 0; i < list->count; ++i) {
    const dbs_ty_pwr_cond& c = list->conds[i];
    if (long st = adp_pwr_format_str_append(end, &cursor, &depth)) return st;
    if (!g_or_group && i + 1 < list->count && same_in(c, list->conds[i + 1])) {
      g_or_group = true;
      if (long st = put("(")) return st;
    }
    const auto* cond = reinterpret_cast<const pwr_cond*>(&c);
    const std::string group = group_path(list, i);
    long st = group.empty() ? adp_pwr_qry_one_cond(con, root, cond, end)
                            : adp_pwr_qry_one_cond_new(con, root, cond, end, group.c_str());
    if (st != 0) return st;
    if (g_or_group && !(i + 1 < list->count && same_in(c, list->conds[i + 1]))) {
      g_or_group = false;
      if (long s2 = put(")")) return s2;
    }
  }
  if (long st = adp_pwr_format_str_append(end, &cursor, &depth)) return st;
  if (depth != 0) return unbalanced();
  return put(")");
}

long mark_path(typ_sch_srec* root, const char* path) {
  if (long st = typ_sch_field_path_mark(root, path)) return st;
  return typ_sch_mark_visited_table(root, 0);
}

long builder::opt_conds(dbs_ty_pwr_list* list, char* written) {
  if (list == nullptr || list->count <= 0 || list->pattern == nullptr) return 0;
  if (count_placeholders(list->pattern) != list->count) return unbalanced();
  if (*written != 0 && put(" AND ")) return ADP_PWR_TOO_LONG;
  *written = 1;
  long shared = list->pattern_count;
  if (shared < 0 || shared > list->count) shared = list->count;
  for (long i = 0; i < shared; ++i)
    if (long st = mark_path(root, list->conds[i].field)) return st;
  const char* cursor = list->pattern;
  long depth = 0;
  if (long st = put("(")) return st;
  char joined = 0;
  if (long st = joins(root, true, &joined)) return st;
  if (joined != 0 && put(" AND ")) return ADP_PWR_TOO_LONG;
  for (long i = 0; i < list->count; ++i) {
    const auto* cond = reinterpret_cast<const pwr_cond*>(&list->conds[i]);
    if (i >= shared) {
      if (long st = mark_path(root, cond->field)) return st;
    }
    if (long st = adp_pwr_format_str_append(end, &cursor, &depth)) return st;
    if ((i == 0 || i >= shared) && put("(")) return ADP_PWR_TOO_LONG;
    if (i >= shared) {
      char own = 0;
      if (long st = joins(root, true, &own)) return st;
      if (own != 0 && put(" AND ")) return ADP_PWR_TOO_LONG;
    }
    if (long st = adp_pwr_qry_one_cond(con, root, cond, end)) return st;
    if ((i == shared - 1 || i >= shared) && put(")")) return ADP_PWR_TOO_LONG;
    typ_sch_clear_recur_mark(root, cond->field);
  }
  if (long st = adp_pwr_format_str_append(end, &cursor, &depth)) return st;
  if (depth != 0) return unbalanced();
  return put(")");
}

bool expression(const char* key) { return key != nullptr && std::strstr(key, kExpressionMark) != nullptr; }

long builder::orders(const adp_ty_pwr_sort* sorts, bool) {
  if (sorts == nullptr) return 0;
  for (long i = 0; i < sorts->num_sorts; ++i) {
    const char* key = sorts->sorts[i];
    if (long st = put(i == 0 ? " order by " : ", ")) return st;
    if (expression(key)) {
      if (!adp_qry_sql_text_is_safe(key)) return adp_pwr_refuse(key);
      if (long st = put(key)) return st;
      continue;
    }
    std::string q;
    typ_sch_frec* f = nullptr;
    if (long st = adp_pwr_path_column(con, root, key, nullptr, &q, &f)) return st;
    const char* sep = searched_upper(con, f) ? ".S_" : ".";
    if (long st = put(q + sep + f->name + (sorts->descending == 1 ? " desc" : " asc"))) return st;
  }
  return 0;
}

// Every mark a path may have left, on every schema reachable from s.
void clear_all(typ_sch_srec* s, std::set<typ_sch_srec*>& seen) {
  if (s == nullptr || !seen.insert(s).second) return;
  s->flags &= ~kSchemaMarks;
  for (long i = 0; i < s->nrels; ++i) {
    typ_sch_rel_inst& e = s->rels[i];
    if ((e.flags & TYP_MARK_COUNT) != 0) e.flags &= ~(TYP_MARK_COUNT | kByteMask);
    if ((e.flags & TYP_MARK_PREV_COUNT) != 0) e.flags &= ~(TYP_MARK_PREV_COUNT | 0xff00UL);
    e.flags &= ~TYP_MARK_TRAVERSED;
    e.trav &= ~(TYP_TRAV_RECURSIVE | TYP_TRAV_PREV | 0xffffUL);
    clear_all(other_of(e), seen);
  }
}

void log_opt(const char* which) {
  KAdpProcessError::AddToServerLog(nullptr, "%s", which);
}

long opt_count(KAdpConnId* con, dbs_ty_pwr_list* list, bool object_list) {
  if (list == nullptr) return 0;
  long n = list->pattern_count;
  if (n < 0 || n > list->count) {
    if (is_mssql(con))
      log_opt(object_list ? "\n The value of obj_conds->num_opt_conds is greater than obj_conds->num_conds.\n"
                          : "\n The value of keyword_conds->num_opt_conds is greater than keyword_conds->num_conds.\n");
    n = list->count;
    if (object_list) list->pattern_count = n;
  }
  return n;
}

long count_of(const dbs_ty_pwr_list* list) { return list != nullptr && list->pattern != nullptr ? list->count : 0; }

long build_text(builder& b, dbs_ty_pwr_list* obj, dbs_ty_pwr_list* kw, const adp_ty_pwr_sort* sorts) {
  KAdpConnId* con = b.con;
  typ_sch_frec* id = nullptr;
  if (long st = objid_of(b.root, &id)) return st;
  const bool sorted = sorts != nullptr && sorts->num_sorts > 0;
  if (long st = b.put(std::string(sorted ? "select " : "select DISTINCT ") + b.root_alias + "." + id->name + " from "))
    return st;
  for (long i = 0; obj != nullptr && i < obj->count; ++i)
    if (long st = typ_sch_field_path_mark(b.root, obj->conds[i].field)) return st;
  for (long i = 0; kw != nullptr && i < kw->count; ++i) {
    if (is_oracle(con)) {
      long rc = cmn_alrt_push(nullptr, nullptr, ADP_PWR_KEYWORD_ORACLE, 0);
      (void)rc;
    }
    if (long st = typ_sch_field_path_mark(b.root, kw->conds[i].field)) return st;
  }
  for (long i = 0; sorted && i < sorts->num_sorts; ++i)
    if (!expression(sorts->sorts[i]))
      if (long st = typ_sch_field_path_mark(b.root, sorts->sorts[i])) return st;
  if (long st = b.put(b.table(b.root) + " " + b.root_alias + b.hint)) return st;
  if (long st = b.from_list(b.root)) return st;
  const long total = count_of(obj) + count_of(kw);
  const long shared = opt_count(con, obj, true) + opt_count(con, kw, false);
  bool joins_follow = false;
  for (long i = 0; i < b.root->nrels; ++i) joins_follow |= (b.root->rels[i].flags & TYP_MARK_TRAVERSED) != 0;
  // " where " exactly when conditions or joins follow.
  if (total > 0 || joins_follow) {
    if (long st = b.put(" where ")) return st;
  }
  char written = 0;
  if (shared >= total) {
    if (long st = b.joins(b.root, true, &written)) return st;
    if (long st = b.conds(obj, &written)) return st;
    if (long st = b.conds(kw, &written)) return st;
    return b.orders(sorts, false);
  }
  std::set<typ_sch_srec*> seen;
  clear_all(b.root, seen);
  if (long st = b.opt_conds(obj, &written)) return st;
  if (long st = b.opt_conds(kw, &written)) return st;
  if (!sorted) return 0;
  for (long i = 0; i < sorts->num_sorts; ++i)
    if (long st = typ_sch_field_path_mark(b.root, sorts->sorts[i])) return st;
  typ_sch_mark_visited_table(b.root, 0);
  char own = written;
  if (long st = b.joins(b.root, true, &own)) return st;
  return b.orders(sorts, true);
}

}  // namespace

bool adp_pwr_or_group_is_open() { return g_or_group; }

long adp_pwr_qry_construct(KAdpConnId* con, typ_sch_srec* schema, void* list, void* list2, void* client_query,
                           char* sql) {
  if (long st = adp_db_check_conn(con)) return st;
  if (schema == nullptr || sql == nullptr) return adp_pwr_refuse("power query");
  char* end = sql;
  *end = '\0';
  char* previous = nullptr;
  adp_pwr_set_limit(sql + ADP_PWR_TEXT_LIMIT - 1, &previous);
  builder b{con, schema, &end, phrase(con, kPhraseRootAlias), phrase(con, kPhraseTableHint), {}};
  long st = adp_err_guard([&] {
    return build_text(b, static_cast<dbs_ty_pwr_list*>(list), static_cast<dbs_ty_pwr_list*>(list2),
                      static_cast<const adp_ty_pwr_sort*>(client_query));
  });
  adp_pwr_set_limit(previous, nullptr);
  // Marks, recursion marks and the group flag never outlive the build.
  std::set<typ_sch_srec*> seen;
  clear_all(schema, seen);
  g_or_group = false;
  return st;
}
