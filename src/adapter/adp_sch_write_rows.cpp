// The field rows (adp_sch_info) and relation rows (adp_sch_rel_info) of one
// type, each set written in a transaction of its own.
#include <string>
#include <vector>

#include "adapter/adp_batch.h"
#include "adapter/adp_conn.h"
#include "adapter/adp_msg.h"
#include "adapter/adp_sch_load.h"
#include "adapter/adp_sch_write_int.h"
#include "adapter/adp_sql.h"
#include "adapter/adp_trn.h"
#include "core/cmn/cmn_alrt.h"
#include "schema/typ_rec.h"

namespace {

constexpr unsigned long kStoredRelFlags = 0x60000;  // the entry flags the dictionary keeps
constexpr unsigned long kMarkedEnd = 0x10000;       // stored as its kind plus 8
constexpr long kMarkedKind = 8;
constexpr long kRevRelTexts = 10;   // rel_flags, rel_phy_name and focus_fldname written from here
constexpr long kRevRelFlags = 11;   // flags written from here
constexpr long kRevExclusive = 13;  // exclusive_set written from here

const char* text_of(const char* text) { return text != nullptr ? text : ""; }


long insert_field(KAdpConnId* con, const typ_sch_srec* schema, const typ_sch_frec& f, const long* id) {
  const bool with_comment = f.comment != nullptr && f.comment[0] != '\0';
  const std::string comment = with_comment ? adp_sch_server_text(con, f.comment) : "";
  return adp_sch_run(con, [&](KAdpSqlBatch& b) {
    b << "insert into adp_sch_info "
      << "(type_id, field_name, cmn_type, db_type, "
      << "array_size, flags, gen_field_id, "
      << "spec_field_id, fld_default, comments , dec_p, dec_s ";
    if (id != nullptr) b << ", objid, dev ";
    b << ") VALUES (" << KAdpBindParam(schema->type_id) << "," << KAdpBindParam(f.name) << ","
      << KAdpBindParam(f.data_type) << "," << KAdpBindParam(f.db_type) << "," << KAdpBindParam(f.array_size) << ","
      << KAdpBindParam(static_cast<long>(f.flags)) << "," << KAdpBindParam(f.gen_id) << ","
      << KAdpBindParam(f.spec_id);
    if (f.def != nullptr) {
      b << "," << KAdpBindParam(f.def);
    } else {
      b << ", NULL";
    }
    if (with_comment) {
      b << "," << KAdpBindParam(comment.c_str());
    } else {
      b << ", NULL";
    }
    b << "," << KAdpBindParam(f.dec_precision) << "," << KAdpBindParam(f.dec_scale);
    if (id != nullptr) b << "," << KAdpBindParam(*id) << ", 1";
    b << ")";
  });
}

// The row of one relation end as this type sees it.
struct rel_row {
  const char* name;
  long kind;
  const char* target;
  long gen_id, spec_id;
  const char* inverse;
};

const char* type_name(const typ_sch_srec* s) { return s != nullptr ? s->info->name : ""; }

rel_row row_of(const typ_sch_rrec& r, char side) {
  const long type = r.type & 0xff;
  const bool both_ways = type == TYP_REL_OTM || type == TYP_REL_MTO;
  if (side == 'p') {
    return {text_of(r.pname), type == TYP_REL_MTM ? TYP_REL_MTM : both_ways ? 1L : 4L, type_name(r.fschema),
            r.pgen, r.pspec, text_of(r.fname)};
  }
  return {text_of(r.fname), type == TYP_REL_MTM ? TYP_REL_MTM : both_ways ? 2L : 3L, type_name(r.pschema), r.fgen,
          r.fspec, text_of(r.pname)};
}

long bad_side(long index, const typ_sch_srec* schema) {
  long rc = cmn_alrt_push(nullptr, nullptr, ADP_REL_BAD_SIDE, 2, index, schema->info->name);
  return rc != 0 ? rc : ADP_REL_BAD_SIDE;
}

long insert_rel(KAdpConnId* con, const typ_sch_srec* schema, const typ_sch_rel_inst& e, const typ_sch_rrec& r,
                const long* id) {
  const rel_row row = row_of(r, e.side);
  const long kind = row.kind + ((e.flags & kMarkedEnd) != 0 ? kMarkedKind : 0);
  const bool with_comment = e.comment != nullptr && e.comment[0] != '\0';
  const std::string comment = with_comment ? adp_sch_server_text(con, e.comment) : "";
  const long rev = con->GetRevision(0);
  const long flags = static_cast<long>(e.flags & kStoredRelFlags);
  return adp_sch_run(con, [&](KAdpSqlBatch& b) {
    b << "INSERT INTO adp_sch_rel_info "
      << "(type_id, rel_name, rel_type, target_name, gen_rel_id, "
      << "spec_rel_id, inv_rel_name, comments";
    if (rev >= kRevRelTexts) b << ", " << "rel_flags, rel_phy_name, focus_fldname";
    if (rev >= kRevRelFlags) b << ", flags";
    if (id != nullptr) b << ", objid, dev";
    if (rev >= kRevExclusive) b << ", exclusive_set";
    b << ")" << " VALUES (" << KAdpBindParam(schema->type_id) << "," << KAdpBindParam(row.name) << ","
      << KAdpBindParam(kind) << "," << KAdpBindParam(row.target) << "," << KAdpBindParam(row.gen_id) << ","
      << KAdpBindParam(row.spec_id) << "," << KAdpBindParam(row.inverse);
    if (with_comment) {
      b << "," << KAdpBindParam(comment.c_str());
    } else {
      b << ", ''";
    }
    if (rev >= kRevRelTexts) {
      b << "," << KAdpBindParam(r.exclusive);
      if (r.exclusive != 0) {
        b << "," << KAdpBindParam(text_of(r.phys_name)) << "," << KAdpBindParam(text_of(r.focus_field));
      } else {
        b << ", '', ''";
      }
    }
    if (rev >= kRevRelFlags) b << "," << KAdpBindParam(flags);
    if (id != nullptr) b << "," << KAdpBindParam(*id) << ", 1";
    if (rev >= kRevExclusive) {
      if (r.exclusive != 0) {
        b << "," << KAdpBindParam(text_of(r.excl_set));
      } else {
        b << ", ''";
      }
    }
    b << ")";
  });
}

}  // namespace

long adp_sch_write_fields(KAdpConnId* con, typ_sch_srec* schema, long count, typ_sch_frec* fields) {
  return adp_sch_in_transaction(con, [&]() -> long {
    std::vector<long> ids;
    if (long st = adp_sch_row_ids(con, count, &ids)) return st;
    for (long i = 0; i < count; ++i) {
      const long* id = ids.empty() ? nullptr : &ids[static_cast<size_t>(i)];
      if (long st = insert_field(con, schema, fields[i], id)) return st;
    }
    return 0;
  });
}

long adp_sch_write_rels(KAdpConnId* con, typ_sch_srec* schema) {
  return adp_sch_in_transaction(con, [&]() -> long {
    if (long st = adp_sql_exec_query(con, "delete adp_sch_rel_info where type_id=%ld", schema->type_id)) return st;
    std::vector<long> ids;
    if (long st = adp_sch_row_ids(con, schema->nrels, &ids)) return st;
    for (long i = 0; i < schema->nrels; ++i) {
      const typ_sch_rel_inst& e = schema->rels[i];
      if (e.side != 'p' && e.side != 'f') return bad_side(i, schema);
      const typ_sch_rrec* r = adp_sch_entry_rel(e);
      if (r == nullptr) return bad_side(i, schema);
      const long* id = ids.empty() ? nullptr : &ids[static_cast<size_t>(i)];
      if (long st = insert_rel(con, schema, e, *r, id)) return st;
    }
    return 0;
  });
}

long adp_sch_write_rel_entry(KAdpConnId* con, typ_sch_srec* schema, long position) {
  if (position < 0 || position >= schema->nrels) return bad_side(position, schema);
  const typ_sch_rel_inst& e = schema->rels[position];
  const typ_sch_rrec* r = adp_sch_entry_rel(e);
  if ((e.side != 'p' && e.side != 'f') || r == nullptr) return bad_side(position, schema);
  std::vector<long> ids;
  if (long st = adp_sch_row_ids(con, 1, &ids)) return st;
  return insert_rel(con, schema, e, *r, ids.empty() ? nullptr : &ids[0]);
}
