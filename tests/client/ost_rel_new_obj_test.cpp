// Relations of objects made in the state: new objects of one type have no
// id number yet, yet each is a relation side of its own.
#include <vector>

#include "client/client_fixture.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_rel.h"
#include "client/ost/ost_state.h"

namespace {

class ost_rel_new_obj_test : public client_test {};

TEST_F(ost_rel_new_obj_test, EachNewObjectIsRelatedOnItsOwn) {
  seed(ACCOUNT, 7, "acme");
  ost_ty_state* s = new_state();
  dbs_ty_lobj* a = read(ACCOUNT, 7);
  ASSERT_EQ(ost_obj_add_local(s, a, nullptr), 0);
  std::vector<dbs_ty_lobj*> contacts(3);
  for (size_t i = 0; i < contacts.size(); ++i) {
    ASSERT_EQ(ost_obj_create("t", s, CONTACT, &contacts[i]), 0);
    set_name(contacts[i], "c" + std::to_string(i));
    ASSERT_EQ(ost_obj_relate_byhndl(s, a, contacts[i], ACCOUNT2CONTACT), 0);
  }
  EXPECT_EQ(s->num_relations, 3);
  // The same new object related again is still one entry; its unrelate
  // cancels only its own.
  ASSERT_EQ(ost_obj_relate_byhndl(s, a, contacts[0], ACCOUNT2CONTACT), 0);
  EXPECT_EQ(s->num_relations, 3);
  ASSERT_EQ(ost_obj_unrelate_byhndl(s, a, contacts[2], ACCOUNT2CONTACT), 0);
  EXPECT_EQ(s->num_relations, 2);
  ASSERT_EQ(ost_state_save(s, 0), 0);
  EXPECT_EQ(adp_mem::fk_of({CONTACT, number_of(contacts[0]), 0}, "contact2account"), 7);
  EXPECT_EQ(adp_mem::fk_of({CONTACT, number_of(contacts[1]), 0}, "contact2account"), 7);
  EXPECT_EQ(adp_mem::fk_of({CONTACT, number_of(contacts[2]), 0}, "contact2account"), 0);
  EXPECT_EQ(ost_state_abort(s, 0), 0);
}

}  // namespace
