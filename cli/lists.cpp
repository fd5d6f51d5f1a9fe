#include "cli/lists.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/status.hpp"
#include "net/address_list.hpp"
#include "net/block.hpp"
#include "net/decimal.hpp"
#include "net/free_space.hpp"
#include "net/overlaps.hpp"
#include "net/split.hpp"
#include "net/summarize.hpp"

namespace {

// Runs read(file) on the list `name` ("-" for standard input); the refusal
// names the file: "a.txt: line 3: '10.0.0.300/24': not an IPv4 address".
template <typename Read>
std::string ReadListFile(const std::string& name, Read read) {
  const bool standardInput = name == "-";
  std::FILE* file = standardInput ? stdin : std::fopen(name.c_str(), "rb");
  if (file == nullptr) return "cannot read " + name + ": " + std::strerror(errno);
  const std::string problem = read(file);
  if (!standardInput) std::fclose(file);
  if (problem.empty()) return problem;
  const std::string shown = standardInput ? "standard input" : name;
  return problem == "cannot read" ? problem + " " + shown : shown + ": " + problem;
}

// The list's spans, merged.
std::string ReadMerged(const std::string& name, AddressSpans& spans) {
  const std::string problem =
      ReadListFile(name, [&spans](std::FILE* file) { return ReadAddressList(file, spans); });
  MergeSpans(spans);
  return problem;
}

// The spans of `block` that `name` lists, merged, and how many entries lay
// partly or wholly outside the block.
template <class F>
std::string ReadUsed(const std::string& name, BlockCollector<F>& used) {
  const std::string problem =
      ReadListFile(name, [&used](std::FILE* file) { return ReadList(file, used); });
  MergeSpans(used.spans);
  return problem;
}

// Writes each span `each(a, b, visit)` visits, IPv4 first.
template <typename Each>
int WriteSpans(const CliOptions& options, const AddressSpans& a, const AddressSpans& b, Each each) {
  BlockWriter writer(options.format, stdout);
  each(a.ipv4, b.ipv4, [&writer](const Span<Ipv4>& span) { writer.AddSpan(span); });
  each(a.ipv6, b.ipv6, [&writer](const Span<Ipv6>& span) { writer.AddSpan(span); });
  return Written(writer.Finish());
}

void NoteOutside(uint64_t outside, const std::string& block) {
  if (outside == 0) return;
  const std::string count = std::to_string(outside);
  std::fprintf(stderr, "velkor: %s used %s partly or wholly outside %s\n", count.c_str(),
               outside == 1 ? "entry lies" : "entries lie", block.c_str());
}

}  // namespace

int SummarizeList(const CliOptions& options) {
  AddressSpans spans;
  const std::string problem = ReadMerged(options.inputFile, spans);
  if (!problem.empty()) return Refused(problem);
  return Written(WriteSummary(spans, options.format, stdout));
}

int CommonOfLists(const CliOptions& options) {
  // Each list but the last narrows what is shared; the last one's share is
  // written as it is found, never stored.
  AddressSpans shared, last;
  std::string problem = ReadMerged(options.lists[0], shared);
  for (std::size_t i = 1; problem.empty() && i + 1 < options.lists.size(); ++i) {
    AddressSpans next;
    problem = ReadMerged(options.lists[i], next);
    shared.ipv4 = CommonSpans(shared.ipv4, next.ipv4);
    shared.ipv6 = CommonSpans(shared.ipv6, next.ipv6);
  }
  if (problem.empty()) problem = ReadMerged(options.lists.back(), last);
  if (!problem.empty()) return Refused(problem);
  return WriteSpans(options, shared, last, [](const auto& a, const auto& b, auto visit) {
    ForEachCommonSpan(a, b, visit);
  });
}

int ListExcept(const CliOptions& options) {
  AddressSpans from, others;
  std::string problem = ReadMerged(options.lists[0], from);
  // Merged after each list, so the others take no more room than their union.
  for (std::size_t i = 1; problem.empty() && i < options.lists.size(); ++i)
    problem = ReadMerged(options.lists[i], others);
  if (!problem.empty()) return Refused(problem);
  return WriteSpans(options, from, others, [](const auto& a, const auto& b, auto visit) {
    ForEachSpanExcept(a, b, visit);
  });
}

int OverlapsInList(const CliOptions& options) {
  PlacedList list;
  const std::string problem =
      ReadListFile(options.inputFile, [&list](std::FILE* file) { return ReadList(file, list); });
  if (!problem.empty()) return Refused(problem);
  const Overlaps overlaps = FindOverlaps(list);
  const int status = Written(WriteOverlaps(list, overlaps, options.format, stdout));
  const bool any = !overlaps.ipv4.empty() || !overlaps.ipv6.empty();
  return status == ExitSuccess && any ? ExitOverlaps : status;
}

template <class F>
int FreeSpaceOf(const CliOptions& options, const Block<F>& block) {
  BlockCollector<F> used(block);
  const std::string problem = ReadUsed(options.inputFile, used);
  if (!problem.empty()) return Refused(problem);
  NoteOutside(used.outside, FormatBlock(block));
  uint64_t freeBlocks = 0;
  return Written(WriteFreeBlocks(block, used.spans, options.format, stdout, freeBlocks));
}

template <class F>
int NextFreeBlocks(const CliOptions& options, const Block<F>& block) {
  const std::string& typed = options.nextPrefix;
  EqualSplit<F> size;
  std::string problem = MakeSplit(block, SplitBy::Prefix,
                                  typed.compare(0, 1, "/") == 0 ? typed.substr(1) : typed, size);
  if (!problem.empty()) return Refused("--next '" + typed + "': " + problem);
  BlockCollector<F> used(block);
  problem = ReadUsed(options.inputFile, used);
  if (!problem.empty()) return Refused(problem);
  const int prefix = size.subnetPrefix;
  const AddressCount found = CountFreeBlocks(block, used.spans, prefix, options.rowCount);
  if (found < options.rowCount) {
    return Refused("only " + DecimalText(found) + " free /" + std::to_string(prefix) +
                   (found == AddressCount(1) ? " block in " : " blocks in ") + FormatBlock(block));
  }
  BlockWriter writer(options.format, stdout);
  ForEachFreeBlock(block, used.spans, prefix, options.rowCount,
                   [&writer](const Block<F>& free) { writer.AddBlock(free); });
  return Written(writer.Finish());
}

template int FreeSpaceOf<Ipv4>(const CliOptions&, const Block<Ipv4>&);
template int FreeSpaceOf<Ipv6>(const CliOptions&, const Block<Ipv6>&);
template int NextFreeBlocks<Ipv4>(const CliOptions&, const Block<Ipv4>&);
template int NextFreeBlocks<Ipv6>(const CliOptions&, const Block<Ipv6>&);
