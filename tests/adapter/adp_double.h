// The object store's message list for the adapter suites (the deadlock,
// not-unique and lost-connection alerts the adapter pushes), with test
// texts.
#pragma once

namespace adp_double {

// Registers the object store's message list (subsystem 7) with test texts.
void install_dbs_messages();

}  // namespace adp_double
