#include "calc/plan.hpp"

#include "base/patterns.hpp"
#include "calc/enumeration.hpp"
#include "net/subnet_range.hpp"

namespace {

constexpr const char* DottedQuadPattern =
    "^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$";

bool IsClassIndex(int classIndex) {
  return classIndex >= 0 && classIndex < ClassCount;
}

// 2^k for 0 <= k <= 24, exact.
int32_t PowerOfTwo(int32_t k) {
  return int32_t{1} << k;
}

// The smallest i in first .. limit-1 whose 2^i - 2 usable addresses or
// subnets hold `count`, or -1 when none does.
int32_t SmallestBitsHolding(int32_t count, int32_t first, int32_t limit) {
  for (int32_t i = first; i < limit; ++i) {
    if (PowerOfTwo(i) - 2 >= count) return i;
  }
  return -1;
}

// The top `bits` bits set, the rest clear.
uint32_t LeadingOnes(int bits) {
  if (bits <= 0) return 0;
  if (bits >= 32) return 0xFFFFFFFFu;
  return 0xFFFFFFFFu << (32 - bits);
}

}  // namespace

HostOrderAddress SubnetPlan::SetNetwork(int32_t a, int32_t b, int32_t c, int32_t d) {
  network = PackAddress(a, b, c, d);
  return network;
}

bool SubnetPlan::SetClass(int32_t index) {
  if (!IsClassIndex(index)) return false;
  classIndex = index;
  return true;
}

bool SubnetPlan::FromHosts(int32_t count) {
  const NetworkClass& row = ClassRow(classIndex);
  if (count > row.maxCount) return false;
  // A sub-network needs its network and broadcast address, so h starts at 1
  // (h = 0 would give one-address blocks whose "first host" lies outside them).
  const int32_t h = SmallestBitsHolding(count, 1, row.subnettingBits);
  if (h < 0) return false;
  StoreBits(row.subnettingBits - h, h);
  return true;
}

bool SubnetPlan::FromSubnets(int32_t count) {
  const NetworkClass& row = ClassRow(classIndex);
  if (count > row.maxCount) return false;
  const int32_t s = SmallestBitsHolding(count, 0, row.subnettingBits);
  if (s < 0) return false;
  StoreBits(s, row.subnettingBits - s);
  return true;
}

void SubnetPlan::StoreBits(int32_t s, int32_t h) {
  subnetBits = s;
  hostBits = h;
  usableSubnets = PowerOfTwo(s) - 2;
  usableHosts = PowerOfTwo(h) - 2;
  blockSize = PowerOfTwo(h);
}

bool SubnetPlan::FromMask(const std::string& maskText) {
  return MatchesDottedQuad(maskText) && FromMaskValue(PackDottedText(maskText));
}

bool SubnetPlan::FromMaskValue(HostOrderAddress mask) {
  const int32_t s = CountBits(mask, 1, 32) - ClassRow(classIndex).networkBits;
  // Fewer one-bits than the class fixes is no mask of this class; s >= L
  // leaves no host bit, which FromSubnets refuses too.
  if (s < 0 || s >= ClassRow(classIndex).subnettingBits) return false;
  return FromSubnets(PowerOfTwo(s) - 2);
}

std::string SubnetPlan::MaskText() const {
  return FormatAddress(LeadingOnes(ClassRow(classIndex).networkBits + subnetBits));
}

int32_t SubnetPlan::TotalSubnets() const {
  return usableSubnets + 2;
}
int32_t SubnetPlan::AddressesPerSubnet() const {
  return usableHosts + 2;
}
int32_t SubnetPlan::HostBits() const {
  return hostBits;
}
int32_t SubnetPlan::SubnetBits() const {
  return subnetBits;
}
int32_t SubnetPlan::StepSize() const {
  return blockSize;
}

void SubnetPlan::Release() {
  delete this;
}

SubnetPlan* CreateSubnetPlan() {
  return new SubnetPlan();
}

bool MatchesDottedQuad(const std::string& text) {
  // Compiled on first use and kept: every calculation checks one or two texts.
  static const KeptPattern pattern = CompileKeptPattern(DottedQuadPattern, PatternExtended);
  return MatchKeptPattern(pattern, text.c_str()) == 1;
}

bool CheckNetworkAddress(const std::string& text, int classIndex) {
  if (!IsClassIndex(classIndex) || !MatchesDottedQuad(text)) return false;
  const NetworkClass& row = ClassRow(classIndex);
  const int first = AddressField(text, 1) & 255;
  if (first < row.firstOctetLow || first > row.firstOctetHigh) return false;
  return TrailingBitsEqual(PackDottedText(text), row.subnettingBits, 0);
}

bool CheckSubnetMask(const std::string& text, int classIndex) {
  if (!IsClassIndex(classIndex) || !MatchesDottedQuad(text)) return false;
  const HostOrderAddress value = PackDottedText(text);
  if (!LeadingBitsEqual(value, ClassRow(classIndex).networkBits, 1, 32)) return false;
  // Below -4 as a signed value: /30 and longer leave no room for two hosts per subnet.
  if (static_cast<int32_t>(value) >= -4) return false;
  return IsContiguousMask(value, 32);
}

bool SubnetPlan::GetSubnet(int32_t n, SubnetEntry& entry) const {
  // Outside the plan (or before any plan) there is no sub-network to describe.
  if (n < 0 || n >= TotalSubnets() || blockSize < 2) return false;
  const SubnetAddresses addresses = SubnetAddressesOf(network, blockSize, n);
  entry.index = n;
  entry.networkText = FormatAddress(addresses.network);
  entry.firstText = FormatAddress(addresses.first);
  entry.lastText = FormatAddress(addresses.last);
  entry.broadcastText = FormatAddress(addresses.broadcast);
  return true;
}
