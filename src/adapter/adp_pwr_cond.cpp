// One power-query condition: "(" + the qualified column + the operator +
// the value part + ")", or an EXISTS test of a relation. The plain writer
// leaves the value part to the connection's dialect; the grouped-path writer
// (a path whose first relation shares an aliased step of the same list)
// writes it for every server family itself.
#include <cctype>
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_pwr.h"
#include "adapter/adp_qry_util.h"
#include "adapter/adp_sch.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_opr.h"
#include "schema/typ_path.h"
#include "schema/typ_rel.h"

using namespace adp_qry;

namespace {

const char* name_of(const typ_sch_srec* s) { return s != nullptr && s->info != nullptr ? s->info->name : ""; }

std::string table_of(const typ_sch_srec* s) {
  const char* t = nullptr;
  if (s != nullptr && adp_sch_tbl_find(s->type_id, &t) == 0 && t != nullptr) return t;
  return std::string("table_") + name_of(s);
}

bool typed(const typ_sch_rrec* r) { return r->exclusive != 0 && r->phys_name != nullptr && r->focus_field != nullptr; }

struct walked {
  typ_sch_srec* schema = nullptr;
  typ_sch_frec* field = nullptr;
  std::string qualifier;
};

// The path's field and the name its table goes by in the statement.
long walk(KAdpConnId* con, typ_sch_srec* root, const pwr_cond* c, const char* group_path, walked* w) {
  long count_flag = 0, count = 0, rec_flag = 0;
  unsigned long rec = 0;
  long st = 0;
  if (group_path != nullptr) {
    const char* rest = std::strchr(c->field, ':');
    st = typ_sch_field_path_walk_new(root, rest != nullptr ? rest + 1 : c->field, 0, 1, &w->schema, &w->field,
                                     &count_flag, &count, &rec_flag, &rec, group_path);
  } else {
    st = typ_sch_field_path_walk(root, c->field, 0, 1, &w->schema, &w->field, &count_flag, &count, &rec_flag, &rec);
  }
  if (st != 0) return st;
  if (count_flag == 1) {
    w->qualifier = std::string(name_of(w->schema)) + "_" + std::to_string(count);
  } else if (rec_flag == 1) {
    w->qualifier = std::string(name_of(w->schema)) + "_" + std::to_string(rec & 0xff) + "_" +
                   std::to_string((rec >> 8) & 0xff);
  } else if (w->schema == root) {
    w->qualifier = phrase(con, kPhraseRootAlias);
  } else {
    w->qualifier = table_of(w->schema);
  }
  return 0;
}

// Operators 17 and 18: the relation is set / not set.
long exists_test(KAdpConnId* con, typ_sch_srec* schema, const pwr_cond* c, char** end, const char* op_text) {
  long spec = -1, target = 0;
  if (long st = typ_sch_rel_name_to_id(schema->type_id, nullptr, c->field, &spec, &target)) return st;
  long index = 0;
  if (long st = typ_sch_rel_map(schema, spec, &index)) return st;
  const typ_sch_rel_inst& e = schema->rels[index];
  const typ_sch_rrec* r = e.rel;
  if (r == nullptr) return adp_pwr_refuse(c->field);
  const char* root = phrase(con, kPhraseRootAlias);
  const char* sub = phrase(con, kPhraseSubAlias);
  typ_sch_frec* id = nullptr;
  if (long st = objid_of(schema, &id)) return st;
  // Relations with a type column use it on every server.
  const bool with_type = typed(r);
  const std::string type_id = std::to_string(r->pschema != nullptr ? r->pschema->type_id : 0);
  const bool negate = c->op == ADP_PWR_REL_NOT_EXISTS;
  long st = 0;
  if ((r->type & ~TYP_REL_INDEX_MARK) == TYP_REL_MTM) {
    // Many-to-many: a row of the link table names this object.
    const char* own = e.side == 'p' ? r->pname : r->fname;
    if ((st = adp_pwr_string_append_five(end, negate ? " NOT" : "", " EXISTS (select * from ", r->mtm_table, " ", sub)) ||
        (st = adp_pwr_string_append_five(end, " where ", sub, ".", own, " = ")))
      return st;
    return adp_pwr_string_append_five(end, root, ".", id->name, ")", nullptr);
  }
  const char* fk = with_type ? r->phys_name : r->fname;
  if (e.side == 'p') {
    if ((st = adp_pwr_string_append_five(end, negate ? " NOT" : "", " EXISTS (select * from ",
                                         table_of(r->fschema).c_str(), " ", sub)) ||
        (st = adp_pwr_string_append_five(end, " where ", sub, ".", fk, " = ")) ||
        (st = adp_pwr_string_append_five(end, root, ".", id->name, nullptr, nullptr)))
      return st;
    if (with_type && (st = adp_pwr_string_append_five(end, " AND ", sub, ".", r->focus_field, " = ")) != 0) return st;
    if (with_type && (st = adp_pwr_string_append(end, type_id.c_str())) != 0) return st;
    return adp_pwr_string_append(end, ")");
  }
  if ((st = adp_pwr_string_append_five(end, " ", fk, " ", op_text, nullptr))) return st;
  if (!with_type) return 0;
  if (negate) return adp_pwr_string_append_five(end, " AND ", r->focus_field, " IS NULL", nullptr, nullptr);
  return adp_pwr_string_append_five(end, " AND ", r->focus_field, " = ", type_id.c_str(), nullptr);
}

// The grouped-path writer's own value part.
long value_part_new(KAdpConnId* con, const pwr_cond* c, char** end, const char* value, const walked& w,
                    const char* sep, const char* op_text) {
  char handled = 0;
  if (long st = adp_pwr_common_value(con, c, end, value, w.qualifier.c_str(), op_text, w.field, &handled)) return st;
  if (handled != 0) return 0;
  const long fam = family(con);
  if (c->op == ADP_PWR_EXISTS || c->op == ADP_PWR_NOT_EXISTS) {
    if (fam == kFamilyMssql) return 0;
    return adp_pwr_process_value(con, w.field, end, c->op, value);
  }
  const char* q = w.qualifier.c_str();
  if (fam == kFamilyOracle) return adp_pwr_reldate_oracle(end, c->op, value, q, sep, w.field->name);
  if (fam == kFamilyQuill) return adp_pwr_reldate_quill(end, c->op, value, q, sep, w.field->name);
  return adp_pwr_reldate_oledb(end, c->op, value, q, sep, w.field->name);
}

std::string upper(const char* value) {
  std::string u = value != nullptr ? value : "";
  // Bytes of multibyte characters (>= 0x80) are kept as they are.
  for (char& ch : u)
    if (static_cast<unsigned char>(ch) < 0x80) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return u;
}

long one_cond(KAdpConnId* con, typ_sch_srec* schema, const pwr_cond* c, char** end, const char* group_path) {
  const char* op_text = nullptr;
  if (long st = cmn_opr_sql_str_byval(c->op, &op_text)) return st;
  if (long st = adp_pwr_string_append(end, "(")) return st;
  if (c->op == ADP_PWR_REL_EXISTS || c->op == ADP_PWR_REL_NOT_EXISTS) {
    if (long st = exists_test(con, schema, c, end, op_text)) return st;
    return adp_pwr_string_append(end, ")");
  }
  if (c->op == ADP_PWR_SOUNDS) {
    if (long st = adp_pwr_string_append(end, "soundex(")) return st;
  }
  walked w;
  if (long st = walk(con, schema, c, group_path, &w)) return st;
  const char* sep = searched_upper(con, w.field) ? ".S_" : ".";
  if (long st = adp_pwr_string_append_five(end, w.qualifier.c_str(), sep, w.field->name, " ", nullptr)) return st;
  const bool text = w.field->data_type == ADP_VT_STRING;
  const bool empty = c->value == nullptr || c->value[0] == '\0';
  if (text && empty && (c->op == ADP_PWR_EQ || c->op == ADP_PWR_NE))
    return adp_pwr_string_append(end, c->op == ADP_PWR_EQ ? "IS NULL)" : "IS NOT NULL)");
  if (c->op == ADP_PWR_SOUNDS) {
    if (long st = adp_pwr_string_append(end, ") = soundex(")) return st;
    if (long st = adp_pwr_process_value(con, w.field, end, c->op, c->value)) return st;
    return adp_pwr_string_append(end, ") )");
  }
  const bool up = text && searched_upper(con, w.field);
  std::string given = c->value != nullptr ? c->value : "";
  std::string value = up ? upper(given.c_str()) : given;
  if (long st = adp_pwr_string_append_five(end, op_text, " ", nullptr, nullptr, nullptr)) return st;
  long st = 0;
  if (group_path != nullptr) {
    st = value_part_new(con, c, end, value.c_str(), w, sep, op_text);
  } else {
    KAdpDbOperation* op = con->GetDbOperation();
    if (op == nullptr) return adp_pwr_refuse("dialect");
    pwr_cond copy = *c;
    st = op->PwrQryOneCond(&copy, up ? value.data() : nullptr, up ? given.data() : nullptr, end, value.data(),
                           w.qualifier.data(), const_cast<char*>(sep), const_cast<char*>(op_text), w.field);
  }
  if (st != 0) return st;
  return adp_pwr_string_append(end, ")");
}

}  // namespace

long adp_pwr_path_column(KAdpConnId* con, typ_sch_srec* root, const char* path, const char* group_path,
                         std::string* qualifier, typ_sch_frec** field) {
  pwr_cond c{path, 0, nullptr};
  walked w;
  if (long st = walk(con, root, &c, group_path, &w)) return st;
  *qualifier = w.qualifier;
  *field = w.field;
  return 0;
}

long adp_pwr_qry_one_cond(KAdpConnId* con, typ_sch_srec* schema, const pwr_cond* cond, char** end) {
  return one_cond(con, schema, cond, end, nullptr);
}

long adp_pwr_qry_one_cond_new(KAdpConnId* con, typ_sch_srec* schema, const pwr_cond* cond, char** end,
                              const char* group_path) {
  return one_cond(con, schema, cond, end, group_path);
}
