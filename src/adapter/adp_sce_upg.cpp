// Data steps of a schema upgrade: a relation's key column carried into an
// exclusive group's columns, the type flags of the dictionary, the upgrade
// journal and the offline feature's tables.
#include <cstdio>
#include <string>

#include "adapter/adp_db.h"
#include "adapter/adp_sce.h"
#include "adapter/adp_sce_int.h"
#include "adapter/adp_sch_upg.h"
#include "adapter/adp_sch_write_int.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb.h"

namespace {

constexpr long kColumnConvert = 3;
constexpr long kRelColumnConvert = 5;
constexpr unsigned long kFlagMask = 0x280000;  // the flags a change record may set or clear
constexpr long kTextSize = 2048;

const char* text_of(const char* s) { return s != nullptr ? s : ""; }

const typ_sch_rrec* rel_at(unsigned long word) { return reinterpret_cast<const typ_sch_rrec*>(word); }

// The columns of one conversion: the old key column, the group's key and
// type columns and the type id the type column takes.
struct conversion {
  std::string key, group_key, type_column;
  long type_id = 0;
};

// Of the record's two relation records the exclusive one names the group's
// columns and its target type; the other (or the record's name) the old key.
bool conversion_of(KAdpConnId* con, const dbs_ty_tbl_change* c, conversion* out) {
  const typ_sch_rrec* first = rel_at(c->operand);
  const typ_sch_rrec* second = rel_at(c->operand2);
  const typ_sch_rrec* group = second != nullptr && second->exclusive != 0 ? second
                              : first != nullptr && first->exclusive != 0 ? first
                                                                          : nullptr;
  if (group == nullptr || group->pschema == nullptr) return false;
  const typ_sch_rrec* plain = group == second ? first : second;
  const char* key = plain != nullptr && plain->exclusive == 0 && plain->fname != nullptr ? plain->fname : c->name;
  out->key = adp_sch_phys(con, text_of(key), kRelColumnConvert);
  out->group_key = adp_sch_phys(con, text_of(group->phys_name), kRelColumnConvert);
  out->type_column = adp_sch_phys(con, text_of(group->focus_field), kColumnConvert);
  out->type_id = group->pschema->type_id;
  return true;
}

std::string mssql_conversion(const conversion& v, const char* source, const char* target) {
  char text[kTextSize];
  std::snprintf(text, sizeof text,
                "DECLARE temp_cur  CURSOR  LOCAL READ_ONLY FORWARD_ONLY FOR\n             \tSELECT %s, objid FROM %s "
                "WHERE %s is NOT NULL\n             DECLARE @count INT, @fkey  INT, @oid INT\n             SET "
                "@count = 0\n             OPEN temp_cur\n             begin transaction\n             FETCH NEXT "
                "FROM temp_cur INTO @fkey, @oid\n             WHILE @@FETCH_STATUS = 0\n             BEGIN\n"
                "\n                UPDATE %s\n\t              SET %s = @fkey, %s = %ld\n                  where "
                "objid = @oid \n                if ((@count%%1000) = 0 )\n                BEGIN\n              "
                "     commit transaction\n                   begin transaction\n                END\n          "
                "      SET @count = (@count+1)\n                FETCH NEXT FROM temp_cur INTO @fkey, @oid\n      "
                "      END\n            commit transaction\n",
                v.key.c_str(), source, v.key.c_str(), target, v.group_key.c_str(), v.type_column.c_str(), v.type_id);
  return text;
}

std::string oracle_conversion(const conversion& v, const char* source, const char* target) {
  char text[kTextSize];
  std::snprintf(text, sizeof text,
                "DECLARE\n\t\t\t\tCURSOR temp_cursor IS SELECT %s, objid FROM %s WHERE %s is NOT NULL;\n\t\t\t\t"
                "counter number default 0;\n\t\t\t\tfrom_rec %s%%ROWTYPE;\nBEGIN\n\t\t\t\t"
                "dbms_transaction.begin_discrete_transaction;\n\t\t\t\t\tFOR temp_rec IN temp_cursor LOOP\n\t\t\t\t\t"
                "\tUPDATE %s\n\t\t\t\t\t\tSET %s = temp_rec.%s, %s = %ld\n\t\t\t\t\t\twhere objid = temp_rec.objid;\n"
                "\n\t\t\t\t\t\tif mod(counter, 1000) = 0 then \n\t\t\t\t\t\tcommit;\n\t\t\t\t\t\tend if;\n\t\t\t\t\t\t"
                "counter := counter+1;\n\t\t\t\t\tEND LOOP;\n\t\t\t\tcommit;\nEND;\n",
                v.key.c_str(), source, v.key.c_str(), source, target, v.group_key.c_str(), v.key.c_str(),
                v.type_column.c_str(), v.type_id);
  return text;
}

}  // namespace

long adp_sce_upgrade_exclusive(KAdpConnId* con, const dbs_ty_tbl_change* change, const char* source,
                               const char* target, FILE* stream, long options) {
  if (long st = adp_db_check_conn(con)) return st;
  // Only a relation joining a group has an old key column to read; the new
  // table holds the group's columns.
  if (change == nullptr || change->op != DBS_RDB_EXCL_NEW) return 0;
  conversion v;
  if (!conversion_of(con, change, &v)) return 0;
  for (const char* name : {source, target, v.key.c_str(), v.group_key.c_str(), v.type_column.c_str()})
    if (long st = adp_sce_check_name(name)) return st;
  if (adp_sce_oracle()) return adp_sce_run_ddl(con, oracle_conversion(v, source, target), stream, options);
  if (adp_sce_mssql()) return adp_sce_run_dml(con, mssql_conversion(v, source, target), stream, options);
  return 0;
}

long adp_sce_modify_flags(KAdpConnId* con, const dbs_ty_tbl_change* change) {
  if (long st = adp_db_check_conn(con)) return st;
  if (change == nullptr || change->schema == nullptr) return 0;
  const long mask = static_cast<long>(kFlagMask);
  const long flags = static_cast<long>(change->operand & kFlagMask);
  const long type_id = change->schema->type_id;
  char text[512];
  if (adp_sce_oracle()) {
    std::snprintf(text, sizeof text,
                  "update adp_tbl_name_map \n \t\t\t\t\t\tset type_flags = type_flags - BITAND(type_flags, %ld) + "
                  "%ld\n \t\t\t\t\t\twhere type_id = %ld",
                  mask, flags, type_id);
  } else {
    std::snprintf(text, sizeof text,
                  "update adp_tbl_name_map set type_flags = \t\t                              (type_flags & ~%ld) | "
                  "%ld where type_id = %ld",
                  mask, flags, type_id);
  }
  return adp_sce_run_dml(con, text, nullptr, 0);
}

long adp_sce_update_detable(KAdpConnId* con, long version, utl_ty_col* /*events*/) {
  if (long st = adp_db_check_conn(con)) return st;
  if (long st = adp_sce_run_dml(con, "update de_table_bind set upgrade_group = 'U' where table_name like 'ADP_%'",
                                nullptr, 0)) {
    return st;
  }
  return adp_sce_run_dml(con, "update de_comm set schema_version = " + std::to_string(version) +
                                  " where node_status = 'S'",
                         nullptr, 0);
}

long adp_sce_insert_upgrade_ops(KAdpConnId* con, long objid, long version, long opcode, const char* object_name,
                                const char* field_name, const char* details) {
  if (long st = adp_db_check_conn(con)) return st;
  const std::string object = adp_sce_literal(object_name);
  const std::string field = adp_sce_literal(field_name);
  const char* literal = details != nullptr && details[0] != '\0' ? details : "''";
  const std::string text = "insert into adp_upgrade_ops (objid, dev, version, opcode, object_name, field_name, "
                           "details) values(" +
                           std::to_string(objid) + ", 1, " + std::to_string(version) + ", " + std::to_string(opcode) +
                           ", '" + object + "', '" + field + "', " + literal + ")\n";
  return adp_sce_run_dml(con, text, nullptr, 0);
}

long adp_sce_get_sequence(KAdpConnId* con, long* highest) {
  char found = 0;
  return adp_sce_read_long(con, "select max(objid) from adp_upgrade_ops", highest, &found);
}
