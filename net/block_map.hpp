// A block drawn to scale: the rows of a plan as pixel spans across a strip,
// and the row under a pixel. Offsets and sizes are 128-bit, so one layout
// serves a /24 of IPv4 and a /0 of IPv6.
#pragma once

#include <vector>

#include "net/count.hpp"
#include "net/uint128.hpp"
#include "net/vlsm.hpp"

// One row of the block: its first address as an offset from the block's
// network, and its number of addresses (at least 1).
struct MapRow {
  Uint128 offset;
  AddressCount size;
};

// The pixels [left, right) that a row takes; empty (left == right) when the
// one pixel it lies in is already taken by a row before it.
struct MapSpan {
  int row = 0;  // index into the rows laid out
  int left = 0;
  int right = 0;
};

// Lays out rows that do not overlap, of a block of 2^blockBits addresses
// (blockBits 0 to 128), across `width` pixels. Each edge is at its address's
// scaled position rounded down, so a span is within a pixel of its share;
// a row narrower than a pixel still takes one pixel of those its addresses
// touch, if an earlier row has not taken it. The spans come in address
// order, one per row, never overlapping, within [0, width). O(n log n).
std::vector<MapSpan> LayOutBlockMap(const std::vector<MapRow>& rows, int blockBits, int width);

// The row whose span holds pixel x, or -1 for none. O(log n).
int MapRowAt(const std::vector<MapSpan>& spans, int x);

// The rows of a plan as its list shows them: the wanted sub-networks in
// input order, then the free blocks.
template <class F>
std::vector<MapRow> PlanMapRows(const VlsmPlanOf<F>& plan);
