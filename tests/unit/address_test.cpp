#include "calc/address.hpp"

#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(ClassTable, RowsAreInListOrderCBA) {
  const struct {
    int networkBits, maxCount, low, high;
  } expected[ClassCount] = {{24, 254, 192, 223}, {16, 65536, 128, 191}, {8, 16777216, 1, 126}};
  for (int i = 0; i < ClassCount; ++i) {
    const NetworkClass& row = ClassRow(i);
    EXPECT_EQ(row.networkBits, expected[i].networkBits) << i;
    EXPECT_EQ(row.subnettingBits, 32 - expected[i].networkBits) << i;
    EXPECT_EQ(row.maxCount, expected[i].maxCount) << i;
    EXPECT_EQ(row.firstOctetLow, expected[i].low) << i;
    EXPECT_EQ(row.firstOctetHigh, expected[i].high) << i;
  }
}

TEST(ClassTable, TextsAndExamplesAreExact) {
  EXPECT_STREQ(ClassText(0), "Type C  (e.g. 192.168.1.0/24) - 8 subnetting bits");
  EXPECT_STREQ(ClassText(1), "Type B  (e.g. 172.16.0.0/16) - 16 subnetting bits");
  EXPECT_STREQ(ClassText(2), "Type A  (e.g. 10.0.0.0/8) - 24 subnetting bits");
  EXPECT_EQ(Ipv4Text(ExampleNetwork(0)), "192.168.1.0");
  EXPECT_EQ(Ipv4Text(ExampleNetwork(1)), "172.16.0.0");
  EXPECT_EQ(Ipv4Text(ExampleNetwork(2)), "10.0.0.0");
  EXPECT_STREQ(MethodText(FromHostsMethod), "Calculate from preferred number of hosts per subnet.");
  EXPECT_STREQ(MethodText(FromSubnetsMethod), "Calculate from preferred number of subnets.");
  EXPECT_STREQ(MethodText(FromMaskMethod), "Calculate from already known subnet mask.");
  EXPECT_STREQ(NumberLabel(FromHostsMethod), "#Hosts: ");
  EXPECT_STREQ(NumberLabel(FromSubnetsMethod), "#Networks: ");
  EXPECT_STREQ(NumberLabel(FromMaskMethod), "Subnet mask: ");
}

TEST(ClassTable, IndexOutsideTheListsReadsNothing) {
  for (int index : {-1, 3, 1000}) {
    EXPECT_EQ(ClassRow(index).networkBits, 0) << index;
    EXPECT_EQ(ClassRow(index).maxCount, 0) << index;
    EXPECT_STREQ(ClassText(index), "") << index;
    EXPECT_EQ(ExampleNetwork(index), 0u) << index;
    EXPECT_STREQ(MethodText(index), "") << index;
    EXPECT_STREQ(NumberLabel(index), "") << index;
  }
}

TEST(Ipv4Value, FirstOctetIsTheLowestByte) {
  EXPECT_EQ(MakeIpv4Value(192, 168, 1, 0), 0x0001A8C0u);
  EXPECT_EQ(Ipv4Text(MakeIpv4Value(192, 168, 1, 0)), "192.168.1.0");
  EXPECT_EQ(Ipv4Text(MakeIpv4Value(1, 2, 3, 4)), "1.2.3.4");
  EXPECT_EQ(Ipv4Text(0), "0.0.0.0");
  EXPECT_EQ(Ipv4Text(0xFFFFFFFFu), "255.255.255.255");
}

TEST(PackAddress, FirstOctetIsTheTopByte) {
  EXPECT_EQ(PackAddress(192, 168, 1, 0), 0xC0A80100u);
  EXPECT_EQ(PackAddress(300, 0, 0, 0), 0x2C000000u);  // 300 & 255 = 44
  EXPECT_EQ(PackAddress(-1, 256, 257, 0), 0xFF000100u);
}

TEST(OctetOf, CountsFromTheTopByte) {
  const uint32_t value = 0xC0A80100u;
  EXPECT_EQ(OctetOf(value, 1), 192);
  EXPECT_EQ(OctetOf(value, 2), 168);
  EXPECT_EQ(OctetOf(value, 3), 1);
  EXPECT_EQ(OctetOf(value, 4), 0);
}

TEST(FormatAddress, WritesDottedDecimal) {
  EXPECT_EQ(FormatAddress(0xC0A80100u), "192.168.1.0");
  EXPECT_EQ(FormatAddress(PackAddress(300, 0, 0, 0)), "44.0.0.0");
  EXPECT_EQ(FormatAddress(0), "0.0.0.0");
  EXPECT_EQ(FormatAddress(0xFFFFFFFFu), "255.255.255.255");
  EXPECT_EQ(FormatAddress(0x0A014000u), "10.1.64.0");
}

TEST(AddressField, ReadsDecimalFields) {
  EXPECT_EQ(AddressField("192.168.1.0", 1), 192);
  EXPECT_EQ(AddressField("192.168.1.0", 2), 168);
  EXPECT_EQ(AddressField("192.168.1.0", 4), 0);
  EXPECT_EQ(AddressField("192.168.1.0", 5), 0);
  EXPECT_EQ(AddressField("1..2", 2), 0);
  EXPECT_EQ(AddressField("010.1.1.1", 1), 10);  // decimal, not octal
  EXPECT_EQ(PackDottedText("10.1.64.0"), 0x0A014000u);
  EXPECT_EQ(PackDottedText("192.168.1.256"), 0xC0A80100u);  // low 8 bits only
}

TEST(BitOperations, LeadingBits) {
  EXPECT_TRUE(LeadingBitsEqual(PackAddress(255, 255, 255, 0), 24, 1, 32));
  EXPECT_FALSE(LeadingBitsEqual(PackAddress(255, 254, 255, 0), 24, 1, 32));
  EXPECT_FALSE(LeadingBitsEqual(PackAddress(255, 255, 255, 0), 25, 1, 32));
  EXPECT_TRUE(LeadingBitsEqual(0x00FFFFFFu, 8, 0, 32));
  EXPECT_TRUE(LeadingBitsEqual(0xF0u, 4, 1, 8));
  EXPECT_TRUE(LeadingBitsEqual(0, 0, 1, 32));
}

TEST(BitOperations, TrailingBits) {
  EXPECT_TRUE(TrailingBitsEqual(PackAddress(192, 168, 1, 0), 8, 0));
  EXPECT_FALSE(TrailingBitsEqual(PackAddress(192, 168, 1, 1), 8, 0));
  EXPECT_FALSE(TrailingBitsEqual(PackAddress(172, 16, 1, 0), 16, 0));
  EXPECT_TRUE(TrailingBitsEqual(0xFFu, 8, 1));
  EXPECT_TRUE(TrailingBitsEqual(0, 32, 0));
  EXPECT_TRUE(TrailingBitsEqual(1, 0, 0));
}

TEST(BitOperations, ContiguousMask) {
  EXPECT_TRUE(IsContiguousMask(PackAddress(255, 255, 255, 192), 32));
  EXPECT_TRUE(IsContiguousMask(0, 32));
  EXPECT_TRUE(IsContiguousMask(0xFFFFFFFFu, 32));
  EXPECT_FALSE(IsContiguousMask(PackAddress(255, 255, 0, 255), 32));
  EXPECT_FALSE(IsContiguousMask(PackAddress(255, 255, 255, 64), 32));
  EXPECT_TRUE(IsContiguousMask(0xF0u, 8));
  EXPECT_FALSE(IsContiguousMask(0x0Fu, 8));
}

// Positions outside the 32 bits read as 0; counting down from an extreme width
// must not overflow (the sanitizer build aborts on signed overflow).
TEST(BitOperations, BitsOutsideTheValueReadAsZero) {
  constexpr int Lowest = std::numeric_limits<int>::min();
  EXPECT_TRUE(LeadingBitsEqual(0xFFFFFFFFu, 1, 0, Lowest));
  EXPECT_FALSE(LeadingBitsEqual(0xFFFFFFFFu, 1, 1, Lowest));
  EXPECT_TRUE(LeadingBitsEqual(0x80000000u, 2, 0, 34));
  EXPECT_FALSE(LeadingBitsEqual(0x80000000u, 3, 0, 34));
  EXPECT_TRUE(IsContiguousMask(0xFFFFFFFFu, Lowest));
  EXPECT_TRUE(IsContiguousMask(0x0Fu, 4));
  EXPECT_FALSE(IsContiguousMask(0x80000000u, 33));
}

TEST(BitOperations, CountBits) {
  EXPECT_EQ(CountBits(PackAddress(255, 255, 255, 192), 1, 32), 26);
  EXPECT_EQ(CountBits(PackAddress(255, 255, 255, 192), 0, 32), 6);
  EXPECT_EQ(CountBits(PackAddress(255, 255, 255, 192), 1, 8), 2);
  EXPECT_EQ(CountBits(0xFFFFFFFFu, 1, 0), 0);
}

}  // namespace
