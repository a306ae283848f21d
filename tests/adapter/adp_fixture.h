// Set-up shared by the adapter suites: the core, the clock with US date
// texts, the adapter's and the object store's message lists; a scratch
// working directory; connections on the scripted data service; and the
// alerts on the current stack.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapter/adp_conn.h"
#include "core/cmn/cmn_alrt.h"
#include "core/core_fixture.h"

// The scripted service's library name for SetPOrbDllName.
std::string adp_script_dll();
// A library that loads but has no factory, and one that does not exist.
std::string adp_nofactory_dll();
std::string adp_missing_dll();
// The texts of the statements and queries sent to the scripted service, in
// order (empty statements left out).
std::vector<std::string> adp_script_sent();


class adp_test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A listed, current connection of the driver whose library is the scripted
  // service; loaded and connected when asked.
  KAdpConnId* connect(const char* driver, bool load = true);
  // Text of a file in the scratch directory ("" when missing).
  std::string file_text(const std::string& name) const;

  core_scratch_dir dir_;
  std::vector<KAdpConnId*> conns_;
};
