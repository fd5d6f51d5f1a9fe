#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "calc/address.hpp"
#include "net/address_text.hpp"
#include "net/decimal.hpp"
#include "net/subnet_range.hpp"

namespace {

std::string Dotted(uint32_t value) {
  char text[MaxDottedLength + 1];
  return std::string(text, WriteDotted(text, value));
}

// Every octet value in every position, against the calculator's own formatting.
TEST(WriteDotted, MatchesFormatAddressForEveryOctetInEveryPosition) {
  for (int shift = 0; shift < 32; shift += 8) {
    for (uint32_t octet = 0; octet < 256; ++octet) {
      const uint32_t value = (octet << shift) | (0x01020304u & ~(255u << shift));
      ASSERT_EQ(Dotted(value), FormatAddress(value)) << value;
    }
  }
}

TEST(WriteDotted, WritesNoMoreThanTheLongestAddress) {
  char text[MaxDottedLength + 1];
  text[MaxDottedLength] = '#';
  EXPECT_EQ(WriteDotted(text, 0xFFFFFFFFu) - text, MaxDottedLength);
  EXPECT_EQ(text[MaxDottedLength], '#');
  EXPECT_EQ(Dotted(0), "0.0.0.0");
}

TEST(WriteDecimal, WritesDigitsAndWidth) {
  const struct {
    uint32_t value;
    const char* text;
  } cases[] = {{0, "0"},
               {9, "9"},
               {10, "10"},
               {255, "255"},
               {8388607, "8388607"},
               {4294967295u, "4294967295"}};
  for (const auto& c : cases) {
    char text[10];
    EXPECT_EQ(std::string(text, WriteDecimal(text, c.value)), c.text);
    EXPECT_EQ(DecimalWidth(c.value), static_cast<int>(std::string(c.text).size()));
  }
}

// The sub-network examples: network, block size, index and the four addresses.
TEST(SubnetAddressesOf, GivesTheFourAddressesOfAnIndex) {
  const struct {
    const char* network;
    int32_t blockSize;
    int32_t index;
    const char* expected[4];
  } cases[] = {
      {"192.168.1.0", 64, 0, {"192.168.1.0", "192.168.1.1", "192.168.1.62", "192.168.1.63"}},
      {"192.168.1.0", 64, 3, {"192.168.1.192", "192.168.1.193", "192.168.1.254", "192.168.1.255"}},
      {"172.16.0.0", 64, 4, {"172.16.1.0", "172.16.1.1", "172.16.1.62", "172.16.1.63"}},
      {"10.0.0.0", 16384, 5, {"10.1.64.0", "10.1.64.1", "10.1.127.254", "10.1.127.255"}},
      {"192.168.1.0", 256, 0, {"192.168.1.0", "192.168.1.1", "192.168.1.254", "192.168.1.255"}},
      // Two addresses per block (/31): both are hosts (RFC 3021).
      {"192.168.1.0", 2, 127, {"192.168.1.254", "192.168.1.254", "192.168.1.255", "192.168.1.255"}},
      {"10.0.0.0",
       8,
       2097151,
       {"10.255.255.248", "10.255.255.249", "10.255.255.254", "10.255.255.255"}},
  };
  for (const auto& c : cases) {
    const SubnetAddresses row = SubnetAddressesOf(PackDottedText(c.network), c.blockSize, c.index);
    EXPECT_EQ(FormatAddress(row.network), c.expected[0]) << c.network << " " << c.index;
    EXPECT_EQ(FormatAddress(row.first), c.expected[1]) << c.network << " " << c.index;
    EXPECT_EQ(FormatAddress(row.last), c.expected[2]) << c.network << " " << c.index;
    EXPECT_EQ(FormatAddress(row.broadcast), c.expected[3]) << c.network << " " << c.index;
  }
}

}  // namespace
