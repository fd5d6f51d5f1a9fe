// Fuzzes the set operations on two lists cut from the same bytes at the first
// '|', in both families, checking their laws: what the lists share lies inside
// each; what is left of A and what A shares with B make A again; the free space
// of a block and its used space tile it exactly; the next free blocks are
// free, aligned and in order; and every pair of entries that overlap is found.
#include <algorithm>
#include <string>
#include <vector>

#include "net/address_list.hpp"
#include "net/free_space.hpp"
#include "net/overlaps.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

// The span of merged `spans` that holds `span` wholly, found by binary search.
template <class F>
bool Inside(const Span<F>& span, const std::vector<Span<F>>& spans) {
  const auto after = std::upper_bound(
      spans.begin(), spans.end(), span.first,
      [](const typename F::Value& first, const Span<F>& s) { return first < s.first; });
  return after != spans.begin() && span.last <= (after - 1)->last;
}

// No address of `span` is in merged `spans`.
template <class F>
bool Apart(const Span<F>& span, const std::vector<Span<F>>& spans) {
  const auto after = std::upper_bound(
      spans.begin(), spans.end(), span.last,
      [](const typename F::Value& last, const Span<F>& s) { return last < s.first; });
  return after == spans.begin() || (after - 1)->last < span.first;
}

template <class F>
bool Same(const std::vector<Span<F>>& a, const std::vector<Span<F>>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](const Span<F>& x, const Span<F>& y) {
           return x.first == y.first && x.last == y.last;
         });
}

// Sorted, disjoint and never adjacent: merging changes nothing.
template <class F>
bool IsMerged(std::vector<Span<F>> spans) {
  const std::vector<Span<F>> before = spans;
  MergeSpans(spans);
  return Same(spans, before);
}

template <class F>
void CheckCommonAndExcept(const std::vector<Span<F>>& a, const std::vector<Span<F>>& b) {
  const std::vector<Span<F>> shared = CommonSpans(a, b), rest = SpansExcept(a, b);
  FUZZ_CHECK(IsMerged(shared) && IsMerged(rest));
  for (const Span<F>& span : shared)
    FUZZ_CHECK(Inside(span, a) && Inside(span, b));
  for (const Span<F>& span : rest)
    FUZZ_CHECK(Inside(span, a) && Apart(span, b));
  std::vector<Span<F>> again = rest;
  again.insert(again.end(), shared.begin(), shared.end());
  MergeSpans(again);
  FUZZ_CHECK(Same(again, a));
  FUZZ_CHECK(AddressesOf(rest) + AddressesOf(shared) == AddressesOf(a));
}

// The free spans and the used ones, all sorted together, follow one another
// from the block's first address to its last without a gap or an overlap.
template <class F>
void CheckFreeSpace(const Block<F>& block, const std::vector<Span<F>>& used) {
  std::vector<Span<F>> tiles = used;
  ForEachFreeSpan(block, used, [&tiles](const Span<F>& span) { tiles.push_back(span); });
  std::sort(tiles.begin(), tiles.end(),
            [](const Span<F>& x, const Span<F>& y) { return x.first < y.first; });
  typename F::Value next = block.network;
  for (const Span<F>& tile : tiles) {
    FUZZ_CHECK(tile.first == next && tile.first <= tile.last);
    next = tile.last + 1;
  }
  FUZZ_CHECK(!tiles.empty() && tiles.back().last == LastOf(block));
}

// The blocks visited are as many as counted, and exactly the first free ones
// of the candidates taken in order (tried one by one when they are few).
template <class F>
void CheckNextBlocks(const Block<F>& block, const std::vector<Span<F>>& used, int prefix,
                     const AddressCount& limit) {
  std::vector<Span<F>> visited, firstFree;
  ForEachFreeBlock(block, used, prefix, limit, [&](const Block<F>& free) {
    FUZZ_CHECK(free.prefix == prefix && Contains(block, free) && Apart(SpanOf(free), used));
    FUZZ_CHECK(visited.empty() || free.network > visited.back().last);
    visited.push_back(SpanOf(free));
  });
  FUZZ_CHECK(AddressCount(visited.size()) == CountFreeBlocks(block, used, prefix, limit));
  if (prefix - block.prefix > 8) return;
  const typename F::Value size = HostMask<F>(prefix);
  for (typename F::Value at = block.network;; at = at + size + 1) {
    const Span<F> candidate{at, at + size};
    if (AddressCount(firstFree.size()) < limit && Apart(candidate, used))
      firstFree.push_back(candidate);
    if (candidate.last == LastOf(block)) break;
  }
  FUZZ_CHECK(Same(visited, firstFree));
}

// Every pair found overlaps; in a list small enough, the pairs are exactly
// those found by trying each one, in the same order.
template <class F>
void CheckPairs(const std::vector<PlacedSpan<F>>& entries, const std::vector<OverlapPair>& pairs) {
  const auto overlap = [&entries](std::size_t i, std::size_t j) {
    return std::max(entries[i].span.first, entries[j].span.first) <=
           std::min(entries[i].span.last, entries[j].span.last);
  };
  for (const OverlapPair& pair : pairs)
    FUZZ_CHECK(pair.a < pair.b && overlap(pair.a, pair.b));
  if (entries.size() > 64) return;
  std::vector<OverlapPair> expected;
  for (std::size_t i = 0; i < entries.size(); ++i)
    for (std::size_t j = i + 1; j < entries.size(); ++j)
      if (overlap(i, j)) expected.push_back(OverlapPair{i, j});
  FUZZ_CHECK(std::equal(
      expected.begin(), expected.end(), pairs.begin(), pairs.end(),
      [](const OverlapPair& x, const OverlapPair& y) { return x.a == y.a && x.b == y.b; }));
}

// The first entry of A, read, decides where the block of the free space lies.
template <class F>
void CheckFamily(std::vector<Span<F>> a, std::vector<Span<F>> b, const std::string& usedText,
                 const uint8_t* bits) {
  const Block<F> block =
      BlockOf(Typed<F>{a.empty() ? typename F::Value{} : a[0].first, bits[0] % (F::Bits + 1)});
  MergeSpans(a);
  MergeSpans(b);
  CheckCommonAndExcept(a, b);
  CheckCommonAndExcept(b, a);
  BlockCollector<F> used(block);
  FUZZ_CHECK(ReadList(usedText, used).empty());
  MergeSpans(used.spans);
  CheckFreeSpace(block, used.spans);
  const int prefix = block.prefix + bits[1] % (F::Bits - block.prefix + 1);
  CheckNextBlocks(block, used.spans, prefix, AddressCount(bits[2] % 16 + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = std::min(text.find('|'), text.size());
  const std::string a = text.substr(0, cut), b = cut < text.size() ? text.substr(cut + 1) : "";
  AddressSpans listA, listB;
  if (!ReadAddressList(a, listA).empty() || !ReadAddressList(b, listB).empty()) return 0;
  const uint8_t bits[3] = {size > 0 ? data[size - 1] : uint8_t{0},
                           size > 1 ? data[size - 2] : uint8_t{0},
                           size > 2 ? data[size - 3] : uint8_t{0}};
  CheckFamily(listA.ipv4, listB.ipv4, b, bits);
  CheckFamily(listA.ipv6, listB.ipv6, b, bits);
  PlacedList placed;
  FUZZ_CHECK(ReadList(a, placed).empty());
  const Overlaps overlaps = FindOverlaps(placed);
  CheckPairs(placed.ipv4, overlaps.ipv4);
  CheckPairs(placed.ipv6, overlaps.ipv6);
  for (ListFormat format : {ListFormat::Text, ListFormat::Tsv, ListFormat::Csv, ListFormat::Json}) {
    std::string written;
    FUZZ_CHECK(WriteOverlaps(placed, overlaps, format, written));
  }
  return 0;
}
