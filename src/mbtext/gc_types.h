// Shared basics of the multibyte text and locale library: status codes,
// flag values, memory callbacks, the UCS-2 character type and the library
// start and end calls.
//
// Threads: GCInit and GCTerm take the global mutex (gc_frame.h) for the use
// count, callbacks and managers; GCGetError and GCGetEnv touch no shared state.
#pragma once

#include <cstdint>

#include "orb_api.h"

struct GCLocale;

// One 16-bit Unicode (UCS-2) code unit.
typedef uint16_t GCUChar;

// Packed multibyte character: the bytes of one character joined into an
// unsigned 32-bit number, first byte most significant.
typedef uint32_t GCPacked;

// ---------------------------------------------------------------------------
// Status codes (result of GCInit/GCTerm, status out-parameters, and the
// last-status word of a locale read back with GCGetError).
inline constexpr uint32_t GC_OK = 0;
inline constexpr uint32_t GC_E_FILE = 1;          // open (other reason), close, seek; failed free
inline constexpr uint32_t GC_E_ARG = 2;           // unaccepted flag bit or argument out of range
inline constexpr uint32_t GC_S_DEFAULTS = 10;     // GCInit: started on the built-in objects
inline constexpr uint32_t GC_E_INIT = 11;         // GCInit failed; GCGetLocale: part not obtained
inline constexpr uint32_t GC_E_NOMEM = 20;        // allocation callback returned null
inline constexpr uint32_t GC_E_FREE = 21;         // free callback failed while unloading
inline constexpr uint32_t GC_E_NO_CODEPAGE = 30;  // GCGetLocale: code page not found
inline constexpr uint32_t GC_E_NO_LANGUAGE = 31;  // GCGetLocale: language not found
inline constexpr uint32_t GC_E_NO_SORT = 33;      // GCGetLocale: sort not found
inline constexpr uint32_t GC_E_NO_TERRITORY = 34; // GCGetLocale: territory not found
inline constexpr uint32_t GC_E_NO_ITEM = 35;      // item number does not exist
inline constexpr uint32_t GC_E_SEPARATOR = 36;    // separator has no single-byte form
inline constexpr uint32_t GC_E_NOT_FOUND = 37;    // no such entry / value not allowed / field out of range
inline constexpr uint32_t GC_E_BUFFER = 40;       // output buffer too small
inline constexpr uint32_t GC_E_BASE = 50;         // number base outside 0 and 2..36
inline constexpr uint32_t GC_E_FORMAT = 51;       // invalid format directive
inline constexpr uint32_t GC_E_FILE_NOT_FOUND = 1000; // data file missing, or a directory
inline constexpr uint32_t GC_E_FILE_PERM = 1001;      // permission denied
inline constexpr uint32_t GC_E_FILE_MODE = 1002;      // read/map of a file opened for writing
inline constexpr uint32_t GC_E_FILE_READ = 1003;      // read/map failed, path too long, bad data
inline constexpr uint32_t GC_E_FILE_UNMAP = 1005;     // unmapping failed
inline constexpr uint32_t GC_E_MAGIC = 2000;          // header without the magic number

// ---------------------------------------------------------------------------
// Flag values shared by the operations that accept them.
inline constexpr uint32_t GC_FL_ITEM = 0x1;          // handed on as the item flag of item reads
inline constexpr uint32_t GC_FL_NUL = 0x8;           // reserve and write a terminating NUL
inline constexpr uint32_t GC_FL_ICASE = 0x40;        // ignore case (string comparisons)
inline constexpr uint32_t GC_FL_CHARS = 0x4000;      // lengths count characters, not bytes
inline constexpr uint32_t GC_FL_EXTENDED = 0x80000000u; // extended flag set (whole values)

// Character-type group selectors (whole values).
inline constexpr uint32_t GC_CT_TYPE = 0x80000010u;  // group 1: character type bits
inline constexpr uint32_t GC_CT_BIDI = 0x80000011u;  // group 2: bidirectional category
inline constexpr uint32_t GC_CT_WIDTH = 0x80000012u; // group 3: width and script bits

// GCInit flags value: use no built-in objects when the data files fail.
inline constexpr uint32_t GC_INIT_NO_FALLBACK = 0x80000001u;

// GCGetLocale flags.
inline constexpr uint32_t GC_GL_USER = 0x2;     // build the user's locale
inline constexpr uint32_t GC_GL_FALLBACK = 0x4; // fall back on the language's defaults

// Class word bits of group 1.
inline constexpr uint32_t GC_C_ALPHA = 0x001;
inline constexpr uint32_t GC_C_UPPER = 0x002;
inline constexpr uint32_t GC_C_LOWER = 0x004;
inline constexpr uint32_t GC_C_DIGIT = 0x008;
inline constexpr uint32_t GC_C_XDIGIT = 0x010;
inline constexpr uint32_t GC_C_PUNCT = 0x020;
inline constexpr uint32_t GC_C_SPACE = 0x040;
inline constexpr uint32_t GC_C_BLANK = 0x080;
inline constexpr uint32_t GC_C_CNTRL = 0x100;
inline constexpr uint32_t GC_C_DEFINED = 0x200;

// Replacement value for bytes that are no character.
inline constexpr GCUChar GC_UCS2_INVALID = 0xFFFD;

// ---------------------------------------------------------------------------
// Memory callbacks. The context is passed as the first argument of every call.
typedef void* (*GCAllocFn)(void* ctx, uint32_t size);
typedef int (*GCFreeFn)(void* ctx, void* ptr); // non-zero on success

ORB_API void* GCDefAlloc(void* ctx, uint32_t size);
ORB_API int GCDefFree(void* ctx, void* ptr); // always 1

// flags: GC_INIT_NO_FALLBACK or 0. Result: 0, 10 (started on the built-in
// objects), 11 (not started) or 2 (the use count is at its limit). The
// global mutex is static, so its creation cannot fail.
ORB_API uint32_t GCInit(const char* path, GCAllocFn alloc, GCFreeFn free, void* ctx, uint32_t flags);

// Ends one GCInit; the last one frees everything. Result 0 or the first
// failure of releasing memory. Without a started library it returns GC_E_ARG.
ORB_API uint32_t GCTerm();

// Last-status word of the locale (null: the default locale).
ORB_API uint32_t GCGetError(const GCLocale* locale);

// Environment variable look-up: 0 when unset, else the value's length plus 1;
// the value and its NUL are copied only when that length is at most size.
ORB_API uint32_t GCGetEnv(const char* name, char* buffer, uint32_t size);

