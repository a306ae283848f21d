// Internals of the file layer: reading and checking data-file headers.
#pragma once

#include <cstdint>

#include "mbtext/gc_file.h"

// Parses and checks a header image (80 bytes) against the file size:
// magic (2000), section count 1..4, section 0 not empty, every section
// within the file (1003). Returns 0 and fills hdr.
uint32_t gcFileHdrParse(const uint8_t* image, uint64_t file_size, GCFileHdr* hdr);

// Reads and checks the header of an open file.
uint32_t gcFileHdrRead(GCFile* file, GCFileHdr* hdr);
