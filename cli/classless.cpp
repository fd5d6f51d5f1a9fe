#include "cli/classless.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "calc/cidr.hpp"
#include "calc/split.hpp"
#include "calc/summarize.hpp"
#include "calc/vlsm.hpp"
#include "cli/selection.hpp"
#include "cli/status.hpp"

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
  TypedBlock typed;
  const std::string& text = options.block;
  const std::string problem = ReadTypedBlock(text.data(), text.data() + text.size(), typed);
  if (!problem.empty()) return Refused(BlockRefusal(text, problem));
  return Written(WriteBlockFacts(typed, options.format, stdout));
}

int FindInSplit(const CliOptions& options, const EqualSplit& split) {
  const int64_t index = SplitIndexOf(split, options.findAddress);
  if (index < 0) {
    return Refused(FormatAddress(options.findAddress) + " is outside " + FormatBlock(split.block));
  }
  return Written(WriteFoundRow(index, SplitRow(split, index), options.format, stdout));
}

int EqualSplitRun(const CliOptions& options) {
  CidrBlock block;
  std::string problem = ReadNetworkBlock(options.block, block);
  if (!problem.empty()) return Refused(BlockRefusal(options.block, problem));
  EqualSplit split;
  problem = MakeSplit(block, options.splitBy, options.splitValue, split);
  if (!problem.empty()) {
    return Refused(options.splitOption + " '" + options.splitValue + "': " + problem);
  }
  if (options.action == CliAction::Find) return FindInSplit(options, split);
  if (options.action == CliAction::Report) {
    return Written(WriteSplitReport(split, options.format, stdout));
  }
  ListingRange range = SplitRange(split);
  if (!SelectRows(options, range.last, range, problem)) return Refused(problem);
  return Written(WriteListing(range, options.format, stdout));
}

int VlsmRun(const CliOptions& options) {
  CidrBlock block;
  std::string problem = ReadNetworkBlock(options.block, block);
  if (!problem.empty()) return Refused(BlockRefusal(options.block, problem));
  std::vector<VlsmItem> items;
  std::string lines;
  if (options.inputFile.empty()) {
    problem = ReadVlsmItems(options.vlsmItems, items);
  } else if (ReadInput(options.inputFile, lines, problem)) {
    problem = ReadVlsmLines(lines, items);
  }
  VlsmPlan plan;
  if (problem.empty()) problem = AllocateVlsm(block, items, plan);
  if (!problem.empty()) return Refused(problem);
  return Written(WriteVlsm(plan, items, options.format, stdout));
}

int SummarizeRun(const CliOptions& options) {
  std::string text, problem;
  if (!ReadInput(options.inputFile, text, problem)) return Refused(problem);
  std::vector<AddressSpan> spans;
  problem = ReadSummaryTokens(text, spans);
  if (!problem.empty()) return Refused(problem);
  return Written(WriteSummary(Summarize(std::move(spans)), options.format, stdout));
}

}  // namespace

int RunClassless(const CliOptions& options) {
  switch (options.action) {
    case CliAction::Facts:
      return BlockFacts(options);
    case CliAction::Vlsm:
      return VlsmRun(options);
    case CliAction::Summarize:
      return SummarizeRun(options);
    case CliAction::Report:
    case CliAction::List:
    case CliAction::Find:
    case CliAction::Help:
    case CliAction::Version:
      break;
  }
  return EqualSplitRun(options);
}
