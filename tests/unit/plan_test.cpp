#include "calc/plan.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/patterns.hpp"
#include "plans.hpp"

namespace {

constexpr int ClassC = 0, ClassB = 1, ClassA = 2;

struct Expected {
  int s, h, usableSubnets, total, usableHosts, blockSize;
  const char* mask;
};

void ExpectPlan(const SubnetPlan& plan, const Expected& e, const std::string& what) {
  EXPECT_EQ(plan.SubnetBits(), e.s) << what;
  EXPECT_EQ(plan.HostBits(), e.h) << what;
  EXPECT_EQ(plan.usableSubnets, e.usableSubnets) << what;
  EXPECT_EQ(plan.TotalSubnets(), e.total) << what;
  EXPECT_EQ(plan.usableHosts, e.usableHosts) << what;
  EXPECT_EQ(plan.AddressesPerSubnet(), e.usableHosts + 2) << what;
  EXPECT_EQ(plan.StepSize(), e.blockSize) << what;
  EXPECT_EQ(plan.MaskText(), e.mask) << what;
}

// The class C reference plans; count ranges are inclusive.
struct CountRow {
  int method, low, high;
  Expected expected;
};
const CountRow ClassCCountRows[] = {
    {FromHostsMethod, 2, 2, {6, 2, 62, 64, 2, 4, "255.255.255.252"}},
    {FromHostsMethod, 3, 6, {5, 3, 30, 32, 6, 8, "255.255.255.248"}},
    {FromHostsMethod, 7, 14, {4, 4, 14, 16, 14, 16, "255.255.255.240"}},
    {FromHostsMethod, 15, 30, {3, 5, 6, 8, 30, 32, "255.255.255.224"}},
    {FromHostsMethod, 31, 62, {2, 6, 2, 4, 62, 64, "255.255.255.192"}},
    {FromHostsMethod, 63, 64, {1, 7, 0, 2, 126, 128, "255.255.255.128"}},
    {FromSubnetsMethod, 2, 2, {2, 6, 2, 4, 62, 64, "255.255.255.192"}},
    {FromSubnetsMethod, 3, 6, {3, 5, 6, 8, 30, 32, "255.255.255.224"}},
    {FromSubnetsMethod, 7, 14, {4, 4, 14, 16, 14, 16, "255.255.255.240"}},
    {FromSubnetsMethod, 15, 30, {5, 3, 30, 32, 6, 8, "255.255.255.248"}},
    {FromSubnetsMethod, 31, 62, {6, 2, 62, 64, 2, 4, "255.255.255.252"}},
    {FromSubnetsMethod, 63, 64, {7, 1, 126, 128, 0, 2, "255.255.255.254"}},
};

TEST(SubnetPlanTable, ClassCCountsGiveTheReferencePlans) {
  for (const CountRow& row : ClassCCountRows) {
    for (int count = row.low; count <= row.high; ++count) {
      SubnetPlan plan;
      const bool stored =
          row.method == FromHostsMethod ? plan.FromHosts(count) : plan.FromSubnets(count);
      const std::string what = std::string(MethodText(row.method)) + " " + std::to_string(count);
      EXPECT_TRUE(stored) << what;
      ExpectPlan(plan, row.expected, what);
    }
  }
}

TEST(SubnetPlanTable, ClassCMasksGiveTheReferencePlans) {
  const struct {
    const char* mask;
    Expected expected;
  } rows[] = {
      {"255.255.255.0", {0, 8, -1, 1, 254, 256, "255.255.255.0"}},
      {"255.255.255.128", {1, 7, 0, 2, 126, 128, "255.255.255.128"}},
      {"255.255.255.248", {5, 3, 30, 32, 6, 8, "255.255.255.248"}},
  };
  for (const auto& row : rows) {
    SubnetPlan plan;
    EXPECT_TRUE(plan.FromMask(row.mask)) << row.mask;
    ExpectPlan(plan, row.expected, row.mask);
  }
}

TEST(SubnetPlanTable, ClassesBAndA) {
  ExpectPlan(HostsPlan(ClassB, 172, 16, 0, 0, 16384), {1, 15, 0, 2, 32766, 32768, "255.255.128.0"},
             "B hosts 16384");
  ExpectPlan(SubnetsPlan(ClassB, 172, 16, 0, 0, 16384),
             {15, 1, 32766, 32768, 0, 2, "255.255.255.254"}, "B subnets 16384");
  ExpectPlan(MaskPlan(ClassB, 172, 16, 0, 0, "255.255.255.0"),
             {8, 8, 254, 256, 254, 256, "255.255.255.0"}, "B mask /24");
  ExpectPlan(HostsPlan(ClassA, 10, 0, 0, 0, 2), {22, 2, 4194302, 4194304, 2, 4, "255.255.255.252"},
             "A hosts 2");
  ExpectPlan(SubnetsPlan(ClassA, 10, 0, 0, 0, 4194304),
             {23, 1, 8388606, 8388608, 0, 2, "255.255.255.254"}, "A subnets 4194304");
  ExpectPlan(MaskPlan(ClassA, 10, 0, 0, 0, "255.0.0.0"),
             {0, 24, -1, 1, 16777214, 16777216, "255.0.0.0"}, "A mask /8");
  ExpectPlan(MaskPlan(ClassA, 10, 0, 0, 0, "255.255.255.248"),
             {21, 3, 2097150, 2097152, 6, 8, "255.255.255.248"}, "A mask /29");
}

TEST(SubnetPlan, StartsZeroFilledWithClassC) {
  SubnetPlan* plan = CreateSubnetPlan();
  ASSERT_NE(plan, nullptr);
  EXPECT_EQ(plan->classIndex, 0);
  EXPECT_EQ(plan->network, 0u);
  EXPECT_EQ(plan->usableHosts, 0);
  EXPECT_EQ(plan->usableSubnets, 0);
  EXPECT_EQ(plan->blockSize, 0);
  EXPECT_EQ(plan->subnetBits, 0);
  EXPECT_EQ(plan->hostBits, 0);
  plan->Release();
}

TEST(SubnetPlan, SetClassAcceptsOnlyTheThreeRows) {
  SubnetPlan plan;
  EXPECT_TRUE(plan.SetClass(2));
  EXPECT_EQ(plan.classIndex, 2);
  EXPECT_FALSE(plan.SetClass(3));
  EXPECT_FALSE(plan.SetClass(-1));
  EXPECT_EQ(plan.classIndex, 2);
  EXPECT_TRUE(plan.SetClass(0));
  EXPECT_EQ(plan.classIndex, 0);
}

TEST(SubnetPlan, SetNetworkPacksTheOctets) {
  SubnetPlan plan;
  EXPECT_EQ(plan.SetNetwork(172, 16, 0, 0), 0xAC100000u);
  EXPECT_EQ(plan.network, 0xAC100000u);
}

void ExpectSamePlan(const SubnetPlan& a, const SubnetPlan& b) {
  EXPECT_EQ(a.usableHosts, b.usableHosts);
  EXPECT_EQ(a.usableSubnets, b.usableSubnets);
  EXPECT_EQ(a.blockSize, b.blockSize);
  EXPECT_EQ(a.subnetBits, b.subnetBits);
  EXPECT_EQ(a.hostBits, b.hostBits);
  EXPECT_EQ(a.classIndex, b.classIndex);
  EXPECT_EQ(a.network, b.network);
}

TEST(SubnetPlan, UnsatisfiableInputChangesNothing) {
  const SubnetPlan before = HostsPlan(ClassC, 192, 168, 1, 0, 50);
  SubnetPlan plan = before;
  EXPECT_FALSE(plan.FromHosts(255));  // above maxCount
  EXPECT_FALSE(plan.FromHosts(127));  // needs all 8 bits for hosts
  EXPECT_FALSE(plan.FromSubnets(255));
  EXPECT_FALSE(plan.FromSubnets(127));
  EXPECT_FALSE(plan.FromMask("255.255.255"));
  EXPECT_FALSE(plan.FromMask(""));
  EXPECT_FALSE(plan.FromMask("0.0.0.0"));          // fewer bits than the class
  EXPECT_FALSE(plan.FromMask("255.255.255.255"));  // no host bit left
  ExpectSamePlan(plan, before);
}

TEST(SubnetPlan, MethodsKeepClassAndNetwork) {
  SubnetPlan plan = HostsPlan(ClassB, 172, 16, 0, 0, 100);
  EXPECT_TRUE(plan.FromSubnets(10));
  EXPECT_TRUE(plan.FromMask("255.255.240.0"));
  EXPECT_EQ(plan.classIndex, ClassB);
  EXPECT_EQ(plan.network, 0xAC100000u);
}

TEST(SubnetPlan, NonPositiveCounts) {
  // Zero wanted hosts still needs a network and a broadcast address.
  ExpectPlan(HostsPlan(ClassC, 192, 168, 1, 0, 0), {7, 1, 126, 128, 0, 2, "255.255.255.254"},
             "hosts 0");
  ExpectPlan(HostsPlan(ClassC, 192, 168, 1, 0, -5), {7, 1, 126, 128, 0, 2, "255.255.255.254"},
             "hosts -5");
  ExpectPlan(SubnetsPlan(ClassC, 192, 168, 1, 0, -1), {0, 8, -1, 1, 254, 256, "255.255.255.0"},
             "subnets -1");
}

TEST(SubnetPlan, FreshPlanMaskIsTheClassMask) {
  SubnetPlan plan;
  EXPECT_EQ(plan.MaskText(), "255.255.255.0");
  plan.SetClass(ClassA);
  EXPECT_EQ(plan.MaskText(), "255.0.0.0");
}

TEST(MatchesDottedQuad, ChecksTheShapeOnly) {
  const struct {
    std::string text;
    bool matches;
  } cases[] = {
      {"192.168.0.1", true},
      {"999.999.999.999", true},
      {"0.0.0.0", true},
      {"1.2.3.4\n", true},
      {std::string("1.2.3.4\0junk", 12), true},
      {"1234.1.1.1", false},
      {"1.2.3", false},
      {"1.2.3.4.5", false},
      {" 1.2.3.4", false},
      {"1.2.3.4 ", false},
      {"", false},
      {"1..2.3", false},
      {"a.b.c.d", false},
      {"1.2.3.4\n\n", false},
      {"1.2.3.-4", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesDottedQuad(c.text), c.matches) << c.text;
    EXPECT_EQ(LivePatternCount(), 0) << c.text;
  }
}

// The check keeps its own compiled pattern, so releasing every pattern id (as
// the toolkit's teardown does) cannot break it.
TEST(MatchesDottedQuad, SurvivesTheReleaseOfAllPatterns) {
  ASSERT_TRUE(MatchesDottedQuad("10.0.0.0"));
  ReleaseAllPatterns();
  EXPECT_TRUE(MatchesDottedQuad("10.0.0.0"));
  EXPECT_FALSE(MatchesDottedQuad("10.0.0"));
}

struct AddressCase {
  int classIndex;
  const char* text;
  bool accepted;
};

TEST(CheckNetworkAddress, AcceptsOnlyNetworksOfTheClass) {
  const AddressCase cases[] = {
      {ClassC, "192.168.1.0", true},
      {ClassC, "192.0.0.0", true},
      {ClassC, "223.255.255.0", true},
      {ClassC, "192.168.1.5", false},
      {ClassC, "10.0.0.0", false},
      {ClassC, "224.0.0.0", false},
      {ClassC, "191.255.255.0", false},
      {ClassC, "192.168.1", false},
      {ClassC, "", false},
      {ClassC, "192.168.1.0 ", false},
      // A group above 255 counts with its low 8 bits.
      {ClassC, "192.168.1.256", true},
      {ClassB, "172.16.0.0", true},
      {ClassB, "128.0.0.0", true},
      {ClassB, "191.255.0.0", true},
      {ClassB, "172.16.1.0", false},
      {ClassB, "172.16.0.1", false},
      {ClassB, "192.168.0.0", false},
      {ClassB, "127.0.0.0", false},
      {ClassA, "10.0.0.0", true},
      {ClassA, "126.0.0.0", true},
      {ClassA, "1.0.0.0", true},
      {ClassA, "127.0.0.0", false},
      {ClassA, "0.0.0.0", false},
      {ClassA, "10.1.0.0", false},
      {ClassA, "10.0.0.1", false},
      {ClassA, "128.0.0.0", false},
      {3, "192.168.1.0", false},
      {-1, "10.0.0.0", false},
  };
  for (const AddressCase& c : cases) {
    EXPECT_EQ(CheckNetworkAddress(c.text, c.classIndex), c.accepted)
        << "class " << c.classIndex << " " << c.text;
  }
  EXPECT_EQ(LivePatternCount(), 0);
}

std::string PrefixMask(int bits) {
  const uint32_t mask = bits == 0 ? 0 : 0xFFFFFFFFu << (32 - bits);
  return FormatAddress(mask);
}

TEST(CheckSubnetMask, AcceptsExactlyClassBitsTo29) {
  for (int classIndex = 0; classIndex < ClassCount; ++classIndex) {
    const int classBits = ClassRow(classIndex).networkBits;
    for (int bits = 0; bits <= 32; ++bits) {
      const bool expected = bits >= classBits && bits <= 29;
      EXPECT_EQ(CheckSubnetMask(PrefixMask(bits), classIndex), expected)
          << "class " << classIndex << " /" << bits;
    }
  }
  EXPECT_EQ(LivePatternCount(), 0);
}

TEST(CheckSubnetMask, RejectsMalformedAndNonContiguousMasks) {
  const AddressCase cases[] = {
      {ClassC, "255.255.255.248", true},  {ClassC, "255.255.255.252", false},
      {ClassC, "255.255.255.253", false}, {ClassC, "255.255.255.254", false},
      {ClassC, "255.255.255.255", false}, {ClassC, "255.255.254.0", false},
      {ClassC, "255.255.255.64", false},  {ClassC, "0.0.0.0", false},
      {ClassC, "255.255.255", false},     {ClassC, "", false},
      {ClassB, "255.255.0.255", false},   {ClassB, "255.255.128.0", true},
      {ClassA, "255.0.0.0", true},        {ClassA, "255.255.255.248", true},
      {ClassA, "255.0.255.0", false},     {3, "255.255.255.0", false},
  };
  for (const AddressCase& c : cases) {
    EXPECT_EQ(CheckSubnetMask(c.text, c.classIndex), c.accepted)
        << "class " << c.classIndex << " " << c.text;
  }
}

}  // namespace
