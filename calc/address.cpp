#include "calc/address.hpp"

#include <cstring>

#include "net/address_text.hpp"

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
  // The same text as FormatAddress of the value with its bytes reversed.
  return FormatAddress((value & 255u) << 24 | (value >> 8 & 255u) << 16 |
                       (value >> 16 & 255u) << 8 | value >> 24);
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
  char text[MaxDottedLength];
  return std::string(text, WriteDotted(text, value));
}

bool ReadDottedGroups(const char* at, const char* end, DottedGroups& groups) {
  groups = DottedGroups();
  int group = 0;
  int digits = 0;
  for (; at != end; ++at) {
    if (*at == '.' && digits > 0 && group < 3) {
      ++group;
      digits = 0;
    } else if (*at >= '0' && *at <= '9' && digits < 3) {
      groups.values[group] = groups.values[group] * 10 + static_cast<uint32_t>(*at - '0');
      ++digits;
    } else {
      return false;
    }
  }
  return group == 3 && digits > 0;
}

bool ReadDottedAddress(const char* at, const char* end, HostOrderAddress& address) {
  DottedGroups groups;
  if (!ReadDottedGroups(at, end, groups)) return false;
  uint32_t value = 0;
  for (uint32_t group : groups.values) {
    if (group > 255) return false;
    value = value << 8 | group;
  }
  address = value;
  return true;
}

bool ReadDottedAddress(const std::string& text, HostOrderAddress& address) {
  return ReadDottedAddress(text.data(), text.data() + text.size(), address);
}

namespace {

// The groups of a text that passed the dotted-quad pattern, which sees the
// text up to its first NUL and allows one line feed at its end.
bool ReadCheckedGroups(const std::string& text, DottedGroups& groups) {
  const char* end = text.c_str() + std::strlen(text.c_str());
  if (end != text.c_str() && end[-1] == '\n') --end;
  return ReadDottedGroups(text.c_str(), end, groups);
}

}  // namespace

int32_t AddressField(const std::string& dottedText, int k) {
  DottedGroups groups;
  if (k < 1 || k > 4 || !ReadCheckedGroups(dottedText, groups)) return 0;
  return static_cast<int32_t>(groups.values[k - 1]);
}

HostOrderAddress PackDottedText(const std::string& dottedText) {
  DottedGroups groups;
  if (!ReadCheckedGroups(dottedText, groups)) return 0;
  return PackAddress(static_cast<int32_t>(groups.values[0]), static_cast<int32_t>(groups.values[1]),
                     static_cast<int32_t>(groups.values[2]),
                     static_cast<int32_t>(groups.values[3]));
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
