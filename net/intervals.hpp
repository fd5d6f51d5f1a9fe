// Sets of addresses as sorted intervals: every list is read into spans, the
// spans are sorted and merged, and blocks are made only when written.
#pragma once

#include <algorithm>
#include <vector>

#include "net/count.hpp"
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
// result is sorted, disjoint and never adjacent ("merged"). O(n log n).
template <class F>
void MergeSpans(std::vector<Span<F>>& spans);
void MergeSpans(AddressSpans& spans);

// How many addresses the span holds: up to 2^128.
template <class F>
AddressCount SpanSize(const Span<F>& span) {
  return AddressCount(Uint128(span.last - span.first)) + AddressCount(1);
}
