// Set-up the schema-change suites share: a "case" type (searchable title
// and summary, a due date) with a plain relation to "site" and an
// exclusive pair to "site" or "user", a session of the given driver on the
// scripted service, the store's change list the calls read, and a scratch
// script.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "adapter/adp_fixture.h"
#include "schema/typ_rec.h"
#include "store/dbs_rdb.h"

class adp_model;

namespace adp_sce_fixture {
constexpr long kCase = 4201, kSite = 4202, kUser = 4203;
constexpr long kDbInt = 0, kDbText = 7, kDbDate = 9;
constexpr long kScriptOnly = 1;
}  // namespace adp_sce_fixture

// The change record of an exclusive-group conversion: case2site joins the
// group, its key carried into the owner_id/owner_type pair (type site).
struct adp_sce_conversion {
  adp_sce_conversion();
  adp_sce_conversion(const adp_sce_conversion&) = delete;
  adp_sce_conversion& operator=(const adp_sce_conversion&) = delete;

  typ_sch_srec site{};
  typ_sch_rrec plain{}, group{};
  dbs_ty_tbl_change record{};
};

class adp_sce_test : public adp_test {
 protected:
  // A session of driver ("oledb", "oracle") on the model, the database
  // named "crm", no header flags.
  void open(const char* driver);
  void TearDown() override;
  // A change record on table_case pushed to the change list.
  void change(long op, const char* name, const char* second, long db_type, long length, const char* def = nullptr);
  // What adp_sce_modify_flags sends for a flags record of case (a bit
  // outside the mask added, which must never reach SQL).
  std::vector<std::string> flags_sent(unsigned long flags);
  // A scratch script and its text once closed.
  std::string script_text(const std::function<void(FILE*)>& body);

  adp_model* model_ = nullptr;
  typ_sch_srec* case_ = nullptr;
  KAdpConnId* con_ = nullptr;
  utl_ty_col* changes_ = nullptr;
};
