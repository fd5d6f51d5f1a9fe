// The two address families, as the type parameter of every classless
// operation: IPv4 keeps its 32-bit arithmetic, IPv6 uses 128 bits, and the
// operations are written once for both.
#pragma once

#include <cstdint>
#include <variant>

#include "net/count.hpp"
#include "net/uint128.hpp"

struct Ipv4 {
  using Value = uint32_t;  // first dotted octet in the top byte
  using Index = uint64_t;  // a row of a split: up to 2^32 rows
  static constexpr int Bits = 32;
  static constexpr const char* Name = "IPv4";
  // Which addresses are hosts: all of a /31 (RFC 3021) and of a /32; in a
  // larger block all but the network and the broadcast address.
  static constexpr int AllHostsFrom = 31;
  static constexpr int ReservedFirst = 1;
  static constexpr int ReservedLast = 1;

  // 2^bits - 1 for bits 0 .. 32.
  static constexpr Value LowOnes(int bits) { return static_cast<Value>((uint64_t{1} << bits) - 1); }
  // `index` moved up by `bits` (index < 2^(32 - bits)).
  static constexpr Value Offset(Index index, int bits) { return static_cast<Value>(index << bits); }
  static constexpr Index IndexOf(Value offset, int bits) {
    return bits >= 32 ? 0 : Index{offset} >> bits;
  }
  // The prefix of the smallest block with 2^h - 2 >= hosts, h >= 2 (a host
  // count never asks for a point-to-point /31); false above 2^32 - 2.
  static constexpr bool PrefixForHosts(const AddressCount& hosts, int& prefix) {
    const int bits = BitLength(hosts + AddressCount(1));
    prefix = Bits - (bits < 2 ? 2 : bits);
    return prefix >= 0;
  }
};

struct Ipv6 {
  using Value = Uint128;
  using Index = Uint128;  // the last of 2^128 rows is 2^128 - 1
  static constexpr int Bits = 128;
  static constexpr const char* Name = "IPv6";
  // All of a /127 (RFC 6164) and of a /128; in a larger block all but the
  // Subnet-Router anycast address, which is the network address (RFC 4291).
  static constexpr int AllHostsFrom = 127;
  static constexpr int ReservedFirst = 1;
  static constexpr int ReservedLast = 0;

  static constexpr Value LowOnes(int bits) { return ::LowOnes(bits); }
  static constexpr Value Offset(const Index& index, int bits) { return index << bits; }
  static constexpr Index IndexOf(const Value& offset, int bits) { return offset >> bits; }
  // The prefix of the smallest block with at least `hosts` hosts (hosts >= 1)
  // by the rule above; false above 2^128 - 1.
  static constexpr bool PrefixForHosts(const AddressCount& hosts, int& prefix) {
    prefix = hosts <= AddressCount(2) ? Bits + 1 - static_cast<int>(hosts.low.low)
                                      : Bits - BitLength(hosts);
    return prefix >= 0;
  }
};

// A network and its prefix length (0 to F::Bits); the bits below the prefix are zero.
template <class F>
struct Block {
  typename F::Value network{};
  int prefix = F::Bits;
};

// An address as typed with a prefix: "10.1.2.3/20" keeps 10.1.2.3.
template <class F>
struct Typed {
  typename F::Value address{};
  int prefix = F::Bits;
};

using CidrBlock = Block<Ipv4>;
using TypedBlock = Typed<Ipv4>;

// A block or typed address of either family, as a command line or a list holds them.
using AnyBlock = std::variant<Block<Ipv4>, Block<Ipv6>>;
using AnyTyped = std::variant<Typed<Ipv4>, Typed<Ipv6>>;

// The bits below a prefix, and the prefix's mask.
template <class F>
constexpr typename F::Value HostMask(int prefix) {
  return F::LowOnes(F::Bits - prefix);
}
template <class F>
constexpr typename F::Value PrefixMask(int prefix) {
  return ~HostMask<F>(prefix);
}

// The last address of the block.
template <class F>
constexpr typename F::Value LastOf(const Block<F>& block) {
  return block.network | HostMask<F>(block.prefix);
}

// The block of the prefix that holds the typed address.
template <class F>
constexpr Block<F> BlockOf(const Typed<F>& typed) {
  return Block<F>{typed.address & PrefixMask<F>(typed.prefix), typed.prefix};
}

// Addresses in a block of the prefix: 2^(bits - prefix), up to 2^128.
template <class F>
constexpr AddressCount AddressesIn(int prefix) {
  return PowerOfTwo(F::Bits - prefix);
}

// `inner` lies wholly inside `outer`.
template <class F>
constexpr bool Contains(const Block<F>& outer, const Block<F>& inner) {
  return inner.prefix >= outer.prefix &&
         (inner.network & PrefixMask<F>(outer.prefix)) == outer.network;
}

template <class F>
constexpr bool operator==(const Block<F>& a, const Block<F>& b) {
  return a.network == b.network && a.prefix == b.prefix;
}

// The first and the last host of a block, and how many hosts it has.
template <class F>
constexpr typename F::Value FirstHost(const Block<F>& block) {
  return block.prefix >= F::AllHostsFrom ? block.network : block.network + F::ReservedFirst;
}
template <class F>
constexpr typename F::Value LastHost(const Block<F>& block) {
  return block.prefix >= F::AllHostsFrom ? LastOf(block) : LastOf(block) - F::ReservedLast;
}
template <class F>
constexpr AddressCount HostCount(int prefix) {
  const AddressCount addresses = AddressesIn<F>(prefix);
  return prefix >= F::AllHostsFrom ? addresses
                                   : addresses - AddressCount(F::ReservedFirst + F::ReservedLast);
}
