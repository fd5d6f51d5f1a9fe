#include "net/block_calculator.hpp"

#include <memory>
#include <utility>

#include "base/text.hpp"
#include "net/address_list.hpp"
#include "net/address_text.hpp"
#include "net/block.hpp"
#include "net/decimal.hpp"
#include "net/facts.hpp"
#include "net/free_space.hpp"
#include "net/summarize.hpp"

namespace {

constexpr const char* Blanks = " \t\r\n";
constexpr const char* SplitTitle = "Invalid split";
constexpr const char* SplitHint =
    "type /P for sub-networks of prefix P, or N for at least N sub-networks";
constexpr const char* ListTitle = "Invalid list entry";
// The go-to refusals, worded as the classful plan's.
constexpr const char* OutsideTitle = "Address outside the block";
constexpr const char* NoSuchIndexTitle = "No such sub-network";
constexpr const char* UnreadableTitle = "Invalid sub-network";

bool IsDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

template <class F>
std::string SplitOf(const Block<F>& block, SplitBy by, const std::string& value, AnySplit& split) {
  EqualSplit<F> made;
  const std::string problem = MakeSplit(block, by, value, made);
  split = made;
  return problem;
}

// "/P" is a prefix; anything else a number of sub-networks, which must be digits.
std::string SplitProblem(const AnyBlock& block, const std::string& typed, AnySplit& split) {
  const bool byPrefix = !typed.empty() && typed[0] == '/';
  if (!byPrefix && !IsDigits(typed)) return SplitHint;
  const SplitBy by = byPrefix ? SplitBy::Prefix : SplitBy::Subnets;
  const std::string value = byPrefix ? typed.substr(1) : typed;
  return std::visit([&](const auto& network) { return SplitOf(network, by, value, split); }, block);
}

IndexTarget NoTarget(const char* title, std::string text) {
  return IndexTarget{Uint128(), Refusal{title, std::move(text)}};
}

std::string Plural(const AddressCount& count, const char* one, const char* many) {
  return GroupedDecimal(count) + " " + (count == AddressCount(1) ? one : many);
}

// "3 blocks: 2 IPv4, 1 IPv6".
std::string SummaryStatus(const BlockCounts& blocks) {
  return Plural(blocks.ipv4 + blocks.ipv6, "block", "blocks") + ": " + GroupedDecimal(blocks.ipv4) +
         " IPv4, " + GroupedDecimal(blocks.ipv6) + " IPv6";
}

ListOutcome RefusedList(Refusal refusal) {
  ListOutcome outcome;
  outcome.refusal = std::move(refusal);
  return outcome;
}

}  // namespace

FactsOutcome RunBlockFacts(const std::string& blockText) {
  const std::string typed = Trimmed(blockText, Blanks);
  FactsOutcome outcome;
  AnyTyped read;
  const std::string problem = ReadAnyTyped(typed, read);
  if (!problem.empty()) {
    outcome.refusal = BlockRefusal(typed, problem);
    return outcome;
  }
  std::visit([&](const auto& block) { WriteBlockFacts(block, ListFormat::Text, outcome.facts); },
             read);
  return outcome;
}

SplitOutcome RunBlockSplit(const std::string& blockText, const std::string& splitText) {
  const std::string typedBlock = Trimmed(blockText, Blanks);
  const std::string typedSplit = Trimmed(splitText, Blanks);
  SplitOutcome outcome;
  AnyBlock block;
  std::string problem = ReadAnyNetwork(typedBlock, block);
  if (!problem.empty()) {
    outcome.refusal = BlockRefusal(typedBlock, problem);
    return outcome;
  }
  problem = SplitProblem(block, typedSplit, outcome.split);
  if (!problem.empty()) {
    outcome.refusal = Refusal{
        SplitTitle, AsSentence("The split '" + typedSplit + "' cannot be used: " + problem)};
  }
  return outcome;
}

template <class F>
IndexTarget FindSplitTarget(const EqualSplit<F>& split, const std::string& typed) {
  const std::string text = Trimmed(typed, Blanks);
  const Uint128 last(SplitLastIndex(split));
  if (IsDigits(text)) {
    AddressCount number;
    ReadDecimal(text, number);
    if (number <= AddressCount(last)) return IndexTarget{number.low, Refusal()};
    return NoTarget(NoSuchIndexTitle, "There is no sub-network " + text +
                                          ": the indexes run from 0 to " + DecimalText(last) + ".");
  }
  typename F::Value address{};
  if (ReadAddress(text.data(), text.data() + text.size(), address) != nullptr) {
    return NoTarget(UnreadableTitle, "Type a sub-network index from 0 to " + DecimalText(last) +
                                         ", or an address such as " +
                                         AddressText(split.block.network) + ".");
  }
  typename F::Index index{};
  if (!SplitIndexOf(split, address, index)) {
    return NoTarget(OutsideTitle, AddressText(address) +
                                      " is in none of the sub-networks, which cover " +
                                      FormatBlock(split.block) + ".");
  }
  return IndexTarget{Uint128(index), Refusal()};
}

template <class F>
std::string SplitRowText(const EqualSplit<F>& split, const typename F::Index& index) {
  const SubnetRow<F> row = SplitRow(split, index);
  std::string text = DecimalText(Uint128(index)) + "\n" + AddressText(row.network) + "\n" +
                     AddressText(row.first) + "\n" + AddressText(row.last);
  if constexpr (F::Bits == 32) text += "\n" + AddressText(row.broadcast);
  return text;
}

ListOutcome RunSummarize(const std::string& listText) {
  AddressSpans spans;
  const std::string problem = ReadAddressList(listText, spans);
  if (!problem.empty()) return RefusedList(Refusal{ListTitle, AsSentence(problem)});
  MergeSpans(spans);
  // Shared with the writer, which a later save calls again.
  auto merged = std::make_shared<const AddressSpans>(std::move(spans));
  ListOutcome outcome;
  BlockCounts counts;
  WriteSummary(*merged, ListFormat::Tsv, outcome.tsv, &counts);
  outcome.status = SummaryStatus(counts);
  outcome.write = [merged](ListFormat format, TextSink sink) {
    return WriteSummary(*merged, format, sink);
  };
  return outcome;
}

ListOutcome RunFreeSpace(const std::string& blockText, const std::string& listText) {
  const std::string typed = Trimmed(blockText, Blanks);
  AnyBlock block;
  const std::string blockProblem = ReadAnyNetwork(typed, block);
  if (!blockProblem.empty()) return RefusedList(BlockRefusal(typed, blockProblem));
  ListOutcome outcome;
  const std::string problem =
      WriteFreeSpace(block, listText, ListFormat::Tsv, outcome.tsv, outcome.status);
  if (!problem.empty()) return RefusedList(Refusal{ListTitle, AsSentence(problem)});
  outcome.write = [block, listText](ListFormat format, TextSink sink) {
    std::string useLine;
    return WriteFreeSpace(block, listText, format, sink, useLine).empty();
  };
  return outcome;
}

#define VELKOR_BLOCK_CALCULATOR_FUNCTIONS(F)                                         \
  template IndexTarget FindSplitTarget<F>(const EqualSplit<F>&, const std::string&); \
  template std::string SplitRowText<F>(const EqualSplit<F>&, const typename F::Index&);
VELKOR_BLOCK_CALCULATOR_FUNCTIONS(Ipv4)
VELKOR_BLOCK_CALCULATOR_FUNCTIONS(Ipv6)
