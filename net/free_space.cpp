#include "net/free_space.hpp"

#include <variant>

#include "net/address_list.hpp"
#include "net/summarize.hpp"

template <class F>
AlignedRun<F> AlignedBlocksIn(const Span<F>& span, int prefix) {
  const int bits = F::Bits - prefix;
  const typename F::Value low = HostMask<F>(prefix);
  // The index of the first block that starts at or after span.first, and one
  // past the index of the last that ends at or before span.last; counted
  // beyond 128 bits, as one past the last /128 of the space is 2^128.
  const bool cut = (span.first & low) != 0;
  const AddressCount begin = AddressCount(F::IndexOf(span.first, bits)) + AddressCount(cut ? 1 : 0);
  const AddressCount end =
      AddressCount(F::IndexOf(span.last, bits)) + AddressCount((span.last & low) == low ? 1 : 0);
  AlignedRun<F> run;
  if (begin < end) {
    run.first = cut ? (span.first | low) + 1 : span.first;
    run.count = end - begin;
  }
  return run;
}

template AlignedRun<Ipv4> AlignedBlocksIn<Ipv4>(const Span<Ipv4>&, int);
template AlignedRun<Ipv6> AlignedBlocksIn<Ipv6>(const Span<Ipv6>&, int);

template <class F>
bool WriteFreeBlocks(const Block<F>& block, const std::vector<Span<F>>& used, ListFormat format,
                     TextSink sink, uint64_t& freeBlocks) {
  BlockWriter writer(format, sink);
  ForEachFreeSpan(block, used, [&writer](const Span<F>& span) { writer.AddSpan(span); });
  freeBlocks = writer.Rows();
  return writer.Finish(UsedLine(AddressesOf(used), F::Bits - block.prefix));
}

namespace {

template <class F>
std::string FreeSpaceOfList(const Block<F>& block, const std::string& listText, ListFormat format,
                            TextSink sink, std::string& useLine) {
  BlockCollector<F> used(block);
  const std::string problem = ReadList(listText, used);
  if (!problem.empty()) return problem;
  MergeSpans(used.spans);
  uint64_t freeBlocks = 0;
  if (!WriteFreeBlocks(block, used.spans, format, sink, freeBlocks)) return "cannot write";
  useLine = UseStatus(AddressesOf(used.spans), F::Bits - block.prefix, freeBlocks);
  return std::string();
}

}  // namespace

std::string WriteFreeSpace(const AnyBlock& block, const std::string& listText, ListFormat format,
                           TextSink sink, std::string& useLine) {
  return std::visit(
      [&](const auto& within) { return FreeSpaceOfList(within, listText, format, sink, useLine); },
      block);
}

template bool WriteFreeBlocks<Ipv4>(const Block<Ipv4>&, const std::vector<Span<Ipv4>>&, ListFormat,
                                    TextSink, uint64_t&);
template bool WriteFreeBlocks<Ipv6>(const Block<Ipv6>&, const std::vector<Span<Ipv6>>&, ListFormat,
                                    TextSink, uint64_t&);
