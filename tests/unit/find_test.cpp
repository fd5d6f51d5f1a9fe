// Finding the sub-network of an address, and reading a typed go-to target.
#include <gtest/gtest.h>

#include <string>

#include "calc/enumeration.hpp"
#include "calc/find.hpp"
#include "tests/unit/plans.hpp"

namespace {

struct FindCase {
  const char* plan;
  SubnetPlan (*make)();
  const char* address;
  int32_t index;  // -1: outside the plan
};

SubnetPlan ClassC4() {
  return HostsPlan(0, 192, 168, 1, 0, 50);
}  // blocks of 64
SubnetPlan ClassB256() {
  return MaskPlan(1, 172, 16, 0, 0, "255.255.255.0");
}  // blocks of 256
SubnetPlan ClassALargest() {
  return SubnetsPlan(2, 10, 0, 0, 0, 4194304);
}  // blocks of 2
SubnetPlan ClassAOne() {
  return MaskPlan(2, 10, 0, 0, 0, "255.0.0.0");
}  // one network

// The edges of each class: the plan's first and last address, a sub-network's
// network and broadcast address, and the addresses just outside.
const FindCase FindCases[] = {
    {"C", ClassC4, "192.168.1.0", 0},
    {"C", ClassC4, "192.168.1.63", 0},
    {"C", ClassC4, "192.168.1.64", 1},
    {"C", ClassC4, "192.168.1.255", 3},
    {"C", ClassC4, "192.168.0.255", -1},
    {"C", ClassC4, "192.168.2.0", -1},
    {"B", ClassB256, "172.16.0.0", 0},
    {"B", ClassB256, "172.16.37.0", 37},
    {"B", ClassB256, "172.16.37.255", 37},
    {"B", ClassB256, "172.16.255.255", 255},
    {"B", ClassB256, "172.15.255.255", -1},
    {"B", ClassB256, "172.17.0.0", -1},
    {"A", ClassALargest, "10.0.0.0", 0},
    {"A", ClassALargest, "10.200.3.76", 6554022},
    {"A", ClassALargest, "10.200.3.77", 6554022},
    {"A", ClassALargest, "10.255.255.255", 8388607},
    {"A", ClassALargest, "9.255.255.255", -1},
    {"A", ClassALargest, "11.0.0.0", -1},
    {"A", ClassAOne, "10.128.0.1", 0},
    {"A", ClassAOne, "255.255.255.255", -1},
};

TEST(FindSubnet, GivesTheIndexAtTheEdgesOfEveryClass) {
  for (const FindCase& test : FindCases) {
    const SubnetPlan plan = test.make();
    HostOrderAddress address = 0;
    ASSERT_TRUE(ReadDottedAddress(test.address, address)) << test.address;
    const int32_t index = FindSubnet(plan, address);
    EXPECT_EQ(index, test.index) << test.plan << " " << test.address;
    SubnetEntry entry;
    if (index >= 0 && plan.GetSubnet(index, entry)) {
      HostOrderAddress network = 0, broadcast = 0;
      ReadDottedAddress(entry.networkText, network);
      ReadDottedAddress(entry.broadcastText, broadcast);
      EXPECT_TRUE(network <= address && address <= broadcast) << test.address;
    }
  }
}

TEST(FindSubnet, NoPlanHoldsNothing) {
  EXPECT_EQ(FindSubnet(SubnetPlan(), 0), -1);
}

struct TargetCase {
  const char* typed;
  int32_t index;
  const char* title;  // "" when found
};

TEST(FindSubnetTarget, ReadsAnIndexOrAnAddress) {
  const TargetCase cases[] = {
      {"0", 0, ""},
      {" 255 ", 255, ""},
      {"172.16.37.9", 37, ""},
      {"256", -1, "No such sub-network"},
      {"99999999999999999999", -1, "No such sub-network"},
      {"10.0.0.1", -1, "Address outside the plan"},
      {"", -1, "Invalid sub-network"},
      {"-1", -1, "Invalid sub-network"},
      {"172.16.256.0", -1, "Invalid sub-network"},
      {"172.16.1", -1, "Invalid sub-network"},
      {"1e3", -1, "Invalid sub-network"},
  };
  const SubnetPlan plan = ClassB256();
  for (const TargetCase& test : cases) {
    const SubnetTarget target = FindSubnetTarget(plan, test.typed);
    EXPECT_EQ(target.index, test.index) << "'" << test.typed << "'";
    EXPECT_EQ(target.refusal.title, test.title) << "'" << test.typed << "'";
    EXPECT_EQ(target.refusal.text.empty(), target.index >= 0) << "'" << test.typed << "'";
  }
}

// PageOfIndex is the inverse of PageRange for every index of small and large plans.
TEST(PageOfIndex, NamesThePageThatShowsTheIndex) {
  for (int32_t last : {0, 1, 3, 25, 26, 255, 8388607}) {
    const int32_t step = last > 1000 ? 997 : 1;
    for (int64_t index = 0; index <= last; index += step) {
      IndexRange range;
      PageRange(last, SubnetPageSize, PageOfIndex(static_cast<int32_t>(index), SubnetPageSize),
                range);
      EXPECT_TRUE(range.first <= index && index <= range.last) << last << " " << index;
    }
  }
  EXPECT_EQ(PageOfIndex(8388607, SubnetPageSize), 335545);
}

}  // namespace
