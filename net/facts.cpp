#include "net/facts.hpp"

#include "net/address_text.hpp"
#include "net/block.hpp"
#include "net/decimal.hpp"
#include "net/kinds.hpp"

namespace {

constexpr char HexDigits[] = "0123456789abcdef";

// "x.y.z.in-addr.arpa" of the first `octets` octets of `address`.
std::string Ipv4ZoneName(uint32_t address, int octets) {
  std::string name;
  for (int i = octets - 1; i >= 0; --i) {
    char digits[4];
    name.append(digits, WriteDecimal(digits, uint64_t{address >> (24 - 8 * i) & 255u}));
    name += '.';
  }
  return name + "in-addr.arpa";
}

// "n.n.n.ip6.arpa" of the first `nibbles` nibbles of `address`.
std::string Ipv6ZoneName(const Uint128& address, int nibbles) {
  std::string name;
  for (int i = nibbles - 1; i >= 0; --i) {
    name += HexDigits[static_cast<uint64_t>(address >> (124 - 4 * i)) & 15];
    name += '.';
  }
  return name + "ip6.arpa";
}

// Every zone of `unit`-bit labels that the block spans, from its prefix up to
// the next label boundary.
template <class F, class Name>
std::string ZonesOfLabels(const Block<F>& block, int unit, Name name) {
  const int boundary = (block.prefix + unit - 1) / unit * unit;
  const int spare = boundary - block.prefix;
  std::string zones;
  for (uint64_t i = 0; i < (uint64_t{1} << spare); ++i) {
    const typename F::Value zone = block.network | F::Offset(i, F::Bits - boundary);
    zones += (i == 0 ? "" : " ") + name(zone, boundary / unit);
  }
  return zones;
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

// Class letters by the first octet's upper bound.
struct ClassBound {
  int lastOctet;
  const char* letter;
};
constexpr ClassBound ClassBounds[] = {{127, "A"}, {191, "B"}, {223, "C"}, {239, "D"}, {255, "E"}};

const char* ClassLetter(uint32_t address) {
  const int first = static_cast<int>(address >> 24);
  for (const ClassBound& bound : ClassBounds) {
    if (first <= bound.lastOctet) return bound.letter;
  }
  return "";
}

// The IPv4 address an IPv6 address carries: in an IPv4-mapped or a
// 64:ff9b::/96 translation address its last 32 bits, in a 6to4 address the
// 32 bits after 2002::/16, in a Teredo address the client's (inverted) bits.
bool EmbeddedIpv4(const Uint128& address, uint32_t& embedded) {
  const uint32_t low = static_cast<uint32_t>(address.low);
  if ((address.high == 0 && address.low >> 32 == 0xFFFFu) ||
      (address.high == 0x0064FF9B00000000u && address.low >> 32 == 0)) {
    embedded = low;
  } else if (address.high >> 48 == 0x2002u) {
    embedded = static_cast<uint32_t>(address.high >> 16);
  } else if (address.high >> 32 == 0x20010000u) {
    embedded = ~low;
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::string ReversePointer(uint32_t address) {
  return Ipv4ZoneName(address, 4);
}

std::string ReversePointer(const Uint128& address) {
  return Ipv6ZoneName(address, 32);
}

std::string ReverseZones(const Block<Ipv4>& block) {
  if (block.prefix > 24) {
    // RFC 2317: the first address of the block and its prefix, then the /24.
    char digits[8];
    const std::string first(digits, WriteDecimal(digits, uint64_t{block.network & 255u}));
    return first + "/" + std::to_string(block.prefix) + "." + Ipv4ZoneName(block.network, 3);
  }
  return ZonesOfLabels(block, 8, Ipv4ZoneName);
}

std::string ReverseZones(const Block<Ipv6>& block) {
  return ZonesOfLabels(block, 4, Ipv6ZoneName);
}

bool WriteBlockFacts(const Typed<Ipv4>& typed, ListFormat format, TextSink sink) {
  static const char* const names[] = {
      "address", "network",   "prefix", "mask", "wildcard",     "broadcast", "first",   "last",
      "hosts",   "addresses", "class",  "kind", "address_bits", "mask_bits", "reverse", "zones"};
  const Block<Ipv4> block = BlockOf(typed);
  const uint32_t mask = PrefixMask<Ipv4>(block.prefix);
  const std::string addressBits = DottedBinary(typed.address);
  const std::string maskBits = DottedBinary(mask);
  const std::string reverse = ReversePointer(typed.address);
  const std::string zones = ReverseZones(block);
  const RecordCell cells[] = {AddressCell(typed.address),
                              BlockCell(block),
                              NumberCell(static_cast<uint64_t>(block.prefix)),
                              AddressCell(mask),
                              AddressCell(~mask),
                              AddressCell(LastOf(block)),
                              AddressCell(FirstHost(block)),
                              AddressCell(LastHost(block)),
                              NumberCell(HostCount<Ipv4>(block.prefix)),
                              NumberCell(AddressesIn<Ipv4>(block.prefix)),
                              WordCell(ClassLetter(typed.address)),
                              WordCell(BlockKind(block)),
                              WordCell(addressBits.c_str()),
                              WordCell(maskBits.c_str()),
                              WordCell(reverse.c_str()),
                              WordsCell(zones.c_str())};
  return WriteRecord(names, cells, 16, format, sink);
}

bool WriteBlockFacts(const Typed<Ipv6>& typed, ListFormat format, TextSink sink) {
  static const char* const names[] = {"address",       "network", "prefix",    "expanded", "first",
                                      "last",          "hosts",   "addresses", "count_64", "kind",
                                      "embedded_ipv4", "reverse", "zones"};
  const Block<Ipv6> block = BlockOf(typed);
  const std::string expanded = ExpandedText(typed.address);
  const std::string reverse = ReversePointer(typed.address);
  const std::string zones = ReverseZones(block);
  uint32_t embedded = 0;
  const bool carries = EmbeddedIpv4(typed.address, embedded);
  const AddressCount count64 = block.prefix <= 64 ? PowerOfTwo(64 - block.prefix) : AddressCount();
  const RecordCell cells[] = {AddressCell(typed.address),
                              BlockCell(block),
                              NumberCell(static_cast<uint64_t>(block.prefix)),
                              WordCell(expanded.c_str()),
                              AddressCell(FirstHost(block)),
                              AddressCell(LastHost(block)),
                              NumberCell(HostCount<Ipv6>(block.prefix)),
                              NumberCell(AddressesIn<Ipv6>(block.prefix)),
                              NumberCell(count64),
                              WordCell(BlockKind(block)),
                              carries ? AddressCell(embedded) : EmptyCell(),
                              WordCell(reverse.c_str()),
                              WordsCell(zones.c_str())};
  return WriteRecord(names, cells, 13, format, sink);
}
