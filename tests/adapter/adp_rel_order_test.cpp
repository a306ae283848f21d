// The write batch's orderings as tables: objects (type 36 first, ascending
// type, deletes first), relation items (by foreign type, then queue order,
// or with the combine optimisation by foreign row, relates first, link
// relations last) and commit entries (link tables after everything else,
// by name then queue order); and the superseded relates the batch drops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_db.h"
#include "adapter/adp_fixture.h"
#include "adapter/adp_main.h"
#include "adapter/adp_qry_model.h"
#include "adapter/adp_rel_int.h"
#include "adapter/adp_sql_log.h"
#include "adapter/adp_trn.h"
#include "core/utl/utl_col.h"
#include "platform/dataservice/ds_script.h"
#include "schema/typ_rec.h"

namespace {

using namespace adp_qry_model;

constexpr long kPointers = 517;

// Sorts pointers to the items with the compare procedure; the items' tags
// in their new order.
template <class T>
std::string sorted(std::vector<T>& items, utl_ty_col_cmp cmp, std::string (*tag)(const T&)) {
  utl_ty_col* col = nullptr;
  EXPECT_EQ(utl_col_make("test", kPointers, 8, 8, 0, 0, &col), 0);
  for (T& i : items) {
    T* p = &i;
    utl_col_push(col, &p, nullptr);
  }
  EXPECT_EQ(utl_col_sort(col, cmp, nullptr), 0);
  std::string out;
  for (size_t k = 0; k < items.size(); ++k) {
    void* slot = nullptr;
    utl_col_ith(col, static_cast<long>(k), &slot);
    out += tag(**static_cast<T**>(slot)) + " ";
  }
  utl_col_free("test", col);
  return out;
}

std::string obj_tag(const adp_obj_batch_item& o) { return std::to_string(o.type) + (o.del ? "d" : ""); }
std::string rel_tag(const adp_rel_batch_item& r) { return std::to_string(r.sequence); }

class AdpRelOrder : public adp_test {
 protected:
  void SetUp() override {
    adp_test::SetUp();
    build();
  }
  void TearDown() override {
    adp_rel_set_combine_optimize(0);
    adp_test::TearDown();
  }
  static typ_sch_rrec* record(long type, const char* name) { return schema(type)->rels[rel(type, name)].rel; }
  static adp_rel_batch_item item(typ_sch_rrec* r, long seq, long foreign, char relate) {
    adp_rel_batch_item i{};
    i.rel = r;
    i.sequence = seq;
    i.foreign = obj_id{r->fschema->type_id, foreign, 0};
    i.relate = relate;
    i.active = 1;
    return i;
  }
};

TEST_F(AdpRelOrder, ObjectsTypeThirtySixFirstThenByTypeDeletesFirst) {
  std::vector<adp_obj_batch_item> objs(5);
  const long types[] = {12, 36, 10, 12, 10};
  const char dels[] = {0, 0, 0, 1, 1};
  for (size_t i = 0; i < objs.size(); ++i) {
    objs[i].type = types[i];
    objs[i].del = dels[i];
  }
  EXPECT_EQ(sorted(objs, adp_rel_compare_objs, obj_tag), "36 10d 10 12d 12 ");
}

TEST_F(AdpRelOrder, RelationItemsWithAndWithoutTheCombineOptimisation) {
  typ_sch_rrec* to_site = record(kCase, "case2site");       // foreign type case (10)
  typ_sch_rrec* to_contact = record(kSite, "site2contact");  // link table, foreign type contact (12)
  const struct {
    char combine;
    const char* expected;
  } rows[] = {{0, "0 2 4 1 3 "}, {1, "4 2 0 1 3 "}};
  for (const auto& r : rows) {
    adp_rel_set_combine_optimize(r.combine);
    std::vector<adp_rel_batch_item> items = {
        item(to_site, 0, 9, 1),    item(to_contact, 1, 5, 1), item(to_site, 2, 3, 0),
        item(to_contact, 3, 6, 1), item(to_site, 4, 3, 1),
    };
    EXPECT_EQ(sorted(items, adp_rel_compare_rels, rel_tag), r.expected) << int(r.combine);
  }
}

std::string commit_tag(const adp_rel_commit_entry& e) {
  if (e.kind == ADP_COMMIT_OBJ) return obj_tag(*static_cast<const adp_obj_batch_item*>(e.item));
  return "r" + rel_tag(*static_cast<const adp_rel_batch_item*>(e.item));
}

TEST_F(AdpRelOrder, CommitEntriesLinkTablesLastByNameThenQueueOrder) {
  typ_sch_rrec* to_site = record(kCase, "case2site");
  typ_sch_rrec* to_contact = record(kSite, "site2contact");
  std::vector<adp_obj_batch_item> objs(3);
  objs[0].type = 12;
  objs[1].type = 10;
  objs[1].del = 1;
  objs[2].type = 36;
  std::vector<adp_rel_batch_item> rels = {item(to_contact, 7, 1, 1), item(to_site, 0, 1, 1),
                                          item(to_contact, 3, 1, 0)};
  std::vector<adp_rel_commit_entry> entries;
  for (auto& r : rels) entries.push_back({&r, ADP_COMMIT_REL});
  for (auto& o : objs) entries.push_back({&o, ADP_COMMIT_OBJ});
  EXPECT_EQ(sorted(entries, adp_rel_compare_commits, commit_tag), "36 10d r0 12 r3 r7 ");
}

}  // namespace
