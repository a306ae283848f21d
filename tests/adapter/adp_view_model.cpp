#include "adapter/adp_view_model.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "adapter/adp_conn.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_estr.h"
#include "schema/typ_bld.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

#define ADP_ID " CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0"
#define ADP_TEXT " CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=7 ARRAY_SIZE=30"

const char kAdpViewTypes[] =
    "OBJECT site 11 FIELDS objid" ADP_ID " GEN_FIELD_ID=3, name" ADP_TEXT " FIELDS_END\n"
    "RELATIONS site2contact OTM contact INV_REL=contact2site, site2note OTM note INV_REL=note2site RELATIONS_END\n"
    "OBJECT_END;\n"
    "OBJECT contact 10 FIELDS objid" ADP_ID " GEN_FIELD_ID=3, first_name" ADP_TEXT " SEARCHABLE, last_name" ADP_TEXT
    " FIELDS_END\n"
    "RELATIONS contact2site MTO site INV_REL=site2contact, contact2tag MTM tag INV_REL=tag2contact,\n"
    " contact2note OTM note INV_REL=note2contact RELATIONS_END\n"
    "OBJECT_END;\n"
    "OBJECT tag 12 FIELDS objid" ADP_ID " GEN_FIELD_ID=3, label" ADP_TEXT " FIELDS_END\n"
    "RELATIONS tag2contact MTM contact INV_REL=contact2tag RELATIONS_END\n"
    "OBJECT_END;\n"
    "OBJECT note 13 FIELDS objid" ADP_ID " GEN_FIELD_ID=3, memo" ADP_TEXT " FIELDS_END\n"
    "RELATIONS EXCLUSIVE g note2contact MTO contact INV_REL=contact2note,\n"
    " EXCLUSIVE g note2site MTO site INV_REL=site2note RELATIONS_END\n"
    "OBJECT_END;\n";

const char kAdpViews[] =
    "VIEW contact_site 20 ALIAS contact c, site s FIELDS first FROM c.first_name, site FROM s.name FIELDS_END\n"
    " JOINS c.contact2site = s.site2contact JOINS_END VIEW_END;\n"
    "VIEW contact_any_site 21 FIELDS first FROM contact.first_name, site FROM site.name FIELDS_END\n"
    " JOINS contact.contact2site = OUTER site.site2contact JOINS_END VIEW_END;\n"
    "VIEW site_any_contact 22 FIELDS site FROM site.name, first FROM contact.first_name FIELDS_END\n"
    " JOINS site.site2contact = OUTER contact.contact2site JOINS_END VIEW_END;\n"
    "VIEW contact_tags 23 FIELDS first FROM contact.first_name, label FROM tag.label FIELDS_END\n"
    " JOINS contact.contact2tag = tag.tag2contact JOINS_END VIEW_END;\n"
    "VIEW site_notes 24 FIELDS site FROM site.name, memo FROM note.memo FIELDS_END\n"
    " JOINS site.site2note = OUTER note.note2site JOINS_END VIEW_END;\n"
    "VIEW contact_notes 25 ALIAS contact c, note n FIELDS first FROM c.first_name, memo FROM n.memo FIELDS_END\n"
    " JOINS c.contact2note = n.note2contact JOINS_END VIEW_END;\n"
    "VIEW note_contacts 26 FIELDS memo FROM note.memo, first FROM contact.first_name FIELDS_END\n"
    " JOINS note.note2contact = OUTER contact.contact2note JOINS_END VIEW_END;\n"
    "VIEW contact_any_tag 27 ALIAS contact c, tag t FIELDS first FROM c.first_name, label FROM t.label FIELDS_END\n"
    " JOINS c.contact2tag = OUTER t.tag2contact JOINS_END VIEW_END;\n"
    "VIEW site_contact_note 28 ALIAS site s, contact c, note n FIELDS site FROM s.name, first FROM c.first_name,\n"
    " memo FROM n.memo FIELDS_END JOINS s.site2contact = c.contact2site, c.contact2note = OUTER n.note2contact\n"
    " JOINS_END VIEW_END;\n"
    "VIEW wide 29 FIELDS f1 FROM contact.first_name, f2 FROM contact.last_name, f3 FROM site.name,\n"
    " f4 FROM tag.label, f5 FROM note.memo, f6 FROM contact.objid, f7 FROM site.objid FIELDS_END\n"
    " JOINS contact.contact2site = site.site2contact, contact.contact2tag = tag.tag2contact,\n"
    " contact.contact2note = note.note2contact JOINS_END VIEW_END;\n"
    "VIEW sqlv 30 BASE_TABLE=contact SQL=\"select objid, first_name, last_name, contact2site, objid + 1, "
    "upper(first_name) from table_contact\" FIELDS a CMN_DATA_TYPE=512 DB_DATA_TYPE=0 GEN_FIELD_ID=3, "
    "b DB_DATA_TYPE=7, c DB_DATA_TYPE=7, d DB_DATA_TYPE=0, e DB_DATA_TYPE=0, f DB_DATA_TYPE=7 FIELDS_END VIEW_END;\n"
    "VIEW contacts 31 FIELDS first FROM contact.first_name, last FROM contact.last_name FIELDS_END VIEW_END;\n"
    "VIEW sites_with_contacts 32 FIELDS site FROM site.name FIELDS_END\n"
    " JOINS contact.contact2site = site.site2contact JOINS_END VIEW_END;\n";

const char kAdpIdViews[] =
    "VIEW site_id_inner 40 FIELDS first FROM contact.first_name, site_id FROM site.objid FIELDS_END\n"
    " JOINS contact.contact2site = site.site2contact JOINS_END VIEW_END;\n"
    "VIEW site_id_optional 41 FIELDS first FROM contact.first_name, site_id FROM site.objid,\n"
    " label FROM tag.label FIELDS_END\n"
    " JOINS contact.contact2site = OUTER site.site2contact, contact.contact2tag = tag.tag2contact\n"
    " JOINS_END VIEW_END;\n"
    "VIEW site_id_kept 42 FIELDS first FROM contact.first_name, site_id FROM site.objid FIELDS_END\n"
    " JOINS site.site2contact = OUTER contact.contact2site JOINS_END VIEW_END;\n"
    "VIEW note_owner 43 FIELDS memo FROM note.memo, contact_id FROM contact.objid FIELDS_END\n"
    " JOINS note.note2contact = contact.contact2note JOINS_END VIEW_END;\n"
    "VIEW note_owner_kept 44 FIELDS memo FROM note.memo, site_id FROM site.objid FIELDS_END\n"
    " JOINS site.site2note = OUTER note.note2site JOINS_END VIEW_END;\n";

const char kAdpWorkedExample[] =
    "OBJECT T1 50 FIELDS objid CMN_DATA_TYPE=512 DB_DATA_TYPE=0 GEN_FIELD_ID=3, x DB_DATA_TYPE=0 "
    "FIELDS_END RELATIONS t2s OTM T2 INV_REL=fk RELATIONS_END OBJECT_END;\n"
    "OBJECT T2 51 FIELDS objid CMN_DATA_TYPE=512 DB_DATA_TYPE=0 GEN_FIELD_ID=3, y DB_DATA_TYPE=0 "
    "FIELDS_END RELATIONS fk MTO T1 INV_REL=t2s RELATIONS_END OBJECT_END;\n"
    "VIEW V 52 FIELDS a FROM T1.x, b FROM T2.y FIELDS_END JOINS T1.t2s = T2.fk JOINS_END VIEW_END;\n";

long adp_view_model::compile(const std::string& views) {
  adp_model_type_ranges();
  // A fresh model each time.
  typ_sch_free();
  EXPECT_EQ(typ_sch_alloc(), 0);
  typ_bld_init();
  const char* path = "view_schema.txt";
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return -1;
  const std::string text = std::string(kAdpViewTypes) + views;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  return typ_bld_compile_model(nullptr, path, 0);
}

long adp_view_model::eliminate_joins() { return typ_sch_optimize_view(); }

typ_sch_srec* adp_view_model::view(const char* name) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(-1, name, &s);
  return s;
}

std::string adp_view_model::sql(KAdpConnId* con, const char* name, long* status) {
  utl_ty_estr* text = nullptr;
  typ_sch_srec* v = view(name);
  EXPECT_NE(v, nullptr) << name;
  if (v == nullptr) return "";
  const long st = con->GetDbOperation()->SchViewDefSql(con, v, &text);
  if (status != nullptr) *status = st;
  if (st != 0 || text == nullptr) return "";
  std::string out = utl_estr_get(text);
  utl_estr_free("test", text);
  return out;
}
