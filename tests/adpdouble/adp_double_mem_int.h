// The in-memory database's storage, shared by its files.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "adpdouble/adp_double_mem.h"

struct typ_sch_srec;

namespace adp_mem {

// One field value: a long held in the slot, a text, or the bytes of a boxed
// value (float, date, double, decimal).
struct cell {
  bool present = false;
  bool inline_value = false;
  bool text = false;
  long word = 0;
  std::string bytes;
};

struct row {
  obj_id id{};
  std::vector<cell> cells;
  std::map<std::string, long> fks;  // lower-case column -> number (0 = null)
};

struct link_row {
  const typ_sch_rrec* rel;
  long primary;
  long foreign;
  obj_id row_id;
};

struct database {
  std::vector<row> rows;
  std::vector<link_row> links;
};

struct queued {
  bool is_object;
  dbs_ty_lobj* object;
  char create, del;
  long option;
  obj_id a, b, link_row;
  long rel_id;
  char relate;
};

struct store {
  bool on = false;
  bool nocase = false;
  store_procs procs{};
  database db;
  std::vector<database> undo;  // the database at each open transaction level
  std::vector<queued> queue;
  long batch_runs = 0;
  long sql_executions = 0;
  long sql_commands = 0;  // pass-through statements applied
  std::vector<std::string> sql_log;
};

store& st();
row* find_row(const obj_id& id);
typ_sch_srec* schema_of(long type_id);
// Values of a local object into a row and back.
long read_object(dbs_ty_lobj* object, row* out);
long write_object(const row& r, dbs_ty_lobj* object);
// The relation of a type by relation id: its record and the type's side.
bool relation_of(long type_id, long rel_id, typ_sch_rrec** rel, char* side);
// The foreign-key column of a relation held by a key (lower case).
std::string fk_column(const typ_sch_rrec* rel);
// Numbers of the objects related to number `num` of the type by the relation.
std::vector<obj_id> related_of(const obj_id& id, long rel_id);
// Whether the row meets the description's conditions (all of them).
long meets(const row& r, void* desc, bool* ok);
std::string lower(std::string text);
// Forgets the SQL batch's statements and result sets.
void sql_reset();
// Pushes an alert of the object store with the double's texts.
long push(long code);

}  // namespace adp_mem
