// The block calculator's sequences without its window: the facts of a typed
// block, an equal split of it and the sub-network a go-to names in that
// split, and the lists summarized or taken from a block's free space. Each is
// refused with the message box it shows; the problem itself is worded as
// velkor prints it.
#pragma once

#include <functional>
#include <string>
#include <variant>

#include "base/refusal.hpp"
#include "net/output.hpp"
#include "net/split.hpp"
#include "net/uint128.hpp"

// An equal split of either family.
using AnySplit = std::variant<EqualSplit<Ipv4>, EqualSplit<Ipv6>>;

struct FactsOutcome {
  Refusal refusal;    // a message box to show when its title is not empty; no facts then
  std::string facts;  // what velkor BLOCK prints
};
// The facts of `blockText` (blanks around it ignored) read as velkor reads a
// BLOCK: either family, host bits kept ("10.1.2.3/20").
FactsOutcome RunBlockFacts(const std::string& blockText);

struct SplitOutcome {
  Refusal refusal;  // a message box to show when its title is not empty
  AnySplit split;
};
// `blockText` as a network of either family, split as `splitText` says: "/P"
// into sub-networks of prefix P, "N" into the fewest that are at least N.
SplitOutcome RunBlockSplit(const std::string& blockText, const std::string& splitText);

// What a typed go-to target names: a sub-network by its index, or why none.
struct IndexTarget {
  Uint128 index;    // the sub-network, when `refusal` has no title
  Refusal refusal;  // why there is none
};
// A decimal index (0 to the last, up to 2^128 - 1) or an address of the
// split's family inside its block; surrounding blanks are ignored.
template <class F>
IndexTarget FindSplitTarget(const EqualSplit<F>& split, const std::string& typed);

// The cells of sub-network `index` as the sub-networks window shows them,
// joined by line feeds: index, network, first, last and, for IPv4, broadcast.
template <class F>
std::string SplitRowText(const EqualSplit<F>& split, const typename F::Index& index);

// A list of blocks as velkor writes it: the tsv the window shows and copies,
// and the writer of the same rows in any format, for a save.
struct ListOutcome {
  Refusal refusal;     // a message box to show when its title is not empty; nothing else then
  std::string tsv;     // a header line (network, prefix, first, last, addresses), a line per block
  std::string status;  // what the rows are: "3 blocks: 2 IPv4, 1 IPv6", or the use of the block
  std::function<bool(ListFormat format, TextSink sink)> write;
};
// The fewest blocks that cover the list's blocks, addresses and ranges of
// both families (velkor --summarize).
ListOutcome RunSummarize(const std::string& listText);
// What the list leaves free in the network `blockText`, with the block's use.
ListOutcome RunFreeSpace(const std::string& blockText, const std::string& listText);
