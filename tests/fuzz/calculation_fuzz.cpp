// Fuzzes the Calculate sequence: RunCalculationSteps on arbitrary class,
// method, network, count and mask texts, then GetSubnet and PageRange on the
// plan it leaves. Input: "class|method|network|count|mask|subnet|page"; the
// numbers are read with strtoll, the texts are passed on as they are.
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "base/patterns.hpp"
#include "base/text.hpp"
#include "calc/calculation.hpp"
#include "calc/enumeration.hpp"
#include "calc/report.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

struct FuzzInput {
  CalculationInput calculation;
  int32_t subnet = 0;
  int32_t page = 0;
};

// Pieces of `text` between '|' characters; missing pieces are empty.
std::string Piece(const std::string& text, int index) {
  std::size_t start = 0;
  for (int k = 0; k < index; ++k) {
    start = text.find('|', start);
    if (start == std::string::npos) return std::string();
    ++start;
  }
  const std::size_t end = text.find('|', start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// strtoll's reading, clamped to 32 bits.
int32_t Number(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  const long long low = std::numeric_limits<int32_t>::min();
  const long long high = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::min(high, std::max(low, value)));
}

FuzzInput ReadInput(const std::string& text) {
  FuzzInput input;
  input.calculation.classIndex = Number(Piece(text, 0));
  input.calculation.method = Number(Piece(text, 1));
  input.calculation.networkText = Piece(text, 2);
  input.calculation.countText = Piece(text, 3);
  input.calculation.maskText = Piece(text, 4);
  input.subnet = Number(Piece(text, 5));
  input.page = Number(Piece(text, 6));
  return input;
}

struct PlanFields {
  int32_t usableHosts, usableSubnets, blockSize, subnetBits, hostBits, classIndex;
  HostOrderAddress network;
  bool operator==(const PlanFields& other) const {
    return usableHosts == other.usableHosts && usableSubnets == other.usableSubnets &&
           blockSize == other.blockSize && subnetBits == other.subnetBits &&
           hostBits == other.hostBits && classIndex == other.classIndex && network == other.network;
  }
};

PlanFields FieldsOf(const SubnetPlan& plan) {
  return {plan.usableHosts, plan.usableSubnets, plan.blockSize, plan.subnetBits,
          plan.hostBits,    plan.classIndex,    plan.network};
}

bool SamePlanPart(const PlanFields& a, const PlanFields& b) {
  return a.usableHosts == b.usableHosts && a.usableSubnets == b.usableSubnets &&
         a.blockSize == b.blockSize && a.subnetBits == b.subnetBits && a.hostBits == b.hostBits;
}

int64_t PowerOf2(int32_t k) {
  return int64_t{1} << k;
}

// A stored plan: consistent sizes, at least one host bit, and a mask the
// mask check accepts whenever it leaves two hosts per subnet.
void CheckPlan(const SubnetPlan& plan, const CalculationInput& input) {
  const NetworkClass& row = ClassRow(plan.classIndex);
  const int32_t s = plan.SubnetBits();
  const int32_t h = plan.HostBits();
  FUZZ_CHECK(h >= 1 && s >= 0 && s + h == row.subnettingBits);
  FUZZ_CHECK(int64_t{plan.TotalSubnets()} * plan.StepSize() == PowerOf2(row.subnettingBits));
  FUZZ_CHECK(plan.StepSize() == PowerOf2(h) && plan.AddressesPerSubnet() == PowerOf2(h));
  FUZZ_CHECK(plan.TotalSubnets() == PowerOf2(s));
  const std::string mask = plan.MaskText();
  FUZZ_CHECK(MatchesDottedQuad(mask));
  FUZZ_CHECK(IsContiguousMask(PackDottedText(mask), 32));
  FUZZ_CHECK(CountBits(PackDottedText(mask), 1, 32) == row.networkBits + s);
  if (s <= row.subnettingBits - 3) FUZZ_CHECK(CheckSubnetMask(mask, plan.classIndex));
  const int64_t count = ParseInteger(input.countText);
  if (input.method == FromHostsMethod) {
    // The smallest host part that holds the wanted hosts.
    FUZZ_CHECK(plan.usableHosts >= count && (h == 1 || PowerOf2(h - 1) - 2 < count));
  } else if (input.method == FromSubnetsMethod) {
    FUZZ_CHECK(plan.usableSubnets >= count && (s == 0 || PowerOf2(s - 1) - 2 < count));
  } else {
    FUZZ_CHECK(mask == FormatAddress(PackDottedText(input.maskText)));
  }
}

void CheckOutcome(const PlanFields& before, const SubnetPlan& plan, const CalculationInput& input,
                  const CalculationOutcome& outcome) {
  if (outcome.networkRejected) {
    FUZZ_CHECK(FieldsOf(plan) == before);
    FUZZ_CHECK(!outcome.success && outcome.reportLines.empty() && !outcome.refusal.title.empty());
    FUZZ_CHECK(!CheckNetworkAddress(input.networkText, input.classIndex));
    return;
  }
  FUZZ_CHECK(CheckNetworkAddress(input.networkText, input.classIndex));
  FUZZ_CHECK(plan.classIndex == input.classIndex);
  FUZZ_CHECK(plan.network == PackDottedText(input.networkText));
  if (outcome.success) {
    FUZZ_CHECK(outcome.refusal.title.empty() && outcome.reportLines.size() == 13);
    if (input.method != FromMaskMethod) {
      const ParsedInteger count = ParseIntegerChecked(input.countText.c_str());
      FUZZ_CHECK(!count.overflowed && count.value >= 2 &&
                 count.value <= CountLimit(input.classIndex));
    }
    CheckPlan(plan, input);
    return;
  }
  FUZZ_CHECK(SamePlanPart(FieldsOf(plan), before));
  FUZZ_CHECK(outcome.reportLines == WriteFailureReport());
  // Every refusal of a listed method comes with its message box.
  const bool listedMethod = input.method >= 0 && input.method < MethodCount;
  FUZZ_CHECK(outcome.refusal.title.empty() != listedMethod);
}

// A row inside the plan describes a block of StepSize addresses at its index
// (checked when the plan and its network belong together); any other index
// leaves the entry untouched.
void CheckSubnet(const SubnetPlan& plan, int32_t n, bool consistent) {
  SubnetEntry entry;
  entry.index = -7;
  const bool inside = n >= 0 && n < plan.TotalSubnets() && plan.StepSize() >= 2;
  FUZZ_CHECK(plan.GetSubnet(n, entry) == inside);
  if (!inside) {
    FUZZ_CHECK(entry.index == -7 && entry.networkText.empty());
    return;
  }
  FUZZ_CHECK(entry.index == n);
  FUZZ_CHECK(RowText(entry) == FormatInteger(n) + "\n" + entry.networkText + "\n" +
                                   entry.firstText + "\n" + entry.lastText + "\n" +
                                   entry.broadcastText);
  if (!consistent) return;
  const uint32_t network = PackDottedText(entry.networkText);
  const uint32_t broadcast = PackDottedText(entry.broadcastText);
  FUZZ_CHECK(network ==
             plan.network + static_cast<uint32_t>(n) * static_cast<uint32_t>(plan.StepSize()));
  FUZZ_CHECK(broadcast - network == static_cast<uint32_t>(plan.StepSize()) - 1);
  // A /31 has both its addresses as hosts (RFC 3021).
  const bool pointToPoint = plan.StepSize() == 2;
  FUZZ_CHECK(PackDottedText(entry.firstText) == (pointToPoint ? network : network + 1));
  FUZZ_CHECK(PackDottedText(entry.lastText) == (pointToPoint ? broadcast : broadcast - 1));
}

void CheckPage(int32_t lastIndex, int32_t page) {
  IndexRange range;
  range.first = range.last = -9;
  PageRange(lastIndex, SubnetPageSize, page, range);
  FUZZ_CHECK(0 <= range.first && range.first <= range.last && range.last <= lastIndex);
  const int32_t pages = PageCount(lastIndex, SubnetPageSize);
  FUZZ_CHECK(pages >= 1 && int64_t{pages} * SubnetPageSize >= lastIndex);
  FUZZ_CHECK(pages == 1 || int64_t{pages - 1} * SubnetPageSize < lastIndex);
  if (page >= 1 && page <= pages) {
    FUZZ_CHECK(range.first == (page == 1 ? 0 : (page - 1) * SubnetPageSize + 1));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const FuzzInput input = ReadInput(std::string(reinterpret_cast<const char*>(data), size));
  SubnetPlan* plan = CreateSubnetPlan();
  // An earlier calculation, so "unchanged" has something to keep.
  plan->SetClass(1);
  plan->SetNetwork(172, 16, 0, 0);
  plan->FromSubnets(300);
  const PlanFields before = FieldsOf(*plan);
  const CalculationOutcome outcome = RunCalculationSteps(*plan, input.calculation);
  CheckOutcome(before, *plan, input.calculation, outcome);
  FUZZ_CHECK(LivePatternCount() == 0);
  // After a refused count or mask the plan keeps its old sizes under the new
  // network; the window never lists that mixed state.
  CheckSubnet(*plan, input.subnet, outcome.success || outcome.networkRejected);
  CheckPage(plan->TotalSubnets() - 1, input.page);
  CheckPage(std::max(input.subnet, 0), input.page);
  plan->Release();
  return 0;
}
