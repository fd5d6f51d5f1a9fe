// Summarizing: the fewest CIDR blocks that cover exactly the union of a list
// of blocks, addresses and ranges of both families.
#pragma once

#include <vector>

#include "net/family.hpp"
#include "net/intervals.hpp"
#include "net/output.hpp"

// Blocks of both families, each in address order.
struct BlockLists {
  std::vector<Block<Ipv4>> ipv4;
  std::vector<Block<Ipv6>> ipv6;
};

// The fewest blocks that cover exactly the union of the spans, each family in
// address order. Sorts and merges the spans in place. O(n log n).
BlockLists Summarize(AddressSpans& spans);

// Writes the blocks, IPv4 first: text as one "address/prefix" per line; tsv,
// csv (with a header line) and json (an array of objects) with the columns
// network (the bare address), prefix, first, last and addresses. False when a
// write failed.
bool WriteSummary(const BlockLists& blocks, ListFormat format, TextSink sink);
