#include "calc/calculation.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/patterns.hpp"
#include "calc/report.hpp"

namespace {

constexpr int ClassC = 0, ClassB = 1, ClassA = 2;

const char* const NetworkTitle = "IP mask error";
const char* const NetworkText =
    "The IP Mask you provided is invalid for this class of network, or malformed completely.";
const char* const MaskTitle = "Subnet mask error";
const char* const MaskText =
    "The subnetmask you provided is invalid for this class of network, or malformed completely.";
const char* const HostsTitle = "Invalid number of hosts";
const char* const NetworksTitle = "Invalid number of networks";

std::string CountText(const char* limit) {
  return std::string(
             "The number you provided is impossible for this network class. Range from 2 to ") +
         limit + ".";
}

CalculationInput Input(int classIndex, int method, const char* network, const char* count,
                       const char* mask) {
  CalculationInput input;
  input.classIndex = classIndex;
  input.method = method;
  input.networkText = network;
  input.countText = count;
  input.maskText = mask;
  return input;
}

TEST(CountLimit, IsAQuarterOfMaxCountRoundedUp) {
  EXPECT_EQ(CountLimit(ClassC), 64);
  EXPECT_EQ(CountLimit(ClassB), 16384);
  EXPECT_EQ(CountLimit(ClassA), 4194304);
}

struct RejectedCase {
  CalculationInput input;
  const char* title;
  std::string text;
};

// Rejected counts and masks: a box, then the failure line.
TEST(RunCalculationSteps, RejectedInputShowsItsBoxAndTheFailureLine) {
  const RejectedCase cases[] = {
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "0", ""), HostsTitle, CountText("64")},
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "", ""), HostsTitle, CountText("64")},
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "1", ""), HostsTitle, CountText("64")},
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "65", ""), HostsTitle, CountText("64")},
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "-10", ""), HostsTitle, CountText("64")},
      // These wrap to 50 and 0 in 64 bits; the typed value is what counts.
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "18446744073709551666", ""), HostsTitle,
       CountText("64")},
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "18446744073709551616", ""), HostsTitle,
       CountText("64")},
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "9223372036854775808", ""), HostsTitle,
       CountText("64")},
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "4294967346", ""), HostsTitle,
       CountText("64")},
      {Input(ClassB, FromHostsMethod, "172.16.0.0", "16385", ""), HostsTitle, CountText("16384")},
      {Input(ClassB, FromHostsMethod, "172.16.0.0", "", ""), HostsTitle, CountText("16384")},
      {Input(ClassA, FromHostsMethod, "10.0.0.0", "4194305", ""), HostsTitle, CountText("4194304")},
      {Input(ClassC, FromSubnetsMethod, "192.168.1.0", "65", ""), NetworksTitle, CountText("64")},
      {Input(ClassA, FromSubnetsMethod, "10.0.0.0", "1", ""), NetworksTitle, CountText("4194304")},
      {Input(ClassC, FromMaskMethod, "192.168.1.0", "", "0.0.0.0"), MaskTitle, MaskText},
      {Input(ClassC, FromMaskMethod, "192.168.1.0", "", ""), MaskTitle, MaskText},
      {Input(ClassC, FromMaskMethod, "192.168.1.0", "", "255.255.255.252"), MaskTitle, MaskText},
      {Input(ClassB, FromMaskMethod, "172.16.0.0", "", "255.255.255.64"), MaskTitle, MaskText},
      {Input(ClassA, FromMaskMethod, "10.0.0.0", "", "254.0.0.0"), MaskTitle, MaskText},
  };
  for (const RejectedCase& c : cases) {
    SubnetPlan plan;
    const CalculationOutcome outcome = RunCalculationSteps(plan, c.input);
    const std::string what = "class " + std::to_string(c.input.classIndex) + " method " +
                             std::to_string(c.input.method) + " count '" + c.input.countText +
                             "' mask '" + c.input.maskText + "'";
    EXPECT_FALSE(outcome.networkRejected) << what;
    EXPECT_FALSE(outcome.success) << what;
    EXPECT_EQ(outcome.refusal.title, c.title) << what;
    EXPECT_EQ(outcome.refusal.text, c.text) << what;
    EXPECT_EQ(outcome.reportLines, WriteFailureReport()) << what;
  }
  EXPECT_EQ(LivePatternCount(), 0);
}

TEST(RunCalculationSteps, RejectedNetworkChangesNothing) {
  SubnetPlan plan;
  ASSERT_TRUE(
      RunCalculationSteps(plan, Input(ClassC, FromHostsMethod, "192.168.1.0", "50", "")).success);
  const SubnetPlan before = plan;
  for (const CalculationInput& input : {Input(ClassC, FromHostsMethod, "10.0.0.0", "50", ""),
                                        Input(ClassA, FromSubnetsMethod, "10.0.0.1", "4", ""),
                                        Input(ClassB, FromMaskMethod, "172.16", "", "255.255.0.0"),
                                        Input(3, FromHostsMethod, "192.168.1.0", "50", "")}) {
    const CalculationOutcome outcome = RunCalculationSteps(plan, input);
    EXPECT_TRUE(outcome.networkRejected) << input.networkText;
    EXPECT_FALSE(outcome.success) << input.networkText;
    EXPECT_EQ(outcome.refusal.title, NetworkTitle) << input.networkText;
    EXPECT_EQ(outcome.refusal.text, NetworkText) << input.networkText;
    EXPECT_TRUE(outcome.reportLines.empty()) << input.networkText;
    EXPECT_EQ(plan.classIndex, before.classIndex);
    EXPECT_EQ(plan.network, before.network);
    EXPECT_EQ(plan.subnetBits, before.subnetBits);
    EXPECT_EQ(plan.blockSize, before.blockSize);
  }
}

TEST(RunCalculationSteps, AcceptedInputStoresThePlanAndReportsIt) {
  const struct {
    CalculationInput input;
    int subnetBits;
    HostOrderAddress network;
    const char* firstLine;
  } cases[] = {
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "2", ""), 6, 0xC0A80100u,
       "Subnetmask:                   255.255.255.252"},
      {Input(ClassC, FromHostsMethod, "192.168.1.0", "64", ""), 1, 0xC0A80100u,
       "Subnetmask:                   255.255.255.128"},
      // Leading blanks and trailing junk: the count is what ParseInteger reads.
      {Input(ClassC, FromHostsMethod, "192.168.1.0", " \t50 hosts", ""), 2, 0xC0A80100u,
       "Subnetmask:                   255.255.255.192"},
      {Input(ClassC, FromSubnetsMethod, "200.1.2.0", "64", ""), 7, 0xC8010200u,
       "Subnetmask:                   255.255.255.254"},
      {Input(ClassB, FromHostsMethod, "172.16.0.0", "16384", ""), 1, 0xAC100000u,
       "Subnetmask:                   255.255.128.0"},
      {Input(ClassA, FromSubnetsMethod, "10.0.0.0", "4194304", ""), 23, 0x0A000000u,
       "Subnetmask:                   255.255.255.254"},
      {Input(ClassC, FromMaskMethod, "192.168.1.0", "", "255.255.255.192"), 2, 0xC0A80100u,
       "Subnetmask:                   255.255.255.192"},
      {Input(ClassA, FromMaskMethod, "10.0.0.0", "", "255.0.0.0"), 0, 0x0A000000u,
       "Subnetmask:                   255.0.0.0"},
  };
  for (const auto& c : cases) {
    SubnetPlan plan;
    const CalculationOutcome outcome = RunCalculationSteps(plan, c.input);
    const std::string what = c.input.networkText + " " + c.input.countText + c.input.maskText;
    EXPECT_TRUE(outcome.success) << what;
    EXPECT_FALSE(outcome.networkRejected) << what;
    EXPECT_EQ(outcome.refusal.title, "") << what;
    EXPECT_EQ(plan.classIndex, c.input.classIndex) << what;
    EXPECT_EQ(plan.network, c.network) << what;
    EXPECT_EQ(plan.SubnetBits(), c.subnetBits) << what;
    ASSERT_EQ(outcome.reportLines.size(), 13u) << what;
    EXPECT_EQ(outcome.reportLines[0], c.firstLine) << what;
    EXPECT_EQ(outcome.reportLines, WriteReport(plan, ClassRow(c.input.classIndex))) << what;
  }
}

TEST(RunCalculationSteps, RejectedCountKeepsNewClassAndNetworkWithTheOldPlan) {
  SubnetPlan plan;
  ASSERT_TRUE(
      RunCalculationSteps(plan, Input(ClassC, FromHostsMethod, "192.168.1.0", "50", "")).success);
  const CalculationOutcome outcome =
      RunCalculationSteps(plan, Input(ClassA, FromHostsMethod, "10.0.0.0", "0", ""));
  EXPECT_FALSE(outcome.success);
  EXPECT_EQ(plan.classIndex, ClassA);
  EXPECT_EQ(plan.network, 0x0A000000u);
  EXPECT_EQ(plan.SubnetBits(), 2);
  EXPECT_EQ(plan.StepSize(), 64);
}

TEST(RunCalculationSteps, UnknownMethodGivesTheFailureLineWithoutABox) {
  SubnetPlan plan;
  const CalculationOutcome outcome =
      RunCalculationSteps(plan, Input(ClassC, 3, "192.168.1.0", "50", "255.255.255.0"));
  EXPECT_FALSE(outcome.success);
  EXPECT_FALSE(outcome.networkRejected);
  EXPECT_EQ(outcome.refusal.title, "");
  EXPECT_EQ(outcome.reportLines, WriteFailureReport());
}

}  // namespace
