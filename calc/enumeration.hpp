// Paging of the sub-network list and the texts of one row.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "calc/plan.hpp"

// Rows shown per page after the first (the first page shows one more).
constexpr int32_t SubnetPageSize = 25;

// First and last index of a page, both inclusive.
struct IndexRange {
  int32_t first = 0;
  int32_t last = 0;
};

// Pages needed for indexes 0 .. lastIndex; at least 1.
int32_t PageCount(int32_t lastIndex, int32_t pageSize);
// The indexes of `page` (1-based). A page past the last yields the last page,
// a page below 1 the first, so the range is always valid.
void PageRange(int32_t lastIndex, int32_t pageSize, int32_t page, IndexRange& range);

// The page (1-based) that shows `index`; index 0 and below are on page 1.
int32_t PageOfIndex(int32_t index, int32_t pageSize);

// The five cell texts of a row: index, network, first, last, broadcast.
std::array<std::string, 5> RowTexts(const SubnetEntry& entry);
// The row texts joined by line feeds, as the list takes a row.
std::string RowText(const SubnetEntry& entry);
