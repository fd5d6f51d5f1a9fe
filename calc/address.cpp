#include "calc/address.hpp"

#include <cstdio>

#include "base/text.hpp"

namespace {

// Index order is the class list's order: C, B, A.
constexpr NetworkClass ClassTable[ClassCount] = {
    {24, 8, 254, 192, 223},
    {16, 16, 65536, 128, 191},
    {8, 24, 16777216, 1, 126},
};

constexpr const char* ClassTexts[ClassCount] = {
    "Type C  (e.g. 192.168.1.0/24) - 8 subnetting bits",
    "Type B  (e.g. 172.16.0.0/16) - 16 subnetting bits",
    "Type A  (e.g. 10.0.0.0/8) - 24 subnetting bits",
};

constexpr Ipv4Value ExampleNetworks[ClassCount] = {
    MakeIpv4Value(192, 168, 1, 0),
    MakeIpv4Value(172, 16, 0, 0),
    MakeIpv4Value(10, 0, 0, 0),
};

constexpr const char* MethodTexts[MethodCount] = {
    "Calculate from preferred number of hosts per subnet.",
    "Calculate from preferred number of subnets.",
    "Calculate from already known subnet mask.",
};

constexpr const char* NumberLabels[MethodCount] = {
    "#Hosts: ",
    "#Networks: ",
    "Subnet mask: ",
};

// Returned for an index no list can report, so a stray index reads zeros, not memory.
constexpr NetworkClass NoClass = {0, 0, 0, 0, 0};

bool IsTableIndex(int index, int count) {
  return index >= 0 && index < count;
}

// Bit `position` of `value`; positions outside the 32 bits read as 0. Wide, so
// callers can count down from any width without signed overflow.
int BitAt(uint32_t value, int64_t position) {
  if (position < 0 || position > 31) return 0;
  return static_cast<int>((value >> position) & 1u);
}

}  // namespace

std::string Ipv4Text(Ipv4Value value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(value & 255u),
                static_cast<int>((value >> 8) & 255u), static_cast<int>((value >> 16) & 255u),
                static_cast<int>((value >> 24) & 255u));
  return text;
}

HostOrderAddress PackAddress(int32_t a, int32_t b, int32_t c, int32_t d) {
  return (static_cast<uint32_t>(a) & 255u) << 24 | (static_cast<uint32_t>(b) & 255u) << 16 |
         (static_cast<uint32_t>(c) & 255u) << 8 | (static_cast<uint32_t>(d) & 255u);
}

int OctetOf(uint32_t value, int n) {
  if (n < 1 || n > 4) return 0;
  return static_cast<int>((value >> ((4 - n) * 8)) & 255u);
}

std::string FormatAddress(uint32_t value) {
  // One formatted print: the sub-network list builds four of these per row.
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", OctetOf(value, 1), OctetOf(value, 2),
                OctetOf(value, 3), OctetOf(value, 4));
  return text;
}

int32_t AddressField(const std::string& dottedText, int k) {
  // Only the low bits matter to the callers (PackAddress keeps 8 of them).
  const uint64_t value = static_cast<uint64_t>(ParseInteger(TextField(dottedText, k, ".")));
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

HostOrderAddress PackDottedText(const std::string& dottedText) {
  return PackAddress(AddressField(dottedText, 1), AddressField(dottedText, 2),
                     AddressField(dottedText, 3), AddressField(dottedText, 4));
}

bool LeadingBitsEqual(uint32_t value, int n, int bit, int width) {
  for (int i = 0; i < n; ++i) {
    if (BitAt(value, int64_t{width} - 1 - i) != bit) return false;
  }
  return true;
}

bool TrailingBitsEqual(uint32_t value, int n, int bit) {
  for (int i = 0; i < n; ++i) {
    if (BitAt(value, i) != bit) return false;
  }
  return true;
}

bool IsContiguousMask(uint32_t value, int width) {
  bool zeroSeen = false;
  for (int64_t position = int64_t{width} - 1; position >= 0; --position) {
    const int bit = BitAt(value, position);
    if (bit == 1 && zeroSeen) return false;
    if (bit == 0) zeroSeen = true;
  }
  return true;
}

int CountBits(uint32_t value, int bit, int n) {
  int count = 0;
  for (int i = 0; i < n; ++i)
    count += BitAt(value, i) == bit ? 1 : 0;
  return count;
}

const NetworkClass& ClassRow(int classIndex) {
  return IsTableIndex(classIndex, ClassCount) ? ClassTable[classIndex] : NoClass;
}

const char* ClassText(int classIndex) {
  return IsTableIndex(classIndex, ClassCount) ? ClassTexts[classIndex] : "";
}

Ipv4Value ExampleNetwork(int classIndex) {
  return IsTableIndex(classIndex, ClassCount) ? ExampleNetworks[classIndex] : 0;
}

const char* MethodText(int method) {
  return IsTableIndex(method, MethodCount) ? MethodTexts[method] : "";
}

const char* NumberLabel(int method) {
  return IsTableIndex(method, MethodCount) ? NumberLabels[method] : "";
}
