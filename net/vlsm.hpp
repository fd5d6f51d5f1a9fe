// VLSM: one block carved into sub-networks of different sizes, from a list of
// named host counts or prefixes, in either family; velkor --vlsm and the
// planner window share the reading, the allocation and the writing.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "net/count.hpp"
#include "net/family.hpp"
#include "net/output.hpp"

// One wanted sub-network.
struct VlsmItem {
  std::string name;    // 1 to 64 letters, digits, '-', '_' and '.'
  AddressCount hosts;  // hosts wanted; 0 for an item given as /P
  int prefix = 32;     // the smallest sub-network with that many hosts, or /P
};

// Reads a comma-separated list of "NAME:HOSTS", "NAME:/P" or a bare "HOSTS"
// (named 1, 2, 3... by its position) for a block of F; blanks around an item
// are ignored and an empty list is no item. Host counts size the sub-networks
// by the family's rule: IPv4 2^h - 2 >= HOSTS with h >= 2, IPv6 the smallest
// sub-network that has them. Returns the empty text or the refusal of the
// first bad item ("item 3: 'x:abc': ...") and no item.
template <class F>
std::string ReadVlsmItems(const std::string& list, std::vector<VlsmItem>& items);
// Reads lines of "NAME HOSTS" or "NAME /P"; "#" starts a comment and blank
// lines are skipped. Refusals name the line ("line 3: 'x abc': ...").
template <class F>
std::string ReadVlsmLines(const std::string& text, std::vector<VlsmItem>& items);

// The blocks of an allocation.
template <class F>
struct VlsmPlanOf {
  Block<F> block;                // the block carved
  std::vector<Block<F>> placed;  // one per item, in input order
  std::vector<Block<F>> free;    // the rest: the fewest blocks, in address order
  AddressCount used;             // addresses placed
};
using VlsmPlan = VlsmPlanOf<Ipv4>;
using AnyVlsmPlan = std::variant<VlsmPlanOf<Ipv4>, VlsmPlanOf<Ipv6>>;

// Sorts the items by size, largest first (equal sizes keep their order), and
// places them one after another from the block's network, each aligned to
// its size. Returns the empty text, or "needs N addresses, the block holds M"
// with nothing placed. O(n) time and memory.
template <class F>
std::string AllocateVlsm(const Block<F>& block, const std::vector<VlsmItem>& items,
                         VlsmPlanOf<F>& plan);

// Writes the rows in input order, then the free blocks as rows named
// "(free)": name, wanted, usable, network (address/prefix), then IPv4's mask,
// first, last and broadcast or IPv6's first and last. Text aligns the columns
// under a header line and ends with "used X of Y addresses (Z%)"; tsv and csv
// have a header line; json is one array of objects. False when a write failed.
template <class F>
bool WriteVlsm(const VlsmPlanOf<F>& plan, const std::vector<VlsmItem>& items, ListFormat format,
               TextSink sink);

// The share of the block placed, in whole percent rounded down (99.9% is 99).
template <class F>
int UsedPercent(const VlsmPlanOf<F>& plan);
// The planner's status line: "Used 860 of 1,024 addresses (84%), 3 free blocks".
template <class F>
std::string VlsmStatus(const VlsmPlanOf<F>& plan);
