// Copying a changed table's rows during a schema upgrade: one INSERT ...
// SELECT inside the database (both dialects; SQL Server fills nulls of
// numbers and texts, Oracle turns long texts into large objects during a
// long-text upgrade), and Oracle's copy in ranges of 1001 object ids.
#include "adapter/dialects/adp_dbop_copy.h"

#include <cstdio>
#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_err.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sql.h"
#include "adapter/dialects/adp_dbop_mssql.h"
#include "adapter/dialects/adp_dbop_name.h"
#include "adapter/dialects/adp_dbop_ora.h"
#include "core/utl/utl_col.h"
#include "schema/typ_acc.h"
#include "schema/typ_rec.h"

namespace {

constexpr unsigned long kNoNullFill = 0x80;  // field flag: SQL Server leaves its nulls
constexpr unsigned long kSearchable = 0x100;  // field flag: an upper-case search column follows
constexpr long kIntCode = 0, kTinyIntCode = 2, kCharCode = 6, kVarcharCode = 7, kTextCode = 8, kLongTextCode = 10;
constexpr long kDateFormatPhrase = 34;
constexpr const char kEmptyText[] = "''";

bool is_text(long code) { return code == kTextCode || code == kLongTextCode; }

bool lob_upgrade() {
  char on = 0;
  typ_sch_is_lob_upgrade(&on);
  return on != 0;
}

std::string strip_leading(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b);
}

// The items of a comma-joined list, leading blanks off. A comma inside a
// quoted literal or parentheses belongs to its item.
std::vector<std::string> split_items(const std::string& text) {
  std::vector<std::string> out;
  std::string item;
  bool quoted = false;
  long depth = 0;
  for (char c : text) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && c == '(') ++depth;
    if (!quoted && c == ')' && depth > 0) --depth;
    if (c == ',' && !quoted && depth == 0) {
      out.push_back(strip_leading(item));
      item.clear();
      continue;
    }
    item += c;
  }
  out.push_back(strip_leading(item));
  return out;
}

std::string join(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += separator;
    out += items[i];
  }
  return out;
}

// The substitute of a source item that names a field, or the item itself.
using item_rule = std::string (*)(const typ_sch_frec& field);

std::string mssql_null_fill(const typ_sch_frec& f) {
  if ((f.flags & kNoNullFill) != 0) return "";
  if (f.db_type == kIntCode || f.db_type == kTinyIntCode) return std::string(" isnull(") + f.name + ",0)";
  if (f.db_type == kCharCode || f.db_type == kVarcharCode) return std::string(" isnull(") + f.name + ",'')";
  return "";
}

std::string ora_lob_fill(const typ_sch_frec& f) {
  if (!is_text(f.db_type)) return "";
  return std::string(" NVL(TO_CLOB( ") + f.name + "), EMPTY_CLOB())";
}

// The source list rewritten item by item; the last item is compared
// without the line end that closes the list.
std::string rewrite_sources(const std::vector<std::string>& sources, typ_sch_srec* schema, item_rule rule) {
  std::vector<std::string> items = split_items(join(sources, ", "));
  for (std::string& item : items) {
    for (long i = 0; schema != nullptr && i < schema->nfields; ++i) {
      const typ_sch_frec& f = schema->fields[i];
      if (f.name == nullptr || item != f.name) continue;
      std::string sub = rule(f);
      if (!sub.empty()) item = sub;
      break;
    }
  }
  return join(items, ", ");
}

long index_in(const std::vector<std::string>& list, const char* name) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (name != nullptr && list[i] == name) return static_cast<long>(i);
  }
  return -1;
}

std::string doubled_quotes(const std::string& s) {
  std::string out;
  for (char c : s) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

}  // namespace

std::vector<std::string> adp_dbop_texts(utl_ty_col* col) {
  std::vector<std::string> out;
  long n = 0;
  if (col == nullptr || utl_col_num(col, &n) != 0) return out;
  for (long i = 0; i < n; ++i) {
    void* e = nullptr;
    utl_col_ith(col, i, &e);
    out.emplace_back(e != nullptr ? static_cast<const char*>(e) : "");
  }
  return out;
}

long adp_dbop_run_or_log(KAdpConnId* con, const std::string& text, FILE* log, long flags) {
  if ((flags & ADP_DBOP_DRY_RUN) != 0) {
    if (log != nullptr) std::fprintf(log, "%s\n", text.c_str());
    return 0;
  }
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  if (long st = adp_sql_append(con, stmt, text.c_str())) return st;
  if (long st = adp_sql_parse(con, stmt)) return st;
  if (long st = adp_sql_execute_opt(con, stmt, 0, flags)) return st;
  return adp_sql_free(con, stmt);
}

namespace {

long fill_table(KAdpConnId* con, bool mssql, const char* source, const char* destination, utl_ty_col* source_list,
                utl_ty_col* destination_list, const long* highest_id, FILE* log, long flags, typ_sch_srec* schema) {
  if (long st = adp_dbop_check_name(source, false)) return st;
  if (long st = adp_dbop_check_name(destination, false)) return st;
  const std::vector<std::string> sources = adp_dbop_texts(source_list);
  std::string select;
  if (mssql) {
    select = rewrite_sources(sources, schema, mssql_null_fill);
  } else if (lob_upgrade()) {
    select = rewrite_sources(sources, schema, ora_lob_fill);
  } else {
    select = join(sources, ", ");
  }
  std::string text = std::string("INSERT INTO ") + destination + " (" + join(adp_dbop_texts(destination_list), ", ") +
                     ")\n SELECT " + select + "\n FROM " + source;
  if (highest_id != nullptr) text += "\n WHERE objid <= " + std::to_string(*highest_id);
  return adp_dbop_run_or_log(con, text, log, flags);
}

// Oracle's select list of the range copy, with its quotes as written.
std::string ora_select_list(KAdpDbOperation* op, typ_sch_srec* schema, const std::vector<std::string>& sources,
                            const std::vector<std::string>& destinations, const std::vector<std::string>& kinds) {
  char search = 0;
  adp_db_is_header_flags_set(adp_db_get_head_addr(), ADP_HEAD_UPPER_COLUMNS, &search);
  const bool lob = lob_upgrade();
  const char* date_format = op->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kDateFormatPhrase));
  const char* default_date = adp_obj_default_datetime();
  std::vector<std::string> items;
  for (long i = 0; schema != nullptr && i < schema->nfields; ++i) {
    const typ_sch_frec& f = schema->fields[i];
    std::string item, source;
    if (index_in(sources, f.name) >= 0) {
      source = f.name;
      item = lob && is_text(f.db_type) ? "TO_LOB(" + source + ")" : source;
    } else if (long j = index_in(destinations, f.name); j >= 0) {
      source = j < static_cast<long>(sources.size()) ? sources[j] : "null";
      const bool constant = j < static_cast<long>(kinds.size()) && kinds[j] == "1";
      item = source;
      if (constant && lob && is_text(f.db_type)) {
        item = "EMPTY_CLOB()";
      } else if (constant && source == kEmptyText) {
        item = "null";
      } else if (constant && default_date != nullptr && source == default_date) {
        item = "TO_DATE(" + source + ",'" + date_format + "')";
      }
    } else {
      continue;
    }
    items.push_back(item);
    if (search != 0 && (f.flags & kSearchable) != 0) items.push_back(source == kEmptyText ? "null" : "upper(" + source + ")");
  }
  for (long i = 0; schema != nullptr && i < schema->nrels; ++i) {
    const typ_sch_rel_inst& e = schema->rels[i];
    const typ_sch_rrec* r = e.rel;
    if (r == nullptr || r->type == TYP_REL_MTM || e.side == 'p' || r->exclusive != 0) continue;
    if (index_in(sources, r->fname) >= 0) {
      items.emplace_back(r->fname);
    } else if (long j = index_in(destinations, r->fname); j >= 0 && j < static_cast<long>(sources.size())) {
      items.push_back(sources[j]);
    } else {
      items.emplace_back("null");
    }
  }
  return join(items, ",\n");
}

constexpr const char kOraRangeCopy[] =
    "declare\n   startobj            number;\n   endobj              number;\n   tilobj              number;\nbegin\n"
    "-- DBMS_TRANSACTION.begin_discrete_transaction;\n   select min(objid), max(objid) into startobj, tilobj from "
    "%s;\n   WHILE startobj <= tilobj LOOP\n           endobj  :=  startobj + 1000;\n           execute immediate "
    "'insert into %s select %s  from %s where objid between :startobj and :endobj' USING startobj, endobj;\n"
    "           startobj := endobj + 1;\n           commit;\n   END LOOP;\nend;";

}  // namespace

long KAdpMssqlOperation::SceFillTableFromTable(char* source, char* destination, utl_ty_col* source_list,
                                               utl_ty_col* destination_list, long* highest_id, FILE* log, long flags,
                                               typ_sch_srec* schema) {
  return adp_err_guard([&]() -> long {
    return fill_table(GetConnection(), true, source, destination, source_list, destination_list, highest_id, log,
                      flags, schema);
  });
}

long KAdpOraOperation::SceFillTableFromTable(char* source, char* destination, utl_ty_col* source_list,
                                             utl_ty_col* destination_list, long* highest_id, FILE* log, long flags,
                                             typ_sch_srec* schema) {
  return adp_err_guard([&]() -> long {
    return fill_table(GetConnection(), false, source, destination, source_list, destination_list, highest_id, log,
                      flags, schema);
  });
}

long KAdpOraOperation::SceFillFileFromTable(char*, char*, char*, char*, char* source, char* destination,
                                            typ_sch_srec* schema, utl_ty_col* source_list,
                                            utl_ty_col* destination_list, utl_ty_col* kind_list, FILE* log,
                                            long flags) {
  if (long st = adp_dbop_check_name(source, false)) return st;
  if (long st = adp_dbop_check_name(destination, false)) return st;
  const std::string list = ora_select_list(this, schema, adp_dbop_texts(source_list),
                                           adp_dbop_texts(destination_list), adp_dbop_texts(kind_list));
  KCLASSIC::KZString block;
  block.Format(kOraRangeCopy, source, destination, doubled_quotes(list).c_str(), source);
  return adp_dbop_run_or_log(GetConnection(), static_cast<const char*>(block), log, flags);
}
