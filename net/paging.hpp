// Pages of a list of sub-networks as the sub-networks window shows them: page
// 1 holds indexes 0 to 25, page P > 1 holds (P - 1) * 25 + 1 to P * 25. For
// 64-bit and 128-bit indexes alike, so the last of 2^128 rows has its page.
#pragma once

#include <cstdint>

#include "net/uint128.hpp"

constexpr uint32_t RowsPerPage = 25;

// First and last index of a page, both inclusive.
template <class Index>
struct PageRows {
  Index first{};
  Index last{};
};

inline void DivideIndex(uint64_t value, uint32_t divisor, uint64_t& quotient, uint32_t& rest) {
  quotient = value / divisor;
  rest = static_cast<uint32_t>(value % divisor);
}
inline void DivideIndex(const Uint128& value, uint32_t divisor, Uint128& quotient, uint32_t& rest) {
  const Uint128Division division = DivideBy(value, divisor);
  quotient = division.quotient;
  rest = division.remainder;
}

// The page that shows `index`: 1 for index 0, else ceil(index / 25).
template <class Index>
Index PageOfRow(const Index& index) {
  Index quotient{};
  uint32_t rest = 0;
  DivideIndex(index, RowsPerPage, quotient, rest);
  if (rest != 0) ++quotient;
  return index == Index{} ? Index{1} : quotient;
}

// Pages of indexes 0 .. lastIndex: the page of the last index.
template <class Index>
Index PageTotal(const Index& lastIndex) {
  return PageOfRow(lastIndex);
}

// The rows of page `page` (1 .. PageTotal(lastIndex)).
template <class Index>
PageRows<Index> RowsOfPage(const Index& lastIndex, const Index& page) {
  const Index size{RowsPerPage};
  PageRows<Index> rows;
  const Index end = page * size;  // fits: page <= PageTotal(lastIndex)
  rows.first = page == Index{1} ? Index{} : end - size + Index{1};
  rows.last = end > lastIndex || end < page ? lastIndex : end;
  return rows;
}
