// Equal classless splits: a block cut into 2^s sub-networks of one size, with
// every row and the row of any address computed, never stored, so the last
// of 2^128 rows costs what the first does.
#pragma once

#include <string>

#include "net/family.hpp"
#include "net/listing.hpp"
#include "net/output.hpp"

template <class F>
struct EqualSplit {
  Block<F> block;
  int subnetPrefix = F::Bits;  // block.prefix .. F::Bits
};

// How the sub-network size is given. No sub-network is reserved.
enum class SplitBy {
  Subnets,  // at least N sub-networks: the smallest s with 2^s >= N
  Hosts,    // at least N hosts each: IPv4 the smallest h >= 2 with 2^h - 2 >= N,
            // IPv6 the smallest sub-network with N hosts (a /127 has 2, a /128 1)
  Prefix,   // the sub-networks' prefix
  Mask,     // the sub-networks' mask, dotted (IPv4 only)
};

// Reads `value` for `by` and stores the split of `block`. Returns the empty
// text, or why there is no such split (not a number, a sub-network larger than
// the block, more sub-networks than it holds, ...).
template <class F>
std::string MakeSplit(const Block<F>& block, SplitBy by, const std::string& value,
                      EqualSplit<F>& split);

// The index of the last sub-network: 2^s - 1.
template <class F>
typename F::Index SplitLastIndex(const EqualSplit<F>& split);
// Every sub-network, for WriteListing.
template <class F>
Listing<F> SplitRange(const EqualSplit<F>& split);
// The addresses of sub-network `index` (0 .. SplitLastIndex).
template <class F>
SubnetRow<F> SplitRow(const EqualSplit<F>& split, const typename F::Index& index);
// The index of the sub-network holding `address`; false outside the block.
template <class F>
bool SplitIndexOf(const EqualSplit<F>& split, const typename F::Value& address,
                  typename F::Index& index);

// The split's report as one record: network (the block), subnet_prefix,
// subnet_mask (IPv4 only), subnets, addresses and hosts (of each
// sub-network), first_subnet and last_subnet.
template <class F>
bool WriteSplitReport(const EqualSplit<F>& split, ListFormat format, TextSink sink);
