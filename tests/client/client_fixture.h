// The client test rig: the core runtime, the schema model, the object store
// and the object-state engine started once per process; per test a fresh
// adapter double with its in-memory database switched on, and a small
// schema loaded through the double's dictionary.
//
// The schema (type ids and relation numbers below):
//   account (20): objid, name (text 30), size (long), opened (date),
//                 balance (decimal 10,2), synced (long, generic 151)
//   contact (21): objid, name (text 30), rank (long), synced (generic 151)
//   tag (22):     objid, label (text 20)
//   ledger (144): objid, name (text 30)
//   scratch (216): objid, name (text 30), rank (long), synced (long)
//   account2contact / contact2account: one account to many contacts, held
//     by the contact's key column "contact2account";
//   contact2tag / tag2contact: many to many, through a link table.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "adpdouble/adp_double.h"
#include "adpdouble/adp_double_mem.h"
#include "adpdouble/adp_double_store.h"
#include "client/ost/ost_ty.h"
#include "core/core_fixture.h"

constexpr long ACCOUNT = 20;
constexpr long CONTACT = 21;
constexpr long TAG = 22;
constexpr long LEDGER = 144;  // a type whose objects a save lets go of
constexpr long SCRATCH = 216;  // takes the data fields of any type
constexpr long ACCOUNT2CONTACT = 0;  // on account
constexpr long CONTACT2ACCOUNT = 0;  // on contact
constexpr long CONTACT2TAG = 1;      // on contact
constexpr long TAG2CONTACT = 0;      // on tag

// Field positions.
constexpr long F_OBJID = 0;
constexpr long F_NAME = 1;
constexpr long F_SIZE = 2;     // account
constexpr long F_OPENED = 3;   // account
constexpr long F_BALANCE = 4;  // account
constexpr long F_RANK = 2;     // contact

// Store codes the rig raises.
constexpr long DEADLOCK = 0x70002b;
constexpr long DUP_KEY = 0x70002c;
constexpr long RAISED = 0x70007f;
constexpr long LOST = 0x70002e;

void client_start();

class client_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Fills the double's dictionary before the schema is loaded (the schema
  // above unless a suite brings its own).
  virtual void define_dictionary();

  // A fresh in-memory database, switched on (the store's procedures given).
  static void switch_database_on();
  // The connection states are made with (the double takes any).
  static KAdpConnId* con();
  // A state made without name or callbacks (fails the test otherwise).
  ost_ty_state* new_state(const char* name = nullptr);
  // A stored row of the type with the number and name (and size for an
  // account, rank for a contact); returns its id.
  obj_id seed(long type, long number, const std::string& name, long value = 0);
  // A contact's key column pointing to an account.
  static void seed_fk(long contact, long account);
  // A link row between a contact and a tag.
  static void seed_link(long contact, long tag);
  // The relation record of a type's relation.
  static const typ_sch_rrec* rel_record(long type, long rel);
  // A local object read from the database (the caller frees it).
  static dbs_ty_lobj* read(long type, long number);
  // Field access on local objects.
  static std::string name_of(dbs_ty_lobj* o);
  static void set_name(dbs_ty_lobj* o, const std::string& name);
  static long long_of(dbs_ty_lobj* o, long field);
  static void set_long(dbs_ty_lobj* o, long field, long value);
  static long number_of(dbs_ty_lobj* o);
  // Calls of a double's function so far.
  static long calls(const std::string& name) { return adp_double::uses(name); }
  // The lines written to the SQL log.
  static std::vector<std::string> sql_lines();
  // The OS layer's messages written while `run` runs.
  static std::string messages(const std::function<void()>& run);
  // Live states (all must be gone at the end of a test).
  static long live_states();
};
