#include "client/client_fixture.h"

#include <cstring>

#include "adapter/adp_sch_load.h"
#include "client/oab/oab_db.h"
#include "client/oab/oab_msg.h"
#include "client/ost/ost_main.h"
#include "client/ost/ost_obj.h"
#include "client/ost/ost_state.h"
#include "core/clk/clk_time.h"
#include "core/cmn/cmn_alrt.h"
#include "core/cmn/cmn_main.h"
#include "core/utl/utl_main.h"
#include "schema/typ_acc.h"
#include "schema/typ_rel.h"
#include "schema/typ_sch.h"
#include "store/dbs_db.h"
#include "store/dbs_fld.h"
#include "store/dbs_ids.h"
#include "store/dbs_main.h"
#include "store/dbs_obj.h"

void client_start() {
  static bool started = false;
  if (started) return;
  started = true;
  ASSERT_EQ(cmn_main_init(), 0);
  ASSERT_EQ(utl_main_init(), 0);
  ASSERT_EQ(clk_main_init(), 0);
  ASSERT_EQ(typ_main_init(), 0);
  ASSERT_EQ(dbs_main_init(), 0);
  ASSERT_EQ(ost_main_init(), 0);
  ASSERT_EQ(oab_str_init(), 0);
}

namespace {

void dictionary() {
  auto& s = adp_store::st();
  s.types = {{ACCOUNT, 2, "account"}, {CONTACT, 2, "contact"}, {TAG, 2, "tag"}, {LEDGER, 2, "ledger"}, {SCRATCH, 2, "scratch"}};
  s.fields = {
      {"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, ACCOUNT, ""},
      {"name", 516, 3, 30, -1, -1, 0x1, -1, 1, ACCOUNT, ""},
      {"size", 512, 0, 0, -1, -1, 0x11, -1, 2, ACCOUNT, ""},
      {"opened", 609, 9, 0, -1, -1, 0x1, -1, 3, ACCOUNT, ""},
      {"balance", 766, 11, 0, 10, 2, 0x1, -1, 4, ACCOUNT, ""},
      {"synced", 512, 0, 0, -1, -1, 0x11, 151, 5, ACCOUNT, ""},
      {"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, CONTACT, ""},
      {"name", 516, 3, 30, -1, -1, 0x1, -1, 1, CONTACT, ""},
      {"rank", 512, 0, 0, -1, -1, 0x11, -1, 2, CONTACT, ""},
      {"synced", 512, 0, 0, -1, -1, 0x11, 151, 3, CONTACT, ""},
      {"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, TAG, ""},
      {"label", 516, 3, 20, -1, -1, 0x1, -1, 1, TAG, ""},
      {"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, LEDGER, ""},
      {"name", 516, 3, 30, -1, -1, 0x1, -1, 1, LEDGER, ""},
      {"objid", 512, 0, 0, -1, -1, 0x11, 3, 0, SCRATCH, ""},
      {"name", 516, 3, 30, -1, -1, 0x1, -1, 1, SCRATCH, ""},
      {"rank", 512, 0, 0, -1, -1, 0x11, -1, 2, SCRATCH, ""},
      {"synced", 512, 0, 0, -1, -1, 0x11, -1, 3, SCRATCH, ""},
  };
  s.rels = {
      {"account2contact", 1, "contact", -1, 0, "contact2account", 0, "", "", 0, ACCOUNT, ""},
      {"contact2account", 2, "account", -1, 0, "account2contact", 0, "", "", 0, CONTACT, ""},
      {"contact2tag", 5, "tag", -1, 1, "tag2contact", 0, "", "", 0, CONTACT, ""},
      {"tag2contact", 5, "contact", -1, 0, "contact2tag", 0, "", "", 0, TAG, ""},
  };
}

const adp_mem::store_procs kStoreProcs{dbs_obj_oid_get, dbs_fld_set_local, dbs_obj_mark_dirty, dbs_obj_make_perm,
                                       dbs_obj_make, dbs_obj_free_local};

void free_live_states() {
  while (ost_ty_state* s = ost_state_first()) ost_state_free(s);
}

}  // namespace

void client_test::SetUp() {
  client_start();
  // Configuration items cached by an earlier test (of any suite in this
  // process) belong to its database: gone before its schema goes.
  oab_db_cfg_inval_cache();
  oab_db_user_cfg_inval_cache();
  free_live_states();
  adp_double::reset();
  adp_store::reset();
  typ_sch_set_init_once(0);
  ASSERT_EQ(typ_sch_free(), 0);
  ASSERT_EQ(typ_sch_alloc(), 0);
  dbs_obj_ids_reset();
  dbs_db_assert_schema_rev(nullptr, -1);
  cmn_alrt_clear(nullptr);
  define_dictionary();
  ASSERT_EQ(adp_sch_types_init(nullptr, nullptr), 0);
  ASSERT_EQ(adp_sch_read_all(nullptr, nullptr), 0);
  adp_store::st().head_read = 1;
  switch_database_on();
  ost_state_clear_callbacks();
  ost_state_set_num_retries(10);
  ost_state_db_fail(0);
}

void client_test::define_dictionary() { dictionary(); }

void client_test::TearDown() {
  EXPECT_EQ(live_states(), 0) << "a test left a state alive";
  free_live_states();
  adp_mem::reset();
  typ_sch_set_init_once(0);
  typ_sch_free();
  dbs_obj_ids_reset();
  cmn_alrt_clear(nullptr);
}

KAdpConnId* client_test::con() {
  static long connection;
  return reinterpret_cast<KAdpConnId*>(&connection);
}

void client_test::switch_database_on() { adp_mem::enable(kStoreProcs); }

ost_ty_state* client_test::new_state(const char* name) {
  ost_ty_state* s = nullptr;
  EXPECT_EQ(ost_state_create(name, con(), 0, nullptr, nullptr, 0, &s), 0);
  return s;
}

obj_id client_test::seed(long type, long number, const std::string& name, long value) {
  dbs_ty_lobj* o = nullptr;
  EXPECT_EQ(dbs_obj_make(nullptr, type, &o), 0);
  EXPECT_EQ(dbs_fld_set_local(o, F_OBJID, &number, 1), 0);
  if (type == TAG) {
    const char* text = name.c_str();
    EXPECT_EQ(dbs_fld_set_local(o, F_NAME, &text, 1), 0);
  } else {
    set_name(o, name);
    set_long(o, type == ACCOUNT ? F_SIZE : F_RANK, value);
  }
  EXPECT_EQ(adp_mem::insert(o), 0);
  dbs_obj_free_local("seed", o);
  return obj_id{type, number, 0};
}

void client_test::seed_fk(long contact, long account) {
  adp_mem::set_fk({CONTACT, contact, 0}, "contact2account", account);
}

const typ_sch_rrec* client_test::rel_record(long type, long rel) {
  typ_sch_srec* s = nullptr;
  typ_sch_find_handle(type, nullptr, &s);
  return s ? typ_sch_entry_rel(&s->rels[rel]) : nullptr;
}

void client_test::seed_link(long contact, long tag) {
  const typ_sch_rrec* r = rel_record(CONTACT, CONTACT2TAG);
  bool contact_primary = r->pschema && r->pschema->type_id == CONTACT;
  adp_mem::link(r, contact_primary ? contact : tag, contact_primary ? tag : contact);
}

dbs_ty_lobj* client_test::read(long type, long number) {
  obj_id id{type, number, 0};
  dbs_ty_lobj* o = nullptr;
  EXPECT_EQ(dbs_obj_get(nullptr, &id, 1, &o), 0);
  return o;
}

std::string client_test::name_of(dbs_ty_lobj* o) {
  long word = 0;
  if (dbs_fld_get(o, F_NAME, &word, nullptr)) return "?";
  return word ? reinterpret_cast<const char*>(word) : "";
}

void client_test::set_name(dbs_ty_lobj* o, const std::string& name) {
  const char* text = name.c_str();
  EXPECT_EQ(dbs_fld_set(o, F_NAME, &text), 0);
}

long client_test::long_of(dbs_ty_lobj* o, long field) {
  long word = 0;
  dbs_fld_get(o, field, &word, nullptr);
  return word;
}

void client_test::set_long(dbs_ty_lobj* o, long field, long value) { EXPECT_EQ(dbs_fld_set(o, field, &value), 0); }

long client_test::number_of(dbs_ty_lobj* o) {
  obj_id id{};
  dbs_obj_oid_get(o, &id);
  return id.num;
}

std::vector<std::string> client_test::sql_lines() { return adp_store::st().printed; }

std::string client_test::messages(const std::function<void()>& run) {
  core_msg_capture capture;
  if (!capture.start()) return "<no capture>";
  run();
  return capture.text();
}

long client_test::live_states() {
  long n = 0;
  for (ost_ty_state* s = ost_state_first(); s; s = s->next) ++n;
  return n;
}
