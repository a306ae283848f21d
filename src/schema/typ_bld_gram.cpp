// The schema language parser: a recursive-descent reader of the grammar
// with one token of look-ahead, running the build actions at the points
// the language fixes. A syntax error, a failed action or a scanner failure
// ends the parse with 1.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "schema/typ_bld.h"
#include "schema/typ_lex.h"
#include "schema/typ_msg.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"
#include "store/dbs_db.h"

namespace {

// Ends the parse; the reason was reported where it was found.
struct parse_stop {};

constexpr size_t kDefaultMax = TYP_LEX_TEXT_MAX;

// Field-clause state that survives from one clause to the next.
long g_data_type = 0;
long g_db_type = 0;

struct parser {
  int tok = 0;
  typ_lex_value val{};

  // Definition.
  std::string name, subject, comment, old_name;
  bool subobj = false, unique = false;
  long type_id = -1;
  // Field clause.
  long gen_id = -1, array_size = -1, dec_precision = -1, dec_scale = -1;
  bool mandatory = true, predefined = true, searchable = false, is_array = false, has_default = false;
  std::string def;
  unsigned long opt = 0;
  // Relation clause.
  long rel_gen = -1;
  std::string inverse;
  // Index clause.
  utl_ty_col* index_list = nullptr;
  // View.
  long alias_count = 0;
  utl_ty_col* names = nullptr;
  utl_ty_col* aliases = nullptr;
  std::string base_table;
  bool aliases_loose = false;  // alias lists not yet given to their view

  // The line on which the look-ahead token ends, and the one on which the
  // token consumed before it ended.
  long tok_line = 1, prev_line = 1;

  void next() {
    prev_line = tok_line;
    tok = ddlex();
    tok_line = ddlineno;
    val = ddlval;
    if (tok < 0) throw parse_stop{};
  }
  [[noreturn]] void syntax() {
    dderror("syntax error");
    throw parse_stop{};
  }
  void expect(int t) {
    if (tok != t) syntax();
    next();
  }
  bool accept(int t) {
    if (tok != t) return false;
    next();
    return true;
  }
  std::string word() {
    if (tok != TYP_TK_WORD) syntax();
    std::string w = val.text;
    next();
    return w;
  }
  long integer() {
    if (tok != TYP_TK_INTEGER) syntax();
    long v = val.ival;
    next();
    return v;
  }
  std::string eq_word() {
    expect('=');
    return word();
  }
  long eq_integer() {
    expect('=');
    return integer();
  }
  static void check(long st) {
    if (st) throw parse_stop{};
  }
  static long line() { return typ_bld_return_lineno(); }
  typ_sch_srec* record() const {
    typ_sch_srec* s = nullptr;
    typ_sch_find_handle(type_id, nullptr, &s);
    if (!s) check(typ_alrt("ddparse", TYP_NO_TYPE, type_id, name.c_str()));
    return s;
  }
  // A value just consumed, checked against its range: a refusal names the
  // value's own line, not the look-ahead's.
  long range(long code, long v, unsigned long high) const {
    if (static_cast<unsigned long>(v) > high) check(typ_alrt("ddparse", code, v, prev_line, 0L, long(high)));
    return v;
  }

  void file();
  void revision_header();
  void object_definition();
  void definition_header(int kind);
  void field_section();
  void field_clause();
  bool field_attribute();
  void reset_field_clause();
  void index_section();
  void index_clause();
  void relation_section();
  void relation_item();
  void relation_clause();
  void view_definition();
  void view_field();
  void sql_field();
  void join();
};

void parser::file() {
  if (typ_bld_array_col) utl_col_free("ddparse", typ_bld_array_col);
  typ_bld_array_col = nullptr;
  check(utl_col_make("ddparse", TYP_TY_BLD_ARRAY, 10, 10, 0, 0, &typ_bld_array_col));
  next();
  revision_header();
  bool any = false;
  for (;;) {
    if (tok == TYP_TK_OBJECT || tok == TYP_TK_SUBOBJECT) {
      object_definition();
    } else if (tok == TYP_TK_VIEW) {
      view_definition();
    } else if (tok == 0 && any) {
      return;
    } else {
      syntax();
    }
    any = true;
  }
}

void parser::revision_header() {
  // Written at once only in direct mode; an upgrade writes them at commit.
  const bool now = (typ_bld_options & TYP_BLD_WRITE_REVS) && !(typ_bld_options & TYP_BLD_UPGRADE);
  if (accept(TYP_TK_SCHEMA_REVISION)) {
    const long rev = integer();
    check(now ? dbs_db_change_schema_rev(typ_bld_con, rev) : typ_bld_remember_schema_rev(rev));
  }
  if (accept(TYP_TK_LOCAL_SCHEMA_REVISION)) {
    const std::string text = word();
    check(now ? dbs_db_change_cust_schema_rev(typ_bld_con, text.c_str()) : typ_bld_remember_cust_rev(text.c_str()));
  }
}

void parser::definition_header(int kind) {
  unique = false;
  name = word();
  type_id = integer();
  if (accept(TYP_TK_CACHEOBJIDS))
    typ_bld_options |= TYP_BLD_CACHEOBJIDS;
  else
    typ_bld_options &= ~TYP_BLD_CACHEOBJIDS;
  if (accept(TYP_TK_ALLOW_FLEX))
    typ_bld_options |= TYP_BLD_ALLOW_FLEX;
  else
    typ_bld_options &= ~TYP_BLD_ALLOW_FLEX;
  subject = accept(TYP_TK_SUBJECT) ? eq_word() : "";
  comment = accept(TYP_TK_COMMENT) ? eq_word() : "";
  typ_sch_srec* s = nullptr;
  typ_bld_flex_pending = 0;
  if (kind == TYP_TK_OBJECT)
    check(typ_bld_obj(name.c_str(), type_id, subject.c_str(), typ_bld_options, comment.c_str(), &s));
  else
    check(typ_bld_subobj(name.c_str(), type_id, subject.c_str(), typ_bld_options, comment.c_str(), &s));
}

void parser::object_definition() {
  subobj = tok == TYP_TK_SUBOBJECT;
  const int kind = tok;
  next();
  definition_header(kind);
  field_section();
  if (tok == TYP_TK_INDEXES) {
    index_section();
    if (tok == TYP_TK_RELATIONS) relation_section();
  } else if (tok == TYP_TK_RELATIONS) {
    relation_section();
    if (tok == TYP_TK_INDEXES) index_section();
  }
  const int end = tok;
  if (end != TYP_TK_OBJECT_END && end != TYP_TK_SUBOBJECT_END) syntax();
  next();
  if (tok != ';') syntax();
  check(typ_bld_flush_flex(type_id));
  if (end == TYP_TK_OBJECT_END) {
    if (subobj) check(typ_alrt("ddparse", TYP_BLD_OBJ_END, line()));
    if (!unique) check(typ_alrt("ddparse", TYP_BLD_NO_UNIQUE, line()));
  } else {
    if (!subobj) check(typ_alrt("ddparse", TYP_BLD_SUB_END, line()));
    if (unique) check(typ_alrt("ddparse", TYP_BLD_SUB_UNIQUE, line()));
  }
  next();
}

void parser::field_section() {
  expect(TYP_TK_FIELDS);
  field_clause();
  while (accept(',')) {
    if (tok == TYP_TK_FIELDS_END) break;
    field_clause();
  }
  expect(TYP_TK_FIELDS_END);
}

void parser::reset_field_clause() {
  opt = 0;
  gen_id = -1;
  mandatory = predefined = true;
  array_size = dec_precision = dec_scale = -1;
  is_array = searchable = has_default = false;
  comment.clear();
  old_name.clear();
}

// One attribute of a field clause; false when the token starts none.
bool parser::field_attribute() {
  static const struct {
    int tok;
    unsigned long bit;
  } kOptions[] = {{TYP_TK_CHANGE_DATE, TYP_BLD_OPT_CHANGE_DATE}, {TYP_TK_CHANGE_FIELD, TYP_BLD_OPT_CHANGE_FIELD},
                  {TYP_TK_DONT_DISTR_TO_CLIENT, TYP_BLD_OPT_NO_CLIENT},
                  {TYP_TK_DONT_DISTR_TO_SERVER, TYP_BLD_OPT_NO_SERVER},
                  {TYP_TK_ALLOW_NULL, TYP_BLD_OPT_ALLOW_NULL},     {TYP_TK_CURRENCY, TYP_BLD_OPT_CURRENCY}};
  for (const auto& o : kOptions)
    if (accept(o.tok)) {
      opt |= o.bit;
      return true;
    }
  switch (tok) {
    case TYP_TK_CMN_DATA_TYPE: {
      next();
      expect('=');
      if (tok == TYP_TK_INTEGER) {
        g_data_type = integer();
      } else {
        const long at = line();
        std::string w = word();
        if (w == "array") {
          is_array = true;
        } else {
          long id = -1;
          if (cmn_typ_name_to_id(w.c_str(), &id) != 0 || id == -1) {
            cmn_alrt_clear(nullptr);
            check(typ_alrt("ddparse", TYP_BLD_BAD_DTYPE, w.c_str(), at));
          }
          g_data_type = id;
        }
      }
      return true;
    }
    case TYP_TK_DB_DATA_TYPE:
      next();
      g_db_type = range(TYP_BLD_DB_TYPE, eq_integer(), 11);
      return true;
    case TYP_TK_GEN_FIELD_ID:
      next();
      gen_id = range(TYP_BLD_GEN_RANGE, eq_integer(), TYP_MAX_GEN_FIELD);
      if (gen_id == 3) unique = true;
      return true;
    case TYP_TK_ARRAY_SIZE:
      next();
      array_size = range(TYP_BLD_SIZE_RANGE, eq_integer(), 2000);
      return true;
    case TYP_TK_DEC_PRECISION:
      next();
      dec_precision = range(TYP_BLD_SIZE_RANGE, eq_integer(), 38);
      return true;
    case TYP_TK_DEC_SCALE:
      next();
      dec_scale = range(TYP_BLD_SIZE_RANGE, eq_integer(), 38);
      return true;
    case TYP_TK_MANDATORY:
    case TYP_TK_OPTIONAL:
      mandatory = tok == TYP_TK_MANDATORY;
      next();
      return true;
    case TYP_TK_PREDEFINED:
    case TYP_TK_USER_DEFINED:
      predefined = tok == TYP_TK_PREDEFINED;
      next();
      return true;
    case TYP_TK_DEFAULT: {
      next();
      expect('=');
      char buf[64];
      if (tok == TYP_TK_WORD) {
        def = val.text;
      } else if (tok == TYP_TK_INTEGER) {
        snprintf(buf, sizeof buf, "%ld", long(val.ival));
        def = buf;
      } else if (tok == TYP_TK_DECIMAL) {
        // A decimal whose text does not fit the default buffer is refused.
        int n = snprintf(nullptr, 0, "%f", val.dval);
        if (n < 0 || size_t(n) > kDefaultMax) syntax();
        std::string text(size_t(n) + 1, '\0');
        snprintf(text.data(), text.size(), "%f", val.dval);
        def = text.c_str();
      } else {
        syntax();
      }
      has_default = true;
      next();
      return true;
    }
    case TYP_TK_COMMENT:
      next();
      comment = eq_word();
      return true;
    case TYP_TK_OLD_NAME:
      next();
      old_name = eq_word();
      return true;
    case TYP_TK_SEARCHABLE:
      next();
      searchable = true;
      return true;
    default:
      return false;
  }
}

void parser::field_clause() {
  std::string fname = word();
  reset_field_clause();
  if (!field_attribute()) syntax();
  while (field_attribute()) {
  }
  typ_sch_srec* s = record();
  if (is_array) {
    check(typ_bld_barray_field(s, fname.c_str(), gen_id, comment.c_str(), old_name.c_str()));
    return;
  }
  check(typ_bld_field(typ_bld_con, s, fname.c_str(), g_data_type, g_db_type, gen_id, array_size, dec_precision,
                      dec_scale, predefined, mandatory, searchable, has_default ? def.c_str() : nullptr,
                      comment.c_str(), old_name.c_str(), opt));
}

void parser::index_section() {
  expect(TYP_TK_INDEXES);
  index_list = nullptr;
  check(utl_col_make("ddparse", 517, 4, 4, 0, 0, &index_list));
  check(typ_sch_uptr_set(record(), index_list));
  index_clause();
  while (accept(',')) {
    if (tok == TYP_TK_INDEXES_END) break;
    index_clause();
  }
  expect(TYP_TK_INDEXES_END);
}

void parser::index_clause() {
  std::string iname = word();
  utl_ty_col* members = nullptr;
  check(utl_col_make("ddparse", CMN_TYP_CHAR_P, 4, 4, 0, 0, &members));
  check(utl_col_push(index_list, &members, nullptr));
  check(utl_col_push(members, iname.c_str(), nullptr));
  bool is_unique = false, named = false, any = false;
  for (;; any = true) {
    if (accept(TYP_TK_FIELD)) {
      std::string f = eq_word();
      const long at = prev_line;
      long found = 0;
      check(typ_bld_verify_field(record(), f.c_str(), members, &found));
      if (!found) check(typ_alrt("ddparse", TYP_BLD_IDX_FIELD, name.c_str(), f.c_str(), iname.c_str(), at));
      named = true;
    } else if (accept(TYP_TK_RELATION)) {
      std::string r = eq_word();
      long pos = -1;
      typ_sch_rel_inst* entry = nullptr;
      typ_sch_srec* s = record();
      check(typ_bld_verify_relation(s, r.c_str(), members, &pos, &entry));
      check(typ_sch_add_relind(s, pos, entry));
      named = true;
    } else if (accept(TYP_TK_UNIQUE)) {
      is_unique = true;
    } else if (accept(TYP_TK_COMMENT)) {
      eq_word();
    } else {
      break;
    }
  }
  if (!any) syntax();
  if (!named) check(typ_alrt("ddparse", TYP_BLD_IDX_EMPTY, name.c_str(), iname.c_str(), line()));
  check(utl_col_set_ext(members, is_unique ? 1 : 0));
}

void parser::relation_section() {
  expect(TYP_TK_RELATIONS);
  relation_item();
  while (accept(',')) {
    if (tok == TYP_TK_RELATIONS_END) break;
    relation_item();
  }
  expect(TYP_TK_RELATIONS_END);
}

void parser::relation_item() {
  if (accept(TYP_TK_EXCLUSIVE)) {
    typ_bld_set_exclusive_group(word().c_str());
    relation_clause();
    typ_bld_set_exclusive_group("");
    return;
  }
  if (tok == TYP_TK_EXCLUSIVE_SET || tok == TYP_TK_REOPEN_EXCLUSIVE_SET) {
    const bool reopen = tok == TYP_TK_REOPEN_EXCLUSIVE_SET;
    next();
    std::string group = word();
    if (reopen) {
      if (!typ_bld_is_exclusive_group(group.c_str())) check(typ_alrt("ddparse", TYP_BLD_GROUP_REOPEN, group.c_str()));
    } else {
      expect(TYP_TK_TYPE_FIELD);
      std::string type_field = eq_word();
      expect(TYP_TK_OBJID_FIELD);
      std::string objid_field = eq_word();
      check(typ_define_exclusive_fields(group.c_str(), type_field.c_str(), objid_field.c_str()));
    }
    typ_bld_set_exclusive_group(group.c_str());
    relation_clause();
    while (accept(',')) relation_clause();
    expect(TYP_TK_EXCLUSIVE_SET_END);
    typ_bld_set_exclusive_group("");
    return;
  }
  typ_bld_set_exclusive_group("");
  relation_clause();
}

void parser::relation_clause() {
  std::string rname = word();
  old_name.clear();
  comment.clear();
  rel_gen = -1;
  inverse.clear();
  typ_bld_reset_rflag();
  long type = 0;
  switch (tok) {
    case TYP_TK_OTM: type = TYP_REL_OTM; break;
    case TYP_TK_MTO: type = TYP_REL_MTO; break;
    case TYP_TK_MTM: type = TYP_REL_MTM; break;
    case TYP_TK_OTOP: type = TYP_REL_OTOP; break;
    case TYP_TK_OTOF: type = TYP_REL_OTOF; break;
    default: syntax();
  }
  next();
  std::string target = word();
  for (;;) {
    if (accept(TYP_TK_GEN_REL_ID)) {
      rel_gen = eq_integer();
    } else if (accept(TYP_TK_USER_DEFINED)) {
      typ_bld_set_rflag(TYP_REL_USER);
    } else if (accept(TYP_TK_REQUIRED)) {
      typ_bld_set_rflag(TYP_REL_REQUIRED);
    } else if (accept(TYP_TK_INV_REL)) {
      inverse = eq_word();
    } else if (accept(TYP_TK_COMMENT)) {
      comment = eq_word();
    } else if (accept(TYP_TK_OLD_NAME)) {
      old_name = eq_word();
    } else {
      break;
    }
  }
  check(typ_bld_relation(record(), rname.c_str(), type, target.c_str(), rel_gen, inverse.c_str(), comment.c_str(),
                         old_name.c_str(), 0));
}

void parser::view_definition() {
  expect(TYP_TK_VIEW);
  alias_count = 0;
  names = aliases = nullptr;
  name = word();
  type_id = integer();
  subject = accept(TYP_TK_SUBJECT) ? eq_word() : "";
  comment = accept(TYP_TK_COMMENT) ? eq_word() : "";
  typ_sch_srec* v = nullptr;
  check(typ_bld_view(name.c_str(), type_id, subject.c_str(), typ_bld_options, comment.c_str(), &v));
  if (accept(TYP_TK_BASE_TABLE)) {
    base_table = eq_word();
    expect(TYP_TK_SQL);
    expect('=');
    if (tok == TYP_TK_LONG_STRING)
      check(typ_bld_process_sql(record(), val.ptr));
    else if (tok == TYP_TK_WORD)
      check(typ_bld_process_sql(record(), val.text));
    else
      syntax();
    next();
    expect(TYP_TK_FIELDS);
    sql_field();
    while (accept(',')) sql_field();
    expect(TYP_TK_FIELDS_END);
  } else {
    if (accept(TYP_TK_ALIAS)) {
      aliases_loose = true;
      check(utl_col_make("ddparse", CMN_TYP_CHAR_P, 4, 4, 0, 0, &names));
      check(utl_col_make("ddparse", CMN_TYP_CHAR_P, 4, 4, 0, 0, &aliases));
      do {
        std::string t = word();
        std::string a = word();
        check(typ_bld_alias(names, aliases, t.c_str(), a.c_str()));
      } while (accept(','));
      utl_col_num(aliases, &alias_count);
    }
    check(typ_bld_view_alias(record(), names, aliases));
    aliases_loose = false;  // the view holds them now
    expect(TYP_TK_FIELDS);
    view_field();
    while (accept(',')) view_field();
    expect(TYP_TK_FIELDS_END);
    if (accept(TYP_TK_JOINS)) {
      join();
      while (accept(',')) {
        if (tok == TYP_TK_JOINS_END) break;
        join();
      }
      expect(TYP_TK_JOINS_END);
    }
  }
  if (tok != TYP_TK_VIEW_END) syntax();
  next();
  if (tok != ';') syntax();
  next();
}

void parser::view_field() {
  std::string vname = word();
  long vgen = -1;
  bool vmand = true, vpre = true, gen_given = false;
  std::string vcomment;
  expect(TYP_TK_FROM);
  std::string alias_name = word();
  expect('.');
  const long at = line();
  std::string src_field = word();
  const char* type_name = "";
  const char* alias = "";
  typ_sch_alias_convert(alias_count, names, aliases, alias_name.c_str(), &type_name, &alias);
  const std::string src_type = type_name;
  const std::string alias_text = alias;
  long tid = -1, fid = -1;
  typ_sch_name_to_id(src_type.c_str(), src_field.c_str(), &tid, &fid);
  const bool forward = tid == -1;
  if (!forward && fid == -1) check(typ_alrt("ddparse", TYP_BLD_VFIELD, src_field.c_str(), src_type.c_str(), at));
  for (;;) {
    if (tok == TYP_TK_MANDATORY || tok == TYP_TK_OPTIONAL) {
      vmand = tok == TYP_TK_MANDATORY;
      next();
    } else if (tok == TYP_TK_PREDEFINED || tok == TYP_TK_USER_DEFINED) {
      vpre = tok == TYP_TK_PREDEFINED;
      next();
    } else if (tok == TYP_TK_UNIQUE || tok == TYP_TK_GEN_FIELD_ID) {
      if (gen_given) check(typ_alrt("ddparse", TYP_BLD_UNIQUE_GEN, src_field.c_str(), line()));
      gen_given = true;
      if (accept(TYP_TK_UNIQUE)) {
        vgen = 3;
      } else {
        next();
        vgen = range(TYP_BLD_GEN_RANGE, eq_integer(), TYP_MAX_GEN_FIELD);
      }
      if (vgen == 3) unique = true;
    } else if (accept(TYP_TK_COMMENT)) {
      vcomment = eq_word();
    } else {
      break;
    }
  }
  check(typ_bld_vfield(record(), vname.c_str(), forward, tid, fid, src_type.c_str(), src_field.c_str(), vgen, vpre,
                       vmand, alias_text.c_str(), vcomment.c_str()));
}

void parser::sql_field() {
  std::string fname = word();
  reset_field_clause();
  if (!field_attribute()) syntax();
  while (field_attribute()) {
  }
  typ_sch_frec d{};
  d.name = const_cast<char*>(fname.c_str());
  d.flags = (mandatory ? TYP_FLD_MANDATORY : 0) | (predefined ? TYP_FLD_PREDEFINED : 0);
  d.array_size = array_size;
  d.dec_precision = dec_precision;
  d.dec_scale = dec_scale;
  d.data_type = g_data_type;
  d.db_type = g_db_type;
  d.gen_id = gen_id;
  d.spec_id = -1;
  d.comment = const_cast<char*>(comment.c_str());
  check(typ_bld_svfield(record(), fname.c_str(), gen_id, base_table.c_str(), &d));
}

void parser::join() {
  const bool left_outer = accept(TYP_TK_OUTER);
  std::string la = word();
  expect('.');
  std::string lf = word();
  expect('=');
  const bool right_outer = accept(TYP_TK_OUTER);
  std::string ra = word();
  expect('.');
  std::string rf = word();
  std::string jcomment = accept(TYP_TK_COMMENT) ? eq_word() : "";
  if (left_outer && right_outer) check(typ_alrt("ddparse", TYP_BLD_TWO_OUTER));
  const long option = left_outer ? 1 : right_outer ? 2 : 0;
  check(typ_bld_join(record(), alias_count, names, aliases, la.c_str(), lf.c_str(), ra.c_str(), rf.c_str(),
                     jcomment.c_str(), option));
}

}  // namespace

void typ_bld_parse_reset() {
  g_data_type = 0;
  g_db_type = 0;
  typ_bld_flex_pending = 0;
  typ_bld_has_flex = 0;
  typ_bld_reset_flex_ids();
  typ_reset_exclusive_fields();
  typ_bld_set_exclusive_group("");
  typ_bld_reset_rflag();
}

int dderror(const char* text) {
  printf("Error '%s' parsing schema file on line %ld\n", text, ddlineno);
  return 0;
}

int ddparse() {
  parser p;
  try {
    p.file();
  } catch (const parse_stop&) {
    // Alias lists not yet given to their view go with the parse.
    if (p.aliases_loose && p.names) utl_col_free("ddparse", p.names);
    if (p.aliases_loose && p.aliases) utl_col_free("ddparse", p.aliases);
    return 1;
  }
  return 0;
}
