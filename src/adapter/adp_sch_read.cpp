// Reading the schema dictionary at database open: the type cache from
// adp_tbl_name_map (with descriptions, groups and SQL texts on request),
// the fields and relations into the schema model, the checks and views,
// and the physical names recorded in the connection's mapper. With a stream
// the blocks of the schema cache file are written as they are read.
#include <cstdio>
#include <cstring>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_loc.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch.h"
#include "adapter/adp_sch_cache.h"
#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_alrt.h"
#include "core/osl/osl_print.h"
#include "schema/typ_acc.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

namespace {

char adp_sch_read_comment_flag = 0;
char adp_sch_read_join_flag = 0;

constexpr long kRevPrecision = 11;  // dec_p, dec_s and the relation flags
constexpr long kRevRelColumns = 13;  // rel_phy_name, focus_fldname, exclusive_set, rel_flags
constexpr long kRevJoinFlag = 10;
constexpr long kTableConvert = 0;
constexpr long kColumnConvert = 3;
constexpr long kRelConvert = 5;
constexpr long kNameSize = 129;
constexpr long kRelTypeMark = 8;                 // rel_type of a marked end: its kind + 8
constexpr unsigned long kRelEntryMark = 0x10000;  // the relation entry's mark

long push(long code, long a) {
  long rc = cmn_alrt_push(nullptr, nullptr, code, 1, a);
  return rc != 0 ? rc : code;
}

const char* text_of(const char* t) { return t != nullptr ? t : ""; }

// The cache entry of a type id (0x600006 when none).
long entry_of(long type_id, adp_sch_type_entry** out) {
  long i = -1;
  adp_sch_find_type(type_id, &i);
  if (i < 0) return push(ADP_BAD_VALUE_TYPE, type_id);
  *out = &adp_sch_types[i];
  return 0;
}

// A new schema record by the entry's flags: object, subobject, structure.
long define_schema(const adp_sch_type_entry& e, typ_sch_srec** out) {
  const bool comments = adp_sch_read_comment_flag == 1;
  const char* group = comments ? text_of(e.group) : "";
  const char* desc = comments ? text_of(e.description) : "";
  const char* sql = comments ? e.sql : nullptr;
  if (e.type_flags & 2) return typ_sch_define_obj_wattr(e.type_name, e.type_id, group, desc, -1, -1, e.type_flags, out);
  if (e.type_flags & 8) return typ_sch_define_subobj(e.type_name, e.type_id, group, desc, out);
  if (e.type_flags & 4) return typ_sch_define_struct(e.type_name, e.type_id, group, desc, sql, out);
  return push(ADP_BAD_SCHEMA_FLAGS, e.type_id);
}

// A text read, kept whole in the cache's name pool.
char* keep_text(const char* text) {
  char* copy = nullptr;
  if (text != nullptr) adp_sch_name_copy(text, &copy);
  return copy;
}

long run_select(KAdpSqlBatch* b) {
  if (long st = b->GetStatus()) return st;
  return b->GetNextResult(nullptr);
}

// The row's field, written to the stream and added to the current schema.
struct field_row {
  char name[kNameSize] = "";
  long cmn_type = 0, db_type = 0, array_size = 0, flags = 0, gen_id = 0, spec_id = 0, type_id = 0;
  long precision = -1, scale = -1;
  char* def = nullptr;
  char* comment = nullptr;
};

std::string field_select(bool comments, long rev) {
  std::string s = " select field_name, cmn_type, db_type, array_size, flags,     gen_field_id, spec_field_id, "
                  "type_id, fld_default";
  if (comments) s += rev >= kRevPrecision ? ", comments, dec_p, dec_s" : ", comments";
  else if (rev >= kRevPrecision) s += ",  dec_p, dec_s";
  return s + "     from adp_sch_info order by type_id, spec_field_id";
}

void log_misplaced(const field_row& r, const typ_sch_srec* schema) {
  const char* text = nullptr;
  cmn_alrt_get_msg(ADP_FIELD_MISPLACED, &text);
  if (text == nullptr) return;
  // The text names the field and the type; the line goes to the server log.
  adp_db_log_msg(text, r.name, typ_sch_get_nameP(schema));
}

long add_field(const field_row& r, typ_sch_srec* schema, FILE* stream) {
  const char* def = text_of(r.def);
  if (stream != nullptr) {
    std::fprintf(stream, "(%s,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", r.name, r.cmn_type, r.db_type, r.array_size,
                 r.precision, r.scale, r.flags, r.gen_id, r.spec_id, r.type_id);
    if (def[0] != '\0') std::fprintf(stream, ",%s)\n", def);
    else std::fputs(")\n", stream);
  }
  const char* local = "";
  if (adp_sch_read_comment_flag == 1) adp_db_convert_str_to_local(nullptr, text_of(r.comment), &local);
  long pos = -1;
  if (long st = typ_sch_fadd(schema, r.name, r.cmn_type, r.db_type, r.gen_id, -1, static_cast<unsigned long>(r.flags),
                             r.array_size, r.precision, r.scale, 0, 0, def[0] != '\0' ? def : nullptr,
                             text_of(local), &pos))
    return st;
  if (pos != r.spec_id) log_misplaced(r, schema);
  return 0;
}

long field_pass(KAdpConnId* con, FILE* stream) {
  const bool comments = adp_sch_read_comment_flag == 1;
  const long rev = con->GetRevision(0);
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  field_row r;
  std::string select = field_select(comments, rev);
  *b << select.c_str() << KAdpBindCol(r.name, kNameSize) << KAdpBindCol(r.cmn_type) << KAdpBindCol(r.db_type)
     << KAdpBindCol(r.array_size) << KAdpBindCol(r.flags) << KAdpBindCol(r.gen_id) << KAdpBindCol(r.spec_id)
     << KAdpBindCol(r.type_id) << KAdpBindCol(&r.def, 0);
  if (comments) *b << KAdpBindCol(&r.comment, 0);
  if (rev >= kRevPrecision) *b << KAdpBindCol(r.precision) << KAdpBindCol(r.scale);
  if (long st = run_select(b)) return st;
  if (stream != nullptr) std::fputs("{\n", stream);
  long last_type = 0;
  bool first = true;
  typ_sch_srec* current = nullptr;
  for (long row; (row = b->GetNextRow()) == 1;) {
    if (first || r.type_id != last_type) {
      adp_sch_type_entry* e = nullptr;
      if (long st = entry_of(r.type_id, &e)) return st;
      if (long st = define_schema(*e, &current)) return st;
      first = false;
      last_type = r.type_id;
    }
    if (long st = add_field(r, current, stream)) return st;
  }
  if (long st = b->GetStatus()) return st;
  if (stream != nullptr) std::fputs("}\n", stream);
  if (long st = adp_sch_types_sch_init()) return st;
  return b->Reset();
}

struct rel_row {
  long rel_type = 0, gen_id = 0, spec_id = 0, type_id = 0;
  char name[kNameSize] = "", target[kNameSize] = "", inverse[kNameSize] = "";
  char* comment = nullptr;
  long flags = 0, rel_flags = 0;
  char phys[kNameSize] = "", focus[kNameSize] = "", excl[kNameSize] = "";
};

std::string rel_select(bool comments, long rev) {
  const char* head = "select rel_type, gen_rel_id, spec_rel_id, type_id,     rel_name, target_name, inv_rel_name";
  const char* tail = "     from adp_sch_rel_info order by type_id, spec_rel_id";
  const char* rel13 = ", rel_phy_name, focus_fldname, exclusive_set, rel_flags";
  if (!comments) {
    if (rev >= kRevRelColumns) return std::string(" ") + head + ", flags" + rel13 + tail;
    if (rev >= kRevPrecision) return std::string(head) + ", flags" + tail;
    return std::string(head) + tail;
  }
  if (rev >= kRevRelColumns)
    return std::string(" ") + head + ", comments, flags" + rel13 + "    from adp_sch_rel_info order by type_id, spec_rel_id";
  if (rev >= kRevPrecision) return std::string(head) + ", comments, flags" + tail;
  return std::string(head) + ", comments" + tail;
}

void write_rel_line(FILE* stream, const rel_row& r, long rev) {
  if (stream == nullptr) return;
  if (adp_db_is_db_mssql() || rev >= kRevRelColumns) {
    std::fprintf(stream, "(%s,%ld,%s,%ld,%ld,%s,%ld,%s,%s,%ld,%ld,%s)\n", r.name, r.rel_type, r.target, r.gen_id,
                 r.spec_id, r.inverse, r.rel_flags, r.phys, r.focus, r.flags, r.type_id, r.excl);
  } else if (rev < kRevJoinFlag) {
    std::fprintf(stream, "(%s,%ld,%s,%ld,%ld,%s,%ld)\n", r.name, r.rel_type, r.target, r.gen_id, r.spec_id,
                 r.inverse, r.type_id);
  } else if (rev == kRevJoinFlag) {
    std::fprintf(stream, "(%s,%ld,%s,%ld,%ld,%s,%ld,%s,%s,%ld)\n", r.name, r.rel_type, r.target, r.gen_id,
                 r.spec_id, r.inverse, 0L, "", "", r.type_id);
  } else {
    std::fprintf(stream, "(%s,%ld,%s,%ld,%ld,%s,%ld,%s,%s,%ld,%ld)\n", r.name, r.rel_type, r.target, r.gen_id,
                 r.spec_id, r.inverse, 0L, "", "", r.flags, r.type_id);
  }
}

long rel_pass(KAdpConnId* con, FILE* stream) {
  const bool comments = adp_sch_read_comment_flag == 1;
  const long rev = con->GetRevision(0);
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  rel_row r;
  std::string select = rel_select(comments, rev);
  *b << select.c_str() << KAdpBindCol(r.rel_type) << KAdpBindCol(r.gen_id) << KAdpBindCol(r.spec_id)
     << KAdpBindCol(r.type_id) << KAdpBindCol(r.name, kNameSize) << KAdpBindCol(r.target, kNameSize)
     << KAdpBindCol(r.inverse, kNameSize);
  if (comments) *b << KAdpBindCol(&r.comment, 0);
  if (rev >= kRevPrecision) *b << KAdpBindCol(r.flags);
  if (rev >= kRevRelColumns) {
    *b << KAdpBindCol(r.phys, kNameSize) << KAdpBindCol(r.focus, kNameSize) << KAdpBindCol(r.excl, kNameSize)
       << KAdpBindCol(r.rel_flags);
  }
  if (long st = run_select(b)) return st;
  if (stream != nullptr) std::fputs("{\n", stream);
  long last_type = 0;
  bool first = true;
  adp_sch_type_entry* e = nullptr;
  for (long row; (row = b->GetNextRow()) == 1;) {
    if (first || r.type_id != last_type) {
      if (long st = entry_of(r.type_id, &e)) return st;
      first = false;
      last_type = r.type_id;
    }
    const char* local = "";
    if (comments) adp_db_convert_str_to_local(con, text_of(r.comment), &local);
    // A marked end is stored as its kind plus 8: the model takes the kind and
    // the entry's mark.
    long kind = r.rel_type;
    unsigned long entry_flags = static_cast<unsigned long>(r.flags);
    if ((kind & kRelTypeMark) != 0) {
      // The marked end keeps its pointer in the row: the model lists it.
      kind = (kind & ~kRelTypeMark) | TYP_REL_INDEX_MARK;
      entry_flags |= kRelEntryMark;
    }
    long pos = -1;
    if (long st = typ_sch_define_rel(e->schema, r.name, kind, r.target, r.gen_id, &pos, r.inverse, r.rel_flags, r.phys,
                                     r.focus, text_of(local), "", entry_flags, r.excl))
      return st;
    if (pos != r.spec_id) {
      long rc = cmn_alrt_push(nullptr, nullptr, ADP_REL_MISPLACED, 3, r.spec_id, r.name, e->type_name);
      return rc != 0 ? rc : ADP_REL_MISPLACED;
    }
    write_rel_line(stream, r, rev);
  }
  if (long st = b->GetStatus()) return st;
  if (stream != nullptr) std::fputs("}\n", stream);
  return b->Reset();
}

// A name in the schema model replaced by its physical form when they differ.
void overwrite(char*& name, const char* phys) {
  if (name == nullptr || std::strcmp(name, phys) == 0) return;
  char* copy = nullptr;
  if (typ_sch_name_copy(phys, &copy) == 0 && copy != nullptr) name = copy;
}

KAdpNameMapper::convert_type conv(long n) { return static_cast<KAdpNameMapper::convert_type>(n); }

}  // namespace

long adp_sch_set_comment_flag() {
  adp_sch_read_comment_flag = 1;
  return 0;
}

long adp_sch_set_join_flag() {
  adp_sch_read_join_flag = 1;
  return 0;
}

long adp_sch_get_comment_flag() { return adp_sch_read_comment_flag; }

long adp_sch_types_init(KAdpConnId* con, FILE* stream) {
  if (long st = adp_db_check_conn(con)) return st;
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  if (long st = adp_sch_types_clear()) return st;
  long type_id = 0, flags = 0;
  char name[kNameSize] = "";
  *b << "select type_id , type_flags, type_name from adp_tbl_name_map" << KAdpBindCol(type_id) << KAdpBindCol(flags)
     << KAdpBindCol(name, kNameSize);
  if (long st = run_select(b)) return st;
  if (stream != nullptr) std::fputs("{\n", stream);
  while (b->GetNextRow() == 1) {
    if (long st = adp_sch_type_insert(type_id, flags, name)) return st;
    if (stream != nullptr) std::fprintf(stream, "(%ld,%ld,%s)\n", type_id, flags, name);
  }
  if (long st = b->GetStatus()) return st;
  if (stream != nullptr) std::fputs("}\n", stream);
  b->Reset();
  if (adp_sch_read_comment_flag == 1) return adp_sch_types_init_comment(con, stream);
  return 0;
}

long adp_sch_types_init_comment(KAdpConnId* con, FILE* /*stream*/) {
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  long type_id = 0;
  char* comment = nullptr;
  char* group = nullptr;
  char* sql = nullptr;
  *b << "select type_id, comments, obj_group, sql from adp_tbl_name_map" << KAdpBindCol(type_id)
     << KAdpBindCol(&comment, 0) << KAdpBindCol(&group, 0) << KAdpBindCol(&sql, 0);
  if (long st = run_select(b)) return st;
  while (b->GetNextRow() == 1) {
    const char* local = nullptr;
    adp_db_convert_str_to_local(con, text_of(comment), &local);
    adp_sch_type_entry* e = nullptr;
    if (long st = entry_of(type_id, &e)) return st;
    e->description = keep_text(text_of(local));
    e->group = keep_text(text_of(group));
    e->sql = (static_cast<unsigned long>(e->type_flags) & ADP_SCH_SQL_VIEW) != 0 ? keep_text(text_of(sql)) : nullptr;
  }
  long st = b->GetStatus();
  b->Reset();
  return st;
}

long adp_sch_read_schemas(KAdpConnId* con, FILE* stream) {
  if (long st = field_pass(con, stream)) return st;
  return rel_pass(con, stream);
}

long adp_sch_read_all(KAdpConnId* con, FILE* stream) {
  osl_print_mes("Reading data schema from database...\n");
  if (long st = adp_sch_read_schemas(con, stream)) return st;
  osl_print_mes("Checking relations...\n");
  if (long st = typ_sch_rel_check()) return st;
  osl_print_mes("Optimizing schema...\n");
  if (long st = typ_sch_optimize()) return st;
  if (adp_sch_read_comment_flag == 1) {
    if (long st = typ_sch_fetch_views_and_fld(con)) return st;
    if (stream != nullptr) {
      if (long st = typ_sch_cache_joins(stream)) return st;
    }
  }
  osl_print_mes("Done with schema\n");
  return 0;
}

long adp_sch_map_names(KAdpConnId* con) {
  if (long st = adp_db_check_conn(con)) return st;
  KAdpNameMapper& mapper = con->GetNameMapper();
  for (long i = 0; i < typ_sch_num_schs; ++i) {
    typ_sch_srec& s = typ_sch_schemas[i];
    KCLASSIC::KZString table = con->GetPhys(s.info->name, conv(kTableConvert), 0, nullptr);
    mapper.AddLogPhysPair(s.info->name, table, conv(kTableConvert));
    for (long f = 0; f < s.nfields; ++f) {
      KCLASSIC::KZString logical = s.fields[f].name;
      KCLASSIC::KZString column = con->GetPhys(logical, conv(kColumnConvert), 0, nullptr);
      overwrite(s.fields[f].name, column);
      mapper.AddLogPhysPair(logical, column, conv(kColumnConvert));
    }
  }
  for (long i = 0; i < typ_sch_num_rels; ++i) {
    typ_sch_rrec& r = typ_sch_relations[i];
    KCLASSIC::KZString p = r.pname, f = r.fname;
    KCLASSIC::KZString pphys = con->GetPhys(p, conv(kRelConvert), 0, nullptr);
    KCLASSIC::KZString fphys = con->GetPhys(f, conv(kRelConvert), 0, nullptr);
    overwrite(r.pname, pphys);
    overwrite(r.fname, fphys);
    mapper.AddLogPhysPair(p, pphys, conv(kRelConvert));
    mapper.AddLogPhysPair(f, fphys, conv(kRelConvert));
    if (r.mtm_table != nullptr && r.mtm_table[0] != '\0') {
      KCLASSIC::KZString link = r.mtm_table;
      KCLASSIC::KZString lphys = con->GetPhys(link, conv(kTableConvert), 0, nullptr);
      overwrite(r.mtm_table, lphys);
      mapper.AddLogPhysPair(link, lphys, conv(kTableConvert));
    }
  }
  return 0;
}
