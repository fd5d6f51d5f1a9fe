#include "calc/find.hpp"

#include "base/text.hpp"
#include "net/subnet_range.hpp"

namespace {

constexpr const char* OutsideTitle = "Address outside the plan";
constexpr const char* NoSuchIndexTitle = "No such sub-network";
constexpr const char* UnreadableTitle = "Invalid sub-network";

// The addresses the plan's sub-networks cover, as "first to last".
std::string PlanSpan(const SubnetPlan& plan) {
  const SubnetAddresses last =
      SubnetAddressesOf(plan.network, plan.blockSize, plan.TotalSubnets() - 1);
  return FormatAddress(plan.network) + " to " + FormatAddress(last.broadcast);
}

bool IsDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

SubnetTarget Refused(const char* title, std::string text) {
  return SubnetTarget{-1, Refusal{title, std::move(text)}};
}

}  // namespace

int32_t FindSubnet(const SubnetPlan& plan, HostOrderAddress address) {
  const int64_t total = plan.TotalSubnets();
  if (plan.blockSize < 2 || total < 1 || address < plan.network) return -1;
  const int64_t index = (int64_t{address} - plan.network) / plan.blockSize;
  return index < total ? static_cast<int32_t>(index) : -1;
}

SubnetTarget FindSubnetOfAddress(const SubnetPlan& plan, HostOrderAddress address) {
  const int32_t index = FindSubnet(plan, address);
  if (index >= 0) return SubnetTarget{index, Refusal()};
  return Refused(OutsideTitle, FormatAddress(address) +
                                   " is in none of this plan's sub-networks, which cover " +
                                   PlanSpan(plan) + ".");
}

SubnetTarget FindSubnetTarget(const SubnetPlan& plan, const std::string& typed) {
  const std::string text = Trimmed(typed);
  const int32_t last = plan.TotalSubnets() - 1;
  HostOrderAddress address = 0;
  if (ReadDottedAddress(text, address)) return FindSubnetOfAddress(plan, address);
  if (!IsDigits(text)) {
    return Refused(UnreadableTitle, "Type a sub-network index from 0 to " + FormatInteger(last) +
                                        ", or an address such as " + FormatAddress(plan.network) +
                                        ".");
  }
  const ParsedInteger number = ParseIntegerChecked(text.c_str());
  if (number.overflowed || number.value > last) {
    return Refused(NoSuchIndexTitle, "There is no sub-network " + text +
                                         ": the indexes run from 0 to " + FormatInteger(last) +
                                         ".");
  }
  return SubnetTarget{static_cast<int32_t>(number.value), Refusal()};
}
