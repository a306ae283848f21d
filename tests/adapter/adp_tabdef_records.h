// Hand-made schema records of one object type for the table-definition
// suites.
#pragma once

#include <vector>

#include "schema/typ_rec.h"

// A type's hand-made records: fields objid, title and group2other, and its
// relation entries.
struct type_records {
  std::vector<typ_sch_frec> fields;
  std::vector<typ_sch_rrec> rels;
  std::vector<typ_sch_rel_inst> entries;
  typ_sch_srec schema{};

  type_records() {
    for (const char* n : {"objid", "title", "Group2Other"}) {
      typ_sch_frec f{};
      f.name = const_cast<char*>(n);
      fields.push_back(f);
    }
    rels.reserve(8);
    rel("case2site", TYP_REL_MTO, 'f');
    rel("site2case", TYP_REL_OTM, 'p');            // primary side: no column
    rel("case2tag", TYP_REL_MTM, 'f');             // link table: no column
    rel("owner2user", TYP_REL_MTO, 'f', "group2owner", "gr_type_owner");
    rel("owner2team", TYP_REL_MTO, 'f', "group2owner", "gr_type_owner");  // same set: written once
    rel("other2user", TYP_REL_MTO, 'f', "group2other", "gr_type_other");  // id column is a field
    rel("case2lead", TYP_REL_OTOF, 'f');
    schema.nfields = static_cast<long>(fields.size());
    schema.fields = fields.data();
    schema.nrels = static_cast<long>(entries.size());
    schema.rels = entries.data();
  }
  void rel(const char* fname, long type, char side, const char* id = nullptr, const char* type_col = nullptr) {
    typ_sch_rrec r{};
    r.fname = const_cast<char*>(fname);
    r.type = type;
    r.exclusive = id != nullptr ? 1 : 0;
    r.phys_name = const_cast<char*>(id);
    r.focus_field = const_cast<char*>(type_col);
    rels.push_back(r);
    typ_sch_rel_inst e{};
    e.rel = &rels.back();
    e.side = side;
    entries.push_back(e);
  }
};
