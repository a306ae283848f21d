// Stored relations: the side chosen for the adapter, temporary objects
// refused, related ids by relation kind, the relatedness test and the write
// queue forwarders.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "adapter/adp_sch_load.h"
#include "core/cmn/cmn_alrt.h"
#include "core/utl/utl_col.h"
#include "schema/typ_fld.h"
#include "schema/typ_rec.h"
#include "store/dbs_fld.h"
#include "store/dbs_obj.h"
#include "store/dbs_qry.h"
#include "store/dbs_rel.h"
#include "store_fixture.h"

namespace {

class rel_test : public store_test {
 protected:
  void SetUp() override {
    store_test::SetUp();
    small_dictionary();
    load_model();
    adp_double::reset();
  }
  // The side marker of the relation 0 of a type.
  static char side_of(long type_id) {
    typ_sch_srec* s = nullptr;
    EXPECT_EQ(adp_sch_shandle_find(type_id, &s), 0);
    long index = -1;
    EXPECT_EQ(typ_sch_rel_map(s, 0, &index), 0);
    return s->rels[index].side;
  }
  static dbs_ty_lobj* stored(long type_id, long number) {
    dbs_ty_lobj* o = make(type_id);
    dbs_fld_set_local(o, 0, &number, 1);
    dbs_obj_make_perm(o, 1);
    return o;
  }
};

}  // namespace

TEST_F(rel_test, RelateByIdFromEitherSidePassesThePrimarySideFirst) {
  char case_side = side_of(17);
  char site_side = side_of(18);
  ASSERT_NE(case_side, site_side);
  ASSERT_TRUE(case_side == 'p' || case_side == 'f');
  obj_id a_case{17, 4, 0};
  obj_id a_site{18, 9, 0};
  const std::string primary = case_side == 'p' ? "17/4/0" : "18/9/0";
  const std::string foreign = case_side == 'p' ? "18/9/0" : "17/4/0";

  ASSERT_EQ(dbs_rel_relate_id_to_id(nullptr, &a_case, 0, &a_site), 0);
  ASSERT_EQ(dbs_rel_relate_id_to_id(nullptr, &a_site, 0, &a_case), 0);
  auto calls = adp_double::calls_of("adp_rel_new_relate_remote_id");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{primary, "case", "0", foreign}));
  EXPECT_EQ(calls[1].args, (std::vector<std::string>{primary, "site", "0", foreign}));

  ASSERT_EQ(dbs_rel_unrelate_id_to_id(nullptr, &a_site, 0, &a_case), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_unrelate_remote_id")[0].args,
            (std::vector<std::string>{primary, "0", foreign}));
  char related = 0;
  ASSERT_EQ(dbs_rel_related_remote_id_to_id(nullptr, &a_site, 0, &a_case, 3, &related), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_related_remote_id")[0].args,
            (std::vector<std::string>{primary, "0", foreign, "3"}));

  // Two objects of one type do not fit the relation: nothing reaches the adapter.
  adp_double::reset();
  obj_id other_case{17, 5, 0};
  EXPECT_EQ(dbs_rel_relate_id_to_id(nullptr, &a_case, 0, &other_case), 0x700005);
  EXPECT_EQ(core_top_alert_code(), 0x700005);
  obj_id unknown{99, 1, 0};
  EXPECT_EQ(dbs_rel_relate_id_to_id(nullptr, &a_case, 0, &unknown), 0x600006);
  EXPECT_TRUE(adp_double::calls_of("adp_rel_new_relate_remote_id").empty());

  // Unrelating everything of one side tells the adapter the side.
  ASSERT_EQ(dbs_rel_unrelate_from_id(nullptr, &a_case, 0), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_unrelate_from_id")[0].args,
            (std::vector<std::string>{case_side == 'p' ? "1" : "0", "17/4/0", "0"}));
}

TEST_F(rel_test, TemporaryObjectsAreRefused) {
  dbs_ty_lobj* a = stored(17, 4);
  dbs_ty_lobj* b = stored(18, 9);
  dbs_ty_lobj* temp = make(18);
  obj_id site{18, 9, 0};
  char related = 0;
  struct row {
    const char* name;
    std::function<long()> run;
    long code;
  } rows[] = {
      {"relate", [&] { return dbs_rel_relate(nullptr, a, 0, temp); }, 0x700011},
      {"relate reversed", [&] { return dbs_rel_relate(nullptr, temp, 0, a); }, 0x700011},
      {"unrelate", [&] { return dbs_rel_unrelate(nullptr, a, 0, temp); }, 0x700011},
      {"related", [&] { return dbs_rel_related_remote(nullptr, temp, 0, a, 0, &related); }, 0x700011},
      {"relate obj to id", [&] { return dbs_rel_relate_obj_to_id(nullptr, temp, 0, &site); }, 0x700012},
      {"unrelate obj to id", [&] { return dbs_rel_unrelate_obj_to_id(nullptr, temp, 0, &site); }, 0x700012},
  };
  for (const row& r : rows) {
    adp_double::reset();
    EXPECT_EQ(r.run(), r.code) << r.name;
    EXPECT_TRUE(adp_double::calls().empty()) << r.name;
  }
  // Two stored objects are related.
  adp_double::reset();
  ASSERT_EQ(dbs_rel_relate(nullptr, a, 0, b), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_new_relate_remote_id").size(), 1u);
  ASSERT_EQ(dbs_rel_relate_obj_to_id(nullptr, a, 0, &site), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_new_relate_remote_id").size(), 2u);
  dbs_obj_free_local("test", a);
  dbs_obj_free_local("test", b);
  dbs_obj_free_local("test", temp);
}

TEST_F(rel_test, RelatedIdsByKindAndTheRelatednessTest) {
  obj_id a_case{17, 4, 0};
  obj_id a_site{18, 9, 0};
  utl_ty_col* ids = nullptr;
  ASSERT_EQ(utl_col_make("test", 594, 4, 4, 0, 0, &ids), 0);
  utl_col_push(ids, &a_site, nullptr);
  ASSERT_EQ(dbs_rel_get_oid_from_oid(nullptr, &a_case, 0, 2, ids), 0);
  long n = -1;
  utl_col_num(ids, &n);
  EXPECT_EQ(n, 0);  // emptied
  const char* case_call = side_of(17) == 'p' ? "adp_rel_get_fk_oid" : "adp_rel_get_pk_oid";
  const char* site_call = side_of(18) == 'p' ? "adp_rel_get_fk_oid" : "adp_rel_get_pk_oid";
  ASSERT_EQ(adp_double::calls_of(case_call).size(), 1u);
  EXPECT_EQ(adp_double::calls_of(case_call)[0].args[3], "2");
  ASSERT_EQ(dbs_rel_get_oid_from_oid(nullptr, &a_site, 0, 0, ids), 0);
  EXPECT_EQ(adp_double::calls_of(site_call).size(), std::string(case_call) == site_call ? 2u : 1u);
  EXPECT_EQ(dbs_rel_get_oid_from_oid(nullptr, &a_case, 0, 0, nullptr), 0x70000e);
  utl_col_free("test", ids);

  // The relatedness test: none, some, and ids too many to hold.
  auto answer = [&](long found, long status) {
    adp_double::reset();
    adp_double::hook(case_call, [found, status](const std::vector<void*>& a) {
      auto* col = static_cast<utl_ty_col*>(a[0]);
      for (long i = 0; i < found; ++i) {
        obj_id id{18, i + 1, 0};
        utl_col_push(col, &id, nullptr);
      }
      if (status) cmn_alrt_push(nullptr, "test", status, 2, 100000000L, "test");
      return status;
    });
    char related = 9;
    long st = dbs_rel_check_related_from_oid(nullptr, &a_case, 0, 1, &related);
    return std::make_pair(st, related);
  };
  EXPECT_EQ(answer(0, 0), std::make_pair(0L, char{0}));
  EXPECT_EQ(answer(3, 0), std::make_pair(0L, char{1}));
  EXPECT_EQ(adp_double::calls_of(case_call)[0].args[3], "17");  // bit 16 added
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(answer(0, 0x400010), std::make_pair(0L, char{1}));
  EXPECT_EQ(core_num_alerts(), 0);  // the allocation alert is dropped
  // An alert stacked before the test stays.
  cmn_alrt_push_msg(nullptr, 0x700001, "earlier");
  EXPECT_EQ(answer(0, 0x400010), std::make_pair(0L, char{1}));
  EXPECT_EQ(core_num_alerts(), 1);
  EXPECT_EQ(core_top_alert_code(), 0x700001);
  cmn_alrt_clear(nullptr);
  EXPECT_EQ(answer(0, 0x40002d), std::make_pair(0L, char{1}));
  EXPECT_EQ(answer(0, 0x600004).first, 0x600004);
}

TEST_F(rel_test, InverseAndQueueForwarders) {
  dbs_ty_lobj* a = stored(17, 4);
  long inverse = -5;
  ASSERT_EQ(dbs_rel_inv(a, 0, &inverse), 0);
  EXPECT_EQ(inverse, 0);  // the other side's relation id in the small dictionary
  ASSERT_EQ(dbs_obj_add_to_batch(a, 1), 0);
  ASSERT_EQ(dbs_obj_delete_in_batch(a, 7), 0);
  ASSERT_EQ(dbs_rel_do_batch(nullptr, 1, 4), 0);
  adp_double::script("adp_rel_abort_batch", {0x600010});
  EXPECT_EQ(dbs_rel_abort_batch(), 0x600010);
  obj_id x{17, 1, 0}, y{18, 2, 0};
  ASSERT_EQ(dbs_rel_add_to_batch(&x, &y, nullptr, 0, 1), 0);
  std::vector<std::string> names;
  for (const auto& c : adp_double::calls()) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"adp_obj_add_to_batch", "adp_obj_delete_in_batch", "adp_rel_do_batch",
                                             "adp_rel_abort_batch", "adp_rel_add_to_batch"}));
  EXPECT_EQ(adp_double::calls_of("adp_obj_delete_in_batch")[0].args[1], "3");
  // The foreign-key column reads pass their arguments through.
  const char* cols[] = {"case2site", "owner"};
  const char* type_cols[] = {nullptr, "owner_type"};
  const char* id_cols[] = {nullptr, "owner_id"};
  const long wanted[] = {0, 18};
  long values[2] = {-1, -1};
  ASSERT_EQ(dbs_rel_get_fk_cols(nullptr, 17, 4, 2, cols, values), 0);
  EXPECT_EQ(values[1], 101);
  EXPECT_EQ(adp_double::calls_of("adp_obj_get_fk_cols_batch")[0].args,
            (std::vector<std::string>{"17", "4", "2", "case2site,owner"}));
  adp_double::script("adp_obj_get_fk_cols_batch_ex", {0x600004});
  EXPECT_EQ(dbs_rel_get_fk_cols_ex(nullptr, 17, 4, 2, cols, type_cols, id_cols, wanted, values), 0x600004);
  EXPECT_EQ(adp_double::calls_of("adp_obj_get_fk_cols_batch_ex")[0].args,
            (std::vector<std::string>{"17", "4", "2", "case2site,owner", "-,owner_type", "-,owner_id", "0,18"}));
  ASSERT_EQ(adp_double::relates().size(), 1u);
  EXPECT_EQ(adp_double::relates()[0].b.num, 2);
  dbs_obj_free_local("test", a);
  // The offline client's entry points do nothing.
  EXPECT_EQ(read_sbatch(), 1);
  EXPECT_EQ(Synchronize() + RuzDoUpgrade() + RuzRebuildRequest() + RuzBatchSchemaVersion() + RUZApplySchemaDone(), 0);
}

TEST_F(store_test, QueryTheOneObjectOfAOneToOneRelation) {
  small_dictionary();
  auto& st = adp_store::st();
  st.rels.push_back({"case2boss", 4, "site", -1, 1, "boss2case", 0, "", "", 0, 17, ""});
  st.rels.push_back({"boss2case", 3, "case", -1, 1, "case2boss", 0, "", "", 0, 18, ""});
  load_model();
  obj_id a_case{17, 4, 0};
  long results = 1;
  adp_double::hook("adp_qry_relation", [&results](const std::vector<void*>& a) {
    auto* target = static_cast<dbs_ty_qry_desc*>(a[1]);
    EXPECT_EQ(target->type_id, 18);
    for (long i = 0; i < results; ++i) {
      dbs_ty_lobj* o = make(18);
      utl_col_push(static_cast<utl_ty_col*>(a[2]), &o, nullptr);
    }
    return 0L;
  });
  dbs_ty_lobj* got = nullptr;
  ASSERT_EQ(dbs_qry_get_oto_byid(nullptr, &a_case, 1, &got), 0);
  ASSERT_NE(got, nullptr);
  long type = 0;
  dbs_obj_type(got, &type);
  EXPECT_EQ(type, 18);
  dbs_obj_free_local("test", got);
  results = 0;
  ASSERT_EQ(dbs_qry_get_oto_byid(nullptr, &a_case, 1, &got), 0);
  EXPECT_EQ(got, nullptr);
  results = 2;
  EXPECT_EQ(dbs_qry_get_oto_byid(nullptr, &a_case, 1, &got), 0x70001c);
  EXPECT_EQ(got, nullptr);
  // Not a one-to-one relation: refused before any query.
  adp_double::reset();
  EXPECT_EQ(dbs_qry_get_oto_byid(nullptr, &a_case, 0, &got), 0x70001c);
  EXPECT_TRUE(adp_double::calls().empty());
}

TEST_F(rel_test, RelatedObjectsByTheObjectsSide) {
  dbs_ty_lobj* a_case = stored(17, 4);
  dbs_ty_lobj* a_site = stored(18, 9);
  dbs_ty_lobj* temp = make(17);
  const char* case_call = side_of(17) == 'p' ? "adp_rel_get_fk_obj" : "adp_rel_get_pk_obj";
  const char* site_call = side_of(18) == 'p' ? "adp_rel_get_fk_obj" : "adp_rel_get_pk_obj";
  utl_ty_col* objects = nullptr;
  char got = 0;
  EXPECT_EQ(dbs_rel_get_remote(nullptr, temp, 0, 0, &objects, &got), 0x700012);
  EXPECT_TRUE(adp_double::calls().empty());
  // A collection is made; option bit 1 is not passed on.
  ASSERT_EQ(dbs_rel_get_remote(nullptr, a_case, 0, 5, &objects, &got), 0);
  ASSERT_NE(objects, nullptr);
  EXPECT_EQ(got, 1);
  auto calls = adp_double::calls_of(case_call);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[2], "4");
  // Option bit 2: the caller's collection is used.
  utl_ty_col* mine = objects;
  got = 0;
  ASSERT_EQ(dbs_rel_get_remote(nullptr, a_site, 0, 2, &objects, &got), 0);
  EXPECT_EQ(objects, mine);
  EXPECT_EQ(adp_double::calls_of(site_call).back().args[3], std::to_string(reinterpret_cast<unsigned long>(mine)));
  utl_col_free("test", mine);
  // Option bit 2 without a collection: one is made rather than a null one
  // handed to the adapter.
  objects = nullptr;
  ASSERT_EQ(dbs_rel_get_remote(nullptr, a_site, 0, 2, &objects, &got), 0);
  ASSERT_NE(objects, nullptr);
  EXPECT_EQ(adp_double::calls_of(site_call).back().args[3], std::to_string(reinterpret_cast<unsigned long>(objects)));
  utl_col_free("test", objects);
  dbs_obj_free_local("test", a_case);
  dbs_obj_free_local("test", a_site);
  dbs_obj_free_local("test", temp);
}

TEST_F(rel_test, PrimaryIdsOfAListAndAnyRelatedObject) {
  long fside = side_of(17) == 'f' ? 17 : 18;
  long pside = fside == 17 ? 18 : 17;
  utl_ty_col* ids = nullptr;
  utl_ty_col* out = nullptr;
  ASSERT_EQ(utl_col_make("test", 594, 4, 4, 0, 0, &ids), 0);
  ASSERT_EQ(utl_col_make("test", 594, 4, 4, 0, 0, &out), 0);
  // No ids: nothing asked.
  ASSERT_EQ(dbs_rel_get_oid_col(nullptr, fside, ids, 0, pside, out), 0);
  obj_id one{fside, 1, 0};
  utl_col_push(ids, &one, nullptr);
  ASSERT_EQ(dbs_rel_get_oid_col(nullptr, fside, ids, 0, pside, out), 0);
  EXPECT_EQ(adp_double::calls_of("adp_rel_get_pk_oid_col").size(), 1u);
  // From the primary side: nothing; a wrong target type: 0x700005.
  ASSERT_EQ(dbs_rel_get_oid_col(nullptr, pside, ids, 0, fside, out), 0);
  EXPECT_EQ(dbs_rel_get_oid_col(nullptr, fside, ids, 0, fside, out), 0x700005);
  EXPECT_EQ(adp_double::calls_of("adp_rel_get_pk_oid_col").size(), 1u);
  utl_col_free("test", ids);
  utl_col_free("test", out);

  // Any related object: the first relation with ids ends the walk.
  obj_id a_case{17, 4, 0};
  const char* call = side_of(17) == 'p' ? "adp_rel_get_fk_oid" : "adp_rel_get_pk_oid";
  char related = 9;
  ASSERT_EQ(dbs_rel_chk_any_related_fr_oid(nullptr, &a_case, 0, &related), 0);
  EXPECT_EQ(related, 0);
  adp_double::hook(call, [](const std::vector<void*>& a) {
    obj_id id{18, 2, 0};
    utl_col_push(static_cast<utl_ty_col*>(a[0]), &id, nullptr);
    return 0L;
  });
  ASSERT_EQ(dbs_rel_chk_any_related_fr_oid(nullptr, &a_case, 0, &related), 0);
  EXPECT_EQ(related, 1);
  adp_double::reset();
  adp_double::script(call, {0x600004});
  EXPECT_EQ(dbs_rel_chk_any_related_fr_oid(nullptr, &a_case, 0, &related), 0x600004);
  EXPECT_EQ(related, 0);
}

TEST_F(rel_test, ObjectIdFieldBehindARelationIndex) {
  typ_sch_srec* cs = nullptr;
  ASSERT_EQ(adp_sch_shandle_find(17, &cs), 0);
  long index = cs->rels[0].rel_index;
  // Both types hold the relation; the first holding one answers.
  long spec = 99;
  typ_sch_srec* s = nullptr;
  ASSERT_EQ(dbs_sch_opt_vfld_to_real(index | 0x4000, &spec, &s), 0);
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->type_id == 17 || s->type_id == 18);
  EXPECT_EQ(spec, 0);  // objid has generic id 3 and spec id 0
  EXPECT_EQ(dbs_sch_opt_vfld_to_real(9999, &spec, &s), 1);
  // Login batches: without a remote service, and with one (the reader says 1).
  EXPECT_EQ(dbs_obj_process_login_batches(), 0);
  adp_store::st().is_remote = 1;
  EXPECT_EQ(dbs_obj_process_login_batches(), 0);
  adp_store::st().is_remote = 0;
}
