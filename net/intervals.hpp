// Sets of addresses as sorted intervals: every list is read into spans, the
// spans are sorted and merged, and blocks are made only when written. The
// set operations are linear merges of two merged lists that hand each
// resulting span to a visitor, so a result is written without being stored.
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

// The whole block as a span.
template <class F>
Span<F> SpanOf(const Block<F>& block) {
  return Span<F>{block.network, LastOf(block)};
}

// Calls visit(span) for each span of the addresses in both merged lists, in
// address order; the spans visited are merged too. O(|a| + |b|).
template <class F, class Visit>
void ForEachCommonSpan(const std::vector<Span<F>>& a, const std::vector<Span<F>>& b, Visit visit) {
  for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
    const Span<F> shared{std::max(a[i].first, b[j].first), std::min(a[i].last, b[j].last)};
    if (shared.first <= shared.last) visit(shared);
    // The span that ends first meets nothing further in the other list.
    if (a[i].last < b[j].last) {
      ++i;
    } else {
      ++j;
    }
  }
}

// Calls visit(span) for each span of the addresses of merged `a` that are
// not in merged `b`, in address order; the spans visited are merged too.
// O(|a| + |b|).
template <class F, class Visit>
void ForEachSpanExcept(const std::vector<Span<F>>& a, const std::vector<Span<F>>& b, Visit visit) {
  std::size_t j = 0;
  for (const Span<F>& span : a) {
    typename F::Value from = span.first;
    while (j < b.size() && b[j].last < from)
      ++j;
    bool rest = true;  // from .. span.last is still to visit
    for (; j < b.size() && b[j].first <= span.last; ++j) {
      if (b[j].first > from) visit(Span<F>{from, b[j].first - 1});
      // A span of b that reaches past this one may cover the next one too.
      if (b[j].last >= span.last) {
        rest = false;
        break;
      }
      from = b[j].last + 1;
    }
    if (rest) visit(Span<F>{from, span.last});
  }
}

// The same, stored: what merged `a` and `b` share, and `a` less `b`.
template <class F>
std::vector<Span<F>> CommonSpans(const std::vector<Span<F>>& a, const std::vector<Span<F>>& b) {
  std::vector<Span<F>> shared;
  ForEachCommonSpan(a, b, [&shared](const Span<F>& span) { shared.push_back(span); });
  return shared;
}
template <class F>
std::vector<Span<F>> SpansExcept(const std::vector<Span<F>>& a, const std::vector<Span<F>>& b) {
  std::vector<Span<F>> rest;
  ForEachSpanExcept(a, b, [&rest](const Span<F>& span) { rest.push_back(span); });
  return rest;
}

// How many addresses the merged spans hold.
template <class F>
AddressCount AddressesOf(const std::vector<Span<F>>& merged) {
  AddressCount total;
  for (const Span<F>& span : merged)
    total += SpanSize(span);
  return total;
}
