// Fuzzes the three classless readers on the same bytes: a block, VLSM items
// (as a comma list and as lines, then allocated and written in every format)
// and summarize tokens (then summarized), checking what each promises.
#include <algorithm>
#include <string>
#include <vector>

#include "calc/summarize.hpp"
#include "calc/vlsm.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

void CheckBlock(const std::string& text) {
  TypedBlock typed;
  if (!ReadTypedBlock(text.data(), text.data() + text.size(), typed).empty()) return;
  FUZZ_CHECK(typed.prefix >= 0 && typed.prefix <= 32);
  const CidrBlock block = BlockOf(typed);
  CidrBlock again;
  FUZZ_CHECK(ReadNetworkBlock(FormatBlock(block), again).empty());
  FUZZ_CHECK(again.network == block.network && again.prefix == block.prefix);
  FUZZ_CHECK(ReadNetworkBlock(text, again).empty() == (block.network == typed.address));
}

// Placed blocks and free blocks lie in the parent, are aligned, and tile it.
void CheckPlan(const VlsmPlan& plan, const std::vector<VlsmItem>& items) {
  std::vector<CidrBlock> blocks = plan.free;
  for (std::size_t i = 0; i < items.size(); ++i) {
    FUZZ_CHECK(plan.placed[i].prefix == items[i].prefix);
    blocks.push_back(plan.placed[i]);
  }
  std::sort(blocks.begin(), blocks.end(),
            [](const CidrBlock& a, const CidrBlock& b) { return a.network < b.network; });
  uint64_t next = plan.block.network;
  for (const CidrBlock& block : blocks) {
    FUZZ_CHECK(block.network == next && (block.network & ~PrefixMask(block.prefix)) == 0);
    next += BlockAddresses(block.prefix);
  }
  FUZZ_CHECK(next == uint64_t{BroadcastOf(plan.block)} + 1);
  for (ListFormat format : {ListFormat::Text, ListFormat::Tsv, ListFormat::Csv, ListFormat::Json}) {
    std::string text;
    FUZZ_CHECK(WriteVlsm(plan, items, format, text) && !text.empty() && text.back() == '\n');
  }
}

void CheckItems(const std::string& problem, const std::vector<VlsmItem>& items, uint8_t first) {
  if (!problem.empty()) {
    FUZZ_CHECK(items.empty() && (problem.rfind("line ", 0) == 0 || problem.rfind("item ", 0) == 0));
    return;
  }
  for (const VlsmItem& item : items)
    FUZZ_CHECK(!item.name.empty() && item.name.size() <= 64 && item.prefix >= 0 &&
               item.prefix <= 32);
  const CidrBlock parent{0x0A000000u, 8 + first % 25};
  VlsmPlan plan;
  if (AllocateVlsm(parent, items, plan).empty()) CheckPlan(plan, items);
}

// The blocks are sorted, disjoint and aligned, and cover as many addresses as
// the merged spans do.
void CheckSummary(const std::string& text) {
  std::vector<AddressSpan> spans;
  if (!ReadSummaryTokens(text, spans).empty()) return;
  const std::vector<CidrBlock> blocks = Summarize(spans);
  std::sort(spans.begin(), spans.end(),
            [](const AddressSpan& a, const AddressSpan& b) { return a.first < b.first; });
  uint64_t covered = 0, end = 0;  // end: one past the last address counted
  for (const AddressSpan& span : spans) {
    const uint64_t from = std::max<uint64_t>(span.first, end);
    if (uint64_t{span.last} + 1 > from) covered += span.last + uint64_t{1} - from;
    end = std::max<uint64_t>(end, uint64_t{span.last} + 1);
  }
  uint64_t total = 0, previousEnd = 0;
  for (const CidrBlock& block : blocks) {
    FUZZ_CHECK((block.network & ~PrefixMask(block.prefix)) == 0);
    FUZZ_CHECK(&block == blocks.data() || block.network >= previousEnd);
    previousEnd = uint64_t{BroadcastOf(block)} + 1;
    total += BlockAddresses(block.prefix);
  }
  FUZZ_CHECK(total == covered);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckBlock(text);
  std::vector<VlsmItem> items;
  CheckItems(ReadVlsmItems(text, items), items, size > 0 ? data[0] : 0);
  CheckItems(ReadVlsmLines(text, items), items, size > 0 ? data[0] : 0);
  CheckSummary(text);
  return 0;
}
