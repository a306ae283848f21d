// Internals of the object manager: loaded state, the manager, validation.
#pragma once

#include <cstdint>

#include "mbtext/gc_obj.h"

// True when the entry's data is loaded (read with acquire ordering, so a
// loaded entry's sections are visible to the reader).
bool gcObjLoaded(const GCObj* entry);

// The object manager of the started library, or null.
GCOctx* gcObjManager();

// Code page 1 (US-ASCII in every directory): the started library's, else the
// built-in one. Used to convert ASCII texts such as object names.
GCObj* gcCodePageAscii();

// Checks the loaded sections of an object of its class (offsets, counts,
// trie indices and texts within their sections). 0 or GC_E_FILE_READ; a
// code page also GC_E_NOMEM when its tries cannot be walked for lack of
// memory.
uint32_t gcObjValidate(const GCObj* entry);
uint32_t gcLanguageValidate(const uint8_t* data, uint32_t size);
uint32_t gcTerritoryValidate(const uint8_t* data, uint32_t size);
uint32_t gcSortValidate(const uint8_t* data, uint32_t size);
// Code page: main table, multibyte trie, low and high blocks.
uint32_t gcCodePageValidate(const GCObj* cp);
