// Equal classless splits: a block cut into 2^s sub-networks of one size, with
// every row and the row of any address computed, never stored.
#pragma once

#include <cstdint>
#include <string>

#include "calc/cidr.hpp"
#include "calc/listing.hpp"
#include "calc/output.hpp"
#include "calc/subnet_range.hpp"

struct EqualSplit {
  CidrBlock block;
  int subnetPrefix = 32;  // block.prefix .. 32
};

// How the sub-network size is given. No sub-network is reserved.
enum class SplitBy {
  Subnets,  // at least N sub-networks: the smallest s with 2^s >= N
  Hosts,    // at least N hosts each: the smallest h >= 2 with 2^h - 2 >= N
  Prefix,   // the sub-networks' prefix
  Mask,     // the sub-networks' mask, dotted
};

// Reads `value` for `by` and stores the split of `block`. Returns the empty
// text, or why there is no such split (not a number, a sub-network larger than
// the block, more sub-networks than it holds, ...).
std::string MakeSplit(const CidrBlock& block, SplitBy by, const std::string& value,
                      EqualSplit& split);

// Number of sub-networks, 1 to 2^32.
int64_t SplitCount(const EqualSplit& split);
// Every sub-network, for WriteListing.
ListingRange SplitRange(const EqualSplit& split);
// The four addresses of sub-network `index` (0 .. SplitCount - 1).
SubnetAddresses SplitRow(const EqualSplit& split, int64_t index);
// The index of the sub-network holding `address`, or -1 outside the block.
int64_t SplitIndexOf(const EqualSplit& split, HostOrderAddress address);

// The split's report as one record: network (the block), subnet_prefix,
// subnet_mask, subnets, addresses and hosts (of each sub-network),
// first_subnet and last_subnet.
bool WriteSplitReport(const EqualSplit& split, ListFormat format, TextSink sink);
