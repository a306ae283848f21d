// The schema cache file reader.
#include "store/dbs_rdf.h"

#include <charconv>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_time.h"
#include "adapter/adp_sch_load.h"
#include "core/clk/clk_text.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/loc/loc_st.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_obj.h"

namespace {

constexpr long kStale = 1;

bool read_line(FILE* f, std::string& line) {
  line.clear();
  int c = 0;
  bool any = false;
  while ((c = std::fgetc(f)) != EOF) {
    any = true;
    if (c == '\n') return true;
    if (c != '\r') line.push_back(static_cast<char>(c));
  }
  return any;
}

bool is_number(const char* from, const char* to) {
  if (from < to && *from == '-') ++from;
  if (from >= to) return false;
  for (; from < to; ++from)
    if (*from < '0' || *from > '9') return false;
  return true;
}

// Longest number text a line may hold.
constexpr long kNumberChars = 19;

// The number text [from, to) read whole; false when it is no number or
// beyond a long.
bool read_number(const char* from, const char* to, long* value) {
  if (!is_number(from, to) || to - from > kNumberChars) return false;
  long v = 0;
  const auto [end, error] = std::from_chars(from, to, v);
  if (error != std::errc() || end != to) return false;
  if (value) *value = v;
  return true;
}

// Reads one number field ending in ',' (more follow) or ')' (last); false
// when it is missing or no number.
bool take_long(const char*& p, long* value, bool last) {
  const char* end = p;
  while (*end && *end != ',' && *end != ')') ++end;
  if (last ? *end != ')' : *end != ',') return false;
  if (!read_number(p, end, value)) return false;
  p = last ? end : end + 1;
  return true;
}

// Copies one text field ending in ',' into out (size bytes).
bool take_text(const char*& p, char* out, size_t size) {
  const char* end = std::strchr(p, ',');
  if (!end || static_cast<size_t>(end - p) >= size) return false;
  std::memcpy(out, p, static_cast<size_t>(end - p));
  out[end - p] = '\0';
  p = end + 1;
  return true;
}

// The rest up to the line's last ')', which must end the line.
bool take_rest(const char* p, char* out, size_t size) {
  const char* end = std::strrchr(p, ')');
  if (!end || end[1] != '\0' || static_cast<size_t>(end - p) >= size) return false;
  std::memcpy(out, p, static_cast<size_t>(end - p));
  out[end - p] = '\0';
  return true;
}

struct type_row {
  long type_id, flags;
  std::string name;
};

struct cache_file {
  std::vector<type_row> types;
  std::vector<dbs_ty_rdf_field> fields;
  std::vector<dbs_ty_rdf_rel> rels;
};

long parse_type(const std::string& line, type_row* out) {
  if (line.empty() || line[0] != '(') return kStale;
  const char* p = line.c_str() + 1;
  if (!take_long(p, &out->type_id, false) || !take_long(p, &out->flags, false)) return kStale;
  if (line.back() != ')') return kStale;
  out->name.assign(p, line.c_str() + line.size() - 1);
  return 0;
}

// Reads one block "{" .. "}"; every line goes to parse. A block without
// its "}" makes the file stale.
template <class Parse>
long read_block(FILE* f, Parse parse) {
  std::string line;
  if (!read_line(f, line) || line.empty() || line[0] != '{') return kStale;
  while (read_line(f, line)) {
    if (!line.empty() && line[0] == '}') return 0;
    if (long st = parse(line)) return st;
  }
  return kStale;
}

long read_file(FILE* f, cache_file* file) {
  if (long st = read_block(f, [&](const std::string& l) {
        type_row r{};
        if (parse_type(l, &r)) return kStale;
        file->types.push_back(std::move(r));
        return 0L;
      }))
    return st;
  if (long st = read_block(f, [&](const std::string& l) {
        dbs_ty_rdf_field r{};
        if (dbs_rdf_parse_field(l.c_str(), &r)) return kStale;
        file->fields.push_back(r);
        return 0L;
      }))
    return st;
  return read_block(f, [&](const std::string& l) {
    dbs_ty_rdf_rel r{};
    if (dbs_rdf_parse_relation(l.c_str(), &r)) return kStale;
    file->rels.push_back(r);
    return 0L;
  });
}

long check_header(FILE* f, long db_rev, long schema_rev) {
  std::string line;
  if (!read_line(f, line)) return kStale;
  char word[64] = "";
  long file_db = 0, file_sch = 0;
  if (std::sscanf(line.c_str(), "%63s %ld %ld", word, &file_db, &file_sch) != 3) return kStale;
  if (!read_line(f, line) || line.compare(0, 12, "TIMESTAMP: '") != 0) return kStale;
  size_t close = line.find('\'', 12);
  if (close == std::string::npos) return kStale;
  std::string text = line.substr(12, close - 12);
  clktime when{};
  if (adp_time_str_to_clk(text.c_str(), &when) != 0) {
    cmn_alrt_pop(nullptr, nullptr, nullptr);
    if (long st = clk_time_str_to_clk(text.c_str(), &when)) return st;
  }
  const clktime* modified = adp_db_get_last_modify();
  if (!modified || modified->day != when.day || modified->ticks != when.ticks) {
    std::fputs("Cached data dictionary file is out of date; recaching from database...\n", stdout);
    return kStale;
  }
  if (file_db != db_rev || file_sch != schema_rev || db_rev != adp_db_get_db_rev()) return kStale;
  return 0;
}

// The type id no schema has; a line that names it makes the file stale.
constexpr long kNoType = -1;

long build_fields(const cache_file& file, utl_ty_col* counts) {
  long current = kNoType;
  typ_sch_srec* s = nullptr;
  for (const dbs_ty_rdf_field& r : file.fields) {
    if (r.type_id == kNoType) return kStale;
    if (r.type_id != current) {
      current = r.type_id;
      long flags = 0, nf = 0, nr = 0;
      const char* name = nullptr;
      typ_sch_srec* slot = nullptr;
      if (long st = adp_sch_type_info_get(current, &flags, &name, &slot)) return st;
      if (long st = adp_sch_find_fld_rel_cnt(counts, current, &nf, &nr)) return st;
      long st = 0;
      if (flags & 2) {
        st = typ_sch_define_object(name, current, "", "", nf, nr, &s);
        if (st == 0) s->flags |= static_cast<unsigned long>(flags);
      } else if (flags & 8) {
        st = typ_sch_define_subobj(name, current, "", "", &s);
      } else if (flags & 4) {
        st = typ_sch_define_structure(name, current, "", "", nullptr, nf, nr, &s);
      } else {
        return kStale;
      }
      if (st) return st;
    }
    long pos = -1;
    if (long st = typ_sch_fadd(s, r.name, r.cmn_type, r.db_type, r.gen_id, -1, static_cast<unsigned long>(r.flags),
                               r.array_size, r.precision, r.scale, 0, 0, r.def[0] ? r.def : nullptr, "", &pos))
      return st;
    if (pos != r.spec_id) return kStale;
  }
  return 0;
}

long build_rels(const cache_file& file) {
  long current = kNoType;
  typ_sch_srec* s = nullptr;
  for (const dbs_ty_rdf_rel& r : file.rels) {
    if (r.type_id == kNoType) return kStale;
    if (r.type_id != current) {
      current = r.type_id;
      long flags = 0;
      const char* name = nullptr;
      if (long st = adp_sch_type_info_get(current, &flags, &name, &s)) return st;
      if (!s) return kStale;
    }
    long pos = -1;
    if (long st = typ_sch_define_rel(s, r.name, r.rel_type, r.target, r.gen_id, &pos, r.inverse, r.rel_flags,
                                     r.phys_name, r.focus_field, "", "", static_cast<unsigned long>(r.flags),
                                     r.excl_set))
      return st;
    if (pos != r.spec_id) return kStale;
  }
  return 0;
}

// Count records {type id, field count, relation count}.
long make_counts(const cache_file& file, utl_ty_col** out) {
  std::map<long, obj_id> counts;
  std::vector<long> order;
  auto at = [&](long type) -> obj_id& {
    auto it = counts.find(type);
    if (it == counts.end()) {
      order.push_back(type);
      it = counts.emplace(type, obj_id{type, 0, 0}).first;
    }
    return it->second;
  };
  for (const auto& f : file.fields) ++at(f.type_id).num;
  for (const auto& r : file.rels) ++at(r.type_id).sub;
  if (long st = utl_col_make("dbs_rdf_schema", DBS_TY_OID, 20, 20, 0, 0, out)) return st;
  for (long t : order) utl_col_push(*out, &counts[t], nullptr);
  return 0;
}

}  // namespace

const char* dbs_rdf_getint(const char* p, long* value) {
  const char* end = p;
  while (*end && *end != ',' && *end != ')') ++end;
  if (value) *value = loc_st_atol(std::string(p, end).c_str());
  return *end == ',' ? end + 1 : end;
}

long dbs_rdf_parse_field(const char* line, dbs_ty_rdf_field* r) {
  if (!line || line[0] != '(') return kStale;
  const char* p = line + 1;
  if (!take_text(p, r->name, sizeof r->name)) return kStale;
  long* nums[] = {&r->cmn_type, &r->db_type, &r->array_size, &r->precision, &r->scale,
                  &r->flags,    &r->gen_id,  &r->spec_id,    &r->type_id};
  for (size_t i = 0; i + 1 < sizeof nums / sizeof nums[0]; ++i)
    if (!take_long(p, nums[i], false)) return kStale;
  // The type id ends the line or is followed by the default, which runs to
  // the line's last ')'.
  const char* end = p;
  while (*end && *end != ',' && *end != ')') ++end;
  if (*end == ')') {
    if (!take_long(p, &r->type_id, true) || p[1] != '\0') return kStale;
    r->def[0] = '\0';
    return 0;
  }
  if (*end != ',' || !read_number(p, end, &r->type_id)) return kStale;
  return take_rest(end + 1, r->def, sizeof r->def) ? 0 : kStale;
}

long dbs_rdf_parse_relation(const char* line, dbs_ty_rdf_rel* r) {
  if (!line || line[0] != '(') return kStale;
  const char* p = line + 1;
  bool ok = take_text(p, r->name, sizeof r->name) && take_long(p, &r->rel_type, false) &&
            take_text(p, r->target, sizeof r->target) && take_long(p, &r->gen_id, false) &&
            take_long(p, &r->spec_id, false) && take_text(p, r->inverse, sizeof r->inverse) &&
            take_long(p, &r->rel_flags, false) && take_text(p, r->phys_name, sizeof r->phys_name) &&
            take_text(p, r->focus_field, sizeof r->focus_field) && take_long(p, &r->flags, false) &&
            take_long(p, &r->type_id, false) && take_rest(p, r->excl_set, sizeof r->excl_set);
  return ok ? 0 : kStale;
}

long dbs_rdf_schema(KAdpConnId*, FILE* f, long db_rev, long schema_rev) {
  if (!f) return 0;
  if (long st = check_header(f, db_rev, schema_rev)) return st;
  // The whole file is read and checked before anything reaches the model.
  cache_file file;
  if (long st = read_file(f, &file)) return st;
  if (long st = adp_sch_types_clear()) return st;
  for (const type_row& t : file.types)
    if (long st = adp_sch_type_insert(t.type_id, t.flags, t.name.c_str())) return st;
  utl_ty_col* counts = nullptr;
  if (long st = make_counts(file, &counts)) return st;
  long st = build_fields(file, counts);
  utl_col_free("dbs_rdf_schema", counts);
  if (st) return st;
  if (long s2 = adp_sch_types_sch_init()) return s2;
  return build_rels(file);
}
