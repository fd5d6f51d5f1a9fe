#include "cli/classless.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "cli/lists.hpp"
#include "cli/selection.hpp"
#include "cli/status.hpp"
#include "net/block.hpp"
#include "net/facts.hpp"
#include "net/plan_file.hpp"
#include "net/split.hpp"
#include "net/vlsm.hpp"

namespace {

// The BLOCK operand, refused as "'10.0.0.300/24': not an IPv4 address".
std::string BlockRefusal(const std::string& block, const std::string& problem) {
  return "'" + block + "': " + problem;
}

// The whole of `name` ("-" for standard input) in `text`; false with a message.
bool ReadInput(const std::string& name, std::string& text, std::string& problem) {
  const bool standardInput = name == "-";
  std::FILE* file = standardInput ? stdin : std::fopen(name.c_str(), "rb");
  if (file == nullptr) {
    problem = "cannot read " + name + ": " + std::strerror(errno);
    return false;
  }
  char block[1 << 16];
  for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
    text.append(block, got);
  const bool failed = std::ferror(file) != 0;
  if (!standardInput) std::fclose(file);
  if (failed) problem = "cannot read " + name;
  return !failed;
}

int BlockFacts(const CliOptions& options) {
  AnyTyped typed;
  const std::string problem = ReadAnyTyped(options.block, typed);
  if (!problem.empty()) return Refused(BlockRefusal(options.block, problem));
  return std::visit(
      [&](const auto& read) { return Written(WriteBlockFacts(read, options.format, stdout)); },
      typed);
}

template <class F>
int FindInSplit(const CliOptions& options, const EqualSplit<F>& split) {
  const std::string& text = options.findText;
  typename F::Value address{};
  typename F::Index index{};
  const bool sameFamily = LooksLikeIpv6(text.data(), text.data() + text.size()) == (F::Bits == 128);
  const char* problem = ReadAddress(text.data(), text.data() + text.size(), address);
  if (sameFamily && problem != nullptr) return Refused("--find '" + text + "': " + problem);
  if (!sameFamily || !SplitIndexOf(split, address, index)) {
    const std::string shown = sameFamily ? AddressText(address) : text;
    return Refused(shown + " is outside " + FormatBlock(split.block));
  }
  return Written(WriteFoundRow<F>(index, SplitRow(split, index), options.format, stdout));
}

template <class F>
int SplitBlock(const CliOptions& options, const Block<F>& block) {
  EqualSplit<F> split;
  std::string problem = MakeSplit(block, options.splitBy, options.splitValue, split);
  if (!problem.empty()) {
    return Refused(options.splitOption + " '" + options.splitValue + "': " + problem);
  }
  if (options.action == CliAction::Find) return FindInSplit(options, split);
  if (options.action == CliAction::Report) {
    return Written(WriteSplitReport(split, options.format, stdout));
  }
  Listing<F> range = SplitRange(split);
  if (!SelectRows(options, range.last, range, problem)) return Refused(problem);
  return Written(WriteListing(range, options.format, stdout));
}

// Carves `block` into the items of --vlsm, or of the plan file's `lines`
// when there is one.
template <class F>
int CarveBlock(const CliOptions& options, const Block<F>& block, const std::string& lines) {
  std::vector<VlsmItem> items;
  std::string problem = options.inputFile.empty() ? ReadVlsmItems<F>(options.vlsmItems, items)
                                                  : ReadVlsmLines<F>(lines, items);
  VlsmPlanOf<F> plan;
  if (problem.empty()) problem = AllocateVlsm(block, items, plan);
  if (!problem.empty()) return Refused(problem);
  return Written(WriteVlsm(plan, items, options.format, stdout));
}

// Runs `run` on the BLOCK operand read as a network of its family.
template <typename Run>
int WithNetwork(const CliOptions& options, Run run) {
  AnyBlock block;
  const std::string problem = ReadAnyNetwork(options.block, block);
  if (!problem.empty()) return Refused(BlockRefusal(options.block, problem));
  return std::visit(run, block);
}

// --vlsm, or --vlsm-file's plan file, whose block line gives the block when
// no BLOCK operand does.
int RunVlsm(const CliOptions& options) {
  auto carve = [&](const std::string& lines) {
    return [&](const auto& block) { return CarveBlock(options, block, lines); };
  };
  if (options.inputFile.empty()) return WithNetwork(options, carve(std::string()));
  std::string text, problem;
  if (!ReadInput(options.inputFile, text, problem)) return Refused(problem);
  PlanFile plan;
  problem = SplitPlanFile(text, plan);
  if (!problem.empty()) return Refused(problem);
  if (!options.block.empty()) return WithNetwork(options, carve(plan.lines));
  if (!plan.named) {
    const std::string shown = options.inputFile == "-" ? "standard input" : options.inputFile;
    return Refused(shown + " names no block: give a BLOCK, or begin the file with 'block BLOCK'");
  }
  return std::visit(carve(plan.lines), plan.network);
}

}  // namespace

int RunClassless(const CliOptions& options) {
  switch (options.action) {
    case CliAction::Facts:
      return BlockFacts(options);
    case CliAction::Vlsm:
      return RunVlsm(options);
    case CliAction::Summarize:
      return SummarizeList(options);
    case CliAction::Common:
      return CommonOfLists(options);
    case CliAction::Except:
      return ListExcept(options);
    case CliAction::Overlaps:
      return OverlapsInList(options);
    case CliAction::Free:
      return WithNetwork(options, [&](const auto& block) { return FreeSpaceOf(options, block); });
    case CliAction::Next:
      return WithNetwork(options,
                         [&](const auto& block) { return NextFreeBlocks(options, block); });
    case CliAction::Report:
    case CliAction::List:
    case CliAction::Find:
    case CliAction::Help:
    case CliAction::Version:
      break;
  }
  return WithNetwork(options, [&](const auto& block) { return SplitBlock(options, block); });
}
