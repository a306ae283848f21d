// Relation SQL: the parts of a relation record, the link-row insert, the
// foreign-key relate and unrelate texts with their change rows, the unrelate
// of everything related to one id, and the change date of the foreign row.
#include <cstring>
#include <string>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_obj_int.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_time.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/clk/clk_srv.h"
#include "core/clk/clk_text.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_db.h"

namespace {

constexpr long kChangeRowPhrase = 20;
constexpr long kTypeMask = 0x1FFFF;
constexpr long kFirstDateKind = 6;
constexpr const char* kOraDate = "TO_DATE( '%s', 'MM/DD/YYYY HH24:MI:SS' )";

const char* name_of(const typ_sch_srec* s) { return s != nullptr && s->info != nullptr ? s->info->name : ""; }

// The entry of a schema at rel_id when it is the given side of a relation
// between the two schemas (either may be null: not checked).
typ_sch_rrec* fitting(typ_sch_srec* s, long rel_id, char side, const typ_sch_srec* other) {
  if (s == nullptr || rel_id < 0 || rel_id >= s->nrels) return nullptr;
  const typ_sch_rel_inst& e = s->rels[rel_id];
  typ_sch_rrec* r = e.rel;
  if (r == nullptr || e.side != side) return nullptr;
  const typ_sch_srec* mine = side == 'p' ? r->pschema : r->fschema;
  const typ_sch_srec* theirs = side == 'p' ? r->fschema : r->pschema;
  if (mine != s || (other != nullptr && theirs != other)) return nullptr;
  return r;
}

// The current time as the server's date text (SQL Server) or the short
// numeric text Oracle's TO_DATE reads.
long now_text(bool oracle, char* out) {
  clktime now{};
  if (long st = clk_time_get_option(1, &now)) return st;
  if (oracle) return clk_time_clk_to_sstr(&now, out, CLK_TEXT_SIZE);
  return adp_time_clk_to_str(&now, out);
}

// Each change-date field of the foreign schema, with the time text.
template <class F>
long each_change_date(const typ_sch_rrec* r, bool oracle, F&& write) {
  const long kind = adp_rel_kind(r);
  if ((kind != ADP_REL_MTO && kind != ADP_REL_OTOP) || r->fschema == nullptr) return 0;
  for (long i = 0; i < r->fschema->nfields; ++i) {
    const typ_sch_frec& f = r->fschema->fields[i];
    if (f.gen_id != ADP_GEN_CHANGE_DATE) continue;
    char text[CLK_TEXT_SIZE + 64] = {};
    if (long st = now_text(oracle, text)) return st;
    if (f.db_type < kFirstDateKind || f.db_type > ADP_KIND_DATE) return adp_obj_push(ADP_OBJ_STAMP_KIND, 1, f.name);
    if (long st = write(f, text)) return st;
  }
  return 0;
}

void end_statement(KAdpSqlBatch* b, bool oracle) {
  if (oracle) *b << ";\n";
  else *b << KAdpSqlBatch::kEndStmt;
}

}  // namespace

void adp_rel_change_row(KAdpConnId* con, KAdpSqlBatch* b, const adp_rel_parts& p, const std::string& detail,
                        const char* where_col) {
  *b << adp_obj_phrase(con, kChangeRowPhrase) << KAdpBindParam(p.table) << ", "
     << KAdpBindParam(adp_obj_keep_text(detail));
  b->AppendSqlFormat("\n from %s where %s = ", p.table, where_col);
}

std::string adp_rel_cleared_detail(const typ_sch_rrec* r, bool focus) {
  if (focus) return "2 " + std::string(r->phys_name) + " 4 " + r->focus_field + " 4 NULLNULL";
  return "1 " + std::string(r->fname) + " 4 NULL";
}

long adp_rel_kind(const typ_sch_rrec* rel) { return rel->type & ~TYP_REL_INDEX_MARK; }

bool adp_rel_has_focus(const typ_sch_rrec* r) {
  return r->exclusive != 0 && r->phys_name != nullptr && *r->phys_name != '\0' && r->focus_field != nullptr &&
         *r->focus_field != '\0';
}

bool adp_rel_oid_empty(const obj_id* id) { return id == nullptr || (id->type == 0 && id->num == 0 && id->sub == 0); }

long adp_rel_parts_of(KAdpConnId* con, const typ_sch_rrec* rel, adp_rel_parts* p) {
  p->rel = rel;
  p->kind = adp_rel_kind(rel);
  p->mtm = p->kind == ADP_REL_MTM;
  p->focus = adp_rel_has_focus(rel);
  p->oracle = adp_db_is_db_oracle() != 0;
  // The writers ask for the offline feature first; a header not read
  // reads as the feature off here.
  char roamer = 0;
  if (dbs_db_if_roamer_enabled(con, &roamer) != 0) roamer = 0;
  p->roamer = roamer != 0;
  p->ptype = rel->pschema != nullptr ? rel->pschema->type_id : 0;
  if (p->mtm || rel->fschema == nullptr) return 0;
  if (long st = adp_sch_tbl_find(rel->fschema->type_id, &p->table)) return st;
  long index = -1;
  if (long st = typ_sch_gen_to_sp(rel->fschema, TYP_GENERIC | ADP_GEN_OBJID, &index)) return st;
  p->id_col = rel->fschema->fields[index].name;
  return 0;
}

long adp_rel_entry_of(long type_id, long rel_id, typ_sch_rrec** out, char* side) {
  typ_sch_srec* s = nullptr;
  if (long st = adp_sch_shandle_find(type_id & kTypeMask, &s)) return st;
  const bool known = rel_id >= 0 && rel_id < s->nrels && s->rels[rel_id].rel != nullptr;
  const char sd = known ? s->rels[rel_id].side : 0;
  if (!known || (sd != 'p' && sd != 'f')) return adp_obj_push(ADP_REL_BAD_SIDE, 2, rel_id, name_of(s));
  *out = s->rels[rel_id].rel;
  *side = sd;
  return 0;
}

long adp_rel_record_of(obj_id* primary, long rel_id, obj_id* foreign, typ_sch_rrec** out) {
  typ_sch_srec* ps = nullptr;
  typ_sch_srec* fs = nullptr;
  if (!adp_rel_oid_empty(primary)) {
    if (long st = adp_sch_shandle_find(primary->type & kTypeMask, &ps)) return st;
  }
  if (!adp_rel_oid_empty(foreign)) {
    if (long st = adp_sch_shandle_find(foreign->type & kTypeMask, &fs)) return st;
  }
  *out = fitting(ps, rel_id, 'p', fs);
  if (*out == nullptr) *out = fitting(fs, rel_id, 'f', ps);
  if (*out != nullptr) return 0;
  return adp_obj_push(ADP_REL_BAD_SIDE, 2, rel_id, name_of(ps != nullptr ? ps : fs));
}

std::string adp_rel_relate_detail(const typ_sch_rrec* r, long number, long type_id) {
  const std::string n = std::to_string(number);
  if (!adp_rel_has_focus(r)) return "1 " + std::string(r->fname) + " " + std::to_string(n.size()) + " " + n;
  const std::string t = std::to_string(type_id);
  return "2 " + std::string(r->phys_name) + " " + std::to_string(n.size()) + " " + r->focus_field + " " +
         std::to_string(t.size()) + " " + n + t;
}

long adp_rel_relate_mtm_sql(KAdpConnId* con, obj_id* primary, typ_sch_rrec* r, obj_id* foreign, obj_id* link_row,
                            KAdpSqlBatch* b) {
  char roamer = 0;
  if (long st = dbs_db_if_roamer_enabled(con, &roamer)) return st;
  const bool oracle = adp_db_is_db_oracle() != 0;
  const long P = primary->num;
  const long F = foreign->num;
  // A pair already linked keeps its row: the insert runs only when the
  // pair is missing.
  if (oracle) {
    *b << "DECLARE exist_obj NUMBER;\nBEGIN\n";
    b->AppendSqlFormat("select %s into exist_obj from %s ", r->pname, r->mtm_table);
    b->AppendSqlFormat("\n where %s = ", r->pname);
    *b << KAdpBindParam(P);
    b->AppendSqlFormat(" AND %s = ", r->fname);
    *b << KAdpBindParam(F) << ";\nEXCEPTION\n WHEN NO_DATA_FOUND THEN\n";
  } else {
    b->AppendSqlFormat("if not exists (select %s from %s where %s = ", r->pname, r->mtm_table, r->pname);
    *b << KAdpBindParam(P);
    b->AppendSqlFormat(" AND %s = ", r->fname);
    *b << KAdpBindParam(F) << ")\n";
  }
  if (roamer) {
    b->AppendSqlFormat("insert into %s (objid, dev, %s, %s) ", r->mtm_table, r->pname, r->fname);
    b->AppendSqlFormat("values (%ld, 1, %ld, %ld)", link_row != nullptr ? link_row->num : 0L, P, F);
  } else {
    b->AppendSqlFormat("insert into %s (%s, %s)\n values(", r->mtm_table, r->pname, r->fname);
    *b << KAdpBindParam(P) << "," << KAdpBindParam(F) << ")";
  }
  if (oracle) *b << ";\nEND;";
  else *b << KAdpSqlBatch::kEndStmt;
  return b->GetStatus();
}

long adp_rel_calculate_field(KAdpConnId*, KAdpSqlBatch* b, typ_sch_rrec* r, long) {
  const bool oracle = adp_db_is_db_oracle() != 0;
  return each_change_date(r, oracle, [&](const typ_sch_frec& f, const char* text) {
    if (oracle) {
      b->AppendSqlFormat(", %s = ", f.name);
      b->AppendSqlFormat(kOraDate, text);
      *b << " ";
    } else {
      b->AppendSqlFormat(", %s = '%s' ", f.name, text);
    }
    return b->GetStatus();
  });
}

long adp_rel_update_sync_field(KAdpConnId* con, KAdpSqlBatch* b, obj_id* foreign, typ_sch_rrec* r, char append,
                               long) {
  adp_rel_parts p;
  if (adp_rel_kind(r) != ADP_REL_MTO && adp_rel_kind(r) != ADP_REL_OTOP) return 0;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  return each_change_date(r, p.oracle, [&](const typ_sch_frec& f, const char* text) -> long {
    std::string value = p.oracle ? "" : "'" + std::string(text) + "'";
    if (p.oracle) {
      char buf[CLK_TEXT_SIZE + 64];
      std::snprintf(buf, sizeof buf, kOraDate, text);
      value = buf;
    }
    if (append == 0) {
      return adp_sql_exec_query(con, "update %s set %s = %s where %s = %ld", p.table, f.name, value.c_str(),
                                p.id_col, foreign->num);
    }
    b->AppendSqlFormat("update %s set %s = %s where %s = %ld", p.table, f.name, value.c_str(), p.id_col,
                       foreign->num);
    end_statement(b, p.oracle);
    return b->GetStatus();
  });
}

long adp_rel_relate_remote_id_sql(KAdpConnId* con, KAdpSqlBatch* b, typ_sch_rrec* r, obj_id* primary,
                                  obj_id* foreign) {
  adp_rel_parts p;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  const long P = primary->num;
  const long F = foreign->num;
  if (p.roamer) {
    if (p.oracle) *b << "\nBEGIN \n";
    adp_rel_change_row(con, b, p, adp_rel_relate_detail(r, P, p.ptype), p.id_col);
    *b << KAdpBindParam(F) << "; \n";
  }
  if (p.focus) {
    b->AppendSqlFormat(p.roamer ? "update %s set dev = dev + 1, %s = %ld, %s = %ld " : "update %s set %s = %ld, %s = %ld ",
                       p.table, r->phys_name, P, r->focus_field, p.ptype);
    if (long st = adp_rel_calculate_field(con, b, r, 0)) return st;
    b->AppendSqlFormat(p.roamer ? "WHERE %s = %ld;\n" : "where %s = %ld; \n", p.id_col, F);
    if (p.roamer && p.oracle) *b << "END;\n";
    return b->GetStatus();
  }
  if (p.roamer) {
    b->AppendSqlFormat(adp_obj_phrase(con, ADP_REL_DEV_STEP_PHRASE), p.table);
    b->AppendSqlFormat("%s = ", r->fname);
  } else {
    b->AppendSqlFormat("update %s set %s = ", p.table, r->fname);
  }
  *b << KAdpBindParam(P);
  if (long st = adp_rel_calculate_field(con, b, r, 0)) return st;
  b->AppendSqlFormat(p.roamer ? " WHERE %s = " : " where %s = ", p.id_col);
  *b << KAdpBindParam(F);
  if (p.roamer && p.oracle) *b << " ; \nEND;\n";
  else if (!p.roamer && p.oracle) *b << "; ";
  if (!p.roamer) *b << "\n";
  return b->GetStatus();
}

long adp_rel_unrelate_remote_id_sql(KAdpConnId* con, KAdpSqlBatch* b, obj_id* primary, typ_sch_rrec* r,
                                    obj_id* foreign) {
  if (adp_rel_oid_empty(primary)) return adp_rel_unrelate_from_id_sql(con, b, 0, foreign, r);
  if (adp_rel_oid_empty(foreign)) return adp_rel_unrelate_from_id_sql(con, b, 1, primary, r);
  adp_rel_parts p;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  const long P = primary->num;
  const long F = foreign->num;
  if (p.mtm) {
    b->AppendSqlFormat("DELETE %s WHERE %s = %ld AND %s = %ld \n", r->mtm_table, r->pname, P, r->fname, F);
    end_statement(b, p.oracle);
    return b->GetStatus();
  }
  // The focus condition clears a pointer only when it points to an object
  // of the primary type.
  if (p.focus) {
    if (p.roamer) {
      adp_rel_change_row(con, b, p, adp_rel_cleared_detail(r, true), p.id_col);
      *b << KAdpBindParam(F);
      b->AppendSqlFormat(" and %s = ", r->focus_field);
      *b << KAdpBindParam(p.ptype) << "; \n";
      b->AppendSqlFormat(adp_obj_phrase(con, ADP_REL_DEV_STEP_PHRASE), p.table);
      b->AppendSqlFormat("%s = NULL , %s = NULL WHERE %s = ", r->phys_name, r->focus_field, p.id_col);
    } else {
      b->AppendSqlFormat("update %s set %s = NULL , %s = NULL where %s = ", p.table, r->phys_name, r->focus_field,
                         p.id_col);
    }
    *b << KAdpBindParam(F);
    b->AppendSqlFormat(" and %s = ", r->focus_field);
    *b << KAdpBindParam(p.ptype);
  } else if (p.roamer) {
    adp_rel_change_row(con, b, p, adp_rel_cleared_detail(r, false), p.id_col);
    *b << KAdpBindParam(F) << "; \n";
    b->AppendSqlFormat(adp_obj_phrase(con, ADP_REL_DEV_STEP_PHRASE), p.table);
    b->AppendSqlFormat("%s = NULL WHERE %s = %ld\n", r->fname, p.id_col, F);
  } else {
    b->AppendSqlFormat("update %s set %s = NULL where %s = %ld\n", p.table, r->fname, p.id_col, F);
  }
  end_statement(b, p.oracle);
  if (long st = b->GetStatus()) return st;
  return adp_rel_update_sync_field(con, b, foreign, r, 1, 0);
}

long adp_rel_unrelate_from_id_sql(KAdpConnId* con, KAdpSqlBatch* b, char side, obj_id* id, typ_sch_rrec* r) {
  adp_rel_parts p;
  if (long st = adp_rel_parts_of(con, r, &p)) return st;
  const long N = id->num;
  if (p.mtm) {
    b->AppendSqlFormat("DELETE  %s WHERE %s = %ld\n", r->mtm_table, side == 1 ? r->pname : r->fname, N);
    end_statement(b, p.oracle);
    return b->GetStatus();
  }
  // Relations with relation flags are cleared through their physical-name
  // and focus columns on both servers.
  const char* relation_col = p.focus ? r->phys_name : r->fname;
  const char* where_col = side == 1 ? relation_col : p.id_col;
  if (p.focus) {
    if (p.roamer) {
      adp_rel_change_row(con, b, p, adp_rel_cleared_detail(r, true), where_col);
      *b << KAdpBindParam(N);
      b->AppendSqlFormat(" and %s = ", r->focus_field);
      *b << KAdpBindParam(p.ptype) << "; \n";
      b->AppendSqlFormat(adp_obj_phrase(con, ADP_REL_DEV_STEP_PHRASE), p.table);
      b->AppendSqlFormat("%s = NULL, %s = NULL WHERE %s = ", r->phys_name, r->focus_field, where_col);
    } else {
      b->AppendSqlFormat("UPDATE %s SET %s = NULL, %s = NULL WHERE %s = ", p.table, r->phys_name, r->focus_field,
                         where_col);
    }
    *b << KAdpBindParam(N);
    b->AppendSqlFormat(" and %s = ", r->focus_field);
    *b << KAdpBindParam(p.ptype);
  } else if (p.roamer) {
    adp_rel_change_row(con, b, p, adp_rel_cleared_detail(r, false), where_col);
    *b << KAdpBindParam(N) << "; \n";
    b->AppendSqlFormat(adp_obj_phrase(con, ADP_REL_DEV_STEP_PHRASE), p.table);
    b->AppendSqlFormat("%s = NULL WHERE %s = %ld\n", r->fname, where_col, N);
  } else {
    b->AppendSqlFormat("UPDATE %s SET %s = NULL WHERE %s = %ld\n", p.table, r->fname, where_col, N);
  }
  end_statement(b, p.oracle);
  return b->GetStatus();
}
