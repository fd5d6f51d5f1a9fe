#include "calc/report.hpp"

#include "base/text.hpp"

const char* const ReadyText = "Ready...";
const char* const FailureText = "Something didn't quite go as planned... ;D";

namespace {

constexpr int LabelWidth = 30;

constexpr const char* MaskLabel = "Subnetmask: ";
constexpr const char* TotalLabel = "Absolute total subnets: ";
constexpr const char* UsableLabel = "Usable subnets: ";
constexpr const char* HostsLabel = "Hosts per subnet: ";
constexpr const char* StepLabel = "Stepsize: ";
constexpr const char* HostBitsLabel = "Bits used for hosts: ";
constexpr const char* SubnetBitsLabel = "Bits used for subnets: ";
constexpr const char* AllowedBitsLabel = "Bits allowed for subnetting: ";
constexpr const char* BitmapNote = " (See bitmap below)";
constexpr const char* FullRangeNote = " (Full range, 1 network.)";
constexpr const char* NoSubnetworksNote = " (No subnetworks)";
constexpr const char* BitmapHeading = "Bitmapping / mask explanation:";
constexpr const char* BitmapLegend = "Where N is not allowed, s is subnet bits, H is hostbits.";

std::string LabelLine(const char* label, const std::string& value) {
  return PadRight(label, LabelWidth) + value;
}

// `count` copies of `letter`; none for a negative count.
std::string Repeat(char letter, int32_t count) {
  return std::string(count > 0 ? static_cast<std::size_t>(count) : 0, letter);
}

}  // namespace

std::vector<std::string> WriteReport(const SubnetPlan& plan, const NetworkClass& row) {
  const int32_t total = plan.TotalSubnets();
  int32_t usable = total - 2;
  std::string totalNote;
  std::string usableNote;
  // Only a plan without subnet bits has a single network.
  if (usable < 0) {
    totalNote = FullRangeNote;
    usableNote = NoSubnetworksNote;
    usable = 0;
  }
  const int32_t hostBits = plan.HostBits();
  const int32_t subnetBits = plan.SubnetBits();
  return {
      LabelLine(MaskLabel, plan.MaskText()),
      LabelLine(TotalLabel, FormatInteger(total) + totalNote),
      LabelLine(UsableLabel, FormatInteger(usable) + usableNote),
      LabelLine(HostsLabel, FormatInteger(plan.AddressesPerSubnet() - 2)),
      LabelLine(StepLabel, FormatInteger(plan.StepSize())),
      LabelLine(HostBitsLabel, FormatInteger(hostBits)),
      LabelLine(SubnetBitsLabel, FormatInteger(subnetBits)),
      LabelLine(AllowedBitsLabel, FormatInteger(row.subnettingBits) + BitmapNote),
      std::string(),
      BitmapHeading,
      Repeat('N', row.networkBits) + Repeat('s', subnetBits) + Repeat('H', hostBits),
      Repeat('1', row.networkBits + subnetBits) + Repeat('0', hostBits),
      BitmapLegend,
  };
}

std::vector<std::string> WriteFailureReport() {
  return {FailureText};
}
