#include "calc/cidr.hpp"

#include <cstring>

#include "base/text.hpp"
#include "calc/subnet_range.hpp"

namespace {

constexpr const char* NotAnAddress = "not an IPv4 address";
constexpr const char* BadPrefix = "the prefix must be a number from 0 to 32";
constexpr const char* BadMask = "the mask is not contiguous";

// Special ranges by what they are for; an address in none of them is public.
struct KindRange {
  HostOrderAddress network;
  int prefix;
  const char* kind;
};
constexpr KindRange KindRanges[] = {
    {0x00000000u, 8, "reserved"},        // "this network"
    {0x0A000000u, 8, "private"},         // RFC 1918
    {0x64400000u, 10, "shared"},         // RFC 6598
    {0x7F000000u, 8, "loopback"},        //
    {0xA9FE0000u, 16, "link-local"},     //
    {0xAC100000u, 12, "private"},        // RFC 1918
    {0xC0000000u, 24, "reserved"},       // IETF protocol assignments
    {0xC0000200u, 24, "documentation"},  // TEST-NET-1
    {0xC0A80000u, 16, "private"},        // RFC 1918
    {0xC6120000u, 15, "reserved"},       // benchmarking
    {0xC6336400u, 24, "documentation"},  // TEST-NET-2
    {0xCB007100u, 24, "documentation"},  // TEST-NET-3
    {0xE0000000u, 4, "multicast"},       //
    {0xF0000000u, 4, "reserved"},        // future use and the limited broadcast
};

// Class letters by the first octet's upper bound.
struct ClassBound {
  int lastOctet;
  const char* letter;
};
constexpr ClassBound ClassBounds[] = {{127, "A"}, {191, "B"}, {223, "C"}, {239, "D"}, {255, "E"}};

bool Contains(const CidrBlock& outer, const CidrBlock& inner) {
  return inner.prefix >= outer.prefix &&
         (inner.network & PrefixMask(outer.prefix)) == outer.network;
}

bool Overlaps(const CidrBlock& a, const CidrBlock& b) {
  return Contains(a, b) || Contains(b, a);
}

const char* BlockKind(const CidrBlock& block) {
  bool overlapsAny = false;
  for (const KindRange& range : KindRanges) {
    const CidrBlock special{range.network, range.prefix};
    if (Contains(special, block)) return range.kind;
    overlapsAny = overlapsAny || Overlaps(special, block);
  }
  return overlapsAny ? "mixed" : "public";
}

const char* ClassLetter(HostOrderAddress address) {
  const int first = OctetOf(address, 1);
  for (const ClassBound& bound : ClassBounds) {
    if (first <= bound.lastOctet) return bound.letter;
  }
  return "";
}

// "00001010.00000001.00000010.00000011".
std::string DottedBinary(uint32_t value) {
  std::string bits;
  for (int bit = 31; bit >= 0; --bit) {
    bits += static_cast<char>('0' + (value >> bit & 1u));
    if (bit % 8 == 0 && bit > 0) bits += '.';
  }
  return bits;
}

// The prefix after the slash: 1 or 2 digits up to 32, or a contiguous mask.
std::string ReadPrefix(const char* at, const char* end, int& prefix) {
  if (std::memchr(at, '.', static_cast<std::size_t>(end - at)) != nullptr) {
    HostOrderAddress mask = 0;
    if (!ReadDottedAddress(at, end, mask)) return NotAnAddress;
    prefix = MaskPrefix(mask);
    return prefix < 0 ? BadMask : "";
  }
  const std::size_t digits = static_cast<std::size_t>(end - at);
  if (digits < 1 || digits > 2 || !(at[0] >= '0' && at[0] <= '9') ||
      (digits == 2 && !(at[1] >= '0' && at[1] <= '9'))) {
    return BadPrefix;
  }
  prefix = digits == 1 ? at[0] - '0' : (at[0] - '0') * 10 + (at[1] - '0');
  return prefix > 32 ? BadPrefix : "";
}

}  // namespace

HostOrderAddress PrefixMask(int prefix) {
  return prefix <= 0 ? 0u : ~uint32_t{0} << (32 - (prefix > 32 ? 32 : prefix));
}

int MaskPrefix(HostOrderAddress mask) {
  const int prefix = CountBits(mask, 1, 32);
  return PrefixMask(prefix) == mask ? prefix : -1;
}

uint64_t BlockAddresses(int prefix) {
  return uint64_t{1} << (32 - prefix);
}

uint64_t UsableHosts(int prefix) {
  return prefix >= 31 ? BlockAddresses(prefix) : BlockAddresses(prefix) - 2;
}

HostOrderAddress BroadcastOf(const CidrBlock& block) {
  return block.network | ~PrefixMask(block.prefix);
}

CidrBlock BlockOf(const TypedBlock& typed) {
  return CidrBlock{typed.address & PrefixMask(typed.prefix), typed.prefix};
}

std::string FormatBlock(const CidrBlock& block) {
  return FormatAddress(block.network) + "/" + FormatInteger(block.prefix);
}

void AppendRangeBlocks(HostOrderAddress first, HostOrderAddress last,
                       std::vector<CidrBlock>& blocks) {
  // Each time the largest block that starts at `at`, is aligned there and
  // ends inside the range; 64-bit so the step past 255.255.255.255 ends the loop.
  for (uint64_t at = first; at <= last;) {
    int prefix = at == 0 ? 0 : 32 - __builtin_ctz(static_cast<uint32_t>(at));
    while (at + BlockAddresses(prefix) - 1 > last)
      ++prefix;
    blocks.push_back(CidrBlock{static_cast<HostOrderAddress>(at), prefix});
    at += BlockAddresses(prefix);
  }
}

std::string ReadTypedBlock(const char* at, const char* end, TypedBlock& typed) {
  const char* slash =
      static_cast<const char*>(std::memchr(at, '/', static_cast<std::size_t>(end - at)));
  if (!ReadDottedAddress(at, slash == nullptr ? end : slash, typed.address)) return NotAnAddress;
  typed.prefix = 32;
  return slash == nullptr ? "" : ReadPrefix(slash + 1, end, typed.prefix);
}

std::string ReadNetworkBlock(const char* at, const char* end, CidrBlock& block) {
  TypedBlock typed;
  const std::string problem = ReadTypedBlock(at, end, typed);
  if (!problem.empty()) return problem;
  block = BlockOf(typed);
  if (block.network != typed.address) return "host bits set: the network is " + FormatBlock(block);
  return std::string();
}

std::string ReadNetworkBlock(const std::string& text, CidrBlock& block) {
  return ReadNetworkBlock(text.data(), text.data() + text.size(), block);
}

std::string TokenRefusal(const char* where, int64_t number, const std::string& token,
                         const std::string& problem) {
  return std::string(where) + " " + FormatInteger(number) + ": '" + token + "': " + problem;
}

bool WriteBlockFacts(const TypedBlock& typed, ListFormat format, TextSink sink) {
  static const char* const names[] = {
      "address", "network", "prefix",    "mask",  "wildcard", "broadcast",    "first",
      "last",    "hosts",   "addresses", "class", "kind",     "address_bits", "mask_bits"};
  const CidrBlock block = BlockOf(typed);
  const HostOrderAddress mask = PrefixMask(block.prefix);
  const SubnetAddresses row =
      SubnetAddressesOf(block.network, static_cast<int64_t>(BlockAddresses(block.prefix)), 0);
  const std::string addressBits = DottedBinary(typed.address);
  const std::string maskBits = DottedBinary(mask);
  const RecordCell cells[] = {AddressCell(typed.address),
                              BlockCell(block.network, block.prefix),
                              NumberCell(static_cast<uint64_t>(block.prefix)),
                              AddressCell(mask),
                              AddressCell(~mask),
                              AddressCell(row.broadcast),
                              AddressCell(row.first),
                              AddressCell(row.last),
                              NumberCell(UsableHosts(block.prefix)),
                              NumberCell(BlockAddresses(block.prefix)),
                              WordCell(ClassLetter(typed.address)),
                              WordCell(BlockKind(block)),
                              WordCell(addressBits.c_str()),
                              WordCell(maskBits.c_str())};
  return WriteRecord(names, cells, 14, format, sink);
}
