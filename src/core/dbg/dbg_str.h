// Registration of the dbg message list.
#pragma once

// Registers the dbg list (subsystem 3, ids 1400..1410) and its texts.
long dbg_str_init();
