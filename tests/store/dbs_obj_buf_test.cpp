// The object store's reads of an SQL batch's result sets: forwarders to the
// adapter's multi-object read and id read.
#include <string>
#include <vector>

#include "core/cmn/cmn_typ.h"
#include "core/utl/utl_col.h"
#include "store/dbs_obj.h"
#include "store_fixture.h"

namespace {

std::string ptr(const void* p) { return std::to_string(reinterpret_cast<unsigned long>(p)); }

TEST_F(store_test, ReadBufferForwardersReachTheAdapter) {
  int buffer = 0;
  int constructor = 0;
  utl_ty_col* col = nullptr;
  ASSERT_EQ(utl_col_make("t", CMN_TYP_VOID_P, 4, 4, 0, 0, &col), 0);
  EXPECT_EQ(dbs_obj_get_from_buf(con(), &buffer, 17, &constructor, col), 0);
  EXPECT_EQ(dbs_obj_get_id_from_buf(con(), &buffer, 17, col), 0);
  auto objects = adp_double::calls_of("adp_obj_get_from_buf");
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(objects[0].args, (std::vector<std::string>{ptr(&buffer), "17", ptr(&constructor), ptr(col)}));
  // The id read takes every id of the result set (count -1).
  auto ids = adp_double::calls_of("adp_qry_get_id_from_buf");
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(ids[0].args, (std::vector<std::string>{ptr(&buffer), "-1", ptr(col)}));
  // The adapter's failure comes back unchanged.
  adp_double::script("adp_obj_get_from_buf", {0x600021});
  adp_double::script("adp_qry_get_id_from_buf", {0x600020});
  EXPECT_EQ(dbs_obj_get_from_buf(con(), &buffer, 17, nullptr, col), 0x600021);
  EXPECT_EQ(dbs_obj_get_id_from_buf(con(), &buffer, 17, col), 0x600020);
  utl_col_free("t", col);
}

}  // namespace
