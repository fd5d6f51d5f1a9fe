#include "calc/report.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plans.hpp"

namespace {

constexpr int ClassC = 0, ClassA = 2;

std::vector<std::string> ReportOf(const SubnetPlan& plan) {
  return WriteReport(plan, ClassRow(plan.classIndex));
}

TEST(WriteReport, ClassCFiftyHosts) {
  const std::vector<std::string> expected = {
      "Subnetmask:                   255.255.255.192",
      "Absolute total subnets:       4",
      "Usable subnets:               2",
      "Hosts per subnet:             62",
      "Stepsize:                     64",
      "Bits used for hosts:          6",
      "Bits used for subnets:        2",
      "Bits allowed for subnetting:  8 (See bitmap below)",
      "",
      "Bitmapping / mask explanation:",
      "NNNNNNNNNNNNNNNNNNNNNNNNssHHHHHH",
      "11111111111111111111111111000000",
      "Where N is not allowed, s is subnet bits, H is hostbits.",
  };
  EXPECT_EQ(ReportOf(HostsPlan(ClassC, 192, 168, 1, 0, 50)), expected);
}

TEST(WriteReport, SingleNetworkGetsBothNotes) {
  const std::vector<std::string> lines =
      ReportOf(MaskPlan(ClassC, 192, 168, 1, 0, "255.255.255.0"));
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0], "Subnetmask:                   255.255.255.0");
  EXPECT_EQ(lines[1], "Absolute total subnets:       1 (Full range, 1 network.)");
  EXPECT_EQ(lines[2], "Usable subnets:               0 (No subnetworks)");
  EXPECT_EQ(lines[3], "Hosts per subnet:             254");
  EXPECT_EQ(lines[4], "Stepsize:                     256");
  EXPECT_EQ(lines[5], "Bits used for hosts:          8");
  EXPECT_EQ(lines[6], "Bits used for subnets:        0");
  EXPECT_EQ(lines[10], std::string(24, 'N') + std::string(8, 'H'));
  EXPECT_EQ(lines[11], std::string(24, '1') + std::string(8, '0'));
}

TEST(WriteReport, OneSubnetBitHasNoNotes) {
  const std::vector<std::string> lines = ReportOf(HostsPlan(ClassC, 192, 168, 1, 0, 64));
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[1], "Absolute total subnets:       2");
  EXPECT_EQ(lines[2], "Usable subnets:               0");
}

TEST(WriteReport, OneHostBit) {
  const std::vector<std::string> lines = ReportOf(SubnetsPlan(ClassC, 192, 168, 1, 0, 64));
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[3], "Hosts per subnet:             0");
  EXPECT_EQ(lines[4], "Stepsize:                     2");
  EXPECT_EQ(lines[10], std::string(24, 'N') + std::string(7, 's') + "H");
}

TEST(WriteReport, ClassAWithItsOwnMask) {
  const std::vector<std::string> lines = ReportOf(MaskPlan(ClassA, 10, 0, 0, 0, "255.0.0.0"));
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0], "Subnetmask:                   255.0.0.0");
  EXPECT_EQ(lines[3], "Hosts per subnet:             16777214");
  EXPECT_EQ(lines[4], "Stepsize:                     16777216");
  EXPECT_EQ(lines[7], "Bits allowed for subnetting:  24 (See bitmap below)");
  EXPECT_EQ(lines[10], std::string(8, 'N') + std::string(24, 'H'));
  EXPECT_EQ(lines[11], std::string(8, '1') + std::string(24, '0'));
}

// For every class C plan the digits line is the mask and the letters line up with it.
TEST(WriteReport, BitmapSpellsTheMaskForEveryClassCPlan) {
  for (int count = 2; count <= 64; ++count) {
    for (const SubnetPlan& plan :
         {HostsPlan(ClassC, 192, 168, 1, 0, count), SubnetsPlan(ClassC, 192, 168, 1, 0, count)}) {
      const std::vector<std::string> lines = ReportOf(plan);
      ASSERT_EQ(lines.size(), 13u) << count;
      const std::string& letters = lines[10];
      const std::string& digits = lines[11];
      ASSERT_EQ(letters.size(), 32u) << count;
      ASSERT_EQ(digits.size(), 32u) << count;
      const uint32_t mask = PackDottedText(plan.MaskText());
      for (int i = 0; i < 32; ++i) {
        const bool maskBit = ((mask >> (31 - i)) & 1u) != 0;
        EXPECT_EQ(digits[i], maskBit ? '1' : '0') << count << " bit " << i;
        EXPECT_EQ(letters[i] == 'H', !maskBit) << count << " bit " << i;
      }
      for (int line = 0; line < 8; ++line) {
        EXPECT_EQ(lines[line][29], ' ') << lines[line];
        EXPECT_NE(lines[line][30], ' ') << "value must start in column 31: " << lines[line];
        EXPECT_EQ(lines[line].find("192.168.1.0"), std::string::npos) << lines[line];
      }
    }
  }
}

TEST(WriteFailureReport, IsTheFailureLineAlone) {
  EXPECT_EQ(WriteFailureReport(),
            std::vector<std::string>{"Something didn't quite go as planned... ;D"});
  EXPECT_STREQ(FailureText, "Something didn't quite go as planned... ;D");
  EXPECT_STREQ(ReadyText, "Ready...");
}

}  // namespace
