#include "net/block_map.hpp"

#include <ostream>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "net/block.hpp"

// Beside MapSpan, where the vectors' comparison and gtest look for them.
bool operator==(const MapSpan& a, const MapSpan& b) {
  return a.row == b.row && a.left == b.left && a.right == b.right;
}
void PrintTo(const MapSpan& s, std::ostream* out) {
  *out << "row " << s.row << " [" << s.left << ", " << s.right << ")";
}

namespace {

constexpr Uint128 Two64 = Uint128(1, 0), Two65 = Uint128(2, 0);
const AddressCount Two128 = PowerOfTwo(128);

// Edges are the rows' exact shares of the width rounded down, worked by hand
// with Python's fractions; `hits` are pixels and the row there (-1 none).
struct LayoutCase {
  const char* what;
  int blockBits, width;
  std::vector<MapRow> rows;
  std::vector<MapSpan> spans;
  std::vector<std::pair<int, int>> hits;
};
const LayoutCase Layouts[] = {
    {"one row fills a /24",
     8,
     100,
     {{0, 256}},
     {{0, 0, 100}},
     {{-1, -1}, {0, 0}, {99, 0}, {100, -1}}},
    {"one row fills an IPv6 /0", 128, 620, {{0, Two128}}, {{0, 0, 620}}, {{619, 0}, {620, -1}}},
    {"a block of one address", 0, 10, {{0, 1}}, {{0, 0, 10}}, {{9, 0}}},
    {"spans of exactly one pixel",
     8,
     256,
     {{0, 1}, {1, 254}, {255, 1}},
     {{0, 0, 1}, {1, 1, 255}, {2, 255, 256}},
     {{0, 0}, {1, 1}, {254, 1}, {255, 2}}},
    // 0.5 px each: the first takes pixel 0, the second finds it taken.
    {"spans below one pixel",
     8,
     128,
     {{0, 1}, {1, 1}, {2, 254}},
     {{0, 0, 1}, {1, 1, 1}, {2, 1, 128}},
     {{0, 0}, {1, 2}, {127, 2}}},
    // 99.6 px, then the last 0.4 px.
    {"the last pixel",
     8,
     100,
     {{0, 255}, {255, 1}},
     {{0, 0, 99}, {1, 99, 100}},
     {{98, 0}, {99, 1}}},
    // 2^64 addresses are 1000 / 2^64 px of an IPv6 /0.
    {"2^64-address rows of an IPv6 /0",
     128,
     1000,
     {{0, Two64},
      {Two64, Two64},
      {Two65, Two128 - AddressCount(Two64* Uint128(3))},
      {Uint128::Max() - Two64 + 1, Two64}},
     {{0, 0, 1}, {1, 1, 1}, {2, 1, 999}, {3, 999, 1000}},
     {{0, 0}, {1, 2}, {998, 2}, {999, 3}}},
    {"rows out of address order",
     2,
     4,
     {{2, 2}, {0, 1}, {1, 1}},
     {{1, 0, 1}, {2, 1, 2}, {0, 2, 4}},
     {{0, 1}, {1, 2}, {3, 0}}},
    {"no width", 8, 0, {{0, 256}}, {{0, 0, 0}}, {{0, -1}}},
};

TEST(BlockMap, SpansAreTheRowsSharesWithOnePixelAtLeastInAddressOrder) {
  for (const LayoutCase& c : Layouts) {
    const std::vector<MapSpan> spans = LayOutBlockMap(c.rows, c.blockBits, c.width);
    EXPECT_EQ(spans, c.spans) << c.what;
    for (const auto& [x, row] : c.hits)
      EXPECT_EQ(MapRowAt(spans, x), row) << c.what << ", pixel " << x;
  }
}

// 2001:db8:1::/48 less a /56 and a /64: 15 free blocks, as Python's
// address_exclude leaves them.
TEST(BlockMap, ThePlansRowsAreItsSubNetworksThenItsFreeBlocks) {
  std::vector<VlsmItem> items;
  VlsmPlanOf<Ipv6> plan;
  Block<Ipv6> block;
  ASSERT_EQ(ReadNetwork("2001:db8:1::/48", block), "");
  ASSERT_EQ(ReadVlsmItems<Ipv6>("dmz:/64,lan:/56", items), "");
  ASSERT_EQ(AllocateVlsm(block, items, plan), "");
  const std::vector<MapRow> rows = PlanMapRows(plan);
  const Uint128 lan = Uint128(1) << 72;
  const MapRow expected[] = {{lan, Two64}, {0, lan}, {lan + Two64, Two64}, {lan + Two65, Two65}};
  ASSERT_EQ(rows.size(), 17u);
  for (int row = 0; row < 4; ++row)
    EXPECT_TRUE(rows[row].offset == expected[row].offset && rows[row].size == expected[row].size)
        << "row " << row;
  EXPECT_TRUE(rows[16].offset == Uint128(1) << 79 && rows[16].size == PowerOfTwo(79));
}

}  // namespace
