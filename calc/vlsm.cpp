#include "calc/vlsm.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "base/text.hpp"
#include "calc/output_buffer.hpp"
#include "calc/subnet_range.hpp"

namespace {

constexpr std::size_t LongestName = 64;
constexpr uint64_t MostHosts = (uint64_t{1} << 32) - 2;
constexpr const char* FreeName = "(free)";

constexpr const char* ColumnNames[] = {"name", "wanted", "usable", "network",
                                       "mask", "first",  "last",   "broadcast"};
constexpr int ColumnCount = 8;

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

// "HOSTS" (1 to 2^32 - 2) or "/P" (0 to 32) into the item's size.
std::string ReadSize(const std::string& text, VlsmItem& item) {
  if (!text.empty() && text[0] == '/') {
    const std::string block = "0.0.0.0" + text;
    TypedBlock typed;
    if (!ReadTypedBlock(block.data(), block.data() + block.size(), typed).empty() ||
        text.find('.') != std::string::npos) {
      return "the prefix must be /0 to /32";
    }
    item.hosts = 0;
    item.prefix = typed.prefix;
    return std::string();
  }
  uint64_t hosts = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || hosts > MostHosts)
      return "hosts must be a number from 1 to 4294967294";
    hosts = hosts * 10 + static_cast<uint64_t>(c - '0');
  }
  if (text.empty() || hosts < 1 || hosts > MostHosts) {
    return "hosts must be a number from 1 to 4294967294";
  }
  int h = 2;
  while ((uint64_t{1} << h) - 2 < hosts)
    ++h;
  item.hosts = hosts;
  item.prefix = 32 - h;
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
struct ItemReader {
  const char* where;  // "line" or "item"
  std::vector<VlsmItem>& items;
  std::vector<int64_t> numbers;

  std::string Add(int64_t number, const std::string& token, const std::string& name,
                  const std::string& size) {
    VlsmItem item;
    std::string problem = CheckName(name);
    if (problem.empty()) problem = ReadSize(size, item);
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

std::string ReadListItem(ItemReader& reader, int64_t number, const std::string& token) {
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
template <typename Token>
std::string Finish(ItemReader& reader, std::string problem, const std::string& text, char separator,
                   Token token) {
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

std::string ReadLine(ItemReader& reader, int64_t number, const std::string& line) {
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
std::array<RecordCell, ColumnCount> RowCells(const char* name, uint64_t wanted,
                                             const CidrBlock& block) {
  const SubnetAddresses row =
      SubnetAddressesOf(block.network, static_cast<int64_t>(BlockAddresses(block.prefix)), 0);
  return {WordCell(name),
          NumberCell(wanted),
          NumberCell(UsableHosts(block.prefix)),
          BlockCell(block.network, block.prefix),
          AddressCell(PrefixMask(block.prefix)),
          AddressCell(row.first),
          AddressCell(row.last),
          AddressCell(row.broadcast)};
}

// Calls `write` with the cells of every row: the items, then the free blocks.
template <typename Write>
void ForEachRow(const VlsmPlan& plan, const std::vector<VlsmItem>& items, Write write) {
  for (std::size_t i = 0; i < items.size(); ++i)
    write(RowCells(items[i].name.c_str(), items[i].hosts, plan.placed[i]));
  for (const CidrBlock& block : plan.free)
    write(RowCells(FreeName, 0, block));
}

// text: every column as wide as its widest cell or name, two blanks between
// columns, numbers to the right, no blanks at the end of a line.
struct TextColumns {
  std::array<std::size_t, ColumnCount> widths{};

  TextColumns() {
    for (int i = 0; i < ColumnCount; ++i)
      widths[i] = std::strlen(ColumnNames[i]);
  }

  void Measure(const std::array<RecordCell, ColumnCount>& cells) {
    char text[CellRoom];
    for (int i = 0; i < ColumnCount; ++i) {
      const std::size_t length = static_cast<std::size_t>(WriteCell(text, cells[i]) - text);
      widths[i] = std::max(widths[i], length);
    }
  }

  char* Padded(char* at, const char* text, std::size_t length, int column) const {
    const std::size_t padding = widths[column] - length;
    const bool right = column == 1 || column == 2;  // wanted and usable
    const bool last = column + 1 == ColumnCount;
    if (right) at = static_cast<char*>(std::memset(at, ' ', padding)) + padding;
    at = static_cast<char*>(std::memcpy(at, text, length)) + length;
    if (!right && !last) at = static_cast<char*>(std::memset(at, ' ', padding)) + padding;
    return last ? Append(at, "\n") : Append(at, "  ");
  }

  void Header(OutputBuffer& out) const {
    char* at = Reserve(out, ColumnCount * (CellRoom + 2));
    for (int i = 0; i < ColumnCount; ++i)
      at = Padded(at, ColumnNames[i], std::strlen(ColumnNames[i]), i);
    Commit(out, at);
  }

  void Row(OutputBuffer& out, const std::array<RecordCell, ColumnCount>& cells) const {
    char* at = Reserve(out, ColumnCount * (CellRoom * 2 + 2));
    for (int i = 0; i < ColumnCount; ++i) {
      char text[CellRoom];
      at = Padded(at, text, static_cast<std::size_t>(WriteCell(text, cells[i]) - text), i);
    }
    Commit(out, at);
  }
};

void WriteVlsmText(OutputBuffer& out, const VlsmPlan& plan, const std::vector<VlsmItem>& items) {
  TextColumns columns;
  ForEachRow(plan, items,
             [&](const std::array<RecordCell, ColumnCount>& cells) { columns.Measure(cells); });
  columns.Header(out);
  ForEachRow(plan, items,
             [&](const std::array<RecordCell, ColumnCount>& cells) { columns.Row(out, cells); });
  Put(out, "used " + FormatInteger(static_cast<int64_t>(plan.used)) + " of " +
               FormatInteger(static_cast<int64_t>(BlockAddresses(plan.block.prefix))) +
               " addresses (" + FormatInteger(UsedPercent(plan)) + "%)\n");
}

// "1,024": thousands separated by commas.
std::string Grouped(uint64_t value) {
  const std::string digits = FormatInteger(static_cast<int64_t>(value));
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace

std::string ReadVlsmItems(const std::string& list, std::vector<VlsmItem>& items) {
  items.clear();
  if (WithoutBlanks(list).empty()) return std::string();
  ItemReader reader{"item", items, {}};
  const std::string problem =
      ForEachPiece(list, ',', [&](int64_t number, const std::string& piece) {
        return ReadListItem(reader, number, WithoutBlanks(piece));
      });
  return Finish(reader, problem, list, ',', WithoutBlanks);
}

std::string ReadVlsmLines(const std::string& text, std::vector<VlsmItem>& items) {
  items.clear();
  ItemReader reader{"line", items, {}};
  const std::string problem = ForEachPiece(
      text, '\n',
      [&](int64_t number, const std::string& line) { return ReadLine(reader, number, line); });
  return Finish(reader, problem, text, '\n', LineToken);
}

std::string AllocateVlsm(const CidrBlock& block, const std::vector<VlsmItem>& items,
                         VlsmPlan& plan) {
  uint64_t needed = 0;
  for (const VlsmItem& item : items)
    needed += BlockAddresses(item.prefix);
  const uint64_t holds = BlockAddresses(block.prefix);
  if (needed > holds) {
    return "needs " + FormatInteger(static_cast<int64_t>(needed)) + " addresses, the block holds " +
           FormatInteger(static_cast<int64_t>(holds));
  }
  // Sizes are powers of two: one bucket per prefix, in input order, is a stable
  // sort, and placing the largest first keeps every start aligned.
  std::array<std::vector<std::size_t>, 33> byPrefix;
  for (std::size_t i = 0; i < items.size(); ++i)
    byPrefix[static_cast<std::size_t>(items[i].prefix)].push_back(i);
  plan = VlsmPlan();
  plan.block = block;
  plan.placed.resize(items.size());
  uint64_t next = block.network;
  for (int prefix = 0; prefix <= 32; ++prefix) {
    for (std::size_t i : byPrefix[static_cast<std::size_t>(prefix)]) {
      plan.placed[i] = CidrBlock{static_cast<HostOrderAddress>(next), prefix};
      next += BlockAddresses(prefix);
    }
  }
  plan.used = needed;
  if (needed < holds) {
    AppendRangeBlocks(static_cast<HostOrderAddress>(next), BroadcastOf(block), plan.free);
  }
  return std::string();
}

bool WriteVlsm(const VlsmPlan& plan, const std::vector<VlsmItem>& items, ListFormat format,
               TextSink sink) {
  OutputBuffer out(sink);
  if (format == ListFormat::Text) {
    WriteVlsmText(out, plan, items);
    return Finish(out);
  }
  BeginTable(out, ColumnNames, ColumnCount, format);
  bool firstRow = true;
  ForEachRow(plan, items, [&](const std::array<RecordCell, ColumnCount>& cells) {
    TableRow(out, ColumnNames, cells.data(), ColumnCount, format, firstRow);
    firstRow = false;
  });
  EndTable(out, format, !firstRow);
  return Finish(out);
}

int UsedPercent(const VlsmPlan& plan) {
  return static_cast<int>(plan.used * 100 / BlockAddresses(plan.block.prefix));
}

std::string VlsmStatus(const VlsmPlan& plan) {
  const std::size_t blocks = plan.free.size();
  return "Used " + Grouped(plan.used) + " of " + Grouped(BlockAddresses(plan.block.prefix)) +
         " addresses (" + FormatInteger(UsedPercent(plan)) + "%), " + FormatInteger(blocks) +
         (blocks == 1 ? " free block" : " free blocks");
}
