#include "net/vlsm.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "base/text.hpp"
#include "net/block.hpp"
#include "net/decimal.hpp"
#include "net/output_buffer.hpp"

namespace {

constexpr std::size_t LongestName = 64;
constexpr const char* FreeName = "(free)";

// The columns of each family; IPv6 has neither masks nor broadcasts.
constexpr int MostColumns = 8;
template <class F>
struct Columns;
template <>
struct Columns<Ipv4> {
  static constexpr const char* Names[] = {"name", "wanted", "usable", "network",
                                          "mask", "first",  "last",   "broadcast"};
  static constexpr int Count = 8;
};
template <>
struct Columns<Ipv6> {
  static constexpr const char* Names[] = {"name", "wanted", "usable", "network", "first", "last"};
  static constexpr int Count = 6;
};
using RowCells = std::array<RecordCell, MostColumns>;

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '.';
}

// Blanks around a token; a line's carriage return, when lines end in CR LF, too.
std::string WithoutBlanks(const std::string& text) {
  return Trimmed(text, " \t\r");
}

std::string CheckName(const std::string& name) {
  if (name.empty() || name.size() > LongestName ||
      !std::all_of(name.begin(), name.end(), IsNameCharacter)) {
    return "a name is 1 to 64 letters, digits, '-', '_' and '.'";
  }
  return std::string();
}

// "HOSTS" (1 to the most a block of F has) or "/P" (0 to F::Bits) into the
// item's size.
template <class F>
std::string ReadSize(const std::string& text, VlsmItem& item) {
  if (!text.empty() && text[0] == '/') {
    const std::string block = (F::Bits == 32 ? "0.0.0.0" : "::") + text;
    Typed<F> typed;
    if (ReadTyped(block.data(), block.data() + block.size(), typed) != nullptr ||
        text.find('.') != std::string::npos) {
      return "the prefix must be /0 to /" + std::to_string(F::Bits);
    }
    item.hosts = AddressCount();
    item.prefix = typed.prefix;
    return std::string();
  }
  AddressCount hosts;
  const bool read = ReadDecimal(text, hosts) && hosts >= AddressCount(1);
  if (!read || !F::PrefixForHosts(hosts, item.prefix)) {
    return "hosts must be a number from 1 to " + DecimalText(HostCount<F>(0));
  }
  item.hosts = hosts;
  return std::string();
}

// Calls `read` for each piece of `text` between `separator`s, numbered from 1,
// until one is refused.
template <typename Read>
std::string ForEachPiece(const std::string& text, char separator, Read read) {
  int64_t number = 1;
  for (std::size_t start = 0; start <= text.size(); ++number) {
    std::size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    const std::string problem = read(number, text.substr(start, end - start));
    if (!problem.empty()) return problem;
    start = end + 1;
  }
  return std::string();
}

// Collects the items and the line or item number of each.
template <class F>
struct ItemReader {
  const char* where;  // "line" or "item"
  std::vector<VlsmItem>& items;
  std::vector<int64_t> numbers;

  std::string Add(int64_t number, const std::string& token, const std::string& name,
                  const std::string& size) {
    VlsmItem item;
    std::string problem = CheckName(name);
    if (problem.empty()) problem = ReadSize<F>(size, item);
    if (!problem.empty()) return TokenRefusal(where, number, token, problem);
    item.name = name;
    items.push_back(std::move(item));
    numbers.push_back(number);
    return std::string();
  }
};

uint64_t NameHash(const std::string& name) {
  uint64_t hash = 14695981039346656037u;  // FNV-1a
  for (char c : name)
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
  return hash;
}

// The first item, in input order, whose name an earlier item has, and that
// earlier item; false when every name is used once. Sorting hashes, rather
// than a hash table, keeps the time per item flat up to millions of items.
bool FindRepeatedName(const std::vector<VlsmItem>& items, std::size_t& earlier,
                      std::size_t& later) {
  std::vector<std::pair<uint64_t, std::size_t>> keys(items.size());
  for (std::size_t i = 0; i < items.size(); ++i)
    keys[i] = {NameHash(items[i].name), i};
  std::sort(keys.begin(), keys.end());
  later = items.size();
  for (std::size_t run = 0, end = 0; run < keys.size(); run = end) {
    for (end = run + 1; end < keys.size() && keys[end].first == keys[run].first; ++end) {
      for (std::size_t k = run; k < end; ++k) {
        const std::size_t one = keys[k].second, other = keys[end].second;
        if (other < later && items[one].name == items[other].name) earlier = one, later = other;
      }
    }
  }
  return later < items.size();
}

template <class F>
std::string ReadListItem(ItemReader<F>& reader, int64_t number, const std::string& token) {
  const std::size_t colon = token.find(':');
  if (colon == std::string::npos) return reader.Add(number, token, FormatInteger(number), token);
  return reader.Add(number, token, token.substr(0, colon), token.substr(colon + 1));
}

// The text of piece `wanted` (numbered from 1), as `token` reads it.
template <typename Token>
std::string PieceText(const std::string& text, char separator, int64_t wanted, Token token) {
  std::string found;
  ForEachPiece(text, separator, [&](int64_t number, const std::string& piece) {
    if (number == wanted) found = token(piece);
    return number == wanted ? std::string("found") : std::string();
  });
  return found;
}

// Refuses the first repeated name, unless an earlier item was refused; a
// refused list leaves no item behind.
template <class F, typename Token>
std::string Finish(ItemReader<F>& reader, std::string problem, const std::string& text,
                   char separator, Token token) {
  std::size_t earlier = 0, later = 0;
  if (FindRepeatedName(reader.items, earlier, later)) {
    const int64_t number = reader.numbers[later];
    problem = TokenRefusal(reader.where, number, PieceText(text, separator, number, token),
                           "the name '" + reader.items[later].name + "' is used on " +
                               reader.where + " " + FormatInteger(reader.numbers[earlier]));
  }
  if (!problem.empty()) reader.items.clear();
  return problem;
}

// A line without its comment and surrounding blanks.
std::string LineToken(const std::string& line) {
  return WithoutBlanks(line.substr(0, line.find('#')));
}

template <class F>
std::string ReadLine(ItemReader<F>& reader, int64_t number, const std::string& line) {
  const std::string token = LineToken(line);
  if (token.empty()) return std::string();
  const std::size_t gap = token.find_first_of(" \t");
  const std::size_t size = token.find_first_not_of(" \t", gap);
  if (gap == std::string::npos || token.find_first_of(" \t", size) != std::string::npos) {
    return TokenRefusal("line", number, token, "expected NAME HOSTS or NAME /P");
  }
  return reader.Add(number, token, token.substr(0, gap), token.substr(size));
}

// The cells of one row.
template <class F>
RowCells CellsOf(const char* name, const AddressCount& wanted, const Block<F>& block) {
  RowCells cells{WordCell(name), NumberCell(wanted), NumberCell(HostCount<F>(block.prefix)),
                 BlockCell(block)};
  int count = 4;
  if constexpr (F::Bits == 32) cells[count++] = AddressCell(PrefixMask<F>(block.prefix));
  cells[count++] = AddressCell(FirstHost(block));
  cells[count++] = AddressCell(LastHost(block));
  if constexpr (F::Bits == 32) cells[count++] = AddressCell(LastOf(block));
  return cells;
}

// Calls `write` with the cells of every row: the items, then the free blocks.
template <class F, typename Write>
void ForEachRow(const VlsmPlanOf<F>& plan, const std::vector<VlsmItem>& items, Write write) {
  for (std::size_t i = 0; i < items.size(); ++i)
    write(CellsOf(items[i].name.c_str(), items[i].hosts, plan.placed[i]));
  for (const Block<F>& block : plan.free)
    write(CellsOf(FreeName, AddressCount(), block));
}

// text: every column as wide as its widest cell or name, two blanks between
// columns, numbers to the right, no blanks at the end of a line.
template <class F>
struct TextColumns {
  static constexpr int Count = Columns<F>::Count;
  std::array<std::size_t, MostColumns> widths{};

  TextColumns() {
    for (int i = 0; i < Count; ++i)
      widths[i] = std::strlen(Columns<F>::Names[i]);
  }

  void Measure(const RowCells& cells) {
    char text[CellRoom];
    for (int i = 0; i < Count; ++i) {
      const std::size_t length = static_cast<std::size_t>(WriteCell(text, cells[i]) - text);
      widths[i] = std::max(widths[i], length);
    }
  }

  char* Padded(char* at, const char* text, std::size_t length, int column) const {
    const std::size_t padding = widths[column] - length;
    const bool right = column == 1 || column == 2;  // wanted and usable
    const bool last = column + 1 == Count;
    if (right) at = static_cast<char*>(std::memset(at, ' ', padding)) + padding;
    at = static_cast<char*>(std::memcpy(at, text, length)) + length;
    if (!right && !last) at = static_cast<char*>(std::memset(at, ' ', padding)) + padding;
    return last ? Append(at, "\n") : Append(at, "  ");
  }

  void Header(OutputBuffer& out) const {
    char* at = Reserve(out, Count * (CellRoom + 2));
    for (int i = 0; i < Count; ++i)
      at = Padded(at, Columns<F>::Names[i], std::strlen(Columns<F>::Names[i]), i);
    Commit(out, at);
  }

  void Row(OutputBuffer& out, const RowCells& cells) const {
    char* at = Reserve(out, Count * (CellRoom * 2 + 2));
    for (int i = 0; i < Count; ++i) {
      char text[CellRoom];
      at = Padded(at, text, static_cast<std::size_t>(WriteCell(text, cells[i]) - text), i);
    }
    Commit(out, at);
  }
};

template <class F>
void WriteVlsmText(OutputBuffer& out, const VlsmPlanOf<F>& plan,
                   const std::vector<VlsmItem>& items) {
  TextColumns<F> columns;
  ForEachRow(plan, items, [&](const RowCells& cells) { columns.Measure(cells); });
  columns.Header(out);
  ForEachRow(plan, items, [&](const RowCells& cells) { columns.Row(out, cells); });
  Put(out, UsedLine(plan.used, F::Bits - plan.block.prefix) + "\n");
}

}  // namespace

template <class F>
std::string ReadVlsmItems(const std::string& list, std::vector<VlsmItem>& items) {
  items.clear();
  if (WithoutBlanks(list).empty()) return std::string();
  ItemReader<F> reader{"item", items, {}};
  const std::string problem =
      ForEachPiece(list, ',', [&](int64_t number, const std::string& piece) {
        return ReadListItem(reader, number, WithoutBlanks(piece));
      });
  return Finish(reader, problem, list, ',', WithoutBlanks);
}

template <class F>
std::string ReadVlsmLines(const std::string& text, std::vector<VlsmItem>& items) {
  items.clear();
  ItemReader<F> reader{"line", items, {}};
  const std::string problem = ForEachPiece(
      text, '\n',
      [&](int64_t number, const std::string& line) { return ReadLine(reader, number, line); });
  return Finish(reader, problem, text, '\n', LineToken);
}

template <class F>
std::string AllocateVlsm(const Block<F>& block, const std::vector<VlsmItem>& items,
                         VlsmPlanOf<F>& plan) {
  AddressCount needed;
  for (const VlsmItem& item : items)
    needed += AddressesIn<F>(item.prefix);
  const AddressCount holds = AddressesIn<F>(block.prefix);
  if (needed > holds) {
    return "needs " + DecimalText(needed) + " addresses, the block holds " + DecimalText(holds);
  }
  // Sizes are powers of two: one bucket per prefix, in input order, is a stable
  // sort, and placing the largest first keeps every start aligned.
  std::vector<std::vector<std::size_t>> byPrefix(F::Bits + 1);
  for (std::size_t i = 0; i < items.size(); ++i)
    byPrefix[static_cast<std::size_t>(items[i].prefix)].push_back(i);
  plan = VlsmPlanOf<F>();
  plan.block = block;
  plan.placed.resize(items.size());
  // `next` wraps past the top only when the last item fills a /0 exactly.
  typename F::Value next = block.network;
  for (int prefix = 0; prefix <= F::Bits; ++prefix) {
    for (std::size_t i : byPrefix[static_cast<std::size_t>(prefix)]) {
      plan.placed[i] = Block<F>{next, prefix};
      next = next + F::LowOnes(F::Bits - prefix) + 1;
    }
  }
  plan.used = needed;
  if (needed < holds) AppendRangeBlocks<F>(next, LastOf(block), plan.free);
  return std::string();
}

template <class F>
bool WriteVlsm(const VlsmPlanOf<F>& plan, const std::vector<VlsmItem>& items, ListFormat format,
               TextSink sink) {
  OutputBuffer out(sink);
  if (format == ListFormat::Text) {
    WriteVlsmText(out, plan, items);
    return Finish(out);
  }
  BeginTable(out, Columns<F>::Names, Columns<F>::Count, format);
  bool firstRow = true;
  ForEachRow(plan, items, [&](const RowCells& cells) {
    TableRow(out, Columns<F>::Names, cells.data(), Columns<F>::Count, format, firstRow);
    firstRow = false;
  });
  EndTable(out, format, !firstRow);
  return Finish(out);
}

template <class F>
int UsedPercent(const VlsmPlanOf<F>& plan) {
  return PercentOf(plan.used, F::Bits - plan.block.prefix);
}

template <class F>
std::string VlsmStatus(const VlsmPlanOf<F>& plan) {
  return UseStatus(plan.used, F::Bits - plan.block.prefix, plan.free.size());
}

#define VELKOR_VLSM_FUNCTIONS(F)                                                             \
  template std::string ReadVlsmItems<F>(const std::string&, std::vector<VlsmItem>&);         \
  template std::string ReadVlsmLines<F>(const std::string&, std::vector<VlsmItem>&);         \
  template std::string AllocateVlsm<F>(const Block<F>&, const std::vector<VlsmItem>&,        \
                                       VlsmPlanOf<F>&);                                      \
  template bool WriteVlsm<F>(const VlsmPlanOf<F>&, const std::vector<VlsmItem>&, ListFormat, \
                             TextSink);                                                      \
  template int UsedPercent<F>(const VlsmPlanOf<F>&);                                         \
  template std::string VlsmStatus<F>(const VlsmPlanOf<F>&);
VELKOR_VLSM_FUNCTIONS(Ipv4)
VELKOR_VLSM_FUNCTIONS(Ipv6)
