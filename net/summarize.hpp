// Writing sets of addresses as their fewest CIDR blocks, block by block as
// they are made: the summary of a list and every result of the set
// operations, in one table shape.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "net/family.hpp"
#include "net/intervals.hpp"
#include "net/output.hpp"

struct OutputBuffer;

// Writes blocks as they come: text as one "address/prefix" per line; tsv,
// csv (with a header line) and json (an array of objects) with the columns
// network (the bare address), prefix, first, last and addresses. Callers
// give each family in address order, IPv4 first.
class BlockWriter {
 public:
  BlockWriter(ListFormat format, TextSink sink);
  ~BlockWriter();
  // The fewest blocks that cover the span exactly, in address order.
  template <class F>
  void AddSpan(const Span<F>& span);
  template <class F>
  void AddBlock(const Block<F>& block);
  // Ends the table; in text `textLine` follows as a line of its own when it
  // is not empty. False when a write failed.
  bool Finish(const std::string& textLine = std::string());
  // How many blocks were written.
  uint64_t Rows() const { return rows_; }

 private:
  std::unique_ptr<OutputBuffer> out_;
  ListFormat format_;
  bool firstRow_ = true;
  uint64_t rows_ = 0;
  // The blocks of one span of each family, kept for the next span.
  std::tuple<std::vector<Block<Ipv4>>, std::vector<Block<Ipv6>>> blocks_;
};

// How many blocks of each family a summary wrote.
struct BlockCounts {
  uint64_t ipv4 = 0;
  uint64_t ipv6 = 0;
};

// The fewest blocks that cover exactly the union of the merged spans, each
// family in address order, IPv4 first; `counts`, when given, gets how many.
// False when a write failed.
bool WriteSummary(const AddressSpans& merged, ListFormat format, TextSink sink,
                  BlockCounts* counts = nullptr);
