// What both dialects read of a view's schema record to write its CREATE
// VIEW text: the origins of its fields, its joins, the tables it selects
// from, the aliases of its alias block, and the physical names of them all.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "schema/typ_rec.h"

class KAdpConnId;
struct utl_ty_estr;

namespace adp_view {

constexpr unsigned long kSqlDefined = 0x100000;   // view flag: the view is its own SQL text
constexpr unsigned long kDistinct = 0x20;         // view flag: distinct rows
constexpr unsigned long kColumnJoin = 0x10000000; // join flag: only the foreign key column is tested
constexpr unsigned long kSearchable = 0x100;      // field flag

// join_flag of a join: which side is optional.
constexpr long kInnerJoin = 0;
constexpr long kPrimaryOptional = 1;
constexpr long kForeignOptional = 2;

// Where a view column comes from: a field of a type, or (relation) the key
// column of a relation, in the foreign side's table.
struct origin {
  typ_sch_srec* type = nullptr;
  const char* alias = "";
  const char* column = "";
  bool relation = false;
};

// One join of the view.
struct join {
  typ_sch_rrec* rel = nullptr;
  long flag = kInnerJoin;
  bool column_join = false;
  bool mtm = false;
  bool exclusive = false;  // the key column is the set's id column, with a type column
  const char* palias = "";
  const char* falias = "";
  const char* key = "";    // the key column, in the foreign side's table
};

// Appends printf-formatted text.
void appendf(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

class reader {
 public:
  reader(KAdpConnId* con, typ_sch_srec* view) : con_(con), view_(view) {}

  // Physical names: a table or alias, a column, a relation's column, a
  // search column ("" unless the database has search columns).
  std::string table(const char* logical) const;
  std::string column(const char* logical) const;
  std::string rel_column(const char* logical) const;
  std::string search(const char* logical) const;

  const char* name() const;
  long fields() const { return view_->nfields; }
  long joins() const { return view_->nrels; }
  bool searchable(long field) const { return (view_->fields[field].flags & kSearchable) != 0; }
  const char* field_name(long field) const { return view_->fields[field].name; }

  long origin_of(long field, origin* out) const;
  long join_at(long i, join* out) const;
  // The name of the type's object-id field; 0x500009 naming the type when
  // it has none.
  long objid_column(const typ_sch_srec* type, const char** out) const;
  // Whether the current database header has search columns.
  long search_columns(bool* out) const;
  // The types the FROM list names without an alias, in first-seen order.
  long table_set(std::vector<const typ_sch_srec*>* out) const;
  // The alias block's (type name, alias) pairs.
  std::vector<std::pair<const char*, const char*>> alias_pairs() const;
  // Pushes 0x60002f for an outer join over a many-to-many relation.
  long mtm_outer(const join& j, const char* primary, const char* foreign) const;
  // The statement of a view defined by its own SQL text.
  long sql_defined(bool oracle, std::string* out) const;

 private:
  std::string phys(long kind, const char* logical) const;

  KAdpConnId* con_;
  typ_sch_srec* view_;
};

// A new extensible string holding text.
long hand_out(const std::string& text, utl_ty_estr** out);
// Refuses a missing view record or result address.
long check_arguments(const typ_sch_srec* view, utl_ty_estr** out);

}  // namespace adp_view
