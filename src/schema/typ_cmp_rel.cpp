// Comparing the relation entries of a type present in both schemas:
// partners by name, renames, drops or keeps, additions and the exclusive
// group checks.
#include <cstring>
#include <string>

#include "schema/typ_bld.h"
#include "schema/typ_cmp.h"
#include "schema/typ_fld.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {

typ_sch_rrec* rec(const typ_sch_rel_inst* e) { return typ_sch_cmp_rel(e); }
const char* name(const typ_sch_rel_inst* e) {
  typ_sch_rrec* r = rec(e);
  return r ? (e->side == 'p' ? typ_sch_get_prel_name(r) : typ_sch_get_frel_name(r)) : "";
}
const char* inverse(const typ_sch_rel_inst* e) {
  typ_sch_rrec* r = rec(e);
  return r ? (e->side == 'p' ? typ_sch_get_frel_name(r) : typ_sch_get_prel_name(r)) : "";
}
long type(const typ_sch_rel_inst* e) {
  typ_sch_rrec* r = rec(e);
  return r ? r->type : 0;
}
bool user(const typ_sch_rel_inst* e) { return e->flags & TYP_REL_USER; }
bool required(const typ_sch_rel_inst* e) { return e->flags & TYP_REL_REQUIRED; }
bool exclusive(const typ_sch_rel_inst* e) {
  typ_sch_rrec* r = rec(e);
  return r && r->exclusive;
}
const char* target_name(const typ_sch_rel_inst* e) {
  typ_sch_srec* t = typ_sch_cmp_other(e);
  return t ? t->info->name : "";
}
const char* text(const char* t) { return t ? t : ""; }

bool same_kind(const typ_sch_rel_inst* e, const typ_sch_rel_inst* f) {
  const long a = type(e), b = type(f);
  if (a == TYP_REL_MTM) return b == TYP_REL_MTM;
  if (a == 1 || a == 2) return (b == 1 || b == 2) && e->side == f->side;
  if (a == 3 || a == 4) return (b == 3 || b == 4) && e->side == f->side;
  return false;
}

bool joins_match(const typ_sch_rel_inst* e, const typ_sch_rel_inst* f) {
  if (!e->join || !f->join) return true;
  return std::strcmp(text(e->join->palias), text(f->join->palias)) == 0 &&
         std::strcmp(text(e->join->falias), text(f->join->falias)) == 0;
}

long record(typ_ty_add_diff_proc sink, typ_sch_srec* o, typ_sch_srec* n, const void* a, const void* b, long op,
            utl_ty_col* list, unsigned long options) {
  return sink ? sink(o, n, a, b, op, list, options) : 0;
}

// The membership texts of the group report lines.
struct membership {
  std::string not_text, blank, group, quote;
};
membership member_of(const typ_sch_rel_inst* e) {
  typ_sch_rrec* r = rec(e);
  if (!r || !r->exclusive) return {" NOT", "", "", ""};
  const char* mark = "";
  typ_sch_get_exclusive_mark(r, r->phys_name, &mark);
  return {"", " '", mark, "'"};
}

void group_lines(typ_sch_diff_out* out, const typ_sch_rel_inst* e, const typ_sch_rel_inst* f) {
  membership mf = member_of(f), me = member_of(e);
  typ_sch_pdiff(out, "Relation '%s' in new schema is%s in exclusive group%s%s%s.\n", typ_sch_get_frel_name(rec(f)),
                mf.not_text.c_str(), mf.blank.c_str(), mf.group.c_str(), mf.quote.c_str());
  typ_sch_pdiff(out, "Relation '%s' in old schema is%s in exclusive group%s%s%s.\n\n", typ_sch_get_frel_name(rec(e)),
                me.not_text.c_str(), me.blank.c_str(), me.group.c_str(), me.quote.c_str());
}

}  // namespace

long typ_sch_keep_rel(typ_sch_srec* n, const typ_sch_rel_inst* e) {
  typ_sch_diff_rel_info info;
  typ_sch_assign_rel_info(e, &info);
  n->flags |= 0x1011;
  const long type_id = n->type_id;
  long pos = -1;
  if (long st = typ_sch_define_rel(n, text(info.name), info.rel_type, info.target ? info.target->info->name : "", -1,
                                   &pos, text(info.inv_name), 0, "", "", text(info.comment), "", info.flags, ""))
    return st;
  if (long st = typ_sch_optimize()) return st;
  typ_sch_find_handle(type_id, nullptr, &n);
  if (n && pos >= 0 && pos < n->nrels) {
    typ_sch_rel_inst* ne = &n->rels[pos];
    typ_sch_rrec* r = rec(ne);
    ne->rel = r;
    if (r) (ne->side == 'p' ? r->pschema : r->fschema) = n;
  }
  return typ_sch_adjust_view_rel_ptr();
}

long typ_sch_validate_grp_rel(typ_sch_diff_out* out, typ_sch_srec* o, typ_sch_rel_inst* e, typ_sch_srec* n,
                              typ_sch_rel_inst* f, typ_ty_add_diff_proc sink, utl_ty_col* list,
                              unsigned long options) {
  typ_sch_rrec* re = rec(e);
  typ_sch_rrec* rf = rec(f);
  if (!re || !rf) return 0;
  if (rf->exclusive && !re->exclusive && e->side == f->side) {
    group_lines(out, e, f);
    return record(sink, o, n, e, f, TYP_DIFF_EXCL_JOIN, list, options);
  }
  if (re->exclusive == rf->exclusive && std::strcmp(text(re->fname), text(rf->fname)) == 0 &&
      std::strcmp(text(re->phys_name), text(rf->phys_name)) == 0)
    return 0;
  group_lines(out, e, f);
  return typ_alrt("typ_sch_validate_grp_rel", TYP_CMP_EXCL_CHANGE);
}

long typ_sch_diff_a_rel(typ_sch_diff_out* out, typ_sch_srec* o, typ_sch_rel_inst* e, typ_sch_srec* n,
                        typ_sch_rel_inst* f, typ_ty_add_diff_proc sink, utl_ty_col* list, unsigned long options) {
  typ_sch_rrec* re = rec(e);
  typ_sch_rrec* rf = rec(f);
  const long te = type(e), tf = type(f);
  if (te != TYP_REL_MTM && (e->side == 'f' || f->side == 'f') && ((re && re->exclusive) || (rf && rf->exclusive)))
    if (long st = typ_sch_validate_grp_rel(out, o, e, n, f, sink, list, options)) return st;
  if (sink && re && rf) {
    long changes = 0;
    if (te != TYP_REL_MTM && te != tf) ++changes;
    if (te != TYP_REL_MTM && te == tf) {
      const bool p = e->side == 'p';
      const char* ne = p ? re->pname : re->fname;
      const char* nf = p ? rf->pname : rf->fname;
      const long se = p ? re->pspec : re->fspec;
      const long sf = p ? rf->pspec : rf->fspec;
      if (std::strcmp(text(ne), text(nf)) != 0 || se != sf) ++changes;
    }
    if (te == TYP_REL_MTM && tf == TYP_REL_MTM && std::strcmp(text(re->mtm_table), text(rf->mtm_table)) != 0)
      ++changes;
    if ((o->flags & TYP_SCH_VIEW) && e->join_kind != f->join_kind) ++changes;
    for (long i = 0; i < changes; ++i)
      if (long st = sink(o, n, e, f, TYP_DIFF_MODIFY_REL, list, options)) return st;
  }
  if (te == TYP_REL_MTM && tf != TYP_REL_MTM) {
    if (e->side == 'p') return typ_alrt("typ_sch_diff_a_rel", TYP_CMP_MTM_CHANGE, name(e), o->info->name);
    return TYP_CMP_MTM_CHANGE;
  }
  if (!required(e) && required(f)) typ_sch_pdiff(out, "   The REQUIRED keyword was added to relation '%s'.\n", name(e));
  if (required(e) && !required(f))
    typ_sch_pdiff(out, "   The REQUIRED keyword was flagged for removal from relation '%s'.\n", name(e));
  if (user(e) != user(f)) {
    typ_sch_pdiff(out, "Do not allow duplicate relations ('%s') in an object ('%s').\n\n", name(e), o->info->name);
    return typ_alrt("typ_sch_diff_a_rel", TYP_REL_DUPLICATE, name(e), o->info->name);
  }
  return 0;
}

long typ_sch_diff_rels(typ_sch_diff_out* out, typ_sch_srec* o, typ_sch_srec* n, typ_ty_add_diff_proc sink,
                       utl_ty_col* list, unsigned long options) {
  static const char* const kProc = "typ_sch_diff_rels";
  const long type_id = n->type_id;
  if (o->nrels != n->nrels)
    typ_sch_pdiff(out, "  Used to have %ld relations, flagged to change to %ld relations.\n", o->nrels, n->nrels);
  const long old_count = o->nrels;
  for (long i = 0; i < old_count; ++i) {
    typ_sch_rel_inst* e = &o->rels[i];
    typ_sch_find_handle(type_id, nullptr, &n);
    typ_sch_rel_inst* partner = nullptr;
    for (long k = 0; k < n->nrels && !partner; ++k) {
      typ_sch_rel_inst* f = &n->rels[k];
      if (std::strcmp(name(e), name(f)) != 0 || std::strcmp(inverse(e), inverse(f)) != 0) continue;
      if ((o->flags & TYP_SCH_OBJECT) && user(e) && user(f)) {
        if (std::strcmp(target_name(e), target_name(f)) != 0) {
          typ_sch_pdiff(out, "User defined relation '%s'/'%s' does not have same target object in new schema as in old.\n\n",
                        name(e), inverse(e));
          return typ_alrt(kProc, TYP_CMP_USER_REL);
        }
        if (!same_kind(e, f)) {
          typ_sch_pdiff(out, "User defined relation '%s'/'%s' does not have same relation type in new schema as in old.\n\n",
                        name(e), inverse(e));
          return typ_alrt(kProc, TYP_CMP_USER_REL);
        }
      }
      if (joins_match(e, f)) partner = f;
    }
    if (partner) {
      if ((n->flags & TYP_SCH_VIEW) && e->join_kind != partner->join_kind)
        typ_sch_pdiff(out, "  Outer join option for join on '%s' has been flagged to change.\n", name(e));
      if (long st = typ_sch_diff_a_rel(out, o, e, n, partner, sink, list, options)) return st;
      continue;
    }
    typ_sch_rel_inst* renamed = nullptr;
    for (long k = 0; k < n->nrels && !renamed; ++k)
      if (n->rels[k].old_name && *n->rels[k].old_name && std::strcmp(n->rels[k].old_name, name(e)) == 0)
        renamed = &n->rels[k];
    if (renamed) {
      typ_sch_pdiff(out, "  Relation '%s' has been flagged to rename to '%s'.\n", name(e), name(renamed));
      if (long st = record(sink, o, n, e, renamed, TYP_DIFF_RENAME_REL, list, options)) return st;
      continue;
    }
    if (exclusive(e)) {
      const char* mark = "";
      typ_sch_get_exclusive_mark(rec(e), rec(e)->phys_name, &mark);
      typ_sch_pdiff(out, "Relation '%s' of exclusive group '%s' is NOT in new schema.\n\n",
                    typ_sch_get_frel_name(rec(e)), mark);
      if (long st = record(sink, o, n, e, nullptr, TYP_DIFF_EXCL_DROP, list, options)) return st;
      continue;
    }
    const bool preserve = options & TYP_OPT_PRESERVE_USER;
    const bool drops = options & TYP_OPT_ALLOW_DROPS;
    const char* drop_text = nullptr;
    if (o->flags & TYP_SCH_VIEW) {
      drop_text = user(e) && !preserve ? "  Old user-defined relation '%s' has been flagged for deletion.\n"
                                       : "  Old relation '%s' has been flagged for deletion.\n";
    } else if (!user(e) && drops) {
      drop_text = "  Old relation '%s' has been flagged for deletion.\n";
    } else if (user(e) && !preserve) {
      drop_text = "  Old user-defined relation '%s' has been flagged for deletion.\n";
    } else {
      typ_sch_srec* t = typ_sch_cmp_other(e);
      char custom = 0;
      if (t) typ_sch_is_custom_table(t->type_id, &custom);
      typ_sch_srec* present = nullptr;
      if (t) typ_sch_find_handle(t->type_id, nullptr, &present);
      if (!custom && !present) drop_text = "  Old user_defined relation '%s' has been flagged for deletion.\n";
    }
    if (drop_text) {
      typ_sch_pdiff(out, drop_text, name(e));
      if (long st = record(sink, o, n, e, nullptr, TYP_DIFF_DELETE_REL, list, options)) return st;
      continue;
    }
    if (user(e))
      typ_sch_pdiff(out, "  User-defined relation '%s' will be preserved.\n", name(e));
    else
      typ_sch_pdiff(out, "  Old relation '%s' will be preserved since allow_drops not specified.\n", name(e));
    if (long st = record(sink, o, n, e, nullptr, TYP_DIFF_REL_KEPT, list, options)) return st;
    if (long st = typ_sch_keep_rel(n, e)) return st;
  }
  typ_sch_find_handle(type_id, nullptr, &n);
  for (long k = 0; n && k < n->nrels; ++k) {
    typ_sch_rel_inst* f = &n->rels[k];
    bool known = false;
    for (long i = 0; i < o->nrels && !known; ++i) {
      if (std::strcmp(name(&o->rels[i]), name(f)) == 0) known = true;
      if (f->old_name && *f->old_name && std::strcmp(name(&o->rels[i]), f->old_name) == 0) known = true;
    }
    if (known) continue;
    if (f->old_name && *f->old_name) typ_sch_pdiff(out, "  Old relation name '%s' can't be found.\n", f->old_name);
    typ_sch_pdiff(out, "  Relation '%s' has been added.\n", name(f));
    if (long st = record(sink, o, n, f, nullptr, exclusive(f) ? TYP_DIFF_EXCL_ADD : TYP_DIFF_ADD_REL, list, options))
      return st;
    typ_sch_find_handle(type_id, nullptr, &n);
  }
  return 0;
}
