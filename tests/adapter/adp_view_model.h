// Schemas with views for the view-definition suites, compiled from the
// schema language as the schema layer compiles them, and the CREATE VIEW
// text a dialect makes of one view.
#pragma once

#include <string>

#include "adapter/adp_model.h"

class KAdpConnId;
struct typ_sch_srec;

// Object types site (11), contact (10), tag (12) and note (13): a contact
// works at one site (contact2site) and carries tags (contact2tag, a link
// table); notes belong to a contact or a site, one at a time (exclusive set
// g: columns group2g and gr_type_g). Views are added after them.
extern const char kAdpViewTypes[];
// Views over them: each join kind with and without aliases, a link table,
// exclusive relations, a chain, long lists, an SQL-defined view, a view
// without joins, and one reading site names through contacts.
extern const char kAdpViews[];
// Views whose far type gives only its object id: after join elimination
// their joins test the foreign key alone.
extern const char kAdpIdViews[];
// The worked example: view V (a from T1.x, b from T2.y) over one inner join
// of T1 (primary) and T2 (foreign, key column fk).
extern const char kAdpWorkedExample[];

class adp_view_model : public adp_model {
 public:
  // Compiles the types and the views into a fresh model (0 or the status).
  long compile(const std::string& views);
  // Drops the joins whose far type gives only its object id (join
  // elimination, as the schema writer does before writing views).
  long eliminate_joins();
  typ_sch_srec* view(const char* name);
  // The dialect's text of the view ("" and the status on failure).
  std::string sql(KAdpConnId* con, const char* view, long* status = nullptr);
};
