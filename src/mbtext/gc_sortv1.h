// Sort-table layout and the upgrade of old (version 1 and 2) sort tables.
//
// Threads: safe from several threads; no shared state.
#pragma once

#include <cstdint>

#include "orb_api.h"

inline constexpr uint32_t GC_SORT_HDR_SIZE = 2068;   // version 3 header
inline constexpr uint32_t GC_SORT_PAGES = 8;         // 256 x 8-byte page entries
inline constexpr uint32_t GC_SORT_OFF_WEIGHTS = 2056;
inline constexpr uint32_t GC_SORT_OFF_EXPANSIONS = 2060;
inline constexpr uint32_t GC_SORT_OFF_COMBINATIONS = 2064;
inline constexpr uint32_t GC_SORT_WEIGHT_SIZE = 6;
inline constexpr uint32_t GC_SORT_EXPANSION_SIZE = 14;
inline constexpr uint32_t GC_SORT_COMBINATION_SIZE = 10;

inline constexpr uint32_t GC_SORT1_HDR_SIZE = 1036;  // versions 1 and 2
inline constexpr uint32_t GC_SORT1_PAGES = 6;        // 256 x 4-byte page entries
inline constexpr uint32_t GC_SORT1_OFF_WEIGHTS = 1030;
inline constexpr uint32_t GC_SORT1_OFF_EXPANSIONS = 1032;
inline constexpr uint32_t GC_SORT1_OFF_COMBINATIONS = 1034;

// Page flags.
inline constexpr uint8_t GC_SORTP_NONE = 0x01;
inline constexpr uint8_t GC_SORTP_ALGO = 0x02;
inline constexpr uint8_t GC_SORTP_ALGO_SPECIAL = 0x04;

// Returns a newly allocated version-3 table (library callback) and its size,
// or null when the allocation fails or the old table is malformed.
ORB_API uint8_t* GCSortV1toV3(const uint8_t* old_table, uint32_t old_size, uint32_t* new_size);
