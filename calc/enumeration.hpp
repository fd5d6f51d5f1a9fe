// Paging of the sub-network list and the texts of one row.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "calc/plan.hpp"

// Rows shown per page after the first (the first page shows one more).
constexpr int32_t SubnetPageSize = 25;

// First and last index of a page, both inclusive. 64-bit, so a classless
// split of 2^32 sub-networks pages as a classful plan does.
struct IndexRange {
  int64_t first = 0;
  int64_t last = 0;
};

// Pages needed for indexes 0 .. lastIndex; at least 1. 2^32 rows in pages of
// SubnetPageSize take 171,798,692 pages; a count beyond 32 bits saturates.
int32_t PageCount(int64_t lastIndex, int64_t pageSize);
// The indexes of `page` (1-based). A page past the last yields the last page,
// a page below 1 the first, so the range is always valid.
void PageRange(int64_t lastIndex, int64_t pageSize, int64_t page, IndexRange& range);

// The page (1-based) that shows `index`; index 0 and below are on page 1.
int64_t PageOfIndex(int64_t index, int64_t pageSize);

// The five cell texts of a row: index, network, first, last, broadcast.
std::array<std::string, 5> RowTexts(const SubnetEntry& entry);
// The row texts joined by line feeds, as the list takes a row.
std::string RowText(const SubnetEntry& entry);
