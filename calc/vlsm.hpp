// VLSM: one block carved into sub-networks of different sizes, from a list of
// named host counts or prefixes; velkor --vlsm and the planner window share
// the reading, the allocation and the writing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/cidr.hpp"
#include "calc/output.hpp"

// One wanted sub-network.
struct VlsmItem {
  std::string name;    // 1 to 64 letters, digits, '-', '_' and '.'
  uint64_t hosts = 0;  // hosts wanted, 1 to 2^32 - 2; 0 for an item given as /P
  int prefix = 32;     // the sub-network's prefix (from the hosts: h >= 2, 2^h - 2 >= hosts)
};

// Reads a comma-separated list of "NAME:HOSTS", "NAME:/P" or a bare "HOSTS"
// (named 1, 2, 3... by its position); blanks around an item are ignored and an
// empty list is no item. Returns the empty text or the refusal of the first bad
// item ("item 3: 'x:abc': ...") and no item.
std::string ReadVlsmItems(const std::string& list, std::vector<VlsmItem>& items);
// Reads lines of "NAME HOSTS" or "NAME /P"; "#" starts a comment and blank
// lines are skipped. Refusals name the line ("line 3: 'x abc': ...").
std::string ReadVlsmLines(const std::string& text, std::vector<VlsmItem>& items);

// The blocks of an allocation.
struct VlsmPlan {
  CidrBlock block;                // the block carved
  std::vector<CidrBlock> placed;  // one per item, in input order
  std::vector<CidrBlock> free;    // the rest: the fewest blocks, in address order
  uint64_t used = 0;              // addresses placed
};

// Sorts the items by size, largest first (equal sizes keep their order), and
// places them one after another from the block's network, each aligned to
// its size. Returns the empty text, or "needs N addresses, the block holds M"
// with nothing placed. O(n) time and memory.
std::string AllocateVlsm(const CidrBlock& block, const std::vector<VlsmItem>& items,
                         VlsmPlan& plan);

// Writes the rows in input order, then the free blocks as rows named
// "(free)": name, wanted, usable, network (a.b.c.d/n), mask, first, last,
// broadcast. Text aligns the columns under a header line and ends with
// "used X of Y addresses (Z%)"; tsv and csv have a header line; json is one
// array of objects. False when a write failed.
bool WriteVlsm(const VlsmPlan& plan, const std::vector<VlsmItem>& items, ListFormat format,
               TextSink sink);

// The share of the block placed, in whole percent rounded down (99.9% is 99).
int UsedPercent(const VlsmPlan& plan);
// The planner's status line: "Used 860 of 1,024 addresses (84%), 3 free blocks".
std::string VlsmStatus(const VlsmPlan& plan);
