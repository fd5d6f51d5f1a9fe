// The free space of a block: what no entry of a used list covers, as spans
// and as blocks written, and the first free aligned blocks of a size in it,
// lowest first. velkor's --free and --next write it; the block calculator
// shows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/count.hpp"
#include "net/family.hpp"
#include "net/intervals.hpp"
#include "net/output.hpp"

// The aligned blocks of one prefix that lie wholly in a span: the network of
// the first (meaningful when count > 0) and how many follow it.
template <class F>
struct AlignedRun {
  typename F::Value first{};
  AddressCount count;
};
template <class F>
AlignedRun<F> AlignedBlocksIn(const Span<F>& span, int prefix);

// Calls visit(span) for each span of `block` that no span of merged `used`
// covers, lowest first. O(|used|).
template <class F, class Visit>
void ForEachFreeSpan(const Block<F>& block, const std::vector<Span<F>>& used, Visit visit) {
  ForEachSpanExcept(std::vector<Span<F>>{SpanOf(block)}, used, visit);
}

// How many free aligned blocks of /prefix (block.prefix <= prefix) the block
// holds outside merged `used`, counted up to `limit`. O(|used|).
template <class F>
AddressCount CountFreeBlocks(const Block<F>& block, const std::vector<Span<F>>& used, int prefix,
                             const AddressCount& limit) {
  AddressCount found;
  ForEachFreeSpan(block, used, [&](const Span<F>& span) {
    if (found < limit) found += AlignedBlocksIn(span, prefix).count;
  });
  return found < limit ? found : limit;
}

// Calls visit(block) for the first `limit` of those blocks, lowest first
// (fewer when fewer fit). O(|used| + limit).
template <class F, class Visit>
void ForEachFreeBlock(const Block<F>& block, const std::vector<Span<F>>& used, int prefix,
                      const AddressCount& limit, Visit visit) {
  AddressCount done;
  const typename F::Value step = HostMask<F>(prefix);
  ForEachFreeSpan(block, used, [&](const Span<F>& span) {
    const AlignedRun<F> run = AlignedBlocksIn(span, prefix);
    typename F::Value network = run.first;
    for (AddressCount k; k < run.count && done < limit; k += 1, done += 1) {
      visit(Block<F>{network, prefix});
      network = network + step + 1;  // wraps only past the last block of the space
    }
  });
}

// Writes the free space of `block` outside merged `used` (all inside the
// block) as the summary writes blocks, the text ending with UsedLine; counts
// the blocks written in `freeBlocks`. False when a write failed.
template <class F>
bool WriteFreeBlocks(const Block<F>& block, const std::vector<Span<F>>& used, ListFormat format,
                     TextSink sink, uint64_t& freeBlocks);

// The same for the entries of `listText` (as ReadAddressList reads them;
// those of the other family cover nothing). `useLine` gets the block's use
// as the window's status shows it: "Used 196 of 256 addresses (76%), 4 free
// blocks". Returns the empty text, or the refusal of the list's first bad
// entry ("line 3: '10.0.0.300/24': not an IPv4 address"), or "cannot write"
// when a write failed.
std::string WriteFreeSpace(const AnyBlock& block, const std::string& listText, ListFormat format,
                           TextSink sink, std::string& useLine);
