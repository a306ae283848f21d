// OS layer: processes, signals and numbers.
//
// Threads: the external commands read the configuration strings (see
// osl_sys_cfg.h) and the random numbers share libc's rand state: one thread at
// a time. No lock.
#pragma once

#include "orb_api.h"

// system(command): the shell's wait status as system returns it.
ORB_API long osl_sys_system(const char* command);
ORB_API long osl_sys_sleep(long seconds);
// getlogin(); null when the process has no login name.
ORB_API char* osl_sys_getlogin();
// Not available: prints "osl_sys_call is not yet implemented\n"; 1.
ORB_API long osl_sys_call();
// Not available; -1.
ORB_API long osl_sys_dial_out();

// External commands from the configuration strings "ORB_EDIT", "ORB_GRAPH"
// and "ORB_FAX". The configured text is split on blanks into the program and
// its own arguments; the caller's arguments follow, each passed as one
// argument (never through a shell). Result: the program's exit status
// (a program killed by a signal gives 128 + the signal, one that cannot be
// started 127); 1 when the setting is absent or the look-up fails.
ORB_API long osl_sys_edit(const char* file);
ORB_API long osl_sys_graph(const char* file);
ORB_API long osl_sys_fax(const char* a, const char* b, const char* c);

// Mode 1: default action for SIGTRAP, SIGILL, SIGBUS and SIGSEGV; mode 0:
// ignore them; other modes nothing. 0.
ORB_API long osl_sys_set_signal(long mode);
// The same for SIGCHLD. 0.
ORB_API long osl_sys_set_child_signal(long mode);

ORB_API long osl_sys_rand();
ORB_API void osl_sys_srand(long seed);
// *value = rand() / RAND_MAX as a float (reduced by 1.0 when above 1.0). 0.
ORB_API long osl_sys_rand_real(float* value);

// Call type of a type id: 512 long 1, 513 short 2, 514 float 3, 613 double 4,
// 516 string 5, any other 6.
ORB_API long osl_sys_cmn_to_call_type(long type_id);
// The maximum display count: 60000.
ORB_API long osl_sys_max_display();
