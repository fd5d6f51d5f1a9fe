#include "net/block_map.hpp"

#include <algorithm>
#include <numeric>

#include "net/family.hpp"

namespace {

// Pixel of the address `offset` (0 to 2^blockBits) across `width`: the
// product has at most 128 + 31 bits, then the division is a shift.
struct Scaled {
  int floor = 0;
  bool exact = true;  // no remainder: the address is on a pixel's edge
};
Scaled ScaledEdge(const AddressCount& offset, int blockBits, int width) {
  const AddressCount product = offset * static_cast<uint32_t>(width);
  const Uint128 whole = product.low >> blockBits | Uint128(product.high) << (128 - blockBits);
  return Scaled{static_cast<int>(static_cast<uint64_t>(whole)),
                !(product.low & LowOnes(blockBits))};
}

}  // namespace

std::vector<MapSpan> LayOutBlockMap(const std::vector<MapRow>& rows, int blockBits, int width) {
  width = std::max(width, 0);
  std::vector<int> order(rows.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&rows](int a, int b) { return rows[a].offset < rows[b].offset; });
  std::vector<MapSpan> spans;
  spans.reserve(rows.size());
  int taken = 0;  // pixels before this are held by earlier rows
  for (int row : order) {
    const int first = ScaledEdge(rows[row].offset, blockBits, width).floor;
    const Scaled end =
        ScaledEdge(AddressCount(rows[row].offset) + rows[row].size, blockBits, width);
    const int touched = end.floor + (end.exact ? 0 : 1);  // one past the last pixel touched
    // A row that finds its pixels taken is an empty span where the next
    // free pixel is, so that the spans' edges never go back.
    const int left = std::max(first, taken);
    const int right = std::max(std::min(std::max(end.floor, left + 1), touched), left);
    spans.push_back(MapSpan{row, left, right});
    taken = right;
  }
  return spans;
}

int MapRowAt(const std::vector<MapSpan>& spans, int x) {
  auto after = std::upper_bound(spans.begin(), spans.end(), x,
                                [](int pixel, const MapSpan& span) { return pixel < span.right; });
  return after != spans.end() && after->left <= x ? after->row : -1;
}

template <class F>
std::vector<MapRow> PlanMapRows(const VlsmPlanOf<F>& plan) {
  std::vector<MapRow> rows;
  rows.reserve(plan.placed.size() + plan.free.size());
  for (const auto* blocks : {&plan.placed, &plan.free}) {
    for (const Block<F>& block : *blocks)
      rows.push_back(
          MapRow{Uint128(block.network - plan.block.network), AddressesIn<F>(block.prefix)});
  }
  return rows;
}

template std::vector<MapRow> PlanMapRows(const VlsmPlanOf<Ipv4>& plan);
template std::vector<MapRow> PlanMapRows(const VlsmPlanOf<Ipv6>& plan);
