#include "calc/listing.hpp"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/text.hpp"
#include "calc/dotted.hpp"
#include "calc/enumeration.hpp"

namespace {

// Big enough that a listing of millions of rows needs few writes, small
// enough to keep the process's memory flat.
constexpr std::size_t BufferSize = 1 << 18;
// More than the longest row of any format (a JSON row is about 130 bytes).
constexpr std::size_t RowRoom = 256;

struct OutputBuffer {
  std::FILE* file;
  char* data;  // BufferSize bytes
  std::size_t used;
  bool failed;
};

void Flush(OutputBuffer& out) {
  if (out.used != 0 && std::fwrite(out.data, 1, out.used, out.file) != out.used) out.failed = true;
  out.used = 0;
}

// Room for one more row at the returned position.
char* RowSpace(OutputBuffer& out) {
  if (BufferSize - out.used < RowRoom) Flush(out);
  return out.data + out.used;
}

void Commit(OutputBuffer& out, const char* end) {
  out.used = static_cast<std::size_t>(end - out.data);
}

char* Append(char* at, const char* text) {
  const std::size_t length = std::strlen(text);
  std::memcpy(at, text, length);
  return at + length;
}

// An address left-aligned in a column as wide as the widest address.
char* AppendPaddedAddress(char* at, uint32_t address) {
  char* end = WriteDotted(at, address);
  std::memset(end, ' ', static_cast<std::size_t>(at + MaxDottedLength - end));
  return at + MaxDottedLength;
}

// text: index right-aligned to the widest index printed, two blanks between
// columns, no blanks at the end of a line.
char* TextRow(char* at, int32_t index, const SubnetAddresses& row, int indexWidth) {
  const int padding = indexWidth - DecimalWidth(static_cast<uint32_t>(index));
  std::memset(at, ' ', static_cast<std::size_t>(padding));
  at = WriteDecimal(at + padding, static_cast<uint32_t>(index));
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
char* SeparatedRow(char* at, int32_t index, const SubnetAddresses& row, char separator) {
  at = WriteDecimal(at, static_cast<uint32_t>(index));
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
char* JsonRow(char* at, int32_t index, const SubnetAddresses& row, bool firstRow) {
  at = Append(at, firstRow ? "  {\"index\": " : ",\n  {\"index\": ");
  at = WriteDecimal(at, static_cast<uint32_t>(index));
  at = QuotedAddress(at, ", \"network\": ", row.network);
  at = QuotedAddress(at, ", \"first\": ", row.first);
  at = QuotedAddress(at, ", \"last\": ", row.last);
  at = QuotedAddress(at, ", \"broadcast\": ", row.broadcast);
  *at++ = '}';
  return at;
}

char* FormatRow(char* at, ListFormat format, int32_t index, const SubnetAddresses& row,
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

std::string CellText(const RecordCell& cell) {
  return cell.isNumber ? FormatInteger(cell.number) : FormatAddress(cell.address);
}

// text: each value in the column after the longest name and two blanks.
std::string RecordLines(const char* const names[], const RecordCell cells[], int count) {
  std::size_t width = 0;
  for (int i = 0; i < count; ++i)
    width = std::max(width, std::strlen(names[i]));
  std::string lines;
  for (int i = 0; i < count; ++i)
    lines += PadRight(names[i], static_cast<int>(width + 2)) + CellText(cells[i]) + "\n";
  return lines;
}

std::string RecordRow(const char* const names[], const RecordCell cells[], int count,
                      char separator) {
  std::string header, row;
  for (int i = 0; i < count; ++i) {
    if (i > 0) header += separator, row += separator;
    header += names[i];
    row += CellText(cells[i]);
  }
  return header + "\n" + row + "\n";
}

std::string RecordObject(const char* const names[], const RecordCell cells[], int count) {
  std::string object = "{";
  for (int i = 0; i < count; ++i) {
    const char* quote = cells[i].isNumber ? "" : "\"";
    object += (i > 0 ? ", \"" : "\"") + std::string(names[i]) + "\": " + quote +
              CellText(cells[i]) + quote;
  }
  return object + "}\n";
}

std::string RecordText(const char* const names[], const RecordCell cells[], int count,
                       ListFormat format) {
  switch (format) {
    case ListFormat::Tsv:
      return RecordRow(names, cells, count, '\t');
    case ListFormat::Csv:
      return RecordRow(names, cells, count, ',');
    case ListFormat::Json:
      return RecordObject(names, cells, count);
    case ListFormat::Text:
      break;
  }
  return RecordLines(names, cells, count);
}

RecordCell NumberCell(int64_t number) {
  RecordCell cell;
  cell.isNumber = true;
  cell.number = number;
  return cell;
}

RecordCell AddressCell(HostOrderAddress address) {
  RecordCell cell;
  cell.address = address;
  return cell;
}

}  // namespace

ListingRange WholePlan(const SubnetPlan& plan) {
  ListingRange range;
  range.network = plan.network;
  range.blockSize = plan.StepSize();
  range.last = plan.TotalSubnets() - 1;
  return range;
}

bool WriteRecord(const char* const names[], const RecordCell cells[], int count, ListFormat format,
                 std::FILE* file) {
  const std::string text = RecordText(names, cells, count, format);
  return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
}

bool WriteFoundRow(int32_t index, const SubnetAddresses& row, ListFormat format, std::FILE* file) {
  static const char* const names[] = {"index", "page", "network", "first", "last", "broadcast"};
  const RecordCell cells[] = {
      NumberCell(index),        NumberCell(PageOfIndex(index, SubnetPageSize)),
      AddressCell(row.network), AddressCell(row.first),
      AddressCell(row.last),    AddressCell(row.broadcast)};
  return WriteRecord(names, cells, 6, format, file);
}

bool WriteListing(const ListingRange& range, ListFormat format, std::FILE* file,
                  const ListingProgress& progress) {
  // Static: a quarter of a megabyte does not belong on the stack.
  static char buffer[BufferSize];
  OutputBuffer out{file, buffer, 0, false};
  Commit(out, Append(RowSpace(out), Header(format)));
  const int indexWidth = DecimalWidth(static_cast<uint32_t>(range.last));
  for (int32_t index = range.first; index <= range.last; ++index) {
    const SubnetAddresses row = SubnetAddressesOf(range.network, range.blockSize, index);
    Commit(out, FormatRow(RowSpace(out), format, index, row, range, indexWidth));
    const int64_t written = int64_t{index} - range.first + 1;
    if (progress && written % ListingProgressStep == 0) {
      progress(written, int64_t{range.last} - range.first + 1);
    }
  }
  Commit(out, Append(RowSpace(out), Trailer(format)));
  Flush(out);
  return !out.failed && std::fflush(file) == 0;
}
