// Registration of the cmn message list.
#pragma once

// Registers the cmn list (subsystem 1, ids 1000..1217, 218 descriptors) and its
// compiled-in texts; the result of the registration.
long cmn_str_init();
