// Change calculation: added columns' defaults and the rules for modified
// and renamed columns.
#include <cstring>
#include <string>

#include "adapter/adp_main.h"
#include "adapter/adp_sce.h"
#include "schema/typ_diff.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb_calc.h"

namespace dbs_rdb {
namespace {

constexpr long kGenStamp = 46;

const char* safe(const char* s) { return s ? s : ""; }

bool is_text(long db_type) { return db_type == 6 || db_type == 7 || db_type == 8 || db_type == 10; }
bool is_long_text(long db_type) { return db_type == 8 || db_type == 10; }

// The new model's field of that name (the record holds a copy).
typ_sch_frec* model_field(typ_sch_srec* s, const char* name) {
  if (!s || !name) return nullptr;
  for (long i = 0; i < s->nfields; ++i)
    if (s->fields[i].name && std::strcmp(s->fields[i].name, name) == 0) return &s->fields[i];
  return nullptr;
}

const char* schema_name(const typ_sch_diff_rec& d) {
  const typ_sch_srec* s = d.schema ? d.schema : d.old_schema;
  return s && s->info ? s->info->name : "";
}

// Keeps the stored type, length or flags: in the record's copy and the model.
void keep_type(typ_sch_diff_rec& d, long db_type) {
  d.new_field.db_type = db_type;
  if (typ_sch_frec* f = model_field(d.schema, d.new_field.name)) f->db_type = db_type;
}
void keep_length(typ_sch_diff_rec& d, long length) {
  d.new_field.array_size = length;
  if (typ_sch_frec* f = model_field(d.schema, d.new_field.name)) f->array_size = length;
}
void keep_flags(typ_sch_diff_rec& d, unsigned long flags) {
  d.new_field.flags = flags;
  if (typ_sch_frec* f = model_field(d.schema, d.new_field.name)) f->flags = flags;
}

bool same_column(const typ_sch_frec& a, const typ_sch_frec& b) {
  return std::strcmp(safe(a.name), safe(b.name)) == 0 && a.db_type == b.db_type && a.array_size == b.array_size &&
         (a.flags & ~kFldIgnoredInCompare) == (b.flags & ~kFldIgnoredInCompare);
}

// USE_LARGER_SIZE: keeps the larger storage of the old column.
void larger_size(calc& c, typ_sch_diff_rec& d) {
  const typ_sch_frec& o = d.old_field;
  typ_sch_frec& n = d.new_field;
  const char* field = safe(n.name);
  const char* type = schema_name(d);
  const long server = adp_main_server_type();
  if ((o.db_type == 4 && n.db_type == 3) || ((server & 2) && o.db_type == 3 && n.db_type == 4)) {
    if (c.verbose()) {
      if (server & 1)
        std::fprintf(c.out,
                     "Ignoring change of data type for field '%s' of '%s'\n"
                     "  because it is a 8 byte float and USE_LARGER_SIZE is on.\n",
                     field, type);
      else
        std::fprintf(c.out,
                     "Change data type for field '%s' of '%s' in schema only\n"
                     "  because they are both numbers.\n",
                     field, type);
    }
    // The table keeps its column; the schema keeps the 8-byte float.
    keep_type(d, 4);
    d.old_field.db_type = 4;
  } else if (o.db_type == 8 && n.db_type != 8) {
    if (c.verbose())
      std::fprintf(c.out,
                   "Ignoring change of data type for field '%s' of '%s'\n"
                   "  because it is a text field and USE_LARGER_SIZE is on.\n",
                   field, type);
    keep_type(d, 8);
    keep_flags(d, o.flags);
    keep_length(d, -1);
    d.old_field.array_size = -1;
  }
  if (n.array_size >= 0 && o.array_size > n.array_size) {
    if (c.verbose())
      std::fprintf(c.out,
                   "Ignoring change of size for field '%s' of '%s' because its\n"
                   "  previous size (%ld) is longer than new (%ld) and USE_LARGER_SIZE is on.\n",
                   field, type, o.array_size, n.array_size);
    keep_length(d, o.array_size);
  }
}

}  // namespace

std::string sql_literal(const char* text) {
  if (!text || !*text) return "''";
  std::string out = "'";
  for (const char* p = text; *p; ++p) {
    if (*p == '\'') out += '\'';
    out += *p;
  }
  return out + "'";
}

std::string column_default(const typ_sch_frec& f, std::string* journal) {
  std::string text;
  if (f.def && *f.def) {
    text = f.db_type >= 6 && f.db_type <= 10 ? sql_literal(f.def) : std::string(f.def);
  } else if (f.db_type == 6 || f.db_type == 7 || f.db_type == 8 || f.db_type == 10) {
    text = adp_obj_default_string();
  } else if (f.db_type == 9) {
    if (f.gen_id == kGenStamp && (f.flags & kFldNulls)) {
      text = "NULL";
    } else {
      text = adp_obj_default_datetime();
      if (journal) {
        char date[64];
        std::snprintf(date, sizeof date, "'%.4ld-%.2ld-%.2ld %.2ld:%.2ld:%.2ld'", 1753L, 1L, 1L, 0L, 0L, 0L);
        *journal = date;
        return text;
      }
    }
  } else {
    text = "0";
  }
  if (journal) *journal = text;
  return text;
}

long calc_modified_column(calc& c, typ_sch_diff_rec& d) {
  const bool rename = d.op == TYP_DIFF_RENAME_FIELD;
  const char* type = schema_name(d);
  std::string default_text;
  if (!rename && same_column(d.old_field, d.new_field)) {
    const long t = d.new_field.db_type;
    if (c.lob && is_long_text(t))
      default_text = "EMPTY_CLOB()";
    else if (!(c.unicode && is_text(t)))
      return 0;
  }
  if (c.options & kOptLargerSize) {
    larger_size(c, d);
    if (!rename && default_text.empty() && same_column(d.old_field, d.new_field) &&
        !(c.unicode && is_text(d.new_field.db_type)))
      return 0;
  }
  const typ_sch_frec& o = d.old_field;
  typ_sch_frec& n = d.new_field;
  if ((o.db_type == 8) != (n.db_type == 8) && d.schema) d.schema->flags |= kSchForceDump;
  if ((c.options & kOptOldCase) && !(c.options & kOptNotOldCase) && (o.flags & kFldNoCase) && d.schema &&
      (d.schema->flags & TYP_SCH_OBJECT)) {
    keep_flags(d, n.flags | kFldNoCase);
    if (c.verbose())
      std::fprintf(c.out, "Ignoring change of case for field '%s' of '%s' because USE_OLD_CASE is on\n", safe(n.name),
                   type);
    if (!(c.options & kOptJournal)) return 0;
  }
  dbs_ty_tbl_change ch{};
  ch.schema = d.schema;
  ch.old_db_type = o.db_type;
  ch.new_db_type = n.db_type;
  ch.old_length = o.array_size;
  ch.new_length = n.array_size;
  if (rename) {
    ch.op = DBS_RDB_RENAME_COLUMN;
  } else {
    ch.op = (o.flags & kFldNoCase) && !(n.flags & kFldNoCase) ? DBS_RDB_CASE_SENSITIVE : DBS_RDB_MODIFY_COLUMN;
    if (long st = c.write_journal(7, type, o.name, "''")) return st;
  }
  if (long st = c.text(o.name, &ch.name)) return st;
  if (long st = c.text(n.name, &ch.second_name)) return st;
  if (!default_text.empty())
    if (long st = c.text(default_text.c_str(), &ch.default_text)) return st;
  return c.add(ch, type);
}

}  // namespace dbs_rdb
