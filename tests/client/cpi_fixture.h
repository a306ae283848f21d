// The client rig for the public client interface: the session's connection
// set to the rig's, the module's messages registered, the region settings
// started (date texts), and the account type grown by a float and a double
// field.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "client/client_fixture.h"
#include "client/cpi/cpi_int.h"
#include "client/cpi_obj.h"
#include "client/cpi_qry.h"
#include "client/cpi_rel.h"
#include "client/cpi_state.h"
#include "client/cpi_utl.h"

constexpr long F_RATIO = 6;   // account: float
constexpr long F_WEIGHT = 7;  // account: double

class cpi_test : public client_test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void define_dictionary() override;

  // The connection id the interface expects.
  static long conid();
  // A state made through the interface (fails the test otherwise).
  long state();
  // The newest alert's code and text (0 and "" when none).
  static long top_code();
  static std::string top_text();
  // Every alert text, oldest first, joined by "|".
  static std::string alert_texts();
  // What `write` wrote to the stream it is given.
  static std::string written(const std::function<void(FILE*)>& write);
  // An object id of the interface.
  static cpi_ty_objid objid(long type, long number) { return cpi_ty_objid{type, number, 0}; }
};
