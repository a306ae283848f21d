// A CRM-like schema model for the query suites, in the real schema model
// and the adapter's type cache: case (10), site (11), contact (12) and note
// (14) with their object ids, a foreign-key relation (case2site /
// site2case), a link-table relation (site2contact / contact2site), a
// relation of a type with itself (parent / children) and a relation with a
// type column (note2case / case2note, column note_owner, type in
// owner_type).
#pragma once

struct typ_sch_srec;

namespace adp_qry_model {

constexpr long kCase = 10, kSite = 11, kContact = 12, kNote = 14;
// Field positions.
constexpr long kCaseObjid = 0, kCaseTitle = 1, kCaseStatus = 2, kCaseAmount = 3, kCaseOpened = 4, kCaseFlags = 5;
constexpr long kSiteObjid = 0, kSiteName = 1;
constexpr long kContactObjid = 0, kContactLastName = 1;

// Builds the model (once per call: the model and the cache are emptied).
void build();
typ_sch_srec* schema(long type_id);
// Relation position of the named relation in the type's schema.
long rel(long type_id, const char* name);

// No schema of the model keeps a mark of a path.
bool unmarked();

}  // namespace adp_qry_model
