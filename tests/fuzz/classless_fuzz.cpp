// Fuzzes the classless readers of both families on the same bytes: a block,
// VLSM items (as a comma list and as lines, then allocated and written in
// every format) and a mixed list (then summarized), checking what each
// promises, and that what is read and written reads back to the same value.
#include <algorithm>
#include <string>
#include <vector>

#include "net/address_list.hpp"
#include "net/block.hpp"
#include "net/summarize.hpp"
#include "net/vlsm.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

template <class F>
void CheckTyped(const std::string& text, const Typed<F>& typed) {
  FUZZ_CHECK(typed.prefix >= 0 && typed.prefix <= F::Bits);
  const Block<F> block = BlockOf(typed);
  Block<F> again;
  FUZZ_CHECK(ReadNetwork(FormatBlock(block), again).empty() && again == block);
  FUZZ_CHECK(ReadNetwork(text, again).empty() == (block.network == typed.address));
  // The written address is canonical: it reads back and writes the same text.
  const std::string written = AddressText(typed.address);
  typename F::Value value{};
  FUZZ_CHECK(ReadAddress(written.data(), written.data() + written.size(), value) == nullptr);
  FUZZ_CHECK(value == typed.address && AddressText(value) == written);
  FUZZ_CHECK(written.find_first_of("ABCDEF") == std::string::npos);
}

void CheckBlock(const std::string& text) {
  AnyTyped typed;
  if (!ReadAnyTyped(text, typed).empty()) return;
  std::visit([&](const auto& read) { CheckTyped(text, read); }, typed);
}

// Placed blocks and free blocks lie in the parent, are aligned, and tile it.
template <class F>
void CheckPlan(const VlsmPlanOf<F>& plan, const std::vector<VlsmItem>& items) {
  std::vector<Block<F>> blocks = plan.free;
  for (std::size_t i = 0; i < items.size(); ++i) {
    FUZZ_CHECK(plan.placed[i].prefix == items[i].prefix);
    blocks.push_back(plan.placed[i]);
  }
  std::sort(blocks.begin(), blocks.end(),
            [](const Block<F>& a, const Block<F>& b) { return a.network < b.network; });
  typename F::Value next = plan.block.network;
  for (const Block<F>& block : blocks) {
    FUZZ_CHECK(block.network == next && (block.network & HostMask<F>(block.prefix)) == 0);
    next = LastOf(block) + 1;
  }
  FUZZ_CHECK(next == LastOf(plan.block) + 1);
  for (ListFormat format : {ListFormat::Text, ListFormat::Tsv, ListFormat::Csv, ListFormat::Json}) {
    std::string text;
    FUZZ_CHECK(WriteVlsm(plan, items, format, text) && !text.empty() && text.back() == '\n');
  }
}

template <class F>
void CheckItems(const std::string& problem, const std::vector<VlsmItem>& items,
                const Block<F>& parent) {
  if (!problem.empty()) {
    FUZZ_CHECK(items.empty() && (problem.rfind("line ", 0) == 0 || problem.rfind("item ", 0) == 0));
    return;
  }
  for (const VlsmItem& item : items)
    FUZZ_CHECK(!item.name.empty() && item.name.size() <= 64 && item.prefix >= 0 &&
               item.prefix <= F::Bits);
  VlsmPlanOf<F> plan;
  if (AllocateVlsm(parent, items, plan).empty()) CheckPlan(plan, items);
}

template <class F>
void CheckAllItems(const std::string& text, const Block<F>& parent) {
  std::vector<VlsmItem> items;
  CheckItems(ReadVlsmItems<F>(text, items), items, parent);
  CheckItems(ReadVlsmLines<F>(text, items), items, parent);
}

// Addresses in the spans, counted once each.
template <class F>
AddressCount Covered(std::vector<Span<F>> spans) {
  std::sort(spans.begin(), spans.end(),
            [](const Span<F>& a, const Span<F>& b) { return a.first < b.first; });
  AddressCount covered;
  bool any = false;
  typename F::Value end{};  // the last address counted
  for (const Span<F>& span : spans) {
    if (any && span.last <= end) continue;
    const typename F::Value from = any && span.first <= end ? end + 1 : span.first;
    covered += AddressCount(Uint128(span.last - from)) + AddressCount(1);
    end = span.last;
    any = true;
  }
  return covered;
}

// The written blocks (read back as spans, each one block) are sorted and
// disjoint, and cover as many addresses as the spans do.
template <class F>
void CheckBlocks(const std::vector<Span<F>>& spans, const std::vector<Span<F>>& blocks) {
  AddressCount total;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    FUZZ_CHECK(i == 0 || blocks[i].first > blocks[i - 1].last);
    total += SpanSize(blocks[i]);
  }
  FUZZ_CHECK(total == Covered(spans));
}

template <class F>
bool SameSpans(const std::vector<Span<F>>& a, const std::vector<Span<F>>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](const Span<F>& x, const Span<F>& y) {
           return x.first == y.first && x.last == y.last;
         });
}

// Summarized, written as text and read again, a list gives the same blocks.
void CheckSummary(const std::string& text) {
  AddressSpans spans;
  if (!ReadAddressList(text, spans).empty()) return;
  const AddressSpans read = spans;
  MergeSpans(spans);
  std::string written;
  FUZZ_CHECK(WriteSummary(spans, ListFormat::Text, written));
  AddressSpans blocks;
  FUZZ_CHECK(ReadAddressList(written, blocks).empty());
  CheckBlocks(read.ipv4, blocks.ipv4);
  CheckBlocks(read.ipv6, blocks.ipv6);
  MergeSpans(blocks);
  FUZZ_CHECK(SameSpans(blocks.ipv4, spans.ipv4) && SameSpans(blocks.ipv6, spans.ipv6));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const uint8_t first = size > 0 ? data[0] : 0;
  CheckBlock(text);
  CheckAllItems(text, Block<Ipv4>{0x0A000000u, 8 + first % 25});
  CheckAllItems(text, Block<Ipv6>{Uint128(0x20010DB800000000u, 0), 32 + first % 97});
  CheckSummary(text);
  return 0;
}
