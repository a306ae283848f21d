// Object manager: the directory of data objects read from "control.nls",
// finding objects by name or id, loading their sections on first use, and
// the built-in English / UnitedStates / US-ASCII objects.
//
// Threads: finding and loading objects are safe from several threads. A load
// runs under the global mutex and publishes section 0 last (release); readers
// take section 0 through gcObjSection (acquire), which makes the other
// sections visible. The manager is made and ended by GCInit and GCTerm.
#pragma once

#include <cstdint>

#include "orb_api.h"
#include "mbtext/gc_file.h"
#include "mbtext/gc_locale.h"

inline constexpr uint32_t GC_DIR_ENTRY_SIZE = 60; // directory entry in the control file

struct GCOctx {
  GCObj* dir;                       // entries ordered by class, then id
  uint16_t first[GC_CLASS_COUNT];   // first entry index of each class
  uint16_t count;                   // number of entries
  uint8_t nofallback;               // no built-in replacement for a failed load
  char datadir[GC_PATH_MAX + 1];    // empty when the built-in directory is in use
};

// Find modes.
inline constexpr int GC_FIND_ONLY = 1; // find the entry without loading it
inline constexpr int GC_FIND_LOAD = 0;

ORB_API GCOctx* GCInitObjManager(const char* path, uint32_t flags, uint32_t* status);
ORB_API uint32_t GCTermObjManager(GCOctx* ocx);

// length: bytes of name to compare (may count its NUL); negative = up to NUL.
ORB_API GCObj* GCGetObjFromName(GCOctx* ocx, uint8_t cls, const char* name, int32_t length, int mode,
                        uint32_t* status);
// The same for a name of 32-bit wide characters, each narrowed to its low byte.
ORB_API GCObj* GCGetObjFromNameW(GCOctx* ocx, uint8_t cls, const uint32_t* name, int32_t length, int mode,
                         uint32_t* status);
ORB_API GCObj* GCGetObjFromID(GCOctx* ocx, uint8_t cls, uint16_t id, int mode, uint32_t* status);

ORB_API GCObj* GCLoadObj(GCOctx* ocx, GCObj* entry, uint32_t* status);
ORB_API uint32_t GCUnloadObj(GCOctx* ocx, GCObj* entry);
ORB_API int GCLoadDefaultObj(GCOctx* ocx, GCObj* entry);
ORB_API int GCLoadDefaults(GCOctx* ocx);

