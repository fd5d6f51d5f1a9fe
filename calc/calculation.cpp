#include "calc/calculation.hpp"

#include "base/text.hpp"
#include "calc/report.hpp"

namespace {

// The message box of each rejected input; the Windows and the console front
// ends both show these.
struct Message {
  const char* title;
  const char* text;
};

constexpr Message NetworkMessage = {
    "IP mask error",
    "The IP Mask you provided is invalid for this class of network, or malformed completely."};
constexpr Message MaskMessage = {
    "Subnet mask error",
    "The subnetmask you provided is invalid for this class of network, or malformed completely."};
constexpr const char* HostsCountTitle = "Invalid number of hosts";
constexpr const char* SubnetsCountTitle = "Invalid number of networks";
constexpr const char* CountTextStart =
    "The number you provided is impossible for this network class. Range from 2 to ";

void SetMessage(CalculationOutcome& outcome, const char* title, const std::string& text) {
  outcome.refusal = Refusal{title, text};
}

// Hosts or subnets: the typed count must be a number from 2 to the class limit.
bool RunCountMethod(SubnetPlan& plan, const CalculationInput& input, CalculationOutcome& outcome) {
  const int32_t limit = CountLimit(input.classIndex);
  const bool hosts = input.method == FromHostsMethod;
  // Checked parse: a long digit run must not wrap into the accepted range.
  const ParsedInteger count = ParseIntegerChecked(input.countText.c_str());
  if (count.overflowed || count.value < 2 || count.value > limit) {
    SetMessage(outcome, hosts ? HostsCountTitle : SubnetsCountTitle,
               CountTextStart + FormatInteger(limit) + ".");
    return false;
  }
  const int32_t wanted = static_cast<int32_t>(count.value);
  return hosts ? plan.FromHosts(wanted) : plan.FromSubnets(wanted);
}

bool RunMaskMethod(SubnetPlan& plan, const CalculationInput& input, CalculationOutcome& outcome) {
  if (!CheckSubnetMask(input.maskText, input.classIndex)) {
    SetMessage(outcome, MaskMessage.title, MaskMessage.text);
    return false;
  }
  // The check above matched the text's shape; FromMask would match it again.
  return plan.FromMaskValue(PackDottedText(input.maskText));
}

}  // namespace

int32_t CountLimit(int classIndex) {
  const float quotient = static_cast<float>(ClassRow(classIndex).maxCount) / 4.0f;
  return static_cast<int32_t>(RoundReal(quotient, RoundUp));
}

CalculationOutcome RunCalculationSteps(SubnetPlan& plan, const CalculationInput& input) {
  CalculationOutcome outcome;
  if (!CheckNetworkAddress(input.networkText, input.classIndex)) {
    outcome.networkRejected = true;
    SetMessage(outcome, NetworkMessage.title, NetworkMessage.text);
    return outcome;
  }
  plan.SetClass(input.classIndex);
  plan.SetNetwork(AddressField(input.networkText, 1), AddressField(input.networkText, 2),
                  AddressField(input.networkText, 3), AddressField(input.networkText, 4));

  if (input.method == FromHostsMethod || input.method == FromSubnetsMethod) {
    outcome.success = RunCountMethod(plan, input, outcome);
  } else if (input.method == FromMaskMethod) {
    outcome.success = RunMaskMethod(plan, input, outcome);
  }
  outcome.reportLines =
      outcome.success ? WriteReport(plan, ClassRow(plan.classIndex)) : WriteFailureReport();
  return outcome;
}
