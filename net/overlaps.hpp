// Overlaps within one list: every pair of entries that share addresses, with
// the line and the text of each, found by one sweep over the entries sorted
// by their first address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "net/address_list.hpp"
#include "net/intervals.hpp"
#include "net/output.hpp"

// An entry with where it stands in its list.
template <class F>
struct PlacedSpan {
  Span<F> span;
  int64_t line = 0;
  std::size_t text = 0;  // its text in PlacedList::texts; grows with the entry's place
};

// A list kept entry by entry, in input order, with the text of each.
struct PlacedList final : ListReader::Visitor {
  void Add(const ListEntry& entry, int64_t line, const char* at, const char* end) override;

  std::vector<PlacedSpan<Ipv4>> ipv4;
  std::vector<PlacedSpan<Ipv6>> ipv6;
  std::string texts;  // every entry's text, each ended by a NUL
};

// Two overlapping entries of one family: their indexes in its vector, a < b.
struct OverlapPair {
  std::size_t a = 0;
  std::size_t b = 0;
};

// The pairs of each family, sorted by a, then b.
struct Overlaps {
  std::vector<OverlapPair> ipv4;
  std::vector<OverlapPair> ipv6;
};

// Every pair of entries that overlap, exact repeats included. O(n log n +
// pairs) time, O(n + pairs) memory.
Overlaps FindOverlaps(const PlacedList& list);

// Writes the pairs in the order of the first entry's place in the list, then
// the second's. Text: "line 3 '10.0.0.0/8' and line 7 '10.1.0.0/16' share
// 10.1.0.0-10.1.255.255", one pair a line; tsv, csv (with a header line)
// and json (an array of objects): line_a, entry_a, line_b, entry_b and
// overlap ("first-last"). False when a write failed.
bool WriteOverlaps(const PlacedList& list, const Overlaps& overlaps, ListFormat format,
                   TextSink sink);
