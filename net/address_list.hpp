// Reading lists of addresses: networks, single addresses and ranges "a-b" of
// either family, separated by white space or commas, from text or streamed
// from a file, so a list of millions of lines never sits in memory as text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "net/intervals.hpp"

// One entry of a list, in its family.
struct ListEntry {
  bool isIpv6 = false;
  Span<Ipv4> ipv4;
  Span<Ipv6> ipv6;
};

// Reads [at, end) as one entry: "a.b.c.d/n", "a.b.c.d/m.m.m.m" or an IPv6
// "address/n" without host bits set, a bare address, or a range "a-b" whose
// ends are of one family, a <= b. Returns the empty text or why not.
std::string ReadListEntry(const char* at, const char* end, ListEntry& entry);

// Splits a stream of text into entries: fed chunk by chunk, it keeps a token
// cut by the end of a chunk for the next one and counts lines, so each
// refusal names the line the token starts on.
class ListReader {
 public:
  // Called for every entry with the line it is on and its text.
  struct Visitor {
    virtual ~Visitor() = default;
    virtual void Add(const ListEntry& entry, int64_t line, const char* at, const char* end) = 0;
  };
  explicit ListReader(Visitor& visitor) : visitor_(visitor) {}

  // Reads a chunk; `last` for the final one. Returns the empty text, or the
  // refusal of the first bad token ("line 3: '10.0.0.300/24': not an IPv4
  // address"); the reader takes nothing more after a refusal.
  std::string Feed(const char* at, const char* end, bool last);

 private:
  std::string Token(const char* at, const char* end, int64_t line);

  Visitor& visitor_;
  int64_t line_ = 1;
  std::string pending_;  // a token cut by the end of the last chunk
  int64_t pendingLine_ = 1;
};

// Feeds `text`, or an open file read in blocks to its end, to the visitor;
// the refusal of the first bad entry, or "cannot read" when reading fails.
std::string ReadList(const std::string& text, ListReader::Visitor& visitor);
std::string ReadList(std::FILE* file, ListReader::Visitor& visitor);

// Appends the entries of `text` or of an open file to `spans`; the refusal
// of the first bad one.
std::string ReadAddressList(const std::string& text, AddressSpans& spans);
std::string ReadAddressList(std::FILE* file, AddressSpans& spans);

// Keeps of each entry only what lies in a block, as the free space of the
// block needs, and counts the entries that lie partly or wholly outside it
// (every entry of the other family among them).
template <class F>
struct BlockCollector final : ListReader::Visitor {
  explicit BlockCollector(const Block<F>& within) : block(within) {}
  void Add(const ListEntry& entry, int64_t line, const char* at, const char* end) override;

  Block<F> block;
  std::vector<Span<F>> spans;  // as read, not merged
  uint64_t outside = 0;
};
