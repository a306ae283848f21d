// The object-row model of the statement-text suites, in the real schema
// model and the adapter's type cache: ticket (40) with a field of every
// value type (objid, dev, searchable title, long-text notes, opened date,
// decimal amount, double ratio, count, modification stamp), note (41) that
// points to a ticket through one column (note2ticket) and through the pair
// of physical-name and focus columns (owner_id, owner_type), both kept in
// the note's row, and tag (42)
// linked to tickets through a link table.
#pragma once

struct dbs_ty_lobj;
struct typ_sch_srec;

namespace adp_obj_model {

constexpr long kTicket = 40, kNote = 41, kTag = 42;
// Ticket field positions.
constexpr long kObjid = 0, kDev = 1, kTitle = 2, kNotes = 3, kOpened = 4, kAmount = 5, kRatio = 6, kCount = 7,
               kStamp = 8;

// Builds the model (anew on every call).
void build();
typ_sch_srec* schema(long type_id);

// A local object of the type with the number in its objid slot and every
// field clean; freed by release().
dbs_ty_lobj* make(long type_id, long number);
void release();

}  // namespace adp_obj_model
