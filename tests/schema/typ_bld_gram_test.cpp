// The schema language grammar: a table of small files, each accepted or
// refused with its alert and line, and the model a complete file builds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bld_fixture.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "schema/typ_bld.h"
#include "schema/typ_fld.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"

namespace {

using typ_bld_gram = bld_test;

// The text of the first alert with code `want` on the stack, or null.
const char* alert_text(long want) {
  long n = 0;
  cmn_alrt_num(nullptr, &n);
  for (long i = 0; i < n; ++i) {
    long code = 0;
    const char* text = nullptr;
    if (cmn_alrt_ith(nullptr, i, &code, &text) == 0 && code == want) return text ? text : "";
  }
  return nullptr;
}
bool has_alert(long want) { return alert_text(want) != nullptr; }

const std::string kLong = "CMN_DATA_TYPE=\"long integer\" DB_DATA_TYPE=0";
const std::string kText = "CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=7 ARRAY_SIZE=20";

TEST_F(typ_bld_gram, FilesAcceptedOrRefused) {
  const std::string rel_pair = bld_obj("a", 10, ",\n name " + kText + ",",
                                       "RELATIONS a2b MTO b INV_REL=b2a, RELATIONS_END\n"
                                       "INDEXES ia FIELD=name RELATION=a2b UNIQUE, INDEXES_END\n") +
                               bld_obj("b", 11, "", "RELATIONS b2a OTM a INV_REL=a2b RELATIONS_END\n");
  struct row {
    const char* what;
    std::string text;
    long status;  // 0 or the alert left on top
    std::string printed;  // a text expected in the output
    std::string says = "";  // a text expected in the alert of `status` (its line)
  } rows[] = {
      {"minimal", bld_obj("a", 10), 0, ""},
      {"revisions", "SCHEMA_REVISION 7 LOCAL_SCHEMA_REVISION \"c1\"\n" + bld_obj("a", 10), 0, ""},
      {"trailing commas, relations before indexes", rel_pair, 0, ""},
      {"indexes before relations",
       bld_obj("a", 10, "", "INDEXES ia FIELD=objid INDEXES_END\nRELATIONS a2b MTO b INV_REL=b2a RELATIONS_END\n") +
           bld_obj("b", 11, "", "RELATIONS b2a OTM a INV_REL=a2b RELATIONS_END\n"),
       0, ""},
      {"two index sections", bld_obj("a", 10, "", "INDEXES i FIELD=objid INDEXES_END INDEXES j FIELD=objid INDEXES_END\n"),
       0x50003f, "Error 'syntax error' parsing schema file on line 5\n"},
      {"no definition", "SCHEMA_REVISION 3\n", 0x50003f, "syntax error"},
      {"lower-case keyword", "object a 10 FIELDS x " + kLong + " FIELDS_END OBJECT_END;", 0x50003f, "syntax error"},
      {"COMPUTED is no attribute", "OBJECT a 10 FIELDS objid " + kLong + " GEN_FIELD_ID=3 COMPUTED FIELDS_END OBJECT_END;",
       0x50003f, "syntax error"},
      {"field without attribute", "OBJECT a 10 FIELDS objid FIELDS_END OBJECT_END;", 0x50003f, "syntax error"},
      {"no unique key", "OBJECT a 10 FIELDS\nx " + kLong + "\nFIELDS_END\nOBJECT_END;", 0x50001d, "", "(on line 4)"},
      {"OBJECT_END on a subobject", "SUBOBJECT s 12 FIELDS x " + kLong + " FIELDS_END\nOBJECT_END;", 0x50001c, "",
       "on line 2."},
      {"SUBOBJECT_END on an object", "OBJECT a 10 FIELDS objid " + kLong + " GEN_FIELD_ID=3 FIELDS_END SUBOBJECT_END;",
       0x50001e, ""},
      // seq_num holds generic id 3 already; an array field is not checked for it.
      {"subobject with unique key", "SUBOBJECT s 12 FIELDS x " + kLong + " GEN_FIELD_ID=3 FIELDS_END SUBOBJECT_END;",
       0x50003e, ""},
      {"subobject with unique array", "SUBOBJECT s 12 FIELDS x CMN_DATA_TYPE=array GEN_FIELD_ID=3 FIELDS_END SUBOBJECT_END;",
       0x50001f, ""},
      {"subobject", "SUBOBJECT s 12 FIELDS x " + kLong + " FIELDS_END SUBOBJECT_END;", 0, ""},
      {"db type -1", bld_obj("a", 10, ", x CMN_DATA_TYPE=512 DB_DATA_TYPE=-1"), 0x500025, "",
       "Invalid DB_DATA_TYPE=-1 on line 3 (must be in range of 0 to 11)"},
      {"db type 12", bld_obj("a", 10, ", x CMN_DATA_TYPE=512 DB_DATA_TYPE=12"), 0x500025, ""},
      {"gen id 154", bld_obj("a", 10, ", x GEN_FIELD_ID=154"), 0x500026, "", "154 on line 3 (must be in range of 0 to 153)"},
      {"array size 2001", bld_obj("a", 10, ", x " + kText + " ARRAY_SIZE=2001"), 0x500027, ""},
      {"precision 39", bld_obj("a", 10, ", x DEC_PRECISION=39"), 0x500027, "", "Invalid ARRAY_SIZE=39 on line 3 (must be in range of 0 to 38)"},
      {"unknown data type", bld_obj("a", 10, ", x CMN_DATA_TYPE=nosuch"), 0x500021, "", "'nosuch' given on line 3"},
      {"index on a missing field", bld_obj("a", 10, "", "INDEXES i FIELD=nosuch INDEXES_END\n"), 0x500018, "",
       "The 'a' field 'nosuch' specified for index 'i' on line 5 "},
      {"index naming nothing", bld_obj("a", 10, "", "INDEXES i UNIQUE INDEXES_END\n"), 0x50001a, "",
       "The 'a' index 'i' on line 5 "},
      {"index on an OTM relation",
       bld_obj("a", 10, "", "RELATIONS a2b OTM b INV_REL=b2a RELATIONS_END INDEXES i RELATION=a2b INDEXES_END\n"),
       0x500017, ""},
      {"index on an MTM relation",
       bld_obj("a", 10, "", "RELATIONS a2b MTM b INV_REL=b2a RELATIONS_END INDEXES i RELATION=a2b INDEXES_END\n") +
           bld_obj("b", 11, "", "RELATIONS b2a MTM a INV_REL=a2b RELATIONS_END\n"),
       0x500017, ""},
      {"index on an OTOP relation",
       bld_obj("a", 10, "", "RELATIONS a2b OTOP b INV_REL=b2a RELATIONS_END INDEXES i RELATION=A2B INDEXES_END\n") +
           bld_obj("b", 11, "", "RELATIONS b2a OTOF a INV_REL=a2b RELATIONS_END\n"),
       0, ""},
      {"reopen before declared",
       bld_obj("a", 10, "", "RELATIONS REOPEN_EXCLUSIVE_SET g a2b MTO b EXCLUSIVE_SET_END RELATIONS_END\n"), 0x500053,
       ""},
      {"exclusive set with trailing comma",
       bld_obj("a", 10, "",
               "RELATIONS EXCLUSIVE_SET g TYPE_FIELD=t OBJID_FIELD=o a2b MTO b, EXCLUSIVE_SET_END RELATIONS_END\n"),
       0x50003f, "syntax error"},
      {"default too long for its buffer", bld_obj("a", 10, ", x " + kLong + " DEFAULT=1" + std::string(300, '0') + "."), 0x50003f,
       "syntax error"},
      {"word over 256 characters", bld_obj("a", 10, ", " + std::string(257, 'n') + " " + kLong), 0x50003f,
       "syntax error"},
      {"token over 5000 characters", bld_obj("a", 10, ", " + std::string(5001, 'n') + " " + kLong), 0x50003f,
       "Input string too long, limit 5000\n"},
      {"type id out of range", bld_obj("a", 70000), 0x50003f, "70000 Invalid object type, object type out of range.\n"},
      {"type id taken", bld_obj("a", 10) + bld_obj("b", 10), 0x50003f, ""},
      {"first field without data type", "OBJECT a 10 FIELDS objid DB_DATA_TYPE=0 GEN_FIELD_ID=3 FIELDS_END OBJECT_END;",
       0x50003f, ""},
      {"two outer joins", bld_obj("a", 10) + "VIEW v 20 ALIAS a x FIELDS f FROM x.objid FIELDS_END "
                                             "JOINS OUTER x.r = OUTER x.s JOINS_END VIEW_END;",
       0x500040, ""},
      {"view field not in its type", bld_obj("a", 10) + "VIEW v 20 FIELDS f FROM a.nosuch FIELDS_END VIEW_END;",
       0x500022, "", "'nosuch' is not a field of the object type 'a' (line 6)"},
      {"UNIQUE and GEN_FIELD_ID", bld_obj("a", 10) + "VIEW v 20 FIELDS f FROM a.objid UNIQUE GEN_FIELD_ID=4 FIELDS_END VIEW_END;",
       0x500023, "", "field 'objid' on line 6"},
      {"a keyword quoted is a field name", bld_obj("a", 10, ", \"FIELD\" " + kLong), 0, ""},
      {"a keyword unquoted is not", bld_obj("a", 10, ", FIELD " + kLong), 0x50003f, "syntax error"},
      {"+5 is an integer", bld_obj("a", 10, ", s CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=7 ARRAY_SIZE=+5"), 0, ""},
      {".5 is no number", bld_obj("a", 10, ", x " + kLong + " DEFAULT=.5"), 0x50003f, "syntax error"},
      {"5. is a decimal default", bld_obj("a", 10, ", x " + kLong + " DEFAULT=5."), 0, ""},
      {"two relation sections",
       bld_obj("a", 10, "", "RELATIONS a2b MTO b INV_REL=b2a RELATIONS_END RELATIONS a2c MTO b RELATIONS_END\n"),
       0x50003f, "syntax error"},
      {"subobject type id taken", bld_obj("a", 10) + "SUBOBJECT s 10 FIELDS q " + kLong + " FIELDS_END SUBOBJECT_END;",
       0x50004a, ""},
      {"long string where a word is wanted", "OBJECT a 10 SUBJECT=\"" + std::string(300, 's') + "\"" +
                                                 bld_obj("a", 10).substr(11),
       0x50003f, "syntax error"},
      {"SQL view over a long string",
       bld_obj("a", 10) + "VIEW v 20 BASE_TABLE=a SQL=\"select " + std::string(300, 'x') +
           "\" FIELDS id CMN_DATA_TYPE=512 DB_DATA_TYPE=0 GEN_FIELD_ID=3, n DB_DATA_TYPE=0 FIELDS_END VIEW_END;",
       0, ""},
      {"SQL view over a word",
       bld_obj("a", 10) + "VIEW v 20 BASE_TABLE=a SQL=\"select 1\" FIELDS id CMN_DATA_TYPE=512 DB_DATA_TYPE=0 "
                          "FIELDS_END VIEW_END;",
       0, ""},
      {"SQL fields take no trailing comma",
       bld_obj("a", 10) + "VIEW v 20 BASE_TABLE=a SQL=q FIELDS id CMN_DATA_TYPE=512 DB_DATA_TYPE=0, FIELDS_END "
                          "VIEW_END;",
       0x50003f, "syntax error"},
      {"alias list takes no trailing comma",
       bld_obj("a", 10) + "VIEW v 20 ALIAS a x, FIELDS f FROM x.objid FIELDS_END VIEW_END;", 0x50003f,
       "syntax error"},
      {"view fields take no trailing comma", bld_obj("a", 10) + "VIEW v 20 FIELDS f FROM a.objid, FIELDS_END VIEW_END;",
       0x50003f, "syntax error"},
  };
  for (const row& r : rows) {
    SetUp();
    std::string out;
    long st = compile(r.text, 0, &out);
    if (r.status == 0) {
      EXPECT_EQ(st, 0) << r.what << "\n" << out << core_top_alert_text();
    } else {
      EXPECT_NE(st, 0) << r.what;
      EXPECT_EQ(core_top_alert_code(), 0x50003f) << r.what;
      if (r.status != 0x50003f) {
        EXPECT_TRUE(has_alert(r.status)) << r.what << "\n" << out;
      }
      if (!r.says.empty() && has_alert(r.status)) {
        EXPECT_NE(std::string(alert_text(r.status)).find(r.says), std::string::npos)
            << r.what << ": " << alert_text(r.status);
      }
    }
    if (!r.printed.empty()) {
      EXPECT_NE(out.find(r.printed), std::string::npos) << r.what << "\n" << out;
    }
    TearDown();
  }
}

TEST_F(typ_bld_gram, SubobjectGetsItsThreeFieldsFirst) {
  ASSERT_EQ(compile("SUBOBJECT s 12 FIELDS q " + kLong + " FIELDS_END SUBOBJECT_END;"), 0) << core_top_alert_text();
  typ_sch_srec* s = sch("s");
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->nfields, 4);
  struct row {
    const char* name;
    long gen;
  } rows[] = {{"seq_num", 3}, {"subobj_to_obj", -1}, {"parent_type", -1}, {"q", -1}};
  for (long i = 0; i < 4; ++i) EXPECT_STREQ(s->fields[i].name, rows[i].name);
  for (const row& r : rows) {
    const typ_sch_frec* f = fld("s", r.name);
    ASSERT_NE(f, nullptr) << r.name;
    EXPECT_EQ(f->gen_id, r.gen) << r.name;
    EXPECT_EQ(f->data_type, 512) << r.name;
    EXPECT_EQ(f->db_type, 0) << r.name;
    EXPECT_EQ(f->flags & (TYP_FLD_MANDATORY | TYP_FLD_PREDEFINED | TYP_FLD_USER | 0x100),
              TYP_FLD_MANDATORY | TYP_FLD_PREDEFINED)
        << r.name;
    EXPECT_EQ(f->def, nullptr) << r.name;
  }
}

}  // namespace
