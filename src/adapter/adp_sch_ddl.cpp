// Table DDL of the schema: the CREATE TABLE text of a type (finished by the
// dialect), the table itself, its object-id and named unique indexes, the
// link tables of many-to-many relations with their index, the foreign-key
// columns of the other relations, one new column, and the DDL file the
// Oracle statements are printed into. Names reach DDL only as plain names.
#include <cstdio>
#include <string>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_usr.h"
#include "adapter/dialects/adp_dbop.h"
#include "adapter/dialects/adp_dbop_name.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_db.h"

namespace {

constexpr long kTableConvert = 0;
constexpr long kIndexConvert = 1;
constexpr long kColumnConvert = 3;
constexpr long kSearchColumnConvert = 4;
constexpr long kRelColumnConvert = 5;
constexpr long kLinkIndexConvert = 10;
constexpr long kClusterPhrase = 1;
constexpr long kObjidGenId = 0x1000003;
constexpr long kTextSize = 256;      // the CREATE TABLE text's first size and growth
constexpr long kTypeTextSize = 64;
constexpr long kTextType = 516;
constexpr long kRoom = 10;
constexpr long kColumnsPerLine = 3;
constexpr unsigned long kOraNullable = 0x80;
constexpr unsigned long kMssqlNullable = 0x84;
constexpr unsigned long kSearchable = 0x100;
constexpr long kLongTextTypes[] = {8, 10};  // Oracle CLOB columns
constexpr const char kOwner[] = "adp_sch_ddl";

const char* text_of(const char* text) { return text != nullptr ? text : ""; }

bool upper_columns(KAdpConnId* con) { return (con->GetHeader()->flags & ADP_HEAD_UPPER_COLUMNS) != 0; }

const char* cluster_phrase(KAdpConnId* con) {
  return con->GetDbOperation()->GetDbSpecificStr(static_cast<KAdpDbOperation::str_type>(kClusterPhrase));
}

long type_text(const typ_sch_frec& f, char* out) {
  return adp_sch_convert_to_string(f.db_type, f.array_size, f.dec_precision, f.dec_scale, out, kTypeTextSize);
}

// The null clause of a column in the CREATE TABLE text.
const char* null_rule(const typ_sch_frec& f) {
  if (adp_db_is_db_mssql()) return (f.flags & kMssqlNullable) != 0 ? " NULL " : " NOT NULL ";
  if ((f.flags & kOraNullable) == 0) return "";
  for (long t : kLongTextTypes) {
    if (f.db_type == t) return "  DEFAULT EMPTY_CLOB()";
  }
  return " null";
}

// SQL Server's NOT NULL of a created table's column.
const char* mssql_not_null(const typ_sch_frec& f) {
  return adp_db_is_db_mssql() && (f.flags & kMssqlNullable) == 0 ? " NOT NULL " : "";
}

long check_names(std::initializer_list<const std::string*> names) {
  for (const std::string* n : names) {
    if (long st = adp_dbop_check_name(n->c_str(), false)) return st;
  }
  return 0;
}

long table_columns(KAdpConnId* con, typ_sch_srec* schema, utl_ty_estr* text, FILE* stream) {
  const bool search = upper_columns(con);
  for (long i = 0; i < schema->nfields; ++i) {
    const typ_sch_frec& f = schema->fields[i];
    char type[kTypeTextSize] = "";
    if (long st = type_text(f, type)) return st;
    const std::string column = adp_sch_phys(con, f.name, kColumnConvert);
    if (long st = utl_estr_aprintf(text, "%s%s %s %s", i == 0 ? "" : ",", i % kColumnsPerLine == 0 ? "\n " : "",
                                   column.c_str(), type)) {
      return st;
    }
    if (long st = utl_estr_append(text, null_rule(f))) return st;
    const bool searchable = search && (f.flags & kSearchable) != 0;
    const std::string search_column = searchable ? adp_sch_phys(con, f.name, kSearchColumnConvert) : "";
    if (searchable) {
      if (long st = utl_estr_aprintf(text, ", %s %s ", search_column.c_str(), type)) return st;
    }
    if (stream != nullptr) {
      std::fprintf(stream, "%s%s %s", i == 0 ? " " : ",", text_of(f.name), type);
      if (searchable) std::fprintf(stream, ", %s %s", search_column.c_str(), type);
    }
  }
  return 0;
}

std::string link_table(KAdpConnId* con, const typ_sch_rrec* rel) {
  return adp_sch_phys(con, rel->mtm_table, kTableConvert);
}

// The name mapper of a connection, or of a fresh one when none is current.
std::string phys_any(const char* logical, long convert) {
  KAdpConnId* con = adp_db_get_conn();
  if (con != nullptr) return adp_sch_phys(con, logical, convert);
  static KAdpNameMapper mapper;
  return static_cast<const char*>(
      mapper.GetPhys(text_of(logical), static_cast<KAdpNameMapper::convert_type>(convert), 0, nullptr));
}

long create_link_table(KAdpConnId* con, typ_sch_rrec* rel) {
  const std::string table = link_table(con, rel);
  if (long st = adp_dbop_check_name(table.c_str(), false)) return st;
  char exists = 0;
  if (long st = adp_sch_does_tbl_exist(con, table.c_str(), &exists)) return st;
  if (exists != 0) return 0;
  char roamer = 0;
  dbs_db_if_roamer_enabled(con, &roamer);
  if (long st = adp_sch_run_ddl(con, adp_sch_mtm_table_def(rel, roamer), false)) return st;
  if (adp_db_is_db_mssql()) {
    if (long st = adp_usr_table_grant(con, table.c_str(), 0, 0)) return st;
    return adp_sch_create_mtm_index(con, rel, 0);
  }
  return adp_sch_run_ddl(con, "create public synonym " + table + " for " + table, false);
}

long create_key_columns(KAdpConnId* con, typ_sch_rrec* rel) {
  const std::string table = adp_sch_phys(con, rel->fschema != nullptr ? rel->fschema->info->name : "", kTableConvert);
  const bool pair = rel->exclusive != 0;
  const std::string column = adp_sch_phys(con, pair ? rel->phys_name : rel->fname, kRelColumnConvert);
  const std::string focus =
      rel->focus_field != nullptr && rel->focus_field[0] != '\0' ? adp_sch_phys(con, rel->focus_field, kColumnConvert)
                                                                 : "";
  const bool two = pair && !focus.empty();
  if (long st = check_names({&table, &column})) return st;
  if (two) {
    if (long st = check_names({&focus})) return st;
  }
  const bool oracle = adp_db_is_db_oracle() != 0;
  if (oracle && adp_sch_ddl != nullptr) {
    if (two) {
      std::fprintf(adp_sch_ddl, "alter table %s add %s number NULL, %s number NULL\n\n", table.c_str(), column.c_str(),
                   focus.c_str());
    } else {
      std::fprintf(adp_sch_ddl, "alter table %s add %s number NULL\n\n", table.c_str(), column.c_str());
    }
  }
  char exists = 0;
  if (long st = adp_sch_does_col_exist(con, table.c_str(), column.c_str(), &exists)) return st;
  if (exists != 0) return 0;
  if (two) {
    return adp_sql_exec_query(con, oracle ? "ALTER TABLE %s ADD (%s number null, %s number null)"
                                          : "ALTER TABLE %s ADD %s int null, %s int null",
                              table.c_str(), column.c_str(), focus.c_str());
  }
  return adp_sql_exec_query(con, oracle ? "ALTER TABLE %s ADD %s number null" : "ALTER TABLE %s ADD %s int null",
                            table.c_str(), column.c_str());
}

}  // namespace

long adp_sch_table_def(KAdpConnId* con, typ_sch_srec* schema, const char* table, FILE* stream, char flag,
                       utl_ty_estr** out) {
  if (long st = adp_db_check_conn(con)) return st;
  const std::string name = table != nullptr ? table : adp_sch_phys(con, schema->info->name, kTableConvert);
  utl_ty_estr* text = nullptr;
  if (long st = utl_estr_create(kOwner, "", kTextSize, kTextSize, &text)) return st;
  utl_ty_col* written = nullptr;
  long st = utl_estr_aprintf(text, "create table %s\n (", name.c_str());
  if (stream != nullptr) std::fprintf(stream, "create table %s\n (", name.c_str());
  if (st == 0) st = table_columns(con, schema, text, stream);
  if (st == 0) st = utl_col_make(kOwner, kTextType, kRoom, kRoom, 0, 0, &written);
  long count = schema->nfields;
  if (st == 0) st = con->GetDbOperation()->SchTableDef(schema, flag, written, text, &count, name.c_str(), stream);
  if (written != nullptr) utl_col_free(kOwner, written);
  if (st != 0) {
    utl_estr_free(kOwner, text);
    return st;
  }
  *out = text;
  return 0;
}

long adp_sch_create_table(KAdpConnId* con, typ_sch_srec* schema, const char* table) {
  const std::string name = text_of(table);
  if (long st = adp_dbop_check_name(name.c_str(), false)) return st;
  const bool search = upper_columns(con);
  const bool print = adp_db_is_db_oracle() && adp_sch_ddl != nullptr;
  std::string text = "CREATE TABLE " + name + " ( ";
  for (long i = 0; i < schema->nfields; ++i) {
    const typ_sch_frec& f = schema->fields[i];
    char type[kTypeTextSize] = "";
    if (long st = type_text(f, type)) return st;
    if (i > 0) text += " , ";
    text += adp_sch_phys(con, f.name, kColumnConvert) + " " + type + mssql_not_null(f);
    if (search && (f.flags & kSearchable) != 0) {
      text += " , " + adp_sch_phys(con, f.name, kSearchColumnConvert) + " " + type + mssql_not_null(f);
    }
    if (print) std::fprintf(adp_sch_ddl, ", %s %s ", text_of(f.name), type);
  }
  text += " )";
  if (print) std::fputs(")", adp_sch_ddl);
  KAdpSqlBatch* b = con->GetSqlBatch(1);
  *b << text.c_str();
  if (long st = b->GetStatus()) return st;
  KAdpDbOperation* op = con->GetDbOperation();
  std::string phys = name;
  if (long st = op->LookUpPhysicalStorageParams(phys.data(), nullptr)) return st;
  long st = b->ExecDdl();
  b->Reset();
  if (st != 0) return st;
  return op->CreateSynonym(phys.data());
}

long adp_sch_create_objid_index(KAdpConnId* con, typ_sch_srec* schema, FILE* stream, long options) {
  const std::string table = adp_sch_phys(con, schema->info->name, kTableConvert);
  long objid = -1;
  if (long st = typ_sch_gen_to_sp(schema, kObjidGenId, &objid)) {
    if ((schema->flags & TYP_SCH_VIEW) == 0) return st;
    cmn_alrt_clear(nullptr);
    return 0;
  }
  const char* field = schema->fields[objid].name;
  const std::string index = adp_sch_phys(con, field, kIndexConvert, schema->type_id, schema);
  const std::string column = adp_sch_phys(con, field, kColumnConvert);
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  const std::string format = std::string("create unique ") + cluster_phrase(con) + " index %s ON %s (%s)";
  char text[1024];
  std::snprintf(text, sizeof text, format.c_str(), index.c_str(), table.c_str(), column.c_str());
  if (long st = adp_sql_append(con, stmt, text)) return st;
  // A statement that is only written goes to the caller's script.
  if ((options & 1) != 0 && stream != nullptr) std::fprintf(stream, "%s\n", text);
  long st = adp_sql_parse_ddl_opt(con, stmt, 0, options);
  adp_sql_free(con, stmt);
  return st;
}

long adp_sch_create_cluster_index(KAdpConnId* con, const char* base, const char* columns, long, long, long option) {
  const std::string table = adp_sch_phys(con, base, kTableConvert);
  const std::string format = std::string("create unique ") + cluster_phrase(con) + " index %s_objindexx on %s (%s)";
  char text[1024];
  std::snprintf(text, sizeof text, format.c_str(), text_of(base), table.c_str(), text_of(columns));
  void* stmt = nullptr;
  if (long st = adp_sql_create(con, &stmt)) return st;
  if (long st = adp_sql_append(con, stmt, text)) return st;
  long st = adp_sql_parse(con, stmt);
  if (st == 0) st = adp_sql_execute_opt(con, stmt, 0, option);
  adp_sql_free(con, stmt);
  return st;
}

const char* adp_sch_mtm_table_def(typ_sch_rrec* rel, long roamer) {
  static std::string buffer;
  const std::string table = phys_any(rel->mtm_table, kTableConvert);
  const std::string first = phys_any(rel->pname, kRelColumnConvert);
  const std::string second = phys_any(rel->fname, kRelColumnConvert);
  const bool mssql = adp_db_is_db_mssql() != 0;
  const char* number = mssql ? "int" : "number";
  buffer = "CREATE TABLE " + table + " (";
  if (roamer != 0) buffer += std::string("objid ") + number + " NULL, dev " + number + " NULL, ";
  buffer += first + " " + number + " NOT NULL, " + second + " " + number + " NOT NULL)";
  return buffer.c_str();
}

long adp_sch_create_mtm_index(KAdpConnId* con, typ_sch_rrec* rel, long /*flag*/) {
  const std::string table = link_table(con, rel);
  return adp_sch_run_ddl(con,
                         "CREATE UNIQUE INDEX " + adp_sch_phys(con, rel->mtm_table, kLinkIndexConvert) + " ON " +
                             table + " ( " + adp_sch_phys(con, rel->pname, kRelColumnConvert) + " , " +
                             adp_sch_phys(con, rel->fname, kRelColumnConvert) + ")",
                         false);
}

long adp_sch_rel_create(KAdpConnId* con, typ_sch_rrec* rel) {
  if (long st = adp_db_check_conn(con)) return st;
  if ((rel->type & 0xff) == TYP_REL_MTM) return create_link_table(con, rel);
  return create_key_columns(con, rel);
}

long adp_sch_field_create(KAdpConnId* con, const char* type_name, const char* column, long db_type, long length,
                          long precision, long scale) {
  const std::string table = adp_sch_phys(con, type_name, kTableConvert);
  const std::string name = text_of(column);
  if (long st = check_names({&table, &name})) return st;
  char type[kTypeTextSize] = "";
  if (long st = adp_sch_convert_to_string(db_type, length, precision, scale, type, kTypeTextSize)) return st;
  return adp_sql_parse_ddl_now(con, "alter table %s add %s %s NULL", table.c_str(), name.c_str(), type);
}

long adp_sch_open_ddl_file() {
  KAdpConnId* con = adp_db_get_conn();
  if (long st = adp_db_check_conn(con)) return st;
  adp_sch_close_ddl_file();
  return con->GetDbOperation()->OpenDdlFile(&adp_sch_ddl);
}

long adp_sch_close_ddl_file() {
  if (adp_sch_ddl != nullptr) std::fclose(adp_sch_ddl);
  adp_sch_ddl = nullptr;
  return 0;
}
