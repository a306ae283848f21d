#include "adapter/adp_view_model.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "adapter/adp_conn.h"
#include "adapter/dialects/adp_dbop.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_typ.h"
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
    "OBJECT note 13 FIELDS objid" ADP_ID " GEN_FIELD_ID=3, body" ADP_TEXT " FIELDS_END\n"
    "RELATIONS EXCLUSIVE g note2contact MTO contact INV_REL=contact2note,\n"
    " EXCLUSIVE g note2site MTO site INV_REL=site2note RELATIONS_END\n"
    "OBJECT_END;\n";

long adp_view_model::compile(const std::string& views) {
  static bool ranges = false;
  if (!ranges) {
    ranges = true;
    cmn_ty_type_info info;
    cmn_typ_init_info(&info);
    EXPECT_EQ(cmn_typ_construct_object(0, 9999, &info), 0);
  }
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
