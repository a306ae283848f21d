// The relation path from a root type to the source of a view field.
#include <gtest/gtest.h>

#include <string>

#include "adpdouble/adp_double.h"
#include "bld_fixture.h"
#include "schema/typ_rec.h"
#include "schema/typ_sch.h"
#include "schema/typ_view.h"

namespace {

const std::string kName = ", name CMN_DATA_TYPE=\"char pointer\" DB_DATA_TYPE=7 ARRAY_SIZE=20";

class typ_view_root : public bld_test {
 protected:
  void SetUp() override {
    bld_test::SetUp();
    // a -a2b/b2a- b -b2c/c2b- c, and a view over the three.
    ASSERT_EQ(compile(bld_obj("a", 10, "", "RELATIONS a2b MTO b INV_REL=b2a RELATIONS_END\n") +
                      bld_obj("b", 11, "", "RELATIONS b2a OTM a INV_REL=a2b , b2c MTO c INV_REL=c2b RELATIONS_END\n") +
                      bld_obj("c", 12, kName, "RELATIONS c2b OTM b INV_REL=b2c RELATIONS_END\n") +
                      "VIEW v 20 ALIAS a x , b y , c z FIELDS id FROM x.objid , cn FROM z.name FIELDS_END "
                      "JOINS x.a2b = y.b2a , y.b2c = z.c2b JOINS_END VIEW_END;\n"),
              0)
        << core_top_alert_text();
    // The adapter answers a view field's origin from the model.
    adp_double::hook("adp_sch_view_field_info", [](const std::vector<void*>& raw) -> long {
      const long index = *static_cast<long*>(raw[0]);
      typ_sch_srec* view = nullptr;
      typ_sch_find_handle(20, nullptr, &view);
      auto* vi = static_cast<typ_sch_vinfo*>(view->fields[index].uptr);
      *static_cast<typ_sch_srec**>(raw[1]) = &typ_sch_schemas[vi->src_schema];
      *static_cast<long*>(raw[2]) = vi->src_field;
      *static_cast<const char**>(raw[3]) = vi->alias;
      return 0;
    });
  }
  static std::string path(long view, long field, long root) {
    char out[128] = "x";
    EXPECT_EQ(typ_sch_make_path_from_view(nullptr, view, field, root, out, sizeof out), 0);
    return out;
  }
};

TEST_F(typ_view_root, PathsReadFromTheRoot) {
  EXPECT_EQ(path(20, 1, 10), "a2b:b2c:name");
  EXPECT_EQ(path(20, 1, 11), "b2c:name");
  EXPECT_EQ(path(20, 1, 12), "name");
  EXPECT_EQ(path(20, 0, 12), "c2b:b2a:objid");
  // The view's object is prepared for conversion first, then freed.
  EXPECT_EQ(adp_double::calls_of("dbs_obj_obj_to_or_from_view").size(), 4u);
  EXPECT_EQ(adp_double::calls_of("dbs_obj_free_local").size(), 4u);
}

TEST_F(typ_view_root, NoPathGivesAnEmptyText) {
  EXPECT_EQ(path(20, 1, 99), "");  // the root is not on the view
  EXPECT_EQ(path(77, 1, 10), "");  // no such view: nothing asked
  EXPECT_EQ(adp_double::calls_of("dbs_obj_make").size(), 1u);
  // An exclusive relation's join is not walked.
  typ_sch_srec* view = nullptr;
  typ_sch_find_handle(20, nullptr, &view);
  typ_sch_rrec* a2b = nullptr;
  for (long i = 0; i < view->nrels; ++i)
    if (view->rels[i].rel && std::string(view->rels[i].rel->fname) == "a2b") a2b = view->rels[i].rel;
  ASSERT_NE(a2b, nullptr);
  a2b->exclusive = 1;
  EXPECT_EQ(path(20, 1, 10), "");
  EXPECT_EQ(path(20, 1, 11), "b2c:name");
  a2b->exclusive = 0;
  char small[6];
  ASSERT_EQ(typ_sch_make_path_from_view(nullptr, 20, 1, 10, small, sizeof small), 0);
  EXPECT_STREQ(small, "a2b:b");  // cut to the buffer
}

}  // namespace
