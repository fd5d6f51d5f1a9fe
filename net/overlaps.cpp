#include "net/overlaps.hpp"

#include <algorithm>
#include <numeric>

#include "net/address_text.hpp"
#include "net/decimal.hpp"
#include "net/output_buffer.hpp"

namespace {

const char* const Names[] = {"line_a", "entry_a", "line_b", "entry_b", "overlap"};
constexpr int Columns = 5;
// "first-last" of the longest addresses, and a NUL.
constexpr std::size_t RangeRoom = 2 * MaxIpv6Length + 2;

// A stable counting sort of `from` into `to` by one index below `keys`.
void SortByIndex(const std::vector<OverlapPair>& from, std::vector<OverlapPair>& to,
                 std::size_t keys, std::size_t OverlapPair::*index) {
  std::vector<std::size_t> starts(keys + 1, 0);
  for (const OverlapPair& pair : from)
    ++starts[pair.*index + 1];
  std::partial_sum(starts.begin(), starts.end(), starts.begin());
  for (const OverlapPair& pair : from)
    to[starts[pair.*index]++] = pair;
}

// Sweeps the entries in order of their first address, keeping those still
// open (last address not yet passed) in a heap with the lowest last address
// on top: every open entry overlaps the next one, so each step costs its
// pairs, and a pass of counting sorts orders them in O(n + pairs).
template <class F>
std::vector<OverlapPair> PairsOf(const std::vector<PlacedSpan<F>>& entries) {
  std::vector<std::size_t> order(entries.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&entries](std::size_t x, std::size_t y) {
    return entries[x].span.first < entries[y].span.first;
  });
  const auto endsLater = [&entries](std::size_t x, std::size_t y) {
    return entries[x].span.last > entries[y].span.last;
  };
  std::vector<std::size_t> open;
  std::vector<OverlapPair> pairs;
  for (const std::size_t next : order) {
    while (!open.empty() && entries[open.front()].span.last < entries[next].span.first) {
      std::pop_heap(open.begin(), open.end(), endsLater);
      open.pop_back();
    }
    for (const std::size_t earlier : open)
      pairs.push_back(OverlapPair{std::min(earlier, next), std::max(earlier, next)});
    open.push_back(next);
    std::push_heap(open.begin(), open.end(), endsLater);
  }
  std::vector<OverlapPair> byB(pairs.size());
  SortByIndex(pairs, byB, entries.size(), &OverlapPair::b);
  SortByIndex(byB, pairs, entries.size(), &OverlapPair::a);
  return pairs;
}

// The cells of one pair; `range` holds the text of the overlap.
template <class F>
void PairCells(const PlacedList& list, const std::vector<PlacedSpan<F>>& entries,
               const OverlapPair& pair, char (&range)[RangeRoom], RecordCell (&cells)[Columns]) {
  const PlacedSpan<F>& a = entries[pair.a];
  const PlacedSpan<F>& b = entries[pair.b];
  char* at = WriteAddress(range, std::max(a.span.first, b.span.first));
  *at++ = '-';
  *WriteAddress(at, std::min(a.span.last, b.span.last)) = '\0';
  cells[0] = NumberCell(static_cast<uint64_t>(a.line));
  cells[1] = WordCell(list.texts.c_str() + a.text);
  cells[2] = NumberCell(static_cast<uint64_t>(b.line));
  cells[3] = WordCell(list.texts.c_str() + b.text);
  cells[4] = WordCell(range);
}

// "line 3 '10.0.0.0/8' and line 7 '10.1.0.0/16' share 10.1.0.0-10.1.255.255"
void TextLine(OutputBuffer& out, const RecordCell (&cells)[Columns]) {
  static const char* const before[] = {"line ", " '", "' and line ", " '", "' share "};
  char* at = Reserve(out, Columns * (CellRoom + 12));
  for (int i = 0; i < Columns; ++i)
    at = WriteCell(Append(at, before[i]), cells[i]);
  *at++ = '\n';
  Commit(out, at);
}

struct PairWriter {
  const PlacedList& list;
  ListFormat format;
  OutputBuffer out;
  bool firstRow = true;

  template <class F>
  void Write(const std::vector<PlacedSpan<F>>& entries, const OverlapPair& pair) {
    char range[RangeRoom];
    RecordCell cells[Columns];
    PairCells(list, entries, pair, range, cells);
    if (format == ListFormat::Text) return TextLine(out, cells);
    TableRow(out, Names, cells, Columns, format, firstRow);
    firstRow = false;
  }
};

// The IPv4 pair comes first: by where its first entry, then its second,
// stands in the list.
bool Before(const std::vector<PlacedSpan<Ipv4>>& ipv4, const OverlapPair& a,
            const std::vector<PlacedSpan<Ipv6>>& ipv6, const OverlapPair& b) {
  const std::size_t firstA = ipv4[a.a].text, firstB = ipv6[b.a].text;
  return firstA != firstB ? firstA < firstB : ipv4[a.b].text < ipv6[b.b].text;
}

}  // namespace

void PlacedList::Add(const ListEntry& entry, int64_t line, const char* at, const char* end) {
  const std::size_t text = texts.size();
  texts.append(at, end);
  texts.push_back('\0');
  if (entry.isIpv6) {
    ipv6.push_back(PlacedSpan<Ipv6>{entry.ipv6, line, text});
  } else {
    ipv4.push_back(PlacedSpan<Ipv4>{entry.ipv4, line, text});
  }
}

Overlaps FindOverlaps(const PlacedList& list) {
  return Overlaps{PairsOf(list.ipv4), PairsOf(list.ipv6)};
}

bool WriteOverlaps(const PlacedList& list, const Overlaps& overlaps, ListFormat format,
                   TextSink sink) {
  PairWriter writer{list, format, OutputBuffer(sink)};
  if (format != ListFormat::Text) BeginTable(writer.out, Names, Columns, format);
  // The pairs of the two families, merged by their entries' places.
  std::size_t i = 0, j = 0;
  while (i < overlaps.ipv4.size() || j < overlaps.ipv6.size()) {
    const bool ipv4 = j == overlaps.ipv6.size() ||
                      (i < overlaps.ipv4.size() &&
                       Before(list.ipv4, overlaps.ipv4[i], list.ipv6, overlaps.ipv6[j]));
    if (ipv4) {
      writer.Write(list.ipv4, overlaps.ipv4[i++]);
    } else {
      writer.Write(list.ipv6, overlaps.ipv6[j++]);
    }
  }
  if (format != ListFormat::Text) EndTable(writer.out, format, !writer.firstRow);
  return Finish(writer.out);
}
