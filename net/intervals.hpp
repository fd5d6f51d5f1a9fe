// Sets of addresses as sorted intervals: every list is read into spans, the
// spans are sorted and merged, and blocks are made only when written.
#pragma once

#include <vector>

#include "net/family.hpp"

// The addresses first .. last, both inclusive; 8 bytes for IPv4.
template <class F>
struct Span {
  typename F::Value first{};
  typename F::Value last{};
};

// The spans of a list of both families.
struct AddressSpans {
  std::vector<Span<Ipv4>> ipv4;
  std::vector<Span<Ipv6>> ipv6;
};

// Sorts the spans and merges those that overlap or touch, in place: the
// result is sorted, disjoint and never adjacent. O(n log n).
template <class F>
void MergeSpans(std::vector<Span<F>>& spans);

// The fewest blocks that cover exactly the merged spans, in address order.
template <class F>
std::vector<Block<F>> BlocksOfSpans(const std::vector<Span<F>>& merged);
