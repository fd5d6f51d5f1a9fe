// Classless blocks of either family: reading "address/prefix" (and, for
// IPv4, "a.b.c.d/m.m.m.m"), writing them, and cutting an address range into
// the fewest blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/refusal.hpp"
#include "net/address_text.hpp"
#include "net/family.hpp"

// Reads [at, end) as an address of F with an optional "/prefix" (at most
// three decimal digits, 0 to F::Bits; for IPv4 also a contiguous mask or its
// inverse, a host mask such as 0.0.0.255). A bare address is a whole-width
// block. Returns null, or why the token is no block.
template <class F>
const char* ReadTyped(const char* at, const char* end, Typed<F>& typed);
// Either family: a token with a ':' is IPv6.
std::string ReadAnyTyped(const char* at, const char* end, AnyTyped& typed);
std::string ReadAnyTyped(const std::string& text, AnyTyped& typed);

// The same for a network: a token with host bits set is refused with the
// network it would be ("host bits set: the network is 10.1.0.0/16").
template <class F>
std::string ReadNetwork(const char* at, const char* end, Block<F>& block);
template <class F>
std::string ReadNetwork(const std::string& text, Block<F>& block);
std::string ReadAnyNetwork(const std::string& text, AnyBlock& block);

// The same check on a typed block already read.
template <class F>
std::string NetworkProblem(const Typed<F>& typed);

// "a.b.c.d/n" or "2001:db8::/32"; the bare address.
template <class F>
std::string FormatBlock(const Block<F>& block);
// Writes "address/prefix" at `out` (at most MaxIpv6Length + 4 bytes).
template <class F>
char* WriteBlock(char* out, const Block<F>& block);

// Appends the fewest blocks that cover the addresses first .. last (inclusive,
// first <= last), in address order.
template <class F>
void AppendRangeBlocks(typename F::Value first, typename F::Value last,
                       std::vector<Block<F>>& blocks);

// The refusal of one token of a list, as velkor and the planner show it:
// "line 3: '10.0.0.300/24': not an IPv4 address" (`where` is "line" or "item").
std::string TokenRefusal(const char* where, int64_t number, const std::string& token,
                         const std::string& problem);

// The message box of a typed address block that cannot be used, as the
// planner and the block calculator show it: "The address block '10.1.2.3/16'
// cannot be used: host bits set: the network is 10.1.0.0/16."
Refusal BlockRefusal(const std::string& typed, const std::string& problem);
