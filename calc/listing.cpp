#include "calc/listing.hpp"

#include <algorithm>
#include <cstring>
#include <string>

#include "calc/dotted.hpp"
#include "calc/enumeration.hpp"
#include "calc/output_buffer.hpp"

namespace {

// More than the longest row of any format (a JSON row is about 150 bytes).
constexpr std::size_t RowRoom = 256;

// An address left-aligned in a column as wide as the widest address.
char* AppendPaddedAddress(char* at, uint32_t address) {
  char* end = WriteDotted(at, address);
  std::memset(end, ' ', static_cast<std::size_t>(at + MaxDottedLength - end));
  return at + MaxDottedLength;
}

// text: index right-aligned to the widest index printed, two blanks between
// columns, no blanks at the end of a line.
char* TextRow(char* at, int64_t index, const SubnetAddresses& row, int indexWidth) {
  const int padding = indexWidth - DecimalWidth(static_cast<uint64_t>(index));
  std::memset(at, ' ', static_cast<std::size_t>(padding));
  at = WriteDecimal(at + padding, static_cast<uint64_t>(index));
  at = Append(at, "  ");
  at = AppendPaddedAddress(at, row.network);
  at = Append(at, "  ");
  at = AppendPaddedAddress(at, row.first);
  at = Append(at, "  ");
  at = AppendPaddedAddress(at, row.last);
  at = Append(at, "  ");
  at = WriteDotted(at, row.broadcast);
  *at++ = '\n';
  return at;
}

// tsv and csv: the cells are digits and points, and the header words are
// plain, so no cell ever needs quoting (RFC 4180 quotes only cells holding
// the separator, a double quote or a line break).
char* SeparatedRow(char* at, int64_t index, const SubnetAddresses& row, char separator) {
  at = WriteDecimal(at, static_cast<uint64_t>(index));
  *at++ = separator;
  at = WriteDotted(at, row.network);
  *at++ = separator;
  at = WriteDotted(at, row.first);
  *at++ = separator;
  at = WriteDotted(at, row.last);
  *at++ = separator;
  at = WriteDotted(at, row.broadcast);
  *at++ = '\n';
  return at;
}

char* QuotedAddress(char* at, const char* key, uint32_t address) {
  at = Append(at, key);
  *at++ = '"';
  at = WriteDotted(at, address);
  *at++ = '"';
  return at;
}

// json: one object per line inside one array; the comma goes before every
// object but the first so the last one needs no look-ahead.
char* JsonRow(char* at, int64_t index, const SubnetAddresses& row, bool firstRow) {
  at = Append(at, firstRow ? "  {\"index\": " : ",\n  {\"index\": ");
  at = WriteDecimal(at, static_cast<uint64_t>(index));
  at = QuotedAddress(at, ", \"network\": ", row.network);
  at = QuotedAddress(at, ", \"first\": ", row.first);
  at = QuotedAddress(at, ", \"last\": ", row.last);
  at = QuotedAddress(at, ", \"broadcast\": ", row.broadcast);
  *at++ = '}';
  return at;
}

char* FormatRow(char* at, ListFormat format, int64_t index, const SubnetAddresses& row,
                const ListingRange& range, int indexWidth) {
  switch (format) {
    case ListFormat::Tsv:
      return SeparatedRow(at, index, row, '\t');
    case ListFormat::Csv:
      return SeparatedRow(at, index, row, ',');
    case ListFormat::Json:
      return JsonRow(at, index, row, index == range.first);
    case ListFormat::Text:
      break;
  }
  return TextRow(at, index, row, indexWidth);
}

const char* Header(ListFormat format) {
  switch (format) {
    case ListFormat::Tsv:
      return "index\tnetwork\tfirst\tlast\tbroadcast\n";
    case ListFormat::Csv:
      return "index,network,first,last,broadcast\n";
    case ListFormat::Json:
      return "[\n";
    case ListFormat::Text:
      break;
  }
  return "";
}

const char* Trailer(ListFormat format) {
  return format == ListFormat::Json ? "\n]\n" : "";
}

}  // namespace

ListingRange WholePlan(const SubnetPlan& plan) {
  ListingRange range;
  range.network = plan.network;
  range.blockSize = plan.StepSize();
  range.last = plan.TotalSubnets() - 1;
  return range;
}

bool WriteFoundRow(int64_t index, const SubnetAddresses& row, ListFormat format, TextSink sink) {
  static const char* const names[] = {"index", "page", "network", "first", "last", "broadcast"};
  const RecordCell cells[] = {NumberCell(static_cast<uint64_t>(index)),
                              NumberCell(static_cast<uint64_t>(PageOfIndex(index, SubnetPageSize))),
                              AddressCell(row.network),
                              AddressCell(row.first),
                              AddressCell(row.last),
                              AddressCell(row.broadcast)};
  return WriteRecord(names, cells, 6, format, sink);
}

bool WriteListing(const ListingRange& range, ListFormat format, TextSink sink,
                  const ListingProgress& progress) {
  OutputBuffer out(sink);
  Commit(out, Append(Reserve(out, RowRoom), Header(format)));
  const int indexWidth = DecimalWidth(static_cast<uint64_t>(range.last));
  const int64_t total = range.last - range.first + 1;
  for (int64_t index = range.first; index <= range.last; ++index) {
    const SubnetAddresses row = SubnetAddressesOf(range.network, range.blockSize, index);
    Commit(out, FormatRow(Reserve(out, RowRoom), format, index, row, range, indexWidth));
    const int64_t written = index - range.first + 1;
    if (progress && written % ListingProgressStep == 0 && !progress(written, total)) return false;
  }
  Commit(out, Append(Reserve(out, RowRoom), Trailer(format)));
  return Finish(out);
}
