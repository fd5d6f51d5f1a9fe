#include "calc/enumeration.hpp"

#include <string>

#include <gtest/gtest.h>

#include "plans.hpp"

namespace {

constexpr int ClassC = 0, ClassB = 1, ClassA = 2;

struct Row {
  int index;
  const char* network;
  const char* first;
  const char* last;
  const char* broadcast;
};

void ExpectRow(const SubnetPlan& plan, const Row& row) {
  SubnetEntry entry;
  ASSERT_TRUE(plan.GetSubnet(row.index, entry)) << row.index;
  EXPECT_EQ(entry.index, row.index);
  EXPECT_EQ(entry.networkText, row.network) << row.index;
  EXPECT_EQ(entry.firstText, row.first) << row.index;
  EXPECT_EQ(entry.lastText, row.last) << row.index;
  EXPECT_EQ(entry.broadcastText, row.broadcast) << row.index;
}

TEST(GetSubnet, ClassCFourSubnetworks) {
  const SubnetPlan plan = HostsPlan(ClassC, 192, 168, 1, 0, 50);
  ASSERT_EQ(plan.StepSize(), 64);
  ASSERT_EQ(plan.TotalSubnets(), 4);
  ExpectRow(plan, {0, "192.168.1.0", "192.168.1.1", "192.168.1.62", "192.168.1.63"});
  ExpectRow(plan, {1, "192.168.1.64", "192.168.1.65", "192.168.1.126", "192.168.1.127"});
  ExpectRow(plan, {3, "192.168.1.192", "192.168.1.193", "192.168.1.254", "192.168.1.255"});
}

TEST(GetSubnet, ClassBCarriesIntoTheThirdOctet) {
  const SubnetPlan plan = HostsPlan(ClassB, 172, 16, 0, 0, 62);
  ASSERT_EQ(plan.StepSize(), 64);
  ExpectRow(plan, {4, "172.16.1.0", "172.16.1.1", "172.16.1.62", "172.16.1.63"});
  ExpectRow(plan, {1023, "172.16.255.192", "172.16.255.193", "172.16.255.254", "172.16.255.255"});
}

TEST(GetSubnet, ClassACarriesIntoTheSecondOctet) {
  const SubnetPlan plan = HostsPlan(ClassA, 10, 0, 0, 0, 16382);
  ASSERT_EQ(plan.StepSize(), 16384);
  ExpectRow(plan, {5, "10.1.64.0", "10.1.64.1", "10.1.127.254", "10.1.127.255"});
}

TEST(GetSubnet, SingleNetworkPlan) {
  const SubnetPlan plan = MaskPlan(ClassC, 192, 168, 1, 0, "255.255.255.0");
  const int32_t lastIndex = plan.TotalSubnets() - 1;
  EXPECT_EQ(lastIndex, 0);
  EXPECT_EQ(PageCount(lastIndex, SubnetPageSize), 1);
  ExpectRow(plan, {0, "192.168.1.0", "192.168.1.1", "192.168.1.254", "192.168.1.255"});
}

TEST(GetSubnet, TwoNetworkPlan) {
  const SubnetPlan plan = HostsPlan(ClassC, 192, 168, 1, 0, 64);
  IndexRange range;
  PageRange(plan.TotalSubnets() - 1, SubnetPageSize, 1, range);
  EXPECT_EQ(range.first, 0);
  EXPECT_EQ(range.last, 1);
  ExpectRow(plan, {1, "192.168.1.128", "192.168.1.129", "192.168.1.254", "192.168.1.255"});
}

// Two-address blocks (/31) are point-to-point links: both addresses are hosts
// (RFC 3021), so first = network and last = broadcast.
TEST(GetSubnet, TwoAddressBlocksHaveBothAddressesAsHosts) {
  const SubnetPlan classC = SubnetsPlan(ClassC, 192, 168, 1, 0, 64);
  ASSERT_EQ(classC.StepSize(), 2);
  ExpectRow(classC, {0, "192.168.1.0", "192.168.1.0", "192.168.1.1", "192.168.1.1"});
  ExpectRow(classC, {127, "192.168.1.254", "192.168.1.254", "192.168.1.255", "192.168.1.255"});
  const SubnetPlan classA = SubnetsPlan(ClassA, 10, 0, 0, 0, 4194304);
  ASSERT_EQ(classA.TotalSubnets(), 8388608);
  ExpectRow(classA, {0, "10.0.0.0", "10.0.0.0", "10.0.0.1", "10.0.0.1"});
  ExpectRow(classA, {6554022, "10.200.3.76", "10.200.3.76", "10.200.3.77", "10.200.3.77"});
  ExpectRow(classA,
            {8388607, "10.255.255.254", "10.255.255.254", "10.255.255.255", "10.255.255.255"});
}

TEST(GetSubnet, RefusesIndexesOutsideThePlan) {
  const SubnetPlan plan = HostsPlan(ClassC, 192, 168, 1, 0, 50);
  SubnetEntry entry;
  entry.networkText = "kept";
  EXPECT_FALSE(plan.GetSubnet(4, entry));
  EXPECT_FALSE(plan.GetSubnet(-1, entry));
  EXPECT_FALSE(plan.GetSubnet(2147483647, entry));
  EXPECT_EQ(entry.networkText, "kept");
  // Before any calculation there is no block size to step by.
  EXPECT_FALSE(SubnetPlan().GetSubnet(0, entry));
  EXPECT_EQ(entry.networkText, "kept");
}

TEST(PageCount, CeilingOfLastIndexOverPageSize) {
  const struct {
    int32_t lastIndex, pages;
  } cases[] = {{0, 1},  {3, 1},    {25, 1},     {26, 2},           {31, 2},
               {63, 3}, {255, 11}, {4095, 164}, {4194303, 167773}, {8388607, 335545}};
  for (const auto& c : cases) {
    EXPECT_EQ(PageCount(c.lastIndex, SubnetPageSize), c.pages) << c.lastIndex;
  }
}

// Every index from 0 to lastIndex appears on exactly one page, in order.
TEST(PageRange, PagesCoverEveryIndexOnce) {
  for (int32_t lastIndex : {0, 3, 31, 63, 255, 4095, 4194303, 8388607}) {
    const int32_t pages = PageCount(lastIndex, SubnetPageSize);
    int32_t expectedFirst = 0;
    for (int32_t page = 1; page <= pages; ++page) {
      IndexRange range;
      PageRange(lastIndex, SubnetPageSize, page, range);
      if (range.first != expectedFirst || range.last < range.first) {
        ADD_FAILURE() << "K " << lastIndex << " page " << page << ": " << range.first << "-"
                      << range.last << ", expected to start at " << expectedFirst;
        break;
      }
      expectedFirst = range.last + 1;
    }
    EXPECT_EQ(expectedFirst, lastIndex + 1) << "K " << lastIndex;
  }
}

void ExpectRange(int32_t lastIndex, int32_t page, int32_t first, int32_t last) {
  IndexRange range;
  PageRange(lastIndex, SubnetPageSize, page, range);
  EXPECT_EQ(range.first, first) << "K " << lastIndex << " page " << page;
  EXPECT_EQ(range.last, last) << "K " << lastIndex << " page " << page;
}

TEST(PageRange, FirstPageHoldsOneRowMore) {
  ExpectRange(255, 1, 0, 25);
  ExpectRange(255, 2, 26, 50);
  ExpectRange(255, 3, 51, 75);
  ExpectRange(255, 10, 226, 250);
  ExpectRange(255, 11, 251, 255);
  ExpectRange(31, 1, 0, 25);
  ExpectRange(31, 2, 26, 31);
  ExpectRange(63, 3, 51, 63);
  ExpectRange(4194303, 167773, 4194301, 4194303);
  ExpectRange(8388607, 335545, 8388601, 8388607);
}

TEST(PageRange, StrayPageNumbersStayInsideTheIndexes) {
  ExpectRange(31, 3, 26, 31);
  ExpectRange(31, 2147483647, 26, 31);
  ExpectRange(3, 2, 0, 3);  // fewer indexes than a page: never a negative first
  ExpectRange(0, 5, 0, 0);
  ExpectRange(255, 0, 0, 25);
  ExpectRange(255, -5, 0, 25);
}

TEST(PageRange, RowsContinueAcrossPageBoundaries) {
  const SubnetPlan plan = HostsPlan(ClassC, 192, 168, 1, 0, 2);  // 64 blocks of 4
  const int32_t lastIndex = plan.TotalSubnets() - 1;
  ASSERT_EQ(PageCount(lastIndex, SubnetPageSize), 3);
  IndexRange second, third;
  PageRange(lastIndex, SubnetPageSize, 2, second);
  PageRange(lastIndex, SubnetPageSize, 3, third);
  EXPECT_EQ(third.last - third.first + 1, 13);
  SubnetEntry lastOfSecond, firstOfThird;
  ASSERT_TRUE(plan.GetSubnet(second.last, lastOfSecond));
  ASSERT_TRUE(plan.GetSubnet(third.first, firstOfThird));
  EXPECT_EQ(RowTexts(lastOfSecond)[0], "50");
  EXPECT_EQ(lastOfSecond.broadcastText, "192.168.1.203");
  EXPECT_EQ(RowTexts(firstOfThird)[0], "51");
  EXPECT_EQ(firstOfThird.networkText, "192.168.1.204");
}

TEST(RowTexts, IndexThenTheFourAddresses) {
  const SubnetPlan plan = HostsPlan(ClassC, 192, 168, 1, 0, 2);
  SubnetEntry entry;
  ASSERT_TRUE(plan.GetSubnet(37, entry));
  const std::array<std::string, 5> texts = RowTexts(entry);
  EXPECT_EQ(texts[0], "37");
  EXPECT_EQ(texts[1], "192.168.1.148");
  EXPECT_EQ(texts[2], "192.168.1.149");
  EXPECT_EQ(texts[3], "192.168.1.150");
  EXPECT_EQ(texts[4], "192.168.1.151");
  EXPECT_EQ(RowText(entry), "37\n192.168.1.148\n192.168.1.149\n192.168.1.150\n192.168.1.151");
}

}  // namespace
